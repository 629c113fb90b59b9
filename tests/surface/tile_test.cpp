// The graphic panel tile: bevel arithmetic, painted rings and caption, clicks.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTest>

#include "platform/canvas.h"
#include "surface/graphic_panel_tile.h"
#include "test_support.h"

namespace plennix {
namespace {

using test::PixelColor;

constexpr TColor kPaper = RGB(10, 200, 10);

QImage paintTile(const GraphicPanelLook& look, const Rect& r, int w = 120, int h = 60) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(toQColor(kPaper));
    QPainter painter(&image);
    Canvas canvas(&painter);
    PaintGraphicPanel(canvas, look, r);
    return image;
}

TEST(GraphicPanelTile, InteriorShrinksByBorderAndBevels) {
    GraphicPanelLook look;
    look.bevelOuter = bvRaised;
    look.bevelWidth = 2;
    look.borderWidth = 1;
    EXPECT_EQ(GraphicPanelInterior(look, Rect(0, 0, 185, 41)), Rect(3, 3, 182, 38));
    look.borderStyle = bsSingle;
    look.bevelInner = bvLowered;
    EXPECT_EQ(GraphicPanelInterior(look, Rect(0, 0, 185, 41)), Rect(6, 6, 179, 35));
    look.bevelOuter = bvNone;
    look.bevelInner = bvNone;
    EXPECT_EQ(GraphicPanelInterior(look, Rect(0, 0, 185, 41)), Rect(2, 2, 183, 39));
}

TEST(GraphicPanelTile, PaintsFrameBevelsBandAndBackground) {
    GraphicPanelLook look;
    look.borderStyle = bsSingle;
    look.bevelOuter = bvRaised;
    look.bevelWidth = 2;
    look.borderWidth = 1;
    look.bevelInner = bvLowered;
    look.color = clYellow;
    const TColor light = ColorToRGB(clBtnHighlight), dark = ColorToRGB(clBtnShadow);
    ASSERT_NE(light, dark);
    const QImage image = paintTile(look, Rect(0, 0, 100, 50));
    EXPECT_EQ(PixelColor(image, 0, 0), clBlack);       // single frame
    EXPECT_EQ(PixelColor(image, 99, 49), clBlack);
    EXPECT_EQ(PixelColor(image, 1, 20), light);        // raised outer bevel: light top-left
    EXPECT_EQ(PixelColor(image, 2, 20), light);
    EXPECT_EQ(PixelColor(image, 98, 20), dark);        // ... dark bottom-right
    EXPECT_EQ(PixelColor(image, 97, 20), dark);
    EXPECT_EQ(PixelColor(image, 50, 47), dark);
    EXPECT_EQ(PixelColor(image, 3, 20), clYellow);     // the band in the tile's colour
    EXPECT_EQ(PixelColor(image, 4, 20), dark);         // lowered inner bevel: dark top-left
    EXPECT_EQ(PixelColor(image, 95, 20), light);
    EXPECT_EQ(PixelColor(image, 6, 8), clYellow);      // the background
    EXPECT_EQ(PixelColor(image, 100, 20), kPaper);     // nothing outside
}

// Columns and rows that hold the caption's colour.
Rect inkBox(const QImage& image, TColor ink) {
    Rect r{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (PixelColor(image, x, y) == ink)
                r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1), std::max(r.bottom, y + 1)};
    return r.left == INT32_MAX ? Rect() : r;
}

TEST(GraphicPanelTile, CaptionIsCentredVerticallyAlignedAndClipped) {
    GraphicPanelLook look;
    look.color = clWhite;
    look.font.color = clBlack;
    look.font.setSize(20);
    look.font.style = fsBold;
    look.caption = QStringLiteral("IIII");
    look.alignment = taLeftJustify;
    QImage image = paintTile(look, Rect(0, 0, 120, 60));
    const Rect left = inkBox(image, clBlack);
    ASSERT_FALSE(left.isEmpty());
    EXPECT_LT(left.left, 10);
    EXPECT_NEAR((left.top + left.bottom) / 2, 30, 4);

    look.alignment = taRightJustify;
    image = paintTile(look, Rect(0, 0, 120, 60));
    EXPECT_GT(inkBox(image, clBlack).right, 110);
    look.alignment = taCenter;
    image = paintTile(look, Rect(0, 0, 120, 60));
    const Rect centred = inkBox(image, clBlack);
    EXPECT_NEAR((centred.left + centred.right) / 2, 60, 3);

    // A caption longer than the tile stays inside it.
    look.caption = QString(60, QLatin1Char('W'));
    image = paintTile(look, Rect(10, 10, 70, 50), 120, 60);
    const Rect clipped = inkBox(image, clBlack);
    ASSERT_FALSE(clipped.isEmpty());
    EXPECT_GE(clipped.left, 10);
    EXPECT_LE(clipped.right, 70);
    for (int y = 0; y < 60; ++y) EXPECT_EQ(PixelColor(image, 75, y), kPaper);
}

TEST(GraphicPanelTile, WidgetPaintsItsLookAndOwnFont) {
    TGraphicPanel tile;
    EXPECT_EQ(tile.size(), QSize(185, 41));
    tile.SetHint(QStringLiteral("Half past ten"));
    EXPECT_EQ(tile.toolTip(), "Half past ten");
    EXPECT_TRUE(tile.ParentFont());
    FontRecord f;
    f.setSize(14);
    tile.SetFont(f);
    EXPECT_FALSE(tile.ParentFont());
    EXPECT_EQ(tile.Look().font, f);
    tile.SetColor(clAqua);
    const QImage image = tile.grab().toImage();
    EXPECT_EQ(PixelColor(image, 5, 5), clAqua);
}

TEST(GraphicPanelTile, ClicksDoubleClicksAndResizes) {
    QWidget window;
    window.resize(300, 100);
    auto* tile = new TGraphicPanel(&window);
    tile->move(10, 10);
    window.show();
    int clicks = 0, doubles = 0, resizes = 0;
    tile->OnClick = [&](TGraphicPanel* sender) {
        EXPECT_EQ(sender, tile);
        ++clicks;
    };
    tile->OnDblClick = [&](TGraphicPanel*) { ++doubles; };
    tile->OnResize = [&](TGraphicPanel*) { ++resizes; };
    QTest::mouseClick(tile, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(clicks, 1);
    // A press that is released outside the tile is no click.
    QTest::mousePress(tile, Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseRelease(tile, Qt::LeftButton, {}, QPoint(250, 20));
    EXPECT_EQ(clicks, 1);
    QTest::mouseDClick(tile, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(doubles, 1);
    tile->resize(60, 30);
    EXPECT_GE(resizes, 1);
}

}  // namespace
}  // namespace plennix
