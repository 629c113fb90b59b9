// TCalendarMain, document commands: New, Open, Save, Save As, the recent files, Cancel Changes, the
// commands that change the whole page (properties, user title, clearing and filling the cells) and the
// entry points of printing and export.
#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMenu>
#include <QRegularExpression>

#include "app/document_io.h"
#include "app/page_documents.h"
#include "app/document_undo.h"
#include "app/mru_list.h"
#include "app/preferences.h"
#include "app/properties_command.h"
#include "app/user_title_dialog.h"
#include "calendar/calendar_panel.h"
#include "platform/common_dialogs.h"
#include "platform/messages.h"
#include "platform/program_folder.h"
#include "platform/stream_error.h"
#include "recurring/fill_calendar.h"
#include "recurring/selection_dialogs.h"
#include "recurring/store.h"
#include "surface/graphic_control.h"
#include "surface/handle.h"

namespace plennix {

namespace {

const QString kCalendarFilter = QStringLiteral("Calendar File (*.PXF *.pxf)");

}  // namespace

void TCalendarMain::buildRecentFiles() {
    m_mru = new TMRUFileList(this);
    m_mru->setObjectName(QStringLiteral("MRUFileList"));
    m_mru->SetRemoveOnClick(true);
    m_mru->SetMaximum(5);
    m_mru->SetAutoSave(false);
    m_mru->SetAutoSaveName(PreferencesFile());
    m_mru->SetAutoSaveKey(QStringLiteral("MRU"));
    m_mru->OnMRUItemClick = [this](QObject*, const QString& path) {
        if (!CheckSaveNeeded()) {
            // The entry was taken off for the click; the document stays as it was, so it comes back.
            m_mru->Add(path);
            return;
        }
        OpenCalendarFile(path);
        m_mru->Save();
    };
    m_mru->SetFileMenu(m_fileMenu);
    m_mru->Load();
}

QAction* TCalendarMain::pageCommand(QMenu* menu, const char* name, const QString& caption,
                                    void (*command)(QWidget*, TCalendarPanel32&)) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    // Printing and exporting read the cells: the open cell's text goes back first.
    connect(a, &QAction::triggered, this, [this, command] {
        DoSaveRichtext();
        command(this, *m_page);
    });
    return a;
}

bool TCalendarMain::CheckSaveNeeded() {
    DoSaveRichtext();
    if (!m_modified) return true;
    // Cancel (also Escape and the box's close button) keeps the document and whatever was asked for
    // does not happen.
    switch (AskYesNoCancel(QStringLiteral("Save"), QStringLiteral("Save changes?"), this)) {
    case Choice::Cancel: return false;
    case Choice::No: return true;
    case Choice::Yes: break;
    }
    if (m_fileName.isEmpty())
        mnuSaveAsClick();
    else
        SaveCalendarFile(m_fileName);
    return !m_modified;
}

void TCalendarMain::focusPageIfNothingHasFocus() {
    // A page that comes up in an empty window takes the keyboard, which otherwise has no control to be
    // in: the cells are reached without a Tab first.
    QWidget* focus = focusWidget();
    if (!focus || !focus->isVisible()) m_page->setFocus(Qt::OtherFocusReason);
}

