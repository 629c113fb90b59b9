#include "surface/base_panel.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QScopeGuard>

#include "platform/messages.h"
#include "platform/numbers.h"
#include "platform/program_folder.h"
#include "platform/stream_error.h"
#include "platform/ticks.h"
#include "printing/report.h"
#include "surface/cursors.h"
#include "surface/graphic_control.h"
#include "surface/handle.h"
#include "surface/object_filer.h"
#include "surface/object_menus.h"

namespace plennix {

QEvent::Type RefitFrameEventType() {
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType(QEvent::User + 42));
    return type;
}

TGBasePanel::TGBasePanel(QWidget* parent) : TGObjectHost(parent) {
    setFocusPolicy(Qt::StrongFocus);
    m_clipboardFile = ProgramFile(QStringLiteral("Clipbrd.tmp"));
    m_frame = new TGHandle(this);
    m_frame->SetSnapToGrid(false);
}

TGBasePanel::~TGBasePanel() {
    releaseObjects();
    // The frame goes first so that objects destroyed with the host find no selection to leave.
    delete m_frame;
    m_frame = nullptr;
    // Only the window's document page owns the private clipboard: an export run or a preview page must
    // not throw away what the person copied.
    if (m_ownsClipboardFile) QFile::remove(m_clipboardFile);
    delete m_menu;
}

void TGBasePanel::releaseObjects() {
    m_frame->ClearSelection();
    // Objects owned elsewhere outlive the panel: they must not keep routing their mouse to it.
    for (TGGraphicControl* o : Objects()) {
        o->OnMouseDown = nullptr;
        o->OnMouseMove = nullptr;
        o->OnMouseUp = nullptr;
        o->OnDblClick = nullptr;
    }
}

void TGBasePanel::ShowPage(TGObjectList* list, TGDesignView* view) {
    releaseObjects();
    ShowList(list);
    m_view = view ? view : &m_ownView;
    applyGridToFrame();
    AttachObjects();
    update();
}

void TGBasePanel::applyGridToFrame() {
    // The frame's own spacing setter makes the spacing effective at once, as the frame's published
    // grid properties do; switching snapping off later returns it to 1.
    const int spacing = m_view->gridSize == gs4x4 ? 4 : 8;
    m_frame->SetGridX(spacing);
    m_frame->SetGridY(spacing);
    if (!m_snapToGrid) m_frame->SetSnapToGrid(false);
}

void TGBasePanel::SetPaintSuspended(bool v) {
    ObjectList().SetPaintSuspended(v);
    if (!v) update();
}

void TGBasePanel::SetShape(TLabelShapeType v) {
    if (v == m_view->shape) return;
    m_view->shape = v;
    update();
}

void TGBasePanel::SetGridSize(TGridSize v) {
    if (v == m_view->gridSize) return;
    m_view->gridSize = v;
    applyGridToFrame();
    update();
}

void TGBasePanel::SetShowGrid(bool v) {
    if (v == m_view->showGrid) return;
    m_view->showGrid = v;
    update();
}

void TGBasePanel::SetSnapToGrid(bool v) {
    if (v == m_snapToGrid) return;
    m_snapToGrid = v;
    m_frame->SetSnapToGrid(v);
    if (v) {
        const int spacing = m_view->gridSize == gs4x4 ? 4 : 8;
        m_frame->SetGridX(spacing);
        m_frame->SetGridY(spacing);
    }
}

void TGBasePanel::SetPicture(const PanelPicture& p) {
    m_picture = p;
    update();
}

void TGBasePanel::SetColorPicture(const PanelPicture& p) {
    m_colorPicture = p;
    update();
}

void TGBasePanel::SetZoom(float newZoom) {
    if (newZoom == m_view->zoom) return;
    m_zooming = true;
    if (static_cast<double>(m_view->zoom) * 10 == 0) m_view->zoom = 1.0f;
    const float ratio = static_cast<float>(static_cast<double>(newZoom) / static_cast<double>(m_view->zoom));
    const int w = roundHalfEven(width() * static_cast<double>(ratio));
    const int h = roundHalfEven(static_cast<double>(ratio) * height());
    resize(w, h);
    m_view->zoom = newZoom;
    const auto objects = Objects();
    for (TGGraphicControl* o : objects) o->ScaleTo(newZoom);
    QCoreApplication::processEvents();
    m_zooming = false;
}

