#include "surface/handle.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include "platform/numbers.h"
#include "platform/ticks.h"
#include "surface/base_panel.h"
#include "surface/cursors.h"
#include "surface/graphic_control.h"
#include "surface/object_menus.h"

namespace plennix {

FrameBounds ComputeDragBounds(const FrameBounds& f, int zone, int dx, int dy, int gridX, int gridY) {
    gridX = std::max(1, gridX);
    gridY = std::max(1, gridY);
    auto snapX = [gridX](int v) { return gridX * (v / gridX); };
    auto snapY = [gridY](int v) { return gridY * (v / gridY); };
    const int L = f.left, T = f.top, W = f.width, H = f.height;
    FrameBounds n = f;
    switch (zone) {
        case 0:
            n.left = snapX(L + dx);
            n.top = snapY(T + dy);
            break;
        case 1:
            n.left = snapX(L + dx);
            n.top = snapY(T + dy);
            n.width = W + L - n.left;
            n.height = H + T - n.top;
            break;
        case 2:
            n.top = snapY(T + dy);
            n.width = snapX(W + dx) - 1;
            n.height = H + T - n.top;
            break;
        case 3:
            n.left = snapX(L + dx);
            n.width = W + L - n.left;
            n.height = snapY(H + dy) - 1;
            break;
        case 4:
            n.width = snapX(W + dx) - 1;
            n.height = snapY(H + dy) - 1;
            break;
        case 5:
            n.top = snapY(T + dy);
            n.height = H + T - n.top;
            break;
        case 6:
            n.left = snapX(L + dx);
            n.width = W + L - n.left;
            break;
        case 7:
            n.height = snapY(H + dy) - 1;
            break;
        case 8:
            n.width = snapX(W + dx) - 1;
            break;
        default:
            break;
    }
    if (n.width < 5) n.width = 5;
    if (n.height < 5) n.height = 5;
    return n;
}

int ResizeZoneAt(int x, int y, int W, int H) {
    int zone = 0;
    if (std::abs(x) < 8 && std::abs(y) < 8) zone = 1;
    if (std::abs(x - W) < 8 && std::abs(y - H) < 8) zone = 4;
    if (std::abs(x - W) < 8 && std::abs(y) < 8) zone = 2;
    if (std::abs(x) < 8 && std::abs(y - H) < 8) zone = 3;
    if (std::abs(x - W * 0.5) < 6.0 && std::abs(y) < 8) zone = 5;
    if (std::abs(x - W * 0.5) < 6.0 && std::abs(y - H) < 8) zone = 7;
    if (std::abs(y - H * 0.5) < 6.0 && std::abs(x) < 8) zone = 6;
    if (std::abs(y - H * 0.5) < 6.0 && std::abs(x - W) < 8) zone = 8;
    return zone;
}

namespace {
QCursor zoneCursor(int zone) {
    switch (zone) {
        case 1:
        case 4:
            return QCursor(Qt::SizeFDiagCursor);
        case 2:
        case 3:
            return QCursor(Qt::SizeBDiagCursor);
        case 5:
        case 7:
            return QCursor(Qt::SizeVerCursor);
        case 6:
        case 8:
            return QCursor(Qt::SizeHorCursor);
        default:
            return HandGrabCursor();
    }
}
}  // namespace

TGHandle::TGHandle(TGBasePanel* panel) : QWidget(panel), m_panel(panel) {
    // A transparent window: it draws nothing itself and lets the page show through.
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    resize(24, 24);
    setEnabled(false);
    hide();
}

TGHandle::~TGHandle() = default;

FrameBounds TGHandle::OwnBounds() const { return {x(), y(), width(), height()}; }

void TGHandle::SetOwnBounds(int left, int top, int w, int h) {
    if (left == x() && top == y() && w == width() && h == height()) return;
    setGeometry(left, top, w, h);
    m_panel->update();
}

TGGraphicControl* TGHandle::SelectedObject(int index) const {
    if (m_selection.empty() || index < 0 || index >= SelectionCount()) return nullptr;
    return m_selection[index];
}

int TGHandle::IndexInSelection(const TGGraphicControl* obj) const {
    for (int i = 0; i < SelectionCount(); ++i)
        if (m_selection[i] == obj) return i;
    return -1;
}

void TGHandle::focusIfShown() {
    if (isVisible() && isEnabled()) setFocus(Qt::OtherFocusReason);
}

void TGHandle::captureMouse() {
    m_capture = true;
    m_handedOn = nullptr;
}

void TGHandle::AddToSelection(TGGraphicControl* obj) {
    if (!obj || obj->Unselectable()) return;
    m_pressTime = TickCount();
    if (IndexInSelection(obj) >= 0) return;
    m_panel->SetScreenCursor(HandGrabCursor());
    if (!m_selection.empty()) {
        const int l = std::min(x(), obj->Left() - 2);
        const int t = std::min(y(), obj->Top() - 2);
        const int r = std::max(x() + width() - 3, obj->Left() + obj->Width());
        const int b = std::max(y() + height() - 3, obj->Top() + obj->Height());
        SetOwnBounds(l, t, r - l + 3, b - t + 3);
    } else {
        m_dragOutline = {};
        m_panel->ClearDragOutline();
        setEnabled(true);
        show();
        SetOwnBounds(obj->Left() - 2, obj->Top() - 2, obj->Width() + 5, obj->Height() + 5);
    }
    m_selection.push_back(obj);
    m_zone = 0;
    raise();
    captureMouse();
    focusIfShown();
    m_panel->update();
}

void TGHandle::RemoveFromSelection(TGGraphicControl* obj) {
    const int i = IndexInSelection(obj);
    if (i >= 0) m_selection.erase(m_selection.begin() + i);
    if (!m_selection.empty()) {
        const TGGraphicControl* first = m_selection.front();
        int l = first->Left() - 2, t = first->Top() - 2;
        int w = first->Width() + 3, h = first->Height() + 3;
        for (const TGGraphicControl* o : m_selection) {
            const int nl = std::min(l, o->Left() - 2);
            const int nt = std::min(t, o->Top() - 2);
            const int r = std::max(l + w - 3, o->Left() + o->Width());
            const int b = std::max(t + h - 3, o->Top() + o->Height());
            l = nl;
            t = nt;
            w = r - l + 3;
            h = b - t + 3;
        }
        SetOwnBounds(l, t, w, h);
    } else {
        returnFocusToPanel();
        m_locked = false;
        setEnabled(false);
        hide();
        m_dragOutline = {};
        m_panel->ClearDragOutline();
        m_capture = false;
        m_dragging = false;
        // Deleting the selection with an arrow key still down leaves no outline behind.
        m_keyOutlineActive = false;
    }
    m_panel->update();
}

void TGHandle::ClearSelection() {
    returnFocusToPanel();
    m_selection.clear();
    m_locked = false;
    hide();
    resize(24, 24);
    setEnabled(false);
    m_dragOutline = {};
    m_panel->ClearDragOutline();
    m_capture = false;
    m_dragging = false;
    m_keyOutlineActive = false;
    m_panel->update();
}

void TGHandle::RefitFrame() {
    if (m_selection.empty()) return;
    raise();
    int minL = INT32_MAX, minT = INT32_MAX, maxR = INT32_MIN, maxB = INT32_MIN;
    for (const TGGraphicControl* o : m_selection) {
        minL = std::min(minL, o->Left());
        minT = std::min(minT, o->Top());
        maxR = std::max(maxR, o->Left() + o->Width());
        maxB = std::max(maxB, o->Top() + o->Height());
    }
    SetOwnBounds(minL - 2, minT - 2, maxR - minL + 6, maxB - minT + 6);
    update();
    m_panel->update();
}

void TGHandle::BringSelectionToFront() {
    if (m_selection.empty() || m_locked) return;
    for (TGGraphicControl* o : m_selection) m_panel->BringObjectToFront(o);
    raise();
    focusIfShown();
}

void TGHandle::SendSelectionToBack() {
    if (m_selection.empty() || m_locked) return;
    for (TGGraphicControl* o : m_selection) m_panel->SendObjectToBack(o);
    raise();
    focusIfShown();
}

void TGHandle::ApplyFrameBounds(int left, int top, int w, int h) {
    m_applyingBounds = true;
    const int fl = x(), ft = y(), fw = width(), fh = height();
    const auto selection = m_selection;
    bool keptPlace = false;
    for (TGGraphicControl* o : selection) {
        if (o->Locked()) {
            keptPlace = true;
            continue;
        }
        o->SetBounds(left + o->Left() - fl, top + o->Top() - ft, w + o->Width() - fw, h + o->Height() - fh);
    }
    SetOwnBounds(left, top, w, h);
    m_applyingBounds = false;
    // A locked object stayed behind: when nothing else moved, no bounds change asks for the refit, and
    // the invisible frame would sit away from the squares it stands for.
    if (keptPlace) QCoreApplication::postEvent(m_panel, new QEvent(RefitFrameEventType()));
}

void TGHandle::SetColor(TColor c) {
    m_color = c;
    m_panel->update();
}

void TGHandle::SetSecondaryColor(TColor c) {
    m_secondaryColor = c;
    m_panel->update();
}

void TGHandle::SetGridX(int v) {
    v = std::clamp(v, 1, 32);
    m_storedGridX = v;
    m_gridX = v;
    update();
}

void TGHandle::SetGridY(int v) {
    v = std::clamp(v, 1, 32);
    m_storedGridY = v;
    m_gridY = v;
    update();
}

void TGHandle::SetSnapToGrid(bool on) {
    if (on) {
        m_gridX = m_storedGridX;
        m_gridY = m_storedGridY;
    } else {
        m_gridX = 1;
        m_gridY = 1;
    }
}

void TGHandle::PaintSelectionSquares(Canvas& c) const {
    const bool single = m_selection.size() == 1;
    for (const TGGraphicControl* o : m_selection) {
        if (!o->ShowsSelectionSquares()) continue;
        // The squares are drawn on the panel's canvas in panel coordinates, at the corners of the
        // object's bounds widened by two pixels; a single selection also gets the side middles.
        c.SetBrush(single ? m_color : m_secondaryColor);
        const Rect R(o->Left() - 2, o->Top() - 2, o->Left() + o->Width() + 2, o->Top() + o->Height() + 2);
        c.FillRect({R.left, R.top, R.left + 5, R.top + 5});
        c.FillRect({R.right - 5, R.top, R.right, R.top + 5});
        c.FillRect({R.right - 5, R.bottom - 5, R.right, R.bottom});
        c.FillRect({R.left, R.bottom - 5, R.left + 5, R.bottom});
        if (!single) continue;
        const int cx = R.left + truncToInt((R.right - R.left) * 0.5);
        const int cy = R.top + truncToInt((R.bottom - R.top) * 0.5);
        c.FillRect({cx - 2, R.top, cx + 3, R.top + 5});
        c.FillRect({cx - 2, R.bottom - 5, cx + 3, R.bottom});
        c.FillRect({R.left, cy - 2, R.left + 5, cy + 3});
        c.FillRect({R.right - 5, cy - 2, R.right, cy + 3});
    }
}

QMenu* TGHandle::PopupMenu() const { return m_panel->PanelMenu(); }

void TGHandle::clampToPanel(int& px, int& py) const {
    px = std::clamp(px, -x(), m_panel->width() - x());
    py = std::clamp(py, -y(), m_panel->height() - y());
}

void TGHandle::drawDragOutline(const FrameBounds& b) {
    // The new outline replaces the previous one.
    m_dragOutline = b;
    m_panel->SetDragOutline({b.left + 2, b.top + 2, b.left + b.width - 3, b.top + b.height - 3});
}

void TGHandle::eraseDragOutline() {
    m_dragOutline = {};
    m_panel->ClearDragOutline();
}

void TGHandle::FrameMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int px, int py) {
    m_panel->NoteMousePoint(px + x(), py + y());
    // Whatever an earlier handed-on press held has ended with this press.
    m_handedOn = nullptr;
    m_pressTime = TickCount();
    if (m_panel->Pointing() && button == Qt::LeftButton) {
        if (!m_locked) {
            m_originX = px;
            m_originY = py;
            m_dragging = true;
        }
        return;
    }
    if (button == Qt::RightButton) {
        const int ppx = px + x(), ppy = py + y();
        if (SelectionCount() == 1 && m_selection[0]->BoundsRect().inflated(2, 2).contains(ppx, ppy))
            PopupObjectMenu(*m_selection[0]);
        else
            m_panel->PopupPanelMenu();
        return;
    }
    m_panel->SetScreenCursor(QCursor(Qt::ArrowCursor));
    handOn(button, true, px, py);
}

