// The document, the exports and the recurring dates import on a really full disk, and named pipes given
// where a document is expected: nothing written before is replaced by a broken file, a failure is never
// a success (the window keeps the document modified, the command line exits with 1), and every message
// names the file and the reason. No run waits on a pipe.
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QObject>
#include <QTemporaryDir>

#include "command_line_support.h"
#include "app/document_io.h"
#include "app/main_window.h"
#include "calendar/calendar_panel.h"
#include "common/fifo_path.h"
#include "common/full_disk.h"
#include "platform/common_dialogs.h"
#include "platform/ini_file.h"
#include "platform/program_folder.h"
#include "recurring/formula.h"
#include "recurring/store.h"
#include "test_support.h"

using namespace plennix;

namespace {

using test::Parse;

// The status of a run and what it wrote to standard error.
std::pair<int, QString> RunHeadless(const QStringList& args) {
    const auto [status, errors] = test::RunCapturingStderr(Parse(args));
    return {status, errors.trimmed()};
}

QString noSpace(const QString& path) {
    return QStringLiteral("plennix: Unable to write %1: No space left on device").arg(path);
}

}  // namespace

TEST(CommandLineOnAFullDisk, OutputsKeepTheFilesTheyWouldReplaceAndFail) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString doc = test::SaveDecember1997(dir.filePath(QStringLiteral("December.PXF")));
    test::FullDisk disk;
    PLENNIX_REQUIRE_FULL_DISK(disk);
    test::ProgramFolderOn folder(disk);
    const QByteArray list = JoinRecurringLines({BuildEntry(QStringLiteral("Rent"), QStringLiteral("@0101"))});
    ASSERT_TRUE(disk.Place(QStringLiteral("PXRECUR.DAX"), list));
    for (const char* name : {"Old.pdf", "Old.png", "Old.bmp", "Old.ics"})
        ASSERT_TRUE(disk.Place(QString::fromLatin1(name), QByteArray("a good ") + name));
    const QString ics = dir.filePath(QStringLiteral("dates.ics"));
    {
        QFile f(ics);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(
            "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:x\r\nBEGIN:VEVENT\r\nUID:1\r\nDTSTART;VALUE=DATE:20240704\r\n"
            "RRULE:FREQ=YEARLY\r\nSUMMARY:Picnic\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
    }
    ASSERT_TRUE(disk.Fill());
    const QStringList before = disk.Files();

    const QString pdf = disk.FilePath(QStringLiteral("Old.pdf"));
    const QString png = disk.FilePath(QStringLiteral("Old.png"));
    const QString bmp = disk.FilePath(QStringLiteral("Old.bmp"));
    const QString oldIcs = disk.FilePath(QStringLiteral("Old.ics"));
    EXPECT_EQ(RunHeadless({"--print-pdf", pdf, doc}), std::make_pair(1, noSpace(pdf)));
    EXPECT_EQ(RunHeadless({"--export-png", png, doc}), std::make_pair(1, noSpace(png)));
    EXPECT_EQ(RunHeadless({"--export-bmp", bmp, doc}), std::make_pair(1, noSpace(bmp)));
    EXPECT_EQ(RunHeadless({"--export-ics", oldIcs}), std::make_pair(1, noSpace(oldIcs)));
    EXPECT_EQ(RunHeadless({"--import-ics", ics}), std::make_pair(1, noSpace(RecurringDatesPath())));

    for (const char* name : {"Old.pdf", "Old.png", "Old.bmp", "Old.ics"})
        EXPECT_EQ(disk.Read(QString::fromLatin1(name)), QByteArray("a good ") + name);
    EXPECT_EQ(disk.Read(QStringLiteral("PXRECUR.DAX")), list);
    EXPECT_EQ(disk.Files(), before);
}

