// iCalendar exchange: export then import gives the same entries, files in the conventions of other
// calendar programs import as expected, what cannot be expressed is listed with its reason, and the
// days imported entries select equal libical's own expansion of the same events.
#include <gtest/gtest.h>

#include "common/qstring_printer.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <set>

#include "platform/code_page.h"
#include "platform/file_io.h"
#include "recurring/formula.h"
#include "recurring/ical.h"
#include "recurring/store.h"

using namespace plennix;

namespace {
QByteArray Calendar(const QByteArray& events) {
    QByteArray body = "BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Test//Test//EN\n" + events + "END:VCALENDAR\n";
    body.replace("\n", "\r\n");
    return body;
}

QByteArray Event(const QByteArray& lines) {
    static int uid = 0;
    return "BEGIN:VEVENT\nUID:test-" + QByteArray::number(++uid) + "\nDTSTAMP:20240101T000000Z\n" + lines +
           "END:VEVENT\n";
}

IcsImport Import(const QByteArray& data) {
    QString error;
    const auto result = ImportIcs(data, &error);
    EXPECT_TRUE(result.has_value()) << error.toStdString();
    return result.value_or(IcsImport{});
}

std::vector<QDate> FormulaDays(const QStringList& entries, int year) {
    std::set<QDate> days;
    for (const QString& e : entries)
        for (int m = 1; m <= 12; ++m)
            for (int d : SelectedDays(e, year, m)) days.insert(QDate(year, m, d));
    return {days.begin(), days.end()};
}
}  // namespace

TEST(Ical, ExportThenImportGivesBackTheSameEntries) {
    ScopedCodePage page(1252);
    const QStringList entries = {
        BuildEntry(QStringLiteral("Christmas Day"), QStringLiteral("@1225")),
        BuildEntry(QStringLiteral("Leap day"), QStringLiteral("@0229")),
        BuildEntry(QStringLiteral("Rent"), QStringLiteral("@0001")),
        BuildEntry(QStringLiteral("Mother's Day"), QStringLiteral("$1 0 5")),
        BuildEntry(QStringLiteral("Memorial Day"), QStringLiteral("$5 1 5")),
        BuildEntry(QStringLiteral("Team review"), QStringLiteral("$5 5 0")),
        BuildEntry(QStringLiteral("Payroll"), QStringLiteral("$5 7 0")),
        BuildEntry(QStringLiteral("First of the month"), QStringLiteral("$0 7 0")),
        BuildEntry(QStringLiteral("Third of June"), QStringLiteral("$2 7 6")),
        BuildEntry(QStringLiteral("End of February"), QStringLiteral("$5 7 2")),
        BuildEntry(QStringLiteral("Gym"), QStringLiteral("%246")),
        BuildEntry(QStringLiteral("Fête de la musique, \"Zürich\"; été"), QStringLiteral("@0621")),
        FitToWidth(QStringLiteral("Easter Sunday"), kEventFieldWidth) + QStringLiteral("#EASTER"),
        FitToWidth(QStringLiteral("Good Friday"), kEventFieldWidth) + QStringLiteral("#GOODFRIDAY"),
        FitToWidth(QStringLiteral("Palm Sunday"), kEventFieldWidth) + QStringLiteral("#PALMSUNDAY"),
    };
    QStringList leftOut;
    const QByteArray ics = ExportIcs(entries + QStringList{QStringLiteral("A note without a formula")}, 2026, &leftOut);
    EXPECT_EQ(leftOut, QStringList{QStringLiteral("A note without a formula: its formula has no iCalendar form")});
    EXPECT_TRUE(ics.contains("RRULE:FREQ=YEARLY;BYMONTHDAY=25;BYMONTH=12")) << ics.toStdString();
    EXPECT_TRUE(ics.contains("DTSTART;VALUE=DATE:20260405"));  // Easter 2026
    EXPECT_TRUE(ics.contains("DTSTART;VALUE=DATE:20280229"));  // the first 29 February from 2026
    EXPECT_TRUE(ics.contains("DTSTART;VALUE=DATE:20350325"));  // the tenth Easter, a dated event of its own
    EXPECT_FALSE(ics.contains("RDATE"));

    const IcsImport back = Import(ics);
    EXPECT_EQ(back.leftOut, QStringList());
    EXPECT_EQ(back.entries, entries);

    // The same list gives the same UIDs, so that other programs update rather than duplicate.
    auto uids = [](const QByteArray& data) {
        QList<QByteArray> out;
        for (const QByteArray& line : data.split('\n'))
            if (line.startsWith("UID:")) out << line.trimmed();
        return out;
    };
    EXPECT_EQ(uids(ExportIcs(entries, 2026)), uids(ics));
    EXPECT_EQ(uids(ics).size(), entries.size() - 3 + 3 * 10);  // three feasts, ten years each
    const QList<QByteArray> all = uids(ics);
    EXPECT_EQ(QSet<QByteArray>(all.begin(), all.end()).size(), all.size());
}

