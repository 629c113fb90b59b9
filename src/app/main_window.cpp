// TCalendarMain, the window itself: building it, its menus and tool bar, the buttons and caption that
// follow the document, zoom, the key hook, the icon palette, preferences, help and closing.
#include "app/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDesktopServices>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include "app/about_box.h"
#include "app/document_undo.h"
#include "app/icon_palette.h"
#include "app/mru_list.h"
#include "app/print_commands.h"
#include "app/tool_icons.h"
#include "app/zoom_steps.h"
#include "calendar/calendar_panel.h"
#include "calendar/layout_geometry.h"
#include "platform/common_dialogs.h"
#include "platform/ini_file.h"
#include "platform/messages.h"
#include "platform/numbers.h"
#include "platform/program_folder.h"
#include "recurring/recurring_dates_dialog.h"
#include "recurring/store.h"
#include "richtext/format_toolbar.h"
#include "richtext/rich_text_editor.h"
#include "surface/help.h"

namespace plennix {

namespace {
// The project has no web page of its own yet; the Online item then opens the local help's contents.
const QString kProjectWebPage;
// Numbered help topics of the main window and its dialogs (data/help/<n>.html).
constexpr int kContentsTopic = 1;
}  // namespace

TCalendarMain::TCalendarMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("CalendarMain"));
    setWindowTitle(QStringLiteral("Plennix"));
    setWindowIcon(ApplicationIcon());
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    setFont(font);
    resize(635, 378);
    QApplication::setOverrideCursor(Qt::WaitCursor);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("ScrollBox2"));
    m_scroll->setAccessibleName(QStringLiteral("Calendar page area"));
    // The area only scrolls (the page brings its focused cell into view): Tab goes straight to the page.
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->setBackgroundRole(QPalette::Button);
    m_page = new TCalendarPanel32(nullptr, StoredPageKind::DocumentPage);
    m_page->setObjectName(QStringLiteral("CalendarPanel"));
    m_page->setAccessibleName(QStringLiteral("Calendar page"));
    m_page->SetOwnsClipboardFile(true);
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
    m_scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_scroll->setContentsMargins(5, 5, 5, 5);
    setCentralWidget(m_scroll);
    m_page->hide();
    m_page->setAcceptDrops(true);
    m_page->installEventFilter(this);

    buildCellEditor();
    buildToolBar();
    buildMenus();
    statusBar()->setObjectName(QStringLiteral("StatusBar"));

    // FormCreate.
    m_fileName.clear();
    m_page->move(5, 5);
    LoadPreferences();
    m_modified = false;
    m_page->SetZoom(PercentToZoom(m_prefs.mainZoomPercent));
    m_page->SetCalendarLayout(TCalendarLayout::LOFullCalendarLS);

    buildRecentFiles();

    setHints(m_prefs.hintsOn);
    qApp->installEventFilter(this);

    // An old recurring dates list is converted once, at start-up.
    QString error;
    if (!ConvertOldRecurringDatesFile(&error)) ShowError(error, this);

    SetButtons();
    SetCaption();
    InstallUndo(*this);
    QApplication::restoreOverrideCursor();
}

TCalendarMain::~TCalendarMain() {
    qApp->removeEventFilter(this);
    // The page's objects may call back into the window while they go.
    m_page->LabelChangedEvent = nullptr;
    m_page->DroppedObjectEvent = nullptr;
    m_page->ClickedInCellEvent = nullptr;
    // Nothing may watch the page or the editor while they are taken apart.
    delete DocumentUndoOf(*this);
    m_page->removeEventFilter(this);
    m_cellEditor->removeEventFilter(this);
    m_cellEditor->viewport()->removeEventFilter(this);
    m_cellEditor->disconnect(this);
}

QAction* TCalendarMain::Action(const QString& name) const { return findChild<QAction*>(name); }

QAction* TCalendarMain::addCommand(QMenu* menu, const char* name, const QString& caption,
                                   void (TCalendarMain::*slot)()) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    connect(a, &QAction::triggered, this, slot);
    return a;
}


