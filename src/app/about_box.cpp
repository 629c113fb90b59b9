#include "app/about_box.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtGlobal>

#include "app/tool_icons.h"
#include "platform/code_page.h"

namespace plennix {

QString AboutText() {
    return QStringLiteral("Plennix %1\n"
                          "A calendar designer.\n"
                          "\n"
                          "Built with Qt %2, running on Qt %3.\n"
                          "Documents hold text in %4.")
        .arg(ProgramVersion(), QStringLiteral(QT_VERSION_STR), QString::fromLatin1(qVersion()), ActiveCodePageName());
}

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About Plennix"));
    auto* layout = new QVBoxLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(ApplicationIcon().pixmap(64, 64));
    icon->setAlignment(Qt::AlignHCenter);
    layout->addWidget(icon);
    auto* text = new QLabel(AboutText(), this);
    text->setObjectName(QStringLiteral("AboutText"));
    text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

}  // namespace plennix
