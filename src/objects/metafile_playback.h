#pragma once
// Inside the metafile player: what the two formats share. A Windows metafile (16-bit records) and an
// enhanced metafile (32-bit records) describe the same drawing calls on the same device context; each
// format's interpreter (metafile_wmf.cpp, metafile_emf.cpp) decodes its records and calls the operations
// of `Playback`, which keeps the device context (object table, pens, brushes, fonts, mapping, clip, the
// current path) and draws on the painter within the work budget. Only the player includes this header.
// It needs Qt Gui alone, like everything that draws a picture.
#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRectF>
#include <QString>
#include <QTransform>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "objects/metafile_player.h"

namespace plennix::metafile {

// Bitmaps inside a metafile are bounded like every other decoded picture.
constexpr qint64 kMaxMetafileBitmapPixels = 4096LL * 4096LL;
constexpr size_t kMaxSavedStates = 1024;
constexpr int kMaxObjects = 65536;
constexpr int kMaxClipElements = 2000;
constexpr int kMaxTextChars = 1024;
constexpr double kMaxTextPixels = 2000;

// Bounds-checked little-endian access to a byte range; every reader answers 0 outside the range and
// `ok` tells whether a field lies inside.
struct ByteRange {
    const uchar* data = nullptr;
    qint64 size = 0;

    static ByteRange Of(const QByteArray& bytes) {
        return {reinterpret_cast<const uchar*>(bytes.constData()), bytes.size()};
    }
    bool ok(qint64 offset, qint64 count) const { return offset >= 0 && count >= 0 && offset <= size - count; }
    uint16_t u16(qint64 o) const { return ok(o, 2) ? uint16_t(data[o] | (data[o + 1] << 8)) : 0; }
    int16_t i16(qint64 o) const { return int16_t(u16(o)); }
    uint32_t u32(qint64 o) const {
        return ok(o, 4) ? uint32_t(data[o]) | (uint32_t(data[o + 1]) << 8) | (uint32_t(data[o + 2]) << 16) |
                              (uint32_t(data[o + 3]) << 24)
                        : 0;
    }
    int32_t i32(qint64 o) const { return int32_t(u32(o)); }
    float f32(qint64 o) const {
        const uint32_t v = u32(o);
        float f;
        std::memcpy(&f, &v, 4);
        return std::isfinite(f) ? f : 0.0f;
    }
    ByteRange sub(qint64 o, qint64 n) const {
        if (!ok(o, n)) return {};
        return {data + o, n};
    }
    QByteArray copy(qint64 o, qint64 n) const {
        if (!ok(o, n)) return {};
        return QByteArray(reinterpret_cast<const char*>(data + o), n);
    }
};

inline QColor ColorRef(uint32_t v) { return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF)); }

// A rectangle from two corners given in either order.
inline QRectF Box(double l, double t, double r, double b) { return QRectF(QPointF(l, t), QPointF(r, b)).normalized(); }

// Whether a rectangle in device terms is small enough to hand to the painter.
bool Sane(const QRectF& r);
QTransform RectToRect(const QRectF& from, const QRectF& to);

struct LogFont {
    double height = 0;
    int escapement = 0;  // tenths of a degree, counter-clockwise
    int weight = 400;
    bool italic = false, underline = false, strikeOut = false;
    QString face;
};

struct GdiObject {
    enum class Kind { Empty, Pen, Brush, Font, Other } kind = Kind::Empty;
    QPen pen;
    QBrush brush;
    LogFont font;

    static GdiObject Pen(const QPen& pen);
    static GdiObject Brush(const QBrush& brush);
    static GdiObject Font(const LogFont& font);
};

// A pen or brush from its style numbers as both formats record them.
QPen MakePen(int style, double width, const QColor& color);
QBrush MakeBrush(int style, const QColor& color, int hatch);
GdiObject StockObject(uint32_t index);

struct DcState {
    QPen pen = [] {
        QPen p(Qt::black, 0);
        p.setCosmetic(true);
        return p;
    }();
    QBrush brush = QBrush(Qt::white);
    LogFont font;
    QColor textColor = Qt::black;
    QColor bkColor = Qt::white;
    bool opaqueBackground = true;
    uint32_t textAlign = 0;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    int mapMode = 1;
    QPointF winOrg{0, 0}, winExt{1, 1}, vpOrg{0, 0}, vpExt{1, 1};
    bool winExtSet = false;
    QTransform world;
    QPointF current;
    bool clipped = false;
    QPainterPath clip;  // in the painter's coordinates at the start of playing
};

// The device context a picture is played into. Coordinates given to the operations are the picture's
// logical units; world, page (Page) and base (m_base, the picture's frame onto the target) transforms
// take them to the painter's coordinates at the start of playing.
class Playback {
public:
    Playback(QPainter& painter, const QRectF& bounds, const QRectF& target, const MetafileWorkBudget& budget)
        : m_bounds(bounds), m_target(target), m_p(painter), m_initial(painter.transform()), m_budget(budget) {}
    virtual ~Playback() = default;
    Playback(const Playback&) = delete;
    Playback& operator=(const Playback&) = delete;

