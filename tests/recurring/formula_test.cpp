// Entry lines, formula text forms, descriptions, calendar arithmetic and the days an entry selects.
#include <gtest/gtest.h>

#include "common/qstring_printer.h"

#include <QDate>

#include "platform/locale_names.h"
#include "recurring/formula.h"

using namespace plennix;

namespace {
bool EnglishNames() { return ShortDayName(7) == "Sat" && LongMonthName(12) == "December"; }

QString Entry(const char* event, const char* formula) { return BuildEntry(event, formula); }

std::vector<int> Days(const char* formula, int year, int month) {
    return SelectedDays(Entry("x", formula), year, month);
}

// Butcher's algorithm (Meeus, Jones), kept apart from the library's computus.
QDate ButcherEaster(int y) {
    int a = y % 19, b = y / 100, c = y % 100, d = b / 4, e = b % 4, f = (b + 8) / 25, g = (b - f + 1) / 3;
    int h = (19 * a + b - d - g + 15) % 30, i = c / 4, k = c % 4, l = (32 + 2 * e + 2 * i - h - k) % 7;
    int m = (a + 11 * h + 22 * l) / 451;
    int month = (h + l - 7 * m + 114) / 31, day = (h + l - 7 * m + 114) % 31 + 1;
    return QDate(y, month, day);
}

// The short formula that holds from 1900 to 2099.
QDate ShortFormulaEaster(int y) {
    int g = y % 19;
    int d = ((225 - 11 * g - 21) % 30) + 21;
    if (d > 48) --d;
    int e = (y + y / 4 + d + 1) % 7;
    int q = d + 7 - e;
    return q < 32 ? QDate(y, 3, q) : QDate(y, 4, q - 31);
}
}  // namespace

TEST(EntryLine, FieldsArePaddedAndCut) {
    QString line = BuildEntry("Birthday", "@0101");
    ASSERT_EQ(line.size(), 130);
    EXPECT_EQ(line.left(8), "Birthday");
    EXPECT_EQ(line.mid(8, 112), QString(112, ' '));
    EXPECT_EQ(EntryFormula(line), "@0101     ");
    EXPECT_EQ(EntryKind(line), '@');

    QString longLine = BuildEntry(QString(200, 'a'), "%1234567890123");
    ASSERT_EQ(longLine.size(), 130);
    EXPECT_EQ(EntryFormula(longLine), "%123456789");

    EXPECT_TRUE(EntryKind(QString(120, 'x')).isNull());
    EXPECT_EQ(EntryFormula(QString(120, 'x')), "");
    EXPECT_EQ(EntryFeastName(QString(120, ' ') + "#easter   x"), "#EASTER   X");
    EXPECT_EQ(EntryFeastName(QString(120, ' ') + "#goodfriday  "), "#GOODFRIDAY");
    EXPECT_EQ(EntryFeastName(QString(120, ' ') + "#palmsundayX"), "#PALMSUNDAY");
}

TEST(FormulaText, BuildAndParseRoundTrip) {
    EXPECT_EQ(BuildDayOfMonth(25, 12), "@1225");
    EXPECT_EQ(BuildDayOfMonth(5, 0), "@0005");
    EXPECT_EQ(BuildSpecial(3, 4, 11), "$3 4 11");
    EXPECT_EQ(BuildSpecial(5, 7, 0), "$5 7 0 ");
    EXPECT_EQ(BuildSpecial(123, 45, 6), "$1245""6 ");

    auto dm = ParseDayOfMonth("@1225     ");
    ASSERT_TRUE(dm);
    EXPECT_EQ(dm->day, 25);
    EXPECT_EQ(dm->month, 12);
    auto sp = ParseSpecial("$3 4 11   ");
    ASSERT_TRUE(sp);
    EXPECT_EQ(sp->occurrence, 3);
    EXPECT_EQ(sp->weekday, 4);
    EXPECT_EQ(sp->month, 11);
    auto blanks = ParseDayOfMonth("@ 1 2");  // numbers with blanks around them still read
    ASSERT_TRUE(blanks);
    EXPECT_EQ(blanks->month, 1);
    EXPECT_EQ(blanks->day, 2);
}