void TCalendarMain::New1Click() {
    if (!CheckSaveNeeded()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    DoSaveRichtext();
    QApplication::restoreOverrideCursor();
    m_newCalendarPending = true;
    if (!runPropertiesCommand()) return;
    SetModified(true);
    m_fileName.clear();
    m_page->ClearCellTexts();
    m_page->ClearObjects();
    m_page->show();
    focusPageIfNothingHasFocus();
    CheckFloaterStatus();
    SetButtons();
    SetCaption();
    if (TDocumentUndo* undo = DocumentUndoOf(*this)) undo->Reset(false);
}

void TCalendarMain::mnuPropertiesClick() {
    m_newCalendarPending = false;
    runPropertiesCommand();
}

bool TCalendarMain::runPropertiesCommand() {
    PropertiesCommandContext context;
    context.mainWindow = this;
    context.page = m_page;
    context.newCalendarPending = &m_newCalendarPending;
    context.previewZoomPercent = &m_prefs.propZoomPercent;
    context.modified = &m_modified;
    context.saveRichText = [this] { DoSaveRichtext(); };
    context.hidePalette = [this] {
        if (m_palette) m_palette->hide();
        m_paletteShowing = false;
    };
    context.showPalette = [this] {
        if (!pageHasCells()) return;
        m_paletteShowing = true;
        if (m_palette) m_palette->show();
    };
    context.checkFloaterStatus = [this] { CheckFloaterStatus(); };
    context.setButtons = [this] {
        SetButtons();
        SetCaption();
    };
    context.savePreferences = [this] { SavePreferences(); };
    m_propertiesAccepted = RunPropertiesCommand(context);
    m_newCalendarPending = false;
    SetButtons();
    SetCaption();
    return m_propertiesAccepted;
}

void TCalendarMain::Open1Click() {
    DoSaveRichtext();
    if (!CheckSaveNeeded()) return;
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Open;
    request.title = QStringLiteral("Open Calendar File");
    request.directory = ProgramDir();
    request.filter = kCalendarFilter;
    request.defaultSuffix = QStringLiteral("PXF");
    const QString path = ChooseFileDialog(request, this);
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().toUpper() != QLatin1String("PXF")) {
        ShowInformation(QStringLiteral("Must be a Calendar file (*.PXF)"), this);
        return;
    }
    OpenCalendarFile(path);
}

bool TCalendarMain::OpenCalendarFile(QString path) {
    // `path` is a copy: callers pass the current file name, which a successful open replaces.
    DoSaveRichtext();
    // A file that cannot be read leaves the open document as it is, under its name, with its zoom, its
    // modified state and its undo history: the person is told why and can go on working.
    if (!QFileInfo::exists(path)) {
        ShowInformation(QStringLiteral("File ") + path + QStringLiteral(" no longer exists"), this);
        return false;
    }
    const bool wasModified = m_modified;
    m_page->SetPaintSuspended(true);
    const double current = m_page->Zoom();
    const float zoom = (current == 1.0 || current < 0.1 || current > 1.1) ? 1.0f : m_page->Zoom();
    QString error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = LoadDocumentIntoPage(*m_page, path, this, &error);
    QApplication::restoreOverrideCursor();
    if (!ok) {
        m_page->SetPaintSuspended(false);
        m_page->update();
        SetModified(wasModified);
        ShowInformation(error.isEmpty() ? QStringLiteral("Unable to open ") + path : error, this);
        return false;
    }
    m_fileName = path;
    m_mru->Add(path);
    m_mru->Save();
    // Objects left out of the document are told now, before a save makes the loss permanent.
    error = ObjectsLeftOutNotice(m_page->LastObjectReadReport(), path);
    if (!error.isEmpty()) ShowInformation(error, this);
    QCoreApplication::processEvents();
    m_page->show();
    focusPageIfNothingHasFocus();
    m_modified = false;
    CheckFloaterStatus();
    SetButtons();
    SetCaption();
    if (zoom != m_page->Zoom()) m_page->SetZoom(zoom);
    m_page->SetPaintSuspended(false);
    m_page->update();
    if (TDocumentUndo* undo = DocumentUndoOf(*this)) undo->Reset(true);
    return true;
}

bool TCalendarMain::SaveCalendarFile(const QString& path) {
    DoSaveRichtext();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString error;
    // The document is written at zoom 1.0 with painting suspended; the zoom comes back afterwards.
    const bool ok = SavePageDocument(*m_page, path, &error);
    QApplication::restoreOverrideCursor();
    if (ok) {
        m_fileName = path;
        m_modified = false;
        if (TDocumentUndo* undo = DocumentUndoOf(*this)) undo->MarkSaved();
    } else {
        // The old file is intact (documents are written atomically); the person must know it was not saved.
        ShowInformation(error.isEmpty() ? QStringLiteral("Unable to save ") + path : error, this);
    }
    m_page->update();
    SetButtons();
    SetCaption();
    return ok;
}

