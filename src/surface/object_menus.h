#pragma once
// The editor's side of placed objects: their context menus, what a double-click opens, and the commands
// that need the page's window. Objects know none of it. Each kind registers its menu entries and its
// editor under its class name; a kind without a registration gets the common entries only.
//
// A menu is built when a person first opens it (reading a document builds no widgets) and kept until
// its object is destroyed; its check marks are brought up to date whenever it shows and after each of
// its commands.
#include <QPoint>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class QAction;
class QMenu;
class QObject;
class QWidget;

namespace plennix {

class TGBasePanel;
class TGGraphicControl;

// One entry of an object's context menu.
struct ObjectMenuEntry {
    QString caption;  // empty: a separator
    std::function<void(TGGraphicControl&)> run;
    // Whether the entry shows a check mark now; null for entries that are not checkable.
    std::function<bool(const TGGraphicControl&)> checked;
    QString subMenu;  // the sub-menu (by its caption) the entry goes into; empty: the menu itself
};

inline ObjectMenuEntry ObjectMenuSeparator(const QString& subMenu = QString()) {
    return {{}, nullptr, nullptr, subMenu};
}

// An entry for one kind: the command and the check mark take the kind itself.
template <class T>
ObjectMenuEntry KindMenuEntry(const QString& caption, std::function<void(T&)> run,
                              std::function<bool(const T&)> checked = nullptr, const QString& subMenu = QString()) {
    ObjectMenuEntry e;
    e.caption = caption;
    e.run = [run = std::move(run)](TGGraphicControl& o) { run(static_cast<T&>(o)); };
    if (checked)
        e.checked = [checked = std::move(checked)](const TGGraphicControl& o) {
            return checked(static_cast<const T&>(o));
        };
    e.subMenu = subMenu;
    return e;
}

// What the editor offers for one kind of object.
struct ObjectCommands {
    // The entries after the common ones, in order.
    std::vector<ObjectMenuEntry> entries;
    // What a double-click on the object opens (the sender is the page); null: the menu comes up.
    std::function<void(TGGraphicControl& object, QObject* sender)> edit;
};

// Registers (or replaces) the commands of the class that objects name with ClassName().
void RegisterObjectCommands(const QString& className, ObjectCommands commands);

// The object's context menu (the common entries, then its kind's), built on first use.
QMenu* ObjectContextMenu(TGGraphicControl& object);
// Brings the check marks of the object's menu up to date with the object.
void UpdateObjectMenu(TGGraphicControl& object);
// The entry with that caption (searching sub-menus), its check mark up to date; null when there is none.
QAction* ObjectMenuAction(TGGraphicControl& object, const QString& caption);
// Shows the object's menu at `at` (global coordinates), or at the cursor when none is given.
void PopupObjectMenu(TGGraphicControl& object, std::optional<QPoint> at = std::nullopt);
// Runs the kind's editor; false when the kind has none.
bool RunObjectEditor(TGGraphicControl& object, QObject* sender);
bool HasObjectEditor(const TGGraphicControl& object);

// The design panel that shows the object, or null.
TGBasePanel* PanelOf(const TGGraphicControl& object);
// The window of the page that shows the object, or null.
QWidget* ObjectWindow(const TGGraphicControl& object);
// The window dialogs opened from the object are centred on: its page's window, else the active one.
QWidget* ObjectDialogParent(const TGGraphicControl& object);

// Commands of the common entries that need the page.
// A copy 25 pixels lower, on top of the z-order, taking the original's place in the selection.
void CloneObjectOnPage(TGGraphicControl& object);
void CenterObjectVertically(TGGraphicControl& object);
void CenterObjectHorizontally(TGGraphicControl& object);

}  // namespace plennix
