// SuperText arithmetic: shadow offsets, the layout of face and shadow, fitting, gradient bands,
// texture tiles, cutting the caption, and the texture bitmap of records.
#include <gtest/gtest.h>

#include <QPainter>

#include "objects/super_text_geometry.h"
#include "platform/stream_error.h"
#include "surface/object_stream.h"

namespace plennix {
namespace {

TEST(SuperTextShadow, OffsetForEachOrientationAtZoomOneAndTwo) {
    struct Case {
        TShadowOrientation o;
        Point atOne;
    };
    const Case cases[] = {{sdNone, {0, 0}},     {sdRight, {5, 0}},     {sdLeft, {-5, 0}},
                          {sdDownRight, {5, 5}}, {sdDownLeft, {-5, 5}}, {sdDown, {0, 5}}};
    for (const Case& c : cases) {
        const Point p = SuperTextShadowOffset(c.o, 5);
        EXPECT_EQ(p, c.atOne) << int(c.o);
        EXPECT_EQ(ZoomedShadowOffset(p, 1.0f), c.atOne);
        EXPECT_EQ(ZoomedShadowOffset(p, 2.0f), (Point{c.atOne.x * 2, c.atOne.y * 2})) << int(c.o);
    }
    // Zoomed offsets truncate toward zero on both sides.
    EXPECT_EQ(ZoomedShadowOffset({5, 5}, 1.5f), (Point{7, 7}));
    EXPECT_EQ(ZoomedShadowOffset({-5, 5}, 1.5f), (Point{-7, 7}));
}

TEST(SuperTextLayoutCalc, LeftShadowPushesTheFaceRight) {
    SuperTextLayoutInput in;
    in.shadow = SuperTextShadowOffset(sdLeft, 6);
    in.width = 200;
    in.height = 80;
    in.textHeight = 40;
    in.textWidth = 150;
    const SuperTextLayout l = ComputeSuperTextLayout(in);
    EXPECT_EQ(l.textOffset, (Point{6, 0}));
    EXPECT_EQ(l.faceOrigin.x, 11);
    EXPECT_EQ(l.shadowOrigin.x, 5);
    EXPECT_EQ(l.faceRect, Rect(11, 0, 200, 40));
    EXPECT_EQ(l.shadowRect, Rect(5, 0, 194, 40));
    EXPECT_EQ(SuperTextMargin(l), 11);
}

TEST(SuperTextLayoutCalc, TransparentBorderlessShrinksOthersOnlyGrow) {
    SuperTextLayoutInput in;
    in.shadow = {4, 4};
    in.width = 300;
    in.height = 120;
    in.textHeight = 50;
    in.textWidth = 200;
    // trunc(1.2 * (50 + 4)) = 64
    EXPECT_EQ(ComputeSuperTextLayout(in).height, 64);
    in.border = true;
    EXPECT_EQ(ComputeSuperTextLayout(in).height, 120);
    in.border = false;
    in.transparent = false;
    EXPECT_EQ(ComputeSuperTextLayout(in).height, 120);
    // Too low for the text: grows to text height plus the shadow's drop.
    in.height = 20;
    EXPECT_EQ(ComputeSuperTextLayout(in).height, 54);
    // A width of 5 or less takes the text width; more stays.
    in.width = 5;
    EXPECT_EQ(ComputeSuperTextLayout(in).width, 200);
    in.width = 6;
    EXPECT_EQ(ComputeSuperTextLayout(in).width, 6);
}

TEST(SuperTextLayoutCalc, FitToTextSizes) {
    SuperTextLayoutInput in;
    in.shadow = {0, 3};
    in.width = 100;
    in.height = 100;
    in.textHeight = 55;
    const SuperTextLayout l = ComputeSuperTextLayout(in);
    const FitResult fit = ComputeFitToText(l, 120, 55);
    // Width: 5 + 1.2 * 120 = 149; height: 1.2 * (3 + 55) = 69.6.
    EXPECT_EQ(fit.width, 149);
    EXPECT_EQ(fit.height, 69);
    EXPECT_TRUE(fit.fits);
    const FitResult empty = ComputeFitToText(l, 0, 0);
    EXPECT_EQ(empty.width, 5);
    EXPECT_EQ(empty.height, 3);
    EXPECT_TRUE(empty.fits);
}

TEST(SuperTextGradient, EndColoursFollowTheDirection) {
    const TColor from = clBlue, to = clYellow;
    for (TFillDirection d : {gdUp, gdDown, gdLeft, gdRight}) {
        const auto bands = GradientBands(d, from, to, 300, 100);
        ASSERT_EQ(bands.size(), 256u);
        const bool startsWithFrom = d == gdDown || d == gdRight;
        EXPECT_EQ(bands.front().color, startsWithFrom ? from : to) << int(d);
        EXPECT_EQ(bands.back().color, startsWithFrom ? to : from) << int(d);
        const bool rows = d == gdUp || d == gdDown;
        // The bands tile the area exactly: band 0 at the top or left, band 255 at the far edge.
        EXPECT_EQ(bands.front().rect.left, 0);
        EXPECT_EQ(bands.front().rect.top, 0);
        EXPECT_EQ(rows ? bands.back().rect.bottom : bands.back().rect.right, rows ? 100 : 300);
        for (size_t i = 1; i < bands.size(); ++i) {
            if (rows)
                EXPECT_EQ(bands[i].rect.top, bands[i - 1].rect.bottom);
            else
                EXPECT_EQ(bands[i].rect.left, bands[i - 1].rect.right);
        }
    }
    // The middle band is rounded from both ends: 255 * 128 / 255 = 128 of each channel's difference.
    const GradientEnds ends = GradientEndColors(gdRight, RGB(0, 0, 0), RGB(255, 10, 200));
    EXPECT_EQ(GradientBandColor(ends, 128), RGB(128, 5, 100));
    // Falling channels count down.
    EXPECT_EQ(GradientBandColor(GradientEndColors(gdRight, RGB(200, 0, 0), RGB(0, 0, 0)), 255), RGB(0, 0, 0));
}

TEST(SuperTextGradient, UpwardStripHasBlueAtTheBottomAndYellowAtTheTop) {
    const QImage strip = MakeGradientStrip(gdUp, clBlue, clYellow, 142, 512);
    ASSERT_EQ(strip.width(), 1);
    ASSERT_EQ(strip.height(), 512);
    EXPECT_EQ(fromQColor(strip.pixelColor(0, 0)), clYellow);
    EXPECT_EQ(fromQColor(strip.pixelColor(0, 511)), clBlue);
    // Fewer rows than bands: each row shows the last band that rounds onto it (band 252 of 256 at
    // the bottom of 33 rows), next to blue.
    const QImage low = MakeGradientStrip(gdUp, clBlue, clYellow, 142, 33);
    EXPECT_EQ(fromQColor(low.pixelColor(0, 32)), GradientBandColor(GradientEndColors(gdUp, clBlue, clYellow), 252));
    const QImage across = MakeGradientStrip(gdLeft, clBlue, clYellow, 142, 33);
    ASSERT_EQ(across.width(), 142);
    EXPECT_EQ(fromQColor(across.pixelColor(0, 0)), clYellow);
    EXPECT_EQ(fromQColor(across.pixelColor(141, 0)), clBlue);
    // Absurd sizes stay bounded.
    EXPECT_LE(MakeGradientStrip(gdDown, clBlue, clYellow, 10, 2000000000).height(), 65536);
    // System colours are resolved before mixing.
    EXPECT_EQ(GradientEndColors(gdDown, clWindow, clBlack).first, ColorToRGB(clWindow));
}

TEST(SuperTextTiles, TilesCoverTheAreaFromTheCorner) {
    const auto tiles = TileRects(48, 48, 100, 50);
    ASSERT_EQ(tiles.size(), 6u);
    EXPECT_EQ(tiles[0], Rect(0, 0, 48, 48));
    EXPECT_EQ(tiles[2], Rect(96, 0, 144, 48));
    EXPECT_EQ(tiles[5], Rect(96, 48, 144, 96));
    EXPECT_TRUE(TileRects(0, 10, 100, 100).empty());
}

TEST(SuperTextCaption, CutToWholeCharactersThatFit) {
    const auto width = [](const QString& s) { return static_cast<int>(s.size()) * 10; };
    EXPECT_EQ(CutCaptionToWidth(QStringLiteral("Calendar"), 80, width), QStringLiteral("Calendar"));
    EXPECT_EQ(CutCaptionToWidth(QStringLiteral("Calendar"), 79, width), QStringLiteral("Calenda"));
    EXPECT_EQ(CutCaptionToWidth(QStringLiteral("Calendar"), 5, width), QString());
    EXPECT_EQ(CutCaptionToWidth(QStringLiteral("Calendar"), -20, width), QString());
    // A long caption needs few measurements.
    int calls = 0;
    const QString longText(100000, QLatin1Char('x'));
    const QString cut = CutCaptionToWidth(longText, 555, [&](const QString& s) {
        ++calls;
        return static_cast<int>(s.size()) * 10;
    });
    EXPECT_EQ(cut.size(), 55);
    EXPECT_LT(calls, 40);
}

TEST(SuperTextImageData, BitmapRoundTripsWithItsByteCount) {
    QImage image(5, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    image.setPixelColor(4, 2, Qt::blue);
    const QByteArray data = EncodeImageData(image);
    ASSERT_GT(data.size(), 18);
    const int32_t count = static_cast<uint8_t>(data[0]) | (static_cast<uint8_t>(data[1]) << 8) |
                          (static_cast<uint8_t>(data[2]) << 16) | (static_cast<uint8_t>(data[3]) << 24);
    EXPECT_EQ(count, data.size() - 4);
    EXPECT_EQ(data.mid(4, 2), QByteArray("BM"));
    const QImage back = DecodeImageData(data);
    ASSERT_EQ(back.size(), image.size());
    EXPECT_EQ(back.pixelColor(4, 2), QColor(Qt::blue));
    EXPECT_EQ(back.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_TRUE(EncodeImageData(QImage()).isEmpty());
    EXPECT_TRUE(DecodeImageData(QByteArray()).isNull());
}

TEST(SuperTextImageData, DamagedPayloadsAreErrorsNotAllocations) {
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::green);
    QByteArray data = EncodeImageData(image);
    // A count beyond the bytes there.
    QByteArray longCount = data;
    longCount[3] = 0x7F;
    EXPECT_THROW(DecodeImageData(longCount), StreamError);
    // Not a bitmap.
    QByteArray notBm = data;
    notBm[4] = 'X';
    EXPECT_THROW(DecodeImageData(notBm), StreamError);
    // A header that claims a huge picture is refused before decoding.
    QByteArray huge = data;
    const int32_t side = 1 << 20;
    for (int i = 0; i < 4; ++i) {
        huge[4 + 18 + i] = static_cast<char>((side >> (8 * i)) & 0xFF);
        huge[4 + 22 + i] = static_cast<char>((side >> (8 * i)) & 0xFF);
    }
    EXPECT_THROW(DecodeImageData(huge), StreamError);
    EXPECT_THROW(DecodeImageData(QByteArray("\x02\x00", 2)), StreamError);
}

}  // namespace
}  // namespace plennix
