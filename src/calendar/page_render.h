#pragma once
// The page drawn apart from any window: white paper, the calendar with its day cells' texts, then the
// placed objects in z-order, at a zoom. The design surface draws the same and adds its grid and
// selection above; this needs Qt Gui only, so that a document can be drawn where no window exists.
#include <QImage>

#include "calendar/calendar_settings.h"
#include "calendar/cell_texts.h"
#include "calendar/layout_geometry.h"

namespace plennix {

class TGObjectList;

// The objects are shown at `zoom` (their document geometry scaled) before they are drawn.
QImage RenderPageImage(const CalendarSettings& settings, const LayoutResult& layout, const CellStores& cells,
                       TGObjectList& objects, float zoom);

}  // namespace plennix