TEST(Ical, ImportingExportedHolidaysIntoTheListAddsNoSecondCopy) {
    ScopedCodePage page(1252);
    const QStringList holidays = BuiltInHolidayLines();
    QStringList list = holidays;
    std::stable_sort(list.begin(), list.end(), EntryLess);
    const IcsImport back = Import(ExportIcs(holidays, 2026));
    EXPECT_EQ(back.leftOut, QStringList());
    EXPECT_EQ(MergeEntries(list, back.entries), 0) << back.entries.join('\n').toStdString();
    EXPECT_EQ(list.size(), holidays.size());
}

// The merge puts each new line where inserting the lines one at a time (after equal lines) would have put
// it, also among lines that differ only in letter case, and adds each line once.
TEST(Ical, MergingPlacesNewLinesAsOneAtATimeInsertionWould) {
    auto entry = [](const char* text) { return BuildEntry(QString::fromUtf8(text), QStringLiteral("@0101")); };
    QStringList list = {entry("anna"), entry("Bert"), entry("bert"), entry("Carl")};
    const QStringList entries = {entry("ANNA"), entry("Dora"), entry("bert"), entry("BERT"), entry("Anna"),
                                 entry("ANNA"), entry("aaron"), entry("Carl"), entry("carl")};
    QStringList expected = list;
    for (const QString& e : entries)
        if (!expected.contains(e)) expected.insert(SortedInsertIndex(expected, e), e);
    EXPECT_EQ(MergeEntries(list, entries), expected.size() - 4);
    EXPECT_EQ(list, expected);
    EXPECT_EQ(MergeEntries(list, entries), 0);
    EXPECT_EQ(list, expected);
}

// A file that holds the same event twice (a calendar merged into itself) gives its entry once, and
// so does a feast given both as one event with single dates and as dated events.
TEST(Ical, AnEventGivenTwiceGivesOneEntry) {
    ScopedCodePage page(1252);
    const QByteArray goodFriday = "SUMMARY:Good Friday\nDTSTART;VALUE=DATE:20250418\nRDATE;VALUE=DATE:20260403,20270326\n";
    const QByteArray birthday = "SUMMARY:Ann\nDTSTART;VALUE=DATE:20250305\nRRULE:FREQ=YEARLY\n";
    const IcsImport twice = Import(Calendar(Event(goodFriday) + Event(birthday) + Event(goodFriday) + Event(birthday) +
                                            Event("SUMMARY:Good Friday\nDTSTART;VALUE=DATE:20280414\n") +
                                            Event("SUMMARY:Good Friday\nDTSTART;VALUE=DATE:20290330\n")));
    ASSERT_EQ(twice.entries.size(), 2) << twice.entries.join('\n').toStdString();
    EXPECT_TRUE(twice.entries[0].trimmed().endsWith(QStringLiteral("#GOODFRIDAY")));
    EXPECT_TRUE(twice.entries[1].trimmed().endsWith(QStringLiteral("@0305")));
    const IcsImport again = Import(ExportIcs(twice.entries, 2026));
    EXPECT_EQ(again.entries, twice.entries);
}

