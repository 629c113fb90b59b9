#pragma once
// The recurring dates list PXRECUR.DAX in the program folder (one entry a line, CR LF, in the files'
// code page), the older PXRECUR.DAT (MMDD + event text) that start-up converts, and the built-in holidays.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace plennix {

// ProgramFile("PXRECUR.DAX") and ProgramFile("PXRECUR.DAT").
QString RecurringDatesPath();
QString OldRecurringDatesPath();

// The lines of a text file of any line length; CR LF, CR and LF all end a line, and a last line needs
// no line end. Bytes are in the files' code page.
QStringList SplitRecurringLines(const QByteArray& bytes);
// Every line ended by CR LF, in the files' code page.
QByteArray JoinRecurringLines(const QStringList& lines);

// The list in PXRECUR.DAX in file order: empty when the file does not exist, no value (and *error
// filled) when it exists but cannot be read.
std::optional<QStringList> LoadRecurringDates(QString* error = nullptr);
// Replaces PXRECUR.DAX atomically; false (and *error filled) when it could not be written.
bool SaveRecurringDates(const QStringList& lines, QString* error = nullptr);

// One old line "MMDD<event>" as an entry of 131 characters: characters 5 to 154 made into the 120-character
// event field, "@", then the first four characters left-justified in 10.
QString ConvertOldRecurringLine(const QString& oldLine);
// Start-up conversion: when PXRECUR.DAT exists, its lines replace PXRECUR.DAX and it is deleted.
// Returns false with *error filled when the old file could not be read, the new one could not be written
// or the old one not deleted; the old file is only deleted after the new one is safely written.
bool ConvertOldRecurringDatesFile(QString* error = nullptr);

// Lists of entries are kept sorted by the whole line, ignoring letter case.
bool EntryLess(const QString& a, const QString& b);
// Index at which `line` goes into a sorted list: after every line that does not sort after it.
int SortedInsertIndex(const QStringList& sorted, const QString& line);

// The 26 built-in holiday entries, sorted.
QStringList BuiltInHolidayLines();

}  // namespace plennix
