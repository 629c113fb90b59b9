// Object lists read onto a page whose objects belong to another owner, label records carrying depths
// no dialog can produce, and a label that takes a new zoom without a bounds change.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <climits>
#include <cstdlib>

#include "platform/canvas.h"
#include "surface/label.h"
#include "surface/object_host.h"
#include "surface/object_stream.h"

namespace plennix {
namespace {

TEST(ObjectListNames, StayUniqueWhenTheOwnerIsNotTheNamingOwner) {
    RegisterLabelClasses();
    QObject namingOwner, objectOwner;
    TGObjectHost host;
    auto* existing = new TGPLabel(&objectOwner);
    existing->SetName(QStringLiteral("Component0"));
    existing->SetParent(&host);

    TGPLabel src;
    QByteArray list;
    WriteObjectList(list, {&src, &src});
    StreamReader in(list);
    const auto objs = ReadObjectList(in, &objectOwner, &host, &namingOwner, false);
    ASSERT_EQ(objs.size(), 2u);
    EXPECT_EQ(objs[0]->Name(), QStringLiteral("Component1"));
    EXPECT_EQ(objs[1]->Name(), QStringLiteral("Component2"));
}

TEST(LabelRecordDepths, ExtremeDepthsKeepTheLayoutInRange) {
    RegisterLabelClasses();
    struct Case {
        TShadowDirection shadow;
        int shadowDepth;
        THighlightDirection highlight;
        int highlightDepth;
    };
    const Case cases[] = {
        {sdLeft, INT_MIN, hdLeft, INT_MIN},
        {sdDownRight, INT_MAX, hdUpLeft, INT_MAX},
        {sdDownLeft, INT_MIN, hdUp, INT_MIN},
        {sdDown, INT_MAX, hdUpRight, INT_MIN},
    };
    for (const Case& c : cases) {
        for (int angle : {0, 90, 180, 270}) {
            TGPLabel label;
            label.SetAngle(angle);
            label.SetDirectionShadow(c.shadow);
            label.SetDepthShadow(c.shadowDepth);
            label.SetDirectionHighlight(c.highlight);
            label.SetDepthHighlight(c.highlightDepth);
            // Through a record, as a damaged document would bring them.
            QByteArray list;
            WriteObjectList(list, {&label});
            StreamReader in(list);
            QObject owner;
            TGObjectHost host;
            const auto objs = ReadObjectList(in, &owner, &host, &owner, false);
            ASSERT_EQ(objs.size(), 1u);
            auto* read = static_cast<TGPLabel*>(objs[0]);
            EXPECT_EQ(read->DepthShadow(), c.shadowDepth);
            const Point s = read->CurrentShadowOffset(), h = read->CurrentHighlightOffset();
            for (int v : {s.x, s.y, h.x, h.y}) EXPECT_LE(std::abs(v), 32767);

            QImage image(50, 50, QImage::Format_RGB32);
            QPainter painter(&image);
            Canvas canvas(&painter);
            read->Paint(canvas);
            const LabelLayout& l = read->Layout();
            SCOPED_TRACE(angle);
            EXPECT_GE(l.margin.x, 0);
            EXPECT_GE(l.margin.y, 0);
            EXPECT_LE(std::abs(l.neededDepth), 100000);
            EXPECT_GT(read->Width(), 0);
            EXPECT_GT(read->Height(), 0);
        }
    }
    EXPECT_EQ(ShadowOffset(sdDownRight, 5), (Point{5, 5}));
    EXPECT_EQ(HighlightOffset(hdUpLeft, 40000), (Point{-32767, -32767}));
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