void TCalendarMain::buildToolBar() {
    m_toolBar = addToolBar(QStringLiteral("Tools"));
    m_toolBar->setObjectName(QStringLiteral("Panel3"));
    m_toolBar->setMovable(false);
    m_toolBar->setIconSize(QSize(24, 24));
    m_toolBar->setMinimumHeight(33);
    // Moving the mouse over the tool bar clears a busy cursor that a command left standing.
    m_toolBar->setMouseTracking(true);
    auto button = [&](const char* name, const QString& caption, const QString& hint, ToolIcon icon) {
        QAction* a = m_toolBar->addAction(MakeToolIcon(icon), caption);
        a->setObjectName(QString::fromLatin1(name));
        // "\r" in a hint breaks the tool tip into two lines; the status bar has one line only.
        a->setToolTip(QString(hint).replace('\r', '\n'));
        a->setStatusTip(QString(hint).replace(QStringLiteral(" \r"), QStringLiteral(" - ")));
        if (QWidget* w = m_toolBar->widgetForAction(a)) {
            w->setObjectName(QString::fromLatin1(name) + QStringLiteral("Widget"));
            w->setAccessibleName(QString(caption).remove('&'));
        }
        return a;
    };
    connect(button("ZoomPlusButton", QStringLiteral("Zoom In"), QStringLiteral("Zoom In"), ToolIcon::ZoomIn),
            &QAction::triggered, this, &TCalendarMain::ZoomIn);
    connect(button("ZoomMinusButton", QStringLiteral("Zoom Out"), QStringLiteral("Zoom Out"), ToolIcon::ZoomOut),
            &QAction::triggered, this, &TCalendarMain::ZoomOut);
    connect(button("PropertiesButton", QStringLiteral("Properties"),
                   QStringLiteral("Set/change Properties for the calendar"), ToolIcon::Properties),
            &QAction::triggered, this, &TCalendarMain::mnuPropertiesClick);
    connect(button("Printbutton", QStringLiteral("Print"), QStringLiteral("Print the calendar"), ToolIcon::Print),
            &QAction::triggered, this, [this] {
                DoSaveRichtext();
                PrintCalendarCommand(this, *m_page);
            });
    QAction* iconTool = button("ShowHideIconTool", QStringLiteral("Show Icon Tool"), QStringLiteral("Show Icon Tool"),
                               ToolIcon::IconPalette);
    connect(iconTool, &QAction::triggered, this, &TCalendarMain::ShowHideIconToolClick);
    if (auto* w = qobject_cast<QToolButton*>(m_toolBar->widgetForAction(iconTool)))
        w->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_toolBar->addSeparator();

    m_tools = new QActionGroup(this);
    m_tools->setExclusive(true);
    auto tool = [&](const char* name, const QString& caption, const QString& hint, ToolIcon icon, TLPanelState state) {
        QAction* a = button(name, caption, hint, icon);
        a->setCheckable(true);
        a->setData(static_cast<int>(state));
        m_tools->addAction(a);
        connect(a, &QAction::triggered, this, [this, state] { SetTool(state); });
        return a;
    };
    // The captions carry the access keys of the Tools menu; the buttons show them without.
    tool("Pointerbutton", QStringLiteral("&Selection"), QStringLiteral("Selection tool"), ToolIcon::Pointer,
         TLPanelState::psPointing)
        ->setChecked(true);
    tool("DrawLabelButton", QStringLiteral("&Text"), QStringLiteral("Text tool"), ToolIcon::Text,
         TLPanelState::psLabel);
    tool("DrawImageButton", QStringLiteral("&Clip Art"), QStringLiteral("Clip Art Tool"), ToolIcon::ClipArt,
         TLPanelState::psImage);
    tool("DrawRichText", QStringLiteral("&Rich Text"),
         QStringLiteral("Rich Text tool \rMixed fonts, colors and styles"), ToolIcon::RichText,
         TLPanelState::psRichLabel);
    tool("DrawSuperText", QStringLiteral("S&uperText"),
         QStringLiteral("SuperText tool \rSpecial Effects Text - fill with gradients or bitmaps"), ToolIcon::SuperText,
         TLPanelState::psSuperText);
    tool("PSpeedButton1", QStringLiteral("&Floating Calendar"),
         QStringLiteral("Floating Calendar tool \rMini Calendar that you can place anywhere"),
         ToolIcon::FloatingCalendar, TLPanelState::psFlatCalendar);
    m_toolBar->addSeparator();

    auto textButton = [&](const char* name, const QString& caption, const QString& hint, const char* color) {
        QAction* a = m_toolBar->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        a->setToolTip(hint);
        a->setStatusTip(hint);
        if (QWidget* w = m_toolBar->widgetForAction(a)) {
            w->setObjectName(QString::fromLatin1(name) + QStringLiteral("Widget"));
            w->setAccessibleName(QString(caption).remove('&'));
            w->setStyleSheet(QStringLiteral("QToolButton { color: %1; font-weight: bold; }").arg(QLatin1String(color)));
        }
        // The button shows its caption with the access key, and so Alt with that letter presses it
        // while it is shown.
        a->setIconText(caption);
        a->setVisible(false);
        return a;
    };
    connect(textButton("Savebutton", QStringLiteral("&Save"), QStringLiteral("Save changes to the calendar"), "green"),
            &QAction::triggered, this, &TCalendarMain::SavebuttonClick);
    connect(textButton("CancelButton", QStringLiteral("&Cancel"), QStringLiteral("Cancel all changes"), "red"),
            &QAction::triggered, this, &TCalendarMain::mnuCancelChangesClick);

    m_formatBar = new TWPToolBar(this);
    m_formatBar->setObjectName(QStringLiteral("WPToolBar1"));
    m_formatBar->setMovable(false);
    addToolBar(m_formatBar);
    addToolBarBreak();
    // The format bar above the program's tool bar.
    removeToolBar(m_toolBar);
    addToolBar(m_toolBar);
    m_toolBar->show();
    m_formatBar->setEnabled(false);
}

