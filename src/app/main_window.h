#pragma once
// TCalendarMain: the program's main window. It owns the calendar page inside a scrolling area, the cell
// editor laid over a day cell while the user types, the hidden master editor that rich-text labels lay
// out with, the tool bar of design tools, the main menu and the zoom steps.
#include <QMainWindow>

#include "calendar/calendar_settings.h"
#include "platform/rect.h"

class QScrollArea;
class QActionGroup;
class QAction;

namespace plennix {

class TCalendarPanel32;
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
    bool Modified() const { return m_modified; }
    void SetModified(bool v);
    QString FileName() const { return m_fileName; }
    void ZoomIn();
    void ZoomOut();
    void SetCaption();
    void SetTool(TLPanelState state);

    // Document commands. Open and save report failures to the user and return false.
    void NewCalendar();
    bool OpenDocument(const QString& path);
    bool SaveDocument(const QString& path);
    // Asks "Save changes?" when the document is modified; false only when saving failed.
    bool CheckSaveNeeded();
    // Closes the cell editor, storing its text into the cell.
    void DoSaveRichtext();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void zoomBy(float (*step)(float));
    void buildToolBar();
    void cellClicked(const Rect& rFree, int iCell, TWPRtfStorage& store);
    void openClicked();
    void saveClicked();
    void saveAsClicked();
    void exportPngClicked();
    void printPdfClicked();

    TCalendarPanel32* m_page = nullptr;
    QScrollArea* m_scroll = nullptr;
    QActionGroup* m_tools = nullptr;
    TWPRichText* m_cellEditor = nullptr;
    TWPRichText* m_masterEditor = nullptr;
    TWPToolBar* m_formatBar = nullptr;
    TWPRtfStorage* m_editedCell = nullptr;
    int m_currentCell = 0;
    bool m_editorOpen = false;
    bool m_editorLoaded = false;
    QString m_fileName;
    bool m_modified = false;
    bool m_zoomBusy = false;
};

}  // namespace plennix