void TGBasePanel::AddObject(TGGraphicControl* obj, const Rect& r) {
    obj->Hide();
    obj->SetList(&ObjectList());
    obj->SetName(UniqueName(QStringLiteral("Special")));
    obj->SetBounds(r.left, r.top, std::max(10, r.right - r.left), std::max(15, r.bottom - r.top));
    AttachObject(obj);
    obj->SetZoomField(m_view->zoom);
    obj->Show();
    FireChanged();
    QCoreApplication::processEvents();
}

QString TGBasePanel::UniqueName(const QString& prefix) const {
    // Component names ignore case, as the document reader does when it hands out names.
    QObject* owner = NamingOwner();
    auto taken = [&](const QString& name) {
        for (const QObject* child : owner->children())
            if (child->objectName().compare(name, Qt::CaseInsensitive) == 0) return true;
        for (const TGGraphicControl* o : Objects())
            if (o->Name().compare(name, Qt::CaseInsensitive) == 0) return true;
        return false;
    };
    for (int n = 1; n <= 1000; ++n) {
        const QString name = prefix + QString::number(n);
        if (!taken(name)) return name;
    }
    return QString();
}

void TGBasePanel::AttachObject(TGGraphicControl* obj) {
    obj->OnMouseDown = [this](TGGraphicControl* s, Qt::MouseButton b, Qt::KeyboardModifiers m, int x, int y) {
        ObjectMouseDown(s, b, m, x, y);
    };
    obj->OnMouseMove = [this](TGGraphicControl* s, Qt::MouseButton, Qt::KeyboardModifiers m, int x, int y) {
        if (m_pointing) SetScreenCursor(HandPointCursor());
        HostMouseMove(QApplication::mouseButtons(), m, x + s->Left(), y + s->Top());
    };
    obj->OnMouseUp = [this](TGGraphicControl* s, Qt::MouseButton b, Qt::KeyboardModifiers m, int x, int y) {
        HostMouseUp(b, m, x + s->Left(), y + s->Top());
    };
    obj->OnDblClick = [this](QObject* s) { ObjectDoubleClick(s); };
}

void TGBasePanel::AttachObjects() {
    for (TGGraphicControl* o : Objects()) {
        AttachObject(o);
        o->ShowAtZoom(m_view->zoom);
    }
}

bool TGBasePanel::IsObjectAt(int x, int y) const {
    for (TGGraphicControl* o : Objects())
        if (o->BoundsRect().contains(x, y)) return true;
    return false;
}

void TGBasePanel::ClearObjects() {
    m_frame->ClearSelection();
    for (int i = ObjectCount() - 1; i >= 0; --i) delete ObjectAt(i);
}

void TGBasePanel::ObjectChanged(TGGraphicControl&) {
    if (!m_printing) FireChanged();
}

void TGBasePanel::ObjectBoundsChanged(TGGraphicControl&) {
    QCoreApplication::postEvent(this, new QEvent(RefitFrameEventType()));
}

void TGBasePanel::ObjectRemoved(TGGraphicControl& object) {
    TGObjectHost::ObjectRemoved(object);
    if (m_frame && m_frame->IndexInSelection(&object) >= 0) m_frame->RemoveFromSelection(&object);
}

void TGBasePanel::ObjectMadeUnselectable(TGGraphicControl& object) {
    if (m_frame) m_frame->RemoveFromSelection(&object);
}

void TGBasePanel::FireChanged() {
    if (m_zooming || !LabelChangedEvent) return;
    LabelChangedEvent(this);
}

void TGBasePanel::ObjectMouseDown(TGGraphicControl* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                                  int x, int y) {
    if (!m_pointing || sender->Unselectable()) {
        HostMouseDown(button, shift, x + sender->Left(), y + sender->Top());
        return;
    }
    if (!(shift & Qt::ShiftModifier)) m_frame->ClearSelection();
    m_frame->AddToSelection(sender);
    m_frame->update();
    update();
    if (m_frame->SelectionCount() == 1 && button == Qt::RightButton) PopupObjectMenu(*sender);
}

