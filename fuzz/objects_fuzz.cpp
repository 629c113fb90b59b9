// Any bytes given to the object list reader must end in a list of objects or a StreamError, never in a
// crash, a hang or an unbounded allocation; whatever was read must write out and read back, and the
// text form must cope with the same bytes. Reading needs no widgets: objects build their menus only
// when a person opens one, so a QGuiApplication (for fonts) is all the reader needs.
#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>

#include "platform/stream_error.h"
#include "surface/graphic_control.h"
#include "surface/label.h"
#include "surface/object_stream.h"
#include "fuzz_application.h"

namespace {

using namespace plennix;

// A small class with one property of every kind the records know.
class TFuzzShape : public TGGraphicControl {
public:
    explicit TFuzzShape(QObject* owner) : TGGraphicControl(owner) {}
    QString ClassName() const override { return QStringLiteral("TFuzzShape"); }
    const PropertyTable& Properties() const override {
        using T = TFuzzShape;
        static const PropertyTable table = [] {
            PropertyTable t = CommonProperties();
            t.push_back(EnumProp<T>("Shape", {"shRectangle", "shEllipse", "shStar"}, [](const T& o) { return o.shape; },
                                    [](T& o, int32_t v) { o.shape = v; }, 0));
            PropertyDef options = IntProp<T>("Options", [](const T& o) { return o.options; },
                                             [](T& o, int32_t v) { o.options = v; });
            options.kind = PropKind::Set;
            options.names = QStringList{"soShadow", "soOutline", "soGlow"};
            t.push_back(options);
            t.push_back(ColorProp<T>("FillColor", [](const T& o) { return o.fill; }, [](T& o, int32_t v) { o.fill = v; },
                                     clWhite));
            t.push_back(StringProp<T>("Caption", [](const T& o) { return o.caption; },
                                      [](T& o, const QString& v) { o.caption = v; }));
            t.push_back(FontProp<T>("Font", [](T& o) { return &o.font; }, [](T&) {}));
            t.push_back(DataProp<T>("Picture", PropKind::Picture, [](const T& o) { return o.data; },
                                    [](T& o, const QByteArray& v) { o.data = v; }));
            return t;
        }();
        return table;
    }
    int32_t shape = 0, options = 0;
    TColor fill = clWhite;
    QString caption;
    FontRecord font;
    QByteArray data;
};

QByteArray writeAll(const std::vector<TGGraphicControl*>& objs) {
    QByteArray out;
    WriteObjectList(out, std::vector<const TGGraphicControl*>(objs.begin(), objs.end()));
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    StartFuzzApplication<QGuiApplication>("objects_fuzz", [] {
        RegisterObjectClass(QStringLiteral("TFuzzShape"), [](QObject* owner) { return new TFuzzShape(owner); });
        RegisterLabelClasses();
    });

    const auto* bytes = reinterpret_cast<const char*>(data);
    const auto length = static_cast<qsizetype>(size);
    {
        StreamReader in(bytes, length);
        try {
            (void)ObjectListToText(in);
        } catch (const StreamError&) {
        }
        if (in.Position() > length) std::abort();
    }

    QObject owner;
    StreamReader in(bytes, length);
    std::vector<TGGraphicControl*> objs;
    ObjectListReadReport report;
    try {
        objs = ReadObjectList(in, &owner, nullptr, &owner, size % 2 == 1, &report);
    } catch (const StreamError&) {
        // A failed list names its failure and cannot count more lost objects than signatures exist.
        if (report.error.isEmpty() || report.unreadable < 0 || report.unreadable > length / 4 + 1) std::abort();
        return 0;
    }
    if (in.Position() > length) std::abort();
    if (report.read != static_cast<int>(objs.size()) || report.read > kMaxObjectsPerList) std::abort();

    // What was read writes out and reads back. A written record need not reproduce every value read
    // (an empty caption is not written, and a label starts with a caption of its own), but a second
    // round must change nothing.
    auto roundTrip = [](const QByteArray& bytes, QObject& owner) {
        StreamReader again(bytes);
        try {
            return writeAll(ReadObjectList(again, &owner, nullptr, &owner, false));
        } catch (const StreamError&) {
            std::abort();
        }
    };
    QObject owner2, owner3;
    const QByteArray twice = roundTrip(writeAll(objs), owner2);
    if (roundTrip(twice, owner3) != twice) std::abort();
    return 0;
}
