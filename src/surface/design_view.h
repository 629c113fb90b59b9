#pragma once
// TGDesignView: how a page is shown besides what its document holds. The zoom its objects are shown
// at (their document geometry stays at 100 %), the outline shape its pictures and grid are clipped
// to, and the design grid. A page apart from any window keeps one so that its output shows what the
// window showed; a design panel shows the one its page lends it.
#include "surface/object_list.h"

namespace plennix {

struct TGDesignView {
    float zoom = 1.0f;
    TLabelShapeType shape = lsRoundRect;
    TGridSize gridSize = gs4x4;
    bool showGrid = false;
};

}  // namespace plennix
