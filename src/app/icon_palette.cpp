#include "app/icon_palette.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHideEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPixmap>
#include <QVBoxLayout>
#include <algorithm>

#include "app/icon_readers.h"
#include "app/preferences.h"
#include "platform/common_dialogs.h"
#include "platform/messages.h"
#include "platform/program_folder.h"

namespace plennix {

namespace {

constexpr int kCell = kSystemIconSize + 6;
constexpr int kClientSize = 140;
const QString kPlacementClass = QStringLiteral("TFloatingPalette");

// The file of that name in the folder, ignoring letter case; empty when there is none.
QString findIgnoringCase(const QString& folder, const QString& name) {
    if (folder.isEmpty()) return {};
    const QDir dir(folder);
    if (QFileInfo(dir.filePath(name)).isFile()) return dir.filePath(name);
    const QStringList entries = dir.entryList(QDir::Files);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return dir.filePath(entry);
    return {};
}

QString bonusFolder() {
    for (const QString& base : {ProgramDir(), DataDir()}) {
        if (base.isEmpty()) continue;
        const QDir dir(base);
        const QStringList folders = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QString& entry : folders)
            if (entry.compare(QStringLiteral("BonusIcons"), Qt::CaseInsensitive) == 0) return dir.filePath(entry);
    }
    return {};
}

}  // namespace

QString ExistingFileIgnoringCase(const QString& path) {
    if (path.isEmpty() || QFileInfo(path).isFile()) return path;
    const QFileInfo info(path);
    const QString found = findIgnoringCase(info.path(), info.fileName());
    return found.isEmpty() ? path : found;
}

QString IconLibraryPath(const QString& name) {
    for (const QString& folder : {ProgramDir(), DataDir()}) {
        const QString found = findIgnoringCase(folder, name);
        if (!found.isEmpty()) return found;
    }
    return ProgramFile(name);
}

QStringList BonusSetNames() {
    const QString folder = bonusFolder();
    if (folder.isEmpty()) return {};
    QStringList names;
    const QStringList files = QDir(folder).entryList(QDir::Files);
    for (const QString& file : files) {
        if (!file.endsWith(QLatin1String(".icl"), Qt::CaseInsensitive)) continue;
        const QString name = file.section(QLatin1Char('.'), 0, 0).left(64);
        if (!name.isEmpty() && !names.contains(name)) names.append(name);
    }
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return names;
}

QString LibraryMenuName(const QString& fileName) {
    QString n = QFileInfo(fileName).completeBaseName().toUpper();
    if (n == QLatin1String("ACTIVITY")) return QStringLiteral("ACTIVITIES");
    if (n == QLatin1String("HOLIDAY")) return QStringLiteral("HOLIDAYS");
    if (n == QLatin1String("MISC1")) return QStringLiteral("MISCELLANEOUS #1");
    if (n == QLatin1String("MISC2")) return QStringLiteral("MISCELLANEOUS #2");
    return n;
}

// ---- TIconListBox ----

TIconListBox::TIconListBox(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("IconListBox"));
    setAccessibleName(QStringLiteral("Icons"));
    setViewMode(QListView::IconMode);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setUniformItemSizes(true);
    setIconSize(QSize(kSystemIconSize, kSystemIconSize));
    setGridSize(QSize(kCell, kCell));
    setSpacing(0);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QPalette p = palette();
    p.setColor(QPalette::Base, Qt::white);
    setPalette(p);
    setEnabled(false);
}

void TIconListBox::SetFileName(const QString& path) {
    m_fileName = path;
    m_icons = ReadIconFile(path, &m_readError);
    clear();
    for (size_t i = 0; i < m_icons.size(); ++i) {
        auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(m_icons[i])), QString(), this);
        item->setSizeHint(QSize(kCell, kCell));
        item->setData(Qt::AccessibleTextRole, QStringLiteral("Icon %1").arg(i + 1));
        item->setToolTip(QStringLiteral("Icon %1").arg(i + 1));
    }
    setEnabled(!m_icons.empty());
    if (!m_icons.empty()) setCurrentRow(0);
}

QImage TIconListBox::Icon(int index) const {
    if (index < 0 || index >= NumberOfIcons()) return {};
    return m_icons[static_cast<size_t>(index)];
}

QMimeData* TIconListBox::mimeData(const QList<QListWidgetItem*>& items) const {
    if (items.isEmpty()) return nullptr;
    const QImage icon = Icon(row(items.front()));
    if (icon.isNull()) return nullptr;
    auto* data = new QMimeData;
    // A bitmap of the icon's own size, as the day cell takes it.
    data->setImageData(icon);
    data->setData(QString::fromLatin1(kIconDragMimeType), QByteArray::number(row(items.front())));
    return data;
}

// ---- TFloatingPalette ----

