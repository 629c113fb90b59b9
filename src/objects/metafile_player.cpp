#include "objects/metafile_player.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainterPath>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/numbers.h"
#include "platform/ppi.h"
#include "platform/win1252.h"
#include "richtext/rtf_pictures.h"

namespace plennix {
namespace {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7u;
constexpr uint32_t kEmfSignature = 0x464D4520u;  // " EMF"
constexpr int kPlaceableHeaderBytes = 22;
constexpr int kWmfHeaderBytes = 18;
// Bitmaps inside a metafile are bounded like every other decoded picture.
constexpr qint64 kMaxMetafileBitmapPixels = 4096LL * 4096LL;
constexpr size_t kMaxSavedStates = 1024;
constexpr int kMaxObjects = 65536;
constexpr int kMaxClipElements = 2000;
constexpr int kMaxTextChars = 1024;
constexpr double kMaxTextPixels = 2000;

// Bounds-checked little-endian access to a byte range; every reader answers 0 outside the range and
// `ok` tells whether a field lies inside.
struct ByteRange {
    const uchar* data = nullptr;
    qint64 size = 0;
    bool ok(qint64 offset, qint64 count) const { return offset >= 0 && count >= 0 && offset <= size - count; }
    uint16_t u16(qint64 o) const { return ok(o, 2) ? uint16_t(data[o] | (data[o + 1] << 8)) : 0; }
    int16_t i16(qint64 o) const { return int16_t(u16(o)); }
    uint32_t u32(qint64 o) const {
        return ok(o, 4) ? uint32_t(data[o]) | (uint32_t(data[o + 1]) << 8) | (uint32_t(data[o + 2]) << 16) |
                              (uint32_t(data[o + 3]) << 24)
                        : 0;
    }
    int32_t i32(qint64 o) const { return int32_t(u32(o)); }
    float f32(qint64 o) const {
        const uint32_t v = u32(o);
        float f;
        std::memcpy(&f, &v, 4);
        return std::isfinite(f) ? f : 0.0f;
    }
    ByteRange sub(qint64 o, qint64 n) const {
        if (!ok(o, n)) return {};
        return {data + o, n};
    }
    QByteArray copy(qint64 o, qint64 n) const {
        if (!ok(o, n)) return {};
        return QByteArray(reinterpret_cast<const char*>(data + o), n);
    }
};

QColor ColorRef(uint32_t v) { return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF)); }

struct LogFont {
    double height = 0;
    int escapement = 0;  // tenths of a degree, counter-clockwise
    int weight = 400;
    bool italic = false, underline = false, strikeOut = false;
    QString face;
};

struct GdiObject {
    enum class Kind { Empty, Pen, Brush, Font, Other } kind = Kind::Empty;
    QPen pen;
    QBrush brush;
    LogFont font;
};

struct DcState {
    QPen pen = [] {
        QPen p(Qt::black, 0);
        p.setCosmetic(true);
        return p;
    }();
    QBrush brush = QBrush(Qt::white);
    LogFont font;
    QColor textColor = Qt::black;
    QColor bkColor = Qt::white;
    bool opaqueBackground = true;
    uint32_t textAlign = 0;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    int mapMode = 1;
    QPointF winOrg{0, 0}, winExt{1, 1}, vpOrg{0, 0}, vpExt{1, 1};
    bool winExtSet = false;
    QTransform world;
    QPointF current;
    bool clipped = false;
    QPainterPath clip;  // in the painter's coordinates at the start of playing
};

QPen MakePen(int style, double width, const QColor& color) {
    if ((style & 0x0F) == 5) return QPen(Qt::NoPen);
    QPen pen(color);
    if (width <= 0) {
        pen.setWidthF(0);
        pen.setCosmetic(true);
    } else {
        pen.setWidthF(width);
    }
    switch (style & 0x0F) {
    case 1: pen.setStyle(Qt::DashLine); break;
    case 2: pen.setStyle(Qt::DotLine); break;
    case 3: pen.setStyle(Qt::DashDotLine); break;
    case 4: pen.setStyle(Qt::DashDotDotLine); break;
    default: pen.setStyle(Qt::SolidLine); break;
    }
    // Geometric pens end and join as the style bits say; round is the default.
    const int cap = style & 0x0F00;
    pen.setCapStyle(cap == 0x0100 ? Qt::SquareCap : cap == 0x0200 ? Qt::FlatCap : Qt::RoundCap);
    const int join = style & 0xF000;
    pen.setJoinStyle(join == 0x1000 ? Qt::BevelJoin : join == 0x2000 ? Qt::MiterJoin : Qt::RoundJoin);
    return pen;
}

