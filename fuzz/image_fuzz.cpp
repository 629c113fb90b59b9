// The image-decoding path over any bytes: the first byte picks the extension the bytes are decoded as
// (Qt's readers first, then the external decoder for the formats it is given), the rest is the file.
// Decoding must end in an image within the size bounds or in an error text. The image object's record
// form of a picture is read from the same bytes too.
#include <QGuiApplication>
#include <QImage>
#include <cstdint>
#include <cstdlib>

#include "objects/image_decoding.h"
#include "objects/image_object.h"
#include "platform/stream_error.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace plennix;
    if (size < 1) return 0;
    static const char* const kExtensions[] = {"BMP", "DIB", "JPG", "JIF", "PCX", "RLE", "TGA", "ICO", "GIF", "", "XYZ"};
    const QString extension = QString::fromLatin1(kExtensions[data[0] % (sizeof kExtensions / sizeof *kExtensions)]);
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    QString error;
    const QImage image = LoadPictureBytes(bytes, extension, &error);
    if (image.isNull() && error.isEmpty()) abort();
    if (!image.isNull() && (image.width() > kMaxDecodedSide || image.height() > kMaxDecodedSide ||
                            qint64(image.width()) * image.height() > kMaxDecodedPixels))
        abort();
    try {
        const TImagePicture picture = TImagePicture::FromRecordData(bytes);
        if (!picture.Empty() && picture.RecordData().isEmpty()) abort();
    } catch (const StreamError&) {}
    return 0;
}
