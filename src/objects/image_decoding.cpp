#include "objects/image_decoding.h"

#include <dlfcn.h>

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

#include "platform/file_io.h"
#include "objects/picture_data.h"

namespace plennix {
namespace {

bool WithinBounds(qint64 width, qint64 height) {
    return width > 0 && height > 0 && width <= kMaxDecodedSide && height <= kMaxDecodedSide &&
           width * height <= kMaxDecodedPixels;
}

void SetError(QString* error, const QString& text) {
    if (error) *error = text;
}

QString TooLargeText() { return QStringLiteral("The picture is too large to load."); }
QString UndecodableText() { return QStringLiteral("The file is not a picture that can be loaded."); }

// ---------------------------------------------------------------------------------------------
// Qt's readers.

QImage DecodeWithQt(const QByteArray& bytes, bool* tooLarge) {
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly)) return {};
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    // Megabytes; a little above the largest image handed back, so the bound below decides.
    reader.setAllocationLimit(int(kMaxDecodedPixels * 4 / (1024 * 1024)) + 8);
    if (!reader.canRead()) return {};
    const QSize announced = reader.size();
    if (announced.isValid() && !WithinBounds(announced.width(), announced.height())) {
        *tooLarge = true;
        return {};
    }
    QImage image = reader.read();
    if (image.isNull()) return {};
    if (!WithinBounds(image.width(), image.height())) {
        *tooLarge = true;
        return {};
    }
    return image;
}

// ---------------------------------------------------------------------------------------------
// The external decoder: MagickWand's C interface, declared here because only the run-time library is
// installed. The enumeration values are those of ImageMagick 6.

struct MagickWandHandle;
using MagickBool = unsigned int;  // MagickBooleanType: 0 false, 1 true
using MagickSize = unsigned long long;
constexpr int kCharPixel = 1;  // StorageType
enum ResourceKind : int {
    kAreaResource = 1,
    kDiskResource = 2,
    kFileResource = 3,
    kMapResource = 4,
    kMemoryResource = 5,
    kThreadResource = 6,
    kWidthResource = 9,
    kHeightResource = 10,
    kListLengthResource = 11,
};

struct MagickApi {
    void* library = nullptr;
    bool tried = false;
    void (*Genesis)() = nullptr;
    MagickWandHandle* (*NewWand)() = nullptr;
    MagickWandHandle* (*DestroyWand)(MagickWandHandle*) = nullptr;
    MagickBool (*SetFilename)(MagickWandHandle*, const char*) = nullptr;
    MagickBool (*PingBlob)(MagickWandHandle*, const void*, size_t) = nullptr;
    MagickBool (*ReadBlob)(MagickWandHandle*, const void*, size_t) = nullptr;
    void (*ClearWand)(MagickWandHandle*) = nullptr;
    MagickBool (*SetFirstIterator)(MagickWandHandle*) = nullptr;
    size_t (*GetWidth)(MagickWandHandle*) = nullptr;
    size_t (*GetHeight)(MagickWandHandle*) = nullptr;
    MagickBool (*ExportPixels)(MagickWandHandle*, ptrdiff_t, ptrdiff_t, size_t, size_t, const char*, int,
                               void*) = nullptr;
    MagickBool (*SetResourceLimit)(int, MagickSize) = nullptr;
    MagickBool (*HasAlpha)(MagickWandHandle*) = nullptr;
    MagickBool (*TransformColorspace)(MagickWandHandle*, int) = nullptr;  // optional
};
constexpr int kSRGBColorspace = 13;  // ColorspaceType

QString& LibraryNameOverride() {
    static QString name;
    return name;
}

MagickApi& Api() {
    static MagickApi api;
    return api;
}

template <typename F>
bool Resolve(void* library, const char* symbol, F& target) {
    target = reinterpret_cast<F>(dlsym(library, symbol));
    return target != nullptr;
}

