#pragma once
// TCalendarMain: the program's main window. It owns the calendar page inside a scrolling area, the cell
// editor laid over a day cell while the user types, the hidden master editor that rich-text labels lay
// out with, the tool bar of design tools, the main menu, the recent files and the preferences.
// main_window.cpp holds the window itself (menus, tool bar, caption, zoom, preferences, closing),
// main_window_cell_editing.cpp the cell editor, main_window_documents.cpp the document commands.
#include <QMainWindow>
#include <QPointer>

#include "app/preferences.h"
#include "calendar/calendar_settings.h"
#include "platform/rect.h"

class QScrollArea;
class QActionGroup;
class QKeyEvent;
class QAction;
class QMenu;
class QMimeData;
class QToolBar;

namespace plennix {

class TCalendarPanel32;
class TMRUFileList;
class TWPRichText;
class TWPToolBar;
class TWPRtfStorage;

class TCalendarMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TCalendarMain(QWidget* parent = nullptr);
    ~TCalendarMain() override;

    TCalendarPanel32* CalendarPanel() const { return m_page; }
    TWPRichText* CellEditor() const { return m_cellEditor; }
    TMRUFileList* RecentFiles() const { return m_mru; }
    const Preferences& Prefs() const { return m_prefs; }
    bool Modified() const { return m_modified; }
    void SetModified(bool v);
    QString FileName() const { return m_fileName; }
    int CurrentCell() const { return m_currentCell; }
    // The action (menu item or tool button) of that object name, e.g. "mnuSaveAs" or "Savebutton".
    QAction* Action(const QString& name) const;

    // The first activation: placement, printer check, defaults, the most recent document, buttons.
    // Shows the window. Later calls do nothing.
    void FormActivate();
    void SetButtons();
    void SetCaption();
    void ZoomIn();
    void ZoomOut();
    void SetTool(TLPanelState state);
    void CheckFloaterStatus();
    // The icon palette, when one exists, is shown and hidden with the window's preference.
    void SetIconPalette(QWidget* palette);
    bool IconPaletteShowing() const;

    // Commands of the menu and tool bar.
    void New1Click();
    void Open1Click();
    void mnuSaveClick();
    void mnuSaveAsClick();
    void SavebuttonClick();
    void mnuCancelChangesClick();
    void mnuClearAllCellContentsClick();
    void mnuUserTitleClick();
    void mnuPropertiesClick();
    void mnuFillCalendarwithRecurringDatesClick();
    // Appends a paragraph to the cell showing the day (none: nothing happens).
    void PuttextOnDay(int day, const QString& text);
    void DefaultEditorFont1Click();
    void ShowHideIconToolClick();
    void mnuShowHintClick();
    void Contents1Click();
    void VisitOurInternetW1Click();
    void About1Click();

    // Documents. Failures are reported to the user.
    bool OpenCalendarFile(QString path);
    bool SaveCalendarFile(const QString& path);
    // Closes the cell editor; when modified asks "Save changes?" (Yes, No, Cancel) and saves on Yes.
    // False when the person cancelled, or wanted the changes saved and they were not (the save failed
    // or Save As was cancelled): the command that asked must not go on and lose them.
    bool CheckSaveNeeded();
    // Closes the cell editor, storing its text into the cell.
    void DoSaveRichtext();
    // Pictures dragged onto the page (accepted over day cells only: the cell opens and gets the picture)
    // and onto the open cell editor (at the point of the drop). Points in page / editor viewport pixels.
    bool PageDragOver(const QMimeData* data, const QPoint& p) const;
    bool PageDragDrop(const QMimeData* data, const QPoint& p);
    bool EditorDragDrop(const QMimeData* data, const QPoint& viewportPoint);
    // A later start of the program handed over a file (empty: only come forward).
    void HandOverReceived(const QString& path);
    // The name Save As proposes for the document.
    QString ProposedFileName() const;

    void LoadPreferences();
    void SavePreferences();
    // Applies the default editor font to the cell editor's current attributes.
    void SetDefaultFontNow();
    // A busy cursor left standing (neither the default nor a drag cursor) goes back to the default; the
    // tool bar calls it whenever the mouse moves over it.
    void ResetStuckBusyCursor();

signals:
    // The window closed for good (the program ends with it, also while a help window is open).
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildCellEditor();
    void buildRecentFiles();
    // Tab, Shift+Tab and Ctrl+A typed into the cell editor; true when the key was used.
    bool cellEditorKey(QWidget* widget, QKeyEvent* k);
    // Drags over and drops onto the page and the cell editor; true when the event was one of them.
    bool dragDropEvent(QObject* watched, QEvent* event);
    void zoomBy(float (*step)(float));
    void cellClicked(const Rect& rFree, int iCell, TWPRtfStorage& store);
    bool pageShown() const;
    bool pageHasCells() const;
    void focusPageIfNothingHasFocus();
    bool acceptsDrop(const QMimeData* data) const;
    bool insertDroppedPicture(const QMimeData* data);
    bool runPropertiesCommand();
    void setHints(bool on);
    QAction* pageCommand(QMenu* menu, const char* name, const QString& caption,
                         void (*command)(QWidget*, TCalendarPanel32&));
    QAction* addCommand(QMenu* menu, const char* name, const QString& caption, void (TCalendarMain::*slot)());

    TCalendarPanel32* m_page = nullptr;
    QScrollArea* m_scroll = nullptr;
    QToolBar* m_toolBar = nullptr;
    QActionGroup* m_tools = nullptr;
    TWPRichText* m_cellEditor = nullptr;
    TWPToolBar* m_formatBar = nullptr;
    TWPRtfStorage* m_editedCell = nullptr;
    TMRUFileList* m_mru = nullptr;
    QMenu* m_fileMenu = nullptr;
    QPointer<QWidget> m_palette;
    Preferences m_prefs;
    int m_currentCell = 0;
    bool m_editorOpen = false;
    bool m_editorLoaded = false;
    bool m_firstActivation = true;
    bool m_newCalendarPending = false;
    bool m_propertiesAccepted = false;
    bool m_paletteShowing = false;
    QString m_fileName;
    bool m_modified = false;
    bool m_zoomBusy = false;
    bool m_closing = false;
};

}  // namespace plennix
