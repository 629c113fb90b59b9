// Undo and redo in the main window: every kind of change comes back to the exact bytes the document
// would save, a drag is one step, nudges merge, the bounds drop the oldest steps, the modified flag
// follows the stack to the saved state, and reading, printing and zooming record nothing.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include "app/document_undo.h"
#include "app/main_window.h"
#include "app/user_title_dialog.h"
#include "calendar/calendar_panel.h"
#include "calendar/properties_dialog.h"
#include "common/qstring_printer.h"
#include "platform/common_dialogs.h"
#include "platform/program_folder.h"
#include "platform/ticks.h"
#include "recurring/selection_dialogs.h"
#include "richtext/rich_text_editor.h"
#include "surface/handle.h"
#include "surface/label.h"
#include "surface/label_dialogs.h"
#include "test_support.h"

using namespace plennix;

namespace {

struct Clock {
    uint32_t now = 500000;
    Clock() {
        SetTickSource([this] { return now; });
    }
    ~Clock() { SetTickSource(nullptr); }
    void advance(uint32_t ms) { now += ms; }
};

// A shown window with a new December 1997 full-month calendar and a clean history.
struct UndoFixture {
    TCalendarMain window;
    TCalendarPanel32* page = nullptr;
    TDocumentUndo* undo = nullptr;
    UndoFixture() {
        QFile::remove(ProgramFile(QStringLiteral("PX.ini")));
        SetModalDialogRunner([](QDialog&) { return int(QDialog::Accepted); });
        window.FormActivate();
        window.New1Click();
        SetModalDialogRunner(nullptr);
        page = window.CalendarPanel();
        page->SetCalendarLayout(TCalendarLayout::loFullCalendar);
        page->SetMainCalMonth(12);
        page->SetMainCalYear(1997);
        page->RenderPage();
        undo = DocumentUndoOf(window);
        undo->Reset(false);
    }
    TGPLabel* addLabel(int left, int top, const QString& caption) {
        auto* label = new TGPLabel(&window);
        label->Loaded();
        label->SetCaption(caption);
        page->AddObject(label, Rect::fromBounds(left, top, 120, 40));
        settle();
        return label;
    }
    static void settle() {
        for (int i = 0; i < 3; ++i) QApplication::processEvents();
    }
    QAction* action(const char* name) const { return window.Action(QString::fromLatin1(name)); }
    void undoStep() {
        action("mnuUndo")->trigger();
        settle();
    }
    void redoStep() {
        action("mnuRedo")->trigger();
        settle();
    }
    QByteArray bytes() const { return page->SaveToBytes(); }
};

// Byte arrays compared with a short report (the first differing offset) instead of a dump.
testing::AssertionResult SameBytes(const QByteArray& a, const QByteArray& b) {
    if (a == b) return testing::AssertionSuccess();
    qsizetype i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    return testing::AssertionFailure() << "sizes " << a.size() << " and " << b.size() << ", first difference at " << i
                                       << ": \"" << a.mid(i, 40).toStdString() << "\" vs \""
                                       << b.mid(i, 40).toStdString() << "\"";
}

QWidget* under(QWidget* w, QPoint p) {
    QWidget* child = w->childAt(p);
    return child ? child : w;
}

// Applies `change`, expects one step named `name`, and checks that undo and redo give back the bytes
// before and after it exactly.
void expectRoundTrip(UndoFixture& f, const QString& name, const std::function<void()>& change) {
    SCOPED_TRACE(name.toStdString());
    const QByteArray before = f.bytes();
    const int steps = f.undo->Stack().count();
    change();
    UndoFixture::settle();
    const QByteArray after = f.bytes();
    ASSERT_NE(before, after);
    ASSERT_EQ(f.undo->Stack().count(), steps + 1);
    EXPECT_EQ(f.action("mnuUndo")->text(), QStringLiteral("&Undo ") + name);
    f.undoStep();
    EXPECT_TRUE(SameBytes(f.bytes(), before));
    EXPECT_EQ(f.action("mnuRedo")->text(), QStringLiteral("&Redo ") + name);
    f.redoStep();
    EXPECT_TRUE(SameBytes(f.bytes(), after));
    EXPECT_EQ(f.undo->Stack().count(), steps + 1);
}

}  // namespace

