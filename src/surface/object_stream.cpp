#include "surface/object_stream.h"

#include <QLocale>
#include <QSet>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/colors.h"
#include "platform/stream_error.h"
#include "platform/win1252.h"
#include "surface/graphic_control.h"
#include "surface/object_host.h"

namespace plennix {

QString InvalidStreamFormatMessage() { return QStringLiteral("Invalid stream format"); }
QString InvalidPropertyValueMessage() { return QStringLiteral("Invalid property value"); }
QString PropertyDoesNotExistMessage() { return QStringLiteral("Property does not exist"); }
QString ClassNotFoundMessage(const QString& className) {
    return QStringLiteral("Class %1 not found").arg(className);
}

namespace {

[[noreturn]] void invalidFormat() { throw StreamError(InvalidStreamFormatMessage()); }
[[noreturn]] void invalidValue() { throw StreamError(InvalidPropertyValueMessage()); }
[[noreturn]] void noSuchProperty() { throw StreamError(PropertyDoesNotExistMessage()); }

constexpr char kSignature[4] = {'T', 'P', 'F', '0'};

}  // namespace

// ---------------------------------------------------------------------------------------------
// ValueWriter

void ValueWriter::WriteRawInt16(int16_t v) {
    const auto u = static_cast<uint16_t>(v);
    WriteByte(static_cast<uint8_t>(u & 0xFF));
    WriteByte(static_cast<uint8_t>(u >> 8));
}

void ValueWriter::WriteRawInt32(int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) WriteByte(static_cast<uint8_t>((u >> (8 * i)) & 0xFF));
}

void ValueWriter::WriteSignature() { m_out.append(kSignature, 4); }

void ValueWriter::WriteShortString(const QString& s) { WriteShortStringBytes(ToWin1252(s)); }

void ValueWriter::WriteShortStringBytes(const QByteArray& s) {
    const qsizetype n = std::min<qsizetype>(s.size(), 255);
    WriteByte(static_cast<uint8_t>(n));
    m_out.append(s.constData(), n);
}

void ValueWriter::WriteInteger(int32_t v) {
    if (v >= -128 && v <= 127) {
        WriteByte(vaInt8);
        WriteByte(static_cast<uint8_t>(static_cast<int8_t>(v)));
    } else if (v >= -32768 && v <= 32767) {
        WriteByte(vaInt16);
        WriteRawInt16(static_cast<int16_t>(v));
    } else {
        WriteByte(vaInt32);
        WriteRawInt32(v);
    }
}

void ValueWriter::WriteString(const QString& s) { WriteStringBytes(ToWin1252(s)); }

void ValueWriter::WriteStringBytes(const QByteArray& s) {
    if (s.size() <= 255) {
        WriteByte(vaString);
        WriteByte(static_cast<uint8_t>(s.size()));
    } else {
        WriteByte(vaLString);
        WriteRawInt32(static_cast<int32_t>(s.size()));
    }
    m_out.append(s);
}

void ValueWriter::WriteIdent(const QByteArray& ident) {
    WriteByte(vaIdent);
    WriteShortStringBytes(ident);
}

void ValueWriter::WriteSet(const QList<QByteArray>& members) {
    WriteByte(vaSet);
    for (const QByteArray& m : members) WriteShortStringBytes(m);
    WriteByte(0);
}

void ValueWriter::WriteBinary(const QByteArray& data) {
    WriteByte(vaBinary);
    WriteRawInt32(static_cast<int32_t>(data.size()));
    m_out.append(data);
}

void ValueWriter::WriteExtended(double v) {
    uint16_t signExp = std::signbit(v) ? 0x8000 : 0;
    uint64_t mantissa = 0;
    if (std::isnan(v)) {
        signExp |= 0x7FFF;
        mantissa = 0xC000000000000000ull;
    } else if (std::isinf(v)) {
        signExp |= 0x7FFF;
        mantissa = 0x8000000000000000ull;
    } else if (v != 0.0) {
        int e = 0;
        const double m = std::frexp(std::fabs(v), &e);  // 0.5 <= m < 1
        mantissa = static_cast<uint64_t>(std::ldexp(m, 64));
        signExp |= static_cast<uint16_t>(e - 1 + 16383);
    }
    WriteByte(vaExtended);
    for (int i = 0; i < 8; ++i) WriteByte(static_cast<uint8_t>((mantissa >> (8 * i)) & 0xFF));
    WriteRawInt16(static_cast<int16_t>(signExp));
}

