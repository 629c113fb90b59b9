#include "calendar/calendar_settings.h"

#include "platform/locale_names.h"

namespace plennix {
namespace {

FontRecord TimesFont(int points, FontStyles style, TColor color = clWindowText) {
    FontRecord f;
    f.name = QStringLiteral("Times New Roman");
    f.setSize(points);
    f.style = style;
    f.color = color;
    return f;
}

void LoadSystemNames(CalendarSettings& s) {
    for (int m = 1; m <= 12; ++m) s.MonthNames[m - 1] = LongMonthName(m);
    for (int d = 1; d <= 7; ++d) s.DayNames[d - 1] = LongDayName(d);
}

// Fonts compare by name, style and colour; the size does not count as style.
bool SameFontLook(const FontRecord& a, const FontRecord& b) {
    return a.name == b.name && a.style == b.style && a.color == b.color;
}

}  // namespace

CalendarSettings::CalendarSettings() {
    LoadSystemNames(*this);
    TitleFont = TimesFont(26, fsBold);
    HeadersFont = TimesFont(16, fsBold);
    CellFont = TimesFont(16, fsBold);
    MiniTitleFont = TimesFont(6, fsBold);
    MiniHeadersFont = TimesFont(8, 0, clWhite);
    MiniCellFont = TimesFont(6, 0);
}

QString CalendarSettings::MonthName(int index, const QString& fallback) const {
    return (index >= 1 && index <= 12) ? MonthNames[index - 1] : fallback;
}

void CalendarSettings::SetMonthName(int index, const QString& name) {
    if (index >= 1 && index <= 12) MonthNames[index - 1] = name;
}

QString CalendarSettings::DayName(int index, const QString& fallback) const {
    return (index >= 1 && index <= 7) ? DayNames[index - 1] : fallback;
}

void CalendarSettings::SetDayName(int index, const QString& name) {
    if (index >= 1 && index <= 7) DayNames[index - 1] = name;
}

BorderTriple LineLayoutBorders(TCalendarLineLayout layout) {
    using enum TCalBorderStyle;
    switch (layout) {
    case TCalendarLineLayout::llHeadersAndCells: return {cbNone, cbAll, cbAll};
    case TCalendarLineLayout::llCellsOnly: return {cbNone, cbNone, cbAll};
    case TCalendarLineLayout::llFull: break;
    }
    return {cbAll, cbAll, cbAll};
}

BorderTriple MiniLineLayoutBorders(TMiniCalendarLineLayout layout) {
    using enum TCalBorderStyle;
    switch (layout) {
    case TMiniCalendarLineLayout::mllBoxed: return {cbAll, cbTopBottom, cbNone};
    case TMiniCalendarLineLayout::mllMinimal: return {cbNone, cbTop, cbNone};
    case TMiniCalendarLineLayout::mllFull: break;
    }
    return {cbAll, cbAll, cbAll};
}

bool CalendarSettings::SetCalendarLineLayout(TCalendarLineLayout value) {
    if (value == CalendarLineLayout) return false;
    CalendarLineLayout = value;
    BorderTriple b = LineLayoutBorders(value);
    CalendarBorder = b.calendar;
    HeadersBorder = b.headers;
    CellBorder = b.cells;
    return true;
}

bool CalendarSettings::SetMiniCalendarLineLayout(TMiniCalendarLineLayout value) {
    if (value == MiniCalendarLineLayout) return false;
    MiniCalendarLineLayout = value;
    BorderTriple b = MiniLineLayoutBorders(value);
    MiniCalBorder = b.calendar;
    MiniHeadersBorder = b.headers;
    MiniCellBorder = b.cells;
    return true;
}

void CalendarSettings::ResetToDefaults(const QDate& today) {
    CalendarLayout = TCalendarLayout::loFCMinisInTitleLS;
    PaperSize = 0;
    LeftMarginInch = TopMarginInch = RightMarginInch = BottomMarginInch = 0.5f;
    MainCalDay = today.day();
    MainCalMonth = today.month();
    MainCalYear = today.year();
    StartOfWeek = 1;
    UserTitle.clear();
    DayStartTime = 8.0 / 24.0;
    LoadSystemNames(*this);
    TitleBGColor = clWhite;
    TitleShowYear = true;
    HeadersBGColor = clWhite;
    SetCalendarLineLayout(TCalendarLineLayout::llFull);
    MiniHeadersFont.color = clBlack;
    MiniHeadersBGColor = clWhite;
    MiniCalBGColor = clWhite;
    MiniHeadersStyle = TCalHeadersStyle::dsFirstChar;
    MiniShowYear = true;
    SetMiniCalendarLineLayout(TMiniCalendarLineLayout::mllBoxed);
}

void CalendarSettings::AssignStyle(const CalendarSettings& src) {
    PaperSize = src.PaperSize;
    CalendarLayout = src.CalendarLayout;
    StartOfWeek = src.StartOfWeek;
    MonthNames = src.MonthNames;
    DayNames = src.DayNames;
    MainCalDay = src.MainCalDay;
    MainCalMonth = src.MainCalMonth;
    MainCalYear = src.MainCalYear;
    TitleFont = src.TitleFont;
    TitleBGColor = src.TitleBGColor;
    HeadersFont = src.HeadersFont;
    HeadersBGColor = src.HeadersBGColor;
    HeadersStyle = src.HeadersStyle;
    CellFont = src.CellFont;
    MiniCalBGColor = src.MiniCalBGColor;
    MiniTitleFont = src.MiniTitleFont;
    MiniHeadersFont = src.MiniHeadersFont;
    MiniHeadersBGColor = src.MiniHeadersBGColor;
    MiniHeadersStyle = src.MiniHeadersStyle;
    MiniCellFont = src.MiniCellFont;
    TitleShowYear = src.TitleShowYear;
    MiniShowYear = src.MiniShowYear;
    LeftMarginInch = src.LeftMarginInch;
    TopMarginInch = src.TopMarginInch;
    RightMarginInch = src.RightMarginInch;
    BottomMarginInch = src.BottomMarginInch;
    DayStartTime = src.DayStartTime;
    SetCalendarLineLayout(src.CalendarLineLayout);
    SetMiniCalendarLineLayout(src.MiniCalendarLineLayout);
    UserTitle = src.UserTitle;
}

bool CalendarSettings::SameStyle(const CalendarSettings& o) const {
    return PaperSize == o.PaperSize && CalendarLayout == o.CalendarLayout && StartOfWeek == o.StartOfWeek &&
           MonthNames == o.MonthNames && DayNames == o.DayNames && MainCalDay == o.MainCalDay &&
           MainCalMonth == o.MainCalMonth && MainCalYear == o.MainCalYear &&
           SameFontLook(TitleFont, o.TitleFont) && SameFontLook(HeadersFont, o.HeadersFont) &&
           SameFontLook(CellFont, o.CellFont) && SameFontLook(MiniTitleFont, o.MiniTitleFont) &&
           SameFontLook(MiniHeadersFont, o.MiniHeadersFont) && SameFontLook(MiniCellFont, o.MiniCellFont) &&
           TitleBGColor == o.TitleBGColor && HeadersBGColor == o.HeadersBGColor &&
           MiniHeadersBGColor == o.MiniHeadersBGColor && MiniCalBGColor == o.MiniCalBGColor &&
           HeadersStyle == o.HeadersStyle && MiniHeadersStyle == o.MiniHeadersStyle &&
           TitleShowYear == o.TitleShowYear && MiniShowYear == o.MiniShowYear &&
           LeftMarginInch == o.LeftMarginInch && TopMarginInch == o.TopMarginInch &&
           RightMarginInch == o.RightMarginInch && BottomMarginInch == o.BottomMarginInch &&
           DayStartTime == o.DayStartTime && CalendarLineLayout == o.CalendarLineLayout &&
           MiniCalendarLineLayout == o.MiniCalendarLineLayout && UserTitle == o.UserTitle;
}

void ApplyStoredPageSettings(CalendarSettings& s, StoredPageKind kind) {
    s.CalendarLayout = TCalendarLayout::loFCMinisInTitleLS;
    s.CalendarOrientation = TCalendarOrientation::coLandscape;
    s.MainCalMonth = 12;
    s.MainCalYear = 1997;
    s.HeadersStyle = TCalHeadersStyle::dsWhole;
    s.MiniCellBorder = TCalBorderStyle::cbAll;
    s.MiniHeadersBGColor = clBlack;
    s.TitleFont = TimesFont(kind == StoredPageKind::PreviewPage ? 48 : 26, s.TitleFont.style, clBlack);
    s.HeadersFont = TimesFont(16, s.HeadersFont.style, clBlack);
    s.CellFont = TimesFont(16, s.CellFont.style, clBlack);
    s.MiniTitleFont = TimesFont(10, s.MiniTitleFont.style, clWindowText);
    s.MiniHeadersFont = TimesFont(8, s.MiniHeadersFont.style, clWhite);
    s.MiniCellFont = TimesFont(8, s.MiniCellFont.style, clWindowText);
}

}  // namespace plennix