void TGBasePanel::PrintObjects(TReport& report, double leftOffset, double topOffset) {
    PrintObjectList(ObjectList(), report, leftOffset, topOffset);
}

void TGBasePanel::PullObjectsInside() {
    m_frame->ClearSelection();
    for (int i = ObjectCount() - 1; i >= 0; --i) {
        TGGraphicControl* o = ObjectAt(i);
        if (o->Top() > height() - 10) o->SetTop(height() - 10);
        if (o->Left() > width() - 20) o->SetLeft(width() - 20);
    }
}

void TGBasePanel::RemoveStrayObjects() {
    m_frame->ClearSelection();
    for (int i = ObjectCount() - 1; i >= 0; --i) {
        TGGraphicControl* o = ObjectAt(i);
        if (o->Top() > height() - 10 || o->Left() > width() - 10 || o->Width() < 1 || o->Height() < 1) delete o;
    }
}

// ---- mouse on the panel itself ----

// The panel's own handling first, then the republished events.
void TGBasePanel::HostMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
    rubberBandDown(button, x, y);
    if (OnMouseDown) OnMouseDown(button, shift, x, y);
}

void TGBasePanel::HostMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x, int y) {
    rubberBandMove(x, y);
    if (OnMouseMove) OnMouseMove(buttons, shift, x, y);
}

void TGBasePanel::HostMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
    rubberBandUp(shift, x, y);
    if (OnMouseUp) OnMouseUp(button, shift, x, y);
}

void TGBasePanel::rubberBandDown(Qt::MouseButton button, int x, int y) {
    m_rubber = {x, y, 0, 0};
    if (button == Qt::LeftButton) {
        m_rubberActive = true;
        SetScreenCursor(HandPointCursor());
    } else {
        PopupPanelMenu();
    }
}

void TGBasePanel::rubberBandMove(int x, int y) {
    if (!m_rubberActive) return;
    SetScreenCursor(HandPointCursor());
    update(toQRect(Rect(m_rubber.left, m_rubber.top, m_rubber.right, m_rubber.bottom).normalized().inflated(1, 1)));
    m_rubber.right = x;
    m_rubber.bottom = y;
    update(toQRect(m_rubber.normalized().inflated(1, 1)));
}

void TGBasePanel::rubberBandUp(Qt::KeyboardModifiers shift, int x, int y) {
    if (!m_rubberActive) return;
    // A release always follows a move to its point; take the point here as that move would.
    if (x != m_rubber.left || y != m_rubber.top) {
        m_rubber.right = x;
        m_rubber.bottom = y;
    }
    Rect r = m_rubber;
    if (r.right < r.left) {
        r.right = r.left;
        r.left = x;
    }
    if (r.bottom < r.top) {
        r.bottom = r.top;
        r.top = y;
    }
    update(toQRect(r.inflated(1, 1)));
    m_rubberActive = false;
    if (m_pointing) {
        SelectInRect(r, shift & Qt::ShiftModifier);
        m_frame->update();
        SetScreenCursor(QCursor(Qt::ArrowCursor));
    } else {
        PlaceObjectInRect(r);
    }
}

void TGBasePanel::HostDoubleClick(int, int) {
    if (OnDblClick) OnDblClick(this);
}

bool TGBasePanel::RouteCapturedMouse(QMouseEvent* e) {
    NoteMousePoint(e->position().toPoint().x(), e->position().toPoint().y());
    if (!m_frame->HasCapture() || !m_frame->isVisible()) return false;
    const QPoint pt = e->position().toPoint() - m_frame->pos();
    switch (e->type()) {
        case QEvent::MouseButtonPress:
            m_frame->FrameMouseDown(e->button(), e->modifiers(), pt.x(), pt.y());
            return true;
        case QEvent::MouseMove:
            m_frame->FrameMouseMove(e->buttons(), e->modifiers(), pt.x(), pt.y());
            return true;
        case QEvent::MouseButtonRelease:
            m_frame->FrameMouseUp(e->button(), e->modifiers(), pt.x(), pt.y());
            return true;
        case QEvent::MouseButtonDblClick:
            m_frame->FrameDoubleClick();
            return true;
        default:
            return false;
    }
}

