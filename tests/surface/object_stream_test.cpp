// The tagged-value encoding of object records: exact bytes written, values read back, and the
// errors a broken or hostile stream ends in.
#include <gtest/gtest.h>

#include <QObject>
#include <cmath>
#include <limits>
#include <memory>

#include "surface/object_menus.h"
#include "object_test_shape.h"
#include "platform/stream_error.h"
#include "surface/label.h"
#include "surface/object_host.h"
#include "surface/object_stream.h"

namespace plennix {
namespace {

using test::TTestShape;

QByteArray hex(const char* h) { return QByteArray::fromHex(h); }

// An untagged short string.
QByteArray str(const QByteArray& s) { return char(s.size()) + s; }

QString errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const StreamError& e) {
        return e.message();
    }
    return QStringLiteral("<no error>");
}

QByteArray encode(const std::function<void(ValueWriter&)>& f) {
    QByteArray out;
    ValueWriter w(out);
    f(w);
    return out;
}

TEST(ObjectStreamValues, IntegersTakeTheSmallestTag) {
    EXPECT_EQ(encode([](ValueWriter& w) { w.WriteInteger(100); }), hex("0264"));
    EXPECT_EQ(encode([](ValueWriter& w) { w.WriteInteger(-128); }), hex("0280"));
    EXPECT_EQ(encode([](ValueWriter& w) { w.WriteInteger(128); }), hex("038000"));
    EXPECT_EQ(encode([](ValueWriter& w) { w.WriteInteger(200); }), hex("03c800"));
    EXPECT_EQ(encode([](ValueWriter& w) { w.WriteInteger(-32768); }), hex("030080"));
    EXPECT_EQ(encode([](ValueWriter& w) { w.WriteInteger(32768); }), hex("0400800000"));
    EXPECT_EQ(encode([](ValueWriter& w) { w.WriteInteger(70000); }), hex("0470110100"));
    EXPECT_EQ(encode([](ValueWriter& w) { w.WriteInteger(-70000); }), hex("0490eefeff"));

    for (int32_t v : {0, 1, -1, 127, -129, 32767, -32769, 70000, std::numeric_limits<int32_t>::min(),
                      std::numeric_limits<int32_t>::max()}) {
        StreamReader in(encode([v](ValueWriter& w) { w.WriteInteger(v); }));
        EXPECT_EQ(in.ReadInteger(), v);
        EXPECT_TRUE(in.AtEnd());
    }
}

TEST(ObjectStreamValues, StringsSwitchToLongFormAfter255Bytes) {
    const QByteArray s255 = encode([](ValueWriter& w) { w.WriteString(QString(255, 'a')); });
    EXPECT_EQ(s255.left(2), hex("06ff"));
    EXPECT_EQ(s255.size(), 257);
    const QByteArray s256 = encode([](ValueWriter& w) { w.WriteString(QString(256, 'a')); });
    EXPECT_EQ(s256.left(5), hex("0c00010000"));
    EXPECT_EQ(s256.size(), 261);

    // Windows-1252: one byte per letter.
    const QByteArray maerz = encode([](ValueWriter& w) { w.WriteString(QStringLiteral("März")); });
    EXPECT_EQ(maerz, hex("06044de4727a"));
    StreamReader in(maerz + s256);
    EXPECT_EQ(in.ReadString(), QStringLiteral("März"));
    EXPECT_EQ(in.ReadString(), QString(256, 'a'));
}

TEST(ObjectStreamValues, ExtendedFloatsReadAsDoubles) {
    // 1.5: mantissa C000000000000000, exponent 3FFF.
    StreamReader one(hex("05" "00000000000000c0" "ff3f"));
    EXPECT_EQ(one.ReadFloat(), 1.5);
    StreamReader minus(hex("05" "0000000000000080" "01c0"));  // -4.0
    EXPECT_EQ(minus.ReadFloat(), -4.0);
    StreamReader inf(hex("05" "0000000000000080" "ff7f"));
    EXPECT_TRUE(std::isinf(inf.ReadFloat()));
    // Beyond double range: infinity, never undefined behaviour.
    StreamReader huge(hex("05" "0000000000000080" "fe7f"));
    EXPECT_TRUE(std::isinf(huge.ReadFloat()));

    for (double v : {0.0, 1.0, -2.5, 0.1, 1e300, -1e-300, 123456789.125, 5e-324}) {
        StreamReader in(encode([v](ValueWriter& w) { w.WriteExtended(v); }));
        EXPECT_EQ(in.ReadFloat(), v);
    }
}