TEST(UndoSteps, EditMenuSitsAfterFileWithUndoRedoAndTheClipboard) {
    UndoFixture f;
    const QList<QAction*> menus = f.window.menuBar()->actions();
    ASSERT_GE(menus.size(), 3);
    EXPECT_EQ(menus[0]->menu()->objectName(), QStringLiteral("File1"));
    EXPECT_EQ(menus[1]->menu()->objectName(), QStringLiteral("Edit1"));
    EXPECT_EQ(f.action("mnuUndo")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_TRUE(f.action("mnuRedo")->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Y)));
    EXPECT_TRUE(f.action("mnuRedo")->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
    for (const char* name : {"mnuCut", "mnuCopy", "mnuPaste", "mnuDelete", "mnuSelectAll"})
        EXPECT_NE(f.action(name), nullptr) << name;
    EXPECT_FALSE(f.action("mnuUndo")->isEnabled());
}

TEST(UndoSteps, EveryKindOfChangeComesBackToTheExactBytes) {
    UndoFixture f;
    TGPLabel* label = nullptr;
    expectRoundTrip(f, QStringLiteral("Insert Object"), [&] { label = f.addLabel(40, 60, QStringLiteral("One")); });
    f.addLabel(200, 60, QStringLiteral("Two"));
    label = qobject_cast<TGPLabel*>(f.page->ObjectAt(0));
    ASSERT_NE(label, nullptr);

    expectRoundTrip(f, QStringLiteral("Move"),
                    [&] { qobject_cast<TGPLabel*>(f.page->ObjectAt(0))->SetBounds(50, 90, 120, 40); });
    expectRoundTrip(f, QStringLiteral("Resize"),
                    [&] { qobject_cast<TGPLabel*>(f.page->ObjectAt(0))->SetBounds(50, 90, 150, 70); });
    expectRoundTrip(f, QStringLiteral("Format"), [&] {
        f.page->Frame()->AddToSelection(f.page->ObjectAt(0));
        qobject_cast<TGPLabel*>(f.page->ObjectAt(0))->SetCaption(QStringLiteral("Changed"));
    });
    expectRoundTrip(f, QStringLiteral("Bring To Front"), [&] {
        f.page->Frame()->ClearSelection();
        f.page->Frame()->AddToSelection(f.page->ObjectAt(0));
        QAction* a = f.page->PanelMenuAction(QStringLiteral("Bring To Front"));
        ASSERT_NE(a, nullptr);
        a->trigger();
    });
    expectRoundTrip(f, QStringLiteral("Delete"), [&] {
        f.page->Frame()->ClearSelection();
        f.page->Frame()->AddToSelection(f.page->ObjectAt(0));
        f.action("mnuDelete")->trigger();
    });
    expectRoundTrip(f, QStringLiteral("Paste"), [&] {
        f.page->Frame()->ClearSelection();
        f.page->Frame()->AddToSelection(f.page->ObjectAt(0));
        f.page->Frame()->ReleaseCapture();
        f.action("mnuCopy")->trigger();
        f.action("mnuPaste")->trigger();
    });
    expectRoundTrip(f, QStringLiteral("Cut"), [&] {
        f.page->Frame()->ClearSelection();
        f.page->Frame()->AddToSelection(f.page->ObjectAt(1));
        f.page->Frame()->ReleaseCapture();
        f.action("mnuCut")->trigger();
    });
    expectRoundTrip(f, QStringLiteral("Cell Text"), [&] {
        f.page->ClickCell(10);
        QTest::keyClicks(f.window.CellEditor(), QStringLiteral("Lunch"));
        QTest::keyClick(f.window.CellEditor(), Qt::Key_Return);
        QTest::keyClicks(f.window.CellEditor(), QStringLiteral("at noon"));
        f.window.DoSaveRichtext();
    });
    expectRoundTrip(f, QStringLiteral("Clear All Cell Contents"),
                    [&] { f.action("mnuClearAllCellContents")->trigger(); });
    expectRoundTrip(f, QStringLiteral("User Title"), [&] {
        SetModalDialogRunner([](QDialog& d) {
            if (auto* form = qobject_cast<TUserTitleForm*>(&d)) form->SetTitle(QStringLiteral("Our Year"));
            return int(QDialog::Accepted);
        });
        f.action("mnuUserTitle")->trigger();
        SetModalDialogRunner(nullptr);
    });
}

