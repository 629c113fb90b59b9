// The zoom buttons work on a 4-byte factor; their limits depend on exactly which float is stored. The
// zoom the person sees is what the preferences keep and what the next start shows.
#include <gtest/gtest.h>

#include <QDialog>
#include <QFile>
#include <QSet>
#include <QTest>

#include "app/main_window.h"
#include "app/zoom_steps.h"
#include "calendar/calendar_panel.h"
#include "common/qstring_printer.h"
#include "platform/common_dialogs.h"
#include "platform/ini_file.h"
#include "platform/numbers.h"
#include "platform/program_folder.h"
#include "test_support.h"

using namespace plennix;

namespace {
int shownPercent(float factor) { return roundHalfEven(static_cast<double>(factor) * 100.0); }
}  // namespace

TEST(ZoomSteps, StepsDownFromOneStopAtTheComputedSixTenths) {
    float f = 1.0f;
    int steps = 0;
    for (;;) {
        const float next = ZoomOutStep(f);
        if (next == f) break;
        f = next;
        ++steps;
    }
    EXPECT_EQ(steps, 4);  // 0.9, 0.8, 0.7, then a 0.6 just below 0.6
    EXPECT_LT(static_cast<double>(f), 0.6);
    EXPECT_EQ(ZoomToPercent(f), 60);  // what the caption shows
}

TEST(ZoomSteps, PreferenceSixtyAllowsOneStepDown) {
    const float f = PercentToZoom(60);
    EXPECT_GT(static_cast<double>(f), 0.6);
    const float down = ZoomOutStep(f);
    EXPECT_NE(down, f);
    EXPECT_EQ(ZoomToPercent(down), 50);
    EXPECT_EQ(ZoomOutStep(down), down);
}

TEST(ZoomSteps, StepsUpStopAtAboutOne) {
    float f = PercentToZoom(20);
    EXPECT_FLOAT_EQ(f, 0.2f);
    EXPECT_EQ(ZoomOutStep(f), f);  // below 0.6: no zooming out
    for (int i = 0; i < 20; ++i) f = ZoomInStep(f);
    EXPECT_NEAR(f, 1.0, 1e-5);
    EXPECT_EQ(ZoomToPercent(ZoomInStep(f)), 100);
}

TEST(ZoomSteps, PercentTable) {
    EXPECT_FLOAT_EQ(PercentToZoom(29), 0.2f);
    EXPECT_FLOAT_EQ(PercentToZoom(35), 0.3f);
    EXPECT_FLOAT_EQ(PercentToZoom(99), 0.9f);
    EXPECT_FLOAT_EQ(PercentToZoom(150), 1.0f);
    EXPECT_EQ(ZoomToPercent(0.25f), 20);
    EXPECT_EQ(ZoomToPercent(1.2f), 100);
}

TEST(ZoomSteps, EveryReachableFactorIsStoredAsTheShownPercentAndComesBackShownSo) {
    // Every factor the buttons reach from every stored percent.
    QSet<float> reached;
    std::vector<float> todo;
    for (int percent = 10; percent <= 110; percent += 10) todo.push_back(PercentToZoom(percent));
    while (!todo.empty()) {
        const float f = todo.back();
        todo.pop_back();
        if (reached.contains(f) || reached.size() > 1000) continue;
        reached.insert(f);
        todo.push_back(ZoomInStep(f));
        todo.push_back(ZoomOutStep(f));
    }
    for (float f : reached) {
        SCOPED_TRACE(testing::Message() << "factor " << static_cast<double>(f));
        EXPECT_EQ(ZoomToPercent(f), shownPercent(f));
        EXPECT_EQ(shownPercent(PercentToZoom(ZoomToPercent(f))), shownPercent(f));
    }
    // Older files hold the percents written before: they read as they always did.
    EXPECT_EQ(shownPercent(PercentToZoom(50)), 50);
    EXPECT_EQ(shownPercent(PercentToZoom(65)), 60);
}

TEST(ZoomSteps, TheZoomSeenAtClosingIsTheZoomOfTheNextStart) {
    // Starting at 100 %, the steps down end at a factor just below 0.6, shown as 60 %.
    {
        QFile ini(ProgramFile(QStringLiteral("PX.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write("[Zooming]\r\nMain=100\r\n");
    }
    test::MessageRecorder messages(false);
    {
        TCalendarMain window;
        SetModalDialogRunner([](QDialog&) { return int(QDialog::Accepted); });
        window.FormActivate();
        window.New1Click();
        SetModalDialogRunner(nullptr);
        ASSERT_FALSE(window.CalendarPanel()->isHidden());
        ASSERT_EQ(window.windowTitle(), QStringLiteral("Plennix    [100%]"));
        // Page Up down as far as it goes: 90, 80, 70, 60.
        for (int i = 0; i < 6; ++i) QTest::keyClick(window.CalendarPanel(), Qt::Key_PageUp);
        ASSERT_EQ(window.windowTitle(), QStringLiteral("Plennix    [60%]"));
        window.SetModified(false);
        EXPECT_TRUE(window.close());
    }
    EXPECT_EQ(IniFile(ProgramFile("PX.ini")).readInteger("Zooming", "Main", 0), 60);
    TCalendarMain next;
    EXPECT_EQ(next.windowTitle(), QStringLiteral("Plennix    [60%]"));
}
