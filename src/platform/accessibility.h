#pragma once
// What a person without a mouse or with a screen reader relies on: the names read for controls, and
// leaving a text that takes Tab as a character.
//
// Names that screen readers read for the program's controls. Qt names a combo box by its current value
// on this platform ("Arial" for a font list), so a person hears what is chosen but not what the list
// chooses; the interface installed here names a combo box by its accessible name or the label that is
// its buddy, and keeps the current entry as its value.
#include <QString>

class QAbstractItemView;
class QComboBox;
class QWidget;

namespace plennix {

// Installs the combo box interface for the running QApplication (call once after it is made; later
// calls do nothing).
void InstallAccessibleNames();

// A caption as it reads aloud: the mnemonic "&" removed ("&&" stays one "&"), spaces simplified.
QString CaptionWithoutMnemonic(const QString& caption);

// The name of a control whose caption is a sign or a short word: the caption first, as a person sees
// and says it, then what it does, "<< (Previous year)", "Deutsch (German names)". When `meaning`
// already holds the caption it is the name by itself ("Title background color..." for "Color...").
QString CaptionedName(const QString& caption, const QString& meaning);

// The name a combo box is read by: its accessible name, else the text of the label whose buddy it is,
// else its current entry.
QString ComboBoxName(const QComboBox& combo);

// Names a combo box and, when it is editable, the text field inside it, which a screen reader reaches
// on its own when the person types into it.
void NameComboBox(QComboBox& combo, const QString& name);

// A text area that types Tab as a character (as a word processor does) is left with Ctrl+Tab, and
// Ctrl+Shift+Tab goes back, so that a dialog's other controls and its Ok stay within reach.
void LeaveWithCtrlTab(QWidget& textArea);

// Return in a list runs the list's own action (opening a folder, choosing an entry) and stops there,
// instead of also pressing the dialog's default button.
void KeepReturnInList(QAbstractItemView& list);

}  // namespace plennix
