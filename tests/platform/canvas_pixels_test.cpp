// Pixel-level behaviour of the GDI-style canvas on a bitmap.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPicture>
#include <functional>

#include "common/test_support.h"
#include "platform/canvas.h"

using namespace plennix;
using plennix::test::CountColor;
using plennix::test::InkBounds;
using plennix::test::PixelColor;

namespace {

QImage paint(int w, int h, const std::function<void(Canvas&)>& draw, TColor background = clWhite) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(toQColor(background));
    QPainter painter(&image);
    {
        Canvas canvas(&painter);
        draw(canvas);
    }
    painter.end();
    return image;
}

}  // namespace

TEST(CanvasPixels, FillRectAndRectangleExcludeRightAndBottom) {
    QImage fill = paint(20, 20, [](Canvas& c) { c.FillRect(Rect(2, 3, 7, 9), clRed); });
    EXPECT_EQ(InkBounds(fill), Rect(2, 3, 7, 9));
    EXPECT_EQ(CountColor(fill, clRed), 5 * 6);

    QImage rect = paint(20, 20, [](Canvas& c) {
        c.SetPen(clBlue);
        c.SetBrush(clYellow);
        c.Rectangle(Rect(2, 3, 7, 9));
    });
    EXPECT_EQ(InkBounds(rect), Rect(2, 3, 7, 9));
    EXPECT_EQ(PixelColor(rect, 2, 3), clBlue);
    EXPECT_EQ(PixelColor(rect, 6, 8), clBlue);
    EXPECT_EQ(PixelColor(rect, 3, 4), clYellow);
    EXPECT_EQ(PixelColor(rect, 5, 7), clYellow);
    EXPECT_EQ(CountColor(rect, clYellow), 3 * 4);

    // A wide pen stays inside the rectangle; the brush fills what is left.
    QImage wide = paint(20, 20, [](Canvas& c) {
        c.SetPen(clBlue, 3);
        c.SetBrush(clYellow);
        c.Rectangle(Rect(1, 1, 11, 10));
    });
    EXPECT_EQ(InkBounds(wide), Rect(1, 1, 11, 10));
    EXPECT_EQ(CountColor(wide, clYellow), 4 * 3);
    EXPECT_EQ(PixelColor(wide, 3, 3), clBlue);
    EXPECT_EQ(PixelColor(wide, 4, 4), clYellow);

    // Clear brush: outline only; clear pen: the fill stops a pixel short, as the window system's.
    QImage hollow = paint(20, 20, [](Canvas& c) {
        c.SetPen(clBlack);
        c.SetBrushClear();
        c.Rectangle(Rect(2, 2, 8, 8));
    });
    EXPECT_EQ(PixelColor(hollow, 4, 4), clWhite);
    EXPECT_EQ(CountColor(hollow, clBlack), 20);
    QImage noPen = paint(20, 20, [](Canvas& c) {
        c.SetPen(clBlack, 1, PenStyle::psClear);
        c.SetBrush(clGreen);
        c.Rectangle(Rect(2, 2, 8, 8));
    });
    EXPECT_EQ(InkBounds(noPen), Rect(2, 2, 7, 7));
}

TEST(CanvasPixels, LineToExcludesItsEndPointInEveryDirection) {
    QImage img = paint(30, 30, [](Canvas& c) {
        c.MoveTo(2, 2);
        c.LineTo(10, 2);   // right
        c.MoveTo(20, 5);
        c.LineTo(12, 5);   // left
        c.MoveTo(3, 8);
        c.LineTo(3, 15);   // down
        c.MoveTo(6, 20);
        c.LineTo(6, 12);   // up
        c.MoveTo(10, 10);
        c.LineTo(15, 15);  // diagonal
        c.MoveTo(25, 25);
        c.LineTo(20, 20);  // diagonal back
    });
    for (int x = 2; x < 10; ++x) EXPECT_EQ(PixelColor(img, x, 2), clBlack) << x;
    EXPECT_EQ(PixelColor(img, 10, 2), clWhite);
    for (int x = 13; x <= 20; ++x) EXPECT_EQ(PixelColor(img, x, 5), clBlack) << x;
    EXPECT_EQ(PixelColor(img, 12, 5), clWhite);
    EXPECT_EQ(PixelColor(img, 3, 14), clBlack);
    EXPECT_EQ(PixelColor(img, 3, 15), clWhite);
    EXPECT_EQ(PixelColor(img, 6, 13), clBlack);
    EXPECT_EQ(PixelColor(img, 6, 12), clWhite);
    EXPECT_EQ(PixelColor(img, 14, 14), clBlack);
    EXPECT_EQ(PixelColor(img, 15, 15), clWhite);
    EXPECT_EQ(PixelColor(img, 25, 25), clBlack);
    EXPECT_EQ(PixelColor(img, 21, 21), clBlack);
    EXPECT_EQ(PixelColor(img, 20, 20), clWhite);
    EXPECT_EQ(CountColor(img, clBlack), 8 + 8 + 7 + 8 + 5 + 5);

    // Coordinates far off the page (as a damaged document may hold) still draw their visible part.
    QImage far = paint(20, 20, [](Canvas& c) {
        c.MoveTo(0, 10);
        c.LineTo(2000000000, 10);
        c.SetPen(clBlack, 1, PenStyle::psDot);
        c.MoveTo(-2000000000, -2000000000);
        c.LineTo(2000000000, 2000000000);
    });
    EXPECT_EQ(PixelColor(far, 19, 10), clBlack);
}

