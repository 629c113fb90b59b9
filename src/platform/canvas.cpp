#include "platform/canvas.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPen>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace plennix {

namespace {

// Styled cosmetic pens of the window system, in pixels: on, off, on, off...
struct DashPattern {
    int count;
    int lengths[6];
    int period;
};
constexpr DashPattern kDash{2, {18, 6}, 24};
constexpr DashPattern kDot{2, {3, 3}, 6};
constexpr DashPattern kDashDot{4, {9, 6, 3, 6}, 24};
constexpr DashPattern kDashDotDot{6, {9, 3, 3, 3, 3, 3}, 24};

const DashPattern* dashFor(PenStyle style) {
    switch (style) {
        case PenStyle::psDash: return &kDash;
        case PenStyle::psDot: return &kDot;
        case PenStyle::psDashDot: return &kDashDot;
        case PenStyle::psDashDotDot: return &kDashDotDot;
        default: return nullptr;
    }
}

bool dashOn(const DashPattern& d, int phase) {
    int p = phase % d.period;
    for (int i = 0; i < d.count; ++i) {
        if (p < d.lengths[i]) return (i % 2) == 0;
        p -= d.lengths[i];
    }
    return true;
}

QList<qreal> qtDashes(const DashPattern& d) {
    QList<qreal> v;
    for (int i = 0; i < d.count; ++i) v.append(d.lengths[i]);
    return v;
}

// Removes the single-ampersand prefixes: "&&" shows one '&', "&x" shows x underlined. Returns the
// index of the underlined character in the result, or -1.
int stripPrefixes(const QString& text, QString& shown) {
    int underline = -1;
    shown.clear();
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar c = text[i];
        if (c == u'&') {
            if (i + 1 >= text.size()) break;  // a trailing '&' shows nothing
            ++i;
            if (text[i] != u'&') underline = static_cast<int>(shown.size());
            shown.append(text[i]);
            continue;
        }
        shown.append(c);
    }
    return underline;
}

// Lines longer than this are left to the painter's own clipping.
constexpr int64_t kLongLine = 1 << 15;

struct LineSpan {
    int start, length;
};

}  // namespace

Canvas::Canvas(QPainter* painter) : m_painter(painter) {
    if (m_painter->isActive()) {
        m_painter->save();
        // The window system draws aliased; pixel-exact edges depend on it.
        m_painter->setRenderHint(QPainter::Antialiasing, false);
        m_painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    }
    m_saved.reserve(8);
    SetFont(QStringLiteral("Arial"), -13, 0, clBlack);
}

Canvas::~Canvas() {
    if (!m_painter->isActive()) return;
    while (m_saveDepth > 0) {
        m_painter->restore();
        --m_saveDepth;
    }
    m_painter->restore();
}

namespace {
// A solid strip of device pixels. On vector output (PDF, printer, print preview) a strip one dot thick
// is a hairline, the thinnest line the device draws: a preview scaled far down still shows it, where a
// filled strip of one printer dot falls between its pixels and vanishes.
void hairStrip(QPainter* painter, bool raster, const QRect& strip, const QColor& color) {
    if (raster || (strip.width() != 1 && strip.height() != 1)) {
        painter->fillRect(strip, color);
        return;
    }
    QPen pen(color, 0);
    pen.setCapStyle(Qt::FlatCap);
    painter->setPen(pen);
    if (strip.height() == 1)
        painter->drawLine(QPointF(strip.left(), strip.top() + 0.5),
                          QPointF(strip.left() + strip.width(), strip.top() + 0.5));
    else
        painter->drawLine(QPointF(strip.left() + 0.5, strip.top()),
                          QPointF(strip.left() + 0.5, strip.top() + strip.height()));
}
}  // namespace

bool Canvas::rasterDevice() const {
    QPaintEngine* e = m_painter->paintEngine();
    return e && e->type() == QPaintEngine::Raster;
}

void Canvas::SetPen(TColor color, int width, PenStyle style) {
    m_penColor = color;
    m_penWidth = width;
    m_penStyle = style;
}

void Canvas::SetPenMode(PenMode mode) { m_penMode = mode; }

void Canvas::SetBrush(TColor color, BrushStyle style) {
    m_brushColor = color;
    m_brushStyle = style;
}

