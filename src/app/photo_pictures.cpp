#include "app/photo_pictures.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <cmath>
#include <optional>

#include "objects/image_decoding.h"
#include "platform/file_io.h"

namespace plennix {

const QStringList& PictureFileExtensions() {
    static const QStringList extensions{QStringLiteral("jpg"),  QStringLiteral("jpeg"), QStringLiteral("jpe"),
                                        QStringLiteral("png"),  QStringLiteral("webp"), QStringLiteral("tif"),
                                        QStringLiteral("tiff"), QStringLiteral("gif"),  QStringLiteral("bmp"),
                                        QStringLiteral("heic"), QStringLiteral("heif")};
    return extensions;
}

bool FileNameLess(const QString& a, const QString& b) {
    // Phones and cameras number their files: IMG_2 comes before IMG_10, as file managers show them. The
    // locale's collator cannot be relied on for that (the C locale has no numeric mode).
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype ei = i, ej = j;
            while (ei < a.size() && a[ei].isDigit()) ++ei;
            while (ej < b.size() && b[ej].isDigit()) ++ej;
            // Compare the numbers by value: without leading zeros, the longer is larger.
            qsizetype si = i, sj = j;
            while (si + 1 < ei && a[si] == QLatin1Char('0')) ++si;
            while (sj + 1 < ej && b[sj] == QLatin1Char('0')) ++sj;
            if (ei - si != ej - sj) return ei - si < ej - sj;
            const int digits = QStringView(a).mid(si, ei - si).compare(QStringView(b).mid(sj, ej - sj));
            if (digits != 0) return digits < 0;
            i = ei;
            j = ej;
            continue;
        }
        const QChar ca = a[i].toCaseFolded(), cb = b[j].toCaseFolded();
        if (ca != cb) return ca < cb;
        ++i;
        ++j;
    }
    if (a.size() - i != b.size() - j) return a.size() - i < b.size() - j;
    return a < b;  // equal but for letter case or leading zeros: a fixed order all the same
}

QStringList ListFolderPictures(const QString& folder, QString* error) {
    const QFileInfo info(folder);
    if (!info.isDir()) {
        if (error) *error = QStringLiteral("Unable to read the folder %1: it is not a folder").arg(folder);
        return {};
    }
    const QDir dir(folder);
    if (!info.isReadable()) {
        if (error) *error = QStringLiteral("Unable to read the folder %1: permission denied").arg(folder);
        return {};
    }
    std::vector<QFileInfo> found;
    for (const QFileInfo& file : dir.entryInfoList(QDir::Files | QDir::Readable)) {
        // A named pipe or a device with a picture's name is never opened: reading it could wait for ever.
        if (!file.isFile()) continue;
        if (PictureFileExtensions().contains(file.suffix().toLower())) found.push_back(file);
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const QFileInfo& a, const QFileInfo& b) { return FileNameLess(a.fileName(), b.fileName()); });
    QStringList paths;
    for (const QFileInfo& file : found) paths << file.absoluteFilePath();
    if (paths.isEmpty() && error)
        *error = QStringLiteral("The folder %1 holds no pictures (JPEG, PNG, WebP, TIFF, GIF, BMP or HEIC files)")
                     .arg(folder);
    return paths;
}

QString PictureForPage(const QStringList& pictures, int index) {
    if (pictures.isEmpty() || index < 0) return {};
    return pictures[index % pictures.size()];
}

QSize PlaceholderPixels(const QSizeF& inches) {
    return {std::max(1, static_cast<int>(std::ceil(inches.width() * kMaxPicturePixelsPerInch - 1e-9))),
            std::max(1, static_cast<int>(std::ceil(inches.height() * kMaxPicturePixelsPerInch - 1e-9)))};
}

QSize PictureDecodeSize(const QSize& source, const QSizeF& inches, PictureFit fit) {
    if (source.isEmpty() || inches.isEmpty()) return source;
    const QSize most = PlaceholderPixels(inches);
    const double sx = double(most.width()) / source.width(), sy = double(most.height()) / source.height();
    // The scale at 300 pixels per inch: the picture covers the placeholder, or fits inside it.
    const double atMost = fit == PictureFit::Crop ? std::max(sx, sy) : std::min(sx, sy);
    if (atMost >= 1.0) return source;  // a smaller picture is never enlarged: printing stretches it
    const double atLeast = atMost * kMinPicturePixelsPerInch / kMaxPicturePixelsPerInch;
    // The JPEG decoder reaches 1/2, 1/4 and 1/8 of a picture while decoding, at a fraction of the work
    // of a full decode followed by scaling; the smallest of them that still gives 250 pixels per inch.
    for (const int d : {8, 4, 2}) {
        const double scale = 1.0 / d;
        if (scale >= atLeast && scale <= atMost) return {(source.width() + d - 1) / d, (source.height() + d - 1) / d};
    }
    return {std::max(1, static_cast<int>(std::lround(source.width() * atMost))),
            std::max(1, static_cast<int>(std::lround(source.height() * atMost)))};
}

QRect CentredCropRect(const QSize& source, const QSizeF& target) {
    if (source.isEmpty() || target.isEmpty()) return QRect(QPoint(0, 0), source);
    const double want = target.width() / target.height();
    const double have = double(source.width()) / source.height();
    if (want < have) {
        const int w = std::clamp(static_cast<int>(std::lround(source.height() * want)), 1, source.width());
        return QRect((source.width() - w) / 2, 0, w, source.height());
    }
    const int h = std::clamp(static_cast<int>(std::lround(source.width() / want)), 1, source.height());
    return QRect(0, (source.height() - h) / 2, source.width(), h);
}

