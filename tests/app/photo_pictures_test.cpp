// The picture pipeline of photo calendars: a folder's pictures in file-name order, the size a picture is
// decoded at, crops, EXIF orientation, refused and unreadable files, and decoding ahead page by page.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "app/photo_pictures.h"
#include "objects/image_decoding.h"
#include "test_support.h"

using namespace plennix;

namespace {

QImage twoColours(int w, int h, Qt::GlobalColor left, Qt::GlobalColor right) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(left);
    for (int y = 0; y < h; ++y)
        for (int x = w / 2; x < w; ++x) image.setPixel(x, y, QColor(right).rgb());
    return image;
}

QByteArray jpeg(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 95);
    return bytes;
}

// A JPEG whose EXIF data says how the camera was held (1 upright, 6 turned a quarter clockwise).
QByteArray jpegWithOrientation(const QImage& image, quint16 orientation) {
    QByteArray tiff("II*\0\x08\0\0\0", 8);
    tiff.append("\x01\x00", 2);                          // one entry
    tiff.append("\x12\x01\x03\x00\x01\x00\x00\x00", 8);  // Orientation, SHORT, 1 value
    tiff.append(char(orientation & 0xFF)).append(char(orientation >> 8)).append("\0\0", 2);
    tiff.append("\0\0\0\0", 4);  // no next directory
    QByteArray app1 = QByteArray("Exif\0\0", 6) + tiff;
    const int length = app1.size() + 2;
    QByteArray segment("\xFF\xE1", 2);
    segment.append(char(length >> 8)).append(char(length & 0xFF)).append(app1);
    QByteArray bytes = jpeg(image);
    bytes.insert(2, segment);  // right after the start-of-image marker
    return bytes;
}

quint32 crc32Of(const QByteArray& bytes) {
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray pngChunk(const QByteArray& type, const QByteArray& data) {
    QByteArray chunk;
    const quint32 n = quint32(data.size());
    chunk.append(char(n >> 24)).append(char(n >> 16)).append(char(n >> 8)).append(char(n));
    const quint32 crc = crc32Of(type + data);
    chunk.append(type).append(data);
    chunk.append(char(crc >> 24)).append(char(crc >> 16)).append(char(crc >> 8)).append(char(crc));
    return chunk;
}

// A PNG that claims `side` × `side` pixels and holds a few bytes of image data.
QByteArray pngHeaderOnly(quint32 side) {
    QByteArray head;
    for (quint32 v : {side, side})
        head.append(char(v >> 24)).append(char(v >> 16)).append(char(v >> 8)).append(char(v));
    head.append("\x08\x02\x00\x00\x00", 5);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", head) + pngChunk("IDAT", QByteArray(16, 0)) +
           pngChunk("IEND", {});
}

void put(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QRgb at(const QImage& image, double fx, double fy) {
    return image.pixel(int(fx * (image.width() - 1)), int(fy * (image.height() - 1))) & 0xFFFFFF;
}

bool near(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) < 40 && std::abs(qGreen(a) - qGreen(b)) < 40 &&
           std::abs(qBlue(a) - qBlue(b)) < 40;
}

}  // namespace

TEST(PhotoPictures, AFoldersPicturesInFileNameOrderAndWhyNone) {
    QTemporaryDir dir;
    for (const char* name : {"IMG_10.jpg", "IMG_2.JPG", "a.png", "b.heic", "c.WebP", "notes.txt", "d.tiff"})
        put(dir.filePath(QString::fromLatin1(name)), "x");
    QDir(dir.path()).mkdir(QStringLiteral("sub.jpg"));  // a folder with a picture's name is no picture
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe.jpg"))).constData(), 0600), 0);
    QString error;
    const QStringList pictures = ListFolderPictures(dir.path(), &error);
    QStringList names;
    for (const QString& p : pictures) names << QFileInfo(p).fileName();
    EXPECT_EQ(names, (QStringList{"a.png", "b.heic", "c.WebP", "d.tiff", "IMG_2.JPG", "IMG_10.jpg"}));
    EXPECT_TRUE(QFileInfo(pictures.first()).isAbsolute());

    QTemporaryDir empty;
    put(empty.filePath(QStringLiteral("readme.txt")), "x");
    EXPECT_TRUE(ListFolderPictures(empty.path(), &error).isEmpty());
    EXPECT_TRUE(error.contains(empty.path())) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("no pictures")));
    const QString missing = dir.filePath(QStringLiteral("gone"));
    EXPECT_TRUE(ListFolderPictures(missing, &error).isEmpty());
    EXPECT_TRUE(error.contains(missing)) << error.toStdString();

    EXPECT_EQ(PictureForPage({"a", "b", "c"}, 4), QStringLiteral("b"));
    EXPECT_EQ(PictureForPage({"a", "b", "c"}, 2), QStringLiteral("c"));
    EXPECT_EQ(PictureForPage({}, 0), QString());
}