// The window's save onto a full disk: the person is told which file was not saved and why, the file
// saved before is as it was, and the document stays modified so that closing still asks.
TEST(MainWindowOnAFullDisk, ASaveThatFailsKeepsTheDocumentModified) {
    QFile::remove(ProgramFile(QStringLiteral("PX.ini")));
    test::FullDisk disk;
    PLENNIX_REQUIRE_FULL_DISK(disk);
    test::MessageRecorder messages;
    test::ScopedHook<ModalDialogRunner> accept(SetModalDialogRunner, [](QDialog&) { return int(QDialog::Accepted); });
    TCalendarMain window;
    window.FormActivate();
    window.New1Click();
    const QString path = disk.FilePath(QStringLiteral("Dec1997.PXF"));
    ASSERT_TRUE(window.SaveCalendarFile(path));
    const QByteArray saved = disk.Read(QStringLiteral("Dec1997.PXF"));
    ASSERT_TRUE(disk.Fill());

    window.CalendarPanel()->SetUserTitle(QStringLiteral("A title that is not saved"));
    window.mnuClearAllCellContentsClick();
    ASSERT_TRUE(window.Modified());
    EXPECT_FALSE(window.SaveCalendarFile(path));
    EXPECT_TRUE(window.Modified());
    EXPECT_EQ(messages.lastText(), QStringLiteral("Unable to write %1: No space left on device").arg(path));
    EXPECT_EQ(disk.Read(QStringLiteral("Dec1997.PXF")), saved);
    EXPECT_EQ(disk.Files(), QStringList{QStringLiteral("Dec1997.PXF")});
}

// Closing the window on a full disk: the preferences file is as it was and the person is told, before
// the window (and its status bar) is gone, that it was not written and why.
TEST(MainWindowOnAFullDisk, ClosingSaysThePreferencesWereNotWritten) {
    test::FullDisk disk;
    PLENNIX_REQUIRE_FULL_DISK(disk);
    test::ProgramFolderOn folder(disk);
    const QByteArray profile = "[MRU]\r\nF0=/home/a/Plans.PXF\r\n\r\n[Zooming]\r\nMain=60\r\n";
    ASSERT_TRUE(disk.Place(QStringLiteral("PX.ini"), profile));
    test::MessageRecorder messages;
    TCalendarMain window;
    ASSERT_TRUE(disk.Fill());
    const QStringList before = disk.Files();
    QCloseEvent close;
    QCoreApplication::sendEvent(&window, &close);
    EXPECT_EQ(messages.lastText(), QStringLiteral("Preferences could not be written: Unable to write %1: No space "
                                                  "left on device")
                                       .arg(ProgramFile(QStringLiteral("PX.ini"))));
    EXPECT_EQ(disk.Read(QStringLiteral("PX.ini")), profile);
    EXPECT_EQ(disk.Files(), before);
}

// A named pipe given as the document, the .ics file or the most recent file is refused at once, with
// its path: no headless run and no start-up waits for a writer that never comes.
TEST(NamedPipePaths, RunsAndStartUpRefuseThemAtOnce) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    test::FifoPath fifo(dir.filePath(QStringLiteral("Pipe.PXF")));
    ASSERT_TRUE(fifo.Made());
    const QString refused = QStringLiteral("plennix: Cannot read %1: it is a named pipe, not a file").arg(fifo.Path());
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    EXPECT_EQ(RunHeadless({"--dump", fifo.Path()}), std::make_pair(1, refused));
    EXPECT_EQ(RunHeadless({"--print-pdf", pdf, fifo.Path()}), std::make_pair(1, refused));
    EXPECT_EQ(RunHeadless({"--export-png", dir.filePath(QStringLiteral("out.png")), fifo.Path()}),
              std::make_pair(1, refused));
    EXPECT_EQ(RunHeadless({"--import-ics", fifo.Path()}), std::make_pair(1, refused));
    EXPECT_FALSE(QFile::exists(pdf));

    QFile::remove(ProgramFile(QStringLiteral("PX.ini")));
    {
        IniFile ini(ProgramFile(QStringLiteral("PX.ini")));
        ini.writeString(QStringLiteral("MRU"), QStringLiteral("F0"), fifo.Path());
    }
    test::MessageRecorder messages;
    TCalendarMain window;
    window.FormActivate();
    EXPECT_EQ(messages.lastText(), refused.mid(QStringLiteral("plennix: ").size()));
    EXPECT_TRUE(window.CalendarPanel()->isHidden());
    EXPECT_FALSE(fifo.Blocked());
    QFile::remove(ProgramFile(QStringLiteral("PX.ini")));
}