// Loads the library on first use; false when it or one of its entries is missing.
bool LoadMagick() {
    if (!LibraryNameOverride().isEmpty()) {
        // A test's stand-in name: only whether it can be found matters.
        void* standIn = dlopen(LibraryNameOverride().toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
        if (!standIn) return false;
        dlclose(standIn);
    }
    MagickApi& api = Api();
    if (api.tried) return api.library != nullptr;
    api.tried = true;
    void* library = dlopen(kExternalDecoderLibrary, RTLD_NOW | RTLD_LOCAL);
    if (!library) return false;
    MagickApi loaded;
    const bool complete = Resolve(library, "MagickWandGenesis", loaded.Genesis) &&
                          Resolve(library, "NewMagickWand", loaded.NewWand) &&
                          Resolve(library, "DestroyMagickWand", loaded.DestroyWand) &&
                          Resolve(library, "MagickSetFilename", loaded.SetFilename) &&
                          Resolve(library, "MagickPingImageBlob", loaded.PingBlob) &&
                          Resolve(library, "MagickReadImageBlob", loaded.ReadBlob) &&
                          Resolve(library, "ClearMagickWand", loaded.ClearWand) &&
                          Resolve(library, "MagickSetFirstIterator", loaded.SetFirstIterator) &&
                          Resolve(library, "MagickGetImageWidth", loaded.GetWidth) &&
                          Resolve(library, "MagickGetImageHeight", loaded.GetHeight) &&
                          Resolve(library, "MagickExportImagePixels", loaded.ExportPixels) &&
                          Resolve(library, "MagickSetResourceLimit", loaded.SetResourceLimit) &&
                          Resolve(library, "MagickGetImageAlphaChannel", loaded.HasAlpha);
    if (!complete) {
        dlclose(library);
        return false;
    }
    // HEIC pictures arrive in YCbCr; without this entry they are handed over as they are.
    Resolve(library, "MagickTransformImageColorspace", loaded.TransformColorspace);
    loaded.library = library;
    loaded.tried = true;
    api = loaded;
    api.Genesis();
    // The library's own limits: no disk cache, one thread, bounded sizes, so that a damaged or hostile
    // file fails instead of claiming the machine. (Its time limit counts from start-up and ends the
    // whole process when reached, so it is left alone.)
    api.SetResourceLimit(kWidthResource, MagickSize(kMaxDecodedSide));
    api.SetResourceLimit(kHeightResource, MagickSize(kMaxDecodedSide));
    api.SetResourceLimit(kAreaResource, MagickSize(kMaxDecodedPixels));
    api.SetResourceLimit(kMemoryResource, MagickSize(512) * 1024 * 1024);
    api.SetResourceLimit(kMapResource, MagickSize(512) * 1024 * 1024);
    api.SetResourceLimit(kDiskResource, 0);
    api.SetResourceLimit(kFileResource, 64);
    api.SetResourceLimit(kThreadResource, 1);
    api.SetResourceLimit(kListLengthResource, 256);
    return true;
}

// The formats handed to the external decoder, named by file extension. The format is always forced
// (the "FORMAT:" prefix), so that no file's content can choose one of the library's script-like or
// file-reading coders.
QString ExternalFormatFor(const QString& extension) {
    static const char* const kFormats[][2] = {
        {"PCX", "PCX"},   {"DCX", "DCX"},   {"TGA", "TGA"},   {"VDA", "TGA"},   {"ICB", "TGA"},  {"VST", "TGA"},
        {"JPG", "JPEG"},  {"JPEG", "JPEG"}, {"JIF", "JPEG"},  {"JFIF", "JPEG"}, {"JPE", "JPEG"}, {"GIF", "GIF"},
        {"BMP", "BMP"},   {"DIB", "BMP"},   {"RLE", "BMP"},   {"PNG", "PNG"},   {"ICO", "ICO"},  {"TIF", "TIFF"},
        {"TIFF", "TIFF"}, {"PSD", "PSD"},   {"PPM", "PPM"},   {"PGM", "PGM"},   {"PBM", "PBM"},  {"PNM", "PNM"},
        {"SGI", "SGI"},   {"RAS", "SUN"},   {"SUN", "SUN"},   {"XPM", "XPM"},   {"XWD", "XWD"},  {"WEBP", "WEBP"},
        {"PCT", "PICT"},  {"PICT", "PICT"}, {"WBMP", "WBMP"}, {"CUR", "CUR"},   {"XBM", "XBM"},
        {"HEIC", "HEIC"}, {"HEIF", "HEIC"},
    };
    const QString upper = extension.toUpper();
    for (const auto& entry : kFormats)
        if (upper == QLatin1String(entry[0])) return QString::fromLatin1(entry[1]);
    return {};
}

enum class ExternalResult { Decoded, Missing, Failed, TooLarge };

ExternalResult DecodeWithMagick(const QByteArray& bytes, const QString& format, QImage* out) {
    if (!LoadMagick()) return ExternalResult::Missing;
    const MagickApi& api = Api();
    if (bytes.isEmpty()) return ExternalResult::Failed;
    MagickWandHandle* wand = api.NewWand();
    if (!wand) return ExternalResult::Failed;
    struct WandGuard {
        const MagickApi& api;
        MagickWandHandle* wand;
        ~WandGuard() { api.DestroyWand(wand); }
    } guard{api, wand};

    const QByteArray forcedName = format.toLatin1() + ":picture";
    api.SetFilename(wand, forcedName.constData());
    // The header first: the picture's size is checked before any pixel is decoded.
    if (!api.PingBlob(wand, bytes.constData(), size_t(bytes.size()))) return ExternalResult::Failed;
    api.SetFirstIterator(wand);
    if (!WithinBounds(qint64(api.GetWidth(wand)), qint64(api.GetHeight(wand)))) return ExternalResult::TooLarge;
    api.ClearWand(wand);
    api.SetFilename(wand, forcedName.constData());
    if (!api.ReadBlob(wand, bytes.constData(), size_t(bytes.size()))) return ExternalResult::Failed;
    api.SetFirstIterator(wand);
    const qint64 width = qint64(api.GetWidth(wand));
    const qint64 height = qint64(api.GetHeight(wand));
    if (!WithinBounds(width, height)) return ExternalResult::TooLarge;
    if (api.TransformColorspace) api.TransformColorspace(wand, kSRGBColorspace);
    if (!api.HasAlpha(wand)) {
        // Without an alpha channel the library's alpha values are not to be trusted: colour only.
        std::vector<uchar> rgb;
        try {
            rgb.resize(size_t(width) * size_t(height) * 3);
        } catch (const std::bad_alloc&) {
            return ExternalResult::TooLarge;
        }
        if (!api.ExportPixels(wand, 0, 0, size_t(width), size_t(height), "RGB", kCharPixel, rgb.data()))
            return ExternalResult::Failed;
        const QImage view(rgb.data(), int(width), int(height), int(width) * 3, QImage::Format_RGB888);
        *out = view.convertToFormat(QImage::Format_RGB32);
        return out->isNull() ? ExternalResult::TooLarge : ExternalResult::Decoded;
    }
    QImage image(int(width), int(height), QImage::Format_ARGB32);
    if (image.isNull()) return ExternalResult::TooLarge;
    // ARGB32 rows are whole 32-bit words, so the buffer is one contiguous run of B, G, R, A bytes.
    if (!api.ExportPixels(wand, 0, 0, size_t(width), size_t(height), "BGRA", kCharPixel, image.bits()))
        return ExternalResult::Failed;
    *out = image;
    return ExternalResult::Decoded;
}

}  // namespace