void Canvas::SetFont(const QString& face, int height, FontStyles style, TColor color, int escapement,
                     FontPitch pitch) {
    m_textColor = color;
    m_escapement = escapement;
    if (!m_fontFace.isNull() && face == m_fontFace && height == m_fontHeight && style == m_fontStyle &&
        pitch == m_fontPitch)
        return;
    m_fontFace = face;
    m_fontHeight = height;
    m_fontStyle = style;
    m_fontPitch = pitch;
    m_font = MakeQFont(face, height, style, pitch);
    m_metrics.reset();
    m_shapingFont.reset();
}

void Canvas::SetFont(const FontRecord& font, int escapement) {
    SetFont(font.name, font.height, font.style, font.color, escapement, font.pitch);
}

const QFontMetrics& Canvas::metrics() const {
    if (!m_metrics) {
        QPaintDevice* device = m_painter->device();
        if (device)
            m_metrics.emplace(m_font, device);
        else
            m_metrics.emplace(m_font);
    }
    return *m_metrics;
}

void Canvas::applyPen() {
    if (m_penStyle == PenStyle::psClear) {
        m_painter->setPen(Qt::NoPen);
        return;
    }
    QPen pen(toQColor(m_penColor));
    if (m_penWidth > 1) {
        // Wide pens are solid with round ends, as the window system draws them.
        pen.setWidth(m_penWidth);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    } else {
        pen.setWidth(0);
        pen.setCapStyle(Qt::FlatCap);
        if (const DashPattern* d = dashFor(m_penStyle)) pen.setDashPattern(qtDashes(*d));
    }
    m_painter->setPen(pen);
}

void Canvas::applyBrush() {
    if (m_brushStyle == BrushStyle::bsClear)
        m_painter->setBrush(Qt::NoBrush);
    else
        m_painter->setBrush(toQColor(m_brushColor));
}

void Canvas::applyPenMode() {
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    // Raster operations exist only on pixel devices; vector output (PDF, pictures) draws plainly.
    if (m_penMode != PenMode::pmCopy && rasterDevice())
        mode = m_penMode == PenMode::pmXor ? QPainter::RasterOp_SourceXorDestination
                                           : QPainter::RasterOp_NotDestination;
    if (m_painter->compositionMode() != mode) m_painter->setCompositionMode(mode);
}

