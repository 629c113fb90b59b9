// TGSuperText as an object: what its setters do, its record, and what it paints.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "objects/object_commands.h"
#include "surface/object_menus.h"
#include "objects/super_text.h"
#include "platform/common_dialogs.h"
#include "platform/canvas.h"
#include "platform/stream_error.h"
#include "surface/object_host.h"
#include "surface/object_stream.h"
#include "test_support.h"

namespace plennix {
namespace {

using test::PixelColor;

constexpr TColor kPaper = RGB(200, 200, 200);

QImage paint(TGSuperText& t, int extra = 20) {
    QImage image(t.Width() + extra, t.Height() + extra, QImage::Format_RGB32);
    image.fill(toQColor(kPaper));
    QPainter painter(&image);
    Canvas canvas(&painter);
    t.Paint(canvas);
    return image;
}

int countColor(const QImage& image, TColor color) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += PixelColor(image, x, y) == color;
    return n;
}

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

// A solid red face without outline, big enough to count pixels.
void solidFace(TGSuperText& t) {
    FontRecord f = t.Font();
    f.color = clRed;
    t.SetFont(f);
    t.SetSurfaceType(stNormal);
    t.SetOutlineStyle(PenStyle::psClear);
    t.SetCaption(QStringLiteral("HI"));
    t.SetBounds(0, 0, 200, 100);
}

TEST(SuperTextObject, ConstructorValues) {
    TGSuperText t;
    EXPECT_EQ(t.Width(), 142);
    EXPECT_EQ(t.Height(), 33);
    EXPECT_EQ(t.Caption(), QStringLiteral("Text"));
    EXPECT_EQ(t.Font().name, QStringLiteral("Arial"));
    EXPECT_EQ(t.Font().size(), 48);
    EXPECT_EQ(t.Font().style, fsBold);
    EXPECT_EQ(t.SurfaceType(), stGradientFill);
    EXPECT_EQ(t.ShadowOrientation(), sdDownRight);
    EXPECT_EQ(t.Shadowcolor(), 0x808080);
    EXPECT_TRUE(t.ControlTransparent());
    EXPECT_EQ(t.BorderStyle(), bsNone);
    EXPECT_EQ(t.GradientFromColor(), clBlue);
    EXPECT_EQ(t.GradientToColor(), clYellow);
    EXPECT_TRUE(t.LayoutDirty());
    std::unique_ptr<TGSuperText> tool(TGSuperText::CreateForTool(nullptr));
    EXPECT_EQ(tool->BorderStyle(), bsSingle);
    EXPECT_FALSE(tool->ControlTransparent());
    EXPECT_EQ(tool->BGColor(), clWhite);
}

TEST(SuperTextObject, SurfaceTypeKeepsTextureOnlyForTextureAndNeverHidesTheText) {
    TGSuperText t;
    QImage tex(8, 8, QImage::Format_RGB32);
    tex.fill(Qt::green);
    t.SetSurfaceType(stBrushImage);
    t.SetImage(tex);
    EXPECT_EQ(t.Image().width(), 8);
    t.SetSurfaceType(stNormal);
    EXPECT_TRUE(t.Image().isNull());
    t.SetSurfaceType(stBrushImage);
    EXPECT_TRUE(t.Image().isNull());

    t.SetOutlineStyle(PenStyle::psClear);
    t.SetSurfaceType(stBrushTransparent);
    EXPECT_EQ(t.OutlineStyle(), PenStyle::psSolid);

    EXPECT_TRUE(t.GradientStrip().isNull() || t.SurfaceType() != stGradientFill);
    t.SetSurfaceType(stGradientFill);
    EXPECT_FALSE(t.GradientStrip().isNull());
    // A bounds change of nothing is corrected and laid out at once, as the next paint would.
    t.SetBounds(10, 10, 0, -4);
    EXPECT_FALSE(t.LayoutDirty());
    EXPECT_GT(t.Width(), 5);
    EXPECT_GT(t.Height(), 5);
}

TEST(SuperTextObject, ShadowSettersMoveTheFaceAtOnce) {
    TGSuperText t;
    t.SetBounds(0, 0, 300, 100);
    EXPECT_FALSE(t.LayoutDirty());
    t.SetShadowDepth(6);
    EXPECT_FALSE(t.LayoutDirty());
    t.SetShadowOrientation(sdLeft);
    EXPECT_EQ(t.CurrentShadowOffset(), (Point{-6, 0}));
    EXPECT_EQ(t.Layout().faceOrigin.x, 11);
    EXPECT_EQ(t.Layout().shadowOrigin.x, 5);
    // A negative depth draws no shadow, but its offset still moves the face.
    t.SetShadowDepth(-4);
    t.SetShadowOrientation(sdDownRight);
    EXPECT_EQ(t.Layout().textOffset, (Point{4, 4}));
}

// What the layout depends on lays the object out when it changes, so that the size kept (and saved) is
// the size shown: a see-through borderless box shrinks to its text at once.
TEST(SuperTextObject, TransparencyAndBorderLayTheBoxOutAtOnce) {
    std::unique_ptr<TGSuperText> t(TGSuperText::CreateForTool(nullptr));
    t->SetBounds(0, 0, 300, 200);
    EXPECT_EQ(t->Height(), 200);
    t->SetControlTransparent(true);
    EXPECT_EQ(t->Height(), 200);  // the border still holds it
    t->SetBorderStyle(bsNone);
    EXPECT_FALSE(t->LayoutDirty());
    const int shrunk = t->Height();
    EXPECT_LT(shrunk, 200);
    t->SetCaption(QStringLiteral("Gj"));
    EXPECT_FALSE(t->LayoutDirty());
    // The next paint finds nothing to change.
    QImage image(400, 300, QImage::Format_RGB32);
    QPainter painter(&image);
    Canvas canvas(&painter);
    t->Paint(canvas);
    EXPECT_EQ(t->Height(), shrunk);
}

TEST(SuperTextObject, ZoomScalesFontAndShadowButNotTheOutline) {
    TGSuperText t;
    t.SetShadowDepth(5);
    t.SetZoomField(1.5f);
    EXPECT_EQ(t.DrawingFont().size(), 72);
    t.SetBounds(0, 0, 400, 200);
    t.Relayout();
    EXPECT_EQ(t.Layout().shadowOrigin.x - t.Layout().faceOrigin.x, 7);
    EXPECT_EQ(t.Layout().shadowOrigin.y - t.Layout().faceOrigin.y, 7);
}

TEST(SuperTextPaint, SolidFaceShadowAndOutlineInTheirColours) {
    TGSuperText t;
    solidFace(t);
    QImage plain = paint(t);
    const int faceOnly = countColor(plain, clRed);
    EXPECT_GT(faceOnly, 300);
    EXPECT_EQ(countColor(plain, clLime), 0);

    // The shadow falls down and right; the face covers it where they overlap.
    t.SetShadowcolor(clLime);
    t.SetShadowDepth(4);
    QImage shadowed = paint(t);
    const Rect face = boxOf(shadowed, clRed), shadow = boxOf(shadowed, clLime);
    EXPECT_GT(countColor(shadowed, clLime), 50);
    EXPECT_EQ(shadow.right - face.right, 4);
    EXPECT_EQ(shadow.bottom - face.bottom, 4);

    // Depth 0 or orientation none: no shadow.
    t.SetShadowOrientation(sdNone);
    EXPECT_EQ(countColor(paint(t), clLime), 0);
    t.SetShadowOrientation(sdDown);
    t.SetShadowDepth(0);
    EXPECT_EQ(countColor(paint(t), clLime), 0);

    // A clear outline draws nothing, a solid one draws around the letters over the face.
    t.SetOutlineColor(clBlue);
    EXPECT_EQ(countColor(paint(t), clBlue), 0);
    t.SetOutlineStyle(PenStyle::psSolid);
    t.SetOutlineWidth(2);
    QImage outlined = paint(t);
    EXPECT_GT(countColor(outlined, clBlue), 100);
    t.SetOutlineWidth(0);
    EXPECT_EQ(countColor(paint(t), clBlue), 0);
}

TEST(SuperTextPaint, KeptPictureFollowsChangesMadeWithoutARepaint) {
    // Painting keeps the drawn look; a change that reaches the object while a record is read (no
    // repaint) or a zoom or size change must still show on the next paint.
    TGSuperText t;
    solidFace(t);
    paint(t);  // the first paint settles the size
    const QImage first = paint(t);
    EXPECT_EQ(paint(t), first);
    t.SetLoading(true);
    FontRecord f = t.Font();
    f.color = clBlue;
    t.SetFont(f);
    t.SetLoading(false);
    QImage blue = paint(t);
    EXPECT_EQ(countColor(blue, clRed), 0);
    EXPECT_EQ(countColor(blue, clBlue), countColor(first, clRed));
    t.SetZoomField(2.0f);
    t.SetLayoutDirty();
    EXPECT_GT(countColor(paint(t, 200), clBlue), 2 * countColor(first, clRed));
    t.SetZoomField(1.0f);
    t.SetLayoutDirty();
    t.SetBounds(0, 0, 40, 100);
    EXPECT_LT(countColor(paint(t), clBlue), countColor(blue, clBlue));
}

TEST(SuperTextPaint, TransparentSurfaceLeavesTheLettersHollow) {
    TGSuperText t;
    solidFace(t);
    t.SetSurfaceType(stBrushTransparent);
    t.SetOutlineColor(clBlue);
    QImage image = paint(t);
    EXPECT_EQ(countColor(image, clRed), 0);
    EXPECT_GT(countColor(image, clBlue), 50);
    // Inside the outline the paper shows.
    const Rect outline = boxOf(image, clBlue);
    EXPECT_GT(countColor(image.copy(toQRect(outline)), kPaper), 100);
}

TEST(SuperTextPaint, BackgroundBorderAndPlaceholder) {
    TGSuperText t;
    solidFace(t);
    t.SetControlTransparent(false);
    t.SetBGColor(clYellow);
    QImage image = paint(t);
    EXPECT_EQ(PixelColor(image, 1, 1), clYellow);
    EXPECT_EQ(PixelColor(image, t.Width() + 2, 2), kPaper);
    t.SetBorderStyle(bsSingle);
    image = paint(t);
    EXPECT_EQ(PixelColor(image, 0, t.Height() / 2), clBlack);
    EXPECT_EQ(PixelColor(image, t.Width() - 1, t.Height() / 2), clBlack);

    TGSuperText empty;
    empty.SetCaption(QString());
    empty.SetBounds(0, 0, 100, 60);
    QImage ph = paint(empty);
    EXPECT_EQ(PixelColor(ph, 0, 0), clBlack);
    // Both diagonals cross the quarter row at a quarter and three quarters of the width.
    const int quarter = empty.Height() / 4;
    const auto blackNear = [&](int x, int y) {
        for (int dx = -1; dx <= 1; ++dx)
            if (PixelColor(ph, x + dx, y) == clBlack) return true;
        return false;
    };
    EXPECT_TRUE(blackNear(25, quarter));
    EXPECT_TRUE(blackNear(75, quarter));
    EXPECT_EQ(PixelColor(ph, 50, quarter), kPaper);
    EXPECT_EQ(PixelColor(ph, 99, quarter), clBlack);
}

TEST(SuperTextPaint, GradientAndTextureFillTheGlyphs) {
    TGSuperText t;
    solidFace(t);
    t.SetSurfaceType(stGradientFill);
    t.SetFillDirection(gdRight);
    t.SetGradientFromColor(clRed);
    t.SetGradientToColor(clBlue);
    t.SetCaption(QStringLiteral("IIIIIIIIIIIIII"));
    t.SetBounds(0, 0, 400, 100);
    QImage image = paint(t);
    // Letters at the left are nearly red, letters at the right nearly blue.
    const int row = t.Height() / 2;
    int first = -1, last = -1;
    for (int x = 0; x < t.Width(); ++x)
        if (PixelColor(image, x, row) != kPaper) {
            if (first < 0) first = x;
            last = x;
        }
    ASSERT_GE(first, 0);
    const QColor left = image.pixelColor(first, row), right = image.pixelColor(last, row);
    EXPECT_GT(left.red(), 220);
    EXPECT_LT(left.blue(), 40);
    EXPECT_GT(right.blue(), left.blue() + 100);
    EXPECT_LT(right.red(), left.red() - 100);

    QImage tex(32, 32, QImage::Format_RGB32);
    tex.fill(toQColor(clLime));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) tex.setPixelColor(x, y, toQColor(clFuchsia));
    t.SetSurfaceType(stBrushImage);
    t.SetImage(tex);
    t.SetCaption(QStringLiteral("\u2588\u2588\u2588"));
    t.SetZoomField(1.5f);
    QImage tiled = paint(t);
    // At 1.5 the 32-pixel texture tiles at 48: the fuchsia quarter spans 24 pixels from each tile's corner.
    EXPECT_EQ(PixelColor(tiled, 50, 12), clFuchsia);
    EXPECT_EQ(PixelColor(tiled, 71, 12), clFuchsia);
    EXPECT_EQ(PixelColor(tiled, 73, 12), clLime);
    EXPECT_EQ(PixelColor(tiled, 96 + 10, 12), clFuchsia);
    EXPECT_EQ(PixelColor(tiled, 50, 30), clLime);
    // An empty texture draws no fill.
    t.SetImage(QImage());
    QImage none = paint(t);
    EXPECT_EQ(countColor(none, clLime) + countColor(none, clFuchsia), 0);
}