TEST(FormulaText, UnreadableOrOutOfRangeNumbersParseAsNothing) {
    for (const char* f : {"@", "@12", "@12ab", "@1x25", "@  25", "@1300", "@1232", "@1200", "@-101", "$", "$3 4",
                          "$3 x 11", "$6 0 1", "$0 8 1", "$0 0 13", "$9 0 0", "$-1 0 0"}) {
        EXPECT_FALSE(ParseDayOfMonth(f) && f[0] == '@') << f;
        EXPECT_FALSE(ParseSpecial(f) && f[0] == '$') << f;
        EXPECT_EQ(DescribeFormula(f), "") << f;
        EXPECT_TRUE(Days(f, 1997, 12).empty()) << f;
        EXPECT_TRUE(Days(f, 1997, 1).empty()) << f;
    }
}

TEST(FormulaText, Ordinals) {
    const std::pair<int, const char*> cases[] = {{1, "1st"},   {2, "2nd"},   {3, "3rd"},   {4, "4th"},
                                                 {10, "10th"}, {11, "11th"}, {12, "12th"}, {13, "13th"},
                                                 {19, "19th"}, {20, "20th"}, {21, "21st"}, {22, "22nd"},
                                                 {23, "23rd"}, {30, "30th"}, {31, "31st"}};
    for (auto [n, text] : cases) EXPECT_EQ(Ordinal(n), text);
}

TEST(FormulaText, DescriptionsAndListText) {
    if (!EnglishNames()) GTEST_SKIP() << "expects English locale names (LANG=C)";
    EXPECT_EQ(DescribeFormula("@1225"), "25th of December");
    EXPECT_EQ(DescribeFormula("@0001"), "1st of Each Month");
    EXPECT_EQ(DescribeFormula(BuildDayOfMonth(5, 0)), "5th of Each Month");
    EXPECT_EQ(DescribeFormula("$2 6 5"), "3rd Sat of May");
    EXPECT_EQ(DescribeFormula("$5 0 10"), "Last Sun of October");
    EXPECT_EQ(DescribeFormula("$5 7 0"), "Last Day Each Month");
    EXPECT_EQ(DescribeFormula("%246"), "Mon,Wed,Fri");
    EXPECT_EQ(DescribeFormula("%71"), "Sun,Sat");
    EXPECT_EQ(DescribeFormula("%089"), "");

    EXPECT_EQ(EntryListText(Entry("  Christmas Day", "@1225")), "Christmas Day (25th of December)");
    EXPECT_EQ(EntryListText(Entry("Broken", "@12xx")), "Broken ()");
    QString feast = QString("Easter").leftJustified(120) + "#EASTER";
    EXPECT_EQ(EntryListText(feast), QString("Easter").leftJustified(120));
    EXPECT_EQ(EntryListText("short line"), "short line");
}

TEST(Calendar, DaysInMonthAndWeekday) {
    EXPECT_EQ(DaysInMonth(1997, 2), 28);
    EXPECT_EQ(DaysInMonth(1996, 2), 29);
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(1997, 4), 30);
    EXPECT_EQ(DaysInMonth(1997, 12), 31);
    EXPECT_EQ(DaysInMonth(1997, 0), 0);
    EXPECT_EQ(DaysInMonth(1997, 13), 0);
    EXPECT_EQ(DayOfWeek(1997, 12, 25), 5);  // Thursday
    EXPECT_EQ(DayOfWeek(1997, 12, 28), 1);  // Sunday
    EXPECT_EQ(DayOfWeek(1997, 12, 27), 7);  // Saturday
    EXPECT_EQ(DayOfWeek(1997, 2, 29), 0);
}

TEST(Calendar, EasterMatchesIndependentComputations) {
    for (int y = 1900; y <= 2099; ++y) {
        MonthDay e = EasterSunday(y);
        EXPECT_EQ(QDate(y, e.month, e.day), ShortFormulaEaster(y)) << y;
    }
    // Beyond the years of the short formula the date still follows the Gregorian rules.
    for (int y = 1583; y <= 4099; ++y) {
        MonthDay e = EasterSunday(y);
        EXPECT_EQ(QDate(y, e.month, e.day), ButcherEaster(y)) << y;
    }
}