void TCalendarMain::buildMenus() {
    m_fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    m_fileMenu->setObjectName(QStringLiteral("File1"));
    QMenu* file = m_fileMenu;
    addCommand(file, "New1", QStringLiteral("&New "), &TCalendarMain::New1Click);
    addCommand(file, "Open1", QStringLiteral("&Open"), &TCalendarMain::Open1Click);
    file->addSeparator();
    addCommand(file, "mnuSave", QStringLiteral("&Save "), &TCalendarMain::mnuSaveClick)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    addCommand(file, "mnuSaveAs", QStringLiteral("Save &As..."), &TCalendarMain::mnuSaveAsClick);
    pageCommand(file, "mnuSaveAsBitmap", QStringLiteral("Save As &Bitmap "), SaveAsBitmapCommand);
    pageCommand(file, "mnuExportPdf", QStringLiteral("Export as PD&F..."), ExportPdfCommand);
    pageCommand(file, "mnuExportPng", QStringLiteral("Export as PN&G..."), ExportPngCommand);
    file->addSeparator();
    addCommand(file, "mnuProperties", QStringLiteral("&Properties"), &TCalendarMain::mnuPropertiesClick);
    addCommand(file, "mnuUserTitle", QStringLiteral("User Defined &Title"), &TCalendarMain::mnuUserTitleClick);
    addCommand(file, "mnuCancelChanges", QStringLiteral("&Cancel Changes"), &TCalendarMain::mnuCancelChangesClick);
    addCommand(file, "mnuClearAllCellContents", QStringLiteral("Clear A&ll Cell Contents"),
               &TCalendarMain::mnuClearAllCellContentsClick);
    addCommand(file, "DefaultEditorFont1", QStringLiteral("&Default Editor Font"),
               &TCalendarMain::DefaultEditorFont1Click);
    file->addSeparator();
    QAction* fill = file->addAction(QStringLiteral("F&ill Calendar with Recurring Dates"));
    fill->setObjectName(QStringLiteral("mnuFillCalendarwithRecurringDates"));
    connect(fill, &QAction::triggered, this, &TCalendarMain::mnuFillCalendarwithRecurringDatesClick);
    QAction* edit = file->addAction(QStringLiteral("&Edit Recurring Dates"));
    edit->setObjectName(QStringLiteral("mnuEditrecurringDates"));
    connect(edit, &QAction::triggered, this, [this] {
        // The palette would stand over the editor; it comes back afterwards as the person had it.
        const bool hidden = m_palette && m_palette->isVisible();
        if (hidden) m_palette->hide();
        OpenRecurringDatesEditor(this);
        if (hidden && pageHasCells()) m_palette->show();
    });
    file->addSeparator();
    pageCommand(file, "mnuPrintCalendar", QStringLiteral("P&rint Calendar"), PrintCalendarCommand);
    pageCommand(file, "mnuPrintPreview", QStringLiteral("Print Pre&view"), PrintPreviewCommand);
    pageCommand(file, "mnuPrintMonths", QStringLiteral("Print &Months..."), PrintMonthsCommand);
    QAction* setup = file->addAction(QStringLiteral("Print Set&up"));
    setup->setObjectName(QStringLiteral("mnuPrintSetup"));
    connect(setup, &QAction::triggered, this, [this] {
        DoSaveRichtext();
        PrintSetupCommand(this);
    });
    file->addSeparator();
    QAction* exit = file->addAction(QStringLiteral("E&xit"));
    exit->setObjectName(QStringLiteral("Exit1"));
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("View1"));
    // Page Down and Page Up reach the zoom through the window's key hook, also inside the cell editor.
    addCommand(view, "ZoomIn1", QStringLiteral("Zoom &In\tPgDown"), &TCalendarMain::ZoomIn);
    addCommand(view, "ZoomOut1", QStringLiteral("Zoom &Out\tPgUp"), &TCalendarMain::ZoomOut);
    view->addSeparator();
    QAction* grid = view->addAction(QStringLiteral("Show &Grid"));
    grid->setObjectName(QStringLiteral("mnuShowGrid"));
    grid->setCheckable(true);
    connect(grid, &QAction::toggled, this, [this](bool on) { m_page->SetShowGrid(on); });
    QAction* snap = view->addAction(QStringLiteral("&Snap To Grid"));
    snap->setObjectName(QStringLiteral("mnuSnapToGrid"));
    snap->setCheckable(true);
    connect(snap, &QAction::toggled, this, [this](bool on) { m_page->SetSnapToGrid(on); });
    QAction* grid8 = view->addAction(QStringLiteral("Grid &8 x 8"));
    grid8->setObjectName(QStringLiteral("mnuGrid8"));
    grid8->setCheckable(true);
    connect(grid8, &QAction::toggled, this, [this](bool on) { m_page->SetGridSize(on ? gs8x8 : gs4x4); });

    view->addSeparator();
    // The tool bar's own buttons, reachable from the keyboard through the menu as well.
    view->addAction(Action(QStringLiteral("ShowHideIconTool")));
    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->setObjectName(QStringLiteral("Tools1"));
    tools->addActions(m_tools->actions());

    QMenu* online = menuBar()->addMenu(QStringLiteral("&Online"));
    online->setObjectName(QStringLiteral("Online1"));
    addCommand(online, "VisitOurInternetW1", QStringLiteral("&Visit Our Internet Website"),
               &TCalendarMain::VisitOurInternetW1Click);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    addCommand(help, "Contents1", QStringLiteral("&Contents"), &TCalendarMain::Contents1Click)
        ->setShortcut(QKeySequence::HelpContents);
    addCommand(help, "About1", QStringLiteral("&About"), &TCalendarMain::About1Click);
    QAction* hints = addCommand(help, "mnuShowHint", QStringLiteral("&Show Hints"), &TCalendarMain::mnuShowHintClick);
    hints->setCheckable(true);
    hints->setChecked(true);
}

