#pragma once
// The GDI-style canvas over QPainter that all drawing speaks: FillRect excludes the right and bottom
// edges, Rectangle outlines and fills inside them, LineTo excludes its end point, DrawText takes the
// single-line / centre / right / vertical-centre / no-prefix flags, fonts are given by pixel height
// (negative = character height) with an escapement for rotation. One code path serves the screen,
// bitmaps, PDF and the printer.
#include <QFontMetrics>
#include <QGlyphRun>
#include <QImage>
#include <QPainterPath>
#include <QPicture>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/colors.h"
#include "platform/font.h"
#include "platform/rect.h"

class QPainter;

namespace plennix {

enum class PenStyle : uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum class PenMode : uint8_t { pmCopy, pmXor, pmNot };
enum class BrushStyle : uint8_t { bsSolid, bsClear };

// DrawText flags (values as the window system's).
enum DrawTextFlags : uint32_t {
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,
    DT_NOCLIP = 0x100,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
};

struct TextMetrics {
    int height = 0;           // ascent + descent
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;  // height - em size
    int externalLeading = 0;
    int aveCharWidth = 0;
};

struct Size {
    int cx = 0, cy = 0;
};

// Measures text in a font as a Canvas on `device` measures it, without a painter: objects lay their text
// out before anything paints, and a painter on a scratch image for each of them costs more than the
// measuring itself.
class TextMeasure {
public:
    TextMeasure(const FontRecord& font, const QPaintDevice* device);
    TextMetrics GetTextMetrics() const;
    Size TextExtent(const QString& text) const;
    int TextWidth(const QString& text) const { return TextExtent(text).cx; }
    int TextHeight(const QString& text) const { return TextExtent(text).cy; }

private:
    QFont m_font;
    QFontMetrics m_metrics;
};

// A line of text shaped once in a canvas's font for its device (Canvas::ShapeText), so that drawing
// it again costs no shaping: a label draws its caption three times at every paint of the page.
class ShapedText {
public:
    const QString& Text() const { return m_text; }

private:
    friend class Canvas;
    QString m_text;
    QFont m_font;  // the canvas font it was shaped in
    int m_dpi = 0;
    bool m_raster = false;
    Qt::LayoutDirection m_direction = Qt::LeftToRight;
    int m_ascent = 0;
    bool m_shaped = false;  // false: no shaping made yet
    // Glyphs of the line, its baseline m_lineAscent below its top; empty when the text is drawn from its
    // string (text that the glyph path would not draw alike, or a device without pixels).
    QList<QGlyphRun> m_runs;
    qreal m_lineAscent = 0;
};

class Canvas {
public:
    // The canvas draws aliased and leaves the painter's state as it found it when destroyed.
    explicit Canvas(QPainter* painter);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    QPainter* painter() const { return m_painter; }

    // Pen, brush and raster mode of the following drawing.
    void SetPen(TColor color, int width = 1, PenStyle style = PenStyle::psSolid);
    void SetPenMode(PenMode mode);
    void SetBrush(TColor color, BrushStyle style = BrushStyle::bsSolid);
    void SetBrushClear() { SetBrush(m_brushColor, BrushStyle::bsClear); }
    TColor PenColor() const { return m_penColor; }
    TColor BrushColor() const { return m_brushColor; }

    // Font by pixel height (negative = character height), escapement in tenths of a degree
    // counter-clockwise.
    void SetFont(const QString& face, int height, FontStyles style, TColor color, int escapement = 0,
                 FontPitch pitch = FontPitch::fpDefault);
    void SetFont(const FontRecord& font, int escapement = 0);
    const QFont& Font() const { return m_font; }
    int Escapement() const { return m_escapement; }
    void SetTextColor(TColor color) { m_textColor = color; }
    TColor TextColor() const { return m_textColor; }
    // Text background: transparent (the default here) or opaque in the given colour.
    void SetBkTransparent(bool transparent) { m_bkTransparent = transparent; }
    void SetBkColor(TColor color) { m_bkColor = color; }

    // Filling and outlines.
    void FillRect(const Rect& r);                 // current brush, excludes right and bottom
    void FillRect(const Rect& r, TColor color);   // solid colour
    // Pen outline inside r, brush fill inside the outline. As in the window system, a clear pen leaves
    // the fill one pixel short on the right and bottom (it covers left..right-2, top..bottom-2).
    void Rectangle(const Rect& r);
    void RoundRect(const Rect& r, int ellipseW, int ellipseH);
    void Ellipse(const Rect& r);
    void DrawFocusRect(const Rect& r);
    // The window system's 3D frame: `width` rings, top/left in `topLeft`, bottom/right in `bottomRight`;
    // r shrinks by width on every side.
    void Frame3D(Rect& r, TColor topLeft, TColor bottomRight, int width);

    // Lines: the end point is not drawn.
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    Point PenPos() const { return m_penPos; }

