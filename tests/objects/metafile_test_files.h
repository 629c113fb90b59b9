#pragma once
// Small metafiles and bitmap files written byte by byte for the clip art tests.
#include <QByteArray>
#include <QImage>
#include <cstdint>
#include <initializer_list>

namespace plennix::test {

inline void Put16(QByteArray& b, int v) {
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}
inline void Put32(QByteArray& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.append(char((v >> (8 * i)) & 0xFF));
}

// A WMF written record by record; Bytes() adds the headers and the end record.
class WmfWriter {
public:
    void Record(int function, std::initializer_list<int> words, const QByteArray& raw = {}) {
        QByteArray body;
        for (int w : words) Put16(body, w);
        body += raw;
        if (body.size() % 2) body.append('\0');
        QByteArray r;
        Put32(r, uint32_t(3 + body.size() / 2));
        Put16(r, function);
        m_records += r + body;
    }
    void Window(int x, int y, int w, int h) {
        Record(0x0103, {8});
        Record(0x020B, {y, x});
        Record(0x020C, {h, w});
    }
    // Creates a solid brush in the next free slot.
    void Brush(uint32_t colorRef) {
        QByteArray raw;
        Put32(raw, colorRef);
        Put16(raw, 0);
        Record(0x02FC, {0}, raw);
    }
    void NullPen() {
        QByteArray raw;
        Put32(raw, 0);
        Record(0x02FA, {5, 0, 0}, raw);
    }
    void Select(int index) { Record(0x012D, {index}); }
    void Delete(int index) { Record(0x01F0, {index}); }
    void Rectangle(int l, int t, int r, int b) { Record(0x041B, {b, r, t, l}); }
    void Ellipse(int l, int t, int r, int b) { Record(0x0418, {b, r, t, l}); }

    QByteArray Plain(int objects = 8) const {
        QByteArray body = m_records;
        Put32(body, 3);  // end record
        Put16(body, 0);
        QByteArray h;
        Put16(h, 1);
        Put16(h, 9);
        Put16(h, 0x0300);
        Put32(h, uint32_t((18 + body.size()) / 2));
        Put16(h, objects);
        Put32(h, 64);
        Put16(h, 0);
        return h + body;
    }
    QByteArray Placeable(int l, int t, int r, int b, int inch, int objects = 8) const {
        QByteArray p;
        Put32(p, 0x9AC6CDD7u);
        Put16(p, 0);
        Put16(p, l);
        Put16(p, t);
        Put16(p, r);
        Put16(p, b);
        Put16(p, inch);
        Put32(p, 0);
        uint16_t sum = 0;
        for (int i = 0; i < 20; i += 2) sum ^= uint16_t(uchar(p[i]) | (uchar(p[i + 1]) << 8));
        Put16(p, sum);
        return p + Plain(objects);
    }

private:
    QByteArray m_records;
};

// An EMF on a 96-pixel-per-inch reference device (so 1 pixel = 25.4/96 mm).
class EmfWriter {
public:
    void Record(uint32_t type, std::initializer_list<int32_t> values) {
        Put32(m_records, type);
        Put32(m_records, uint32_t(8 + values.size() * 4));
        for (int32_t v : values) Put32(m_records, uint32_t(v));
        ++m_count;
    }
    QByteArray Bytes(int widthPx, int heightPx) {
        Record(14, {0, 0, 20});  // end of file
        QByteArray h;
        Put32(h, 1);
        Put32(h, 88);
        for (int v : {0, 0, widthPx - 1, heightPx - 1}) Put32(h, uint32_t(v));
        // The frame in hundredths of a millimetre.
        for (int v : {0, 0, widthPx * 2540 / 96, heightPx * 2540 / 96}) Put32(h, uint32_t(v));
        Put32(h, 0x464D4520u);
        Put32(h, 0x10000);
        Put32(h, uint32_t(88 + m_records.size()));
        Put32(h, uint32_t(m_count + 1));
        Put16(h, 8);  // handles
        Put16(h, 0);
        Put32(h, 0);
        Put32(h, 0);
        Put32(h, 0);
        for (int v : {960, 960, 254, 254}) Put32(h, uint32_t(v));  // device pixels and millimetres
        return h + m_records;
    }

private:
    QByteArray m_records;
    int m_count = 0;
};

// A 24-bit bitmap file of the image.
QByteArray BmpFile(const QImage& image);
// A 256-colour run-length PCX file of a w × h picture: left half red, right half blue.
QByteArray RedBluePcx(int w, int h);
// An uncompressed true-colour TGA without the footer (which Qt's reader needs): top half green.
QByteArray GreenTopTga(int w, int h);

}  // namespace plennix::test
