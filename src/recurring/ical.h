#pragma once
// iCalendar (.ics) exchange of recurring dates with other calendar programs, through libical.
//
// Import turns each VEVENT into one entry when its rule has a formula form:
//   yearly on a month day                 -> "@MMDD"      (last day of a month: "$5 7 MM")
//   yearly on the n-th or last weekday     -> "$O W MM"
//   n-th of all seven weekdays (BYSETPOS)  -> "$O 7 M" (export writes the n-th day so; last: BYMONTHDAY=-1)
//   monthly on a day or n-th/last weekday  -> "@00DD" / "$O W 0"
//   weekly (or daily) on given weekdays    -> "%digits"
//   dates that are all Easter, Good Friday or Palm Sunday of their years (one event with RDATEs, or
//   one-date events of the same text in several years) -> "#EASTER", "#GOODFRIDAY", "#PALMSUNDAY"
//   one-date events of the same text on the same day in several years -> "@MMDD"
//   one date by itself                     -> left out, since it has no yearly form; only when the person
//                                             asks for it, "@MMDD" with the year after the text ("Wedding (2024)")
// Everything else (intervals above one, rules that end, exceptions, several months, events of several
// days, cancelled events, properties libical could not read, texts the files' code page cannot hold, ...)
// is left out with its reason.
//
// Export writes every entry as a VEVENT of one all-day date with the matching RRULE, DTSTART on the
// entry's first day in the given year, and a UID made from the entry's text, so that a second export
// gives the same UIDs. Feasts, which no RRULE can express, are one dated VEVENT for each of ten years.
// An export never grows past kMaxIcsBytes, the most an import reads, so that the program always reads
// back what it wrote; entries beyond it are left out with that reason.
#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace plennix {

// The largest .ics file an import reads, and so the largest one an export writes. A list of 100,000
// entries with texts of a usual length exports to about 25 MB.
constexpr qint64 kMaxIcsBytes = 64LL * 1024 * 1024;

// What becomes of an event on a single date, which has no yearly form.
enum class IcsDatedEvents {
    LeaveOut,      // listed with its reason (a meeting, a trip, one year's holiday)
    KeepAsYearly,  // "@MMDD" with its year after the text, for a person who asked for it
};

struct IcsImport {
    QStringList entries;  // new entries in file order
    QStringList leftOut;  // one line per event left out: "Text: reason"
};

// Parses iCalendar text; no value (and *error filled) when it holds no calendar at all.
std::optional<IcsImport> ImportIcs(const QByteArray& data, QString* error = nullptr,
                                   IcsDatedEvents dated = IcsDatedEvents::LeaveOut);
// Reads and parses an .ics file (at most kMaxIcsBytes); *error names the file and the reason.
std::optional<IcsImport> ImportIcsFile(const QString& path, IcsDatedEvents dated, QString* error);
// One line on what an import did: "Imported from PATH: 3 dates added, 1 already in the list, 2 events
// left out".
QString IcsImportSummary(const QString& path, int added, int alreadyListed, int leftOut);
// The entries as an iCalendar file; entries that have no iCalendar form are listed in *leftOut.
QByteArray ExportIcs(const QStringList& entries, int year, QStringList* leftOut = nullptr);

// Writes ExportIcs(entries, year) to `path` atomically; false with *error naming the file and the reason.
bool WriteIcsFile(const QString& path, const QStringList& entries, int year, QStringList* leftOut, QString* error);

// The days on which libical's own expansion of the data's events falls within `year`, ascending and
// without repeats. Used to check that imported entries select the days other programs show.
std::vector<QDate> IcsOccurrences(const QByteArray& data, int year);

// Adds the entries that are not yet in the sorted list at their sorted places (after equal lines, in
// their own order); returns how many. Sorts once and merges, so that a calendar of 100,000 events joins
// a list of as many in well under a second.
int MergeEntries(QStringList& sortedList, const QStringList& entries);

// The command-line forms: --import-ics adds to PXRECUR.DAX (sorted, written atomically), --export-ics
// writes every entry of it. False with *error filled (naming the file) when nothing was done; events or
// entries left out are listed in *leftOut either way, and *summary says what the import did.
bool ImportIcsFileIntoRecurringDates(const QString& path, int* added, QStringList* leftOut, QString* error,
                                     IcsDatedEvents dated = IcsDatedEvents::LeaveOut, QString* summary = nullptr);
bool ExportRecurringDatesToIcsFile(const QString& path, int year, QStringList* leftOut, QString* error);

}  // namespace plennix