TEST(ObjectStreamValues, TypedReadersRejectOtherKinds) {
    EXPECT_EQ(errorOf([] { StreamReader(hex("0601")).ReadInteger(); }), "Invalid property value");
    EXPECT_EQ(errorOf([] { StreamReader(hex("0264")).ReadBoolean(); }), "Invalid property value");
    EXPECT_EQ(errorOf([] { StreamReader(hex("0264")).ReadString(); }), "Invalid property value");
    EXPECT_EQ(errorOf([] { StreamReader(hex("0d")).ReadInteger(); }), "Invalid stream format");
    EXPECT_EQ(errorOf([] { StreamReader(hex("02")).ReadInteger(); }), "Invalid stream format");
    EXPECT_EQ(errorOf([] { StreamReader(QByteArray()).ReadByte(); }), "Invalid stream format");
    // A 2 GB or negative length is refused before anything is allocated.
    EXPECT_EQ(errorOf([] { StreamReader(hex("0affffff7f00")).ReadBinary(); }), "Invalid stream format");
    EXPECT_EQ(errorOf([] { StreamReader(hex("0cffffffff41")).ReadString(); }), "Invalid stream format");
    EXPECT_EQ(errorOf([] { StreamReader(hex("0605616263")).ReadString(); }), "Invalid stream format");
}

// The record of a test shape with every kind of property set away from its default.
class ObjectRecordTest : public ::testing::Test {
protected:
    void SetUp() override { test::RegisterTestShape(); }

    std::unique_ptr<TTestShape> makeShape() {
        auto s = std::make_unique<TTestShape>();
        s->SetName(QStringLiteral("Shape1"));
        s->SetBounds(100, 200, 70000, 5);
        s->shape = 2;
        s->options = 1 | 4;
        s->fill = 0x123456;
        s->border = clRed;
        s->caption = QStringLiteral("Hi");
        s->font = FontRecord{};
        s->font.name = QStringLiteral("Arial");
        s->font.pitch = FontPitch::fpFixed;
        s->font.style = fsBold;
        s->data = hex("0102030405");
        return s;
    }

    static QByteArray expectedRecord() {
        return "TPF0" + str("TTestShape") + str("Shape1") +  //
               str("Left") + hex("0264") +                    //
               str("Top") + hex("03c800") +                   //
               str("Width") + hex("0470110100") +             //
               str("Height") + hex("0205") +                  //
               str("Locked") + hex("08") +                    //
               str("Unselectable") + hex("08") +              //
               str("Shape") + "\x07" + str("shStar") +        //
               str("Options") + "\x0b" + str("soShadow") + str("soGlow") + '\0' +
               str("FillColor") + hex("0456341200") +        //
               str("BorderColor") + "\x07" + str("clRed") +  //
               str("Caption") + "\x06" + str("Hi") +         //
               str("Font.Color") + "\x07" + str("clWindowText") +  //
               str("Font.Height") + hex("02f3") +                 //
               str("Font.Name") + "\x06" + str("Arial") +         //
               str("Font.Pitch") + "\x07" + str("fpFixed") +      //
               str("Font.Style") + "\x0b" + str("fsBold") + '\0' +
               str("Picture.Data") + hex("0a050000000102030405") +  //
               QByteArray(2, '\0');
    }

    QObject owner;
    TGObjectHost host;
};

TEST_F(ObjectRecordTest, WritesEveryKindByItsRule) {
    EXPECT_EQ(WriteObjectRecord(*makeShape()).toHex(' '), expectedRecord().toHex(' '));
}