void TGBasePanel::ObjectMouseLeft(TGGraphicControl*) {
    SetScreenCursor(m_pointing ? QCursor(Qt::ArrowCursor) : QCursor(Qt::DragMoveCursor));
}

void TGBasePanel::SetScreenCursor(const QCursor& c) {
    setCursor(c);
    m_frame->setCursor(c);
}

void TGBasePanel::ObjectDoubleClick(QObject* sender) {
    if (sender == m_frame) {
        if (m_frame->SelectionCount() <= 1) {
            for (TGGraphicControl* o : m_frame->Selection()) {
                if (!o->BoundsRect().inflated(2, 2).contains(m_lastMouse.x, m_lastMouse.y)) continue;
                if (!RunObjectEditor(*o, this)) PopupObjectMenu(*o);
                break;
            }
        }
    } else if (auto* o = qobject_cast<TGGraphicControl*>(sender)) {
        PopupObjectMenu(*o);
    }
    m_frame->SetDoubleClicked();
}

// ---- keys ----

void TGBasePanel::HandleKeyDown(QKeyEvent* e) {
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    const int key = e->key();
    // Keys the open cell editor did not take come up to the page: only the page and its frame act on
    // the object keys.
    const bool ours = hasFocus() || m_frame->hasFocus();
    if (ctrl && key == Qt::Key_C)
        SelectionClipboard(ClipboardOp::Copy);
    else if (ctrl && key == Qt::Key_V)
        SelectionClipboard(ClipboardOp::Paste);
    else if (ctrl && key == Qt::Key_X)
        SelectionClipboard(ClipboardOp::Cut);
    else if (!ctrl && key == Qt::Key_Delete)
        SelectionClipboard(ClipboardOp::Delete);
    else if (ours && ctrl && (key == Qt::Key_Tab || key == Qt::Key_Backtab))
        SelectNextObject(key == Qt::Key_Tab && !shift);
    else if (ours && (key == Qt::Key_Menu || (key == Qt::Key_F10 && shift && !ctrl)))
        PopupMenuFromKeyboard();
    if (OnKeyDown) OnKeyDown(e);
}

TGGraphicControl* TGBasePanel::SelectNextObject(bool forward) {
    const int n = ObjectCount();
    int from = forward ? -1 : n;
    if (m_frame->SelectionCount() > 0) from = IndexOfObject(m_frame->SelectedObject(0));
    for (int step = 1; step <= n; ++step) {
        const int i = ((from + (forward ? step : -step)) % n + n) % n;
        TGGraphicControl* o = ObjectAt(i);
        if (o->Unselectable() || !o->Visible()) continue;
        // The new object joins before the others leave, so the frame keeps the focus throughout.
        const bool frameHadFocus = m_frame->hasFocus();
        m_frame->AddToSelection(o);
        const auto others = m_frame->Selection();
        for (TGGraphicControl* other : others)
            if (other != o) m_frame->RemoveFromSelection(other);
        // No button is down: the frame must not hold the mouse as it does after a press.
        m_frame->ReleaseCapture();
        m_frame->setFocus(Qt::TabFocusReason);
        // A frame that kept the focus now reads as another object: screen readers hear of it as of a
        // new focus.
        if (frameHadFocus && QAccessible::isActive()) {
            QAccessibleEvent renamed(m_frame, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&renamed);
            QAccessibleEvent focused(m_frame, QAccessible::Focus);
            QAccessible::updateAccessibility(&focused);
        }
        m_frame->update();
        update();
        return o;
    }
    return nullptr;
}

namespace {
QPoint centreOf(const Rect& r) { return QPoint(r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2); }
}  // namespace

