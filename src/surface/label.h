#pragma once
// The text label: one line of text in a chosen font, rotated by 0, 90, 180 or 270 degrees, with an
// optional 3D look made of a shadow and a highlight copy of the text beneath it, an optional background
// colour and a single-line border. TGBaseLabel holds the behaviour; TGPLabel is the class the user
// places (its text dialog, the font command that grows the box and the rotation menu are the editor's,
// in label_commands.h).
#include <QString>

#include "platform/canvas.h"
#include "platform/colors.h"
#include "platform/font.h"
#include "platform/rect.h"
#include "surface/control_styles.h"
#include "surface/graphic_control.h"

namespace plennix {

enum THighlightDirection : uint8_t { hdNone, hdright, hdLeft, hdUpRight, hdUpLeft, hdUp };
// TGSuperText's shadow orientation has the same values and names; it should alias this type.
enum TShadowDirection : uint8_t { sdNone, sdRight, sdLeft, sdDownRight, sdDownLeft, sdDown };

inline QStringList HighlightDirectionNames() { return {"hdNone", "hdright", "hdLeft", "hdUpRight", "hdUpLeft", "hdUp"}; }
inline QStringList ShadowDirectionNames() { return {"sdNone", "sdRight", "sdLeft", "sdDownRight", "sdDownLeft", "sdDown"}; }

// The pixel offset of a copy of the text for a direction and depth (x to the right, y downwards);
// depths beyond 32767 pixels either way count as 32767.
Point ShadowOffset(TShadowDirection direction, int depth);
Point HighlightOffset(THighlightDirection direction, int depth);

// What the label layout needs to know, measured with the drawing font.
struct LabelLayoutInput {
    int angle = 0;  // 0, 90, 180 or 270
    TAlignment alignment = taLeftJustify;
    Point shadowOffset;
    Point highlightOffset;
    int width = 0;       // the box before the layout
    int height = 0;
    int lineHeight = 0;  // character height + internal leading + external leading
    int textWidth = 0;   // width of the caption followed by one space
};

struct LabelLayout {
    int width = 0;  // the box after the layout
    int height = 0;
    Point margin;
    int neededDepth = 0;
    Rect textRect, shadowRect, highlightRect;
    Point textOrigin, shadowOrigin, highlightOrigin;
};

// Fits the box to the text and places the three copies of the text.
LabelLayout ComputeLabelLayout(const LabelLayoutInput& in);

// The drawing font of a label at a zoom: the font itself at 1.0, otherwise its point size times the
// zoom, truncated (never below 1 point, which would ask for the default size).
FontRecord ZoomedLabelFont(const FontRecord& font, float zoom);

class TGBaseLabel : public TGGraphicControl {
    Q_OBJECT
public:
    explicit TGBaseLabel(QObject* owner = nullptr);
    ~TGBaseLabel() override;

    QString ClassName() const override { return QStringLiteral("TGBaseLabel"); }
    const PropertyTable& Properties() const override;

    // Published properties.
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle value);
    int DepthHighlight() const { return m_depthHighlight; }
    void SetDepthHighlight(int value);
    int DepthShadow() const { return m_depthShadow; }
    void SetDepthShadow(int value);
    THighlightDirection DirectionHighlight() const { return m_directionHighlight; }
    void SetDirectionHighlight(THighlightDirection value);
    TShadowDirection DirectionShadow() const { return m_directionShadow; }
    void SetDirectionShadow(TShadowDirection value);
    TColor colorHighlight() const { return m_colorHighlight; }
    void SetcolorHighlight(TColor value);
    TColor colorShadow() const { return m_colorShadow; }
    void SetcolorShadow(TColor value);
    int Angle() const { return m_angle; }
    void SetAngle(int value);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment value);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value);
    TColor BackColor() const { return m_backColor; }
    void SetBackColor(TColor value);
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& value);
    const FontRecord& Font() const { return m_font; }
    void SetFont(const FontRecord& font);

    // Framework and base operations.
    void Paint(Canvas& canvas) override;
    void BoundsChanged() override;
    void ApplyFont(const FontRecord& font) override;
    std::optional<TColor> FontColor() const override { return m_font.color; }
    void PrintTo(TReport& report, double leftOffset, double topOffset) override;

    // Grows the box (never shrinks it) to hold the caption with its offsets; only at Angle 0.
    void GrowToFit();
    // Menu commands that need no dialog.
    void ToggleTransparent();
    void ToggleBorder();

    // Layout state, for painting, printing and tests.
    bool LayoutDirty() const { return m_layoutDirty || m_layoutZoom != Zoom(); }
    // The next paint lays the label out again.
    void MarkLayoutDirty() { m_layoutDirty = true; }
    void Relayout();
    const LabelLayout& Layout() const { return m_layout; }
    Point CurrentShadowOffset() const { return m_shadowOffset; }
    Point CurrentHighlightOffset() const { return m_highlightOffset; }
    FontRecord DrawingFont() const { return ZoomedLabelFont(m_font, Zoom()); }

protected:
    void Repaint() const { Invalidate(); }

private:
    void fontChanged();
    // After a change of what the layout depends on (caption, font, angle, alignment, shadow, highlight).
    void layoutChanged();
    void recomputeShadowOffset();
    void recomputeHighlightOffset();

    TBorderStyle m_borderStyle = bsNone;
    Point m_shadowOffset;
    Point m_highlightOffset;
    int m_depthHighlight = 0;
    int m_depthShadow = 0;
    THighlightDirection m_directionHighlight = hdUpLeft;
    TShadowDirection m_directionShadow = sdDownRight;
    TColor m_colorHighlight = 16776960;
    TColor m_colorShadow = 8421504;
    int m_angle = 0;
    TAlignment m_alignment = taLeftJustify;
    LabelLayout m_layout;
    // The zoom the layout was measured at: a zoom taken from the panel without a bounds change must
    // still refit the copies to the drawing font.
    float m_layoutZoom = 1.0f;
    bool m_layoutDirty = true;
    bool m_inLayout = false;  // the layout's own size change lays nothing out again
    bool m_transparent = true;
    TColor m_backColor = clWhite;
    QString m_caption;
    FontRecord m_font;
    // The caption shaped in the drawing font, drawn three times at every paint; shaped again after a
    // layout (caption, font or zoom changed) or on a device of another resolution.
    ShapedText m_shapedCaption;
};

class TGPLabel : public TGBaseLabel {
    Q_OBJECT
public:
    explicit TGPLabel(QObject* owner = nullptr);

    QString ClassName() const override { return QStringLiteral("TGPLabel"); }
};

// Registers the label classes that object records can name.
void RegisterLabelClasses();

}  // namespace plennix