void Canvas::applyCopyMode() {
    if (m_painter->compositionMode() != QPainter::CompositionMode_SourceOver)
        m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

// ---- filling and outlines ----

void Canvas::FillRect(const Rect& r) {
    if (m_brushStyle == BrushStyle::bsClear) return;
    FillRect(r, m_brushColor);
}

void Canvas::FillRect(const Rect& r, TColor color) {
    if (r.isEmpty()) return;
    applyCopyMode();
    m_painter->fillRect(toQRect(r), toQColor(color));
}

void Canvas::Rectangle(const Rect& rect) {
    Rect r = rect.normalized();
    if (r.isEmpty()) return;
    applyPenMode();
    const bool pen = m_penStyle != PenStyle::psClear;
    const int w = pen ? std::max(1, m_penWidth) : 0;
    if (m_brushStyle == BrushStyle::bsSolid) {
        Rect inner = pen ? Rect(r.left + w, r.top + w, r.right - w, r.bottom - w)
                         : Rect(r.left, r.top, r.right - 1, r.bottom - 1);
        if (!inner.isEmpty()) m_painter->fillRect(toQRect(inner), toQColor(m_brushColor));
    }
    if (!pen) return;
    const QColor pc = toQColor(m_penColor);
    if (w == 1 && dashFor(m_penStyle) && r.width() > 1 && r.height() > 1) {
        // A closed figure: every outline pixel once, so that exclusive-or drawing erases itself.
        int phase = 0;
        pixelLine(r.left, r.top, r.right - 1, r.top, phase);
        pixelLine(r.right - 1, r.top, r.right - 1, r.bottom - 1, phase);
        pixelLine(r.right - 1, r.bottom - 1, r.left, r.bottom - 1, phase);
        pixelLine(r.left, r.bottom - 1, r.left, r.top, phase);
        return;
    }
    // Solid frame of w pixels inside r, as four strips that never overlap.
    const bool raster = rasterDevice();
    const int topH = std::min(w, r.height());
    const int midTop = r.top + topH;
    const int midBottom = std::max(midTop, r.bottom - w);
    hairStrip(m_painter, raster, QRect(r.left, r.top, r.width(), topH), pc);
    if (r.bottom > midBottom) hairStrip(m_painter, raster, QRect(r.left, midBottom, r.width(), r.bottom - midBottom), pc);
    if (midBottom > midTop) {
        const int leftW = std::min(w, r.width());
        hairStrip(m_painter, raster, QRect(r.left, midTop, leftW, midBottom - midTop), pc);
        const int rightL = std::max(r.left + leftW, r.right - w);
        if (r.right > rightL) hairStrip(m_painter, raster, QRect(rightL, midTop, r.right - rightL, midBottom - midTop), pc);
    }
}

void Canvas::RoundRect(const Rect& rect, int ellipseW, int ellipseH) {
    Rect r = rect.normalized();
    if (r.isEmpty()) return;
    applyPenMode();
    applyPen();
    applyBrush();
    m_painter->drawRoundedRect(QRectF(r.left, r.top, r.width() - 1, r.height() - 1), ellipseW / 2.0, ellipseH / 2.0,
                               Qt::AbsoluteSize);
}

void Canvas::Ellipse(const Rect& rect) {
    Rect r = rect.normalized();
    if (r.isEmpty()) return;
    applyPenMode();
    applyPen();
    applyBrush();
    m_painter->drawEllipse(QRectF(r.left, r.top, r.width() - 1, r.height() - 1));
}

void Canvas::patternBrushOrigin() {
    // Pattern tiles start at the device's own origin, wherever the canvas has been moved.
    bool invertible = false;
    QTransform inverse = m_painter->worldTransform().inverted(&invertible);
    m_painter->setBrushOrigin(invertible ? inverse.map(QPointF(0, 0)) : QPointF(0, 0));
}

void Canvas::DrawFocusRect(const Rect& rect) {
    Rect r = rect.normalized();
    if (r.isEmpty()) return;
    // Focus rectangles exist only on the screen; inverting needs a pixel device.
    if (!rasterDevice()) return;
    if (m_patternKind != 3) {
        m_patternImage = QImage(8, 8, QImage::Format_RGB32);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) m_patternImage.setPixel(x, y, ((x + y) % 2 == 0) ? 0xFFFFFFFFu : 0xFF000000u);
        m_patternKind = 3;
    }
    m_painter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    patternBrushOrigin();
    const QBrush brush(m_patternImage);
    const int topH = std::min(1, r.height());
    m_painter->fillRect(QRect(r.left, r.top, r.width(), topH), brush);
    if (r.height() > 1) m_painter->fillRect(QRect(r.left, r.bottom - 1, r.width(), 1), brush);
    if (r.height() > 2) {
        m_painter->fillRect(QRect(r.left, r.top + 1, 1, r.height() - 2), brush);
        if (r.width() > 1) m_painter->fillRect(QRect(r.right - 1, r.top + 1, 1, r.height() - 2), brush);
    }
    m_painter->setBrushOrigin(0, 0);
    applyCopyMode();
}

void Canvas::Frame3D(Rect& r, TColor topLeft, TColor bottomRight, int width) {
    applyCopyMode();
    const QColor tl = toQColor(topLeft), br = toQColor(bottomRight);
    for (int i = 0; i < width; ++i) {
        const int w = r.right - r.left, h = r.bottom - r.top;
        if (w > 0 && h > 0) {
            // Left column and top row (up to, not including, the last column and row) in the light
            // colour, then the right column and bottom row in the dark colour.
            if (h > 1) m_painter->fillRect(QRect(r.left, r.top, 1, h - 1), tl);
            if (w > 1) m_painter->fillRect(QRect(r.left, r.top, w - 1, 1), tl);
            m_painter->fillRect(QRect(r.right - 1, r.top, 1, h), br);
            if (w > 1) m_painter->fillRect(QRect(r.left, r.bottom - 1, w - 1, 1), br);
        }
        r.left += 1;
        r.top += 1;
        r.right -= 1;
        r.bottom -= 1;
    }
}

// ---- lines ----

void Canvas::MoveTo(int x, int y) { m_penPos = {x, y}; }

void Canvas::LineTo(int x, int y) {
    const Point from = m_penPos;
    m_penPos = {x, y};
    if (m_penStyle == PenStyle::psClear) return;
    applyPenMode();
    if (m_penWidth > 1) {
        applyPen();
        m_painter->drawLine(QPointF(from.x, from.y), QPointF(x, y));
        return;
    }
    int phase = 0;
    pixelLine(from.x, from.y, x, y, phase);
}

