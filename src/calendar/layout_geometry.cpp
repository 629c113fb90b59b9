#include "calendar/layout_geometry.h"

#include <algorithm>

#include "platform/numbers.h"

namespace plennix {

// ---- Dates ----


namespace {

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
int64_t DaysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

CalDate CivilFromDays(int64_t z) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {static_cast<int>(yoe + era * 400 + (m <= 2)), m, d};
}

}  // namespace


CalDate AddDays(const CalDate& d, int days) { return CivilFromDays(DaysFromCivil(d.year, d.month, d.day) + days); }

CalDate AddMonths(int month, int year, int k) {
    int64_t total = static_cast<int64_t>(year) * 12 + (month - 1) + k;
    int64_t y = total >= 0 ? total / 12 : (total - 11) / 12;
    int m = static_cast<int>(total - y * 12) + 1;
    return {static_cast<int>(std::clamp<int64_t>(y, INT32_MIN, INT32_MAX)), m, 1};
}

CalDate SafeMonth(int month, int year) {
    CalDate d = AddMonths(month, year, 0);
    d.year = std::clamp(d.year, 1, 9999);
    return d;
}

CalDate PlannerStartDate(const CalendarSettings& s) {
    CalDate d = SafeMonth(s.MainCalMonth, s.MainCalYear);
    d.day = std::clamp(s.MainCalDay, 1, DaysInMonth(d.year, d.month));
    return d;
}

// ---- Layout families ----

int LayoutFamily(TCalendarLayout layout) {
    int o = static_cast<int>(layout);
    if (o <= 7) return 0;
    if (o <= 17) return 1;
    return o - 16;  // loWeek 2, lo2Week 3, loDay10 4, loDay15 5
}

bool HasDayCells(TCalendarLayout layout, bool pageVisible) { return LayoutFamily(layout) != 1 && pageVisible; }

bool IsLandscapeLayout(TCalendarLayout layout) {
    int o = static_cast<int>(layout);
    return o <= 17 && o % 2 == 1;
}

bool IsPlannerLayout(TCalendarLayout layout) { return LayoutFamily(layout) >= 2; }

int PlannerRowCount(TCalendarLayout layout) {
    switch (layout) {
    case TCalendarLayout::loWeek: return 8;
    case TCalendarLayout::lo2Week: return 15;
    case TCalendarLayout::loDay10: return 11;
    case TCalendarLayout::loDay15: return 16;
    default: return 0;
    }
}

// ---- Page geometry ----

int InchToPixels(double inches, int ppi) { return truncToInt(ppi * inches); }

int ZoomCoord(int v, float zoom) { return truncToInt(static_cast<double>(v) * static_cast<double>(zoom)); }

Rect ZoomRect(const Rect& r, float zoom) {
    return {ZoomCoord(r.left, zoom), ZoomCoord(r.top, zoom), ZoomCoord(r.right, zoom), ZoomCoord(r.bottom, zoom)};
}

int LayoutResult::PanelWidth(float zoom) const { return ZoomCoord(width, zoom); }
int LayoutResult::PanelHeight(float zoom) const { return ZoomCoord(height, zoom); }

GridBoxes MiniGrid(const Rect& area, int rows, int cols) {
    GridBoxes g;
    const int l = area.left, t = area.top, r = area.right, b = area.bottom;
    const int gapY = truncToInt(0.01 * (b - t));
    const int gapX = truncToInt(0.01 * (r - l));
    const int boxH = truncToInt(static_cast<double>(b - t - gapY * (rows - 1)) / rows);
    const int boxW = truncToInt(static_cast<double>(r - l - gapX * (cols - 1)) / cols);
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < cols; ++j) {
            if (g.count >= kMaxMinis) return g;
            int left = (j == cols - 1) ? r - boxW : l + j * (gapX + boxW);
            int top = (i == rows - 1) ? b - boxH : t + i * (gapY + boxH);
            g.boxes[g.count++] = Rect(left, top, left + boxW, top + boxH);
        }
    }
    return g;
}

namespace {

// Puts the grid's boxes into minis first..last (1-based), in reading order.
void FillMinis(LayoutResult& res, const Rect& area, int rows, int cols, int first, int last) {
    GridBoxes g = MiniGrid(area, rows, cols);
    int index = first;
    for (int i = 0; i < g.count && index <= last; ++i, ++index) res.minis[index - 1].rect = g.boxes[i];
}

void SetMiniMonths(LayoutResult& res, int first, int last, int month, int year, int firstOffset) {
    for (int k = first; k <= last; ++k) {
        CalDate d = AddMonths(month, year, firstOffset + (k - first));
        res.minis[k - 1].month = d.month;
        res.minis[k - 1].year = d.year;
    }
}

void ResetMiniFontSizes(CalendarSettings& s, int points) {
    s.MiniTitleFont.setSize(points);
    int small = truncToInt(0.8 * points);
    s.MiniHeadersFont.setSize(small);
    s.MiniCellFont.setSize(small);
}

}  // namespace

