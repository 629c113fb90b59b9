#include "surface/object_host.h"

#include <QMouseEvent>
#include <algorithm>
#include <QPainter>

#include "surface/graphic_control.h"

namespace plennix {

TGObjectHost::TGObjectHost(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    m_list->SetObserver(this);
}

TGObjectHost::~TGObjectHost() {
    // The list goes with the host (its objects without an owner die with it, owned ones leave it); they
    // tell this half-destroyed widget nothing. A lent list stops reporting here too.
    m_list->SetObserver(nullptr);
}

void TGObjectHost::ShowList(TGObjectList* list) {
    TGObjectList* shown = list ? list : &m_ownList;
    if (shown == m_list) return;
    m_list->SetObserver(nullptr);
    m_captured = nullptr;
    m_hovered = nullptr;
    m_list = shown;
    m_list->SetObserver(this);
    update();
}

void TGObjectHost::ObjectNeedsRepaint(const Rect& area) { update(toQRect(area)); }

void TGObjectHost::ObjectRemoved(TGGraphicControl& object) {
    if (m_captured == &object) m_captured = nullptr;
    if (m_hovered == &object) m_hovered = nullptr;
}

TGObjectHost* HostOfList(const TGObjectList* list) {
    return list ? dynamic_cast<TGObjectHost*>(list->Observer()) : nullptr;
}

TGObjectHost* HostOf(const TGGraphicControl& object) { return HostOfList(object.List()); }

QObject* TGObjectHost::NamingOwner() const {
    return m_namingOwner ? m_namingOwner : const_cast<TGObjectHost*>(this);
}

void TGObjectHost::PaintObjects(Canvas& canvas) { m_list->Paint(canvas); }

void TGObjectHost::PaintBackground(Canvas& canvas) { canvas.FillRect({0, 0, width(), height()}, clWhite); }

QImage TGObjectHost::RenderToImage() {
    QImage image(std::max(1, width()), std::max(1, height()), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    Canvas c(&p);
    PaintBackground(c);
    PaintObjects(c);
    return image;
}

void TGObjectHost::paintEvent(QPaintEvent*) {
    QPainter p(this);
    Canvas c(&p);
    PaintBackground(c);
    PaintObjects(c);
    PaintOverlay(c);
}

void TGObjectHost::mousePressEvent(QMouseEvent* e) {
    // A new press ends whatever an earlier one left behind.
    m_captured = nullptr;
    if (RouteCapturedMouse(e)) return;
    const QPoint pt = e->position().toPoint();
    if (TGGraphicControl* o = ObjectAtPoint(pt.x(), pt.y())) {
        // A windowless control keeps the mouse from its press to the release.
        m_captured = o;
        if (o->OnMouseDown) o->OnMouseDown(o, e->button(), e->modifiers(), pt.x() - o->Left(), pt.y() - o->Top());
        return;
    }
    HostMouseDown(e->button(), e->modifiers(), pt.x(), pt.y());
}

void TGObjectHost::mouseMoveEvent(QMouseEvent* e) {
    if (RouteCapturedMouse(e)) return;
    const QPoint pt = e->position().toPoint();
    if (m_captured) {
        TGGraphicControl* o = m_captured;
        if (o->OnMouseMove) o->OnMouseMove(o, Qt::NoButton, e->modifiers(), pt.x() - o->Left(), pt.y() - o->Top());
        return;
    }
    TGGraphicControl* o = ObjectAtPoint(pt.x(), pt.y());
    if (o != m_hovered) {
        TGGraphicControl* left = m_hovered;
        m_hovered = o;
        if (left) ObjectMouseLeft(left);
    }
    if (o) {
        if (o->OnMouseMove) o->OnMouseMove(o, Qt::NoButton, e->modifiers(), pt.x() - o->Left(), pt.y() - o->Top());
        return;
    }
    HostMouseMove(e->buttons(), e->modifiers(), pt.x(), pt.y());
}

void TGObjectHost::mouseReleaseEvent(QMouseEvent* e) {
    // The release ends the object's hold on the mouse even when a subclass takes the release (the
    // selection frame that took over after the press selected the object).
    TGGraphicControl* o = m_captured;
    m_captured = nullptr;
    if (RouteCapturedMouse(e)) return;
    const QPoint pt = e->position().toPoint();
    if (o) {
        if (o->OnMouseUp) o->OnMouseUp(o, e->button(), e->modifiers(), pt.x() - o->Left(), pt.y() - o->Top());
        return;
    }
    HostMouseUp(e->button(), e->modifiers(), pt.x(), pt.y());
}

void TGObjectHost::mouseDoubleClickEvent(QMouseEvent* e) {
    if (RouteCapturedMouse(e)) return;
    const QPoint pt = e->position().toPoint();
    if (TGGraphicControl* o = ObjectAtPoint(pt.x(), pt.y())) {
        if (o->OnDblClick) o->OnDblClick(o);
        return;
    }
    HostDoubleClick(pt.x(), pt.y());
}

void TGObjectHost::leaveEvent(QEvent*) {
    if (TGGraphicControl* left = m_hovered) {
        m_hovered = nullptr;
        ObjectMouseLeft(left);
    }
}

}  // namespace plennix
