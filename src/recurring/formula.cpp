#include "recurring/formula.h"

#include <QDate>
#include <cstdlib>

#include "platform/locale_names.h"

namespace plennix {
namespace {

constexpr int kMinYear = 1;
constexpr int kMaxYear = 9999;

// A decimal integer with an optional sign, blanks around it ignored; nothing else is a number.
std::optional<int> ReadNumber(const QString& field) {
    QString s = TrimBlanks(field);
    if (s.isEmpty()) return std::nullopt;
    int i = 0;
    bool negative = false;
    if (s[0] == '+' || s[0] == '-') {
        negative = s[0] == '-';
        i = 1;
    }
    if (i >= s.size() || s.size() - i > 9) return std::nullopt;
    int value = 0;
    for (; i < s.size(); ++i) {
        QChar c = s[i];
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    return negative ? -value : value;
}

// Positions are counted from 1, as in the entry's description.
QString Field(const QString& text, int position, int length) {
    if (position - 1 >= text.size()) return QString();
    return text.mid(position - 1, length);
}

QString MonthPart(int month) { return month == 0 ? QStringLiteral("Each Month") : LongMonthName(month); }

long long PositiveMod(long long a, long long b) {
    long long r = a % b;
    return r < 0 ? r + b : r;
}

// Steps back from the day before Easter Sunday to the nearest earlier day with the given weekday.
int FeastBeforeEaster(int year, int month, int weekday) {
    if (year < kMinYear || year > kMaxYear) return 0;
    MonthDay e = EasterSunday(year);
    QDate d = QDate(year, e.month, e.day).addDays(-1);
    while (DayOfWeek(d.year(), d.month(), d.day()) != weekday) d = d.addDays(-1);
    return d.month() == month ? d.day() : 0;
}

const char* const kWeekdayCodes[7] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};

std::optional<int> ReadOffset(const QString& text) {
    // A sign is required, so that "#EASTER39" is no feast; two digits at most, so that every offset fits
    // the 11-character name with either Easter and the editor can show each one.
    if (text.size() < 2 || text.size() > 3 || (text[0] != '+' && text[0] != '-')) return std::nullopt;
    return ReadNumber(text);
}

QDate EasterDate(int year) {
    MonthDay e = EasterSunday(year);
    return QDate(year, e.month, e.day);
}

bool HasDigitFor(const QString& digits, int weekday) {
    return weekday >= 1 && weekday <= 7 && digits.contains(QChar('0' + weekday));
}

}  // namespace

QString TrimBlanks(const QString& text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start].unicode() <= ' ') ++start;
    while (end > start && text[end - 1].unicode() <= ' ') --end;
    return text.mid(start, end - start);
}

QString FitToWidth(const QString& text, int width) { return text.left(width).leftJustified(width, ' '); }

QString BuildEntry(const QString& eventText, const QString& formula) {
    const int width = formula.startsWith('#') && formula.size() > kFormulaFieldWidth ? kFeastNameWidth
                                                                                      : kFormulaFieldWidth;
    return FitToWidth(eventText, kEventFieldWidth) + FitToWidth(formula, width);
}

QString EntryEventField(const QString& line) { return line.left(kEventFieldWidth); }

QString EntryFormula(const QString& line) { return Field(line, kEventFieldWidth + 1, kFormulaFieldWidth); }

QChar EntryKind(const QString& line) { return line.size() > kEventFieldWidth ? line[kEventFieldWidth] : QChar(); }

