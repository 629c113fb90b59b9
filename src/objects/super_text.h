#pragma once
// TGSuperText: one line of text in a large outline font whose glyphs are filled with a solid colour,
// a tiled texture or a colour gradient, or left hollow; optionally stroked with an outline pen and
// backed by a solid drop shadow, on a transparent or coloured box with or without a border. Every
// glyph effect is made with the text's outline path: the path is the clip that is filled (face and
// shadow), or the path is stroked (outline).
#include <QBrush>
#include <QImage>
#include <QPainterPath>
#include <QString>
#include <optional>

#include "objects/super_text_geometry.h"
#include "platform/colors.h"
#include "platform/font.h"
#include "surface/control_styles.h"
#include "surface/graphic_control.h"

namespace plennix {

class TGSuperText : public TGGraphicControl {
    Q_OBJECT
public:
    explicit TGSuperText(QObject* owner = nullptr);
    // The SuperText tool's object: a framed white box.
    static TGSuperText* CreateForTool(QObject* owner);
    ~TGSuperText() override;

    QString ClassName() const override { return QStringLiteral("TGSuperText"); }
    const PropertyTable& Properties() const override;

    // Published properties.
    int ShadowDepth() const { return m_shadowDepth; }
    void SetShadowDepth(int value);
    TShadowOrientation ShadowOrientation() const { return m_shadowOrientation; }
    void SetShadowOrientation(TShadowOrientation value);
    TColor Shadowcolor() const { return m_shadowColor; }
    void SetShadowcolor(TColor value);
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle value);
    bool ControlTransparent() const { return m_transparent; }
    void SetControlTransparent(bool value);
    TColor BGColor() const { return m_bgColor; }
    void SetBGColor(TColor value);
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& value);
    const FontRecord& Font() const { return m_font; }
    void SetFont(const FontRecord& font);
    TFillDirection FillDirection() const { return m_fillDirection; }
    void SetFillDirection(TFillDirection value);
    TColor GradientToColor() const { return m_gradientTo; }
    void SetGradientToColor(TColor value);
    TColor GradientFromColor() const { return m_gradientFrom; }
    void SetGradientFromColor(TColor value);
    const QImage& Image() const { return m_image; }
    // Copies the picture; a null image empties the texture.
    void SetImage(const QImage& image);
    TColor OutlineColor() const { return m_outlineColor; }
    void SetOutlineColor(TColor value);
    PenStyle OutlineStyle() const { return m_outlineStyle; }
    void SetOutlineStyle(PenStyle value);
    int OutlineWidth() const { return m_outlineWidth; }
    void SetOutlineWidth(int value);
    TSurfaceType SurfaceType() const { return m_surfaceType; }
    void SetSurfaceType(TSurfaceType value);
    QString LastBitmapFileNameandPath() const { return m_lastBitmapPath; }
    void SetLastBitmapFileNameandPath(const QString& value) { m_lastBitmapPath = value; }

    // Framework and base operations.
    void BoundsChanged() override;
    void ApplyFont(const FontRecord& font) override;
    std::optional<TColor> FontColor() const override { return m_font.color; }
    void Paint(Canvas& canvas) override;
    void PrintTo(TReport& report, double leftOffset, double topOffset) override;

    // Copies another SuperText's look, text and size (the dialog's preview is loaded this way).
    void AssignFrom(const TGSuperText& other);
    // Takes over the look, font and caption that the properties dialog's preview shows, as the dialog's
    // OK does, and reports the change.
    void TakeLookFrom(const TGSuperText& preview);
    // Makes the object large enough for its caption; true when the text fits.
    bool FitToText();
    // Menu commands that need no dialog.
    void ToggleTransparent();
    void ToggleBorder();
    // A colour chosen for the ground: the box stops being transparent.
    void TakeBackgroundColor(TColor color);

    // Layout state, for painting, printing and tests.
    bool LayoutDirty() const { return m_layoutDirty; }
    void SetLayoutDirty() { m_layoutDirty = true; }
    // Runs the layout when it is dirty.
    void Relayout();
    const SuperTextLayout& Layout() const { return m_layout; }
    Point CurrentShadowOffset() const { return m_shadowOffset; }
    FontRecord DrawingFont() const;
    // The prepared gradient (a strip of the bands, see MakeGradientStrip); null unless the surface is
    // a gradient.
    const QImage& GradientStrip() const { return m_gradient; }
    void RebuildGradientBitmap();

private:
    void recomputeShadowOffset();
    void repaint() const {
        ++m_generation;
        Invalidate();
    }
    // Steps of painting after the layout: background, shadow, face, outline or the placeholder.
    void paintContent(Canvas& canvas, int width, int height);
    void fontChanged();
    // After a change of what the layout depends on (caption, font, shadow, border, transparency).
    void layoutChanged();
    // The caption as it fits the object's width on a canvas holding the drawing font.
    QString visibleCaption(const Canvas& canvas);
    // The face's fill for its surface type; none for a hollow face or an empty texture.
    std::optional<QBrush> faceBrush();
    static void fillGlyphs(Canvas& canvas, const QPainterPath& path, const QBrush& brush);
    void printTiles(TReport& report, double left, double top, double right, double bottom);
    void printGradient(TReport& report, double left, double top, double right, double bottom);

    int m_shadowDepth = 0;
    TShadowOrientation m_shadowOrientation = sdDownRight;
    TColor m_shadowColor = 0x808080;
    TBorderStyle m_borderStyle = bsNone;
    bool m_transparent = true;
    TColor m_bgColor = clWhite;
    QString m_caption;
    FontRecord m_font;
    TFillDirection m_fillDirection = gdRight;
    TColor m_gradientTo = clYellow;
    TColor m_gradientFrom = clBlue;
    QImage m_image;
    TColor m_outlineColor = clBlack;
    PenStyle m_outlineStyle = PenStyle::psSolid;
    int m_outlineWidth = 1;
    TSurfaceType m_surfaceType = stGradientFill;
    QString m_lastBitmapPath;

    QImage m_gradient;
    Point m_shadowOffset;
    SuperTextLayout m_layout;
    bool m_layoutDirty = true;
    bool m_inLayout = false;
    bool m_inPaint = false;

    // Painting measures and builds paths only when what they depend on changed.
    struct PaintCache {
        bool valid = false;
        QString caption;
        FontRecord font;
        int available = 0;
        Point faceOrigin, shadowOrigin;
        QString text;
        QPainterPath facePath, shadowPath;
        int outlineWidth = 0;  // width the outline path was stroked with; 0 = not yet
        QPainterPath outlinePath;
    } m_paintCache;

    // The object's look is drawn once into a picture and only copied to the screen while nothing it
    // shows has changed: every change that is seen goes through repaint(), which counts a generation.
    mutable quint64 m_generation = 1;
    struct RenderCache {
        QImage image;
        quint64 generation = 0;
        int width = 0, height = 0;
        qreal ratio = 1;
        float zoom = 1;
        FontRecord font;
        QString caption;
    } m_renderCache;
};

// Whether the object is a SuperText (the print command's completion message asks the page).
bool IsSuperText(const TGGraphicControl* object);

// Registers TGSuperText for object records.
void RegisterSuperTextClass();

}  // namespace plennix
