#include "richtext/rtf_renderer.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextDocument>
#include <cmath>

#include "richtext/rtf_model.h"

namespace plennix {

void TWPRtfRenderer::LoadFrom(const TWPRtfStorage& store) {
    m_document = store.IsEmpty() ? nullptr : store.Document();
}

void TWPRtfRenderer::Clear() { m_document.reset(); }

bool TWPRtfRenderer::IsEmpty() const { return !m_document || m_document->isEmpty(); }

void TWPRtfRenderer::layout(int paintWidth) {
    if (!m_document) return;
    // The text is laid out at 100 %: the page width in pixels at zoom 1.
    double width = m_pageWidth > 0 ? TwipsToPixels(m_pageWidth) : paintWidth * 100.0 / m_zoom;
    if (width <= 0) width = 1;
    // Setting the width always lays the whole text out again, even when it is unchanged.
    if (m_document->textWidth() != width) m_document->setTextWidth(width);
}

void TWPRtfRenderer::Paint(QPainter* painter, int width, int height) {
    if (width <= 0 || height <= 0) return;
    if (m_background != clNone) painter->fillRect(QRect(0, 0, width, height), toQColor(m_background));
    if (!m_document) return;
    layout(width);
    const double scale = m_zoom / 100.0;
    painter->save();
    painter->setClipRect(QRect(0, 0, width, height), Qt::IntersectClip);
    painter->scale(scale, scale);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    context.clip = QRectF(0, 0, width / scale, height / scale);
    m_document->documentLayout()->draw(painter, context);
    painter->restore();
}

int TWPRtfRenderer::ContentWidth() const {
    return static_cast<int>(std::ceil(TwipsToPixels(m_pageWidth) * m_zoom / 100.0));
}

int TWPRtfRenderer::ContentHeight(int paintWidth) {
    if (!m_document) return 0;
    layout(paintWidth);
    return static_cast<int>(std::ceil(m_document->size().height() * m_zoom / 100.0));
}

void PaintRtf(QPainter* painter, const TWPRtfStorage& store, int width, int height, int zoomPercent,
              int pageWidthTwips) {
    TWPRtfRenderer renderer;
    renderer.SetZoomPercent(zoomPercent);
    renderer.SetPageSize(pageWidthTwips, 0);
    renderer.LoadFrom(store);
    renderer.Paint(painter, width, height);
}

}  // namespace plennix
