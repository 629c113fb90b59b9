// The published properties every placed object shares, and the registry of the classes that object
// records may name.
#include <QHash>

#include "surface/graphic_control.h"

namespace plennix {

PropertyTable TGGraphicControl::CommonProperties() {
    using T = TGGraphicControl;
    PropertyTable t;
    t.push_back(IntProp<T>("Tag", [](const T& o) { return o.Tag(); }, [](T& o, int32_t v) { o.SetTag(v); }, 0));
    t.push_back(IntProp<T>("Left", [](const T& o) { return o.ModelLeft(); }, [](T& o, int32_t v) { o.SetLeft(v); }));
    t.push_back(IntProp<T>("Top", [](const T& o) { return o.ModelTop(); }, [](T& o, int32_t v) { o.SetTop(v); }));
    t.push_back(IntProp<T>("Width", [](const T& o) { return o.ModelWidth(); }, [](T& o, int32_t v) { o.SetWidth(v); }));
    t.push_back(IntProp<T>("Height", [](const T& o) { return o.ModelHeight(); }, [](T& o, int32_t v) { o.SetHeight(v); }));
    PropertyDef cursor =
        IntProp<T>("Cursor", [](const T& o) { return o.Cursor(); }, [](T& o, int32_t v) { o.SetCursor(v); }, 0);
    cursor.kind = PropKind::Cursor;
    t.push_back(std::move(cursor));
    t.push_back(StringProp<T>("Hint", [](const T& o) { return o.Hint(); }, [](T& o, const QString& v) { o.SetHint(v); }));
    t.push_back(BoolProp<T>("Locked", [](const T& o) { return o.Locked(); }, [](T& o, int32_t v) { o.SetLocked(v != 0); }));
    t.push_back(BoolProp<T>("Unselectable", [](const T& o) { return o.Unselectable(); },
                            [](T& o, int32_t v) { o.SetUnselectable(v != 0); }));
    return t;
}

namespace {
// Class names are matched without regard to case, as records name them.
QHash<QString, ObjectFactory>& registry() {
    static QHash<QString, ObjectFactory> classes;
    return classes;
}
}  // namespace

void RegisterObjectClass(const QString& className, ObjectFactory factory) {
    registry().insert(className.toLower(), std::move(factory));
}

TGGraphicControl* CreateRegisteredObject(const QString& className, QObject* owner) {
    const auto it = registry().constFind(className.toLower());
    if (it == registry().constEnd() || !*it) return nullptr;
    return (*it)(owner);
}

bool IsObjectClassRegistered(const QString& className) { return registry().contains(className.toLower()); }

}  // namespace plennix