// ---- start-up ----

void TCalendarMain::FormActivate() {
    if (!m_firstActivation) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (auto* floating = qobject_cast<TFloatingPalette*>(m_palette.data())) floating->Sync(m_prefs.iconFile);
    RestorePlacement(*this, QStringLiteral("TCalendarMain"));
    show();
    CheckPrintersAtStart(this);
    m_page->ResetToDefaults();
    const QStringList& recent = m_mru->Items();
    // A recent file that is gone is skipped without a word at start-up.
    if (!recent.isEmpty() && QFileInfo::exists(recent.first())) OpenCalendarFile(recent.first());
    QCoreApplication::processEvents();
    m_page->setVisible(!m_fileName.isEmpty());
    QCoreApplication::processEvents();
    m_modified = false;
    m_firstActivation = false;
    SetButtons();
    SetCaption();
    QApplication::restoreOverrideCursor();
    CheckFloaterStatus();
    if (m_prefs.iconsVisible && m_palette && !m_palette->isVisible() && pageHasCells()) m_palette->show();
    SetButtons();
    m_page->SetPaintSuspended(false);
    m_page->update();
}

void TCalendarMain::HandOverReceived(const QString& path) {
    // Come forward: restored when minimised, raised otherwise.
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
    if (path.isEmpty()) return;
    if (QWidget* modal = QApplication::activeModalWidget()) {
        // A dialog is open over the document: open the file once the dialog is done.
        modal->raise();
        modal->activateWindow();
        QTimer::singleShot(500, this, [this, path] { HandOverReceived(path); });
        return;
    }
    // A name that leads nowhere (a typing slip) must not close the document being worked on.
    if (!QFileInfo::exists(path)) {
        ShowInformation(QStringLiteral("File ") + path + QStringLiteral(" could not be found"), this);
        return;
    }
    if (!CheckSaveNeeded()) return;
    OpenCalendarFile(QFileInfo(path).absoluteFilePath());
}