std::optional<FeastFormula> ParseFeast(const QString& name) {
    const QString n = TrimBlanks(name).toUpper();
    using Kind = FeastFormula::Kind;
    if (n == QLatin1String("#EASTER")) return FeastFormula{Kind::Easter, 0};
    if (n == QLatin1String("#GOODFRIDAY")) return FeastFormula{Kind::Easter, -2};
    if (n == QLatin1String("#PALMSUNDAY")) return FeastFormula{Kind::Easter, -7};
    if (n.startsWith(QLatin1String("#EASTER"))) {
        if (auto offset = ReadOffset(n.mid(7))) return FeastFormula{Kind::Easter, *offset};
        return std::nullopt;
    }
    if (n.startsWith(QLatin1String("#OEASTER"))) {
        if (auto offset = ReadOffset(n.mid(8))) return FeastFormula{Kind::OrthodoxEaster, *offset};
        return std::nullopt;
    }
    if (n.size() != 10 || n[0] != '#') return std::nullopt;
    const QString relation = n.mid(4, 2);
    if (relation != QLatin1String(">=") && relation != QLatin1String("<=")) return std::nullopt;
    int weekday = -1;
    for (int w = 0; w < 7; ++w)
        if (n.mid(1, 3) == QLatin1String(kWeekdayCodes[w])) weekday = w;
    auto month = ReadNumber(n.mid(6, 2));
    auto day = ReadNumber(n.mid(8, 2));
    if (weekday < 0 || !month || !day || n[6] == '+' || n[6] == '-' || n[8] == '+' || n[8] == '-')
        return std::nullopt;
    if (*month < 1 || *month > 12 || *day < 1 || *day > 31) return std::nullopt;
    return FeastFormula{relation[0] == '>' ? Kind::OnOrAfter : Kind::OnOrBefore, 0, weekday, *month, *day};
}

QString BuildFeast(const FeastFormula& feast) {
    using Kind = FeastFormula::Kind;
    switch (feast.kind) {
        case Kind::Easter:
        case Kind::OrthodoxEaster:
            return QLatin1String(feast.kind == Kind::Easter ? "#EASTER" : "#OEASTER") +
                   (feast.offset < 0 ? '-' : '+') + QString::number(std::abs(feast.offset));
        case Kind::OnOrAfter:
        case Kind::OnOrBefore:
            return '#' + QLatin1String(kWeekdayCodes[feast.weekday % 7]) +
                   QLatin1String(feast.kind == Kind::OnOrAfter ? ">=" : "<=") +
                   QString::asprintf("%2.2d%2.2d", feast.month, feast.day);
    }
    return QString();
}

std::optional<QDate> FeastDate(const QString& name, int year) {
    if (year < kMinYear || year > kMaxYear) return std::nullopt;
    auto f = ParseFeast(name);
    if (!f) return std::nullopt;
    using Kind = FeastFormula::Kind;
    QDate date;
    switch (f->kind) {
        case Kind::Easter: date = EasterDate(year).addDays(f->offset); break;
        case Kind::OrthodoxEaster: date = OrthodoxEasterSunday(year).addDays(f->offset); break;
        case Kind::OnOrAfter:
        case Kind::OnOrBefore: {
            // A day the month lacks (31 April) forms no date, as with "@" formulas.
            if (f->day > DaysInMonth(year, f->month)) return std::nullopt;
            date = QDate(year, f->month, f->day);
            const int step = f->kind == Kind::OnOrAfter ? 1 : -1;
            while (DayOfWeek(date.year(), date.month(), date.day()) != f->weekday + 1) date = date.addDays(step);
            break;
        }
    }
    // The feast of the page's year only: one that an offset moves into the next or previous year is not
    // that year's.
    if (!date.isValid() || date.year() != year) return std::nullopt;
    return date;
}

bool IsEditableFeast(const QString& name) {
    const QString n = TrimBlanks(name).toUpper();
    return ParseFeast(n) && n != QLatin1String("#EASTER") && n != QLatin1String("#GOODFRIDAY") &&
           n != QLatin1String("#PALMSUNDAY");
}

QString EntryFormulaForEditing(const QString& line) {
    return EntryKind(line) == '#' ? EntryFeastName(line) : EntryFormula(line);
}

QString DescribeFeast(const QString& name) {
    auto f = ParseFeast(name);
    if (!f) return QString();
    using Kind = FeastFormula::Kind;
    if (f->kind == Kind::OnOrAfter || f->kind == Kind::OnOrBefore)
        return ShortDayName(f->weekday + 1) +
               QLatin1String(f->kind == Kind::OnOrAfter ? " on or after " : " on or before ") + Ordinal(f->day) +
               QStringLiteral(" of ") + LongMonthName(f->month);
    QString s = QLatin1String(f->kind == Kind::Easter ? "Easter" : "Orthodox Easter");
    if (f->offset == 0) return s;
    const int n = std::abs(f->offset);
    return s + (f->offset < 0 ? QStringLiteral(" - ") : QStringLiteral(" + ")) + QString::number(n) +
           QLatin1String(n == 1 ? " day" : " days");
}

