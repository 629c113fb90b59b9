#include "objects/super_text_texture.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include "objects/image_decoding.h"
#include "objects/picture_data.h"
#include "objects/super_text_geometry.h"
#include "platform/file_io.h"

namespace plennix {

namespace {
// Texture files larger than this are no textures; reading stops before it allocates.
constexpr qint64 kMaxTextureFileBytes = 64LL * 1024 * 1024;

QImage readBounded(const QByteArray& bytes, const QByteArray& format) {
    if (!PictureDataComplete(bytes)) return {};
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAllocationLimit(static_cast<int>(kMaxTexturePixels * 4 / (1024 * 1024)) + 1);
    const QSize size = reader.size();
    if (size.isValid() && !TextureSizeAcceptable(size.width(), size.height())) return {};
    QImage image = reader.read();
    if (image.isNull() || !TextureSizeAcceptable(image.width(), image.height())) return {};
    return image;
}
}  // namespace

QStringList TextureFileMasks() {
    return {"*.BMP", "*.DIB", "*.JPG", "*.JIF", "*.PCX", "*.RLE", "*.TGA", "*.ICO"};
}

TextureLoad DecodeTextureBytes(const QByteArray& bytes, const QString& extension) {
    TextureLoad out;
    const QString ext = extension.toUpper();
    if (ext == QLatin1String(".BMP")) {
        out.image = readBounded(bytes, "BMP");
        out.showError = out.image.isNull();
    } else if (ext == QLatin1String(".ICO")) {
        const QImage icon = readBounded(bytes, "ICO");
        if (!icon.isNull()) {
            // The icon is drawn at (0, 0) onto a bitmap of its size; its transparent parts show white.
            QImage bitmap(icon.size(), QImage::Format_RGB32);
            bitmap.fill(Qt::white);
            QPainter p(&bitmap);
            p.drawImage(0, 0, icon);
            p.end();
            out.image = bitmap;
        }
    } else {
        // Every other kind goes to the picture browser's decoder (the external one for PCX, TGA...).
        QString error;
        out.image = LoadPictureBytes(bytes, ext.mid(1), &error);
        if (!out.image.isNull() && !TextureSizeAcceptable(out.image.width(), out.image.height())) out.image = QImage();
        if (ext == QLatin1String(".WMF")) out.showError = out.image.isNull();
        out.decoderMissing = out.image.isNull() && error == ExternalDecoderMissingText();
    }
    if (!out.image.isNull()) out.image = out.image.convertToFormat(QImage::Format_RGB32);
    return out;
}

TextureLoad LoadTextureFile(const QString& path) {
    const QString ext = QLatin1Char('.') + QFileInfo(path).suffix().toUpper();
    // Only a regular file is opened: a named pipe would wait for a writer for ever.
    const std::optional<QByteArray> bytes = ReadWholeFile(path, kMaxTextureFileBytes);
    if (!bytes) {
        TextureLoad failed;
        failed.showError = ext == QLatin1String(".BMP") || ext == QLatin1String(".WMF");
        return failed;
    }
    TextureLoad out = DecodeTextureBytes(*bytes, ext);
    // Decoding may take a moment; pending window messages run before the picture is used.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return out;
}

QString TextureBrowserStartFolder(const QString& rememberedFile, const QString& programDir, const QString& dataDir,
                                  QString* file) {
    if (file) file->clear();
    if (!rememberedFile.isEmpty() && QFileInfo(rememberedFile).isFile()) {
        if (file) *file = QFileInfo(rememberedFile).fileName();
        return QFileInfo(rememberedFile).absolutePath() + QLatin1Char('/');
    }
    QString F = programDir;
    if (!F.endsWith(QLatin1Char('/'))) F += QLatin1Char('/');
    if (QFileInfo(F + QStringLiteral("bmbrush")).isDir()) return F + QStringLiteral("bmbrush/");
    if (QFileInfo(F + QStringLiteral("Textures")).isDir()) return F + QStringLiteral("Textures/");
    if (!dataDir.isEmpty()) {
        QString shipped = dataDir;
        if (!shipped.endsWith(QLatin1Char('/'))) shipped += QLatin1Char('/');
        if (QFileInfo(shipped + QStringLiteral("textures")).isDir()) return shipped + QStringLiteral("textures/");
    }
    return F;
}

}  // namespace plennix
