#include "app/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScrollArea>
#include <QToolBar>

#include "app/document_io.h"
#include "app/zoom_steps.h"
#include "calendar/calendar_panel.h"
#include "platform/messages.h"
#include "platform/numbers.h"
#include "platform/ppi.h"
#include "platform/program_folder.h"
#include "platform/stream_error.h"
#include "richtext/format_toolbar.h"
#include "richtext/rich_text_demo_dialog.h"
#include "richtext/rich_text_editor.h"
#include "richtext/rtf_storage.h"
#include "surface/handle.h"

#ifdef PLENNIX_HAVE_RECURRING
#include "recurring/recurring_dates_dialog.h"
#include "recurring/store.h"
#endif

namespace plennix {

namespace {
const char* const kLayoutCaptions[kLayoutCount] = {
    "Month",
    "Month (landscape)",
    "Month, minis in title",
    "Month, minis in title (landscape)",
    "Month, 6 before and 6 after",
    "Month, 6 before and 6 after (landscape)",
    "Month, 12 after",
    "Month, 12 after (landscape)",
    "6 months",
    "6 months (landscape)",
    "12 months",
    "12 months (landscape)",
    "24 months",
    "24 months (landscape)",
    "48 months",
    "48 months (landscape)",
    "60 months",
    "60 months (landscape)",
    "Week planner",
    "Two-week planner",
    "Day planner, 10 hours",
    "Day planner, 15 hours",
};
}  // namespace

TCalendarMain::TCalendarMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("CalendarMain"));
    resize(1000, 720);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("ScrollBox1"));
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_page = new TCalendarPanel32(nullptr, StoredPageKind::DocumentPage);
    m_page->setObjectName(QStringLiteral("CalendarPanel"));
    m_page->SetNamingOwner(this);
    m_page->LabelChangedEvent = [this](QObject*) { SetModified(true); };
    m_page->DroppedObjectEvent = [this](const Rect&) {
        SetModified(true);
        SetTool(TLPanelState::psPointing);
    };
    m_page->ClickedInCellEvent = [this](const Rect&, const Rect& rFree, int iCell, int, TWPRtfStorage& store) {
        cellClicked(rFree, iCell, store);
    };
    m_scroll->setWidget(m_page);
    m_scroll->setWidgetResizable(false);
    setCentralWidget(m_scroll);

    m_cellEditor = new TWPRichText(m_page);
    m_cellEditor->setObjectName(QStringLiteral("WPRichText1"));
    m_cellEditor->hide();
    m_cellEditor->installEventFilter(this);
    connect(m_cellEditor, &QTextEdit::textChanged, this, [this] {
        if (m_editorLoaded) SetModified(true);
    });

    buildToolBar();
    buildMenus();
    m_page->SetZoom(PercentToZoom(60));
    m_page->ResetToDefaults();
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
    QAction* zoomIn = bar->addAction(QStringLiteral("Zoom +"), this, &TCalendarMain::ZoomIn);
    zoomIn->setObjectName(QStringLiteral("ZoomPlusButton"));
    zoomIn->setToolTip(QStringLiteral("Zoom In"));
    QAction* zoomOut = bar->addAction(QStringLiteral("Zoom -"), this, &TCalendarMain::ZoomOut);
    zoomOut->setObjectName(QStringLiteral("ZoomMinusButton"));
    zoomOut->setToolTip(QStringLiteral("Zoom Out"));
    bar->addSeparator();
    m_tools = new QActionGroup(this);
    m_tools->setExclusive(true);
    auto tool = [&](const char* name, const char* caption, const char* hint, TLPanelState state) {
        QAction* a = bar->addAction(QString::fromLatin1(caption));
        a->setObjectName(QString::fromLatin1(name));
        a->setToolTip(QString::fromLatin1(hint));
        a->setCheckable(true);
        a->setData(static_cast<int>(state));
        m_tools->addAction(a);
        connect(a, &QAction::triggered, this, [this, state] { SetTool(state); });
        return a;
    };
    tool("Pointerbutton", "Pointer", "Selection tool", TLPanelState::psPointing)->setChecked(true);
    tool("DrawLabelButton", "Text", "Text tool", TLPanelState::psLabel);

    m_formatBar = new TWPToolBar(this);
    m_formatBar->setObjectName(QStringLiteral("WPToolBar1"));
    addToolBarBreak();
    addToolBar(m_formatBar);
    m_formatBar->setEnabled(false);

    // Rich-text labels lay out and paint their text through this hidden editor.
    m_masterEditor = new TWPRichText(bar);
    m_masterEditor->setObjectName(QStringLiteral("MASTERWPRICHTEXT"));
    m_masterEditor->SetWantTabs(true);
    m_masterEditor->hide();
}

