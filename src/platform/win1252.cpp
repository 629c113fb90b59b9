#include "platform/win1252.h"

namespace plennix {
namespace {
// 0x80..0x9F of Windows-1252; 0 marks the five unassigned bytes, which map to their C1 code points.
constexpr char16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
}  // namespace

char16_t Win1252Char(unsigned char b) {
    if (b >= 0x80 && b <= 0x9F) {
        char16_t c = kHigh[b - 0x80];
        return c ? c : static_cast<char16_t>(b);
    }
    return static_cast<char16_t>(b);
}

bool Win1252Byte(char16_t ch, unsigned char* out) {
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) {
        *out = static_cast<unsigned char>(ch);
        return true;
    }
    for (int i = 0; i < 32; ++i) {
        char16_t c = kHigh[i] ? kHigh[i] : static_cast<char16_t>(0x80 + i);
        if (c == ch) {
            *out = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}

QString FromWin1252(const char* data, qsizetype len) {
    QString s;
    s.resize(len);
    QChar* d = s.data();
    for (qsizetype i = 0; i < len; ++i) d[i] = QChar(Win1252Char(static_cast<unsigned char>(data[i])));
    return s;
}

QString FromWin1252(const QByteArray& bytes) { return FromWin1252(bytes.constData(), bytes.size()); }

QByteArray ToWin1252(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        unsigned char b;
        out.append(Win1252Byte(c.unicode(), &b) ? static_cast<char>(b) : '?');
    }
    return out;
}
}  // namespace plennix
