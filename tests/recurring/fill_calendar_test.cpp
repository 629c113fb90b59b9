// Which texts the fill puts on which days, how a text is appended to a cell through the cell editor,
// and the steps of the fill command around the selection dialog and the icon palette.
#include <gtest/gtest.h>

#include "common/qstring_printer.h"

#include <map>

#include "recurring/fill_calendar.h"
#include "recurring/formula.h"

using namespace plennix;

namespace {

QString Entry(const char* event, const char* formula) { return BuildEntry(QString::fromLatin1(event), QString::fromLatin1(formula)); }

std::map<int, QStringList> ByDay(const std::vector<DayText>& plan) {
    std::map<int, QStringList> days;
    for (const DayText& put : plan) days[put.day].append(put.text);
    return days;
}

TEST(FillPlan, December1997ChristmasBeforeWeekdaysAndEasterNotOffered) {
    const QString christmas = Entry("Christmas Day", "@1225");
    const QString easter = Entry("Easter", "#EASTER");
    const QString weekdays = Entry("Weekdays", "%23456");
    const QStringList offered = FilterForMonth({christmas, easter, weekdays}, 1997, 12);
    ASSERT_EQ(offered, (QStringList{christmas, weekdays}));

    const auto days = ByDay(FillPlan(offered, 1997, 12));
    // 25 December 1997 was a Thursday: both texts, Christmas first; the Weekdays field keeps its blanks.
    ASSERT_EQ(days.at(25).size(), 2);
    EXPECT_EQ(days.at(25)[0], "Christmas Day");
    EXPECT_EQ(days.at(25)[1], weekdays.left(120));
    EXPECT_EQ(days.at(25)[1].size(), 120);
    // Monday 1 to Friday 5 and the following weeks; Saturday 6 and Sunday 7 get nothing.
    for (int d : {1, 2, 3, 4, 5, 8, 31}) EXPECT_TRUE(days.count(d)) << d;
    for (int d : {6, 7, 13, 14, 27, 28}) EXPECT_FALSE(days.count(d)) << d;
    EXPECT_EQ(days.size(), 23u);
}

TEST(FillPlan, OccurrencesAndDaysThatDoNotExistPlaceNothing) {
    // June 1997 has five Mondays (2, 9, 16, 23, 30), May 1997 four (5, 12, 19, 26).
    const QString fifthMonday = Entry("Fifth Monday", "$4 1 0");
    EXPECT_TRUE(FillPlan({fifthMonday}, 1997, 5).empty());
    EXPECT_EQ(FillPlan({fifthMonday}, 1997, 6), (std::vector<DayText>{{30, "Fifth Monday"}}));
    const QString lastMonday = Entry("  Memorial Day  ", "$5 1 5");
    EXPECT_EQ(FillPlan({lastMonday}, 1997, 5), (std::vector<DayText>{{26, "Memorial Day"}}));
    EXPECT_TRUE(FillPlan({lastMonday}, 1997, 6).empty());

    const QString thirtyFirst = Entry("Month end", "@0031");
    EXPECT_EQ(FillPlan({thirtyFirst}, 1997, 1), (std::vector<DayText>{{31, "Month end"}}));
    EXPECT_TRUE(FillPlan({thirtyFirst}, 1997, 4).empty());
    EXPECT_TRUE(FillPlan({thirtyFirst}, 1997, 2).empty());

    // "Any day": the first of the month for the first occurrence, the last day for "last".
    EXPECT_EQ(FillPlan({Entry("Rent", "$0 7 0")}, 1996, 2), (std::vector<DayText>{{1, "Rent"}}));
    EXPECT_EQ(FillPlan({Entry("Bills", "$5 7 0")}, 1996, 2), (std::vector<DayText>{{29, "Bills"}}));
}

TEST(FillPlan, FeastsKeepTheirFieldAndUnreadableRowsAreSkipped) {
    // Easter 1997 was on 30 March, Good Friday on 28 March, Palm Sunday on 23 March.
    const QString easter = Entry("Easter", "#EASTER");
    // The longer feast names run one character past the 10-character formula field.
    const QString friday = FitToWidth(QStringLiteral("Good Friday"), 120) + QStringLiteral("#GOODFRIDAY");
    const QString palm = FitToWidth(QStringLiteral("Palm Sunday"), 120) + QStringLiteral("#PALMSUNDAY");
    const QString broken = Entry("Broken", "@99x");
    const auto plan = FillPlan({easter, broken, friday, palm, Entry("Unknown", "#SOLSTICE")}, 1997, 3);
    ASSERT_EQ(plan.size(), 3u);
    EXPECT_EQ(plan[0], (DayText{30, easter.left(120)}));
    EXPECT_EQ(plan[1].day, 28);
    EXPECT_EQ(plan[2].day, 23);
    EXPECT_TRUE(FillPlan({easter}, 1997, 4).empty());
    EXPECT_TRUE(FillPlan({QStringLiteral("no formula at all")}, 1997, 3).empty());
}

// A page of 42 cells whose texts are lists of paragraphs, with a cell editor over it.
struct FakePage {
    std::map<int, int> cellOfDay;  // day -> cell
    std::map<int, QStringList> cells;
    QStringList editor;
    bool editorOpen = false;
    int openCell = 0;
    int currentCell = 0;
    bool modified = false;
    QStringList log;

