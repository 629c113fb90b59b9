#pragma once
// Vector pictures in the Windows metafile forms (WMF, with or without the placeable header, and EMF),
// kept as their original bytes and played onto a QPainter by a player of our own. The player knows the
// records that clip art uses; it skips records it does not know, and stops at a damaged record without
// reading past the end of the data.
#include <QByteArray>
#include <QPainter>
#include <QRectF>
#include <QSize>
#include <optional>

namespace plennix {

// Larger metafiles are refused.
constexpr qint64 kMaxMetafileBytes = 32LL * 1024 * 1024;

// The most work one picture may cost each time it is drawn; a picture that asks for more is drawn up to
// the record that exhausts it and no further, so that a small file cannot hold up every repaint.
// Records count one each, and points of lines, curves, shapes and text one each. Filling a shape costs
// the square of its outline's length in device pixels: the filler keeps a bounded pool of cells and walks
// the whole outline again for every band that overflows it, so one long outline whose edges cross the
// picture (cheap in points) costs far more than many small shapes of the same total length. The bound
// keeps the worst picture near a second on this machine's class of processor.
struct MetafileWorkBudget {
    qint64 records = 1000000;
    qint64 points = 1000000;
    double fillCost = 1e11;
};

class TMetafilePicture {
public:
    enum class Form { Placeable, Plain, Enhanced };

    // Empty when the bytes are not a metafile of one of the three forms.
    static std::optional<TMetafilePicture> FromBytes(const QByteArray& bytes);

    Form form() const { return m_form; }
    bool Enhanced() const { return m_form == Form::Enhanced; }
    // The bytes as given.
    const QByteArray& Bytes() const { return m_bytes; }
    // The bytes as a document stores them: an enhanced or a placeable metafile. A plain WMF gets a
    // placeable header made from its bounds in front of its own unchanged bytes.
    QByteArray StoredBytes() const;

    // The picture's size in screen pixels (its physical size at the screen's pixels per inch).
    int Width() const;
    int Height() const;
    // The bounds the picture is drawn from, in the metafile's own units (logical units of a WMF,
    // reference-device pixels of an EMF).
    QRectF SourceBounds() const { return m_bounds; }

    // Draws the whole picture stretched into target (painter coordinates). The painter's state is the
    // same afterwards.
    // Returns false when the picture was cut short because it exceeded the work budget.
    bool Play(QPainter& painter, const QRectF& target, const MetafileWorkBudget& budget = {}) const;

private:
    TMetafilePicture() = default;

    Form m_form = Form::Plain;
    QByteArray m_bytes;
    QRectF m_bounds;             // see SourceBounds
    double m_unitsPerInch = 96;  // WMF: logical units per inch; EMF: reference-device pixels per inch
    double m_widthInches = 0, m_heightInches = 0;
};

}  // namespace plennix
