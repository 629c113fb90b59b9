#include "calendar/calendar_drawing.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QHash>
#include <QLocale>
#include <QPainter>
#include <QPicture>
#include <QStaticText>
#include <algorithm>
#include <cmath>
#include <memory>

#include "platform/numbers.h"

namespace plennix {
namespace {

constexpr uint32_t kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;

DrawFont ZoomedFont(const FontRecord& f, double zoom) {
    return DrawFont{f.name, truncToInt(f.size() * zoom), f.style, f.color, f.pitch};
}

// Text on one line within r; the printer shortens what does not fit.
void DrawLabel(Canvas& c, const QString& text, const Rect& r, uint32_t flags, bool printing) {
    if (text.isEmpty()) return;
    c.DrawText(printing ? ShortenToFit(c, text, r.right - r.left) : text, r, flags | DT_SINGLELINE | DT_NOPREFIX);
}

// A page of minis draws thousands of short labels in three fonts. Shaping each one anew (to measure
// and again to draw) dominates the paint, so on the screen the labels are laid out once per font and
// text and placed exactly as the canvas's single-line DrawText places them. Labels that would need
// clipping, and everything on the printer, go through the canvas itself.
class LabelWriter {
public:
    LabelWriter(Canvas& c, int ppi, bool printing, bool measuring = false)
        : m_canvas(c), m_ppi(ppi), m_printing(printing), m_measuring(measuring) {}

    void Select(const DrawFont& f) {
        m_font = f;
        m_canvasHasFont = false;
        m_entry = nullptr;
        if (m_printing) EnsureCanvasFont();
    }

    // Height of the selected font's text cell (what the canvas reports for any text).
    int LineHeight() {
        if (m_printing) return m_canvas.GetTextMetrics().height;
        return Entry().lineHeight;
    }

    Canvas& CanvasWithFont() {
        EnsureCanvasFont();
        return m_canvas;
    }

    void Label(const QString& text, const Rect& r, uint32_t flags) {
        if (text.isEmpty() || m_measuring) return;
        if (m_printing) {
            DrawLabel(m_canvas, text, r, flags, true);
            return;
        }
        FontEntry& fe = Entry();
        const Layout& lay = fe.Text(text);
        if (lay.width > r.right - r.left || fe.lineHeight > r.bottom - r.top) {
            DrawLabel(CanvasWithFont(), text, r, flags, false);
            return;
        }
        int y = r.top;
        if (flags & DT_BOTTOM)
            y = r.bottom - fe.lineHeight;
        else if (flags & DT_VCENTER)
            y = r.top + (r.bottom - r.top - fe.lineHeight) / 2;
        int x = r.left;
        if (flags & DT_CENTER)
            x = r.left + (r.right - r.left - lay.width) / 2;
        else if (flags & DT_RIGHT)
            x = r.right - lay.width;
        QPainter* p = m_canvas.painter();
        if (p->compositionMode() != QPainter::CompositionMode_SourceOver)
            p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        p->setPen(toQColor(m_font.color));
        p->setFont(fe.font);
        p->drawStaticText(QPointF(x, y), lay.glyphs);
    }

private:
    struct Layout {
        int width = 0;
        QStaticText glyphs;
    };
    struct FontEntry {
        QFont font;
        int ascent = 0, lineHeight = 0;
        QFontMetrics metrics;
        QHash<QString, Layout> texts;

        FontEntry(const QFont& f, QPaintDevice* device) : font(f), metrics(f, device) {
            ascent = metrics.ascent();
            lineHeight = metrics.ascent() + metrics.descent();
        }
        const Layout& Text(const QString& text) {
            auto it = texts.find(text);
            if (it == texts.end()) {
                QStaticText st(text);
                st.setTextFormat(Qt::PlainText);
                st.setPerformanceHint(QStaticText::AggressiveCaching);
                st.prepare(QTransform(), font);
                it = texts.insert(text, Layout{metrics.horizontalAdvance(text), st});
            }
            return *it;
        }
    };