TEST(Ical, OtherProgramsConventionsImportAsExpected) {
    ScopedCodePage page(1252);
    const QByteArray data = Calendar(
        // An all-day birthday with VALUE=DATE, yearly from the start date.
        Event("DTSTART;VALUE=DATE:19800314\nDTEND;VALUE=DATE:19800315\nRRULE:FREQ=YEARLY\nSUMMARY:Anna's birthday\n") +
        // A weekly meeting at a time in a named zone, with the zone in the file; the summary is folded and
        // escaped.
        "BEGIN:VTIMEZONE\nTZID:Europe/Berlin\nBEGIN:STANDARD\nDTSTART:19701025T030000\nTZOFFSETFROM:+0200\n"
        "TZOFFSETTO:+0100\nRRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\nEND:STANDARD\nEND:VTIMEZONE\n" +
        Event("DTSTART;TZID=Europe/Berlin:20240902T093000\nDTEND;TZID=Europe/Berlin:20240902T100000\n"
              "RRULE:FREQ=WEEKLY;BYDAY=MO,TH;WKST=MO\nSUMMARY:Stand-up\\, team \n A\n") +
        // A floating time, monthly on the 2nd Tuesday.
        Event("DTSTART:20240109T190000\nRRULE:FREQ=MONTHLY;BYDAY=2TU\nSUMMARY:Book club\n") +
        // The last weekday written with BYSETPOS.
        Event("DTSTART;VALUE=DATE:20241129\nRRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=FR;BYSETPOS=-1\nSUMMARY:Last Friday\n") +
        // Easter written as dated events of several years.
        Event("DTSTART;VALUE=DATE:20250420\nSUMMARY:Ostersonntag\n") +
        Event("DTSTART;VALUE=DATE:20260405\nSUMMARY:Ostersonntag\n") +
        // A feast with its other years as RDATEs.
        Event("DTSTART;VALUE=DATE:20250418\nRDATE;VALUE=DATE:20260403,20270326\nSUMMARY:Karfreitag\n"));
    const IcsImport result = Import(data);
    EXPECT_EQ(result.leftOut, QStringList());
    EXPECT_EQ(result.entries,
              (QStringList{BuildEntry(QStringLiteral("Anna's birthday"), QStringLiteral("@0314")),
                           BuildEntry(QStringLiteral("Stand-up, team A"), QStringLiteral("%25")),
                           BuildEntry(QStringLiteral("Book club"), QStringLiteral("$1 2 0")),
                           BuildEntry(QStringLiteral("Last Friday"), QStringLiteral("$5 5 11")),
                           FitToWidth(QStringLiteral("Ostersonntag"), kEventFieldWidth) + QStringLiteral("#EASTER"),
                           FitToWidth(QStringLiteral("Karfreitag"), kEventFieldWidth) + QStringLiteral("#GOODFRIDAY")}));
}

// An event on one date (a meeting, a trip, one year's holiday) has no yearly form: it is left out unless
// the person asks to keep such dates, and then it comes with its year. A holiday file with a dated event
// for each year gives a yearly entry where the date is the same every year.
TEST(Ical, SingleDatesAreLeftOutUnlessAskedFor) {
    ScopedCodePage page(1252);
    const QByteArray data = Calendar(
        Event("DTSTART:20250620T180000Z\nSUMMARY:Geburtstag Jürgen\n") +  // UTC, late in the evening
        Event("DTSTART;VALUE=DATE:20260406\nSUMMARY:Easter Monday\n") +
        Event("DTSTART;VALUE=DATE:20270329\nSUMMARY:Easter Monday\n") +
        Event("DTSTART;VALUE=DATE:20261225\nSUMMARY:Christmas Day\n") +
        Event("DTSTART;VALUE=DATE:20271225\nSUMMARY:Christmas Day\n") +
        // A single date that merely falls on Easter is no feast.
        Event("DTSTART;VALUE=DATE:20240331\nSUMMARY:Lunch with Ben\n") +
        Event("DTSTART;VALUE=DATE:20240101\nRRULE:FREQ=YEARLY\nSUMMARY:New Year\n"));
    const QString christmas = BuildEntry(QStringLiteral("Christmas Day"), QStringLiteral("@1225"));
    const QString newYear = BuildEntry(QStringLiteral("New Year"), QStringLiteral("@0101"));

    // Easter Monday, dated in two years, is the feast one day after Easter.
    const QString easterMonday = FitToWidth(QStringLiteral("Easter Monday"), kEventFieldWidth) + QStringLiteral("#EASTER+1");
    const IcsImport byDefault = Import(data);
    EXPECT_EQ(byDefault.entries, (QStringList{easterMonday, christmas, newYear}));
    const QString single = QStringLiteral(": it falls on a single date (%1), which does not come back every year");
    EXPECT_EQ(byDefault.leftOut, (QStringList{QStringLiteral("Geburtstag Jürgen") + single.arg("2025-06-20"),
                                              QStringLiteral("Lunch with Ben") + single.arg("2024-03-31")}));

    QString error;
    const auto kept = ImportIcs(data, &error, IcsDatedEvents::KeepAsYearly);
    ASSERT_TRUE(kept.has_value());
    EXPECT_EQ(kept->leftOut, QStringList());
    EXPECT_EQ(kept->entries, (QStringList{BuildEntry(QStringLiteral("Geburtstag Jürgen (2025)"), QStringLiteral("@0620")),
                                          easterMonday,
                                          christmas,
                                          BuildEntry(QStringLiteral("Lunch with Ben (2024)"), QStringLiteral("@0331")),
                                          newYear}));
}

