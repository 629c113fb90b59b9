#include "calendar/calendar_files.h"

#include <QFileInfo>
#include <cmath>

#include "platform/file_io.h"
#include "platform/numbers.h"
#include "platform/stream_error.h"
#include "surface/graphic_control.h"
#include "surface/object_list.h"

namespace plennix {

namespace {

constexpr char kCellClassName[] = "TWPRtfStorage";
constexpr char kCellTextProperty[] = "RtfText.Data";
constexpr double kMSecsPerDay = 86400000.0;

[[noreturn]] void invalidValue() { throw StreamError(InvalidPropertyValueMessage()); }

// An ordinal outside its enumeration would index past the page's tables; it is refused, not stored.
int32_t readOrdinal(StreamReader& r, int count) {
    const int32_t v = r.ReadInteger();
    if (v < 0 || v >= count) invalidValue();
    return v;
}

template <class E>
void readEnum(StreamReader& r, E& field, int count) {
    field = static_cast<E>(readOrdinal(r, count));
}

constexpr int kBorderStyles = 5;
constexpr int kHeadersStyles = 3;
constexpr int kLineLayouts = 3;

void writeFont(ValueWriter& w, const FontRecord& f) {
    w.WriteString(f.name);
    w.WriteInteger(f.size());
    w.WriteBoolean((f.style & fsBold) != 0);
    w.WriteBoolean((f.style & fsItalic) != 0);
    w.WriteBoolean((f.style & fsUnderline) != 0);
    w.WriteBoolean((f.style & fsStrikeOut) != 0);
    w.WriteInteger(f.color);
}

// Each value goes into the font as it is read; the style is cleared before its four flags.
void readFont(StreamReader& r, FontRecord& f) {
    f.name = r.ReadString().left(255);
    f.setSize(r.ReadInteger());
    f.style = 0;
    if (r.ReadBoolean()) f.style |= fsBold;
    if (r.ReadBoolean()) f.style |= fsItalic;
    if (r.ReadBoolean()) f.style |= fsUnderline;
    if (r.ReadBoolean()) f.style |= fsStrikeOut;
    f.color = r.ReadInteger();
}

float marginFromHundredths(int32_t v) { return static_cast<float>(v / 100.0); }

void writeCell(ValueWriter& w, const TWPRtfStorage& cell) {
    w.WriteSignature();
    w.WriteShortStringBytes(kCellClassName);
    w.WriteShortStringBytes(QByteArray());
    if (!cell.IsEmpty()) {
        w.WriteShortStringBytes(kCellTextProperty);
        w.WriteBinary(cell.RtfData());
    }
    w.WriteByte(vaNull);  // end of properties
    w.WriteByte(vaNull);  // end of the (empty) child list
}

// A record without text empties the cell: the cell's text is the document's, not what the page held.
void readCell(StreamReader& r, TWPRtfStorage& cell) {
    r.ReadSignature();
    r.ReadShortStringBytes();  // class name, not used
    r.ReadShortStringBytes();  // component name, not used
    bool hasText = false;
    while (!r.NextIsEnd()) {
        const QByteArray name = r.ReadShortStringBytes();
        if (name.compare(kCellTextProperty, Qt::CaseInsensitive) != 0)
            throw StreamError(PropertyDoesNotExistMessage());
        cell.SetRtfData(r.ReadBinary());
        hasText = true;
    }
    if (!hasText) cell.Clear();
    r.ReadListEnd();
    r.ReadListEnd();
}

void writeHeader(ValueWriter& w, int version, int kind) {
    w.WriteListBegin();
    w.WriteInteger(version);
    w.WriteInteger(kind);
}

}  // namespace

int32_t MarginToHundredths(float inches) {
    const double v = inches;
    if (!std::isfinite(v)) return 0;
    // The nearest hundredth: truncation would turn 0.29 (0.28999999 as a float) into 0.28, and the
    // margin would shrink with every save.
    return roundHalfEven(v * 100.0);
}

HourMinute DecodeDayStartTime(double time) {
    if (!std::isfinite(time)) return {};
    // Whole milliseconds of the time of day, as a date-time value decodes.
    double ms = std::nearbyint(std::fabs(time - std::trunc(time)) * kMSecsPerDay);
    // A time a fraction of a millisecond before midnight would decode as hour 24, which no reader takes.
    ms = std::min(ms, kMSecsPerDay - 1);
    const auto whole = static_cast<int64_t>(ms);
    return {static_cast<int>(whole / 3600000), static_cast<int>((whole / 60000) % 60)};
}

double EncodeDayStartTime(int hour, int minute) {
    return (hour * 3600000.0 + minute * 60000.0) / kMSecsPerDay;
}

void WriteStyle(ValueWriter& w, const CalendarSettings& s) {
    w.WriteInteger(s.PaperSize);
    w.WriteInteger(static_cast<int>(s.CalendarOrientation));
    w.WriteInteger(MarginToHundredths(s.LeftMarginInch));
    w.WriteInteger(MarginToHundredths(s.TopMarginInch));
    w.WriteInteger(MarginToHundredths(s.RightMarginInch));
    w.WriteInteger(MarginToHundredths(s.BottomMarginInch));
    w.WriteInteger(static_cast<int>(s.CalendarLayout));
    w.WriteInteger(static_cast<int>(s.CalendarBorder));
    w.WriteInteger(static_cast<int>(s.CalendarLineLayout));
    for (const QString& name : s.MonthNames) w.WriteString(name);
    for (const QString& name : s.DayNames) w.WriteString(name);
    w.WriteInteger(s.TitleBGColor);
    writeFont(w, s.TitleFont);
    w.WriteBoolean(s.TitleShowYear);
    writeFont(w, s.HeadersFont);
    w.WriteInteger(static_cast<int>(s.HeadersBorder));
    w.WriteInteger(static_cast<int>(s.HeadersStyle));
    w.WriteInteger(s.HeadersBGColor);
    writeFont(w, s.CellFont);
    w.WriteInteger(static_cast<int>(s.CellBorder));
    w.WriteInteger(static_cast<int>(s.MiniCalendarLineLayout));
    w.WriteInteger(static_cast<int>(s.MiniCalBorder));
    w.WriteInteger(s.MiniCalBGColor);
    w.WriteBoolean(s.MiniShowYear);
    writeFont(w, s.MiniTitleFont);
    writeFont(w, s.MiniHeadersFont);
    w.WriteInteger(s.MiniHeadersBGColor);
    w.WriteInteger(static_cast<int>(s.MiniHeadersStyle));
    w.WriteInteger(static_cast<int>(s.MiniHeadersBorder));
    w.WriteInteger(static_cast<int>(s.MiniCellBorder));
    writeFont(w, s.MiniCellFont);
    w.WriteInteger(static_cast<int>(s.NumberPosition));
}

void ReadStyle(StreamReader& r, CalendarSettings& s) {
    s.PaperSize = static_cast<uint8_t>(readOrdinal(r, 2));
    readEnum(r, s.CalendarOrientation, 2);
    s.LeftMarginInch = marginFromHundredths(r.ReadInteger());
    s.TopMarginInch = marginFromHundredths(r.ReadInteger());
    s.RightMarginInch = marginFromHundredths(r.ReadInteger());
    s.BottomMarginInch = marginFromHundredths(r.ReadInteger());
    readEnum(r, s.CalendarLayout, kLayoutCount);
    readEnum(r, s.CalendarBorder, kBorderStyles);
    readEnum(r, s.CalendarLineLayout, kLineLayouts);
    for (QString& name : s.MonthNames) name = r.ReadString();
    for (QString& name : s.DayNames) name = r.ReadString();
    s.TitleBGColor = r.ReadInteger();
    readFont(r, s.TitleFont);
    s.TitleShowYear = r.ReadBoolean();
    readFont(r, s.HeadersFont);
    readEnum(r, s.HeadersBorder, kBorderStyles);
    readEnum(r, s.HeadersStyle, kHeadersStyles);
    s.HeadersBGColor = r.ReadInteger();
    readFont(r, s.CellFont);
    readEnum(r, s.CellBorder, kBorderStyles);
    readEnum(r, s.MiniCalendarLineLayout, kLineLayouts);
    readEnum(r, s.MiniCalBorder, kBorderStyles);
    s.MiniCalBGColor = r.ReadInteger();
    s.MiniShowYear = r.ReadBoolean();
    readFont(r, s.MiniTitleFont);
    readFont(r, s.MiniHeadersFont);
    s.MiniHeadersBGColor = r.ReadInteger();
    readEnum(r, s.MiniHeadersStyle, kHeadersStyles);
    readEnum(r, s.MiniHeadersBorder, kBorderStyles);
    readEnum(r, s.MiniCellBorder, kBorderStyles);
    readFont(r, s.MiniCellFont);
    readEnum(r, s.NumberPosition, 2);
}

QByteArray WriteDocument(const CalendarSettings& s, const CellStores& cells,
                         const std::vector<const TGGraphicControl*>& objects) {
    QByteArray out;
    ValueWriter w(out);
    writeHeader(w, kDocumentVersion, kDocumentKind);
    WriteStyle(w, s);
    w.WriteInteger(s.MainCalDay);
    w.WriteInteger(s.MainCalMonth);
    w.WriteInteger(s.MainCalYear);
    w.WriteInteger(s.StartOfWeek);
    const HourMinute start = DecodeDayStartTime(s.DayStartTime);
    w.WriteInteger(start.hour);
    w.WriteInteger(start.minute);
    for (const TWPRtfStorage& cell : cells) writeCell(w, cell);
    w.WriteString(s.UserTitle);
    w.WriteListEnd();
    WriteObjectList(out, objects);
    return out;
}

FileHeader ReadFileHeader(StreamReader& r) {
    r.ReadListBegin();
    FileHeader h;
    h.version = r.ReadInteger();
    h.kind = r.ReadInteger();
    return h;
}

void ReadDocumentPage(StreamReader& r, CalendarSettings& s, CellStores& cells, int version) {
    s.MainCalDay = r.ReadInteger();
    s.MainCalMonth = r.ReadInteger();
    s.MainCalYear = r.ReadInteger();
    s.StartOfWeek = r.ReadInteger();
    const int hour = r.ReadInteger();
    const int minute = r.ReadInteger();
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59) invalidValue();
    s.DayStartTime = EncodeDayStartTime(hour, minute);
    for (TWPRtfStorage& cell : cells) readCell(r, cell);
    // A first-version document has no title of its own.
    if (version > 1)
        s.UserTitle = r.ReadString();
    else
        s.UserTitle.clear();
    r.ReadListEnd();
}

