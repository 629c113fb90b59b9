// Zoom rounding, frame arithmetic and the design panel driven with simulated mouse and keys: its
// handing on of the mouse, double-clicks, menus, and the lifetime of objects and page.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPointer>

#include "surface/object_menus.h"
#include "platform/program_folder.h"
#include "surface_test_support.h"
#include "test_support.h"

using namespace plennix;
using namespace plennix::test;

TEST(ObjectZoom, ScaleToRoundsHalfToEvenAndNeverAccumulates) {
    TestBox b;
    b.SetBounds(10, 20, 11, 7);
    b.ScaleTo(1.0f);  // the current zoom: nothing
    EXPECT_EQ(b.Width(), 11);
    b.ScaleTo(0.5f);
    EXPECT_EQ(b.Width(), 6);   // 5.5 rounds to even 6
    EXPECT_EQ(b.Height(), 4);  // 3.5 rounds to even 4
    EXPECT_EQ(b.Left(), 5);
    b.ScaleTo(1.0f);  // back to the object's own geometry, not 12 x 8 from the rounded half
    EXPECT_EQ(b.Width(), 11);
    EXPECT_EQ(b.Height(), 7);
    EXPECT_FLOAT_EQ(b.Zoom(), 1.0f);
}

TEST(FrameArithmetic, DragBoundsSnapAndResizeRules) {
    // A 4-pixel grid: a frame at 13 moved by 6 lands at 16 (19 truncated to a multiple of 4).
    FrameBounds f{13, 13, 30, 20};
    FrameBounds moved = ComputeDragBounds(f, 0, 6, 0, 4, 4);
    EXPECT_EQ(moved.left, 16);
    EXPECT_EQ(moved.top, 12);
    EXPECT_EQ(moved.width, 30);
    // Dragging the right edge 10 pixels without snapping makes the frame 9 wider.
    EXPECT_EQ(ComputeDragBounds(f, 8, 10, 0, 1, 1).width, 39);
    // Top-left resize keeps the opposite corner.
    FrameBounds tl = ComputeDragBounds(f, 1, -3, -3, 1, 1);
    EXPECT_EQ(tl.left + tl.width, f.left + f.width);
    EXPECT_EQ(tl.top + tl.height, f.top + f.height);
    // Never below 5 x 5.
    FrameBounds tiny = ComputeDragBounds(f, 4, -100, -100, 1, 1);
    EXPECT_EQ(tiny.width, 5);
    EXPECT_EQ(tiny.height, 5);
}

TEST(FrameArithmetic, ResizeZonesLaterTestsWin) {
    EXPECT_EQ(ResizeZoneAt(2, 2, 100, 50), 1);
    EXPECT_EQ(ResizeZoneAt(99, 49, 100, 50), 4);
    EXPECT_EQ(ResizeZoneAt(99, 1, 100, 50), 2);
    EXPECT_EQ(ResizeZoneAt(1, 49, 100, 50), 3);
    EXPECT_EQ(ResizeZoneAt(52, 3, 100, 50), 5);
    EXPECT_EQ(ResizeZoneAt(48, 50, 100, 50), 7);
    EXPECT_EQ(ResizeZoneAt(0, 27, 100, 50), 6);
    EXPECT_EQ(ResizeZoneAt(100, 22, 100, 50), 8);
    EXPECT_EQ(ResizeZoneAt(30, 25, 100, 50), 0);
    // On a tiny frame the later edge tests override the corners.
    EXPECT_EQ(ResizeZoneAt(3, 3, 8, 8), 8);
}

TEST(DesignPanel, ClickSelectsAndEmptyClickClears) {
    PanelFixture f;
    ManualClock clock;
    TestBox* a = f.addBox(50, 50, 40, 30);
    EXPECT_EQ(a->Name(), QStringLiteral("Special1"));
    press(f.panel, Qt::LeftButton, {60, 60});
    release(f.panel, Qt::LeftButton, {60, 60});
    ASSERT_EQ(f.panel->Frame()->SelectionCount(), 1);
    EXPECT_EQ(f.panel->Frame()->OwnBounds(), (FrameBounds{48, 48, 45, 35}));
    // A click on the empty page clears the selection (a zero-size rubber band).
    press(f.panel, Qt::LeftButton, {300, 250});
    release(f.panel, Qt::LeftButton, {300, 250});
    EXPECT_EQ(f.panel->Frame()->SelectionCount(), 0);
    EXPECT_FALSE(f.panel->Frame()->isVisible());
}

