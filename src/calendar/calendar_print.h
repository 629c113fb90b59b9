#pragma once
// The calendar page on the report engine: the page's calendar printed in device units at the report's
// resolution, and the report's orientation taken from the page.
#include "calendar/calendar_drawing.h"
#include "printing/report.h"

namespace plennix {

// Prints the calendar (main calendar or planner, minis, cell texts) on the report's current page with
// the offsets in inches; the placed objects print themselves afterwards (the panel's PrintObjects).
// `rendererRect` is the kept cell-1 rectangle of the last screen pass; `printState` receives the
// device cells.
void PrintPage(TReport& report, const CalendarSettings& s, const LayoutResult& layout, const Rect& rendererRect,
               double xOffsetInch, double yOffsetInch, PageDrawState& printState,
               const CellTextPainter* texts = nullptr);

// Landscape for a landscape page, else portrait; called before the job starts.
void ApplyPrinterOrientation(TReport& report, const CalendarSettings& s);

}  // namespace plennix
