// --fill: the recurring dates of PXRECUR.DAX are put into the document's page before it is dumped or
// exported, every page of a --months run gets its own month's dates, and an unreadable list fails.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QObject>
#include <QTemporaryDir>
#include <cstdio>
#include <unistd.h>

#include "command_line_support.h"
#include "app/document_io.h"
#include "app/print_commands.h"
#include "calendar/calendar_panel.h"
#include "platform/common_dialogs.h"
#include "platform/program_folder.h"
#include "recurring/formula.h"
#include "recurring/store.h"
#include "test_support.h"

using namespace plennix;

namespace {

using test::Parse;
using test::RunCapturingStdout;

// A month page of December 1997 with empty cells.
QString December1997(const QTemporaryDir& dir) {
    return test::SaveDecember1997(dir.filePath(QStringLiteral("December.PXF")));
}

TEST(FillCommandLine, GoesOnlyWithCommandsThatOutputTheDocument) {
    EXPECT_TRUE(Parse({"--fill", "--dump", "a.PXF"}).fill);
    EXPECT_EQ(Parse({"--fill", "--print-pdf", "a.pdf", "--months", "3", "a.PXF"}).action,
              CommandLine::Action::PrintPdf);
    EXPECT_EQ(Parse({"--fill", "a.PXF"}).action, CommandLine::Action::Usage);
    EXPECT_EQ(Parse({"--fill", "--import-ics", "x.ics"}).action, CommandLine::Action::Usage);
}

TEST(FillCommandLine, DumpShowsTheFilledTextsAndTheFileIsLeftAlone) {
    QTemporaryDir dir;
    const QString doc = December1997(dir);
    ASSERT_TRUE(SaveRecurringDates({BuildEntry("Christmas Day", "@1225"), BuildEntry("Independence", "@0704")}));
    QFile original(doc);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray before = original.readAll();
    original.close();

    const auto [status, dump] = RunCapturingStdout(Parse({"--fill", "--dump", doc}));
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(dump.contains(QStringLiteral("Christmas Day")));
    EXPECT_FALSE(dump.contains(QStringLiteral("Independence")));
    const auto [plainStatus, plain] = RunCapturingStdout(Parse({"--dump", doc}));
    EXPECT_EQ(plainStatus, 0);
    EXPECT_FALSE(plain.contains(QStringLiteral("Christmas Day")));
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    EXPECT_EQ(original.readAll(), before);
}

TEST(FillCommandLine, EveryPageOfARunGetsItsOwnMonthAndAnUnreadableListFails) {
    QTemporaryDir dir;
    const QString doc = December1997(dir);
    // Only January has a date: the December page stays as it was, the January page changes.
    ASSERT_TRUE(SaveRecurringDates({BuildEntry("New Year's Day", "@0101")}));
    const QString plain = dir.filePath(QStringLiteral("plain.png"));
    const QString filled = dir.filePath(QStringLiteral("filled.png"));
    ASSERT_EQ(RunCommandLine(Parse({"--export-png", plain, "--months", "2", doc})), 0);
    ASSERT_EQ(RunCommandLine(Parse({"--fill", "--export-png", filled, "--months", "2", doc})), 0);
    auto page = [&](const QString& path, int n) {
        return QImage(QFileInfo(path).path() + QStringLiteral("/%1-0%2.png").arg(QFileInfo(path).completeBaseName()).arg(n));
    };
    ASSERT_FALSE(page(plain, 1).isNull());
    EXPECT_EQ(page(plain, 1), page(filled, 1));
    EXPECT_NE(page(plain, 2), page(filled, 2));

    // PXRECUR.DAX that is a folder cannot be read: the run fails and writes nothing.
    QFile::remove(RecurringDatesPath());
    ASSERT_TRUE(QDir().mkpath(RecurringDatesPath()));
    test::MessageRecorder messages;
    const QString none = dir.filePath(QStringLiteral("none.pdf"));
    EXPECT_EQ(RunCommandLine(Parse({"--fill", "--print-pdf", none, doc})), 1);
    EXPECT_FALSE(QFile::exists(none));
    QDir(RecurringDatesPath()).removeRecursively();
}

// A week planner's days are not those of one month: a month's texts would land on the cells of other
// months' days with the same number. The fill leaves its cells alone and says so, on the command line
// as in the window's Print Months.
TEST(FillCommandLine, AWeekPlannerIsLeftUnfilledAndTheRunSaysSo) {
    QTemporaryDir dir;
    QObject owner;
    TCalendarPanel32 page(nullptr);
    page.SetNamingOwner(&owner);
    page.SetCalendarLayout(TCalendarLayout::loWeek);
    page.SetMainCalYear(1997);
    page.SetMainCalMonth(12);
    page.SetMainCalDay(29);
    const QString doc = dir.filePath(QStringLiteral("Week.PXF"));
    QString error;
    ASSERT_TRUE(SavePageDocument(page, doc, &error)) << error.toStdString();
    // The week of 29 December shows the 1st of January, where December's first would land.
    ASSERT_TRUE(SaveRecurringDates({BuildEntry("December first", "@1201"), BuildEntry("Monthly", "@0029")}));

    testing::internal::CaptureStderr();
    const auto [status, dump] = RunCapturingStdout(Parse({"--fill", "--dump", doc}));
    const QString said = QString::fromLocal8Bit(testing::internal::GetCapturedStderr());
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(dump.contains(QStringLiteral("29")));  // the dump itself is there
    EXPECT_FALSE(dump.contains(QStringLiteral("December first")));
    EXPECT_FALSE(dump.contains(QStringLiteral("Monthly")));
    EXPECT_TRUE(said.contains(QStringLiteral("month pages only"))) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("week planner"))) << said.toStdString();

    bool offered = true;
    QString why;
    test::ScopedHook dialogs(SetModalDialogRunner, [&](QDialog& d) {
        auto* fill = d.findChild<QCheckBox*>(QStringLiteral("FillCheck"));
        EXPECT_NE(fill, nullptr);
        if (fill) {
            offered = fill->isEnabled();
            why = fill->toolTip();
        }
        return int(QDialog::Rejected);
    });
    PrintMonthsCommand(nullptr, page);
    EXPECT_FALSE(offered);
    EXPECT_TRUE(why.contains(QStringLiteral("week planner"))) << why.toStdString();
}

}  // namespace