// ---------------------------------------------------------------------------------------------
// StreamReader

StreamReader::StreamReader(const char* data, qsizetype size)
    : m_data(data), m_size(data ? std::max<qsizetype>(size, 0) : 0) {}

StreamReader::StreamReader(const QByteArray& bytes)
    : m_holder(bytes), m_data(m_holder.constData()), m_size(m_holder.size()) {}

void StreamReader::SetPosition(qsizetype pos) { m_pos = std::clamp<qsizetype>(pos, 0, m_size); }

void StreamReader::need(qsizetype count) const {
    if (count < 0 || count > Remaining()) invalidFormat();
}

uint8_t StreamReader::ReadByte() {
    need(1);
    return static_cast<uint8_t>(m_data[m_pos++]);
}

uint8_t StreamReader::PeekByte() const {
    need(1);
    return static_cast<uint8_t>(m_data[m_pos]);
}

int16_t StreamReader::ReadRawInt16() {
    need(2);
    const auto* p = reinterpret_cast<const uint8_t*>(m_data + m_pos);
    m_pos += 2;
    return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
}

int32_t StreamReader::ReadRawInt32() {
    need(4);
    const auto* p = reinterpret_cast<const uint8_t*>(m_data + m_pos);
    m_pos += 4;
    const uint32_t u = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
    return static_cast<int32_t>(u);
}

QByteArray StreamReader::ReadRawBytes(qsizetype count) {
    need(count);
    QByteArray out(m_data + m_pos, count);
    m_pos += count;
    return out;
}

double StreamReader::ReadRawExtended() {
    need(10);
    const auto* p = reinterpret_cast<const uint8_t*>(m_data + m_pos);
    m_pos += 10;
    uint64_t mantissa = 0;
    for (int i = 7; i >= 0; --i) mantissa = (mantissa << 8) | p[i];
    const uint16_t signExp = static_cast<uint16_t>(p[8] | (p[9] << 8));
    const bool negative = (signExp & 0x8000) != 0;
    const int exponent = signExp & 0x7FFF;
    double v;
    if (exponent == 0x7FFF) {
        v = (mantissa << 1) == 0 ? std::numeric_limits<double>::infinity()
                                 : std::numeric_limits<double>::quiet_NaN();
    } else {
        // Denormal extended values use the smallest exponent with no implicit bit.
        const int e = exponent == 0 ? 1 : exponent;
        v = std::ldexp(static_cast<double>(mantissa), e - 16383 - 63);
    }
    return negative ? -v : v;
}

void StreamReader::ReadSignature() {
    need(4);
    if (std::memcmp(m_data + m_pos, kSignature, 4) != 0) invalidFormat();
    m_pos += 4;
}

QByteArray StreamReader::ReadShortStringBytes() {
    const uint8_t n = ReadByte();
    return ReadRawBytes(n);
}

QString StreamReader::ReadShortString() { return FromWin1252(ReadShortStringBytes()); }

ValueTag StreamReader::ReadTag() {
    const uint8_t b = ReadByte();
    if (b > vaLString) invalidFormat();
    return static_cast<ValueTag>(b);
}

ValueTag StreamReader::PeekTag() const {
    const uint8_t b = PeekByte();
    if (b > vaLString) invalidFormat();
    return static_cast<ValueTag>(b);
}

void StreamReader::ReadListBegin() {
    if (ReadByte() != vaList) invalidFormat();
}

void StreamReader::ReadListEnd() {
    if (ReadByte() != vaNull) invalidFormat();
}

int32_t StreamReader::ReadIntegerData(ValueTag tag) {
    switch (tag) {
    case vaInt8: return static_cast<int8_t>(ReadByte());
    case vaInt16: return ReadRawInt16();
    case vaInt32: return ReadRawInt32();
    default: invalidValue();
    }
}

QByteArray StreamReader::ReadStringData(ValueTag tag) {
    switch (tag) {
    case vaString: return ReadShortStringBytes();
    case vaLString: {
        const int32_t n = ReadRawInt32();
        return ReadRawBytes(n);  // a negative or oversized length is refused before allocating
    }
    default: invalidValue();
    }
}

QList<QByteArray> StreamReader::ReadSetData() {
    QList<QByteArray> members;
    // Each member takes at least one byte, so the loop ends with the data.
    for (;;) {
        QByteArray name = ReadShortStringBytes();
        if (name.isEmpty()) break;
        members.append(std::move(name));
    }
    return members;
}

