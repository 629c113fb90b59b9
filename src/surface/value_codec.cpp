// The byte codec of object records: tagged values written to and read from a bounded byte range.
#include "surface/object_stream.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "platform/stream_error.h"
#include "platform/code_page.h"

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

void ValueWriter::WriteShortString(const QString& s) { WriteShortStringBytes(EncodeToCodePage(s)); }

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

void ValueWriter::WriteString(const QString& s) { WriteStringBytes(EncodeToCodePage(s)); }

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

QString StreamReader::ReadShortString() { return DecodeFromCodePage(ReadShortStringBytes()); }

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

QString StreamReader::ReadString() { return DecodeFromCodePage(ReadStringBytes()); }

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

namespace {
constexpr int kMaxSkipDepth = 32;

void skipValue(StreamReader& in, int depth) {
    const ValueTag tag = in.ReadTag();
    switch (tag) {
    case vaNull: invalidFormat();
    case vaList:
        // Nesting is bounded so that hostile input cannot exhaust the stack.
        if (depth >= kMaxSkipDepth) invalidFormat();
        while (!in.NextIsEnd()) skipValue(in, depth + 1);
        in.ReadListEnd();
        return;
    case vaInt8:
    case vaInt16:
    case vaInt32: in.ReadIntegerData(tag); return;
    case vaExtended: in.ReadRawExtended(); return;
    case vaString:
    case vaLString: in.ReadStringData(tag); return;
    case vaIdent: in.ReadShortStringBytes(); return;
    case vaFalse:
    case vaTrue: return;
    case vaBinary: in.ReadRawBytes(in.ReadRawInt32()); return;
    case vaSet: in.ReadSetData(); return;
    }
    invalidFormat();
}
}  // namespace

void SkipValue(StreamReader& in) { skipValue(in, 0); }

}  // namespace plennix