LayoutResult ArrangeLayout(CalendarSettings& s, bool resetMiniFonts, const LayoutResult& previous, int ppi) {
    LayoutResult res = previous;
    const TCalendarLayout layout = s.CalendarLayout;
    const int o = static_cast<int>(layout);
    const bool landscape = IsLandscapeLayout(layout);
    s.CalendarOrientation = landscape ? TCalendarOrientation::coLandscape : TCalendarOrientation::coPortrait;

    const bool a4 = s.PaperSize == 1;
    const double shortSide = a4 ? 8.27 : 8.5;
    const double longSide = a4 ? 11.69 : 11.0;
    const int W = InchToPixels(landscape ? longSide : shortSide, ppi);
    const int H = InchToPixels(landscape ? shortSide : longSide, ppi);
    res.width = W;
    res.height = H;

    // Margins are added to their constants before the conversion. Values no page can have (from a
    // damaged file) are held within 100 inches so that no coordinate overflows.
    auto margin = [](float m) {
        const double v = m;
        return v > 100.0 ? 100.0 : (v >= -100.0 ? v : -100.0);
    };
    const double L = margin(s.LeftMarginInch), T = margin(s.TopMarginInch), R = margin(s.RightMarginInch),
                 B = margin(s.BottomMarginInch);
    auto px = [ppi](double inches) { return InchToPixels(inches, ppi); };
    const Rect CR(px(L) + 2, px(T) + 2, W - px(R) - 2, H - px(B) - 2);
    res.contentRect = CR;

    const int M = s.MainCalMonth, Y = s.MainCalYear;
    int miniFontSize = 0;

    if (o <= 7) {
        res.ShowMain = true;
        res.IsPlanner = false;
        res.ShowMinis = o >= 2;
        res.mainRect = CR;
    } else if (o <= 17) {
        res.ShowMain = false;
        res.ShowMinis = true;
        res.IsPlanner = false;
    } else {
        res.ShowMain = false;
        res.ShowMinis = false;
        res.IsPlanner = true;
        res.mainRect = CR;
        res.miniCount = 0;
    }

    switch (layout) {
    case TCalendarLayout::loFCMinisInTitle:
    case TCalendarLayout::loFCMinisInTitleLS: {
        const int S = InchToPixels(1.5, ppi), h = ppi / 8;
        const Rect& m = res.mainRect;
        res.minis[0].rect = Rect(m.left + h, m.top + h, m.left + S - h, m.top + S - h);
        res.minis[1].rect = Rect(m.right - S + h, m.top + h, m.right - h, m.top + S - h);
        SetMiniMonths(res, 1, 1, M, Y, -1);
        SetMiniMonths(res, 2, 2, M, Y, 1);
        res.miniCount = 2;
        miniFontSize = 10;
        break;
    }
    case TCalendarLayout::loFC6Before6After:
    case TCalendarLayout::loFC6Before6AfterLS:
        if (landscape) {
            res.mainRect = Rect(px(L + 1.3) + 4, px(T) + 2, W - px(R + 1.3) - 4, H - px(B) - 2);
            FillMinis(res, Rect(px(L) + 2, px(T) + 2, px(L + 1.3), H - px(B) - 2), 6, 1, 1, 6);
            FillMinis(res, Rect(W - px(R + 1.3) + 2, px(T) + 2, W - px(R) - 2, H - px(B) - 2), 6, 1, 7, 12);
        } else {
            res.mainRect = Rect(px(L) + 2, px(T + 1.3) + 2, W - px(R) - 2, H - px(B + 1.3) - 2);
            FillMinis(res, Rect(px(L) + 2, px(T) + 2, W - px(R) - 2, px(T + 1.3) - 2), 1, 6, 1, 6);
            FillMinis(res, Rect(px(L) + 2, H - px(B + 1.3) + 2, W - px(R) - 2, H - px(B) - 2), 1, 6, 7, 12);
        }
        SetMiniMonths(res, 1, 6, M, Y, -6);
        SetMiniMonths(res, 7, 12, M, Y, 1);
        res.miniCount = 12;
        miniFontSize = 10;
        break;
    case TCalendarLayout::loFC12After:
    case TCalendarLayout::loFC12AfterLS:
        if (landscape) {
            res.mainRect = Rect(px(L) + 2, px(T) + 2, W - px(R + 2.9) - 2, H - px(B) - 2);
            FillMinis(res, Rect(W - px(R + 2.8) + 2, px(T) + 2, W - px(R), H - px(B) - 2), 6, 2, 1, 12);
        } else {
            res.mainRect = Rect(px(L) + 2, px(T) + 2, W - px(R) - 2, H - px(B + 2.9) - 2);
            FillMinis(res, Rect(px(L) + 2, H - px(B + 2.8) + 2, W - px(R) - 2, H - px(B) + 2), 2, 6, 1, 12);
        }
        SetMiniMonths(res, 1, 12, M, Y, 1);
        res.miniCount = 12;
        miniFontSize = 10;
        break;
    default:
        if (o >= 8 && o <= 17) {
            struct Grid {
                int count, rows, cols, font;
            };
            static constexpr Grid kGrids[5] = {{6, 3, 2, 18}, {12, 4, 3, 18}, {24, 6, 4, 12}, {48, 8, 6, 10}, {60, 10, 6, 8}};
            const Grid& g = kGrids[(o - 8) / 2];
            const int rows = landscape ? g.cols : g.rows, cols = landscape ? g.rows : g.cols;
            FillMinis(res, CR, rows, cols, 1, g.count);
            SetMiniMonths(res, 1, g.count, M, Y, 0);
            res.miniCount = g.count;
            miniFontSize = g.font;
        }
        break;
    }

    if (resetMiniFonts && miniFontSize > 0) ResetMiniFontSizes(s, miniFontSize);
    return res;
}