// ---- state shown in the window ----

bool TCalendarMain::pageShown() const { return !m_page->isHidden(); }

bool TCalendarMain::pageHasCells() const {
    return pageShown() && HasDayCells(m_page->Settings().CalendarLayout, true);
}

bool TCalendarMain::IconPaletteShowing() const { return m_palette ? m_palette->isVisible() : m_paletteShowing; }

void TCalendarMain::SetIconPalette(QWidget* palette) {
    m_palette = palette;
    if (auto* floating = qobject_cast<TFloatingPalette*>(palette)) {
        // Closing the palette itself flips the Show/Hide Icon Tool button; its library is the preference.
        connect(floating, &TFloatingPalette::Hidden, this, [this] {
            if (m_closing) return;
            m_paletteShowing = false;
            SetButtons();
        });
        connect(floating, &TFloatingPalette::LibraryChanged, this,
                [this](const QString& file) { m_prefs.iconFile = file; });
        if (!m_firstActivation) floating->Sync(m_prefs.iconFile);
    }
    if (m_palette) m_palette->setVisible(m_paletteShowing);
    SetButtons();
}

void TCalendarMain::SetButtons() {
    const bool shown = pageShown();
    const bool cells = pageHasCells();
    const bool named = !m_fileName.isEmpty();
    auto enable = [this](const char* name, bool on) {
        if (QAction* a = Action(QString::fromLatin1(name))) a->setEnabled(on);
    };
    // Without a page there is nothing to scroll: no scroll bars over the empty area.
    const Qt::ScrollBarPolicy bars = shown ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    m_scroll->setHorizontalScrollBarPolicy(bars);
    m_scroll->setVerticalScrollBarPolicy(bars);
    enable("mnuFillCalendarwithRecurringDates", cells);
    enable("mnuUserTitle", cells);
    enable("mnuClearAllCellContents", cells);
    enable("ShowHideIconTool", cells);
    enable("mnuSave", named);
    for (const char* name : {"mnuSaveAs", "mnuProperties", "PropertiesButton", "mnuPrintSetup", "ZoomMinusButton",
                             "ZoomPlusButton", "ZoomIn1", "ZoomOut1", "mnuSaveAsBitmap", "mnuExportPdf", "mnuExportPng",
                             "mnuPrintPreview", "mnuPrintMonths"})
        enable(name, shown);
    enable("mnuPrintCalendar", shown && PrinterAvailable());
    enable("Printbutton", shown && PrinterAvailable());
    enable("mnuCancelChanges", shown && named);
    m_formatBar->setEnabled(shown && m_cellEditor->isVisible() &&
                            (m_cellEditor->hasFocus() || m_formatBar->isAncestorOf(QApplication::focusWidget())));
    Action(QStringLiteral("Savebutton"))->setVisible(m_modified);
    Action(QStringLiteral("CancelButton"))->setVisible(m_modified && named);
    // The access key serves the View menu; the button, its tip and its name show the caption without.
    const QString caption =
        IconPaletteShowing() ? QStringLiteral("Hide Icon &Tool") : QStringLiteral("Show Icon &Tool");
    const QString plain = QString(caption).remove('&');
    QAction* iconTool = Action(QStringLiteral("ShowHideIconTool"));
    iconTool->setText(caption);
    iconTool->setToolTip(plain);
    iconTool->setStatusTip(plain);
    if (QWidget* w = m_toolBar->widgetForAction(iconTool)) w->setAccessibleName(plain);
}

