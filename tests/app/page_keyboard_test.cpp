// The calendar page without a mouse: the cell focus and its editor, placing with a tool, walking the
// placed objects with Ctrl+Tab and their menus from the keyboard.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QMenu>
#include <QTest>
#include <QTextDocument>

#include "app/main_window.h"
#include "calendar/calendar_panel.h"
#include "calendar/page_cells.h"
#include "common/qstring_printer.h"
#include "objects/super_text.h"
#include "platform/common_dialogs.h"
#include "platform/program_folder.h"
#include "richtext/rich_text_editor.h"
#include "surface/handle.h"
#include "surface/label.h"
#include "surface/object_menus.h"
#include "test_support.h"

using namespace plennix;

namespace {

// The window with a new December 1997 calendar (1 December is a Monday), its page holding the focus on
// the 1st.
struct KeyboardWindow {
    QStringList dialogs;
    test::ScopedHook<ModalDialogRunner> runner{SetModalDialogRunner, [this](QDialog& d) {
                                                   dialogs << d.metaObject()->className();
                                                   return int(QDialog::Accepted);
                                               }};
    TCalendarMain window;
    TCalendarPanel32* page = nullptr;

    KeyboardWindow() {
        QFile::remove(ProgramFile(QStringLiteral("PX.ini")));
        window.FormActivate();
        window.New1Click();
        page = window.CalendarPanel();
        page->SetCalendarLayout(TCalendarLayout::loFullCalendar);
        page->SetMainCalMonth(12);
        page->SetMainCalYear(1997);
        page->SetStartOfWeek(1);
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        page->repaint();  // the cells' places come from drawing
        QCoreApplication::processEvents();
        // New leaves the keyboard on the page, which is the window's only control then.
        EXPECT_TRUE(page->hasFocus());
        page->SetFocusedCell(page->CellOfDay(1));
        dialogs.clear();
    }
    // A closed pop-up menu hands the activation back to the window only when the window system's
    // events have run.
    void closeMenu(QMenu* menu) {
        menu->close();
        QCoreApplication::processEvents();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    void key(int k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(k), m);
    }
    TGPLabel* addLabel(const QString& caption, int x, int y) {
        auto* label = new TGPLabel(&window);
        label->SetCaption(caption);
        page->AddObject(label, Rect(x, y, x + 80, y + 30));
        return label;
    }
};

QString cellText(TCalendarPanel32* page, int cell) { return page->CellRtf(cell)->Document()->toPlainText().trimmed(); }

QPoint centreOnScreen(const QWidget* w, const Rect& r) {
    return w->mapToGlobal(QPoint(r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2));
}

}  // namespace

TEST(PageKeyboard, ArrowsMoveTheCellFocusOverDayCellsAndEnterEditsThatCell) {
    KeyboardWindow w;
    TCalendarPanel32* page = w.page;
    ASSERT_TRUE(page->hasFocus());
    w.key(Qt::Key_Left);  // the cell before the 1st shows no day
    w.key(Qt::Key_Up);
    EXPECT_EQ(page->FocusedCell(), page->CellOfDay(1));
    w.key(Qt::Key_Right);
    w.key(Qt::Key_Down);
    EXPECT_EQ(page->FocusedCell(), page->CellOfDay(9));
    w.key(Qt::Key_End);
    w.key(Qt::Key_Down);  // nothing below the 31st
    EXPECT_EQ(page->FocusedCell(), page->CellOfDay(31));
    w.key(Qt::Key_Up);

    w.key(Qt::Key_Return);
    ASSERT_TRUE(w.window.CellEditor()->isVisible());
    EXPECT_EQ(w.window.CurrentCell(), page->CellOfDay(24));
    // A screen reader hears which day the editor writes into.
    const QString day = CellCaption(page->Settings(), page->Layout(), page->CellOfDay(24));
    EXPECT_TRUE(day.contains(QStringLiteral("24"))) << day.toStdString();
    EXPECT_EQ(w.window.CellEditor()->accessibleName(), QStringLiteral("Text of ") + day);
    QTest::keyClicks(w.window.CellEditor(), QStringLiteral("Christmas Eve"));
    // Escape closes the editor keeping the text, back on the same cell of the page.
    w.key(Qt::Key_Escape);
    EXPECT_FALSE(w.window.CellEditor()->isVisible());
    EXPECT_TRUE(page->hasFocus());
    EXPECT_EQ(cellText(page, page->CellOfDay(24)), QStringLiteral("Christmas Eve"));
    EXPECT_EQ(page->FocusedCell(), page->CellOfDay(24));
    w.key(Qt::Key_F2);
    EXPECT_EQ(w.window.CurrentCell(), page->CellOfDay(24));
    w.key(Qt::Key_Escape);

    // The page is the window's one stop for Tab while no cell is edited (the scrolling area around it is
    // none): Tab keeps the cell focus, and from a selected object comes back to it as Escape does.
    w.key(Qt::Key_Tab);
    EXPECT_TRUE(page->hasFocus());
    EXPECT_EQ(page->FocusedCell(), page->CellOfDay(24));
    w.addLabel(QStringLiteral("one"), 10, 10);
    w.key(Qt::Key_Tab, Qt::ControlModifier);
    ASSERT_TRUE(page->Frame()->hasFocus());
    w.key(Qt::Key_Tab);
    EXPECT_TRUE(page->hasFocus());
    EXPECT_EQ(page->Frame()->SelectionCount(), 0);  // else Delete on the cells would remove it
}