// One-pixel line from (x0, y0) up to, not including, (x1, y1), in the pen's colour and style; the
// composition mode must already be set. `dashPhase` carries a style pattern across joined lines.
void Canvas::pixelLine(int x0, int y0, int x1, int y1, int& dashPhase) {
    if (x0 == x1 && y0 == y1) return;
    const QColor color = toQColor(m_penColor);
    const DashPattern* dash = dashFor(m_penStyle);
    if (!dash && (x0 == x1 || y0 == y1)) {
        const QRect strip = y0 == y1 ? (x1 > x0 ? QRect(x0, y0, x1 - x0, 1) : QRect(x1 + 1, y0, x0 - x1, 1))
                                     : (y1 > y0 ? QRect(x0, y0, 1, y1 - y0) : QRect(x0, y1 + 1, 1, y0 - y1));
        hairStrip(m_painter, rasterDevice(), strip, color);
        return;
    }
    const int64_t spanX = std::abs(int64_t(x1) - x0), spanY = std::abs(int64_t(y1) - y0);
    if (std::max(spanX, spanY) > kLongLine) {
        // Far beyond any page: let the painter clip it instead of stepping through every pixel.
        QPen pen(color, 0);
        pen.setCapStyle(Qt::FlatCap);
        if (dash) pen.setDashPattern(qtDashes(*dash));
        m_painter->setPen(pen);
        m_painter->drawLine(QPointF(x0, y0), QPointF(x1, y1));
        return;
    }
    QPen pen(color, 0);
    pen.setCapStyle(Qt::SquareCap);
    m_painter->setPen(pen);
    constexpr int kBatch = 256;
    QPoint points[kBatch];
    int n = 0;
    const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx - dy;
    int x = x0, y = y0;
    while (x != x1 || y != y1) {
        if (!dash || dashOn(*dash, dashPhase)) {
            points[n++] = QPoint(x, y);
            if (n == kBatch) {
                m_painter->drawPoints(points, n);
                n = 0;
            }
        }
        ++dashPhase;
        const int e2 = 2 * err;
        if (e2 > -dy) {
            err -= dy;
            x += sx;
        }
        if (e2 < dx) {
            err += dx;
            y += sy;
        }
    }
    if (n > 0) m_painter->drawPoints(points, n);
}

// ---- text ----

namespace {
TextMetrics textMetrics(const QFontMetrics& fm, const QFont& font) {
    TextMetrics tm;
    tm.ascent = fm.ascent();
    tm.descent = fm.descent();
    tm.height = tm.ascent + tm.descent;
    tm.internalLeading = tm.height - font.pixelSize();
    tm.externalLeading = std::max(0, fm.leading());
    tm.aveCharWidth = fm.averageCharWidth();
    return tm;
}

Size textExtent(const QFontMetrics& fm, const QString& text) {
    return {fm.horizontalAdvance(text), fm.ascent() + fm.descent()};
}
}  // namespace

TextMetrics Canvas::GetTextMetrics() const { return textMetrics(metrics(), m_font); }

Size Canvas::TextExtent(const QString& text) const { return textExtent(metrics(), text); }

TextMeasure::TextMeasure(const FontRecord& font, const QPaintDevice* device)
    : m_font(MakeQFont(font.name, font.height, font.style, font.pitch)),
      m_metrics(device ? QFontMetrics(m_font, device) : QFontMetrics(m_font)) {}

TextMetrics TextMeasure::GetTextMetrics() const { return textMetrics(m_metrics, m_font); }

Size TextMeasure::TextExtent(const QString& text) const { return textExtent(m_metrics, text); }

int Canvas::lineWidth(QStringView text, bool expandTabs) const {
    const QFontMetrics& fm = metrics();
    if (!expandTabs || !text.contains(u'\t')) return fm.horizontalAdvance(text.toString());
    // Tab stops every eight average characters from the start of the line.
    const int tab = std::max(1, 8 * fm.averageCharWidth());
    int x = 0;
    qsizetype start = 0;
    for (;;) {
        qsizetype t = text.indexOf(u'\t', start);
        QStringView seg = text.mid(start, (t < 0 ? text.size() : t) - start);
        if (!seg.isEmpty()) x += fm.horizontalAdvance(seg.toString());
        if (t < 0) break;
        x = (x / tab + 1) * tab;
        start = t + 1;
    }
    return x;
}

