#pragma once
// What SuperText computes without a widget: the enumerations with their stored names, the shadow
// offset at a zoom, the layout of face and shadow, the size that fits the text, the gradient bands,
// texture tiles, cutting the caption to the object's width, and the texture bitmap stored in records.
#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/canvas.h"
#include "platform/colors.h"
#include "platform/rect.h"
#include "surface/label.h"

namespace plennix {

enum TSurfaceType : uint8_t { stNormal, stBrushTransparent, stBrushImage, stGradientFill };
enum TFillDirection : uint8_t { gdUp, gdDown, gdLeft, gdRight };
// The same directions and names as the text label's shadow.
using TShadowOrientation = TShadowDirection;

QStringList SurfaceTypeNames();
QStringList FillDirectionNames();
QStringList ShadowOrientationNames();
QStringList PenStyleNames();

// The shadow offset at zoom 1 for a depth and orientation (x right, y down).
Point SuperTextShadowOffset(TShadowOrientation orientation, int depth);
// The offset as drawn: unchanged at zoom 1, else each coordinate times the zoom, truncated.
Point ZoomedShadowOffset(Point offset, float zoom);

struct SuperTextLayoutInput {
    Point shadow;           // zoomed shadow offset
    int width = 0;          // the object before the layout
    int height = 0;
    int textHeight = 0;     // height of the caption in the drawing font
    int textWidth = 0;      // width of the caption followed by one blank
    bool transparent = true;
    bool border = false;
};

struct SuperTextLayout {
    int width = 0;  // the object after the layout
    int height = 0;
    Point textOffset;
    Rect faceRect, shadowRect;
    Point faceOrigin, shadowOrigin;
};

// Places face and shadow; a transparent borderless object shrinks to 1.2 times the text height, an
// opaque or framed one only grows; the face keeps a 5-pixel left margin.
SuperTextLayout ComputeSuperTextLayout(const SuperTextLayoutInput& in);

// The larger of the face's and shadow's left edges: what painting subtracts from the width.
int SuperTextMargin(const SuperTextLayout& layout);

// The size that holds a caption of extent (cx, cy) with the layout's offsets.
struct FitResult {
    int width = 0;
    int height = 0;
    bool fits = false;
};
FitResult ComputeFitToText(const SuperTextLayout& layout, int cx, int cy);

// The end colours of a gradient by its direction: band 0 and band 255.
struct GradientEnds {
    TColor first = 0;
    TColor last = 0;
};
GradientEnds GradientEndColors(TFillDirection direction, TColor from, TColor to);
// The colour of band i (0..255) between the two end colours.
TColor GradientBandColor(const GradientEnds& ends, int i);
// The 256 bands over a width and height: columns for left and right, rows for up and down (band 0 at
// the left or the top).
struct GradientBand {
    Rect rect;
    TColor color = 0;
};
std::vector<GradientBand> GradientBands(TFillDirection direction, TColor from, TColor to, int width, int height);

// The prepared gradient as a strip: one pixel wide for rows, one pixel high for columns, as long as
// the object's height or width (bounded for absurd sizes). Drawn stretched over the object it gives
// exactly the bands, while its memory grows with one side only.
QImage MakeGradientStrip(TFillDirection direction, TColor from, TColor to, int width, int height);
bool GradientRunsInRows(TFillDirection direction);

// The tile rectangles that cover an area from its top-left corner; none for an empty tile.
std::vector<Rect> TileRects(int tileWidth, int tileHeight, int areaWidth, int areaHeight);

// The longest start of the caption whose measured width is at most `available` (whole characters);
// measuring stays logarithmic in the caption's length.
QString CutCaptionToWidth(const QString& caption, int available, const std::function<int(const QString&)>& width);

// The Image.Data payload: a 32-bit byte count and a complete bitmap file. Empty image, empty payload.
QByteArray EncodeImageData(const QImage& image);
// Reads the payload back; throws StreamError on a count that does not match, a file that is no
// bitmap, or a bitmap too large to hold.
QImage DecodeImageData(const QByteArray& data);
// The largest texture held, in pixels (width times height) and per side.
constexpr int64_t kMaxTexturePixels = 4096LL * 4096LL;
constexpr int kMaxTextureSide = 16384;
// Whether a decoded picture may be kept as a texture.
bool TextureSizeAcceptable(int width, int height);

}  // namespace plennix
