// The headless command line: exports succeed on a document (rich-text labels included), and a missing
// or bad file ends with status 1 and no output file.
#include <gtest/gtest.h>

#include <unistd.h>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <tuple>
#include <utility>

#include "app/command_line.h"
#include "calendar/calendar_panel.h"
#include "objects/rich_label.h"
#include "print_support.h"
#include "richtext/rtf_storage.h"
#include "surface/label.h"

using namespace plennix;

namespace {
CommandLine parse(QStringList args) {
    args.prepend(QStringLiteral("plennix"));
    return ParseCommandLine(args);
}

// What the run writes to standard error, and its status.
std::pair<int, QString> runCapturingErrors(const CommandLine& c) {
    std::fflush(stderr);
    QTemporaryDir dir;
    const QString capture = dir.filePath(QStringLiteral("err.txt"));
    const int saved = dup(fileno(stderr));
    FILE* f = std::fopen(capture.toLocal8Bit().constData(), "w");
    dup2(fileno(f), fileno(stderr));
    const int status = RunCommandLine(c);
    std::fflush(stderr);
    dup2(saved, fileno(stderr));
    close(saved);
    std::fclose(f);
    QFile read(capture);
    read.open(QIODevice::ReadOnly);
    return {status, QString::fromLocal8Bit(read.readAll())};
}
}  // namespace

TEST(CommandLine, ParsesActionsZoomAndDocument) {
    CommandLine c = parse({"--export-bmp", "out.bmp", "--zoom", "0.5", "doc.PXF"});
    EXPECT_EQ(c.action, CommandLine::Action::ExportBmp);
    EXPECT_EQ(c.output, QStringLiteral("out.bmp"));
    EXPECT_FLOAT_EQ(c.zoom, 0.5f);
    EXPECT_EQ(c.document, QStringLiteral("doc.PXF"));
    EXPECT_EQ(parse({"doc.PXF"}).action, CommandLine::Action::OpenWindow);
    EXPECT_EQ(parse({"--print-pdf"}).action, CommandLine::Action::Usage);
    EXPECT_EQ(parse({"--export-png", "a.png"}).action, CommandLine::Action::Usage);  // no document
    EXPECT_EQ(parse({"--zoom", "abc", "d.PXF"}).action, CommandLine::Action::Usage);
    EXPECT_EQ(parse({"--frobnicate", "d.PXF"}).action, CommandLine::Action::Usage);
}

TEST(CommandLine, ExportsASampleAndRefusesBadFiles) {
    QTemporaryDir dir;
    const QString doc = dir.filePath(QStringLiteral("Sample.PXF"));
    ASSERT_TRUE(CreateSampleCalendar(doc, nullptr));

    const QString png = dir.filePath(QStringLiteral("page.png"));
    EXPECT_EQ(RunCommandLine(parse({"--export-png", png, doc})), 0);
    QImage image(png);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 1056);  // a landscape Letter page at 96 pixels per inch

    const QString bmp = dir.filePath(QStringLiteral("cal.bmp"));
    EXPECT_EQ(RunCommandLine(parse({"--export-bmp", bmp, "--zoom", "0.5", doc})), 0);
    EXPECT_EQ(QImage(bmp).width(), 528);

    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    EXPECT_EQ(RunCommandLine(parse({"--print-pdf", pdf, doc})), 0);
    QFile pdfFile(pdf);
    ASSERT_TRUE(pdfFile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdfFile.read(5).startsWith("%PDF"));

    const QString garbage = dir.filePath(QStringLiteral("Garbage.PXF"));
    QFile g(garbage);
    ASSERT_TRUE(g.open(QIODevice::WriteOnly));
    g.write("not a calendar at all");
    g.close();
    const QString out = dir.filePath(QStringLiteral("never.png"));
    EXPECT_EQ(RunCommandLine(parse({"--export-png", out, garbage})), 1);
    EXPECT_EQ(RunCommandLine(parse({"--export-png", out, dir.filePath(QStringLiteral("missing.PXF"))})), 1);
    EXPECT_EQ(RunCommandLine(parse({"--dump", garbage})), 1);
    EXPECT_FALSE(QFile::exists(out));
}