QBrush MakeBrush(int style, const QColor& color, int hatch) {
    switch (style) {
    case 1: return QBrush(Qt::NoBrush);
    case 2: {
        static const Qt::BrushStyle kHatches[] = {Qt::HorPattern,   Qt::VerPattern,   Qt::BDiagPattern,
                                                  Qt::FDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        return QBrush(color, hatch >= 0 && hatch < 6 ? kHatches[hatch] : Qt::SolidPattern);
    }
    default: return QBrush(color);
    }
}

GdiObject StockObject(uint32_t index) {
    GdiObject o;
    switch (index) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4: {
        static const int kGrey[] = {255, 192, 128, 64, 0};
        o.kind = GdiObject::Kind::Brush;
        o.brush = QBrush(QColor(kGrey[index], kGrey[index], kGrey[index]));
        break;
    }
    case 5:
        o.kind = GdiObject::Kind::Brush;
        o.brush = QBrush(Qt::NoBrush);
        break;
    case 6:
        o.kind = GdiObject::Kind::Pen;
        o.pen = MakePen(0, 0, Qt::white);
        break;
    case 7:
        o.kind = GdiObject::Kind::Pen;
        o.pen = MakePen(0, 0, Qt::black);
        break;
    case 8:
        o.kind = GdiObject::Kind::Pen;
        o.pen = QPen(Qt::NoPen);
        break;
    case 10:
    case 11:
    case 12:
    case 13:
    case 14:
    case 16:
    case 17:
        o.kind = GdiObject::Kind::Font;
        o.font.face = QStringLiteral("Arial");
        o.font.height = -12;
        break;
    default: o.kind = GdiObject::Kind::Other; break;
    }
    return o;
}

bool Sane(const QRectF& r) {
    return std::isfinite(r.left()) && std::isfinite(r.top()) && std::isfinite(r.width()) && std::isfinite(r.height()) &&
           std::abs(r.left()) < 1e7 && std::abs(r.top()) < 1e7 && r.width() < 1e7 && r.height() < 1e7;
}

QTransform RectToRect(const QRectF& from, const QRectF& to) {
    const double sx = from.width() != 0 ? to.width() / from.width() : 1.0;
    const double sy = from.height() != 0 ? to.height() / from.height() : 1.0;
    return QTransform(sx, 0, 0, sy, to.left() - from.left() * sx, to.top() - from.top() * sy);
}

// Arc geometry of the GDI form: the bounding box and two radial points; drawn counter-clockwise.
void ArcAngles(const QRectF& box, QPointF start, QPointF end, double* startDeg, double* sweepDeg) {
    const QPointF c = box.center();
    const double rx = std::max(box.width() / 2, 1e-9), ry = std::max(box.height() / 2, 1e-9);
    const double a1 = std::atan2(-(start.y() - c.y()) / ry, (start.x() - c.x()) / rx) * 180.0 / M_PI;
    const double a2 = std::atan2(-(end.y() - c.y()) / ry, (end.x() - c.x()) / rx) * 180.0 / M_PI;
    double sweep = a2 - a1;
    while (sweep <= 0) sweep += 360.0;
    *startDeg = a1;
    *sweepDeg = sweep;
}

QRectF Box(double l, double t, double r, double b) { return QRectF(QPointF(l, t), QPointF(r, b)).normalized(); }

class Player {
public:
    Player(QPainter& painter, bool enhanced, const QRectF& bounds, const QRectF& target,
           const MetafileWorkBudget& budget)
        : m_p(painter), m_enhanced(enhanced), m_bounds(bounds), m_target(target), m_initial(painter.transform()),
          m_budget(budget) {}

    bool Exhausted() const { return m_exhausted; }

    void PlayWmf(const ByteRange& file, qint64 start, int objectCount);
    void PlayEmf(const ByteRange& file, double pxPerMmX, double pxPerMmY);

private:
    QTransform Page() const;
    QTransform Full() const { return m_s.world * Page() * m_base * m_initial; }
    void Draw(const QPainterPath& path, bool fill, bool stroke);
    void AddOrDraw(const QPainterPath& shape, bool fill, bool stroke);
    void DrawImage(const QRectF& dest, const QImage& image, const QRectF& source);
    void FillWithBrush(const QRectF& dest);
    void Text(QPointF at, const QString& text, uint32_t options, const QRectF& box);
    void Select(const GdiObject& o);
    void Save() {
        if (m_saved.size() < kMaxSavedStates) m_saved.push_back(m_s);
    }
    void Restore(int which);
    void ClipRect(const QRectF& r, bool exclude);
    void ArcShape(int kind, const QRectF& box, QPointF a, QPointF b);
    void LineTo(QPointF to);
    void PolyTo(const std::vector<QPointF>& pts, bool bezier);
    void Poly(const std::vector<QPointF>& pts, bool closed, bool bezier);
    void CreateAt(int index, GdiObject o);
    int FirstFree();