TFloatingPalette::TFloatingPalette(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("FloatingPalette"));
    setWindowTitle(QStringLiteral("Icons"));
    setAccessibleName(QStringLiteral("Icons"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_menuBar = new QMenuBar(this);
    m_menuBar->setObjectName(QStringLiteral("MainMenu"));
    m_menuBar->setAccessibleName(QStringLiteral("Icon palette menu"));
    layout->setMenuBar(m_menuBar);
    m_fileMenu = m_menuBar->addMenu(QStringLiteral("&File"));
    m_fileMenu->setObjectName(QStringLiteral("File1"));

    m_panel = new QFrame(this);
    m_panel->setObjectName(QStringLiteral("Panel1"));
    auto* panelLayout = new QVBoxLayout(m_panel);
    panelLayout->setContentsMargins(4, 4, 4, 4);
    m_list = new TIconListBox(m_panel);
    panelLayout->addWidget(m_list);
    layout->addWidget(m_panel);

    addLibraryItem("mnuActivitiesICL", QStringLiteral("Activities"), &TFloatingPalette::mnuActivitiesICLClick);
    addLibraryItem("mnuEventsICL", QStringLiteral("Events"), &TFloatingPalette::mnuEventsICLClick);
    addLibraryItem("mnuHolidaysICL", QStringLiteral("Holidays"), &TFloatingPalette::mnuHolidaysICLClick);
    addLibraryItem("mnuMisc1ICL", QStringLiteral("Miscellaneous #1"), &TFloatingPalette::mnuMisc1ICLClick);
    addLibraryItem("mnuMisc2ICL", QStringLiteral("Miscellaneous #2"), &TFloatingPalette::mnuMisc2ICLClick);
    m_bonusMenu = m_fileMenu->addMenu(QStringLiteral("Bonus Icon Sets"));
    m_bonusMenu->setObjectName(QStringLiteral("mnuBonusIconSetsMenu"));
    m_bonusMenu->menuAction()->setObjectName(QStringLiteral("mnuBonusIconSets"));
    m_other = addLibraryItem("mnuOtherIconFile", QStringLiteral("Other..."), &TFloatingPalette::mnuOtherIconFileClick);

    // FormCreate. Only the position comes from the stored placement: the size is the design size plus
    // one pixel each way.
    m_panel->setFixedSize(kClientSize + 1, kClientSize + 1);
    adjustSize();
    const QSize size = sizeHint();
    RestorePlacement(*this, kPlacementClass);
    setFixedSize(size);

    m_list->SetFileName(IconLibraryPath(QStringLiteral("activity.icl")));

    const QStringList bonus = BonusSetNames();
    m_bonusFound = !bonus.isEmpty();
    if (!m_bonusFound) {
        // An empty submenu cannot be clicked: the item stands alone and says where sets come from.
        m_bonusMenu->menuAction()->setMenu(nullptr);
        connect(m_bonusMenu->menuAction(), &QAction::triggered, this, &TFloatingPalette::mnuBonusIconSetsClick);
    }
    for (const QString& name : bonus) {
        QAction* item = m_bonusMenu->addAction(name);
        item->setObjectName(name);
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, name] { DefaultMenuClick(name); });
    }
    Sync(m_list->FileName());
}

TFloatingPalette::~TFloatingPalette() { SavePlacement(*this, kPlacementClass); }

QAction* TFloatingPalette::addLibraryItem(const char* objectName, const QString& caption,
                                          void (TFloatingPalette::*slot)()) {
    QAction* a = m_fileMenu->addAction(caption);
    a->setObjectName(QString::fromLatin1(objectName));
    a->setCheckable(true);
    connect(a, &QAction::triggered, this, slot);
    return a;
}

QAction* TFloatingPalette::Action(const QString& name) const {
    if (m_bonusMenu->menuAction()->objectName() == name) return m_bonusMenu->menuAction();
    for (QAction* a : m_fileMenu->actions())
        if (a->objectName() == name) return a;
    for (QAction* a : m_bonusMenu->actions())
        if (a->objectName() == name) return a;
    return nullptr;
}

void TFloatingPalette::loadLibrary(const QString& name) {
    m_list->SetFileName(IconLibraryPath(name));
    Sync(m_list->FileName());
    emit LibraryChanged(m_list->FileName());
}

void TFloatingPalette::mnuActivitiesICLClick() { loadLibrary(QStringLiteral("activity.icl")); }
void TFloatingPalette::mnuEventsICLClick() { loadLibrary(QStringLiteral("events.icl")); }
void TFloatingPalette::mnuHolidaysICLClick() { loadLibrary(QStringLiteral("holiday.icl")); }
void TFloatingPalette::mnuMisc1ICLClick() { loadLibrary(QStringLiteral("misc1.icl")); }
void TFloatingPalette::mnuMisc2ICLClick() { loadLibrary(QStringLiteral("misc2.icl")); }