int32_t StreamReader::ReadInteger() { return ReadIntegerData(ReadTag()); }

bool StreamReader::ReadBoolean() {
    const ValueTag tag = ReadTag();
    if (tag == vaTrue) return true;
    if (tag == vaFalse) return false;
    invalidValue();
}

QByteArray StreamReader::ReadStringBytes() { return ReadStringData(ReadTag()); }

QString StreamReader::ReadString() { return FromWin1252(ReadStringBytes()); }

QByteArray StreamReader::ReadIdent() {
    if (ReadTag() != vaIdent) invalidValue();
    return ReadShortStringBytes();
}

QByteArray StreamReader::ReadBinary() {
    if (ReadTag() != vaBinary) invalidValue();
    const int32_t n = ReadRawInt32();
    return ReadRawBytes(n);
}

QList<QByteArray> StreamReader::ReadSet() {
    if (ReadTag() != vaSet) invalidValue();
    return ReadSetData();
}

double StreamReader::ReadFloat() {
    const ValueTag tag = ReadTag();
    if (tag == vaExtended) return ReadRawExtended();
    return ReadIntegerData(tag);
}

// ---------------------------------------------------------------------------------------------
// Writing records

namespace {

QByteArray subName(const QByteArray& prop, const char* sub) { return prop + '.' + sub; }

void writeColor(ValueWriter& w, int32_t c) {
    if (const auto name = ColorToIdent(c))
        w.WriteIdent(name->toLatin1());
    else
        w.WriteInteger(c);
}

QList<QByteArray> setMembers(const QStringList& names, uint32_t bits) {
    QList<QByteArray> members;
    for (int i = 0; i < names.size() && i < 32; ++i)
        if (bits & (1u << i)) members.append(names[i].toLatin1());
    return members;
}

const QStringList& fontStyleNames() {
    static const QStringList names{QStringLiteral("fsBold"), QStringLiteral("fsItalic"),
                                   QStringLiteral("fsUnderline"), QStringLiteral("fsStrikeOut")};
    return names;
}

const QStringList& fontPitchNames() {
    static const QStringList names{QStringLiteral("fpDefault"), QStringLiteral("fpVariable"),
                                   QStringLiteral("fpFixed")};
    return names;
}

void writeOrdinal(ValueWriter& w, const PropertyDef& def, int32_t v) {
    switch (def.kind) {
    case PropKind::Boolean: w.WriteBoolean(v != 0); break;
    case PropKind::Enum:
        if (v >= 0 && v < def.names.size())
            w.WriteIdent(def.names[v].toLatin1());
        else
            w.WriteInteger(v);
        break;
    case PropKind::Set: w.WriteSet(setMembers(def.names, static_cast<uint32_t>(v))); break;
    case PropKind::Color: writeColor(w, v); break;
    default: w.WriteInteger(v); break;
    }
}

void writeFont(ValueWriter& w, const QByteArray& name, const FontRecord& f) {
    w.WriteShortStringBytes(subName(name, "Color"));
    writeColor(w, f.color);
    w.WriteShortStringBytes(subName(name, "Height"));
    w.WriteInteger(f.height);
    if (!f.name.isEmpty()) {
        w.WriteShortStringBytes(subName(name, "Name"));
        w.WriteString(f.name);
    }
    if (f.pitch != FontPitch::fpDefault) {
        w.WriteShortStringBytes(subName(name, "Pitch"));
        w.WriteIdent(fontPitchNames()[static_cast<int>(f.pitch)].toLatin1());
    }
    w.WriteShortStringBytes(subName(name, "Style"));
    w.WriteSet(setMembers(fontStyleNames(), f.style));
}

void writeProperties(ValueWriter& w, const TGGraphicControl& obj) {
    for (const PropertyDef& def : obj.Properties()) {
        if (def.stored && !def.stored(obj)) continue;
        switch (def.kind) {
        case PropKind::Integer:
        case PropKind::Boolean:
        case PropKind::Enum:
        case PropKind::Set:
        case PropKind::Color:
        case PropKind::Cursor: {
            if (!def.getOrdinal) break;
            int32_t v = def.getOrdinal(obj);
            if (def.kind == PropKind::Boolean) v = v != 0 ? 1 : 0;
            if (def.defaultValue && v == *def.defaultValue) break;
            w.WriteShortStringBytes(def.name);
            writeOrdinal(w, def, v);
            break;
        }
        case PropKind::String: {
            if (!def.getString) break;
            const QString s = def.getString(obj);
            if (s.isEmpty()) break;
            w.WriteShortStringBytes(def.name);
            w.WriteString(s);
            break;
        }
        case PropKind::Font: {
            if (!def.font) break;
            // The accessor hands out the object's own record; writing only reads it.
            const FontRecord* f = def.font(const_cast<TGGraphicControl&>(obj));
            if (f) writeFont(w, def.name, *f);
            break;
        }
        case PropKind::Picture:
        case PropKind::Image:
        case PropKind::RichText: {
            if (!def.getData) break;
            const QByteArray data = def.getData(obj);
            if (data.isEmpty()) break;
            w.WriteShortStringBytes(subName(def.name, "Data"));
            w.WriteBinary(data);
            break;
        }
        }
    }
}

}  // namespace