    // Counts a record against the budget; false once the budget is spent (nothing more is drawn).
    bool SpendRecord() {
        if (++m_records > m_budget.records) m_exhausted = true;
        return !m_exhausted;
    }
    bool SpendPoints(qint64 points, double fillCost = 0) {
        m_points += points;
        m_fillCost += fillCost;
        if (m_points > m_budget.points || m_fillCost > m_budget.fillCost) m_exhausted = true;
        return !m_exhausted;
    }
    static double FillCost(const QPainterPath& path, const QTransform& full);

    QPainter& m_p;
    bool m_enhanced;
    QRectF m_bounds, m_target;
    QTransform m_initial, m_base;
    DcState m_s;
    std::vector<DcState> m_saved;
    std::vector<GdiObject> m_objects;
    bool m_inPath = false;
    QPainterPath m_path;
    double m_pxPerMmX = 96 / 25.4, m_pxPerMmY = 96 / 25.4;
    MetafileWorkBudget m_budget;
    qint64 m_records = 0, m_points = 0;
    double m_fillCost = 0;
    bool m_exhausted = false;
};

double Player::FillCost(const QPainterPath& path, const QTransform& full) {
    double length = 0;
    QPointF last;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const QPointF at = full.map(QPointF(e.x, e.y));
        if (!e.isMoveTo()) length += std::hypot(at.x() - last.x(), at.y() - last.y());
        last = at;
    }
    return length * length;
}

