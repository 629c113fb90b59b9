#pragma once
// TCalendarMain: the program's main window. It owns the page inside a scrolling area, the tool bar of
// design tools, the main menu and the zoom steps.
#include <QMainWindow>

class QScrollArea;
class QToolButton;
class QActionGroup;

namespace plennix {

class DesignPage;

class TCalendarMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TCalendarMain(QWidget* parent = nullptr);
    ~TCalendarMain() override;

    DesignPage* CalendarPanel() const { return m_page; }
    bool Modified() const { return m_modified; }
    void SetModified(bool v);
    float PageZoom() const;
    void ZoomIn();
    void ZoomOut();
    void SetCaption();
    void SetTool(int state);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildMenus();
    void buildToolBar();

    DesignPage* m_page = nullptr;
    QScrollArea* m_scroll = nullptr;
    QActionGroup* m_tools = nullptr;
    QString m_fileName;
    bool m_modified = false;
    bool m_zoomBusy = false;
};

}  // namespace plennix
