// Decoding picture files: Qt's readers first, the external decoder for the rest, and a size bound on
// both so that a small file cannot claim gigabytes.
#include <gtest/gtest.h>

#include <QBuffer>

#include "common/test_support.h"
#include "metafile_test_files.h"
#include "objects/image_decoding.h"

namespace plennix {
namespace {

QByteArray Png(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::cyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

TEST(ImageDecoding, QtReadsWhatItKnowsWhateverTheExtensionSays) {
    QString error;
    const QImage png = LoadPictureBytes(Png(7, 5), QStringLiteral("JPG"), &error);
    ASSERT_FALSE(png.isNull()) << error.toStdString();
    EXPECT_EQ(png.size(), QSize(7, 5));
    QImage small(3, 2, QImage::Format_RGB32);
    small.fill(Qt::red);
    EXPECT_EQ(LoadPictureBytes(test::BmpFile(small), QStringLiteral("DIB"), &error).size(), QSize(3, 2));
    EXPECT_TRUE(LoadPictureBytes("no picture", QStringLiteral("TXT"), &error).isNull());
    EXPECT_FALSE(error.isEmpty());
}

TEST(ImageDecoding, PicturesClaimingHugeSizesAreRefusedBeforeDecoding) {
    // A bitmap header announcing 60000 × 60000 pixels over a few bytes of data.
    QByteArray bmp = test::BmpFile(QImage(2, 2, QImage::Format_RGB32));
    bmp[18] = char(0x60);
    bmp[19] = char(0xEA);
    bmp[22] = char(0x60);
    bmp[23] = char(0xEA);
    QString error;
    EXPECT_TRUE(LoadPictureBytes(bmp, QStringLiteral("BMP"), &error).isNull());
    EXPECT_FALSE(error.isEmpty());
    if (!ExternalDecoderAvailable()) return;
    // The same for the external decoder: a PCX header of 30000 × 30000.
    QByteArray pcx = test::RedBluePcx(4, 4);
    pcx[8] = char(0x2F);
    pcx[9] = char(0x75);
    pcx[10] = char(0x2F);
    pcx[11] = char(0x75);
    error.clear();
    EXPECT_TRUE(LoadPictureBytes(pcx, QStringLiteral("PCX"), &error).isNull());
    EXPECT_FALSE(error.isEmpty());
}

TEST(ImageDecoding, TheExternalDecoderGetsOnlyTheFormatTheExtensionNames) {
    if (!ExternalDecoderAvailable())
        GTEST_SKIP() << "the external decoder " << kExternalDecoderLibrary << " is not installed";
    QString error;
    const QImage pcx = LoadPictureBytes(test::RedBluePcx(6, 2), QStringLiteral("pcx"), &error);
    ASSERT_FALSE(pcx.isNull()) << error.toStdString();
    EXPECT_EQ(test::PixelColor(pcx, 0, 0), 0x0000FF);
    // A PCX file under an extension no decoder is given stays undecoded.
    EXPECT_TRUE(LoadPictureBytes(test::RedBluePcx(6, 2), QStringLiteral("MSL"), &error).isNull());
    // A file of text under a picture's extension is an error, not a picture.
    EXPECT_TRUE(LoadPictureBytes("<?xml version=\"1.0\"?><image/>", QStringLiteral("TGA"), &error).isNull());
}

}  // namespace
}  // namespace plennix
