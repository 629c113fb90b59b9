// The headless command line: exports succeed on a document (rich-text labels included), a missing or
// bad file ends with status 1 and no output file, a wrong command line with 2; --help and --version.
#include <gtest/gtest.h>

#include <unistd.h>
#include <QColor>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <tuple>
#include <utility>
#include <vector>

#include "app/about_box.h"
#include "app/command_line.h"
#include "app/sample_calendar.h"
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

// What the run writes to `stream` (stderr or stdout), and its status.
std::pair<int, QString> runCapturing(const CommandLine& c, FILE* stream) {
    std::fflush(stream);
    QTemporaryDir dir;
    const QString capture = dir.filePath(QStringLiteral("captured.txt"));
    const int saved = dup(fileno(stream));
    FILE* f = std::fopen(capture.toLocal8Bit().constData(), "w");
    dup2(fileno(f), fileno(stream));
    const int status = RunCommandLine(c);
    std::fflush(stream);
    dup2(saved, fileno(stream));
    close(saved);
    std::fclose(f);
    QFile read(capture);
    read.open(QIODevice::ReadOnly);
    return {status, QString::fromLocal8Bit(read.readAll())};
}

std::pair<int, QString> runCapturingErrors(const CommandLine& c) { return runCapturing(c, stderr); }
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

// The forms QCommandLineParser adds are understood as well: a value after "=", options after the document.
TEST(CommandLine, TakesValuesAfterAnEqualsSignAndOptionsAfterTheDocument) {
    const CommandLine c = parse({"doc.PXF", "--export-png=out.png", "--zoom=0.5", "--months", "2"});
    EXPECT_EQ(c.action, CommandLine::Action::ExportPng);
    EXPECT_EQ(c.output, QStringLiteral("out.png"));
    EXPECT_FLOAT_EQ(c.zoom, 0.5f);
    EXPECT_EQ(c.months, 2);
    EXPECT_EQ(c.document, QStringLiteral("doc.PXF"));
    EXPECT_EQ(parse({"--", "--odd-name.PXF"}).document, QStringLiteral("--odd-name.PXF"));
    EXPECT_EQ(parse({"a.PXF", "b.PXF"}).action, CommandLine::Action::Usage);
    // Two actions at once used to be decided silently by the last one.
    EXPECT_EQ(parse({"--export-png", "a.png", "--print-pdf", "a.pdf", "d.PXF"}).action, CommandLine::Action::Usage);
}

// --help lists every option the parser knows, each on one line with its description; --version shows
// the one version the about box shows too. Both print to stdout and end with 0, and need no document.
TEST(CommandLine, HelpListsEveryOptionAndVersionShowsTheVersion) {
    for (const char* help : {"--help", "-h"}) EXPECT_EQ(parse({help}).action, CommandLine::Action::Help);
    EXPECT_EQ(parse({"--version"}).action, CommandLine::Action::Version);
    EXPECT_TRUE(IsHeadlessCommandLine({QStringLiteral("plennix"), QStringLiteral("--help")}));

    auto [status, out] = runCapturing(parse({"--help"}), stdout);
    EXPECT_EQ(status, 0);
    const QStringList lines = out.split('\n');
    ASSERT_GE(CommandLineOptions().size(), 12u);
    for (const CommandLineOption& option : CommandLineOptions()) {
        SCOPED_TRACE(option.name.toStdString());
        const QString head =
            option.value.isEmpty() ? option.name : option.name + QStringLiteral(" <") + option.value + '>';
        const QStringList mine = lines.filter(QRegularExpression(
            QStringLiteral("^\\s+(-h, )?") + QRegularExpression::escape(head) + QStringLiteral("\\s")));
        ASSERT_EQ(mine.size(), 1) << out.toStdString();
        EXPECT_TRUE(mine.first().trimmed().endsWith(option.description)) << mine.first().toStdString();
    }
    EXPECT_TRUE(out.startsWith(QStringLiteral("Usage: plennix [options] [DOC.PXF]\n"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("Exit status:")));

    std::tie(status, out) = runCapturing(parse({"--version"}), stdout);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out, QStringLiteral("plennix ") + ProgramVersion() + '\n');
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+$")).match(ProgramVersion()).hasMatch());
    EXPECT_TRUE(AboutText().startsWith(QStringLiteral("Plennix ") + ProgramVersion() + '\n'));
}