TEST(DesignPanel, RubberBandWithShiftTogglesMembership) {
    PanelFixture f;
    ManualClock clock;
    TestBox* a = f.addBox(20, 20, 30, 20);
    TestBox* b = f.addBox(100, 20, 30, 20);
    f.panel->Frame()->AddToSelection(a);
    f.panel->Frame()->ReleaseCapture();
    f.panel->SelectInRect({10, 10, 200, 60}, true);
    EXPECT_EQ(f.panel->Frame()->IndexInSelection(a), -1);
    EXPECT_EQ(f.panel->Frame()->IndexInSelection(b), 0);
    // Without Shift the band replaces the selection, highest child first.
    f.panel->SelectInRect({10, 10, 200, 60}, false);
    EXPECT_EQ(f.panel->Frame()->SelectedObject(0), b);
    EXPECT_EQ(f.panel->Frame()->SelectedObject(1), a);
    // The band by mouse, from an empty spot.
    press(f.panel, Qt::LeftButton, {390, 290});
    moveTo(f.panel, {200, 100});
    moveTo(f.panel, {15, 15});
    release(f.panel, Qt::LeftButton, {15, 15});
    EXPECT_EQ(f.panel->Frame()->SelectionCount(), 2);
}

TEST(DesignPanel, DragMovesWithGridAndQuickClickMovesNothing) {
    PanelFixture f;
    ManualClock clock;
    f.panel->SetSnapToGrid(true);  // 4 x 4
    TestBox* a = f.addBox(15, 15, 40, 30);  // frame at 13
    press(f.panel, Qt::LeftButton, {30, 30});
    release(f.panel, Qt::LeftButton, {30, 30});
    ASSERT_EQ(f.panel->Frame()->OwnBounds().left, 13);
    // A quick press-move-release (under 150 ms) leaves the object in place.
    press(f.panel, Qt::LeftButton, {30, 30});
    clock.advance(50);
    moveTo(f.panel, {60, 30});
    release(f.panel, Qt::LeftButton, {60, 30});
    EXPECT_EQ(a->Left(), 15);
    // A real drag by 6 pixels: the frame snaps to 16 and the object follows to 18.
    press(f.panel, Qt::LeftButton, {30, 30});
    clock.advance(300);
    moveTo(f.panel, {36, 30});
    release(f.panel, Qt::LeftButton, {36, 30});
    EXPECT_EQ(a->Left(), 18);
    EXPECT_EQ(a->Top(), 14);
    EXPECT_GT(f.changes, 0);
}

TEST(DesignPanel, PressOnUnselectedObjectDragsAtOnce) {
    PanelFixture f;
    ManualClock clock;
    TestBox* a = f.addBox(100, 100, 40, 30);
    press(f.panel, Qt::LeftButton, {110, 110});
    clock.advance(20);
    moveTo(f.panel, {112, 110});  // starts the drag: more than 10 ms after the press
    clock.advance(200);
    moveTo(f.panel, {132, 120});
    release(f.panel, Qt::LeftButton, {132, 120});
    EXPECT_EQ(a->Left(), 120);
    EXPECT_EQ(a->Top(), 110);
}

TEST(DesignPanel, ResizeByRightEdgeHandle) {
    PanelFixture f;
    ManualClock clock;
    TestBox* a = f.addBox(100, 100, 40, 30);
    press(f.panel, Qt::LeftButton, {110, 110});
    release(f.panel, Qt::LeftButton, {110, 110});
    FrameBounds fb = f.panel->Frame()->OwnBounds();
    const QPoint edge(fb.left + fb.width, fb.top + fb.height / 2);
    moveTo(f.panel, edge - QPoint(1, 0));  // hover: zone 8
    EXPECT_EQ(f.panel->Frame()->Zone(), 8);
    press(f.panel, Qt::LeftButton, edge - QPoint(1, 0));
    clock.advance(300);
    moveTo(f.panel, edge + QPoint(9, 0));
    release(f.panel, Qt::LeftButton, edge + QPoint(9, 0));
    EXPECT_EQ(a->Width(), 49);  // 10 pixels further, one short of the snapped edge
    EXPECT_EQ(a->Left(), 100);
}