void TCalendarMain::mnuSaveClick() {
    if (!m_fileName.isEmpty()) SaveCalendarFile(m_fileName);
}

void TCalendarMain::SavebuttonClick() {
    if (Action(QStringLiteral("mnuSave"))->isEnabled())
        mnuSaveClick();
    else
        mnuSaveAsClick();
}

QString TCalendarMain::ProposedFileName() const {
    if (!m_fileName.isEmpty()) return QFileInfo(m_fileName).fileName();
    const CalendarSettings& s = m_page->Settings();
    QString month = m_page->MonthName(s.MainCalMonth).left(3);
    // A name the file system cannot hold is left out of the proposal.
    month.remove(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|]")));
    return month + QString::number(s.MainCalYear) + QStringLiteral(".PXF");
}

void TCalendarMain::mnuSaveAsClick() {
    DoSaveRichtext();
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.title = QStringLiteral("Save Calendar File");
    request.directory = m_fileName.isEmpty() ? ProgramDir() : QFileInfo(m_fileName).absolutePath();
    request.proposedName = ProposedFileName();
    request.filter = kCalendarFilter;
    request.defaultSuffix = QStringLiteral("PXF");
    QString path = ChooseFileDialog(request, this);
    if (!path.isEmpty()) {
        if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".PXF");
        if (SaveCalendarFile(path)) {
            m_mru->Add(path);
            m_mru->Save();
        }
    }
    SetButtons();
}

void TCalendarMain::mnuCancelChangesClick() {
    if (!AskYesNo(QStringLiteral("CANCEL"), QStringLiteral("Cancel all changes?"), this)) return;
    // The cell editor's text goes with the rest of the changes when the file is read again. When it
    // cannot be read, the changes stay, still to be saved.
    if (!m_fileName.isEmpty() && !OpenCalendarFile(m_fileName)) return;
    QCoreApplication::processEvents();
    SetModified(false);
    SetButtons();
}

void TCalendarMain::mnuClearAllCellContentsClick() {
    DoSaveRichtext();
    m_page->ClearCellTexts();
    m_page->update();
    SetModified(true);
}

void TCalendarMain::mnuUserTitleClick() {
    DoSaveRichtext();
    TUserTitleForm dialog(this);
    dialog.SetTitle(m_page->Settings().UserTitle);
    if (RunModalDialog(dialog) != QDialog::Accepted) return;
    m_page->SetUserTitle(dialog.Title());
    m_page->update();
    SetModified(true);
}

void TCalendarMain::mnuFillCalendarwithRecurringDatesClick() {
    DoSaveRichtext();
    FillCalendarHost host;
    host.year = m_page->Settings().MainCalYear;
    host.month = m_page->Settings().MainCalMonth;
    host.recurringDatesExist = [] { return QFileInfo::exists(RecurringDatesPath()); };
    host.loadLines = [](QString* error) { return LoadRecurringDates(error); };
    host.paletteVisiblePreference = [this] { return m_prefs.iconsVisible; };
    host.hidePalette = [this] {
        if (m_palette) m_palette->hide();
    };
    host.showPalette = [this] {
        if (!pageHasCells()) return;
        m_paletteShowing = true;
        if (m_palette) m_palette->show();
        SetButtons();
    };
    host.inform = [this](const QString& message) { ShowInformation(message, this); };
    host.choose = [this](const QStringList& offered) -> std::optional<QStringList> {
        TSelectRecurringDates dialog(this);
        dialog.SetLines(offered);
        if (RunModalDialog(dialog) != QDialog::Accepted) return std::nullopt;
        return dialog.SelectedLines();
    };
    host.puttextOnDay = [this](int day, const QString& text) { PuttextOnDay(day, text); };
    host.setButtons = [this] {
        SetButtons();
        SetCaption();
    };
    FillCalendarWithRecurringDates(host);
}

}  // namespace plennix
