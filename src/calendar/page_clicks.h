#pragma once
// What a click or a placement on the calendar page means, decided from the last drawing pass; the
// page widget raises the events and creates the objects.
#include "calendar/calendar_drawing.h"

namespace plennix {

struct ClickDispatch {
    int cell = 0;             // cell under the point (1..42), 0 for none
    bool clickedHeader = false;     // raise OnClickedHeader
    bool clickedDaysArea = false;   // raise OnClickedDaysArea
    bool clickedInCell = false;     // raise ClickedInCellEvent for `cell`
    bool click = false;             // raise OnClick
};

// The page's click handler: only the pointer tool reacts. `objectUnderPoint` is the design surface's
// object hit test; `cellHandlerAssigned` whether ClickedInCellEvent has a handler.
ClickDispatch DispatchClick(const PageDrawState& state, const LayoutResult& layout, TLPanelState tool, int x, int y,
                            bool objectUnderPoint, bool cellHandlerAssigned);

// ClickPreviousCell / ClickNextCell: the neighbouring cell (index - 1 or index + 1) when it exists
// and takes text, else 0.
int PreviousTextCell(const CellInfoArray& cells, int index);
int NextTextCell(const CellInfoArray& cells, int index);

// ClearCellTexts empties every cell's rectangles (the day numbers stay until the next pass).
void ClearCellRects(CellInfoArray& cells);

// A placement rectangle from a creation tool: narrower than 25 pixels becomes 50 wide, lower than
// 15 becomes 15 high.
Rect PlacementRect(const Rect& r);

}  // namespace plennix