QTransform Player::Page() const {
    if (!m_enhanced) {
        // A WMF is played as Windows plays it into a rectangle: its window maps onto the target. The
        // viewport records only matter on the recording device.
        return QTransform();
    }
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

void Player::Draw(const QPainterPath& path, bool fill, bool stroke) {
    const QTransform full = Full();
    const QRectF mapped = full.mapRect(path.controlPointRect());
    if (!Sane(mapped)) return;
    const bool filled = fill && m_s.brush.style() != Qt::NoBrush;
    if (!SpendPoints(path.elementCount(), filled ? FillCost(path, full) : 0)) return;
    m_p.save();
    if (m_s.clipped) {
        m_p.setTransform(m_initial);
        m_p.setClipPath(m_s.clip, Qt::IntersectClip);
    }
    m_p.setTransform(full);
    QPen pen = stroke ? m_s.pen : QPen(Qt::NoPen);
    // A geometric pen wider than the whole picture only costs time.
    if (pen.style() != Qt::NoPen && !pen.isCosmetic() && pen.widthF() * std::sqrt(std::abs(full.determinant())) > 4096)
        pen.setWidthF(4096 / std::max(1e-9, std::sqrt(std::abs(full.determinant()))));
    m_p.setPen(pen);
    m_p.setBrush(fill ? m_s.brush : QBrush(Qt::NoBrush));
    if (fill && m_s.brush.style() > Qt::SolidPattern && m_s.brush.style() < Qt::LinearGradientPattern &&
        !m_s.opaqueBackground)
        m_p.setBackgroundMode(Qt::TransparentMode);
    else if (fill) {
        m_p.setBackgroundMode(Qt::OpaqueMode);
        m_p.setBackground(m_s.bkColor);
    }
    QPainterPath p = path;
    p.setFillRule(m_s.fillRule);
    m_p.drawPath(p);
    m_p.restore();
}

void Player::AddOrDraw(const QPainterPath& shape, bool fill, bool stroke) {
    if (m_inPath) {
        m_path.addPath(shape);
        return;
    }
    Draw(shape, fill, stroke);
}

void Player::DrawImage(const QRectF& dest, const QImage& image, const QRectF& source) {
    if (image.isNull()) return;
    const QTransform full = Full();
    if (!Sane(full.mapRect(dest))) return;
    QRectF src = source.intersected(QRectF(image.rect()));
    if (src.isEmpty()) src = QRectF(image.rect());
    m_p.save();
    if (m_s.clipped) {
        m_p.setTransform(m_initial);
        m_p.setClipPath(m_s.clip, Qt::IntersectClip);
    }
    m_p.setTransform(full);
    m_p.drawImage(dest.normalized(), image, src);
    m_p.restore();
}

void Player::FillWithBrush(const QRectF& dest) {
    QPainterPath path;
    path.addRect(dest.normalized());
    Draw(path, true, false);
}

void Player::Text(QPointF at, const QString& text, uint32_t options, const QRectF& box) {
    const QTransform full = Full();
    if (options & 0x0002) {  // ETO_OPAQUE: the rectangle is filled with the background colour
        const QBrush brush = m_s.brush;
        m_s.brush = QBrush(m_s.bkColor);
        FillWithBrush(box);
        m_s.brush = brush;
    }
    if (text.isEmpty()) return;
    const QString shown = text.left(kMaxTextChars);
    if (!SpendPoints(shown.size())) return;
    const QPointF origin = full.map(at);
    const double scale = std::sqrt(std::abs(full.determinant()));
    if (!std::isfinite(origin.x()) || !std::isfinite(origin.y()) || std::abs(origin.x()) > 1e7 ||
        std::abs(origin.y()) > 1e7)
        return;
    double h = m_s.font.height;
    if (h == 0) h = -12;
    // A positive height is the cell height; the character height is about four fifths of it.
    const double px = (h < 0 ? -h : h * 0.8) * scale;
    if (!(px >= 0.5) || px > kMaxTextPixels) return;
    QFont font(m_s.font.face.isEmpty() ? QStringLiteral("Arial") : m_s.font.face);
    font.setPixelSize(std::max(1, int(std::lround(px))));
    font.setBold(m_s.font.weight >= 600);
    font.setItalic(m_s.font.italic);
    font.setUnderline(m_s.font.underline);
    font.setStrikeOut(m_s.font.strikeOut);
    const QFontMetricsF fm(font);
    const double width = fm.horizontalAdvance(shown);
    double dx = 0, dy = 0;
    const uint32_t horizontal = m_s.textAlign & 0x06;
    if (horizontal == 0x06)
        dx = -width / 2;
    else if (horizontal == 0x02)
        dx = -width;
    const uint32_t vertical = m_s.textAlign & 0x18;
    if (vertical == 0x18)
        dy = 0;  // baseline
    else if (vertical == 0x08)
        dy = -fm.descent();  // bottom
    else
        dy = fm.ascent();  // top
    m_p.save();
    if (m_s.clipped) {
        m_p.setTransform(m_initial);
        m_p.setClipPath(m_s.clip, Qt::IntersectClip);
    }
    m_p.setTransform(QTransform());
    m_p.translate(origin);
    // Upside-down pictures (y growing upwards) still show their text upright, as the device does.
    m_p.rotate(-m_s.font.escapement / 10.0);
    m_p.setFont(font);
    if (m_s.opaqueBackground && !(options & 0x0002))
        m_p.fillRect(QRectF(dx, dy - fm.ascent(), width, fm.height()), m_s.bkColor);
    m_p.setPen(m_s.textColor);
    m_p.drawText(QPointF(dx, dy), shown);
    m_p.restore();
}

void Player::Select(const GdiObject& o) {
    switch (o.kind) {
    case GdiObject::Kind::Pen: m_s.pen = o.pen; break;
    case GdiObject::Kind::Brush: m_s.brush = o.brush; break;
    case GdiObject::Kind::Font: m_s.font = o.font; break;
    default: break;
    }
}

void Player::Restore(int which) {
    const qint64 index = which < 0 ? qint64(m_saved.size()) + which : qint64(which) - 1;
    if (index < 0 || index >= qint64(m_saved.size())) return;
    m_s = m_saved[size_t(index)];
    m_saved.resize(size_t(index));
}

void Player::ClipRect(const QRectF& r, bool exclude) {
    // Clip shapes built from many rectangles cost more and more to combine; real pictures use a few.
    if (m_s.clip.elementCount() > kMaxClipElements) return;
    QPainterPath rect;
    rect.addRect(r.normalized());
    const QTransform toInitial = m_s.world * Page() * m_base;
    const QPainterPath mapped = toInitial.map(rect);
    if (!Sane(mapped.controlPointRect())) return;
    if (!m_s.clipped) {
        m_s.clip = QPainterPath();
        m_s.clip.addRect(m_target.adjusted(-1, -1, 1, 1));
        m_s.clipped = true;
    }
    m_s.clip = exclude ? m_s.clip.subtracted(mapped) : m_s.clip.intersected(mapped);
}

void Player::ArcShape(int kind, const QRectF& box, QPointF a, QPointF b) {
    double start, sweep;
    ArcAngles(box, a, b, &start, &sweep);
    QPainterPath path;
    if (kind == 0) {  // arc
        path.arcMoveTo(box, start);
        path.arcTo(box, start, sweep);
        AddOrDraw(path, false, true);
        return;
    }
    if (kind == 1) {  // pie
        path.moveTo(box.center());
        path.arcTo(box, start, sweep);
    } else {  // chord
        path.arcMoveTo(box, start);
        path.arcTo(box, start, sweep);
    }
    path.closeSubpath();
    AddOrDraw(path, true, true);
}

void Player::LineTo(QPointF to) {
    if (m_inPath) {
        if (m_path.elementCount() == 0) m_path.moveTo(m_s.current);
        m_path.lineTo(to);
    } else {
        QPainterPath path;
        path.moveTo(m_s.current);
        path.lineTo(to);
        Draw(path, false, true);
    }
    m_s.current = to;
}

void Player::PolyTo(const std::vector<QPointF>& pts, bool bezier) {
    QPainterPath path;
    path.moveTo(m_s.current);
    if (bezier) {
        for (size_t i = 0; i + 2 < pts.size(); i += 3) path.cubicTo(pts[i], pts[i + 1], pts[i + 2]);
    } else {
        for (const QPointF& pt : pts) path.lineTo(pt);
    }
    if (!pts.empty()) m_s.current = pts.back();
    if (m_inPath) {
        if (m_path.elementCount() == 0) m_path.moveTo(path.elementAt(0));
        for (int i = 1; i < path.elementCount(); ++i) {
            const auto e = path.elementAt(i);
            if (e.type == QPainterPath::LineToElement)
                m_path.lineTo(e);
            else if (e.type == QPainterPath::CurveToElement && i + 2 < path.elementCount()) {
                m_path.cubicTo(e, path.elementAt(i + 1), path.elementAt(i + 2));
                i += 2;
            }
        }
        return;
    }
    Draw(path, false, true);
}

void Player::Poly(const std::vector<QPointF>& pts, bool closed, bool bezier) {
    if (pts.empty()) return;
    QPainterPath path;
    path.moveTo(pts[0]);
    if (bezier) {
        for (size_t i = 1; i + 2 < pts.size(); i += 3) path.cubicTo(pts[i], pts[i + 1], pts[i + 2]);
    } else {
        for (size_t i = 1; i < pts.size(); ++i) path.lineTo(pts[i]);
    }
    if (closed) path.closeSubpath();
    AddOrDraw(path, closed, true);
}

int Player::FirstFree() {
    for (size_t i = 0; i < m_objects.size(); ++i)
        if (m_objects[i].kind == GdiObject::Kind::Empty) return int(i);
    return -1;
}

void Player::CreateAt(int index, GdiObject o) {
    if (index >= 0 && index < int(m_objects.size())) m_objects[size_t(index)] = std::move(o);
}

// ---- WMF --------------------------------------------------------------------------------------------

void Player::PlayWmf(const ByteRange& file, qint64 start, int objectCount) {
    m_objects.assign(size_t(std::clamp(objectCount, 0, kMaxObjects)), GdiObject{});
    QRectF window = m_bounds;
    auto updateBase = [&] {
        QRectF w = window;
        if (m_s.winExtSet && m_s.winExt.x() != 0 && m_s.winExt.y() != 0)
            w = QRectF(m_s.winOrg, QSizeF(m_s.winExt.x(), m_s.winExt.y()));
        m_base = RectToRect(w, m_target);
    };
    updateBase();
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
            m_s.opaqueBackground = r.u16(0) == 2;
            break;
        case 0x0103:
            if (!need(2)) return;
            m_s.mapMode = r.u16(0);
            break;
        case 0x0106:
            if (!need(2)) return;
            m_s.fillRule = r.u16(0) == 2 ? Qt::WindingFill : Qt::OddEvenFill;
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
            updateBase();
            break;
        case 0x020C:
            if (!need(4)) return;
            m_s.winExt = pt(0);
            m_s.winExtSet = true;
            updateBase();
            break;
        case 0x020F:
            if (!need(4)) return;
            m_s.winOrg += pt(0);
            updateBase();
            break;
        case 0x0410:
            if (!need(8)) return;
            // yDenom, yNum, xDenom, xNum
            if (r.i16(4) != 0 && r.i16(0) != 0 && m_s.winExtSet)
                m_s.winExt = QPointF(m_s.winExt.x() * r.i16(6) / r.i16(4), m_s.winExt.y() * r.i16(2) / r.i16(0));
            updateBase();
            break;
        case 0x0213:
            if (!need(4)) return;
            LineTo(pt(0));
            break;
        case 0x0214:
            if (!need(4)) return;
            m_s.current = pt(0);
            break;
        case 0x041B: {
            if (!need(8)) return;
            QPainterPath path;
            path.addRect(rect(0));
            AddOrDraw(path, true, true);
            break;
        }
        case 0x061C: {
            if (!need(12)) return;
            QPainterPath path;
            path.addRoundedRect(rect(4), std::abs(r.i16(2)) / 2.0, std::abs(r.i16(0)) / 2.0);
            AddOrDraw(path, true, true);
            break;
        }
        case 0x0418: {
            if (!need(8)) return;
            QPainterPath path;
            path.addEllipse(rect(0));
            AddOrDraw(path, true, true);
            break;
        }
        case 0x0817:
        case 0x081A:
        case 0x0830:
            if (!need(16)) return;
            ArcShape(function == 0x0817 ? 0 : function == 0x081A ? 1 : 2, rect(8), pt(4), pt(0));
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
        case 0x02FA: {
            if (!need(10)) return;
            GdiObject o;
            o.kind = GdiObject::Kind::Pen;
            o.pen = MakePen(r.u16(0), r.i16(2), ColorRef(r.u32(6)));
            CreateAt(FirstFree(), o);
            break;
        }
        case 0x02FC: {
            if (!need(8)) return;
            GdiObject o;
            o.kind = GdiObject::Kind::Brush;
            o.brush = MakeBrush(r.u16(0), ColorRef(r.u32(2)), r.u16(6));
            CreateAt(FirstFree(), o);
            break;
        }
        case 0x02FB: {
            if (!need(18)) return;
            GdiObject o;
            o.kind = GdiObject::Kind::Font;
            o.font.height = r.i16(0);
            o.font.escapement = r.i16(4);
            o.font.weight = r.i16(8);
            o.font.italic = r.data[10] != 0;
            o.font.underline = r.data[11] != 0;
            o.font.strikeOut = r.data[12] != 0;
            const qint64 faceBytes = std::min<qint64>(32, r.size - 18);
            QByteArray face = r.copy(18, faceBytes);
            const int nul = face.indexOf('\0');
            if (nul >= 0) face.truncate(nul);
            o.font.face = FromWin1252(face);
            CreateAt(FirstFree(), o);
            break;
        }
        case 0x0142: {  // DIB pattern brush
            GdiObject o;
            o.kind = GdiObject::Kind::Brush;
            const QImage pattern = DecodeDib(r.copy(4, r.size - 4), 512 * 512);
            o.brush = pattern.isNull() ? QBrush(Qt::gray) : QBrush(pattern);
            CreateAt(FirstFree(), o);
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
        case 0x012D: {
            if (!need(2)) return;
            const int i = r.u16(0);
            if (i < int(m_objects.size())) Select(m_objects[size_t(i)]);
            break;
        }
        case 0x01F0: {
            if (!need(2)) return;
            const int i = r.u16(0);
            if (i < int(m_objects.size())) m_objects[size_t(i)] = GdiObject{};
            break;
        }
        case 0x001E: Save(); break;
        case 0x0127:
            if (!need(2)) return;
            Restore(r.i16(0));
            updateBase();
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
            DrawImage(dest, image, QRectF(src.x(), image.height() - src.y() - src.height(), src.width(), src.height()));
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
            DrawImage(dest, image, QRectF(src.x(), image.height() - src.y() - src.height(), src.width(), src.height()));
            break;
        }
        default: break;  // records without a visible effect here, or unknown: skipped
        }
    }
}

