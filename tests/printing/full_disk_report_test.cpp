// A print job to the built-in PDF writer on a really full disk, and one that is abandoned: the PDF file
// it would replace keeps every byte, the job reports the file and the reason, and a job that has room
// writes a whole PDF.
#include <gtest/gtest.h>

#include <QFile>
#include <stdexcept>

#include "common/full_disk.h"
#include "common/qstring_printer.h"
#include "printing/report.h"

using namespace plennix;

TEST(ReportOnAFullDisk, APdfThatCannotBeWrittenKeepsTheOldFile) {
    test::FullDisk disk;
    PLENNIX_REQUIRE_FULL_DISK(disk);
    const QString pdf = disk.FilePath(QStringLiteral("Calendar.pdf"));
    {
        TReport room;
        room.SetPdfOutput(pdf);
        ASSERT_TRUE(room.Execute(nullptr, [](TReport& r) { r.FillRect(0, 0, 1, 1); }))
            << room.ErrorText().toStdString();
    }
    const QByteArray before = disk.Read(QStringLiteral("Calendar.pdf"));
    ASSERT_TRUE(before.startsWith("%PDF-"));
    ASSERT_TRUE(before.trimmed().endsWith("%%EOF"));

    // Abandoned midway: nothing is written, even with room to spare.
    TReport abandoned;
    abandoned.SetPdfOutput(pdf);
    EXPECT_THROW(abandoned.Execute(nullptr,
                                   [](TReport& r) {
                                       r.Rectangle(1, 1, 7, 10);
                                       throw std::runtime_error("midway");
                                   }),
                 std::runtime_error);
    EXPECT_EQ(disk.Read(QStringLiteral("Calendar.pdf")), before);

    ASSERT_TRUE(disk.Fill());
    TReport full;
    full.SetPdfOutput(pdf);
    EXPECT_FALSE(full.Execute(nullptr, [](TReport& r) {
        r.Rectangle(1, 1, 7, 10);
        r.NewPage();
        r.Rectangle(2, 2, 6, 9);
    }));
    EXPECT_EQ(full.ErrorText(), QStringLiteral("Unable to write %1: No space left on device").arg(pdf));
    EXPECT_FALSE(full.Printing());
    EXPECT_EQ(disk.Read(QStringLiteral("Calendar.pdf")), before);
    EXPECT_EQ(disk.Files(), QStringList{QStringLiteral("Calendar.pdf")});
}