TEST(CanvasPixels, XorTwiceRestoresAndNotInverts) {
    // The rubber band: white dotted pen, exclusive-or, clear brush, drawn twice to erase.
    QImage base = paint(40, 40, [](Canvas& c) {
        c.FillRect(Rect(0, 0, 20, 40), clNavy);
        c.FillRect(Rect(20, 0, 40, 40), RGB(200, 100, 50));
    });
    auto rubberBand = [](QImage& target, bool withExtras) {
        QPainter painter(&target);
        Canvas c(&painter);
        c.SetPen(clWhite, 1, PenStyle::psDot);
        c.SetPenMode(PenMode::pmXor);
        c.SetBrushClear();
        c.Rectangle(Rect(5, 5, 33, 30));
        if (withExtras) {
            c.MoveTo(0, 0);
            c.LineTo(39, 17);
            c.DrawFocusRect(Rect(3, 3, 30, 30));
        }
    };
    QImage img = base.copy();
    rubberBand(img, false);
    EXPECT_NE(img, base);
    rubberBand(img, false);
    EXPECT_EQ(img, base);
    rubberBand(img, true);
    EXPECT_NE(img, base);
    rubberBand(img, true);
    EXPECT_EQ(img, base);

    QImage inverted = paint(10, 10, [](Canvas& c) {
        c.SetPenMode(PenMode::pmNot);
        c.SetPen(clRed);
        c.MoveTo(0, 4);
        c.LineTo(10, 4);
    });
    EXPECT_EQ(PixelColor(inverted, 5, 4), clBlack);
    EXPECT_EQ(PixelColor(inverted, 5, 3), clWhite);
    EXPECT_EQ(inverted.pixelColor(5, 4).alpha(), 255);
}

TEST(CanvasPixels, PatternAndDotsAlignToDeviceAndRespectClip) {
    const uint8_t grid[8] = {0xFF, 0xFF, 0xDD, 0xFF, 0xFF, 0xFF, 0xDD, 0xFF};
    const TColor green = RGB(0, 128, 0);
    QImage img = paint(64, 48, [&](Canvas& c) {
        c.FillRect(Rect(40, 0, 64, 48), clRed);
        c.Translate(5, 3);  // the tiles must not move with the origin
        c.PatternAnd(Rect(-5, -3, 59, 45), grid, green);
    });
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool dot = x % 4 == 2 && y % 4 == 2;
            ASSERT_EQ(PixelColor(img, x, y), dot ? green : clWhite) << x << "," << y;
        }
    // Red AND green is black at the dots; elsewhere red stays.
    EXPECT_EQ(PixelColor(img, 42, 2), clBlack);
    EXPECT_EQ(PixelColor(img, 43, 2), clRed);
    EXPECT_EQ(img.pixelColor(42, 2).alpha(), 255);

    QImage clipped = paint(40, 40, [&](Canvas& c) {
        c.Save();
        c.IntersectClipEllipse(Rect(10, 10, 30, 30));
        c.PatternAnd(Rect(0, 0, 40, 40), grid, green);
        c.Restore();
    });
    int dots = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            if (PixelColor(clipped, x, y) != clWhite) {
                ++dots;
                const double dx = x + 0.5 - 20, dy = y + 0.5 - 20;
                EXPECT_LE(dx * dx + dy * dy, 10.5 * 10.5) << x << "," << y;
                EXPECT_TRUE(x % 4 == 2 && y % 4 == 2);
            }
    EXPECT_GT(dots, 10);

    // PatternFill: 1 bits in the foreground; 0 bits in the background or, when transparent, untouched.
    const uint8_t stripes[8] = {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80};
    QImage filled = paint(16, 8, [&](Canvas& c) {
        c.PatternFill(Rect(0, 0, 8, 8), stripes, clBlue, clYellow, false);
        c.PatternFill(Rect(8, 0, 16, 8), stripes, clBlue, clYellow, true);
    }, clRed);
    EXPECT_EQ(PixelColor(filled, 0, 3), clBlue);
    EXPECT_EQ(PixelColor(filled, 1, 3), clYellow);
    EXPECT_EQ(PixelColor(filled, 8, 3), clBlue);
    EXPECT_EQ(PixelColor(filled, 9, 3), clRed);
}

