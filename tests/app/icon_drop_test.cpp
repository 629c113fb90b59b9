// An icon dragged from the palette onto the page the way a person drags it: from beside the page, so
// that the pointer comes in over the margin and only then reaches a day cell.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>
#include <QDragEnterEvent>
#include <QFile>
#include <QMimeData>
#include <memory>

#include "app/icon_palette.h"
#include "app/main_window.h"
#include "calendar/calendar_panel.h"
#include "platform/common_dialogs.h"
#include "platform/program_folder.h"
#include "richtext/rtf_storage.h"
#include "test_support.h"

using namespace plennix;

namespace {

bool send(QWidget* target, QDropEvent& e) {
    e.setAccepted(false);
    QCoreApplication::sendEvent(target, &e);
    return e.isAccepted();
}

}  // namespace

TEST(IconDrop, ADragEnteringOverTheMarginDropsIntoTheCellItReaches) {
    QFile::remove(ProgramFile(QStringLiteral("PX.ini")));
    test::MessageRecorder messages;
    TCalendarMain window;
    {
        SetModalDialogRunner([](QDialog&) { return int(QDialog::Accepted); });
        window.FormActivate();
        window.New1Click();
        SetModalDialogRunner(nullptr);
    }
    TCalendarPanel32* page = window.CalendarPanel();
    page->SetCalendarLayout(TCalendarLayout::loFullCalendar);
    page->RenderPage();
    window.show();
    window.SetModified(false);

    // What the palette's icon list hands to a drag.
    TIconListBox icons;
    icons.SetFileName(DataDir() + QStringLiteral("misc1.icl"));
    ASSERT_GT(icons.NumberOfIcons(), 0);
    const std::unique_ptr<QMimeData> data(icons.DragData({icons.item(0)}));
    ASSERT_TRUE(data);

    const int cell = page->CellOfDay(12);
    const Rect whole = page->DrawState().cells[cell - 1].rTotal;
    const QPoint margin(1, page->height() / 2);
    ASSERT_FALSE(page->PointInCell(margin.x(), margin.y()));
    const QPoint corner(whole.left + 1, whole.top + 1);  // inside the cell, by its edge
    ASSERT_TRUE(page->PointInCell(corner.x(), corner.y()));

    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(margin, actions, data.get(), Qt::LeftButton, Qt::NoModifier);
    EXPECT_TRUE(send(page, enter));  // taken in, so that the moves follow ...
    QDragMoveEvent overMargin(margin, actions, data.get(), Qt::LeftButton, Qt::NoModifier);
    EXPECT_FALSE(send(page, overMargin));  // ... but no drop on the margin
    QDragMoveEvent overCell(corner, actions, data.get(), Qt::LeftButton, Qt::NoModifier);
    EXPECT_TRUE(send(page, overCell));
    QDropEvent drop(corner, actions, data.get(), Qt::LeftButton, Qt::NoModifier);
    EXPECT_TRUE(send(page, drop));
    EXPECT_EQ(window.CurrentCell(), cell);
    EXPECT_TRUE(window.Modified());
    window.DoSaveRichtext();
    EXPECT_FALSE(page->CellRtf(cell)->IsEmpty());

    // Text is no picture: refused from the start.
    QMimeData text;
    text.setText(QStringLiteral("words"));
    QDragEnterEvent textEnter(margin, actions, &text, Qt::LeftButton, Qt::NoModifier);
    EXPECT_FALSE(send(page, textEnter));
}
