// Words made of many format runs: the text laid out for painting gets a break opportunity every few runs
// (so that laying it out costs the number of runs, not its square), ordinary text stays as it is, and
// such a word still wraps at the page width.
#include <gtest/gtest.h>

#include <QTextDocument>

#include "richtext/rtf_document.h"
#include "richtext/rtf_renderer.h"

using namespace plennix;

namespace {

RtfText OneWordOfRuns(int runs) {
    RtfText t;
    for (int i = 0; i < runs; ++i)
        t.paragraphs.front().runs.push_back(
            RtfRun{RtfCharFormat{"Arial", 20, (i % 2) ? fsBold : fsItalic, kAutoTextColor}, "w", nullptr});
    return t;
}

int BreaksIn(const RtfText& t) { return static_cast<int>(t.plainText().count(QChar(0x200B))); }

}  // namespace

TEST(RichTextLayoutCost, OrdinaryTextIsLaidOutAsItIs) {
    RtfText t;
    // Many runs, but words of at most a few runs each: nothing to add.
    for (int i = 0; i < 200; ++i)
        t.paragraphs.front().runs.push_back(
            RtfRun{RtfCharFormat{"Arial", 20, static_cast<FontStyles>((i % 2) ? fsBold : 0), kAutoTextColor}, i % 3 ? "ab" : "c ", nullptr});
    EXPECT_EQ(BreaksIn(LayoutText(t)), 0);
    EXPECT_EQ(LayoutText(t).plainText(), t.plainText());
    // A word of exactly the bound is left alone too.
    EXPECT_EQ(BreaksIn(LayoutText(OneWordOfRuns(kMaxRunsWithoutBreak))), 0);
}

TEST(RichTextLayoutCost, LongWordsOfRunsGetABreakEveryFewRuns) {
    const RtfText laid = LayoutText(OneWordOfRuns(10 * kMaxRunsWithoutBreak + 1));
    EXPECT_EQ(BreaksIn(laid), 10);
    int since = 0;
    for (const RtfRun& r : laid.paragraphs.front().runs) {
        since = r.text.startsWith(QChar(0x200B)) ? 1 : since + 1;
        EXPECT_LE(since, kMaxRunsWithoutBreak);
    }
    // The model itself is not touched: only what is laid out.
    EXPECT_EQ(BreaksIn(OneWordOfRuns(10 * kMaxRunsWithoutBreak + 1)), 0);
}

TEST(RichTextLayoutCost, AWordOfManyRunsStillWrapsAtThePageWidth) {
    TWPRtfStorage store;
    store.SetText(OneWordOfRuns(4000));
    TWPRtfRenderer renderer;
    renderer.SetPageSize(PixelsToTwips(120), 0);
    renderer.LoadFrom(store);
    // 4,000 letters of about 6 pixels do not fit one 120-pixel line: the word is broken into many lines
    // and none is wider than the page.
    EXPECT_GT(renderer.ContentHeight(), 50 * 10);
    EXPECT_LE(store.Document()->idealWidth(), 121.0);
}
