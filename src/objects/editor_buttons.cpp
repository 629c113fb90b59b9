#include "objects/editor_buttons.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace plennix {

QPushButton* MakeEditorButton(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

EditorButtonRow MakeEditorButtonRow(QWidget* dialog) {
    EditorButtonRow row;
    row.mouseHelp = MakeEditorButton(dialog, "MouseHelpButton", QStringLiteral("?"));
    row.mouseHelp->setAccessibleName(QStringLiteral("What's this?"));
    row.ok = MakeEditorButton(dialog, "OKButton", QStringLiteral("Ok"));
    row.ok->setDefault(true);
    row.cancel = MakeEditorButton(dialog, "Cancelbutton", QStringLiteral("Cancel"));
    row.help = MakeEditorButton(dialog, "Helpbutton", QStringLiteral("Help"));
    row.layout = new QHBoxLayout;
    row.layout->addWidget(row.mouseHelp);
    row.layout->addStretch();
    row.layout->addWidget(row.ok);
    row.layout->addWidget(row.cancel);
    row.layout->addWidget(row.help);
    return row;
}

}  // namespace plennix
