// The platform helpers whose exact results other layers depend on: rounding, colour names,
// Windows-1252 text and profile (INI) files.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/colors.h"
#include "platform/file_io.h"
#include "platform/font.h"
#include "platform/ini_file.h"
#include "platform/numbers.h"
#include "platform/program_folder.h"
#include "platform/win1252.h"

using namespace plennix;

TEST(Numbers, RoundHalfEvenDiffersFromMulDivOnHalves) {
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(1.5), 2);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(2.5000001), 3);
    EXPECT_EQ(roundHalfEven(1e12), INT32_MAX);
    // MulDiv rounds halves away from zero on the exact product.
    EXPECT_EQ(MulDiv(5, 1, 2), 3);
    EXPECT_EQ(MulDiv(-5, 1, 2), -3);
    EXPECT_EQ(MulDiv(7, 1, 2), 4);
    EXPECT_EQ(MulDiv(1 << 30, 8, 16), 1 << 29);  // no overflow in the product
    EXPECT_EQ(MulDiv(1, 2, 0), -1);
    EXPECT_EQ(truncToInt(-2.9), -2);
    EXPECT_EQ(truncToInt(2.9), 2);
    // Font heights at 96 pixels per inch: 10 points = -13 pixels and back.
    EXPECT_EQ(PointsToHeight(10), -13);
    EXPECT_EQ(PointsToHeight(12), -16);
    EXPECT_EQ(HeightToPoints(-13), 10);
    EXPECT_EQ(HeightToPoints(-16), 12);
}

TEST(Colors, NamesBothWaysAndSystemColours) {
    EXPECT_EQ(ColorToIdent(clRed), QStringLiteral("clRed"));
    EXPECT_EQ(ColorToIdent(clBtnFace), QStringLiteral("clBtnFace"));
    EXPECT_EQ(ColorToIdent(clNone), QStringLiteral("clNone"));
    EXPECT_FALSE(ColorToIdent(RGB(1, 2, 3)).has_value());
    EXPECT_EQ(IdentToColor(QStringLiteral("CLWINDOWTEXT")), clWindowText);
    EXPECT_EQ(IdentToColor(QStringLiteral("clTeal")), clTeal);
    EXPECT_FALSE(IdentToColor(QStringLiteral("clNoSuchColour")).has_value());
    // Every named colour survives the round trip.
    for (TColor c : {clBlack, clMaroon, clNavy, clSilver, clAqua, clWhite, clHighlight, clBtnShadow})
        EXPECT_EQ(IdentToColor(*ColorToIdent(c)), c);

    EXPECT_EQ(RGB(0x12, 0x34, 0x56), 0x563412);
    EXPECT_EQ(ColorToRGB(clWindow), clWhite);
    EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
    EXPECT_EQ(ColorToRGB(clBtnFace), clSilver);
    EXPECT_EQ(ColorToRGB(clBlue), clBlue);
    const QColor q = toQColor(RGB(10, 20, 30));
    EXPECT_EQ(q.red(), 10);
    EXPECT_EQ(q.blue(), 30);
    EXPECT_EQ(fromQColor(q), RGB(10, 20, 30));
}

TEST(Win1252, RoundTripsEveryAssignedByte) {
    EXPECT_EQ(FromWin1252(QByteArray("M\xE4rz \x80", 6)), QString::fromUtf8("März €"));
    EXPECT_EQ(ToWin1252(QString::fromUtf8("März €")), QByteArray("M\xE4rz \x80", 6));
    EXPECT_EQ(ToWin1252(QString::fromUtf8("“quoted” – ™")), QByteArray("\x93quoted\x94 \x96 \x99"));
    QByteArray all;
    for (int b = 0; b < 256; ++b) all.append(static_cast<char>(b));
    // The five unassigned bytes come back as themselves, so nothing read from a file is lost.
    EXPECT_EQ(ToWin1252(FromWin1252(all)), all);
    EXPECT_EQ(FromWin1252(QByteArray("\x81", 1)).at(0).unicode(), 0x81);
    // Text outside the code page becomes '?' rather than UTF-8 bytes.
    EXPECT_EQ(ToWin1252(QString::fromUtf8("日本")), QByteArray("??"));
}

