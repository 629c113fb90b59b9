// PXRECUR.DAX reading and writing, the start-up conversion of PXRECUR.DAT, and the built-in holidays.
#include <gtest/gtest.h>

#include "common/qstring_printer.h"

#include <QDir>
#include <QFile>

#include "platform/file_io.h"
#include "platform/locale_names.h"
#include "recurring/formula.h"
#include "recurring/store.h"

using namespace plennix;

namespace {
class RecurringStore : public ::testing::Test {
protected:
    void SetUp() override {
        QFile::remove(RecurringDatesPath());
        QFile::remove(OldRecurringDatesPath());
    }
    void TearDown() override { SetUp(); }

    static void Write(const QString& path, const QByteArray& bytes) { ASSERT_TRUE(WriteFileAtomically(path, bytes)); }
    static QByteArray Read(const QString& path) { return ReadWholeFile(path).value_or("<missing>"); }
};
}  // namespace

TEST(RecurringLines, SplitAcceptsEveryLineEnd) {
    EXPECT_EQ(SplitRecurringLines("a\r\nb\nc\rd"), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitRecurringLines("a\r\n\r\nb\r\n"), (QStringList{"a", "", "b"}));
    EXPECT_EQ(SplitRecurringLines(""), QStringList{});
    EXPECT_EQ(SplitRecurringLines("\n"), QStringList{""});
    EXPECT_EQ(SplitRecurringLines("M\xe4rz\r\n"), QStringList{QString::fromUtf8("März")});
    EXPECT_EQ(JoinRecurringLines({QString::fromUtf8("März"), "b"}), QByteArray("M\xe4rz\r\nb\r\n"));
}

TEST_F(RecurringStore, LoadMissingFileGivesEmptyList) {
    auto lines = LoadRecurringDates();
    ASSERT_TRUE(lines);
    EXPECT_TRUE(lines->isEmpty());
}

TEST_F(RecurringStore, SaveWritesCrLfLinesAndLoadReadsThemBack) {
    const QStringList lines = {BuildEntry("Christmas Day", "@1225"), BuildEntry("Weekdays", "%23456")};
    ASSERT_TRUE(SaveRecurringDates(lines));
    QByteArray bytes = Read(RecurringDatesPath());
    EXPECT_EQ(bytes.size(), 2 * 132);
    EXPECT_TRUE(bytes.endsWith("@1225     \r\n" + QByteArray("Weekdays").leftJustified(120) + "%23456    \r\n"));
    EXPECT_EQ(LoadRecurringDates().value(), lines);
}

TEST_F(RecurringStore, ConversionReplacesListAndDeletesOldFile) {
    Write(RecurringDatesPath(), "old list line\r\n");
    Write(OldRecurringDatesPath(), "1225Christmas\r\n0001Rent\r\n12");
    ASSERT_TRUE(ConvertOldRecurringDatesFile());
    EXPECT_FALSE(QFile::exists(OldRecurringDatesPath()));

    const QStringList lines = LoadRecurringDates().value();
    ASSERT_EQ(lines.size(), 3);
    for (const QString& line : lines) EXPECT_EQ(line.size(), 131);
    EXPECT_EQ(lines[0], QString("Christmas").leftJustified(120) + "@" + QString("1225").leftJustified(10));
    EXPECT_EQ(EntryFormula(lines[0]), "@1225     ");
    EXPECT_EQ(SelectedDays(lines[1], 1997, 6), std::vector<int>{1});
    EXPECT_EQ(EntryFormula(lines[2]), "@12       ");  // too short to read: selects nothing
    EXPECT_TRUE(SelectedDays(lines[2], 1997, 12).empty());
    if (ShortDayName(7) == "Sat") {
        EXPECT_EQ(EntryListText(lines[0]), "Christmas (25th of December)");
    }

    // Nothing left to convert: the list stays as it is.
    ASSERT_TRUE(ConvertOldRecurringDatesFile());
    EXPECT_EQ(LoadRecurringDates().value(), lines);
}

TEST_F(RecurringStore, ConversionKeepsEventTextUpTo150CharactersCutTo120) {
    Write(OldRecurringDatesPath(), "0704" + QByteArray(200, 'x'));
    ASSERT_TRUE(ConvertOldRecurringDatesFile());
    const QStringList lines = LoadRecurringDates().value();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0], QString(120, 'x') + "@0704      ");
}

TEST_F(RecurringStore, UnreadableOldFileIsKept) {
    // A folder where the file should be cannot be read as one; nothing may be lost or replaced.
    Write(RecurringDatesPath(), "kept\r\n");
    ASSERT_TRUE(QDir().mkdir(OldRecurringDatesPath()));
    QString error;
    EXPECT_FALSE(ConvertOldRecurringDatesFile(&error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(Read(RecurringDatesPath()), "kept\r\n");
    EXPECT_TRUE(QFile::exists(OldRecurringDatesPath()));
    QDir().rmdir(OldRecurringDatesPath());
}

TEST(Holidays, BuiltInLines) {
    const QStringList lines = BuiltInHolidayLines();
    ASSERT_EQ(lines.size(), 26);
    for (int i = 1; i < lines.size(); ++i) EXPECT_FALSE(EntryLess(lines[i], lines[i - 1])) << i;
    for (const QString& line : lines) {
        if (EntryKind(line) == '#') {
            EXPECT_FALSE(line.endsWith(' '));  // feast names carry no blank fill
            EXPECT_FALSE(SelectedDays(line, 1997, 3).empty()) << line.toStdString();
        } else {
            EXPECT_EQ(line.size(), 130);
            EXPECT_FALSE(DescribeFormula(EntryFormula(line)).isEmpty()) << line.toStdString();
        }
    }
    EXPECT_EQ(lines[0], BuildEntry("April Fools's Day", "@0401"));
    EXPECT_TRUE(lines.contains(QString("Good Friday").leftJustified(120) + "#GOODFRIDAY"));
    EXPECT_TRUE(lines.contains(BuildEntry("Thanksgiving Day", "$3 4 11")));
    if (ShortDayName(7) == "Sat") {
        EXPECT_EQ(EntryListText(lines[1]), "Armed Forces Day (3rd Sat of May)");
        EXPECT_EQ(EntryListText(BuildEntry("Daylight Savings Time ends", "$5 0 10")),
                  "Daylight Savings Time ends (Last Sun of October)");
    }
}

TEST(SortedInsert, IgnoresCaseAndGoesAfterEqualLines) {
    QStringList sorted = {"apple", "Banana", "cherry"};
    EXPECT_EQ(SortedInsertIndex(sorted, "BANANA"), 2);
    EXPECT_EQ(SortedInsertIndex(sorted, "Aardvark"), 0);
    EXPECT_EQ(SortedInsertIndex(sorted, "zebra"), 3);
}
