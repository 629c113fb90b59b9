// Cut-off picture files: every reader (clip art, SuperText texture, a texture kept in a document, the
// picture browser's decoder) refuses a file whose data ends before its headers say, instead of showing
// the missing rows as stray pixels.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include "common/test_support.h"
#include "metafile_test_files.h"
#include "objects/image_decoding.h"
#include "objects/image_object.h"
#include "objects/picture_data.h"
#include "objects/super_text_geometry.h"
#include "objects/super_text_texture.h"

namespace plennix {
namespace {

QByteArray Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage Pattern(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb(x * 7 % 256, y * 11 % 256, 90));
    return image;
}

void Put16(QByteArray& b, int at, uint32_t v) {
    b[at] = char(v & 0xFF);
    b[at + 1] = char((v >> 8) & 0xFF);
}
void Put32(QByteArray& b, int at, uint32_t v) {
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}

// A 4 × 3 run-length bitmap of 8 bits: three rows of runs, then the end mark.
QByteArray Rle8Bitmap() {
    const QByteArray data("\x04\x01\x00\x00"
                          "\x02\x02\x02\x03\x00\x00"
                          "\x00\x04\x01\x02\x03\x01\x00\x00"
                          "\x00\x01",
                          20);
    QByteArray b(14 + 40 + 4 * 4, '\0');
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, b.size() + data.size());
    Put32(b, 10, b.size());
    Put32(b, 14, 40);
    Put32(b, 18, 4);
    Put32(b, 22, 3);
    Put16(b, 26, 1);
    Put16(b, 28, 8);
    Put32(b, 30, 1);  // RLE8
    Put32(b, 34, data.size());
    Put32(b, 46, 4);
    for (int i = 0; i < 4; ++i) Put32(b, 54 + 4 * i, 0x3F * i);
    return b + data;
}

// Every way a picture reaches the program, for a file's bytes: whether each one accepted it.
struct Readers {
    bool decoder, clipArt, texture, storedTexture;
};

Readers ReadEverywhere(const QByteArray& bytes, const QString& extension) {
    Readers r{};
    QString error;
    r.decoder = !LoadPictureBytes(bytes, extension, &error).isNull();
    EXPECT_EQ(r.decoder, error.isEmpty());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("picture.") + extension);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    QString clipError;
    r.clipArt = !TImagePicture::LoadFromFile(path, &clipError).Empty();
    EXPECT_EQ(clipError, r.clipArt ? QString() : QStringLiteral("Error loading file!"));

    const TextureLoad texture = LoadTextureFile(path);
    r.texture = !texture.image.isNull();
    // A bitmap the texture reader refuses says so.
    if (extension == QLatin1String("BMP")) {
        EXPECT_EQ(texture.showError, !r.texture);
    }

    r.storedTexture = false;
    if (bytes.startsWith("BM")) {
        QByteArray stored(4, '\0');
        Put32(stored, 0, bytes.size());
        stored += bytes;
        r.storedTexture = test::StreamErrorOf([&] { DecodeImageData(stored); }) == QStringLiteral("<no error>");
    }
    return r;
}

TEST(PictureData, CutOffBitmapsAreRefusedByEveryReader) {
    const QByteArray whole = Encoded(Pattern(40, 30), "BMP");
    const Readers full = ReadEverywhere(whole, QStringLiteral("BMP"));
    EXPECT_TRUE(full.decoder && full.clipArt && full.texture && full.storedTexture);
    // Cut in the pixel rows, by a single byte, and inside the headers.
    for (const int keep : {static_cast<int>(whole.size()) / 2, static_cast<int>(whole.size()) - 1, 40}) {
        SCOPED_TRACE(keep);
        const Readers cut = ReadEverywhere(whole.left(keep), QStringLiteral("BMP"));
        EXPECT_FALSE(cut.decoder);
        EXPECT_FALSE(cut.clipArt);
        EXPECT_FALSE(cut.texture);
        EXPECT_FALSE(cut.storedTexture);
    }
    // Bytes after the last row do no harm.
    EXPECT_TRUE(BmpDataComplete(whole + QByteArray(9, 'x')));
    // A header claiming the largest sizes over a few bytes is simply incomplete.
    QByteArray huge = whole;
    Put32(huge, 18, 0x7FFFFFFF);
    Put32(huge, 22, 0x80000000u);
    Put16(huge, 28, 0xFFFF);
    EXPECT_FALSE(BmpDataComplete(huge));
}

TEST(PictureData, PalettedAndRunLengthBitmapsNeedTheirTableAndTheirEndMark) {
    const QByteArray paletted = Encoded(Pattern(9, 5).convertToFormat(QImage::Format_Indexed8), "BMP");
    EXPECT_TRUE(BmpDataComplete(paletted));
    // Cut inside the colour table.
    EXPECT_FALSE(BmpDataComplete(paletted.left(14 + 40 + 10)));

    const QByteArray rle = Rle8Bitmap();
    EXPECT_TRUE(BmpDataComplete(rle));
    EXPECT_EQ(LoadPictureBytes(rle, QStringLiteral("RLE"), nullptr).size(), QSize(4, 3));
    EXPECT_TRUE(BmpDataComplete(rle.left(rle.size() - 2)));   // every row ended: the end mark may go
    EXPECT_FALSE(BmpDataComplete(rle.left(rle.size() - 4)));  // the last row never ends
    EXPECT_FALSE(BmpDataComplete(rle.left(rle.size() - 8)));  // inside a literal run
    EXPECT_TRUE(LoadPictureBytes(rle.left(rle.size() - 8), QStringLiteral("RLE"), nullptr).isNull());
}

TEST(PictureData, CutOffIconsAndJpegsAreRefused) {
    const QByteArray icon = Encoded(Pattern(16, 16), "ICO");
    ASSERT_FALSE(icon.isEmpty());
    EXPECT_TRUE(ReadEverywhere(icon, QStringLiteral("ICO")).clipArt);
    const Readers cutIcon = ReadEverywhere(icon.left(icon.size() - 20), QStringLiteral("ICO"));
    EXPECT_FALSE(cutIcon.decoder);
    EXPECT_FALSE(cutIcon.clipArt);
    EXPECT_FALSE(cutIcon.texture);

    const QByteArray jpeg = Encoded(Pattern(64, 64), "JPG");
    ASSERT_FALSE(jpeg.isEmpty());
    EXPECT_TRUE(ReadEverywhere(jpeg, QStringLiteral("JPG")).decoder);
    const Readers cutJpeg = ReadEverywhere(jpeg.left(jpeg.size() * 2 / 3), QStringLiteral("JPG"));
    EXPECT_FALSE(cutJpeg.decoder);
    EXPECT_FALSE(cutJpeg.clipArt);
    EXPECT_FALSE(cutJpeg.texture);
}

}  // namespace
}  // namespace plennix
