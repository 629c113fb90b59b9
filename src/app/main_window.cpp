#include "app/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScrollArea>
#include <QToolBar>

#include "app/design_page.h"
#include "app/zoom_steps.h"
#include "platform/messages.h"
#include "platform/numbers.h"

#ifdef PLENNIX_HAVE_RECURRING
#include "recurring/recurring_dates_dialog.h"
#include "recurring/store.h"
#endif

namespace plennix {

TCalendarMain::TCalendarMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("CalendarMain"));
    resize(900, 640);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("ScrollBox1"));
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_page = new DesignPage();
    m_page->SetNamingOwner(this);
    m_page->resize(1056, 816);
    m_page->LabelChangedEvent = [this](QObject*) { SetModified(true); };
    m_page->DroppedObjectEvent = [this](const Rect&) {
        SetModified(true);
        SetTool(appPointing);
    };
    m_scroll->setWidget(m_page);
    m_scroll->setWidgetResizable(false);
    setCentralWidget(m_scroll);
    buildToolBar();
    buildMenus();
    m_page->SetZoom(PercentToZoom(60));
    SetCaption();
#ifdef PLENNIX_HAVE_RECURRING
    // An old recurring dates list is converted once, at start-up.
    QString error;
    if (!ConvertOldRecurringDatesFile(&error)) ShowError(error, this);
#endif
}

TCalendarMain::~TCalendarMain() = default;

void TCalendarMain::buildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Tools"));
    bar->setObjectName(QStringLiteral("Panel3"));
    bar->setMovable(false);
    QAction* zoomIn = bar->addAction(QStringLiteral("+"), this, &TCalendarMain::ZoomIn);
    zoomIn->setObjectName(QStringLiteral("ZoomPlusButton"));
    zoomIn->setToolTip(QStringLiteral("Zoom In"));
    QAction* zoomOut = bar->addAction(QStringLiteral("-"), this, &TCalendarMain::ZoomOut);
    zoomOut->setObjectName(QStringLiteral("ZoomMinusButton"));
    zoomOut->setToolTip(QStringLiteral("Zoom Out"));
    bar->addSeparator();
    m_tools = new QActionGroup(this);
    m_tools->setExclusive(true);
    auto tool = [&](const char* name, const char* caption, const char* hint, int state) {
        QAction* a = bar->addAction(QString::fromLatin1(caption));
        a->setObjectName(QString::fromLatin1(name));
        a->setToolTip(QString::fromLatin1(hint));
        a->setCheckable(true);
        a->setData(state);
        m_tools->addAction(a);
        connect(a, &QAction::triggered, this, [this, state] { SetTool(state); });
        return a;
    };
    tool("Pointerbutton", "Pointer", "Selection tool", appPointing)->setChecked(true);
    tool("DrawLabelButton", "Text", "Text tool", appLabel);
}

void TCalendarMain::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
#ifdef PLENNIX_HAVE_RECURRING
    QAction* recur = file->addAction(QStringLiteral("Edit Recurring Dates"), this,
                                     [this] { OpenRecurringDatesEditor(this); });
    recur->setObjectName(QStringLiteral("mnuEditRecurringDates"));
    file->addSeparator();
#endif
    QAction* exitAction = file->addAction(QStringLiteral("E&xit"), this, &QWidget::close);
    exitAction->setObjectName(QStringLiteral("Exit1"));

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->addAction(QStringLiteral("Zoom &In"), QKeySequence(Qt::Key_PageDown), this, &TCalendarMain::ZoomIn);
    view->addAction(QStringLiteral("Zoom &Out"), QKeySequence(Qt::Key_PageUp), this, &TCalendarMain::ZoomOut);
    view->addSeparator();
    QAction* grid = view->addAction(QStringLiteral("Show &Grid"));
    grid->setCheckable(true);
    connect(grid, &QAction::toggled, this, [this](bool on) { m_page->SetShowGrid(on); });
    QAction* snap = view->addAction(QStringLiteral("&Snap To Grid"));
    snap->setCheckable(true);
    connect(snap, &QAction::toggled, this, [this](bool on) { m_page->SetSnapToGrid(on); });
    QAction* grid8 = view->addAction(QStringLiteral("Grid 8 x 8"));
    grid8->setCheckable(true);
    connect(grid8, &QAction::toggled, this, [this](bool on) { m_page->SetGridSize(on ? gs8x8 : gs4x4); });
}

void TCalendarMain::SetTool(int state) {
    m_page->SetPanelState(state);
    for (QAction* a : m_tools->actions())
        if (a->data().toInt() == state) a->setChecked(true);
}

void TCalendarMain::SetModified(bool v) {
    if (m_modified == v) return;
    m_modified = v;
    SetCaption();
}

float TCalendarMain::PageZoom() const { return m_page->Zoom(); }

void TCalendarMain::SetCaption() {
    QString caption = QStringLiteral("Plennix");
    if (!m_fileName.isEmpty()) caption += QStringLiteral("  [") + QFileInfo(m_fileName).fileName() + ']';
    caption += QStringLiteral("    [") + QString::number(roundHalfEven(m_page->Zoom() * 100.0)) + QStringLiteral("%]");
    setWindowTitle(caption);
}

void TCalendarMain::ZoomIn() {
    if (m_zoomBusy) return;
    m_zoomBusy = true;
    const float next = ZoomInStep(m_page->Zoom());
    if (next != m_page->Zoom()) {
        QCoreApplication::processEvents();
        m_page->SetZoom(next);
        SetCaption();
    }
    m_zoomBusy = false;
}

void TCalendarMain::ZoomOut() {
    if (m_zoomBusy) return;
    m_zoomBusy = true;
    const float next = ZoomOutStep(m_page->Zoom());
    if (next != m_page->Zoom()) {
        QCoreApplication::processEvents();
        m_page->SetZoom(next);
        SetCaption();
    }
    m_zoomBusy = false;
}

void TCalendarMain::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_PageDown) {
        ZoomIn();
        return;
    }
    if (e->key() == Qt::Key_PageUp) {
        ZoomOut();
        return;
    }
    QMainWindow::keyPressEvent(e);
}

void TCalendarMain::closeEvent(QCloseEvent* e) { e->accept(); }

}  // namespace plennix
