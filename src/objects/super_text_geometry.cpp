#include "objects/super_text_geometry.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "objects/picture_data.h"
#include "platform/numbers.h"
#include "platform/stream_error.h"
#include "surface/object_stream.h"

namespace plennix {

QStringList SurfaceTypeNames() { return {"stNormal", "stBrushTransparent", "stBrushImage", "stGradientFill"}; }
QStringList FillDirectionNames() { return {"gdUp", "gdDown", "gdLeft", "gdRight"}; }
QStringList ShadowOrientationNames() { return ShadowDirectionNames(); }
QStringList PenStyleNames() {
    return {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"};
}

Point SuperTextShadowOffset(TShadowOrientation orientation, int depth) { return ShadowOffset(orientation, depth); }

Point ZoomedShadowOffset(Point offset, float zoom) {
    if (zoom == 1.0f) return offset;
    const double z = zoom;
    return {truncToInt(z * offset.x), truncToInt(z * offset.y)};
}

SuperTextLayout ComputeSuperTextLayout(const SuperTextLayoutInput& in) {
    SuperTextLayout out;
    const int dx = in.shadow.x, dy = in.shadow.y;
    const int H = in.textHeight;
    out.textOffset = {dx < 0 ? -dx : 0, dy < 0 ? -dy : 0};
    const int T = H + std::abs(dy);
    int width = in.width, height = in.height;
    if (width <= 5) width = in.textWidth;
    if (1.2 * T < height && in.transparent && !in.border) height = truncToInt(1.2 * T);
    if (height < T) height = T;
    out.width = width;
    out.height = height;
    out.faceRect = Rect(out.textOffset.x + 5, out.textOffset.y, width, out.textOffset.y + H);
    out.shadowRect = out.faceRect.translated(dx, dy);
    out.faceOrigin = {out.faceRect.left, out.faceRect.top};
    out.shadowOrigin = {out.faceOrigin.x + dx, out.faceOrigin.y + dy};
    return out;
}

int SuperTextMargin(const SuperTextLayout& layout) { return std::max(layout.faceRect.left, layout.shadowRect.left); }

FitResult ComputeFitToText(const SuperTextLayout& layout, int cx, int cy) {
    const int L = SuperTextMargin(layout);
    const int T = std::max(layout.faceRect.top, layout.shadowRect.top);
    FitResult r;
    r.width = truncToInt(L + 1.2 * cx);
    r.height = truncToInt(1.2 * (static_cast<double>(T) + cy));
    if (r.height < cy) r.height = truncToInt(1.5 * cy);
    if (r.width < cx) r.width = truncToInt(1.5 * cx);
    r.fits = r.height >= cy && r.width >= cx;
    return r;
}

GradientEnds GradientEndColors(TFillDirection direction, TColor from, TColor to) {
    from = ColorToRGB(from);
    to = ColorToRGB(to);
    if (direction == gdDown || direction == gdRight) return {from, to};
    return {to, from};
}

TColor GradientBandColor(const GradientEnds& ends, int i) {
    const auto part = [](TColor c, int shift) { return (static_cast<uint32_t>(c) >> shift) & 0xFF; };
    const auto channel = [&](int shift) {
        const int c0 = static_cast<int>(part(ends.first, shift));
        const int d = static_cast<int>(part(ends.last, shift)) - c0;
        return c0 + MulDiv(i, d, 255);
    };
    return RGB(channel(0), channel(8), channel(16));
}

bool GradientRunsInRows(TFillDirection direction) { return direction == gdUp || direction == gdDown; }

std::vector<GradientBand> GradientBands(TFillDirection direction, TColor from, TColor to, int width, int height) {
    std::vector<GradientBand> bands;
    bands.reserve(256);
    const GradientEnds ends = GradientEndColors(direction, from, to);
    const bool rows = GradientRunsInRows(direction);
    const int length = rows ? height : width;
    for (int i = 0; i < 256; ++i) {
        const int a = MulDiv(length, i, 256);
        const int b = MulDiv(length, i + 1, 256);
        const Rect r = rows ? Rect(0, a, width, b) : Rect(a, 0, b, height);
        bands.push_back({r, GradientBandColor(ends, i)});
    }
    return bands;
}

namespace {
// A strip longer than this is built at this length and stretched: 256 bands need no more.
constexpr int kMaxStripLength = 65536;
}  // namespace

QImage MakeGradientStrip(TFillDirection direction, TColor from, TColor to, int width, int height) {
    const bool rows = GradientRunsInRows(direction);
    const int length = std::clamp(rows ? height : width, 1, kMaxStripLength);
    QImage strip(rows ? 1 : length, rows ? length : 1, QImage::Format_RGB32);
    if (strip.isNull()) return strip;
    const GradientEnds ends = GradientEndColors(direction, from, to);
    std::vector<QRgb> line(static_cast<size_t>(length));
    for (int i = 0; i < 256; ++i) {
        const int a = std::max(0, MulDiv(length, i, 256));
        const int b = std::min(length, MulDiv(length, i + 1, 256));
        const QColor c = toQColor(GradientBandColor(ends, i));
        for (int p = a; p < b; ++p) line[static_cast<size_t>(p)] = c.rgb();
    }
    if (rows) {
        for (int y = 0; y < length; ++y) reinterpret_cast<QRgb*>(strip.scanLine(y))[0] = line[static_cast<size_t>(y)];
    } else {
        std::memcpy(strip.scanLine(0), line.data(), line.size() * sizeof(QRgb));
    }
    return strip;
}

std::vector<Rect> TileRects(int tileWidth, int tileHeight, int areaWidth, int areaHeight) {
    std::vector<Rect> tiles;
    if (tileWidth < 1 || tileHeight < 1) return tiles;
    for (int64_t y = 0; y < areaHeight; y += tileHeight)
        for (int64_t x = 0; x < areaWidth; x += tileWidth)
            tiles.push_back(Rect(static_cast<int>(x), static_cast<int>(y), static_cast<int>(x + tileWidth),
                                 static_cast<int>(y + tileHeight)));
    return tiles;
}

QString CutCaptionToWidth(const QString& caption, int available,
                          const std::function<int(const QString&)>& width) {
    if (caption.isEmpty() || width(caption) <= available) return caption;
    // Prefix widths grow with the length; search for the longest that fits, then step back over any
    // prefix that still measures too wide (kerning) and over a split surrogate pair.
    qsizetype lo = 0, hi = caption.size() - 1;
    while (lo < hi) {
        const qsizetype mid = (lo + hi + 1) / 2;
        if (width(caption.left(mid)) <= available)
            lo = mid;
        else
            hi = mid - 1;
    }
    qsizetype n = lo;
    while (n > 0 && (caption.at(n - 1).isHighSurrogate() || width(caption.left(n)) > available)) --n;
    return caption.left(n);
}

// --- texture bitmaps in records ------------------------------------------------------------------

bool TextureSizeAcceptable(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxTextureSide && height <= kMaxTextureSide &&
           static_cast<int64_t>(width) * height <= kMaxTexturePixels;
}

QByteArray EncodeImageData(const QImage& image) {
    if (image.isNull() || image.width() < 1 || image.height() < 1) return {};
    QByteArray file;
    QBuffer buffer(&file);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "BMP");
    if (!writer.write(image.convertToFormat(QImage::Format_RGB32))) return {};
    QByteArray out;
    ValueWriter w(out);
    w.WriteRawInt32(static_cast<int32_t>(file.size()));
    out.append(file);
    return out;
}

namespace {
int32_t le32(const QByteArray& b, qsizetype at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(b[at + i]);
    return static_cast<int32_t>(v);
}
int16_t le16(const QByteArray& b, qsizetype at) {
    return static_cast<int16_t>(static_cast<uint8_t>(b[at]) | (static_cast<uint8_t>(b[at + 1]) << 8));
}
[[noreturn]] void notABitmap() { throw StreamError(QStringLiteral("Bitmap image is not valid")); }
}  // namespace

QImage DecodeImageData(const QByteArray& data) {
    if (data.isEmpty()) return {};
    if (data.size() < 4) throw StreamError(InvalidStreamFormatMessage());
    const int32_t count = le32(data, 0);
    if (count < 0 || count > data.size() - 4) throw StreamError(InvalidStreamFormatMessage());
    const QByteArray file = data.mid(4, count);
    // The header is checked before decoding so that a hostile size never reaches an allocation.
    if (file.size() < 26 || file[0] != 'B' || file[1] != 'M') notABitmap();
    const int32_t headerSize = le32(file, 14);
    int64_t w = 0, h = 0;
    if (headerSize == 12) {
        w = le16(file, 18);
        h = le16(file, 20);
    } else if (headerSize >= 40 && file.size() >= 26) {
        w = le32(file, 18);
        h = le32(file, 22);
    } else {
        notABitmap();
    }
    h = h < 0 ? -h : h;
    if (w <= 0 || h <= 0 || !TextureSizeAcceptable(static_cast<int>(std::min<int64_t>(w, INT32_MAX)),
                                                   static_cast<int>(std::min<int64_t>(h, INT32_MAX))))
        notABitmap();
    if (!BmpDataComplete(file)) notABitmap();
    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "BMP");
    QImage image = reader.read();
    if (image.isNull()) notABitmap();
    return image.convertToFormat(QImage::Format_RGB32);
}

}  // namespace plennix
