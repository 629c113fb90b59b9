#include "objects/picture_data.h"

#include <cstdint>
#include <cstdlib>

namespace plennix {

namespace {

uint32_t u16(const QByteArray& b, qsizetype at) {
    return static_cast<uint8_t>(b[at]) | (static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8);
}

uint32_t u32(const QByteArray& b, qsizetype at) { return u16(b, at) | (u16(b, at + 2) << 16); }

int32_t i32(const QByteArray& b, qsizetype at) { return static_cast<int32_t>(u32(b, at)); }

constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;

// Walks run-length data from `pos`: complete when the end mark is reached, or when every row has ended.
bool rleComplete(const QByteArray& b, qsizetype pos, int64_t rows, bool fourBit) {
    const qsizetype size = b.size();
    int64_t row = 0;
    while (pos + 2 <= size) {
        const uint32_t count = static_cast<uint8_t>(b[pos]), code = static_cast<uint8_t>(b[pos + 1]);
        pos += 2;
        if (count > 0) continue;  // a run of one value
        switch (code) {
        case 0:  // end of a row
            if (++row >= rows) return true;
            break;
        case 1: return true;  // end of the bitmap
        case 2:               // a jump right and down
            if (pos + 2 > size) return false;
            row += static_cast<uint8_t>(b[pos + 1]);
            pos += 2;
            if (row >= rows) return true;
            break;
        default: {  // `code` literal pixels, padded to a whole word
            qsizetype bytes = fourBit ? (code + 1) / 2 : code;
            bytes += bytes & 1;
            if (pos + bytes > size) return false;
            pos += bytes;
        }
        }
    }
    return false;
}

}  // namespace

bool BmpDataComplete(const QByteArray& b) {
    const int64_t size = b.size();
    if (size < 18 || b[0] != 'B' || b[1] != 'M') return false;
    const int64_t offBits = u32(b, 10);
    const int64_t headerSize = u32(b, 14);
    int64_t width = 0, height = 0;
    uint32_t bits = 0, compression = kRgb, colorsUsed = 0;
    int64_t entrySize = 4, masks = 0;
    if (headerSize == 12) {
        if (size < 26) return false;
        width = u16(b, 18);
        height = u16(b, 20);
        bits = u16(b, 24);
        entrySize = 3;
    } else if (headerSize >= 16) {
        if (size < 14 + headerSize) return false;
        width = i32(b, 18);
        height = i32(b, 22);
        bits = u16(b, 28);
        if (headerSize >= 20) compression = u32(b, 30);
        if (headerSize >= 36) colorsUsed = u32(b, 46);
        // The oldest long header keeps its colour masks after itself.
        if (headerSize == 40 && compression == kBitFields) masks = 12;
        if (headerSize == 40 && compression == kAlphaBitFields) masks = 16;
    } else {
        return false;
    }
    height = std::llabs(height);
    if (width <= 0 || height <= 0 || bits == 0) return false;
    const int64_t headersEnd = 14 + headerSize + masks;
    int64_t palette = 0;
    if (bits <= 8) palette = entrySize * (colorsUsed != 0 ? colorsUsed : (int64_t{1} << bits));
    if (headersEnd + palette > size) return false;
    const int64_t start = offBits != 0 ? offBits : headersEnd + palette;
    if (start > size) return false;
    switch (compression) {
    case kRgb:
    case kBitFields:
    case kAlphaBitFields: {
        // Divided rather than multiplied: a hostile header's rows times their length need not fit.
        const int64_t stride = (width * bits + 31) / 32 * 4;
        return height <= (size - start) / stride;
    }
    case kRle8: return rleComplete(b, static_cast<qsizetype>(start), height, false);
    case kRle4: return rleComplete(b, static_cast<qsizetype>(start), height, true);
    default: return true;  // embedded JPEG or PNG: their own decoder judges them
    }
}

bool IconDataComplete(const QByteArray& b) {
    const int64_t size = b.size();
    if (size < 6) return false;
    const int64_t count = u16(b, 4);
    if (count == 0 || 6 + 16 * count > size) return false;
    for (int64_t i = 0; i < count; ++i) {
        const int64_t entry = 6 + 16 * i;
        const int64_t bytes = u32(b, entry + 8), offset = u32(b, entry + 12);
        if (bytes == 0 || offset + bytes > size) return false;
    }
    return true;
}

bool PictureDataComplete(const QByteArray& b) {
    if (b.startsWith("BM")) return BmpDataComplete(b);
    if (b.size() >= 4 && b[0] == 0 && b[1] == 0 && b[2] == 1 && b[3] == 0) return IconDataComplete(b);
    // A JPEG stream ends with its end-of-image mark after the scan data.
    if (b.startsWith("\xFF\xD8\xFF")) {
        const qsizetype scan = b.indexOf("\xFF\xDA");
        return scan >= 0 && b.lastIndexOf("\xFF\xD9") > scan;
    }
    return true;
}

}  // namespace plennix
