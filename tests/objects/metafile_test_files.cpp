#include "metafile_test_files.h"

#include <QBuffer>

namespace plennix::test {

QByteArray BmpFile(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(QImage::Format_RGB32).save(&buffer, "BMP");
    return bytes;
}

QByteArray RedBluePcx(int w, int h) {
    QByteArray b;
    b.append(char(10));
    b.append(char(5));
    b.append(char(1));
    b.append(char(8));
    for (int v : {0, 0, w - 1, h - 1, 96, 96}) Put16(b, v);
    b.append(QByteArray(48, '\0'));
    b.append(char(0));
    b.append(char(1));
    const int bytesPerLine = (w + 1) & ~1;
    Put16(b, bytesPerLine);
    Put16(b, 1);
    b.append(QByteArray(58, '\0'));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < bytesPerLine; ++x) {
            b.append(char(0xC1));  // a run of one: every value may then be any byte
            b.append(char(x < w / 2 ? 1 : 2));
        }
    b.append(char(0x0C));
    QByteArray palette(768, '\0');
    palette[3] = char(255);  // 1: red
    palette[8] = char(255);  // 2: blue
    b.append(palette);
    return b;
}

QByteArray GreenTopTga(int w, int h) {
    QByteArray b(18, '\0');
    b[2] = 2;
    b[12] = char(w & 0xFF);
    b[13] = char(w >> 8);
    b[14] = char(h & 0xFF);
    b[15] = char(h >> 8);
    b[16] = 24;
    b[17] = 0x20;  // rows from the top
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool green = y < h / 2;
            b.append(char(0));                // blue
            b.append(char(green ? 200 : 0));  // green
            b.append(char(green ? 0 : 0));    // red
        }
    return b;
}

}  // namespace plennix::test
