// A whole document from any bytes, read, laid out and drawn at a small zoom, with its placed objects: the
// work bounds of drawing (format runs laid out, metafile records and points played, pictures decoded) are
// fuzzed with the readers, not only the readers. Bytes that are no document end in a StreamError. The
// document is read and drawn apart from any window, as Qt Gui alone allows.
#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>

#include "calendar/calendar_page.h"
#include "objects/object_classes.h"
#include "platform/stream_error.h"
#include "surface/label.h"
#include "fuzz_application.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace plennix;
    StartFuzzApplication<QGuiApplication>("render_document_fuzz", [] {
        RegisterLabelClasses();
        RegisterDecorativeObjectClasses();
    });
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    TCalendarPage page;
    try {
        page.LoadFromBytes(bytes);
    } catch (const StreamError&) {
        return 0;
    }
    page.SetZoom(0.2f);
    const QImage image = page.RenderPage();
    if (image.isNull()) std::abort();
    return 0;
}