    FontEntry& Entry() {
        if (m_entry) return *m_entry;
        QHash<QString, std::shared_ptr<FontEntry>>& cache = Cache();
        QPaintDevice* device = m_canvas.painter()->device();
        const int height = -MulDiv(m_font.size, m_ppi, 72);
        const QString key = m_font.name + QLatin1Char('\x1f') + QString::number(height) + QLatin1Char('/') +
                            QString::number(m_font.style) + QLatin1Char('/') +
                            QString::number(static_cast<int>(m_font.pitch)) + QLatin1Char('/') +
                            QString::number(device ? device->logicalDpiY() : 0);
        auto it = cache.find(key);
        if (it == cache.end()) {
            if (cache.size() > 64) cache.clear();
            QFont f = MakeQFont(m_font.name, height, m_font.style, m_font.pitch);
            it = cache.insert(key, std::make_shared<FontEntry>(f, device));
        }
        m_entry = it->get();
        if (m_entry->texts.size() > 4096) m_entry->texts.clear();
        return *m_entry;
    }

    // Drawing runs on the user-interface thread only. The fonts are let go with the application, not
    // after it.
    static QHash<QString, std::shared_ptr<FontEntry>>& Cache() {
        static QHash<QString, std::shared_ptr<FontEntry>> cache;
        static const bool registered = [] {
            qAddPostRoutine([] { Cache().clear(); });
            return true;
        }();
        (void)registered;
        return cache;
    }

    void EnsureCanvasFont() {
        if (m_canvasHasFont) return;
        SelectFont(m_canvas, m_font, m_ppi);
        m_canvasHasFont = true;
    }