void TGBasePanel::PopupMenuFromKeyboard() {
    if (m_frame->SelectionCount() == 1) {
        TGGraphicControl* o = m_frame->SelectedObject(0);
        const QPoint at = mapToGlobal(centreOf(o->BoundsRect()));
        // Opened from the keyboard, the object's menu belongs at the object, not where the mouse is.
        PopupObjectMenu(*o, at);
        return;
    }
    const FrameBounds f = m_frame->OwnBounds();
    const Rect place = m_frame->SelectionCount() > 1 ? Rect(f.left, f.top, f.left + f.width, f.top + f.height)
                                                     : KeyboardPlace();
    PanelMenu()->popup(mapToGlobal(centreOf(place)));
}

void TGBasePanel::keyPressEvent(QKeyEvent* e) {
    const int key = e->key();
    const bool plain = !(e->modifiers() & ~Qt::KeypadModifier);
    // With a design tool chosen, Enter places its object at the keyboard's place, at the object's own size.
    if (!m_pointing && plain && hasFocus() && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F2)) {
        const Rect place = KeyboardPlace();
        m_placingFromKeyboard = true;
        const auto placed = qScopeGuard([this] { m_placingFromKeyboard = false; });
        PlaceObjectInRect(Rect(place.left + 2, place.top + 2, place.left + 2, place.top + 2));
        return;
    }
    HandleKeyDown(e);
    if (OnKeyPress && !e->text().isEmpty()) OnKeyPress(e);
}

void TGBasePanel::keyReleaseEvent(QKeyEvent* e) {
    if (OnKeyUp) OnKeyUp(e);
}

bool TGBasePanel::event(QEvent* e) {
    if (e->type() == RefitFrameEventType()) {
        m_frame->RefitFrame();
        return true;
    }
    // Tab and Shift+Tab leave the page for the window's other controls (the cell editor takes them
    // to move between cells); Ctrl+Tab reaches the keys as any other key.
    return TGObjectHost::event(e);
}

// ---- clipboard ----

bool TGBasePanel::writeSelection(const QString& path) {
    TGLabelObjectFiler filer(NamingOwner());
    try {
        filer.SaveSelection(m_frame->Selection(), path);
    } catch (const StreamError& e) {
        ShowError(e.message(), this);
        return false;
    }
    return true;
}

void TGBasePanel::destroyObject(TGGraphicControl* obj) {
    // The command may come from the object's own menu, whose action is still running: take the object
    // off the page now and free it once control returns to the event loop.
    obj->SetList(nullptr);
    obj->deleteLater();
}

void TGBasePanel::ObjectClipboard(TGGraphicControl* obj, ClipboardOp op) {
    if (m_frame->IndexInSelection(obj) >= 0) {
        SelectionClipboard(op);
        return;
    }
    if (op == ClipboardOp::Cut || op == ClipboardOp::Copy) {
        TGLabelObjectFiler filer(NamingOwner());
        try {
            filer.SaveObject(obj, m_clipboardFile);
        } catch (const StreamError& e) {
            // Nothing is cut when the clipboard could not be written.
            ShowError(e.message(), this);
            return;
        }
    }
    if (op == ClipboardOp::Cut || op == ClipboardOp::Delete) {
        FireChanged();
        m_frame->RemoveFromSelection(obj);
        destroyObject(obj);
    }
}

void TGBasePanel::SelectionClipboard(ClipboardOp op) {
    if (op == ClipboardOp::Paste) {
        const uint32_t now = TickCount();
        if (m_lastPasteTime == 0)
            m_lastPasteTime = now;
        else if (now - m_lastPasteTime < 1000)
            return;
        // Without a clipboard file nothing is pasted, and the document has not changed.
        if (!QFile::exists(m_clipboardFile)) return;
        TGLabelObjectFiler filer(NamingOwner());
        filer.SetPasting(true);
        ObjectListReadReport report;
        try {
            filer.LoadObjects(NamingOwner(), &ObjectList(), m_clipboardFile, &report);
        } catch (const StreamError& e) {
            report.error = e.message();
        }
        // What could not be pasted is said, with how many objects it cost.
        if (!report.Complete()) {
            const QString message = ObjectListReadMessage(report, QStringLiteral("the clipboard"));
            ShowError(message.isEmpty() ? report.error : message, this);
        }
        AttachObjects();
        FireChanged();
        QCoreApplication::processEvents();
        m_lastPasteTime = TickCount();
        update();
        return;
    }
    if ((op == ClipboardOp::Cut || op == ClipboardOp::Copy) && m_frame->SelectionCount() > 0)
        // A cut whose objects could not be kept in the clipboard deletes nothing.
        if (!writeSelection(m_clipboardFile) && op == ClipboardOp::Cut) return;
    if (op == ClipboardOp::Cut || op == ClipboardOp::Delete) {
        for (int i = m_frame->SelectionCount() - 1; i >= 0; --i) {
            TGGraphicControl* o = m_frame->SelectedObject(i);
            m_frame->RemoveFromSelection(o);
            destroyObject(o);
            FireChanged();
        }
        update();
    }
}

