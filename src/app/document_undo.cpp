#include "app/document_undo.h"

#include <QAction>
#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTextDocument>

#include "app/document_io.h"
#include "app/main_window.h"
#include "calendar/calendar_panel.h"
#include "platform/messages.h"
#include "platform/stream_error.h"
#include "richtext/rich_text_editor.h"
#include "surface/graphic_control.h"
#include "surface/handle.h"

namespace plennix {

namespace {
// Steps that a person repeats in small amounts (arrow key nudges) merge while the selection stays.
constexpr int kKeyNudgeId = 1;
// While the mouse or the arrow keys still hold a drag, the step waits for the release.
constexpr int kReleasePollMs = 20;

// Ctrl+Z undoes; Ctrl+Y and Ctrl+Shift+Z redo (the Edit menu shows the same keys).
const QKeySequence kUndoKey(Qt::CTRL | Qt::Key_Z);
const QList<QKeySequence> kRedoKeys{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)};

// +1 for an undo key, -1 for a redo key, 0 for any other.
int undoKeyOf(const QKeyEvent* k) {
    const QKeySequence pressed(QKeyCombination(k->modifiers() & ~Qt::KeypadModifier, Qt::Key(k->key())));
    if (pressed == kUndoKey) return 1;
    return kRedoKeys.contains(pressed) ? -1 : 0;
}

QString plainCaption(QString text) {
    text.remove(QLatin1Char('&'));
    const int tab = text.indexOf(QLatin1Char('\t'));
    return (tab >= 0 ? text.left(tab) : text).trimmed();
}
}  // namespace

QString DescribeChange(const DocumentSnapshot& before, const DocumentSnapshot& after) {
    QSet<QString> was, is;
    for (const auto& o : before.objects) was.insert(o.first);
    for (const auto& o : after.objects) is.insert(o.first);
    const bool added = !(is - was).isEmpty();
    const bool removed = !(was - is).isEmpty();
    if (added && !removed) return QStringLiteral("Insert Object");
    if (removed && !added) return QStringLiteral("Delete");
    if (added && removed) return QStringLiteral("Change");
    bool reordered = false, moved = false, resized = false;
    for (size_t i = 0; i < after.objects.size(); ++i) {
        const auto& a = after.objects[i];
        const auto& b = before.objects[i];
        if (a.first != b.first) {
            reordered = true;
            continue;
        }
        const Rect& r = a.second;
        const Rect& q = b.second;
        if (r == q) continue;
        if (r.right - r.left != q.right - q.left || r.bottom - r.top != q.bottom - q.top)
            resized = true;
        else
            moved = true;
    }
    if (reordered) return QStringLiteral("Order");
    if (resized) return QStringLiteral("Resize");
    if (moved) return QStringLiteral("Move");
    if (before.cells != after.cells) return QStringLiteral("Cell Text");
    return after.selection.isEmpty() ? QStringLiteral("Properties") : QStringLiteral("Format");
}

// One step: the document before and after. The change is already made when the step is pushed, so
// the first redo does nothing; snapshots are shared with the neighbouring steps.
class SnapshotCommand : public QUndoCommand {
public:
    SnapshotCommand(TDocumentUndo* owner, std::shared_ptr<const DocumentSnapshot> before,
                    std::shared_ptr<const DocumentSnapshot> after, const QString& name, int id)
        : QUndoCommand(name), m_owner(owner), m_before(std::move(before)), m_after(std::move(after)), m_id(id) {}

    void undo() override {
        if (!m_owner->m_replaying) m_owner->restore(m_before);
    }
    void redo() override {
        if (m_pushed && !m_owner->m_replaying) m_owner->restore(m_after);
        m_pushed = true;
    }
    int id() const override { return m_id; }
    bool mergeWith(const QUndoCommand* other) override {
        if (m_owner->m_replaying) return false;
        const auto* next = static_cast<const SnapshotCommand*>(other);
        if (next->m_after->selection != m_after->selection || next->text() != text()) return false;
        m_after = next->m_after;
        // Nudged back to where it was: nothing left to undo.
        if (m_after->bytes == m_before->bytes) setObsolete(true);
        return true;
    }