QString EntryFeastName(const QString& line) {
    return TrimBlanks(Field(line, kEventFieldWidth + 1, kFeastNameWidth)).toUpper();
}

std::optional<DayOfMonthFormula> ParseDayOfMonth(const QString& formula) {
    auto month = ReadNumber(Field(formula, 2, 2));
    auto day = ReadNumber(Field(formula, 4, 2));
    if (!month || !day) return std::nullopt;
    if (*month < 0 || *month > 12 || *day < 1 || *day > 31) return std::nullopt;
    return DayOfMonthFormula{*day, *month};
}

std::optional<SpecialFormula> ParseSpecial(const QString& formula) {
    auto occurrence = ReadNumber(Field(formula, 2, 2));
    auto weekday = ReadNumber(Field(formula, 4, 2));
    auto month = ReadNumber(Field(formula, 6, 2));
    if (!occurrence || !weekday || !month) return std::nullopt;
    if (*occurrence < 0 || *occurrence > 5 || *weekday < 0 || *weekday > 7 || *month < 0 || *month > 12)
        return std::nullopt;
    return SpecialFormula{*occurrence, *weekday, *month};
}

QString BuildDayOfMonth(int day, int month) { return QString::asprintf("@%2.2d%2.2d", month, day); }

QString BuildSpecial(int occurrence, int weekday, int month) {
    return QStringLiteral("$") + FitToWidth(QString::number(occurrence), 2) + FitToWidth(QString::number(weekday), 2) +
           FitToWidth(QString::number(month), 2);
}

QString Ordinal(int n) {
    const char* suffix = "th";
    if (n < 11 || n > 19) {
        switch (std::abs(n % 10)) {
            case 1: suffix = "st"; break;
            case 2: suffix = "nd"; break;
            case 3: suffix = "rd"; break;
            default: break;
        }
    }
    return QString::number(n) + QLatin1String(suffix);
}

QString DescribeFormula(const QString& formula) {
    if (formula.isEmpty()) return QString();
    switch (formula[0].unicode()) {
        case '@': {
            auto f = ParseDayOfMonth(formula);
            if (!f) return QString();
            return Ordinal(f->day) + QStringLiteral(" of ") + MonthPart(f->month);
        }
        case '$': {
            auto f = ParseSpecial(formula);
            if (!f) return QString();
            QString s = f->occurrence == 5 ? QStringLiteral("Last ") : Ordinal(f->occurrence + 1) + ' ';
            s += f->weekday == 7 ? QStringLiteral("Day ") : ShortDayName(f->weekday + 1) + QStringLiteral(" of ");
            return s + MonthPart(f->month);
        }
        case '%': {
            QString digits = formula.mid(1, kFormulaFieldWidth - 1);
            QStringList names;
            for (int d = 1; d <= 7; ++d)
                if (HasDigitFor(digits, d)) names << ShortDayName(d);
            return names.join(',');
        }
        default: return QString();
    }
}

QString EntryListText(const QString& line) {
    QChar kind = EntryKind(line);
    if (kind == '$' || kind == '%' || kind == '@')
        return TrimBlanks(EntryEventField(line)) + QStringLiteral(" (") + DescribeFormula(EntryFormula(line)) + ')';
    if (kind == '#') {
        // The classic feasts keep their text-only rows; the moving ones say how they move.
        const QString name = EntryFeastName(line);
        const bool classic = name == QLatin1String("#EASTER") || name == QLatin1String("#GOODFRIDAY") ||
                             name == QLatin1String("#PALMSUNDAY");
        const QString description = classic ? QString() : DescribeFeast(name);
        if (!description.isEmpty())
            return TrimBlanks(EntryEventField(line)) + QStringLiteral(" (") + description + ')';
    }
    return EntryEventField(line);
}