TEST(SuperTextPaint, CaptionWiderThanTheObjectIsCutAtTheRight) {
    TGSuperText t;
    solidFace(t);
    t.SetCaption(QStringLiteral("HHHHHHHHHH"));
    t.SetBounds(0, 0, 150, 100);
    QImage image = paint(t, 400);
    const Rect r = boxOf(image, clRed);
    EXPECT_LE(r.right, 150);
    EXPECT_GT(r.right, 80);
}

TEST(SuperTextRecord, RoundTripWithTextureAndDump) {
    RegisterSuperTextClass();
    TGSuperText t;
    t.SetName(QStringLiteral("Component3"));
    t.SetBounds(10, 20, 300, 90);
    t.SetCaption(QStringLiteral("März"));
    t.SetShadowDepth(3);
    t.SetShadowOrientation(sdLeft);
    t.SetOutlineStyle(PenStyle::psDashDot);
    t.SetOutlineWidth(2);
    t.SetFillDirection(gdUp);
    t.SetSurfaceType(stBrushImage);
    QImage tex(16, 8, QImage::Format_RGB32);
    tex.fill(toQColor(RGB(10, 120, 230)));
    t.SetImage(tex);
    t.SetLastBitmapFileNameandPath(QStringLiteral("/tmp/wood.bmp"));

    QByteArray bytes;
    WriteObjectList(bytes, {&t});
    QObject owner;
    TGObjectHost host;
    StreamReader in(bytes);
    const auto objs = ReadObjectList(in, &owner, &host.ObjectList(), &owner, false);
    ASSERT_EQ(objs.size(), 1u);
    auto* back = qobject_cast<TGSuperText*>(objs[0]);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->Caption(), QStringLiteral("März"));
    EXPECT_EQ(back->ShadowDepth(), 3);
    EXPECT_EQ(back->ShadowOrientation(), sdLeft);
    EXPECT_EQ(back->OutlineStyle(), PenStyle::psDashDot);
    EXPECT_EQ(back->FillDirection(), gdUp);
    EXPECT_EQ(back->SurfaceType(), stBrushImage);
    ASSERT_EQ(back->Image().size(), QSize(16, 8));
    EXPECT_EQ(fromQColor(back->Image().pixelColor(3, 3)), RGB(10, 120, 230));
    EXPECT_EQ(back->LastBitmapFileNameandPath(), QStringLiteral("/tmp/wood.bmp"));
    EXPECT_EQ(back->Font(), t.Font());
    EXPECT_EQ(back->Width(), 300);

    QByteArray again;
    back->SetName(t.Name());
    WriteObjectList(again, {back});
    EXPECT_EQ(again, bytes);

    StreamReader dump(bytes);
    const QString text = ObjectListToText(dump);
    for (const char* line : {"object Component3: TGSuperText", "ShadowDepth = 3", "ShadowOrientation = sdLeft",
                             "ControlTransparent = True", "BGColor = clWhite", "Font.Style = [fsBold]",
                             "FillDirection = gdUp", "GradientToColor = clYellow", "GradientFromColor = clBlue",
                             "Image.Data = {", "OutlineStyle = psDashDot", "SurfaceType = stBrushImage"})
        EXPECT_TRUE(text.contains(QLatin1String(line))) << line << "\n" << text.toStdString();
    // Defaults of the first three are left out; Shadowcolor is grey.
    EXPECT_FALSE(text.contains(QLatin1String("Shadowcolor")));
}