// ---- EMF --------------------------------------------------------------------------------------------

void Player::PlayEmf(const ByteRange& file, double pxPerMmX, double pxPerMmY) {
    m_pxPerMmX = pxPerMmX;
    m_pxPerMmY = pxPerMmY;
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
            m_s.opaqueBackground = r.u32(0) == 2;
            break;
        case 19:
            if (!need(4)) return;
            m_s.fillRule = r.u32(0) == 2 ? Qt::WindingFill : Qt::OddEvenFill;
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
            m_s.current = pt(0);
            if (m_inPath) m_path.moveTo(pt(0));
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
        case 33: Save(); break;
        case 34:
            if (!need(4)) return;
            Restore(r.i32(0));
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
            else if (i < m_objects.size())
                Select(m_objects[i]);
            break;
        }
        case 38: {
            if (!need(20)) return;
            GdiObject o;
            o.kind = GdiObject::Kind::Pen;
            o.pen = MakePen(int(r.u32(4)), r.i32(8), ColorRef(r.u32(16)));
            CreateAt(int(r.u32(0)), o);
            break;
        }
        case 95: {
            if (!need(40)) return;
            GdiObject o;
            o.kind = GdiObject::Kind::Pen;
            o.pen = MakePen(int(r.u32(20)), r.u32(24), ColorRef(r.u32(32)));
            if ((r.u32(20) & 0x00010000u) == 0 && r.u32(24) <= 1)
                o.pen = MakePen(int(r.u32(20)) & 0x0F, 0, ColorRef(r.u32(32)));
            CreateAt(int(r.u32(0)), o);
            break;
        }
        case 39: {
            if (!need(16)) return;
            GdiObject o;
            o.kind = GdiObject::Kind::Brush;
            o.brush = MakeBrush(int(r.u32(4)), ColorRef(r.u32(8)), int(r.u32(12)));
            CreateAt(int(r.u32(0)), o);
            break;
        }
        case 94: {
            if (!need(24)) return;
            GdiObject o;
            o.kind = GdiObject::Kind::Brush;
            const QImage pattern = image(r.u32(8), r.u32(12), r.u32(16), r.u32(20));
            o.brush = pattern.isNull() || qint64(pattern.width()) * pattern.height() > 512 * 512 ? QBrush(Qt::gray)
                                                                                                 : QBrush(pattern);
            CreateAt(int(r.u32(0)), o);
            break;
        }
        case 82: {
            if (!need(4 + 28)) return;
            GdiObject o;
            o.kind = GdiObject::Kind::Font;
            o.font.height = r.i32(4);
            o.font.escapement = r.i32(12);
            o.font.weight = r.i32(20);
            o.font.italic = r.data[24] != 0;
            o.font.underline = r.data[25] != 0;
            o.font.strikeOut = r.data[26] != 0;
            const qint64 chars = std::min<qint64>(32, (r.size - 32) / 2);
            QString face;
            for (qint64 i = 0; i < chars; ++i) {
                const char16_t c = r.u16(32 + i * 2);
                if (c == 0) break;
                face.append(QChar(c));
            }
            o.font.face = face;
            CreateAt(int(r.u32(0)), o);
            break;
        }
        case 40: {
            if (!need(4)) return;
            const uint32_t i = r.u32(0);
            if (i < m_objects.size()) m_objects[i] = GdiObject{};
            break;
        }
        case 42:
        case 43: {
            if (!need(16)) return;
            QPainterPath path;
            if (type == 42)
                path.addEllipse(rect(0));
            else
                path.addRect(rect(0));
            AddOrDraw(path, true, true);
            break;
        }
        case 44: {
            if (!need(24)) return;
            QPainterPath path;
            path.addRoundedRect(rect(0), std::abs(r.i32(16)) / 2.0, std::abs(r.i32(20)) / 2.0);
            AddOrDraw(path, true, true);
            break;
        }
        case 45:
        case 46:
        case 47:
            if (!need(32)) return;
            ArcShape(type == 45 ? 0 : type == 47 ? 1 : 2, rect(0), pt(16), pt(24));
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
            DrawImage(dest, img, QRectF(src.x(), img.height() - src.y() - src.height(), src.width(), src.height()));
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
            DrawImage(dest, img, QRectF(src.x(), img.height() - src.y() - src.height(), src.width(), src.height()));
            break;
        }
        default: break;  // records without a visible effect here, or unknown: skipped
        }
    }
}

}  // namespace