// ---- Month calendar ----

Rect MonthGeometry::NameBox(int j) const {
    const int left = L0 + j * colW + 1;
    return Rect(left, dayNameRow.top, left + colW - 2, dayNameRow.bottom);
}

Rect MonthGeometry::CellRect(int cell, bool upperRight) const {
    const int r = (cell - 1) / 7, j = (cell - 1) % 7;
    const int top = E + r * rowH + 1;
    const int bottom = top + rowH - 2;
    if (upperRight) return Rect(L0 + j * colW + 5, top, L0 + j * colW + colW - 6, bottom);
    const int left = L0 + j * colW + 1;
    return Rect(left, top, left + colW - 2, bottom);
}

MonthGeometry ComputeMonthGeometry(const Rect& z, int minTitleHeight, int headersHeight) {
    MonthGeometry g;
    const int L0 = z.left, T0 = z.top, R1 = z.right - 1, B1 = z.bottom - 1;
    g.L0 = L0;
    g.R1 = R1;
    g.frame = Rect(L0, T0, R1, B1);
    g.titleRect = Rect(L0, T0 + 1, R1, T0 + 1 + truncToInt(0.17 * (B1 - T0)));
    g.titleBand = g.titleRect;
    if (g.titleBand.bottom - g.titleBand.top < minTitleHeight) g.titleBand.bottom = g.titleBand.top + minTitleHeight;
    g.colW = (R1 - L0) / 7;
    const int rowTop = g.titleBand.bottom + 1;
    g.dayNameRow = Rect(L0, rowTop, R1, rowTop + truncToInt(1.5 * std::abs(headersHeight)));
    g.E = g.dayNameRow.bottom;
    g.F = B1;
    g.rowH = (g.F - g.E) / 6;
    return g;
}

int FirstDayPosition(int month, int year, int startOfWeek) {
    CalDate m = SafeMonth(month, year);
    const int dow = DayOfWeek(m.year, m.month, 1);  // 1 = Sunday
    if (startOfWeek == 1) return dow;
    return dow == 1 ? 7 : dow - 1;
}

int MonthCellDay(int cell, int month, int year, int startOfWeek) {
    CalDate m = SafeMonth(month, year);
    const int d = cell - FirstDayPosition(m.month, m.year, startOfWeek) + 1;
    return (d >= 1 && d <= DaysInMonth(m.year, m.month)) ? d : 0;
}

// ---- Planner ----

PlannerGeometry ComputePlannerGeometry(const Rect& z, int rows, int titleHeight) {
    PlannerGeometry g;
    const int L0 = z.left, T0 = z.top, R1 = z.right - 1, B1 = z.bottom - 1;
    g.L0 = L0;
    g.R1 = R1;
    g.B1 = B1;
    g.rows = std::max(rows, 1);
    g.title = Rect(L0 + 5, T0 + 1, R1 - 5, T0 + 1 + titleHeight);
    g.body = Rect(L0, g.title.bottom + 1, R1, B1);
    g.rowH = (B1 - g.body.top) / g.rows;
    g.X = L0 + truncToInt(0.15 * (R1 - L0));
    g.labelColumn = Rect(L0 + 1, g.body.top + 1, g.X, B1 - 1);
    return g;
}

Rect PlannerGeometry::UpperLabel(int k) const {
    const int top = body.top + k * rowH + 1;
    return Rect(L0 + 1, top, X, top + rowH / 2);
}

Rect PlannerGeometry::LowerLabel(int k) const {
    const Rect u = UpperLabel(k);
    return Rect(u.left, u.bottom, u.right, u.bottom + rowH / 2);
}

Rect PlannerGeometry::CellRect(int k) const {
    const int bottom = (k == rows - 1) ? B1 - 4 : body.top + (k + 1) * rowH - 4;
    return Rect(X + 4, body.top + k * rowH + 4, R1 - 4, bottom);
}

// ---- Cells ----

int CellOfDay(const CellInfoArray& cells, int day) {
    for (int i = 0; i < kCellCount; ++i)
        if (cells[i].iDay == day) return i + 1;
    return -1;
}

int CellAtPoint(const CellInfoArray& cells, int x, int y) {
    for (int i = 0; i < kCellCount; ++i)
        if (cells[i].rTotal.contains(x, y)) return i + 1;
    return 0;
}

bool PointInCell(const CellInfoArray& cells, int x, int y) { return CellAtPoint(cells, x, y) != 0; }

}  // namespace plennix