void ReadDocument(StreamReader& r, CalendarSettings& s, CellStores& cells, QObject* owner, TGObjectList* list,
                  QObject* namingOwner) {
    const FileHeader header = ReadFileHeader(r);  // the kind is not checked: the layout tells
    ReadStyle(r, s);
    ReadDocumentPage(r, s, cells, header.version);
    qint64 budget = kMaxDocumentPicturePixels;
    const RtfReadReport richText = ReadCellTexts(cells, budget);
    if (header.version <= 2) {
        if (list) {
            ObjectListReadReport report;
            report.richText = richText;
            list->SetLastReadReport(report);
        }
        return;
    }
    // The placed objects' rich texts share what the cells left of the budget.
    try {
        ReadObjectList(r, owner, list, namingOwner, false, nullptr, &budget);
    } catch (const StreamError&) {
        // A damaged objects list costs the objects from the damage on, not the page.
    }
    if (list) {
        ObjectListReadReport report = list->LastReadReport();
        report.richText += richText;
        list->SetLastReadReport(report);
    }
}

QByteArray WriteStyleSheet(const CalendarSettings& s) {
    QByteArray out;
    ValueWriter w(out);
    writeHeader(w, kStyleSheetVersion, kStyleSheetKind);
    WriteStyle(w, s);
    w.WriteListEnd();
    return out;
}