TEST(Ical, WhatHasNoFormulaIsListedWithItsReason) {
    ScopedCodePage page(1252);
    const QByteArray data = Calendar(
        Event("DTSTART;VALUE=DATE:20240101\nRRULE:FREQ=YEARLY;COUNT=3\nSUMMARY:Three times\n") +
        Event("DTSTART;VALUE=DATE:20240101\nRRULE:FREQ=WEEKLY;INTERVAL=2\nSUMMARY:Bin day\n") +
        Event("DTSTART;VALUE=DATE:20240101\nRRULE:FREQ=WEEKLY\nEXDATE;VALUE=DATE:20240108\nSUMMARY:Skip one\n") +
        Event("DTSTART;VALUE=DATE:20240801\nDTEND;VALUE=DATE:20240815\nSUMMARY:Holiday trip\n") +
        Event("DTSTART;VALUE=DATE:20240101\nRRULE:FREQ=YEARLY;BYMONTH=1,7;BYMONTHDAY=1\nSUMMARY:Twice a year\n") +
        Event("DTSTART;VALUE=DATE:20240101\nSUMMARY:Done ✓\n") +
        Event("DTSTART;VALUE=DATE:20240101\n") +
        Event("DTSTART:20240101T000000\nRRULE:FREQ=HOURLY\nSUMMARY:Hourly\n") +
        // libical drops what it cannot read: the yearly date must not come in as one date of 2024.
        Event("DTSTART;VALUE=DATE:20240101\nRRULE:FREQUENTLY\nSUMMARY:Unreadable\n") +
        Event("DTSTART;VALUE=DATE:20240101\nDTEND:2024XX\nRRULE:FREQ=YEARLY\nSUMMARY:Broken end\n") +
        Event("DTSTART;VALUE=DATE:20240101\nRRULE:FREQ=YEARLY\nSTATUS:CANCELLED\nSUMMARY:Called off\n") +
        Event("DTSTART;VALUE=DATE:20240101\nRRULE:FREQ=MONTHLY;BYMONTHDAY=1\nSUMMARY:Kept\n") +
        // A summary whose fold lost its leading blank: libical keeps an empty text.
        Event("DTSTART;VALUE=DATE:20240101\nRRULE:FREQ=YEARLY\nSUMMARY:\nMeeting with the board\n"));
    const IcsImport result = Import(data);
    EXPECT_EQ(result.entries, QStringList{BuildEntry(QStringLiteral("Kept"), QStringLiteral("@0001"))});
    const QStringList expected = {
        QStringLiteral("Three times: the rule ends (COUNT or UNTIL); recurring dates repeat for ever"),
        QStringLiteral("Bin day: the rule repeats every 2 periods"),
        QStringLiteral("Skip one: its rule has exceptions (EXDATE), which recurring dates cannot leave out"),
        QStringLiteral("Holiday trip: the event lasts 14 days; an entry marks one day"),
        QStringLiteral("Twice a year: the rule falls in several months"),
        QStringLiteral("Done ✓: The text contains characters that cannot be saved in this calendar's code page "
                       "(Windows-1252): ✓"),
        QStringLiteral("Event at line 46: the event has no text (SUMMARY)"),
        QStringLiteral("Hourly: the rule repeats more often than daily"),
        QStringLiteral("Unreadable: its RRULE cannot be read"),
        QStringLiteral("Broken end: its DTEND cannot be read"),
        QStringLiteral("Called off: the event was cancelled (STATUS:CANCELLED)"),
        QStringLiteral("Event at line 88: its text cannot be read (line 93: SUMMARY:Meeting with the board)"),
    };
    EXPECT_EQ(result.leftOut, expected);

    // The same text in a page that holds it imports.
    ScopedCodePage cyrillic(1251);
    const IcsImport ru = Import(Calendar(Event("DTSTART;VALUE=DATE:20240307\nRRULE:FREQ=YEARLY\nSUMMARY:Женский день\n")));
    EXPECT_EQ(ru.entries, QStringList{BuildEntry(QStringLiteral("Женский день"), QStringLiteral("@0307"))});
}

