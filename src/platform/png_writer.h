#pragma once
// PNG encoding of page images. A page is large and mostly flat paper with text on it: deflate's fastest
// level over unfiltered rows makes it several times faster than Qt's writer (default level, a filter
// chosen per row) and, on such pages, smaller too. The pixels are kept exactly either way.
#include <QByteArray>
#include <QImage>
#include <QString>

namespace plennix {

// The deflate level of page images (1 = fastest).
inline constexpr int kPagePngLevel = 1;

// Appends `image` as a PNG file to `out`: 8 bits per channel, RGB for opaque images and RGBA for
// images with an alpha channel, the resolution in a pHYs chunk. On failure (a null image, no memory
// for the encoder) returns false with the reason in *error and leaves `out` as it was.
bool EncodePng(const QImage& image, QByteArray& out, QString* error = nullptr, int level = kPagePngLevel);

}  // namespace plennix
