#include "recurring/ical.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFileInfo>
#include <QSet>
#include <QTimeZone>

#include <algorithm>
#include <iterator>
#include <cstdlib>
#include <map>
#include <set>

#include <libical/ical.h>

#include "platform/code_page.h"
#include "platform/file_io.h"
#include "recurring/formula.h"
#include "recurring/store.h"

namespace plennix {
namespace {

// Iterations of libical's expansion per event, so that a rule of seconds never runs for long.
constexpr int kMaxExpansionSteps = 20000;
// The year written after the text of a one-date event: " (2024)".
constexpr int kYearNoteWidth = 7;

const char* const kRuleDays[8] = {"", "SU", "MO", "TU", "WE", "TH", "FR", "SA"};

struct ComponentDeleter {
    void operator()(icalcomponent* c) const {
        if (c) icalcomponent_free(c);
    }
};
using ComponentPtr = std::unique_ptr<icalcomponent, ComponentDeleter>;

void UseNonFatalErrors() {
    // libical may be built to abort on a malformed value; a file from elsewhere must never end us.
    static const bool once = [] {
        icalerror_set_errors_are_fatal(0);
        return true;
    }();
    (void)once;
}

QDate LocalDate(const icaltimetype& t) {
    if (icaltime_is_null_time(t) || t.year < 1 || t.year > 9999) return {};
    const QDate written(t.year, t.month, t.day);
    if (!written.isValid() || t.is_date || !icaltime_is_utc(t)) return written;
    // A time given in UTC falls on the day it has where the person is.
    return QDateTime(written, QTime(t.hour, t.minute, t.second), QTimeZone::utc()).toLocalTime().date();
}

// The feast that falls on `date` in its year, as its formula, or empty.
QString FeastOn(const QDate& date) {
    const MonthDay e = EasterSunday(date.year());
    const QDate easter(date.year(), e.month, e.day);
    if (date == easter) return QStringLiteral("#EASTER");
    if (date == easter.addDays(-2)) return QStringLiteral("#GOODFRIDAY");
    if (date == easter.addDays(-7)) return QStringLiteral("#PALMSUNDAY");
    return {};
}

// The moving feasts that fall on `date`, as formulas: its classic name first, then its distance from
// Easter and from Orthodox Easter where that fits a formula.
QStringList FeastsOn(const QDate& date) {
    QStringList feasts;
    const QString classic = FeastOn(date);
    if (!classic.isEmpty()) feasts << classic;
    for (const auto kind : {FeastFormula::Kind::Easter, FeastFormula::Kind::OrthodoxEaster}) {
        FeastFormula base;
        base.kind = kind;
        const std::optional<QDate> sunday = FeastDate(BuildFeast(base), date.year());
        if (!sunday) continue;
        const qint64 offset = sunday->daysTo(date);
        if (offset < -kMaxEasterOffset || offset > kMaxEasterOffset) continue;
        FeastFormula f = base;
        f.offset = static_cast<int>(offset);
        feasts << BuildFeast(f);
    }
    return feasts;
}

bool IsClassicFeast(const QString& feast) {
    return feast == QLatin1String("#EASTER") || feast == QLatin1String("#GOODFRIDAY") ||
           feast == QLatin1String("#PALMSUNDAY");
}

// The dates of a feast ("#EASTER+39", "#MON>=0518") in `years` years from `firstYear`; none for a name
// that is not known.
std::vector<QDate> FeastDates(const QString& feast, int firstYear, int years) {
    std::vector<QDate> dates;
    for (int y = firstYear; y < firstYear + years; ++y)
        if (const std::optional<QDate> d = FeastDate(feast, y)) dates.push_back(*d);
    return dates;
}

QString EventText(icalcomponent* event) {
    const char* summary = icalcomponent_get_summary(event);
    QString text = summary ? QString::fromUtf8(summary) : QString();
    // An entry is one line of the list file: line breaks and tabs become blanks.
    for (QChar& c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) c = QLatin1Char(' ');
    return TrimBlanks(text);
}

template <size_t N>
std::vector<short> Values(const short (&array)[N]) {
    std::vector<short> v;
    for (size_t i = 0; i < N && array[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i) v.push_back(array[i]);
    return v;
}

struct Mapped {
    QString formula;  // empty when `reason` says why there is none
    QString reason;
};

// Written as the holiday list writes feasts (name unfilled, "#GOODFRIDAY" one past the formula field),
// so that an imported feast equals the holiday line and is not added a second time.
QString FeastEntry(const QString& text, const QString& feast) {
    return FitToWidth(text, kEventFieldWidth) + feast;
}

Mapped Refuse(const QString& reason) { return {QString(), reason}; }

QString WeekdayDigits(const std::vector<short>& byDay) {
    std::set<int> digits;
    for (short d : byDay) digits.insert(static_cast<int>(icalrecurrencetype_day_day_of_week(d)));
    QString out;
    for (int d : digits)
        if (d >= 1 && d <= 7) out += QString::number(d);
    return out;
}

// "$" occurrence number for an iCalendar position: 1..5 -> 0..4, -1 (last) -> 5.
std::optional<int> Occurrence(int position) {
    if (position >= 1 && position <= 5) return position - 1;
    if (position == -1) return 5;
    return std::nullopt;
}

Mapped MapRule(const icalrecurrencetype& r, const QDate& start) {
    if (r.count > 0 || !icaltime_is_null_time(r.until))
        return Refuse(QStringLiteral("the rule ends (COUNT or UNTIL); recurring dates repeat for ever"));
    if (r.interval != 1) return Refuse(QStringLiteral("the rule repeats every %1 periods").arg(r.interval));
    if (!Values(r.by_year_day).empty() || !Values(r.by_week_no).empty())
        return Refuse(QStringLiteral("the rule counts days of the year or week numbers"));
    const std::vector<short> byDay = Values(r.by_day);
    const std::vector<short> byMonthDay = Values(r.by_month_day);
    const std::vector<short> byMonth = Values(r.by_month);
    const std::vector<short> bySetPos = Values(r.by_set_pos);
    for (short m : byMonth)
        if (icalrecurrencetype_month_is_leap(m)) return Refuse(QStringLiteral("the rule uses a leap month"));

    bool anyPosition = false;
    for (short d : byDay) anyPosition = anyPosition || icalrecurrencetype_day_position(d) != 0;

    // Every day of the week with one position ("BYDAY=SU,MO,TU,WE,TH,FR,SA;BYSETPOS=2") is the n-th day.
    auto positionedDay = [&]() -> std::optional<int> {
        if (bySetPos.size() != 1 || anyPosition || WeekdayDigits(byDay) != QLatin1String("1234567"))
            return std::nullopt;
        return Occurrence(bySetPos[0]);
    };

    // A single weekday and its position, from "BYDAY=2MO" or "BYDAY=MO;BYSETPOS=2".
    auto positionedWeekday = [&]() -> std::optional<std::pair<int, int>> {
        if (byDay.size() != 1) return std::nullopt;
        int position = icalrecurrencetype_day_position(byDay[0]);
        if (!bySetPos.empty()) {
            if (bySetPos.size() != 1 || position != 0) return std::nullopt;
            position = bySetPos[0];
        }
        const auto occurrence = Occurrence(position);
        if (!occurrence) return std::nullopt;
        return std::pair{*occurrence, static_cast<int>(icalrecurrencetype_day_day_of_week(byDay[0])) - 1};
    };

    switch (r.freq) {
    case ICAL_DAILY_RECURRENCE:
    case ICAL_WEEKLY_RECURRENCE: {
        if (!byMonth.empty() || !byMonthDay.empty() || !bySetPos.empty() || anyPosition)
            return Refuse(QStringLiteral("the rule limits its weekdays to some months or days"));
        if (byDay.empty()) {
            if (r.freq == ICAL_DAILY_RECURRENCE) return {QStringLiteral("%1234567"), {}};
            return {QStringLiteral("%") + QString::number(start.dayOfWeek() % 7 + 1), {}};
        }
        return {QStringLiteral("%") + WeekdayDigits(byDay), {}};
    }
    case ICAL_MONTHLY_RECURRENCE: {
        if (!byMonth.empty()) return Refuse(QStringLiteral("the monthly rule leaves out some months"));
        if (!byDay.empty() && !byMonthDay.empty())
            return Refuse(QStringLiteral("the rule combines weekdays and month days"));
        if (!byDay.empty()) {
            if (!anyPosition && bySetPos.empty()) return {QStringLiteral("%") + WeekdayDigits(byDay), {}};
            if (const auto day = positionedDay()) return {BuildSpecial(*day, 7, 0), {}};
            const auto pw = positionedWeekday();
            if (!pw) return Refuse(QStringLiteral("the rule picks several weekdays of a month"));
            return {BuildSpecial(pw->first, pw->second, 0), {}};
        }
        if (!bySetPos.empty()) return Refuse(QStringLiteral("the rule picks positions of a set of days"));
        if (byMonthDay.size() > 1) return Refuse(QStringLiteral("the rule picks several days of a month"));
        const int day = byMonthDay.empty() ? start.day() : byMonthDay[0];
        if (day == -1) return {BuildSpecial(5, 7, 0), {}};
        if (day < 1 || day > 31) return Refuse(QStringLiteral("the rule counts days from the end of the month"));
        return {BuildDayOfMonth(day, 0), {}};
    }
    case ICAL_YEARLY_RECURRENCE: {
        if (byMonth.size() > 1) return Refuse(QStringLiteral("the rule falls in several months"));
        if (!byDay.empty() && !byMonthDay.empty())
            return Refuse(QStringLiteral("the rule combines weekdays and month days"));
        if ((!byDay.empty() || !byMonthDay.empty()) && byMonth.empty())
            return Refuse(QStringLiteral("the yearly rule names days but no month"));
        const int month = byMonth.empty() ? start.month() : icalrecurrencetype_month_month(byMonth[0]);
        if (month < 1 || month > 12) return Refuse(QStringLiteral("the rule names no month of the year"));
        if (!byDay.empty()) {
            if (const auto day = positionedDay()) return {BuildSpecial(*day, 7, month), {}};
            const auto pw = positionedWeekday();
            if (!pw) return Refuse(QStringLiteral("the rule picks every or several weekdays of a month"));
            return {BuildSpecial(pw->first, pw->second, month), {}};
        }
        if (!bySetPos.empty()) return Refuse(QStringLiteral("the rule picks positions of a set of days"));
        if (byMonthDay.size() > 1) return Refuse(QStringLiteral("the rule picks several days of a month"));
        const int day = byMonthDay.empty() ? start.day() : byMonthDay[0];
        if (day == -1) return {BuildSpecial(5, 7, month), {}};
        if (day < 1 || day > QDate(2000, month, 1).daysInMonth())
            return Refuse(QStringLiteral("the rule names a day that month does not have"));
        return {BuildDayOfMonth(day, month), {}};
    }
    case ICAL_NO_RECURRENCE: return Refuse(QStringLiteral("its RRULE cannot be read"));
    default: return Refuse(QStringLiteral("the rule repeats more often than daily"));
    }
}

bool HasProperty(icalcomponent* event, icalproperty_kind kind) {
    return icalcomponent_get_first_property(event, kind) != nullptr;
}

// libical drops a property whose value it cannot read and leaves an X-LIC-ERROR in its place ("... in
// RRULE property. Removing entire property: ..."). Without the dropped rule, exception or end the event
// would come in as something else (a yearly date as one date), so the name of such a property is returned.
QString UnreadableDateProperty(icalcomponent* event) {
    static const char* const kDateProperties[] = {"DTSTART", "DTEND",  "DURATION", "RRULE",
                                                  "RDATE",   "EXDATE", "EXRULE",   "RECURRENCE-ID"};
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_XLICERROR_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_XLICERROR_PROPERTY)) {
        const char* text = icalproperty_get_xlicerror(p);
        if (!text) continue;
        const QByteArray message(text);
        for (const char* name : kDateProperties)
            if (message.contains(QByteArray(" in ") + name + " property")) return QString::fromLatin1(name);
    }
    return {};
}

bool IsLine(QByteArrayView line, const char* tag) { return line.compare(tag, Qt::CaseInsensitive) == 0; }

// One VEVENT as written in the file: its lines (nested alarms included) and the line it starts on.
struct RawEvent {
    QByteArrayView text;
    int line = 0;
};

// The VEVENTs of iCalendar text in file order, found by their BEGIN and END lines and parsed one at a
// time: a tree of the whole file would take some thirty times its size in memory. An event whose END is
// missing ends where the next one begins. Empty with *error filled when the text holds no calendar.
std::optional<std::vector<RawEvent>> EventBlocks(const QByteArray& data, QString* error) {
    UseNonFatalErrors();
    if (data.size() > kMaxIcsBytes) {
        if (error) *error = QStringLiteral("The file is too large to be a calendar");
        return std::nullopt;
    }
    std::vector<RawEvent> events;
    bool calendar = false;
    qsizetype eventStart = -1;
    int eventLine = 0;
    int lineNumber = 0;
    const QByteArrayView all(data);
    // A byte order mark before the first line is no part of it.
    for (qsizetype pos = all.startsWith("\xEF\xBB\xBF") ? 3 : 0; pos < all.size();) {
        qsizetype end = all.indexOf('\n', pos);
        if (end < 0) end = all.size();
        QByteArrayView line = all.sliced(pos, end - pos);
        while (!line.isEmpty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.chop(1);
        ++lineNumber;
        if (IsLine(line, "BEGIN:VCALENDAR")) calendar = true;
        if (IsLine(line, "BEGIN:VEVENT")) {
            if (eventStart >= 0) events.push_back({all.sliced(eventStart, pos - eventStart), eventLine});
            eventStart = pos;
            eventLine = lineNumber;
        } else if (IsLine(line, "END:VEVENT") && eventStart >= 0) {
            events.push_back({all.sliced(eventStart, std::min(end + 1, all.size()) - eventStart), eventLine});
            eventStart = -1;
        }
        pos = end + 1;
    }
    if (eventStart >= 0) events.push_back({all.sliced(eventStart), eventLine});
    if (!calendar && events.empty()) {
        if (error) *error = QStringLiteral("The file holds no iCalendar data");
        return std::nullopt;
    }
    return events;
}

// The event that one block holds, parsed by libical; null when it holds none.
ComponentPtr ParseEvent(const RawEvent& raw) {
    // The parser wants text ending in a zero byte.
    const QByteArray text = raw.text.toByteArray();
    ComponentPtr root(icalparser_parse_string(text.constData()));
    if (!root) return nullptr;
    if (icalcomponent_isa(root.get()) == ICAL_VEVENT_COMPONENT) return root;
    icalcomponent* inner = icalcomponent_get_first_component(root.get(), ICAL_VEVENT_COMPONENT);
    if (!inner) return nullptr;
    icalcomponent_remove_component(root.get(), inner);
    return ComponentPtr(inner);
}

// The SUMMARY line of an event as written (its folded continuations joined), and the line it is on; for
// an event whose text came out empty, so that the person can find it in the file.
std::pair<QString, int> RawSummary(const RawEvent& raw) {
    std::vector<QByteArrayView> lines;
    for (qsizetype pos = 0; pos < raw.text.size();) {
        qsizetype end = raw.text.indexOf('\n', pos);
        if (end < 0) end = raw.text.size();
        QByteArrayView line = raw.text.sliced(pos, end - pos);
        if (line.endsWith('\r')) line.chop(1);
        lines.push_back(line);
        pos = end + 1;
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        const QByteArrayView line = lines[i];
        if (line.size() < 7 || line.first(7).compare("SUMMARY", Qt::CaseInsensitive) != 0) continue;
        if (line.size() > 7 && line[7] != ':' && line[7] != ';') continue;
        QByteArray joined = line.toByteArray();
        // Folded lines go on with a blank; a line without a property name is a fold that lost its blank.
        for (size_t j = i + 1; j < lines.size(); ++j) {
            if (lines[j].startsWith(' ') || lines[j].startsWith('\t')) joined += lines[j].sliced(1).toByteArray();
            else if (!lines[j].isEmpty() && !lines[j].contains(':')) joined += lines[j].toByteArray();
            else break;
        }
        QString shown = QString::fromUtf8(joined).simplified();
        if (shown.size() > 60) shown = shown.left(57) + QStringLiteral("...");
        return {shown, raw.line + static_cast<int>(i)};
    }
    return {QString(), 0};
}

// The last day (inclusive) of an event that starts on `start`, from its DTEND or DURATION.
QDate LastDay(icalcomponent* event, const icaltimetype& dtstart, const QDate& start) {
    if (!HasProperty(event, ICAL_DTEND_PROPERTY) && !HasProperty(event, ICAL_DURATION_PROPERTY)) return start;
    const icaltimetype dtend = icalcomponent_get_dtend(event);
    QDate end = LocalDate(dtend);
    if (!end.isValid() || end <= start) return start;
    // An end is exclusive: a whole day ends on the next day, a time at midnight ends the day before.
    if (dtend.is_date || (dtend.hour == 0 && dtend.minute == 0 && dtend.second == 0)) end = end.addDays(-1);
    (void)dtstart;
    return std::max(end, start);
}

}  // namespace

std::optional<IcsImport> ImportIcs(const QByteArray& data, QString* error, IcsDatedEvents dated) {
    const std::optional<std::vector<RawEvent>> blocks = EventBlocks(data, error);
    if (!blocks) return std::nullopt;
    IcsImport result;

    // Every event in file order: its entry, or the reason it is left out, or (a one-date event) its text
    // and date, which become an entry only together with the other events of that text.
    struct Slot {
        QString entry;
        QString leftOut;  // "Text: reason"
        QString text;     // of a one-date event
        QStringList feasts;  // the feasts its date is, if any
        QDate date;
    };
    std::vector<Slot> events;
    events.reserve(blocks->size());
    const int textWidth = kEventFieldWidth;

    for (const RawEvent& raw : *blocks) {
        const ComponentPtr parsed = ParseEvent(raw);
        icalcomponent* event = parsed.get();
        const QString text = event ? EventText(event) : QString();
        auto leaveOut = [&](const QString& reason) {
            events.push_back({{}, text + QStringLiteral(": ") + reason, {}, {}, {}});
        };
        if (text.isEmpty()) {
            // Named by its place in the file, since it has no text to be known by.
            const QString where = QStringLiteral("Event at line %1").arg(raw.line);
            const auto [summary, summaryLine] = RawSummary(raw);
            const QString reason = !event ? QStringLiteral("it cannot be read")
                                   : summary.isEmpty()
                                       ? QStringLiteral("the event has no text (SUMMARY)")
                                       : QStringLiteral("its text cannot be read (line %1: %2)").arg(summaryLine).arg(summary);
            events.push_back({{}, where + QStringLiteral(": ") + reason, {}, {}, {}});
            continue;
        }
        if (!CanEncode(FitToWidth(text, textWidth))) {
            leaveOut(CodePageProblem(FitToWidth(text, textWidth)));
            continue;
        }
        if (const QString broken = UnreadableDateProperty(event); !broken.isEmpty()) {
            leaveOut(QStringLiteral("its %1 cannot be read").arg(broken));
            continue;
        }
        if (icalcomponent_get_status(event) == ICAL_STATUS_CANCELLED) {
            leaveOut(QStringLiteral("the event was cancelled (STATUS:CANCELLED)"));
            continue;
        }
        if (HasProperty(event, ICAL_RECURRENCEID_PROPERTY)) {
            leaveOut(QStringLiteral("it changes one occurrence of another event (RECURRENCE-ID)"));
            continue;
        }
        if (HasProperty(event, ICAL_EXDATE_PROPERTY) || HasProperty(event, ICAL_EXRULE_PROPERTY)) {
            leaveOut(QStringLiteral("its rule has exceptions (EXDATE), which recurring dates cannot leave out"));
            continue;
        }
        const icaltimetype dtstart = icalcomponent_get_dtstart(event);
        const QDate start = LocalDate(dtstart);
        if (!start.isValid()) {
            leaveOut(QStringLiteral("the event has no valid start date (DTSTART)"));
            continue;
        }
        const QDate last = LastDay(event, dtstart, start);
        if (last > start) {
            leaveOut(QStringLiteral("the event lasts %1 days; an entry marks one day").arg(start.daysTo(last) + 1));
            continue;
        }
        int rules = 0;
        for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY); p;
             p = icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY))
            ++rules;
        std::vector<QDate> rdates;
        for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY); p;
             p = icalcomponent_get_next_property(event, ICAL_RDATE_PROPERTY)) {
            const icaldatetimeperiodtype v = icalproperty_get_rdate(p);
            rdates.push_back(LocalDate(icaltime_is_null_time(v.time) ? v.period.start : v.time));
        }
        if (rules > 1) {
            leaveOut(QStringLiteral("the event has several rules (RRULE)"));
            continue;
        }
        if (rules == 1) {
            if (!rdates.empty()) {
                leaveOut(QStringLiteral("the event adds single dates (RDATE) to its rule"));
                continue;
            }
            const icalrecurrencetype rule =
                icalproperty_get_rrule(icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY));
            const Mapped m = MapRule(rule, start);
            if (m.formula.isEmpty()) {
                leaveOut(m.reason);
                continue;
            }
            events.push_back({BuildEntry(text, m.formula), {}, {}, {}, {}});
            continue;
        }
        if (!rdates.empty()) {
            // Dates of several years that are all one feast (how feasts travel between programs).
            rdates.push_back(start);
            std::set<int> years;
            std::set<int> days;
            for (const QDate& d : rdates)
                if (d.isValid()) {
                    years.insert(d.year());
                    days.insert(d.month() * 100 + d.day());
                }
            QString feast;
            for (const QString& candidate : FeastsOn(start)) {
                // Dates that keep one day of the year are no proof of a feast that moves.
                if (!IsClassicFeast(candidate) && days.size() < 2) continue;
                bool all = true;
                for (const QDate& d : rdates) all = all && d.isValid() && FeastDate(candidate, d.year()) == d;
                if (all) {
                    feast = candidate;
                    break;
                }
            }
            if (feast.isEmpty() || years.size() < 2) {
                leaveOut(QStringLiteral("the event's single dates (RDATE) follow no rule"));
                continue;
            }
            events.push_back({FeastEntry(text, feast), {}, {}, {}, {}});
            continue;
        }
        events.push_back({{}, {}, text, FeastsOn(start), start});
    }

    // One-date events of one text in several years: on one feast each year they are that feast, on one
    // day of the year each year they are that day (a holiday file with a dated event for each year).
    std::map<std::pair<QString, QString>, std::set<int>> feastYears;
    std::map<std::pair<QString, int>, std::set<int>> dayYears;
    for (const Slot& s : events) {
        if (s.text.isEmpty()) continue;
        for (const QString& feast : s.feasts) feastYears[{s.text, feast}].insert(s.date.year());
        dayYears[{s.text, s.date.month() * 100 + s.date.day()}].insert(s.date.year());
    }
    // The feast a one-date event is part of: the feast its text is given on in the most years, two at
    // least, the classic name first among equals. A feast that moves with Easter must also beat the
    // event's day of the year: in years that share their Easter date both readings hold, and a fixed day
    // is the likelier. Two feasts meet on one day in some years (Orthodox Easter - 7 is Palm Sunday when
    // both Easters fall together), so the first that fits is not enough.
    auto feastOf = [&](const Slot& s) -> QString {
        const size_t onDay = dayYears[{s.text, s.date.month() * 100 + s.date.day()}].size();
        QString best;
        size_t bestYears = 1;
        for (const QString& feast : s.feasts) {
            const size_t n = feastYears[{s.text, feast}].size();
            if (!IsClassicFeast(feast) && n <= onDay) continue;
            if (n > bestYears) {
                best = feast;
                bestYears = n;
            }
        }
        return best;
    };
    // An event that a file holds twice (or a feast given both ways) gives its entry once.
    std::set<QString> produced;
    auto produce = [&](const QString& entry) {
        if (produced.insert(entry).second) result.entries << entry;
    };
    for (const Slot& s : events) {
        if (!s.entry.isEmpty()) {
            produce(s.entry);
        } else if (!s.leftOut.isEmpty()) {
            result.leftOut << s.leftOut;
        } else if (const QString feast = feastOf(s); !feast.isEmpty()) {
            produce(FeastEntry(s.text, feast));
        } else if (dayYears[{s.text, s.date.month() * 100 + s.date.day()}].size() >= 2) {
            produce(BuildEntry(s.text, BuildDayOfMonth(s.date.day(), s.date.month())));
        } else if (dated == IcsDatedEvents::KeepAsYearly) {
            const QString noted = TrimBlanks(FitToWidth(s.text, textWidth - kYearNoteWidth)) +
                                  QStringLiteral(" (%1)").arg(s.date.year());
            produce(BuildEntry(noted, BuildDayOfMonth(s.date.day(), s.date.month())));
        } else {
            result.leftOut << s.text + QStringLiteral(": it falls on a single date (%1), which does not come back "
                                                      "every year")
                                           .arg(s.date.toString(Qt::ISODate));
        }
    }
    return result;
}