    const std::shared_ptr<const DocumentSnapshot>& Before() const { return m_before; }
    const std::shared_ptr<const DocumentSnapshot>& After() const { return m_after; }

private:
    TDocumentUndo* m_owner;
    std::shared_ptr<const DocumentSnapshot> m_before, m_after;
    int m_id;
    bool m_pushed = false;
};

TDocumentUndo::TDocumentUndo(TCalendarPanel32& page, QObject* parent) : QObject(parent), m_page(page) {
    m_stack.setUndoLimit(kUndoStepLimit);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &TDocumentUndo::deferredRecord);
    connect(&m_stack, &QUndoStack::cleanChanged, this, [this] {
        if (!m_replaying) syncModified();
    });
    connect(&m_stack, &QUndoStack::indexChanged, this, &TDocumentUndo::CommandsChanged);
    connect(&m_stack, &QUndoStack::undoTextChanged, this, &TDocumentUndo::CommandsChanged);
    connect(&m_stack, &QUndoStack::redoTextChanged, this, &TDocumentUndo::CommandsChanged);
    connect(&m_stack, &QUndoStack::canUndoChanged, this, &TDocumentUndo::CommandsChanged);
    connect(&m_stack, &QUndoStack::canRedoChanged, this, &TDocumentUndo::CommandsChanged);
}

TDocumentUndo::~TDocumentUndo() {
    // Commands must not reach back into a history that is going.
    m_replaying = true;
    m_stack.clear();
}

void TDocumentUndo::SetLimits(int steps, qint64 bytes) {
    m_byteLimit = bytes;
    if (steps != m_stack.undoLimit()) {
        m_replaying = true;
        m_stack.clear();
        m_stack.setUndoLimit(steps);
        m_replaying = false;
        syncModified();
    }
    enforceByteLimit();
}

qint64 TDocumentUndo::Bytes() const {
    qint64 total = 0;
    for (int i = 0; i < m_stack.count(); ++i) {
        const auto* c = static_cast<const SnapshotCommand*>(m_stack.command(i));
        if (i == 0) total += c->Before()->bytes.size();
        total += c->After()->bytes.size();
    }
    return total;
}

bool TDocumentUndo::CanRecord() const {
    return !m_restoring && !m_replaying && !m_page.Printing() && !m_page.Zooming() && !m_page.PaintSuspended();
}

std::shared_ptr<const DocumentSnapshot> TDocumentUndo::take() const {
    auto s = std::make_shared<DocumentSnapshot>();
    s->bytes = m_page.SaveToBytes();
    for (TGGraphicControl* o : m_page.Frame()->Selection()) s->selection << o->Name();
    s->openCell = OpenCell ? OpenCell() : 0;
    s->objects.reserve(m_page.ObjectCount());
    for (TGGraphicControl* o : m_page.Objects()) s->objects.emplace_back(o->Name(), o->BoundsRect());
    s->cells.reserve(m_page.Cells().size());
    for (const auto& cell : m_page.Cells()) s->cells.push_back(cell.RtfData());
    return s;
}

void TDocumentUndo::BeginStep(const QString& name) { m_pendingName = name; }

bool TDocumentUndo::Record(const QString& name) {
    if (!CanRecord()) return false;
    m_timer.stop();
    auto now = take();
    const QString pending = name.isEmpty() ? m_pendingName : name;
    m_pendingName.clear();
    if (!m_base) {
        m_base = now;
        return false;
    }
    if (now->bytes == m_base->bytes) {
        m_base = now;  // the selection may have changed
        syncModified();
        return false;
    }
    // Undo brings back the selection of the moment of the change where the objects still exist.
    auto before = std::make_shared<DocumentSnapshot>(*m_base);
    if (!now->selection.isEmpty()) before->selection = now->selection;
    if (m_editedCell) before->openCell = m_editedCell;
    const QString text = pending.isEmpty() ? DescribeChange(*before, *now) : pending;
    const bool nudge =
        m_keyInput && pending.isEmpty() && (text == QLatin1String("Move") || text == QLatin1String("Resize"));
    m_stack.push(new SnapshotCommand(this, std::move(before), now, text, nudge ? kKeyNudgeId : -1));
    m_base = now;
    ++m_serial;
    enforceByteLimit();
    syncModified();
    return true;
}

