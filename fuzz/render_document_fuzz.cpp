// A whole document from any bytes, read, laid out and drawn at a small zoom, with its placed objects: the
// work bounds of drawing (format runs laid out, metafile records and points played, pictures decoded) are
// fuzzed with the readers, not only the readers. Bytes that are no document end in a StreamError.
#include <QApplication>
#include <cstdint>
#include <memory>

#include "calendar/calendar_panel.h"
#include "platform/stream_error.h"
#include "fuzz_application.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace plennix;
    StartFuzzApplication<QApplication>("render_document_fuzz", [] { RegisterCalendarObjectClasses(); });
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QObject owner;
    auto page = std::make_unique<TCalendarPanel32>();
    try {
        page->LoadFromBytes(bytes, &owner);
    } catch (const StreamError&) {
        return 0;
    }
    page->SetZoom(0.2f);
    const QImage image = page->RenderPage();
    if (image.isNull()) std::abort();
    return 0;
}
