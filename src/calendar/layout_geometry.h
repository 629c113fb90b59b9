#pragma once
// Where everything lies on a calendar page: page size, main rectangle, mini calendars and their
// months (ArrangeLayout), the inner geometry of a month calendar and of a planner, the date shown in
// each day cell, and the cell look-ups used by clicks. All plain functions over the settings; the
// calendar page truncates every fractional value toward zero.
#include <array>
#include <cstdint>

#include "calendar/calendar_settings.h"
#include "platform/dates.h"
#include "platform/ppi.h"
#include "platform/rect.h"

namespace plennix {

// ---- Dates ----


struct CalDate {
    int year = 1997, month = 1, day = 1;
    bool operator==(const CalDate&) const = default;
};
// Adds whole days (may be negative).
CalDate AddDays(const CalDate& d, int days);
// Adds k months, carrying the year; a month outside 1..12 is brought into range the same way.
CalDate AddMonths(int month, int year, int k);
// The first day a planner shows: MainCalDay/Month/Year brought into a real date (a day of 0, the
// constructor's value, counts as 1; a day past the month's end as its last day).
CalDate PlannerStartDate(const CalendarSettings& s);
// Month and year a month calendar can draw: month into 1..12, year into 1..9999.
CalDate SafeMonth(int month, int year);

// ---- Layout families ----

int LayoutFamily(TCalendarLayout layout);  // 0 month, 1 multi-month, 2 week, 3 two weeks, 4/5 day
bool HasDayCells(TCalendarLayout layout, bool pageVisible);
bool IsLandscapeLayout(TCalendarLayout layout);
bool IsPlannerLayout(TCalendarLayout layout);
// Planner rows including the "Notes" row: 8, 15, 11, 16; 0 for other layouts.
int PlannerRowCount(TCalendarLayout layout);

// ---- Page geometry ----

// trunc(ppi * inches).
int InchToPixels(double inches, int ppi = ScreenPixelsPerInch());
// Each coordinate multiplied by the zoom and truncated separately.
Rect ZoomRect(const Rect& r, float zoom);
int ZoomCoord(int v, float zoom);

struct MiniCalendar {
    Rect rect;
    int month = 1, year = 1997;
};

constexpr int kMaxMinis = 60;

struct LayoutResult {
    int width = 0, height = 0;  // page size in pixels at 100 %
    Rect contentRect;           // CR
    Rect mainRect;
    bool ShowMain = false, ShowMinis = false, IsPlanner = false;
    int miniCount = 0;
    std::array<MiniCalendar, kMaxMinis> minis{};

    // The panel's size at a zoom.
    int PanelWidth(float zoom) const;
    int PanelHeight(float zoom) const;
};

// Computes the page geometry for the settings. Sets the settings' orientation from the layout, and
// with resetMiniFonts the three mini fonts' sizes. Entries the layout leaves "unchanged" (the main
// rectangle of multi-month pages, the mini list of full month pages) are taken from `previous`.
LayoutResult ArrangeLayout(CalendarSettings& settings, bool resetMiniFonts, const LayoutResult& previous = {},
                           int ppi = ScreenPixelsPerInch());

// The boxes of a rows x cols grid with 1 % gaps, in reading order; the last row and column sit flush
// with the far edges.
struct GridBoxes {
    std::array<Rect, kMaxMinis> boxes{};
    int count = 0;
};
GridBoxes MiniGrid(const Rect& area, int rows, int cols);

// ---- Month calendar ----

struct MonthGeometry {
    Rect frame;        // (L0, T0, R1, B1)
    Rect titleRect;    // before the minimum height (click rectangle)
    Rect titleBand;    // after the minimum height
    Rect dayNameRow;   // click rectangle of the day-name row
    int colW = 0, rowH = 0;
    int E = 0, F = 0;  // top and bottom of the day area
    int L0 = 0, R1 = 0;

    Rect NameBox(int column) const;  // column 0..6
    // Cell 1..42; with upperRight the edges move 4 in on the left and 5 on the right.
    Rect CellRect(int cell, bool upperRight) const;
};

// zoomed: the calendar's rectangle at the drawing zoom; minTitleHeight in pixels (0 for minis);
// headersHeight: |pixel height| of the headers font as drawn.
MonthGeometry ComputeMonthGeometry(const Rect& zoomed, int minTitleHeight, int headersHeight);

// Position (1..7) of the month's first day in a displayed week.
int FirstDayPosition(int month, int year, int startOfWeek);
// Day shown in cell 1..42 of a month page, 0 for a blank cell.
int MonthCellDay(int cell, int month, int year, int startOfWeek);

// ---- Planner ----

struct PlannerGeometry {
    Rect title;
    Rect body;
    int rows = 0, rowH = 0;
    int X = 0;  // right edge of the label column
    int L0 = 0, R1 = 0, B1 = 0;
    Rect labelColumn;

    Rect UpperLabel(int row) const;
    Rect LowerLabel(int row) const;
    Rect CellRect(int row) const;  // cell row + 1: rTotal = rFree
};

PlannerGeometry ComputePlannerGeometry(const Rect& zoomed, int rows, int titleHeight);

// ---- Cells ----

struct CellInfo {
    Rect rTotal;
    int32_t iDay = 0;
    Rect rFree;
};
using CellInfoArray = std::array<CellInfo, kCellCount>;  // cell 1 at index 0

// First cell (1 upwards) whose day is `day`; -1 when none.
int CellOfDay(const CellInfoArray& cells, int day);
// First cell whose rTotal contains the point; 0 when none.
int CellAtPoint(const CellInfoArray& cells, int x, int y);
bool PointInCell(const CellInfoArray& cells, int x, int y);

}  // namespace plennix