std::optional<TMetafilePicture> TMetafilePicture::FromBytes(const QByteArray& bytes) {
    if (bytes.size() > kMaxMetafileBytes) return std::nullopt;
    const ByteRange b{reinterpret_cast<const uchar*>(bytes.constData()), bytes.size()};
    TMetafilePicture m;
    m.m_bytes = bytes;
    if (b.ok(0, 88) && b.u32(0) == 1 && b.u32(40) == kEmfSignature) {
        m.m_form = Form::Enhanced;
        const double frameL = b.i32(24), frameT = b.i32(28), frameR = b.i32(32), frameB = b.i32(36);
        const double devW = b.i32(72), devH = b.i32(76), mmW = b.i32(80), mmH = b.i32(84);
        const double pxPerMmX = mmW > 0 && devW > 0 ? devW / mmW : 96 / 25.4;
        const double pxPerMmY = mmH > 0 && devH > 0 ? devH / mmH : 96 / 25.4;
        QRectF frame =
            Box(frameL / 100 * pxPerMmX, frameT / 100 * pxPerMmY, frameR / 100 * pxPerMmX, frameB / 100 * pxPerMmY);
        if (frame.width() <= 0 || frame.height() <= 0)  // fall back to the device bounds
            frame = Box(b.i32(8), b.i32(12), double(b.i32(16)) + 1, double(b.i32(20)) + 1);
        if (frame.width() <= 0 || frame.height() <= 0 || !Sane(frame)) return std::nullopt;
        m.m_bounds = frame;
        m.m_unitsPerInch = pxPerMmX * 25.4;
        m.m_widthInches = frame.width() / (pxPerMmX * 25.4);
        m.m_heightInches = frame.height() / (pxPerMmY * 25.4);
        return m;
    }
    qint64 start = 0;
    if (b.ok(0, kPlaceableHeaderBytes) && b.u32(0) == kPlaceableKey) {
        m.m_form = Form::Placeable;
        const int inch = b.u16(14);
        const QRectF box = Box(b.i16(6), b.i16(8), b.i16(10), b.i16(12));
        if (inch <= 0 || box.width() <= 0 || box.height() <= 0) return std::nullopt;
        m.m_bounds = box;
        m.m_unitsPerInch = inch;
        start = kPlaceableHeaderBytes;
    } else {
        m.m_form = Form::Plain;
    }
    const uint16_t kind = b.u16(start);
    if (!b.ok(start, kWmfHeaderBytes) || (kind != 1 && kind != 2) || b.u16(start + 2) != 9) return std::nullopt;
    if (m.m_form == Form::Plain) {
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
        m.m_bounds = window.normalized();
        // The bounds must fit the placeable header that a document stores in front of the picture.
        const QRectF b16 = m.m_bounds;
        if (b16.left() < -32768 || b16.top() < -32768 || b16.right() > 32767 || b16.bottom() > 32767)
            m.m_bounds = QRectF(0, 0, 1000, 1000);
        // Pictures in screen pixels are small; larger ones are taken as twips, as drawing programs write them.
        m.m_unitsPerInch = std::max(std::abs(window.width()), std::abs(window.height())) > 2000 ? 1440 : 96;
    }
    m.m_widthInches = m.m_bounds.width() / m.m_unitsPerInch;
    m.m_heightInches = m.m_bounds.height() / m.m_unitsPerInch;
    return m;
}

