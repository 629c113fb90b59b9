#pragma once
// iCalendar (.ics) exchange of recurring dates with other calendar programs, through libical.
//
// Import turns each VEVENT into one entry when its rule has a formula form:
//   yearly on a month day                 -> "@MMDD"      (last day of a month: "$5 7 MM")
//   yearly on the n-th or last weekday     -> "$O W MM"
//   n-th of all seven weekdays (BYSETPOS)  -> "$O 7 M" (export writes the n-th day so; last: BYMONTHDAY=-1)
//   monthly on a day or n-th/last weekday  -> "@00DD" / "$O W 0"
//   weekly (or daily) on given weekdays    -> "%digits"
//   one date                               -> "@MMDD", the year noted after the text ("Wedding (2024)")
//   dates that are all Easter, Good Friday or Palm Sunday of their years (one event with RDATEs, or
//   one-date events of the same text in several years) -> "#EASTER", "#GOODFRIDAY", "#PALMSUNDAY"
// Everything else (intervals above one, rules that end, exceptions, several months, events of several
// days, cancelled events, properties libical could not read, texts the files' code page cannot hold, ...)
// is left out with its reason.
//
// Export writes every entry as a VEVENT of one all-day date with the matching RRULE, DTSTART on the
// entry's first day in the given year, and a UID made from the entry's text, so that a second export
// gives the same UIDs. Feasts, which no RRULE can express, are one dated VEVENT for each of ten years.
#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace plennix {

struct IcsImport {
    QStringList entries;  // new entries in file order
    QStringList leftOut;  // one line per event left out: "Text: reason"
};

// Parses iCalendar text; no value (and *error filled) when it holds no calendar at all.
std::optional<IcsImport> ImportIcs(const QByteArray& data, QString* error = nullptr);
// The entries as an iCalendar file; entries that have no iCalendar form are listed in *leftOut.
QByteArray ExportIcs(const QStringList& entries, int year, QStringList* leftOut = nullptr);

// The days on which libical's own expansion of the data's events falls within `year`, ascending and
// without repeats. Used to check that imported entries select the days other programs show.
std::vector<QDate> IcsOccurrences(const QByteArray& data, int year);

// Adds the entries that are not yet in the sorted list at their sorted places; returns how many.
int MergeEntries(QStringList& sortedList, const QStringList& entries);

// The command-line forms: --import-ics adds to PXRECUR.DAX (sorted, written atomically), --export-ics
// writes every entry of it. False with *error filled when nothing was done; events or entries left out
// are listed in *leftOut either way.
bool ImportIcsFileIntoRecurringDates(const QString& path, int* added, QStringList* leftOut, QString* error);
bool ExportRecurringDatesToIcsFile(const QString& path, int year, QStringList* leftOut, QString* error);

}  // namespace plennix