void TCalendarMain::SetModified(bool v) {
    if (m_modified == v) return;
    m_modified = v;
    SetButtons();
    SetCaption();
}

void TCalendarMain::SetCaption() {
    QString caption = QStringLiteral("Plennix");
    if (!m_fileName.isEmpty()) caption += QStringLiteral("  [") + QFileInfo(m_fileName).fileName() + ']';
    caption += QStringLiteral("    [") + QString::number(roundHalfEven(m_page->Zoom() * 100.0)) + QStringLiteral("%]");
    setWindowTitle(caption);
}

void TCalendarMain::CheckFloaterStatus() {
    if (!pageHasCells()) {
        // Hidden while there is no day cell to drop icons on; the person's preference stays as it is, so
        // that a start without a document does not switch the palette off for good.
        m_paletteShowing = false;
        if (m_palette) m_palette->hide();
    } else if (m_prefs.iconsVisible && !IconPaletteShowing()) {
        m_paletteShowing = true;
        if (m_palette) m_palette->show();
    }
    SetButtons();
}

void TCalendarMain::ShowHideIconToolClick() {
    if (IconPaletteShowing()) {
        m_paletteShowing = false;
        if (m_palette) m_palette->hide();
        m_prefs.iconsVisible = false;
    } else {
        m_paletteShowing = true;
        if (m_palette) m_palette->show();
        m_prefs.iconsVisible = true;
    }
    SetButtons();
}

void TCalendarMain::setHints(bool on) {
    m_prefs.hintsOn = on;
    if (QAction* a = Action(QStringLiteral("mnuShowHint"))) a->setChecked(on);
}

void TCalendarMain::mnuShowHintClick() {
    setHints(Action(QStringLiteral("mnuShowHint"))->isChecked());
    SavePreferences();
}

void TCalendarMain::SetTool(TLPanelState state) {
    DoSaveRichtext();
    m_page->SetPanelState(state);
    for (QAction* a : m_tools->actions())
        if (a->data().toInt() == static_cast<int>(state)) a->setChecked(true);
}

// ---- zoom ----

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

void TCalendarMain::ResetStuckBusyCursor() {
    const QCursor* cursor = QApplication::overrideCursor();
    if (!cursor) return;
    switch (cursor->shape()) {
        case Qt::ArrowCursor:
        case Qt::DragMoveCursor:
        case Qt::DragCopyCursor:
        case Qt::DragLinkCursor:
            return;
        default:
            break;
    }
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}