    CellEditorOperations Operations() {
        CellEditorOperations ops;
        ops.currentCell = [this] { return currentCell; };
        ops.saveRichtext = [this] {
            if (editorOpen) cells[openCell] = editor;
            editorOpen = false;
            log << "save";
        };
        ops.cellOfDay = [this](int day) { return cellOfDay.count(day) ? cellOfDay[day] : 0; };
        ops.loadCell = [this](int cell) { editor = cells[cell]; };
        ops.takeAttributesAndMoveToEnd = [this] {
            if (editor.isEmpty()) editor << QString();
        };
        ops.isEmpty = [this] { return editor.size() == 1 && editor[0].isEmpty(); };
        ops.endsWithEmptyParagraph = [this] { return editor.last().isEmpty(); };
        ops.newParagraph = [this] { editor << QString(); };
        ops.insertWithTakenAttributes = [this](const QString& text) { editor.last() += text; };
        ops.storeCell = [this](int cell) { cells[cell] = editor; };
        ops.setModified = [this] { modified = true; };
        ops.clickCell = [this](int cell) {
            openCell = currentCell = cell;
            editor = cells[cell];
            editorOpen = true;
            log << QStringLiteral("click %1").arg(cell);
        };
        return ops;
    }
};

TEST(PuttextOnDay, AppendsParagraphsAndReopensTheCellLastOpen) {
    FakePage page;
    page.cellOfDay = {{1, 3}, {2, 4}};
    page.cells[3] = {QStringLiteral("Dentist")};
    const auto ops = page.Operations();

    // An empty cell: the text, then an empty paragraph.
    PuttextOnDay(ops, 2, QStringLiteral("Holiday"));
    EXPECT_EQ(page.cells[4], (QStringList{"Holiday", ""}));
    EXPECT_TRUE(page.modified);
    EXPECT_FALSE(page.editorOpen);

    // A cell with text: a new paragraph after it. The cell the person was typing in is stored first
    // and opened again afterwards.
    ops.clickCell(4);
    page.editor = {QStringLiteral("Holiday"), QStringLiteral("typed")};
    page.log.clear();
    PuttextOnDay(ops, 1, QStringLiteral("Visit"));
    EXPECT_EQ(page.cells[3], (QStringList{"Dentist", "Visit", ""}));
    EXPECT_EQ(page.cells[4], (QStringList{"Holiday", "typed"}));
    EXPECT_EQ(page.log, (QStringList{"save", "click 4"}));
    EXPECT_TRUE(page.editorOpen);
    EXPECT_EQ(page.openCell, 4);

    // A second text on a filled cell goes into the empty paragraph the first one left: one paragraph per
    // text, no blank line between them.
    PuttextOnDay(ops, 2, QStringLiteral("Feast"));
    EXPECT_EQ(page.cells[4], (QStringList{"Holiday", "typed", "Feast", ""}));
    page.cells[5] = {};
    page.cellOfDay[15] = 5;
    PuttextOnDay(ops, 15, QStringLiteral("First"));
    PuttextOnDay(ops, 15, QStringLiteral("Second"));
    EXPECT_EQ(page.cells[5], (QStringList{"First", "Second", ""}));

    // A day no cell shows (a day planner, the 31st in a short month): only the editor is closed.
    page.log.clear();
    page.modified = false;
    PuttextOnDay(ops, 31, QStringLiteral("Nowhere"));
    EXPECT_EQ(page.log, QStringList{"save"});
    EXPECT_FALSE(page.modified);
}

struct FakeHost {
    bool exists = true;
    std::optional<QStringList> lines;
    bool palettePreference = true;
    bool paletteShown = true;
    std::optional<QStringList> answer;  // none: Cancel
    QStringList offered, messages, steps;
    std::vector<DayText> puts;

