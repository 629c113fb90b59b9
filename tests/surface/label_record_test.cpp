// The text label's object record: the exact bytes of a default label, a faithful read-back, and
// depths from damaged records that no dialog can produce.
#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QPainter>
#include <climits>
#include <cstdlib>

#include "surface/object_menus.h"
#include "platform/canvas.h"
#include "surface/label.h"
#include "surface/object_host.h"
#include "surface/object_stream.h"

namespace plennix {
namespace {

QByteArray str(const QByteArray& s) { return char(s.size()) + s; }
QByteArray prop(const QByteArray& name, const QByteArray& value) { return str(name) + value; }
QByteArray ident(const QByteArray& s) { return '\x07' + str(s); }

TEST(LabelRecord, DefaultLabelWritesExactlyItsStoredProperties) {
    RegisterLabelClasses();
    TGPLabel label;
    label.SetBounds(100, 20, 142, 33);
    QByteArray expected = QByteArray("TPF0") + str("TGPLabel") + str("");
    expected += prop("Left", QByteArray::fromHex("0264"));
    expected += prop("Top", QByteArray::fromHex("0214"));
    expected += prop("Width", QByteArray::fromHex("038e00"));
    // Placing the label lays it out: its height is the one its text needs.
    ASSERT_LT(label.Height(), 128);
    expected += prop("Height", QByteArray::fromHex("02") + char(label.Height()));
    expected += prop("Locked", QByteArray::fromHex("08"));
    expected += prop("Unselectable", QByteArray::fromHex("08"));
    expected += prop("Caption", QByteArray::fromHex("0604") + "Text");
    expected += prop("Font.Color", ident("clBlack"));
    expected += prop("Font.Height", QByteArray::fromHex("02f3"));
    expected += prop("Font.Name", QByteArray::fromHex("0605") + "Arial");
    expected += prop("Font.Style", QByteArray::fromHex("0b00"));
    expected += prop("Transparent", QByteArray::fromHex("09"));
    expected += prop("BackColor", ident("clWhite"));
    expected += prop("BorderStyle", ident("bsNone"));
    expected += QByteArray::fromHex("0000");
    EXPECT_EQ(WriteObjectRecord(label).toHex(' '), expected.toHex(' '));
}

TEST(LabelRecord, ReadBackKeepsEveryPropertyAndTheFittedBox) {
    RegisterLabelClasses();
    TGPLabel label;
    label.SetCaption(QStringLiteral("Rotated"));
    label.SetAngle(90);
    // A box fitted at 90 degrees may be wider than tall; reading it back must not swap it again.
    label.SetBounds(30, 40, 24, 20);
    label.SetDirectionShadow(sdDown);
    label.SetDepthShadow(3);
    label.SetDirectionHighlight(hdNone);
    label.SetDepthHighlight(2);
    label.SetcolorShadow(RGB(0x12, 0x34, 0x56));
    label.SetcolorHighlight(clNavy);
    label.SetBackColor(clYellow);
    label.SetTransparent(false);
    label.SetBorderStyle(bsSingle);
    FontRecord f = label.Font();
    f.style = fsBold | fsItalic;
    f.setSize(14);
    label.SetFont(f);

    QByteArray list;
    WriteObjectList(list, {&label});
    QObject owner;
    TGObjectHost host;
    StreamReader in(list);
    const auto objs = ReadObjectList(in, &owner, &host.ObjectList(), &owner, false);
    ASSERT_EQ(objs.size(), 1u);
    auto* copy = qobject_cast<TGPLabel*>(objs[0]);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Caption(), "Rotated");
    EXPECT_EQ(copy->Angle(), 90);
    EXPECT_EQ(copy->BoundsRect(), label.BoundsRect());
    EXPECT_LT(copy->Height(), copy->Width());
    EXPECT_EQ(copy->DirectionShadow(), sdDown);
    EXPECT_EQ(copy->DepthShadow(), 3);
    EXPECT_EQ(copy->DirectionHighlight(), hdNone);
    EXPECT_EQ(copy->DepthHighlight(), 2);
    EXPECT_EQ(copy->CurrentShadowOffset(), (Point{0, 3}));
    EXPECT_EQ(copy->colorShadow(), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(copy->colorHighlight(), clNavy);
    EXPECT_EQ(copy->BackColor(), clYellow);
    EXPECT_FALSE(copy->Transparent());
    EXPECT_EQ(copy->BorderStyle(), bsSingle);
    EXPECT_EQ(copy->Font(), f);
    // Loaded ran: the label's menu is there, with the border ticked.
    ASSERT_NE(ObjectMenuAction(*copy, QStringLiteral("Border")), nullptr);
    EXPECT_TRUE(ObjectMenuAction(*copy, QStringLiteral("Border"))->isChecked());
    // The same properties written again, after the record's names.
    const int skip = 4 + 9 + 1;
    EXPECT_EQ(WriteObjectRecord(*copy).mid(skip + copy->Name().size()), WriteObjectRecord(label).mid(skip));
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
            const auto objs = ReadObjectList(in, &owner, &host.ObjectList(), &owner, false);
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

}  // namespace
}  // namespace plennix

TEST(LabelRecord, AnEmptyCaptionStaysEmptyThroughARecord) {
    using namespace plennix;
    RegisterLabelClasses();
    QObject owner;
    TGObjectHost host;
    TGPLabel label(&owner);
    label.SetCaption(QString());
    label.SetBounds(10, 10, 142, 33);
    QByteArray bytes;
    WriteObjectList(bytes, {&label});
    StreamReader reader(bytes);
    const auto objects = ReadObjectList(reader, &owner, &host.ObjectList(), &owner, false);
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(static_cast<TGPLabel*>(objects[0])->Caption(), QString());
}

TEST(LabelRecord, AnEmptyFontNameKeepsTheFace) {
    using namespace plennix;
    RegisterLabelClasses();
    QByteArray bytes;
    ValueWriter w(bytes);
    w.WriteListBegin();
    w.WriteSignature();
    w.WriteShortString(QStringLiteral("TGPLabel"));
    w.WriteShortString(QString());
    w.WriteShortString(QStringLiteral("Font.Name"));
    w.WriteString(QString());
    w.WriteByte(0);
    w.WriteByte(0);
    w.WriteListEnd();
    QObject owner;
    TGObjectHost host;
    StreamReader reader(bytes);
    const auto objects = ReadObjectList(reader, &owner, &host.ObjectList(), &owner, false);
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(static_cast<TGPLabel*>(objects[0])->Font().name, QStringLiteral("Arial"));
}
