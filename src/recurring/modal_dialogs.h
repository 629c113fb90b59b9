#pragma once
// How the recurring dates dialogs show their sub-dialogs: centred over the main window and modal. Tests
// install a runner that drives the dialog (show it, click, accept or reject) instead of a modal loop.
#include <functional>

class QDialog;
class QWidget;

namespace plennix {
// Returns the dialog's result (QDialog::Accepted or QDialog::Rejected).
using ModalDialogRunner = std::function<int(QDialog&)>;
void SetModalDialogRunner(ModalDialogRunner runner);

// Centres the dialog over the top-level window it belongs to, then runs it modally (or through the
// installed runner) and returns its result.
int RunModalDialog(QDialog& dialog);
// The outermost window above `widget` (the main window for the dialogs opened from it).
QWidget* MainWindowOf(QWidget* widget);
void CenterOverMainWindow(QWidget& dialog);
}  // namespace plennix
