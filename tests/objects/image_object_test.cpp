// The clip art image object: the AutoSize/Stretch coupling, sizes at a zoom, painting, the record of
// bitmap, icon and metafile pictures, and printing (bitmaps as images, metafiles as vector drawings).
#include <gtest/gtest.h>

#include <QAction>
#include <QBuffer>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>

#include "objects/object_commands.h"
#include "surface/object_menus.h"
#include "common/test_support.h"
#include "metafile_test_files.h"
#include "objects/image_object.h"
#include "platform/stream_error.h"
#include "printing/report.h"
#include "surface/object_host.h"
#include "surface/object_stream.h"

namespace plennix {
namespace {

using test::PixelColor;

QImage Filled(int w, int h, Qt::GlobalColor color) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

TMetafilePicture RedSquareWmf() {
    test::WmfWriter w;
    w.Window(0, 0, 100, 100);
    w.NullPen();
    w.Brush(0x0000FF);
    w.Select(0);
    w.Select(1);
    w.Ellipse(0, 0, 100, 100);
    // Two inches by one inch at 50 units per inch.
    return *TMetafilePicture::FromBytes(w.Placeable(0, 0, 100, 50, 50));
}

QByteArray IconFile() {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    Filled(16, 16, Qt::green).save(&buffer, "ICO");
    return bytes;
}

std::vector<TGGraphicControl*> ReadBack(const QByteArray& list, QObject* owner, TGObjectHost* host) {
    StreamReader in(list);
    return ReadObjectList(in, owner, host ? &host->ObjectList() : nullptr, owner, false);
}

TEST(ImageObject, AutoSizeAndStretchAreAlwaysOpposite) {
    TGImage image;
    EXPECT_TRUE(image.Stretch());
    EXPECT_FALSE(image.AutoSize());
    EXPECT_EQ(image.Width(), 105);
    EXPECT_EQ(image.Height(), 105);
    image.SetStretch(false);
    EXPECT_TRUE(image.AutoSize());
    image.SetAutoSize(false);
    EXPECT_TRUE(image.Stretch());
    image.SetAutoSize(true);
    EXPECT_FALSE(image.Stretch());
    image.ToggleStretch();
    EXPECT_TRUE(image.Stretch());
    EXPECT_FALSE(image.AutoSize());
}

TEST(ImageObject, AutoSizeTakesThePictureSizeAtTheZoomRoundingHalvesToEven) {
    TGImage image;
    image.SetBounds(7, 9, 105, 105);
    image.SetZoomField(1.5f);
    image.SetPicture(TImagePicture::FromBitmap(Filled(40, 30, Qt::red)));
    EXPECT_EQ(image.Width(), 105);  // stretched: the object keeps its size
    image.SetAutoSize(true);
    EXPECT_EQ(image.Left(), 7);
    EXPECT_EQ(image.Top(), 9);
    EXPECT_EQ(image.Width(), 60);
    EXPECT_EQ(image.Height(), 45);
    // Zooming an auto-sized image gives the picture's size at the new zoom, not a rescaled one.
    image.ScaleTo(1.25f);
    EXPECT_EQ(image.Width(), 50);
    EXPECT_EQ(image.Height(), 38);
    image.ScaleTo(1.5f);
    EXPECT_EQ(image.Width(), 60);
    EXPECT_EQ(image.Height(), 45);
    EXPECT_EQ(AutoSizedSide(30, 1.25f), 38);  // 37.5
    EXPECT_EQ(AutoSizedSide(26, 1.25f), 32);  // 32.5
    // A new picture resizes an auto-sized object at once.
    image.SetZoomField(1.0f);
    image.SetPicture(TImagePicture::FromMetafile(RedSquareWmf()));
    EXPECT_EQ(image.Width(), 192);
    EXPECT_EQ(image.Height(), 96);
}

TEST(ImageObject, OpaqueExactlyWhenABitmapFillsTheObject) {
    TGImage image;
    image.SetBounds(0, 0, 40, 30);
    image.SetPicture(TImagePicture::FromBitmap(Filled(40, 30, Qt::red)));
    EXPECT_TRUE(image.Opaque());
    image.SetBounds(0, 0, 41, 30);
    image.SetPicture(TImagePicture::FromBitmap(Filled(40, 30, Qt::red)));
    EXPECT_FALSE(image.Opaque());
    image.SetBounds(0, 0, 192, 96);
    image.SetPicture(TImagePicture::FromMetafile(RedSquareWmf()));
    EXPECT_FALSE(image.Opaque());
}

TEST(ImageObject, PaintsThePictureStretchedAndAnEmptyOneAsAFramedWhiteBox) {
    TGImage image;
    image.SetBounds(0, 0, 50, 40);
    QImage empty = image.RenderBitmap();
    EXPECT_EQ(PixelColor(empty, 0, 0), 0x000000);
    EXPECT_EQ(PixelColor(empty, 49, 39), 0x000000);
    EXPECT_EQ(PixelColor(empty, 25, 20), 0xFFFFFF);

    QImage twoColours(2, 1, QImage::Format_RGB32);
    twoColours.setPixel(0, 0, qRgb(255, 0, 0));
    twoColours.setPixel(1, 0, qRgb(0, 0, 255));
    image.SetPicture(TImagePicture::FromBitmap(twoColours));
    const QImage shown = image.RenderBitmap();
    EXPECT_EQ(PixelColor(shown, 5, 20), 0x0000FF);
    EXPECT_EQ(PixelColor(shown, 45, 20), 0xFF0000);
    EXPECT_NE(PixelColor(shown, 0, 0), 0x000000);
    image.ToggleBorder();
    EXPECT_EQ(image.BorderStyle(), bsSingle);
    EXPECT_EQ(PixelColor(image.RenderBitmap(), 0, 20), 0x000000);
}

TEST(ImageObject, MenuEntriesToggleTheirPropertiesAndAreTicked) {
    RegisterDecorativeObjectCommands();
    TGImage image;
    QMenu* menu = ObjectContextMenu(image);
    ASSERT_NE(menu, nullptr);
    QStringList captions;
    for (QAction* a : menu->actions()) captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
    const QStringList tail{
        QStringLiteral("-"),      QStringLiteral("Load Image From Disk"), QStringLiteral("-"),
        QStringLiteral("Border"), QStringLiteral("Stretch to Fit"),       QStringLiteral("AutoSize"),
        QStringLiteral("-"),      QStringLiteral("Picture of the Month")};
    ASSERT_GE(captions.size(), tail.size());
    EXPECT_EQ(captions.mid(captions.size() - tail.size()), tail);
    ObjectMenuAction(image, QStringLiteral("Border"))->trigger();
    EXPECT_EQ(image.BorderStyle(), bsSingle);
    ObjectMenuAction(image, QStringLiteral("AutoSize"))->trigger();
    EXPECT_TRUE(image.AutoSize());
    EXPECT_FALSE(image.Stretch());
    UpdateObjectMenu(image);
    EXPECT_TRUE(ObjectMenuAction(image, QStringLiteral("Border"))->isChecked());
    EXPECT_TRUE(ObjectMenuAction(image, QStringLiteral("AutoSize"))->isChecked());
    EXPECT_FALSE(ObjectMenuAction(image, QStringLiteral("Stretch to Fit"))->isChecked());
    ObjectMenuAction(image, QStringLiteral("Stretch to Fit"))->trigger();
    EXPECT_TRUE(image.Stretch());
    EXPECT_FALSE(image.AutoSize());
}

TEST(ImageRecord, BitmapIconAndMetafileRoundTripWithTheirOwnBytes) {
    RegisterImageClass();
    TGImage bitmap;
    bitmap.SetBounds(10, 20, 40, 30);
    bitmap.SetBorderStyle(bsSingle);
    const QByteArray bmp = test::BmpFile(Filled(4, 3, Qt::yellow));
    bitmap.SetPicture(TImagePicture::FromBitmapFile(bmp));
    TGImage metafile;
    metafile.SetStretch(false);
    metafile.SetPicture(TImagePicture::FromMetafile(RedSquareWmf()));
    TGImage icon;
    icon.SetPicture(TImagePicture::FromIconFile(IconFile()));
    ASSERT_EQ(icon.Picture().kind(), TImagePicture::Kind::Icon);

    // Picture.Data: class name, then a bitmap's byte count and file, a metafile's count including its
    // own four bytes, an icon's file as it is.
    const QByteArray bitmapData = bitmap.Picture().RecordData();
    EXPECT_EQ(bitmapData.left(8), QByteArray("\x07TBitmap"));
    EXPECT_EQ(bitmapData.mid(12), bmp);
    EXPECT_EQ(uchar(bitmapData[8]) | (uchar(bitmapData[9]) << 8), bmp.size());
    const QByteArray metaData = metafile.Picture().RecordData();
    EXPECT_EQ(metaData.left(10), QByteArray("\x09TMetafile"));
    EXPECT_EQ(uchar(metaData[10]) | (uchar(metaData[11]) << 8), metaData.size() - 10);
    const QByteArray iconData = icon.Picture().RecordData();
    EXPECT_EQ(iconData.left(6), QByteArray("\x05TIcon"));
    EXPECT_TRUE(TImagePicture::FromIconFile(iconData.mid(6)).kind() == TImagePicture::Kind::Icon);

    bitmap.SetName(QStringLiteral("Component0"));
    metafile.SetName(QStringLiteral("Component1"));
    icon.SetName(QStringLiteral("Component2"));
    QByteArray list;
    WriteObjectList(list, {&bitmap, &metafile, &icon});
    EXPECT_TRUE(list.contains(QByteArray("\x0CPicture.Data\x0A")));
    QObject owner;
    TGObjectHost host;
    const auto objs = ReadBack(list, &owner, &host);
    ASSERT_EQ(objs.size(), 3u);
    auto* b = qobject_cast<TGImage*>(objs[0]);
    auto* m = qobject_cast<TGImage*>(objs[1]);
    auto* i = qobject_cast<TGImage*>(objs[2]);
    ASSERT_TRUE(b && m && i);
    EXPECT_EQ(b->BorderStyle(), bsSingle);
    EXPECT_EQ(b->Width(), 40);
    EXPECT_EQ(b->Picture().kind(), TImagePicture::Kind::Bitmap);
    EXPECT_EQ(b->Picture().RecordData(), bitmapData);
    EXPECT_TRUE(m->AutoSize());
    EXPECT_EQ(m->Picture().RecordData(), metaData);
    EXPECT_EQ(m->Width(), 192);
    EXPECT_EQ(i->Picture().kind(), TImagePicture::Kind::Icon);
    QByteArray again;
    WriteObjectList(again, {b, m, i});
    EXPECT_EQ(again, list);
}

TEST(ImageRecord, SavedWithBothFlagsFalseComesBackAutoSized) {
    RegisterImageClass();
    TGImage image;
    image.SetStretch(false);  // AutoSize true, Stretch false
    image.SetPicture(TImagePicture::FromBitmap(Filled(40, 30, Qt::red)));
    QByteArray list;
    WriteObjectList(list, {&image});
    const QByteArray autoSize = QByteArray(
        "\x08"
        "AutoSize\x09");
    ASSERT_TRUE(list.contains(autoSize));
    list.replace(autoSize, QByteArray());  // as if AutoSize had been false as well
    QObject owner;
    TGObjectHost host;
    const auto objs = ReadBack(list, &owner, &host);
    ASSERT_EQ(objs.size(), 1u);
    auto* back = qobject_cast<TGImage*>(objs[0]);
    EXPECT_TRUE(back->AutoSize());
    EXPECT_FALSE(back->Stretch());
}

TEST(ImageRecord, DamagedPictureDataIsAnInvalidPropertyValue) {
    const QString invalid = QStringLiteral("Invalid property value");
    auto fails = [](const QByteArray& data) {
        return test::StreamErrorOf([&] { TImagePicture::FromRecordData(data); });
    };
    QByteArray tooLong("\x07TBitmap");
    test::Put32(tooLong, 1000);
    tooLong += "BM1";
    EXPECT_EQ(fails(tooLong), invalid);
    QByteArray notABitmap("\x07TBitmap");
    test::Put32(notABitmap, 4);
    notABitmap += "XXXX";
    EXPECT_EQ(fails(notABitmap), invalid);
    QByteArray metaCount("\x09TMetafile");
    test::Put32(metaCount, 2);  // less than its own four bytes
    EXPECT_EQ(fails(metaCount), invalid);
    EXPECT_EQ(fails(QByteArray("\x05TJunkdata")), invalid);
    EXPECT_EQ(fails(QByteArray("\x09TMeta")), invalid);
    EXPECT_EQ(fails(QByteArray()), QStringLiteral("<no error>"));
}

QByteArray PrintToPdf(TGImage& image) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.pdf"));
    TReport report;
    report.SetPdfOutput(path);
    EXPECT_TRUE(report.BeginDoc()) << report.ErrorText().toStdString();
    image.PrintTo(report, 1.0, 1.0);
    report.EndDoc();
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

TEST(ImagePrint, BitmapsPrintAsImagesMetafilesAsVectorsAndIconsNotAtAll) {
    TGImage bitmap;
    bitmap.SetBounds(0, 0, 96, 96);
    bitmap.SetPicture(TImagePicture::FromBitmap(Filled(8, 8, Qt::blue)));
    EXPECT_TRUE(PrintToPdf(bitmap).contains("/Subtype /Image"));

    TGImage metafile;
    metafile.SetBounds(0, 0, 192, 96);
    metafile.SetPicture(TImagePicture::FromMetafile(RedSquareWmf()));
    const QByteArray vector = PrintToPdf(metafile);
    EXPECT_FALSE(vector.contains("/Subtype /Image"));
    TGImage empty;
    empty.SetBounds(0, 0, 192, 96);
    EXPECT_GT(vector.size(), PrintToPdf(empty).size() + 100);  // the ellipse's path is in the page

    TGImage icon;
    icon.SetBounds(0, 0, 96, 96);
    icon.SetPicture(TImagePicture::FromIconFile(IconFile()));
    EXPECT_FALSE(PrintToPdf(icon).contains("/Subtype /Image"));
}

}  // namespace
}  // namespace plennix
