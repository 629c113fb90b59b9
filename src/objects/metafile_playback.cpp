#include "objects/metafile_playback.h"

#include <QFont>
#include <QFontMetricsF>
#include <algorithm>

namespace plennix::metafile {
namespace {

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

}  // namespace

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

GdiObject GdiObject::Pen(const QPen& pen) {
    GdiObject o;
    o.kind = Kind::Pen;
    o.pen = pen;
    return o;
}

GdiObject GdiObject::Brush(const QBrush& brush) {
    GdiObject o;
    o.kind = Kind::Brush;
    o.brush = brush;
    return o;
}

GdiObject GdiObject::Font(const LogFont& font) {
    GdiObject o;
    o.kind = Kind::Font;
    o.font = font;
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

double Playback::FillCost(const QPainterPath& path, const QTransform& full) {
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

void Playback::Draw(const QPainterPath& path, bool fill, bool stroke) {
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

void Playback::AddOrDraw(const QPainterPath& shape, bool fill, bool stroke) {
    if (m_inPath) {
        m_path.addPath(shape);
        return;
    }
    Draw(shape, fill, stroke);
}

void Playback::DrawImage(const QRectF& dest, const QImage& image, const QRectF& source) {
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

void Playback::DrawDib(const QRectF& dest, const QImage& image, const QRectF& source) {
    DrawImage(dest, image,
              QRectF(source.x(), image.height() - source.y() - source.height(), source.width(), source.height()));
}

void Playback::FillWithBrush(const QRectF& dest) {
    QPainterPath path;
    path.addRect(dest.normalized());
    Draw(path, true, false);
}

void Playback::Text(QPointF at, const QString& text, uint32_t options, const QRectF& box) {
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

void Playback::Select(const GdiObject& o) {
    switch (o.kind) {
    case GdiObject::Kind::Pen: m_s.pen = o.pen; break;
    case GdiObject::Kind::Brush: m_s.brush = o.brush; break;
    case GdiObject::Kind::Font: m_s.font = o.font; break;
    default: break;
    }
}

void Playback::MoveTo(QPointF to) {
    m_s.current = to;
    if (m_inPath) m_path.moveTo(to);
}

void Playback::RestoreDC(int which) {
    const qint64 index = which < 0 ? qint64(m_saved.size()) + which : qint64(which) - 1;
    if (index < 0 || index >= qint64(m_saved.size())) return;
    m_s = m_saved[size_t(index)];
    m_saved.resize(size_t(index));
}

void Playback::ClipRect(const QRectF& r, bool exclude) {
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

void Playback::Rectangle(const QRectF& box) {
    QPainterPath path;
    path.addRect(box);
    AddOrDraw(path, true, true);
}

void Playback::Ellipse(const QRectF& box) {
    QPainterPath path;
    path.addEllipse(box);
    AddOrDraw(path, true, true);
}

void Playback::RoundRect(const QRectF& box, double cornerWidth, double cornerHeight) {
    QPainterPath path;
    path.addRoundedRect(box, std::abs(cornerWidth) / 2.0, std::abs(cornerHeight) / 2.0);
    AddOrDraw(path, true, true);
}

void Playback::ArcShape(ArcKind kind, const QRectF& box, QPointF a, QPointF b) {
    double start, sweep;
    ArcAngles(box, a, b, &start, &sweep);
    QPainterPath path;
    if (kind == ArcKind::Arc) {
        path.arcMoveTo(box, start);
        path.arcTo(box, start, sweep);
        AddOrDraw(path, false, true);
        return;
    }
    if (kind == ArcKind::Pie) {
        path.moveTo(box.center());
        path.arcTo(box, start, sweep);
    } else {  // chord
        path.arcMoveTo(box, start);
        path.arcTo(box, start, sweep);
    }
    path.closeSubpath();
    AddOrDraw(path, true, true);
}

void Playback::LineTo(QPointF to) {
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

void Playback::PolyTo(const std::vector<QPointF>& pts, bool bezier) {
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

void Playback::Poly(const std::vector<QPointF>& pts, bool closed, bool bezier) {
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

int Playback::FirstFree() {
    for (size_t i = 0; i < m_objects.size(); ++i)
        if (m_objects[i].kind == GdiObject::Kind::Empty) return int(i);
    return -1;
}

void Playback::CreateAt(int index, GdiObject o) {
    if (index >= 0 && index < int(m_objects.size())) m_objects[size_t(index)] = std::move(o);
}

}  // namespace plennix::metafile

// Headless exports and fuzz targets play metafiles without widgets: the player needs Qt Gui alone, and
// every Qt Widgets header brings in the global header whose guard this checks.
#ifdef QTWIDGETSGLOBAL_H
#error "the metafile player must need Qt Gui only: a Qt Widgets header was included"
#endif