void TGHandle::FrameMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int px, int py) {
    m_panel->NoteMousePoint(px + x(), py + y());
    // A press handed on made its receiver the holder of the mouse (a rubber band started through the
    // frame): its moves belong there until the release.
    if (m_handedOn && (buttons & Qt::LeftButton || buttons & Qt::MiddleButton)) {
        forward(m_handedOn, QEvent::MouseMove, Qt::NoButton, buttons, px, py);
        return;
    }
    m_handedOn = nullptr;
    if (m_doubleClicked) {
        m_dragging = false;
        m_doubleClicked = false;
        eraseDragOutline();
    }
    if (!m_panel->Pointing()) {
        m_panel->SetScreenCursor(QCursor(Qt::DragMoveCursor));
        return;
    }
    const bool leftUp = !(buttons & Qt::LeftButton);
    if (leftUp || m_dragging || m_locked) {
        if (leftUp) m_capture = false;
        if (!m_dragging) m_panel->SetScreenCursor(HandGrabCursor());
        int found = 0;
        if (SelectionCount() == 1) {
            found = ResizeZoneAt(px, py, width(), height());
            if (!m_dragging) m_panel->SetScreenCursor(zoneCursor(found));
        }
        if (m_locked) m_panel->SetScreenCursor(QCursor(Qt::ForbiddenCursor));
        if (m_dragging) {
            clampToPanel(px, py);
            drawDragOutline(ComputeDragBounds(OwnBounds(), m_zone, px - m_originX, py - m_originY, m_gridX, m_gridY));
        } else {
            m_zone = found;
        }
        return;
    }
    // A press on an unselected object selects it and hands the mouse to the frame: dragging starts
    // as soon as the pointer moves a little later.
    if (m_pressTime != 0 && TickCount() - m_pressTime > 10) {
        m_originX = px;
        m_originY = py;
        m_dragging = true;
    }
}

