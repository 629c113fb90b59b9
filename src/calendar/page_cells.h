#pragma once
// The day cells of a calendar page as a person reaches them without a mouse: which cells are day
// cells, how they stand in rows and columns, where the arrow keys lead, and what each cell is read as
// by a screen reader. Plain functions over the settings and the layout; no drawing pass is needed.
#include <QString>
#include <optional>

#include "calendar/calendar_settings.h"
#include "calendar/layout_geometry.h"

namespace plennix {

// The table the page's cells form: a month page's weeks (up to the one holding its last day) by seven
// days, or a planner's rows (its days or hours, then its notes) in one column. Empty for a page
// without day cells (the multi-month pages).
struct PageCellGrid {
    int rows = 0;
    int columns = 0;
    int CellAt(int row, int column) const;  // cell 1..42, 0 outside the table
    int RowOf(int cell) const { return columns > 0 ? (cell - 1) / columns : -1; }
    int ColumnOf(int cell) const { return columns > 0 ? (cell - 1) % columns : -1; }
};
PageCellGrid CellGridOf(const CalendarSettings& s, const LayoutResult& layout);

// A month page's cells that show a day, and every row of a planner.
bool IsDayCell(const CalendarSettings& s, const LayoutResult& layout, int cell);

enum class CellStep { Left, Right, Up, Down, First, Last };
// The day cell a step leads to: left and right go to the day before and after, up and down a row;
// `cell` itself when the step leads off the day cells.
int StepCellFocus(const CalendarSettings& s, const LayoutResult& layout, int cell, CellStep step);
// Where the cell focus starts: the cell of `today` when the page shows it, else the first day cell;
// 0 for a page without day cells.
int StartCellFocus(const CalendarSettings& s, const LayoutResult& layout, const CalDate& today);

// Where Enter places an object of `width` by `height` pixels whose corner goes to `at` (just inside the
// focused cell): there, moved back onto a page of `pageWidth` by `pageHeight` where it would stand over
// the page's right or bottom edge (to the page's left or top edge when it is larger than the page).
Rect KeyboardPlacement(Point at, int width, int height, int pageWidth, int pageHeight);

// The date a month page's day cell or a week planner's day row shows.
std::optional<CalDate> CellDate(const CalendarSettings& s, const LayoutResult& layout, int cell);
// What a cell is called, in the page's own month and day names: "Friday 24 December", a day planner's
// hour ("8:00 AM"), or "Notes"; empty for a cell that is no day cell.
QString CellCaption(const CalendarSettings& s, const LayoutResult& layout, int cell);
// The caption and what the cell holds, as one line: "Friday 24 December: Christmas Eve".
QString CellReadName(const QString& caption, const QString& plainText);

}  // namespace plennix
