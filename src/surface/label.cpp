#include "surface/label.h"

#include <QImage>
#include <algorithm>
#include <cstdlib>

#include "platform/numbers.h"
#include "platform/ppi.h"
#include "printing/report.h"

namespace plennix {

namespace {
// A depth read from a damaged record can be any 32-bit value; offsets beyond this many pixels mean
// nothing on a page, and keeping them there keeps the layout's sums inside the integer range.
constexpr int kMaxOffsetDepth = 32767;

int boundedDepth(int depth) { return std::clamp(depth, -kMaxOffsetDepth, kMaxOffsetDepth); }
}  // namespace

Point ShadowOffset(TShadowDirection direction, int depth) {
    depth = boundedDepth(depth);
    switch (direction) {
    case sdRight: return {depth, 0};
    case sdLeft: return {-depth, 0};
    case sdDownRight: return {depth, depth};
    case sdDownLeft: return {-depth, depth};
    case sdDown: return {0, depth};
    case sdNone: break;
    }
    return {0, 0};
}

Point HighlightOffset(THighlightDirection direction, int depth) {
    depth = boundedDepth(depth);
    switch (direction) {
    case hdright: return {depth, 0};
    case hdLeft: return {-depth, 0};
    case hdUpRight: return {depth, -depth};
    case hdUpLeft: return {-depth, -depth};
    case hdUp: return {0, -depth};
    case hdNone: break;
    }
    return {0, 0};
}

namespace {

// An offset turned with the text: the copies keep their place relative to the letters.
Point turned(Point d, int angle) {
    switch (angle) {
    case 90: return {d.y, -d.x};
    case 180: return {-d.x, -d.y};
    case 270: return {-d.y, d.x};
    default: return d;
    }
}

// Where a copy of rotated text starts inside its rectangle.
Point originOf(const Rect& r, int angle) {
    switch (angle) {
    case 90: return {r.left, r.bottom};
    case 180: return {r.right, r.bottom};
    case 270: return {r.right, r.top};
    default: return {r.left, r.top};
    }
}

// Text of the label is measured as on a bitmap at the default resolution, whatever device it is later
// painted on.
TextMeasure measure(const FontRecord& font) {
    static const QImage device(1, 1, QImage::Format_RGB32);
    return TextMeasure(font, &device);
}

}  // namespace

LabelLayout ComputeLabelLayout(const LabelLayoutInput& in) {
    LabelLayout out;
    const Point s = in.shadowOffset;
    const Point h = in.highlightOffset;
    const int L = in.lineHeight;
    const int T = in.textWidth;

    // Room left of and above the text for copies that point left or up.
    int mx = 0, my = 0;
    if (s.x < 0) mx = -s.x;
    if (h.x < 0) mx = std::max(mx, -h.x);
    if (s.y < 0) my = -s.y;
    if (h.y < 0) my = std::max(my, -h.y);
    out.margin = {mx, my};

    const int N = L + s.y - h.y;
    const double M = N * 1.2;
    out.neededDepth = N;

    int width = in.width, height = in.height;
    const bool vertical = in.angle == 90 || in.angle == 270;
    if (vertical) {
        if (T * 1.2 < height) height = truncToInt(T * 1.2);
        if (height < 5) height = T;
        if (M < width) width = truncToInt(M);
        if (width < N) width = N;
    } else {
        if (in.angle == 180 && 2 * T < width) width = 2 * T;
        if (width <= 5) width = T;
        if (M < height) height = truncToInt(M);
        if (height < N) height = N;
    }
    out.width = width;
    out.height = height;

    Rect text = vertical ? Rect(my, mx, L + my, height - my) : Rect(mx, my, width, L + my);
    const int w = text.right - text.left + 1;
    const int hh = text.bottom - text.top + 1;
    if (in.angle == 90) text = text.translated(0, height - hh + h.x);
    if (in.angle == 180) text = text.translated(width - w - s.y, 0);

    const Point st = turned(s, in.angle);
    const Point ht = turned(h, in.angle);
    out.textRect = text;
    out.shadowRect = text.translated(st.x, st.y);
    out.highlightRect = text.translated(ht.x, ht.y);
    out.textOrigin = originOf(out.textRect, in.angle);
    out.shadowOrigin = originOf(out.shadowRect, in.angle);
    out.highlightOrigin = originOf(out.highlightRect, in.angle);

    if (in.angle == 0) {
        int x = text.left;
        if (in.alignment == taRightJustify) x = text.right - T;
        if (in.alignment == taCenter) x = (text.right - text.left) / 2 - T / 2;
        out.textOrigin.x = x;
        out.highlightOrigin.x = x + h.x;
        out.shadowOrigin.x = x + s.x;
    }
    return out;
}

FontRecord ZoomedLabelFont(const FontRecord& font, float zoom) {
    if (zoom == 1.0f) return font;
    FontRecord f = font;
    const int points = std::max(1, truncToInt(font.size() * static_cast<double>(zoom)));
    f.height = PointsToHeight(points);
    return f;
}

// ---------------------------------------------------------------------------------------------

TGBaseLabel::TGBaseLabel(QObject* owner) : TGGraphicControl(owner) {
    m_font.color = clBlack;
    m_font.name = QStringLiteral("Arial");
    m_font.setSize(10);
    m_caption = QStringLiteral("Text");
    // A new label keeps its published size until a change or its first paint lays it out.
    m_inLayout = true;
    SetBounds(Left(), Top(), 142, 33);
    m_inLayout = false;
}

TGBaseLabel::~TGBaseLabel() = default;

const PropertyTable& TGBaseLabel::Properties() const {
    using L = TGBaseLabel;
    static const PropertyTable table = [] {
        PropertyTable t = CommonProperties();
        t.push_back(EnumProp<L>("Alignment", AlignmentNames(), [](const L& l) { return l.Alignment(); },
                                [](L& l, int32_t v) { l.SetAlignment(static_cast<TAlignment>(v)); }, taLeftJustify));
        t.push_back(IntProp<L>("DepthHighlight", [](const L& l) { return l.DepthHighlight(); },
                               [](L& l, int32_t v) { l.SetDepthHighlight(v); }, 0));
        t.push_back(IntProp<L>("DepthShadow", [](const L& l) { return l.DepthShadow(); },
                               [](L& l, int32_t v) { l.SetDepthShadow(v); }, 0));
        t.push_back(EnumProp<L>("DirectionHighlight", HighlightDirectionNames(),
                                [](const L& l) { return l.DirectionHighlight(); },
                                [](L& l, int32_t v) { l.SetDirectionHighlight(static_cast<THighlightDirection>(v)); },
                                hdUpLeft));
        t.push_back(EnumProp<L>("DirectionShadow", ShadowDirectionNames(),
                                [](const L& l) { return l.DirectionShadow(); },
                                [](L& l, int32_t v) { l.SetDirectionShadow(static_cast<TShadowDirection>(v)); },
                                sdDownRight));
        t.push_back(ColorProp<L>("colorHighlight", [](const L& l) { return l.colorHighlight(); },
                                 [](L& l, int32_t v) { l.SetcolorHighlight(v); }, 16776960));
        t.push_back(ColorProp<L>("colorShadow", [](const L& l) { return l.colorShadow(); },
                                 [](L& l, int32_t v) { l.SetcolorShadow(v); }, 8421504));
        t.push_back(IntProp<L>("Angle", [](const L& l) { return l.Angle(); }, [](L& l, int32_t v) { l.SetAngle(v); }, 0));
        t.push_back(StringProp<L>("Caption", [](const L& l) { return l.Caption(); },
                                  [](L& l, const QString& v) { l.SetCaption(v); }));
        t.push_back(FontProp<L>("Font", [](L& l) { return &l.m_font; }, [](L& l) { l.fontChanged(); }));
        t.push_back(BoolProp<L>("Transparent", [](const L& l) { return l.Transparent(); },
                                [](L& l, int32_t v) { l.SetTransparent(v != 0); }));
        t.push_back(ColorProp<L>("BackColor", [](const L& l) { return l.BackColor(); },
                                 [](L& l, int32_t v) { l.SetBackColor(v); }));
        t.push_back(EnumProp<L>("BorderStyle", BorderStyleNames(), [](const L& l) { return l.BorderStyle(); },
                                [](L& l, int32_t v) { l.SetBorderStyle(static_cast<TBorderStyle>(v)); }));
        return t;
    }();
    return table;
}

// --- property setters --------------------------------------------------------------------------

void TGBaseLabel::SetBorderStyle(TBorderStyle value) { SetProperty(m_borderStyle, value, peRepaint | peNotify); }

void TGBaseLabel::recomputeShadowOffset() { m_shadowOffset = ShadowOffset(m_directionShadow, m_depthShadow); }

void TGBaseLabel::recomputeHighlightOffset() {
    m_highlightOffset = HighlightOffset(m_directionHighlight, m_depthHighlight);
}

void TGBaseLabel::layoutChanged() {
    m_layoutDirty = true;
    // Laid out at once, so that the size a document saves is the size the page shows; a record being
    // read keeps its stored size until it is complete.
    if (!IsLoading()) Relayout();
}

void TGBaseLabel::SetDepthShadow(int value) {
    if (value == m_depthShadow) return;
    m_depthShadow = value;
    recomputeShadowOffset();
    layoutChanged();
    if (!IsLoading()) Repaint();
}

void TGBaseLabel::SetDirectionShadow(TShadowDirection value) {
    if (value == m_directionShadow) return;
    m_directionShadow = value;
    recomputeShadowOffset();
    layoutChanged();
    if (!IsLoading()) Repaint();
}

void TGBaseLabel::SetDepthHighlight(int value) {
    if (value == m_depthHighlight) return;
    m_depthHighlight = value;
    recomputeHighlightOffset();
    layoutChanged();
    if (!IsLoading()) Repaint();
}

void TGBaseLabel::SetDirectionHighlight(THighlightDirection value) {
    if (value == m_directionHighlight) return;
    m_directionHighlight = value;
    recomputeHighlightOffset();
    layoutChanged();
    if (!IsLoading()) Repaint();
}

void TGBaseLabel::SetcolorShadow(TColor value) { SetProperty(m_colorShadow, value, peRepaint); }

void TGBaseLabel::SetcolorHighlight(TColor value) { SetProperty(m_colorHighlight, value, peRepaint); }

void TGBaseLabel::SetAngle(int value) {
    if (value != 0 && value != 90 && value != 180 && value != 270) return;
    if (value == m_angle) return;
    m_angle = value;
    m_layoutDirty = true;
    if (value != 0) m_alignment = taLeftJustify;
    // A record read back already holds the box fitted at its angle; swapping it again would change
    // the stored geometry.
    if (IsLoading()) return;
    const bool flat = value == 0 || value == 180;
    if ((flat && Height() > Width()) || (!flat && Width() > Height())) SetBounds(Left(), Top(), Height(), Width());
    layoutChanged();
    Repaint();
    // A rotation that keeps the box's shape is still a change of the document.
    NotifyChanged();
}

void TGBaseLabel::SetAlignment(TAlignment value) {
    if (value == m_alignment) return;
    m_alignment = value;
    layoutChanged();
    if (IsLoading()) return;
    Repaint();
    NotifyChanged();
}

void TGBaseLabel::SetTransparent(bool value) { SetProperty(m_transparent, value, peRepaint | peNotify); }

void TGBaseLabel::SetBackColor(TColor value) { SetProperty(m_backColor, value, peRepaint | peNotify); }

void TGBaseLabel::SetCaption(const QString& value) {
    if (value == m_caption) return;
    m_caption = value;
    layoutChanged();
    if (IsLoading()) return;
    Repaint();
    NotifyChanged();
}

void TGBaseLabel::SetFont(const FontRecord& font) {
    if (font == m_font) return;
    m_font = font;
    fontChanged();
}

void TGBaseLabel::fontChanged() {
    layoutChanged();
    if (IsLoading()) return;
    Repaint();
    NotifyChanged();
}

// --- framework operations ----------------------------------------------------------------------

void TGBaseLabel::BoundsChanged() {
    TGGraphicControl::BoundsChanged();
    if (Width() <= 0 || Height() <= 0) SetBounds(Left(), Top(), std::max(1, Width()), std::max(1, Height()));
    // The size the layout settles on is the one kept, not one that only the next paint corrects.
    if (!m_inLayout) layoutChanged();
}

void TGBaseLabel::ApplyFont(const FontRecord& font) {
    m_font = font;
    fontChanged();
}

void TGBaseLabel::Relayout() {
    if (m_inLayout) return;
    m_inLayout = true;
    auto layoutFor = [&](const FontRecord& f, int width, int height) {
        LabelLayoutInput in;
        in.angle = m_angle;
        in.alignment = m_alignment;
        in.shadowOffset = m_shadowOffset;
        in.highlightOffset = m_highlightOffset;
        in.width = width;
        in.height = height;
        // Metrics of a rotated font are those of the upright one.
        const TextMeasure m = measure(f);
        const TextMetrics tm = m.GetTextMetrics();
        in.lineHeight = tm.height + tm.internalLeading + tm.externalLeading;
        in.textWidth = m.TextWidth(m_caption + QLatin1Char(' '));
        return ComputeLabelLayout(in);
    };
    m_layout = layoutFor(DrawingFont(), Width(), Height());
    if (Zoom() == 1.0f) {
        if (m_layout.width != Width() || m_layout.height != Height())
            SetBounds(Left(), Top(), m_layout.width, m_layout.height);
    } else {
        // The document keeps the size laid out at 100 %; the size at this zoom only shows it, so that
        // font heights rounded at the zoom never find their way into the document.
        const LabelLayout atFull = layoutFor(ZoomedLabelFont(m_font, 1.0f), ModelWidth(), ModelHeight());
        if (atFull.width != ModelWidth() || atFull.height != ModelHeight() || m_layout.width != Width() ||
            m_layout.height != Height())
            SetLaidOutSize(atFull.width, atFull.height, m_layout.width, m_layout.height);
    }
    m_layoutZoom = Zoom();
    m_shapedCaption = ShapedText();
    m_layoutDirty = false;
    m_inLayout = false;
}

void TGBaseLabel::Paint(Canvas& canvas) {
    if (PaintSuspended()) return;
    if (Width() < 5 || Height() < 5) m_layoutDirty = true;
    if (LayoutDirty()) Relayout();

    if (!m_transparent) canvas.FillRect(Rect(0, 0, Width(), Height()), m_backColor);

    const FontRecord font = DrawingFont();
    canvas.SetFont(font, m_angle * 10);
    canvas.SetBrushClear();
    canvas.SetBkTransparent(true);
    if (!canvas.IsShaped(m_shapedCaption, m_caption)) m_shapedCaption = canvas.ShapeText(m_caption);
    const LabelLayout& l = m_layout;
    canvas.SetTextColor(m_colorShadow);
    canvas.TextRect(l.shadowRect, l.shadowOrigin.x, l.shadowOrigin.y, m_shapedCaption);
    canvas.SetTextColor(m_colorHighlight);
    canvas.TextRect(l.highlightRect, l.highlightOrigin.x, l.highlightOrigin.y, m_shapedCaption);
    canvas.SetTextColor(m_font.color);
    canvas.TextRect(l.textRect, l.textOrigin.x, l.textOrigin.y, m_shapedCaption);
    canvas.SetFont(font, 0);

    if (m_borderStyle == bsSingle) {
        canvas.SetPen(clBlack, 1, PenStyle::psSolid);
        canvas.SetBrushClear();
        canvas.Rectangle(Rect(0, 0, Width(), Height()));
    }
    TGGraphicControl::Paint(canvas);
}

void TGBaseLabel::GrowToFit() {
    if (m_angle != 0) return;
    if (LayoutDirty()) Relayout();
    const TextMeasure m = measure(DrawingFont());
    const int textWidth = m.TextWidth(m_caption + QStringLiteral("     "));
    const int textHeight = m.TextHeight(m_caption);
    const LabelLayout& l = m_layout;
    const int neededWidth = std::max({l.textRect.left, l.shadowRect.left, l.highlightRect.left}) + textWidth;
    const int neededHeight = std::max({l.textRect.top, l.shadowRect.top, l.highlightRect.top}) + textHeight;
    SetBounds(Left(), Top(), std::max(Width(), neededWidth), std::max(Height(), neededHeight));
    layoutChanged();
    Repaint();
}

void TGBaseLabel::PrintTo(TReport& report, double leftOffset, double topOffset) {
    ReportStateGuard printState(report);
    Relayout();
    const double P = ScreenPixelsPerInch();
    const auto inchX = [&](int p) { return leftOffset + (Left() + p) / P; };
    const auto inchY = [&](int p) { return topOffset + (Top() + p) / P; };
    // Each copy is clipped to its rectangle with the left and top edges widened a little, so that
    // printer fonts whose cells start slightly left of or above the screen's are not cut.
    const auto printCopy = [&](const Rect& r, Point origin, TColor color) {
        report.SetFontColor(color);
        report.PrintClipped(m_caption, inchX(origin.x), inchY(origin.y), inchX(r.left) - 0.03, inchY(r.top) - 0.03,
                            inchX(r.right), inchY(r.bottom));
    };

    if (!m_transparent) {
        report.SetBrush(m_backColor, BrushStyle::bsSolid);
        report.FillRect(inchX(0), inchY(0), inchX(Width() - 1), inchY(Height() - 1));
    }

    // The report font is the label's own size: printing is always at zoom 1.0.
    report.SetFont(m_font.name, m_font.size(), m_font.style & (fsBold | fsItalic | fsUnderline));
    report.SetFontRotation(m_angle);
    report.SetTransparent(true);

    if (m_depthShadow > 0 && m_directionShadow != sdNone)
        printCopy(m_layout.shadowRect, m_layout.shadowOrigin, m_colorShadow);
    if (m_depthHighlight > 0 && m_directionHighlight != hdNone)
        printCopy(m_layout.highlightRect, m_layout.highlightOrigin, m_colorHighlight);
    printCopy(m_layout.textRect, m_layout.textOrigin, m_font.color);

    if (m_borderStyle == bsSingle) {
        report.SetPen(clBlack);
        report.SetPenWidthPixels(1);
        report.SetBrush(clWhite, BrushStyle::bsClear);
        report.Rectangle(inchX(0), inchY(0), inchX(Width()), inchY(Height()));
    }
    report.SetFontRotation(0);
}

// --- menu commands that need no dialog ----------------------------------------------------------

void TGBaseLabel::ToggleTransparent() { SetTransparent(!m_transparent); }

void TGBaseLabel::ToggleBorder() { SetBorderStyle(m_borderStyle == bsSingle ? bsNone : bsSingle); }

// ---------------------------------------------------------------------------------------------

TGPLabel::TGPLabel(QObject* owner) : TGBaseLabel(owner) {}

void RegisterLabelClasses() { RegisterCaptionedObjectClass<TGPLabel>(QStringLiteral("TGPLabel")); }

}  // namespace plennix
