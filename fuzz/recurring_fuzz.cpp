// Feeds arbitrary bytes to the readers of PXRECUR.DAX and PXRECUR.DAT and evaluates every line read, as
// the list dialogs and the fill command do.
#include <cstddef>
#include <cstdint>

#include "recurring/formula.h"
#include "recurring/store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QStringList lines = plennix::SplitRecurringLines(bytes);
    const qsizetype read = lines.size();
    for (qsizetype i = 0; i < read; ++i) lines << plennix::ConvertOldRecurringLine(lines[i]);
    // The year and month come from the data too, so that odd ones are reached.
    const int year = size >= 2 ? 1 + (data[0] << 8 | data[1]) % 10000 : 1997;
    const int month = size >= 3 ? data[2] % 14 : 12;
    for (const QString& line : lines) {
        (void)plennix::EntryListText(line);
        (void)plennix::SelectedDays(line, year, month);
        (void)plennix::CanFallInMonth(line, year, month);
    }
    (void)plennix::JoinRecurringLines(plennix::FilterForMonth(lines, year, month));
    return 0;
}
