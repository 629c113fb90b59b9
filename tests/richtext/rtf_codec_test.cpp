// Round trips through the RTF writer and reader: every attribute, alignment, pictures, Windows-1252 and
// other characters, and byte-for-byte stability of what the writer produces.
#include <gtest/gtest.h>

#include <QBuffer>

#include "richtext/rtf_pictures.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"

using namespace plennix;

namespace {

RtfCharFormat Format(const QString& font, int halfPoints, FontStyles style, TColor color) {
    RtfCharFormat f;
    f.font = font;
    f.halfPoints = halfPoints;
    f.style = style;
    f.color = color;
    return f;
}

RtfParagraph Para(RtfAlignment a, std::vector<RtfRun> runs, RtfCharFormat mark = {}) {
    RtfParagraph p;
    p.alignment = a;
    p.runs = std::move(runs);
    p.markFormat = mark;
    return p;
}

void ExpectSameText(const RtfText& a, const RtfText& b) {
    ASSERT_EQ(a.paragraphs.size(), b.paragraphs.size());
    for (size_t i = 0; i < a.paragraphs.size(); ++i) {
        const RtfParagraph& pa = a.paragraphs[i];
        const RtfParagraph& pb = b.paragraphs[i];
        EXPECT_EQ(pa.alignment, pb.alignment) << "paragraph " << i;
        EXPECT_EQ(pa.markFormat, pb.markFormat) << "paragraph " << i;
        ASSERT_EQ(pa.runs.size(), pb.runs.size()) << "paragraph " << i;
        for (size_t j = 0; j < pa.runs.size(); ++j) {
            EXPECT_EQ(pa.runs[j].isPicture(), pb.runs[j].isPicture());
            if (pa.runs[j].isPicture()) {
                EXPECT_EQ(pa.runs[j].picture->png, pb.runs[j].picture->png);
                EXPECT_EQ(pa.runs[j].picture->widthTwips, pb.runs[j].picture->widthTwips);
                EXPECT_EQ(pa.runs[j].picture->heightTwips, pb.runs[j].picture->heightTwips);
            } else {
                EXPECT_EQ(pa.runs[j].text, pb.runs[j].text);
                EXPECT_EQ(pa.runs[j].format, pb.runs[j].format) << "run " << j << " of paragraph " << i;
            }
        }
    }
}

// Writes, reads back, checks the model, and checks that writing again gives the same bytes.
void ExpectRoundTrip(const RtfText& text) {
    const QByteArray first = WriteRtf(text);
    const RtfText back = ReadRtf(first);
    ExpectSameText(text, back);
    EXPECT_EQ(WriteRtf(back), first);
}

}  // namespace

TEST(RtfCodec, EveryCharacterAttributeRoundTrips) {
    const RtfCharFormat base = Format("Arial", 20, 0, kAutoTextColor);
    std::vector<RtfRun> runs;
    runs.push_back({base, "plain ", nullptr});
    runs.push_back({Format("Arial", 20, fsBold, kAutoTextColor), "bold ", nullptr});
    runs.push_back({Format("Arial", 20, fsItalic, kAutoTextColor), "italic ", nullptr});
    runs.push_back({Format("Arial", 20, fsUnderline, kAutoTextColor), "underline ", nullptr});
    runs.push_back({Format("Arial", 20, fsStrikeOut, kAutoTextColor), "strike ", nullptr});
    runs.push_back({Format("Arial", 20, fsBold | fsItalic | fsUnderline | fsStrikeOut, clRed), "all ", nullptr});
    runs.push_back({Format("Times New Roman", 37, 0, clBlue), "odd half points ", nullptr});
    runs.push_back({Format("Courier New", 144, fsBold, clBlack), "black is not automatic ", nullptr});
    runs.push_back({Format("Arial", 16, 0, RGB(1, 2, 3)), "near black", nullptr});
    RtfText text;
    text.paragraphs = {Para(RtfAlignment::raLeft, runs, Format("Courier New", 16, fsItalic, clGreen))};
    ExpectRoundTrip(text);
}

TEST(RtfCodec, AlignmentsEmptyParagraphsAndBreaksRoundTrip) {
    const RtfCharFormat f = Format("Arial", 24, 0, kAutoTextColor);
    RtfText text;
    text.paragraphs = {
        Para(RtfAlignment::raLeft, {{f, "left", nullptr}}, f),
        Para(RtfAlignment::raRight, {{f, "right", nullptr}}, f),
        Para(RtfAlignment::raCenter, {{f, QString("two") + QChar(0x2028) + "lines", nullptr}}, f),
        Para(RtfAlignment::raJustify, {{f, "a\tb {braces} back\\slash", nullptr}}, f),
        Para(RtfAlignment::raCenter, {}, Format("Arial", 40, fsBold, clRed)),  // empty, formatted mark
        Para(RtfAlignment::raLeft, {}, f),                                     // trailing empty paragraph
    };
    ExpectRoundTrip(text);
}

TEST(RtfCodec, EmptyTextRoundTrips) {
    RtfText empty;
    EXPECT_TRUE(empty.isEmpty());
    const RtfText back = ReadRtf(WriteRtf(empty));
    EXPECT_TRUE(back.isEmpty());
    EXPECT_EQ(WriteRtf(back), WriteRtf(empty));
}

