#include "surface/graphic_panel_tile.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/common_dialogs.h"

namespace plennix {

namespace {

void bevel(Canvas& c, Rect& r, TPanelBevel kind, int width) {
    if (kind == bvNone) return;
    const TColor light = kind == bvRaised ? clBtnHighlight : clBtnShadow;
    const TColor dark = kind == bvRaised ? clBtnShadow : clBtnHighlight;
    c.Frame3D(r, light, dark, width);
}

Rect shrunk(Rect r, int n) { return {r.left + n, r.top + n, r.right - n, r.bottom - n}; }

}  // namespace

Rect GraphicPanelInterior(const GraphicPanelLook& look, Rect r) {
    if (look.borderStyle == bsSingle) r = shrunk(r, 1);
    if (look.bevelOuter != bvNone) r = shrunk(r, look.bevelWidth);
    r = shrunk(r, look.borderWidth);
    if (look.bevelInner != bvNone) r = shrunk(r, look.bevelWidth);
    return r;
}

void PaintGraphicPanel(Canvas& c, const GraphicPanelLook& look, Rect r) {
    if (look.borderStyle == bsSingle) c.Frame3D(r, clBlack, clBlack, 1);
    bevel(c, r, look.bevelOuter, look.bevelWidth);
    c.Frame3D(r, look.color, look.color, look.borderWidth);
    bevel(c, r, look.bevelInner, look.bevelWidth);
    c.FillRect(r, look.color);
    c.SetBrushClear();
    c.SetFont(look.font);
    c.SetTextColor(look.font.color);
    c.SetBkTransparent(true);

    const int h = c.TextHeight(QStringLiteral("W"));
    const int top = (r.top + r.bottom - h) / 2;
    const Rect captionRect(r.left, top, r.right, top + h);
    uint32_t flags = DT_EXPANDTABS | DT_VCENTER;
    if (look.alignment == taCenter) flags |= DT_CENTER;
    if (look.alignment == taRightJustify) flags |= DT_RIGHT;
    // Clipped to the caption rectangle: a caption longer than the tile never spills over it.
    c.Save();
    c.IntersectClipRect(captionRect);
    c.DrawText(look.caption, captionRect, flags);
    c.Restore();
}

TGraphicPanel::TGraphicPanel(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(185, 41);
}

void TGraphicPanel::SetAlignment(TAlignment v) {
    m_look.alignment = v;
    update();
}

void TGraphicPanel::SetBevelInner(TPanelBevel v) {
    m_look.bevelInner = v;
    update();
}

void TGraphicPanel::SetBevelOuter(TPanelBevel v) {
    m_look.bevelOuter = v;
    update();
}

void TGraphicPanel::SetBevelWidth(int v) {
    m_look.bevelWidth = v;
    update();
}

void TGraphicPanel::SetBorderWidth(int v) {
    m_look.borderWidth = v;
    update();
}

void TGraphicPanel::SetBorderStyle(TBorderStyle v) {
    m_look.borderStyle = v;
    update();
}

void TGraphicPanel::SetColor(TColor v) {
    m_look.color = v;
    update();
}

void TGraphicPanel::SetCaption(const QString& v) {
    m_look.caption = v;
    update();
}

FontRecord TGraphicPanel::Font() const {
    if (!m_parentFont) return m_look.font;
    FontRecord f = FontRecordFromQFont(font(), m_look.font.color);
    return f;
}

void TGraphicPanel::SetFont(const FontRecord& f) {
    m_look.font = f;
    m_parentFont = false;
    update();
}

void TGraphicPanel::SetParentFont(bool v) {
    if (!v && m_parentFont) m_look.font = Font();
    m_parentFont = v;
    update();
}

GraphicPanelLook TGraphicPanel::Look() const {
    GraphicPanelLook look = m_look;
    look.font = Font();
    return look;
}

void TGraphicPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Canvas canvas(&painter);
    PaintGraphicPanel(canvas, Look(), Rect(0, 0, width(), height()));
}

void TGraphicPanel::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton) m_pressed = true;
    if (OnMouseDown) OnMouseDown(this, event->button(), event->modifiers(), p.x(), p.y());
}

void TGraphicPanel::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (OnMouseMove) OnMouseMove(this, event->modifiers(), p.x(), p.y());
}

void TGraphicPanel::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    // The tile keeps the mouse from press to release; only a release over it is a click.
    const bool click = event->button() == Qt::LeftButton && m_pressed && rect().contains(p);
    if (event->button() == Qt::LeftButton) m_pressed = false;
    if (click && OnClick) OnClick(this);
    if (OnMouseUp) OnMouseUp(this, event->button(), event->modifiers(), p.x(), p.y());
}

void TGraphicPanel::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton && OnDblClick) OnDblClick(this);
    if (OnMouseDown) OnMouseDown(this, event->button(), event->modifiers(), p.x(), p.y());
}

void TGraphicPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (OnResize) OnResize(this);
}

}  // namespace plennix