// Draws one line with the top-left of its cell at (x, y), rotated about that point by the
// escapement; `underlineAt` marks a prefix-underlined character.
void Canvas::drawTextCell(int x, int y, QStringView text, bool expandTabs, int underlineAt) {
    const QFontMetrics& fm = metrics();
    const int ascent = fm.ascent();
    const int height = ascent + fm.descent();
    const bool rotated = (m_escapement % 3600) != 0;
    if (rotated) {
        m_painter->save();
        m_painter->translate(x, y);
        m_painter->rotate(-m_escapement / 10.0);
        x = 0;
        y = 0;
    }
    applyCopyMode();
    if (!m_bkTransparent) m_painter->fillRect(QRect(x, y, lineWidth(text, expandTabs), height), toQColor(m_bkColor));
    const QColor color = toQColor(m_textColor);
    m_painter->setPen(color);
    applyFont();
    if (expandTabs && text.contains(u'\t')) {
        const int tab = std::max(1, 8 * fm.averageCharWidth());
        int cx = 0;
        qsizetype start = 0;
        for (;;) {
            qsizetype t = text.indexOf(u'\t', start);
            QString seg = text.mid(start, (t < 0 ? text.size() : t) - start).toString();
            if (!seg.isEmpty()) {
                m_painter->drawText(QPoint(x + cx, y + ascent), seg);
                cx += fm.horizontalAdvance(seg);
            }
            if (t < 0) break;
            cx = (cx / tab + 1) * tab;
            start = t + 1;
        }
    } else {
        m_painter->drawText(QPoint(x, y + ascent), text.toString());
    }
    if (underlineAt >= 0 && underlineAt < text.size()) {
        const int before = lineWidth(text.left(underlineAt), expandTabs);
        const int w = fm.horizontalAdvance(text[underlineAt]);
        const int thickness = std::max(1, fm.lineWidth());
        m_painter->fillRect(QRect(x + before, y + ascent + std::max(1, fm.underlinePos()), w, thickness), color);
    }
    if (rotated) m_painter->restore();
}

void Canvas::applyFont() {
    // Setting a font makes the painter resolve it anew, and a new font finds its font engines again
    // at its first text: keep the painter's font when it is already this one.
    if (!(m_painter->font() == m_font)) m_painter->setFont(m_font);
}

int Canvas::deviceDpi() const {
    const QPaintDevice* device = m_painter->device();
    return device ? device->logicalDpiY() : 0;
}

namespace {
// Text that the glyph path draws exactly as QPainter::drawText does: one line of printable characters
// without the lines that a font's decorations add (drawn from the string's own measure there).
bool drawsAsGlyphs(const QString& text, const QFont& font) {
    if (text.isEmpty() || font.underline() || font.strikeOut() || font.overline()) return false;
    for (const QChar c : text) {
        const QChar::Category category = c.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line ||
            category == QChar::Separator_Paragraph || c == QChar::ObjectReplacementCharacter)
            return false;
    }
    return true;
}
}  // namespace

ShapedText Canvas::ShapeText(const QString& text) const {
    ShapedText shaped;
    shaped.m_text = text;
    shaped.m_font = m_font;
    shaped.m_dpi = deviceDpi();
    shaped.m_raster = rasterDevice();
    shaped.m_direction = m_painter->layoutDirection();
    shaped.m_shaped = true;
    shaped.m_ascent = metrics().ascent();
    if (!drawsAsGlyphs(text, m_font) || !shaped.m_raster) return shaped;
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(shaped.m_direction);
    QTextLayout layout(text, shapingFont(), m_painter->device());
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid() || line.textLength() != text.size()) return shaped;
    // Glyph positions are from the line's top-left, its baseline at its ascent (in 1/64 pixels, so that
    // moving them by whole pixels stays exact).
    shaped.m_lineAscent = line.ascent();
    shaped.m_runs = line.glyphRuns();
    return shaped;
}

const QFont& Canvas::shapingFont() const {
    // The very font the painter draws the string in: the canvas font resolved against the device's.
    // Kept, so that its font engines are found once for all the text shaped in it.
    if (!m_shapingFont) {
        m_painter->save();
        m_painter->setFont(m_font);
        m_shapingFont = m_painter->font();
        m_painter->restore();
    }
    return *m_shapingFont;
}

