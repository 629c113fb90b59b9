#pragma once
// TMRUFileList: the recent files at the end of the File menu, most recent first, kept in PX.ini.
#include <QAction>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>

#include <QMenu>

namespace plennix {

// A menu entry of the list; its position (1-based) tells it apart from the menu's fixed items.
class TMRUMenuItem : public QAction {
    Q_OBJECT
public:
    TMRUMenuItem(int position, const QString& fileName, QObject* parent);
    int Position() const { return m_position; }
    QString FileName() const { return m_fileName; }

private:
    int m_position;
    QString m_fileName;
};

class TMRUFileList : public QObject {
    Q_OBJECT
public:
    explicit TMRUFileList(QObject* parent = nullptr);
    ~TMRUFileList() override;

    int Maximum() const { return m_maximum; }
    // Dropping below the current count removes the surplus from the end.
    void SetMaximum(int maximum);
    bool RemoveOnClick() const { return m_removeOnClick; }
    void SetRemoveOnClick(bool v) { m_removeOnClick = v; }
    QMenu* FileMenu() const { return m_fileMenu; }
    // Takes the entries out of the previous menu first.
    void SetFileMenu(QMenu* menu);
    // With UseSubmenu the entries go into a submenu of the File menu captioned SubmenuName.
    bool UseSubmenu() const { return m_useSubmenu; }
    void SetUseSubmenu(bool v);
    QString SubmenuName() const { return m_submenuName; }
    void SetSubmenuName(const QString& name);
    bool AutoSave() const { return m_autoSave; }
    void SetAutoSave(bool v) { m_autoSave = v; }
    QString AutoSaveName() const { return m_autoSaveName; }
    void SetAutoSaveName(const QString& path) { m_autoSaveName = path; }
    QString AutoSaveKey() const { return m_autoSaveKey; }
    void SetAutoSaveKey(const QString& section) { m_autoSaveKey = section; }
    std::function<void(QObject* sender, const QString& fileName)> OnMRUItemClick;

    const QStringList& Items() const { return m_items; }
    // Moves an entry to the top, or inserts it there and drops entries beyond the maximum.
    void Add(const QString& fileName);
    void Remove(const QString& fileName);
    // Writes the section (erased first, then F0, F1, ...); false when PX.ini could not be written.
    bool Save();
    // Reads every line of the section in file order.
    void Load();
    void RebuildMenu();

private:
    void clearMenu();
    void itemClicked(TMRUMenuItem* item);

    QStringList m_items;
    int m_maximum = 5;
    bool m_removeOnClick = true;
    // The menu and its entries may go before the list does (they belong to the window's menu bar).
    QPointer<QMenu> m_fileMenu;
    bool m_useSubmenu = false;
    QString m_submenuName = QStringLiteral("Reopen");
    QPointer<QMenu> m_submenu;
    bool m_autoSave = true;
    QString m_autoSaveName;
    QString m_autoSaveKey = QStringLiteral("MRU Items");
    QList<QPointer<QAction>> m_menuActions;
};

}  // namespace plennix