void TCalendarMain::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&New"), QKeySequence::New, this, &TCalendarMain::NewCalendar)
        ->setObjectName(QStringLiteral("mnuNew"));
    file->addAction(QStringLiteral("&Open..."), QKeySequence::Open, this, &TCalendarMain::openClicked)
        ->setObjectName(QStringLiteral("mnuOpen"));
    file->addAction(QStringLiteral("&Save"), QKeySequence::Save, this, &TCalendarMain::saveClicked)
        ->setObjectName(QStringLiteral("mnuSave"));
    file->addAction(QStringLiteral("Save &As..."), this, &TCalendarMain::saveAsClicked)
        ->setObjectName(QStringLiteral("mnuSaveAs"));
    file->addSeparator();
    file->addAction(QStringLiteral("Export as PNG..."), this, &TCalendarMain::exportPngClicked);
    file->addAction(QStringLiteral("Print to PDF..."), this, &TCalendarMain::printPdfClicked);
#ifdef PLENNIX_HAVE_RECURRING
    file->addSeparator();
    file->addAction(QStringLiteral("Edit Recurring Dates"), this, [this] { OpenRecurringDatesEditor(this); })
        ->setObjectName(QStringLiteral("mnuEditRecurringDates"));
#endif
    file->addSeparator();
    file->addAction(QStringLiteral("E&xit"), this, &QWidget::close)->setObjectName(QStringLiteral("Exit1"));

    QMenu* layout = menuBar()->addMenu(QStringLiteral("&Layout"));
    for (int i = 0; i < kLayoutCount; ++i) {
        layout->addAction(QString::fromLatin1(kLayoutCaptions[i]), this, [this, i] {
            DoSaveRichtext();
            const int before = m_page->LayoutFamily();
            m_page->SetCalendarLayout(static_cast<TCalendarLayout>(i));
            // Texts belong to cell slots: a page of another family starts with empty cells.
            if (m_page->LayoutFamily() != before) m_page->ClearCellTexts();
            SetModified(true);
        });
    }

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

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("Rich Text Editor..."), this, [this] {
        RichTextDemoDialog dialog(this);
        dialog.exec();
    });
}

void TCalendarMain::SetTool(TLPanelState state) {
    DoSaveRichtext();
    m_page->SetPanelState(state);
    for (QAction* a : m_tools->actions())
        if (a->data().toInt() == static_cast<int>(state)) a->setChecked(true);
}

void TCalendarMain::SetModified(bool v) {
    if (m_modified == v) return;
    m_modified = v;
    SetCaption();
}

void TCalendarMain::SetCaption() {
    QString caption = QStringLiteral("Plennix");
    if (!m_fileName.isEmpty()) caption += QStringLiteral("  [") + QFileInfo(m_fileName).fileName() + ']';
    caption += QStringLiteral("    [") + QString::number(roundHalfEven(m_page->Zoom() * 100.0)) + QStringLiteral("%]");
    if (m_modified) caption += QStringLiteral(" *");
    setWindowTitle(caption);
}

void TCalendarMain::ZoomIn() { zoomBy(ZoomInStep); }

void TCalendarMain::ZoomOut() { zoomBy(ZoomOutStep); }

void TCalendarMain::zoomBy(float (*step)(float)) {
    // Zooming lets pending messages run; a second zoom command arriving meanwhile is ignored.
    if (m_zoomBusy) return;
    m_zoomBusy = true;
    const float next = step(m_page->Zoom());
    if (next != m_page->Zoom()) {
        DoSaveRichtext();
        QCoreApplication::processEvents();
        m_page->SetZoom(next);
        SetCaption();
    }
    m_zoomBusy = false;
}

// ---- cell editing ----