TEST(CanvasPixels, SaveRestoreBracketsClipOriginAndState) {
    QImage img = paint(30, 30, [](Canvas& c) {
        c.SetBrush(clRed);
        c.Save();
        c.Translate(10, 10);
        c.IntersectClipRect(Rect(0, 0, 5, 5));
        c.SetBrush(clBlue);
        c.FillRect(Rect(-10, -10, 20, 20));
        c.Restore();
        EXPECT_EQ(c.BrushColor(), clRed);
        c.FillRect(Rect(0, 0, 2, 2));
    });
    EXPECT_EQ(InkBounds(img), Rect(0, 0, 15, 15));
    EXPECT_EQ(CountColor(img, clBlue), 25);
    EXPECT_EQ(CountColor(img, clRed), 4);
}

TEST(CanvasPixels, Frame3DRingsAndShrinks) {
    Rect r(0, 0, 10, 8);
    QImage img = paint(12, 10, [&](Canvas& c) { c.Frame3D(r, clWhite, clBlack, 2); }, clSilver);
    EXPECT_EQ(r, Rect(2, 2, 8, 6));
    EXPECT_EQ(PixelColor(img, 0, 0), clWhite);
    EXPECT_EQ(PixelColor(img, 8, 0), clWhite);
    EXPECT_EQ(PixelColor(img, 9, 0), clBlack);  // the top-right corner belongs to the dark side
    EXPECT_EQ(PixelColor(img, 0, 7), clBlack);  // and so does the bottom-left corner
    EXPECT_EQ(PixelColor(img, 1, 1), clWhite);
    EXPECT_EQ(PixelColor(img, 8, 6), clBlack);
    EXPECT_EQ(PixelColor(img, 2, 2), clSilver);
}

TEST(CanvasText, DrawTextAlignsInsideTheRectangle) {
    const Rect box(10, 10, 190, 70);
    auto drawn = [&](uint32_t flags) {
        return InkBounds(paint(200, 80, [&](Canvas& c) {
            c.SetFont(QStringLiteral("Arial"), -16, 0, clBlack);
            c.DrawText(QStringLiteral("Mmmm"), box, flags | DT_SINGLELINE);
        }));
    };
    const Rect left = drawn(DT_LEFT), centre = drawn(DT_CENTER | DT_VCENTER), right = drawn(DT_RIGHT | DT_BOTTOM);
    ASSERT_FALSE(left.isEmpty());
    EXPECT_LE(std::abs(left.left - box.left), 2);
    EXPECT_LE(std::abs((centre.left + centre.right) - (box.left + box.right)), 3);
    EXPECT_LE(std::abs(right.right - box.right), 2);
    EXPECT_LT(left.top, 20);
    EXPECT_GT(centre.top, left.top + 10);
    EXPECT_GT(right.top, centre.top + 10);
    EXPECT_LE(right.bottom, box.bottom);
    // Clipped to the rectangle unless DT_NOCLIP.
    QImage clipped = paint(100, 40, [](Canvas& c) {
        c.SetFont(QStringLiteral("Arial"), -20, 0, clBlack);
        c.DrawText(QStringLiteral("WWWWWWWW"), Rect(10, 5, 40, 35), DT_SINGLELINE);
    });
    EXPECT_LE(InkBounds(clipped).right, 40);
}

