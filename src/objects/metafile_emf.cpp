// The enhanced metafile interpreter: 32-bit records from the header record on, in the logical units
// of the mapping mode that the records set, on a reference device whose size the header gives.
#include <algorithm>

#include "objects/metafile_playback.h"
#include "platform/win1252.h"
#include "richtext/rtf_pictures.h"

namespace plennix::metafile {
namespace {

constexpr uint32_t kEmfSignature = 0x464D4520u;  // " EMF"

// The reference device's pixels per millimetre, from its size in pixels and in millimetres.
struct DevicePixelsPerMm {
    double x = 96 / 25.4, y = 96 / 25.4;
};

DevicePixelsPerMm ReferenceDevice(const ByteRange& b) {
    const double devW = b.i32(72), devH = b.i32(76), mmW = b.i32(80), mmH = b.i32(84);
    DevicePixelsPerMm d;
    if (mmW > 0 && devW > 0) d.x = devW / mmW;
    if (mmH > 0 && devH > 0) d.y = devH / mmH;
    return d;
}

class EmfPlayback : public Playback {
public:
    EmfPlayback(QPainter& painter, const QRectF& bounds, const QRectF& target, const MetafileWorkBudget& budget,
                DevicePixelsPerMm device)
        : Playback(painter, bounds, target, budget), m_pxPerMmX(device.x), m_pxPerMmY(device.y) {}
    void Play(const ByteRange& file);

private:
    QTransform Page() const override;