TEST(DesignPanel, ArrowKeysMoveOrResizeOnRelease) {
    PanelFixture f;
    ManualClock clock;
    TestBox* a = f.addBox(100, 100, 40, 30);
    f.panel->Frame()->AddToSelection(a);
    TGHandle* frame = f.panel->Frame();
    QTest::keyPress(frame, Qt::Key_Right);
    QTest::keyPress(frame, Qt::Key_Right);
    EXPECT_EQ(a->Left(), 100);  // objects move only when the key is released
    QTest::keyRelease(frame, Qt::Key_Right);
    EXPECT_EQ(a->Left(), 102);
    // Shift resizes a single object; it stops at an outline 10 pixels wide (a frame of 14).
    QCoreApplication::processEvents();
    const int frameWidth = frame->width();
    for (int i = 0; i < 40; ++i) QTest::keyPress(frame, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyRelease(frame, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(a->Left(), 102);
    EXPECT_EQ(a->Width(), 40 + 14 - frameWidth);
}

TEST(DesignPanel, SeveralSelectedMoveButDoNotResizeByKeys) {
    PanelFixture f;
    ManualClock clock;
    TestBox* a = f.addBox(50, 50, 40, 30);
    TestBox* b = f.addBox(150, 50, 40, 30);
    f.panel->Frame()->AddToSelection(a);
    f.panel->Frame()->AddToSelection(b);
    QTest::keyPress(f.panel->Frame(), Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyRelease(f.panel->Frame(), Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(a->Left(), 49);
    EXPECT_EQ(b->Left(), 149);
    EXPECT_EQ(a->Width(), 40);
}

TEST(DesignPanel, LockedObjectStaysWhileOthersMove) {
    PanelFixture f;
    ManualClock clock;
    TestBox* a = f.addBox(50, 50, 40, 30);
    TestBox* b = f.addBox(150, 50, 40, 30);
    b->SetLocked(true);
    f.panel->Frame()->AddToSelection(a);
    f.panel->Frame()->AddToSelection(b);
    f.panel->Frame()->ApplyFrameBounds(f.panel->Frame()->x() + 10, f.panel->Frame()->y(),
                                       f.panel->Frame()->width(), f.panel->Frame()->height());
    EXPECT_EQ(a->Left(), 60);
    EXPECT_EQ(b->Left(), 150);
    QCoreApplication::processEvents();  // the posted refit
    EXPECT_EQ(f.panel->Frame()->OwnBounds(), (FrameBounds{58, 48, 150 + 40 - 60 + 6, 36}));
}

TEST(DesignPanel, UnselectableObjectsAreRefusedAndClickedThrough) {
    PanelFixture f;
    ManualClock clock;
    TestBox* a = f.addBox(50, 50, 40, 30);
    a->SetUnselectable(true);
    f.panel->Frame()->AddToSelection(a);
    EXPECT_EQ(f.panel->Frame()->SelectionCount(), 0);
    press(f.panel, Qt::LeftButton, {60, 60});
    EXPECT_TRUE(f.panel->RubberBandActive());  // the press acts on the empty page
    release(f.panel, Qt::LeftButton, {60, 60});
}

TEST(DesignPanel, CutCopyPasteThroughClipboardFileWithRenamingAndDebounce) {
    PanelFixture f;
    ManualClock clock;
    MessageRecorder messages;
    TestBox* a = f.addBox(50, 60, 40, 30);
    a->SetName(QStringLiteral("Component0"));
    TestBox* b = f.addBox(150, 60, 40, 30);
    b->SetName(QStringLiteral("Component1"));
    f.panel->Frame()->AddToSelection(a);
    QTest::keyClick(f.panel->Frame(), Qt::Key_C, Qt::ControlModifier);
    ASSERT_TRUE(QFile::exists(f.panel->ClipboardFile()));
    EXPECT_EQ(f.panel->ClipboardFile(), ProgramFile(QStringLiteral("Clipbrd.tmp")));
    f.panel->Paste();
    ASSERT_EQ(f.panel->ObjectCount(), 3);
    TGGraphicControl* p1 = f.panel->ObjectAt(2);
    EXPECT_EQ(p1->Name(), QStringLiteral("Component2"));
    EXPECT_EQ(p1->Left(), 65);
    EXPECT_EQ(p1->Top(), 75);
    clock.advance(500);
    f.panel->Paste();  // within a second of the last: ignored
    EXPECT_EQ(f.panel->ObjectCount(), 3);
    clock.advance(1200);
    f.panel->Paste();
    ASSERT_EQ(f.panel->ObjectCount(), 4);
    EXPECT_EQ(f.panel->ObjectAt(3)->Name(), QStringLiteral("Component3"));
    // Cut removes the selection and keeps it in the file.
    QTest::keyClick(f.panel->Frame(), Qt::Key_X, Qt::ControlModifier);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(f.panel->ObjectCount(), 3);
    EXPECT_EQ(f.panel->Frame()->SelectionCount(), 0);
    EXPECT_TRUE(messages.shown.empty());
}

TEST(DesignPanel, DeleteKeyAndPasteWithoutFile) {
    PanelFixture f;
    ManualClock clock;
    QFile::remove(f.panel->ClipboardFile());
    f.panel->Paste();  // no clipboard file: nothing
    EXPECT_EQ(f.panel->ObjectCount(), 0);
    TestBox* a = f.addBox(50, 60, 40, 30);
    f.panel->Frame()->AddToSelection(a);
    QTest::keyClick(f.panel->Frame(), Qt::Key_Delete);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(f.panel->ObjectCount(), 0);
}

TEST(DesignPanel, CloneLandsBelowAndTakesTheSelection) {
    PanelFixture f;
    ManualClock clock;
    TestBox* a = f.addBox(50, 60, 40, 30);
    f.panel->Frame()->AddToSelection(a);
    CloneObjectOnPage(*a);
    ASSERT_EQ(f.panel->ObjectCount(), 2);
    TGGraphicControl* copy = f.panel->ObjectAt(1);
    EXPECT_EQ(copy->Left(), 50);
    EXPECT_EQ(copy->Top(), 85);
    EXPECT_NE(copy->Name(), a->Name());
    EXPECT_EQ(f.panel->Frame()->SelectionCount(), 1);
    EXPECT_EQ(f.panel->Frame()->SelectedObject(0), copy);
}

TEST(DesignPanel, ZoomRescalesQuietly) {
    PanelFixture f;
    TestBox* a = f.addBox(50, 60, 11, 30);
    f.changes = 0;
    f.panel->SetZoom(1.0f);
    EXPECT_EQ(f.changes, 0);
    f.panel->SetZoom(0.5f);
    EXPECT_EQ(f.changes, 0);  // no change events while zooming
    EXPECT_EQ(f.panel->width(), 200);
    EXPECT_EQ(a->Width(), 6);
    EXPECT_FLOAT_EQ(a->Zoom(), 0.5f);
}

TEST(DesignPanel, MenuEnablingAndLockAll) {
    PanelFixture f;
    EXPECT_FALSE(f.panel->PanelMenuAction(QStringLiteral("Lock All"))->isEnabled());
    EXPECT_FALSE(f.panel->PanelMenuAction(QStringLiteral("Cut"))->isEnabled());
    EXPECT_TRUE(f.panel->PanelMenuAction(QStringLiteral("Select All"))->isEnabled());
    TestBox* a = f.addBox(50, 60, 40, 30);
    TestBox* b = f.addBox(150, 10, 40, 30);
    EXPECT_TRUE(f.panel->PanelMenuAction(QStringLiteral("Lock All"))->isEnabled());
    f.panel->PanelMenuAction(QStringLiteral("Lock All"))->trigger();
    EXPECT_TRUE(a->Locked());
    EXPECT_TRUE(b->Locked());
    EXPECT_TRUE(ObjectMenuAction(*a, QStringLiteral("Locked"))->isChecked());
    f.panel->PanelMenuAction(QStringLiteral("Select All"))->trigger();
    f.panel->PanelMenuAction(QStringLiteral("Align Tops"))->trigger();
    EXPECT_EQ(a->Top(), 10);
    f.panel->PanelMenuAction(QStringLiteral("Align Right"))->trigger();
    EXPECT_EQ(a->Left(), 150);
}

TEST(DesignPanel, SettersDuringReadingStayQuiet) {
    PanelFixture f;
    TestBox* a = f.addBox(50, 60, 40, 30);
    f.changes = 0;
    a->SetLoading(true);
    a->SetLocked(true);
    a->SetLoading(false);
    EXPECT_EQ(f.changes, 0);
    // The menu is built on first use, after reading: it shows the state that was read.
    EXPECT_TRUE(ObjectMenuAction(*a, QStringLiteral("Locked"))->isChecked());
}

TEST(DesignPanel, ObjectMenuWithoutPanelStillReorders) {
    TGObjectHost host;
    auto* a = new TestBox();
    auto* b = new TestBox();
    a->Loaded();
    a->SetList(&host.ObjectList());
    b->SetList(&host.ObjectList());
    ObjectMenuAction(*a, QStringLiteral("Bring To Front"))->trigger();
    EXPECT_EQ(host.ObjectAt(1), a);
    ObjectMenuAction(*a, QStringLiteral("Delete"))->trigger();  // needs a design panel: nothing
    EXPECT_EQ(host.ObjectCount(), 2);
    a->SetBounds(0, 0, 10, 10);
    ObjectMenuAction(*a, QStringLiteral("Center Vertically"))->trigger();
    EXPECT_EQ(a->Top(), 0);
}

TEST(DesignPanelPaint, SelectionSquaresAndGridDots) {
    PanelFixture f;
    TestBox* a = f.addBox(100, 100, 40, 30);
    a->fill = clWhite;
    TestBox* b = f.addBox(200, 100, 40, 30);
    b->fill = clWhite;
    f.panel->Frame()->AddToSelection(a);
    QImage one = f.panel->grab().toImage();
    // One selected: eight squares in the frame colour (black), edge squares included.
    EXPECT_EQ(PixelColor(one, 98, 98), clBlack);
    EXPECT_EQ(PixelColor(one, 120, 99), clBlack);
    f.panel->Frame()->AddToSelection(b);
    QImage two = f.panel->grab().toImage();
    EXPECT_EQ(PixelColor(two, 98, 98), 0x808080);
    EXPECT_EQ(PixelColor(two, 120, 99), clWhite);  // no edge squares with several selected
    f.panel->Frame()->ClearSelection();

    f.panel->SetShape(lsEllipse);
    f.panel->SetShowGrid(true);
    QImage grid = f.panel->grab().toImage();
    EXPECT_EQ(PixelColor(grid, 198, 150), RGB(0, 128, 0));  // x, y = 2 mod 4 inside the ellipse
    EXPECT_EQ(PixelColor(grid, 199, 150), clWhite);
    EXPECT_EQ(PixelColor(grid, 6, 6), clWhite);  // outside the ellipse: no dots
}

TEST(DesignPanel, CutThatCannotWriteTheClipboardKeepsTheObjects) {
    PanelFixture f;
    ManualClock clock;
    MessageRecorder messages;
    TestBox* a = f.addBox(50, 60, 40, 30);
    // A folder where the clipboard file should be: the file cannot be written.
    QDir().mkpath(f.panel->ClipboardFile());
    f.panel->Frame()->AddToSelection(a);
    f.panel->SelectionClipboard(ClipboardOp::Cut);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(f.panel->ObjectCount(), 1);
    EXPECT_FALSE(messages.shown.empty());
    QDir().rmdir(f.panel->ClipboardFile());
}

TEST(DesignPanel, ShiftRubberBandByMouseTogglesSelectedAndUnselected) {
    PanelFixture f;
    ManualClock clock;
    TestBox* a = f.addBox(20, 20, 30, 20);
    TestBox* b = f.addBox(100, 20, 30, 20);
    TestBox* c = f.addBox(200, 200, 30, 20);
    f.panel->Frame()->AddToSelection(a);
    f.panel->Frame()->AddToSelection(c);
    f.panel->Frame()->ReleaseCapture();
    // A band from an empty spot over a (selected) and b (not selected), with Shift held.
    press(f.panel, Qt::LeftButton, {10, 60}, Qt::ShiftModifier);
    moveTo(f.panel, {80, 40});
    moveTo(f.panel, {150, 10});
    release(f.panel, Qt::LeftButton, {150, 10}, Qt::ShiftModifier);
    EXPECT_EQ(f.panel->Frame()->IndexInSelection(a), -1);
    EXPECT_GE(f.panel->Frame()->IndexInSelection(b), 0);
    EXPECT_GE(f.panel->Frame()->IndexInSelection(c), 0);  // outside the band: stays selected
}

TEST(DesignPanel, RepublishedMouseEventsFireAfterThePanelsOwnHandling) {
    PanelFixture f;
    ManualClock clock;
    std::vector<QString> seen;
    f.panel->OnMouseDown = [&](Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
        seen.push_back(QStringLiteral("down %1,%2 band=%3").arg(x).arg(y).arg(f.panel->RubberBandActive()));
    };
    f.panel->OnMouseUp = [&](Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
        seen.push_back(QStringLiteral("up %1,%2 band=%3").arg(x).arg(y).arg(f.panel->RubberBandActive()));
    };
    press(f.panel, Qt::LeftButton, {30, 40});
    release(f.panel, Qt::LeftButton, {30, 40});
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], QStringLiteral("down 30,40 band=1"));
    EXPECT_EQ(seen[1], QStringLiteral("up 30,40 band=0"));
}

TEST(DesignPanelMouse, DragOfAnObjectLeavesNoObjectHoldingTheMouse) {
    PanelFixture f;
    ManualClock clock;
    TestBox* a = f.addBox(50, 50, 40, 30);
    // Press on the unselected object and drag it at once: the frame takes the drag and its release.
    press(f.panel, Qt::LeftButton, {60, 60});
    clock.advance(20);
    moveTo(f.panel, {62, 60});
    clock.advance(200);
    moveTo(f.panel, {70, 60});
    release(f.panel, Qt::LeftButton, {70, 60});
    ASSERT_EQ(f.panel->Frame()->SelectionCount(), 1);
    ASSERT_EQ(a->Left(), 58);
    // The page (which tells clicks on cells from clicks on objects by it) must not think the object
    // still holds the mouse.
    EXPECT_EQ(f.panel->CapturedObject(), nullptr);
    // A click on the empty page then is the page's own: it clears the selection with a plain band.
    moveTo(f.panel, {300, 250});
    press(f.panel, Qt::LeftButton, {300, 250});
    EXPECT_TRUE(f.panel->RubberBandActive());
    EXPECT_EQ(f.panel->CapturedObject(), nullptr);
    release(f.panel, Qt::LeftButton, {300, 250});
    EXPECT_EQ(f.panel->Frame()->SelectionCount(), 0);
}

TEST(DesignPanelMouse, ToolBandStartedOverTheFrameFollowsThePointer) {
    PanelFixture f;
    ManualClock clock;
    TestBox* a = f.addBox(50, 50, 100, 80);
    f.panel->Frame()->AddToSelection(a);
    f.panel->Frame()->ReleaseCapture();
    Rect dropped;
    int drops = 0;
    f.panel->DroppedObjectEvent = [&](const Rect& r) {
        dropped = r;
        ++drops;
    };
    f.panel->SetPointing(false);
    ASSERT_EQ(f.panel->childAt(70, 70), f.panel->Frame());
    press(f.panel, Qt::LeftButton, {70, 70});  // the frame hands the press on to the page
    EXPECT_TRUE(f.panel->RubberBandActive());
    clock.advance(300);
    moveTo(f.panel, {120, 100});
    EXPECT_EQ(f.panel->RubberBand(), Rect(70, 70, 120, 100));
    moveTo(f.panel, {130, 110});
    release(f.panel, Qt::LeftButton, {130, 110});
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(dropped, Rect(70, 70, 130, 110));
    EXPECT_FALSE(f.panel->RubberBandActive());
    EXPECT_EQ(a->Left(), 50);  // the object under the band stays put
}

TEST(DesignPanelMouse, ToolBandFromTheEmptyPageLeavesTheFrameDraggable) {
    PanelFixture f;
    ManualClock clock;
    TestBox* a = f.addBox(100, 100, 40, 30);
    f.panel->Frame()->AddToSelection(a);  // the frame holds the mouse
    int drops = 0;
    f.panel->DroppedObjectEvent = [&](const Rect&) { ++drops; };
    f.panel->SetPointing(false);
    press(f.panel, Qt::LeftButton, {300, 200});  // the page's own press, through the frame
    moveTo(f.panel, {340, 230});
    EXPECT_EQ(f.panel->RubberBand(), Rect(300, 200, 340, 230));
    release(f.panel, Qt::LeftButton, {340, 230});
    EXPECT_EQ(drops, 1);
    f.panel->SetPointing(true);
    // Later the frame drags as usual.
    press(f.panel, Qt::LeftButton, {110, 110});
    clock.advance(300);
    moveTo(f.panel, {130, 110});
    // The outline follows the pointer: the frame (98, 98, 45 x 35) moved by 20.
    EXPECT_TRUE(f.panel->HasDragOutline());
    EXPECT_EQ(f.panel->DragOutline(), Rect(120, 100, 160, 130));
    release(f.panel, Qt::LeftButton, {130, 110});
    EXPECT_EQ(a->Left(), 120);
    EXPECT_FALSE(f.panel->HasDragOutline());
}

TEST(DesignPanelMouse, DraggingALockedObjectKeepsTheFrameAroundIt) {
    PanelFixture f;
    ManualClock clock;
    TestBox* a = f.addBox(100, 100, 40, 30);
    a->SetLocked(true);
    press(f.panel, Qt::LeftButton, {110, 110});
    release(f.panel, Qt::LeftButton, {110, 110});
    ASSERT_EQ(f.panel->Frame()->SelectionCount(), 1);
    press(f.panel, Qt::LeftButton, {110, 110});
    clock.advance(300);
    moveTo(f.panel, {140, 120});
    release(f.panel, Qt::LeftButton, {140, 120});
    QCoreApplication::processEvents();
    EXPECT_EQ(a->Left(), 100);
    EXPECT_EQ(a->Top(), 100);
    // Refitted around the object that stayed (6 beyond it), not left where the drag ended.
    EXPECT_EQ(f.panel->Frame()->OwnBounds(), (FrameBounds{98, 98, 46, 36}));
}

TEST(DesignPanelMouse, DoubleClickEditsOrShowsTheMenuAndNeverDrags) {
    PanelFixture f;
    ManualClock clock;
    // A kind with an editor registered for its class, beside one without.
    struct EditableBox : TestBox {
        using TestBox::TestBox;
        QString ClassName() const override { return QStringLiteral("TEditableBox"); }
    };
    auto* a = new EditableBox(&f.owner);
    a->Loaded();
    f.panel->AddObject(a, Rect::fromBounds(100, 100, 40, 30));
    TestBox* b = f.addBox(250, 100, 40, 30);
    b->Loaded();
    int edits = 0;
    QObject* editSender = nullptr;
    TGGraphicControl* edited = nullptr;
    ObjectCommands editable;
    editable.edit = [&](TGGraphicControl& o, QObject* s) {
        ++edits;
        edited = &o;
        editSender = s;
    };
    RegisterObjectCommands(QStringLiteral("TEditableBox"), editable);
    doubleClick(f.panel, {110, 110});
    EXPECT_EQ(edits, 1);
    EXPECT_EQ(edited, a);
    EXPECT_EQ(editSender, f.panel);
    EXPECT_EQ(f.panel->Frame()->SelectedObject(0), a);

    // A double-click with the button held on for a move moves nothing.
    clock.advance(300);
    press(f.panel, Qt::LeftButton, {110, 110});
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(12, 12), f.panel->Frame()->mapToGlobal(QPointF(12, 12)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.panel->Frame(), &dbl);
    EXPECT_EQ(edits, 2);
    clock.advance(300);
    moveTo(f.panel, {150, 130});
    release(f.panel, Qt::LeftButton, {150, 130});
    EXPECT_EQ(a->Left(), 100);
    EXPECT_EQ(a->Top(), 100);

    // Without an edit action the object's own menu comes up.
    clock.advance(300);
    doubleClick(f.panel, {260, 110});
    ASSERT_TRUE(ObjectContextMenu(*b));
    EXPECT_TRUE(ObjectContextMenu(*b)->isVisible());
    ObjectContextMenu(*b)->hide();
    EXPECT_EQ(edits, 2);
    RegisterObjectCommands(QStringLiteral("TEditableBox"), ObjectCommands());
}

TEST(DesignPanelMouse, RightClicksShowTheObjectsOrThePagesMenu) {
    PanelFixture f;
    ManualClock clock;
    TestBox* a = f.addBox(50, 50, 40, 30);
    TestBox* b = f.addBox(150, 50, 40, 30);
    // On an unselected object: it becomes the selection and its own menu shows.
    press(f.panel, Qt::RightButton, {60, 60});
    release(f.panel, Qt::RightButton, {60, 60});
    EXPECT_EQ(f.panel->Frame()->SelectedObject(0), a);
    EXPECT_TRUE(ObjectContextMenu(*a)->isVisible());
    ObjectContextMenu(*a)->hide();
    // On the frame of a single object: the object's menu again.
    press(f.panel, Qt::RightButton, {70, 70});
    release(f.panel, Qt::RightButton, {70, 70});
    EXPECT_TRUE(ObjectContextMenu(*a)->isVisible());
    ObjectContextMenu(*a)->hide();
    // With two selected the frame shows the page's menu, with the selection commands enabled.
    f.panel->Frame()->AddToSelection(b);
    f.panel->Frame()->ReleaseCapture();
    press(f.panel, Qt::RightButton, {70, 70});
    release(f.panel, Qt::RightButton, {70, 70});
    EXPECT_FALSE(ObjectContextMenu(*a)->isVisible());
    EXPECT_TRUE(f.panel->PanelMenu()->isVisible());
    f.panel->PanelMenu()->hide();
    EXPECT_TRUE(f.panel->PanelMenuAction(QStringLiteral("Align Left"))->isEnabled());
}

TEST(DesignPanelLifetime, ObjectLeavingThePageLeavesTheSelection) {
    PanelFixture f;
    ManualClock clock;
    TestBox* a = f.addBox(50, 50, 40, 30);
    TestBox* b = f.addBox(150, 50, 40, 30);
    TestBox* c = f.addBox(250, 50, 40, 30);
    f.panel->Frame()->AddToSelection(a);
    f.panel->Frame()->AddToSelection(b);
    a->SetList(nullptr);
    ASSERT_EQ(f.panel->Frame()->SelectionCount(), 1);
    EXPECT_EQ(f.panel->Frame()->SelectedObject(0), b);
    delete a;
    (void)f.panel->grab();  // paints the squares of what is left
    // An unselected object leaving does not disturb the frame.
    const FrameBounds before = f.panel->Frame()->OwnBounds();
    c->SetList(nullptr);
    EXPECT_EQ(f.panel->Frame()->OwnBounds(), before);
    delete c;
    b->SetList(nullptr);
    EXPECT_EQ(f.panel->Frame()->SelectionCount(), 0);
    EXPECT_FALSE(f.panel->Frame()->isVisible());
    delete b;
}

TEST(DesignPanelLifetime, ObjectsOwnedElsewhereOutliveThePage) {
    QObject owner;
    auto* panel = new TGBasePanel();
    panel->SetNamingOwner(&owner);
    panel->resize(300, 200);
    auto* a = new TestBox(&owner);
    a->Loaded();
    panel->AddObject(a, Rect::fromBounds(10, 10, 50, 40));
    panel->Frame()->AddToSelection(a);
    delete panel;
    EXPECT_EQ(a->List(), nullptr);
    EXPECT_FALSE(bool(a->OnMouseDown));
    EXPECT_FALSE(bool(a->OnMouseUp));
    EXPECT_FALSE(bool(a->OnDblClick));
    // Shown on another host afterwards, its clicks reach no dead page.
    TGObjectHost host;
    host.resize(100, 100);
    a->SetList(&host.ObjectList());
    QTest::mouseClick(&host, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    ObjectMenuAction(*a, QStringLiteral("Delete"))->trigger();  // no page: nothing
    EXPECT_EQ(host.ObjectCount(), 1);
}

TEST(DesignPanelNames, UniqueNameIgnoresCaseAndCanRunOut) {
    PanelFixture f;
    auto* other = new QObject(&f.owner);
    other->setObjectName(QStringLiteral("special1"));
    TestBox* a = f.addBox(50, 50, 40, 30);
    EXPECT_EQ(a->Name(), QStringLiteral("Special2"));
    for (int n = 3; n <= 1000; ++n) (new QObject(&f.owner))->setObjectName(QStringLiteral("SPECIAL%1").arg(n));
    EXPECT_EQ(f.panel->UniqueName(QStringLiteral("Special")), QString());
}

TEST(DesignPanelChanges, QuietWhereNothingChanged) {
    PanelFixture f;
    ManualClock clock;
    TestBox* a = f.addBox(50, 50, 40, 30);
    // Paste without a clipboard file changes nothing, so it reports nothing.
    QFile::remove(f.panel->ClipboardFile());
    f.changes = 0;
    f.panel->Paste();
    EXPECT_EQ(f.changes, 0);
    EXPECT_EQ(f.panel->ObjectCount(), 1);
    // While printing objects report no changes; the page's own commands still do.
    f.changes = 0;
    f.panel->SetPrinting(true);
    a->SetLeft(70);
    a->SetLocked(true);
    EXPECT_EQ(f.changes, 0);
    f.panel->SetPrinting(false);
    a->SetLeft(80);
    EXPECT_EQ(f.changes, 1);
}

TEST(DesignPanelGrid, SpacingAndSnappingWorkTogether) {
    PanelFixture f;
    TGHandle* frame = f.panel->Frame();
    EXPECT_FALSE(frame->SnapToGrid());
    // A spacing chosen while snapping is off stays without effect until snapping is switched on.
    f.panel->SetGridSize(gs8x8);
    EXPECT_EQ(frame->GridX(), 1);
    f.panel->SetSnapToGrid(true);
    EXPECT_EQ(frame->GridX(), 8);
    EXPECT_EQ(frame->GridY(), 8);
    f.panel->SetGridSize(gs4x4);
    EXPECT_EQ(frame->GridX(), 4);
    f.panel->SetSnapToGrid(false);
    EXPECT_EQ(frame->GridX(), 1);
    EXPECT_FALSE(frame->SnapToGrid());
}

TEST(ObjectZoom, NoZoomIsTakenAsFullSize) {
    TestBox b;
    b.SetBounds(10, 20, 30, 40);
    b.SetZoomField(0.0f);
    b.ScaleTo(0.5f);
    EXPECT_EQ(b.BoundsRect(), Rect::fromBounds(5, 10, 15, 20));
    EXPECT_FLOAT_EQ(b.Zoom(), 0.5f);
}

TEST(DesignPanelKeys, DeletingWhileAnArrowIsDownLeavesNoOutline) {
    PanelFixture f;
    ManualClock clock;
    TestBox* a = f.addBox(100, 100, 40, 30);
    f.panel->Frame()->AddToSelection(a);
    QTest::keyPress(f.panel->Frame(), Qt::Key_Right);
    ASSERT_TRUE(f.panel->Frame()->KeyOutlineActive());
    QTest::keyPress(f.panel->Frame(), Qt::Key_Delete);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(f.panel->ObjectCount(), 0);
    EXPECT_FALSE(f.panel->Frame()->KeyOutlineActive());
}

namespace {
class SquarelessBox : public TestBox {
public:
    bool ShowsSelectionSquares() const override { return false; }
};
}  // namespace

TEST(DesignPanelPaint, KindsWithoutSquaresShowNoneWhenSelected) {
    PanelFixture f;
    auto* a = new SquarelessBox();
    a->fill = clWhite;
    f.panel->AddObject(a, Rect::fromBounds(100, 100, 40, 30));
    TestBox* b = f.addBox(200, 100, 40, 30);
    b->fill = clWhite;
    f.panel->Frame()->AddToSelection(a);
    f.panel->Frame()->AddToSelection(b);
    const QImage image = f.panel->grab().toImage();
    EXPECT_EQ(PixelColor(image, 98, 98), clWhite);
    EXPECT_EQ(PixelColor(image, 198, 98), 0x808080);
    delete a;
}

TEST(DesignPanelLifetime, ObjectDeletedInTheMiddleOfItsDrag) {
    PanelFixture f;
    ManualClock clock;
    TestBox* a = f.addBox(100, 100, 40, 30);
    TestBox* b = f.addBox(200, 100, 40, 30);
    press(f.panel, Qt::LeftButton, {110, 110});  // selects a; the frame takes the mouse
    clock.advance(20);
    moveTo(f.panel, {115, 110});
    ASSERT_TRUE(f.panel->Frame()->Dragging());
    delete a;
    EXPECT_EQ(f.panel->Frame()->SelectionCount(), 0);
    EXPECT_FALSE(f.panel->Frame()->Dragging());
    EXPECT_EQ(f.panel->CapturedObject(), nullptr);
    clock.advance(200);
    moveTo(f.panel, {150, 120});
    release(f.panel, Qt::LeftButton, {150, 120});
    EXPECT_EQ(b->Left(), 200);
    (void)f.panel->grab();
    // Clearing the page with a selection in place.
    f.panel->Frame()->AddToSelection(b);
    f.panel->ClearObjects();
    EXPECT_EQ(f.panel->ObjectCount(), 0);
    EXPECT_EQ(f.panel->Frame()->SelectionCount(), 0);
}