TEST_F(ObjectRecordTest, DefaultsAndEmptyValuesAreLeftOut) {
    TTestShape s;
    s.SetBounds(200, 0, 1, 1);
    s.font.name.clear();
    const QByteArray rec = WriteObjectRecord(s);
    // Empty name; no Tag, Cursor, Hint, Shape, FillColor, Caption, Font.Name, Font.Pitch or data.
    const QByteArray expected = "TPF0" + str("TTestShape") + str("") +  //
                                str("Left") + hex("03c800") + str("Top") + hex("0200") + str("Width") + hex("0201") +
                                str("Height") + hex("0201") + str("Locked") + hex("08") + str("Unselectable") +
                                hex("08") + str("Options") + hex("0b00") + str("BorderColor") + "\x07" +
                                str("clBlack") + str("Font.Color") + "\x07" + str("clWindowText") +
                                str("Font.Height") + hex("02f3") + str("Font.Style") + hex("0b00") + QByteArray(2, '\0');
    EXPECT_EQ(rec.toHex(' '), expected.toHex(' '));
    // The examples of single properties.
    EXPECT_TRUE(rec.contains(hex("044c65667403c800")));
    s.SetLeft(100);
    EXPECT_TRUE(WriteObjectRecord(s).contains(hex("044c6566740264")));
    EXPECT_TRUE(WriteObjectRecord(s).contains(hex("064c6f636b656408")));

    // Non-default common properties; a font taken from the parent writes nothing.
    s.SetTag(-5);
    s.SetCursor(-12);
    s.SetHint(QStringLiteral("tip"));
    s.SetLocked(true);
    s.caption = QString(300, 'x');
    s.parentFont = true;
    const QByteArray rec2 = WriteObjectRecord(s);
    EXPECT_TRUE(rec2.contains(str("Tag") + hex("02fb")));
    EXPECT_TRUE(rec2.contains(str("Cursor") + hex("02f4")));
    EXPECT_TRUE(rec2.contains(str("Hint") + "\x06" + str("tip")));
    EXPECT_TRUE(rec2.contains(str("Locked") + hex("09")));
    EXPECT_TRUE(rec2.contains(str("Caption") + hex("0c2c010000") + QByteArray(300, 'x')));
    EXPECT_FALSE(rec2.contains("Font."));
}

TEST_F(ObjectRecordTest, ListsOfRecords) {
    QByteArray empty;
    WriteObjectList(empty, {});
    EXPECT_EQ(empty, hex("0100"));

    auto a = makeShape();
    TTestShape b;
    QByteArray list;
    WriteObjectList(list, {a.get(), &b});
    EXPECT_EQ(list, hex("01") + WriteObjectRecord(*a) + WriteObjectRecord(b) + hex("00"));
}

TEST_F(ObjectRecordTest, ReadsBackEveryValueWhileLoading) {
    auto src = makeShape();
    src->SetTag(70000);
    src->SetHint(QStringLiteral("Straße"));
    src->SetUnselectable(true);
    src->font.color = 0x00ABCDEF;
    src->font.height = 20;
    src->font.style = fsItalic | fsStrikeOut;
    src->font.pitch = FontPitch::fpVariable;
    src->caption = QString(300, QChar(u'é'));
    QByteArray list;
    WriteObjectList(list, {src.get()});

    StreamReader in(list);
    const auto objs = ReadObjectList(in, &owner, &host.ObjectList(), &owner, false);
    ASSERT_EQ(objs.size(), 1u);
    EXPECT_TRUE(in.AtEnd());
    auto* s = dynamic_cast<TTestShape*>(objs[0]);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->parent(), &owner);
    EXPECT_EQ(s->List(), &host.ObjectList());
    EXPECT_EQ(host.Objects(), std::vector<TGGraphicControl*>{s});
    EXPECT_EQ(s->Name(), QStringLiteral("Component0"));
    EXPECT_EQ(s->BoundsRect(), Rect::fromBounds(100, 200, 70000, 5));
    EXPECT_EQ(s->Tag(), 70000);
    EXPECT_EQ(s->Hint(), QStringLiteral("Straße"));
    EXPECT_FALSE(s->Locked());
    EXPECT_TRUE(s->Unselectable());
    EXPECT_EQ(s->shape, 2);
    EXPECT_EQ(s->options, 5);
    EXPECT_EQ(s->fill, 0x123456);
    EXPECT_EQ(s->border, clRed);
    EXPECT_EQ(s->caption, src->caption);
    EXPECT_EQ(s->font, src->font);
    EXPECT_EQ(s->fontChanges, 5);
    EXPECT_EQ(s->data, src->data);
    EXPECT_FALSE(s->setOutsideLoading);
    EXPECT_FALSE(s->IsLoading());
    EXPECT_EQ(s->loadedCalls, 1);
    EXPECT_NE(ObjectContextMenu(*s), nullptr);
}