TEST(PhotoPictures, DecodedAtThePrintedSizeBetween250And300PixelsPerInch) {
    // A 12-megapixel photo for a 7 × 5 inch placeholder: halving gives 285 pixels per inch, in range.
    EXPECT_EQ(PictureDecodeSize({4000, 3000}, {7, 5}, PictureFit::Crop), QSize(2000, 1500));
    EXPECT_EQ(PictureDecodeSize({4000, 3000}, {7, 5}, PictureFit::Fit), QSize(2000, 1500));
    // For 2 × 2 inches no halving step lands between 250 and 300: scaled to exactly 300 (cover).
    EXPECT_EQ(PictureDecodeSize({4000, 3000}, {2, 2}, PictureFit::Crop), QSize(800, 600));
    // Fitting inside 2 × 2 inches: an eighth is 500 × 375, just 250 pixels per inch.
    EXPECT_EQ(PictureDecodeSize({4000, 3000}, {2, 2}, PictureFit::Fit), QSize(500, 375));
    // A quarter is 1000 × 750: 250 pixels per inch of a 4 × 3 inch placeholder.
    EXPECT_EQ(PictureDecodeSize({4000, 3000}, {4, 3}, PictureFit::Crop), QSize(1000, 750));
    // Halving that would fall under 250 is not taken.
    EXPECT_EQ(PictureDecodeSize({4000, 3000}, {4.1, 3.075}, PictureFit::Crop), QSize(1231, 923));
    // A picture smaller than 300 pixels per inch is never enlarged.
    EXPECT_EQ(PictureDecodeSize({1000, 800}, {7, 5}, PictureFit::Crop), QSize(1000, 800));

    EXPECT_EQ(CentredCropRect({4000, 3000}, {2, 2}), QRect(500, 0, 3000, 3000));
    EXPECT_EQ(CentredCropRect({3000, 4000}, {7, 5}), QRect(0, 928, 3000, 2143));
    EXPECT_EQ(CentredCropRect({700, 500}, {7, 5}), QRect(0, 0, 700, 500));
}

TEST(PhotoPictures, CameraOrientationCropAndResolution) {
    QTemporaryDir dir;
    // Held sideways: the stored picture is red left, blue right; upright it is red on top.
    const QString sideways = dir.filePath(QStringLiteral("sideways.jpg"));
    put(sideways, jpegWithOrientation(twoColours(400, 200, Qt::red, Qt::blue), 6));
    PlacedPicture p = DecodePlacedPicture(sideways, {1, 2}, PictureFit::Fit);
    ASSERT_FALSE(p.image.isNull()) << p.error.toStdString();
    EXPECT_EQ(p.image.size(), QSize(200, 400));
    EXPECT_TRUE(near(at(p.image, 0.5, 0.1), 0xFF0000));
    EXPECT_TRUE(near(at(p.image, 0.5, 0.9), 0x0000FF));
    EXPECT_EQ(p.image.format(), QImage::Format_RGB32);  // opaque: the PDF writer needs no mask for it

    // 1200 × 900 for one square inch: decoded at 400 × 300 and cut to its middle 300 × 300.
    const QString wide = dir.filePath(QStringLiteral("wide.jpg"));
    QImage stripes(1200, 900, QImage::Format_RGB32);
    stripes.fill(Qt::green);
    for (int y = 0; y < 900; ++y)
        for (int x = 0; x < 100; ++x) {
            stripes.setPixel(x, y, qRgb(255, 0, 0));
            stripes.setPixel(1199 - x, y, qRgb(255, 0, 0));
        }
    put(wide, jpeg(stripes));
    p = DecodePlacedPicture(wide, {1, 1}, PictureFit::Crop);
    ASSERT_FALSE(p.image.isNull()) << p.error.toStdString();
    EXPECT_EQ(p.image.size(), QSize(300, 300));
    EXPECT_TRUE(near(at(p.image, 0.0, 0.5), 0x00FF00));  // the red edges were cut away
    EXPECT_TRUE(near(at(p.image, 1.0, 0.5), 0x00FF00));
    p = DecodePlacedPicture(wide, {1, 1}, PictureFit::Fit);
    EXPECT_EQ(p.image.size(), QSize(300, 225));
    EXPECT_TRUE(near(at(p.image, 0.0, 0.5), 0xFF0000));
}