TEST(UndoSteps, UndoRestoresTheSelectionByName) {
    UndoFixture f;
    TGPLabel* a = f.addLabel(40, 60, QStringLiteral("A"));
    f.addLabel(300, 60, QStringLiteral("B"));
    const QString name = a->Name();
    f.page->Frame()->AddToSelection(a);
    a->SetBounds(80, 100, 120, 40);
    UndoFixture::settle();
    f.page->Frame()->ClearSelection();
    f.undoStep();
    ASSERT_EQ(f.page->Frame()->SelectionCount(), 1);
    EXPECT_EQ(f.page->Frame()->SelectedObject(0)->Name(), name);
    EXPECT_EQ(f.page->Frame()->SelectedObject(0)->Left(), 40);
}

TEST(UndoSteps, TypingInOneCellVisitIsOneStepAndEachVisitIsAnother) {
    UndoFixture f;
    const QByteArray empty = f.bytes();
    f.page->ClickCell(12);
    for (const char* word : {"one ", "two ", "three"})
        QTest::keyClicks(f.window.CellEditor(), QString::fromLatin1(word));
    f.window.DoSaveRichtext();
    const QByteArray first = f.bytes();
    f.page->ClickCell(13);
    QTest::keyClicks(f.window.CellEditor(), QStringLiteral("four"));
    // Tab closes the visit as it moves on.
    QTest::keyClick(f.window.CellEditor(), Qt::Key_Tab);
    f.window.DoSaveRichtext();
    UndoFixture::settle();
    EXPECT_EQ(f.undo->Stack().count(), 2);
    f.undoStep();
    EXPECT_TRUE(SameBytes(f.bytes(), first));
    f.undoStep();
    EXPECT_TRUE(SameBytes(f.bytes(), empty));
}

TEST(UndoSteps, VisitingACellWithoutTypingRecordsNothing) {
    UndoFixture f;
    f.page->ClickCell(12);
    f.window.DoSaveRichtext();
    f.page->ClickCell(14);
    f.window.DoSaveRichtext();
    UndoFixture::settle();
    EXPECT_EQ(f.undo->Stack().count(), 0);
}

TEST(UndoSteps, ADragIsOneStepTakenAtTheRelease) {
    UndoFixture f;
    Clock clock;
    TGPLabel* label = f.addLabel(100, 100, QStringLiteral("Drag me"));
    f.undo->Reset(false);
    const QByteArray before = f.bytes();
    QWidget* page = f.page;
    QPoint p(label->Left() + 10, label->Top() + label->Height() / 2);
    QWidget* target = under(page, p);
    QTest::mousePress(target, Qt::LeftButton, Qt::NoModifier, target->mapFrom(page, p));
    clock.advance(20);
    QWidget* grab = target;
    for (int step = 1; step <= 6; ++step) {
        clock.advance(100);
        p += QPoint(5, 3);
        QTest::mouseMove(grab, grab->mapFrom(page, p));
        UndoFixture::settle();
        EXPECT_EQ(f.undo->Stack().count(), 0) << "recorded before the release, step " << step;
    }
    QTest::mouseRelease(grab, Qt::LeftButton, Qt::NoModifier, grab->mapFrom(page, p));
    QTest::qWait(60);
    UndoFixture::settle();
    ASSERT_NE(label->Left(), 100) << "the drag did not move the label; press went to "
                                  << target->objectName().toStdString() << ", frame captured "
                                  << f.page->Frame()->HasCapture() << " selected " << f.page->Frame()->SelectionCount();
    EXPECT_EQ(f.undo->Stack().count(), 1);
    EXPECT_EQ(f.undo->Stack().undoText(), QStringLiteral("Move"));
    f.undoStep();
    EXPECT_TRUE(SameBytes(f.bytes(), before));
}