TEST_F(ObjectRecordTest, NamesAreCaseInsensitiveAndEventReferencesAreSkipped) {
    const QByteArray list = "\x01TPF0" + str("ttestshape") + str("X") + str("left") + hex("0207") +
                            str("OnClick") + "\x07" + str("Shape1Click") + str("shape") + "\x07" + str("SHELLIPSE") +
                            str("FillColor") + "\x07" + str("clyellow") + QByteArray(3, '\0');
    StreamReader in(list);
    const auto objs = ReadObjectList(in, &owner, &host.ObjectList(), &owner, false);
    ASSERT_EQ(objs.size(), 1u);
    auto* s = static_cast<TTestShape*>(objs[0]);
    EXPECT_EQ(s->Left(), 7);
    EXPECT_EQ(s->shape, 1);
    EXPECT_EQ(s->fill, clYellow);
}

TEST_F(ObjectRecordTest, FreshNamesAndPasteOffset) {
    QObject c0(&owner), c1(&owner), other(&owner);
    c0.setObjectName(QStringLiteral("Component0"));
    c1.setObjectName(QStringLiteral("component1"));
    other.setObjectName(QStringLiteral("Component3"));
    auto src = makeShape();
    QByteArray list;
    WriteObjectList(list, {src.get(), src.get(), src.get()});

    StreamReader in(list);
    const auto objs = ReadObjectList(in, &owner, &host.ObjectList(), &owner, true);
    ASSERT_EQ(objs.size(), 3u);
    EXPECT_EQ(objs[0]->Name(), QStringLiteral("Component2"));
    EXPECT_EQ(objs[1]->Name(), QStringLiteral("Component4"));
    EXPECT_EQ(objs[2]->Name(), QStringLiteral("Component5"));
    EXPECT_EQ(objs[0]->BoundsRect(), Rect::fromBounds(115, 215, 70000, 5));

    // All 1001 names taken: the stored name stays.
    QObject crowded;
    for (int n = 0; n <= 1000; ++n) (new QObject(&crowded))->setObjectName(QStringLiteral("Component%1").arg(n));
    StreamReader again(list);
    const auto kept = ReadObjectList(again, &crowded, &host.ObjectList(), &crowded, false);
    ASSERT_EQ(kept.size(), 3u);
    EXPECT_EQ(kept[0]->Name(), QStringLiteral("Shape1"));
}

TEST_F(ObjectRecordTest, FailuresKeepTheWholeObjectsBeforeThem) {
    auto src = makeShape();
    const QByteArray good = WriteObjectRecord(*src);
    struct Case {
        QByteArray bad;
        QString message;
    };
    const Case cases[] = {
        {"TPF0" + str("TGNothing") + str("") + QByteArray(2, '\0'), "Class TGNothing not found"},
        {"TPX0" + str("TTestShape") + str("") + QByteArray(2, '\0'), "Invalid stream format"},
        {"TPF0" + str("TTestShape") + str("") + str("Colour") + hex("0201") + QByteArray(2, '\0'),
         "Property does not exist"},
        {"TPF0" + str("TTestShape") + str("") + str("Font.Size2") + hex("0201") + QByteArray(2, '\0'),
         "Property does not exist"},
        {"TPF0" + str("TTestShape") + str("") + str("Left") + "\x06" + str("a") + QByteArray(2, '\0'),
         "Invalid property value"},
        {"TPF0" + str("TTestShape") + str("") + str("Shape") + "\x07" + str("shSquare") + QByteArray(2, '\0'),
         "Invalid property value"},
        {"TPF0" + str("TTestShape") + str("") + str("Options") + "\x0b" + str("soNone") + '\0' + QByteArray(2, '\0'),
         "Invalid property value"},
        {"TPF0" + str("TTestShape") + str("") + str("FillColor") + "\x07" + str("clPink") + QByteArray(2, '\0'),
         "Invalid property value"},
        {"TPF0" + str("TTestShape") + str("") + str("Locked") + hex("0201") + QByteArray(2, '\0'),
         "Invalid property value"},
        {"TPF0" + str("TTestShape") + str("") + str("Font") + hex("0201") + QByteArray(2, '\0'),
         "Invalid property value"},
        {"TPF0" + str("TTestShape") + str("") + str("Picture.Data") + hex("0affffff7f") + QByteArray(2, '\0'),
         "Invalid stream format"},
        {"TPF0" + str("TTestShape") + str("") + str("Left") + hex("0d") + QByteArray(2, '\0'),
         "Invalid stream format"},
        // A child list that is not empty.
        {"TPF0" + str("TTestShape") + str("") + '\0' + "TPF0" + QByteArray(2, '\0'), "Invalid stream format"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bad.toHex(' ').toStdString());
        TGObjectHost h;
        QObject o;
        StreamReader in(hex("01") + good + c.bad + good + hex("00"));
        EXPECT_EQ(errorOf([&] { ReadObjectList(in, &o, &h.ObjectList(), &o, false); }), c.message);
        // The object before the failure stays with its context menu; the half-read one is gone.
        ASSERT_EQ(h.ObjectCount(), 1);
        auto* kept = static_cast<TTestShape*>(h.ObjectAt(0));
        EXPECT_EQ(kept->loadedCalls, 1);
        EXPECT_NE(ObjectContextMenu(*kept), nullptr);
        EXPECT_EQ(o.children().size(), 1);
    }
}

