// The design panel's handing on of the mouse, double-clicks, menus and the lifetime of objects and page.
#include <gtest/gtest.h>

#include <QFile>
#include <QMenu>

#include "surface_test_support.h"
#include "test_support.h"

using namespace plennix;
using namespace plennix::test;

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
    TestBox* a = f.addBox(100, 100, 40, 30);
    TestBox* b = f.addBox(250, 100, 40, 30);
    b->Loaded();
    int edits = 0;
    QObject* editSender = nullptr;
    a->EditAction = [&](QObject* s) {
        ++edits;
        editSender = s;
    };
    doubleClick(f.panel, {110, 110});
    EXPECT_EQ(edits, 1);
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
    ASSERT_TRUE(b->ContextMenu());
    EXPECT_TRUE(b->ContextMenu()->isVisible());
    b->ContextMenu()->hide();
    EXPECT_EQ(edits, 2);
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
    EXPECT_TRUE(a->ContextMenu()->isVisible());
    a->ContextMenu()->hide();
    // On the frame of a single object: the object's menu again.
    press(f.panel, Qt::RightButton, {70, 70});
    release(f.panel, Qt::RightButton, {70, 70});
    EXPECT_TRUE(a->ContextMenu()->isVisible());
    a->ContextMenu()->hide();
    // With two selected the frame shows the page's menu, with the selection commands enabled.
    f.panel->Frame()->AddToSelection(b);
    f.panel->Frame()->ReleaseCapture();
    press(f.panel, Qt::RightButton, {70, 70});
    release(f.panel, Qt::RightButton, {70, 70});
    EXPECT_FALSE(a->ContextMenu()->isVisible());
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
    a->SetParent(nullptr);
    ASSERT_EQ(f.panel->Frame()->SelectionCount(), 1);
    EXPECT_EQ(f.panel->Frame()->SelectedObject(0), b);
    delete a;
    (void)f.panel->grab();  // paints the squares of what is left
    // An unselected object leaving does not disturb the frame.
    const FrameBounds before = f.panel->Frame()->OwnBounds();
    c->SetParent(nullptr);
    EXPECT_EQ(f.panel->Frame()->OwnBounds(), before);
    delete c;
    b->SetParent(nullptr);
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
    EXPECT_EQ(a->Parent(), nullptr);
    EXPECT_FALSE(bool(a->OnMouseDown));
    EXPECT_FALSE(bool(a->OnMouseUp));
    EXPECT_FALSE(bool(a->OnDblClick));
    // Shown on another host afterwards, its clicks reach no dead page.
    TGObjectHost host;
    host.resize(100, 100);
    a->SetParent(&host);
    QTest::mouseClick(&host, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    a->MenuAction(QStringLiteral("Delete"))->trigger();  // no page: nothing
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
