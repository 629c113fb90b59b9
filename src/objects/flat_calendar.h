#pragma once
// The floating mini calendar: a one-month calendar placed freely on the page, with a title, a row of
// day names and six week rows, each part with its own font, ground colour and lines, an optional drop
// shadow and day and month names in five languages. The geometry, the names and the drawing are plain
// functions over a value type (FlatCalendarStyle); TGFlatCalendar holds one and wires it to the surface.
#include <QString>
#include <QStringList>
#include <array>

#include "platform/canvas.h"
#include "platform/colors.h"
#include "platform/font.h"
#include "platform/rect.h"
#include "surface/graphic_control.h"

namespace plennix {

enum TFlatCalBorderStyle : uint8_t { fcbNone, fcbAll, fcbTop, fcbBottom, fcbTopBottom };
enum TFlatCalHeadersStyle : uint8_t { fdsFirstChar, fdsThreeChars, fdsWhole };
enum TFlatShadowPosition : uint8_t { fcpLowerRight, fcpLowerLeft, fcpUpperRight, fcpUpperLeft };
enum TFlatCalLanguage : uint8_t { fclEnglish, fclGerman, fclFrench, fclItalian, fclSpanish };

QStringList FlatCalBorderStyleNames();
QStringList FlatCalHeadersStyleNames();
QStringList FlatShadowPositionNames();
QStringList FlatCalLanguageNames();

// The twelve month names (January first) and seven day names (Sunday first) of a language; a value
// outside the five languages gives the English names.
const std::array<QString, 12>& FlatMonthNames(TFlatCalLanguage language);
const std::array<QString, 7>& FlatDayNames(TFlatCalLanguage language);
// The month's name, empty for a month outside 1..12.
QString FlatMonthName(TFlatCalLanguage language, int month);
// What the day-name row shows of a name.
QString FlatDayNameText(const QString& name, TFlatCalHeadersStyle style);
// The day shown in column 0..6 of the day-name row: 1 Sunday .. 7 Saturday.
int FlatColumnDay(int column, int startOfWeek);
// The column 1..7 of the month's first day; 0 for a month that does not exist.
int FlatFirstColumn(int year, int month, int startOfWeek);
// The day number shown in week row 0..5 and column 0..6, or 0 when that cell stays empty.
int FlatCellDay(int row, int column, int firstColumn, int daysInMonth);

// Where the calendar and its shadow lie inside an object of W x H pixels.
struct FlatShadowGeometry {
    Rect calendar;
    Rect shadow;
    bool hasShadow = false;
};
FlatShadowGeometry ComputeFlatShadow(int width, int height, int shadowDepth, TFlatShadowPosition position,
                                     float zoom, bool transparent);

// The rows of the calendar inside K (the calendar rectangle), given the measured heights.
struct FlatCalendarLayout {
    Rect R;          // K with its right and bottom edges moved in by one pixel
    Rect title;      // spans R's width
    Rect dayNames;   // the day-name row
    int bodyTop = 0;
    int columnWidth = 0;
    int rowHeight = 0;
    // Week row r (0..5), column i (0..6): where its number is centred.
    Rect CellRect(int row, int column) const;
    // Column i of the day-name row.
    Rect DayNameRect(int column) const;
    // Y of grid line k (0..6); line 6 lies at R's bottom.
    int GridLineY(int k) const;
};
// `wyHeight` is the text height of "Wy" in the title font, `dayNameFontHeight` the day-name font's
// height in pixels (its sign is ignored).
FlatCalendarLayout ComputeFlatLayout(const Rect& K, int wyHeight, int dayNameFontHeight);

// The font of a part at a zoom: its size in points times the zoom, truncated.
FontRecord FlatZoomedFont(const FontRecord& font, float zoom);

// Every published property of the mini calendar but the common ones, as one value.
struct FlatCalendarStyle {
    int StartOfWeek = 1;
    int Month = 1;
    int Year = 2000;
    FontRecord TitleFont;
    FontRecord DayNameFont;
    FontRecord CellFont;
    bool ShowYear = false;
    TColor DayNameBGColor = clWhite;
    TFlatCalBorderStyle CalendarBorderStyle = fcbAll;
    TFlatCalBorderStyle DayNameBorderStyle = fcbAll;
    TFlatCalBorderStyle CellBorderStyle = fcbNone;
    TFlatCalHeadersStyle DayNameStyle = fdsFirstChar;
    TColor TitleBGcolor = clWhite;
    TColor Backgroundcolor = clWhite;
    TColor ShadowColor = clBlack;
    int ShadowDepth = 0;
    TFlatShadowPosition ShadowPosition = fcpLowerRight;
    TFlatCalLanguage Language = fclEnglish;
    bool CalTransparent = false;