TEST(SuperTextRecord, EmptyCaptionStaysEmptyAndOtherTypesDropTheTexture) {
    RegisterSuperTextClass();
    TGSuperText t;
    t.SetCaption(QString());
    QByteArray bytes;
    WriteObjectList(bytes, {&t});
    QObject owner;
    StreamReader in(bytes);
    auto objs = ReadObjectList(in, &owner, nullptr, &owner, false);
    ASSERT_EQ(objs.size(), 1u);
    EXPECT_EQ(qobject_cast<TGSuperText*>(objs[0])->Caption(), QString());

    // A record whose texture comes before a surface type other than texture keeps no texture.
    TGSuperText textured;
    textured.SetSurfaceType(stBrushImage);
    QImage tex(4, 4, QImage::Format_RGB32);
    tex.fill(Qt::red);
    textured.SetImage(tex);
    QByteArray rec;
    WriteObjectList(rec, {&textured});
    ASSERT_TRUE(rec.contains("\x0cstBrushImage"));
    rec.replace(QByteArray("\x0cstBrushImage"), QByteArray("\x08stNormal"));
    StreamReader in2(rec);
    objs = ReadObjectList(in2, &owner, nullptr, &owner, false);
    ASSERT_EQ(objs.size(), 1u);
    EXPECT_TRUE(qobject_cast<TGSuperText*>(objs[0])->Image().isNull());
    EXPECT_EQ(qobject_cast<TGSuperText*>(objs[0])->SurfaceType(), stNormal);
}