void TDocumentUndo::NoteChange() {
    // Changes while a document is read, printed or zoomed belong to that operation, not to a step.
    if (!CanRecord()) return;
    if (!m_timer.isActive()) m_timer.start(0);
}

void TDocumentUndo::deferredRecord() {
    TGHandle* frame = m_page.Frame();
    const bool held = frame && (frame->KeyOutlineActive() ||
                                (frame->HasCapture() && QGuiApplication::mouseButtons() != Qt::NoButton));
    if (held || m_page.Placing() || m_page.Printing() || m_page.Zooming() || m_page.PaintSuspended()) {
        m_timer.start(kReleasePollMs);
        return;
    }
    Record();
}

void TDocumentUndo::NoteCellEdited(int cell) {
    if (m_restoring) return;
    m_cellPending = true;
    m_editedCell = cell;
}

void TDocumentUndo::CellEditorClosed() {
    if (!m_cellPending) return;
    m_cellPending = false;
    // Only a text that differs from the cell's recorded one is a step: opening an empty cell applies
    // the default font, and a command that fills other cells reopens the current one.
    const int cell = m_editedCell;
    m_editedCell = 0;
    if (m_base && cell >= 1 && cell <= static_cast<int>(m_base->cells.size()) &&
        m_page.Cells()[cell - 1].RtfData() == m_base->cells[cell - 1])
        return;
    m_editedCell = cell;
    Record(QStringLiteral("Cell Text"));
    m_editedCell = 0;
}

void TDocumentUndo::Reset(bool clean) {
    m_timer.stop();
    m_cellPending = false;
    m_editedCell = 0;
    m_pendingName.clear();
    m_replaying = true;
    m_stack.clear();
    if (!clean) m_stack.resetClean();
    m_replaying = false;
    m_base = take();
    syncModified();
}

void TDocumentUndo::MarkSaved() {
    m_stack.setClean();
    if (CanRecord()) m_base = take();
    syncModified();
}

void TDocumentUndo::syncModified() {
    if (ModifiedChanged && m_base) ModifiedChanged(!m_stack.isClean());
}

void TDocumentUndo::RenameTop(const QString& name) {
    if (m_stack.index() == 0) return;
    const_cast<QUndoCommand*>(m_stack.command(m_stack.index() - 1))->setText(name);
    // The stack tells its actions about a new text only when its index moves.
    emit m_stack.undoTextChanged(m_stack.undoText());
}

void TDocumentUndo::SetCellEditor(QTextEdit* editor) {
    m_editor = editor;
    if (!editor) return;
    connect(editor, &QTextEdit::undoAvailable, this, &TDocumentUndo::CommandsChanged);
    connect(editor, &QTextEdit::redoAvailable, this, &TDocumentUndo::CommandsChanged);
}

bool TDocumentUndo::editorOpen() const { return m_editor && !m_editor->isHidden(); }

bool TDocumentUndo::CanUndo() const {
    return (editorOpen() && m_editor->document()->isUndoAvailable()) || m_stack.canUndo();
}

bool TDocumentUndo::CanRedo() const {
    if (editorOpen() && m_editor->document()->isRedoAvailable()) return true;
    // Typing in the open cell is a new change: it ends the steps that could be redone.
    return m_stack.canRedo() && !(editorOpen() && m_editor->document()->isUndoAvailable());
}

QString TDocumentUndo::UndoText() const {
    if (editorOpen() && m_editor->document()->isUndoAvailable()) return QStringLiteral("Typing");
    return m_stack.undoText();
}

