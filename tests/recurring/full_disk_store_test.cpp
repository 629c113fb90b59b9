// The recurring dates list on a full disk and in files that cannot be read: PXRECUR.DAX keeps every
// byte when a save, the start-up conversion of PXRECUR.DAT or an iCalendar import cannot write it (and
// PXRECUR.DAT is then kept for the next start), an .ics export keeps the file it would replace, and every
// failure names the file and the reason.
#include <gtest/gtest.h>

#include <QFile>

#include "common/fifo_path.h"
#include "common/full_disk.h"
#include "common/qstring_printer.h"
#include "platform/file_io.h"
#include "recurring/formula.h"
#include "recurring/ical.h"
#include "recurring/store.h"

using namespace plennix;

namespace {
const QByteArray kOldList = BuildEntry(QStringLiteral("Rent"), QStringLiteral("@0101")).toLatin1() + "\r\n";
const QByteArray kIcs =
    "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:x\r\nBEGIN:VEVENT\r\nUID:1\r\n"
    "DTSTART;VALUE=DATE:20240704\r\nRRULE:FREQ=YEARLY\r\nSUMMARY:Picnic\r\nEND:VEVENT\r\n"
    "END:VCALENDAR\r\n";
}  // namespace

TEST(RecurringStoreOnAFullDisk, EveryWriterKeepsTheOldFileAndSaysWhy) {
    test::FullDisk disk;
    PLENNIX_REQUIRE_FULL_DISK(disk);
    test::ProgramFolderOn folder(disk);
    ASSERT_TRUE(disk.Place(QStringLiteral("PXRECUR.DAX"), kOldList));
    ASSERT_TRUE(disk.Place(QStringLiteral("PXRECUR.DAT"), "1225Christmas\r\n0704Picnic\r\n"));
    ASSERT_TRUE(disk.Place(QStringLiteral("dates.ics"), kIcs));
    ASSERT_TRUE(disk.Place(QStringLiteral("export.ics"), "the export of last year"));
    ASSERT_TRUE(disk.Fill());
    const QStringList before = disk.Files();
    const QString dax = RecurringDatesPath();
    const QString noSpace = QStringLiteral("Unable to write %1: No space left on device").arg(dax);

    QString error;
    EXPECT_FALSE(SaveRecurringDates({BuildEntry(QStringLiteral("Picnic"), QStringLiteral("@0704"))}, &error));
    EXPECT_EQ(error, noSpace);

    error.clear();
    EXPECT_FALSE(ConvertOldRecurringDatesFile(&error));
    EXPECT_EQ(error, noSpace);
    EXPECT_EQ(disk.Read(QStringLiteral("PXRECUR.DAT")), QByteArray("1225Christmas\r\n0704Picnic\r\n"));

    error.clear();
    int added = 0;
    EXPECT_FALSE(ImportIcsFileIntoRecurringDates(disk.FilePath(QStringLiteral("dates.ics")), &added, nullptr, &error));
    EXPECT_EQ(error, noSpace);

    error.clear();
    const QString ics = disk.FilePath(QStringLiteral("export.ics"));
    EXPECT_FALSE(ExportRecurringDatesToIcsFile(ics, 2026, nullptr, &error));
    EXPECT_EQ(error, QStringLiteral("Unable to write %1: No space left on device").arg(ics));

    EXPECT_EQ(disk.Read(QStringLiteral("PXRECUR.DAX")), kOldList);
    EXPECT_EQ(disk.Read(QStringLiteral("export.ics")), QByteArray("the export of last year"));
    EXPECT_EQ(disk.Files(), before);
}

// A list far too large to be one, or a named pipe in its place, is reported as such with the file's
// name, and the pipe is never opened (which would wait for a writer for ever).
TEST(RecurringStoreFiles, AListThatCannotBeReadIsReportedWithItsReason) {
    QFile::remove(RecurringDatesPath());
    {
        QFile f(RecurringDatesPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.resize(70 * 1000 * 1000));
    }
    QString error;
    EXPECT_FALSE(LoadRecurringDates(&error));
    EXPECT_EQ(error, QStringLiteral("Cannot read %1: the file is too large (70000000 bytes; at most 67108864 bytes "
                                    "are read)")
                         .arg(RecurringDatesPath()));
    QFile::remove(RecurringDatesPath());

    test::FifoPath fifo(RecurringDatesPath());
    ASSERT_TRUE(fifo.Made());
    EXPECT_FALSE(LoadRecurringDates(&error));
    EXPECT_EQ(error, QStringLiteral("Cannot read %1: it is a named pipe, not a file").arg(RecurringDatesPath()));
    int added = 0;
    EXPECT_FALSE(ImportIcsFileIntoRecurringDates(fifo.Path(), &added, nullptr, &error));
    EXPECT_EQ(error, QStringLiteral("Cannot read %1: it is a named pipe, not a file").arg(fifo.Path()));
    EXPECT_FALSE(fifo.Blocked());
}

// An import of a large .ics (within its own bound) makes a list twice its size, since every line takes
// its full width: a list larger than what is read back is not written, and the one there stays.
TEST(RecurringStoreFiles, AListLargerThanIsReadBackIsNotWritten) {
    QFile::remove(RecurringDatesPath());
    ASSERT_TRUE(SaveRecurringDates({BuildEntry(QStringLiteral("Rent"), QStringLiteral("@0101"))}));
    const QString line = BuildEntry(QStringLiteral("Picnic"), QStringLiteral("@0704"));
    const qsizetype lineBytes = line.size() + 2;
    // The same shared line over and over: the list costs memory only once encoded.
    const QStringList tooMany(64LL * 1024 * 1024 / lineBytes + 1, line);
    QString error;
    EXPECT_FALSE(SaveRecurringDates(tooMany, &error));
    EXPECT_EQ(error, QStringLiteral("Unable to write %1: the list would be %2 bytes, more than the 67108864 bytes "
                                    "that are read back; the file is kept as it is")
                         .arg(RecurringDatesPath())
                         .arg(tooMany.size() * lineBytes));
    const std::optional<QStringList> kept = LoadRecurringDates(&error);
    ASSERT_TRUE(kept);
    EXPECT_EQ(*kept, QStringList{BuildEntry(QStringLiteral("Rent"), QStringLiteral("@0101"))});
    // The largest list that is written is one that can be read.
    EXPECT_TRUE(SaveRecurringDates(tooMany.mid(1), &error)) << error.toStdString();
    EXPECT_TRUE(LoadRecurringDates(&error)) << error.toStdString();
    QFile::remove(RecurringDatesPath());
}
