// The metafile player: WMF windows mapped onto the target, EMF frames, objects and saved states, and
// damaged or unknown records; the shipped clip art parses and draws.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPainter>

#include "common/test_support.h"
#include "metafile_test_files.h"
#include "objects/metafile_player.h"
#include "platform/program_folder.h"

namespace plennix {
namespace {

using test::PixelColor;

constexpr int kRed = 0x0000FF, kBlue = 0xFF0000, kWhite = 0xFFFFFF;

QImage PlayInto(const TMetafilePicture& m, int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    m.Play(painter, QRectF(0, 0, w, h));
    return image;
}

// Red on the right half of a 1000-unit window.
test::WmfWriter RightHalfRed() {
    test::WmfWriter w;
    w.Window(0, 0, 1000, 1000);
    w.NullPen();
    w.Brush(0x0000FF);
    w.Select(0);
    w.Select(1);
    w.Rectangle(500, 0, 1000, 1000);
    return w;
}

TEST(MetafilePlayer, PlaceableWindowIsStretchedOverTheTarget) {
    const auto m = TMetafilePicture::FromBytes(RightHalfRed().Placeable(0, 0, 1000, 1000, 1000));
    ASSERT_TRUE(m);
    EXPECT_EQ(m->form(), TMetafilePicture::Form::Placeable);
    EXPECT_EQ(m->Width(), 96);  // one inch at 96 pixels per inch
    EXPECT_EQ(m->Height(), 96);
    const QImage image = PlayInto(*m, 100, 60);
    EXPECT_EQ(PixelColor(image, 80, 30), kRed);
    EXPECT_EQ(PixelColor(image, 20, 30), kWhite);
    // A target elsewhere on the painter: the picture follows it.
    QImage moved(200, 100, QImage::Format_RGB32);
    moved.fill(Qt::white);
    {
        QPainter painter(&moved);
        painter.translate(100, 0);
        m->Play(painter, QRectF(0, 0, 100, 100));
    }
    EXPECT_EQ(PixelColor(moved, 180, 50), kRed);
    EXPECT_EQ(PixelColor(moved, 80, 50), kWhite);
}

TEST(MetafilePlayer, PlainWmfTakesItsWindowAsBoundsAndIsStoredPlaceable) {
    test::WmfWriter w = RightHalfRed();
    const QByteArray plain = w.Plain();
    const auto m = TMetafilePicture::FromBytes(plain);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->form(), TMetafilePicture::Form::Plain);
    EXPECT_EQ(m->SourceBounds(), QRectF(0, 0, 1000, 1000));
    const QByteArray stored = m->StoredBytes();
    EXPECT_EQ(stored.mid(22), plain);  // the picture's own bytes stay as they were
    const auto back = TMetafilePicture::FromBytes(stored);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->form(), TMetafilePicture::Form::Placeable);
    EXPECT_EQ(back->Width(), m->Width());
    EXPECT_EQ(back->Height(), m->Height());
    EXPECT_EQ(PixelColor(PlayInto(*back, 50, 50), 40, 25), kRed);
}

TEST(MetafilePlayer, EnhancedMetafileDrawsItsObjectsInTheFrame) {
    test::EmfWriter e;
    e.Record(39, {1, 0, 0x0000FF, 0});     // brush 1: solid red
    e.Record(37, {1});                     // select it
    e.Record(37, {int32_t(0x80000008u)});  // the stock null pen
    e.Record(43, {0, 0, 50, 100});         // left half
    e.Record(39, {2, 0, 0xFF0000, 0});     // brush 2: blue
    e.Record(33, {});                      // save
    e.Record(37, {2});
    e.Record(34, {-1});              // restore: red again
    e.Record(42, {60, 60, 90, 90});  // an ellipse in red
    const auto m = TMetafilePicture::FromBytes(e.Bytes(100, 100));
    ASSERT_TRUE(m);
    EXPECT_TRUE(m->Enhanced());
    EXPECT_EQ(m->Width(), 100);
    const QImage image = PlayInto(*m, 100, 100);
    EXPECT_EQ(PixelColor(image, 25, 50), kRed);
    EXPECT_EQ(PixelColor(image, 75, 75), kRed);
    EXPECT_EQ(PixelColor(image, 75, 20), kWhite);
    EXPECT_NE(PixelColor(image, 75, 75), kBlue);
}