bool Canvas::IsShaped(const ShapedText& shaped, const QString& text) const {
    return shaped.m_shaped && shaped.m_text == text && shaped.m_font == m_font && shaped.m_dpi == deviceDpi() &&
           shaped.m_raster == rasterDevice() && shaped.m_direction == m_painter->layoutDirection();
}

void Canvas::TextRect(const Rect& r, int x, int y, const ShapedText& text) {
    // Glyphs are drawn the way the painter draws a string only upright and unscaled on a pixel device
    // (IsShaped: the device it was shaped for); anything else draws the string.
    if (text.m_runs.isEmpty() || (m_escapement % 3600) != 0 ||
        m_painter->deviceTransform().type() > QTransform::TxTranslate || !IsShaped(text, text.m_text)) {
        TextRect(r, x, y, text.m_text);
        return;
    }
    m_painter->save();
    m_painter->setClipRect(toQRect(r.normalized()), Qt::IntersectClip);
    applyCopyMode();
    if (!m_bkTransparent) m_painter->fillRect(toQRect(r.normalized()), toQColor(m_bkColor));
    m_painter->setPen(toQColor(m_textColor));
    const QPointF lineTopLeft(x, y + text.m_ascent - text.m_lineAscent);
    for (const QGlyphRun& run : text.m_runs) m_painter->drawGlyphRun(lineTopLeft, run);
    m_painter->restore();
}

void Canvas::TextOut(int x, int y, const QString& text) {
    if (text.isEmpty()) return;
    drawTextCell(x, y, text, false, -1);
}

void Canvas::TextRect(const Rect& r, int x, int y, const QString& text) {
    m_painter->save();
    m_painter->setClipRect(toQRect(r.normalized()), Qt::IntersectClip);
    if (!m_bkTransparent) {
        applyCopyMode();
        m_painter->fillRect(toQRect(r.normalized()), toQColor(m_bkColor));
    }
    const bool transparent = m_bkTransparent;
    m_bkTransparent = true;
    if (!text.isEmpty()) drawTextCell(x, y, text, false, -1);
    m_bkTransparent = transparent;
    m_painter->restore();
}

int Canvas::DrawText(const QString& text, Rect& r, uint32_t flags) {
    QString shown;
    int underline = -1;
    if ((flags & DT_NOPREFIX) || !text.contains(u'&'))
        shown = text;
    else
        underline = stripPrefixes(text, shown);
    if (shown.isEmpty()) {
        if (flags & DT_CALCRECT) {
            r.right = r.left;
            r.bottom = r.top;
        }
        return 0;
    }
    const QFontMetrics& fm = metrics();
    const int lineH = fm.ascent() + fm.descent();
    const bool tabs = flags & DT_EXPANDTABS;

    // Lay out the lines: one for DT_SINGLELINE, else one per line break, wrapped at spaces with
    // DT_WORDBREAK (a word wider than the rectangle keeps a line of its own).
    thread_local std::vector<LineSpan> lines;
    lines.clear();
    const QStringView all(shown);
    if (flags & DT_SINGLELINE) {
        lines.push_back({0, static_cast<int>(shown.size())});
    } else {
        const int maxW = r.right - r.left;
        qsizetype pos = 0;
        while (pos <= shown.size()) {
            qsizetype nl = shown.indexOf(u'\n', pos);
            qsizetype end = nl < 0 ? shown.size() : nl;
            qsizetype paraEnd = end;
            if (paraEnd > pos && shown[paraEnd - 1] == u'\r') --paraEnd;
            if (!(flags & DT_WORDBREAK) || paraEnd == pos) {
                lines.push_back({static_cast<int>(pos), static_cast<int>(paraEnd - pos)});
            } else {
                qsizetype start = pos;
                while (start < paraEnd) {
                    qsizetype fit = start, i = start;
                    while (i < paraEnd) {
                        qsizetype j = i;
                        while (j < paraEnd && shown[j] != u' ') ++j;
                        if (fit > start && lineWidth(all.mid(start, j - start), tabs) > maxW) break;
                        fit = j;
                        while (j < paraEnd && shown[j] == u' ') ++j;
                        i = j;
                        if (lineWidth(all.mid(start, fit - start), tabs) > maxW) break;
                    }
                    lines.push_back({static_cast<int>(start), static_cast<int>(fit - start)});
                    start = i;
                }
            }
            if (nl < 0) break;
            pos = nl + 1;
        }
    }

    const int total = lineH * static_cast<int>(lines.size());
    if (flags & DT_CALCRECT) {
        int maxWidth = 0;
        for (const LineSpan& l : lines) maxWidth = std::max(maxWidth, lineWidth(all.mid(l.start, l.length), tabs));
        r.right = r.left + maxWidth;
        r.bottom = r.top + total;
        return total;
    }

    int y = r.top;
    if (flags & DT_SINGLELINE) {
        if (flags & DT_BOTTOM)
            y = r.bottom - lineH;
        else if (flags & DT_VCENTER)
            y = r.top + (r.bottom - r.top - lineH) / 2;
    }
    const bool clip = !(flags & DT_NOCLIP);
    if (clip) {
        m_painter->save();
        m_painter->setClipRect(toQRect(r.normalized()), Qt::IntersectClip);
    }
    int lineY = y;
    for (const LineSpan& l : lines) {
        const QStringView line = all.mid(l.start, l.length);
        int x = r.left;
        if (flags & (DT_CENTER | DT_RIGHT)) {
            const int w = lineWidth(line, tabs);
            x = (flags & DT_CENTER) ? r.left + (r.right - r.left - w) / 2 : r.right - w;
        }
        const int u = (underline >= l.start && underline < l.start + l.length) ? underline - l.start : -1;
        if (!line.isEmpty()) drawTextCell(x, lineY, line, tabs, u);
        lineY += lineH;
    }
    if (clip) m_painter->restore();
    return (flags & DT_SINGLELINE) && (flags & (DT_VCENTER | DT_BOTTOM)) ? (y - r.top) + total : total;
}

