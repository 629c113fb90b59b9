#pragma once
// The clip art image: a bitmap, an icon or a metafile placed freely on the page, always drawn stretched
// over the object's rectangle, with an optional one-pixel border. The picture travels in documents with
// its own bytes: bitmaps as bitmap files, icons as icon files, metafiles as placeable or enhanced
// metafiles.
#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <optional>
#include <vector>

#include "objects/metafile_player.h"
#include "surface/control_styles.h"
#include "surface/graphic_control.h"

class QPainter;

namespace plennix {

// The picture container of an image object (and of the browser's preview).
class TImagePicture {
public:
    enum class Kind { Empty, Bitmap, Icon, Metafile };

    TImagePicture() = default;
    static TImagePicture FromBitmap(const QImage& image);
    // A bitmap file's bytes ("BM..."), kept as they are; empty when they do not decode.
    static TImagePicture FromBitmapFile(const QByteArray& bytes);
    static TImagePicture FromIconFile(const QByteArray& bytes);
    static TImagePicture FromMetafile(const TMetafilePicture& metafile);
    // Loads a bitmap (.BMP) or metafile (.WMF, .EMF) file as it is; empty with *error on failure.
    static TImagePicture LoadFromFile(const QString& path, QString* error = nullptr);

    Kind kind() const { return m_kind; }
    bool Empty() const { return m_kind == Kind::Empty; }
    int Width() const;
    int Height() const;
    // The decoded bitmap of a bitmap or an icon.
    const QImage& Image() const { return m_image; }
    const std::optional<TMetafilePicture>& Metafile() const { return m_metafile; }

    // Draws the picture stretched over target.
    void StretchDraw(QPainter& painter, const QRectF& target) const;

    // The record form of the picture (Picture.Data): the graphic's class name as a short string, then
    // its data; empty for an empty picture.
    QByteArray RecordData() const;
    // The reverse; throws StreamError("Invalid property value") for damaged data.
    static TImagePicture FromRecordData(const QByteArray& data);

private:
    Kind m_kind = Kind::Empty;
    QImage m_image;
    QByteArray m_fileBytes;  // the bitmap file or the icon file
    std::optional<TMetafilePicture> m_metafile;
};

// The Tag that marks a clip-art object as the page's "Picture of the Month", the place that takes a
// different picture on each page of a run of months. Tag is a published property of every object that
// every reader of the object records keeps as it is; the object's name is not (reading hands out
// "Component"+n names), and a property of our own would stop other readers with "Property does not
// exist". The value spells "PotM" in the record's bytes, so a Tag set for another reason is not taken
// for the mark.
constexpr int32_t kPictureOfTheMonthTag = 0x4D746F50;

// The longest side a bitmap picture is painted on screen from; larger pictures are reduced once.
constexpr int kScreenSourceSide = 2048;

// The size an auto-sized image takes: each side × zoom, rounded with halves to even.
int AutoSizedSide(int pictureSide, float zoom);

class TGImage : public TGGraphicControl {
    Q_OBJECT
public:
    explicit TGImage(QObject* owner = nullptr);
    ~TGImage() override;

    QString ClassName() const override { return QStringLiteral("TGImage"); }
    const PropertyTable& Properties() const override;

    // Published properties.
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool value);
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle value);
    const TImagePicture& Picture() const { return m_picture; }
    // Copies the picture in (nullptr empties it); the picture-changed handling follows.
    void SetPicture(const TImagePicture* picture);
    void SetPicture(const TImagePicture& picture) { SetPicture(&picture); }
    bool Stretch() const { return m_stretch; }
    void SetStretch(bool value);

    // The "Picture of the Month" mark (the Tag above). Setting it takes it from every other object of the
    // same page, so a page has at most one; a change is reported like any other.
    bool IsPictureOfTheMonth() const { return Tag() == kPictureOfTheMonthTag; }
    void SetPictureOfTheMonth(bool marked);
    void TogglePictureOfTheMonth() { SetPictureOfTheMonth(!IsPictureOfTheMonth()); }

    // A picture shown and printed in place of the object's own while one page of a run is output: drawn
    // centred inside the object's rectangle, keeping its proportions. It is neither stored nor reported
    // as a change; a null image goes back to the object's own picture.
    void SetStandInPicture(const QImage& image);
    const QImage& StandInPicture() const { return m_standIn; }

    // Whether the surface need not paint behind the object: a bitmap exactly the object's size.
    bool Opaque() const { return m_opaque; }

    // A copy read in beside a ticked object (Clone, Paste) or a second tick in a file leaves the mark with
    // the object below it: a page keeps one.
    void Loaded() override;
    void BoundsChanged() override;
    void Paint(Canvas& canvas) override;
    void PrintTo(TReport& report, double leftOffset, double topOffset) override;

    // The object as the page shows it (without selection squares): a bitmap of its size.
    QImage RenderBitmap() const;
    // The same as the page paints it: kept until the size, picture, stand-in or border changes, and
    // drawn from a copy of a large picture reduced to screen sizes, so that a photo of many megapixels
    // costs a full decode's worth of work once, not on every paint or zoom step.
    const QImage& ShownBitmap() const;

    // Menu commands that need no dialog.
    void ToggleBorder();
    void ToggleStretch();
    void ToggleAutoSize();
    // A picture loaded from disk with the browser's Stretch and AutoSize choices. The picture arrives
    // through its setter first, so an object that was auto-sized takes the new picture's size even
    // when the choice turns AutoSize off. Reports the change.
    void TakeLoadedPicture(const TImagePicture& picture, bool stretch, bool autoSize);

private:
    void pictureChanged();

    bool m_autoSize = false;
    TBorderStyle m_borderStyle = bsNone;
    TImagePicture m_picture;
    bool m_stretch = true;
    bool m_opaque = false;
    bool m_sizing = false;
    QImage m_standIn;
    QImage renderBitmap(const QImage* bitmapSource) const;
    mutable QImage m_screenSource;  // a large bitmap picture reduced to at most kScreenSourceSide
    mutable QImage m_shown;
    mutable qint64 m_shownKey[5] = {};
    qint64 m_pictureGeneration = 0;
};

// Where a stand-in picture of `picture` pixels goes inside `box`: centred, as large as fits, keeping its
// proportions.
QRectF FittedPictureRect(const QSizeF& picture, const QRectF& box);

// The page's "Picture of the Month": the marked clip-art object (the topmost, should a paste have
// brought a second mark), or else the largest clip-art object by area (the first of equals in
// z-order); null when the page has no clip art.
TGImage* MarkedPictureOfTheMonth(const std::vector<TGGraphicControl*>& objects);
TGImage* PictureOfTheMonthPlaceholder(const std::vector<TGGraphicControl*>& objects);

// Registers TGImage with the object records.
void RegisterImageClass();

}  // namespace plennix