QString TDocumentUndo::RedoText() const {
    if (editorOpen() && m_editor->document()->isRedoAvailable()) return QStringLiteral("Typing");
    return CanRedo() ? m_stack.redoText() : QString();
}

void TDocumentUndo::Undo() {
    if (editorOpen() && m_editor->document()->isUndoAvailable()) {
        m_editor->undo();
        return;
    }
    stepDocument(true);
}

void TDocumentUndo::Redo() {
    if (editorOpen() && m_editor->document()->isRedoAvailable()) {
        m_editor->redo();
        return;
    }
    if (CanRedo()) stepDocument(false);
}

void TDocumentUndo::stepDocument(bool back) {
    // Nothing to step: the open editor stays as it is.
    if (!m_timer.isActive() && !m_cellPending && !(back ? m_stack.canUndo() : m_stack.canRedo())) return;
    const int open = OpenCell ? OpenCell() : 0;
    // The open cell's text goes back into its cell first (a visit with typing becomes a step), so that
    // the step restores every cell and the editor shows the cell's text afterwards.
    if (CloseCell) CloseCell();
    if (m_timer.isActive()) Record();
    if ((back ? m_stack.canUndo() : m_stack.canRedo()) && CanRecord()) {
        const QString step = back ? m_stack.undoText() : m_stack.redoText();
        m_restoreError.clear();
        if (back)
            m_stack.undo();
        else
            m_stack.redo();
        if (!m_restoreError.isEmpty()) {
            // The page was left as it was: the history goes back to where the page is, so that the
            // step is still there to try again, and the person learns why nothing happened.
            m_replaying = true;
            if (back)
                m_stack.redo();
            else
                m_stack.undo();
            m_replaying = false;
            ShowError(QStringLiteral("Unable to %1 %2: %3\rThe document is left as it was.")
                          .arg(back ? QStringLiteral("undo") : QStringLiteral("redo"), step, m_restoreError),
                      &m_page);
        }
        syncModified();
    }
    if (open && ReopenCell) ReopenCell(open);
    emit CommandsChanged();
}

void TDocumentUndo::restore(const std::shared_ptr<const DocumentSnapshot>& snapshot) {
    const DocumentSnapshot& s = *snapshot;
    m_restoring = true;
    m_timer.stop();
    const bool suspended = m_page.PaintSuspended();
    m_page.SetPaintSuspended(true);
    // A step that does not read back whole (a damaged or unknown record) leaves the page as it is:
    // the page's reader replaces the document only when it read all of it.
    try {
        m_page.LoadFromBytes(s.bytes, nullptr, true);
    } catch (const StreamError& e) {
        m_restoreError = e.message();
        m_page.SetPaintSuspended(suspended);
        m_restoring = false;
        return;
    }
    m_cellPending = false;
    // The reader hands out fresh names; the objects get back the names they had, so that the
    // document, its selection and later steps are as before.
    if (m_page.ObjectCount() == static_cast<int>(s.objects.size()))
        for (int i = 0; i < m_page.ObjectCount(); ++i) m_page.ObjectAt(i)->SetName(s.objects[i].first);
    for (const QString& name : s.selection)
        for (TGGraphicControl* o : m_page.Objects())
            if (o->Name() == name) m_page.Frame()->AddToSelection(o);
    m_page.SetPaintSuspended(suspended);
    m_page.update();
    m_restoring = false;
    // Snapshots hold the document's own geometry, so the page now holds exactly the snapshot at any zoom.
    const bool exact = m_page.ObjectCount() == static_cast<int>(s.objects.size());
    m_base = exact ? snapshot : take();
    if (AfterRestore) AfterRestore();
}

