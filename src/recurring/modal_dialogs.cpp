#include "recurring/modal_dialogs.h"

#include <QDialog>
#include <QWidget>

namespace plennix {
namespace {
ModalDialogRunner g_runner;
}

void SetModalDialogRunner(ModalDialogRunner runner) { g_runner = std::move(runner); }

QWidget* MainWindowOf(QWidget* widget) {
    QWidget* top = widget ? widget->window() : nullptr;
    while (top && top->parentWidget()) top = top->parentWidget()->window();
    return top;
}

void CenterOverMainWindow(QWidget& dialog) {
    QWidget* main = MainWindowOf(dialog.parentWidget());
    if (!main || main == &dialog) return;
    const QRect frame = main->frameGeometry();
    dialog.move(frame.center() - QPoint(dialog.width() / 2, dialog.height() / 2));
}

int RunModalDialog(QDialog& dialog) {
    CenterOverMainWindow(dialog);
    if (g_runner) return g_runner(dialog);
    return dialog.exec();
}
}  // namespace plennix
