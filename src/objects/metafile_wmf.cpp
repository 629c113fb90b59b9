// The Windows metafile interpreter: 16-bit records after an 18-byte header, optionally behind the
// 22-byte placeable header that gives the picture's bounds and units per inch.
#include <QSizeF>
#include <algorithm>

#include "objects/metafile_playback.h"
#include "platform/win1252.h"
#include "richtext/rtf_pictures.h"

namespace plennix::metafile {
namespace {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7u;
constexpr int kPlaceableHeaderBytes = 22;
constexpr int kWmfHeaderBytes = 18;

class WmfPlayback : public Playback {
public:
    using Playback::Playback;
    void Play(const ByteRange& file, qint64 start, int objectCount);

private:
    // A WMF is played as Windows plays it into a rectangle: its window maps onto the target. The
    // viewport records only matter on the recording device, so the page transform stays the identity.
    void UpdateBase() {
        QRectF w = m_bounds;
        if (m_s.winExtSet && m_s.winExt.x() != 0 && m_s.winExt.y() != 0)
            w = QRectF(m_s.winOrg, QSizeF(m_s.winExt.x(), m_s.winExt.y()));
        m_base = RectToRect(w, m_target);
    }
};

void WmfPlayback::Play(const ByteRange& file, qint64 start, int objectCount) {
    m_objects.assign(size_t(std::clamp(objectCount, 0, kMaxObjects)), GdiObject{});
    UpdateBase();
    qint64 pos = start;
    while (file.ok(pos, 6) && SpendRecord()) {
        const qint64 words = file.u32(pos);
        const uint16_t function = file.u16(pos + 4);
        if (words < 3 || !file.ok(pos, words * 2)) return;  // damaged: stop here
        if (function == 0) return;                          // end of file
        const ByteRange r = file.sub(pos + 6, words * 2 - 6);
        pos += words * 2;
        auto need = [&](qint64 n) { return r.ok(0, n); };
        auto pt = [&](qint64 o) { return QPointF(r.i16(o + 2), r.i16(o)); };  // y first, then x
        auto rect = [&](qint64 o) { return Box(r.i16(o + 6), r.i16(o + 4), r.i16(o + 2), r.i16(o)); };
        switch (function) {
        case 0x0201:
            if (!need(4)) return;
            m_s.bkColor = ColorRef(r.u32(0));
            break;
        case 0x0102:
            if (!need(2)) return;
            SetBkMode(r.u16(0));
            break;
        case 0x0103:
            if (!need(2)) return;
            m_s.mapMode = r.u16(0);
            break;
        case 0x0106:
            if (!need(2)) return;
            SetPolyFillMode(r.u16(0));
            break;
        case 0x012E:
            if (!need(2)) return;
            m_s.textAlign = r.u16(0);
            break;
        case 0x0209:
            if (!need(4)) return;
            m_s.textColor = ColorRef(r.u32(0));
            break;
        case 0x020B:
            if (!need(4)) return;
            m_s.winOrg = pt(0);
            UpdateBase();
            break;
        case 0x020C:
            if (!need(4)) return;
            m_s.winExt = pt(0);
            m_s.winExtSet = true;
            UpdateBase();
            break;
        case 0x020F:
            if (!need(4)) return;
            m_s.winOrg += pt(0);
            UpdateBase();
            break;
        case 0x0410:
            if (!need(8)) return;
            // yDenom, yNum, xDenom, xNum
            if (r.i16(4) != 0 && r.i16(0) != 0 && m_s.winExtSet)
                m_s.winExt = QPointF(m_s.winExt.x() * r.i16(6) / r.i16(4), m_s.winExt.y() * r.i16(2) / r.i16(0));
            UpdateBase();
            break;
        case 0x0213:
            if (!need(4)) return;
            LineTo(pt(0));
            break;
        case 0x0214:
            if (!need(4)) return;
            MoveTo(pt(0));
            break;
        case 0x041B:
            if (!need(8)) return;
            Rectangle(rect(0));
            break;
        case 0x061C:
            if (!need(12)) return;
            RoundRect(rect(4), r.i16(2), r.i16(0));
            break;
        case 0x0418:
            if (!need(8)) return;
            Ellipse(rect(0));
            break;
        case 0x0817:
        case 0x081A:
        case 0x0830:
            if (!need(16)) return;
            ArcShape(function == 0x0817   ? ArcKind::Arc
                     : function == 0x081A ? ArcKind::Pie
                                          : ArcKind::Chord,
                     rect(8), pt(4), pt(0));
            break;
        case 0x0324:
        case 0x0325: {
            if (!need(2)) return;
            const int n = r.i16(0);
            if (n < 0 || !need(2 + qint64(n) * 4)) return;
            std::vector<QPointF> pts;
            pts.reserve(size_t(n));
            for (int i = 0; i < n; ++i) pts.emplace_back(r.i16(2 + i * 4), r.i16(4 + i * 4));
            Poly(pts, function == 0x0324, false);
            break;
        }
        case 0x0538: {
            if (!need(2)) return;
            const int polys = r.u16(0);
            if (!need(2 + qint64(polys) * 2)) return;
            qint64 total = 0;
            for (int i = 0; i < polys; ++i) total += r.u16(2 + i * 2);
            qint64 o = 2 + qint64(polys) * 2;
            if (!need(o + total * 4)) return;
            QPainterPath path;
            for (int i = 0; i < polys; ++i) {
                const int n = r.u16(2 + i * 2);
                QPolygonF poly;
                for (int k = 0; k < n; ++k, o += 4) poly << QPointF(r.i16(o), r.i16(o + 2));
                path.addPolygon(poly);
                path.closeSubpath();
            }
            AddOrDraw(path, true, true);
            break;
        }
        case 0x0521: {
            if (!need(2)) return;
            const int n = r.i16(0);
            const qint64 padded = (qint64(std::max(n, 0)) + 1) & ~1;
            if (n < 0 || !need(2 + padded + 4)) return;
            const QString text = FromWin1252(reinterpret_cast<const char*>(r.data + 2), n);
            Text(QPointF(r.i16(2 + padded + 2), r.i16(2 + padded)), text, 0, {});
            break;
        }
        case 0x0A32: {
            if (!need(8)) return;
            const QPointF at(r.i16(2), r.i16(0));
            const int n = r.i16(4);
            const uint16_t options = r.u16(6);
            qint64 o = 8;
            QRectF box;
            if (options & 0x0006) {
                if (!need(o + 8)) return;
                box = Box(r.i16(o), r.i16(o + 2), r.i16(o + 4), r.i16(o + 6));
                o += 8;
            }
            if (n < 0 || !need(o + n)) return;
            Text(at, FromWin1252(reinterpret_cast<const char*>(r.data + o), n), options, box);
            break;
        }
        case 0x02FA:
            if (!need(10)) return;
            CreateAt(FirstFree(), GdiObject::Pen(MakePen(r.u16(0), r.i16(2), ColorRef(r.u32(6)))));
            break;
        case 0x02FC:
            if (!need(8)) return;
            CreateAt(FirstFree(), GdiObject::Brush(MakeBrush(r.u16(0), ColorRef(r.u32(2)), r.u16(6))));
            break;
        case 0x02FB: {
            if (!need(18)) return;
            LogFont font;
            font.height = r.i16(0);
            font.escapement = r.i16(4);
            font.weight = r.i16(8);
            font.italic = r.data[10] != 0;
            font.underline = r.data[11] != 0;
            font.strikeOut = r.data[12] != 0;
            const qint64 faceBytes = std::min<qint64>(32, r.size - 18);
            QByteArray face = r.copy(18, faceBytes);
            const int nul = face.indexOf('\0');
            if (nul >= 0) face.truncate(nul);
            font.face = FromWin1252(face);
            CreateAt(FirstFree(), GdiObject::Font(font));
            break;
        }
        case 0x0142: {  // DIB pattern brush
            const QImage pattern = DecodeDib(r.copy(4, r.size - 4), 512 * 512);
            CreateAt(FirstFree(), GdiObject::Brush(pattern.isNull() ? QBrush(Qt::gray) : QBrush(pattern)));
            break;
        }
        case 0x00F7:
        case 0x01F9:
        case 0x06FF: {  // palette, pattern brush, region: hold their slot
            GdiObject o;
            o.kind = function == 0x01F9 ? GdiObject::Kind::Brush : GdiObject::Kind::Other;
            o.brush = QBrush(Qt::gray);
            CreateAt(FirstFree(), o);
            break;
        }
        case 0x012D:
            if (!need(2)) return;
            SelectObject(r.u16(0));
            break;
        case 0x01F0:
            if (!need(2)) return;
            DeleteObject(r.u16(0));
            break;
        case 0x001E: SaveDC(); break;
        case 0x0127:
            if (!need(2)) return;
            RestoreDC(r.i16(0));
            UpdateBase();
            break;
        case 0x0416:
            if (!need(8)) return;
            ClipRect(rect(0), false);
            break;
        case 0x0415:
            if (!need(8)) return;
            ClipRect(rect(0), true);
            break;
        case 0x041F: {
            if (!need(8)) return;
            const QPointF at(r.i16(6), r.i16(4));
            const QBrush brush = m_s.brush;
            m_s.brush = QBrush(ColorRef(r.u32(0)));
            FillWithBrush(QRectF(at, QSizeF(1, 1)));
            m_s.brush = brush;
            break;
        }
        case 0x061D:
            if (!need(12)) return;
            FillWithBrush(Box(r.i16(10), r.i16(8), r.i16(10) + r.i16(6), r.i16(8) + r.i16(4)));
            break;
        case 0x0F43: {  // StretchDIB
            if (!need(22)) return;
            const QRectF dest(r.i16(20), r.i16(18), r.i16(16), r.i16(14));
            const QRectF src(r.i16(12), r.i16(10), r.i16(8), r.i16(6));
            const QImage image = DecodeDib(r.copy(22, r.size - 22), kMaxMetafileBitmapPixels);
            DrawDib(dest, image, src);
            break;
        }
        case 0x0B41:
        case 0x0940: {  // DIBStretchBlt, DIBBitBlt
            const bool stretch = function == 0x0B41;
            const qint64 fixed = stretch ? 20 : 16;
            // Without a bitmap the record fills with the brush (its size tells).
            const bool noBitmap = words == qint64(function >> 8) + 3;
            if (noBitmap) {
                if (!need(stretch ? 22 : 18)) return;
                const qint64 o = stretch ? 14 : 10;
                FillWithBrush(QRectF(r.i16(o + 6), r.i16(o + 4), r.i16(o + 2), r.i16(o)));
                break;
            }
            if (!need(fixed)) return;
            QRectF dest, src;
            if (stretch) {
                dest = QRectF(r.i16(18), r.i16(16), r.i16(14), r.i16(12));
                src = QRectF(r.i16(10), r.i16(8), r.i16(6), r.i16(4));
            } else {
                dest = QRectF(r.i16(14), r.i16(12), r.i16(10), r.i16(8));
                src = QRectF(r.i16(6), r.i16(4), r.i16(10), r.i16(8));
            }
            const QImage image = DecodeDib(r.copy(fixed, r.size - fixed), kMaxMetafileBitmapPixels);
            DrawDib(dest, image, src);
            break;
        }
        default: break;  // records without a visible effect here, or unknown: skipped
        }
    }
}

}  // namespace

bool HasPlaceableHeader(const ByteRange& file) {
    return file.ok(0, kPlaceableHeaderBytes) && file.u32(0) == kPlaceableKey;
}

std::optional<PictureFrame> ReadWmfFrame(const ByteRange& b, bool placeable) {
    PictureFrame frame;
    qint64 start = 0;
    if (placeable) {
        const int inch = b.u16(14);
        const QRectF box = Box(b.i16(6), b.i16(8), b.i16(10), b.i16(12));
        if (inch <= 0 || box.width() <= 0 || box.height() <= 0) return std::nullopt;
        frame.bounds = box;
        frame.unitsPerInch = inch;
        start = kPlaceableHeaderBytes;
    }
    const uint16_t kind = b.u16(start);
    if (!b.ok(start, kWmfHeaderBytes) || (kind != 1 && kind != 2) || b.u16(start + 2) != 9) return std::nullopt;
    if (!placeable) {
        // Without the placeable header the window records give the bounds; failing that, what is drawn.
        QRectF window;
        QPointF org;
        qint64 pos = start + kWmfHeaderBytes;
        int seen = 0;
        while (b.ok(pos, 6) && seen++ < 4096) {
            const qint64 words = b.u32(pos);
            const uint16_t function = b.u16(pos + 4);
            if (words < 3 || !b.ok(pos, words * 2) || function == 0) break;
            if (function == 0x020B && words >= 5) org = QPointF(b.i16(pos + 8), b.i16(pos + 6));
            if (function == 0x020C && words >= 5) {
                window = QRectF(org, QSizeF(b.i16(pos + 8), b.i16(pos + 6)));
                break;
            }
            pos += words * 2;
        }
        if (window.isEmpty()) {
            window = QRectF(0, 0, 1000, 1000);  // a picture without a window is taken as 1000 units square
        }
        frame.bounds = window.normalized();
        // The bounds must fit the placeable header that a document stores in front of the picture.
        const QRectF b16 = frame.bounds;
        if (b16.left() < -32768 || b16.top() < -32768 || b16.right() > 32767 || b16.bottom() > 32767)
            frame.bounds = QRectF(0, 0, 1000, 1000);
        // Pictures in screen pixels are small; larger ones are taken as twips, as drawing programs write them.
        frame.unitsPerInch = std::max(std::abs(window.width()), std::abs(window.height())) > 2000 ? 1440 : 96;
    }
    frame.widthInches = frame.bounds.width() / frame.unitsPerInch;
    frame.heightInches = frame.bounds.height() / frame.unitsPerInch;
    return frame;
}

QByteArray PlaceableHeader(const QRectF& bounds, double unitsPerInch) {
    QByteArray header(kPlaceableHeaderBytes, '\0');
    auto put16 = [&](int at, int v) {
        header[at] = char(v & 0xFF);
        header[at + 1] = char((v >> 8) & 0xFF);
    };
    put16(0, int(kPlaceableKey & 0xFFFF));
    put16(2, int(kPlaceableKey >> 16));
    put16(6, int(bounds.left()));
    put16(8, int(bounds.top()));
    put16(10, int(bounds.right()));
    put16(12, int(bounds.bottom()));
    put16(14, int(unitsPerInch));
    uint16_t checksum = 0;
    for (int i = 0; i < 20; i += 2) checksum ^= uint16_t(uchar(header[i]) | (uchar(header[i + 1]) << 8));
    put16(20, checksum);
    return header;
}

bool PlayWmf(QPainter& painter, const ByteRange& file, bool placeable, const QRectF& bounds, const QRectF& target,
             const MetafileWorkBudget& budget) {
    const qint64 start = placeable ? kPlaceableHeaderBytes : 0;
    const qint64 headerWords = file.u16(start + 2);
    WmfPlayback playback(painter, bounds, target, budget);
    playback.Play(file, start + headerWords * 2, file.u16(start + 10));
    return !playback.Exhausted();
}

}  // namespace plennix::metafile

// Headless exports and fuzz targets play metafiles without widgets: the player needs Qt Gui alone, and
// every Qt Widgets header brings in the global header whose guard this checks.
#ifdef QTWIDGETSGLOBAL_H
#error "the metafile player must need Qt Gui only: a Qt Widgets header was included"
#endif