    FillCalendarHost Host(int year, int month) {
        FillCalendarHost h;
        h.year = year;
        h.month = month;
        h.recurringDatesExist = [this] { return exists; };
        h.loadLines = [this](QString* error) {
            if (!lines) *error = QStringLiteral("Cannot read PXRECUR.DAX");
            return lines;
        };
        h.paletteVisiblePreference = [this] { return palettePreference; };
        h.hidePalette = [this] { paletteShown = false, steps << "hide"; };
        h.showPalette = [this] { paletteShown = true, steps << "show"; };
        h.inform = [this](const QString& m) { messages << m; };
        h.choose = [this](const QStringList& o) {
            offered = o;
            steps << "choose";
            return answer ? std::optional(*answer) : std::nullopt;
        };
        h.puttextOnDay = [this](int day, const QString& text) { puts.push_back({day, text}); };
        h.setButtons = [this] { steps << "buttons"; };
        return h;
    }
};

TEST(FillCommand, WithoutAListNothingHappensAtAll) {
    FakeHost fake;
    fake.exists = false;
    EXPECT_EQ(FillCalendarWithRecurringDates(fake.Host(1997, 12)), FillOutcome::NoList);
    EXPECT_TRUE(fake.steps.isEmpty());
    EXPECT_TRUE(fake.messages.isEmpty());
}

TEST(FillCommand, NoMatchingEntryIsSaidAndThePaletteComesBack) {
    FakeHost fake;
    fake.lines = QStringList{Entry("Easter", "#EASTER"), Entry("July", "@0704")};
    EXPECT_EQ(FillCalendarWithRecurringDates(fake.Host(1997, 12)), FillOutcome::NoMatch);
    EXPECT_EQ(fake.messages, QStringList{"No predefined dates match the current month"});
    EXPECT_EQ(fake.steps, (QStringList{"hide", "show"}));
    EXPECT_TRUE(fake.puts.empty());

    // An unreadable list is reported as such, not as an empty month.
    FakeHost unreadable;
    unreadable.palettePreference = false;
    EXPECT_EQ(FillCalendarWithRecurringDates(unreadable.Host(1997, 12)), FillOutcome::Unreadable);
    EXPECT_EQ(unreadable.messages, QStringList{"Cannot read PXRECUR.DAX"});
    EXPECT_TRUE(unreadable.steps.isEmpty());
}

TEST(FillCommand, CancelPutsNothingAndOkPutsTheChosenRowsInOrder) {
    const QString christmas = Entry("Christmas Day", "@1225");
    const QString eve = Entry("Christmas Eve", "@1224");
    FakeHost cancelled;
    cancelled.lines = QStringList{christmas, eve};
    EXPECT_EQ(FillCalendarWithRecurringDates(cancelled.Host(1997, 12)), FillOutcome::Cancelled);
    EXPECT_EQ(cancelled.steps, (QStringList{"hide", "choose", "show"}));
    EXPECT_TRUE(cancelled.puts.empty());

    FakeHost chosen;
    chosen.palettePreference = false;
    chosen.lines = QStringList{christmas, Entry("Easter", "#EASTER"), eve};
    chosen.answer = QStringList{christmas, eve};
    EXPECT_EQ(FillCalendarWithRecurringDates(chosen.Host(1997, 12)), FillOutcome::Filled);
    EXPECT_EQ(chosen.offered, (QStringList{christmas, eve}));
    EXPECT_EQ(chosen.puts, (std::vector<DayText>{{25, "Christmas Day"}, {24, "Christmas Eve"}}));
    EXPECT_EQ(chosen.steps, (QStringList{"choose", "buttons"}));
}

}  // namespace
