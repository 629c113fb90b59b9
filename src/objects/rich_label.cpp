#include "objects/rich_label.h"

#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QPicture>

#include "objects/rich_label_editor.h"
#include "platform/common_dialogs.h"
#include "platform/numbers.h"
#include "platform/ppi.h"
#include "printing/report.h"
#include "richtext/rich_text_editor.h"
#include "richtext/rtf_renderer.h"
#include "surface/base_panel.h"

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

void TGPRichBaseLabel::SetBorderStyle(TBorderStyle value) {
    if (value == m_borderStyle) return;
    m_borderStyle = value;
    if (IsLoading()) return;
    Invalidate();
    NotifyChanged();
}

void TGPRichBaseLabel::SetTransparent(bool value) {
    if (value == m_transparent) return;
    m_transparent = value;
    if (!IsLoading()) Invalidate();
}

void TGPRichBaseLabel::SetBGColor(TColor value) {
    if (value == m_bgColor) return;
    m_bgColor = value;
    if (IsLoading()) return;
    Invalidate();
    NotifyChanged();
}

// --- menu ----------------------------------------------------------------------------------------

void TGPRichBaseLabel::Loaded() {
    TGGraphicControl::Loaded();
    if (IsLoading()) return;
    EditAction = [this](QObject*) { Edit(); };
}

void TGPRichBaseLabel::ReadRichTextWithin(qint64& pictureBudget, RtfReadReport& report) const {
    report += m_store.ReadWithin(pictureBudget).report;
}

// The menu is built when a person first opens it, so that reading a document builds no widgets.
void TGPRichBaseLabel::BuildContextMenu(QMenu& menu) {
    TGGraphicControl::BuildContextMenu(menu);
    AddMenuSeparator();
    m_transparentItem = AddMenuItem(QStringLiteral("Transparent"), [this] { ToggleTransparent(); });
    m_transparentItem->setCheckable(true);
    AddMenuItem(QStringLiteral("Background Color"), [this] { ChooseBackgroundColor(); });
    m_borderItem = AddMenuItem(QStringLiteral("Border"), [this] { ToggleBorder(); });
    m_borderItem->setCheckable(true);
    AddMenuItem(QStringLiteral("Edit"), [this] { Edit(); });
    UpdateMenu();
    QObject::connect(&menu, &QMenu::aboutToShow, this, [this] { UpdateMenu(); });
}

void TGPRichBaseLabel::UpdateMenu() {
    if (m_transparentItem) m_transparentItem->setChecked(m_transparent);
    if (m_borderItem) m_borderItem->setChecked(m_borderStyle == bsSingle);
}

void TGPRichBaseLabel::ToggleTransparent() {
    SetTransparent(!m_transparent);
    // The setter stays quiet, but a change the user makes from the menu is a change of the document.
    NotifyChanged();
    UpdateMenu();
}

void TGPRichBaseLabel::ChooseBackgroundColor() {
    const auto chosen = ChooseColorDialog(m_bgColor, dialogParent());
    if (!chosen) return;
    m_bgColor = *chosen;
    NotifyChanged();
    SetTransparent(false);
    UpdateMenu();
    Invalidate();
}

void TGPRichBaseLabel::ToggleBorder() {
    SetBorderStyle(m_borderStyle == bsSingle ? bsNone : bsSingle);
    UpdateMenu();
}

QWidget* TGPRichBaseLabel::dialogParent() const {
    if (TGObjectHost* host = Parent()) return host->window();
    return QApplication::activeWindow();
}

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
    if (TGBasePanel* panel = Panel())
        if (panel->PaintSuspended()) return;
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

// --- the edit command ----------------------------------------------------------------------------

void TGPRichBaseLabel::Edit() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TRichTextLabelEditor dialog(dialogParent());
    dialog.WPRichText1->LoadFromStorage(m_store);
    const double z = Zoom() == 0 ? 1.0 : static_cast<double>(Zoom());
    const int w = roundHalfEven(Width() / z);
    const int h = roundHalfEven(Height() / z);
    if (!m_transparent) dialog.SetPanelColor(m_bgColor);
    dialog.SetPanelSize(Width() + 1, Height() + 1);
    const int P = ScreenPixelsPerInch();
    dialog.WPRichText1->SetPageSize(truncToInt(w / double(P) * 1440), truncToInt(h / double(P) * 1440));
    dialog.WPRichText1->SetZoomPercent(roundHalfEven(z * 100));
    QApplication::restoreOverrideCursor();

    if (RunModalDialog(dialog) != QDialog::Accepted) return;
    TWPRtfStorage text;
    text.AssignFrom(*dialog.WPRichText1);
    SetRTFText(text);
}

void RegisterRichLabelClass() {
    RegisterObjectClass(QStringLiteral("TGPRichBaseLabel"),
                        [](QObject* owner) -> TGGraphicControl* { return new TGPRichBaseLabel(owner); });
}

}  // namespace plennix
