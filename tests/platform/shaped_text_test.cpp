// Text shaped once (Canvas::ShapeText) draws exactly the pixels of the same text drawn from its string.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPicture>
#include <functional>

#include "platform/canvas.h"

using namespace plennix;

namespace {

QImage paint(const std::function<void(Canvas&)>& draw) {
    QImage image(260, 120, QImage::Format_RGB32);
    image.fill(QColor(230, 220, 200));
    QPainter painter(&image);
    Canvas canvas(&painter);
    // Drawn moved and clipped as a placed object is.
    canvas.Save();
    canvas.Translate(7, 5);
    canvas.IntersectClipRect({0, 0, 240, 110});
    draw(canvas);
    canvas.Restore();
    return image;
}

struct Case {
    const char* face;
    int height;
    FontStyles style;
    int escapement;
    bool opaque;
};

}  // namespace

TEST(ShapedText, DrawsThePixelsOfItsString) {
    const Case cases[] = {
        {"Arial", -13, 0, 0, false},          {"Arial", -48, fsBold, 0, false},
        {"Times New Roman", -21, fsItalic, 0, true}, {"Courier New", -9, fsBold | fsItalic, 0, false},
        {"Arial", -17, fsUnderline, 0, false}, {"Times New Roman", -30, fsStrikeOut, 0, false},
        {"Arial", -20, 0, 900, false},        {"Times New Roman", -25, fsBold, 1800, true},
        {"Arial", -16, 0, 2700, false},
    };
    const QString texts[] = {
        QStringLiteral("Label 1234"), QStringLiteral("AVATAR To.  fi ffl Wy"), QStringLiteral("&Jäger && Söhne"),
        QStringLiteral("a\tb"), QString::fromUtf8("Ωμέγα Жук שלום مرحبا 漢字"), QStringLiteral("line\none"),
    };
    // The copies of a label: clipped on every side, cut through the letters, and unclipped.
    const Rect clips[] = {{3, 4, 250, 100}, {10, 8, 60, 20}, {0, 0, 1000, 1000}};
    for (const Case& c : cases)
        for (const QString& text : texts)
            for (const Rect& clip : clips) {
                SCOPED_TRACE(QStringLiteral("%1 %2 %3 %4: %5")
                                 .arg(QLatin1String(c.face))
                                 .arg(c.height)
                                 .arg(c.style)
                                 .arg(c.escapement)
                                 .arg(text)
                                 .toStdString());
                const auto setUp = [&](Canvas& canvas) {
                    canvas.SetFont(QString::fromLatin1(c.face), c.height, c.style, RGB(20, 40, 160), c.escapement);
                    canvas.SetBkTransparent(!c.opaque);
                    canvas.SetBkColor(clYellow);
                };
                const int x = c.escapement == 0 ? 6 : 90, y = c.escapement == 0 ? 9 : 60;
                const QImage fromShape = paint([&](Canvas& canvas) {
                    setUp(canvas);
                    const ShapedText shaped = canvas.ShapeText(text);
                    EXPECT_TRUE(canvas.IsShaped(shaped, text));
                    // Drawn twice in other colours first, as a label's shadow and highlight are.
                    canvas.SetTextColor(clRed);
                    canvas.TextRect(clip, x + 2, y + 2, shaped);
                    canvas.SetTextColor(clLime);
                    canvas.TextRect(clip, x - 1, y - 1, shaped);
                    canvas.SetTextColor(RGB(20, 40, 160));
                    canvas.TextRect(clip, x, y, shaped);
                });
                const QImage expected = paint([&](Canvas& canvas) {
                    setUp(canvas);
                    canvas.SetTextColor(clRed);
                    canvas.TextRect(clip, x + 2, y + 2, text);
                    canvas.SetTextColor(clLime);
                    canvas.TextRect(clip, x - 1, y - 1, text);
                    canvas.SetTextColor(RGB(20, 40, 160));
                    canvas.TextRect(clip, x, y, text);
                });
                EXPECT_EQ(fromShape, expected);
                if (clip.right == 1000) {
                    EXPECT_NE(expected, paint([](Canvas&) {}));  // something was drawn at all
                }
            }
}

TEST(ShapedText, IsShapedOnlyForItsTextFontAndDevice) {
    QImage image(10, 10, QImage::Format_RGB32);
    QPainter painter(&image);
    Canvas canvas(&painter);
    canvas.SetFont(QStringLiteral("Arial"), -13, 0, clBlack);
    const ShapedText shaped = canvas.ShapeText(QStringLiteral("Text"));
    EXPECT_TRUE(canvas.IsShaped(shaped, QStringLiteral("Text")));
    EXPECT_FALSE(canvas.IsShaped(shaped, QStringLiteral("Texts")));
    EXPECT_FALSE(canvas.IsShaped(ShapedText(), QString()));
    canvas.SetFont(QStringLiteral("Arial"), -13, 0, clRed, 900);  // colour and escapement: still shaped
    EXPECT_TRUE(canvas.IsShaped(shaped, QStringLiteral("Text")));
    canvas.SetFont(QStringLiteral("Arial"), -14, 0, clBlack);
    EXPECT_FALSE(canvas.IsShaped(shaped, QStringLiteral("Text")));

    QImage print(10, 10, QImage::Format_RGB32);
    print.setDotsPerMeterX(11811);
    print.setDotsPerMeterY(11811);
    QPainter printPainter(&print);
    Canvas printCanvas(&printPainter);
    printCanvas.SetFont(QStringLiteral("Arial"), -13, 0, clBlack);
    EXPECT_FALSE(printCanvas.IsShaped(shaped, QStringLiteral("Text")));

    // A picture records text, not pixels: what is shaped for it is not what a bitmap draws.
    QPicture picture;
    QPainter picturePainter(&picture);
    Canvas pictureCanvas(&picturePainter);
    pictureCanvas.SetFont(QStringLiteral("Arial"), -13, 0, clBlack);
    EXPECT_FALSE(pictureCanvas.IsShaped(shaped, QStringLiteral("Text")));
    EXPECT_FALSE(canvas.IsShaped(pictureCanvas.ShapeText(QStringLiteral("Text")), QStringLiteral("Text")));
}