TEST(RtfCodec, Windows1252AndOtherCharacters) {
    const QString latin = QString::fromUtf8("Grüße aus März – café € „quoted“ ½");
    const QString other = QString::fromUtf8("Привет Καλημέρα 日本語 😀");
    const RtfCharFormat f = Format("Arial", 20, 0, kAutoTextColor);
    RtfText text;
    text.paragraphs = {Para(RtfAlignment::raLeft, {{f, latin, nullptr}}, f),
                       Para(RtfAlignment::raLeft, {{f, other, nullptr}}, f)};
    const QByteArray rtf = WriteRtf(text);
    // Windows-1252 letters are single \'hh escapes; the rest are \uN with a '?' fallback; the file is 7-bit.
    EXPECT_TRUE(rtf.contains("Gr\\'fc\\'dfe aus M\\'e4rz \\'96 caf\\'e9 \\'80"));
    EXPECT_TRUE(rtf.contains("\\u1055?"));
    EXPECT_TRUE(rtf.contains("\\u-10179?\\u-8704?"));  // a character outside the 16-bit plane: two halves
    for (char c : rtf) EXPECT_LT(static_cast<unsigned char>(c), 0x80);
    ExpectRoundTrip(text);
}

TEST(RtfCodec, PicturesRoundTripWithTheirBytesAndSize) {
    QImage image(7, 5, QImage::Format_RGB32);
    image.fill(qRgb(10, 200, 30));
    auto pic = MakePicture(image, 300, 200);
    ASSERT_TRUE(pic);
    const RtfCharFormat f = Format("Arial", 20, 0, kAutoTextColor);
    RtfText text;
    text.paragraphs = {Para(RtfAlignment::raCenter, {{f, "before ", nullptr}, {f, {}, pic}, {f, {}, pic},
                                                     {f, " after", nullptr}}, f)};
    const QByteArray rtf = WriteRtf(text);
    EXPECT_TRUE(rtf.contains("{\\pict\\pngblip\\picw7\\pich5\\picwgoal300\\pichgoal200"));
    const RtfText back = ReadRtf(rtf);
    ASSERT_EQ(back.paragraphs.front().runs.size(), 4u);
    EXPECT_EQ(back.paragraphs.front().runs[1].picture->image.pixel(3, 2), qRgb(10, 200, 30));
    ExpectRoundTrip(text);
}

TEST(RtfCodec, ReadsBitmapAndJpegPictureForms) {
    // A 2 x 2, 24-bit device-independent bitmap, bottom row first: blue, green / red, white.
    const QByteArray dib = QByteArray::fromHex(
        "28000000020000000200000001001800000000001000000000000000000000000000000000000000"
        "ff000000ff000000"     // bottom row: blue, green (BGR), padded
        "0000ffffffff0000");   // top row: red, white, padded
    QByteArray rtf = "{\\rtf1{\\pict\\dibitmap0\\picw2\\pich2 " + dib.toHex() + "}}";
    RtfText t = ReadRtf(rtf);
    ASSERT_EQ(t.paragraphs.front().runs.size(), 1u);
    const QImage img = t.paragraphs.front().runs.front().picture->image;
    EXPECT_EQ(img.pixel(0, 0) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(img.pixel(1, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(img.pixel(0, 1) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(img.pixel(1, 1) & 0xFFFFFF, 0x00FF00u);
    // The picture is stored as PNG from then on, and its size defaults to the pixels at 96 per inch.
    EXPECT_TRUE(t.paragraphs.front().runs.front().picture->png.startsWith("\x89PNG"));
    EXPECT_EQ(t.paragraphs.front().runs.front().picture->widthTwips, 30);

    // A monochrome device-dependent bitmap, 3 x 2, rows padded to 16 bits: 101 / 010.
    rtf = "{\\rtf1{\\pict\\wbitmap0\\wbmbitspixel1\\wbmplanes1\\wbmwidthbytes2\\picw3\\pich2\\picwgoal90\\pichgoal60 "
          "a000 4000}}";
    t = ReadRtf(rtf);
    ASSERT_EQ(t.paragraphs.front().runs.size(), 1u);
    const QImage mono = t.paragraphs.front().runs.front().picture->image;
    EXPECT_EQ(mono.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(mono.pixel(1, 0) & 0xFFFFFF, 0x000000u);
    EXPECT_EQ(mono.pixel(1, 1) & 0xFFFFFF, 0xFFFFFFu);

    QImage photo(16, 8, QImage::Format_RGB32);
    photo.fill(qRgb(200, 0, 0));
    QByteArray jpeg;
    {
        QBuffer buf(&jpeg);
        buf.open(QIODevice::WriteOnly);
        ASSERT_TRUE(photo.save(&buf, "JPEG"));
    }
    rtf = "{\\rtf1 x{\\pict\\jpegblip\\picscalex50\\picscaley200\\picwgoal240\\pichgoal120 " + jpeg.toHex() + "}y}";
    t = ReadRtf(rtf);
    ASSERT_EQ(t.paragraphs.front().runs.size(), 3u);
    const auto& jp = *t.paragraphs.front().runs[1].picture;
    EXPECT_EQ(jp.image.size(), QSize(16, 8));
    EXPECT_EQ(jp.widthTwips, 120);
    EXPECT_EQ(jp.heightTwips, 240);
}

TEST(RtfCodec, RunsWithoutWritableTextLeaveTheOutputStable) {
    // Control characters cannot be written; a run of nothing else, or a picture's format, must not leave
    // format words or font table entries behind that would read back differently.
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    RtfText t;
    t.paragraphs.front().runs = {{Format("Arial", 20, 0, kAutoTextColor), "a", nullptr},
                                 {Format("Courier New", 30, fsBold, clRed), QString(QChar(1)), nullptr},
                                 {Format("Symbol", 20, 0, clBlue), {}, MakePicture(image)},
                                 {Format("Arial", 20, 0, kAutoTextColor), "b", nullptr}};
    const QByteArray once = WriteRtf(t);
    EXPECT_FALSE(once.contains("Courier New"));
    EXPECT_FALSE(once.contains("Symbol"));
    EXPECT_EQ(WriteRtf(ReadRtf(once)), once);
}