QString ExternalDecoderMissingText() {
    return QStringLiteral("A required library file, %1, was not found.").arg(QLatin1String(kExternalDecoderLibrary));
}

bool ExternalDecoderAvailable() { return LoadMagick(); }

void SetExternalDecoderLibraryForTesting(const QString& libraryName) { LibraryNameOverride() = libraryName; }

QImage LoadPictureBytes(const QByteArray& bytes, const QString& extension, QString* error) {
    if (bytes.size() > kMaxPictureFileBytes) {
        SetError(error, TooLargeText());
        return {};
    }
    // A cut-off file would decode into rows of stray memory.
    if (!PictureDataComplete(bytes)) {
        SetError(error, UndecodableText());
        return {};
    }
    bool tooLarge = false;
    QImage image = DecodeWithQt(bytes, &tooLarge);
    if (!image.isNull()) return image;
    if (tooLarge) {
        SetError(error, TooLargeText());
        return {};
    }
    const QString format = ExternalFormatFor(extension);
    if (format.isEmpty()) {
        SetError(error, UndecodableText());
        return {};
    }
    switch (DecodeWithMagick(bytes, format, &image)) {
    case ExternalResult::Decoded: return image;
    case ExternalResult::Missing: SetError(error, ExternalDecoderMissingText()); return {};
    case ExternalResult::TooLarge: SetError(error, TooLargeText()); return {};
    case ExternalResult::Failed: break;
    }
    SetError(error, UndecodableText());
    return {};
}

QImage LoadPictureFile(const QString& path, QString* error) {
    // Only a regular file is opened (a named pipe would wait for a writer for ever); the message says
    // which file and why.
    QString why;
    const std::optional<QByteArray> bytes = ReadWholeFile(path, kMaxPictureFileBytes, &why);
    if (!bytes) {
        SetError(error, QFileInfo(path).isFile() && QFileInfo(path).size() > kMaxPictureFileBytes ? TooLargeText() : why);
        return {};
    }
    return LoadPictureBytes(*bytes, QFileInfo(path).suffix(), error);
}

}  // namespace plennix