TEST(Calendar, FeastsOfTheMonth) {
    EXPECT_EQ(Easter(1997, 3), 30);
    EXPECT_EQ(Easter(1997, 4), 0);
    EXPECT_EQ(GoodFriday(1997, 3), 28);
    EXPECT_EQ(PalmSunday(1997, 3), 23);
    EXPECT_EQ(Easter(2000, 4), 23);
    EXPECT_EQ(GoodFriday(2000, 4), 21);
    EXPECT_EQ(PalmSunday(2000, 4), 16);
    // Easter on 1 April 2018 puts Good Friday and Palm Sunday into March.
    EXPECT_EQ(Easter(2018, 4), 1);
    EXPECT_EQ(GoodFriday(2018, 3), 30);
    EXPECT_EQ(GoodFriday(2018, 4), 0);
    EXPECT_EQ(PalmSunday(2018, 3), 25);
}

TEST(SelectedDaysTest, DayOfMonth) {
    EXPECT_EQ(Days("@1225", 1997, 12), std::vector<int>{25});
    EXPECT_TRUE(Days("@1225", 1997, 11).empty());
    EXPECT_EQ(Days("@0031", 1997, 1), std::vector<int>{31});
    EXPECT_TRUE(Days("@0031", 1997, 4).empty());
    EXPECT_TRUE(Days("@0030", 1997, 2).empty());
    EXPECT_EQ(Days("@0229", 1996, 2), std::vector<int>{29});
    EXPECT_TRUE(Days("@0229", 1997, 2).empty());
}

TEST(SelectedDaysTest, Special) {
    // December 1997: Mondays 1, 8, 15, 22, 29; Sundays 7 .. 28; Thursdays 4 .. 25.
    EXPECT_EQ(Days("$0 1 0", 1997, 12), std::vector<int>{1});
    EXPECT_EQ(Days("$4 1 0", 1997, 12), std::vector<int>{29});
    EXPECT_EQ(Days("$5 1 12", 1997, 12), std::vector<int>{29});
    EXPECT_EQ(Days("$5 0 0", 1997, 12), std::vector<int>{28});
    EXPECT_TRUE(Days("$4 0 0", 1997, 12).empty());  // four Sundays only
    EXPECT_TRUE(Days("$4 1 0", 1997, 11).empty());  // four Mondays in November 1997
    EXPECT_EQ(Days("$3 4 11", 1997, 11), std::vector<int>{27});
    EXPECT_TRUE(Days("$3 4 11", 1997, 12).empty());
    EXPECT_EQ(Days("$5 7 0", 1997, 2), std::vector<int>{28});
    EXPECT_EQ(Days("$5 7 0", 1996, 2), std::vector<int>{29});
    EXPECT_EQ(Days("$0 7 0", 1997, 6), std::vector<int>{1});
    EXPECT_EQ(Days("$2 7 0", 1997, 6), std::vector<int>{3});
}

TEST(SelectedDaysTest, WeekdaysAndFeasts) {
    EXPECT_EQ(Days("%17", 1997, 12), (std::vector<int>{6, 7, 13, 14, 20, 21, 27, 28}));
    EXPECT_EQ(Days("%23456", 1997, 2).size(), 20u);
    EXPECT_TRUE(Days("%", 1997, 12).empty());
    EXPECT_TRUE(Days("%089", 1997, 12).empty());

    QString easter = QString("Easter").leftJustified(120) + "#easter";
    EXPECT_EQ(SelectedDays(easter, 1997, 3), std::vector<int>{30});
    EXPECT_TRUE(SelectedDays(easter, 1997, 4).empty());
    QString unknown = QString("Whit").leftJustified(120) + "#WHITSUN";
    EXPECT_TRUE(SelectedDays(unknown, 1997, 5).empty());
    EXPECT_TRUE(SelectedDays("no formula", 1997, 5).empty());
    EXPECT_TRUE(SelectedDays(Entry("x", "@0101"), 0, 1).empty());
    EXPECT_TRUE(SelectedDays(Entry("x", "@0001"), 1997, 13).empty());
}

