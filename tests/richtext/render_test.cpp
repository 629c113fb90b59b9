// Painting a store's text: zoom scales text, wrapping follows the page width, and the parsed document is
// cached in the store until its text changes.
#include <gtest/gtest.h>

#include <QPainter>
#include <QPicture>

#include "richtext/rtf_renderer.h"
#include "richtext/rtf_writer.h"

using namespace plennix;

namespace {

TWPRtfStorage StoreWith(const QString& text, int halfPoints, RtfAlignment align = RtfAlignment::raLeft) {
    RtfText t;
    t.paragraphs.front().alignment = align;
    t.paragraphs.front().runs.push_back(RtfRun{RtfCharFormat{"Arial", halfPoints, 0, kAutoTextColor}, text, nullptr});
    TWPRtfStorage s;
    s.SetText(t);
    return s;
}

QImage Render(const TWPRtfStorage& s, int w, int h, int zoom, int pageTwips) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    PaintRtf(&p, s, w, h, zoom, pageTwips);
    return img;
}

// Top and bottom rows holding dark pixels (-1, -1 when none).
std::pair<int, int> InkRows(const QImage& img) {
    int top = -1, bottom = -1;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 128) {
                if (top < 0) top = y;
                bottom = y;
                break;
            }
    return {top, bottom};
}

}  // namespace

TEST(RichTextRender, HalfZoomGivesHalfHeightText) {
    const TWPRtfStorage s = StoreWith("HIX", 96);  // 48 points: 64 pixels at 96 per inch
    const auto [t100, b100] = InkRows(Render(s, 400, 200, 100, 0));
    const auto [t50, b50] = InkRows(Render(s, 400, 200, 50, 0));
    ASSERT_GE(t100, 0);
    ASSERT_GE(t50, 0);
    const int h100 = b100 - t100 + 1;
    const int h50 = b50 - t50 + 1;
    EXPECT_NEAR(h100, 46, 3);  // cap height of a 64-pixel Arial
    EXPECT_NEAR(h50 * 2, h100, 2);
    EXPECT_NEAR(t50 * 2, t100, 2);
}

TEST(RichTextRender, WrapsAtThePageWidthAndClipsToTheHeight) {
    const TWPRtfStorage s = StoreWith("one two three four five six seven eight nine ten", 20);
    TWPRtfRenderer r;
    r.LoadFrom(s);
    r.SetPageSize(0, 0);
    const int oneLine = r.ContentHeight(2000);
    r.SetPageSize(1440, 0);  // one inch: 96 pixels
    const int wrapped = r.ContentHeight();
    EXPECT_GT(wrapped, 3 * oneLine);
    // The same page at 50 % wraps at the same words: half the height.
    r.SetZoomPercent(50);
    EXPECT_NEAR(r.ContentHeight() * 2, wrapped, 2);
    EXPECT_EQ(r.ContentWidth(), 48);

    // Nothing is painted right of the page width or below the given height.
    const QImage img = Render(s, 300, 30, 100, 1440);
    for (int y = 0; y < 30; ++y)
        for (int x = 100; x < 300; ++x) ASSERT_GT(qGray(img.pixel(x, y)), 200) << x << "," << y;
    const auto [top, bottom] = InkRows(img);
    EXPECT_GE(top, 0);
    EXPECT_LT(bottom, 30);
}

TEST(RichTextRender, AlignmentAndColourReachThePixels) {
    RtfText t;
    t.paragraphs.front().alignment = RtfAlignment::raRight;
    t.paragraphs.front().runs.push_back(RtfRun{RtfCharFormat{"Arial", 40, fsBold, clRed}, "III", nullptr});
    TWPRtfStorage s;
    s.SetText(t);
    const QImage img = Render(s, 200, 40, 100, 1440 * 2);  // page 192 pixels wide
    int minX = 200, maxX = -1;
    bool red = false;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x) {
            const QRgb c = img.pixel(x, y);
            if (qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60) red = true;
            if (qGray(c) < 200) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
            }
        }
    EXPECT_TRUE(red);
    EXPECT_GT(minX, 150);  // right-aligned against the page's right edge
    EXPECT_LE(maxX, 192);
}

TEST(RichTextRender, StoreCachesItsDocumentUntilTheTextChanges) {
    TWPRtfStorage s = StoreWith("cached", 20);
    const auto doc = s.Document();
    EXPECT_EQ(s.Document(), doc);
    const quint64 rev = s.Revision();
    s.SetRtfData(s.RtfData());  // the same bytes: nothing changes
    EXPECT_EQ(s.Document(), doc);
    EXPECT_EQ(s.Revision(), rev);
    s.SetRtfData(WriteRtf(StoreWith("changed", 20).Text()));
    EXPECT_NE(s.Document(), doc);
    EXPECT_NE(s.Revision(), rev);
    EXPECT_EQ(s.Text().plainText(), "changed");
    // A copy shares the parsed text but is a store of its own.
    TWPRtfStorage copy = s;
    copy.Clear();
    EXPECT_TRUE(copy.IsEmpty());
    EXPECT_EQ(s.Text().plainText(), "changed");
}

TEST(RichTextRender, EmptyStores) {
    TWPRtfStorage s;
    EXPECT_TRUE(s.IsEmpty());
    s.SetRtfData(WriteRtf(RtfText{}));
    EXPECT_TRUE(s.IsEmpty());
    s.SetText(RtfText{});
    EXPECT_TRUE(s.RtfData().isEmpty());  // an empty text leaves no bytes to stream
    RtfText blank;
    blank.paragraphs.resize(2);  // two empty paragraphs are text the user typed
    s.SetText(blank);
    EXPECT_FALSE(s.IsEmpty());
    // Painting an empty store paints nothing.
    const auto [top, bottom] = InkRows(Render(TWPRtfStorage{}, 50, 50, 100, 0));
    EXPECT_EQ(top, -1);
}

TEST(RichTextRender, PaintsIntoAPicture) {
    const TWPRtfStorage s = StoreWith("Picture", 40);
    QPicture pic;
    {
        QPainter p(&pic);
        PaintRtf(&p, s, 120, 40, 100, 0);
    }
    QImage img(120, 40, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    pic.play(&p);
    p.end();
    EXPECT_GE(InkRows(img).first, 0);
}