// Gregorian computus in the Lilius and Clavius form, so that Easter is right in every year the page can
// show, not only from 1900 to 2099 where the short formula holds.
// Computed in 64 bits so that no year can overflow.
MonthDay EasterSunday(int year) {
    const long long y = year;
    long long golden = PositiveMod(y, 19) + 1;
    long long century = y / 100 + 1;
    long long skippedLeapDays = 3 * century / 4 - 12;
    long long moonCorrection = (8 * century + 5) / 25 - 5;
    long long sunday = 5 * y / 4 - skippedLeapDays - 10;
    long long epact = PositiveMod(11 * golden + 20 + moonCorrection - skippedLeapDays, 30);
    if ((epact == 25 && golden > 11) || epact == 24) ++epact;
    long long fullMoon = 44 - epact;
    if (fullMoon < 21) fullMoon += 30;
    int n = static_cast<int>(fullMoon + 7 - PositiveMod(sunday + fullMoon, 7));
    return n > 31 ? MonthDay{4, n - 31} : MonthDay{3, n};
}

// Julian computus (Meeus); the Julian calendar date is then carried over through the Julian day number.
QDate OrthodoxEasterSunday(int year) {
    const int a = year % 4;
    const int b = year % 7;
    const int c = year % 19;
    const int d = (19 * c + 15) % 30;
    const int e = (2 * a + 4 * b - d + 34) % 7;
    const int month = (d + e + 114) / 31;
    const int day = (d + e + 114) % 31 + 1;
    const long long y = year + 4800LL - (month < 3 ? 1 : 0);
    const long long m = month + 12LL * (month < 3 ? 1 : 0) - 3;
    const long long julianDay = day + (153 * m + 2) / 5 + 365 * y + y / 4 - 32083;
    return QDate::fromJulianDay(julianDay);
}

int Easter(int year, int month) {
    if (year < kMinYear || year > kMaxYear) return 0;
    MonthDay e = EasterSunday(year);
    return e.month == month ? e.day : 0;
}

int GoodFriday(int year, int month) { return FeastBeforeEaster(year, month, 6); }

int PalmSunday(int year, int month) { return FeastBeforeEaster(year, month, 1); }

std::vector<int> SelectedDays(const QString& line, int year, int month) {
    std::vector<int> days;
    if (year < kMinYear || year > kMaxYear || month < 1 || month > 12) return days;
    const int last = DaysInMonth(year, month);
    const QString formula = EntryFormula(line);
    switch (EntryKind(line).unicode()) {
        case '@': {
            auto f = ParseDayOfMonth(formula);
            if (f && (f->month == 0 || f->month == month) && f->day <= last) days.push_back(f->day);
            break;
        }
        case '$': {
            auto f = ParseSpecial(formula);
            if (!f || (f->month != 0 && f->month != month)) break;
            if (f->weekday == 7) {
                days.push_back(f->occurrence == 5 ? last : f->occurrence + 1);
                break;
            }
            const int weekday = f->weekday + 1;
            const int n = f->occurrence + 1;
            if (n == 6) {
                for (int d = last; d >= 1; --d)
                    if (DayOfWeek(year, month, d) == weekday) {
                        days.push_back(d);
                        break;
                    }
            } else {
                int count = 0;
                for (int d = 1; d <= last; ++d)
                    if (DayOfWeek(year, month, d) == weekday && ++count == n) {
                        days.push_back(d);
                        break;
                    }
            }
            break;
        }
        case '%':
            for (int d = 1; d <= last; ++d)
                if (HasDigitFor(formula, DayOfWeek(year, month, d))) days.push_back(d);
            break;
        case '#': {
            auto date = FeastDate(EntryFeastName(line), year);
            if (date && date->month() == month) days.push_back(date->day());
            break;
        }
        default: break;
    }
    return days;
}

bool CanFallInMonth(const QString& line, int year, int month) {
    const QString formula = EntryFormula(line);
    switch (EntryKind(line).unicode()) {
        case '#': {
            // An unrecognised name passes, so that a feast this program does not know is still offered.
            const QString name = EntryFeastName(line);
            if (!ParseFeast(name)) return true;
            auto date = FeastDate(name, year);
            return date && date->month() == month;
        }
        case '@': {
            auto f = ParseDayOfMonth(formula);
            return f && (f->month == 0 || f->month == month);
        }
        case '$': {
            auto f = ParseSpecial(formula);
            return f && (f->month == 0 || f->month == month);
        }
        default: return true;
    }
}

QStringList FilterForMonth(const QStringList& lines, int year, int month) {
    QStringList kept;
    for (const QString& line : lines)
        if (CanFallInMonth(line, year, month)) kept << line;
    return kept;
}

}  // namespace plennix
