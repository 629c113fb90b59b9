#pragma once
// Reading texture pictures for SuperText from disk and telling where the texture browser starts.
#include <QByteArray>
#include <QImage>
#include <QString>

namespace plennix {

// The files the texture browser lists.
QStringList TextureFileMasks();

struct TextureLoad {
    QImage image;        // null when the file could not be read
    bool showError = false;  // the failure is reported to the person (bitmap and metafile names)
    bool decoderMissing = false;  // the kind needs the external decoder, which cannot be loaded
};

// Loads a texture by the file's upper-case extension: ".BMP" as a bitmap, ".ICO" drawn onto a bitmap
// of the icon's size, every other kind through the image decoder of the picture browser. Pictures
// too large to hold as a texture count as unreadable.
TextureLoad LoadTextureFile(const QString& path);
// The same from bytes already read, with the extension (upper case, with the dot) deciding the kind.
TextureLoad DecodeTextureBytes(const QByteArray& bytes, const QString& extension);

// Where the texture browser opens: the remembered file when it exists (then `file` names it), else
// the program folder's "bmbrush", else its "Textures", else the shipped textures, else the program
// folder itself. Folders end in '/'.
QString TextureBrowserStartFolder(const QString& rememberedFile, const QString& programDir, const QString& dataDir,
                                  QString* file);

}  // namespace plennix
