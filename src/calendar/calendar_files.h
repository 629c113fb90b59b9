#pragma once
// The calendar document (.PXF) and the style sheet (.PXS): tagged values written with the object
// stream's encoding. A document is a list of version, kind, the style block, the date, the day start
// time, 42 cell records and the user title, followed by the list of placed objects; a style sheet is a
// list of version, kind and the style block alone.
//
// Readers store every value straight into the settings as it is read (no line-layout preset runs), so
// a failure part way leaves the values read so far in place. They throw StreamError on bad input;
// the page runs ArrangeLayout itself afterwards.
#include <QByteArray>
#include <QObject>
#include <QString>
#include <vector>

#include "calendar/calendar_settings.h"
#include "calendar/cell_texts.h"
#include "surface/object_stream.h"

namespace plennix {

class TGGraphicControl;
class TGObjectList;

// Format versions written, and the file kinds of the header.
constexpr int kDocumentVersion = 3;
constexpr int kStyleSheetVersion = 1;
constexpr int kDocumentKind = 1;
constexpr int kStyleSheetKind = 2;

// Refused before reading: no real calendar comes near these sizes.
constexpr qint64 kMaxDocumentFileBytes = 256LL * 1024 * 1024;
constexpr qint64 kMaxStyleSheetFileBytes = 16LL * 1024 * 1024;

// The style block alone.
void WriteStyle(ValueWriter& w, const CalendarSettings& s);
// Throws StreamError; an enumeration ordinal out of range is "Invalid property value" and is not stored.
void ReadStyle(StreamReader& r, CalendarSettings& s);

QByteArray WriteDocument(const CalendarSettings& s, const CellStores& cells,
                         const std::vector<const TGGraphicControl*>& objects);
// Reads a whole document into `s` and `cells`. Objects are created with `owner`, added to `list` and
// named against `namingOwner`. An error inside the objects list ends object reading silently (the
// objects read before it stay); any other format error throws StreamError with the values read so far
// applied.
void ReadDocument(StreamReader& r, CalendarSettings& s, CellStores& cells, QObject* owner, TGObjectList* list,
                  QObject* namingOwner);

// The parts of a document, for readers that treat the objects list their own way (the dump):
// the header (list begin, version, kind, both as stored) and the page after the style block (date, day
// start time, cells, user title from version 2, list end). Versions above 3 read as version 3.
struct FileHeader {
    int version = 0;
    int kind = 0;
};
FileHeader ReadFileHeader(StreamReader& r);
void ReadDocumentPage(StreamReader& r, CalendarSettings& s, CellStores& cells, int version);

QByteArray WriteStyleSheet(const CalendarSettings& s);
void ReadStyleSheet(StreamReader& r, CalendarSettings& s);

// Files: writes are atomic (the old file survives a failure, a full disk included); reads refuse what is
// not a regular file and oversized files. A file that cannot be written or read throws FileError, damaged
// content StreamError; both messages name the file.
void SaveDocumentFile(const QString& path, const CalendarSettings& s, const CellStores& cells,
                      const std::vector<const TGGraphicControl*>& objects);
void LoadDocumentFile(const QString& path, CalendarSettings& s, CellStores& cells, QObject* owner,
                      TGObjectList* list, QObject* namingOwner);
void SaveStyleSheetFile(const QString& path, const CalendarSettings& s);
void LoadStyleSheetFile(const QString& path, CalendarSettings& s);

// The day start time as the hour and minute a document stores (seconds dropped), and back.
struct HourMinute {
    int hour = 0;
    int minute = 0;
};
HourMinute DecodeDayStartTime(double time);
double EncodeDayStartTime(int hour, int minute);

// A margin in inches as the whole hundredths a style block stores.
int32_t MarginToHundredths(float inches);

}  // namespace plennix
