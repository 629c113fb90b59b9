// --import-ics and --export-ics: the recurring dates list gains the events of a file (status 2 when some
// were left out), a file that is no calendar changes nothing, and the export gives the list back.
#include <gtest/gtest.h>

#include <QFile>

#include "app/command_line.h"
#include "platform/code_page.h"
#include "platform/file_io.h"
#include "recurring/formula.h"
#include "recurring/ical.h"
#include "recurring/store.h"

using namespace plennix;

namespace {
CommandLine Parse(QStringList args) {
    args.prepend(QStringLiteral("plennix"));
    return ParseCommandLine(args);
}
}  // namespace

TEST(IcsCommandLine, ImportAndExportWorkOnTheRecurringDatesList) {
    ScopedCodePage page(1252);
    EXPECT_EQ(Parse({"--import-ics"}).action, CommandLine::Action::Usage);
    const CommandLine import = Parse({"--import-ics", "dates.ics"});
    EXPECT_EQ(import.action, CommandLine::Action::ImportIcs);
    EXPECT_EQ(import.output, QStringLiteral("dates.ics"));
    EXPECT_EQ(Parse({"--export-ics", "out.ics"}).action, CommandLine::Action::ExportIcs);

    QFile::remove(RecurringDatesPath());
    const QString ics = RecurringDatesPath() + QStringLiteral(".cli.ics");
    ASSERT_TRUE(WriteFileAtomically(ics, "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:x\r\nBEGIN:VEVENT\r\nUID:1\r\n"
                                         "DTSTART;VALUE=DATE:20240704\r\nRRULE:FREQ=YEARLY\r\nSUMMARY:Picnic\r\n"
                                         "END:VEVENT\r\nBEGIN:VEVENT\r\nUID:2\r\nDTSTART;VALUE=DATE:20240101\r\n"
                                         "RRULE:FREQ=DAILY;COUNT=3\r\nSUMMARY:Three days\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"));
    EXPECT_EQ(RunCommandLine(Parse({"--import-ics", ics})), 2);
    const QStringList expected = {BuildEntry(QStringLiteral("Picnic"), QStringLiteral("@0704"))};
    EXPECT_EQ(LoadRecurringDates().value(), expected);

    ASSERT_TRUE(WriteFileAtomically(ics, "no calendar"));
    EXPECT_EQ(RunCommandLine(Parse({"--import-ics", ics})), 1);
    EXPECT_EQ(RunCommandLine(Parse({"--import-ics", ics + QStringLiteral(".missing")})), 1);
    EXPECT_EQ(LoadRecurringDates().value(), expected);

    EXPECT_EQ(RunCommandLine(Parse({"--export-ics", ics})), 0);
    EXPECT_EQ(ImportIcs(ReadWholeFile(ics).value()).value().entries, expected);
    QFile::remove(ics);
    QFile::remove(RecurringDatesPath());
}