// ---- clipping and state ----

void Canvas::Save() {
    m_saved.push_back({m_penColor, m_penWidth, m_penStyle, m_penMode, m_brushColor, m_brushStyle, m_font, m_fontFace,
                       m_fontHeight, m_fontStyle, m_fontPitch, m_escapement, m_textColor, m_bkColor, m_bkTransparent,
                       m_penPos});
    m_painter->save();
    ++m_saveDepth;
}

void Canvas::Restore() {
    if (m_saved.empty()) return;
    m_painter->restore();
    --m_saveDepth;
    SavedState& s = m_saved.back();
    m_penColor = s.penColor;
    m_penWidth = s.penWidth;
    m_penStyle = s.penStyle;
    m_penMode = s.penMode;
    m_brushColor = s.brushColor;
    m_brushStyle = s.brushStyle;
    if (m_fontFace != s.fontFace || m_fontHeight != s.fontHeight || m_fontStyle != s.fontStyle ||
        m_fontPitch != s.fontPitch) {
        m_font = s.font;
        m_metrics.reset();
        m_shapingFont.reset();
    }
    m_fontFace = s.fontFace;
    m_fontHeight = s.fontHeight;
    m_fontStyle = s.fontStyle;
    m_fontPitch = s.fontPitch;
    m_escapement = s.escapement;
    m_textColor = s.textColor;
    m_bkColor = s.bkColor;
    m_bkTransparent = s.bkTransparent;
    m_penPos = s.penPos;
    m_saved.pop_back();
}

void Canvas::IntersectClipRect(const Rect& r) {
    Rect n = r.normalized();
    if (!m_painter->hasClipping())
        m_painter->setClipRect(toQRect(n), Qt::ReplaceClip);
    else
        m_painter->setClipRect(toQRect(n), Qt::IntersectClip);
}

