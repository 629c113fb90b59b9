// The metafile player over any bytes: parsing must end in a picture or nothing, and playing a picture
// onto a small bitmap must never crash, hang, read past the data or allocate without bound. Pictures
// also go through the image object's record form and back.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <cstdlib>

#include "objects/image_object.h"
#include "objects/metafile_player.h"
#include "platform/stream_error.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace plennix;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto metafile = TMetafilePicture::FromBytes(bytes);
    if (!metafile) return 0;
    QImage target(48, 48, QImage::Format_RGB32);
    target.fill(Qt::white);
    {
        QPainter painter(&target);
        metafile->Play(painter, QRectF(2, 2, 44, 44));
    }
    const TImagePicture picture = TImagePicture::FromMetafile(*metafile);
    try {
        const TImagePicture back = TImagePicture::FromRecordData(picture.RecordData());
        if (back.kind() != TImagePicture::Kind::Metafile) abort();
        if (back.Metafile()->StoredBytes() != metafile->StoredBytes()) abort();
    } catch (const StreamError&) {
        abort();  // what was accepted once must read back
    }
    return 0;
}
