// RTF as other programs write it: the word processor fixtures, hand-written constructs the reader must
// understand or skip, and damaged input that must neither crash nor lose the text read so far.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"

using namespace plennix;

namespace {

QByteArray Fixture(const char* name) {
    QFile f(QFileInfo(QString::fromUtf8(__FILE__)).dir().filePath(QStringLiteral("fixtures/") + name));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

// The run of a paragraph that holds `needle`.
const RtfRun* RunWith(const RtfText& t, const QString& needle) {
    for (const auto& p : t.paragraphs)
        for (const auto& r : p.runs)
            if (r.text.contains(needle)) return &r;
    return nullptr;
}

}  // namespace

TEST(RtfForeign, WordProcessorFormatting) {
    const QByteArray rtf = Fixture("formatting.rtf");
    ASSERT_FALSE(rtf.isEmpty());
    const RtfText t = ReadRtf(rtf);
    ASSERT_EQ(t.paragraphs.size(), 4u);  // the final \par closes the last paragraph, it opens no fifth
    EXPECT_EQ(t.paragraphs[0].alignment, RtfAlignment::raLeft);
    EXPECT_EQ(t.paragraphs[1].alignment, RtfAlignment::raCenter);
    EXPECT_EQ(t.paragraphs[2].alignment, RtfAlignment::raRight);
    EXPECT_EQ(t.paragraphs[3].alignment, RtfAlignment::raJustify);
    EXPECT_EQ(t.plainText(), QString("Plain bold italic underlined struck text.\nRed centred heading\n"
                                     "Right aligned\nsecond line\nJustified paragraph with blue words and a tab."));
    const RtfRun* plain = RunWith(t, "Plain");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->format.font, "Arial");
    EXPECT_EQ(plain->format.halfPoints, 24);
    EXPECT_EQ(plain->format.style, 0);
    EXPECT_EQ(plain->format.color, kAutoTextColor);
    EXPECT_EQ(RunWith(t, "bold")->format.style, fsBold);
    EXPECT_EQ(RunWith(t, "italic")->format.style, fsItalic);
    EXPECT_EQ(RunWith(t, "underlined")->format.style, fsUnderline);
    EXPECT_EQ(RunWith(t, "struck")->format.style, fsStrikeOut);
    const RtfRun* red = RunWith(t, "Red centred");
    EXPECT_EQ(red->format.color, clRed);
    EXPECT_EQ(red->format.font, "Times New Roman");
    EXPECT_EQ(red->format.halfPoints, 32);
    EXPECT_EQ(RunWith(t, "Right aligned")->format.font, "Courier New");
    EXPECT_EQ(RunWith(t, "Right aligned")->format.halfPoints, 18);
    EXPECT_EQ(RunWith(t, "blue")->format.color, clBlue);
    // What was read writes and reads back unchanged.
    const QByteArray ours = WriteRtf(t);
    EXPECT_EQ(WriteRtf(ReadRtf(ours)), ours);
}

TEST(RtfForeign, WordProcessorLanguages) {
    const RtfText t = ReadRtf(Fixture("languages.rtf"));
    ASSERT_EQ(t.paragraphs.size(), 4u);
    EXPECT_EQ(t.plainText(), QString::fromUtf8("Grüße aus März – café € 5\nПривет, мир\nΚαλημέρα\n日本語"));
}

TEST(RtfForeign, WordProcessorPicture) {
    const RtfText t = ReadRtf(Fixture("picture.rtf"));
    ASSERT_EQ(t.paragraphs.size(), 1u);
    // The shape picture is taken once; its fallback copy in \nonshppict is skipped.
    EXPECT_EQ(t.plainText(), QString("Before ") + QChar(0xFFFC) + " after");
    const RtfRun* pic = nullptr;
    for (const auto& r : t.paragraphs[0].runs)
        if (r.isPicture()) pic = &r;
    ASSERT_TRUE(pic);
    EXPECT_EQ(pic->picture->image.size(), QSize(8, 6));
    EXPECT_EQ(pic->picture->image.pixel(4, 3) & 0xFFFFFF, 0x008000u);
    EXPECT_EQ(pic->picture->widthTwips, 120);
    EXPECT_EQ(pic->picture->heightTwips, 90);
}

