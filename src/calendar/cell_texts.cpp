#include "calendar/cell_texts.h"

namespace plennix {

CellTextPainter MakeCellTextPainter(const CellStores& stores, TWPRtfRenderer& renderer) {
    CellTextPainter p;
    p.hasText = [&stores](int cell) { return cell >= 1 && cell <= kCellCount && !stores[cell - 1].IsEmpty(); };
    p.paint = [&stores, &renderer](Canvas& target, int cell, const Rect& rFree, float zoom) {
        if (cell < 1 || cell > kCellCount) return;
        renderer.LoadFrom(stores[cell - 1]);
        // The printer passes 0 and keeps the zoom its kept cell-1 rectangle was measured at.
        if (zoom > 0.0f) renderer.SetZoomPercent(ZoomPercent(zoom));
        renderer.Paint(target.painter(), rFree.right - rFree.left + 1, rFree.bottom - rFree.top + 1);
    };
    return p;
}

bool HasCellText(const CellStores& stores) {
    for (const TWPRtfStorage& s : stores)
        if (!s.IsEmpty()) return true;
    return false;
}

RtfReadReport ReadCellTexts(const CellStores& stores, qint64& pictureBudget) {
    RtfReadReport report;
    for (const TWPRtfStorage& s : stores) report += s.ReadWithin(pictureBudget).report;
    return report;
}

}  // namespace plennix
