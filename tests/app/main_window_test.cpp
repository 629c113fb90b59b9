// The main window: zoom steps and caption, the cell editing cycle, and documents through its commands.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>

#include "app/main_window.h"
#include "calendar/calendar_panel.h"
#include "richtext/rich_text_editor.h"
#include "test_support.h"

using namespace plennix;

TEST(MainWindow, ZoomStepsAndCaption) {
    TCalendarMain window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Plennix    [60%]"));
    window.ZoomOut();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Plennix    [50%]"));
    window.ZoomOut();  // below 0.6: no further step
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Plennix    [50%]"));
    for (int i = 0; i < 10; ++i) window.ZoomIn();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Plennix    [100%]"));
    EXPECT_EQ(window.CalendarPanel()->width(), window.CalendarPanel()->Layout().PanelWidth(window.CalendarPanel()->Zoom()));
}

TEST(MainWindow, CellEditorStoresItsTextAndMovesWithTab) {
    TCalendarMain window;
    window.show();
    (void)QTest::qWaitForWindowExposed(&window);
    TCalendarPanel32* page = window.CalendarPanel();
    page->SetCalendarLayout(TCalendarLayout::loFullCalendar);
    page->RenderPage();
    const int cell = page->CellOfDay(10);
    ASSERT_GT(cell, 0);
    page->ClickCell(cell);
    ASSERT_TRUE(window.CellEditor()->isVisible());
    QTest::keyClicks(window.CellEditor(), QStringLiteral("Dentist"));
    EXPECT_TRUE(window.Modified());
    QTest::keyClick(window.CellEditor(), Qt::Key_Tab);  // to the next cell, storing this one
    EXPECT_FALSE(page->CellRtf(cell)->IsEmpty());
    EXPECT_TRUE(window.CellEditor()->isVisible());
    window.DoSaveRichtext();
    EXPECT_FALSE(window.CellEditor()->isVisible());
    EXPECT_TRUE(page->CellRtf(cell + 1)->IsEmpty());  // nothing typed there
}

TEST(MainWindow, SaveAndOpenKeepTheZoomAndReportBadFiles) {
    QTemporaryDir dir;
    test::MessageRecorder messages(false);
    TCalendarMain window;
    const float zoom = window.CalendarPanel()->Zoom();
    const QString path = dir.filePath(QStringLiteral("Dec.PXF"));
    window.CalendarPanel()->SetUserTitle(QStringLiteral("My year"));
    ASSERT_TRUE(window.SaveDocument(path));
    EXPECT_FALSE(window.Modified());
    EXPECT_FLOAT_EQ(window.CalendarPanel()->Zoom(), zoom);
    EXPECT_TRUE(window.windowTitle().contains(QStringLiteral("[Dec.PXF]")));
    window.NewCalendar();
    EXPECT_TRUE(window.CalendarPanel()->Settings().UserTitle.isEmpty());
    ASSERT_TRUE(window.OpenDocument(path));
    EXPECT_EQ(window.CalendarPanel()->Settings().UserTitle, QStringLiteral("My year"));

    QFile bad(dir.filePath(QStringLiteral("Bad.PXF")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("\x01\x02\x03");
    bad.close();
    EXPECT_FALSE(window.OpenDocument(bad.fileName()));
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.lastText(), QStringLiteral("Unable to open ") + bad.fileName() +
                                       QStringLiteral(". Possibly \rcorrupted, possibly not a Calendar file"));
    EXPECT_FALSE(window.OpenDocument(dir.filePath(QStringLiteral("Gone.PXF"))));
    EXPECT_TRUE(messages.lastText().endsWith(QStringLiteral(" no longer exists")));
}