TEST_F(ObjectRecordTest, TruncatedAndGarbageInputEndsInFormatError) {
    auto src = makeShape();
    QByteArray list;
    WriteObjectList(list, {src.get(), src.get()});
    for (qsizetype n = 0; n < list.size(); ++n) {
        TGObjectHost h;
        QObject o;
        StreamReader in(list.constData(), n);
        EXPECT_EQ(errorOf([&] { ReadObjectList(in, &o, &h.ObjectList(), &o, false); }), "Invalid stream format") << n;
        EXPECT_LE(in.Position(), n);
    }
    // A list that does not begin with the list tag.
    EXPECT_EQ(errorOf([&] {
                  StreamReader in(hex("00"));
                  ReadObjectList(in, &owner, &host.ObjectList(), &owner, false);
              }),
              "Invalid stream format");
}

TEST_F(ObjectRecordTest, TextForm) {
    StreamReader in(expectedRecord());
    EXPECT_EQ(ObjectRecordToText(in), QStringLiteral("object Shape1: TTestShape\n"
                                                     "  Left = 100\n"
                                                     "  Top = 200\n"
                                                     "  Width = 70000\n"
                                                     "  Height = 5\n"
                                                     "  Locked = False\n"
                                                     "  Unselectable = False\n"
                                                     "  Shape = shStar\n"
                                                     "  Options = [soShadow, soGlow]\n"
                                                     "  FillColor = 1193046\n"
                                                     "  BorderColor = clRed\n"
                                                     "  Caption = 'Hi'\n"
                                                     "  Font.Color = clWindowText\n"
                                                     "  Font.Height = -13\n"
                                                     "  Font.Name = 'Arial'\n"
                                                     "  Font.Pitch = fpFixed\n"
                                                     "  Font.Style = [fsBold]\n"
                                                     "  Picture.Data = {\n"
                                                     "    0102030405}\n"
                                                     "end\n"));
    const QByteArray odd = hex("01") + "TPF0" + str("TX") + str("") + str("A") + "\x06" + str("it's\r") + str("B") +
                           hex("0100") + str("C") + hex("05" "00000000000000c0" "ff3f") + QByteArray(3, '\0');
    StreamReader in2(odd);
    EXPECT_EQ(ObjectListToText(in2), QStringLiteral("object TX\n  A = 'it''s'#13\n  B = ()\n  C = 1.5\nend\n"));

    // Nested lists are bounded.
    StreamReader deep(hex("01") + "TPF0" + str("TX") + str("") + str("A") + QByteArray(100, '\x01'));
    EXPECT_EQ(errorOf([&] { ObjectListToText(deep); }), "Invalid stream format");
}

TEST(ObjectListNames, StayUniqueWhenTheOwnerIsNotTheNamingOwner) {
    RegisterLabelClasses();
    QObject namingOwner, objectOwner;
    TGObjectHost host;
    auto* existing = new TGPLabel(&objectOwner);
    existing->SetName(QStringLiteral("Component0"));
    existing->SetList(&host.ObjectList());

    TGPLabel src;
    QByteArray list;
    WriteObjectList(list, {&src, &src});
    StreamReader in(list);
    const auto objs = ReadObjectList(in, &objectOwner, &host.ObjectList(), &namingOwner, false);
    ASSERT_EQ(objs.size(), 2u);
    EXPECT_EQ(objs[0]->Name(), QStringLiteral("Component1"));
    EXPECT_EQ(objs[1]->Name(), QStringLiteral("Component2"));
}

}  // namespace
}  // namespace plennix
