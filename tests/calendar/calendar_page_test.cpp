// The calendar page widget: clicks on cells with and without covering objects, creation by tool, zoom
// and the page's own files.
#include <gtest/gtest.h>

#include <QDialog>
#include <QTemporaryDir>
#include <QTest>

#include "calendar/calendar_panel.h"
#include "calendar/calendar_page.h"
#include "platform/common_dialogs.h"
#include "surface/handle.h"
#include "surface/label.h"
#include "objects/super_text.h"

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

// Looking at the page closer or further is a view: through every zoom step and back, and across an
// undo step read back at a zoom, the document keeps its geometry to the pixel.
TEST(CalendarPage, ZoomingNeverChangesTheDocument) {
    PageFixture f;
    auto place = [&](int left, int top, int width, int height) {
        auto* label = new TGPLabel(&f.owner);
        label->Loaded();
        f.page->AddObject(label, Rect::fromBounds(left, top, width, height));
        return label;
    };
    TGPLabel* first = place(5, 15, 205, 20);
    place(61, 703, 77, 31);
    auto* superText = new TGSuperText(&f.owner);
    superText->SetCaption(QStringLiteral("Happy Holidays"));
    f.page->AddObject(superText, Rect::fromBounds(301, 207, 203, 61));
    const QByteArray document = f.page->SaveToBytes();

    std::vector<float> steps;
    for (float z = 1.0f; static_cast<double>(z) >= 0.2;) steps.push_back(z = static_cast<float>(z - 0.1));
    for (float z = steps.back(); static_cast<double>(z) < 1.5;) steps.push_back(z = static_cast<float>(z + 0.1));
    steps.push_back(1.0f);
    for (float z : steps) {
        f.page->SetZoom(z);
        f.page->RenderPage();  // every object laid out and painted at this zoom
        ASSERT_EQ(f.page->SaveToBytes(), document) << "at zoom " << z;
    }
    EXPECT_EQ(first->BoundsRect(), Rect::fromBounds(5, 15, 205, 20));

    // A step undone while the page shows 60 %: the objects read back are shown at that zoom, and the
    // document they make is the same.
    f.page->SetZoom(0.6f);
    QStringList names;
    for (const TGGraphicControl* o : f.page->Objects()) names << o->Name();
    f.page->ClearObjects();
    f.page->LoadFromBytes(document, &f.owner);
    ASSERT_EQ(f.page->ObjectCount(), 3);
    for (int i = 0; i < 3; ++i) f.page->ObjectAt(i)->SetName(names[i]);  // as an undo step does
    EXPECT_EQ(f.page->ObjectAt(0)->BoundsRect(), Rect::fromBounds(3, 9, 123, 12));
    EXPECT_EQ(f.page->SaveToBytes(), document);

    // Moving an object at 60 % moves it in the document to the place shown, and leaves its size as it was.
    TGGraphicControl* moved = f.page->ObjectAt(1);
    const Rect before = Rect::fromBounds(moved->ModelLeft(), moved->ModelTop(), moved->ModelWidth(), moved->ModelHeight());
    ASSERT_EQ(before.left, 61);
    moved->SetLeft(moved->Left() + 6);
    f.page->SetZoom(1.0f);
    EXPECT_EQ(moved->BoundsRect(), before.translated(11, 0));
}

// Drawn apart from any window, the page is what the design surface shows: calendar, cell texts and
// objects, at every zoom.
TEST(CalendarPage, TheDocumentDrawsWithoutItsWindowAsThePageShowsIt) {
    PageFixture f;
    TWPRtfStorage text;
    text.SetRtfData("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Dentist\\par}");
    f.page->SetCellRtf(f.page->CellOfDay(9), text);
    auto* label = new TGPLabel(&f.owner);
    label->Loaded();
    label->SetCaption(QStringLiteral("Party at 8"));
    f.page->AddObject(label, Rect::fromBounds(120, 300, 160, 40));
    auto* superText = new TGSuperText(&f.owner);
    superText->SetCaption(QStringLiteral("Happy Holidays"));
    f.page->AddObject(superText, Rect::fromBounds(300, 500, 220, 70));
    for (float zoom : {1.0f, 0.6f}) {
        f.page->SetZoom(zoom);
        const QImage shown = f.page->RenderPage();
        TCalendarPage apart;
        apart.SetZoom(zoom);
        apart.LoadFromBytes(f.page->SaveToBytes());
        const QImage drawn = apart.RenderPage();
        ASSERT_EQ(drawn.size(), shown.size()) << zoom;
        EXPECT_TRUE(drawn == shown.convertToFormat(drawn.format())) << "at zoom " << zoom;
    }
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

// The window's page is an editor over the page it holds: what it is told reaches that page, what it
// reads into the page can be clicked and selected, and its zoom is the page's.
TEST(CalendarPage, TheWindowShowsAndEditsThePageItHolds) {
    PageFixture f;
    const TCalendarPage& held = f.page->Page();
    f.page->SetMainCalMonth(3);
    EXPECT_EQ(held.Settings().MainCalMonth, 3);
    EXPECT_EQ(f.page->size(), QSize(held.Width(), held.Height()));
    auto* label = new TGPLabel(&f.owner);
    label->Loaded();
    label->SetCaption(QStringLiteral("Spring"));
    f.page->AddObject(label, Rect::fromBounds(40, 60, 120, 30));
    ASSERT_EQ(held.Objects().size(), 1u);
    const QByteArray document = held.SaveToBytes();

    f.page->SetZoom(1.5f);
    EXPECT_EQ(held.Zoom(), 1.5f);
    EXPECT_EQ(held.SaveToBytes(), document);
    EXPECT_EQ(f.page->size(), QSize(held.Width(), held.Height()));

    f.page->LoadFromBytes(document, nullptr, true);
    ASSERT_EQ(held.Objects().size(), 1u);
    TGGraphicControl* read = f.page->ObjectAt(0);
    EXPECT_EQ(read->Left(), 60);  // 40 shown at 150 %
    const QPoint inside(read->Left() + 5, read->Top() + 5);
    QTest::mouseClick(f.page, Qt::LeftButton, Qt::NoModifier, inside);
    EXPECT_EQ(f.page->Frame()->SelectionCount(), 1);
}

// Objects that the window owns outlive the page: when the page goes they leave it without a selection
// or mouse routing that points at it, and the objects nobody owns go with it.
TEST(CalendarPage, ObjectsOutliveThePageWithoutAnythingPointingAtIt) {
    QWidget window;
    QObject keeper;
    auto* page = new TCalendarPanel32(&window);
    page->SetNamingOwner(&keeper);
    auto* kept = new TGPLabel(&keeper);
    kept->Loaded();
    page->AddObject(kept, Rect::fromBounds(10, 10, 80, 30));
    auto* unowned = new TGPLabel(nullptr);
    unowned->Loaded();
    page->AddObject(unowned, Rect::fromBounds(10, 60, 80, 30));
    page->Frame()->AddToSelection(kept);
    const QPointer<TGGraphicControl> gone(unowned);
    delete page;
    EXPECT_TRUE(gone.isNull());
    EXPECT_EQ(kept->List(), nullptr);
    EXPECT_FALSE(kept->OnMouseDown);
    EXPECT_FALSE(kept->OnDblClick);
    // The kept object still works on its own: a change tells no view.
    kept->SetCaption(QStringLiteral("Still here"));
}
