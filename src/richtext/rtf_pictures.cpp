#include "richtext/rtf_pictures.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>
#include <cstring>

namespace plennix {

namespace {

constexpr int kMaxSide = 16384;

bool SizeAcceptable(qint64 w, qint64 h, qint64 maxPixels, bool* tooLarge) {
    if (w <= 0 || h <= 0) return false;
    if (w <= kMaxSide && h <= kMaxSide && w * h <= std::min(maxPixels, kMaxPicturePixels)) return true;
    if (tooLarge) *tooLarge = true;
    return false;
}

uint32_t U32(const uchar* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
uint16_t U16(const uchar* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
void Put32(QByteArray& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// The 16 colours of the standard 4-bit device palette.
constexpr QRgb kVga16[16] = {0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080,
                             0xFF008080, 0xFFC0C0C0, 0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00,
                             0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};

}  // namespace

QImage DecodePngOrJpeg(const QByteArray& data, const char* format, qint64 maxPixels, bool* tooLarge) {
    QBuffer buffer;
    buffer.setData(data);
    if (!buffer.open(QIODevice::ReadOnly)) return {};
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    QSize size = reader.size();
    if (!size.isValid() || !SizeAcceptable(size.width(), size.height(), maxPixels, tooLarge)) return {};
    QImage image;
    if (!reader.read(&image)) return {};
    return image;
}

QImage DecodeDib(const QByteArray& data, qint64 maxPixels, bool* tooLarge) {
    const auto* p = reinterpret_cast<const uchar*>(data.constData());
    const qint64 n = data.size();
    if (n < 12) return {};
    const uint32_t headerSize = U32(p);
    if (headerSize < 12 || headerSize > static_cast<uint64_t>(n)) return {};
    qint64 width, height;
    int bitCount;
    uint32_t compression = 0, colorsUsed = 0;
    int entrySize = 4;
    if (headerSize == 12) {  // the OS/2 core header
        width = U16(p + 4);
        height = U16(p + 6);
        bitCount = U16(p + 10);
        entrySize = 3;
    } else {
        if (headerSize < 40) return {};
        width = static_cast<int32_t>(U32(p + 4));
        height = static_cast<int32_t>(U32(p + 8));
        bitCount = U16(p + 14);
        compression = U32(p + 16);
        colorsUsed = U32(p + 32);
    }
    const qint64 absHeight = height < 0 ? -height : height;
    if (!SizeAcceptable(width, absHeight, maxPixels, tooLarge)) return {};
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return {};
    qint64 paletteEntries = colorsUsed ? colorsUsed : (bitCount <= 8 ? (1 << bitCount) : 0);
    if (paletteEntries > 256) paletteEntries = bitCount <= 8 ? 256 : 0;
    qint64 masks = (compression == 3 && headerSize == 40) ? 12 : 0;
    qint64 bitsOffset = headerSize + paletteEntries * entrySize + masks;
    if (bitsOffset > n) return {};
    if (compression == 0 || compression == 3) {
        qint64 rowBytes = ((width * bitCount + 31) / 32) * 4;
        if (rowBytes * absHeight > n - bitsOffset) return {};
    } else if (compression != 1 && compression != 2) {
        return {};  // JPEG or PNG inside a DIB, or unknown
    }
    // The image reader wants a bitmap file: prefix the 14-byte file header.
    QByteArray file;
    file.reserve(14 + n);
    file.append("BM", 2);
    Put32(file, static_cast<uint32_t>(14 + n));
    Put32(file, 0);
    Put32(file, static_cast<uint32_t>(14 + bitsOffset));
    file.append(data);
    return DecodePngOrJpeg(file, "BMP", maxPixels);
}

QImage DecodeDdb(const QByteArray& data, int width, int height, int bitsPerPixel, int widthBytes,
                 qint64 maxPixels, bool* tooLarge) {
    if (!SizeAcceptable(width, height, maxPixels, tooLarge)) return {};
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 16 && bitsPerPixel != 24 &&
        bitsPerPixel != 32)
        return {};
    const qint64 minRow = (static_cast<qint64>(width) * bitsPerPixel + 7) / 8;
    qint64 row = widthBytes > 0 ? widthBytes : ((static_cast<qint64>(width) * bitsPerPixel + 15) / 16) * 2;
    if (row < minRow) return {};
    if (row * height > data.size()) return {};
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) return {};
    const auto* bits = reinterpret_cast<const uchar*>(data.constData());
    for (int y = 0; y < height; ++y) {
        const uchar* src = bits + row * y;
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            QRgb c;
            switch (bitsPerPixel) {
            case 1: c = (src[x >> 3] & (0x80 >> (x & 7))) ? 0xFFFFFFFF : 0xFF000000; break;
            case 4: c = kVga16[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F]; break;
            case 8: c = qRgb(src[x], src[x], src[x]); break;
            case 16: {
                int v = src[2 * x] | (src[2 * x + 1] << 8);
                c = qRgb(((v >> 10) & 31) * 255 / 31, ((v >> 5) & 31) * 255 / 31, (v & 31) * 255 / 31);
                break;
            }
            case 24: c = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]); break;
            default: c = qRgb(src[4 * x + 2], src[4 * x + 1], src[4 * x]); break;
            }
            dst[x] = c;
        }
    }
    return image;
}

QByteArray EncodePng(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

std::shared_ptr<const RtfPicture> MakePicture(const QImage& image, int widthTwips, int heightTwips) {
    if (image.isNull()) return nullptr;
    auto pic = std::make_shared<RtfPicture>();
    pic->png = EncodePng(image);
    pic->image = image;
    pic->widthTwips = widthTwips > 0 ? widthTwips : PixelsToTwips(image.width());
    pic->heightTwips = heightTwips > 0 ? heightTwips : PixelsToTwips(image.height());
    return pic;
}

}  // namespace plennix
