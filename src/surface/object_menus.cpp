#include "surface/object_menus.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QHash>
#include <QMenu>
#include <QPointer>

#include "platform/messages.h"
#include "platform/stream_error.h"
#include "surface/base_panel.h"
#include "surface/graphic_control.h"
#include "surface/handle.h"
#include "surface/label_commands.h"
#include "surface/object_filer.h"

namespace plennix {

namespace {

QHash<QString, ObjectCommands>& registry() {
    // The surface's own kinds are always known; the decorative kinds register theirs.
    static QHash<QString, ObjectCommands> commands{
        {QStringLiteral("TGBaseLabel"), LabelCommands(false)},
        {QStringLiteral("TGPLabel"), LabelCommands(true)},
    };
    return commands;
}

const ObjectCommands* commandsOf(const TGGraphicControl& object) {
    const auto& all = registry();
    const auto it = all.constFind(object.ClassName());
    return it == all.cend() ? nullptr : &it.value();
}

std::vector<ObjectMenuEntry> commonEntries() {
    using G = TGGraphicControl;
    return {
        KindMenuEntry<G>(QStringLiteral("Bring To Front"), [](G& o) { o.BringToFront(); }),
        KindMenuEntry<G>(QStringLiteral("Send To Back"),
                         [](G& o) {
                             o.SendToBack();
                             if (TGBasePanel* panel = PanelOf(o)) panel->Frame()->ClearSelection();
                         }),
        KindMenuEntry<G>(QStringLiteral("Cut"),
                         [](G& o) {
                             if (TGBasePanel* panel = PanelOf(o)) {
                                 o.NotifyChanged();
                                 panel->ObjectClipboard(&o, ClipboardOp::Cut);
                             }
                         }),
        KindMenuEntry<G>(QStringLiteral("Copy"),
                         [](G& o) {
                             if (TGBasePanel* panel = PanelOf(o)) panel->ObjectClipboard(&o, ClipboardOp::Copy);
                         }),
        KindMenuEntry<G>(QStringLiteral("Delete"),
                         [](G& o) {
                             if (TGBasePanel* panel = PanelOf(o)) {
                                 o.NotifyChanged();
                                 panel->ObjectClipboard(&o, ClipboardOp::Delete);
                             }
                         }),
        KindMenuEntry<G>(QStringLiteral("Clone"), [](G& o) { CloneObjectOnPage(o); }),
        ObjectMenuSeparator(),
        KindMenuEntry<G>(
            QStringLiteral("Locked"), [](G& o) { o.ToggleLocked(); }, [](const G& o) { return o.Locked(); }),
        KindMenuEntry<G>(QStringLiteral("Unselectable"), [](G& o) { o.MakeUnselectable(); }),
        ObjectMenuSeparator(),
        KindMenuEntry<G>(QStringLiteral("Center Vertically"), [](G& o) { CenterObjectVertically(o); }),
        KindMenuEntry<G>(QStringLiteral("Center Horizontally"), [](G& o) { CenterObjectHorizontally(o); }),
    };
}

// A built menu and the check marks it keeps.
struct BuiltMenu {
    QMenu* menu = nullptr;
    std::vector<std::pair<QAction*, std::function<bool(const TGGraphicControl&)>>> checks;
};

QHash<const TGGraphicControl*, BuiltMenu>& builtMenus() {
    static QHash<const TGGraphicControl*, BuiltMenu> menus;
    return menus;
}

BuiltMenu& menuOf(TGGraphicControl& object) {
    auto& menus = builtMenus();
    const auto found = menus.find(&object);
    if (found != menus.end()) return found.value();

    BuiltMenu built;
    built.menu = new QMenu();
    std::vector<ObjectMenuEntry> entries = commonEntries();
    if (const ObjectCommands* own = commandsOf(object))
        entries.insert(entries.end(), own->entries.begin(), own->entries.end());
    QHash<QString, QMenu*> subMenus;
    for (const ObjectMenuEntry& e : entries) {
        QMenu* into = built.menu;
        if (!e.subMenu.isEmpty()) {
            QMenu*& sub = subMenus[e.subMenu];
            if (!sub) sub = built.menu->addMenu(e.subMenu);
            into = sub;
        }
        if (e.caption.isEmpty()) {
            into->addSeparator();
            continue;
        }
        QAction* action = into->addAction(e.caption);
        if (e.checked) {
            action->setCheckable(true);
            built.checks.emplace_back(action, e.checked);
        }
        // Commands may take the object off the page (Cut, Delete): the panel frees it only when
        // control is back in the event loop, after the menu has finished with it.
        QObject::connect(action, &QAction::triggered, &object, [&object, run = e.run] {
            QPointer<TGGraphicControl> alive(&object);
            if (run) run(object);
            if (alive) UpdateObjectMenu(object);
        });
    }
    QObject::connect(built.menu, &QMenu::aboutToShow, &object, [&object] { UpdateObjectMenu(object); });
    // The menu lives as long as its object.
    QObject::connect(&object, &QObject::destroyed, [key = &object] { delete builtMenus().take(key).menu; });
    return menus.insert(&object, built).value();
}

}  // namespace

void RegisterObjectCommands(const QString& className, ObjectCommands commands) {
    registry().insert(className, std::move(commands));
}

QMenu* ObjectContextMenu(TGGraphicControl& object) { return menuOf(object).menu; }

void UpdateObjectMenu(TGGraphicControl& object) {
    const auto found = builtMenus().constFind(&object);
    if (found == builtMenus().cend()) return;
    for (const auto& [action, checked] : found->checks) action->setChecked(checked(object));
}

QAction* ObjectMenuAction(TGGraphicControl& object, const QString& caption) {
    QMenu* menu = ObjectContextMenu(object);
    UpdateObjectMenu(object);
    std::function<QAction*(QMenu*)> find = [&](QMenu* m) -> QAction* {
        for (QAction* a : m->actions()) {
            if (a->text() == caption) return a;
            if (a->menu())
                if (QAction* sub = find(a->menu())) return sub;
        }
        return nullptr;
    };
    return find(menu);
}

void PopupObjectMenu(TGGraphicControl& object, std::optional<QPoint> at) {
    QMenu* menu = ObjectContextMenu(object);
    UpdateObjectMenu(object);
    menu->popup(at.value_or(QCursor::pos()));
}

bool HasObjectEditor(const TGGraphicControl& object) {
    const ObjectCommands* own = commandsOf(object);
    return own && own->edit;
}

bool RunObjectEditor(TGGraphicControl& object, QObject* sender) {
    const ObjectCommands* own = commandsOf(object);
    if (!own || !own->edit) return false;
    // A copy: the editor may register commands (and so move the registry's storage) while it runs.
    const auto edit = own->edit;
    edit(object, sender);
    return true;
}

TGBasePanel* PanelOf(const TGGraphicControl& object) { return qobject_cast<TGBasePanel*>(HostOf(object)); }

QWidget* ObjectWindow(const TGGraphicControl& object) {
    TGObjectHost* host = HostOf(object);
    return host ? host->window() : nullptr;
}

QWidget* ObjectDialogParent(const TGGraphicControl& object) {
    if (QWidget* window = ObjectWindow(object)) return window;
    return QApplication::activeWindow();
}

void CloneObjectOnPage(TGGraphicControl& object) {
    TGObjectHost* host = HostOf(object);
    if (!host) return;
    TGLabelObjectFiler filer(host->NamingOwner());
    TGGraphicControl* copy = nullptr;
    QString why;
    try {
        copy = filer.CloneObject(&object, object.parent(), &host->ObjectList());
    } catch (const StreamError& e) {
        why = e.message();
    }
    if (!copy) {
        // The copy is written and read back as a record: one that does not read back leaves no copy,
        // and the person must know that the command did nothing.
        ShowError(QStringLiteral("Unable to clone %1: %2")
                      .arg(object.Name(), why.isEmpty() ? QStringLiteral("its record could not be read back") : why),
                  host);
        return;
    }
    QCoreApplication::processEvents();
    copy->SetTop(object.Top() + 25);
    host->BringObjectToFront(copy);
    if (TGBasePanel* panel = PanelOf(object)) {
        panel->AfterClone();
        if (panel->Frame()->IndexInSelection(&object) >= 0) {
            panel->Frame()->RemoveFromSelection(&object);
            panel->Frame()->AddToSelection(copy);
        }
        panel->AttachObjects();
    }
    object.NotifyChanged();
}

void CenterObjectVertically(TGGraphicControl& object) {
    TGBasePanel* panel = PanelOf(object);
    if (!panel) return;
    object.SetTop(panel->height() / 2 - object.Height() / 2);
    object.NotifyChanged();
    QCoreApplication::processEvents();
    panel->update();
}

void CenterObjectHorizontally(TGGraphicControl& object) {
    TGBasePanel* panel = PanelOf(object);
    if (!panel) return;
    object.SetLeft(panel->width() / 2 - object.Width() / 2);
    object.NotifyChanged();
    QCoreApplication::processEvents();
    panel->update();
}

}  // namespace plennix
