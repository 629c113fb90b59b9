#pragma once
// TWPRtfRenderer: paints a store's text onto any QPainter (an image, a QPicture, a printer) from the
// top-left corner within a width and height, at a zoom in per cent, wrapped at a page width in twips with
// zero margins. The text is laid out once at 100 % and drawn scaled, so wrapping is the same at every
// zoom and a store whose text did not change is neither parsed nor laid out again.
#include <QColor>
#include <memory>

#include "platform/colors.h"
#include "richtext/rtf_storage.h"

class QPainter;
class QTextDocument;

namespace plennix {

class TWPRtfRenderer {
public:
    TWPRtfRenderer() = default;

    // Copies a store's text into the renderer (shares the store's laid-out document).
    void LoadFrom(const TWPRtfStorage& store);
    void Clear();
    bool IsEmpty() const;

    void SetZoomPercent(int percent) { m_zoom = std::max(1, percent); }
    int ZoomPercent() const { return m_zoom; }
    // Page width and height in twips; a width of 0 wraps at the painted width.
    void SetPageSize(int widthTwips, int heightTwips) {
        m_pageWidth = std::max(0, widthTwips);
        m_pageHeight = std::max(0, heightTwips);
    }
    int PageWidthTwips() const { return m_pageWidth; }
    int PageHeightTwips() const { return m_pageHeight; }
    // Ground painted under the text; clNone (the default) paints none.
    void SetBackgroundColor(TColor color) { m_background = color; }

    // Paints onto the painter within (0, 0, width, height) in the painter's coordinates.
    void Paint(QPainter* painter, int width, int height);

    // The page width and the text's height, in pixels at the zoom.
    int ContentWidth() const;
    int ContentHeight(int paintWidth = 0);

private:
    void layout(int paintWidth);

    std::shared_ptr<QTextDocument> m_document;
    int m_zoom = 100;
    int m_pageWidth = 0;
    int m_pageHeight = 0;
    TColor m_background = clNone;
};

// One-call form of the renderer, as the calendar's cell text pass uses it.
void PaintRtf(QPainter* painter, const TWPRtfStorage& store, int width, int height, int zoomPercent,
              int pageWidthTwips);

}  // namespace plennix
