// The pictures of the rich-text labels of one object list (a clipboard file, a document's objects) are
// decoded within one budget, and what is left out goes to the list's read report.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QWidget>

#include "surface/object_host.h"
#include "objects/rich_label.h"
#include "surface/object_stream.h"

namespace plennix {
namespace {

QByteArray PictureRtf(int side) {
    QImage picture(side, side, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return "{\\rtf1\\ansi{\\pict\\pngblip " + png.toHex() + "}\\par}";
}

int PicturesIn(const TGPRichBaseLabel& label) {
    int n = 0;
    for (const RtfRun& r : label.RTFText().Text().paragraphs.front().runs) n += r.isPicture();
    return n;
}

TEST(RichLabelPictures, OneListSharesOneBudget) {
    RegisterRichLabelClass();
    QWidget window;
    TGObjectHost host(&window);
    std::vector<const TGGraphicControl*> labels;
    const QByteArray rtf = PictureRtf(3000);  // 9 megapixels each: three fit in a list's 33
    for (int i = 0; i < 5; ++i) {
        auto* l = new TGPRichBaseLabel(&window);
        TWPRtfStorage text;
        text.SetRtfData(rtf);
        l->SetRTFText(text);
        labels.push_back(l);
    }
    QByteArray list;
    WriteObjectList(list, labels);

    QWidget pasteInto;
    TGObjectHost target(&pasteInto);
    StreamReader in(list);
    ObjectListReadReport report;
    const auto read = ReadObjectList(in, &pasteInto, &target.ObjectList(), &pasteInto, true, &report);
    ASSERT_EQ(read.size(), 5u);
    int shown = 0;
    for (TGGraphicControl* c : read) shown += PicturesIn(*qobject_cast<TGPRichBaseLabel*>(c));
    EXPECT_EQ(shown, 3);
    EXPECT_EQ(report.richText.picturesLeftOut, 2);
    EXPECT_TRUE(ObjectListReadMessage(report, QStringLiteral("the clipboard"))
                    .contains(QStringLiteral("2 picture(s) in the rich text of the clipboard were left out")));

    // A document's objects get what its cells left: here room for one picture.
    QWidget page;
    TGObjectHost pageHost(&page);
    StreamReader again(list);
    qint64 budget = 10000000;
    ReadObjectList(again, &page, &pageHost.ObjectList(), &page, false, &report, &budget);
    EXPECT_EQ(report.richText.picturesLeftOut, 4);
    EXPECT_EQ(budget, 1000000);
}

}  // namespace
}  // namespace plennix