void TDocumentUndo::enforceByteLimit() {
    const int count = m_stack.count();
    if (count < 2 || Bytes() <= m_byteLimit) return;
    struct Step {
        std::shared_ptr<const DocumentSnapshot> before, after;
        QString text;
        int id;
    };
    std::vector<Step> steps;
    steps.reserve(count);
    for (int i = 0; i < count; ++i) {
        const auto* c = static_cast<const SnapshotCommand*>(m_stack.command(i));
        steps.push_back({c->Before(), c->After(), c->text(), c->id()});
    }
    // Drop the oldest until the rest fits (the newest always stays).
    int drop = 0;
    qint64 total = Bytes();
    while (drop < count - 1 && total > m_byteLimit) {
        total -= steps[drop].after->bytes.size();
        if (drop == 0) total -= steps[0].before->bytes.size();
        total += steps[drop + 1].before->bytes.size();
        ++drop;
    }
    const int index = m_stack.index() - drop;
    const int clean = m_stack.cleanIndex() - drop;
    m_replaying = true;
    m_stack.clear();
    for (int i = drop; i < count; ++i) {
        if (i - drop == clean) m_stack.setClean();
        m_stack.push(new SnapshotCommand(this, steps[i].before, steps[i].after, steps[i].text, steps[i].id));
    }
    if (clean == count - drop) m_stack.setClean();
    if (clean < 0 || m_stack.cleanIndex() != clean) m_stack.resetClean();
    while (m_stack.index() > std::max(0, index)) m_stack.undo();
    m_replaying = false;
}

// ---- the window ----

namespace {

// Watches the page, its selection frame and the cell editor for what a person does.
class UndoWatcher : public QObject {
public:
    UndoWatcher(TDocumentUndo* undo, TCalendarPanel32* page, TWPRichText* editor)
        : QObject(undo), m_undo(undo), m_page(page), m_editor(editor) {
        setObjectName(QStringLiteral("UndoWatcher"));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The window empties the page's notification when it starts to go; its widgets are then
        // hidden on the way out, which is no step.
        if (!m_page->LabelChangedEvent) return false;
        const bool inEditor = watched == m_editor || watched == m_editor->viewport();
        switch (event->type()) {
        case QEvent::Hide:
            if (watched == m_editor) {
                m_undo->CellEditorClosed();
                emit m_undo->CommandsChanged();
            }
            break;
        case QEvent::Show:
            if (watched == m_editor) emit m_undo->CommandsChanged();
            break;
        case QEvent::ShortcutOverride:
            // The editor keeps the undo keys (they arrive as key presses below) instead of handling
            // them alone: its typing and the document's steps are one history.
            if (inEditor && undoKeyOf(static_cast<QKeyEvent*>(event)) != 0) {
                event->accept();
                return true;
            }
            break;
        case QEvent::MouseButtonPress: m_undo->NoteKeyInput(false); break;
        case QEvent::KeyPress: {
            auto* k = static_cast<QKeyEvent*>(event);
            if (inEditor) {
                const int key = undoKeyOf(k);
                if (key == 0) break;
                if (key > 0)
                    m_undo->Undo();
                else
                    m_undo->Redo();
                return true;
            }
            const bool ctrl = k->modifiers() & Qt::ControlModifier;
            const int key = k->key();
            const bool arrow = key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
            m_undo->NoteKeyInput(arrow);
            if (ctrl && key == Qt::Key_V)
                m_undo->BeginStep(QStringLiteral("Paste"));
            else if (ctrl && key == Qt::Key_X)
                m_undo->BeginStep(QStringLiteral("Cut"));
            else if (!ctrl && key == Qt::Key_Delete)
                m_undo->BeginStep(QStringLiteral("Delete"));
            break;
        }
        default: break;
        }
        return false;
    }

private:
    TDocumentUndo* m_undo;
    TCalendarPanel32* m_page;
    TWPRichText* m_editor;
};

QAction* addEditCommand(QMenu* menu, const char* name, const QString& caption) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

}  // namespace

TDocumentUndo* DocumentUndoOf(const TCalendarMain& window) {
    return window.findChild<TDocumentUndo*>(QStringLiteral("DocumentUndo"), Qt::FindDirectChildrenOnly);
}

