// The calendar page widget: clicks on cells with and without covering objects, creation by tool, zoom
// and the page's own files.
#include <gtest/gtest.h>

#include <QDialog>
#include <QTemporaryDir>
#include <QTest>

#include "calendar/calendar_panel.h"
#include "platform/common_dialogs.h"
#include "surface/handle.h"
#include "surface/label.h"

using namespace plennix;

namespace {

struct PageFixture {
    QWidget owner;
    TCalendarPanel32* page;
    std::vector<std::pair<int, int>> cellClicks;  // (cell, day)
    int clicks = 0;
    PageFixture() {
        page = new TCalendarPanel32(&owner);
        page->SetNamingOwner(&owner);
        page->ResetToDefaults();
        page->SetCalendarLayout(TCalendarLayout::loFullCalendar);
        page->SetMainCalYear(2026);
        page->SetMainCalMonth(12);
        page->ClickedInCellEvent = [this](const Rect&, const Rect&, int cell, int day, TWPRtfStorage&) {
            cellClicks.push_back({cell, day});
        };
        page->OnClick = [this](QObject*) { ++clicks; };
        owner.resize(page->size());
        owner.show();
        (void)QTest::qWaitForWindowExposed(&owner);
        page->RenderPage();  // a drawing pass records the cells
    }
    QPoint centreOfDay(int day) const {
        const int cell = page->CellOfDay(day);
        const Rect r = page->DrawState().cells[cell - 1].rTotal;
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void click(QPoint p) {
        QTest::mousePress(page, Qt::LeftButton, Qt::NoModifier, p);
        QTest::mouseRelease(page, Qt::LeftButton, Qt::NoModifier, p);
    }
};

}  // namespace

TEST(CalendarPage, ClickOnADayCellRaisesTheCellEvent) {
    PageFixture f;
    // December 2026 begins on a Tuesday: with weeks from Sunday, day 1 is in cell 3.
    EXPECT_EQ(f.page->CellOfDay(1), 3);
    EXPECT_EQ(f.page->CellOfDay(32), -1);
    f.click(f.centreOfDay(15));
    ASSERT_EQ(f.cellClicks.size(), 1u);
    EXPECT_EQ(f.cellClicks[0].first, f.page->CellOfDay(15));
    EXPECT_EQ(f.cellClicks[0].second, 15);
    EXPECT_EQ(f.page->CellAtPoint(f.centreOfDay(15).x(), f.centreOfDay(15).y()), f.page->CellOfDay(15));
}

TEST(CalendarPage, CoveredCellsAndCreationToolsRaiseNoCellEvent) {
    PageFixture f;
    const QPoint p = f.centreOfDay(15);
    auto* label = new TGPLabel(&f.owner);
    label->Loaded();
    label->SetUnselectable(true);  // presses pass through to the page, but the cell is covered
    f.page->AddObject(label, Rect::fromBounds(p.x() - 20, p.y() - 10, 60, 30));
    f.click(p);
    EXPECT_TRUE(f.cellClicks.empty());
    f.page->SetPanelState(TLPanelState::psFlatCalendar);
    f.click(f.centreOfDay(16));
    EXPECT_TRUE(f.cellClicks.empty());
}

TEST(CalendarPage, TextToolCreatesAFramedLabelAndReturnsToPointing) {
    PageFixture f;
    SetModalDialogRunner([](QDialog&) { return int(QDialog::Rejected); });
    f.page->SetPanelState(TLPanelState::psLabel);
    EXPECT_FALSE(f.page->Pointing());
    const QPoint p = f.centreOfDay(20);
    QTest::mousePress(f.page, Qt::LeftButton, Qt::NoModifier, p);
    QTest::mouseMove(f.page, p + QPoint(10, 5));
    QTest::mouseRelease(f.page, Qt::LeftButton, Qt::NoModifier, p + QPoint(10, 5));
    SetModalDialogRunner(nullptr);
    ASSERT_EQ(f.page->ObjectCount(), 1);
    auto* label = qobject_cast<TGPLabel*>(f.page->ObjectAt(0));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Left(), p.x());
    EXPECT_EQ(label->Width(), 50);  // a 10 x 5 rectangle is widened (and the label fits its height to the font)
    EXPECT_GE(label->Height(), 15);
    EXPECT_EQ(label->Caption(), QStringLiteral("Enter text..."));
    EXPECT_EQ(label->Font().size(), 20);
    EXPECT_FALSE(label->Transparent());
    EXPECT_EQ(label->BorderStyle(), bsSingle);
    EXPECT_EQ(f.page->PanelState(), TLPanelState::psPointing);
    EXPECT_TRUE(f.page->Pointing());
    EXPECT_TRUE(f.cellClicks.empty());
}

TEST(CalendarPage, SizeFollowsLayoutAndZoom) {
    PageFixture f;
    const int w = f.page->Layout().PanelWidth(1.0f);
    EXPECT_EQ(f.page->width(), w);
    f.page->SetZoom(0.5f);
    EXPECT_EQ(f.page->width(), f.page->Layout().PanelWidth(0.5f));
    f.page->SetCalendarLayout(TCalendarLayout::LOFullCalendarLS);
    EXPECT_EQ(f.page->Settings().CalendarOrientation, TCalendarOrientation::coLandscape);
    EXPECT_GT(f.page->width(), f.page->height());
}

TEST(CalendarPage, DocumentRoundTripKeepsTextsObjectsAndTitle) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Round.PXF"));
    {
        PageFixture f;
        TWPRtfStorage text;
        text.SetRtfData("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Meeting\\par}");
        f.page->SetCellRtf(f.page->CellOfDay(9), text);
        f.page->SetUserTitle(QStringLiteral("Winter"));
        auto* label = new TGPLabel(&f.owner);
        label->Loaded();
        label->SetCaption(QStringLiteral("Hello"));
        f.page->AddObject(label, Rect::fromBounds(100, 120, 142, 33));
        f.page->SaveToFile(path);
    }
    PageFixture g;
    g.page->ClearObjects();
    g.page->LoadFromFile(path, &g.owner);
    EXPECT_EQ(g.page->Settings().UserTitle, QStringLiteral("Winter"));
    ASSERT_EQ(g.page->ObjectCount(), 1);
    auto* label = qobject_cast<TGPLabel*>(g.page->ObjectAt(0));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Caption(), QStringLiteral("Hello"));
    EXPECT_EQ(label->Left(), 100);
    EXPECT_TRUE(g.page->HasCellText());
    g.page->RenderPage();
    EXPECT_FALSE(g.page->CellRtf(g.page->CellOfDay(9))->IsEmpty());
    g.page->ClearCellTexts();
    EXPECT_FALSE(g.page->HasCellText());
}