TEST(MetafilePlayer, UnknownRecordsAreSkippedAndSavedStatesRestored) {
    test::WmfWriter w;
    w.Window(0, 0, 100, 100);
    w.NullPen();
    w.Brush(0x0000FF);
    w.Brush(0xFF0000);
    w.Select(0);
    w.Select(1);
    w.Record(0x0999, {1, 2, 3});  // no such record
    w.Record(0x001E, {});         // save
    w.Select(2);
    w.Rectangle(0, 0, 50, 100);    // blue
    w.Record(0x0127, {-1});        // restore
    w.Rectangle(50, 0, 100, 100);  // red
    const auto m = TMetafilePicture::FromBytes(w.Placeable(0, 0, 100, 100, 96));
    ASSERT_TRUE(m);
    const QImage image = PlayInto(*m, 100, 100);
    EXPECT_EQ(PixelColor(image, 25, 50), kBlue);
    EXPECT_EQ(PixelColor(image, 75, 50), kRed);
}

TEST(MetafilePlayer, DamagedFilesStopWithoutReadingPastTheirEnd) {
    test::WmfWriter w = RightHalfRed();
    test::EmfWriter e;
    e.Record(39, {1, 0, 0x0000FF, 0});
    e.Record(37, {1});
    e.Record(43, {0, 0, 50, 100});
    e.Record(84, {0, 0, 10, 10, 1, 0, 0, 5, 5, 100000, 76, 0, 0, 0, 0, 0, 0});  // text far past the end
    for (const QByteArray& whole : {w.Placeable(0, 0, 1000, 1000, 1000), w.Plain(), e.Bytes(100, 100)}) {
        for (qsizetype n = 0; n <= whole.size(); ++n) {
            // A copy of exactly n bytes, so that a read past them is a read past the allocation.
            const QByteArray part(whole.constData(), n);
            if (const auto m = TMetafilePicture::FromBytes(part)) PlayInto(*m, 20, 20);
        }
    }
    // A record that claims more words than the file holds ends the drawing before it.
    test::WmfWriter broken;
    broken.Window(0, 0, 100, 100);
    broken.NullPen();
    broken.Brush(0x0000FF);
    broken.Select(0);
    broken.Select(1);
    QByteArray bytes = broken.Placeable(0, 0, 100, 100, 96);
    bytes.chop(6);  // the end record
    test::Put32(bytes, 0x7FFFFFFF);
    test::Put16(bytes, 0x0999);
    test::Put32(bytes, 7);  // a rectangle over everything, after the damage
    for (int v : {0x041B, 100, 100, 0, 0}) test::Put16(bytes, v);
    test::Put32(bytes, 3);
    test::Put16(bytes, 0);
    const auto m = TMetafilePicture::FromBytes(bytes);
    ASSERT_TRUE(m);
    EXPECT_EQ(PixelColor(PlayInto(*m, 40, 40), 20, 20), kWhite);
}

TEST(MetafilePlayer, ShippedClipArtParsesAndDraws) {
    const QString folder = DataDir() + QStringLiteral("clipart");
    const QStringList files = QDir(folder).entryList({QStringLiteral("*.WMF")}, QDir::Files);
    ASSERT_GE(files.size(), 24) << folder.toStdString();
    for (const QString& name : files) {
        QFile file(QDir(folder).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const auto m = TMetafilePicture::FromBytes(file.readAll());
        ASSERT_TRUE(m) << name.toStdString();
        EXPECT_EQ(m->form(), TMetafilePicture::Form::Placeable);
        const QImage image = PlayInto(*m, 64, 64);
        int changed = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) changed += PixelColor(image, x, y) != kWhite;
        EXPECT_GT(changed, 64 * 64 / 20) << name.toStdString();
    }
}

}  // namespace
}  // namespace plennix
