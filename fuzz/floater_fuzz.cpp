// Any bytes given to the object list reader with the floating mini calendar and the rich-text label
// registered must end in objects or a StreamError, never in a crash, a hang or an unbounded allocation.
// Whatever was read paints, writes out and reads back, and a second round trip changes nothing.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <cstdlib>

#include "objects/flat_calendar.h"
#include "objects/rich_label.h"
#include "platform/canvas.h"
#include "platform/stream_error.h"
#include "surface/object_list.h"
#include "surface/object_stream.h"
#include "fuzz_application.h"

namespace {

using namespace plennix;

QByteArray writeAll(const std::vector<TGGraphicControl*>& objs) {
    QByteArray out;
    WriteObjectList(out, std::vector<const TGGraphicControl*>(objs.begin(), objs.end()));
    return out;
}

// What owns the objects read, as a page's owner does.
struct Form {
    QObject window;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    StartFuzzApplication<QGuiApplication>("floater_fuzz", [] {
        RegisterFlatCalendarClass();
        RegisterRichLabelClass();
    });

    Form form;
    QObject* owner = &form.window;
    TGObjectList list;
    StreamReader in(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    std::vector<TGGraphicControl*> objs;
    try {
        objs = ReadObjectList(in, owner, &list, owner, false);
    } catch (const StreamError&) {
        return 0;
    }
    if (in.Position() > static_cast<qsizetype>(size)) std::abort();

    // Painting hostile values: a small canvas, whatever the objects' sizes.
    QImage image(64, 64, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        Canvas canvas(&painter);
        list.Paint(canvas);
    }

    auto roundTrip = [](const QByteArray& bytes, QObject* target) {
        StreamReader again(bytes);
        try {
            return writeAll(ReadObjectList(again, target, nullptr, target, false));
        } catch (const StreamError&) {
            std::abort();
        }
    };
    Form second, third;
    const QByteArray twice = roundTrip(writeAll(objs), &second.window);
    if (roundTrip(twice, &third.window) != twice) std::abort();
    return 0;
}
