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
    return FitToWidth(eventText, kEventFieldWidth) + FitToWidth(formula, kFormulaFieldWidth);
}

QString EntryEventField(const QString& line) { return line.left(kEventFieldWidth); }

QString EntryFormula(const QString& line) { return Field(line, kEventFieldWidth + 1, kFormulaFieldWidth); }

QChar EntryKind(const QString& line) { return line.size() > kEventFieldWidth ? line[kEventFieldWidth] : QChar(); }

QString EntryFeastName(const QString& line) {
    return TrimBlanks(Field(line, kEventFieldWidth + 1, 11)).toUpper();
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
            const QString name = EntryFeastName(line);
            int day = 0;
            if (name == QLatin1String("#EASTER")) day = Easter(year, month);
            else if (name == QLatin1String("#GOODFRIDAY")) day = GoodFriday(year, month);
            else if (name == QLatin1String("#PALMSUNDAY")) day = PalmSunday(year, month);
            if (day > 0) days.push_back(day);
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
            const QString name = EntryFeastName(line);
            if (name == QLatin1String("#EASTER")) return Easter(year, month) > 0;
            if (name == QLatin1String("#GOODFRIDAY")) return GoodFriday(year, month) > 0;
            if (name == QLatin1String("#PALMSUNDAY")) return PalmSunday(year, month) > 0;
            return true;
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
