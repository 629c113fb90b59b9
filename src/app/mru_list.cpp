#include "app/mru_list.h"

#include <QDir>
#include <QMenu>

#include "platform/ini_file.h"

namespace plennix {

namespace {
// Recent-file entries compare as the file system does here: by exact path.
int indexOfPath(const QStringList& items, const QString& path) {
    for (int i = 0; i < items.size(); ++i)
        if (items[i] == path) return i;
    return -1;
}
}  // namespace

TMRUMenuItem::TMRUMenuItem(int position, const QString& fileName, QObject* parent)
    : QAction(parent), m_position(position), m_fileName(fileName) {
    // "&&" keeps an ampersand in a path from becoming an access key.
    QString shown = QDir::toNativeSeparators(fileName);
    shown.replace('&', QStringLiteral("&&"));
    setText('&' + QString::number(position) + ' ' + shown);
    setObjectName(QStringLiteral("MRUItem%1").arg(position));
    setToolTip(fileName);
    setStatusTip(QStringLiteral("Open ") + fileName);
}

TMRUFileList::TMRUFileList(QObject* parent) : QObject(parent) {}

TMRUFileList::~TMRUFileList() {
    if (m_autoSave) Save();
    clearMenu();
}

void TMRUFileList::SetMaximum(int maximum) {
    m_maximum = std::clamp(maximum, 0, 255);
    if (m_items.size() > m_maximum) {
        m_items = m_items.mid(0, m_maximum);
        RebuildMenu();
    }
}

void TMRUFileList::SetUseSubmenu(bool v) {
    if (v == m_useSubmenu) return;
    m_useSubmenu = v;
    RebuildMenu();
}

void TMRUFileList::SetSubmenuName(const QString& name) {
    if (name == m_submenuName) return;
    m_submenuName = name;
    RebuildMenu();
}

void TMRUFileList::SetFileMenu(QMenu* menu) {
    if (menu == m_fileMenu) return;
    clearMenu();
    m_fileMenu = menu;
    RebuildMenu();
}

void TMRUFileList::Add(const QString& fileName) {
    if (fileName.isEmpty()) return;
    const int at = indexOfPath(m_items, fileName);
    if (at >= 0) m_items.removeAt(at);
    m_items.prepend(fileName);
    while (m_items.size() > m_maximum) m_items.removeLast();
    RebuildMenu();
}

void TMRUFileList::Remove(const QString& fileName) {
    const int at = indexOfPath(m_items, fileName);
    if (at < 0) return;
    m_items.removeAt(at);
    RebuildMenu();
}

bool TMRUFileList::Save() {
    if (m_autoSaveName.isEmpty()) return false;
    IniFile ini(m_autoSaveName);
    ini.setAutoSave(false);
    ini.eraseSection(m_autoSaveKey);
    for (int i = 0; i < m_items.size(); ++i) ini.writeString(m_autoSaveKey, 'F' + QString::number(i), m_items[i]);
    return ini.save();
}

void TMRUFileList::Load() {
    m_items.clear();
    if (!m_autoSaveName.isEmpty()) {
        IniFile ini(m_autoSaveName);
        for (const QString& key : ini.keys(m_autoSaveKey)) {
            const QString path = ini.readString(m_autoSaveKey, key);
            if (path.isEmpty() || indexOfPath(m_items, path) >= 0) continue;
            if (m_items.size() >= m_maximum) break;
            m_items.append(path);
        }
    }
    RebuildMenu();
}

void TMRUFileList::clearMenu() {
    for (const QPointer<QAction>& a : m_menuActions) {
        if (!a) continue;
        if (m_fileMenu) m_fileMenu->removeAction(a);
        a->deleteLater();
    }
    m_menuActions.clear();
    if (m_submenu) m_submenu->deleteLater();
    m_submenu = nullptr;
}

void TMRUFileList::RebuildMenu() {
    clearMenu();
    if (!m_fileMenu || m_items.isEmpty()) return;
    QAction* separator = m_fileMenu->addSeparator();
    separator->setObjectName(QStringLiteral("MRUSeparator"));
    m_menuActions.append(separator);
    QMenu* target = m_fileMenu;
    if (m_useSubmenu) {
        m_submenu = new QMenu(m_submenuName, m_fileMenu);
        m_submenu->setObjectName(QStringLiteral("MRUSubmenu"));
        m_menuActions.append(m_fileMenu->addMenu(m_submenu));
        target = m_submenu;
    }
    for (int i = 0; i < m_items.size(); ++i) {
        auto* item = new TMRUMenuItem(i + 1, m_items[i], target);
        connect(item, &QAction::triggered, this, [this, item] { itemClicked(item); });
        target->addAction(item);
        m_menuActions.append(item);
    }
}

void TMRUFileList::itemClicked(TMRUMenuItem* item) {
    const QString fileName = item->FileName();
    if (m_removeOnClick) Remove(fileName);
    if (OnMRUItemClick) OnMRUItemClick(this, fileName);
}

}  // namespace plennix
