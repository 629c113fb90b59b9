#include "surface/object_host.h"

#include <QMouseEvent>
#include <algorithm>
#include <QPainter>

#include "surface/graphic_control.h"

namespace plennix {

TGObjectHost::TGObjectHost(QWidget* parent) : QWidget(parent) { setMouseTracking(true); }

TGObjectHost::~TGObjectHost() {
    // Objects without an owner belong to their host; owned ones just lose their host.
    auto objects = m_objects;
    for (TGGraphicControl* obj : objects) {
        if (!obj->parent())
            delete obj;
        else
            obj->SetParent(nullptr);
    }
}

TGGraphicControl* TGObjectHost::ObjectAt(int index) const {
    return index >= 0 && index < ObjectCount() ? m_objects[index] : nullptr;
}

int TGObjectHost::IndexOfObject(const TGGraphicControl* obj) const {
    for (int i = 0; i < ObjectCount(); ++i)
        if (m_objects[i] == obj) return i;
    return -1;
}

void TGObjectHost::InsertObject(TGGraphicControl* obj) {
    // SetParent calls this only when the object moves to this host, so it cannot be here yet; a search
    // would make reading a long object list quadratic.
    if (obj && obj->Parent() == this && (m_objects.empty() || m_objects.back() != obj)) m_objects.push_back(obj);
}

void TGObjectHost::RemoveObject(TGGraphicControl* obj) {
    // Objects leave mostly from the top (pages are cleared from the last object down).
    const auto it = std::find(m_objects.rbegin(), m_objects.rend(), obj);
    if (it != m_objects.rend()) m_objects.erase(std::next(it).base());
    if (m_captured == obj) m_captured = nullptr;
    if (m_hovered == obj) m_hovered = nullptr;
}

void TGObjectHost::BringObjectToFront(TGGraphicControl* obj) {
    int i = IndexOfObject(obj);
    if (i < 0) return;
    m_objects.erase(m_objects.begin() + i);
    m_objects.push_back(obj);
    obj->Invalidate();
}

void TGObjectHost::SendObjectToBack(TGGraphicControl* obj) {
    int i = IndexOfObject(obj);
    if (i < 0) return;
    m_objects.erase(m_objects.begin() + i);
    m_objects.insert(m_objects.begin(), obj);
    obj->Invalidate();
}

TGGraphicControl* TGObjectHost::ObjectAtPoint(int x, int y) const {
    for (int i = ObjectCount() - 1; i >= 0; --i) {
        TGGraphicControl* o = m_objects[i];
        if (o->Visible() && o->BoundsRect().contains(x, y)) return o;
    }
    return nullptr;
}

QObject* TGObjectHost::NamingOwner() const {
    return m_namingOwner ? m_namingOwner : const_cast<TGObjectHost*>(this);
}

void TGObjectHost::PaintObjects(Canvas& canvas) {
    // Painting may not change the list, but an object's paint may relayout; copy to be safe.
    const auto objects = m_objects;
    for (TGGraphicControl* o : objects) {
        if (!o->Visible() || o->Width() <= 0 || o->Height() <= 0) continue;
        canvas.Save();
        canvas.Translate(o->Left(), o->Top());
        canvas.IntersectClipRect({0, 0, o->Width(), o->Height()});
        o->Paint(canvas);
        canvas.Restore();
    }
}

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
