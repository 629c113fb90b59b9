#include "surface/graphic_control.h"

#include <QApplication>
#include <QMenu>

#include "platform/messages.h"
#include "platform/numbers.h"
#include "surface/base_panel.h"
#include "surface/handle.h"
#include "surface/object_filer.h"
#include "platform/stream_error.h"

namespace plennix {

TGGraphicControl::TGGraphicControl(QObject* owner) : QObject(owner) {}

TGGraphicControl::~TGGraphicControl() {
    leaveSelection();
    if (m_host) {
        Invalidate();
        m_host->RemoveObject(this);
    }
    delete m_menu;
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

void TGGraphicControl::SetParent(TGObjectHost* host) {
    if (m_host == host) return;
    // An object that leaves a page leaves its selection too: the frame must never hold an object that
    // is not on its page (it would outlive it there).
    leaveSelection();
    if (m_host) {
        Invalidate();
        m_host->RemoveObject(this);
    }
    m_host = host;
    if (host) {
        host->InsertObject(this);
        Invalidate();
    }
}

void TGGraphicControl::leaveSelection() {
    TGBasePanel* panel = Panel();
    if (panel && panel->Frame() && panel->Frame()->IndexInSelection(this) >= 0)
        panel->Frame()->RemoveFromSelection(this);
}

TGBasePanel* TGGraphicControl::Panel() const { return qobject_cast<TGBasePanel*>(m_host.data()); }

void TGGraphicControl::Invalidate() const {
    // Three more pixels around the bounds cover the selection squares.
    if (m_host && m_width > 0 && m_height > 0) m_host->update(toQRect(BoundsRect().inflated(3, 3)));
}

void TGGraphicControl::Loaded() {}

QMenu* TGGraphicControl::ContextMenu() const {
    if (!m_menu) {
        // Menus are built lazily from a const accessor; building is the object's own business.
        auto* self = const_cast<TGGraphicControl*>(this);
        m_menu = new QMenu();
        self->BuildContextMenu(*m_menu);
    }
    return m_menu;
}

void TGGraphicControl::BuildContextMenu(QMenu&) {
    AddMenuItem(QStringLiteral("Bring To Front"), [this] { BringToFront(); });
    AddMenuItem(QStringLiteral("Send To Back"), [this] { SendToBack(); });
    AddMenuItem(QStringLiteral("Cut"), [this] {
        if (TGBasePanel* p = Panel()) {
            NotifyChanged();
            p->ObjectClipboard(this, ClipboardOp::Cut);
        }
    });
    AddMenuItem(QStringLiteral("Copy"), [this] {
        if (TGBasePanel* p = Panel()) p->ObjectClipboard(this, ClipboardOp::Copy);
    });
    AddMenuItem(QStringLiteral("Delete"), [this] {
        if (TGBasePanel* p = Panel()) {
            NotifyChanged();
            p->ObjectClipboard(this, ClipboardOp::Delete);
        }
    });
    AddMenuItem(QStringLiteral("Clone"), [this] { Clone(); });
    AddMenuSeparator();
    m_lockedItem = AddMenuItem(QStringLiteral("Locked"), [this] { ToggleLocked(); });
    m_lockedItem->setCheckable(true);
    m_lockedItem->setChecked(m_locked);
    AddMenuItem(QStringLiteral("Unselectable"), [this] { MakeUnselectable(); });
    AddMenuSeparator();
    AddMenuItem(QStringLiteral("Center Vertically"), [this] { CenterVertically(); });
    AddMenuItem(QStringLiteral("Center Horizontally"), [this] { CenterHorizontally(); });
}

QAction* TGGraphicControl::AddMenuItem(const QString& caption, std::function<void()> action, QMenu* into) {
    QMenu* menu = into ? into : m_menu;
    QAction* a = menu->addAction(caption);
    // Menu commands may destroy the object (Cut, Delete): the panel takes it off the page at once and
    // frees it only when control is back in the event loop, after the menu has finished with it.
    QObject::connect(a, &QAction::triggered, this, [action = std::move(action)] { action(); });
    return a;
}

void TGGraphicControl::AddMenuSeparator(QMenu* into) { (into ? into : m_menu)->addSeparator(); }

QAction* TGGraphicControl::MenuAction(const QString& caption) const {
    ContextMenu();
    std::function<QAction*(QMenu*)> find = [&](QMenu* menu) -> QAction* {
        for (QAction* a : menu->actions()) {
            if (a->text() == caption) return a;
            if (a->menu())
                if (QAction* sub = find(a->menu())) return sub;
        }
        return nullptr;
    };
    return find(m_menu);
}

void TGGraphicControl::PopupContextMenu() {
    ContextMenu();
    if (m_lockedItem) m_lockedItem->setChecked(m_locked);
    UpdateMenu();
    m_menu->popup(QCursor::pos());
}

void TGGraphicControl::Paint(Canvas&) {
    // The selection squares are drawn over all objects by the panel's frame (DrawSelectionSquares),
    // so that they are not clipped to the object's own bounds.
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
    TGBasePanel* panel = Panel();
    if (!panel || panel->Printing()) return;
    panel->FireChanged();
}

void TGGraphicControl::RequestFrameRefit() {
    if (TGBasePanel* panel = Panel()) QCoreApplication::postEvent(panel, new QEvent(RefitFrameEventType()));
}

void TGGraphicControl::DrawSelectionSquares(Canvas& c) const {
    TGBasePanel* panel = Panel();
    if (!panel || !panel->Frame() || panel->Frame()->IndexInSelection(this) < 0) return;
    const bool single = panel->Frame()->SelectionCount() == 1;
    c.SetBrush(single ? panel->Frame()->Color() : panel->Frame()->SecondaryColor());
    const Rect R(m_left - 2, m_top - 2, m_left + m_width + 2, m_top + m_height + 2);
    c.FillRect({R.left, R.top, R.left + 5, R.top + 5});
    c.FillRect({R.right - 5, R.top, R.right, R.top + 5});
    c.FillRect({R.right - 5, R.bottom - 5, R.right, R.bottom});
    c.FillRect({R.left, R.bottom - 5, R.left + 5, R.bottom});
    if (!single) return;
    const int cx = R.left + truncToInt((R.right - R.left) * 0.5);
    const int cy = R.top + truncToInt((R.bottom - R.top) * 0.5);
    c.FillRect({cx - 2, R.top, cx + 3, R.top + 5});
    c.FillRect({cx - 2, R.bottom - 5, cx + 3, R.bottom});
    c.FillRect({R.left, cy - 2, R.left + 5, cy + 3});
    c.FillRect({R.right - 5, cy - 2, R.right, cy + 3});
}

void TGGraphicControl::SetLocked(bool value) {
    if (value == m_locked) return;
    m_locked = value;
    if (m_loading) return;
    if (m_lockedItem) m_lockedItem->setChecked(value);
    NotifyChanged();
}

void TGGraphicControl::ToggleLocked() {
    m_locked = !m_locked;
    if (m_lockedItem) m_lockedItem->setChecked(m_locked);
    NotifyChanged();
}

void TGGraphicControl::SetUnselectable(bool value) {
    if (value == m_unselectable) return;
    m_unselectable = value;
    if (m_loading) return;
    NotifyChanged();
    if (value)
        if (TGBasePanel* panel = Panel()) panel->Frame()->RemoveFromSelection(this);
}

void TGGraphicControl::MakeUnselectable() {
    SetUnselectable(true);
    NotifyChanged();
    if (TGBasePanel* panel = Panel()) panel->Frame()->RemoveFromSelection(this);
}

void TGGraphicControl::BringToFront() {
    NotifyChanged();
    if (m_host) m_host->BringObjectToFront(this);
}

void TGGraphicControl::SendToBack() {
    NotifyChanged();
    if (m_host) m_host->SendObjectToBack(this);
    if (TGBasePanel* panel = Panel()) panel->Frame()->ClearSelection();
}

void TGGraphicControl::CenterVertically() {
    TGBasePanel* panel = Panel();
    if (!panel) return;
    SetTop(panel->height() / 2 - m_height / 2);
    NotifyChanged();
    QCoreApplication::processEvents();
    panel->update();
}

void TGGraphicControl::CenterHorizontally() {
    TGBasePanel* panel = Panel();
    if (!panel) return;
    SetLeft(panel->width() / 2 - m_width / 2);
    NotifyChanged();
    QCoreApplication::processEvents();
    panel->update();
}

void TGGraphicControl::Clone() {
    TGObjectHost* host = m_host;
    if (!host) return;
    TGLabelObjectFiler filer(host->NamingOwner());
    TGGraphicControl* copy = nullptr;
    QString why;
    try {
        copy = filer.CloneObject(this, parent(), host);
    } catch (const StreamError& e) {
        why = e.message();
    }
    if (!copy) {
        // The copy is written and read back as a record: one that does not read back leaves no copy,
        // and the person must know that the command did nothing.
        ShowError(QStringLiteral("Unable to clone %1: %2")
                      .arg(Name(), why.isEmpty() ? QStringLiteral("its record could not be read back") : why),
                  host);
        return;
    }
    QCoreApplication::processEvents();
    copy->SetTop(m_top + 25);
    host->BringObjectToFront(copy);
    if (TGBasePanel* panel = Panel()) {
        panel->AfterClone();
        if (panel->Frame()->IndexInSelection(this) >= 0) {
            panel->Frame()->RemoveFromSelection(this);
            panel->Frame()->AddToSelection(copy);
        }
        panel->AttachObjects();
    }
    NotifyChanged();
}

}  // namespace plennix