    // Text. TextOut places the top-left of the text cell at (x, y), rotated about that point by the
    // font's escapement.
    void TextOut(int x, int y, const QString& text);
    // Text clipped to r (extended rectangle output); an opaque background fills all of r.
    void TextRect(const Rect& r, int x, int y, const QString& text);
    // Shapes a line in the current font for this canvas's device.
    ShapedText ShapeText(const QString& text) const;
    // Whether `shaped` holds `text` shaped in the current font for this canvas's device.
    bool IsShaped(const ShapedText& shaped, const QString& text) const;
    // TextRect of a shaped line: the same pixels as TextRect of its string.
    void TextRect(const Rect& r, int x, int y, const ShapedText& text);
    // Returns the text height; with DT_CALCRECT only measures and sets r's right and bottom.
    // DT_VCENTER and DT_BOTTOM act with DT_SINGLELINE only, as in the window system.
    int DrawText(const QString& text, Rect& r, uint32_t flags);
    int DrawText(const QString& text, const Rect& r, uint32_t flags) {
        Rect c = r;
        return DrawText(text, c, flags & ~DT_CALCRECT);
    }
    TextMetrics GetTextMetrics() const;
    Size TextExtent(const QString& text) const;
    int TextWidth(const QString& text) const { return TextExtent(text).cx; }
    int TextHeight(const QString& text) const { return TextExtent(text).cy; }

    // Clipping. Save/Restore bracket clip changes; clips intersect with the current clip.
    void Save();
    void Restore();
    void IntersectClipRect(const Rect& r);
    void IntersectClipPath(const QPainterPath& path);
    void IntersectClipEllipse(const Rect& r);
    // Moves the origin (objects paint with the canvas at their own top-left corner).
    void Translate(int dx, int dy);

    // Paths: the outline of text placed as TextOut would place it.
    QPainterPath TextPath(int x, int y, const QString& text) const;
    void StrokePath(const QPainterPath& path);
    void FillPath(const QPainterPath& path);

    // Combines r with an 8x8 monochrome pattern by destination AND pattern: a 0 bit in the pattern
    // row (most significant bit leftmost) paints the foreground, a 1 bit leaves the destination
    // (ANDed with white). Pattern tiles align to the device origin.
    void PatternAnd(const Rect& r, const uint8_t rows[8], TColor foreground);
    // Fills r with an 8x8 pattern: 1 bits in foreground, 0 bits in background (clear when transparent).
    void PatternFill(const Rect& r, const uint8_t rows[8], TColor foreground, TColor background,
                     bool transparentBackground);

    // Stretched pictures.
    void StretchDraw(const Rect& r, const QImage& image);
    void StretchDraw(const Rect& r, const QPicture& picture);

private:
    struct SavedState {
        TColor penColor;
        int penWidth;
        PenStyle penStyle;
        PenMode penMode;
        TColor brushColor;
        BrushStyle brushStyle;
        QFont font;
        QString fontFace;
        int fontHeight;
        FontStyles fontStyle;
        FontPitch fontPitch;
        int escapement;
        TColor textColor, bkColor;
        bool bkTransparent;
        Point penPos;
    };

    void applyPen();
    void applyBrush();
    void applyPenMode();
    void applyCopyMode();
    bool rasterDevice() const;
    const QFontMetrics& metrics() const;
    void pixelLine(int x0, int y0, int x1, int y1, int& dashPhase);
    void drawTextCell(int x, int y, QStringView text, bool expandTabs, int underlineAt);
    void applyFont();
    int deviceDpi() const;
    const QFont& shapingFont() const;
    int lineWidth(QStringView text, bool expandTabs) const;
    void patternBrushOrigin();

    QPainter* m_painter;
    TColor m_penColor = clBlack;
    int m_penWidth = 1;
    PenStyle m_penStyle = PenStyle::psSolid;
    PenMode m_penMode = PenMode::pmCopy;
    TColor m_brushColor = clWhite;
    BrushStyle m_brushStyle = BrushStyle::bsSolid;
    QFont m_font;
    int m_escapement = 0;
    TColor m_textColor = clBlack;
    TColor m_bkColor = clWhite;
    bool m_bkTransparent = true;
    Point m_penPos;
    int m_saveDepth = 0;
    // The font as last requested, so that repeated SetFont calls with the same values cost nothing.
    QString m_fontFace;
    int m_fontHeight = 0;
    FontStyles m_fontStyle = 0;
    FontPitch m_fontPitch = FontPitch::fpDefault;
    mutable std::optional<QFontMetrics> m_metrics;
    // The font as the painter draws it (resolved against the device's), made at the first shaping.
    mutable std::optional<QFont> m_shapingFont;
    std::vector<SavedState> m_saved;
    // The last pattern brush, rebuilt only when the pattern or its colours change.
    QImage m_patternImage;
    uint8_t m_patternRows[8] = {};
    TColor m_patternFore = 0, m_patternBack = 0;
    int m_patternKind = -1;
};

}  // namespace plennix
