#pragma once
// Decoding of the picture forms found in RTF into the engine's picture: PNG is kept as it is, the other
// forms are decoded and stored as PNG. Every decoder checks its sizes against the bytes it was given and
// refuses pictures of more than kMaxPicturePixels pixels.
#include <QByteArray>
#include <QImage>
#include <memory>

#include "richtext/rtf_model.h"

namespace plennix {

// Each returns a null image when the data is not a picture of that form, is truncated, or has more than
// maxPixels pixels; in the last case *tooLarge (when given) is set.
QImage DecodePngOrJpeg(const QByteArray& data, const char* format, qint64 maxPixels = kMaxPicturePixels,
                       bool* tooLarge = nullptr);
// A device-independent bitmap: the bitmap information header, its colour table and the bits.
QImage DecodeDib(const QByteArray& data, qint64 maxPixels = kMaxPicturePixels, bool* tooLarge = nullptr);
// A device-dependent bitmap: rows of widthBytes bytes, top row first, bitsPerPixel of 1, 4, 8, 16, 24
// or 32. A widthBytes of 0 takes the rows as padded to 16 bits.
QImage DecodeDdb(const QByteArray& data, int width, int height, int bitsPerPixel, int widthBytes,
                 qint64 maxPixels = kMaxPicturePixels, bool* tooLarge = nullptr);

QByteArray EncodePng(const QImage& image);

// A picture made from an image: PNG bytes, the image, and a display size in twips (0 = the image's size
// at the screen's pixels per inch).
std::shared_ptr<const RtfPicture> MakePicture(const QImage& image, int widthTwips = 0, int heightTwips = 0);

}  // namespace plennix