TEST(Ical, ImportedEntriesSelectTheDaysLibicalExpands) {
    const QByteArray rules[] = {
        "RRULE:FREQ=YEARLY", "RRULE:FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=29", "RRULE:FREQ=MONTHLY;BYMONTHDAY=31",
        "RRULE:FREQ=MONTHLY;BYMONTHDAY=-1", "RRULE:FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=-1",
        "RRULE:FREQ=MONTHLY;BYDAY=5SA", "RRULE:FREQ=MONTHLY;BYDAY=-1SU", "RRULE:FREQ=MONTHLY;BYDAY=1MO",
        "RRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=4TH", "RRULE:FREQ=YEARLY;BYMONTH=5;BYDAY=-1MO",
        "RRULE:FREQ=WEEKLY;BYDAY=SU,WE,SA", "RRULE:FREQ=WEEKLY", "RRULE:FREQ=DAILY",
        "RRULE:FREQ=MONTHLY;BYDAY=TU;BYSETPOS=3", "RRULE:FREQ=MONTHLY",
        "RRULE:FREQ=MONTHLY;BYDAY=SU,MO,TU,WE,TH,FR,SA;BYSETPOS=2",
        "RRULE:FREQ=YEARLY;BYMONTH=6;BYDAY=SU,MO,TU,WE,TH,FR,SA;BYSETPOS=-1",
    };
    for (const QByteArray& rule : rules) {
        SCOPED_TRACE(rule.toStdString());
        const QByteArray data = Calendar(Event("DTSTART;VALUE=DATE:20231231\n" + rule + "\nSUMMARY:Rule\n"));
        const IcsImport result = Import(data);
        ASSERT_EQ(result.entries.size(), 1) << result.leftOut.join('\n').toStdString();
        for (int year : {2024, 2025, 2027, 2028})
            EXPECT_EQ(FormulaDays(result.entries, year), IcsOccurrences(data, year)) << year;
    }
    // Exported feasts fall on the same days as the formula in each of the ten years.
    const QStringList feasts = {BuildEntry(QStringLiteral("Easter"), QStringLiteral("#EASTER")),
                                FitToWidth(QStringLiteral("Palm Sunday"), kEventFieldWidth) + QStringLiteral("#PALMSUNDAY")};
    const QByteArray exported = ExportIcs(feasts, 2026);
    for (int year = 2026; year < 2036; ++year) EXPECT_EQ(FormulaDays(feasts, year), IcsOccurrences(exported, year));
    EXPECT_TRUE(IcsOccurrences(exported, 2036).empty());
}

TEST(Ical, DamagedInputIsRefusedWithoutHarm) {
    QString error;
    EXPECT_FALSE(ImportIcs(QByteArray(), &error).has_value());
    EXPECT_EQ(error, QStringLiteral("The file holds no iCalendar data"));
    EXPECT_FALSE(ImportIcs(QByteArray("\x89PNG\r\n\x1a\n garbage"), &error).has_value());
    // A byte order mark before BEGIN:VCALENDAR is no damage.
    const auto marked = ImportIcs("\xEF\xBB\xBF" + Calendar(Event("DTSTART;VALUE=DATE:20240101\nRRULE:FREQ=YEARLY\nSUMMARY:Marked\n")));
    ASSERT_TRUE(marked.has_value());
    EXPECT_EQ(marked->entries.size(), 1);
    // Broken values and unbalanced components are read as far as they make sense.
    const QByteArray broken = "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART:2024XX01\r\nRRULE:FREQ=NONSENSE;BYDAY=9ZZ\r\n"
                              "SUMMARY:Broken\r\nBEGIN:VEVENT\r\nEND:VCALENDAR\r\n";
    const auto result = ImportIcs(broken, &error);
    if (result) {
        EXPECT_TRUE(result->entries.isEmpty());
    }
}

