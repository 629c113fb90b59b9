#include "objects/rich_label.h"

#include <QPainter>
#include <QPicture>

#include "platform/numbers.h"
#include "platform/ppi.h"
#include "printing/report.h"
#include "richtext/rtf_renderer.h"

namespace plennix {

int RichLabelPageTwips(int pixels, float zoom, int pixelsPerInch) {
    const double z = zoom;
    if (z == 0 || pixelsPerInch <= 0) return 0;
    return truncToInt(pixels / z / pixelsPerInch * 1440);
}

int RichLabelPaintZoom(float zoom) { return truncToInt(static_cast<double>(zoom) * 100); }

// ---------------------------------------------------------------------------------------------

TGPRichBaseLabel::TGPRichBaseLabel(QObject* owner) : TGGraphicControl(owner) { SetBounds(Left(), Top(), 190, 33); }

TGPRichBaseLabel::~TGPRichBaseLabel() = default;

const PropertyTable& TGPRichBaseLabel::Properties() const {
    using L = TGPRichBaseLabel;
    static const PropertyTable table = [] {
        PropertyTable t = CommonProperties();
        // The RTF bytes travel as they are, so that a text reads back byte for byte.
        t.push_back(DataProp<L>(
            "RTFText", PropKind::RichText, [](const L& l) { return l.m_store.RtfData(); },
            [](L& l, const QByteArray& v) {
                l.m_store.SetRtfData(v);
                if (!l.IsLoading()) {
                    l.Invalidate();
                    l.NotifyChanged();
                }
            }));
        t.push_back(EnumProp<L>("BorderStyle", BorderStyleNames(), [](const L& l) { return l.BorderStyle(); },
                                [](L& l, int32_t v) { l.SetBorderStyle(static_cast<TBorderStyle>(v)); }));
        t.push_back(BoolProp<L>("Transparent", [](const L& l) { return l.Transparent(); },
                                [](L& l, int32_t v) { l.SetTransparent(v != 0); }));
        t.push_back(ColorProp<L>("BGColor", [](const L& l) { return l.BGColor(); },
                                 [](L& l, int32_t v) { l.SetBGColor(v); }));
        return t;
    }();
    return table;
}

void TGPRichBaseLabel::SetRTFText(const TWPRtfStorage& text) {
    m_store = text;
    if (IsLoading()) return;
    Invalidate();
    NotifyChanged();
}

void TGPRichBaseLabel::SetBorderStyle(TBorderStyle value) { SetProperty(m_borderStyle, value, peRepaint | peNotify); }

// The setter stays quiet: the menu command reports the change.
void TGPRichBaseLabel::SetTransparent(bool value) { SetProperty(m_transparent, value, peRepaint); }

void TGPRichBaseLabel::SetBGColor(TColor value) { SetProperty(m_bgColor, value, peRepaint | peNotify); }

// ---------------------------------------------------------------------------------------------

void TGPRichBaseLabel::Loaded() { TGGraphicControl::Loaded(); }

void TGPRichBaseLabel::ReadRichTextWithin(qint64& pictureBudget, RtfReadReport& report) const {
    report += m_store.ReadWithin(pictureBudget).report;
}

// --- menu commands that need no dialog ----------------------------------------------------------

void TGPRichBaseLabel::ToggleTransparent() {
    SetTransparent(!m_transparent);
    // The setter stays quiet, but a change the user makes from the menu is a change of the document.
    NotifyChanged();
}

void TGPRichBaseLabel::TakeBackgroundColor(TColor color) {
    m_bgColor = color;
    NotifyChanged();
    SetTransparent(false);
    Invalidate();
}

void TGPRichBaseLabel::ToggleBorder() { SetBorderStyle(m_borderStyle == bsSingle ? bsNone : bsSingle); }

// --- painting ------------------------------------------------------------------------------------

void TGPRichBaseLabel::PaintLabel(Canvas& canvas) const {
    const int W = Width(), H = Height();
    const float Z = Zoom();
    const int P = ScreenPixelsPerInch();

    canvas.SetPen(clBlack);
    if (m_transparent)
        canvas.SetBrushClear();
    else
        canvas.SetBrush(m_bgColor);
    canvas.FillRect(Rect(0, 0, W, H));

    // Laid out at the label's width at zoom 1 and drawn scaled, so that the lines break in the same places
    // at every zoom.
    TWPRtfRenderer renderer;
    renderer.SetZoomPercent(RichLabelPaintZoom(Z));
    renderer.SetPageSize(RichLabelPageTwips(W, Z, P), RichLabelPageTwips(H, Z, P));
    renderer.LoadFrom(m_store);
    renderer.Paint(canvas.painter(), W, H);

    if (m_borderStyle == bsSingle) {
        canvas.SetPen(clBlack, 1, PenStyle::psSolid);
        canvas.SetBrushClear();
        canvas.Rectangle(Rect(0, 0, W, H));
    }
}

void TGPRichBaseLabel::Paint(Canvas& canvas) {
    if (PaintSuspended()) return;
    PaintLabel(canvas);
}

QPicture TGPRichBaseLabel::ToPicture() const {
    QPicture picture;
    {
        QPainter painter(&picture);
        Canvas canvas(&painter);
        PaintLabel(canvas);
    }
    picture.setBoundingRect(QRect(0, 0, std::max(1, Width()), std::max(1, Height())));
    return picture;
}

void TGPRichBaseLabel::PrintTo(TReport& report, double leftOffset, double topOffset) {
    ReportStateGuard printState(report);
    if (Width() <= 0 || Height() <= 0) return;
    const double P = ScreenPixelsPerInch();
    const QPicture picture = ToPicture();
    report.StretchDraw(leftOffset + Left() / P, topOffset + Top() / P, leftOffset + (Left() + Width()) / P,
                       topOffset + (Top() + Height()) / P, picture);
}

void RegisterRichLabelClass() {
    RegisterObjectClass(QStringLiteral("TGPRichBaseLabel"),
                        [](QObject* owner) -> TGGraphicControl* { return new TGPRichBaseLabel(owner); });
}

}  // namespace plennix