void TGHandle::FrameMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int px, int py) {
    m_panel->NoteMousePoint(px + x(), py + y());
    // A quick click moves nothing.
    if (m_dragging && TickCount() - m_pressTime < 150) {
        m_originX = px;
        m_originY = py;
    }
    m_pressTime = 0;
    if (!m_dragging || button != Qt::LeftButton) {
        m_capture = false;
        handOn(button, false, px, py);
        update();
        return;
    }
    clampToPanel(px, py);
    if (px != m_originX || py != m_originY) {
        update();
        const FrameBounds b = ComputeDragBounds(OwnBounds(), m_zone, px - m_originX, py - m_originY, m_gridX, m_gridY);
        ApplyFrameBounds(b.left, b.top, b.width, b.height);
    }
    eraseDragOutline();
    focusIfShown();
    m_dragging = false;
    m_panel->SetScreenCursor(QCursor(Qt::ArrowCursor));
    m_capture = false;
    update();
}

void TGHandle::forward(QWidget* target, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, int px,
                       int py) {
    const QPoint local = QPoint(px + x(), py + y()) - (target == m_panel ? QPoint() : target->pos());
    QMouseEvent ev(type, QPointF(local), QPointF(target->mapToGlobal(local)), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &ev);
}

void TGHandle::handOn(Qt::MouseButton button, bool press, int px, int py) {
    const QPoint panelPoint(px + x(), py + y());
    QWidget* target = m_panel;
    if (!press && m_handedOn) {
        target = m_handedOn;
    } else {
        for (QObject* child : m_panel->children()) {
            auto* w = qobject_cast<QWidget*>(child);
            if (!w || w == this || !w->isVisible() || !w->geometry().contains(panelPoint)) continue;
            target = w;
            break;
        }
    }
    // The receiver of a handed-on press holds the mouse from then on (unless the press selects and the
    // frame takes it back), so the message must not come straight back to the frame either.
    m_capture = false;
    m_handedOn = press ? target : nullptr;
    forward(target, press ? QEvent::MouseButtonPress : QEvent::MouseButtonRelease, button,
            press ? Qt::MouseButtons(button) : Qt::NoButton, px, py);
}