std::optional<IcsImport> ImportIcsFile(const QString& path, IcsDatedEvents dated, QString* error) {
    const std::optional<QByteArray> data = ReadWholeFile(path, kMaxIcsBytes, error);
    if (!data) return std::nullopt;
    QString why;
    std::optional<IcsImport> imported = ImportIcs(*data, &why, dated);
    if (!imported && error) *error = path + QStringLiteral(": ") + why;
    return imported;
}

QString IcsImportSummary(const QString& path, int added, int alreadyListed, int leftOut) {
    QString text = QStringLiteral("Imported from %1: %2").arg(path, added == 1 ? QStringLiteral("1 date added")
                                                                              : QStringLiteral("%1 dates added").arg(added));
    if (alreadyListed > 0) text += QStringLiteral(", %1 already in the list").arg(alreadyListed);
    text += leftOut == 1 ? QStringLiteral(", 1 event left out") : QStringLiteral(", %1 events left out").arg(leftOut);
    return text;
}

namespace {

QString RuleFor(const QString& formula, QString* reason) {
    const QChar kind = formula.isEmpty() ? QChar() : formula[0];
    if (kind == QLatin1Char('@')) {
        const auto f = ParseDayOfMonth(formula);
        if (!f) return *reason = QStringLiteral("its formula cannot be read"), QString();
        if (f->month == 0) return QStringLiteral("FREQ=MONTHLY;BYMONTHDAY=%1").arg(f->day);
        return QStringLiteral("FREQ=YEARLY;BYMONTH=%1;BYMONTHDAY=%2").arg(f->month).arg(f->day);
    }
    if (kind == QLatin1Char('$')) {
        const auto f = ParseSpecial(formula);
        if (!f) return *reason = QStringLiteral("its formula cannot be read"), QString();
        const int position = f->occurrence == 5 ? -1 : f->occurrence + 1;
        const QString freq = f->month == 0 ? QStringLiteral("FREQ=MONTHLY")
                                           : QStringLiteral("FREQ=YEARLY;BYMONTH=%1").arg(f->month);
        // The n-th day as the n-th of all weekdays, so that it comes back as "$" and not as a day of month;
        // the last day keeps the plainer BYMONTHDAY=-1, which reads back as "$" too.
        if (f->weekday == 7 && position == -1) return freq + QStringLiteral(";BYMONTHDAY=-1");
        if (f->weekday == 7) return freq + QStringLiteral(";BYDAY=SU,MO,TU,WE,TH,FR,SA;BYSETPOS=%1").arg(position);
        return freq + QStringLiteral(";BYDAY=%1%2").arg(position).arg(QLatin1String(kRuleDays[f->weekday + 1]));
    }
    if (kind == QLatin1Char('%')) {
        QStringList days;
        for (int d = 1; d <= 7; ++d)
            if (formula.contains(QChar(u'0' + d))) days << QLatin1String(kRuleDays[d]);
        if (days.isEmpty()) return *reason = QStringLiteral("it selects no weekday"), QString();
        return QStringLiteral("FREQ=WEEKLY;BYDAY=") + days.join(QLatin1Char(','));
    }
    *reason = QStringLiteral("its formula has no iCalendar form");
    return {};
}

QByteArray AsIcalText(icalcomponent* component) {
    char* text = icalcomponent_as_ical_string_r(component);
    QByteArray out(text ? text : "");
    std::free(text);
    return out;
}

icaltimetype DateValue(const QDate& d) {
    icaltimetype t = icaltime_null_date();
    t.year = d.year();
    t.month = d.month();
    t.day = d.day();
    t.is_date = 1;
    return t;
}

// The first day on or after 1 January of `year` that the entry selects (a 29 February may be years away).
QDate FirstSelectedDay(const QString& entry, int year) {
    for (int y = year; y < year + 9; ++y)
        for (int m = 1; m <= 12; ++m) {
            const std::vector<int> days = SelectedDays(entry, y, m);
            if (!days.empty()) return QDate(y, m, days.front());
        }
    return {};
}

}  // namespace