TDocumentUndo* InstallUndo(TCalendarMain& window) {
    if (TDocumentUndo* existing = DocumentUndoOf(window)) return existing;
    TCalendarPanel32* page = window.CalendarPanel();
    TWPRichText* editor = window.CellEditor();
    auto* undo = new TDocumentUndo(*page, &window);
    undo->setObjectName(QStringLiteral("DocumentUndo"));
    TCalendarMain* w = &window;
    undo->OpenCell = [w] { return w->CellEditor()->isHidden() ? 0 : w->CurrentCell(); };
    undo->CloseCell = [w] { w->DoSaveRichtext(); };
    undo->ReopenCell = [page](int cell) {
        if (cell < 1 || cell > static_cast<int>(page->DrawState().cells.size()) || !page->HasDayCells()) return;
        // The cells' rectangles are found while the page is drawn, and a restored page has not been
        // drawn yet: without them the editor would open as a speck in the page's corner.
        page->MeasureForPrint();
        if (page->DrawState().cells[cell - 1].rFree.isEmpty()) return;
        page->ClickCell(cell);
    };
    undo->SetCellEditor(editor);
    undo->AfterRestore = [w] {
        w->CheckFloaterStatus();
        w->SetCaption();
    };
    undo->ModifiedChanged = [w](bool modified) { w->SetModified(modified); };

    // Every change of the design surface, and objects placed with a tool.
    auto changed = page->LabelChangedEvent;
    page->LabelChangedEvent = [changed, undo](QObject* sender) {
        if (changed) changed(sender);
        undo->NoteChange();
    };
    auto dropped = page->DroppedObjectEvent;
    page->DroppedObjectEvent = [dropped, undo](const Rect& r) {
        if (dropped) dropped(r);
        undo->NoteChange();
    };

    // Typing: one step per visit of a cell (loading a cell into the hidden editor is no typing).
    QObject::connect(editor, &QTextEdit::textChanged, undo, [undo, w, editor, page] {
        if (!editor->isHidden() && page->LabelChangedEvent) undo->NoteCellEdited(w->CurrentCell());
    });
    auto* watcher = new UndoWatcher(undo, page, editor);
    editor->installEventFilter(watcher);
    page->installEventFilter(watcher);
    page->Frame()->installEventFilter(watcher);

    // Menu commands that change the document record right after they ran, under their own name.
    const std::pair<const char*, const char*> named[] = {
        {"mnuProperties", "Properties"},
        {"PropertiesButton", "Properties"},
        {"mnuUserTitle", "User Title"},
        {"mnuClearAllCellContents", "Clear All Cell Contents"},
        {"mnuFillCalendarwithRecurringDates", "Fill Calendar"},
    };
    for (const auto& [action, name] : named)
        if (QAction* a = window.Action(QString::fromLatin1(action))) {
            const QString text = QString::fromLatin1(name);
            QObject::connect(a, &QAction::triggered, undo, [undo, text] { undo->Record(text); });
        }

    // The page's context menu: z-order, alignment, lock, clipboard. A command that let the event loop
    // run (a paste) may already have been recorded; it then takes the command's name.
    if (QMenu* menu = page->PanelMenu()) {
        auto serial = std::make_shared<int>(0);
        QObject::connect(menu, &QMenu::aboutToShow, undo, [undo, serial] { *serial = undo->RecordedSteps(); });
        for (QAction* a : menu->actions()) {
            if (a->isSeparator() || a->menu()) continue;
            QObject::connect(a, &QAction::triggered, undo, [undo, a, serial] {
                const QString text = plainCaption(a->text());
                if (!undo->Record(text) && undo->RecordedSteps() == *serial + 1) undo->RenameTop(text);
            });
        }
    }

    // The Edit menu, between File and the others.
    QMenuBar* bar = window.menuBar();
    auto* edit = new QMenu(QStringLiteral("&Edit"), bar);
    edit->setObjectName(QStringLiteral("Edit1"));
    QAction* before = nullptr;
    const QList<QAction*> menus = bar->actions();
    for (int i = 0; i < menus.size(); ++i)
        if (menus[i]->menu() && menus[i]->menu()->objectName() == QLatin1String("File1") && i + 1 < menus.size())
            before = menus[i + 1];
    bar->insertMenu(before, edit);

    QAction* undoAction = addEditCommand(edit, "mnuUndo", QStringLiteral("&Undo"));
    undoAction->setShortcut(kUndoKey);
    QAction* redoAction = addEditCommand(edit, "mnuRedo", QStringLiteral("&Redo"));
    redoAction->setShortcuts(kRedoKeys);
    QObject::connect(undoAction, &QAction::triggered, undo, &TDocumentUndo::Undo);
    QObject::connect(redoAction, &QAction::triggered, undo, &TDocumentUndo::Redo);
    auto showCommands = [undo, undoAction, redoAction] {
        const QString undoText = undo->UndoText(), redoText = undo->RedoText();
        undoAction->setText(undoText.isEmpty() ? QStringLiteral("&Undo") : QStringLiteral("&Undo ") + undoText);
        redoAction->setText(redoText.isEmpty() ? QStringLiteral("&Redo") : QStringLiteral("&Redo ") + redoText);
        undoAction->setEnabled(undo->CanUndo());
        redoAction->setEnabled(undo->CanRedo());
    };
    QObject::connect(undo, &TDocumentUndo::CommandsChanged, undoAction, showCommands);
    QObject::connect(edit, &QMenu::aboutToShow, undoAction, showCommands);
    showCommands();
    edit->addSeparator();

    // The design surface's clipboard; its keys stay with the selection frame, the menu shows them.
    struct Clip {
        const char* name;
        const char* caption;
        const char* step;
        ClipboardOp op;
    };
    const Clip clips[] = {
        {"mnuCut", "Cu&t\tCtrl+X", "Cut", ClipboardOp::Cut},
        {"mnuCopy", "&Copy\tCtrl+C", "", ClipboardOp::Copy},
        {"mnuPaste", "&Paste\tCtrl+V", "Paste", ClipboardOp::Paste},
        {"mnuDelete", "&Delete\tDel", "Delete", ClipboardOp::Delete},
    };
    std::vector<std::pair<QAction*, ClipboardOp>> clipActions;
    for (const Clip& c : clips) {
        QAction* a = addEditCommand(edit, c.name, QString::fromLatin1(c.caption));
        const QString step = QString::fromLatin1(c.step);
        const ClipboardOp op = c.op;
        QObject::connect(a, &QAction::triggered, undo, [undo, page, w, step, op] {
            w->DoSaveRichtext();
            const int serial = undo->RecordedSteps();
            undo->BeginStep(step);
            page->SelectionClipboard(op);
            if (!step.isEmpty() && !undo->Record(step) && undo->RecordedSteps() == serial + 1) undo->RenameTop(step);
        });
        clipActions.emplace_back(a, op);
    }
    QAction* selectAll = addEditCommand(edit, "mnuSelectAll", QStringLiteral("Select &All Objects"));
    QObject::connect(selectAll, &QAction::triggered, undo, [page, w] {
        w->DoSaveRichtext();
        page->SelectAll();
    });
    // Menus are opened from the keyboard too (Alt+E), so their states are computed when shown.
    QObject::connect(edit, &QMenu::aboutToShow, undo, [page, clipActions, selectAll] {
        const bool shown = !page->isHidden();
        const bool selected = page->Frame()->SelectionCount() > 0;
        for (const auto& [a, op] : clipActions) {
            if (op == ClipboardOp::Paste)
                a->setEnabled(shown && QFile::exists(page->ClipboardFile()));
            else
                a->setEnabled(shown && selected);
        }
        selectAll->setEnabled(shown && page->ObjectCount() > 0);
    });
    undo->Reset(!window.Modified());
    return undo;
}

}  // namespace plennix