namespace {

bool withinDecodingBounds(const QSize& size) {
    return size.width() > 0 && size.height() > 0 && size.width() <= kMaxDecodedSide &&
           size.height() <= kMaxDecodedSide && qint64(size.width()) * size.height() <= kMaxDecodedPixels;
}

QString tooLargeText(const QSize& size) {
    return QStringLiteral(
               "the picture is %1 × %2 pixels, more than the %3 pixels a side or %4 million pixels "
               "that are read")
        .arg(size.width())
        .arg(size.height())
        .arg(kMaxDecodedSide)
        .arg(double(kMaxDecodedPixels) / 1e6, 0, 'f', 1);
}

bool turnsSideways(QImageIOHandler::Transformations t) { return t.testFlag(QImageIOHandler::TransformationRotate90); }

// Opaque, in the format the PDF writer compresses as JPEG without a separate transparency mask.
QImage opaque(QImage image) {
    if (image.hasAlphaChannel()) {
        QImage flat(image.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter p(&flat);
        p.drawImage(0, 0, image);
        p.end();
        return flat;
    }
    return image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
}

// Qt's own readers, scaled while decoding; nullopt when Qt knows no reader for the data.
std::optional<QImage> decodeWithQt(const QByteArray& bytes, const QSizeF& inches, PictureFit fit, QString* why) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead()) return std::nullopt;
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    if (stored.isValid() && !withinDecodingBounds(stored)) {
        *why = tooLargeText(stored);
        return QImage();
    }
    // Scaling happens before the turn: the size asked for is the stored one's.
    const bool sideways = turnsSideways(reader.transformation());
    if (stored.isValid()) {
        const QSize upright = sideways ? stored.transposed() : stored;
        const QSize decode = PictureDecodeSize(upright, inches, fit);
        if (decode != upright) reader.setScaledSize(sideways ? decode.transposed() : decode);
    }
    QImage image = reader.read();
    if (image.isNull()) *why = reader.errorString();
    return image;
}

}  // namespace

PlacedPicture DecodePlacedPicture(const QString& path, const QSizeF& inches, PictureFit fit) {
    PlacedPicture result;
    result.path = path;
    auto failed = [&](const QString& why) {
        result.image = QImage();
        result.error = path + QStringLiteral(": ") + why;
        return result;
    };
    QString why;
    const std::optional<QByteArray> bytes = ReadWholeFile(path, kMaxPictureFileBytes, &why);
    if (!bytes) return failed(why);
    QImage image;
    if (std::optional<QImage> qt = decodeWithQt(*bytes, inches, fit, &why)) {
        if (qt->isNull()) return failed(why.isEmpty() ? QStringLiteral("the picture could not be decoded") : why);
        image = std::move(*qt);
    } else {
        // Formats Qt does not read here (WebP, TIFF, HEIC) go to the external decoder, bounded as ever.
        image = LoadPictureBytes(*bytes, QFileInfo(path).suffix(), &why);
        if (image.isNull()) return failed(why);
        const QSize decode = PictureDecodeSize(image.size(), inches, fit);
        if (decode != image.size()) image = image.scaled(decode, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    if (fit == PictureFit::Crop) {
        const QRect crop = CentredCropRect(image.size(), inches);
        if (crop.size() != image.size()) image = image.copy(crop);
    }
    result.image = opaque(std::move(image));
    if (result.image.isNull()) return failed(QStringLiteral("not enough memory for the picture"));
    return result;
}

PicturePrefetcher::PicturePrefetcher(QStringList pictures, QSizeF inches, PictureFit fit, int pages)
    : m_pictures(std::move(pictures)), m_inches(inches), m_fit(fit), m_pages(pages) {}

PicturePrefetcher::~PicturePrefetcher() {
    if (m_next.isValid()) m_next.waitForFinished();
}

void PicturePrefetcher::start(int index) {
    m_nextIndex = index;
    m_next = QtConcurrent::run(DecodePlacedPicture, PictureForPage(m_pictures, index), m_inches, m_fit);
}

bool PicturePrefetcher::kept(int index) const {
    return m_pictures.size() <= 2 && !m_pictures.isEmpty() && index >= 0 && m_kept[index % m_pictures.size()];
}

void PicturePrefetcher::dropPending() {
    if (m_next.isValid()) m_next.waitForFinished();
    m_next = QFuture<PlacedPicture>();
    m_nextIndex = -1;
}

PlacedPicture PicturePrefetcher::Take(int index) {
    PlacedPicture taken;
    if (kept(index)) {
        taken = *m_kept[index % m_pictures.size()];
    } else if (m_next.isValid() && m_nextIndex == index) {
        taken = m_next.result();
        // The finished decode's result is let go before the next one starts: two pictures at most.
        dropPending();
    } else {
        dropPending();
        taken = DecodePlacedPicture(PictureForPage(m_pictures, index), m_inches, m_fit);
    }
    if (m_pictures.size() <= 2 && !m_pictures.isEmpty() && index >= 0) m_kept[index % m_pictures.size()] = taken;
    const int next = index + 1;
    if (next < m_pages && !kept(next) && !(m_next.isValid() && m_nextIndex == next)) {
        dropPending();
        start(next);
    }
    return taken;
}

}  // namespace plennix