void TGHandle::FrameDoubleClick() {
    m_doubleClicked = true;
    m_panel->ObjectDoubleClick(this);
}

void TGHandle::FrameKeyDown(QKeyEvent* e) {
    const int key = e->key();
    const bool arrow = key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down;
    if (arrow) {
        if (!m_keyOutlineActive) {
            m_keyOutlineActive = true;
            m_keyOutline = {x() + 2, y() + 2, x() + width() - 3, y() + height() - 3};
        }
        Rect& o = m_keyOutline;
        const int w = o.right - o.left + 1, h = o.bottom - o.top + 1;
        const int pw = m_panel->width(), ph = m_panel->height();
        if ((e->modifiers() & Qt::ShiftModifier) && SelectionCount() == 1) {
            if (key == Qt::Key_Left && w > 10) o.right -= 1;
            if (key == Qt::Key_Up && h > 10) o.bottom -= 1;
            if (key == Qt::Key_Right && pw >= w + o.left) o.right += 1;
            if (key == Qt::Key_Down && ph >= h + o.top) o.bottom += 1;
        } else {
            if (key == Qt::Key_Left && o.left > 0) o = o.translated(-1, 0);
            if (key == Qt::Key_Up && o.top > 0) o = o.translated(0, -1);
            if (key == Qt::Key_Right && pw >= w + o.left) o = o.translated(1, 0);
            if (key == Qt::Key_Down && ph >= h + o.top) o = o.translated(0, 1);
        }
    }
    m_panel->HandleKeyDown(e);
    if (m_keyOutlineActive) m_panel->update();
}