void TCalendarMain::cellClicked(const Rect& rFree, int iCell, TWPRtfStorage& store) {
    m_currentCell = iCell;
    m_editorLoaded = false;
    DoSaveRichtext();
    m_editedCell = &store;
    m_editorOpen = true;
    const int w = rFree.right - rFree.left + 1, h = rFree.bottom - rFree.top + 1;
    const int ppi = ScreenPixelsPerInch();
    // The editor applies its zoom to the page it is given: give it the cell at 100 %, so that it breaks
    // lines where the painted cell does.
    const double zoom = std::max(0.05, static_cast<double>(m_page->Zoom()));
    m_cellEditor->SetPageSize(roundHalfEven(w / zoom * 1440.0 / ppi), roundHalfEven(h / zoom * 1440.0 / ppi));
    m_cellEditor->SetZoomPercent(truncToInt(m_page->Zoom() * 100.0));
    m_cellEditor->LoadFromStorage(store);
    m_cellEditor->setGeometry(rFree.left + 1, rFree.top + 1, w, h);
    m_cellEditor->show();
    m_cellEditor->raise();
    m_cellEditor->setFocus();
    m_formatBar->Attach(m_cellEditor);
    m_formatBar->setEnabled(true);
    m_editorLoaded = true;
}

void TCalendarMain::DoSaveRichtext() {
    if (!m_editorOpen || !m_editedCell) return;
    m_cellEditor->SaveToStorage(*m_editedCell);
    m_cellEditor->hide();
    m_editorOpen = false;
    m_formatBar->setEnabled(false);
    m_page->update();
}

bool TCalendarMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_cellEditor && event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
            const int cell = m_currentCell;
            if (k->key() == Qt::Key_Backtab || (k->modifiers() & Qt::ShiftModifier))
                m_page->ClickPreviousCell(cell);
            else
                m_page->ClickNextCell(cell);
            return true;
        }
        if (k->key() == Qt::Key_PageDown) {
            ZoomIn();
            return true;
        }
        if (k->key() == Qt::Key_PageUp) {
            ZoomOut();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- documents ----

void TCalendarMain::NewCalendar() {
    if (!CheckSaveNeeded()) return;
    DoSaveRichtext();
    m_page->ClearObjects();
    m_page->ClearCellTexts();
    m_page->ResetToDefaults();
    m_page->show();
    m_fileName.clear();
    m_modified = true;
    SetCaption();
}

bool TCalendarMain::OpenDocument(const QString& path) {
    DoSaveRichtext();
    QString error;
    if (!LoadDocumentIntoPage(*m_page, path, this, &error)) {
        ShowInformation(error, this);
        m_page->ClearObjects();
        m_page->ClearCellTexts();
        m_page->ResetToDefaults();
        m_fileName.clear();
        m_modified = false;
        SetCaption();
        return false;
    }
    m_page->show();
    m_fileName = path;
    m_modified = false;
    SetCaption();
    return true;
}

bool TCalendarMain::SaveDocument(const QString& path) {
    DoSaveRichtext();
    QString error;
    if (!SavePageDocument(*m_page, path, &error)) {
        ShowInformation(error, this);
        return false;
    }
    m_fileName = path;
    m_modified = false;
    SetCaption();
    return true;
}

bool TCalendarMain::CheckSaveNeeded() {
    DoSaveRichtext();
    if (!m_modified) return true;
    if (!AskYesNo(QStringLiteral("Save"), QStringLiteral("Save changes?"), this)) return true;
    if (m_fileName.isEmpty()) {
        saveAsClicked();
        return !m_modified;
    }
    return SaveDocument(m_fileName);
}

void TCalendarMain::openClicked() {
    if (!CheckSaveNeeded()) return;
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Open"), ProgramDir(),
                                                      QStringLiteral("Calendar files (*.PXF *.pxf)"));
    if (!path.isEmpty()) OpenDocument(path);
}

void TCalendarMain::saveClicked() {
    if (m_fileName.isEmpty())
        saveAsClicked();
    else
        SaveDocument(m_fileName);
}

void TCalendarMain::saveAsClicked() {
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save As"), ProgramDir(),
                                                QStringLiteral("Calendar files (*.PXF *.pxf)"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".PXF");
    SaveDocument(path);
}

void TCalendarMain::exportPngClicked() {
    DoSaveRichtext();
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export as PNG"), ProgramDir(),
                                                QStringLiteral("PNG images (*.png)"));
    if (path.isEmpty()) return;
    QString error;
    if (!ExportPagePng(*m_page, path, 1.0f, &error)) ShowInformation(error, this);
}

void TCalendarMain::printPdfClicked() {
    DoSaveRichtext();
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Print to PDF"), ProgramDir(),
                                                QStringLiteral("PDF files (*.pdf)"));
    if (path.isEmpty()) return;
    QString error;
    if (!PrintPagePdf(*m_page, path, &error)) ShowInformation(error, this);
}

void TCalendarMain::closeEvent(QCloseEvent* e) {
    CheckSaveNeeded();  // closing is never refused
    e->accept();
}

}  // namespace plennix
