#include "calendar/page_clicks.h"

namespace plennix {

ClickDispatch DispatchClick(const PageDrawState& state, const LayoutResult& layout, TLPanelState tool, int x, int y,
                            bool objectUnderPoint, bool cellHandlerAssigned) {
    ClickDispatch d;
    if (tool != TLPanelState::psPointing) return d;
    d.cell = CellAtPoint(state.cells, x, y);
    d.clickedHeader = state.titleRect.contains(x, y);
    d.clickedDaysArea = state.dayNameRowRect.contains(x, y);
    if (d.cell != 0 && (layout.ShowMain || layout.IsPlanner))
        d.clickedInCell = cellHandlerAssigned && !objectUnderPoint;
    else
        d.click = true;
    return d;
}

int PreviousTextCell(const CellInfoArray& cells, int index) {
    if (index <= 1 || index > kCellCount) return 0;
    return cells[index - 2].rFree.isEmpty() ? 0 : index - 1;
}

int NextTextCell(const CellInfoArray& cells, int index) {
    if (index < 1 || index >= kCellCount) return 0;
    return cells[index].rFree.isEmpty() ? 0 : index + 1;
}

void ClearCellRects(CellInfoArray& cells) {
    for (CellInfo& c : cells) c.rTotal = c.rFree = Rect{};
}

Rect PlacementRect(const Rect& r) {
    Rect p = r;
    if (p.right - p.left < 25) p.right = p.left + 50;
    if (p.bottom - p.top < 15) p.bottom = p.top + 15;
    return p;
}

}  // namespace plennix
