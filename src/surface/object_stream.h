#pragma once
// The tagged-value encoding of object records and the files built from it (object lists of
// documents, the private clipboard file, clone streams).
//
// Every value is a one-byte tag and its data, integers little-endian, strings 8-bit in
// the files' code page (platform/code_page.h).
// StreamReader reads from a bounded byte range with a position; it never reads past the end and
// checks every length against the bytes left before allocating, so hostile input ends in a
// StreamError ("Invalid stream format" for broken structure or truncation, "Invalid property value"
// for a value of the wrong kind) and never in a crash, a hang or an unbounded allocation.
// The calendar document reader shares it for its own values and cell records: read the container's
// values with the typed readers, then hand the same reader to ReadObjectList for the object list.
// The byte codec is value_codec.cpp, the mapping of objects to records object_records.cpp, and the
// text form object_text.cpp.
#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "surface/object_read_report.h"

namespace plennix {

class TGGraphicControl;
class TGObjectList;

enum ValueTag : uint8_t {
    vaNull = 0x00,      // ends a list, a property list or a set
    vaList = 0x01,      // begins a list
    vaInt8 = 0x02,
    vaInt16 = 0x03,
    vaInt32 = 0x04,
    vaExtended = 0x05,  // 80-bit extended float
    vaString = 0x06,    // 1-byte length
    vaIdent = 0x07,     // 1-byte length
    vaFalse = 0x08,
    vaTrue = 0x09,
    vaBinary = 0x0A,    // 4-byte length
    vaSet = 0x0B,       // member names as short strings, then 0
    vaLString = 0x0C,   // 4-byte length
};

// Messages of the reader, shown to the user by the command that reads.
QString InvalidStreamFormatMessage();   // "Invalid stream format"
QString InvalidPropertyValueMessage();  // "Invalid property value"
QString PropertyDoesNotExistMessage();  // "Property does not exist"
QString ClassNotFoundMessage(const QString& className);  // "Class %s not found"

// Appends values to a byte array.
class ValueWriter {
public:
    explicit ValueWriter(QByteArray& out) : m_out(out) {}

    QByteArray& Bytes() { return m_out; }
    void WriteByte(uint8_t b) { m_out.append(static_cast<char>(b)); }
    void WriteRawInt16(int16_t v);
    void WriteRawInt32(int32_t v);
    // "TPF0", the signature in front of every record.
    void WriteSignature();
    // Untagged short string (class, object and property names); longer text is cut to 255 bytes.
    void WriteShortString(const QString& s);
    void WriteShortStringBytes(const QByteArray& s);

    void WriteListBegin() { WriteByte(vaList); }
    void WriteListEnd() { WriteByte(vaNull); }
    // The smallest of the 8-, 16- and 32-bit integer tags that holds the value.
    void WriteInteger(int32_t v);
    void WriteBoolean(bool v) { WriteByte(v ? vaTrue : vaFalse); }
    // Tag 0x06 up to 255 bytes, else 0x0C; text converted to the files' code page.
    void WriteString(const QString& s);
    void WriteStringBytes(const QByteArray& s);
    void WriteIdent(const QByteArray& ident);
    void WriteSet(const QList<QByteArray>& members);
    void WriteBinary(const QByteArray& data);
    // The 80-bit extended form of a double.
    void WriteExtended(double v);

private:
    QByteArray& m_out;
};

// Reads values from a bounded range of bytes.
class StreamReader {
public:
    // The bytes must outlive the reader.
    StreamReader(const char* data, qsizetype size);
    // Keeps a (shared) copy of the array alive.
    explicit StreamReader(const QByteArray& bytes);

    qsizetype Position() const { return m_pos; }
    qsizetype Size() const { return m_size; }
    qsizetype Remaining() const { return m_size - m_pos; }
    bool AtEnd() const { return m_pos >= m_size; }
    // Clamped to 0..Size().
    void SetPosition(qsizetype pos);