TEST(Ical, CommandLineImportAddsSortedOnceAndKeepsTheListOnFailure) {
    ScopedCodePage page(1252);
    QFile::remove(RecurringDatesPath());
    ASSERT_TRUE(SaveRecurringDates({BuildEntry(QStringLiteral("Zebra day"), QStringLiteral("@0131"))}));
    const QString ics = RecurringDatesPath() + QStringLiteral(".test.ics");
    ASSERT_TRUE(WriteFileAtomically(
        ics, Calendar(Event("DTSTART;VALUE=DATE:20240214\nRRULE:FREQ=YEARLY\nSUMMARY:Valentine\n") +
                      Event("DTSTART;VALUE=DATE:20240101\nRRULE:FREQ=YEARLY;COUNT=2\nSUMMARY:Twice\n"))));
    int added = -1;
    QStringList leftOut;
    QString error;
    ASSERT_TRUE(ImportIcsFileIntoRecurringDates(ics, &added, &leftOut, &error)) << error.toStdString();
    EXPECT_EQ(added, 1);
    EXPECT_EQ(leftOut.size(), 1);
    const QStringList expected = {BuildEntry(QStringLiteral("Valentine"), QStringLiteral("@0214")),
                                  BuildEntry(QStringLiteral("Zebra day"), QStringLiteral("@0131"))};
    EXPECT_EQ(LoadRecurringDates().value(), expected);
    // Importing again adds nothing.
    ASSERT_TRUE(ImportIcsFileIntoRecurringDates(ics, &added, &leftOut, &error));
    EXPECT_EQ(added, 0);
    EXPECT_EQ(LoadRecurringDates().value(), expected);

    // A file that is no calendar leaves the list as it was.
    ASSERT_TRUE(WriteFileAtomically(ics, "not a calendar"));
    EXPECT_FALSE(ImportIcsFileIntoRecurringDates(ics, &added, &leftOut, &error));
    EXPECT_TRUE(error.endsWith(QStringLiteral("The file holds no iCalendar data")));
    EXPECT_EQ(LoadRecurringDates().value(), expected);

    // Export writes the list for other programs.
    ASSERT_TRUE(ExportRecurringDatesToIcsFile(ics, 2026, &leftOut, &error));
    const IcsImport back = Import(ReadWholeFile(ics).value());
    EXPECT_EQ(back.entries, expected);
    QFile::remove(ics);
    QFile::remove(RecurringDatesPath());
}

