#pragma once
// Undo and redo of every change to a calendar document. Each step holds the whole document before and
// after the change, written and read by the document's own writer and reader, so every object kind and
// every property is covered without a command per property. The current state (the baseline) is kept;
// when a change is noticed, the document is written again and, when its bytes differ, one step from the
// baseline to the new state goes onto a QUndoStack.
//
// When changes are noticed: object changes of the design surface arrive as notifications and are
// recorded once control returns to the event loop (a drag or a resize is then one step, taken after the
// release); a cell's text is one step per visit of the cell, recorded when its editor closes; menu
// commands record right after they ran, named by the command; an object placed with a tool is recorded
// once its first dialog has closed, so that placing and that dialog are one step.
//
// The person has one history: while the open cell editor holds typing of this visit, Undo and Redo
// step through that typing; then they close the editor (keeping its text), step the document and open
// the editor again in its cell.
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QUndoStack>
#include <array>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "platform/rect.h"

class QAction;
class QTextEdit;

namespace plennix {

class TCalendarMain;
class TCalendarPanel32;

// The stack's bounds; the oldest steps go first.
constexpr int kUndoStepLimit = 200;
constexpr qint64 kUndoByteLimit = 64LL * 1024 * 1024;

// The document at one moment.
struct DocumentSnapshot {
    QByteArray bytes;  // exactly what the document's file would hold
    QStringList selection;  // names of the selected objects
    int openCell = 0;       // the day cell being typed into (1..42), 0 for none
    // For naming a step: each object's name and bounds in z-order, and each cell's text.
    std::vector<std::pair<QString, Rect>> objects;
    std::vector<QByteArray> cells;
};

// The name of the step that turns `before` into `after` ("Move", "Resize", "Insert Object", "Delete",
// "Order", "Cell Text", "Format" or "Properties").
QString DescribeChange(const DocumentSnapshot& before, const DocumentSnapshot& after);

class TDocumentUndo : public QObject {
    Q_OBJECT
public:
    explicit TDocumentUndo(TCalendarPanel32& page, QObject* parent = nullptr);
    ~TDocumentUndo() override;

    QUndoStack& Stack() { return m_stack; }
    const QUndoStack& Stack() const { return m_stack; }

    // Links to the window around the page; each may stay empty.
    std::function<int()> OpenCell;        // the cell whose editor is open, 0 for none
    std::function<void()> CloseCell;      // stores the open cell's text and closes its editor
    std::function<void(int)> ReopenCell;  // opens a cell's editor again
    std::function<void()> AfterRestore;   // the window brings its buttons up to date
    std::function<void(bool)> ModifiedChanged;

    // Bounds (defaults kUndoStepLimit, kUndoByteLimit). Changing the step limit empties the stack.
    void SetLimits(int steps, qint64 bytes);
    // The bytes the steps hold (snapshots shared between neighbouring steps are counted once).
    qint64 Bytes() const;

    // Names the next recorded step; without a name the step is named by what changed.
    void BeginStep(const QString& name);
    // Records the change since the last step as one step. False when nothing changed or recording is
    // not possible now (the document is being read, printed or zoomed, or a step is being undone).
    bool Record(const QString& name = QString());
    // A change was notified: recorded once control returns to the event loop (after a drag's release).
    void NoteChange();
    // The open cell's text changed; the visit is recorded when its editor closes.
    void NoteCellEdited(int cell);
    void CellEditorClosed();
    // Whether a change may be recorded now.
    bool CanRecord() const;
    // A key moved or resized the selection: consecutive such steps on the same selection merge.
    void NoteKeyInput(bool key) { m_keyInput = key; }

    // A new document (not saved: `clean` false) or one read from its file (`clean` true): no steps.
    void Reset(bool clean);
    // The document was saved: this is the state the modified flag measures against.
    void MarkSaved();

    // The cell editor whose typing comes before the document's steps (its own undo history must
    // start empty each time a cell is opened).
    void SetCellEditor(QTextEdit* editor);
    // What Undo and Redo do now: whether they can, and the name of the step ("Typing" for the open
    // cell editor's typing).
    bool CanUndo() const;
    bool CanRedo() const;
    QString UndoText() const;
    QString RedoText() const;

    void Undo();
    void Redo();

    // Gives the top step another name (a command that changed the document through the event loop).
    void RenameTop(const QString& name);
    int RecordedSteps() const { return m_serial; }

signals:
    // CanUndo, CanRedo, UndoText or RedoText may have changed.
    void CommandsChanged();

private:
    friend class SnapshotCommand;
    std::shared_ptr<const DocumentSnapshot> take() const;
    void restore(const std::shared_ptr<const DocumentSnapshot>& snapshot);
    void enforceByteLimit();
    void syncModified();
    void deferredRecord();
    void stepDocument(bool back);
    bool editorOpen() const;

    TCalendarPanel32& m_page;
    QTextEdit* m_editor = nullptr;
    QUndoStack m_stack;
    QTimer m_timer;
    std::shared_ptr<const DocumentSnapshot> m_base;
    QString m_pendingName;
    QString m_restoreError;  // why the last restore left the page as it was; empty when it restored
    qint64 m_byteLimit = kUndoByteLimit;
    int m_serial = 0;
    int m_editedCell = 0;
    bool m_cellPending = false;
    bool m_restoring = false;
    bool m_replaying = false;
    bool m_keyInput = false;
};

// Builds the Edit menu (Undo, Redo and the design surface's clipboard commands) between File and the
// other menus of the window and records every change of its document. Returns the window's history.
TDocumentUndo* InstallUndo(TCalendarMain& window);
// The window's history (null before InstallUndo).
TDocumentUndo* DocumentUndoOf(const TCalendarMain& window);

}  // namespace plennix
