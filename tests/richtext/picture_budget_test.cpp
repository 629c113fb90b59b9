// Bounds on what reading rich text may decode, and the messages that say what was left out: pictures
// beyond a text's or a document's budget of pixels, pictures too large alone, and groups nested too deep.
#include <gtest/gtest.h>

#include <QImage>
#include <vector>

#include "richtext/rtf_pictures.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_storage.h"

using namespace plennix;

namespace {

// A text holding `count` PNG pictures of side × side pixels.
QByteArray PicturesRtf(int count, int side) {
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QByteArray hex = EncodePng(image).toHex();
    QByteArray rtf = "{\\rtf1\\ansi ";
    for (int i = 0; i < count; ++i) rtf += "{\\pict\\pngblip " + hex + "}";
    return rtf + "}";
}

int PicturesIn(const RtfText& t) {
    int n = 0;
    for (const RtfParagraph& p : t.paragraphs)
        for (const RtfRun& r : p.runs) n += r.isPicture();
    return n;
}

}  // namespace

TEST(RichTextPictureBudget, PicturesBeyondTheBudgetAreLeftOutAndCounted) {
    const RtfText all = ReadRtf(PicturesRtf(3, 100));
    EXPECT_EQ(PicturesIn(all), 3);
    EXPECT_TRUE(all.report.Complete());
    EXPECT_EQ(all.report.picturePixels, 30000);

    const RtfText some = ReadRtf(PicturesRtf(3, 100), 25000);
    EXPECT_EQ(PicturesIn(some), 2);
    EXPECT_EQ(some.report.picturesLeftOut, 1);
    EXPECT_EQ(some.report.picturePixels, 20000);

    // A picture that claims more pixels than any picture may have, in a few bytes.
    const RtfText huge = ReadRtf(QByteArray("{\\rtf1 a{\\pict\\wbitmap0\\picw5000\\pich5000\\wbmbitspixel1 00}b}"));
    EXPECT_EQ(PicturesIn(huge), 0);
    EXPECT_EQ(huge.report.picturesLeftOut, 1);
    EXPECT_EQ(huge.plainText(), "ab");
}

TEST(RichTextPictureBudget, CellsOfOneDocumentShareOneBudget) {
    std::vector<TWPRtfStorage> cells(42);
    for (TWPRtfStorage& c : cells) c.SetRtfData(PicturesRtf(2, 100));
    qint64 budget = 50000;  // room for five of the 84 pictures
    RtfReadReport report;
    int shown = 0;
    for (const TWPRtfStorage& c : cells) {
        report += c.ReadWithin(budget).report;
        shown += PicturesIn(c.Text());
    }
    EXPECT_EQ(shown, 5);
    EXPECT_EQ(report.picturesLeftOut, 79);
    EXPECT_EQ(budget, 0);
    // The cells keep what they read: painting does not read them again with a budget of their own.
    EXPECT_EQ(PicturesIn(cells[41].Text()), 0);
}

TEST(RichTextPictureBudget, DeepGroupsAreSkippedAndCounted) {
    QByteArray rtf = "{\\rtf1 shown";
    for (int i = 0; i < 300; ++i) rtf += "{";
    rtf += "hidden";
    for (int i = 0; i < 300; ++i) rtf += "}";
    rtf += " again}";
    const RtfText t = ReadRtf(rtf);
    EXPECT_EQ(t.plainText(), "shown again");
    EXPECT_EQ(t.report.deepGroups, 1);
}

TEST(RichTextPictureBudget, TheMessageNamesTheFileAndTheReason) {
    EXPECT_TRUE(RtfReadMessage(RtfReadReport{}, "june.pxf").isEmpty());
    RtfReadReport r;
    r.picturesLeftOut = 79;
    r.deepGroups = 2;
    const QString m = RtfReadMessage(r, "june.pxf");
    EXPECT_TRUE(m.contains("79 picture(s) in the rich text of june.pxf were left out")) << m.toStdString();
    EXPECT_TRUE(m.contains("16 megapixels")) << m.toStdString();
    EXPECT_TRUE(m.contains("nested deeper than 256 groups")) << m.toStdString();
}