    bool operator==(const FlatCalendarStyle&) const = default;
};

// Draws the calendar into (0, 0, W, H) of the canvas at a zoom.
void DrawFlatCalendar(Canvas& canvas, const FlatCalendarStyle& style, int width, int height, float zoom);
// Draws the lines of a rectangle by a border style with the current pen.
void DrawFlatBorder(Canvas& canvas, const Rect& r, TFlatCalBorderStyle style);

class TGFlatCalendar : public TGGraphicControl {
    Q_OBJECT
public:
    explicit TGFlatCalendar(QObject* owner = nullptr);
    ~TGFlatCalendar() override;

    QString ClassName() const override { return QStringLiteral("TGFlatCalendar"); }
    const PropertyTable& Properties() const override;

    const FlatCalendarStyle& Style() const { return m_style; }

    // Published properties; every setter ignores an unchanged value and repaints.
    int StartOfWeek() const { return m_style.StartOfWeek; }
    void SetStartOfWeek(int value);  // 1 or 2 only
    int Month() const { return m_style.Month; }
    void SetMonth(int value);
    int Year() const { return m_style.Year; }
    void SetYear(int value);
    const FontRecord& TitleFont() const { return m_style.TitleFont; }
    void SetTitleFont(const FontRecord& font);
    const FontRecord& DayNameFont() const { return m_style.DayNameFont; }
    void SetDayNameFont(const FontRecord& font);
    const FontRecord& CellFont() const { return m_style.CellFont; }
    void SetCellFont(const FontRecord& font);
    bool ShowYear() const { return m_style.ShowYear; }
    void SetShowYear(bool value);
    TColor DayNameBGColor() const { return m_style.DayNameBGColor; }
    void SetDayNameBGColor(TColor value);
    TFlatCalBorderStyle CalendarBorderStyle() const { return m_style.CalendarBorderStyle; }
    void SetCalendarBorderStyle(TFlatCalBorderStyle value);
    TFlatCalBorderStyle DayNameBorderStyle() const { return m_style.DayNameBorderStyle; }
    void SetDayNameBorderStyle(TFlatCalBorderStyle value);
    TFlatCalBorderStyle CellBorderStyle() const { return m_style.CellBorderStyle; }
    void SetCellBorderStyle(TFlatCalBorderStyle value);
    TFlatCalHeadersStyle DayNameStyle() const { return m_style.DayNameStyle; }
    void SetDayNameStyle(TFlatCalHeadersStyle value);
    TColor TitleBGcolor() const { return m_style.TitleBGcolor; }
    void SetTitleBGcolor(TColor value);
    TColor Backgroundcolor() const { return m_style.Backgroundcolor; }
    void SetBackgroundcolor(TColor value);
    TColor ShadowColor() const { return m_style.ShadowColor; }
    void SetShadowColor(TColor value);
    int ShadowDepth() const { return m_style.ShadowDepth; }
    void SetShadowDepth(int value);  // values above 10 are ignored
    TFlatShadowPosition ShadowPosition() const { return m_style.ShadowPosition; }
    void SetShadowPosition(TFlatShadowPosition value);
    TFlatCalLanguage Language() const { return m_style.Language; }
    void SetLanguage(TFlatCalLanguage value);
    bool CalTransparent() const { return m_style.CalTransparent; }
    void SetCalTransparent(bool value);

    void Paint(Canvas& canvas) override;
    void PrintTo(TReport& report, double leftOffset, double topOffset) override;

    // The drawing as a vector picture of the object's size, in object pixels.
    QPicture ToPicture();
    // Takes the look and the date of another mini calendar (the editor's sample on OK), without its
    // size, and reports the change.
    void AssignStyle(const TGFlatCalendar& other);
    // Loads the editor's sample: the same look and date, at the size the object has at zoom 1.
    void CopyToSample(TGFlatCalendar& sample) const;

private:
    void fontChanged();

    FlatCalendarStyle m_style;
};

// Registers TGFlatCalendar with the object records.
void RegisterFlatCalendarClass();

}  // namespace plennix