TEST(RtfForeign, HandWrittenConstructs) {
    // No tables at all: the default font, 12 points, automatic colour.
    RtfText t = ReadRtf("{\\rtf1 Hello \\b world\\b0 !}");
    EXPECT_EQ(t.plainText(), "Hello world!");
    EXPECT_EQ(t.paragraphs[0].runs[0].format.halfPoints, 24);
    EXPECT_EQ(t.paragraphs[0].runs[1].format.style, fsBold);

    // Unknown starred destinations are skipped; known unstarred ones too; nested groups restore formatting.
    t = ReadRtf("{\\rtf1{\\*\\unknown secret {nested}}{\\info{\\title T}}A{\\i B{\\b C}D}E\\par}");
    EXPECT_EQ(t.plainText(), "ABCDE");
    ASSERT_EQ(t.paragraphs[0].runs.size(), 5u);
    EXPECT_EQ(t.paragraphs[0].runs[2].format.style, fsItalic | fsBold);
    EXPECT_EQ(t.paragraphs[0].runs[3].format.style, fsItalic);
    EXPECT_EQ(t.paragraphs[0].runs[4].format.style, 0);

    // \ucN: the given number of fallback characters is skipped after \u, \'hh and control words count as one.
    t = ReadRtf("{\\rtf1\\uc2 a\\u8364\\'80\\'80b\\uc1\\u1055 xc\\u1056\\'3fd\\u-3913 ?}");
    EXPECT_EQ(t.plainText(), QString::fromUtf8("a€bПcРd") + QChar(0xF0B7));

    // \plain and \pard reset, \line and \tab, and \par ends paragraphs.
    t = ReadRtf("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset0 Courier New;}}\\qc\\f1\\fs40\\b x\\line y\\tab z"
                "\\par\\pard\\plain w\\par}");
    ASSERT_EQ(t.paragraphs.size(), 2u);
    EXPECT_EQ(t.paragraphs[0].alignment, RtfAlignment::raCenter);
    EXPECT_EQ(t.paragraphs[0].runs[0].text, QString("x") + QChar(0x2028) + "y\tz");
    EXPECT_EQ(t.paragraphs[0].runs[0].format, (RtfCharFormat{"Courier New", 40, fsBold, kAutoTextColor}));
    EXPECT_EQ(t.paragraphs[1].alignment, RtfAlignment::raLeft);
    EXPECT_EQ(t.paragraphs[1].runs[0].format, (RtfCharFormat{"Arial", 24, 0, kAutoTextColor}));

    // A font table without groups, and a Cyrillic font whose \'hh bytes are in code page 1251.
    t = ReadRtf("{\\rtf1\\ansi{\\fonttbl\\f0\\fswiss Helvetica;\\f1\\fcharset204 Arial Cyr;}\\f1 \\'cf\\'f0\\'e8 \\f0 ok}");
    EXPECT_EQ(t.plainText(), QString::fromUtf8("При ok"));
    EXPECT_EQ(t.paragraphs[0].runs[1].format.font, "Helvetica");

    // Colour table with an automatic first entry; fields show their result, not their instruction.
    t = ReadRtf("{\\rtf1{\\colortbl;\\red0\\green128\\blue0;}{\\field{\\*\\fldinst HYPERLINK \"x\"}"
                "{\\fldrslt \\cf1 link}} \\cf0 text}");
    EXPECT_EQ(t.plainText(), "link text");
    EXPECT_EQ(t.paragraphs[0].runs[0].format.color, clGreen);
    EXPECT_EQ(t.paragraphs[0].runs[1].format.color, kAutoTextColor);
}

TEST(RtfForeign, PlainBytesAreReadAsText) {
    const RtfText t = ReadRtf(QByteArray("first line\r\nM\xe4rz\n"));
    EXPECT_EQ(t.plainText(), QString::fromUtf8("first line\nMärz"));
}

TEST(RtfForeign, MalformedInputKeepsTheTextReadSoFar) {
    // Missing closing braces.
    EXPECT_EQ(ReadRtf("{\\rtf1 Hello {\\b bold").plainText(), "Hello bold");
    // Extra closing braces end the text.
    EXPECT_EQ(ReadRtf("{\\rtf1 one}} two").plainText(), "one");
    // Truncated hex escapes and a backslash at the very end.
    EXPECT_EQ(ReadRtf("{\\rtf1 a\\'4").plainText(), "a");
    EXPECT_EQ(ReadRtf("{\\rtf1 a\\'4zb\\").plainText(), "azb");
    // Absurd numbers are clamped.
    RtfText t = ReadRtf("{\\rtf1\\fs99999999999999999999 big\\fs-5 small\\cf4294967296 c\\uc999999999\\u99999999 x}");
    EXPECT_EQ(t.paragraphs[0].runs[0].format.halfPoints, 3276);
    EXPECT_EQ(t.paragraphs[0].runs[1].format.halfPoints, 2);
    // \bin longer than the input, inside and outside a picture.
    EXPECT_EQ(ReadRtf("{\\rtf1 keep\\bin999999 abc").plainText(), "keep");
    EXPECT_EQ(ReadRtf("{\\rtf1 keep{\\pict\\pngblip\\bin999999 abc}").plainText(), "keep");
    // A truncated or lying picture is dropped, the text around it stays.
    EXPECT_EQ(ReadRtf("{\\rtf1 a{\\pict\\pngblip 89504e470d0a1a0a0000}b}").plainText(), "ab");
    EXPECT_EQ(ReadRtf("{\\rtf1 a{\\pict\\dibitmap0 28000000ffffff7fffffff7f01001800}b}").plainText(), "ab");
    EXPECT_EQ(ReadRtf("{\\rtf1 a{\\pict\\wbitmap0\\picw100000\\pich100000\\wbmbitspixel32 00}b}").plainText(), "ab");

    // A megabyte-long control word, a megabyte of digits and deep nesting are read, keeping the text around them.
    QByteArray longWord = "{\\rtf1 before\\" + QByteArray(1 << 20, 'x') + " after}";
    EXPECT_EQ(ReadRtf(longWord).plainText(), "beforeafter");
    QByteArray longNumber = "{\\rtf1 before\\fs" + QByteArray(1 << 20, '9') + " after}";
    EXPECT_EQ(ReadRtf(longNumber).plainText(), "beforeafter");
    QByteArray deep = "{\\rtf1 start" + QByteArray(200000, '{') + "x" + QByteArray(200000, '}') + " end}";
    EXPECT_EQ(ReadRtf(deep).plainText().left(5), "start");
}