// ---- painting ----

void TGBasePanel::SetDragOutline(const Rect& r) {
    if (m_hasDragOutline) update(toQRect(m_dragOutline.normalized().inflated(1, 1)));
    m_dragOutline = r;
    m_hasDragOutline = true;
    update(toQRect(r.normalized().inflated(1, 1)));
}

void TGBasePanel::ClearDragOutline() {
    if (m_hasDragOutline) update(toQRect(m_dragOutline.normalized().inflated(1, 1)));
    m_hasDragOutline = false;
}

void TGBasePanel::PaintPage(Canvas& c) {
    const int w = width(), h = height();
    c.FillRect({0, 0, w, h}, clWhite);
    const QPainterPath region = PageShapePath(m_view->shape, w, h);
    if (m_picture.HasGraphic()) {
        c.Save();
        c.IntersectClipPath(region);
        if (!m_picture.bitmap.isNull())
            c.StretchDraw({0, 0, w, h}, m_picture.bitmap);
        else
            c.StretchDraw({0, 0, w, h}, m_picture.vector);
        c.Restore();
    }
    if (m_colorPicture.HasGraphic()) {
        c.Save();
        c.IntersectClipPath(region);
        if (!m_colorPicture.bitmap.isNull())
            c.StretchDraw({0, 0, w, h}, m_colorPicture.bitmap);
        else
            c.StretchDraw({0, 0, w, h}, m_colorPicture.vector);
        c.Restore();
    }
    if (m_drawOutline) {
        c.SetPen(clBlack, 1, PenStyle::psDot);
        c.SetBrushClear();
        if (m_view->shape == lsRectangle)
            c.Rectangle({0, 0, w, h});
        else if (m_view->shape == lsRoundRect)
            c.RoundRect({0, 0, w, h}, 24, 24);
        else
            c.Ellipse({0, 0, w, h});
        c.SetPen(clBlack);
    }
}

void TGBasePanel::PaintBackground(Canvas& c) {
    PaintPage(c);
    if (m_view->showGrid) PaintPageGrid(c, width(), height(), m_view->shape, m_view->gridSize);
}

void TGBasePanel::PaintOverlay(Canvas& c) {
    m_frame->PaintSelectionSquares(c);
    auto outline = [&c](const Rect& r) {
        c.SetPenMode(PenMode::pmXor);
        c.SetPen(clWhite, 1, PenStyle::psDot);
        c.SetBrushClear();
        c.Rectangle(r);
        c.SetPen(clBlack, 1, PenStyle::psSolid);
        c.SetPenMode(PenMode::pmCopy);
    };
    if (m_rubberActive && !(m_rubber.right == 0 && m_rubber.bottom == 0)) outline(m_rubber.normalized());
    if (m_hasDragOutline) outline(m_dragOutline.normalized());
    if (m_frame->KeyOutlineActive()) outline(m_frame->KeyOutline());
}

void TGBasePanel::paintEvent(QPaintEvent*) {
    if (PaintSuspended()) return;
    QImage image(std::max(1, width()), std::max(1, height()), QImage::Format_RGB32);
    {
        QPainter p(&image);
        Canvas c(&p);
        PaintBackground(c);
        PaintObjects(c);
        PaintOverlay(c);
    }
    QPainter p(this);
    p.drawImage(0, 0, image);
}

}  // namespace plennix
