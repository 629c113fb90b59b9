// The calendar page as a screen reader reads it: a table of day cells named by date and text, then
// the placed objects in z-order named by kind and caption, the selection frame read as what it holds,
// and the focused cell.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QDate>
#include <QTest>

#include "calendar/calendar_panel.h"
#include "calendar/page_accessible.h"
#include "common/qstring_printer.h"
#include "objects/flat_calendar.h"
#include "objects/image_object.h"
#include "objects/super_text.h"
#include "shown_page.h"
#include "surface/handle.h"
#include "surface/label.h"

using namespace plennix;

namespace {

// December 2026 from Sunday: the 1st is a Tuesday, in the third column.
struct December2026 : test::ShownPage {
    QAccessibleInterface* a = nullptr;
    December2026() {
        page->SetMainCalMonth(12);
        page->SetMainCalYear(2026);
        page->SetStartOfWeek(1);
        page->repaint();
        a = QAccessible::queryAccessibleInterface(page);
    }
    void add(TGGraphicControl* o, int x, int y) { page->AddObject(o, Rect(x, y, x + 120, y + 40)); }
    QRect onScreen(const Rect& r) const { return toQRect(r).translated(page->mapToGlobal(QPoint(0, 0))); }
};

}  // namespace

TEST(PageAccessible, DayCellsAreATableReadByTheirDateAndText) {
    December2026 f;
    TWPRtfStorage text;
    text.SetRtfData("{\\rtf1\\ansi Christmas Eve\\par Family}");
    f.page->SetCellRtf(f.page->CellOfDay(24), text);
    f.page->SetDayName(5, QStringLiteral("Donnerstag"));  // the page's own names are read

    ASSERT_TRUE(f.a);
    EXPECT_EQ(f.a->role(), QAccessible::Table);
    QAccessibleTableInterface* table = f.a->tableInterface();
    ASSERT_TRUE(table);
    EXPECT_EQ(table->rowCount(), 5);  // the 31st stands in the fifth week
    EXPECT_EQ(table->columnCount(), 7);
    EXPECT_EQ(f.a->childCount(), 35);
    EXPECT_EQ(table->columnDescription(0), QStringLiteral("Sunday"));
    EXPECT_EQ(table->cellAt(0, 1)->text(QAccessible::Name), QString());
    EXPECT_EQ(table->cellAt(0, 2)->text(QAccessible::Name), QStringLiteral("Tuesday 1 December"));
    QAccessibleInterface* eve = table->cellAt(3, 4);
    EXPECT_EQ(eve->text(QAccessible::Name), QStringLiteral("Donnerstag 24 December: Christmas Eve, Family"));
    EXPECT_EQ(eve->tableCellInterface()->rowIndex(), 3);
    EXPECT_EQ(eve->tableCellInterface()->columnIndex(), 4);
    EXPECT_EQ(f.a->indexOfChild(eve), 3 * 7 + 4);
    EXPECT_EQ(eve->rect(), f.onScreen(f.page->DrawState().cells[f.page->CellOfDay(24) - 1].rTotal));
    EXPECT_EQ(f.a->childAt(eve->rect().center().x(), eve->rect().center().y()), eve);

    // A week planner is one column of days and its notes.
    f.page->SetCalendarLayout(TCalendarLayout::loWeek);
    f.page->SetMainCalDay(21);
    EXPECT_EQ(table->rowCount(), 8);
    EXPECT_EQ(table->columnCount(), 1);
    EXPECT_EQ(table->cellAt(3, 0)->text(QAccessible::Name), QStringLiteral("Donnerstag 24 December"));
    EXPECT_EQ(table->cellAt(7, 0)->text(QAccessible::Name), QStringLiteral("Notes"));
}

TEST(PageAccessible, PlacedObjectsFollowTheCellsInZOrderNamedByKindAndCaption) {
    December2026 f;
    auto* super = TGSuperText::CreateForTool(&f.owner);
    super->SetCaption(QStringLiteral("Happy Holidays"));
    auto* label = new TGPLabel(&f.owner);
    label->SetCaption(QStringLiteral("Party at 8"));
    auto* image = new TGImage(&f.owner);
    auto* mini = new TGFlatCalendar(&f.owner);
    mini->SetMonth(12);
    mini->SetYear(2026);
    f.add(super, 10, 10);
    f.add(label, 200, 10);
    f.add(image, 10, 200);
    f.add(mini, 200, 200);

    ASSERT_EQ(f.a->childCount(), 35 + 4);
    QStringList names;
    for (int i = 35; i < 39; ++i) names << f.a->child(i)->text(QAccessible::Name);
    EXPECT_EQ(names, (QStringList{QStringLiteral("SuperText: Happy Holidays"), QStringLiteral("Text label: Party at 8"),
                                  QStringLiteral("Image"), QStringLiteral("Mini calendar: December 2026")}));
    QAccessibleInterface* picture = f.a->child(37);
    EXPECT_EQ(picture->role(), QAccessible::Graphic);
    EXPECT_EQ(picture->rect(), f.onScreen(image->BoundsRect()));
    EXPECT_EQ(picture->parent(), f.a);
    EXPECT_EQ(f.a->indexOfChild(picture), 37);

    // The z-order is the order of the children, kept in step as objects move and go.
    f.page->BringObjectToFront(super);
    EXPECT_EQ(f.a->child(38)->text(QAccessible::Name), QStringLiteral("SuperText: Happy Holidays"));
    delete label;
    ASSERT_EQ(f.a->childCount(), 35 + 3);
    EXPECT_EQ(f.a->child(35)->text(QAccessible::Name), QStringLiteral("Image"));

    // The selection frame, a child while it shows, reads as the object it holds.
    f.page->Frame()->AddToSelection(mini);
    EXPECT_TRUE(f.a->child(36)->state().selected);
    QAccessibleInterface* frame = QAccessible::queryAccessibleInterface(f.page->Frame());
    EXPECT_EQ(frame->text(QAccessible::Name), QStringLiteral("Mini calendar: December 2026"));
    EXPECT_EQ(f.a->indexOfChild(frame), 35 + 3);
}

TEST(PageAccessible, TheFocusedCellIsTheFocusedChild) {
    December2026 f;
    QApplication::setActiveWindow(&f.owner);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f.owner));
    f.page->setFocus();
    // Today (9 December 2026 or not) is where the focus starts when the page shows it.
    const QDate today = QDate::currentDate();
    const int start = f.page->FocusedCell();
    if (today.year() == 2026 && today.month() == 12)
        EXPECT_EQ(start, f.page->CellOfDay(today.day()));
    else
        EXPECT_EQ(start, f.page->CellOfDay(1));
    QTest::keyClick(f.page, start == f.page->CellOfDay(1) ? Qt::Key_Right : Qt::Key_Left);
    const int cell = f.page->FocusedCell();
    EXPECT_NE(cell, start);
    QAccessibleInterface* focused = f.a->focusChild();
    ASSERT_TRUE(focused);
    EXPECT_EQ(f.a->indexOfChild(focused), cell - 1);
    EXPECT_TRUE(focused->state().focused);
    EXPECT_FALSE(f.a->child(start - 1)->state().focused);
}
