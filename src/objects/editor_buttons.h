#pragma once
// The buttons of the object editors: push buttons that do not take Enter for themselves, and the row
// along an editor's foot ("?" for help on a control at the left; Ok, Cancel and Help at the right).
#include <QString>

class QHBoxLayout;
class QPushButton;
class QWidget;

namespace plennix {

// A push button with its object name; only the dialog's default button answers Enter.
QPushButton* MakeEditorButton(QWidget* parent, const char* name, const QString& text);

struct EditorButtonRow {
    QPushButton* mouseHelp = nullptr;  // "MouseHelpButton"
    QPushButton* ok = nullptr;         // "OKButton", the default button
    QPushButton* cancel = nullptr;     // "Cancelbutton"
    QPushButton* help = nullptr;       // "Helpbutton"
    QHBoxLayout* layout = nullptr;     // the row, to add to the dialog's layout
};
EditorButtonRow MakeEditorButtonRow(QWidget* dialog);

}  // namespace plennix