TEST(UndoSteps, ArrowKeyNudgesOnTheSameSelectionMerge) {
    UndoFixture f;
    TGPLabel* label = f.addLabel(100, 100, QStringLiteral("Nudge"));
    f.page->Frame()->AddToSelection(label);
    f.undo->Reset(false);
    const QByteArray before = f.bytes();
    TGHandle* frame = f.page->Frame();
    for (int i = 0; i < 4; ++i) {
        QTest::keyPress(frame, Qt::Key_Right);
        QTest::keyRelease(frame, Qt::Key_Right);
        QTest::qWait(30);
        UndoFixture::settle();
    }
    EXPECT_EQ(label->Left(), 104);
    EXPECT_EQ(f.undo->Stack().count(), 1);
    f.undoStep();
    EXPECT_TRUE(SameBytes(f.bytes(), before));
}

TEST(UndoSteps, ModifiedFlagFollowsUndoBackToTheSavedState) {
    UndoFixture f;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Saved.PXF"));
    f.addLabel(40, 40, QStringLiteral("Kept"));
    ASSERT_TRUE(f.window.SaveCalendarFile(path));
    EXPECT_FALSE(f.window.Modified());
    const QByteArray saved = f.bytes();
    f.addLabel(200, 40, QStringLiteral("Extra"));
    EXPECT_TRUE(f.window.Modified());
    f.undoStep();
    EXPECT_TRUE(SameBytes(f.bytes(), saved));
    EXPECT_FALSE(f.window.Modified());
    f.redoStep();
    EXPECT_TRUE(f.window.Modified());
    // Undoing past the saved state is a change again.
    f.undoStep();
    f.undoStep();
    EXPECT_TRUE(f.window.Modified());

    // Opening a document starts a history of its own, with nothing to undo.
    ASSERT_TRUE(f.window.OpenCalendarFile(path));
    EXPECT_EQ(f.undo->Stack().count(), 0);
    EXPECT_FALSE(f.window.Modified());
    EXPECT_FALSE(f.action("mnuUndo")->isEnabled());
}

TEST(UndoSteps, BoundsDropTheOldestSteps) {
    UndoFixture f;
    f.undo->SetLimits(3, kUndoByteLimit);
    std::vector<QByteArray> states{f.bytes()};
    for (int i = 0; i < 5; ++i) {
        f.addLabel(20 + 60 * i, 40, QStringLiteral("L%1").arg(i));
        states.push_back(f.bytes());
    }
    EXPECT_EQ(f.undo->Stack().count(), 3);
    while (f.undo->Stack().canUndo()) f.undoStep();
    EXPECT_TRUE(SameBytes(f.bytes(), states[2]));

    // By bytes: room for about two snapshots keeps the newest steps only, and they still work.
    UndoFixture g;
    const qint64 one = g.bytes().size();
    g.undo->SetLimits(kUndoStepLimit, one * 4 + one / 2);
    std::vector<QByteArray> kept{g.bytes()};
    for (int i = 0; i < 6; ++i) {
        g.addLabel(20 + 60 * i, 40, QStringLiteral("B%1").arg(i));
        kept.push_back(g.bytes());
        EXPECT_LE(g.undo->Bytes(), one * 4 + one / 2 + 4096);
    }
    const int count = g.undo->Stack().count();
    EXPECT_LT(count, 6);
    EXPECT_GE(count, 1);
    while (g.undo->Stack().canUndo()) g.undoStep();
    EXPECT_TRUE(SameBytes(g.bytes(), kept[6 - count]));
    while (g.undo->Stack().canRedo()) g.redoStep();
    EXPECT_TRUE(SameBytes(g.bytes(), kept[6]));
}

TEST(UndoSteps, NothingIsRecordedWhileReadingPrintingOrZooming) {
    UndoFixture f;
    TGPLabel* label = f.addLabel(100, 100, QStringLiteral("Still"));
    f.undo->Reset(false);
    f.window.ZoomOut();
    UndoFixture::settle();
    f.window.ZoomIn();
    UndoFixture::settle();
    EXPECT_EQ(f.undo->Stack().count(), 0);

    f.page->SetPrinting(true);
    label->SetBounds(10, 10, 120, 40);
    f.undo->NoteChange();
    UndoFixture::settle();
    EXPECT_FALSE(f.undo->Record());
    f.page->SetPrinting(false);
    EXPECT_EQ(f.undo->Stack().count(), 0);

    f.page->SetPaintSuspended(true);  // a document being read or written
    f.undo->NoteChange();
    UndoFixture::settle();
    EXPECT_FALSE(f.undo->Record());
    f.page->SetPaintSuspended(false);
    EXPECT_EQ(f.undo->Stack().count(), 0);
}

