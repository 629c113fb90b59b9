#pragma once
// The page's 42 cell stores painted through the rich text renderer, in the form the drawing pass takes.
#include <array>

#include "calendar/calendar_drawing.h"
#include "richtext/rtf_renderer.h"
#include "richtext/rtf_storage.h"

namespace plennix {

using CellStores = std::array<TWPRtfStorage, kCellCount>;  // cell 1 at index 0

// Empty stores are skipped; each text is copied into `renderer`, which paints it at the pass's zoom.
// The stores and the renderer must outlive the returned painter.
CellTextPainter MakeCellTextPainter(const CellStores& stores, TWPRtfRenderer& renderer);

bool HasCellText(const CellStores& stores);

// Reads every cell's text now, their pictures within one budget (pixels, reduced by what they hold), and
// returns what they left out. A document reads its cells this way: read one by one as they are painted,
// 42 texts could each decode as much as one text may.
RtfReadReport ReadCellTexts(const CellStores& stores, qint64& pictureBudget);

}  // namespace plennix