QByteArray ExportIcs(const QStringList& entries, int year, QStringList* leftOut) {
    UseNonFatalErrors();
    ComponentPtr calendar(icalcomponent_new_vcalendar());
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid("-//Plennix//Recurring dates//EN"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_calscale("GREGORIAN"));
    const icaltimetype now = icaltime_current_time_with_zone(icaltimezone_get_utc_timezone());
    std::map<QByteArray, int> uidCount;
    // The calendar is written event by event, so that its size is known before an entry joins it.
    const QByteArray footer = "END:VCALENDAR\r\n";
    QByteArray out = AsIcalText(calendar.get());
    if (out.endsWith(footer)) out.chop(footer.size());

    for (const QString& entry : entries) {
        const QString text = TrimBlanks(EntryEventField(entry));
        const QString formula = TrimBlanks(EntryFormula(entry));
        auto leaveOut = [&](const QString& reason) {
            if (leftOut) *leftOut << (text.isEmpty() ? QStringLiteral("(no text)") : text) + QStringLiteral(": ") + reason;
        };
        std::vector<QDate> dates;
        QString rule;
        if (EntryKind(entry) == QLatin1Char('#')) {
            dates = FeastDates(EntryFeastName(entry), year, 10);
            if (dates.empty()) {
                leaveOut(QStringLiteral("the feast %1 is not known").arg(formula));
                continue;
            }
        } else {
            QString reason;
            rule = RuleFor(formula, &reason);
            if (rule.isEmpty()) {
                leaveOut(reason);
                continue;
            }
            const QDate first = FirstSelectedDay(entry, year);
            if (!first.isValid()) {
                leaveOut(QStringLiteral("it selects no day"));
                continue;
            }
            dates.push_back(first);
        }

        // The UID follows from the entry, so that exporting again lets other programs update, not add.
        const QByteArray hash = QCryptographicHash::hash(entry.toUtf8(), QCryptographicHash::Sha1).toHex().left(24);
        const int n = ++uidCount[hash];
        const QByteArray base = hash + (n > 1 ? "-" + QByteArray::number(n) : QByteArray());

        // A feast is one dated event per year (each with its own UID): every calendar program shows
        // plain dated events, while extra dates (RDATE) on an all-day event are widely ignored.
        QByteArray written;
        for (const QDate& date : dates) {
            const QByteArray uid =
                base + (rule.isEmpty() ? "-" + QByteArray::number(date.year()) : QByteArray()) + "@plennix";
            const ComponentPtr owned(icalcomponent_new_vevent());
            icalcomponent* event = owned.get();
            icalcomponent_add_property(event, icalproperty_new_uid(uid.constData()));
            icalcomponent_add_property(event, icalproperty_new_dtstamp(now));
            icalcomponent_add_property(event, icalproperty_new_summary(text.toUtf8().constData()));
            icalcomponent_add_property(event, icalproperty_new_dtstart(DateValue(date)));
            icalcomponent_add_property(event, icalproperty_new_dtend(DateValue(date.addDays(1))));
            icalcomponent_add_property(event, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
            if (!rule.isEmpty()) {
                const icalrecurrencetype recur = icalrecurrencetype_from_string(rule.toLatin1().constData());
                icalcomponent_add_property(event, icalproperty_new_rrule(recur));
            }
            written += AsIcalText(event);
        }
        if (out.size() + written.size() + footer.size() > kMaxIcsBytes) {
            leaveOut(QStringLiteral("the file would grow past %1 MB, the most an import reads back")
                         .arg(kMaxIcsBytes / (1024 * 1024)));
            continue;
        }
        out += written;
    }
    return out + footer;
}

std::vector<QDate> IcsOccurrences(const QByteArray& data, int year) {
    std::set<QDate> days;
    const std::optional<std::vector<RawEvent>> blocks = EventBlocks(data, nullptr);
    if (!blocks) return {};
    for (const RawEvent& raw : *blocks) {
        const ComponentPtr parsed = ParseEvent(raw);
        icalcomponent* event = parsed.get();
        if (!event) continue;
        const icaltimetype dtstart = icalcomponent_get_dtstart(event);
        if (!LocalDate(dtstart).isValid()) continue;
        auto add = [&](const icaltimetype& t) {
            const QDate d = LocalDate(t);
            if (d.isValid() && d.year() == year) days.insert(d);
        };
        icalproperty* rrule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
        if (!rrule) add(dtstart);
        for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY); p;
             p = icalcomponent_get_next_property(event, ICAL_RDATE_PROPERTY)) {
            const icaldatetimeperiodtype v = icalproperty_get_rdate(p);
            add(icaltime_is_null_time(v.time) ? v.period.start : v.time);
        }
        if (!rrule) continue;
        icalrecur_iterator* it = icalrecur_iterator_new(icalproperty_get_rrule(rrule), dtstart);
        if (!it) continue;
        for (int step = 0; step < kMaxExpansionSteps; ++step) {
            const icaltimetype t = icalrecur_iterator_next(it);
            if (icaltime_is_null_time(t) || t.year > year) break;
            add(t);
        }
        icalrecur_iterator_free(it);
    }
    return {days.begin(), days.end()};
}

