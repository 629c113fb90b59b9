// The headless command line: exports succeed on a document, and a missing or bad file ends with
// status 1 and no output file.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "app/command_line.h"

using namespace plennix;

namespace {
CommandLine parse(QStringList args) {
    args.prepend(QStringLiteral("plennix"));
    return ParseCommandLine(args);
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
