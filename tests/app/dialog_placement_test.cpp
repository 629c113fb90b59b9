// The dialogs open centred over the main window, at the size they are shown with.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <functional>
#include <memory>

#include "app/preferences.h"
#include "app/user_title_dialog.h"
#include "calendar/set_time_dialog.h"
#include "objects/flat_calendar_editor.h"
#include "platform/common_dialogs.h"
#include "platform/program_folder.h"
#include "test_support.h"

using namespace plennix;

namespace {

// Where the dialog is once shown, run as the program runs it.
QRect shownGeometry(QDialog& dialog) {
    QRect shown;
    test::ScopedHook<ModalDialogRunner> runner(SetModalDialogRunner, [&shown](QDialog& d) {
        d.show();
        QApplication::processEvents();
        shown = d.frameGeometry();
        d.hide();
        return int(QDialog::Rejected);
    });
    RunModalDialog(dialog);
    return shown;
}

}  // namespace

TEST(DialogPlacement, SetTimeUserTitleAndFloatingCalendarDialogsAreCentredOverTheMainWindow) {
    QWidget main;
    const QRect screen = QApplication::primaryScreen()->availableGeometry();
    main.setGeometry(screen.x() + 40, screen.y() + 30, 900, 650);
    main.show();
    const QPoint centre = main.frameGeometry().center();
    const std::vector<std::pair<const char*, std::function<std::unique_ptr<QDialog>()>>> dialogs = {
        {"set time", [&main] { return std::make_unique<TSetTimeDialog>(&main); }},
        {"user title", [&main] { return std::make_unique<TUserTitleForm>(&main); }},
        {"floating calendar", [&main] { return std::make_unique<TFlatCalendarEditor>(&main); }},
    };
    for (const auto& [name, make] : dialogs) {
        const std::unique_ptr<QDialog> dialog = make();
        const QRect shown = shownGeometry(*dialog);
        EXPECT_LE(std::abs(shown.center().x() - centre.x()), 2) << name;
        EXPECT_LE(std::abs(shown.center().y() - centre.y()), 2) << name;
        EXPECT_TRUE(main.frameGeometry().contains(shown)) << name;
    }
}

TEST(DialogPlacement, ADialogWithoutARememberedPlacementOpensOverTheMainWindow) {
    // As the calendar properties dialog restores its placement when it first shows.
    QFile::remove(ProgramFile(QStringLiteral("PX.ini")));
    QWidget main;
    const QRect screen = QApplication::primaryScreen()->availableGeometry();
    main.setGeometry(screen.x() + 10, screen.y() + 10, screen.width() / 2, screen.height() / 2);
    main.show();
    QDialog dialog(&main);
    dialog.setFixedSize(screen.width() / 5, screen.height() / 5);
    dialog.show();
    RestorePlacement(dialog, QStringLiteral("TPlacementProbe"));
    EXPECT_LE(std::abs(dialog.geometry().center().x() - main.geometry().center().x()), 2);
    EXPECT_LE(std::abs(dialog.geometry().center().y() - main.geometry().center().y()), 2);
    // The main window itself still opens in the middle of the screen.
    QWidget alone;
    alone.resize(screen.width() / 4, screen.height() / 4);
    RestorePlacement(alone, QStringLiteral("TPlacementAlone"));
    EXPECT_LE(std::abs(alone.geometry().center().x() - screen.center().x()), 2);
}

TEST(DialogPlacement, ThePrintPreviewTakesTheSizeOfItsPagesAndIsCentred) {
    // The preview finds its size only as it shows, once its pages are made: centring it beforehand
    // must not freeze it at the few pixels its empty layout asks for.
    QWidget main;
    const QRect screen = QApplication::primaryScreen()->availableGeometry();
    main.setGeometry(screen.x() + 20, screen.y() + 20, screen.width() - 40, screen.height() - 40);
    main.show();
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dialog(&printer, &main);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [](QPrinter* target) {
        QPainter painter(target);
        painter.drawRect(100, 100, 2000, 2000);
    });
    const QRect shown = shownGeometry(dialog);
    EXPECT_GE(shown.height(), screen.height() / 3);
    EXPECT_GE(shown.width(), screen.width() / 3);
    EXPECT_LE(std::abs(shown.center().x() - main.frameGeometry().center().x()), 2);
    EXPECT_LE(std::abs(shown.center().y() - main.frameGeometry().center().y()), 2);
}