int MergeEntries(QStringList& sortedList, const QStringList& entries) {
    QSet<QString> present(sortedList.cbegin(), sortedList.cend());
    QStringList fresh;
    for (const QString& entry : entries)
        if (!present.contains(entry)) {
            present.insert(entry);
            fresh << entry;
        }
    if (fresh.isEmpty()) return 0;
    // Stable on both sides, and the list's own lines first among equals: each new line lands where a
    // sorted insertion after equal lines would have put it.
    std::stable_sort(fresh.begin(), fresh.end(), EntryLess);
    QStringList merged;
    merged.reserve(sortedList.size() + fresh.size());
    std::merge(sortedList.cbegin(), sortedList.cend(), fresh.cbegin(), fresh.cend(), std::back_inserter(merged),
               EntryLess);
    sortedList = std::move(merged);
    return static_cast<int>(fresh.size());
}

namespace {
// The error of a failed write, naming the file whatever the writer said.
QString WriteError(const QString& path, const QString& reason) {
    if (reason.contains(path)) return reason;
    return QStringLiteral("Cannot write %1: %2").arg(path, reason.isEmpty() ? QStringLiteral("unknown error") : reason);
}
}  // namespace

bool ImportIcsFileIntoRecurringDates(const QString& path, int* added, QStringList* leftOut, QString* error,
                                     IcsDatedEvents dated, QString* summary) {
    const std::optional<IcsImport> imported = ImportIcsFile(path, dated, error);
    if (!imported) return false;
    if (leftOut) *leftOut = imported->leftOut;
    std::optional<QStringList> list = LoadRecurringDates(error);
    if (!list) return false;
    std::stable_sort(list->begin(), list->end(), EntryLess);
    const int n = MergeEntries(*list, imported->entries);
    if (added) *added = n;
    if (summary)
        *summary = IcsImportSummary(path, n, static_cast<int>(imported->entries.size()) - n,
                                    static_cast<int>(imported->leftOut.size()));
    return n == 0 || SaveRecurringDates(*list, error);
}

bool WriteIcsFile(const QString& path, const QStringList& entries, int year, QStringList* leftOut, QString* error) {
    QString why;
    if (WriteFileAtomically(path, ExportIcs(entries, year, leftOut), &why)) return true;
    if (error) *error = WriteError(path, why);
    return false;
}

bool ExportRecurringDatesToIcsFile(const QString& path, int year, QStringList* leftOut, QString* error) {
    const std::optional<QStringList> list = LoadRecurringDates(error);
    if (!list) return false;
    return WriteIcsFile(path, *list, year, leftOut, error);
}

}  // namespace plennix
