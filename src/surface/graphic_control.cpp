#include "surface/graphic_control.h"

#include "platform/numbers.h"

namespace plennix {

TGGraphicControl::TGGraphicControl(QObject* owner) : QObject(owner) {}

TGGraphicControl::~TGGraphicControl() {
    if (m_list) {
        Invalidate();
        m_list->Remove(this);
    }
}

const PropertyTable& TGGraphicControl::Properties() const {
    static const PropertyTable table = CommonProperties();
    return table;
}

namespace {
// A zoom of nothing is taken as 100 %, as the panel takes its own.
double usableZoom(float zoom) { return static_cast<double>(zoom) * 10 == 0 ? 1.0 : static_cast<double>(zoom); }

// A side at the zoom, rounded half to even (the first step from 100 % gives what scaling always gave).
int shownSide(int model, float zoom) { return zoom == 1.0f ? model : roundHalfEven(model * usableZoom(zoom)); }
int modelSide(int shown, float zoom) { return zoom == 1.0f ? shown : roundHalfEven(shown / usableZoom(zoom)); }
}  // namespace

void TGGraphicControl::SetBounds(int left, int top, int width, int height) {
    if (left != m_left) m_modelLeft = modelSide(left, m_zoom);
    if (top != m_top) m_modelTop = modelSide(top, m_zoom);
    if (width != m_width) m_modelWidth = modelSide(width, m_zoom);
    if (height != m_height) m_modelHeight = modelSide(height, m_zoom);
    showBounds(left, top, width, height);
}

void TGGraphicControl::showBounds(int left, int top, int width, int height) {
    if (left == m_left && top == m_top && width == m_width && height == m_height) return;
    Invalidate();
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    Invalidate();
    boundsSet();
}

void TGGraphicControl::showModelBounds() {
    showBounds(shownSide(m_modelLeft, m_zoom), shownSide(m_modelTop, m_zoom), shownSide(m_modelWidth, m_zoom),
               shownSide(m_modelHeight, m_zoom));
}

void TGGraphicControl::SetLaidOutSize(int modelWidth, int modelHeight, int shownWidth, int shownHeight) {
    m_modelWidth = modelWidth;
    m_modelHeight = modelHeight;
    showBounds(m_left, m_top, shownWidth, shownHeight);
}

void TGGraphicControl::SetZoomField(float z) {
    if (z == m_zoom) return;
    m_zoom = z;
    m_modelLeft = modelSide(m_left, z);
    m_modelTop = modelSide(m_top, z);
    m_modelWidth = modelSide(m_width, z);
    m_modelHeight = modelSide(m_height, z);
}

void TGGraphicControl::ShowAtZoom(float z) {
    if (z == m_zoom) return;
    m_zoom = z;
    const bool loading = m_loading;
    m_loading = true;
    showModelBounds();
    m_loading = loading;
}

void TGGraphicControl::boundsSet() {
    // The window framework reports every bounds change, except while the object is read.
    if (!m_loading) BoundsChanged();
}

void TGGraphicControl::SetVisible(bool v) {
    if (m_visible == v) return;
    m_visible = v;
    Invalidate();
}

void TGGraphicControl::SetList(TGObjectList* list) {
    if (m_list == list) return;
    // An object that leaves a page leaves its selection too (the list's observer sees to it): the
    // frame must never hold an object that is not on its page (it would outlive it there).
    if (m_list) {
        Invalidate();
        m_list->Remove(this);
    }
    m_list = list;
    if (list) {
        list->Insert(this);
        Invalidate();
    }
}

void TGGraphicControl::Invalidate() const {
    if (m_list && m_list->Observer() && m_width > 0 && m_height > 0)
        m_list->Observer()->ObjectNeedsRepaint(BoundsRect().inflated(3, 3));
}

void TGGraphicControl::Loaded() {}

void TGGraphicControl::Paint(Canvas&) {
    // The selection squares are drawn over all objects by the panel's frame, so that they are not
    // clipped to the object's own bounds.
}

void TGGraphicControl::BoundsChanged() {
    if (m_busy) return;
    m_busy = true;
    Rect current = BoundsRect();
    if (m_lastBounds.isNull()) m_lastBounds = current;
    if (!(current == m_lastBounds)) {
        NotifyChanged();
        m_lastBounds = current;
        RequestFrameRefit();
    }
    m_busy = false;
}

void TGGraphicControl::ScaleTo(float newZoom) {
    if (newZoom == m_zoom) return;
    m_zoom = newZoom;
    showModelBounds();
    BoundsChanged();
}

void TGGraphicControl::NotifyChanged() {
    if (m_list && m_list->Observer()) m_list->Observer()->ObjectChanged(*this);
}

void TGGraphicControl::RequestFrameRefit() {
    if (m_list && m_list->Observer()) m_list->Observer()->ObjectBoundsChanged(*this);
}

void TGGraphicControl::SetLocked(bool value) {
    if (value == m_locked) return;
    m_locked = value;
    if (m_loading) return;
    NotifyChanged();
}

void TGGraphicControl::ToggleLocked() {
    m_locked = !m_locked;
    NotifyChanged();
}

void TGGraphicControl::SetUnselectable(bool value) {
    if (value == m_unselectable) return;
    m_unselectable = value;
    if (m_loading) return;
    NotifyChanged();
    if (value && m_list && m_list->Observer()) m_list->Observer()->ObjectMadeUnselectable(*this);
}

void TGGraphicControl::MakeUnselectable() {
    SetUnselectable(true);
    NotifyChanged();
    if (m_list && m_list->Observer()) m_list->Observer()->ObjectMadeUnselectable(*this);
}

void TGGraphicControl::BringToFront() {
    NotifyChanged();
    if (m_list) m_list->BringToFront(this);
}

void TGGraphicControl::SendToBack() {
    NotifyChanged();
    if (m_list) m_list->SendToBack(this);
}

}  // namespace plennix