// The manual page describes every option the parser knows, with its value, in its OPTIONS section; an
// option added to the table without a word in the page fails here.
TEST(CommandLine, ManualPageDescribesEveryOption) {
    QFile page(QFileInfo(QString::fromUtf8(__FILE__)).dir().filePath(QStringLiteral("../../packaging/plennix.1.in")));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << page.fileName().toStdString();
    // roff writes a hyphen that must stay one as "\-".
    const QString text = QString::fromUtf8(page.readAll()).replace(QStringLiteral("\\-"), QStringLiteral("-"));
    const qsizetype options = text.indexOf(QStringLiteral("\n.SH OPTIONS\n"));
    ASSERT_GE(options, 0);
    const qsizetype next = text.indexOf(QStringLiteral("\n.SH "), options + 1);
    const QStringList lines = text.mid(options, next - options).split('\n');
    for (const CommandLineOption& option : CommandLineOptions()) {
        SCOPED_TRACE(option.name.toStdString());
        // The option's own entry: a paragraph tag naming it (and its value), not a mention in passing.
        const QRegularExpression entry(QStringLiteral("^\\.(B|BI|BR) (.*[ \"])?") +
                                       QRegularExpression::escape(option.name) + QStringLiteral("($|[ \"])"));
        qsizetype at = -1;
        for (qsizetype i = 1; i < lines.size(); ++i)
            if (lines[i - 1] == QLatin1String(".TP") && entry.match(lines[i]).hasMatch()) at = i;
        ASSERT_GE(at, 0) << "no .TP entry for the option in the manual page";
        if (!option.value.isEmpty()) {
            EXPECT_TRUE(lines[at].contains(QStringLiteral("\" ") + option.value + '"')) << lines[at].toStdString();
        }
    }
}

// Every PLENNIX_ environment variable the program reads has its entry in the manual page's ENVIRONMENT
// section.
TEST(CommandLine, ManualPageNamesEveryEnvironmentVariableTheProgramReads) {
    const QDir here = QFileInfo(QString::fromUtf8(__FILE__)).dir();
    QFile page(here.filePath(QStringLiteral("../../packaging/plennix.1.in")));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(page.readAll());
    const qsizetype environment = text.indexOf(QStringLiteral("\n.SH ENVIRONMENT\n"));
    ASSERT_GE(environment, 0);
    const QString section = text.mid(environment, text.indexOf(QStringLiteral("\n.SH "), environment + 1) - environment);
    QStringList read;
    const QRegularExpression quoted(QStringLiteral("\"(PLENNIX_[A-Z0-9_]+)\""));
    QDirIterator sources(here.filePath(QStringLiteral("../../src")), {QStringLiteral("*.cpp")}, QDir::Files,
                         QDirIterator::Subdirectories);
    while (sources.hasNext()) {
        QFile source(sources.next());
        ASSERT_TRUE(source.open(QIODevice::ReadOnly));
        for (const QRegularExpressionMatch& m : quoted.globalMatch(QString::fromUtf8(source.readAll())))
            if (!read.contains(m.captured(1))) read << m.captured(1);
    }
    EXPECT_GE(read.size(), 4) << read.join(' ').toStdString();
    for (const QString& name : read)
        EXPECT_TRUE(section.contains(QStringLiteral("\n.TP\n.B ") + name + '\n')) << name.toStdString();
}

// A wrong command line names what is wrong, points to --help and ends with 2, as command-line tools do.
TEST(CommandLine, UsageErrorsNameTheFaultPointToHelpAndEndWith2) {
    const std::vector<std::pair<QStringList, QString>> cases = {
        {{"--frobnicate", "d.PXF"}, "unknown option --frobnicate"},
        {{"-x", "d.PXF"}, "unknown option -x"},
        {{"-frobnicate=1", "d.PXF"}, "unknown option -frobnicate"},
        {{"--print-pdf"}, "--print-pdf needs its value <file>"},
        {{"--zoom", "abc", "d.PXF"}, "--zoom needs a factor from 0.1 to 8"},
        {{"--export-png", "a.png"}, "no document given"},
        {{"a.PXF", "b.PXF"}, "more than one document given"},
    };
    for (const auto& [args, why] : cases) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const auto [status, errors] = runCapturingErrors(parse(args));
        EXPECT_EQ(status, 2);
        EXPECT_EQ(errors, QStringLiteral("plennix: ") + why + QStringLiteral("; plennix --help lists the options\n"));
    }
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

// A headless run reads rich-text labels and the objects after them.
TEST(CommandLine, ExportsRichLabelsAndTheObjectsAfterThem) {
    QTemporaryDir dir;
    const QString doc = dir.filePath(QStringLiteral("Rich.PXF"));
    {
        QWidget window;
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
