// SuperText's readers of outside data: its object record (with the texture bitmap inside) and the
// texture files the browser opens. The first byte picks the reader. Any bytes must end in an object,
// a picture, a StreamError or an empty result, never in a crash, a hang or an unbounded allocation;
// an object that was read must paint, print-measure and write out, and read back to the same bytes.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <cstdlib>

#include "objects/super_text.h"
#include "objects/super_text_texture.h"
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

void readRecords(const QByteArray& bytes) {
    QObject owner;
    TGObjectList list;
    StreamReader in(bytes);
    std::vector<TGGraphicControl*> objs;
    try {
        objs = ReadObjectList(in, &owner, &list, &owner, false);
    } catch (const StreamError&) {
        return;
    }
    QImage image(64, 48, QImage::Format_RGB32);
    for (TGGraphicControl* o : objs) {
        QPainter painter(&image);
        Canvas canvas(&painter);
        canvas.IntersectClipRect(Rect(0, 0, 64, 48));
        o->Paint(canvas);
        if (auto* t = qobject_cast<TGSuperText*>(o)) t->FitToText();
    }
    const QByteArray once = writeAll(objs);
    QObject owner2, owner3;
    std::vector<TGGraphicControl*> again;
    try {
        StreamReader in2(once);
        again = ReadObjectList(in2, &owner2, nullptr, &owner2, false);
        const QByteArray twice = writeAll(again);
        StreamReader in3(twice);
        if (writeAll(ReadObjectList(in3, &owner3, nullptr, &owner3, false)) != twice) std::abort();
    } catch (const StreamError&) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    StartFuzzApplication<QGuiApplication>("super_text_fuzz", [] {
        RegisterSuperTextClass();
    });
    if (size < 1) return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    // Bitmaps and icons are read here; every other kind goes to the picture browser's decoder, which
    // its own target covers.
    static const char* const kinds[] = {".BMP", ".ICO", ".bmp", ".ico"};
    switch (data[0] % 3) {
    case 0: readRecords(bytes); break;
    case 1: {
        const TextureLoad load = DecodeTextureBytes(bytes, QLatin1String(kinds[(data[0] / 3) % 4]));
        if (!load.image.isNull() && !TextureSizeAcceptable(load.image.width(), load.image.height())) std::abort();
        break;
    }
    case 2:
        try {
            const QImage image = DecodeImageData(bytes);
            if (!image.isNull() && EncodeImageData(image).isEmpty()) std::abort();
        } catch (const StreamError&) {
        }
        break;
    }
    return 0;
}
