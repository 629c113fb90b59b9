#pragma once
// The icon palette: a small tool window above the main window that shows the icons of one icon
// library as a grid; an icon dragged from it onto a day cell becomes a picture in the cell's text.
#include <QImage>
#include <QListWidget>
#include <QString>
#include <QWidget>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QFrame;

namespace plennix {

// The library file of that name in the program folder, else in the shipped data folder, matched
// ignoring letter case ("Misc1.icl" finds "misc1.icl"); the program folder's path when neither has it.
QString IconLibraryPath(const QString& name);
// An existing file of that path, ignoring the letter case of its name; the path itself otherwise.
QString ExistingFileIgnoringCase(const QString& path);
// The names of the bonus sets: the "*.icl" files of the BonusIcons folder, each without folder and
// without everything from its first "." on (at most 64 characters), sorted.
QStringList BonusSetNames();
// The menu caption an icon library answers to: its name without folder and extension, in upper case,
// with the shipped libraries' names spelled out ("HOLIDAY" -> "HOLIDAYS").
QString LibraryMenuName(const QString& fileName);

// MIME type of a dragged icon besides its image: marks drags that come from the palette.
inline constexpr const char* kIconDragMimeType = "application/x-plennix-icon";

// The grid of a library's icons: one cell of the system icon size plus 6 pixels each way, 3 x 3 cells
// in view, scrolling for more; pressing an icon and moving drags it (as an image).
class TIconListBox : public QListWidget {
    Q_OBJECT
public:
    explicit TIconListBox(QWidget* parent = nullptr);

    QString FileName() const { return m_fileName; }
    // Loads every icon of the file (an icon library, a program or library file, an icon file); a
    // file that is missing or holds none leaves the list empty and disabled.
    void SetFileName(const QString& path);
    int NumberOfIcons() const { return static_cast<int>(m_icons.size()); }
    // Why the file could not be read at all (empty when it was read, icons or not).
    QString ReadError() const { return m_readError; }
    QImage Icon(int index) const;
    int ItemIndex() const { return currentRow(); }
    void SetItemIndex(int index) { setCurrentRow(index); }
    // The selected icon (null when none is selected).
    QImage SelectedIcon() const { return Icon(ItemIndex()); }

    static constexpr int XIcons = 3;
    static constexpr int YIcons = 3;

protected:
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;

public:
    // What a drag of these items carries.
    QMimeData* DragData(const QList<QListWidgetItem*>& items) const { return mimeData(items); }


private:
    QString m_fileName;
    QString m_readError;
    std::vector<QImage> m_icons;
};

class TFloatingPalette : public QWidget {
    Q_OBJECT
public:
    explicit TFloatingPalette(QWidget* parent = nullptr);
    ~TFloatingPalette() override;

    TIconListBox* IconListBox() const { return m_list; }
    // Makes the menu ticks match the library and loads it when it exists and is not the one shown;
    // falls back to Misc1.icl when the list is left without icons.
    void Sync(const QString& fileName);
    // The action of that object name ("mnuHolidaysICL", "mnuOtherIconFile", a bonus set's name).
    QAction* Action(const QString& name) const;
    QMenu* BonusMenu() const { return m_bonusMenu; }

    void mnuActivitiesICLClick();
    void mnuEventsICLClick();
    void mnuHolidaysICLClick();
    void mnuMisc1ICLClick();
    void mnuMisc2ICLClick();
    void DefaultMenuClick(const QString& bonusSetName);
    void mnuOtherIconFileClick();
    void mnuBonusIconSetsClick();

signals:
    // The palette was hidden (the main window recomputes its Show/Hide Icon Tool button).
    void Hidden();
    // Another library is shown (its path), for the "Icons"/"File" preference.
    void LibraryChanged(const QString& fileName);

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void loadLibrary(const QString& name);
    // Ticks the items answering to that library's name (or "Other..." for an existing file none names).
    void tickFor(const QString& fileName);
    QAction* addLibraryItem(const char* objectName, const QString& caption, void (TFloatingPalette::*slot)());

    QMenuBar* m_menuBar = nullptr;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_bonusMenu = nullptr;
    QAction* m_other = nullptr;
    QFrame* m_panel = nullptr;
    TIconListBox* m_list = nullptr;
    bool m_bonusFound = false;
};

}  // namespace plennix