bool TCalendarMain::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (!m_cellEditor || !m_formatBar) return QMainWindow::eventFilter(watched, event);
    if (type == QEvent::ToolTip && !m_prefs.hintsOn) return true;
    if (type == QEvent::MouseMove || type == QEvent::HoverMove || type == QEvent::Enter) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && m_toolBar && (widget == m_toolBar || m_toolBar->isAncestorOf(widget))) ResetStuckBusyCursor();
    }
    if (type == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        // The key hook: keys pressed anywhere in the main window (not in its dialogs).
        if (widget && widget->window() == this) {
            auto* k = static_cast<QKeyEvent*>(event);
            const bool plain = !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
            if (plain && k->key() == Qt::Key_PageDown) {
                ZoomIn();
                return true;
            }
            if (plain && k->key() == Qt::Key_PageUp) {
                ZoomOut();
                return true;
            }
            if (cellEditorKey(widget, k)) return true;
        }
    }
    if (dragDropEvent(watched, event)) return true;
    return QMainWindow::eventFilter(watched, event);
}

// ---- preferences ----

void TCalendarMain::LoadPreferences() {
    m_prefs = ReadPreferences(IniFile(PreferencesFile()));
    setHints(m_prefs.hintsOn);
}

void TCalendarMain::SavePreferences() {
    Preferences prefs = m_prefs;
    if (QAction* a = Action(QStringLiteral("mnuShowHint"))) prefs.hintsOn = a->isChecked();
    QString error;
    if (UpdatePreferencesFile([&](IniFile& ini) { WritePreferences(ini, prefs); }, &error)) return;
    const QString text = QStringLiteral("Preferences could not be written: ") + error;
    // A closing window takes its status bar with it: the person is told before it goes.
    if (m_closing)
        ShowError(text, this);
    else
        statusBar()->showMessage(text, 5000);
}

void TCalendarMain::DefaultEditorFont1Click() {
    const Preferences session = m_prefs;
    LoadPreferences();
    // Only the font comes fresh from the file. The page zoom percent read at start-up, and the palette's
    // shown state and library of this session (written when the window closes), stay what they are.
    m_prefs.mainZoomPercent = session.mainZoomPercent;
    m_prefs.iconsVisible = session.iconsVisible;
    m_prefs.iconFile = session.iconFile;
    DefaultEditorFont& f = m_prefs.font;
    FontRecord font;
    font.name = f.name;
    font.setSize(f.size);
    font.style = (f.bold ? fsBold : 0) | (f.italic ? fsItalic : 0) | (f.underline ? fsUnderline : 0) |
                 (f.strikeout ? fsStrikeOut : 0);
    font.color = f.color;
    if (ChooseFontWithColor(this, font)) {
        f.name = font.name;
        f.size = std::max(1, font.size());
        f.bold = font.style & fsBold;
        f.italic = font.style & fsItalic;
        f.underline = font.style & fsUnderline;
        f.strikeout = font.style & fsStrikeOut;
        f.color = ColorToRGB(font.color) & 0xFFFFFF;
        SavePreferences();
    }
    if (m_editorOpen) SetDefaultFontNow();
}

// ---- help ----

void TCalendarMain::Contents1Click() { ShowHelpTopic(kContentsTopic); }

void TCalendarMain::VisitOurInternetW1Click() {
    QUrl url = kProjectWebPage.isEmpty() ? QUrl::fromLocalFile(HelpTopicFile(kContentsTopic)) : QUrl(kProjectWebPage);
    if (url.isEmpty() || (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile()))) {
        ShowInformation(QStringLiteral("The program's web page is not available."), this);
        return;
    }
    if (!QDesktopServices::openUrl(url))
        ShowInformation(QStringLiteral("Unable to open ") + url.toDisplayString() + QStringLiteral(" in the web browser."),
                        this);
}

void TCalendarMain::About1Click() {
    TAboutBox box(this);
    RunModalDialog(box);
}

// ---- closing ----

void TCalendarMain::closeEvent(QCloseEvent* e) {
    // A save the person asked for that did not happen keeps the window open with its changes.
    if (!CheckSaveNeeded()) {
        e->ignore();
        return;
    }
    m_closing = true;
    m_prefs.mainZoomPercent = ZoomToPercent(m_page->Zoom());
    SavePreferences();
    if (!m_firstActivation) SavePlacement(*this, QStringLiteral("TCalendarMain"));
    if (m_palette) m_palette->hide();
    e->accept();
    emit Closed();
}

}  // namespace plennix