TEST(SuperTextObject, MenuEntriesAndTicks) {
    RegisterDecorativeObjectCommands();
    TGSuperText t;
    for (const char* c : {"Font", "Transparent", "Background Color", "Border", "Properties"})
        EXPECT_NE(ObjectMenuAction(t, QLatin1String(c)), nullptr) << c;
    UpdateObjectMenu(t);
    EXPECT_TRUE(ObjectMenuAction(t, QStringLiteral("Transparent"))->isChecked());
    EXPECT_FALSE(ObjectMenuAction(t, QStringLiteral("Border"))->isChecked());
    ObjectMenuAction(t, QStringLiteral("Border"))->trigger();
    EXPECT_EQ(t.BorderStyle(), bsSingle);
    ObjectMenuAction(t, QStringLiteral("Transparent"))->trigger();
    EXPECT_FALSE(t.ControlTransparent());
    UpdateObjectMenu(t);
    EXPECT_TRUE(ObjectMenuAction(t, QStringLiteral("Border"))->isChecked());
    EXPECT_FALSE(ObjectMenuAction(t, QStringLiteral("Transparent"))->isChecked());

    t.SetControlTransparent(true);
    SetColorChooser([](TColor, QWidget*) { return std::optional<TColor>(clTeal); });
    ObjectMenuAction(t, QStringLiteral("Background Color"))->trigger();
    SetColorChooser(nullptr);
    EXPECT_EQ(t.BGColor(), clTeal);
    EXPECT_FALSE(t.ControlTransparent());

    t.Relayout();
    SetFontChooser([](const FontRecord& f, QWidget*) {
        FontRecord chosen = f;
        chosen.setSize(20);
        return std::optional<FontRecord>(chosen);
    });
    ObjectMenuAction(t, QStringLiteral("Font"))->trigger();
    SetFontChooser(nullptr);
    EXPECT_EQ(t.Font().size(), 20);
    EXPECT_FALSE(t.LayoutDirty());
}

TEST(SuperTextObject, AssignFromCopiesLookTextAndSize) {
    TGSuperText a, b;
    a.SetCaption(QStringLiteral("Jan"));
    a.SetShadowDepth(4);
    a.SetShadowOrientation(sdDown);
    a.SetOutlineWidth(3);
    a.SetSurfaceType(stBrushImage);
    QImage tex(4, 4, QImage::Format_RGB32);
    tex.fill(Qt::red);
    a.SetImage(tex);
    a.SetBounds(5, 5, 250, 80);
    b.AssignFrom(a);
    EXPECT_EQ(b.Caption(), QStringLiteral("Jan"));
    EXPECT_EQ(b.ShadowDepth(), 4);
    EXPECT_EQ(b.ShadowOrientation(), sdDown);
    EXPECT_EQ(b.OutlineWidth(), 3);
    EXPECT_EQ(b.SurfaceType(), stBrushImage);
    EXPECT_EQ(b.Image().size(), QSize(4, 4));
    EXPECT_EQ(b.Width(), 250);
    EXPECT_EQ(b.Left(), 0);
}

}  // namespace
}  // namespace plennix
