#pragma once
// The rich-text label: a block of formatted text placed freely on the page, on a transparent or coloured
// ground with an optional border. Its text is laid out by the store's own document at the label's width
// at zoom 1 and painted scaled to the design zoom, as day cells paint theirs; no editor control is
// involved until a person edits the text.
#include <QPicture>

#include "richtext/rtf_storage.h"
#include "surface/control_styles.h"
#include "surface/graphic_control.h"

class QWidget;

namespace plennix {

// The page the text is laid out on: the label's size at zoom 1, in twips.
int RichLabelPageTwips(int pixels, float zoom, int pixelsPerInch);
// The zoom the text is painted at: the design zoom in per cent, truncated.
int RichLabelPaintZoom(float zoom);

class TGPRichBaseLabel : public TGGraphicControl {
    Q_OBJECT
public:
    explicit TGPRichBaseLabel(QObject* owner = nullptr);
    ~TGPRichBaseLabel() override;

    QString ClassName() const override { return QStringLiteral("TGPRichBaseLabel"); }
    const PropertyTable& Properties() const override;

    // Published properties.
    const TWPRtfStorage& RTFText() const { return m_store; }
    void SetRTFText(const TWPRtfStorage& text);
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle value);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value);
    TColor BGColor() const { return m_bgColor; }
    void SetBGColor(TColor value);

    void Loaded() override;
    void ReadRichTextWithin(qint64& pictureBudget, RtfReadReport& report) const override;
    void Paint(Canvas& canvas) override;
    void PrintTo(TReport& report, double leftOffset, double topOffset) override;

    // Paints the ground, the text and the border onto the canvas, from its origin, at the label's size.
    void PaintLabel(Canvas& canvas) const;
    // The label as a vector picture of its size.
    QPicture ToPicture() const;

    // Menu commands that need no dialog.
    void ToggleTransparent();
    void ToggleBorder();
    // A colour chosen for the ground: the label stops being transparent.
    void TakeBackgroundColor(TColor color);

private:
    TWPRtfStorage m_store;
    TBorderStyle m_borderStyle = bsSingle;
    bool m_transparent = true;
    TColor m_bgColor = clWhite;
};

// The class that the user places.
using TGPRichLabel = TGPRichBaseLabel;

// Registers TGPRichBaseLabel with the object records.
void RegisterRichLabelClass();

}  // namespace plennix