TEST(UndoSteps, AStepTakenAtAnotherZoomUndoesAtTheCurrentOne) {
    UndoFixture f;
    TGPLabel* label = f.addLabel(100, 100, QStringLiteral("Zoomed"));
    f.undo->Reset(false);
    const float zoom = f.page->Zoom();
    label->SetBounds(150, 150, 120, 40);
    UndoFixture::settle();
    ASSERT_EQ(f.undo->Stack().count(), 1);
    f.window.ZoomIn();
    UndoFixture::settle();
    ASSERT_NE(f.page->Zoom(), zoom);
    f.undoStep();
    EXPECT_NE(f.page->Zoom(), zoom) << "undo keeps the person's zoom";
    auto* back = qobject_cast<TGPLabel*>(f.page->ObjectAt(0));
    ASSERT_NE(back, nullptr);
    // Back where it was, at the new zoom.
    EXPECT_NEAR(back->Left(), 100.0 * f.page->Zoom() / zoom, 1.0);
}

TEST(UndoSteps, StepsAreNamedByWhatChanged) {
    DocumentSnapshot a;
    a.objects = {{QStringLiteral("Special1"), Rect(10, 10, 50, 40)},
                 {QStringLiteral("Special2"), Rect(60, 10, 90, 40)}};
    a.cells = {QByteArray("x"), QByteArray()};
    DocumentSnapshot b = a;
    EXPECT_EQ(DescribeChange(a, b), QStringLiteral("Properties"));
    b.selection = QStringList{QStringLiteral("Special1")};
    EXPECT_EQ(DescribeChange(a, b), QStringLiteral("Format"));
    b.objects[0].second = Rect(20, 30, 60, 60);
    EXPECT_EQ(DescribeChange(a, b), QStringLiteral("Move"));
    b.objects[1].second = Rect(60, 10, 95, 40);
    EXPECT_EQ(DescribeChange(a, b), QStringLiteral("Resize"));
    b = a;
    std::swap(b.objects[0], b.objects[1]);
    EXPECT_EQ(DescribeChange(a, b), QStringLiteral("Order"));
    b = a;
    b.objects.pop_back();
    EXPECT_EQ(DescribeChange(a, b), QStringLiteral("Delete"));
    EXPECT_EQ(DescribeChange(b, a), QStringLiteral("Insert Object"));
    b = a;
    b.cells[1] = QByteArray("typed");
    EXPECT_EQ(DescribeChange(a, b), QStringLiteral("Cell Text"));
}

TEST(UndoSteps, ThePropertiesDialogsResultIsOneStepEvenWhenItClearsThePage) {
    UndoFixture f;
    f.addLabel(40, 60, QStringLiteral("Gone"));
    f.page->ClickCell(10);
    QTest::keyClicks(f.window.CellEditor(), QStringLiteral("Kept"));
    f.window.DoSaveRichtext();
    const QByteArray before = f.bytes();
    const int steps = f.undo->Stack().count();
    test::MessageRecorder messages(false);
    messages.answer = true;
    SetModalDialogRunner([](QDialog& d) {
        auto& dlg = dynamic_cast<TCalendarProperties&>(d);
        dlg.show();
        QListWidget* list = dlg.LayoutList;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(11)).center());
        dlg.okbutton->click();
        return dlg.result();
    });
    f.action("mnuProperties")->trigger();
    SetModalDialogRunner(nullptr);
    UndoFixture::settle();
    ASSERT_EQ(f.page->Settings().CalendarLayout, TCalendarLayout::loDay10);
    const QByteArray after = f.bytes();
    EXPECT_EQ(f.undo->Stack().count(), steps + 1);
    EXPECT_EQ(f.undo->Stack().undoText(), QStringLiteral("Properties"));
    f.undoStep();
    EXPECT_TRUE(SameBytes(f.bytes(), before));
    EXPECT_EQ(f.page->ObjectCount(), 1);
    EXPECT_TRUE(f.page->HasCellText());
    f.redoStep();
    EXPECT_TRUE(SameBytes(f.bytes(), after));
}

