#pragma once
// A small placed-object class for the persistence tests: one property of every kind the record
// writer knows (enumeration, set, colour with and without a default, string, font, binary data).
#include <QByteArray>
#include <QString>

#include "platform/colors.h"
#include "platform/font.h"
#include "surface/graphic_control.h"
#include "surface/object_host.h"

namespace plennix::test {

class TTestShape : public TGGraphicControl {
public:
    explicit TTestShape(QObject* owner = nullptr) : TGGraphicControl(owner) {}
    QString ClassName() const override { return QStringLiteral("TTestShape"); }

    const PropertyTable& Properties() const override {
        using T = TTestShape;
        static const PropertyTable table = [] {
            PropertyTable t = CommonProperties();
            t.push_back(EnumProp<T>("Shape", {"shRectangle", "shEllipse", "shStar"},
                                    [](const T& o) { return o.shape; },
                                    [](T& o, int32_t v) { o.shape = v; o.note(); }, 0));
            PropertyDef options = IntProp<T>("Options", [](const T& o) { return o.options; },
                                             [](T& o, int32_t v) { o.options = v; o.note(); });
            options.kind = PropKind::Set;
            options.names = QStringList{"soShadow", "soOutline", "soGlow"};
            t.push_back(options);
            t.push_back(ColorProp<T>("FillColor", [](const T& o) { return o.fill; },
                                     [](T& o, int32_t v) { o.fill = v; o.note(); }, clWhite));
            t.push_back(ColorProp<T>("BorderColor", [](const T& o) { return o.border; },
                                     [](T& o, int32_t v) { o.border = v; o.note(); }));
            t.push_back(StringProp<T>("Caption", [](const T& o) { return o.caption; },
                                      [](T& o, const QString& v) { o.caption = v; o.note(); }));
            PropertyDef font = FontProp<T>("Font", [](T& o) { return &o.font; }, [](T& o) { ++o.fontChanges; });
            font.stored = [](const TGGraphicControl& o) { return !static_cast<const T&>(o).parentFont; };
            t.push_back(font);
            t.push_back(DataProp<T>("Picture", PropKind::Picture, [](const T& o) { return o.data; },
                                    [](T& o, const QByteArray& v) { o.data = v; o.note(); }));
            return t;
        }();
        return table;
    }

    void Loaded() override {
        TGGraphicControl::Loaded();
        ++loadedCalls;
    }

    // Records whether a setter ran outside loading.
    void note() {
        if (!IsLoading()) setOutsideLoading = true;
    }

    int32_t shape = 0;
    int32_t options = 0;
    TColor fill = clWhite;
    TColor border = clBlack;
    QString caption;
    FontRecord font;
    bool parentFont = false;
    QByteArray data;
    int fontChanges = 0;
    int loadedCalls = 0;
    bool setOutsideLoading = false;
};

inline void RegisterTestShape() {
    RegisterObjectClass(QStringLiteral("TTestShape"), [](QObject* owner) { return new TTestShape(owner); });
}

}  // namespace plennix::test