void TFloatingPalette::DefaultMenuClick(const QString& bonusSetName) {
    const QString folder = bonusFolder();
    const QString path = findIgnoringCase(folder, bonusSetName + QStringLiteral(".icl"));
    m_list->SetFileName(path.isEmpty() ? QDir(folder).filePath(bonusSetName + QStringLiteral(".icl")) : path);
    Sync(m_list->FileName());
    emit LibraryChanged(m_list->FileName());
}

void TFloatingPalette::mnuOtherIconFileClick() {
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Open;
    request.title = QStringLiteral("Open");
    request.directory = ProgramDir();
    request.defaultSuffix = QStringLiteral("ICL");
    request.filter = QStringLiteral(
        "All Files (*.ICL *.icl *.DLL *.dll *.EXE *.exe *.ICO *.ico *.NIL *.nil);;ICL Files (*.ICL *.icl);;"
        "DLL Files (*.DLL *.dll);;EXE Files (*.EXE *.exe);;ICO Files (*.ICO *.ico);;NIL Files (*.NIL *.nil);;"
        "ICL and ICO Files (*.ICL *.icl *.ICO *.ico)");
    // The last filter is the one most people want: libraries and single icons.
    request.selectedFilter = QStringLiteral("ICL and ICO Files (*.ICL *.icl *.ICO *.ico)");
    QString chosen = ChooseFileDialog(request, this);
    if (!chosen.isEmpty()) {
        m_list->SetFileName(chosen);
        while (m_list->NumberOfIcons() == 0) {
            // A file that could not be read at all (a named pipe, a folder, no permission) says why.
            const QString why = m_list->ReadError();
            ShowInformation(QStringLiteral("No icons found in ") + chosen + (why.isEmpty() ? QString() : "\r" + why),
                            this);
            chosen = ChooseFileDialog(request, this);
            if (chosen.isEmpty()) break;
            m_list->SetFileName(chosen);
        }
        if (m_list->NumberOfIcons() == 0) m_list->SetFileName(IconLibraryPath(QStringLiteral("Misc1.icl")));
    }
    Sync(m_list->FileName());
    emit LibraryChanged(m_list->FileName());
}

void TFloatingPalette::mnuBonusIconSetsClick() {
    ShowInformation(QStringLiteral("No Bonus Sets Found!\rBonus icon sets are icon libraries (.icl files): put them "
                                   "into the folder BonusIcons of the program folder (") +
                        QDir::toNativeSeparators(ProgramFile(QStringLiteral("BonusIcons"))) +
                        QStringLiteral(") and they appear in this menu at the next start."),
                    this);
}

void TFloatingPalette::tickFor(const QString& fileName) {
    const QString n = LibraryMenuName(fileName);
    bool ticked = false;
    for (QAction* a : m_fileMenu->actions()) {
        if (a == m_bonusMenu->menuAction()) continue;
        const bool match = a->text().toUpper() == n;
        a->setChecked(match);
        ticked = ticked || match;
    }
    for (QAction* a : m_bonusMenu->actions()) {
        const bool match = a->text().toUpper() == n;
        a->setChecked(match);
        ticked = ticked || match;
    }
    if (!ticked && !fileName.isEmpty() && QFileInfo(ExistingFileIgnoringCase(fileName)).isFile())
        m_other->setChecked(true);
}

// The preferred library as a file that exists. One named in the program folder that is not there (the
// default preference, or a PX.ini written by an earlier start) is the shipped library of that name.
static QString PreferredLibraryFile(const QString& fileName) {
    const QString existing = ExistingFileIgnoringCase(fileName);
    if (fileName.isEmpty() || QFileInfo(existing).isFile()) return existing;
    const QFileInfo info(fileName);
    if (QDir(info.absolutePath()) != QDir(ProgramDir())) return existing;
    return IconLibraryPath(info.fileName());
}

void TFloatingPalette::Sync(const QString& fileName) {
    tickFor(fileName);
    const QString existing = PreferredLibraryFile(fileName);
    const bool exists = !fileName.isEmpty() && QFileInfo(existing).isFile();
    if (exists && existing.compare(m_list->FileName(), Qt::CaseInsensitive) != 0) m_list->SetFileName(existing);
    if (m_list->NumberOfIcons() == 0) m_list->SetFileName(IconLibraryPath(QStringLiteral("Misc1.icl")));
    // The ticks follow the library actually shown: a preferred file that is gone (or holds no icons)
    // must not tick its name while another library is in the list.
    const bool shownIsNamed = exists && existing.compare(m_list->FileName(), Qt::CaseInsensitive) == 0;
    if (!shownIsNamed && m_list->NumberOfIcons() > 0) tickFor(m_list->FileName());
}

void TFloatingPalette::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous()) emit Hidden();
}

}  // namespace plennix
