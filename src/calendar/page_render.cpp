#include "calendar/page_render.h"

#include <QPainter>
#include <algorithm>

#include "calendar/calendar_drawing.h"
#include "platform/canvas.h"
#include "richtext/rtf_renderer.h"
#include "surface/graphic_control.h"
#include "surface/object_list.h"

namespace plennix {

QImage RenderPageImage(const CalendarSettings& settings, const LayoutResult& layout, const CellStores& cells,
                       TGObjectList& objects, float zoom) {
    QImage image(std::max(1, layout.PanelWidth(zoom)), std::max(1, layout.PanelHeight(zoom)), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    Canvas canvas(&painter);
    TWPRtfRenderer renderer;
    const CellTextPainter texts = MakeCellTextPainter(cells, renderer);
    PageDrawState state;
    PaintCalendarPage(canvas, settings, layout, zoom, state, &texts);
    for (TGGraphicControl* o : objects.Objects()) o->ShowAtZoom(zoom);
    objects.Paint(canvas);
    return image;
}

}  // namespace plennix