TEST(MonthFilter, KeepsWhatCanFallInTheMonth) {
    const QString christmas = Entry("Christmas Day", "@1225");
    const QString easter = QString("Easter").leftJustified(120) + "#EASTER";
    const QString goodFriday = QString("Good Friday").leftJustified(120) + "#GOODFRIDAY";
    const QString unknown = QString("Whit").leftJustified(120) + "#WHITSUN";
    const QString weekdays = Entry("Weekdays", "%23456");
    const QString monthly = Entry("Rent", "@0001");
    const QString thanksgiving = Entry("Thanksgiving", "$3 4 11");
    const QString lastFriday = Entry("Payday", "$5 5 0");
    const QString broken = Entry("Broken", "@13xx");
    const QString outOfRange = Entry("Month 13", "@1301");
    const QString other = Entry("Other", "X1234");
    const QString bare = "no formula here";
    const QStringList all = {christmas, easter,     goodFriday, unknown, weekdays, monthly,
                             thanksgiving, lastFriday, broken,     outOfRange, other, bare};

    EXPECT_EQ(FilterForMonth(all, 1997, 12),
              (QStringList{christmas, unknown, weekdays, monthly, lastFriday, other, bare}));
    EXPECT_EQ(FilterForMonth(all, 1997, 3),
              (QStringList{easter, goodFriday, unknown, weekdays, monthly, lastFriday, other, bare}));
    EXPECT_EQ(FilterForMonth(all, 1997, 11),
              (QStringList{unknown, weekdays, monthly, thanksgiving, lastFriday, other, bare}));
}

TEST(MovingFeasts, TextFormsRoundTripAndUnknownFormsReadAsNothing) {
    using Kind = FeastFormula::Kind;
    EXPECT_EQ(BuildFeast({Kind::Easter, 39}), "#EASTER+39");
    EXPECT_EQ(BuildFeast({Kind::Easter, -47}), "#EASTER-47");
    EXPECT_EQ(BuildFeast({Kind::OrthodoxEaster, 49}), "#OEASTER+49");
    EXPECT_EQ(BuildFeast({Kind::OnOrAfter, 0, 1, 5, 18}), "#MON>=0518");
    EXPECT_EQ(BuildFeast({Kind::OnOrBefore, 0, 5, 6, 24}), "#FRI<=0624");
    for (const char* name : {"#EASTER+0", "#EASTER-2", "#OEASTER+99", "#OEASTER-99", "#EASTER-99",
                             "#SAT>=0620", "#SUN<=1231", "#MON>=0101"}) {
        auto f = ParseFeast(name);
        ASSERT_TRUE(f) << name;
        EXPECT_EQ(BuildFeast(*f), name);
    }
    // Letter case and blanks around the name do not matter, as for the classic names.
    auto lower = ParseFeast(" #mon>=0518 ");
    ASSERT_TRUE(lower);
    EXPECT_EQ(lower->weekday, 1);
    EXPECT_EQ(lower->day, 18);
    EXPECT_EQ(ParseFeast("#GOODFRIDAY")->offset, -2);
    EXPECT_EQ(ParseFeast("#PALMSUNDAY")->offset, -7);
    for (const char* name : {"#EASTER39", "#EASTER+", "#EASTER+3X", "#EASTER+120", "#EASTER+1234", "#WHITSUN",
                             "#XYZ>=0518", "#MON=>0518", "#MON>=1318", "#MON>=0532", "#MON>=0500", "#MON>=+518",
                             "#MON>=05181"})
        EXPECT_FALSE(ParseFeast(name)) << name;
}

TEST(MovingFeasts, OrthodoxEasterIsTheJulianComputusOnGregorianDates) {
    const std::pair<int, QDate> known[] = {
        {2000, QDate(2000, 4, 30)}, {2001, QDate(2001, 4, 15)}, {2010, QDate(2010, 4, 4)},
        {2021, QDate(2021, 5, 2)},  {2023, QDate(2023, 4, 16)}, {2024, QDate(2024, 5, 5)},
        {2025, QDate(2025, 4, 20)}, {1900, QDate(1900, 4, 22)}, {2100, QDate(2100, 5, 2)},
    };
    for (const auto& [year, date] : known) EXPECT_EQ(OrthodoxEasterSunday(year), date) << year;
    // Where the two computations agree the day is the same, and the Julian one is never earlier.
    for (int y = 1900; y <= 2200; ++y) {
        const QDate western = QDate(y, EasterSunday(y).month, EasterSunday(y).day);
        EXPECT_EQ(OrthodoxEasterSunday(y).dayOfWeek(), Qt::Sunday) << y;
        EXPECT_GE(OrthodoxEasterSunday(y), western) << y;
    }
}

