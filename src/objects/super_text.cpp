#include "objects/super_text.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPaintEngine>
#include <QPainterPathStroker>
#include <QtMath>
#include <algorithm>

#include "platform/numbers.h"
#include "platform/ppi.h"
#include "printing/report.h"
#include "surface/label.h"

namespace plennix {

namespace {

// Outline pens wider than this come only from damaged records; stroking them would cost much and
// show nothing more.
constexpr int kMaxDrawnOutlineWidth = 500;
// Objects larger than this many device pixels are painted directly rather than kept as a picture.
constexpr double kMaxCachedPixels = 4.0 * 1024 * 1024;

template <class F>
void withScratchCanvas(F&& f) {
    QImage image(1, 1, QImage::Format_RGB32);
    QPainter painter(&image);
    Canvas canvas(&painter);
    f(canvas);
}

struct Flag {
    explicit Flag(bool& f) : flag(f) { flag = true; }
    ~Flag() { flag = false; }
    bool& flag;
};

}  // namespace

TGSuperText::TGSuperText(QObject* owner) : TGGraphicControl(owner) {
    m_font.name = QStringLiteral("Arial");
    m_font.setSize(48);
    m_font.style = fsBold;
    m_font.color = clBlack;
    m_caption = QStringLiteral("Text");
    {
        // A new object keeps its published size until a change or its first paint lays it out.
        Flag constructing(m_inLayout);
        SetBounds(Left(), Top(), 142, 33);
    }
    RebuildGradientBitmap();
}

TGSuperText* TGSuperText::CreateForTool(QObject* owner) {
    auto* t = new TGSuperText(owner);
    t->SetBorderStyle(bsSingle);
    t->SetControlTransparent(false);
    t->SetBGColor(clWhite);
    return t;
}

TGSuperText::~TGSuperText() = default;

const PropertyTable& TGSuperText::Properties() const {
    using S = TGSuperText;
    static const PropertyTable table = [] {
        PropertyTable t = CommonProperties();
        t.push_back(IntProp<S>("ShadowDepth", [](const S& s) { return s.ShadowDepth(); },
                               [](S& s, int32_t v) { s.SetShadowDepth(v); }, 0));
        t.push_back(EnumProp<S>("ShadowOrientation", ShadowOrientationNames(),
                                [](const S& s) { return s.ShadowOrientation(); },
                                [](S& s, int32_t v) { s.SetShadowOrientation(static_cast<TShadowOrientation>(v)); },
                                sdDownRight));
        t.push_back(ColorProp<S>("Shadowcolor", [](const S& s) { return s.Shadowcolor(); },
                                 [](S& s, int32_t v) { s.SetShadowcolor(v); }, 8421504));
        t.push_back(EnumProp<S>("BorderStyle", BorderStyleNames(), [](const S& s) { return s.BorderStyle(); },
                                [](S& s, int32_t v) { s.SetBorderStyle(static_cast<TBorderStyle>(v)); }));
        t.push_back(BoolProp<S>("ControlTransparent", [](const S& s) { return s.ControlTransparent(); },
                                [](S& s, int32_t v) { s.SetControlTransparent(v != 0); }));
        t.push_back(ColorProp<S>("BGColor", [](const S& s) { return s.BGColor(); },
                                 [](S& s, int32_t v) { s.SetBGColor(v); }));
        t.push_back(StringProp<S>("Caption", [](const S& s) { return s.Caption(); },
                                  [](S& s, const QString& v) { s.SetCaption(v); }));
        t.push_back(FontProp<S>("Font", [](S& s) { return &s.m_font; }, [](S& s) { s.fontChanged(); }));
        t.push_back(EnumProp<S>("FillDirection", FillDirectionNames(), [](const S& s) { return s.FillDirection(); },
                                [](S& s, int32_t v) { s.SetFillDirection(static_cast<TFillDirection>(v)); }));
        t.push_back(ColorProp<S>("GradientToColor", [](const S& s) { return s.GradientToColor(); },
                                 [](S& s, int32_t v) { s.SetGradientToColor(v); }));
        t.push_back(ColorProp<S>("GradientFromColor", [](const S& s) { return s.GradientFromColor(); },
                                 [](S& s, int32_t v) { s.SetGradientFromColor(v); }));
        t.push_back(DataProp<S>("Image", PropKind::Image, [](const S& s) { return EncodeImageData(s.Image()); },
                                [](S& s, const QByteArray& v) { s.SetImage(DecodeImageData(v)); }));
        t.push_back(ColorProp<S>("OutlineColor", [](const S& s) { return s.OutlineColor(); },
                                 [](S& s, int32_t v) { s.SetOutlineColor(v); }));
        t.push_back(EnumProp<S>("OutlineStyle", PenStyleNames(),
                                [](const S& s) { return static_cast<int32_t>(s.OutlineStyle()); },
                                [](S& s, int32_t v) { s.SetOutlineStyle(static_cast<PenStyle>(v)); }));
        t.push_back(IntProp<S>("OutlineWidth", [](const S& s) { return s.OutlineWidth(); },
                               [](S& s, int32_t v) { s.SetOutlineWidth(v); }));
        t.push_back(EnumProp<S>("SurfaceType", SurfaceTypeNames(), [](const S& s) { return s.SurfaceType(); },
                                [](S& s, int32_t v) { s.SetSurfaceType(static_cast<TSurfaceType>(v)); }));
        t.push_back(StringProp<S>("LastBitmapFileNameandPath", [](const S& s) { return s.LastBitmapFileNameandPath(); },
                                  [](S& s, const QString& v) { s.SetLastBitmapFileNameandPath(v); }));
        return t;
    }();
    return table;
}

// --- property setters --------------------------------------------------------------------------

void TGSuperText::recomputeShadowOffset() { m_shadowOffset = SuperTextShadowOffset(m_shadowOrientation, m_shadowDepth); }

void TGSuperText::layoutChanged() {
    m_layoutDirty = true;
    // Laid out at once, so that the size a document saves is the size the page shows; a record being
    // read keeps its stored size until it is complete.
    if (!IsLoading()) Relayout();
    repaint();
}

void TGSuperText::SetShadowDepth(int value) {
    if (value == m_shadowDepth) return;
    m_shadowDepth = value;
    recomputeShadowOffset();
    layoutChanged();
}

void TGSuperText::SetShadowOrientation(TShadowOrientation value) {
    if (value == m_shadowOrientation) return;
    m_shadowOrientation = value;
    recomputeShadowOffset();
    layoutChanged();
}

void TGSuperText::SetShadowcolor(TColor value) {
    if (value == m_shadowColor) return;
    m_shadowColor = value;
    repaint();
}

void TGSuperText::SetBorderStyle(TBorderStyle value) {
    if (value == m_borderStyle) return;
    m_borderStyle = value;
    layoutChanged();
    if (!IsLoading()) NotifyChanged();
}

void TGSuperText::SetControlTransparent(bool value) {
    if (value == m_transparent) return;
    m_transparent = value;
    layoutChanged();
}

void TGSuperText::SetBGColor(TColor value) {
    if (value == m_bgColor) return;
    m_bgColor = value;
    repaint();
    if (!IsLoading()) NotifyChanged();
}

void TGSuperText::SetCaption(const QString& value) {
    if (value == m_caption) return;
    m_caption = value;
    layoutChanged();
    if (!IsLoading()) NotifyChanged();
}

void TGSuperText::SetFont(const FontRecord& font) {
    if (font == m_font) return;
    m_font = font;
    fontChanged();
}

void TGSuperText::fontChanged() {
    layoutChanged();
    if (!IsLoading()) NotifyChanged();
}

void TGSuperText::SetFillDirection(TFillDirection value) {
    if (value == m_fillDirection) return;
    m_fillDirection = value;
    if (m_surfaceType == stGradientFill) RebuildGradientBitmap();
    repaint();
}

void TGSuperText::SetGradientToColor(TColor value) {
    if (value == m_gradientTo) return;
    m_gradientTo = value;
    if (m_surfaceType == stGradientFill) RebuildGradientBitmap();
    repaint();
}

void TGSuperText::SetGradientFromColor(TColor value) {
    if (value == m_gradientFrom) return;
    m_gradientFrom = value;
    if (!IsLoading()) NotifyChanged();
    if (m_surfaceType == stGradientFill) RebuildGradientBitmap();
    repaint();
}

void TGSuperText::SetImage(const QImage& image) {
    if (image.isNull() || !TextureSizeAcceptable(image.width(), image.height())) {
        m_image = QImage();
    } else {
        m_image = image.convertToFormat(QImage::Format_RGB32);
    }
    repaint();
}

void TGSuperText::SetOutlineColor(TColor value) {
    if (value == m_outlineColor) return;
    m_outlineColor = value;
    repaint();
}

void TGSuperText::SetOutlineStyle(PenStyle value) {
    if (value == m_outlineStyle) return;
    m_outlineStyle = value;
    repaint();
}

void TGSuperText::SetOutlineWidth(int value) {
    if (value == m_outlineWidth) return;
    m_outlineWidth = value;
    repaint();
}

void TGSuperText::SetSurfaceType(TSurfaceType value) {
    if (value == m_surfaceType) return;
    m_surfaceType = value;
    repaint();
    if (value != stBrushImage) m_image = QImage();
    if (value == stGradientFill) RebuildGradientBitmap();
    // Hollow letters without an outline would be invisible.
    if (value == stBrushTransparent && m_outlineStyle == PenStyle::psClear) SetOutlineStyle(PenStyle::psSolid);
}

void TGSuperText::RebuildGradientBitmap() {
    m_gradient = MakeGradientStrip(m_fillDirection, m_gradientFrom, m_gradientTo, Width(), Height());
    repaint();
}

// --- framework operations ----------------------------------------------------------------------

void TGSuperText::BoundsChanged() {
    TGGraphicControl::BoundsChanged();
    if (Width() < 1 || Height() < 1) SetBounds(Left(), Top(), std::max(1, Width()), std::max(1, Height()));
    // The size the layout settles on is the one kept, not one that only the next paint corrects.
    if (!m_inLayout) layoutChanged();
    if (m_surfaceType == stGradientFill) RebuildGradientBitmap();
}

void TGSuperText::ApplyFont(const FontRecord& font) {
    m_font = font;
    fontChanged();
}

FontRecord TGSuperText::DrawingFont() const { return ZoomedLabelFont(m_font, Zoom()); }

void TGSuperText::Relayout() {
    if (!m_layoutDirty || m_inLayout) return;
    Flag guard(m_inLayout);
    auto layoutFor = [&](float zoom, int width, int height) {
        SuperTextLayoutInput in;
        in.shadow = ZoomedShadowOffset(m_shadowOffset, zoom);
        in.width = width;
        in.height = height;
        in.transparent = m_transparent;
        in.border = m_borderStyle == bsSingle;
        withScratchCanvas([&](Canvas& c) {
            c.SetFont(ZoomedLabelFont(m_font, zoom));
            in.textHeight = c.TextHeight(m_caption);
            in.textWidth = c.TextWidth(m_caption + QLatin1Char(' '));
        });
        return ComputeSuperTextLayout(in);
    };
    m_layout = layoutFor(Zoom(), Width(), Height());
    if (Zoom() == 1.0f) {
        if (m_layout.width != Width() || m_layout.height != Height())
            SetBounds(Left(), Top(), m_layout.width, m_layout.height);
    } else {
        // The document keeps the size laid out at 100 %; the zoom only shows it.
        const SuperTextLayout atFull = layoutFor(1.0f, ModelWidth(), ModelHeight());
        if (atFull.width != ModelWidth() || atFull.height != ModelHeight() || m_layout.width != Width() ||
            m_layout.height != Height())
            SetLaidOutSize(atFull.width, atFull.height, m_layout.width, m_layout.height);
    }
    // Size changes made by the layout itself must not leave it dirty.
    m_layoutDirty = false;
}

QString TGSuperText::visibleCaption(const Canvas& canvas) {
    const int available = Width() - SuperTextMargin(m_layout);
    return CutCaptionToWidth(m_caption, available, [&](const QString& s) { return canvas.TextWidth(s); });
}

bool TGSuperText::FitToText() {
    QCoreApplication::processEvents();
    int cx = 0, cy = 0;
    withScratchCanvas([&](Canvas& c) {
        c.SetFont(DrawingFont());
        const Size extent = c.TextExtent(m_caption);
        cx = extent.cx;
        cy = extent.cy;
    });
    Relayout();
    const FitResult fit = ComputeFitToText(m_layout, cx, cy);
    SetBounds(Left(), Top(), fit.width, fit.height);
    return fit.fits;
}

void TGSuperText::fillGlyphs(Canvas& canvas, const QPainterPath& path, const QBrush& brush) {
    // Filling the outline path with a brush anchored at the object's corner gives exactly the pixels
    // of the path used as a clip over a fill of the client rectangle, without building a clip.
    QPainter* p = canvas.painter();
    if (p->compositionMode() != QPainter::CompositionMode_SourceOver)
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->setBrushOrigin(0, 0);
    p->fillPath(path, brush);
}

std::optional<QBrush> TGSuperText::faceBrush() {
    switch (m_surfaceType) {
    case stNormal: return QBrush(toQColor(m_font.color));
    case stGradientFill: {
        const bool rows = GradientRunsInRows(m_fillDirection);
        const int length = rows ? Height() : Width();
        // A record read in sets the size without a bounds change; the bands follow the size drawn.
        if (m_gradient.isNull() || (rows ? m_gradient.height() : m_gradient.width()) != std::min(length, 65536))
            RebuildGradientBitmap();
        if (m_gradient.isNull()) return std::nullopt;
        // The strip stretched over the whole object: one tile.
        QBrush brush(m_gradient);
        brush.setTransform(QTransform::fromScale(static_cast<double>(Width()) / m_gradient.width(),
                                                 static_cast<double>(Height()) / m_gradient.height()));
        return brush;
    }
    case stBrushImage: {
        if (m_image.width() < 1 || m_image.height() < 1) return std::nullopt;
        int tw = m_image.width(), th = m_image.height();
        if (Zoom() != 1.0f) {
            tw = truncToInt(tw * static_cast<double>(Zoom()));
            th = truncToInt(th * static_cast<double>(Zoom()));
        }
        if (tw < 1 || th < 1) return std::nullopt;
        // The texture repeats from the object's corner, each tile stretched to the zoomed tile size.
        QBrush brush(m_image);
        if (tw != m_image.width() || th != m_image.height())
            brush.setTransform(QTransform::fromScale(static_cast<double>(tw) / m_image.width(),
                                                     static_cast<double>(th) / m_image.height()));
        return brush;
    }
    case stBrushTransparent: break;
    }
    return std::nullopt;
}

void TGSuperText::Paint(Canvas& canvas) {
    if (m_inPaint) return;
    if (PaintSuspended()) return;
    Flag guard(m_inPaint);
    if (Width() < 5 || Height() < 5) m_layoutDirty = true;
    Relayout();
    const int W = Width(), H = Height();

    // Filling glyph outlines is the costly part of painting; on a pixel canvas the result is kept as
    // a picture. Vector output, scaled canvases and huge objects are drawn directly every time.
    QPainter* p = canvas.painter();
    const qreal ratio = p->device() ? p->device()->devicePixelRatioF() : 1.0;
    const bool cacheable = p->paintEngine() && p->paintEngine()->type() == QPaintEngine::Raster &&
                           p->worldTransform().type() <= QTransform::TxTranslate &&
                           static_cast<double>(W) * H * ratio * ratio <= kMaxCachedPixels;
    if (!cacheable) {
        m_renderCache.image = QImage();
        paintContent(canvas, W, H);
    } else {
        RenderCache& rc = m_renderCache;
        const FontRecord font = DrawingFont();
        if (rc.image.isNull() || rc.generation != m_generation || rc.width != W || rc.height != H ||
            rc.ratio != ratio || rc.zoom != Zoom() || !(rc.font == font) || rc.caption != m_caption) {
            QImage image(qCeil(W * ratio), qCeil(H * ratio), QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(ratio);
            image.fill(Qt::transparent);
            {
                QPainter ip(&image);
                ip.setRenderHints(p->renderHints());
                Canvas ic(&ip);
                paintContent(ic, W, H);
            }
            rc.image = image;
            // Painting may itself rebuild the gradient; what was drawn already shows that.
            rc.generation = m_generation;
            rc.width = W;
            rc.height = H;
            rc.ratio = ratio;
            rc.zoom = Zoom();
            rc.font = font;
            rc.caption = m_caption;
        }
        if (!rc.image.isNull()) p->drawImage(QPointF(0, 0), rc.image);
    }
    TGGraphicControl::Paint(canvas);
}

void TGSuperText::paintContent(Canvas& canvas, int W, int H) {
    const FontRecord font = DrawingFont();

    canvas.Save();
    canvas.SetFont(font);
    if (!m_transparent || m_borderStyle == bsSingle) {
        if (!m_transparent)
            canvas.SetBrush(m_bgColor, BrushStyle::bsSolid);
        else
            canvas.SetBrushClear();
        canvas.SetPen(clBlack, 1, m_borderStyle == bsSingle ? PenStyle::psSolid : PenStyle::psClear);
        canvas.Rectangle(Rect(0, 0, W, H));
    }
    canvas.SetBrushClear();
    canvas.SetBkTransparent(true);

    PaintCache& pc = m_paintCache;
    const int available = W - SuperTextMargin(m_layout);
    if (!pc.valid || pc.caption != m_caption || !(pc.font == font) || pc.available != available ||
        !(pc.faceOrigin == m_layout.faceOrigin) || !(pc.shadowOrigin == m_layout.shadowOrigin)) {
        pc.caption = m_caption;
        pc.font = font;
        pc.available = available;
        pc.faceOrigin = m_layout.faceOrigin;
        pc.shadowOrigin = m_layout.shadowOrigin;
        pc.text = visibleCaption(canvas);
        pc.facePath = canvas.TextPath(pc.faceOrigin.x, pc.faceOrigin.y, pc.text);
        pc.shadowPath = canvas.TextPath(pc.shadowOrigin.x, pc.shadowOrigin.y, pc.text);
        pc.outlinePath = QPainterPath();
        pc.outlineWidth = 0;
        pc.valid = true;
    }

    if (!pc.text.isEmpty()) {
        if (m_shadowDepth > 0 && m_shadowOrientation != sdNone)
            fillGlyphs(canvas, pc.shadowPath, QBrush(toQColor(m_shadowColor)));
        if (m_surfaceType != stBrushTransparent)
            if (const auto brush = faceBrush()) fillGlyphs(canvas, pc.facePath, *brush);
        if (m_outlineStyle != PenStyle::psClear && m_outlineWidth > 0) {
            const int width = std::min(m_outlineWidth, kMaxDrawnOutlineWidth);
            if (width > 1) {
                // Wide pens are solid with round ends and joins; their outline is stroked once and kept.
                if (pc.outlineWidth != width) {
                    QPainterPathStroker stroker;
                    stroker.setWidth(width);
                    stroker.setCapStyle(Qt::RoundCap);
                    stroker.setJoinStyle(Qt::RoundJoin);
                    pc.outlinePath = stroker.createStroke(pc.facePath);
                    pc.outlineWidth = width;
                }
                fillGlyphs(canvas, pc.outlinePath, QBrush(toQColor(m_outlineColor)));
            } else {
                canvas.SetBrushClear();
                canvas.SetPen(m_outlineColor, width, m_outlineStyle);
                canvas.StrokePath(pc.facePath);
            }
        }
    } else {
        canvas.SetPen(clBlack, 1, PenStyle::psSolid);
        canvas.SetBrushClear();
        canvas.Rectangle(Rect(0, 0, W, H));
        canvas.MoveTo(0, 0);
        canvas.LineTo(W, H);
        canvas.MoveTo(W, 0);
        canvas.LineTo(0, H);
    }
    canvas.Restore();
}

// --- printing ------------------------------------------------------------------------------------

void TGSuperText::PrintTo(TReport& report, double leftOffset, double topOffset) {
    // The glyph clips, pens and fonts set here end with this object.
    ReportStateGuard printState(report);
    const double P = ScreenPixelsPerInch();
    const auto inchX = [&](double p) { return leftOffset + (Left() + p) / P; };
    const auto inchY = [&](double p) { return topOffset + (Top() + p) / P; };

    m_layoutDirty = true;
    Relayout();
    const int W = Width(), H = Height();

    report.SetFont(m_font.name, m_font.size(), m_font.style & (fsBold | fsItalic | fsUnderline));

    if (!m_transparent || m_borderStyle == bsSingle) {
        report.SetBrush(m_transparent ? clWhite : m_bgColor, m_transparent ? BrushStyle::bsClear : BrushStyle::bsSolid);
        report.SetPen(clBlack, m_borderStyle == bsSingle ? PenStyle::psSolid : PenStyle::psClear, PenMode::pmCopy);
        report.SetPenWidthPixels(1);
        report.Rectangle(inchX(0), inchY(0), inchX(W), inchY(H));
    }
    report.SetBrush(clWhite, BrushStyle::bsClear);

    QString text;
    withScratchCanvas([&](Canvas& c) {
        c.SetFont(DrawingFont());
        text = visibleCaption(c);
    });
    if (text.isEmpty()) return;

    report.SetTransparent(true);
    const double baselineDrop = 0.88 * report.FontHeight();
    const auto textPath = [&](Point origin) {
        return report.TextPathBaseline(inchX(origin.x), inchY(origin.y) + baselineDrop, text);
    };

    if (m_shadowDepth > 0 && m_shadowOrientation != sdNone) {
        report.SetFontColor(m_shadowColor);
        const Rect& s = m_layout.shadowRect;
        ReportStateGuard clip(report);
        report.ClipToPath(textPath(m_layout.shadowOrigin));
        report.SetBrush(m_shadowColor, BrushStyle::bsSolid);
        report.FillRect(inchX(s.left) - 0.03, inchY(s.top) - 0.03, inchX(s.right), inchY(s.bottom));
    }

    report.SetFontColor(m_font.color);
    const double rl = inchX(0) - 0.03, rt = inchY(0) - 0.03, rr = inchX(W), rb = inchY(H);
    const QPainterPath face = textPath(m_layout.faceOrigin);
    if (m_surfaceType != stBrushTransparent) {
        ReportStateGuard clip(report);
        report.ClipToPath(face);
        switch (m_surfaceType) {
        case stNormal:
            report.SetBrush(m_font.color, BrushStyle::bsSolid);
            report.FillRect(rl, rt, rr, rb);
            break;
        case stBrushImage: printTiles(report, rl, rt, rr, rb); break;
        case stGradientFill: printGradient(report, rl, rt, rr, rb); break;
        case stBrushTransparent: break;
        }
    }

    if (m_outlineStyle != PenStyle::psClear && m_outlineWidth > 0) {
        report.SetBrush(m_font.color, BrushStyle::bsClear);
        report.SetPen(m_outlineColor, m_outlineStyle, PenMode::pmCopy);
        report.SetPenWidthInches(std::min(m_outlineWidth, kMaxDrawnOutlineWidth) / 100.0);
        report.StrokePath(face);
    }
    report.SetBrush(clWhite, BrushStyle::bsClear);
}

void TGSuperText::printTiles(TReport& report, double left, double top, double right, double bottom) {
    if (m_image.width() < 1 || m_image.height() < 1) return;
    const double P = ScreenPixelsPerInch();
    const int tw = std::max(1, roundHalfEven(m_image.width() * (report.XDpi() / P)));
    const int th = std::max(1, roundHalfEven(m_image.height() * (report.YDpi() / P)));
    const double areaW = (right - left) * report.XDpi();
    const double areaH = (bottom - top) * report.YDpi();
    for (int64_t y = 0; y < areaH + th; y += th)
        for (int64_t x = 0; x < areaW + tw; x += tw)
            report.StretchDraw(left + x / static_cast<double>(report.XDpi()), top + y / static_cast<double>(report.YDpi()),
                               left + (x + tw) / static_cast<double>(report.XDpi()) + 0.01,
                               top + (y + th) / static_cast<double>(report.YDpi()) + 0.01, m_image);
}

void TGSuperText::printGradient(TReport& report, double left, double top, double right, double bottom) {
    const int xdpi = report.XDpi(), ydpi = report.YDpi();
    const int rLeft = report.XI2D(left), rTop = report.YI2D(top);
    const int rWidth = report.XI2D(right) - rLeft, rHeight = report.YI2D(bottom) - rTop;
    const int areaW = rWidth + 1 + truncToInt(0.25 * xdpi);
    const int areaH = rHeight + 1 + truncToInt(0.25 * ydpi);
    const int offX = truncToInt(report.LeftWaste() * xdpi), offY = truncToInt(report.TopWaste() * ydpi);
    report.SetPen(clBlack, PenStyle::psSolid, PenMode::pmCopy);
    report.SetPenWidthInches(0.01);
    Canvas& c = report.canvas();
    for (const GradientBand& band : GradientBands(m_fillDirection, m_gradientFrom, m_gradientTo, areaW, areaH))
        c.FillRect(band.rect.translated(rLeft - offX, rTop - offY), band.color);
}

// --- commands --------------------------------------------------------------------------------------

void TGSuperText::AssignFrom(const TGSuperText& other) {
    SetCaption(other.Caption());
    SetFont(other.Font());
    SetControlTransparent(other.ControlTransparent());
    SetBGColor(other.BGColor());
    SetBorderStyle(other.BorderStyle());
    SetCaption(other.Caption());
    SetGradientFromColor(other.GradientFromColor());
    SetFillDirection(other.FillDirection());
    SetGradientToColor(other.GradientToColor());
    SetImage(other.Image());
    SetOutlineColor(other.OutlineColor());
    SetOutlineStyle(other.OutlineStyle());
    SetOutlineWidth(other.OutlineWidth());
    SetShadowcolor(other.Shadowcolor());
    SetShadowDepth(other.ShadowDepth());
    SetShadowOrientation(other.ShadowOrientation());
    SetSurfaceType(other.SurfaceType());
    SetBounds(Left(), Top(), other.Width(), other.Height());
}

void TGSuperText::TakeLookFrom(const TGSuperText& p) {
    SetGradientFromColor(p.GradientFromColor());
    SetFillDirection(p.FillDirection());
    SetGradientToColor(p.GradientToColor());
    SetImage(p.Image());
    SetOutlineColor(p.OutlineColor());
    SetOutlineStyle(p.OutlineStyle());
    SetOutlineWidth(p.OutlineWidth());
    SetShadowcolor(p.Shadowcolor());
    SetShadowDepth(p.ShadowDepth());
    SetShadowOrientation(p.ShadowOrientation());
    SetSurfaceType(p.SurfaceType());
    FontRecord colored = m_font;
    colored.color = p.Font().color;
    m_font = colored;
    ApplyFont(p.Font());
    SetCaption(p.Caption());
    if (m_surfaceType == stGradientFill) RebuildGradientBitmap();
    Relayout();
    repaint();
    NotifyChanged();
}

void TGSuperText::ToggleTransparent() {
    SetControlTransparent(!m_transparent);
    // The look of the page changed: the document must ask to be saved.
    NotifyChanged();
}

void TGSuperText::ToggleBorder() { SetBorderStyle(m_borderStyle == bsSingle ? bsNone : bsSingle); }

void TGSuperText::TakeBackgroundColor(TColor color) {
    SetBGColor(color);
    NotifyChanged();
    SetControlTransparent(false);
    repaint();
}

bool IsSuperText(const TGGraphicControl* object) { return qobject_cast<const TGSuperText*>(object) != nullptr; }

void RegisterSuperTextClass() { RegisterCaptionedObjectClass<TGSuperText>(QStringLiteral("TGSuperText")); }

}  // namespace plennix
