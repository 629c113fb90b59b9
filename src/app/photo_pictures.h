#pragma once
// Pictures for a photo calendar: in a run of months, each page's "Picture of the Month" takes the next
// picture of a folder. Everything here needs Qt Gui only (no widget): listing a folder's pictures,
// decoding one at the size it prints, cropping or fitting it to its placeholder, and decoding the next
// picture on a worker thread while the current page is drawn.
#include <QFuture>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <optional>

namespace plennix {

enum class PictureFit { Crop, Fit };

// A picture is decoded at no more pixels per inch of its placeholder than this (more is lost in
// print), and, where the decoder can skip work by halving, at no fewer than the lower figure.
constexpr int kMaxPicturePixelsPerInch = 300;
constexpr int kMinPicturePixelsPerInch = 250;

// The file-name extensions taken from a folder, in lower case.
const QStringList& PictureFileExtensions();

// File-name order: letters without regard to case, runs of digits by their value ("IMG_2" before
// "IMG_10").
bool FileNameLess(const QString& a, const QString& b);

// The pictures of `folder` (regular files with one of those extensions, in any letter case), in
// file-name order, as full paths. Empty, with *error naming the folder and the reason, when the folder
// cannot be read or holds no pictures.
QStringList ListFolderPictures(const QString& folder, QString* error);

// The picture of page `index` of a run: the pictures follow in order and start over when there are
// fewer pictures than pages.
QString PictureForPage(const QStringList& pictures, int index);

// The placeholder's size at the most pixels per inch a picture gets.
QSize PlaceholderPixels(const QSizeF& inches);

// The size to decode a picture of `source` pixels (upright, as shown) at, for a placeholder of `inches`:
// covering the placeholder (Crop) or fitting inside it (Fit) at 250 to 300 pixels per inch, a size the
// JPEG decoder reaches by halving when one lies in that range; never larger than the source.
QSize PictureDecodeSize(const QSize& source, const QSizeF& inches, PictureFit fit);

// The centred part of an image of `source` pixels with the proportions of `target`.
QRect CentredCropRect(const QSize& source, const QSizeF& target);

struct PlacedPicture {
    QString path;
    QImage image;   // opaque (RGB32), ready to draw; null when the picture could not be read
    QString error;  // "FILE: reason" when it could not
};

// Reads the picture at `path` for a placeholder of `inches`: turned upright as its EXIF orientation says,
// decoded at PictureDecodeSize and, for Crop, cut to the placeholder's proportions around its centre.
// A picture beyond the decoding bounds (each side and the pixel count) is refused before it is decoded.
// Safe to call on any thread.
PlacedPicture DecodePlacedPicture(const QString& path, const QSizeF& inches, PictureFit fit);

// Decodes the pictures of a run of `pages` pages: taking page i's picture starts decoding page i+1's on
// a worker thread, so that it is ready when page i is drawn. The prefetcher holds at most the one
// picture being decoded; with the caller's current one, two are in memory (drop the current picture
// before taking the next). A run of one or two pictures keeps them and hands the same image out again,
// so that a PDF holds each of them once.
class PicturePrefetcher {
public:
    PicturePrefetcher(QStringList pictures, QSizeF inches, PictureFit fit, int pages);
    ~PicturePrefetcher();  // waits for a decode still running
    PicturePrefetcher(const PicturePrefetcher&) = delete;
    PicturePrefetcher& operator=(const PicturePrefetcher&) = delete;

    // The picture of page `index`; any order works, in page order the decode is already under way.
    PlacedPicture Take(int index);

private:
    void start(int index);

    QStringList m_pictures;
    QSizeF m_inches;
    PictureFit m_fit;
    int m_pages;
    bool kept(int index) const;
    void dropPending();

    QFuture<PlacedPicture> m_next;
    int m_nextIndex = -1;
    std::optional<PlacedPicture> m_kept[2];
};

}  // namespace plennix
