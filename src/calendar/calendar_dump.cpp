#include "calendar/calendar_dump.h"

#include <QFileInfo>
#include <QStringList>
#include <memory>

#include "calendar/calendar_files.h"
#include "platform/colors.h"
#include "platform/file_io.h"
#include "platform/stream_error.h"
#include "surface/object_stream.h"

namespace plennix {

namespace {

const QStringList& layoutNames() {
    static const QStringList names{
        "loFullCalendar",  "LOFullCalendarLS", "loFCMinisInTitle", "loFCMinisInTitleLS", "loFC6Before6After",
        "loFC6Before6AfterLS", "loFC12After",  "loFC12AfterLS",   "lopMC6Month",        "lopMC6MonthLS",
        "loMC12Month",     "loMC12MonthLS",    "loMC24Month",      "loMC24MonthLS",      "loMC48Month",
        "loMC48MonthLS",   "loMC60Month",      "loMC60MonthLS",    "loWeek",             "lo2Week",
        "loDay10",         "loDay15"};
    return names;
}

template <class E>
QString enumName(E value, const QStringList& names) {
    const int i = static_cast<int>(value);
    return i >= 0 && i < names.size() ? names[i] : QString::number(i);
}

QString borderName(TCalBorderStyle v) {
    return enumName(v, {"cbNone", "cbAll", "cbTop", "cbBottom", "cbTopBottom"});
}
QString headersStyleName(TCalHeadersStyle v) { return enumName(v, {"dsFirstChar", "dsThreeChars", "dsWhole"}); }

QString colorText(TColor c) {
    if (const auto name = ColorToIdent(c)) return *name;
    return QStringLiteral("$%1").arg(static_cast<uint32_t>(c), 8, 16, QLatin1Char('0')).toUpper();
}

// A string in quotes, with quotes doubled and control characters as #n, like the record text form.
QString quoted(const QString& s) {
    QString out;
    bool inQuotes = false;
    for (const QChar ch : s) {
        if (ch.unicode() < 0x20) {
            if (inQuotes) out += QLatin1Char('\'');
            inQuotes = false;
            out += QLatin1Char('#') + QString::number(ch.unicode());
        } else {
            if (!inQuotes) out += QLatin1Char('\'');
            inQuotes = true;
            if (ch == QLatin1Char('\'')) out += QLatin1Char('\'');
            out += ch;
        }
    }
    if (inQuotes) out += QLatin1Char('\'');
    return out.isEmpty() ? QStringLiteral("''") : out;
}

QString fontText(const FontRecord& f) {
    QStringList styles;
    if (f.style & fsBold) styles << QStringLiteral("fsBold");
    if (f.style & fsItalic) styles << QStringLiteral("fsItalic");
    if (f.style & fsUnderline) styles << QStringLiteral("fsUnderline");
    if (f.style & fsStrikeOut) styles << QStringLiteral("fsStrikeOut");
    return QStringLiteral("%1, %2 pt, [%3], %4")
        .arg(quoted(f.name))
        .arg(f.size())
        .arg(styles.join(QStringLiteral(", ")), colorText(f.color));
}

class Lines {
public:
    void Add(const QString& name, const QString& value) { m_text += name + QStringLiteral(" = ") + value + '\n'; }
    void Add(const QString& line) { m_text += line + '\n'; }
    QString Text() const { return m_text; }

private:
    QString m_text;
};

void dumpStyle(Lines& out, const CalendarSettings& s) {
    out.Add(QStringLiteral("PaperSize"),
            QString::number(s.PaperSize) + (s.PaperSize == 1 ? QStringLiteral(" (A4)") : QStringLiteral(" (Letter)")));
    out.Add(QStringLiteral("CalendarOrientation"), enumName(s.CalendarOrientation, {"coPortrait", "coLandscape"}));
    out.Add(QStringLiteral("LeftMarginInch"), QString::number(s.LeftMarginInch, 'f', 2));
    out.Add(QStringLiteral("TopMarginInch"), QString::number(s.TopMarginInch, 'f', 2));
    out.Add(QStringLiteral("RightMarginInch"), QString::number(s.RightMarginInch, 'f', 2));
    out.Add(QStringLiteral("BottomMarginInch"), QString::number(s.BottomMarginInch, 'f', 2));
    out.Add(QStringLiteral("CalendarLayout"), enumName(s.CalendarLayout, layoutNames()));
    out.Add(QStringLiteral("CalendarBorder"), borderName(s.CalendarBorder));
    out.Add(QStringLiteral("CalendarLineLayout"),
            enumName(s.CalendarLineLayout, {"llFull", "llHeadersAndCells", "llCellsOnly"}));
    for (int m = 1; m <= 12; ++m) out.Add(QStringLiteral("MonthNames[%1]").arg(m), quoted(s.MonthName(m)));
    for (int d = 1; d <= 7; ++d) out.Add(QStringLiteral("DayNames[%1]").arg(d), quoted(s.DayName(d)));
    out.Add(QStringLiteral("TitleBGColor"), colorText(s.TitleBGColor));
    out.Add(QStringLiteral("TitleFont"), fontText(s.TitleFont));
    out.Add(QStringLiteral("TitleShowYear"), s.TitleShowYear ? QStringLiteral("True") : QStringLiteral("False"));
    out.Add(QStringLiteral("HeadersFont"), fontText(s.HeadersFont));
    out.Add(QStringLiteral("HeadersBorder"), borderName(s.HeadersBorder));
    out.Add(QStringLiteral("HeadersStyle"), headersStyleName(s.HeadersStyle));
    out.Add(QStringLiteral("HeadersBGColor"), colorText(s.HeadersBGColor));
    out.Add(QStringLiteral("CellFont"), fontText(s.CellFont));
    out.Add(QStringLiteral("CellBorder"), borderName(s.CellBorder));
    out.Add(QStringLiteral("MiniCalendarLineLayout"),
            enumName(s.MiniCalendarLineLayout, {"mllFull", "mllBoxed", "mllMinimal"}));
    out.Add(QStringLiteral("MiniCalBorder"), borderName(s.MiniCalBorder));
    out.Add(QStringLiteral("MiniCalBGColor"), colorText(s.MiniCalBGColor));
    out.Add(QStringLiteral("MiniShowYear"), s.MiniShowYear ? QStringLiteral("True") : QStringLiteral("False"));
    out.Add(QStringLiteral("MiniTitleFont"), fontText(s.MiniTitleFont));
    out.Add(QStringLiteral("MiniHeadersFont"), fontText(s.MiniHeadersFont));
    out.Add(QStringLiteral("MiniHeadersBGColor"), colorText(s.MiniHeadersBGColor));
    out.Add(QStringLiteral("MiniHeadersStyle"), headersStyleName(s.MiniHeadersStyle));
    out.Add(QStringLiteral("MiniHeadersBorder"), borderName(s.MiniHeadersBorder));
    out.Add(QStringLiteral("MiniCellBorder"), borderName(s.MiniCellBorder));
    out.Add(QStringLiteral("MiniCellFont"), fontText(s.MiniCellFont));
    out.Add(QStringLiteral("NumberPosition"), enumName(s.NumberPosition, {"cnpCenter", "cnpUpperRight"}));
}

void dumpPage(Lines& out, const CalendarSettings& s, const CellStores& cells) {
    out.Add(QStringLiteral("MainCalDay"), QString::number(s.MainCalDay));
    out.Add(QStringLiteral("MainCalMonth"), QString::number(s.MainCalMonth));
    out.Add(QStringLiteral("MainCalYear"), QString::number(s.MainCalYear));
    out.Add(QStringLiteral("StartOfWeek"), QString::number(s.StartOfWeek));
    const HourMinute t = DecodeDayStartTime(s.DayStartTime);
    out.Add(QStringLiteral("DayStartTime"),
            QStringLiteral("%1:%2").arg(t.hour).arg(t.minute, 2, 10, QLatin1Char('0')));
    for (int i = 0; i < kCellCount; ++i) {
        const TWPRtfStorage& cell = cells[i];
        if (cell.IsEmpty()) continue;
        out.Add(QStringLiteral("Cell %1:").arg(i + 1));
        QString text = cell.Text().plainText();
        text.replace(QChar(0xFFFC), QStringLiteral("[picture]"));
        for (const QString& line : text.split(QLatin1Char('\n'))) out.Add(QStringLiteral("    ") + line);
    }
    out.Add(QStringLiteral("UserTitle"), quoted(s.UserTitle));
}

// The records of an object list; reading stops at damage, as loading does, and says so.
void dumpObjects(Lines& out, StreamReader& r) {
    try {
        r.ReadListBegin();
        while (!r.NextIsEnd()) out.Add(ObjectRecordToText(r).chopped(1));
        r.ReadListEnd();
    } catch (const StreamError& e) {
        out.Add(QStringLiteral("(objects list unreadable from byte %1: %2)").arg(r.Position()).arg(e.message()));
    }
}

}  // namespace

QString DumpCalendarBytes(const QByteArray& bytes, const QString& what) {
    StreamReader r(bytes);
    Lines out;
    // A clipboard file is a bare object list: its first record's signature, or its end, follows the list
    // begin; documents and style sheets have an integer there.
    if (bytes.size() >= 2 && bytes[0] == char(vaList) && (bytes[1] == 'T' || bytes[1] == char(vaNull))) {
        out.Add(QStringLiteral("Clipboard file"));
        dumpObjects(out, r);
        return out.Text();
    }

    const FileHeader header = ReadFileHeader(r);
    auto settings = std::make_unique<CalendarSettings>();
    ReadStyle(r, *settings);
    // Where a document continues with its day, a style sheet ends its list.
    if (r.NextIsEnd()) {
        r.ReadListEnd();
        out.Add(QStringLiteral("Calendar style sheet, format version %1, kind %2").arg(header.version).arg(header.kind));
        dumpStyle(out, *settings);
        return out.Text();
    }
    auto cells = std::make_unique<CellStores>();
    ReadDocumentPage(r, *settings, *cells, header.version);
    qint64 budget = kMaxDocumentPicturePixels;
    const RtfReadReport richText = ReadCellTexts(*cells, budget);
    out.Add(QStringLiteral("Calendar document, format version %1, kind %2").arg(header.version).arg(header.kind));
    if (!richText.Complete()) out.Add(QStringLiteral("Left out: ") + RtfReadMessage(richText, what).simplified());
    dumpStyle(out, *settings);
    dumpPage(out, *settings, *cells);
    if (header.version > 2) {
        out.Add(QStringLiteral("Objects:"));
        dumpObjects(out, r);
    }
    return out.Text();
}

QString DumpCalendarFile(const QString& path) {
    return DumpCalendarBytes(ReadWholeFileOrThrow(path, kMaxDocumentFileBytes), QFileInfo(path).fileName());
}

}  // namespace plennix
