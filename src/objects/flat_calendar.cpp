#include "objects/flat_calendar.h"

#include <QDate>
#include <QPainter>
#include <QPicture>
#include <algorithm>
#include <cstdlib>

#include "platform/dates.h"
#include "platform/numbers.h"
#include "platform/ppi.h"
#include "printing/report.h"

namespace plennix {

QStringList FlatCalBorderStyleNames() { return {"fcbNone", "fcbAll", "fcbTop", "fcbBottom", "fcbTopBottom"}; }
QStringList FlatCalHeadersStyleNames() { return {"fdsFirstChar", "fdsThreeChars", "fdsWhole"}; }
QStringList FlatShadowPositionNames() { return {"fcpLowerRight", "fcpLowerLeft", "fcpUpperRight", "fcpUpperLeft"}; }
QStringList FlatCalLanguageNames() { return {"fclEnglish", "fclGerman", "fclFrench", "fclItalian", "fclSpanish"}; }

namespace {

using Months = std::array<QString, 12>;
using Days = std::array<QString, 7>;

const Months kMonths[5] = {
    {"January", "February", "March", "April", "May", "June", "July", "August", "September", "October",
     "November", "December"},
    {"Januar", "Februar", QStringLiteral("März"), "April", "Mai", "Juni", "Juli", "August", "September",
     "Oktober", "November", "Dezember"},
    {"Janvier", QStringLiteral("Février"), "Mars", "Avril", "Mai", "Juin", "Juillet", QStringLiteral("Août"),
     "Septembre", "Octobre", "Novembre", QStringLiteral("Décembre")},
    {"Gennaio", "Febbraio", "Marzo", "Aprile", "Maggio", "Giugno", "Luglio", "Agosto", "Settembre", "Ottobre",
     "Novembre", "Dicembre"},
    {"Enero", "Febrero", "Marzo", "Abril", "Mayo", "Junio", "Julio", "Agosto", "Septiembre", "Octubre",
     "Noviembre", "Diciembre"},
};

// "Freitag " carries a trailing blank, as the German names always have.
const Days kDays[5] = {
    {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
    {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag ", "Samstag"},
    {"Dimanche", "Lundi", "Mardi", "Mercredi", "Jeudi", "Vendredi", "Samedi"},
    {"Domenica", QStringLiteral("Lunedì"), QStringLiteral("Martedì"), QStringLiteral("Mercoledì"),
     QStringLiteral("Giovedì"), QStringLiteral("Venerdì"), "Sabato"},
    {"Domingo", "Lunes", "Martes", QStringLiteral("Miércoles"), "Jueves", "Viernes", QStringLiteral("Sábado")},
};

constexpr int kMaxFontPixels = 4000;

int languageIndex(TFlatCalLanguage language) { return language <= fclSpanish ? language : fclEnglish; }

}  // namespace

const std::array<QString, 12>& FlatMonthNames(TFlatCalLanguage language) { return kMonths[languageIndex(language)]; }
const std::array<QString, 7>& FlatDayNames(TFlatCalLanguage language) { return kDays[languageIndex(language)]; }

QString FlatMonthName(TFlatCalLanguage language, int month) {
    if (month < 1 || month > 12) return QString();
    return FlatMonthNames(language)[month - 1];
}

QString FlatDayNameText(const QString& name, TFlatCalHeadersStyle style) {
    switch (style) {
    case fdsFirstChar: return name.left(1);
    case fdsThreeChars: return name.left(3);
    case fdsWhole: break;
    }
    return name;
}

int FlatColumnDay(int column, int startOfWeek) {
    if (startOfWeek == 2) return column == 6 ? 1 : column + 2;
    return column + 1;
}

int FlatFirstColumn(int year, int month, int startOfWeek) {
    const int d = DayOfWeek(year, month, 1);
    if (d == 0) return 0;
    if (startOfWeek == 2) return d == 1 ? 7 : d - 1;
    return d;
}

int FlatCellDay(int row, int column, int firstColumn, int daysInMonth) {
    if (firstColumn < 1) return 0;
    const int n = 7 * row + column + 1 - (firstColumn - 1);
    return n >= 1 && n <= daysInMonth ? n : 0;
}

FlatShadowGeometry ComputeFlatShadow(int W, int H, int shadowDepth, TFlatShadowPosition position, float zoom,
                                     bool transparent) {
    FlatShadowGeometry g;
    g.calendar = Rect(0, 0, W, H);
    if (shadowDepth < 1 || transparent) return g;
    const int a = truncToInt(shadowDepth * static_cast<double>(zoom));
    g.hasShadow = true;
    switch (position) {
    case fcpLowerLeft:
        g.calendar = Rect(a, 0, W, H - a);
        g.shadow = Rect(0, a, W - a, H);
        break;
    case fcpUpperRight:
        g.calendar = Rect(0, a, W - a, H);
        g.shadow = Rect(a, 0, W, H - a);
        break;
    case fcpUpperLeft:
        g.calendar = Rect(a, a, W, H);
        g.shadow = Rect(0, 0, W - a, H - a);
        break;
    case fcpLowerRight:
    default:
        g.calendar = Rect(0, 0, W - a, H - a);
        g.shadow = Rect(a, a, W, H);
        break;
    }
    return g;
}

Rect FlatCalendarLayout::CellRect(int row, int column) const {
    const int left = R.left + column * columnWidth + 1;
    return Rect(left, bodyTop + row * rowHeight + 1, left + columnWidth - 2, bodyTop + (row + 1) * rowHeight);
}

Rect FlatCalendarLayout::DayNameRect(int column) const {
    const int left = R.left + column * columnWidth + 1;
    return Rect(left, dayNames.top, left + columnWidth - 2, dayNames.bottom);
}

int FlatCalendarLayout::GridLineY(int k) const { return k >= 6 ? R.bottom : bodyTop + k * rowHeight; }

FlatCalendarLayout ComputeFlatLayout(const Rect& K, int wyHeight, int dayNameFontHeight) {
    FlatCalendarLayout l;
    l.R = Rect(K.left, K.top, K.right - 1, K.bottom - 1);
    const int titleHeight = std::max(truncToInt(0.17 * l.R.height()), wyHeight);
    l.title = Rect(l.R.left, l.R.top, l.R.right, l.R.top + titleHeight);
    l.columnWidth = l.R.width() / 7;
    // Fonts are never drawn taller than the canvas allows; a damaged record's height counts as that.
    const double fontHeight = std::min(std::abs(static_cast<double>(dayNameFontHeight)), double(kMaxFontPixels));
    const int rowHeight = truncToInt(1.5 * fontHeight);
    l.dayNames = Rect(l.R.left, l.title.bottom, l.R.right, l.title.bottom + rowHeight);
    l.bodyTop = l.dayNames.bottom;
    l.rowHeight = (l.R.bottom - l.bodyTop) / 6;
    return l;
}

FontRecord FlatZoomedFont(const FontRecord& font, float zoom) {
    FontRecord f = font;
    const int size = font.size();
    int points = truncToInt(size * static_cast<double>(zoom));
    // Nothing would ask for the device's default size instead of a tiny one.
    if (points == 0) points = size < 0 ? -1 : 1;
    f.height = PointsToHeight(points);
    return f;
}

void DrawFlatBorder(Canvas& c, const Rect& r, TFlatCalBorderStyle style) {
    switch (style) {
    case fcbAll:
        c.MoveTo(r.left, r.top);
        c.LineTo(r.right, r.top);
        c.LineTo(r.right, r.bottom);
        c.LineTo(r.left, r.bottom);
        c.LineTo(r.left, r.top);
        break;
    case fcbTop:
        c.MoveTo(r.left, r.top);
        c.LineTo(r.right, r.top);
        break;
    case fcbBottom:
        c.MoveTo(r.left, r.bottom);
        c.LineTo(r.right, r.bottom);
        break;
    case fcbTopBottom:
        c.MoveTo(r.left, r.top);
        c.LineTo(r.right, r.top);
        c.MoveTo(r.left, r.bottom);
        c.LineTo(r.right, r.bottom);
        break;
    case fcbNone: break;
    }
}

void DrawFlatCalendar(Canvas& c, const FlatCalendarStyle& s, int W, int H, float zoom) {
    constexpr uint32_t kTextFlags = DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX;
    if (W <= 0 || H <= 0) return;
    const bool transparent = s.CalTransparent;

    // 1. Shadow.
    const FlatShadowGeometry g = ComputeFlatShadow(W, H, s.ShadowDepth, s.ShadowPosition, zoom, transparent);
    if (g.hasShadow) {
        const Rect sh = g.shadow;
        c.FillRect(Rect(sh.left, sh.top, sh.right + 1, sh.bottom + 1), s.ShadowColor);
    }

    // 2. The fonts at the zoom, the names of the language.
    const FontRecord titleFont = FlatZoomedFont(s.TitleFont, zoom);
    const FontRecord dayNameFont = FlatZoomedFont(s.DayNameFont, zoom);
    const FontRecord cellFont = FlatZoomedFont(s.CellFont, zoom);
    const auto& dayNames = FlatDayNames(s.Language);

    // 3-4.
    const Rect K = g.calendar;
    const int firstColumn = FlatFirstColumn(s.Year, s.Month, s.StartOfWeek);
    const int days = DaysInMonth(s.Year, s.Month);

    c.SetPen(clBlack);
    c.SetBkTransparent(true);
    // 5.
    if (!transparent) c.FillRect(K, clWhite);

    // 6. Title.
    c.SetFont(titleFont);
    const FlatCalendarLayout l = ComputeFlatLayout(K, c.TextHeight(QStringLiteral("Wy")), dayNameFont.height);
    if (!transparent) c.FillRect(Rect(l.title.left, l.title.top, l.title.right + 1, l.title.bottom), s.TitleBGcolor);
    QString title = FlatMonthName(s.Language, s.Month);
    if (s.ShowYear) title += QLatin1Char(' ') + QString::number(s.Year);
    c.DrawText(title, l.title, kTextFlags);

    // 8. Day-name row and the body's ground.
    c.SetFont(dayNameFont);
    if (!transparent) {
        c.FillRect(Rect(l.dayNames.left, l.dayNames.top, l.dayNames.right, l.dayNames.bottom + 1), s.DayNameBGColor);
        c.FillRect(Rect(l.R.left, l.bodyTop, K.right, K.bottom), s.Backgroundcolor);
    }
    // 9.
    c.SetPen(clBlack);
    DrawFlatBorder(c, l.dayNames, s.DayNameBorderStyle);
    c.SetBrush(s.Backgroundcolor);

    // 10. Day names.
    for (int i = 0; i < 7; ++i)
        c.DrawText(FlatDayNameText(dayNames[FlatColumnDay(i, s.StartOfWeek) - 1], s.DayNameStyle), l.DayNameRect(i),
                   kTextFlags);

    // 11-12. Cell grid.
    c.SetFont(cellFont);
    const auto hline = [&](int k) {
        const int y = l.GridLineY(k);
        c.MoveTo(l.R.left, y);
        c.LineTo(l.R.right, y);
    };
    switch (s.CellBorderStyle) {
    case fcbAll:
        for (int k = 0; k <= 6; ++k) hline(k);
        for (int j = 0; j <= 7; ++j) {
            const int x = j == 7 ? l.R.right : l.R.left + j * l.columnWidth;
            c.MoveTo(x, l.bodyTop);
            c.LineTo(x, l.R.bottom);
        }
        break;
    case fcbTop:
        for (int k = 0; k <= 5; ++k) hline(k);
        break;
    case fcbBottom:
        for (int k = 1; k <= 6; ++k) hline(k);
        break;
    case fcbTopBottom:
        for (int k = 0; k <= 6; ++k) hline(k);
        break;
    case fcbNone: break;
    }

    // 13. Day numbers.
    for (int r = 0; r < 6; ++r)
        for (int i = 0; i < 7; ++i)
            if (const int n = FlatCellDay(r, i, firstColumn, days))
                c.DrawText(QString::number(n), l.CellRect(r, i), kTextFlags);

    // 14.
    DrawFlatBorder(c, l.R, s.CalendarBorderStyle);
}

// ---------------------------------------------------------------------------------------------

TGFlatCalendar::TGFlatCalendar(QObject* owner) : TGGraphicControl(owner) {
    const QDate today = QDate::currentDate();
    m_style.Month = today.month();
    m_style.Year = today.year();
    for (FontRecord* f : {&m_style.TitleFont, &m_style.DayNameFont, &m_style.CellFont}) f->name = QStringLiteral("Arial");
    m_style.TitleFont.setSize(8);
    m_style.DayNameFont.setSize(8);
    m_style.CellFont.setSize(7);
}

TGFlatCalendar::~TGFlatCalendar() = default;

const PropertyTable& TGFlatCalendar::Properties() const {
    using F = TGFlatCalendar;
    static const PropertyTable table = [] {
        PropertyTable t = CommonProperties();
        t.push_back(IntProp<F>("StartOfWeek", [](const F& o) { return o.StartOfWeek(); },
                               [](F& o, int32_t v) { o.SetStartOfWeek(v); }));
        t.push_back(IntProp<F>("Month", [](const F& o) { return o.Month(); }, [](F& o, int32_t v) { o.SetMonth(v); }));
        t.push_back(IntProp<F>("Year", [](const F& o) { return o.Year(); }, [](F& o, int32_t v) { o.SetYear(v); }));
        t.push_back(FontProp<F>("TitleFont", [](F& o) { return &o.m_style.TitleFont; }, [](F& o) { o.fontChanged(); }));
        t.push_back(
            FontProp<F>("DayNameFont", [](F& o) { return &o.m_style.DayNameFont; }, [](F& o) { o.fontChanged(); }));
        t.push_back(FontProp<F>("CellFont", [](F& o) { return &o.m_style.CellFont; }, [](F& o) { o.fontChanged(); }));
        t.push_back(BoolProp<F>("ShowYear", [](const F& o) { return o.ShowYear(); },
                                [](F& o, int32_t v) { o.SetShowYear(v != 0); }));
        t.push_back(ColorProp<F>("DayNameBGColor", [](const F& o) { return o.DayNameBGColor(); },
                                 [](F& o, int32_t v) { o.SetDayNameBGColor(v); }));
        const auto border = [&t](const char* name, TFlatCalBorderStyle FlatCalendarStyle::*field) {
            t.push_back(EnumProp<F>(
                name, FlatCalBorderStyleNames(), [field](const F& o) { return o.m_style.*field; },
                [field](F& o, int32_t v) {
                    o.SetProperty(o.m_style.*field, static_cast<TFlatCalBorderStyle>(v), peRepaint);
                }));
        };
        border("CalendarBorderStyle", &FlatCalendarStyle::CalendarBorderStyle);
        border("DayNameBorderStyle", &FlatCalendarStyle::DayNameBorderStyle);
        border("CellBorderStyle", &FlatCalendarStyle::CellBorderStyle);
        t.push_back(EnumProp<F>("DayNameStyle", FlatCalHeadersStyleNames(), [](const F& o) { return o.DayNameStyle(); },
                                [](F& o, int32_t v) { o.SetDayNameStyle(static_cast<TFlatCalHeadersStyle>(v)); }));
        t.push_back(ColorProp<F>("TitleBGcolor", [](const F& o) { return o.TitleBGcolor(); },
                                 [](F& o, int32_t v) { o.SetTitleBGcolor(v); }));
        t.push_back(ColorProp<F>("Backgroundcolor", [](const F& o) { return o.Backgroundcolor(); },
                                 [](F& o, int32_t v) { o.SetBackgroundcolor(v); }));
        t.push_back(ColorProp<F>("ShadowColor", [](const F& o) { return o.ShadowColor(); },
                                 [](F& o, int32_t v) { o.SetShadowColor(v); }));
        t.push_back(IntProp<F>("ShadowDepth", [](const F& o) { return o.ShadowDepth(); },
                               [](F& o, int32_t v) { o.SetShadowDepth(v); }));
        t.push_back(EnumProp<F>("ShadowPosition", FlatShadowPositionNames(),
                                [](const F& o) { return o.ShadowPosition(); },
                                [](F& o, int32_t v) { o.SetShadowPosition(static_cast<TFlatShadowPosition>(v)); }));
        t.push_back(EnumProp<F>("Language", FlatCalLanguageNames(), [](const F& o) { return o.Language(); },
                                [](F& o, int32_t v) { o.SetLanguage(static_cast<TFlatCalLanguage>(v)); }));
        t.push_back(BoolProp<F>("CalTransparent", [](const F& o) { return o.CalTransparent(); },
                                [](F& o, int32_t v) { o.SetCalTransparent(v != 0); }));
        return t;
    }();
    return table;
}

void TGFlatCalendar::SetStartOfWeek(int value) {
    if (value != 1 && value != 2) return;
    SetProperty(m_style.StartOfWeek, value, peRepaint);
}

void TGFlatCalendar::SetMonth(int value) { SetProperty(m_style.Month, value, peRepaint); }
void TGFlatCalendar::SetYear(int value) { SetProperty(m_style.Year, value, peRepaint); }
void TGFlatCalendar::SetShowYear(bool value) { SetProperty(m_style.ShowYear, value, peRepaint); }
void TGFlatCalendar::SetDayNameBGColor(TColor value) { SetProperty(m_style.DayNameBGColor, value, peRepaint); }
void TGFlatCalendar::SetCalendarBorderStyle(TFlatCalBorderStyle value) {
    SetProperty(m_style.CalendarBorderStyle, value, peRepaint);
}
void TGFlatCalendar::SetDayNameBorderStyle(TFlatCalBorderStyle value) {
    SetProperty(m_style.DayNameBorderStyle, value, peRepaint);
}
void TGFlatCalendar::SetCellBorderStyle(TFlatCalBorderStyle value) {
    SetProperty(m_style.CellBorderStyle, value, peRepaint);
}
void TGFlatCalendar::SetDayNameStyle(TFlatCalHeadersStyle value) {
    SetProperty(m_style.DayNameStyle, value, peRepaint);
}
void TGFlatCalendar::SetTitleBGcolor(TColor value) { SetProperty(m_style.TitleBGcolor, value, peRepaint); }
void TGFlatCalendar::SetBackgroundcolor(TColor value) { SetProperty(m_style.Backgroundcolor, value, peRepaint); }
void TGFlatCalendar::SetShadowColor(TColor value) { SetProperty(m_style.ShadowColor, value, peRepaint); }

void TGFlatCalendar::SetShadowDepth(int value) {
    if (value > 10) return;
    SetProperty(m_style.ShadowDepth, value, peRepaint);
}

void TGFlatCalendar::SetShadowPosition(TFlatShadowPosition value) {
    SetProperty(m_style.ShadowPosition, value, peRepaint);
}
void TGFlatCalendar::SetLanguage(TFlatCalLanguage value) { SetProperty(m_style.Language, value, peRepaint); }
void TGFlatCalendar::SetCalTransparent(bool value) { SetProperty(m_style.CalTransparent, value, peRepaint); }

void TGFlatCalendar::SetTitleFont(const FontRecord& font) {
    if (font == m_style.TitleFont) return;
    m_style.TitleFont = font;
    fontChanged();
}

void TGFlatCalendar::SetDayNameFont(const FontRecord& font) {
    if (font == m_style.DayNameFont) return;
    m_style.DayNameFont = font;
    fontChanged();
}

void TGFlatCalendar::SetCellFont(const FontRecord& font) {
    if (font == m_style.CellFont) return;
    m_style.CellFont = font;
    fontChanged();
}

void TGFlatCalendar::fontChanged() {
    if (IsLoading()) return;
    Invalidate();
    NotifyChanged();
}

void TGFlatCalendar::Paint(Canvas& canvas) {
    if (PaintSuspended()) return;
    DrawFlatCalendar(canvas, m_style, Width(), Height(), Zoom());
}

QPicture TGFlatCalendar::ToPicture() {
    QPicture picture;
    {
        QPainter painter(&picture);
        Canvas canvas(&painter);
        DrawFlatCalendar(canvas, m_style, Width(), Height(), Zoom());
    }
    // The picture's frame is the whole object, whatever was drawn inside it.
    picture.setBoundingRect(QRect(0, 0, std::max(1, Width()), std::max(1, Height())));
    return picture;
}

void TGFlatCalendar::PrintTo(TReport& report, double leftOffset, double topOffset) {
    ReportStateGuard printState(report);
    if (Width() <= 0 || Height() <= 0) return;
    const double P = ScreenPixelsPerInch();
    const QPicture picture = ToPicture();
    report.StretchDraw(leftOffset + Left() / P, topOffset + Top() / P, leftOffset + (Left() + Width()) / P,
                       topOffset + (Top() + Height()) / P, picture);
}

void TGFlatCalendar::CopyToSample(TGFlatCalendar& s) const {
    s.SetMonth(Month());
    s.SetYear(Year());
    s.SetTitleFont(TitleFont());
    s.SetDayNameFont(DayNameFont());
    s.SetCellFont(CellFont());
    s.SetDayNameBGColor(DayNameBGColor());
    s.SetTitleBGcolor(TitleBGcolor());
    s.SetBackgroundcolor(Backgroundcolor());
    s.SetCalendarBorderStyle(CalendarBorderStyle());
    s.SetDayNameBorderStyle(DayNameBorderStyle());
    s.SetCellBorderStyle(CellBorderStyle());
    s.SetShadowColor(ShadowColor());
    s.SetShadowDepth(ShadowDepth());
    s.SetShadowPosition(ShadowPosition());
    s.SetDayNameStyle(DayNameStyle());
    s.SetShowYear(ShowYear());
    s.SetStartOfWeek(StartOfWeek());
    s.SetLanguage(Language());
    const double z = Zoom();
    s.SetWidth(truncToInt(Width() / z));
    s.SetCalTransparent(CalTransparent());
    s.SetHeight(truncToInt(Height() / z));
}

void TGFlatCalendar::AssignStyle(const TGFlatCalendar& s) {
    SetMonth(s.Month());
    SetYear(s.Year());
    SetTitleFont(s.TitleFont());
    SetDayNameFont(s.DayNameFont());
    SetCellFont(s.CellFont());
    SetDayNameBGColor(s.DayNameBGColor());
    SetTitleBGcolor(s.TitleBGcolor());
    SetBackgroundcolor(s.Backgroundcolor());
    SetCalendarBorderStyle(s.CalendarBorderStyle());
    SetDayNameBorderStyle(s.DayNameBorderStyle());
    SetCellBorderStyle(s.CellBorderStyle());
    SetShadowColor(s.ShadowColor());
    SetShadowDepth(s.ShadowDepth());
    SetShadowPosition(s.ShadowPosition());
    SetDayNameStyle(s.DayNameStyle());
    SetShowYear(s.ShowYear());
    SetLanguage(s.Language());
    SetStartOfWeek(s.StartOfWeek());
    SetCalTransparent(s.CalTransparent());
    Invalidate();
    NotifyChanged();
}

void RegisterFlatCalendarClass() {
    RegisterObjectClass(QStringLiteral("TGFlatCalendar"),
                        [](QObject* owner) -> TGGraphicControl* { return new TGFlatCalendar(owner); });
}

}  // namespace plennix
