// The object list apart from any window: what objects report to the view that observes their list,
// reading into a list without building a widget, and the editor's menus that live as long as their object.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPointer>

#include "surface/label.h"
#include "surface/object_list.h"
#include "surface/object_menus.h"
#include "surface/object_stream.h"
#include "surface_test_support.h"

namespace plennix {
namespace {

// Writes down every report, in order.
struct Recorder : TGObjectObserver {
    QStringList log;
    std::vector<Rect> repaints;
    void ObjectChanged(TGGraphicControl& o) override { log << "changed " + o.Name(); }
    void ObjectNeedsRepaint(const Rect& area) override { repaints.push_back(area); }
    void ObjectBoundsChanged(TGGraphicControl& o) override { log << "bounds " + o.Name(); }
    void ObjectRemoved(TGGraphicControl& o) override { log << "removed " + o.Name(); }
    void ObjectMadeUnselectable(TGGraphicControl& o) override { log << "unselectable " + o.Name(); }
};

TEST(ObjectList, ObjectsReportToTheObserverAndStayQuietWhileRead) {
    Recorder view;
    TGObjectList list;
    list.SetObserver(&view);
    auto* a = new test::TestBox();
    a->SetName(QStringLiteral("A"));
    a->SetBounds(10, 20, 30, 40);
    a->Loaded();
    a->SetList(&list);
    // Joining the list repaints the object's area with room for the selection squares.
    ASSERT_FALSE(view.repaints.empty());
    EXPECT_EQ(view.repaints.back(), Rect(7, 17, 43, 63));

    a->SetLoading(true);
    a->SetLocked(true);
    a->SetUnselectable(true);
    a->SetLoading(false);
    EXPECT_TRUE(view.log.isEmpty());

    a->SetBounds(11, 20, 30, 40);
    a->SetLocked(false);
    a->MakeUnselectable();
    EXPECT_EQ(view.log, QStringList({"changed A", "bounds A", "changed A", "changed A", "unselectable A"}));

    view.log.clear();
    auto* b = new test::TestBox();
    b->SetName(QStringLiteral("B"));
    b->SetBounds(0, 0, 100, 100);
    b->SetList(&list);
    EXPECT_EQ(list.ObjectAtPoint(20, 30), b);
    a->BringToFront();
    EXPECT_EQ(list.ObjectAtPoint(20, 30), a);
    a->SendToBack();
    EXPECT_EQ(list.Objects(), (std::vector<TGGraphicControl*>{a, b}));
    delete b;
    a->SetList(nullptr);
    EXPECT_EQ(view.log, QStringList({"changed A", "changed A", "removed B", "removed A"}));
    EXPECT_EQ(list.Count(), 0);
    delete a;
}

TEST(ObjectList, ReadingBuildsNoWidgetAndTheListKeepsOnlyUnownedObjects) {
    RegisterLabelClasses();
    TGPLabel first, second;
    second.SetCaption(QStringLiteral("Second"));
    QByteArray bytes;
    WriteObjectList(bytes, {&first, &second});

    const qsizetype widgetsBefore = QApplication::allWidgets().size();
    QObject owner;
    QPointer<TGGraphicControl> owned, unowned;
    {
        TGObjectList page;
        StreamReader in(bytes);
        const auto read = ReadObjectList(in, &owner, &page, &owner, false);
        ASSERT_EQ(read.size(), 2u);
        EXPECT_EQ(page.Objects(), read);
        EXPECT_EQ(page.LastReadReport().read, 2);
        EXPECT_EQ(QApplication::allWidgets().size(), widgetsBefore);

        // A second list takes the objects over in their order.
        TGObjectList other;
        other.Adopt(page);
        EXPECT_EQ(page.Count(), 0);
        EXPECT_EQ(other.Objects(), read);
        owned = read[0];
        unowned = new TGPLabel();
        unowned->SetList(&other);
        other.Adopt(other);
        EXPECT_EQ(other.Count(), 3);
    }
    // The owner keeps its objects; the one without an owner went with its list.
    ASSERT_FALSE(owned.isNull());
    EXPECT_EQ(owned->List(), nullptr);
    EXPECT_TRUE(unowned.isNull());
}

TEST(ObjectMenus, MenuFollowsItsObjectAndDiesWithIt) {
    auto* label = new TGPLabel();
    QPointer<QMenu> menu = ObjectContextMenu(*label);
    ASSERT_FALSE(menu.isNull());
    EXPECT_EQ(ObjectContextMenu(*label), menu.data());
    QAction* border = ObjectMenuAction(*label, QStringLiteral("Border"));
    QAction* left = ObjectMenuAction(*label, QStringLiteral("Left"));
    QAction* right = ObjectMenuAction(*label, QStringLiteral("Right"));
    ASSERT_TRUE(border && left && right);
    EXPECT_FALSE(border->isChecked());
    EXPECT_TRUE(left->isChecked());
    // Changed outside the menu, the ticks follow when it shows.
    label->SetBorderStyle(bsSingle);
    label->SetAlignment(taRightJustify);
    emit menu->aboutToShow();
    EXPECT_TRUE(border->isChecked());
    EXPECT_TRUE(right->isChecked());
    EXPECT_FALSE(left->isChecked());
    // A command brings them up to date at once.
    border->trigger();
    EXPECT_EQ(label->BorderStyle(), bsNone);
    EXPECT_FALSE(border->isChecked());
    EXPECT_FALSE(HasObjectEditor(*label));
    delete label;
    EXPECT_TRUE(menu.isNull());
}

}  // namespace
}  // namespace plennix