void ReadStyleSheet(StreamReader& r, CalendarSettings& s) {
    ReadFileHeader(r);  // version and kind are not used
    ReadStyle(r, s);
    r.ReadListEnd();
}

namespace {

void saveFile(const QString& path, const QByteArray& content) {
    QString error;
    if (!WriteFileAtomically(path, content, &error)) throw FileError(error);
}

QByteArray loadFile(const QString& path, qint64 maxBytes) {
    if (!QFileInfo::exists(path)) throw FileError(QStringLiteral("File %1 no longer exists").arg(path));
    return ReadWholeFileOrThrow(path, maxBytes);
}

}  // namespace

void SaveDocumentFile(const QString& path, const CalendarSettings& s, const CellStores& cells,
                      const std::vector<const TGGraphicControl*>& objects) {
    saveFile(path, WriteDocument(s, cells, objects));
}

void LoadDocumentFile(const QString& path, CalendarSettings& s, CellStores& cells, QObject* owner,
                      TGObjectList* list, QObject* namingOwner) {
    StreamReader r(loadFile(path, kMaxDocumentFileBytes));
    ReadDocument(r, s, cells, owner, list, namingOwner);
}

void SaveStyleSheetFile(const QString& path, const CalendarSettings& s) { saveFile(path, WriteStyleSheet(s)); }

void LoadStyleSheetFile(const QString& path, CalendarSettings& s) {
    StreamReader r(loadFile(path, kMaxStyleSheetFileBytes));
    ReadStyleSheet(r, s);
}

}  // namespace plennix