QByteArray TMetafilePicture::StoredBytes() const {
    if (m_form != Form::Plain) return m_bytes;
    QByteArray header(kPlaceableHeaderBytes, '\0');
    auto put16 = [&](int at, int v) {
        header[at] = char(v & 0xFF);
        header[at + 1] = char((v >> 8) & 0xFF);
    };
    put16(0, int(kPlaceableKey & 0xFFFF));
    put16(2, int(kPlaceableKey >> 16));
    put16(6, int(m_bounds.left()));
    put16(8, int(m_bounds.top()));
    put16(10, int(m_bounds.right()));
    put16(12, int(m_bounds.bottom()));
    put16(14, int(m_unitsPerInch));
    uint16_t checksum = 0;
    for (int i = 0; i < 20; i += 2) checksum ^= uint16_t(uchar(header[i]) | (uchar(header[i + 1]) << 8));
    put16(20, checksum);
    return header + m_bytes;
}

int TMetafilePicture::Width() const { return roundHalfEven(m_widthInches * ScreenPixelsPerInch()); }
int TMetafilePicture::Height() const { return roundHalfEven(m_heightInches * ScreenPixelsPerInch()); }

bool TMetafilePicture::Play(QPainter& painter, const QRectF& target, const MetafileWorkBudget& budget) const {
    if (target.isEmpty() || !painter.isActive()) return true;
    const ByteRange b{reinterpret_cast<const uchar*>(m_bytes.constData()), m_bytes.size()};
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    bool complete = true;
    {
        Player player(painter, m_form == Form::Enhanced, m_bounds, target, budget);
        if (m_form == Form::Enhanced) {
            const double devW = b.i32(72), devH = b.i32(76), mmW = b.i32(80), mmH = b.i32(84);
            player.PlayEmf(b, mmW > 0 && devW > 0 ? devW / mmW : 96 / 25.4,
                           mmH > 0 && devH > 0 ? devH / mmH : 96 / 25.4);
        } else {
            const qint64 start = m_form == Form::Placeable ? kPlaceableHeaderBytes : 0;
            const qint64 headerWords = b.u16(start + 2);
            player.PlayWmf(b, start + headerWords * 2, b.u16(start + 10));
        }
        complete = !player.Exhausted();
    }
    painter.restore();
    return complete;
}

}  // namespace plennix