TEST(PageKeyboard, ToolAndEnterPlaceTheObjectAtTheFocusedCellAndOpenItsDialog) {
    KeyboardWindow w;
    TCalendarPanel32* page = w.page;
    w.window.Action(QStringLiteral("DrawLabelButton"))->trigger();
    page->setFocus();
    w.key(Qt::Key_Right);
    w.key(Qt::Key_Return);
    ASSERT_EQ(page->ObjectCount(), 1);
    EXPECT_EQ(w.dialogs.size(), 1);  // the label's text dialog, as after drawing it
    const Rect cell = page->DrawState().cells[page->CellOfDay(2) - 1].rTotal;
    EXPECT_EQ(page->ObjectAt(0)->Left(), cell.left + 2);
    EXPECT_EQ(page->ObjectAt(0)->Top(), cell.top + 2);
    EXPECT_TRUE(page->Pointing());
    // Back with the pointer, Enter opens the cell again.
    page->setFocus();
    w.key(Qt::Key_Return);
    EXPECT_TRUE(w.window.CellEditor()->isVisible());
    EXPECT_EQ(page->ObjectCount(), 1);
    w.key(Qt::Key_Escape);

    // A SuperText placed from the last column takes the width its kind gives itself (a click's size
    // would show one letter) and lays out its height; its properties dialog opens as after drawing.
    w.dialogs.clear();
    page->SetZoom(1.0f);
    page->repaint();
    w.window.Action(QStringLiteral("DrawSuperText"))->trigger();
    page->setFocus();
    w.key(Qt::Key_End);
    w.key(Qt::Key_Up);
    for (int i = 0; i < 3; ++i) w.key(Qt::Key_Right);  // Saturday 27 December, in the last column
    w.key(Qt::Key_Return);
    ASSERT_EQ(page->ObjectCount(), 2);
    EXPECT_EQ(w.dialogs, QStringList{QStringLiteral("plennix::TSuperTextProperties")});
    TGSuperText fresh(nullptr);
    const Rect saturday = page->DrawState().cells[page->CellOfDay(27) - 1].rTotal;
    TGGraphicControl* text = page->ObjectAt(1);
    EXPECT_EQ(text->Left(), saturday.left + 2);
    EXPECT_EQ(text->Top(), saturday.top + 2);
    EXPECT_EQ(text->Width(), fresh.Width());
    EXPECT_GE(text->Height(), fresh.Height());
    // A rich text label there is wider than the rest of the page: it is moved back inside.
    w.window.Action(QStringLiteral("DrawRichText"))->trigger();
    page->setFocus();
    w.key(Qt::Key_Return);
    ASSERT_EQ(page->ObjectCount(), 3);
    TGGraphicControl* rich = page->ObjectAt(2);
    EXPECT_GT(rich->Width(), page->width() - saturday.left);
    EXPECT_EQ(rich->Left() + rich->Width(), page->width());
    EXPECT_EQ(rich->Top(), saturday.top + 2);
}

TEST(PageKeyboard, CtrlTabWalksTheSelectableObjectsAndMenusOpenAtTheirPlace) {
    KeyboardWindow w;
    TCalendarPanel32* page = w.page;
    TGPLabel* first = w.addLabel(QStringLiteral("first"), 20, 20);
    TGPLabel* hidden = w.addLabel(QStringLiteral("unselectable"), 120, 20);
    TGPLabel* last = w.addLabel(QStringLiteral("last"), 220, 20);
    hidden->SetUnselectable(true);
    page->setFocus();
    TGHandle* frame = page->Frame();
    auto selected = [&] { return frame->SelectionCount() == 1 ? frame->SelectedObject(0) : nullptr; };

    w.key(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(selected(), first);
    EXPECT_TRUE(frame->hasFocus());
    w.key(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(selected(), last);
    w.key(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(selected(), first);
    w.key(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(selected(), last);

    // The frame's own keys then act on it.
    const Rect before = last->BoundsRect();
    w.key(Qt::Key_Right);
    EXPECT_EQ(last->Left(), before.left + 1);

    // Shift+F10 opens the object's own menu at the object, not at the mouse.
    QCursor::setPos(0, 0);
    w.key(Qt::Key_F10, Qt::ShiftModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu, ObjectContextMenu(*last));
    EXPECT_EQ(menu->pos(), centreOnScreen(page, last->BoundsRect()));
    w.closeMenu(menu);

    // Escape returns to the cell focus; the Menu key there opens the page's menu at the cell.
    w.key(Qt::Key_Escape);
    EXPECT_EQ(frame->SelectionCount(), 0);
    EXPECT_TRUE(page->hasFocus());
    w.key(Qt::Key_Menu);
    menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu, page->PanelMenu());
    // (moved up as far as it takes to fit on the screen)
    const QPoint cellCentre = centreOnScreen(page, page->DrawState().cells[page->FocusedCell() - 1].rTotal);
    EXPECT_EQ(menu->x(), cellCentre.x());
    EXPECT_TRUE(menu->y() <= cellCentre.y() && menu->geometry().bottom() >= cellCentre.y());
    w.closeMenu(menu);

    // Delete takes the selected object away and leaves the keyboard on the page.
    w.key(Qt::Key_Tab, Qt::ControlModifier);
    w.key(Qt::Key_Delete);
    QCoreApplication::processEvents();
    EXPECT_EQ(page->ObjectCount(), 2);
    EXPECT_TRUE(page->hasFocus());
}