    bool Exhausted() const { return m_exhausted; }

protected:
    // Logical units to the picture's frame under the current mapping mode; a format whose mapping the
    // frame already covers keeps the identity.
    virtual QTransform Page() const { return QTransform(); }
    QTransform Full() const { return m_s.world * Page() * m_base * m_initial; }

    // Counts a record against the budget; false once the budget is spent (nothing more is drawn).
    bool SpendRecord() {
        if (++m_records > m_budget.records) m_exhausted = true;
        return !m_exhausted;
    }

    // ---- state
    void SetBkMode(uint32_t mode) { m_s.opaqueBackground = mode == 2; }
    void SetPolyFillMode(uint32_t mode) { m_s.fillRule = mode == 2 ? Qt::WindingFill : Qt::OddEvenFill; }
    void MoveTo(QPointF to);
    void SaveDC() {
        if (m_saved.size() < kMaxSavedStates) m_saved.push_back(m_s);
    }
    // A negative number counts back from the latest saved state, a positive one is its depth.
    void RestoreDC(int which);
    void ClipRect(const QRectF& r, bool exclude);

    // ---- object table
    void CreateAt(int index, GdiObject o);
    int FirstFree();
    void Select(const GdiObject& o);
    void SelectObject(uint32_t index) {
        if (index < m_objects.size()) Select(m_objects[index]);
    }
    void DeleteObject(uint32_t index) {
        if (index < m_objects.size()) m_objects[index] = GdiObject{};
    }

    // ---- drawing; inside a path bracket shapes add to the path instead
    void Draw(const QPainterPath& path, bool fill, bool stroke);
    void AddOrDraw(const QPainterPath& shape, bool fill, bool stroke);
    void Rectangle(const QRectF& box);
    void Ellipse(const QRectF& box);
    void RoundRect(const QRectF& box, double cornerWidth, double cornerHeight);
    enum class ArcKind { Arc, Pie, Chord };
    // The GDI form: the bounding box and two radial points, drawn counter-clockwise.
    void ArcShape(ArcKind kind, const QRectF& box, QPointF a, QPointF b);
    void LineTo(QPointF to);
    void PolyTo(const std::vector<QPointF>& pts, bool bezier);
    void Poly(const std::vector<QPointF>& pts, bool closed, bool bezier);
    void FillWithBrush(const QRectF& dest);
    void Text(QPointF at, const QString& text, uint32_t options, const QRectF& box);
    // A device-independent bitmap; its source rectangle counts rows from the bottom, as DIBs store them.
    void DrawDib(const QRectF& dest, const QImage& image, const QRectF& source);

    QRectF m_bounds, m_target;
    QTransform m_base;
    DcState m_s;
    std::vector<GdiObject> m_objects;
    bool m_inPath = false;
    QPainterPath m_path;

private:
    bool SpendPoints(qint64 points, double fillCost = 0) {
        m_points += points;
        m_fillCost += fillCost;
        if (m_points > m_budget.points || m_fillCost > m_budget.fillCost) m_exhausted = true;
        return !m_exhausted;
    }
    static double FillCost(const QPainterPath& path, const QTransform& full);
    void DrawImage(const QRectF& dest, const QImage& image, const QRectF& source);

    QPainter& m_p;
    QTransform m_initial;
    std::vector<DcState> m_saved;
    MetafileWorkBudget m_budget;
    qint64 m_records = 0, m_points = 0;
    double m_fillCost = 0;
    bool m_exhausted = false;
};

// ---- the two formats

// What a metafile's header says about its picture (see TMetafilePicture).
struct PictureFrame {
    QRectF bounds;
    double unitsPerInch = 96;
    double widthInches = 0, heightInches = 0;
};

// Enhanced metafile (metafile_emf.cpp).
bool IsEnhanced(const ByteRange& file);
// Empty when the header gives no usable frame.
std::optional<PictureFrame> ReadEmfFrame(const ByteRange& file);
// Plays every record onto the painter; false when the budget ran out first.
bool PlayEmf(QPainter& painter, const ByteRange& file, const QRectF& bounds, const QRectF& target,
             const MetafileWorkBudget& budget);

// Windows metafile, with or without the placeable header in front (metafile_wmf.cpp).
bool HasPlaceableHeader(const ByteRange& file);
// Empty when the bytes are no Windows metafile.
std::optional<PictureFrame> ReadWmfFrame(const ByteRange& file, bool placeable);
// The placeable header a document stores in front of a plain Windows metafile.
QByteArray PlaceableHeader(const QRectF& bounds, double unitsPerInch);
bool PlayWmf(QPainter& painter, const ByteRange& file, bool placeable, const QRectF& bounds, const QRectF& target,
             const MetafileWorkBudget& budget);

}  // namespace plennix::metafile
