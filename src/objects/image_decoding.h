#pragma once
// Turning picture files into bitmaps. Qt's own readers decode what they know (BMP with RLE, DIB, JPEG,
// GIF, ICO, PNG, TGA with a footer); everything else goes to the external decoder, ImageMagick's
// MagickWand library, which is loaded on first use. Every decoded image is bounded in size, so that a
// small file cannot claim gigabytes.
#include <QByteArray>
#include <QImage>
#include <QString>

namespace plennix {

// The largest picture either decoder hands back: each side and the pixel count.
constexpr int kMaxDecodedSide = 8192;
constexpr qint64 kMaxDecodedPixels = 4096LL * 4096LL;
// Larger files are not read at all.
constexpr qint64 kMaxPictureFileBytes = 64LL * 1024 * 1024;

// The external decoder's library file; reported by name when it cannot be loaded.
inline constexpr const char* kExternalDecoderLibrary = "libMagickWand-6.Q16.so.6";

// Decodes the picture file at path. On failure returns a null image and sets *error (when given) to a
// sentence for the user; when the external decoder was needed and is missing, *error is exactly
// ExternalDecoderMissingText().
QImage LoadPictureFile(const QString& path, QString* error);
// The same for a picture held in memory; extension ("PCX", "tga", "") tells formats without a signature
// apart, as a file's extension does.
QImage LoadPictureBytes(const QByteArray& bytes, const QString& extension, QString* error);

// The message shown when the external decoder cannot be loaded; it names the library.
QString ExternalDecoderMissingText();

// Whether the external decoder can be loaded on this machine (loads it when not yet loaded).
bool ExternalDecoderAvailable();

// Makes later decodes load the external decoder from another library file name; the real name again
// with an empty string. Lets tests see the missing-library path on a machine that has it.
void SetExternalDecoderLibraryForTesting(const QString& libraryName);

}  // namespace plennix
