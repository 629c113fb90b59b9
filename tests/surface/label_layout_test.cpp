// Text label layout: offsets, margins, box fitting at the four angles, rotation, growing to fit the
// caption, and the zoomed drawing font.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QFontComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

#include "surface/label_commands.h"
#include "surface/object_menus.h"
#include "platform/canvas.h"
#include "platform/common_dialogs.h"
#include "surface/label.h"
#include "surface/label_dialogs.h"

namespace plennix {
namespace {

LabelLayoutInput input(int angle, int width, int height, int L = 17, int T = 40) {
    LabelLayoutInput in;
    in.angle = angle;
    in.width = width;
    in.height = height;
    in.lineHeight = L;
    in.textWidth = T;
    return in;
}

void paintLabel(TGBaseLabel& label) {
    QImage image(300, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    Canvas canvas(&painter);
    label.Paint(canvas);
}

TEST(LabelLayout, MarginsAndNeededDepthMakeRoomForTheCopies) {
    LabelLayoutInput in = input(0, 142, 33);
    in.highlightOffset = HighlightOffset(hdUpLeft, 3);
    in.shadowOffset = ShadowOffset(sdDownRight, 1);
    const LabelLayout l = ComputeLabelLayout(in);
    EXPECT_EQ(l.margin, (Point{3, 3}));
    EXPECT_EQ(l.neededDepth, 17 + 4);
    // M = 21 * 1.2 = 25.2 is less than 33: the height shrinks to 25; the width stays.
    EXPECT_EQ(l.width, 142);
    EXPECT_EQ(l.height, 25);
    EXPECT_EQ(l.textRect, Rect(3, 3, 142, 20));
    EXPECT_EQ(l.shadowRect, Rect(4, 4, 143, 21));
    EXPECT_EQ(l.highlightRect, Rect(0, 0, 139, 17));
    EXPECT_EQ(l.textOrigin, (Point{3, 3}));
    EXPECT_EQ(l.shadowOrigin, (Point{4, 4}));
    EXPECT_EQ(l.highlightOrigin, (Point{0, 0}));
}

TEST(LabelLayout, FlatBoxIsNeverLowerThanTheNeededDepthAndNarrowBoxesTakeTheTextWidth) {
    const LabelLayout low = ComputeLabelLayout(input(0, 100, 4));
    EXPECT_EQ(low.height, 17);
    const LabelLayout narrow = ComputeLabelLayout(input(0, 5, 30));
    EXPECT_EQ(narrow.width, 40);
    EXPECT_EQ(narrow.height, 20);  // 17 * 1.2 = 20.4, truncated
}

TEST(LabelLayout, AlignmentPlacesTheCopiesAtAngleZero) {
    LabelLayoutInput in = input(0, 142, 33);
    in.shadowOffset = ShadowOffset(sdRight, 2);
    in.highlightOffset = HighlightOffset(hdLeft, 1);
    in.alignment = taRightJustify;
    LabelLayout l = ComputeLabelLayout(in);
    // Text rectangle (1, 0, 142, 17): x = right - T.
    EXPECT_EQ(l.textOrigin.x, 142 - 40);
    EXPECT_EQ(l.shadowOrigin.x, 142 - 40 + 2);
    EXPECT_EQ(l.highlightOrigin.x, 142 - 40 - 1);
    in.alignment = taCenter;
    l = ComputeLabelLayout(in);
    EXPECT_EQ(l.textOrigin.x, (142 - 1) / 2 - 20);
    EXPECT_EQ(l.shadowOrigin.x, (142 - 1) / 2 - 20 + 2);
}

TEST(LabelLayout, RotatedBoxesFitTheTextAndPlaceTheOrigins) {
    // 90: the height shrinks to T * 1.2, the width to M; the text runs up from the bottom left.
    LabelLayout l = ComputeLabelLayout(input(90, 33, 142));
    EXPECT_EQ(l.width, 20);
    EXPECT_EQ(l.height, 48);
    EXPECT_EQ(l.textRect, Rect(0, -1, 17, 47));  // moved by height - h = 48 - 49
    EXPECT_EQ(l.textOrigin, (Point{0, 47}));

    // 180: the width shrinks to 2 * T; the text runs left from the bottom right.
    l = ComputeLabelLayout(input(180, 142, 33));
    EXPECT_EQ(l.width, 80);
    EXPECT_EQ(l.height, 20);
    EXPECT_EQ(l.textRect, Rect(-1, 0, 79, 17));  // moved by width - w = 80 - 81
    EXPECT_EQ(l.textOrigin, (Point{79, 17}));

    // 270: runs down from the top right.
    l = ComputeLabelLayout(input(270, 33, 142));
    EXPECT_EQ(l.textRect, Rect(0, 0, 17, 48));
    EXPECT_EQ(l.textOrigin, (Point{17, 0}));

    // A vertical box lower than 5 pixels takes the text width.
    l = ComputeLabelLayout(input(90, 30, 4, 17, 2));
    EXPECT_EQ(l.height, 2);
    l = ComputeLabelLayout(input(270, 30, 3));
    EXPECT_EQ(l.height, 40);
}

TEST(LabelLayout, OffsetsTurnWithTheText) {
    for (int angle : {0, 90, 180, 270}) {
        LabelLayoutInput in = input(angle, 60, 60);
        in.shadowOffset = {2, 5};
        const LabelLayout l = ComputeLabelLayout(in);
        const int dx = l.shadowRect.left - l.textRect.left;
        const int dy = l.shadowRect.top - l.textRect.top;
        switch (angle) {
        case 0: EXPECT_EQ(dx, 2); EXPECT_EQ(dy, 5); break;
        case 90: EXPECT_EQ(dx, 5); EXPECT_EQ(dy, -2); break;
        case 180: EXPECT_EQ(dx, -2); EXPECT_EQ(dy, -5); break;
        case 270: EXPECT_EQ(dx, -5); EXPECT_EQ(dy, 2); break;
        }
    }
}

TEST(LabelObject, SetAngleTakesOnlyRightAnglesAndSwapsTheBox) {
    TGPLabel label;
    label.SetAlignment(taCenter);
    label.SetAngle(45);
    EXPECT_EQ(label.Angle(), 0);
    EXPECT_EQ(label.Width(), 142);
    EXPECT_EQ(label.Alignment(), taCenter);

    const int wide = label.Width(), high = label.Height();
    label.SetAngle(90);
    EXPECT_EQ(label.Angle(), 90);
    EXPECT_EQ(label.Alignment(), taLeftJustify);
    // The box is swapped and at once fitted further around the rotated text.
    EXPECT_FALSE(label.LayoutDirty());
    EXPECT_LE(label.Width(), high);
    EXPECT_LE(label.Height(), wide);
    EXPECT_LE(label.Width(), 33);
    EXPECT_LE(label.Height(), 142);
    EXPECT_LT(label.Width(), label.Height());

    // 90 -> 270 keeps a tall box; 270 -> 180 makes it wide again.
    const int w = label.Width(), h = label.Height();
    label.SetAngle(270);
    EXPECT_EQ(label.Width(), w);
    EXPECT_EQ(label.Height(), h);
    label.SetAngle(180);
    EXPECT_EQ(label.Width(), h);
    EXPECT_EQ(label.Height(), w);
}

TEST(LabelObject, BoundsNeverDropBelowOnePixel) {
    TGPLabel label;
    label.SetBounds(0, 0, 0, -5);
    // Corrected, then laid out at once around the text.
    EXPECT_GE(label.Width(), 1);
    EXPECT_GE(label.Height(), 1);
    EXPECT_FALSE(label.LayoutDirty());
}

TEST(LabelObject, ABoxBelowFivePixelsIsLaidOutBeforeEveryPaint) {
    TGPLabel label;
    paintLabel(label);
    EXPECT_FALSE(label.LayoutDirty());
    // Bounds set while the label is read do not mark the layout; the paint must still catch it.
    label.SetLoading(true);
    label.SetBounds(0, 0, label.Width(), 4);
    label.SetLoading(false);
    EXPECT_FALSE(label.LayoutDirty());
    paintLabel(label);
    EXPECT_EQ(label.Height(), label.Layout().neededDepth);
}

TEST(LabelObject, DrawingFontScalesWithZoomTruncated) {
    TGPLabel label;
    EXPECT_EQ(label.DrawingFont().height, -13);
    label.SetZoomField(0.5f);
    EXPECT_EQ(label.DrawingFont().size(), 5);
    EXPECT_EQ(label.DrawingFont().height, PointsToHeight(5));
    label.SetZoomField(0.7f);  // the float 0.69999999 gives 6.9999999, truncated to 6
    EXPECT_EQ(label.DrawingFont().size(), 6);
    // The record itself keeps its size, and a tiny zoom never asks for a zero (default) height.
    EXPECT_EQ(label.Font().size(), 10);
    label.SetZoomField(0.05f);
    EXPECT_EQ(label.DrawingFont().size(), 1);
}

// The text dialog answered by a runner that types `text` and presses OK (or Cancel).
struct TextAnswer {
    explicit TextAnswer(QString text, bool ok = true) {
        SetModalDialogRunner([text, ok](QDialog& d) {
            auto& dialog = dynamic_cast<TGetLabelText&>(d);
            dialog.LabelText->setText(text);
            (ok ? dialog.OKButton : dialog.Cancelbutton)->click();
            return dialog.result();
        });
    }
    ~TextAnswer() { SetModalDialogRunner(nullptr); }
};

TEST(LabelObject, EditingTheTextGrowsTheBoxButNeverShrinksIt) {
    TGPLabel label;
    label.Loaded();
    label.SetBounds(10, 10, 60, 20);
    paintLabel(label);
    const int startWidth = label.Width();
    {
        TextAnswer answer(QStringLiteral("A much longer caption than before"));
        EditLabelCaption(label);
    }
    EXPECT_EQ(label.Caption(), "A much longer caption than before");
    const int grownWidth = label.Width();
    EXPECT_GT(grownWidth, startWidth);
    const int grownHeight = label.Height();
    {
        TextAnswer answer(QStringLiteral("Hi"));
        ObjectMenuAction(label, QStringLiteral("Text"))->trigger();
    }
    EXPECT_EQ(label.Caption(), "Hi");
    EXPECT_EQ(label.Width(), grownWidth);
    EXPECT_EQ(label.Height(), grownHeight);
    {
        TextAnswer answer(QStringLiteral("Ignored"), false);
        EditLabelCaption(label);
    }
    EXPECT_EQ(label.Caption(), "Hi");
}

TEST(LabelObject, GrowToFitIsForUnrotatedLabelsOnly) {
    TGPLabel label;
    label.SetCaption(QStringLiteral("A caption much wider than the box"));
    label.SetAngle(90);
    const int w = label.Width(), h = label.Height();
    label.GrowToFit();
    EXPECT_EQ(label.Width(), w);
    EXPECT_EQ(label.Height(), h);
}

TEST(LabelObject, ChoosingAFontGrowsTheBox) {
    TGPLabel label;
    label.Loaded();
    paintLabel(label);
    const int h = label.Height();
    FontRecord big = label.Font();
    big.setSize(24);
    big.color = clRed;
    SetFontChooser([&](const FontRecord& current, QWidget*) {
        EXPECT_EQ(current, label.Font());
        return std::optional<FontRecord>(big);
    });
    ObjectMenuAction(label, QStringLiteral("Font"))->trigger();
    SetFontChooser(nullptr);
    EXPECT_EQ(label.Font(), big);
    EXPECT_GT(label.Height(), h);

    SetFontChooser([](const FontRecord&, QWidget*) { return std::optional<FontRecord>(); });
    ChooseLabelFont(label);
    SetFontChooser(nullptr);
    EXPECT_EQ(label.Font(), big);
}

TEST(LabelObject, FontDialogOffersColourAndOutlineFontsForTurnedText) {
    TGPLabel label;
    FontRecord f = label.Font();
    f.color = clNavy;
    label.SetFont(f);
    label.SetAngle(90);
    std::optional<QFontComboBox::FontFilters> filters;
    SetModalDialogRunner([&](QDialog& d) {
        if (auto* face = d.findChild<QFontComboBox*>(QStringLiteral("fontFace"))) filters = face->fontFilters();
        auto* color = d.findChild<QComboBox*>(QStringLiteral("fontColor"));
        EXPECT_NE(color, nullptr);
        // The dialog shows the label's colour.
        EXPECT_EQ(color ? color->currentData().toInt() : -1, clNavy);
        return int(QDialog::Accepted);
    });
    ChooseLabelFont(label);
    SetModalDialogRunner(nullptr);
    ASSERT_TRUE(filters.has_value());
    EXPECT_EQ(*filters, QFontComboBox::ScalableFonts);
    EXPECT_EQ(label.Font().color, clNavy);
}

TEST(LabelObject, MenuTicksFollowBorderAlignmentAndTransparency) {
    TGPLabel label;
    label.Loaded();
    for (const char* caption : {"Font", "3D Effects", "Left", "Center", "Right", "Transparent", "Background Color",
                                "Border", "Text", "No Rotation", "90 Degrees", "180 Degrees", "270 Degrees"})
        EXPECT_NE(ObjectMenuAction(label, QLatin1String(caption)), nullptr) << caption;

    ObjectMenuAction(label, QStringLiteral("Border"))->trigger();
    EXPECT_EQ(label.BorderStyle(), bsSingle);
    ObjectMenuAction(label, QStringLiteral("Center"))->trigger();
    UpdateObjectMenu(label);
    EXPECT_TRUE(ObjectMenuAction(label, QStringLiteral("Border"))->isChecked());
    EXPECT_TRUE(ObjectMenuAction(label, QStringLiteral("Center"))->isChecked());
    EXPECT_FALSE(ObjectMenuAction(label, QStringLiteral("Left"))->isChecked());

    ObjectMenuAction(label, QStringLiteral("270 Degrees"))->trigger();
    EXPECT_EQ(label.Angle(), 270);
    UpdateObjectMenu(label);
    EXPECT_TRUE(ObjectMenuAction(label, QStringLiteral("Left"))->isChecked());

    SetColorChooser([](TColor, QWidget*) { return std::optional<TColor>(clYellow); });
    ObjectMenuAction(label, QStringLiteral("Background Color"))->trigger();
    SetColorChooser(nullptr);
    EXPECT_EQ(label.BackColor(), clYellow);
    EXPECT_FALSE(label.Transparent());
    EXPECT_FALSE(ObjectMenuAction(label, QStringLiteral("Transparent"))->isChecked());
    ObjectMenuAction(label, QStringLiteral("Transparent"))->trigger();
    EXPECT_TRUE(label.Transparent());
    EXPECT_TRUE(ObjectMenuAction(label, QStringLiteral("Transparent"))->isChecked());
}

TEST(LabelLayoutZoom, AZoomTakenWithoutABoundsChangeRefitsTheCopies) {
    // A clone is painted once at zoom 1.0 before the panel hands it its zoom.
    TGPLabel label;
    QImage image(400, 400, QImage::Format_RGB32);
    QPainter painter(&image);
    Canvas canvas(&painter);
    label.Paint(canvas);
    const int lineAtOne = label.Layout().textRect.bottom - label.Layout().textRect.top;
    EXPECT_FALSE(label.LayoutDirty());

    label.SetZoomField(2.0f);
    EXPECT_TRUE(label.LayoutDirty());
    label.Paint(canvas);
    EXPECT_FALSE(label.LayoutDirty());
    // The 20-point drawing font needs about twice the line of the 10-point one; a copy clipped to the
    // old rectangle would lose the lower half of its letters.
    EXPECT_GT(label.Layout().textRect.bottom - label.Layout().textRect.top, lineAtOne * 3 / 2);
    EXPECT_GE(label.Height(), label.Layout().neededDepth);
}

}  // namespace
}  // namespace plennix
