// The work budget of one picture: records, points and filling beyond it are not drawn, the player says
// that it stopped, and ordinary pictures stay well inside it.
#include <gtest/gtest.h>

#include <QPainter>

#include "common/test_support.h"
#include "metafile_test_files.h"
#include "objects/metafile_player.h"

namespace plennix {
namespace {

using test::PixelColor;

constexpr int kRed = 0x0000FF, kWhite = 0xFFFFFF;

// Ten red squares side by side across a 1000 × 100 window, each 100 units wide.
test::WmfWriter TenSquares() {
    test::WmfWriter w;
    w.Window(0, 0, 1000, 100);
    w.NullPen();
    w.Brush(0x0000FF);
    w.Select(0);
    w.Select(1);
    for (int i = 0; i < 10; ++i) w.Rectangle(i * 100, 0, i * 100 + 100, 100);
    return w;
}

bool PlayInto(const TMetafilePicture& m, QImage& image, const MetafileWorkBudget& budget) {
    image.fill(Qt::white);
    QPainter painter(&image);
    return m.Play(painter, QRectF(0, 0, image.width(), image.height()), budget);
}

TEST(MetafileWorkBudget, DrawingStopsAtTheRecordThatExhaustsIt) {
    const auto m = TMetafilePicture::FromBytes(TenSquares().Placeable(0, 0, 1000, 100, 1000));
    ASSERT_TRUE(m);
    QImage image(1000, 100, QImage::Format_RGB32);
    EXPECT_TRUE(PlayInto(*m, image, MetafileWorkBudget{}));
    EXPECT_EQ(PixelColor(image, 950, 50), kRed);

    // 7 set-up records and 4 squares.
    MetafileWorkBudget records;
    records.records = 11;
    EXPECT_FALSE(PlayInto(*m, image, records));
    EXPECT_EQ(PixelColor(image, 350, 50), kRed);
    EXPECT_EQ(PixelColor(image, 450, 50), kWhite);

    // A square is five points (its outline closed); six squares are 30.
    MetafileWorkBudget points;
    points.points = 30;
    EXPECT_FALSE(PlayInto(*m, image, points));
    EXPECT_EQ(PixelColor(image, 550, 50), kRed);
    EXPECT_EQ(PixelColor(image, 650, 50), kWhite);

    // Each square's outline is 400 device pixels: 160,000 to fill; two squares fit in 350,000.
    MetafileWorkBudget fill;
    fill.fillCost = 350000;
    EXPECT_FALSE(PlayInto(*m, image, fill));
    EXPECT_EQ(PixelColor(image, 150, 50), kRed);
    EXPECT_EQ(PixelColor(image, 250, 50), kWhite);
}

TEST(MetafileWorkBudget, APolygonWhoseEdgesCrossThePictureIsNotFilled) {
    // 16,000 points jumping between opposite corners: few points, but every edge crosses the picture.
    QByteArray words;
    for (int i = 0; i < 16000; ++i) {
        test::Put16(words, (i % 2) ? 999 : 0);
        test::Put16(words, (i % 4) < 2 ? 0 : 999);
    }
    test::WmfWriter w;
    w.Window(0, 0, 1000, 1000);
    w.Brush(0x0000FF);
    w.Select(0);
    w.Record(0x0324, {16000}, words);
    const auto m = TMetafilePicture::FromBytes(w.Placeable(0, 0, 1000, 1000, 1000));
    ASSERT_TRUE(m);
    QImage image(400, 400, QImage::Format_RGB32);
    EXPECT_FALSE(PlayInto(*m, image, MetafileWorkBudget{}));

    // A circle of the same number of points is an ordinary shape and is filled.
    QByteArray circle;
    for (int i = 0; i < 16000; ++i) {
        const double a = i * 2 * M_PI / 16000;
        test::Put16(circle, 500 + int(400 * std::cos(a)));
        test::Put16(circle, 500 + int(400 * std::sin(a)));
    }
    test::WmfWriter c;
    c.Window(0, 0, 1000, 1000);
    c.Brush(0x0000FF);
    c.Select(0);
    c.Record(0x0324, {16000}, circle);
    const auto round = TMetafilePicture::FromBytes(c.Placeable(0, 0, 1000, 1000, 1000));
    ASSERT_TRUE(round);
    EXPECT_TRUE(PlayInto(*round, image, MetafileWorkBudget{}));
    EXPECT_EQ(PixelColor(image, 200, 200), kRed);
}

}  // namespace
}  // namespace plennix
