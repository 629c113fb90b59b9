// Every one of the 22 layouts, from one table: orientation and page size, which parts are shown, how
// many mini months there are and which months they show, that the parts lie on the page without
// overlapping, and that each shown part is drawn.
#include <gtest/gtest.h>

#include <iterator>

#include "calendar/calendar_drawing.h"
#include "calendar/layout_geometry.h"
#include "common/test_support.h"

using namespace plennix;
using plennix::test::DarkPixels;
using L = TCalendarLayout;

namespace {

struct LayoutRow {
    L layout;
    bool landscape;
    bool showMain, showMinis, planner;
    int minis;            // mini months drawn
    int firstMiniOffset;  // months from the main month to mini 1
    int plannerRows;      // planner rows including "Notes"
};

// Mini k shows the main month plus this many months.
int MiniOffset(const LayoutRow& row, int k) {
    // Six before and six after skip the main month itself between minis 6 and 7.
    if (row.layout == L::loFC6Before6After || row.layout == L::loFC6Before6AfterLS)
        return k < 6 ? row.firstMiniOffset + k : k - 5;
    // The two minis in the title are the months before and after.
    if (row.layout == L::loFCMinisInTitle || row.layout == L::loFCMinisInTitleLS) return k == 0 ? -1 : 1;
    return row.firstMiniOffset + k;
}

const LayoutRow kLayouts[] = {
    {L::loFullCalendar, false, true, false, false, 0, 0, 0},
    {L::LOFullCalendarLS, true, true, false, false, 0, 0, 0},
    {L::loFCMinisInTitle, false, true, true, false, 2, -1, 0},
    {L::loFCMinisInTitleLS, true, true, true, false, 2, -1, 0},
    {L::loFC6Before6After, false, true, true, false, 12, -6, 0},
    {L::loFC6Before6AfterLS, true, true, true, false, 12, -6, 0},
    {L::loFC12After, false, true, true, false, 12, 1, 0},
    {L::loFC12AfterLS, true, true, true, false, 12, 1, 0},
    {L::lopMC6Month, false, false, true, false, 6, 0, 0},
    {L::lopMC6MonthLS, true, false, true, false, 6, 0, 0},
    {L::loMC12Month, false, false, true, false, 12, 0, 0},
    {L::loMC12MonthLS, true, false, true, false, 12, 0, 0},
    {L::loMC24Month, false, false, true, false, 24, 0, 0},
    {L::loMC24MonthLS, true, false, true, false, 24, 0, 0},
    {L::loMC48Month, false, false, true, false, 48, 0, 0},
    {L::loMC48MonthLS, true, false, true, false, 48, 0, 0},
    {L::loMC60Month, false, false, true, false, 60, 0, 0},
    {L::loMC60MonthLS, true, false, true, false, 60, 0, 0},
    {L::loWeek, false, false, false, true, 0, 0, 8},
    {L::lo2Week, false, false, false, true, 0, 0, 15},
    {L::loDay10, false, false, false, true, 0, 0, 11},
    {L::loDay15, false, false, false, true, 0, 0, 16},
};
static_assert(std::size(kLayouts) == kLayoutCount);

bool Inside(const Rect& inner, const Rect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool Overlap(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

TEST(AllLayouts, GeometryAndDrawingFollowTheTable) {
    for (const LayoutRow& row : kLayouts) {
        SCOPED_TRACE(static_cast<int>(row.layout));
        CalendarSettings s;
        s.CalendarLayout = row.layout;
        s.PaperSize = 0;  // Letter
        s.MainCalMonth = 1;  // January, so that minis before and after cross a year
        s.MainCalYear = 1998;
        s.MainCalDay = 5;
        const LayoutResult r = ArrangeLayout(s, true, {}, 96);

        EXPECT_EQ(s.CalendarOrientation,
                  row.landscape ? TCalendarOrientation::coLandscape : TCalendarOrientation::coPortrait);
        EXPECT_EQ(r.width, row.landscape ? 1056 : 816);
        EXPECT_EQ(r.height, row.landscape ? 816 : 1056);
        EXPECT_EQ(r.ShowMain, row.showMain);
        EXPECT_EQ(r.ShowMinis, row.showMinis);
        EXPECT_EQ(r.IsPlanner, row.planner);
        EXPECT_EQ(IsPlannerLayout(row.layout), row.planner);
        EXPECT_EQ(IsLandscapeLayout(row.layout), row.landscape);
        EXPECT_EQ(PlannerRowCount(row.layout), row.plannerRows);
        EXPECT_TRUE(Inside(r.contentRect, Rect(0, 0, r.width, r.height)));

        if (row.showMain || row.planner) {
            EXPECT_FALSE(r.mainRect.isEmpty());
            EXPECT_TRUE(Inside(r.mainRect, r.contentRect));
        }
        if (row.showMinis) {
            ASSERT_EQ(r.miniCount, row.minis);
            for (int k = 0; k < r.miniCount; ++k) {
                SCOPED_TRACE(k);
                const MiniCalendar& mini = r.minis[k];
                EXPECT_FALSE(mini.rect.isEmpty());
                // Twelve-after pages keep their minis a little outside the content rectangle's inset.
                EXPECT_TRUE(Inside(mini.rect, Rect(0, 0, r.width, r.height)));
                const CalDate expected = AddMonths(1, 1998, MiniOffset(row, k));
                EXPECT_EQ(mini.month, expected.month);
                EXPECT_EQ(mini.year, expected.year);
                for (int j = 0; j < k; ++j) {
                    EXPECT_FALSE(Overlap(mini.rect, r.minis[j].rect)) << "mini " << j;
                }
                // Minis in the title lie inside the main calendar; all others beside it.
                if (row.showMain) {
                    EXPECT_EQ(Overlap(mini.rect, r.mainRect), row.minis == 2);
                }
            }
        }

        PageDrawState state;
        const QImage image = PaintToBitmap(s, r, 1.0f, state, nullptr, 96);
        EXPECT_EQ(image.width(), r.width);
        EXPECT_EQ(image.height(), r.height);
        if (row.showMain || row.planner) {
            EXPECT_GT(DarkPixels(image, r.mainRect), 100);
        }
        for (int k = 0; row.showMinis && k < r.miniCount; ++k) {
            EXPECT_GT(DarkPixels(image, r.minis[k].rect), 10) << "mini " << k;
        }
        // Nothing is drawn outside the content rectangle but the page itself.
        EXPECT_EQ(DarkPixels(image, Rect(0, 0, r.width, r.contentRect.top - 2)), 0);
    }
}

// Output measures a page never shown without drawing it; what it finds must be what a drawing pass
// leaves, on every layout, with the numbers centred or in the corner, at any zoom, whatever an earlier
// pass left.
TEST(AllLayouts, MeasuringFindsWhatDrawingLeaves) {
    PageDrawState left;  // an earlier pass's state, to be replaced whole
    for (const LayoutRow& row : kLayouts) {
        for (const auto position : {TCalendarNumberPosition::cnpCenter, TCalendarNumberPosition::cnpUpperRight}) {
            for (const float zoom : {0.6f, 1.0f, 1.3f}) {
                SCOPED_TRACE(testing::Message() << static_cast<int>(row.layout) << " position "
                                                << static_cast<int>(position) << " zoom " << zoom);
                CalendarSettings s;
                s.CalendarLayout = row.layout;
                s.NumberPosition = position;
                s.MainCalMonth = 1;
                s.MainCalYear = 1998;
                s.MainCalDay = 5;
                const LayoutResult layout = ArrangeLayout(s, true, {}, 96);
                PageDrawState drawn;
                PaintToBitmap(s, layout, zoom, drawn, nullptr, 96);
                PageDrawState measured = left;
                MeasureCalendarPage(s, layout, zoom, measured, 96);
                EXPECT_EQ(measured.titleRect, drawn.titleRect);
                EXPECT_EQ(measured.dayNameRowRect, drawn.dayNameRowRect);
                EXPECT_EQ(measured.cell1Text, drawn.cell1Text);
                for (int i = 0; i < kCellCount; ++i) {
                    EXPECT_EQ(measured.cells[i].rTotal, drawn.cells[i].rTotal) << "cell " << i + 1;
                    EXPECT_EQ(measured.cells[i].rFree, drawn.cells[i].rFree) << "cell " << i + 1;
                    EXPECT_EQ(measured.cells[i].iDay, drawn.cells[i].iDay) << "cell " << i + 1;
                }
                left = drawn;
            }
        }
    }
}