    double m_pxPerMmX, m_pxPerMmY;
};

QTransform EmfPlayback::Page() const {
    const DcState& s = m_s;
    double sx = 1, sy = 1;
    switch (s.mapMode) {
    case 2:
        sx = 0.1 * m_pxPerMmX;
        sy = -0.1 * m_pxPerMmY;
        break;  // 0.1 mm
    case 3:
        sx = 0.01 * m_pxPerMmX;
        sy = -0.01 * m_pxPerMmY;
        break;  // 0.01 mm
    case 4:
        sx = 0.254 * m_pxPerMmX;
        sy = -0.254 * m_pxPerMmY;
        break;  // 0.01 in
    case 5:
        sx = 0.0254 * m_pxPerMmX;
        sy = -0.0254 * m_pxPerMmY;
        break;
    case 6:
        sx = 25.4 / 1440 * m_pxPerMmX;
        sy = -25.4 / 1440 * m_pxPerMmY;
        break;
    case 7:
    case 8:
        sx = s.winExt.x() != 0 ? s.vpExt.x() / s.winExt.x() : 1;
        sy = s.winExt.y() != 0 ? s.vpExt.y() / s.winExt.y() : 1;
        if (s.mapMode == 7) {
            const double m = std::min(std::abs(sx), std::abs(sy));
            sx = sx < 0 ? -m : m;
            sy = sy < 0 ? -m : m;
        }
        break;
    default: break;
    }
    return QTransform(sx, 0, 0, sy, s.vpOrg.x() - s.winOrg.x() * sx, s.vpOrg.y() - s.winOrg.y() * sy);
}

void EmfPlayback::Play(const ByteRange& file) {
    m_base = RectToRect(m_bounds, m_target);
    const uint32_t handles = file.u16(56);
    m_objects.assign(std::min<size_t>(handles, kMaxObjects), GdiObject{});
    qint64 pos = 0;
    while (file.ok(pos, 8) && SpendRecord()) {
        const uint32_t type = file.u32(pos);
        const qint64 size = file.u32(pos + 4);
        if (size < 8 || (size & 3) || !file.ok(pos, size)) return;  // damaged: stop here
        const ByteRange rec = file.sub(pos, size);
        pos += size;
        const ByteRange r = rec.sub(8, size - 8);
        auto need = [&](qint64 n) { return r.ok(0, n); };
        auto pt = [&](qint64 o) { return QPointF(r.i32(o), r.i32(o + 4)); };
        auto rect = [&](qint64 o) { return Box(r.i32(o), r.i32(o + 4), r.i32(o + 8), r.i32(o + 12)); };
        auto points = [&](qint64 o, qint64 n, bool small, std::vector<QPointF>* out) {
            const qint64 each = small ? 4 : 8;
            if (n < 0 || !r.ok(o, n * each)) return false;
            out->reserve(size_t(n));
            for (qint64 i = 0; i < n; ++i)
                out->push_back(small ? QPointF(r.i16(o + i * 4), r.i16(o + i * 4 + 2)) : pt(o + i * 8));
            return true;
        };
        auto image = [&](qint64 offBmi, qint64 cbBmi, qint64 offBits, qint64 cbBits) {
            if (cbBmi <= 0 || !rec.ok(offBmi, cbBmi) || !rec.ok(offBits, cbBits)) return QImage();
            return DecodeDib(rec.copy(offBmi, cbBmi) + rec.copy(offBits, cbBits), kMaxMetafileBitmapPixels);
        };
        switch (type) {
        case 14: return;  // end of file
        case 2:
        case 3:
        case 4:
        case 5:
        case 6:
        case 85:
        case 86:
        case 87:
        case 88:
        case 89: {
            const bool small = type >= 85;
            const uint32_t base = small ? type - 83 : type;
            if (!need(20)) return;
            std::vector<QPointF> pts;
            if (!points(20, r.u32(16), small, &pts)) return;
            if (base == 5)
                PolyTo(pts, true);
            else if (base == 6)
                PolyTo(pts, false);
            else
                Poly(pts, base == 3, base == 2);
            break;
        }
        case 7:
        case 8:
        case 90:
        case 91: {
            const bool small = type >= 90;
            const bool polygon = type == 8 || type == 91;
            if (!need(24)) return;
            const qint64 polys = r.u32(16), total = r.u32(20);
            if (!r.ok(24, polys * 4)) return;
            std::vector<QPointF> pts;
            if (!points(24 + polys * 4, total, small, &pts)) return;
            QPainterPath path;
            qint64 at = 0;
            for (qint64 i = 0; i < polys; ++i) {
                const qint64 n = r.u32(24 + i * 4);
                if (n > total - at) return;
                for (qint64 k = 0; k < n; ++k) {
                    if (k == 0)
                        path.moveTo(pts[size_t(at + k)]);
                    else
                        path.lineTo(pts[size_t(at + k)]);
                }
                if (polygon && n > 0) path.closeSubpath();
                at += n;
            }
            AddOrDraw(path, polygon, true);
            break;
        }
        case 9:
            if (!need(8)) return;
            m_s.winExt = pt(0);
            m_s.winExtSet = true;
            break;
        case 10:
            if (!need(8)) return;
            m_s.winOrg = pt(0);
            break;
        case 11:
            if (!need(8)) return;
            m_s.vpExt = pt(0);
            break;
        case 12:
            if (!need(8)) return;
            m_s.vpOrg = pt(0);
            break;
        case 17:
            if (!need(4)) return;
            m_s.mapMode = r.i32(0);
            break;
        case 18:
            if (!need(4)) return;
            SetBkMode(r.u32(0));
            break;
        case 19:
            if (!need(4)) return;
            SetPolyFillMode(r.u32(0));
            break;
        case 22:
            if (!need(4)) return;
            m_s.textAlign = r.u32(0);
            break;
        case 24:
            if (!need(4)) return;
            m_s.textColor = ColorRef(r.u32(0));
            break;
        case 25:
            if (!need(4)) return;
            m_s.bkColor = ColorRef(r.u32(0));
            break;
        case 27:
            if (!need(8)) return;
            MoveTo(pt(0));
            break;
        case 54:
            if (!need(8)) return;
            LineTo(pt(0));
            break;
        case 29:
        case 30:
            if (!need(16)) return;
            ClipRect(rect(0), type == 29);
            break;
        case 33: SaveDC(); break;
        case 34:
            if (!need(4)) return;
            RestoreDC(r.i32(0));
            break;
        case 35:
        case 36: {
            if (!need(24)) return;
            const QTransform x(r.f32(0), r.f32(4), r.f32(8), r.f32(12), r.f32(16), r.f32(20));
            const uint32_t mode = type == 35 ? 4 : (need(28) ? r.u32(24) : 0);
            if (mode == 1)
                m_s.world = QTransform();
            else if (mode == 2)
                m_s.world = x * m_s.world;  // left multiply
            else if (mode == 3)
                m_s.world = m_s.world * x;  // right multiply
            else if (mode == 4)
                m_s.world = x;
            break;
        }
        case 37: {
            if (!need(4)) return;
            const uint32_t i = r.u32(0);
            if (i & 0x80000000u)
                Select(StockObject(i & 0x7FFFFFFFu));
            else
                SelectObject(i);
            break;
        }
        case 38:
            if (!need(20)) return;
            CreateAt(int(r.u32(0)), GdiObject::Pen(MakePen(int(r.u32(4)), r.i32(8), ColorRef(r.u32(16)))));
            break;
        case 95: {
            if (!need(40)) return;
            // A cosmetic pen of width 0 or 1 is the thinnest line the device draws.
            const bool thin = (r.u32(20) & 0x00010000u) == 0 && r.u32(24) <= 1;
            const int style = int(r.u32(20));
            const QPen pen =
                thin ? MakePen(style & 0x0F, 0, ColorRef(r.u32(32))) : MakePen(style, r.u32(24), ColorRef(r.u32(32)));
            CreateAt(int(r.u32(0)), GdiObject::Pen(pen));
            break;
        }
        case 39:
            if (!need(16)) return;
            CreateAt(int(r.u32(0)), GdiObject::Brush(MakeBrush(int(r.u32(4)), ColorRef(r.u32(8)), int(r.u32(12)))));
            break;
        case 94: {
            if (!need(24)) return;
            const QImage pattern = image(r.u32(8), r.u32(12), r.u32(16), r.u32(20));
            CreateAt(int(r.u32(0)),
                     GdiObject::Brush(pattern.isNull() || qint64(pattern.width()) * pattern.height() > 512 * 512
                                          ? QBrush(Qt::gray)
                                          : QBrush(pattern)));
            break;
        }
        case 82: {
            if (!need(4 + 28)) return;
            LogFont font;
            font.height = r.i32(4);
            font.escapement = r.i32(12);
            font.weight = r.i32(20);
            font.italic = r.data[24] != 0;
            font.underline = r.data[25] != 0;
            font.strikeOut = r.data[26] != 0;
            const qint64 chars = std::min<qint64>(32, (r.size - 32) / 2);
            QString face;
            for (qint64 i = 0; i < chars; ++i) {
                const char16_t c = r.u16(32 + i * 2);
                if (c == 0) break;
                face.append(QChar(c));
            }
            font.face = face;
            CreateAt(int(r.u32(0)), GdiObject::Font(font));
            break;
        }
        case 40:
            if (!need(4)) return;
            DeleteObject(r.u32(0));
            break;
        case 42:
            if (!need(16)) return;
            Ellipse(rect(0));
            break;
        case 43:
            if (!need(16)) return;
            Rectangle(rect(0));
            break;
        case 44:
            if (!need(24)) return;
            RoundRect(rect(0), r.i32(16), r.i32(20));
            break;
        case 45:
        case 46:
        case 47:
            if (!need(32)) return;
            ArcShape(type == 45 ? ArcKind::Arc : type == 47 ? ArcKind::Pie : ArcKind::Chord, rect(0), pt(16), pt(24));
            break;
        case 59:
            m_inPath = true;
            m_path = QPainterPath();
            break;
        case 60: m_inPath = false; break;
        case 61:
            if (m_inPath) m_path.closeSubpath();
            break;
        case 62:
        case 63:
        case 64:
            m_inPath = false;
            Draw(m_path, type != 64, type != 62);
            m_path = QPainterPath();
            break;
        case 67: {  // select the path as the clip
            const QPainterPath mapped = (m_s.world * Page() * m_base).map(m_path);
            if (Sane(mapped.controlPointRect())) {
                m_s.clip = m_s.clipped ? m_s.clip.intersected(mapped) : mapped;
                m_s.clipped = true;
            }
            m_path = QPainterPath();
            break;
        }
        case 83:
        case 84: {
            if (!need(76 - 8)) return;
            // rclBounds, graphics mode, x and y scale, then the text record.
            const qint64 t = 28;
            const QPointF at = pt(t);
            const qint64 chars = r.u32(t + 8);
            const qint64 offString = r.u32(t + 12);
            const uint32_t options = r.u32(t + 16);
            const QRectF box = rect(t + 20);
            const qint64 each = type == 84 ? 2 : 1;
            if (chars < 0 || !rec.ok(offString, chars * each)) return;
            const qint64 keep = std::min<qint64>(chars, kMaxTextChars);
            QString text;
            if (type == 84) {
                for (qint64 i = 0; i < keep; ++i) text.append(QChar(char16_t(rec.u16(offString + i * 2))));
            } else {
                text = FromWin1252(reinterpret_cast<const char*>(rec.data + offString), qsizetype(keep));
            }
            Text(at, text, options, box);
            break;
        }
        case 81: {  // StretchDIBits
            if (!need(72)) return;
            const QRectF dest(r.i32(16), r.i32(20), r.i32(64), r.i32(68));
            const QImage img = image(r.u32(40), r.u32(44), r.u32(48), r.u32(52));
            const QRectF src(r.i32(24), r.i32(28), r.i32(32), r.i32(36));
            DrawDib(dest, img, src);
            break;
        }
        case 76:
        case 77: {  // BitBlt, StretchBlt
            if (!need(92)) return;
            const QRectF dest(r.i32(16), r.i32(20), r.i32(24), r.i32(28));
            const qint64 cbBmi = r.u32(80);
            if (cbBmi == 0) {
                FillWithBrush(dest);
                break;
            }
            const QImage img = image(r.u32(76), cbBmi, r.u32(84), r.u32(88));
            QRectF src(r.i32(36), r.i32(40), dest.width(), dest.height());
            if (type == 77 && need(100)) src.setSize(QSizeF(r.i32(92), r.i32(96)));
            DrawDib(dest, img, src);
            break;
        }
        default: break;  // records without a visible effect here, or unknown: skipped
        }
    }
}

}  // namespace

bool IsEnhanced(const ByteRange& b) { return b.ok(0, 88) && b.u32(0) == 1 && b.u32(40) == kEmfSignature; }

std::optional<PictureFrame> ReadEmfFrame(const ByteRange& b) {
    const double frameL = b.i32(24), frameT = b.i32(28), frameR = b.i32(32), frameB = b.i32(36);
    const DevicePixelsPerMm device = ReferenceDevice(b);
    const double pxPerMmX = device.x, pxPerMmY = device.y;
    QRectF frame =
        Box(frameL / 100 * pxPerMmX, frameT / 100 * pxPerMmY, frameR / 100 * pxPerMmX, frameB / 100 * pxPerMmY);
    if (frame.width() <= 0 || frame.height() <= 0)  // fall back to the device bounds
        frame = Box(b.i32(8), b.i32(12), double(b.i32(16)) + 1, double(b.i32(20)) + 1);
    if (frame.width() <= 0 || frame.height() <= 0 || !Sane(frame)) return std::nullopt;
    PictureFrame result;
    result.bounds = frame;
    result.unitsPerInch = pxPerMmX * 25.4;
    result.widthInches = frame.width() / (pxPerMmX * 25.4);
    result.heightInches = frame.height() / (pxPerMmY * 25.4);
    return result;
}

bool PlayEmf(QPainter& painter, const ByteRange& file, const QRectF& bounds, const QRectF& target,
             const MetafileWorkBudget& budget) {
    EmfPlayback playback(painter, bounds, target, budget, ReferenceDevice(file));
    playback.Play(file);
    return !playback.Exhausted();
}

}  // namespace plennix::metafile

// Headless exports and fuzz targets play metafiles without widgets: the player needs Qt Gui alone, and
// every Qt Widgets header brings in the global header whose guard this checks.
#ifdef QTWIDGETSGLOBAL_H
#error "the metafile player must need Qt Gui only: a Qt Widgets header was included"
#endif