    // Raw data; each throws "Invalid stream format" when the bytes run out.
    uint8_t ReadByte();
    uint8_t PeekByte() const;
    int16_t ReadRawInt16();
    int32_t ReadRawInt32();
    QByteArray ReadRawBytes(qsizetype count);
    // 10 bytes of 80-bit extended precision, as the nearest double (infinite when out of range).
    double ReadRawExtended();
    // Expects "TPF0".
    void ReadSignature();
    QByteArray ReadShortStringBytes();
    QString ReadShortString();

    // A tag byte; an unknown tag is "Invalid stream format".
    ValueTag ReadTag();
    ValueTag PeekTag() const;
    bool NextIsEnd() const { return PeekByte() == vaNull; }
    void ReadListBegin();  // "Invalid stream format" unless 0x01
    void ReadListEnd();    // "Invalid stream format" unless 0x00

    // Typed values: a value of another kind is "Invalid property value".
    int32_t ReadInteger();  // any of the three integer tags
    bool ReadBoolean();     // 0x08 or 0x09 only
    QString ReadString();   // 0x06 or 0x0C
    QByteArray ReadStringBytes();
    QByteArray ReadIdent();
    QByteArray ReadBinary();
    QList<QByteArray> ReadSet();
    double ReadFloat();     // extended, or an integer

    // The data of a value whose tag was already read.
    int32_t ReadIntegerData(ValueTag tag);
    QByteArray ReadStringData(ValueTag tag);
    QList<QByteArray> ReadSetData();

private:
    void need(qsizetype count) const;

    QByteArray m_holder;
    const char* m_data;
    qsizetype m_size;
    qsizetype m_pos = 0;
};

// Record of one object: "TPF0", class name, object name, the published properties in table
// order by the writing rules of the property kinds, 0x00, 0x00 (the empty child list).
QByteArray WriteObjectRecord(const TGGraphicControl& obj);
void WriteObjectRecord(ValueWriter& w, const TGGraphicControl& obj);
// Object list: 0x01, one record per object, 0x00.
void WriteObjectList(QByteArray& out, const std::vector<const TGGraphicControl*>& objs);

// Reads past one tagged value of any kind ("Invalid stream format" on bad input).
void SkipValue(StreamReader& in);

// Reads an object list: every record creates an object of its registered class with `owner`,
// adds it to `list`, names it "Component"+n (the smallest n in 0..1000 that no child of
// `namingOwner`, no object already in `list` and no object read before it uses; the stored name
// when all are taken) and assigns its properties while it is
// loading; with `pasting` every object moves 15 pixels right and down. All objects created receive
// Loaded once the list is read. Records after the first kMaxObjectsPerList are skipped. On a failure
// the object being read is destroyed, the ones read before it stay in the list and receive Loaded,
// and the StreamError is rethrown. What was read and left out goes to `report` when given and, with
// a list, to the list's LastReadReport. The objects' rich texts are read within
// *pictureBudget pixels of pictures (which they reduce) when given, else within a budget of their own
// (one clipboard file, one document's objects).
std::vector<TGGraphicControl*> ReadObjectList(StreamReader& in, QObject* owner, TGObjectList* list,
                                              QObject* namingOwner, bool pasting,
                                              ObjectListReadReport* report = nullptr,
                                              qint64* pictureBudget = nullptr);

// The text form of records for inspection:
//   object Component0: TGPLabel
//     Left = 100
//     Font.Style = [fsBold]
//   end
// A record is read from its "TPF0" on; a list from its 0x01 on. Throws StreamError on bad input.
QString ObjectRecordToText(StreamReader& in);
QString ObjectListToText(StreamReader& in);
// One tagged value in the same text form: 100, 'text'#13, clRed, False, [fsBold], {0102}, (1 2).
QString ValueToText(StreamReader& in);

}  // namespace plennix
