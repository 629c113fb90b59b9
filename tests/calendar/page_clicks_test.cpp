#include <gtest/gtest.h>

#include "calendar/page_clicks.h"

using namespace plennix;

namespace {

struct Page {
    CalendarSettings s;
    LayoutResult layout;
    PageDrawState state;
};

Page Drawn(TCalendarLayout layout, TCalendarNumberPosition pos = TCalendarNumberPosition::cnpUpperRight) {
    Page p;
    p.s.CalendarLayout = layout;
    p.s.NumberPosition = pos;
    p.s.MainCalMonth = 1;
    p.s.MainCalYear = 1998;
    p.layout = ArrangeLayout(p.s, false, {}, 96);
    PaintToBitmap(p.s, p.layout, 1.0f, p.state, nullptr, 96);
    return p;
}

}  // namespace

TEST(PageClicks, CellsTitleAndDayRow) {
    Page p = Drawn(TCalendarLayout::loFullCalendar);
    const Rect c5 = p.state.cells[4].rTotal;
    ClickDispatch d = DispatchClick(p.state, p.layout, TLPanelState::psPointing, c5.left + 3, c5.top + 3, false, true);
    EXPECT_EQ(d.cell, 5);
    EXPECT_TRUE(d.clickedInCell);
    EXPECT_FALSE(d.click);

    // A placed object over the cell, or no handler: nothing more, and no OnClick either.
    d = DispatchClick(p.state, p.layout, TLPanelState::psPointing, c5.left + 3, c5.top + 3, true, true);
    EXPECT_FALSE(d.clickedInCell);
    EXPECT_FALSE(d.click);
    // A creation tool: the click does nothing at all.
    d = DispatchClick(p.state, p.layout, TLPanelState::psLabel, c5.left + 3, c5.top + 3, false, true);
    EXPECT_EQ(d.cell, 0);
    EXPECT_FALSE(d.clickedInCell || d.click || d.clickedHeader);

    d = DispatchClick(p.state, p.layout, TLPanelState::psPointing, 400, 100, false, true);
    EXPECT_TRUE(d.clickedHeader);
    EXPECT_FALSE(d.clickedDaysArea);
    EXPECT_TRUE(d.click);
    d = DispatchClick(p.state, p.layout, TLPanelState::psPointing, 400, 210, false, true);
    EXPECT_TRUE(d.clickedDaysArea);
    EXPECT_TRUE(d.click);
}

TEST(PageClicks, CentredNumbersStillReportTheCellWithoutText) {
    Page p = Drawn(TCalendarLayout::loFullCalendar, TCalendarNumberPosition::cnpCenter);
    const Rect c = p.state.cells[9].rTotal;
    ClickDispatch d = DispatchClick(p.state, p.layout, TLPanelState::psPointing, c.left + 1, c.top + 1, false, true);
    EXPECT_EQ(d.cell, 10);
    EXPECT_TRUE(d.clickedInCell);
    EXPECT_TRUE(p.state.cells[9].rFree.isEmpty());
    EXPECT_EQ(NextTextCell(p.state.cells, 10), 0);
}

TEST(PageClicks, MultiMonthPageRaisesOnlyOnClick) {
    Page p = Drawn(TCalendarLayout::loMC12Month);
    ClickDispatch d = DispatchClick(p.state, p.layout, TLPanelState::psPointing, 300, 300, false, true);
    EXPECT_EQ(d.cell, 0);
    EXPECT_TRUE(d.click);
    EXPECT_FALSE(d.clickedInCell);
}

TEST(PageClicks, NeighbourCellsAndClearing) {
    Page p = Drawn(TCalendarLayout::loWeek);
    EXPECT_EQ(PreviousTextCell(p.state.cells, 1), 0);
    EXPECT_EQ(PreviousTextCell(p.state.cells, 2), 1);
    EXPECT_EQ(NextTextCell(p.state.cells, 7), 8);  // Notes
    EXPECT_EQ(NextTextCell(p.state.cells, 8), 0);  // nothing after Notes
    EXPECT_EQ(NextTextCell(p.state.cells, 42), 0);
    ClearCellRects(p.state.cells);
    EXPECT_EQ(CellAtPoint(p.state.cells, 400, 300), 0);
    EXPECT_EQ(NextTextCell(p.state.cells, 1), 0);
}

TEST(PageClicks, PlacementRectangleMinimum) {
    EXPECT_EQ(PlacementRect(Rect(100, 100, 110, 105)), Rect(100, 100, 150, 115));
    EXPECT_EQ(PlacementRect(Rect(100, 100, 125, 115)), Rect(100, 100, 125, 115));
}