TEST(CanvasText, PrefixWordBreakAndCalcRect) {
    QImage img(10, 10, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&img);
    Canvas c(&painter);
    c.SetFont(QStringLiteral("Arial"), -13, 0, clBlack);
    const TextMetrics tm = c.GetTextMetrics();
    EXPECT_EQ(tm.height, tm.ascent + tm.descent);
    EXPECT_EQ(tm.internalLeading, tm.height - 13);
    EXPECT_GE(tm.externalLeading, 0);

    Rect r(0, 0, 1000, 0);
    c.DrawText(QStringLiteral("&Save"), r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(r.right, c.TextWidth(QStringLiteral("Save")));
    EXPECT_EQ(r.bottom, tm.height);
    r = Rect(0, 0, 1000, 0);
    c.DrawText(QStringLiteral("a&&b"), r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(r.right, c.TextWidth(QStringLiteral("a&b")));
    r = Rect(0, 0, 1000, 0);
    c.DrawText(QStringLiteral("a&&b"), r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(r.right, c.TextWidth(QStringLiteral("a&&b")));

    // Word wrap at spaces; an over-long word keeps a line of its own.
    const int wordW = c.TextWidth(QStringLiteral("alpha beta"));
    r = Rect(0, 0, wordW, 0);
    EXPECT_EQ(c.DrawText(QStringLiteral("alpha beta alpha beta"), r, DT_CALCRECT | DT_WORDBREAK), 2 * tm.height);
    r = Rect(0, 0, 5, 0);
    EXPECT_EQ(c.DrawText(QStringLiteral("extraordinary"), r, DT_CALCRECT | DT_WORDBREAK), tm.height);
    EXPECT_EQ(r.right, c.TextWidth(QStringLiteral("extraordinary")));
    r = Rect(0, 0, 1000, 0);
    EXPECT_EQ(c.DrawText(QStringLiteral("one\r\ntwo\nthree"), r, DT_CALCRECT), 3 * tm.height);
    // Tabs expand to stops of eight average characters.
    r = Rect(0, 0, 1000, 0);
    c.DrawText(QStringLiteral("a\tb"), r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    EXPECT_EQ(r.right, 8 * tm.aveCharWidth + c.TextWidth(QStringLiteral("b")));
}

TEST(CanvasText, EscapementRotatesCounterClockwiseAboutTheCellCorner) {
    QImage img = paint(100, 200, [](Canvas& c) {
        c.SetFont(QStringLiteral("Arial"), -20, 0, clBlack, 900);
        c.TextOut(30, 180, QStringLiteral("Upward text"));
    });
    const Rect ink = InkBounds(img);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GT(ink.height(), 3 * ink.width());  // runs vertically
    EXPECT_LE(ink.bottom, 182);                // starts at the point and goes up
    EXPECT_LT(ink.top, 120);
    EXPECT_GE(ink.left, 28);                   // the cell's top lies to the left: text sits right of x
    EXPECT_LE(ink.right, 30 + 25);

    // Opaque text paints its cell in the background colour.
    QImage opaque = paint(100, 40, [](Canvas& c) {
        c.SetFont(QStringLiteral("Arial"), -20, 0, clBlack);
        c.SetBkTransparent(false);
        c.SetBkColor(clYellow);
        c.TextOut(5, 5, QStringLiteral("Hi"));
    });
    EXPECT_EQ(PixelColor(opaque, 5, 5), clYellow);
    EXPECT_EQ(PixelColor(opaque, 4, 5), clWhite);
}

TEST(CanvasPictures, StretchedPictureFillsTheRectangleAtAnyResolution) {
    QPicture picture;
    {
        QPainter p(&picture);
        p.fillRect(QRect(10, 20, 50, 25), Qt::black);
    }
    for (int dpi : {96, 600}) {
        QImage image(400, 300, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        image.setDotsPerMeterX(qRound(dpi / 0.0254));
        image.setDotsPerMeterY(qRound(dpi / 0.0254));
        QPainter painter(&image);
        {
            Canvas c(&painter);
            c.StretchDraw(Rect(100, 50, 300, 250), picture);
        }
        painter.end();
        const Rect ink = InkBounds(image);
        EXPECT_LE(std::abs(ink.left - 100), 1) << dpi;
        EXPECT_LE(std::abs(ink.top - 50), 1) << dpi;
        EXPECT_LE(std::abs(ink.right - 300), 1) << dpi;
        EXPECT_LE(std::abs(ink.bottom - 250), 1) << dpi;
    }
    QImage small(2, 2, QImage::Format_RGB32);
    small.fill(Qt::red);
    small.setPixel(1, 1, qRgb(0, 0, 255));
    QImage stretched = paint(20, 20, [&](Canvas& c) { c.StretchDraw(Rect(4, 4, 14, 14), small); });
    EXPECT_EQ(PixelColor(stretched, 8, 8), clRed);     // no smoothing: plain copies of each pixel
    EXPECT_EQ(PixelColor(stretched, 9, 9), clBlue);
    EXPECT_EQ(InkBounds(stretched), Rect(4, 4, 14, 14));
}