// The largest calendar the program writes is one it reads back: the export stops short of the bound of
// the import and lists what it left out, and the import reads all of it back into the list.
TEST(Ical, ReadsBackItsOwnLargestExport) {
    ScopedCodePage page(1252);
    QFile::remove(RecurringDatesPath());
    // The most bytes an entry can export to: a feast (ten dated events) whose text is 120 characters of
    // three bytes each in UTF-8.
    const QString euros(kEventFieldWidth - 6, QChar(0x20AC));
    QStringList list;
    for (int i = 0; i < 13000; ++i)
        list << FitToWidth(QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0')) + euros, kEventFieldWidth) +
                    QStringLiteral("#EASTER");
    ASSERT_TRUE(SaveRecurringDates(list));
    const QString ics = RecurringDatesPath() + QStringLiteral(".largest.ics");
    QStringList leftOut;
    QString error;
    ASSERT_TRUE(ExportRecurringDatesToIcsFile(ics, 2026, &leftOut, &error)) << error.toStdString();
    const qint64 size = QFileInfo(ics).size();
    EXPECT_LE(size, kMaxIcsBytes);
    EXPECT_GT(size, kMaxIcsBytes - 10 * 1024);  // no further entry would have fitted
    ASSERT_FALSE(leftOut.isEmpty());
    EXPECT_TRUE(leftOut.back().endsWith(QStringLiteral(": the file would grow past 64 MB, the most an import reads back")))
        << leftOut.back().toStdString();

    QFile::remove(RecurringDatesPath());
    int added = 0;
    QStringList importLeftOut;
    ASSERT_TRUE(ImportIcsFileIntoRecurringDates(ics, &added, &importLeftOut, &error)) << error.toStdString();
    EXPECT_EQ(importLeftOut, QStringList());
    EXPECT_EQ(added, list.size() - leftOut.size());
    EXPECT_EQ(LoadRecurringDates().value(), list.mid(0, added));
    QFile::remove(ics);
    QFile::remove(RecurringDatesPath());
}

TEST(Ical, PointedHebrewTextKeepsItsFormulaThroughTheListFile) {
    // The Hebrew page's decoder joins a letter with its points into one presentation form (shin, dagesh
    // and shin dot); a list line must come back with as many characters, or its formula moves.
    ScopedCodePage page(1255);
    QFile::remove(RecurringDatesPath());
    const QString text = QString::fromUtf8("\xD7\xA9\xD6\xBC\xD7\x81\xD7\x91\xD7\xAA");  // shin+dagesh+shin dot, bet, tav
    const IcsImport imported = Import(Calendar(
        Event("DTSTART;VALUE=DATE:20240105\nRRULE:FREQ=WEEKLY\nSUMMARY:" + text.toUtf8() + "\n")));
    ASSERT_EQ(imported.leftOut, QStringList());
    ASSERT_TRUE(SaveRecurringDates(imported.entries));
    const QStringList back = LoadRecurringDates().value();
    ASSERT_EQ(back.size(), 1);
    EXPECT_EQ(EntryFormula(back[0]), QStringLiteral("%6        "));
    EXPECT_EQ(TrimBlanks(EntryEventField(back[0])).size(), text.size());
    QFile::remove(RecurringDatesPath());
}

// The feasts that move with Easter, and weekdays on or after a date, travel as dated events for ten
// years; those that move with Easter come back as the same entries, as do holiday files that give such a
// feast as one dated event a year. A fixed day in years that share their Easter stays a fixed day.
TEST(Ical, MovingFeastsTravelAndComeBack) {
    ScopedCodePage page(1252);
    const QStringList moving = {FitToWidth(QStringLiteral("Ascension"), kEventFieldWidth) + QStringLiteral("#EASTER+39"),
                                FitToWidth(QStringLiteral("Carnival"), kEventFieldWidth) + QStringLiteral("#EASTER-47"),
                                FitToWidth(QStringLiteral("Pascha"), kEventFieldWidth) + QStringLiteral("#OEASTER+0")};
    const QString victoria = BuildEntry(QStringLiteral("Victoria Day"), QStringLiteral("#MON>=0518"));
    QStringList leftOut;
    const QByteArray ics = ExportIcs(moving + QStringList{victoria}, 2026, &leftOut);
    EXPECT_EQ(leftOut, QStringList());
    EXPECT_TRUE(ics.contains("DTSTART;VALUE=DATE:20260514")) << "Ascension 2026";
    EXPECT_TRUE(ics.contains("DTSTART;VALUE=DATE:20260412")) << "Orthodox Easter 2026";
    EXPECT_TRUE(ics.contains("DTSTART;VALUE=DATE:20260518")) << "Victoria Day 2026";
    EXPECT_TRUE(ics.contains("DTSTART;VALUE=DATE:20270524")) << "Victoria Day 2027";
    const IcsImport back = Import(ics);
    for (const QString& feast : moving) EXPECT_TRUE(back.entries.contains(feast)) << feast.toStdString();

    // Orthodox Easter - 7 is Palm Sunday in the years both Easters fall together (2028, 2031, 2034): the
    // feast given in every year wins over the one that merely meets it in some.
    const QStringList ostern = {FitToWidth(QStringLiteral("Ostern"), kEventFieldWidth) + QStringLiteral("#EASTER"),
                                FitToWidth(QStringLiteral("Ostern"), kEventFieldWidth) + QStringLiteral("#OEASTER-7")};
    EXPECT_EQ(Import(ExportIcs(ostern, 2026)).entries, ostern);

    // 2014 and 2025 both have Easter on 20 April: 1 May is Easter + 11 in both, and still a fixed day.
    const IcsImport dated = Import(Calendar(Event("DTSTART;VALUE=DATE:20140501\nSUMMARY:May Day\n") +
                                            Event("DTSTART;VALUE=DATE:20250501\nSUMMARY:May Day\n") +
                                            Event("DTSTART;VALUE=DATE:20260525\nSUMMARY:Whit Monday\n") +
                                            Event("DTSTART;VALUE=DATE:20270517\nSUMMARY:Whit Monday\n") +
                                            Event("DTSTART;VALUE=DATE:20280605\nSUMMARY:Whit Monday\n")));
    EXPECT_EQ(dated.entries,
              (QStringList{BuildEntry(QStringLiteral("May Day"), QStringLiteral("@0501")),
                           FitToWidth(QStringLiteral("Whit Monday"), kEventFieldWidth) + QStringLiteral("#EASTER+50")}));
    EXPECT_EQ(dated.leftOut, QStringList());
}
