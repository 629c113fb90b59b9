#pragma once
// Shared by the command-line tests: the command line parsed as main() parses it, a month document to run
// on, and a run with what it printed.
#include <gtest/gtest.h>

#include <QObject>
#include <QString>
#include <QStringList>
#include <utility>

#include "app/command_line.h"
#include "app/document_io.h"
#include "app/page_documents.h"
#include "calendar/calendar_panel.h"

namespace plennix::test {

inline CommandLine Parse(QStringList args) {
    args.prepend(QStringLiteral("plennix"));
    return ParseCommandLine(args);
}

// Saves a month page of December 1997 with empty cells at `path` and returns the path.
inline QString SaveDecember1997(const QString& path) {
    QObject owner;
    TCalendarPanel32 page(nullptr);
    page.SetNamingOwner(&owner);
    page.SetCalendarLayout(TCalendarLayout::loFullCalendar);
    page.SetMainCalMonth(12);
    page.SetMainCalYear(1997);
    QString error;
    EXPECT_TRUE(SavePageDocument(page, path, &error)) << error.toStdString();
    return path;
}

// The status of a run and what it wrote to standard error.
inline std::pair<int, QString> RunCapturingStderr(const CommandLine& c) {
    testing::internal::CaptureStderr();
    const int status = RunCommandLine(c);
    return {status, QString::fromLocal8Bit(testing::internal::GetCapturedStderr())};
}

// The status of a run and what it wrote to standard output.
inline std::pair<int, QString> RunCapturingStdout(const CommandLine& c) {
    testing::internal::CaptureStdout();
    const int status = RunCommandLine(c);
    return {status, QString::fromUtf8(testing::internal::GetCapturedStdout())};
}

}  // namespace plennix::test