TEST(MovingFeasts, DatesOfEasterAndWeekdayFeasts) {
    // Easter 2024 is 31 March: Easter Monday 1 April, Ascension 9 May, Whit Monday 20 May, Carnival
    // Tuesday 13 February, Corpus Christi 30 May.
    EXPECT_EQ(FeastDate("#EASTER+1", 2024), QDate(2024, 4, 1));
    EXPECT_EQ(FeastDate("#EASTER+39", 2024), QDate(2024, 5, 9));
    EXPECT_EQ(FeastDate("#EASTER+50", 2024), QDate(2024, 5, 20));
    EXPECT_EQ(FeastDate("#EASTER-47", 2024), QDate(2024, 2, 13));
    EXPECT_EQ(FeastDate("#EASTER+60", 2024), QDate(2024, 5, 30));
    EXPECT_EQ(FeastDate("#OEASTER+1", 2024), QDate(2024, 5, 6));
    // Victoria Day: the Monday before 25 May; Swedish Midsummer: the Saturday from 20 to 26 June.
    EXPECT_EQ(FeastDate("#MON<=0524", 2024), QDate(2024, 5, 20));
    EXPECT_EQ(FeastDate("#MON<=0524", 2021), QDate(2021, 5, 24));
    EXPECT_EQ(FeastDate("#SAT>=0620", 2024), QDate(2024, 6, 22));
    EXPECT_EQ(FeastDate("#SAT>=0620", 2026), QDate(2026, 6, 20));
    // A weekday search may leave the month, and a day the month lacks forms no date.
    EXPECT_EQ(FeastDate("#SUN>=0430", 2024), QDate(2024, 5, 5));
    EXPECT_FALSE(FeastDate("#MON>=0229", 2023));
    EXPECT_EQ(FeastDate("#MON>=0229", 2024), QDate(2024, 3, 4));
    // Only the feast of the asked year counts: one moved into the next year is not this year's.
    EXPECT_FALSE(FeastDate("#SAT>=1231", 2024));
    EXPECT_FALSE(FeastDate("#OEASTER-99", 2010));  // 26 December 2009
    EXPECT_EQ(FeastDate("#OEASTER-99", 2024), QDate(2024, 1, 27));
    EXPECT_FALSE(FeastDate("#EASTER+1", 0));
    EXPECT_FALSE(FeastDate("#EASTER+1", 10000));
    EXPECT_EQ(FeastDate("#EASTER+1", 9999)->year(), 9999);
}

TEST(MovingFeasts, SelectFilterAndDescribeLikeTheOtherKinds) {
    const QString ascension = Entry("Ascension Day", "#EASTER+39");
    const QString orthodoxPentecost = Entry("Trinity", "#OEASTER+49");
    const QString victoria = Entry("Victoria Day", "#MON<=0524");
    // The eleventh character of a feast name is kept when the entry is built.
    EXPECT_EQ(orthodoxPentecost.size(), 131);
    EXPECT_EQ(EntryFeastName(orthodoxPentecost), "#OEASTER+49");
    EXPECT_EQ(Entry("x", "@1225").size(), 130);

    EXPECT_EQ(SelectedDays(ascension, 2024, 5), std::vector<int>{9});
    EXPECT_TRUE(SelectedDays(ascension, 2024, 4).empty());
    EXPECT_EQ(SelectedDays(orthodoxPentecost, 2024, 6), std::vector<int>{23});
    EXPECT_EQ(SelectedDays(victoria, 2024, 5), std::vector<int>{20});
    EXPECT_EQ(FilterForMonth({ascension, orthodoxPentecost, victoria}, 2024, 5),
              (QStringList{ascension, victoria}));
    EXPECT_EQ(FilterForMonth({ascension, orthodoxPentecost, victoria}, 2024, 6), QStringList{orthodoxPentecost});

    if (!EnglishNames()) GTEST_SKIP() << "descriptions use the locale's names";
    EXPECT_EQ(EntryListText(ascension), "Ascension Day (Easter + 39 days)");
    EXPECT_EQ(EntryListText(Entry("Easter Monday", "#EASTER+1")), "Easter Monday (Easter + 1 day)");
    EXPECT_EQ(EntryListText(Entry("Carnival", "#EASTER-47")), "Carnival (Easter - 47 days)");
    EXPECT_EQ(EntryListText(Entry("Orthodox Easter", "#OEASTER+0")), "Orthodox Easter (Orthodox Easter)");
    EXPECT_EQ(EntryListText(Entry("Election", "#MON>=0518")), "Election (Mon on or after 18th of May)");
    EXPECT_EQ(EntryListText(victoria), "Victoria Day (Mon on or before 24th of May)");
    // The classic names keep their text-only rows.
    const QString easter = QString("Easter").leftJustified(120) + "#EASTER";
    EXPECT_EQ(EntryListText(easter), easter.left(120));
}
