// Text label painting and printing checked by pixels: background, border, the three copies of the
// text in their colours at their offsets.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <optional>

#include "platform/canvas.h"
#include "printing/report.h"
#include "surface/label.h"
#include "surface/base_panel.h"
#include "surface_test_support.h"
#include "test_support.h"

namespace plennix {
namespace {

using test::PixelColor;

constexpr TColor kPaper = RGB(200, 200, 200);

QImage paint(TGBaseLabel& label) {
    QImage image(label.Width() + 40, label.Height() + 40, QImage::Format_RGB32);
    image.fill(toQColor(kPaper));
    {
        QPainter painter(&image);
        Canvas canvas(&painter);
        label.Paint(canvas);
    }
    return image;
}

// The bounding box of the pixels of exactly one colour; empty when there are none.
Rect boxOf(const QImage& image, TColor color) {
    Rect r{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    bool any = false;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (PixelColor(image, x, y) == color) {
                any = true;
                r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1), std::max(r.bottom, y + 1)};
            }
    return any ? r : Rect();
}

// A label whose letters have solid strokes, so the colours of the copies show unblended.
void bigText(TGBaseLabel& label, const QString& caption) {
    FontRecord f = label.Font();
    f.setSize(36);
    f.style = fsBold;
    f.color = clBlue;
    label.SetFont(f);
    label.SetCaption(caption);
    label.SetBounds(0, 0, 200, 80);
    label.SetcolorShadow(clRed);
    label.SetcolorHighlight(clLime);
}

TEST(LabelPaint, BackgroundIsFilledOnlyWhenNotTransparent) {
    TGPLabel label;
    QImage image = paint(label);
    const int w = label.Width(), h = label.Height();
    EXPECT_EQ(PixelColor(image, w - 2, h - 2), kPaper);
    bool ink = false;  // the caption in black
    for (int y = 0; y < h && !ink; ++y)
        for (int x = 0; x < w && !ink; ++x) ink = image.pixelColor(x, y).lightness() < 80;
    EXPECT_TRUE(ink);

    label.SetBackColor(clYellow);
    label.SetTransparent(false);
    image = paint(label);
    EXPECT_EQ(PixelColor(image, w - 2, h - 2), clYellow);
    EXPECT_EQ(PixelColor(image, 0, h - 1), clYellow);
    EXPECT_EQ(PixelColor(image, w, h), kPaper);  // nothing beyond the box
}

TEST(LabelPaint, SingleBorderIsABlackFrameOnTheBox) {
    TGPLabel label;
    label.SetBorderStyle(bsSingle);
    label.SetBackColor(clYellow);
    label.SetTransparent(false);
    QImage image = paint(label);
    const int w = label.Width(), h = label.Height();
    EXPECT_EQ(PixelColor(image, 0, 0), clBlack);
    EXPECT_EQ(PixelColor(image, w - 1, 0), clBlack);
    EXPECT_EQ(PixelColor(image, w - 1, h - 1), clBlack);
    EXPECT_EQ(PixelColor(image, 0, h / 2), clBlack);
    EXPECT_EQ(PixelColor(image, w - 2, h - 2), clYellow);
    EXPECT_EQ(PixelColor(image, w, h / 2), kPaper);
}

TEST(LabelPaint, CopiesAppearInTheirColoursAtTheirOffsets) {
    TGPLabel label;
    bigText(label, QStringLiteral("I"));
    label.SetDirectionShadow(sdRight);
    label.SetDepthShadow(6);
    label.SetDirectionHighlight(hdUpLeft);
    label.SetDepthHighlight(4);
    const QImage image = paint(label);
    const Rect text = boxOf(image, clBlue);
    const Rect shadow = boxOf(image, clRed);
    const Rect highlight = boxOf(image, clLime);
    ASSERT_FALSE(text.isEmpty());
    ASSERT_FALSE(shadow.isEmpty());
    ASSERT_FALSE(highlight.isEmpty());
    // The shadow shows right of the letter, the highlight above and left of it; anti-aliased edges
    // may cost a pixel.
    EXPECT_NEAR(shadow.right, text.right + 6, 1);
    EXPECT_NEAR(highlight.left, text.left - 4, 1);
    EXPECT_NEAR(highlight.top, text.top - 4, 1);
    // The letter's pixels are the font colour: the text is drawn last.
    EXPECT_EQ(PixelColor(image, (text.left + text.right) / 2, (text.top + text.bottom) / 2), clBlue);
}

TEST(LabelPaint, WithoutDepthsOnlyTheFontColourShows) {
    TGPLabel label;
    bigText(label, QStringLiteral("IH"));
    label.SetDepthShadow(0);
    label.SetDepthHighlight(0);
    const QImage image = paint(label);
    EXPECT_FALSE(boxOf(image, clBlue).isEmpty());
    EXPECT_TRUE(boxOf(image, clRed).isEmpty());
    EXPECT_TRUE(boxOf(image, clLime).isEmpty());
}

TEST(LabelPaint, RotatedTextRunsUpAtNinetyDegrees) {
    TGPLabel label;
    bigText(label, QStringLiteral("IIIIII"));
    label.SetAngle(90);
    const QImage image = paint(label);
    const Rect text = boxOf(image, clBlue);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_GT(text.height(), text.width());
    EXPECT_LE(text.right, label.Width());
    EXPECT_LE(text.bottom, label.Height());
}

TEST(LabelPaint, NothingIsDrawnWhilePanelPaintingIsSuspended) {
    test::PanelFixture f;
    auto* label = new TGPLabel(&f.owner);
    label->Loaded();
    f.panel->AddObject(label, Rect(10, 10, 150, 43));
    label->SetBackColor(clYellow);
    label->SetTransparent(false);
    f.panel->SetPaintSuspended(true);
    QImage image = paint(*label);
    EXPECT_TRUE(boxOf(image, clYellow).isEmpty());
    EXPECT_TRUE(boxOf(image, clBlack).isEmpty());
    f.panel->SetPaintSuspended(false);
    image = paint(*label);
    EXPECT_FALSE(boxOf(image, clYellow).isEmpty());
}

// Printing onto a 96-dpi bitmap through the report engine.
QImage print(TGBaseLabel& label) {
    QImage image(400, 200, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    TReport report;
    report.SetDevice(&image);
    EXPECT_TRUE(report.BeginDoc());
    label.PrintTo(report, 0.0, 0.0);
    report.EndDoc();
    return image;
}

TEST(LabelPrint, CopiesArePrintedOnlyWithADepthAndADirection) {
    TGPLabel label;
    bigText(label, QStringLiteral("I"));
    label.SetBounds(20, 20, 200, 80);
    label.SetDepthShadow(0);
    label.SetDepthHighlight(0);
    QImage image = print(label);
    EXPECT_FALSE(boxOf(image, clBlue).isEmpty());
    // Screen painting draws all three copies in one place; printing skips empty copies, so no tint
    // of their colours remains at the letter's edges.
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            ASSERT_FALSE(c.red() > c.blue() + 40 || c.green() > c.blue() + 40) << x << "," << y;
        }

    label.SetDirectionShadow(sdRight);
    label.SetDepthShadow(6);
    image = print(label);
    const Rect text = boxOf(image, clBlue);
    const Rect shadow = boxOf(image, clRed);
    ASSERT_FALSE(shadow.isEmpty());
    EXPECT_NEAR(shadow.right, text.right + 6, 1);
    EXPECT_GE(text.left, 20);
}

TEST(LabelPrint, BackgroundAndBorderAndUnzoomedFont) {
    TGPLabel label;
    bigText(label, QStringLiteral("I"));
    label.SetBounds(20, 20, 200, 80);
    label.SetBackColor(clYellow);
    label.SetTransparent(false);
    label.SetBorderStyle(bsSingle);
    QImage image = print(label);
    EXPECT_EQ(PixelColor(image, 20, 20), clBlack);
    EXPECT_EQ(PixelColor(image, 30, 20 + label.Height() - 5), clYellow);
    EXPECT_EQ(PixelColor(image, 19, 30), clWhite);
}

TEST(LabelPrint, TheReportFontIsTheUnzoomedLabelFont) {
    TGPLabel label;
    label.SetZoomField(0.5f);
    EXPECT_EQ(label.DrawingFont().size(), 5);
    QImage image(200, 100, QImage::Format_RGB32);
    TReport report;
    report.SetDevice(&image);
    ASSERT_TRUE(report.BeginDoc());
    label.PrintTo(report, 0.0, 0.0);
    EXPECT_EQ(report.FontSize(), 10.0);
    EXPECT_EQ(report.FontName(), "Arial");
    EXPECT_EQ(report.FontRotation(), 0);
    report.EndDoc();
}

}  // namespace
}  // namespace plennix