void WriteObjectRecord(ValueWriter& w, const TGGraphicControl& obj) {
    w.WriteSignature();
    w.WriteShortString(obj.ClassName());
    w.WriteShortString(obj.Name());
    writeProperties(w, obj);
    w.WriteByte(vaNull);  // end of properties
    w.WriteByte(vaNull);  // end of the (empty) child list
}

QByteArray WriteObjectRecord(const TGGraphicControl& obj) {
    QByteArray out;
    ValueWriter w(out);
    WriteObjectRecord(w, obj);
    return out;
}

void WriteObjectList(QByteArray& out, const std::vector<const TGGraphicControl*>& objs) {
    ValueWriter w(out);
    w.WriteListBegin();
    for (const TGGraphicControl* obj : objs)
        if (obj) WriteObjectRecord(w, *obj);
    w.WriteListEnd();
}

// ---------------------------------------------------------------------------------------------
// Reading records

namespace {

int indexOfName(const QStringList& names, const QByteArray& name) {
    const QString n = QString::fromLatin1(name);
    for (int i = 0; i < names.size(); ++i)
        if (names[i].compare(n, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

int32_t readColorValue(StreamReader& in) {
    const ValueTag tag = in.ReadTag();
    if (tag == vaIdent) {
        const auto c = IdentToColor(QString::fromLatin1(in.ReadShortStringBytes()));
        if (!c) invalidValue();
        return *c;
    }
    return in.ReadIntegerData(tag);
}

int32_t readEnumValue(StreamReader& in, const QStringList& names) {
    const int i = indexOfName(names, in.ReadIdent());
    if (i < 0) invalidValue();
    return i;
}

int32_t readSetValue(StreamReader& in, const QStringList& names) {
    uint32_t bits = 0;
    for (const QByteArray& m : in.ReadSet()) {
        const int i = indexOfName(names, m);
        if (i < 0 || i >= 32) invalidValue();
        bits |= 1u << i;
    }
    return static_cast<int32_t>(bits);
}

int32_t readOrdinal(StreamReader& in, const PropertyDef& def) {
    switch (def.kind) {
    case PropKind::Boolean: return in.ReadBoolean() ? 1 : 0;
    case PropKind::Enum: return readEnumValue(in, def.names);
    case PropKind::Set: return readSetValue(in, def.names);
    case PropKind::Color: return readColorValue(in);
    default: return in.ReadInteger();
    }
}

bool isEventName(const QByteArray& name) {
    return name.size() > 2 && name.startsWith("On") && name[2] >= 'A' && name[2] <= 'Z';
}

const PropertyDef* findProperty(const PropertyTable& table, const QByteArray& name) {
    for (const PropertyDef& def : table)
        if (def.name.compare(name, Qt::CaseInsensitive) == 0) return &def;
    return nullptr;
}

void readFontProperty(StreamReader& in, TGGraphicControl& obj, const PropertyDef& def, const QByteArray& sub) {
    FontRecord* f = def.font ? def.font(obj) : nullptr;
    if (!f) noSuchProperty();
    auto is = [&](const char* n) { return sub.compare(n, Qt::CaseInsensitive) == 0; };
    if (is("Color")) {
        f->color = readColorValue(in);
    } else if (is("Height")) {
        f->height = in.ReadInteger();
    } else if (is("Name")) {
        // An empty face name is never written, so it would not read back; the font keeps its face.
        const QString name = in.ReadString();
        if (!name.isEmpty()) f->name = name;
    } else if (is("Pitch")) {
        f->pitch = static_cast<FontPitch>(readEnumValue(in, fontPitchNames()));
    } else if (is("Style")) {
        f->style = static_cast<FontStyles>(readSetValue(in, fontStyleNames()));
    } else if (is("Size")) {
        // Not written by this program; the height carries the size.
        f->setSize(in.ReadInteger());
    } else if (is("Charset")) {
        // Fonts here have no character set; a stored one is accepted and dropped.
        const ValueTag tag = in.ReadTag();
        if (tag == vaIdent)
            in.ReadShortStringBytes();
        else
            in.ReadIntegerData(tag);
    } else {
        noSuchProperty();
    }
    if (def.fontChanged) def.fontChanged(obj);
}

void readProperty(StreamReader& in, TGGraphicControl& obj, const QByteArray& name) {
    const qsizetype dot = name.indexOf('.');
    const QByteArray base = dot < 0 ? name : name.left(dot);
    const QByteArray sub = dot < 0 ? QByteArray() : name.mid(dot + 1);
    const PropertyDef* def = findProperty(obj.Properties(), base);
    if (!def) {
        // Event routine references name nothing this program has; they are skipped.
        if (dot < 0 && isEventName(name)) {
            in.ReadIdent();
            return;
        }
        noSuchProperty();
    }
    switch (def->kind) {
    case PropKind::Integer:
    case PropKind::Boolean:
    case PropKind::Enum:
    case PropKind::Set:
    case PropKind::Color:
    case PropKind::Cursor: {
        if (dot >= 0 || !def->setOrdinal) noSuchProperty();
        def->setOrdinal(obj, readOrdinal(in, *def));
        return;
    }
    case PropKind::String:
        if (dot >= 0 || !def->setString) noSuchProperty();
        def->setString(obj, in.ReadString());
        return;
    case PropKind::Font:
        if (dot < 0) invalidValue();
        readFontProperty(in, obj, *def, sub);
        return;
    case PropKind::Picture:
    case PropKind::Image:
    case PropKind::RichText:
        if (dot < 0) invalidValue();
        if (sub.compare("Data", Qt::CaseInsensitive) != 0 || !def->setData) noSuchProperty();
        def->setData(obj, in.ReadBinary());
        return;
    }
}

// Hands out "Component"+n names that no child of the naming owner uses. The objects already on the
// parent and the names handed out earlier in the same list count as taken too, so that objects whose
// owner is not the naming owner cannot end up sharing a name.
class ComponentNamer {
public:
    ComponentNamer(QObject* namingOwner, const TGObjectHost* parent) {
        if (namingOwner)
            for (const QObject* child : namingOwner->children()) m_taken.insert(child->objectName().toLower());
        if (parent)
            for (const TGGraphicControl* o : parent->Objects()) m_taken.insert(o->Name().toLower());
    }
    void Name(TGGraphicControl& obj, const QString& storedName) {
        QString name = storedName;
        // Names are only ever added while a list is read, so the smallest free number never falls.
        for (; m_next <= 1000; ++m_next) {
            const QString candidate = QStringLiteral("Component%1").arg(m_next);
            if (!m_taken.contains(candidate.toLower())) {
                name = candidate;
                break;
            }
        }
        obj.SetName(name);
        m_taken.insert(name.toLower());
    }

private:
    QSet<QString> m_taken;
    int m_next = 0;
};

int32_t offsetBy15(int v) {
    return static_cast<int32_t>(std::min<int64_t>(int64_t(v) + 15, std::numeric_limits<int32_t>::max()));
}

}  // namespace

std::vector<TGGraphicControl*> ReadObjectList(StreamReader& in, QObject* owner, TGObjectHost* parent,
                                              QObject* namingOwner, bool pasting) {
    std::vector<TGGraphicControl*> created;
    in.ReadListBegin();
    ComponentNamer namer(namingOwner, parent);
    TGGraphicControl* current = nullptr;
    try {
        while (!in.NextIsEnd()) {
            in.ReadSignature();
            const QString className = in.ReadShortString();
            current = CreateRegisteredObject(className, owner);
            if (!current) throw StreamError(ClassNotFoundMessage(className));
            current->SetLoading(true);
            current->SetParent(parent);
            namer.Name(*current, in.ReadShortString());
            while (!in.NextIsEnd()) readProperty(in, *current, in.ReadShortStringBytes());
            in.ReadListEnd();  // properties
            in.ReadListEnd();  // child components: always none
            if (pasting) {
                current->SetLeft(offsetBy15(current->Left()));
                current->SetTop(offsetBy15(current->Top()));
            }
            current->SetLoading(false);
            created.push_back(current);
            current = nullptr;
        }
        in.ReadListEnd();
    } catch (...) {
        // A half-read object is dropped; the whole ones stay and get their context menus.
        if (current) {
            current->SetParent(nullptr);
            delete current;
        }
        for (TGGraphicControl* obj : created) obj->Loaded();
        throw;
    }
    for (TGGraphicControl* obj : created) obj->Loaded();
    return created;
}

// ---------------------------------------------------------------------------------------------
// Text form

namespace {

constexpr int kMaxListDepth = 32;

QString quoteString(const QByteArray& bytes) {
    if (bytes.isEmpty()) return QStringLiteral("''");
    QString out;
    bool inQuotes = false;
    for (const char ch : bytes) {
        const auto b = static_cast<uint8_t>(ch);
        if (b < 0x20) {
            if (inQuotes) out += QLatin1Char('\'');
            inQuotes = false;
            out += QLatin1Char('#') + QString::number(b);
        } else {
            if (!inQuotes) out += QLatin1Char('\'');
            inQuotes = true;
            if (ch == '\'') out += QLatin1Char('\'');
            out += QChar(Win1252Char(b));
        }
    }
    if (inQuotes) out += QLatin1Char('\'');
    return out;
}

QString valueToText(StreamReader& in, const QString& indent, int depth) {
    const ValueTag tag = in.ReadTag();
    switch (tag) {
    case vaNull: invalidFormat();
    case vaList: {
        if (depth >= kMaxListDepth) invalidFormat();
        QString out = QStringLiteral("(");
        while (!in.NextIsEnd())
            out += QLatin1Char('\n') + indent + QStringLiteral("  ") +
                   valueToText(in, indent + QStringLiteral("  "), depth + 1);
        in.ReadListEnd();
        return out + QLatin1Char(')');
    }
    case vaInt8:
    case vaInt16:
    case vaInt32: return QString::number(in.ReadIntegerData(tag));
    case vaExtended: return QString::number(in.ReadRawExtended(), 'g', QLocale::FloatingPointShortest);
    case vaString:
    case vaLString: return quoteString(in.ReadStringData(tag));
    case vaIdent: return QString::fromLatin1(in.ReadShortStringBytes());
    case vaFalse: return QStringLiteral("False");
    case vaTrue: return QStringLiteral("True");
    case vaBinary: {
        const QByteArray data = in.ReadRawBytes(in.ReadRawInt32());
        QString out = QStringLiteral("{");
        for (qsizetype i = 0; i < data.size(); i += 32)
            out += QLatin1Char('\n') + indent + QStringLiteral("  ") +
                   QString::fromLatin1(data.mid(i, 32).toHex().toUpper());
        return out + QLatin1Char('}');
    }
    case vaSet: {
        QStringList names;
        for (const QByteArray& m : in.ReadSetData()) names.append(QString::fromLatin1(m));
        return QLatin1Char('[') + names.join(QStringLiteral(", ")) + QLatin1Char(']');
    }
    }
    invalidFormat();
}

}  // namespace

QString ObjectRecordToText(StreamReader& in) {
    in.ReadSignature();
    const QString className = in.ReadShortString();
    const QString objectName = in.ReadShortString();
    QString out = QStringLiteral("object ");
    if (!objectName.isEmpty()) out += objectName + QStringLiteral(": ");
    out += className + QLatin1Char('\n');
    while (!in.NextIsEnd()) {
        const QString name = in.ReadShortString();
        out += QStringLiteral("  ") + name + QStringLiteral(" = ") + valueToText(in, QStringLiteral("  "), 0) +
               QLatin1Char('\n');
    }
    in.ReadListEnd();
    in.ReadListEnd();
    return out + QStringLiteral("end\n");
}

QString ValueToText(StreamReader& in) { return valueToText(in, QString(), 0); }

QString ObjectListToText(StreamReader& in) {
    in.ReadListBegin();
    QString out;
    while (!in.NextIsEnd()) out += ObjectRecordToText(in);
    in.ReadListEnd();
    return out;
}

}  // namespace plennix
