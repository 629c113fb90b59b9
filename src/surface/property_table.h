#pragma once
// Each placed object class declares its published properties once, in order, as a table; the
// object record writer and reader walk that table, so no class writes its record by hand.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "platform/font.h"

namespace plennix {

class TGGraphicControl;

enum class PropKind : uint8_t {
    Integer,   // integer tags
    Boolean,   // 0x08 / 0x09
    Enum,      // identifier of the value's name
    Set,       // set of member names
    Color,     // colour name when it has one, else integer
    Cursor,    // integer (no object changes its cursor)
    String,    // written when not empty
    Font,      // nested: Color, Height, Name, Pitch, Style
    Picture,   // nested binary Picture.Data: class name + graphic
    Image,     // nested binary Image.Data: bitmap file with byte count
    RichText,  // nested binary RTFText.Data
};

struct PropertyDef {
    QByteArray name;
    PropKind kind = PropKind::Integer;
    // Ordinal properties with a default are written only when they differ from it.
    std::optional<int32_t> defaultValue;
    // Enumeration value names in ordinal order, or set member names by bit (bit 0 first).
    QStringList names;

    // Ordinals: Integer, Boolean (0/1), Enum (ordinal), Set (bits), Color, Cursor.
    std::function<int32_t(const TGGraphicControl&)> getOrdinal;
    std::function<void(TGGraphicControl&, int32_t)> setOrdinal;
    // String.
    std::function<QString(const TGGraphicControl&)> getString;
    std::function<void(TGGraphicControl&, const QString&)> setString;
    // Font: the object's font record, read and written in place; `stored` says whether it is
    // written at all (a font taken from the parent is not).
    std::function<FontRecord*(TGGraphicControl&)> font;
    std::function<void(TGGraphicControl&)> fontChanged;
    // Picture, Image, RichText: the binary payload of the nested Data property (for a picture:
    // class name as a short string, then the graphic's data); empty = nothing to write.
    std::function<QByteArray(const TGGraphicControl&)> getData;
    std::function<void(TGGraphicControl&, const QByteArray&)> setData;

    std::function<bool(const TGGraphicControl&)> stored;
};

using PropertyTable = std::vector<PropertyDef>;

// Builders that keep class tables short.
template <class T, class Get, class Set>
PropertyDef IntProp(const char* name, Get get, Set set, std::optional<int32_t> def = std::nullopt) {
    PropertyDef d;
    d.name = name;
    d.kind = PropKind::Integer;
    d.defaultValue = def;
    d.getOrdinal = [get](const TGGraphicControl& o) { return static_cast<int32_t>(get(static_cast<const T&>(o))); };
    d.setOrdinal = [set](TGGraphicControl& o, int32_t v) { set(static_cast<T&>(o), v); };
    return d;
}

template <class T, class Get, class Set>
PropertyDef BoolProp(const char* name, Get get, Set set, std::optional<bool> def = std::nullopt) {
    PropertyDef d = IntProp<T>(name, get, set, def ? std::optional<int32_t>(*def ? 1 : 0) : std::nullopt);
    d.kind = PropKind::Boolean;
    return d;
}

template <class T, class Get, class Set>
PropertyDef ColorProp(const char* name, Get get, Set set, std::optional<int32_t> def = std::nullopt) {
    PropertyDef d = IntProp<T>(name, get, set, def);
    d.kind = PropKind::Color;
    return d;
}

template <class T, class Get, class Set>
PropertyDef EnumProp(const char* name, QStringList names, Get get, Set set, std::optional<int32_t> def = std::nullopt) {
    PropertyDef d = IntProp<T>(name, get, set, def);
    d.kind = PropKind::Enum;
    d.names = std::move(names);
    return d;
}

template <class T, class Get, class Set>
PropertyDef StringProp(const char* name, Get get, Set set) {
    PropertyDef d;
    d.name = name;
    d.kind = PropKind::String;
    d.getString = [get](const TGGraphicControl& o) { return get(static_cast<const T&>(o)); };
    d.setString = [set](TGGraphicControl& o, const QString& v) { set(static_cast<T&>(o), v); };
    return d;
}

template <class T, class Access, class Changed>
PropertyDef FontProp(const char* name, Access access, Changed changed) {
    PropertyDef d;
    d.name = name;
    d.kind = PropKind::Font;
    d.font = [access](TGGraphicControl& o) -> FontRecord* { return access(static_cast<T&>(o)); };
    d.fontChanged = [changed](TGGraphicControl& o) { changed(static_cast<T&>(o)); };
    return d;
}

template <class T, class Get, class Set>
PropertyDef DataProp(const char* name, PropKind kind, Get get, Set set) {
    PropertyDef d;
    d.name = name;
    d.kind = kind;
    d.getData = [get](const TGGraphicControl& o) { return get(static_cast<const T&>(o)); };
    d.setData = [set](TGGraphicControl& o, const QByteArray& v) { set(static_cast<T&>(o), v); };
    return d;
}

}  // namespace plennix