void Canvas::IntersectClipPath(const QPainterPath& path) {
    m_painter->setClipPath(path, m_painter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

void Canvas::IntersectClipEllipse(const Rect& r) {
    QPainterPath path;
    path.addEllipse(toQRectF(r.normalized()));
    IntersectClipPath(path);
}

void Canvas::Translate(int dx, int dy) { m_painter->translate(dx, dy); }

// ---- paths ----

QPainterPath Canvas::TextPath(int x, int y, const QString& text) const {
    QPainterPath path;
    path.addText(QPointF(0, metrics().ascent()), m_font, text);
    QTransform t;
    t.translate(x, y);
    if (m_escapement % 3600 != 0) t.rotate(-m_escapement / 10.0);
    return t.map(path);
}

void Canvas::StrokePath(const QPainterPath& path) {
    if (m_penStyle == PenStyle::psClear) return;
    applyPenMode();
    applyPen();
    m_painter->strokePath(path, m_painter->pen());
}

void Canvas::FillPath(const QPainterPath& path) {
    if (m_brushStyle == BrushStyle::bsClear) return;
    applyPenMode();
    m_painter->fillPath(path, toQColor(m_brushColor));
}

// ---- patterns ----

void Canvas::PatternAnd(const Rect& rect, const uint8_t rows[8], TColor foreground) {
    Rect r = rect.normalized();
    if (r.isEmpty()) return;
    const bool raster = rasterDevice();
    const int kind = raster ? 0 : 1;
    if (m_patternKind != kind || m_patternFore != foreground || !std::equal(rows, rows + 8, m_patternRows)) {
        // Under a 1 bit the pattern is white (AND leaves the destination); on vector devices, which
        // have no raster operations, those pixels are transparent instead.
        m_patternImage = QImage(8, 8, QImage::Format_ARGB32_Premultiplied);
        const QRgb fore = toQColor(foreground).rgb() | 0xFF000000u;
        const QRgb keep = raster ? 0xFFFFFFFFu : 0u;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) m_patternImage.setPixel(x, y, ((rows[y] >> (7 - x)) & 1) ? keep : fore);
        std::copy(rows, rows + 8, m_patternRows);
        m_patternFore = foreground;
        m_patternKind = kind;
    }
    m_painter->setCompositionMode(raster ? QPainter::RasterOp_SourceAndDestination
                                         : QPainter::CompositionMode_SourceOver);
    patternBrushOrigin();
    m_painter->fillRect(toQRect(r), QBrush(m_patternImage));
    m_painter->setBrushOrigin(0, 0);
    applyCopyMode();
}

void Canvas::PatternFill(const Rect& rect, const uint8_t rows[8], TColor foreground, TColor background,
                         bool transparentBackground) {
    Rect r = rect.normalized();
    if (r.isEmpty()) return;
    const int kind = transparentBackground ? 2 : 4;
    if (m_patternKind != kind || m_patternFore != foreground || m_patternBack != background ||
        !std::equal(rows, rows + 8, m_patternRows)) {
        m_patternImage = QImage(8, 8, QImage::Format_ARGB32_Premultiplied);
        const QRgb fore = toQColor(foreground).rgb() | 0xFF000000u;
        const QRgb back = transparentBackground ? 0u : (toQColor(background).rgb() | 0xFF000000u);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) m_patternImage.setPixel(x, y, ((rows[y] >> (7 - x)) & 1) ? fore : back);
        std::copy(rows, rows + 8, m_patternRows);
        m_patternFore = foreground;
        m_patternBack = background;
        m_patternKind = kind;
    }
    applyCopyMode();
    patternBrushOrigin();
    m_painter->fillRect(toQRect(r), QBrush(m_patternImage));
    m_painter->setBrushOrigin(0, 0);
}

// ---- pictures ----

void Canvas::StretchDraw(const Rect& r, const QImage& image) {
    if (image.isNull() || r.width() == 0 || r.height() == 0) return;
    applyCopyMode();
    const bool smooth = m_painter->testRenderHint(QPainter::SmoothPixmapTransform);
    if (smooth) m_painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    m_painter->drawImage(toQRectF(r), image);
    if (smooth) m_painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
}

void Canvas::StretchDraw(const Rect& r, const QPicture& picture) {
    const QRect bounds = picture.boundingRect();
    if (bounds.isEmpty() || r.width() == 0 || r.height() == 0) return;
    applyCopyMode();
    // A picture plays back scaled from the resolution it was recorded at to the device's; undo that
    // so that its bounding rectangle maps exactly onto r.
    QPaintDevice* device = m_painter->device();
    const double recordedX = picture.logicalDpiX() > 0 ? picture.logicalDpiX() : 96.0;
    const double recordedY = picture.logicalDpiY() > 0 ? picture.logicalDpiY() : 96.0;
    const double fx = device && device->logicalDpiX() > 0 ? device->logicalDpiX() / recordedX : 1.0;
    const double fy = device && device->logicalDpiY() > 0 ? device->logicalDpiY() / recordedY : 1.0;
    const double sx = static_cast<double>(r.width()) / bounds.width();
    const double sy = static_cast<double>(r.height()) / bounds.height();
    m_painter->save();
    m_painter->translate(r.left, r.top);
    m_painter->scale(sx / fx, sy / fy);
    m_painter->translate(-bounds.left() * fx, -bounds.top() * fy);
    m_painter->drawPicture(0, 0, picture);
    m_painter->restore();
}

}  // namespace plennix