// An object the document holds but that cannot be read is missing from the output: the run still
// writes the page, and says on stderr how many objects were left out.
TEST(CommandLine, OutputOfADocumentWithUnreadableObjectsSaysWhatIsMissing) {
    QTemporaryDir dir;
    const QString doc = dir.filePath(QStringLiteral("Damaged.PXF"));
    ASSERT_TRUE(CreateSampleCalendar(doc, nullptr));
    const QString png = dir.filePath(QStringLiteral("page.png"));
    auto [status, errors] = runCapturingErrors(parse({"--export-png", png, doc}));
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(errors.isEmpty()) << errors.toStdString();

    // The sample's label becomes an object of a class nobody knows.
    QFile file(doc);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    file.close();
    const qsizetype at = bytes.indexOf("TGPLabel");
    ASSERT_GE(at, 0);
    bytes[at + 7] = 'X';
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();

    for (const QStringList& args :
         {QStringList{"--export-png", png, doc}, QStringList{"--print-pdf", png + ".pdf", doc},
          QStringList{"--export-bmp", png + ".bmp", doc}}) {
        SCOPED_TRACE(args.first().toStdString());
        std::tie(status, errors) = runCapturingErrors(parse(args));
        EXPECT_EQ(status, 0);
        EXPECT_TRUE(errors.contains(QStringLiteral("1 object(s) in Damaged.PXF could not be read")))
            << errors.toStdString();
        EXPECT_TRUE(QFile::exists(args.at(1)));
    }
}

namespace {
int redPixels(const QImage& image, const QRect& r) {
    int n = 0;
    for (int y = std::max(0, r.top()); y <= std::min(image.height() - 1, r.bottom()); ++y)
        for (int x = std::max(0, r.left()); x <= std::min(image.width() - 1, r.right()); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 180 && c.green() < 90 && c.blue() < 90) ++n;
        }
    return n;
}
}  // namespace

// A headless run reads rich-text labels (they need the hidden master editor) and the objects after them.
TEST(CommandLine, ExportsRichLabelsAndTheObjectsAfterThem) {
    QTemporaryDir dir;
    const QString doc = dir.filePath(QStringLiteral("Rich.PXF"));
    {
        QWidget window;
        CreateMasterRichText(&window);
        TCalendarPanel32 page(nullptr);
        page.SetNamingOwner(&window);
        page.ResetToDefaults();
        page.SetCalendarLayout(TCalendarLayout::loFullCalendar);
        page.SetMainCalYear(2026);
        page.SetMainCalMonth(12);
        auto* rich = new TGPRichBaseLabel(&window);
        rich->Loaded();
        TWPRtfStorage text;
        text.SetRtfData("{\\rtf1\\ansi\\deff0 {\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
                        "\\pard\\f0\\fs48\\cf1 HIX HIX\\par}");
        rich->SetRTFText(text);
        page.AddObject(rich, Rect::fromBounds(300, 600, 240, 60));
        auto* after = new TGPLabel(&window);
        after->Loaded();
        after->SetCaption(QStringLiteral("Afterwards"));
        page.AddObject(after, Rect::fromBounds(300, 700, 200, 30));
        after->GrowToFit();
        page.SaveToFile(doc);
    }
    const QString png = dir.filePath(QStringLiteral("rich.png"));
    ASSERT_EQ(RunCommandLine(parse({"--export-png", png, doc})), 0);
    const QImage image(png);
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(redPixels(image, QRect(300, 600, 240, 60)), 100);

    const QString pdf = dir.filePath(QStringLiteral("rich.pdf"));
    ASSERT_EQ(RunCommandLine(parse({"--print-pdf", pdf, doc})), 0);
    EXPECT_TRUE(test::PdfText(pdf).contains(QStringLiteral("Afterwards")));
    EXPECT_TRUE(test::PdfText(pdf).contains(QStringLiteral("HIX")));
}