    Canvas& m_canvas;
    int m_ppi;
    bool m_printing;
    bool m_measuring;
    DrawFont m_font;
    bool m_canvasHasFont = false;
    FontEntry* m_entry = nullptr;
};

// The first day a planner shows; a day of 0 (the constructor's value) or past the month's end is
// brought into the month rather than failing.
CalDate PlannerFirstDay(const CalendarDrawParams& p) {
    CalDate d = SafeMonth(p.month, p.year);
    d.day = std::clamp(p.day, 1, DaysInMonth(d.year, d.month));
    return d;
}

QString MonthNameOf(const std::array<QString, 12>& names, int month) {
    return (month >= 1 && month <= 12) ? names[month - 1] : QString();
}

QLocale DesignatorLocale() {
    QLocale l = QLocale::system();
    if (l.language() == QLocale::C) return QLocale(QLocale::English, QLocale::UnitedStates);
    return l;
}

void ResetCells(CellInfoArray& cells) { cells.fill(CellInfo{}); }

}  // namespace

int FontPixelHeight(const DrawFont& f, int ppi) { return std::abs(MulDiv(f.size, ppi, 72)); }

void SelectFont(Canvas& c, const DrawFont& f, int ppi) {
    c.SetFont(f.name, -MulDiv(f.size, ppi, 72), f.style, f.color, 0, f.pitch);
    c.SetTextColor(f.color);
}

CalendarDrawParams MainDrawParams(const CalendarSettings& s, const LayoutResult& layout, float zoom, int ppi) {
    const double z = zoom;
    CalendarDrawParams p;
    p.pageBackground = clWhite;
    p.titleBackground = s.TitleBGColor;
    p.minTitleHeight = truncToInt(ppi * 1.5 * z);
    p.month = s.MainCalMonth;
    p.year = s.MainCalYear;
    p.day = s.MainCalDay;
    p.rect = ZoomRect(layout.mainRect, zoom);
    p.numberPosition = s.NumberPosition;
    p.startOfWeek = s.StartOfWeek;
    p.frameStyle = s.CalendarBorder;
    p.titleFont = ZoomedFont(s.TitleFont, z);
    p.showYear = s.TitleShowYear;
    p.headersFont = ZoomedFont(s.HeadersFont, z);
    p.headersBorder = s.HeadersBorder;
    p.headersStyle = s.HeadersStyle;
    p.headersBackground = s.HeadersBGColor;
    p.cellFont = ZoomedFont(s.CellFont, z);
    p.cellBorder = s.CellBorder;
    p.monthNames = s.MonthNames;
    p.dayNames = s.DayNames;
    p.dayCount = s.CalendarLayout == TCalendarLayout::lo2Week ? 14 : 7;
    p.slotCount = s.CalendarLayout == TCalendarLayout::loDay15 ? 15 : 10;
    p.firstSlotTime = s.DayStartTime;
    p.ppi = ppi;
    return p;
}

CalendarDrawParams MiniDrawParams(const CalendarSettings& s, float zoom, int ppi) {
    const double z = zoom;
    CalendarDrawParams p;
    p.pageBackground = s.MiniCalBGColor;
    p.titleBackground = s.MiniCalBGColor;
    p.minTitleHeight = 0;
    p.numberPosition = TCalendarNumberPosition::cnpCenter;
    p.startOfWeek = s.StartOfWeek;
    p.frameStyle = s.MiniCalBorder;
    p.titleFont = ZoomedFont(s.MiniTitleFont, z);
    p.showYear = s.MiniShowYear;
    p.headersFont = ZoomedFont(s.MiniHeadersFont, z);
    p.headersBorder = s.MiniHeadersBorder;
    p.headersStyle = s.MiniHeadersStyle;
    p.headersBackground = s.MiniHeadersBGColor;
    p.cellFont = ZoomedFont(s.MiniCellFont, z);
    p.cellBorder = s.MiniCellBorder;
    p.monthNames = s.MonthNames;
    p.dayNames = s.DayNames;
    p.ppi = ppi;
    return p;
}

// ---- Texts ----

QString AbbreviateDayName(const QString& name, TCalHeadersStyle style) {
    switch (style) {
    case TCalHeadersStyle::dsFirstChar: return name.left(1);
    case TCalHeadersStyle::dsThreeChars: return name.left(3);
    case TCalHeadersStyle::dsWhole: break;
    }
    return name;
}

QString MonthTitle(const QString& monthName, int year, bool showYear) {
    return showYear ? monthName + QLatin1Char(' ') + QString::number(year) : monthName;
}

QString WeekPlannerTitle(const std::array<QString, 12>& names, const CalDate& a, int days) {
    const CalDate b = AddDays(a, days - 1);
    const QString m1 = MonthNameOf(names, a.month), m2 = MonthNameOf(names, b.month);
    const QString d1 = QString::number(a.day), d2 = QString::number(b.day);
    if (a.year == b.year && a.month == b.month)
        return m1 + " " + d1 + "-" + d2 + ", " + QString::number(a.year);
    if (a.year == b.year) return m1 + " " + d1 + " - " + m2 + " " + d2 + ", " + QString::number(a.year);
    return m1 + " " + d1 + ", " + QString::number(a.year) + " - " + m2 + " " + d2 + ", " + QString::number(b.year);
}

QString DayPlannerTitle(const std::array<QString, 12>& monthNames, const std::array<QString, 7>& dayNames,
                        const CalDate& d) {
    return dayNames[DayOfWeek(d.year, d.month, d.day) - 1] + ", " + MonthNameOf(monthNames, d.month) + " " +
           QString::number(d.day) + ", " + QString::number(d.year);
}

double SlotTime(double first, int slot) {
    double t = first + slot * (60 * 0.000694445);
    return t < 0 ? 0 : t;
}

QString FormatSlotTime(double time) {
    // Whole milliseconds of the time of day, as the system decodes a date-time value.
    if (!std::isfinite(time)) time = 0;
    const double ms = std::round(std::fabs(time) * 86400000.0);
    const int64_t ofDay = static_cast<int64_t>(std::fmod(ms, 86400000.0));
    const int hour = static_cast<int>(ofDay / 3600000);
    const int minute = static_cast<int>((ofDay / 60000) % 60);
    int h12 = hour % 12;
    if (h12 == 0) h12 = 12;
    const QLocale l = DesignatorLocale();
    return QString::number(h12) + QLatin1Char(':') + QString::number(minute).rightJustified(2, QLatin1Char('0')) +
           QLatin1Char(' ') + (hour < 12 ? l.amText() : l.pmText());
}

int PlannerLabelDay(const QString& lowerLabel) {
    QString s = lowerLabel.left(2);
    s.remove(QLatin1Char(' '));
    bool ok = false;
    int v = s.toInt(&ok);
    return ok ? v : 0;
}

QString ShortenToFit(const Canvas& c, QString text, int width) {
    while (!text.isEmpty() && c.TextWidth(text) > width) text.chop(1);
    return text;
}

// ---- Drawing ----

void DrawBorder(Canvas& c, const Rect& r, TCalBorderStyle style) {
    switch (style) {
    case TCalBorderStyle::cbAll:
        c.MoveTo(r.left, r.top);
        c.LineTo(r.right, r.top);
        c.LineTo(r.right, r.bottom);
        c.LineTo(r.left, r.bottom);
        c.LineTo(r.left, r.top);
        break;
    case TCalBorderStyle::cbTop:
        c.MoveTo(r.left, r.top);
        c.LineTo(r.right, r.top);
        break;
    case TCalBorderStyle::cbBottom:
        c.MoveTo(r.left, r.bottom);
        c.LineTo(r.right, r.bottom);
        break;
    case TCalBorderStyle::cbTopBottom:
        c.MoveTo(r.left, r.top);
        c.LineTo(r.right, r.top);
        c.MoveTo(r.left, r.bottom);
        c.LineTo(r.right, r.bottom);
        break;
    case TCalBorderStyle::cbNone: break;
    }
}

void DrawMonthCalendar(Canvas& c, CalendarDrawParams& p, const QString& titleText) {
    const CalDate month = SafeMonth(p.month, p.year);
    const int L0 = p.rect.left, T0 = p.rect.top, R1 = p.rect.right - 1, B1 = p.rect.bottom - 1;
    LabelWriter text(c, p.ppi, p.printing, p.measuring);
    c.SetPen(clBlack, 1, PenStyle::psSolid);
    c.SetBrush(p.pageBackground, BrushStyle::bsSolid);
    c.FillRect(p.rect, p.pageBackground);
    c.FillRect(Rect(L0, T0, R1, B1), p.pageBackground);

    // Title band.
    text.Select(p.titleFont);
    const MonthGeometry g = ComputeMonthGeometry(p.rect, p.minTitleHeight, FontPixelHeight(p.headersFont, p.ppi));
    const Rect& band = g.titleBand;
    if (!p.printing || ColorToRGB(p.titleBackground) != clWhite)
        c.FillRect(Rect(band.left, band.top, band.right, band.bottom + 1), p.titleBackground);
    QString title = titleText;
    if (title.isEmpty()) title = MonthTitle(MonthNameOf(p.monthNames, month.month), month.year, p.showYear);
    text.Label(title, band, kCentred);

    // Day-name row.
    text.Select(p.headersFont);
    const Rect& row = g.dayNameRow;
    c.FillRect(Rect(row.left, row.top, row.right, row.bottom + 1), p.headersBackground);
    DrawBorder(c, row, p.headersBorder);
    c.SetBrush(p.pageBackground, BrushStyle::bsSolid);
    for (int j = 0; j < 7; ++j) {
        int dayIndex = p.startOfWeek == 1 ? j + 1 : (j < 6 ? j + 2 : 1);
        text.Label(AbbreviateDayName(p.dayNames[dayIndex - 1], p.headersStyle), g.NameBox(j), kCentred);
    }

    // Grid lines of the day area.
    text.Select(p.cellFont);
    int firstLine = 0, lastLine = -1;
    switch (p.cellBorder) {
    case TCalBorderStyle::cbAll:
    case TCalBorderStyle::cbTopBottom: firstLine = 0, lastLine = 6; break;
    case TCalBorderStyle::cbTop: firstLine = 0, lastLine = 5; break;
    case TCalBorderStyle::cbBottom: firstLine = 1, lastLine = 6; break;
    case TCalBorderStyle::cbNone: break;
    }
    for (int i = firstLine; i <= lastLine; ++i) {
        const int y = i == 6 ? g.F : g.E + i * g.rowH;
        c.MoveTo(L0, y);
        c.LineTo(R1, y);
    }
    if (p.cellBorder == TCalBorderStyle::cbAll) {
        for (int j = 0; j <= 7; ++j) {
            const int x = j == 7 ? R1 : L0 + j * g.colW;
            c.MoveTo(x, g.E);
            c.LineTo(x, g.F);
        }
    }

    // Day numbers and the cells. The screen measures "9"; every text has the font's cell height.
    const bool upperRight = p.numberPosition == TCalendarNumberPosition::cnpUpperRight;
    const int numberHeight = upperRight ? text.LineHeight() : 0;
    const int rightInset = p.printing ? truncToInt(0.05 * p.ppi) : 0;
    const int first = FirstDayPosition(month.month, month.year, p.startOfWeek);
    const int days = DaysInMonth(month.year, month.month);
    for (int k = 1; k <= kCellCount; ++k) {
        CellInfo& cell = p.cells[k - 1];
        cell.rTotal = g.CellRect(k, upperRight);
        const int d = k - first + 1;
        cell.iDay = (d >= 1 && d <= days) ? d : 0;
        cell.rFree = upperRight ? Rect(cell.rTotal.left, cell.rTotal.top + numberHeight, cell.rTotal.right,
                                       cell.rTotal.bottom)
                                : Rect{};
        if (cell.iDay == 0) continue;
        const QString number = QString::number(cell.iDay);
        if (upperRight) {
            Rect r = cell.rTotal;
            r.right -= rightInset;
            text.Label(number, r, DT_RIGHT);
        } else {
            text.Label(number, cell.rTotal, kCentred);
        }
    }

    DrawBorder(c, g.frame, p.frameStyle);
    p.titleRect = g.titleRect;
    p.dayNameRowRect = g.dayNameRow;
}

void DrawPlannerGrid(Canvas& c, CalendarDrawParams& p, int rows, const QStringList& upper, const QStringList& lower,
                     const QString& title) {
    const int L0 = p.rect.left, T0 = p.rect.top, R1 = p.rect.right - 1, B1 = p.rect.bottom - 1;
    c.SetPen(clBlack, 1, PenStyle::psSolid);
    c.SetBrush(p.pageBackground, BrushStyle::bsSolid);
    if (!p.printing) {
        c.FillRect(p.rect, p.pageBackground);
        c.FillRect(Rect(L0, T0, R1, B1), p.pageBackground);
    }

    LabelWriter text(c, p.ppi, p.printing, p.measuring);
    text.Select(p.titleFont);
    // The screen measures "Weekly Planner", whose height is the font's cell height.
    const int titleHeight = p.printing ? truncToInt(1.6 * text.LineHeight()) : text.LineHeight();
    const PlannerGeometry g = ComputePlannerGeometry(p.rect, rows, titleHeight);
    text.Label(title, g.title, kCentred);

    if (p.printing) c.SetBrushClear();
    c.Rectangle(g.body);
    c.FillRect(g.labelColumn, p.headersBackground);

    for (int k = 0; k < g.rows; ++k) {
        text.Select(p.headersFont);
        text.Label(upper.value(k), g.UpperLabel(k), DT_CENTER | DT_BOTTOM);
        text.Label(lower.value(k), g.LowerLabel(k), DT_CENTER);
    }

    c.MoveTo(g.X, g.body.top);
    c.LineTo(g.X, B1);
    for (int k = 1; k < g.rows; ++k) {
        const int y = g.body.top + k * g.rowH;
        c.MoveTo(L0, y);
        c.LineTo(R1, y);
    }

    for (int k = 0; k < g.rows && k < kCellCount; ++k) {
        CellInfo& cell = p.cells[k];
        cell.rTotal = cell.rFree = g.CellRect(k);
        cell.iDay = PlannerLabelDay(lower.value(k));
    }
    p.titleRect = g.title;
    p.dayNameRowRect = Rect{};
}

void DrawWeekPlanner(Canvas& c, CalendarDrawParams& p, const QString& titleText) {
    const int n = std::clamp(p.dayCount, 1, kCellCount - 1);
    const CalDate first = PlannerFirstDay(p);
    const QString title = titleText.isEmpty() ? WeekPlannerTitle(p.monthNames, first, n) : titleText;
    QStringList upper, lower;
    for (int i = 0; i < n; ++i) {
        const CalDate d = AddDays(first, i);
        upper << AbbreviateDayName(p.dayNames[DayOfWeek(d.year, d.month, d.day) - 1], p.headersStyle);
        lower << QString::number(d.day) + QLatin1Char(' ') + MonthNameOf(p.monthNames, d.month).left(3);
    }
    upper << QStringLiteral("Notes");
    lower << QString();
    DrawPlannerGrid(c, p, n + 1, upper, lower, title);
}

void DrawDayPlanner(Canvas& c, CalendarDrawParams& p, const QString& titleText) {
    const int s = std::clamp(p.slotCount, 1, kCellCount - 1);
    const CalDate day = PlannerFirstDay(p);
    const QString title = titleText.isEmpty() ? DayPlannerTitle(p.monthNames, p.dayNames, day) : titleText;
    QStringList upper, lower;
    for (int i = 0; i < s; ++i) {
        upper << FormatSlotTime(SlotTime(p.firstSlotTime, i));
        lower << QString();
    }
    upper << QStringLiteral("Notes");
    lower << QString();
    DrawPlannerGrid(c, p, s + 1, upper, lower, title);
}

int ZoomPercent(float zoom) { return truncToInt(static_cast<double>(zoom) * 100.0); }

void DrawCellTexts(Canvas& c, const CellInfoArray& cells, float zoom, const CellTextPainter& texts) {
    if (!texts.paint) return;
    for (int i = 0; i < kCellCount; ++i) {
        const Rect& r = cells[i].rFree;
        if (r.isEmpty()) continue;
        if (texts.hasText && !texts.hasText(i + 1)) continue;
        const int w = r.right - r.left + 1, h = r.bottom - r.top + 1;
        QImage scratch(w, h, QImage::Format_RGB32);
        scratch.fill(Qt::white);
        {
            QPainter sp(&scratch);
            Canvas sc(&sp);
            texts.paint(sc, i + 1, r, zoom);
        }
        c.StretchDraw(Rect(r.left, r.top, r.left + w, r.top + h), scratch);
    }
}

namespace {

// The main calendar or planner of the page, by layout; false when the page has none.
bool DrawMainPass(Canvas& c, const CalendarSettings& s, const LayoutResult& layout, CalendarDrawParams& p) {
    switch (s.CalendarLayout) {
    case TCalendarLayout::loWeek:
    case TCalendarLayout::lo2Week: DrawWeekPlanner(c, p, s.UserTitle); return true;
    case TCalendarLayout::loDay10:
    case TCalendarLayout::loDay15: DrawDayPlanner(c, p, s.UserTitle); return true;
    default:
        if (!layout.ShowMain) return false;
        DrawMonthCalendar(c, p, s.UserTitle);
        return true;
    }
}

}  // namespace

namespace {
void paintOrMeasure(Canvas& c, const CalendarSettings& s, const LayoutResult& layout, float zoom,
                    PageDrawState& state, const CellTextPainter* texts, int ppi, bool measuring) {
    // Cells the pass does not draw keep nothing from an earlier layout, so clicks and day look-ups
    // never find a cell that is not on the page.
    CalendarDrawParams p = MainDrawParams(s, layout, zoom, ppi);
    p.measuring = measuring;
    ResetCells(p.cells);
    if (DrawMainPass(c, s, layout, p)) {
        state.titleRect = p.titleRect;
        state.dayNameRowRect = p.dayNameRowRect;
        if (texts) DrawCellTexts(c, p.cells, zoom, *texts);
    } else {
        state.titleRect = state.dayNameRowRect = Rect{};
    }
    state.cells = p.cells;
    const Rect& f = state.cells[0].rFree;
    state.cell1Text = Rect(f.left, f.top, f.right + 5, f.bottom + 5);

    if (layout.ShowMinis && !measuring) {
        CalendarDrawParams m = MiniDrawParams(s, zoom, ppi);
        for (int i = 0; i < layout.miniCount && i < kMaxMinis; ++i) {
            m.rect = ZoomRect(layout.minis[i].rect, zoom);
            m.month = layout.minis[i].month;
            m.year = layout.minis[i].year;
            DrawMonthCalendar(c, m);
        }
    }
}
}  // namespace

void PaintCalendarPage(Canvas& c, const CalendarSettings& s, const LayoutResult& layout, float zoom,
                       PageDrawState& state, const CellTextPainter* texts, int ppi) {
    paintOrMeasure(c, s, layout, zoom, state, texts, ppi, false);
}

void MeasureCalendarPage(const CalendarSettings& s, const LayoutResult& layout, float zoom, PageDrawState& state,
                         int ppi) {
    // Lines and fills land on one pixel; the fonts are measured on the same kind of device as a screen
    // pass draws on.
    QImage target(1, 1, QImage::Format_RGB32);
    QPainter painter(&target);
    Canvas canvas(&painter);
    paintOrMeasure(canvas, s, layout, zoom, state, nullptr, ppi, true);
}

QImage PaintToBitmap(const CalendarSettings& s, const LayoutResult& layout, float zoom, PageDrawState& state,
                     const CellTextPainter* texts, int ppi) {
    const int w = layout.PanelWidth(zoom), h = layout.PanelHeight(zoom);
    if (w <= 0 || h <= 0) return QImage();
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    Canvas c(&painter);
    PaintCalendarPage(c, s, layout, zoom, state, texts, ppi);
    return image;
}

void PrintCalendarPage(Canvas& c, const CalendarSettings& s, const LayoutResult& layout, const PrintTarget& target,
                       const Rect& rendererRect, PageDrawState& printState, const CellTextPainter* texts,
                       int screenPpi) {
    const int dpi = target.devicePpi;
    auto toDevice = [&](const Rect& r) {
        const double l = static_cast<double>(r.left) / screenPpi + target.offsetXInch;
        const double t = static_cast<double>(r.top) / screenPpi + target.offsetYInch;
        const double rr = static_cast<double>(r.right) / screenPpi + target.offsetXInch;
        const double b = static_cast<double>(r.bottom) / screenPpi + target.offsetYInch;
        if (target.inchesToDevice) return target.inchesToDevice(l, t, rr, b);
        return Rect(truncToInt(l * dpi), truncToInt(t * dpi), truncToInt(rr * dpi), truncToInt(b * dpi));
    };

    c.SetPen(clBlack, 1, PenStyle::psSolid);
    c.SetBrush(clWhite, BrushStyle::bsSolid);

    // Printer blocks carry the unscaled point sizes and device rectangles.
    CalendarDrawParams p = MainDrawParams(s, layout, 1.0f, dpi);
    p.rect = toDevice(layout.mainRect);
    p.minTitleHeight = truncToInt(1.5 * dpi);
    p.printing = true;
    ResetCells(p.cells);
    DrawMainPass(c, s, layout, p);
    printState.cells = p.cells;
    printState.titleRect = p.titleRect;
    printState.dayNameRowRect = p.dayNameRowRect;

    if (layout.ShowMinis) {
        CalendarDrawParams m = MiniDrawParams(s, 1.0f, dpi);
        m.printing = true;
        for (int i = 0; i < layout.miniCount && i < kMaxMinis; ++i) {
            m.rect = toDevice(layout.minis[i].rect);
            m.month = layout.minis[i].month;
            m.year = layout.minis[i].year;
            DrawMonthCalendar(c, m);
        }
    }

    if (!texts || !texts->paint) return;
    // Each text becomes a vector picture of the renderer's size, stretched into the device cell.
    const int w = rendererRect.right - rendererRect.left, h = rendererRect.bottom - rendererRect.top;
    if (w <= 0 || h <= 0) return;
    for (int i = 0; i < kCellCount; ++i) {
        const Rect& r = printState.cells[i].rFree;
        if (r.isEmpty()) continue;
        if (texts->hasText && !texts->hasText(i + 1)) continue;
        QPicture picture;
        {
            QPainter pp(&picture);
            Canvas pc(&pp);
            texts->paint(pc, i + 1, Rect(0, 0, w - 1, h - 1), target.rendererZoom);
        }
        picture.setBoundingRect(QRect(0, 0, w, h));
        c.StretchDraw(r, picture);
    }
}

}  // namespace plennix
