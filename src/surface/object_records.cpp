// The record mapping: objects and their property tables to records and back.
#include "surface/object_stream.h"

#include <QSet>
#include <algorithm>
#include <limits>

#include "platform/colors.h"
#include "platform/stream_error.h"
#include "surface/graphic_control.h"
#include "surface/object_list.h"

namespace plennix {

namespace {
[[noreturn]] void invalidValue() { throw StreamError(InvalidPropertyValueMessage()); }
[[noreturn]] void noSuchProperty() { throw StreamError(PropertyDoesNotExistMessage()); }
}  // namespace

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
// list and the names handed out earlier in the same list count as taken too, so that objects whose
// owner is not the naming owner cannot end up sharing a name.
class ComponentNamer {
public:
    ComponentNamer(QObject* namingOwner, const TGObjectList* list) {
        if (namingOwner)
            for (const QObject* child : namingOwner->children()) m_taken.insert(child->objectName().toLower());
        if (list)
            for (const TGGraphicControl* o : list->Objects()) m_taken.insert(o->Name().toLower());
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

namespace {

// The records that start at or after the reader's position, found by their signature. Once a
// record has failed the structure after it cannot be trusted; the signatures still tell how many
// objects the damage cost.
int countSignatures(StreamReader& in) {
    const qsizetype start = in.Position();
    const QByteArray rest = in.ReadRawBytes(in.Remaining());
    in.SetPosition(start);
    int count = 0;
    for (qsizetype at = rest.indexOf("TPF0"); at >= 0; at = rest.indexOf("TPF0", at + 4)) ++count;
    return count;
}

// Reads past one record without creating its object.
void skipRecord(StreamReader& in) {
    in.ReadSignature();
    in.ReadShortStringBytes();  // class
    in.ReadShortStringBytes();  // name
    while (!in.NextIsEnd()) {
        in.ReadShortStringBytes();
        SkipValue(in);
    }
    in.ReadListEnd();  // properties
    in.ReadListEnd();  // child components
}

}  // namespace

QString ObjectListReadMessage(const ObjectListReadReport& report, const QString& what) {
    QStringList parts;
    if (report.overLimit > 0)
        parts << QStringLiteral("%1 holds more objects than a page can carry: the first %2 were read and %3 "
                                "were left out.")
                     .arg(what)
                     .arg(kMaxObjectsPerList)
                     .arg(report.overLimit);
    if (report.unreadable > 0)
        parts << QStringLiteral("%1 object(s) in %2 could not be read (%3) and were left out.")
                     .arg(report.unreadable)
                     .arg(what, report.error);
    else if (!report.error.isEmpty() && report.overLimit == 0)
        parts << QStringLiteral("The list of objects in %1 is damaged at its end (%2); every object in it "
                                "was read.")
                     .arg(what, report.error);
    for (QString& p : parts) p[0] = p[0].toUpper();
    const QString richText = RtfReadMessage(report.richText, what);
    if (!richText.isEmpty()) parts << richText;
    return parts.join(QLatin1Char('\n'));
}

std::vector<TGGraphicControl*> ReadObjectList(StreamReader& in, QObject* owner, TGObjectList* list,
                                              QObject* namingOwner, bool pasting, ObjectListReadReport* report,
                                              qint64* pictureBudget) {
    ObjectListReadReport local;
    ObjectListReadReport& rep = report ? *report : local;
    rep = ObjectListReadReport();
    qint64 ownBudget = kMaxDocumentPicturePixels;
    qint64& budget = pictureBudget ? *pictureBudget : ownBudget;
    std::vector<TGGraphicControl*> created;
    // Every exit leaves the outcome on the list too, so that the command that opened a document
    // through layers that do not pass a report along can still tell the person.
    auto finish = [&] {
        rep.read = static_cast<int>(created.size());
        for (const TGGraphicControl* obj : created) obj->ReadRichTextWithin(budget, rep.richText);
        if (list) list->SetLastReadReport(rep);
        // Objects are complete only now; kinds finish their setup in Loaded.
        for (TGGraphicControl* obj : created) obj->Loaded();
    };
    ComponentNamer namer(namingOwner, list);
    TGGraphicControl* current = nullptr;
    qsizetype recordStart = in.Position();
    try {
        in.ReadListBegin();
        while (!in.NextIsEnd()) {
            recordStart = in.Position();
            if (static_cast<int>(created.size()) >= kMaxObjectsPerList) {
                skipRecord(in);
                ++rep.overLimit;
                recordStart = in.Position();
                continue;
            }
            in.ReadSignature();
            const QString className = in.ReadShortString();
            current = CreateRegisteredObject(className, owner);
            if (!current) throw StreamError(ClassNotFoundMessage(className));
            current->SetLoading(true);
            current->SetList(list);
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
            recordStart = in.Position();
        }
        in.ReadListEnd();
    } catch (const StreamError& e) {
        // A half-read object is dropped; the whole ones stay.
        if (current) {
            current->SetList(nullptr);
            delete current;
        }
        rep.error = e.message();
        in.SetPosition(recordStart);
        rep.unreadable = countSignatures(in);
        finish();
        throw;
    } catch (...) {
        if (current) {
            current->SetList(nullptr);
            delete current;
        }
        finish();
        throw;
    }
    finish();
    return created;
}


}  // namespace plennix
