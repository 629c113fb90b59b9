// The page's commands on its objects: selection, z-order, alignment, centring, locking, marking and
// the font of the selection, and the context menu that offers them (built on first use).
#include <QFile>
#include <QMenu>
#include <algorithm>

#include "platform/common_dialogs.h"
#include "surface/base_panel.h"
#include "surface/graphic_control.h"
#include "surface/handle.h"
#include "surface/object_menus.h"

namespace plennix {

void TGBasePanel::SelectInRect(const Rect& r, bool shift) {
    std::vector<TGGraphicControl*> list;
    if (shift) list = m_frame->Selection();
    m_frame->ClearSelection();
    for (int i = ObjectCount() - 1; i >= 0; --i) {
        TGGraphicControl* o = ObjectAt(i);
        if (!o->BoundsRect().intersects(r)) continue;
        auto it = std::find(list.begin(), list.end(), o);
        if (it != list.end() && shift)
            list.erase(it);
        else
            list.push_back(o);
    }
    for (TGGraphicControl* o : list) m_frame->AddToSelection(o);
    update();
}

void TGBasePanel::PlaceObjectInRect(const Rect& r) {
    // The object's first dialog runs inside CreateObjectInRect; whoever records changes waits for the
    // end of the placing to see the object as the dialog left it.
    const bool outer = !m_placing;
    m_placing = true;
    struct EndPlacing {
        TGBasePanel* panel;
        bool outer;
        ~EndPlacing() {
            if (outer) panel->m_placing = false;
        }
    } end{this, outer};
    CreateObjectInRect(r);
    if (DroppedObjectEvent) DroppedObjectEvent(r);
}

void TGBasePanel::SelectAll() {
    m_frame->ClearSelection();
    for (TGGraphicControl* o : Objects()) m_frame->AddToSelection(o);
    update();
}

QMenu* TGBasePanel::PanelMenu() {
    if (!m_menu) buildMenu();
    return m_menu;
}

void TGBasePanel::buildMenu() {
    m_menu = new QMenu();
    auto add = [this](const char* caption, std::function<void()> f) {
        QAction* a = m_menu->addAction(QString::fromLatin1(caption));
        connect(a, &QAction::triggered, this, [f = std::move(f)] { f(); });
        return a;
    };
    add("Bring To Front", [this] { BringSelectionToFront(); });
    add("Send To Back", [this] { SendSelectionToBack(); });
    m_menu->addSeparator();
    add("Cut", [this] { SelectionClipboard(ClipboardOp::Cut); });
    add("Copy", [this] { SelectionClipboard(ClipboardOp::Copy); });
    add("Paste", [this] { SelectionClipboard(ClipboardOp::Paste); });
    m_menu->addSeparator();
    add("Delete", [this] { SelectionClipboard(ClipboardOp::Delete); });
    m_menu->addSeparator();
    add("Align Left", [this] { AlignLeft(); });
    add("Align Right", [this] { AlignRight(); });
    add("Align Tops", [this] { AlignTops(); });
    add("Align Bottoms", [this] { AlignBottoms(); });
    m_menu->addSeparator();
    add("Center Vertically", [this] { CenterSelectionVertically(); });
    add("Center Horizontally", [this] { CenterSelectionHorizontally(); });
    m_menu->addSeparator();
    add("Lock All", [this] { LockAll(); });
    add("Unlock All", [this] { UnlockAll(); });
    m_menu->addSeparator();
    add("Mark All Selectable", [this] { MarkAllSelectable(); });
    add("Mark All Unselectable", [this] { MarkAllUnselectable(); });
    add("Select All", [this] { SelectAll(); });
    m_menu->addSeparator();
    add("Font", [this] { ChooseFontForSelection(); });
    connect(m_menu, &QMenu::aboutToShow, this, [this] { UpdatePanelMenu(); });
}

void TGBasePanel::UpdatePanelMenu() {
    PanelMenu();
    const bool selection = m_frame->SelectionCount() > 0;
    // The frame is a child control too: the lock commands need at least one object besides it.
    const bool hasObjects = ObjectCount() + 1 > 1;
    for (QAction* a : m_menu->actions()) {
        const QString t = a->text();
        if (a->isSeparator()) continue;
        if (t == QLatin1String("Paste"))
            a->setEnabled(QFile::exists(m_clipboardFile));
        else if (t == QLatin1String("Lock All") || t == QLatin1String("Unlock All"))
            a->setEnabled(hasObjects);
        else if (t.startsWith(QLatin1String("Mark All")) || t == QLatin1String("Select All"))
            a->setEnabled(true);
        else
            a->setEnabled(selection);
    }
}

QAction* TGBasePanel::PanelMenuAction(const QString& caption) {
    UpdatePanelMenu();
    for (QAction* a : m_menu->actions())
        if (a->text() == caption) return a;
    return nullptr;
}

void TGBasePanel::PopupPanelMenu() { PanelMenu()->popup(QCursor::pos()); }

void TGBasePanel::BringSelectionToFront() {
    if (m_frame->Locked()) return;
    m_frame->BringSelectionToFront();
    FireChanged();
    update();
}

void TGBasePanel::SendSelectionToBack() {
    if (m_frame->Locked()) return;
    m_frame->SendSelectionToBack();
    m_frame->ClearSelection();
    FireChanged();
    update();
}

void TGBasePanel::AlignLeft() {
    FireChanged();
    int m = width();
    for (TGGraphicControl* o : m_frame->Selection()) m = std::min(m, o->Left());
    for (TGGraphicControl* o : m_frame->Selection()) o->SetLeft(m);
    update();
}

void TGBasePanel::AlignRight() {
    FireChanged();
    int m = 0;
    for (TGGraphicControl* o : m_frame->Selection()) m = std::max(m, o->Left() + o->Width());
    for (TGGraphicControl* o : m_frame->Selection()) o->SetLeft(m - o->Width());
    update();
}

void TGBasePanel::AlignTops() {
    FireChanged();
    int m = height();
    for (TGGraphicControl* o : m_frame->Selection()) m = std::min(m, o->Top());
    for (TGGraphicControl* o : m_frame->Selection()) o->SetTop(m);
    update();
}

void TGBasePanel::AlignBottoms() {
    FireChanged();
    int m = 0;
    for (TGGraphicControl* o : m_frame->Selection()) m = std::max(m, o->Top() + o->Height());
    for (TGGraphicControl* o : m_frame->Selection()) o->SetTop(m - o->Height());
    update();
}

void TGBasePanel::CenterSelectionVertically() {
    const auto sel = m_frame->Selection();
    for (TGGraphicControl* o : sel) CenterObjectVertically(*o);
    update();
}

void TGBasePanel::CenterSelectionHorizontally() {
    const auto sel = m_frame->Selection();
    for (TGGraphicControl* o : sel) CenterObjectHorizontally(*o);
    update();
}

void TGBasePanel::LockAll() {
    for (TGGraphicControl* o : Objects())
        if (!o->Locked()) o->SetLocked(true);
}

void TGBasePanel::UnlockAll() {
    for (TGGraphicControl* o : Objects())
        if (o->Locked()) o->SetLocked(false);
}

void TGBasePanel::MarkAllSelectable() {
    const auto objects = Objects();
    for (TGGraphicControl* o : objects) o->SetUnselectable(false);
}

void TGBasePanel::MarkAllUnselectable() {
    const auto objects = Objects();
    for (TGGraphicControl* o : objects) o->SetUnselectable(true);
}

void TGBasePanel::ChooseFontForSelection() {
    if (m_frame->SelectionCount() == 0) return;
    FontRecord chosen = m_panelFont;
    if (!ChooseFontWithColor(this, chosen)) return;
    // The dialog starts from the panel's font, not from each object's: a colour left as it was is no
    // choice, and each object keeps its own.
    const bool colorChosen = chosen.color != m_panelFont.color;
    const auto sel = m_frame->Selection();
    for (TGGraphicControl* o : sel) {
        FontRecord f = chosen;
        if (!colorChosen) f.color = o->FontColor().value_or(chosen.color);
        o->ApplyFont(f);
    }
    update();
}

}  // namespace plennix
