#pragma once
// Recurring date entries and their formulas, as plain functions.
//
// An entry is one line: the event text left-justified in 120 characters, then the formula left-justified
// in 10 characters. The formula's first character (position 121 of the line) names its kind:
//   "@MMDD"    day DD of month MM (00 = each month)
//   "$O W M "  occurrence O (0 = 1st .. 4 = 5th, 5 = last) of weekday W (0 = Sunday .. 6, 7 = any day)
//              in month M (0 = each month), each number left-justified in two characters
//   "%digits"  every weekday whose digit (1 = Sunday .. 7 = Saturday) is listed
//   "#NAME"    a named feast: "#EASTER", "#GOODFRIDAY", "#PALMSUNDAY"; "#EASTER+N" / "#EASTER-N" (N = 0..99 days
//              from Easter Sunday), "#OEASTER+N" (from Orthodox Easter Sunday, as a Gregorian date);
//              "#WWW>=MMDD" / "#WWW<=MMDD" (the first weekday WWW = SUN .. SAT on or after / on or before
//              day DD of month MM). Readers that know only the first three names take the others for
//              unrecognised feasts: they pass the month filter and select no day, so nothing is misplaced.
// Weekday numbers in computations are 1 = Sunday .. 7 = Saturday.
#include "platform/dates.h"
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace plennix {

constexpr int kEventFieldWidth = 120;
constexpr int kFormulaFieldWidth = 10;
// Feast names are read from up to 11 characters at the formula's place.
constexpr int kFeastNameWidth = 11;

// Removes leading and trailing characters at or below the blank (control characters included).
QString TrimBlanks(const QString& text);
// text left-justified in exactly `width` characters: blank-filled, longer text cut.
QString FitToWidth(const QString& text, int width);

// Event text in 120 characters followed by the formula in 10 characters; a "#" formula keeps its
// eleventh character, since feast names are read from 11 ("#GOODFRIDAY", "#OEASTER+49").
QString BuildEntry(const QString& eventText, const QString& formula);
// The first 120 characters of a line, as stored (trailing blanks included).
QString EntryEventField(const QString& line);
// The 10 characters from position 121 (fewer when the line is shorter; empty without a formula).
QString EntryFormula(const QString& line);
// The kind character at position 121, or a null QChar for a line of 120 characters or fewer.
QChar EntryKind(const QString& line);
// The feast name of a "#" entry ("#EASTER"): up to 11 characters from position 121, blanks removed,
// upper case.
QString EntryFeastName(const QString& line);

struct DayOfMonthFormula {
    int day = 0;    // 1..31
    int month = 0;  // 0 = each month, 1..12
};
struct SpecialFormula {
    int occurrence = 0;  // 0..4 = 1st..5th, 5 = last
    int weekday = 0;     // 0 = Sunday .. 6 = Saturday, 7 = any day
    int month = 0;       // 0 = each month, 1..12
};

// Read the numbers of a "@" or "$" formula. Empty when a number cannot be read or lies outside its
// range: such a formula describes as empty and selects no day.
std::optional<DayOfMonthFormula> ParseDayOfMonth(const QString& formula);
std::optional<SpecialFormula> ParseSpecial(const QString& formula);

// "@" + month and day as two digits each ("@1225").
QString BuildDayOfMonth(int day, int month);
// "$" + each number left-justified in two characters ("$3 4 11").
QString BuildSpecial(int occurrence, int weekday, int month);

// The feasts that move with Easter or with a weekday near a fixed date ("#EASTER+39", "#MON>=0518").
struct FeastFormula {
    enum class Kind { Easter, OrthodoxEaster, OnOrAfter, OnOrBefore };
    Kind kind = Kind::Easter;
    int offset = 0;   // Easter kinds: days from Easter Sunday
    int weekday = 0;  // weekday kinds: 0 = Sunday .. 6 = Saturday
    int month = 0;    // weekday kinds: 1..12
    int day = 0;      // weekday kinds: 1..31
};
// The largest Easter offset, in either direction: the formula then still fits the 11-character name.
constexpr int kMaxEasterOffset = 99;
// Reads a feast name (case and surrounding blanks ignored). "#EASTER", "#GOODFRIDAY" and "#PALMSUNDAY"
// read as Easter + 0, - 2 and - 7; unknown names, and numbers outside their range, read as nothing.
std::optional<FeastFormula> ParseFeast(const QString& name);
// "#EASTER+39", "#OEASTER-2", "#MON>=0518", "#FRI<=0624".
QString BuildFeast(const FeastFormula& feast);
// The feast's date in `year`; none for an unknown name or a date outside that year.
std::optional<QDate> FeastDate(const QString& name, int year);
// Whether the formula editor can edit a "#" entry with that name: the moving feasts it makes. The three
// classic names are not, since the editor would rewrite them in a form older readers do not know.
bool IsEditableFeast(const QString& name);
// The formula of an entry as the formula editor takes it: the feast name of a "#" entry (up to 11
// characters), the 10-character formula field otherwise.
QString EntryFormulaForEditing(const QString& line);
// "Easter + 39 days", "Orthodox Easter", "Mon on or after 18th of May"; empty for an unknown name.
QString DescribeFeast(const QString& name);

// n followed by its English suffix: 1st, 2nd, 3rd, 4th, 11th, 12th, 13th, 21st.
QString Ordinal(int n);
// Readable form of a "@", "$" or "%" formula with the locale's names ("25th of December",
// "3rd Sat of May", "Mon,Wed,Fri"); empty for an unreadable formula or another kind.
QString DescribeFormula(const QString& formula);
// The text lists show for an entry: "Christmas Day (25th of December)" for "$", "%" and "@" entries;
// the 120-character event field as stored for every other line.
QString EntryListText(const QString& line);

struct MonthDay {
    int month = 0;
    int day = 0;
};
// Gregorian Easter Sunday of the year (any year 1..9999).
MonthDay EasterSunday(int year);
// Orthodox Easter Sunday (Julian computus), given as a Gregorian date.
QDate OrthodoxEasterSunday(int year);
// The day of the month when the feast of that year falls in `month`, else 0.
int Easter(int year, int month);
int GoodFriday(int year, int month);
int PalmSunday(int year, int month);

// The days (ascending) of month `month` of `year` that the entry selects; empty for lines without a
// formula, unreadable formulas, unknown feast names and dates that cannot be formed.
std::vector<int> SelectedDays(const QString& line, int year, int month);
// Whether the entry can yield a day in the month: feasts falling in it and unknown feast names, "@" and
// "$" entries for that month or each month, all "%" entries, lines without a formula or with another
// kind character. Unreadable "@" and "$" formulas are dropped, since they can select nothing.
bool CanFallInMonth(const QString& line, int year, int month);
// The lines that can fall in the month, in their order.
QStringList FilterForMonth(const QStringList& lines, int year, int month);

}  // namespace plennix
