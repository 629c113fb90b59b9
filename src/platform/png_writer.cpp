#include "platform/png_writer.h"

#include <zlib.h>

#include <cstring>
#include <memory>
#include <vector>

namespace plennix {

namespace {

void appendBigEndian(QByteArray& out, uint32_t v) {
    const char bytes[4] = {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                           static_cast<char>(v)};
    out.append(bytes, 4);
}

void appendChunk(QByteArray& out, const char type[4], const uchar* data, uint32_t length) {
    appendBigEndian(out, length);
    out.append(type, 4);
    uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(type), 4);
    if (length > 0) {
        out.append(reinterpret_cast<const char*>(data), length);
        crc = crc32(crc, data, length);
    }
    appendBigEndian(out, static_cast<uint32_t>(crc));
}

void putBigEndian(uchar* p, uint32_t v) {
    p[0] = static_cast<uchar>(v >> 24);
    p[1] = static_cast<uchar>(v >> 16);
    p[2] = static_cast<uchar>(v >> 8);
    p[3] = static_cast<uchar>(v);
}

// Deflate's output is cut into IDAT chunks of this size as it comes.
constexpr uInt kIdatSize = 1 << 16;

class Deflater {
public:
    Deflater() = default;
    ~Deflater() {
        if (m_open) deflateEnd(&m_z);
    }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    bool open(int level) {
        m_open = deflateInit2(&m_z, level, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) == Z_OK;
        m_z.next_out = m_buffer;
        m_z.avail_out = kIdatSize;
        return m_open;
    }

    // Compresses `length` bytes, emitting full IDAT chunks to `out`; `last` ends the stream and emits
    // the rest.
    bool write(QByteArray& out, const uchar* data, uInt length, bool last) {
        m_z.next_in = const_cast<Bytef*>(data);
        m_z.avail_in = length;
        const int flush = last ? Z_FINISH : Z_NO_FLUSH;
        for (;;) {
            const int result = deflate(&m_z, flush);
            if (result == Z_STREAM_ERROR) return false;
            if (m_z.avail_out == 0) {
                appendChunk(out, "IDAT", m_buffer, kIdatSize);
                m_z.next_out = m_buffer;
                m_z.avail_out = kIdatSize;
                continue;
            }
            if (last ? result == Z_STREAM_END : m_z.avail_in == 0) break;
            if (result == Z_BUF_ERROR) return false;  // no progress with room left: cannot happen
        }
        if (last && m_z.avail_out < kIdatSize) appendChunk(out, "IDAT", m_buffer, kIdatSize - m_z.avail_out);
        return true;
    }

private:
    z_stream m_z{};
    bool m_open = false;
    uchar m_buffer[kIdatSize];
};

}  // namespace

bool EncodePng(const QImage& image, QByteArray& out, QString* error, int level) {
    const auto fail = [&](const QString& why) {
        if (error) *error = why;
        return false;
    };
    if (image.isNull()) return fail(QStringLiteral("the image is empty"));
    // Rows in PNG's own byte order, so that each is deflated as it lies in memory.
    const bool alpha = image.hasAlphaChannel();
    const QImage rows = image.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    if (rows.isNull()) return fail(QStringLiteral("not enough memory for the image"));
    const uint32_t width = static_cast<uint32_t>(rows.width());
    const uint32_t height = static_cast<uint32_t>(rows.height());
    const size_t rowBytes = static_cast<size_t>(width) * (alpha ? 4 : 3);

    const qsizetype start = out.size();
    const auto failWithout = [&](const QString& why) {
        out.truncate(start);
        return fail(why);
    };
    static const char signature[8] = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1a', '\n'};
    out.append(signature, 8);

    uchar header[13];
    putBigEndian(header, width);
    putBigEndian(header + 4, height);
    header[8] = 8;              // bits per channel
    header[9] = alpha ? 6 : 2;  // RGBA or RGB
    header[10] = 0;             // deflate
    header[11] = 0;             // the adaptive filter method (each row says its filter)
    header[12] = 0;             // not interlaced
    appendChunk(out, "IHDR", header, sizeof header);

    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0) {
        uchar physical[9];
        putBigEndian(physical, static_cast<uint32_t>(image.dotsPerMeterX()));
        putBigEndian(physical + 4, static_cast<uint32_t>(image.dotsPerMeterY()));
        physical[8] = 1;  // per metre
        appendChunk(out, "pHYs", physical, sizeof physical);
    }

    auto deflater = std::make_unique<Deflater>();
    if (!deflater->open(level)) return failWithout(QStringLiteral("not enough memory for the PNG encoder"));
    // Each row starts with its filter type: 0, the bytes as they are.
    std::vector<uchar> row(1 + rowBytes, 0);
    for (uint32_t y = 0; y < height; ++y) {
        std::memcpy(row.data() + 1, rows.constScanLine(static_cast<int>(y)), rowBytes);
        if (!deflater->write(out, row.data(), static_cast<uInt>(row.size()), y + 1 == height))
            return failWithout(QStringLiteral("the PNG encoder failed"));
    }
    appendChunk(out, "IEND", nullptr, 0);
    return true;
}

}  // namespace plennix
