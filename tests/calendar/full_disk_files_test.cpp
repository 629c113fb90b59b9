// Documents and style sheets on a really full disk and at paths that are not files: a save that cannot
// reach the disk keeps the file saved before byte for byte (a small one and one larger than the space
// left alike), leaves no temporary file and says which file and why; a named pipe is refused before it
// is opened.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <functional>

#include "calendar/calendar_dump.h"
#include "calendar/calendar_files.h"
#include "common/fifo_path.h"
#include "common/full_disk.h"
#include "common/qstring_printer.h"
#include "platform/file_io.h"
#include "surface/object_host.h"

namespace plennix {
namespace {

QString fileErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const FileError& e) {
        return e.message();
    }
    return QStringLiteral("<no file error>");
}

TEST(CalendarFilesOnAFullDisk, ASaveThatCannotBeWrittenKeepsTheSavedFile) {
    test::FullDisk disk(512);
    PLENNIX_REQUIRE_FULL_DISK(disk);
    CalendarSettings s;
    CellStores cells;
    const QString doc = disk.FilePath(QStringLiteral("Dec1997.PXF"));
    const QString sheet = disk.FilePath(QStringLiteral("Mine.PXS"));
    SaveDocumentFile(doc, s, cells, {});
    SaveStyleSheetFile(sheet, s);
    const QByteArray savedDoc = disk.Read(QStringLiteral("Dec1997.PXF"));
    const QByteArray savedSheet = disk.Read(QStringLiteral("Mine.PXS"));
    ASSERT_TRUE(disk.Fill());

    s.UserTitle = QStringLiteral("changed");
    EXPECT_EQ(fileErrorOf([&] { SaveDocumentFile(doc, s, cells, {}); }),
              QStringLiteral("Unable to write %1: No space left on device").arg(doc));
    // Cell texts of many kilobytes: more than the whole disk holds.
    for (int i = 0; i < 42; ++i) cells[i].SetRtfData("{\\rtf1\\ansi " + QByteArray(20000, 'x') + "\\par}");
    EXPECT_EQ(fileErrorOf([&] { SaveDocumentFile(doc, s, cells, {}); }),
              QStringLiteral("Unable to write %1: No space left on device").arg(doc));
    EXPECT_EQ(fileErrorOf([&] { SaveStyleSheetFile(sheet, s); }),
              QStringLiteral("Unable to write %1: No space left on device").arg(sheet));
    EXPECT_EQ(disk.Read(QStringLiteral("Dec1997.PXF")), savedDoc);
    EXPECT_EQ(disk.Read(QStringLiteral("Mine.PXS")), savedSheet);
    EXPECT_EQ(disk.Files(), QStringList({QStringLiteral("Dec1997.PXF"), QStringLiteral("Mine.PXS")}));
}

TEST(CalendarFilePaths, ANamedPipeIsRefusedBeforeItIsOpened) {
    test::FifoPath fifo(QDir::tempPath() +
                        QStringLiteral("/plennix-pipe-%1.PXF").arg(QCoreApplication::applicationPid()));
    ASSERT_TRUE(fifo.Made());
    const QString expected = QStringLiteral("Cannot read %1: it is a named pipe, not a file").arg(fifo.Path());
    CalendarSettings s;
    CellStores cells;
    QObject owner;
    TGObjectHost host;
    EXPECT_EQ(fileErrorOf([&] { LoadDocumentFile(fifo.Path(), s, cells, &owner, &host.ObjectList(), &owner); }), expected);
    EXPECT_EQ(fileErrorOf([&] { LoadStyleSheetFile(fifo.Path(), s); }), expected);
    EXPECT_EQ(fileErrorOf([&] { DumpCalendarFile(fifo.Path()); }), expected);
    EXPECT_EQ(fileErrorOf([&] { SaveDocumentFile(fifo.Path(), s, cells, {}); }),
              QStringLiteral("Unable to write %1: it is a named pipe, not a file").arg(fifo.Path()));
    EXPECT_FALSE(fifo.Blocked());
}

}  // namespace
}  // namespace plennix
