// --import-ics and --export-ics: the recurring dates list gains the events of a file (status 2 when some
// were left out), a file that is no calendar changes nothing, and the export gives the list back.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "command_line_support.h"
#include "platform/code_page.h"
#include "platform/file_io.h"
#include "recurring/formula.h"
#include "recurring/ical.h"
#include "recurring/store.h"

using namespace plennix;

namespace {
using test::Parse;
using test::RunCapturingStderr;

QByteArray Calendar(const QByteArray& events) {
    QByteArray body = "BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:x\n" + events + "END:VCALENDAR\n";
    body.replace("\n", "\r\n");
    return body;
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

// The import always says how many dates it added and how many events it left out; an event on one date
// is left out unless --ics-keep-dated asks for it; an export that cannot be written names its file.
TEST(IcsCommandLine, ImportSaysWhatItDidAndKeepsSingleDatesOnlyWhenAsked) {
    ScopedCodePage page(1252);
    QFile::remove(RecurringDatesPath());
    const QString ics = RecurringDatesPath() + QStringLiteral(".dated.ics");
    ASSERT_TRUE(WriteFileAtomically(ics, Calendar("BEGIN:VEVENT\nUID:1\nDTSTART;VALUE=DATE:20240704\nRRULE:FREQ=YEARLY\n"
                                                  "SUMMARY:Picnic\nEND:VEVENT\n")));
    auto [status, errors] = RunCapturingStderr(Parse({"--import-ics", ics}));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(errors, QStringLiteral("plennix: Imported from %1: 1 date added, 0 events left out\n").arg(ics));

    ASSERT_TRUE(WriteFileAtomically(ics, Calendar("BEGIN:VEVENT\nUID:2\nDTSTART;VALUE=DATE:20270329\n"
                                                  "SUMMARY:Easter Monday\nEND:VEVENT\n")));
    std::tie(status, errors) = RunCapturingStderr(Parse({"--import-ics", ics}));
    EXPECT_EQ(status, 2);
    EXPECT_EQ(errors, QStringLiteral("plennix: left out: Easter Monday: it falls on a single date (2027-03-29), which "
                                     "does not come back every year\nplennix: Imported from %1: 0 dates added, 1 event "
                                     "left out\n")
                          .arg(ics));
    EXPECT_EQ(LoadRecurringDates().value().size(), 1);

    EXPECT_EQ(Parse({"--export-ics", ics, "--ics-keep-dated"}).action, CommandLine::Action::Usage);
    const CommandLine keep = Parse({"--import-ics", ics, "--ics-keep-dated"});
    ASSERT_EQ(keep.action, CommandLine::Action::ImportIcs);
    std::tie(status, errors) = RunCapturingStderr(keep);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(LoadRecurringDates().value(),
              (QStringList{BuildEntry(QStringLiteral("Easter Monday (2027)"), QStringLiteral("@0329")),
                           BuildEntry(QStringLiteral("Picnic"), QStringLiteral("@0704"))}));

    const QString unwritable = RecurringDatesPath() + QStringLiteral(".no-such-folder/dates.ics");
    std::tie(status, errors) = RunCapturingStderr(Parse({"--export-ics", unwritable}));
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(errors.contains(unwritable)) << errors.toStdString();
    QFile::remove(ics);
    QFile::remove(RecurringDatesPath());
}