void TGHandle::FrameKeyUp(QKeyEvent*) {
    if (!m_keyOutlineActive) return;
    m_keyOutlineActive = false;
    const Rect o = m_keyOutline;
    ApplyFrameBounds(o.left - 2, o.top - 2, o.right - o.left + 5, o.bottom - o.top + 5);
    update();
    m_panel->update();
}

void TGHandle::paintEvent(QPaintEvent*) {
    // Nothing: the panel draws the selection squares beneath this transparent window.
}

void TGHandle::mousePressEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    FrameMouseDown(e->button(), e->modifiers(), p.x(), p.y());
}

void TGHandle::mouseMoveEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    FrameMouseMove(e->buttons(), e->modifiers(), p.x(), p.y());
}

void TGHandle::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    FrameMouseUp(e->button(), e->modifiers(), p.x(), p.y());
}

void TGHandle::mouseDoubleClickEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    m_panel->NoteMousePoint(p.x() + x(), p.y() + y());
    FrameDoubleClick();
}

void TGHandle::keyPressEvent(QKeyEvent* e) {
    const bool plain = !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (plain && (e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab)) {
        // Tab leaves the page for the window's next control, as it does from the page itself. Where the
        // page is the window's only control, Tab comes back to its cell focus as Escape does: the objects
        // left behind must not stay selected under a cell focus, where Delete would take them away.
        QWidget::focusNextPrevChild(e->key() == Qt::Key_Tab && !(e->modifiers() & Qt::ShiftModifier));
        if (m_panel->hasFocus()) ClearSelection();
        return;
    }
    if (e->key() == Qt::Key_Escape && !(e->modifiers() & ~Qt::KeypadModifier) && !m_dragging) {
        // Back from the objects to the page's cell focus.
        ClearSelection();
        return;
    }
    FrameKeyDown(e);
}

void TGHandle::returnFocusToPanel() {
    // A frame that hides or is disabled while it has the focus would leave the keyboard with no
    // control at all: the page takes it back.
    if (hasFocus()) m_panel->setFocus(Qt::OtherFocusReason);
}

void TGHandle::keyReleaseEvent(QKeyEvent* e) {
    if (e->isAutoRepeat()) return;
    FrameKeyUp(e);
}

void TGHandle::leaveEvent(QEvent*) {
    if (!m_dragging) m_panel->SetScreenCursor(m_panel->Pointing() ? QCursor(Qt::ArrowCursor) : QCursor(Qt::DragMoveCursor));
}

}  // namespace plennix