namespace {

// The editor lies over the cell's text rectangle, at its size, and is shown with the focus.
void expectEditorOverCell(const UndoFixture& f, int cell) {
    TWPRichText* editor = f.window.CellEditor();
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(f.window.CurrentCell(), cell);
    const Rect r = f.page->DrawState().cells[cell - 1].rFree;
    EXPECT_EQ(editor->geometry(), QRect(r.left + 1, r.top + 1, r.right - r.left + 1, r.bottom - r.top + 1));
    EXPECT_GT(editor->width(), 20);
    EXPECT_GT(editor->height(), 20);
}

QString editorText(const UndoFixture& f) { return f.window.CellEditor()->toPlainText().trimmed(); }

void pressUndoKey(const UndoFixture& f, Qt::KeyboardModifiers modifiers, Qt::Key key) {
    QTest::keyClick(f.window.CellEditor(), key, modifiers);
    UndoFixture::settle();
}

}  // namespace

TEST(UndoSteps, UndoAndRedoWithACellOpenReopenItsEditorInTheCellAtItsSize) {
    UndoFixture f;
    f.page->show();
    f.addLabel(40, 60, QStringLiteral("Step"));
    f.page->ClickCell(10);
    expectEditorOverCell(f, 10);
    f.undoStep();
    EXPECT_EQ(f.page->ObjectCount(), 0);
    expectEditorOverCell(f, 10);
    f.redoStep();
    EXPECT_EQ(f.page->ObjectCount(), 1);
    expectEditorOverCell(f, 10);
    // What is typed next lands in the cell that shows it.
    QTest::keyClicks(f.window.CellEditor(), QStringLiteral("seen"));
    f.window.DoSaveRichtext();
    EXPECT_EQ(f.page->CellRtf(10)->Document()->toPlainText().trimmed(), QStringLiteral("seen"));
}

TEST(UndoSteps, UndoKeysInTheCellEditorStepThroughTheTypingThenTheDocument) {
    UndoFixture f;
    f.addLabel(40, 60, QStringLiteral("Earlier"));
    f.page->ClickCell(10);
    TWPRichText* editor = f.window.CellEditor();
    EXPECT_EQ(f.action("mnuUndo")->text(), QStringLiteral("&Undo Insert Object"));
    QTest::keyClicks(editor, QStringLiteral("Lunch"));
    // The menu says what the key does: the typing comes first.
    EXPECT_EQ(f.action("mnuUndo")->text(), QStringLiteral("&Undo Typing"));
    EXPECT_TRUE(f.action("mnuUndo")->isEnabled());

    pressUndoKey(f, Qt::ControlModifier, Qt::Key_Z);
    EXPECT_EQ(editorText(f), QString());
    EXPECT_EQ(f.page->ObjectCount(), 1);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(f.action("mnuUndo")->text(), QStringLiteral("&Undo Insert Object"));

    pressUndoKey(f, Qt::ControlModifier, Qt::Key_Z);
    EXPECT_EQ(f.page->ObjectCount(), 0);
    expectEditorOverCell(f, 10);
    EXPECT_TRUE(editor->hasFocus() || !QApplication::activeWindow());

    pressUndoKey(f, Qt::ControlModifier, Qt::Key_Y);
    EXPECT_EQ(f.page->ObjectCount(), 1);
    expectEditorOverCell(f, 10);
    pressUndoKey(f, Qt::ControlModifier, Qt::Key_Z);
    EXPECT_EQ(f.page->ObjectCount(), 0);

    // Typing is a new change: what was undone cannot come back over it; the typing itself can.
    QTest::keyClicks(editor, QStringLiteral("x"));
    EXPECT_FALSE(f.action("mnuRedo")->isEnabled());
    pressUndoKey(f, Qt::ControlModifier, Qt::Key_Y);
    EXPECT_EQ(f.page->ObjectCount(), 0);
    pressUndoKey(f, Qt::ControlModifier, Qt::Key_Z);
    EXPECT_EQ(f.action("mnuRedo")->text(), QStringLiteral("&Redo Typing"));
    pressUndoKey(f, Qt::ControlModifier, Qt::Key_Y);
    EXPECT_EQ(editorText(f), QStringLiteral("x"));

    // Typed text that was not undone is a step of its own when the document steps back past it.
    QTest::keyClicks(editor, QStringLiteral("Tea"));
    f.window.DoSaveRichtext();
    f.page->ClickCell(11);
    pressUndoKey(f, Qt::ControlModifier, Qt::Key_Z);
    EXPECT_TRUE(f.page->CellRtf(10)->IsEmpty());
    expectEditorOverCell(f, 11);
    pressUndoKey(f, Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z);
    EXPECT_FALSE(f.page->CellRtf(10)->IsEmpty());
}

