// The page PNG writer: what it writes is a PNG that Qt reads back pixel for pixel.
#include <gtest/gtest.h>

#include <QImage>
#include <QRandomGenerator>

#include "platform/png_writer.h"

using namespace plennix;

namespace {

// Flat areas, edges and noise: the noise keeps the deflated rows larger than one IDAT chunk.
QImage testImage(QImage::Format format, int w, int h) {
    QImage image(w, h, format);
    QRandomGenerator random(7);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int alpha = format == QImage::Format_ARGB32 ? (x * 7 + y) % 256 : 255;
            const QRgb rgb = y < h / 3 ? qRgba(255, 255, 255, alpha)
                                       : (y < 2 * h / 3 ? qRgba(x % 256, y % 256, (x ^ y) % 256, alpha)
                                                        : (random.generate() & 0xFFFFFFu) | (uint32_t(alpha) << 24));
            image.setPixel(x, y, rgb);
        }
    return image;
}

QImage readBack(const QByteArray& png, QImage::Format format) {
    QImage image;
    EXPECT_TRUE(image.loadFromData(png, "PNG"));
    return image.convertToFormat(format);
}

}  // namespace

TEST(PngWriter, OpaqueAndTranslucentImagesReadBackIdentically) {
    for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32}) {
        SCOPED_TRACE(format);
        QImage image = testImage(format, 301, 257);
        image.setDotsPerMeterX(11811);  // 300 dots per inch: the printed page's PNG keeps its resolution
        image.setDotsPerMeterY(5906);
        QByteArray png;
        ASSERT_TRUE(EncodePng(image, png));
        EXPECT_GT(png.size(), 1 << 16);  // several IDAT chunks
        const QImage back = readBack(png, format);
        EXPECT_EQ(back, image);
        EXPECT_EQ(back.dotsPerMeterX(), 11811);
        EXPECT_EQ(back.dotsPerMeterY(), 5906);
        EXPECT_EQ(back.hasAlphaChannel(), format == QImage::Format_ARGB32);
    }
    // Other formats are written as their colours: a one-pixel grey image, too.
    QImage grey(1, 1, QImage::Format_Grayscale8);
    grey.fill(77);
    QByteArray png;
    ASSERT_TRUE(EncodePng(grey, png));
    EXPECT_EQ(readBack(png, QImage::Format_RGB32).pixel(0, 0), qRgb(77, 77, 77));
}

TEST(PngWriter, AppendsToWhatIsThereAndLeavesItOnFailure) {
    QByteArray out("prefix");
    QString error;
    EXPECT_FALSE(EncodePng(QImage(), out, &error));
    EXPECT_EQ(out, QByteArray("prefix"));
    EXPECT_FALSE(error.isEmpty());

    const QImage image = testImage(QImage::Format_RGB32, 40, 30);
    ASSERT_TRUE(EncodePng(image, out));
    ASSERT_TRUE(out.startsWith("prefix\x89PNG"));
    EXPECT_EQ(readBack(out.mid(6), QImage::Format_RGB32), image);
}