TEST(PhotoPictures, BombsAndBrokenFilesAreRefusedWithFileAndReason) {
    QTemporaryDir dir;
    const QString bomb = dir.filePath(QStringLiteral("bomb.png"));
    put(bomb, pngHeaderOnly(30000));
    PlacedPicture p = DecodePlacedPicture(bomb, {7, 5}, PictureFit::Crop);
    EXPECT_TRUE(p.image.isNull());
    EXPECT_TRUE(p.error.startsWith(bomb + QStringLiteral(": "))) << p.error.toStdString();
    EXPECT_TRUE(p.error.contains(QStringLiteral("30000 × 30000"))) << p.error.toStdString();

    const QString broken = dir.filePath(QStringLiteral("broken.jpg"));
    put(broken, QByteArray("\xFF\xD8\xFF\xE0 not really a photo", 24));
    p = DecodePlacedPicture(broken, {7, 5}, PictureFit::Crop);
    EXPECT_TRUE(p.image.isNull());
    EXPECT_TRUE(p.error.startsWith(broken + QStringLiteral(": "))) << p.error.toStdString();
    EXPECT_GT(p.error.size(), broken.size() + 2);

    const QString gone = dir.filePath(QStringLiteral("gone.jpg"));
    p = DecodePlacedPicture(gone, {7, 5}, PictureFit::Crop);
    EXPECT_TRUE(p.error.startsWith(gone)) << p.error.toStdString();
}

TEST(PhotoPictures, PrefetcherHandsOutEachPagesPictureInAnyOrder) {
    QTemporaryDir dir;
    const Qt::GlobalColor colours[] = {Qt::red, Qt::green, Qt::blue};
    QStringList pictures;
    for (int i = 0; i < 3; ++i) {
        pictures << dir.filePath(QStringLiteral("p%1.jpg").arg(i));
        put(pictures.back(), jpeg(twoColours(64, 48, colours[i], colours[i])));
    }
    const QRgb expected[] = {0xFF0000, 0x00FF00, 0x0000FF};
    {
        PicturePrefetcher prefetch(pictures, {1, 0.75}, PictureFit::Crop, 5);
        for (int page = 0; page < 5; ++page) {
            const PlacedPicture p = prefetch.Take(page);
            ASSERT_FALSE(p.image.isNull()) << p.error.toStdString();
            EXPECT_TRUE(near(at(p.image, 0.5, 0.5), expected[page % 3])) << page;
        }
        // Out of order (a second copy of the run starts over): decoded on the spot.
        EXPECT_TRUE(near(at(prefetch.Take(0).image, 0.5, 0.5), 0xFF0000));
        EXPECT_TRUE(near(at(prefetch.Take(2).image, 0.5, 0.5), 0x0000FF));
    }
    // Destroyed while the next decode runs: it is waited for.
    PicturePrefetcher early(pictures, {1, 0.75}, PictureFit::Crop, 3);
    EXPECT_FALSE(early.Take(0).image.isNull());
}

// WebP, TIFF and HEIC go to the external decoder; the pictures are made with ImageMagick when it is
// installed, as a phone's or a scanner's would be.
TEST(PhotoPictures, FormatsQtDoesNotReadComeThroughTheExternalDecoder) {
    const QString convert = QStandardPaths::findExecutable(QStringLiteral("convert"));
    if (convert.isEmpty() || !ExternalDecoderAvailable()) GTEST_SKIP() << "ImageMagick is not installed";
    QTemporaryDir dir;
    for (const char* extension : {"webp", "tiff", "heic"}) {
        SCOPED_TRACE(extension);
        const QString path = dir.filePath(QStringLiteral("p.") + QLatin1String(extension));
        QProcess make;
        make.start(convert, {QStringLiteral("-size"), QStringLiteral("400x200"), QStringLiteral("xc:red"),
                             QStringLiteral("-fill"), QStringLiteral("blue"), QStringLiteral("-draw"),
                             QStringLiteral("rectangle 200,0 399,199"), path});
        if (!make.waitForFinished(30000) || make.exitCode() != 0 || !QFile::exists(path)) {
            if (QLatin1String(extension) == QLatin1String("heic")) continue;  // no HEIC writer on this machine
            FAIL() << "convert could not write " << extension;
        }
        // Cropped to a square: the middle, half red and half blue; 300 pixels for one inch.
        const PlacedPicture p = DecodePlacedPicture(path, {0.5, 0.5}, PictureFit::Crop);
        ASSERT_FALSE(p.image.isNull()) << p.error.toStdString();
        EXPECT_EQ(p.image.size(), QSize(150, 150));
        EXPECT_TRUE(near(at(p.image, 0.1, 0.5), 0xFF0000));
        EXPECT_TRUE(near(at(p.image, 0.9, 0.5), 0x0000FF));
    }
}