TEST(UndoSteps, CtrlZAfterFillTakesTheFilledDatesBack) {
    UndoFixture f;
    test::MessageRecorder messages;
    QFile dax(ProgramFile(QStringLiteral("PXRECUR.DAX")));
    ASSERT_TRUE(dax.open(QIODevice::WriteOnly));
    dax.write((QStringLiteral("Christmas Day").leftJustified(120, ' ') + QStringLiteral("@1225\r\n")).toLatin1());
    dax.close();
    const int christmas = f.page->CellOfDay(25);
    f.page->ClickCell(f.page->CellOfDay(2));
    const QByteArray before = f.bytes();
    SetModalDialogRunner([](QDialog& d) {
        if (auto* select = qobject_cast<TSelectRecurringDates*>(&d)) select->AllbuttonClick();
        return int(QDialog::Accepted);
    });
    f.action("mnuFillCalendarwithRecurringDates")->trigger();
    SetModalDialogRunner(nullptr);
    UndoFixture::settle();
    QFile::remove(ProgramFile(QStringLiteral("PXRECUR.DAX")));
    ASSERT_FALSE(f.page->CellRtf(christmas)->IsEmpty());
    // The fill opens the cell again: the keys reach the editor first.
    ASSERT_TRUE(f.window.CellEditor()->isVisible());
    EXPECT_EQ(f.action("mnuUndo")->text(), QStringLiteral("&Undo Fill Calendar"));
    pressUndoKey(f, Qt::ControlModifier, Qt::Key_Z);
    EXPECT_TRUE(f.page->CellRtf(christmas)->IsEmpty());
    f.window.DoSaveRichtext();
    EXPECT_TRUE(SameBytes(f.bytes(), before));
}

TEST(UndoSteps, PlacingAnObjectAndItsFirstDialogAreOneStep) {
    UndoFixture f;
    f.page->show();
    const QByteArray before = f.bytes();
    f.window.SetTool(TLPanelState::psLabel);
    SetModalDialogRunner([](QDialog& d) {
        // The dialog's own event loop runs while the person types.
        QTest::qWait(80);
        if (auto* text = qobject_cast<TGetLabelText*>(&d)) text->SetText(QStringLiteral("Meeting"));
        return int(QDialog::Accepted);
    });
    const QPoint p(60, 40);
    QTest::mousePress(f.page, Qt::LeftButton, Qt::NoModifier, p);
    QTest::mouseMove(f.page, p + QPoint(80, 30));
    QTest::mouseRelease(f.page, Qt::LeftButton, Qt::NoModifier, p + QPoint(80, 30));
    SetModalDialogRunner(nullptr);
    QTest::qWait(60);
    UndoFixture::settle();
    ASSERT_EQ(f.page->ObjectCount(), 1);
    ASSERT_EQ(qobject_cast<TGPLabel*>(f.page->ObjectAt(0))->Caption(), QStringLiteral("Meeting"));
    const QByteArray placed = f.bytes();
    EXPECT_EQ(f.undo->Stack().count(), 1);
    EXPECT_EQ(f.undo->Stack().undoText(), QStringLiteral("Insert Object"));
    f.undoStep();
    EXPECT_EQ(f.page->ObjectCount(), 0);
    EXPECT_TRUE(SameBytes(f.bytes(), before));
    f.redoStep();
    EXPECT_TRUE(SameBytes(f.bytes(), placed));
}
