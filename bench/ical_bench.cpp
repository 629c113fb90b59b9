// Importing an iCalendar file of 100,000 yearly, monthly and weekly events: parsing and mapping alone, the
// command line's merge into the recurring dates list, and the list editor's Import… button.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/common_dialogs.h"
#include "platform/messages.h"
#include "platform/program_folder.h"
#include "recurring/ical.h"
#include "recurring/recurring_dates_dialog.h"
#include "recurring/store.h"

using namespace plennix;

namespace {

// A calendar of `n` events with distinct texts, each with a rule that has a formula form.
QByteArray BigCalendar(int n) {
    static const char* const kRules[] = {"RRULE:FREQ=YEARLY", "RRULE:FREQ=MONTHLY;BYDAY=2TU",
                                         "RRULE:FREQ=WEEKLY;BYDAY=MO,WE", "RRULE:FREQ=YEARLY;BYMONTH=5;BYDAY=-1MO"};
    QByteArray out = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Bench//EN\r\n";
    for (int i = 0; i < n; ++i) {
        out += "BEGIN:VEVENT\r\nUID:e" + QByteArray::number(i) + "@bench\r\nDTSTAMP:20240101T000000Z\r\n";
        out += QByteArray("DTSTART;VALUE=DATE:2024") + (i % 12 < 9 ? "0" : "") + QByteArray::number(i % 12 + 1) +
               (i % 28 < 9 ? "0" : "") + QByteArray::number(i % 28 + 1) + "\r\n";
        out += QByteArray(kRules[i % 4]) + "\r\nSUMMARY:Event number " + QByteArray::number(i) +
               " of the big calendar\r\nEND:VEVENT\r\n";
    }
    return out + "END:VCALENDAR\r\n";
}

void BM_ImportIcsParse(benchmark::State& state) {
    const QByteArray data = BigCalendar(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const auto imported = ImportIcs(data);
        benchmark::DoNotOptimize(imported);
    }
}
BENCHMARK(BM_ImportIcsParse)->Arg(100000)->Unit(benchmark::kMillisecond);

// What --import-ics does: read, map, merge into the sorted list and write PXRECUR.DAX.
void BM_ImportIcsIntoRecurringDates(benchmark::State& state) {
    QTemporaryDir dir;
    qputenv("PLENNIX_PROGRAM_DIR", dir.path().toLocal8Bit());
    ResetProgramDir();
    const QString path = dir.filePath(QStringLiteral("big.ics"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly)) state.SkipWithError("cannot write the calendar");
        f.write(BigCalendar(static_cast<int>(state.range(0))));
    }
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(RecurringDatesPath());
        state.ResumeTiming();
        int added = 0;
        QString error;
        if (!ImportIcsFileIntoRecurringDates(path, &added, nullptr, &error)) state.SkipWithError("import failed");
        benchmark::DoNotOptimize(added);
    }
}
BENCHMARK(BM_ImportIcsIntoRecurringDates)->Arg(100000)->Unit(benchmark::kMillisecond);

// The editor's Import… button, from the file chooser's answer to the filled list.
void BM_EditorImportIcs(benchmark::State& state) {
    QTemporaryDir dir;
    qputenv("PLENNIX_PROGRAM_DIR", dir.path().toLocal8Bit());
    ResetProgramDir();
    const QString path = dir.filePath(QStringLiteral("big.ics"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly)) state.SkipWithError("cannot write the calendar");
        f.write(BigCalendar(static_cast<int>(state.range(0))));
    }
    SetFileChooser([path](const FileDialogRequest&, QWidget*) { return path; });
    SetMessageAnswerer([](const ShownMessage&) { return true; });
    for (auto _ : state) {
        state.PauseTiming();
        auto editor = std::make_unique<TEditRecurringDates>();
        state.ResumeTiming();
        editor->ImportbuttonClick();
        benchmark::DoNotOptimize(editor->DatesList);
        state.PauseTiming();
        editor.reset();
        state.ResumeTiming();
    }
    SetFileChooser(nullptr);
    SetMessageAnswerer(nullptr);
}
BENCHMARK(BM_EditorImportIcs)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