TEST(IniFile, ProfileSemantics) {
    IniFile ini(ProgramFile(QStringLiteral("semantics.ini")));
    ini.parse(QByteArray("; comment\r\n"
                         "[Options]\r\n"
                         "Zoom=0x1F\r\n"
                         "Name = Caf\xE9 \r\n"
                         "zoom=99\r\n"
                         "Count=12abc\r\n"
                         "Neg=-7\r\n"
                         "[Recent]\r\n"
                         "File2=b\r\n"
                         "File1=a\r\n"
                         "[options]\r\n"
                         "Later=1\r\n"));
    EXPECT_EQ(ini.readInteger(QStringLiteral("OPTIONS"), QStringLiteral("ZOOM"), 0), 31);  // first duplicate wins
    EXPECT_EQ(ini.readString(QStringLiteral("Options"), QStringLiteral("name")), QString::fromUtf8("Café"));
    EXPECT_EQ(ini.readInteger(QStringLiteral("Options"), QStringLiteral("Count"), 0), 12);
    EXPECT_EQ(ini.readInteger(QStringLiteral("Options"), QStringLiteral("Neg"), 0), -7);
    EXPECT_EQ(ini.readInteger(QStringLiteral("Options"), QStringLiteral("Missing"), 5), 5);
    EXPECT_TRUE(ini.readBool(QStringLiteral("Options"), QStringLiteral("Later"), false));
    EXPECT_EQ(ini.sections(), QStringList({QStringLiteral("Options"), QStringLiteral("Recent")}));
    EXPECT_EQ(ini.keys(QStringLiteral("Recent")), QStringList({QStringLiteral("File2"), QStringLiteral("File1")}));
}

TEST(IniFile, WritesKeepOrderAndSaveAtomically) {
    const QString path = ProgramFile(QStringLiteral("PX-test.ini"));
    {
        IniFile ini(path);
        ini.setAutoSave(false);
        ini.writeString(QStringLiteral("B"), QStringLiteral("k2"), QStringLiteral("two"));
        ini.writeString(QStringLiteral("A"), QStringLiteral("k1"), QString::fromUtf8("Größe €"));
        ini.writeInteger(QStringLiteral("b"), QStringLiteral("K2"), 3);  // replaces in place
        ini.writeBool(QStringLiteral("B"), QStringLiteral("flag"), true);
        EXPECT_FALSE(QFile::exists(path));
        ASSERT_TRUE(ini.save());
    }
    const auto bytes = ReadWholeFile(path);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(*bytes, QByteArray("[B]\r\nk2=3\r\nflag=1\r\n\r\n[A]\r\nk1=Gr\xF6\xDF" "e \x80\r\n"));
    IniFile again(path);
    EXPECT_EQ(again.readString(QStringLiteral("a"), QStringLiteral("K1")), QString::fromUtf8("Größe €"));
    again.deleteKey(QStringLiteral("B"), QStringLiteral("k2"));
    again.eraseSection(QStringLiteral("A"));
    EXPECT_EQ(IniFile(path).sections(), QStringList({QStringLiteral("B")}));
    EXPECT_EQ(IniFile(path).keys(QStringLiteral("B")), QStringList({QStringLiteral("flag")}));

    // A name just short of the file system's limit still leaves room for the temporary file beside it.
    const QString longName = ProgramFile(QString(250, QLatin1Char('x')) + QStringLiteral(".ini"));
    ASSERT_TRUE(WriteFileAtomically(longName, "[Old]\r\n"));
    QString error;
    EXPECT_TRUE(WriteFileAtomically(longName, "[New]\r\n", &error)) << error.toStdString();
    EXPECT_EQ(*ReadWholeFile(longName), QByteArray("[New]\r\n"));
}

TEST(FontRecord, AbsurdHeightsFromDamagedRecordsStayUsable) {
    for (int height : {INT32_MIN, -1000000, 1000000, INT32_MAX}) {
        const QFont f = plennix::MakeQFont(QStringLiteral("Arial"), height, 0);
        EXPECT_GE(f.pixelSize(), 1);
        EXPECT_LE(f.pixelSize(), 4000);
    }
}
