// Any bytes given to the document reader, the style sheet reader or the dump must end in a page (and
// objects) or a StreamError, never in a crash, a hang or an unbounded allocation. The page a document
// read yields must write out, read back and write out again to the same bytes, keeping its objects
// (whose records are the object stream's own concern).
#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "calendar/calendar_dump.h"
#include "calendar/calendar_files.h"
#include "platform/stream_error.h"
#include "surface/graphic_control.h"
#include "surface/label.h"
#include "surface/object_list.h"
#include "fuzz_application.h"

namespace {

using namespace plennix;

struct Page {
    CalendarSettings settings;
    CellStores cells;
    QObject owner;
    TGObjectList host;
};

QByteArray writeAll(const Page& p) {
    const auto& objs = p.host.Objects();
    return WriteDocument(p.settings, p.cells, std::vector<const TGGraphicControl*>(objs.begin(), objs.end()));
}

QByteArray writePageOnly(const Page& p) { return WriteDocument(p.settings, p.cells, {}); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    StartFuzzApplication<QGuiApplication>("calendar_document_fuzz", [] {
        RegisterLabelClasses();
    });

    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    try {
        (void)DumpCalendarBytes(bytes);
    } catch (const StreamError&) {
    }

    {
        CalendarSettings sheet;
        StreamReader in(bytes);
        try {
            ReadStyleSheet(in, sheet);
        } catch (const StreamError&) {
        }
        if (in.Position() > in.Size()) std::abort();
    }

    auto first = std::make_unique<Page>();
    StreamReader in(bytes);
    try {
        ReadDocument(in, first->settings, first->cells, &first->owner, &first->host, &first->owner);
    } catch (const StreamError&) {
        return 0;
    }
    if (in.Position() > in.Size()) std::abort();

    // Reading normalises (long font names cut, empty cells dropped, the latest version); what it
    // yields writes out and reads back to the same bytes.
    const QByteArray once = writeAll(*first);
    auto second = std::make_unique<Page>();
    try {
        StreamReader again(once);
        ReadDocument(again, second->settings, second->cells, &second->owner, &second->host, &second->owner);
    } catch (const StreamError&) {
        std::abort();
    }
    if (second->host.Count() != first->host.Count()) std::abort();
    if (writePageOnly(*second) != writePageOnly(*first)) std::abort();
    return 0;
}
