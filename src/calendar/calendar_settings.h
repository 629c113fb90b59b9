#pragma once
// The settings of a calendar page as a plain value: layout, date, names, fonts, colours, line styles,
// margins and paper. The page widget holds one of these and calls ArrangeLayout and the drawing
// routines with it; the document reader stores values straight into the fields (no preset runs).
#include <QDate>
#include <QString>
#include <array>
#include <cstdint>

#include "platform/colors.h"
#include "platform/font.h"

namespace plennix {

// The 22 page layouts; the ordinal is what documents store.
enum class TCalendarLayout : uint8_t {
    loFullCalendar,
    LOFullCalendarLS,
    loFCMinisInTitle,
    loFCMinisInTitleLS,
    loFC6Before6After,
    loFC6Before6AfterLS,
    loFC12After,
    loFC12AfterLS,
    lopMC6Month,
    lopMC6MonthLS,
    loMC12Month,
    loMC12MonthLS,
    loMC24Month,
    loMC24MonthLS,
    loMC48Month,
    loMC48MonthLS,
    loMC60Month,
    loMC60MonthLS,
    loWeek,
    lo2Week,
    loDay10,
    loDay15,
};
constexpr int kLayoutCount = 22;

enum class TCalBorderStyle : uint8_t { cbNone, cbAll, cbTop, cbBottom, cbTopBottom };
enum class TCalHeadersStyle : uint8_t { dsFirstChar, dsThreeChars, dsWhole };
enum class TCalendarLineLayout : uint8_t { llFull, llHeadersAndCells, llCellsOnly };
enum class TMiniCalendarLineLayout : uint8_t { mllFull, mllBoxed, mllMinimal };
enum class TCalendarNumberPosition : uint8_t { cnpCenter, cnpUpperRight };
enum class TCalendarOrientation : uint8_t { coPortrait, coLandscape };
enum class TLPanelState : uint8_t { psPointing, psLabel, psImage, psRichLabel, psSuperText, psFlatCalendar };

// Number of day cell slots of a page.
constexpr int kCellCount = 42;

struct CalendarSettings {
    TCalendarLayout CalendarLayout = TCalendarLayout::loFullCalendar;
    TCalendarOrientation CalendarOrientation = TCalendarOrientation::coPortrait;
    uint8_t PaperSize = 0;  // 0 Letter, 1 A4
    float LeftMarginInch = 0.25f, TopMarginInch = 0.25f, RightMarginInch = 0.25f, BottomMarginInch = 0.25f;
    int32_t MainCalDay = 0, MainCalMonth = 1, MainCalYear = 1997;
    int32_t StartOfWeek = 1;  // 1: weeks begin on Sunday; anything else: on Monday
    QString UserTitle;
    double DayStartTime = 8.0 / 24.0;  // fraction of a day
    std::array<QString, 12> MonthNames;  // month 1 at index 0
    std::array<QString, 7> DayNames;     // Sunday at index 0

    FontRecord TitleFont;
    TColor TitleBGColor = clWhite;
    bool TitleShowYear = true;
    FontRecord HeadersFont;
    TColor HeadersBGColor = clWhite;
    TCalHeadersStyle HeadersStyle = TCalHeadersStyle::dsThreeChars;
    TCalBorderStyle HeadersBorder = TCalBorderStyle::cbAll;
    FontRecord CellFont;
    TCalBorderStyle CellBorder = TCalBorderStyle::cbAll;
    TCalBorderStyle CalendarBorder = TCalBorderStyle::cbAll;
    TCalendarNumberPosition NumberPosition = TCalendarNumberPosition::cnpUpperRight;
    TCalendarLineLayout CalendarLineLayout = TCalendarLineLayout::llFull;

    FontRecord MiniTitleFont;
    FontRecord MiniHeadersFont;
    FontRecord MiniCellFont;
    TColor MiniHeadersBGColor = clWhite;
    TColor MiniCalBGColor = clWhite;
    TCalHeadersStyle MiniHeadersStyle = TCalHeadersStyle::dsFirstChar;
    bool MiniShowYear = true;
    TCalBorderStyle MiniCalBorder = TCalBorderStyle::cbAll;
    TCalBorderStyle MiniHeadersBorder = TCalBorderStyle::cbBottom;
    TCalBorderStyle MiniCellBorder = TCalBorderStyle::cbNone;
    // Only the field: the constructor's mini borders are not those of mllFull.
    TMiniCalendarLineLayout MiniCalendarLineLayout = TMiniCalendarLineLayout::mllFull;

    TLPanelState PanelState = TLPanelState::psPointing;

    // The constructor's values: system month and day names, the six fonts.
    CalendarSettings();

    // Names by the system's 1-based indexes; out of range reads give `fallback`, writes are ignored.
    QString MonthName(int index, const QString& fallback = QString()) const;
    void SetMonthName(int index, const QString& name);
    QString DayName(int index, const QString& fallback = QString()) const;
    void SetDayName(int index, const QString& name);

    // Line-layout presets: a different value overwrites the three borders; the same value changes
    // nothing. Return whether anything changed (the page then repaints).
    bool SetCalendarLineLayout(TCalendarLineLayout value);
    bool SetMiniCalendarLineLayout(TMiniCalendarLineLayout value);

    // The values of a new document (`today` gives the date shown). The caller runs ArrangeLayout with
    // ResetMiniFonts true afterwards.
    void ResetToDefaults(const QDate& today = QDate::currentDate());

    // Copies the style of another page (not NumberPosition, not the individual borders except through
    // the presets). The caller runs ArrangeLayout without resetting the mini fonts afterwards.
    void AssignStyle(const CalendarSettings& source);
    bool SameStyle(const CalendarSettings& other) const;
};

// The two instances of the page start from stored window descriptions that differ from the
// constructor's values.
enum class StoredPageKind { DocumentPage, PreviewPage };
void ApplyStoredPageSettings(CalendarSettings& settings, StoredPageKind kind);

// Borders of a preset.
struct BorderTriple {
    TCalBorderStyle calendar, headers, cells;
};
BorderTriple LineLayoutBorders(TCalendarLineLayout layout);
BorderTriple MiniLineLayoutBorders(TMiniCalendarLineLayout layout);

}  // namespace plennix
