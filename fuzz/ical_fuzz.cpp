// Feeds arbitrary bytes to the iCalendar import as the list editor's Import… and --import-ics do, then
// exports what was imported and imports it again: the entries must come back unchanged. Their order is not
// compared: imported entries are merged into the sorted list, and where two feasts fall on one day in some
// years (Easter and Orthodox Easter - 7) the file's first event may be either's.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "recurring/ical.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<plennix::IcsImport> imported = plennix::ImportIcs(bytes);
    if (!imported) return 0;
    const QByteArray exported = plennix::ExportIcs(imported->entries, 2026);
    const std::optional<plennix::IcsImport> again = plennix::ImportIcs(exported);
    if (!again || !again->leftOut.isEmpty()) std::abort();
    QStringList before = imported->entries;
    QStringList after = again->entries;
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    if (before != after) std::abort();
    return 0;
}
