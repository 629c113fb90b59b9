// The report engine: inches to device pixels at any resolution, pages on bitmaps and in PDF files.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPdfWriter>
#include <QPicture>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <stdexcept>

#include "common/test_support.h"
#include "printing/report.h"

using namespace plennix;
using plennix::test::PixelColor;

namespace {

QImage page(int dpi, double widthInches, double heightInches) {
    QImage image(qRound(widthInches * dpi), qRound(heightInches * dpi), QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    return image;
}

Rect inkBounds(const QImage& image) {
    Rect r{image.width(), image.height(), 0, 0};
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0xFFFFFF) != 0xFFFFFF) {
                r.left = std::min(r.left, x);
                r.top = std::min(r.top, y);
                r.right = std::max(r.right, x + 1);
                r.bottom = std::max(r.bottom, y + 1);
            }
    }
    return r.isEmpty() ? Rect{} : r;
}

bool hasMediaBox(const QByteArray& pdf, const char* widthHeight) {
    const QRegularExpression box(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"));
    const QRegularExpressionMatch m = box.match(QString::fromLatin1(pdf));
    if (!m.hasMatch()) return false;
    return QStringLiteral("%1 %2").arg(qRound(m.captured(1).toDouble())).arg(qRound(m.captured(2).toDouble())) ==
           QLatin1String(widthHeight);
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST(Report, InchesConvertAtTheDeviceResolution) {
    for (int dpi : {96, 600}) {
        QImage image = page(dpi, 2, 2);
        TReport report;
        report.SetDevice(&image);
        EXPECT_EQ(report.XDpi(), dpi);
        EXPECT_EQ(report.YDpi(), dpi);
        EXPECT_EQ(report.InchRect(0.5, 0.25, 1.5, 1.0), Rect(dpi / 2, dpi / 4, dpi * 3 / 2, dpi));
        EXPECT_DOUBLE_EQ(report.PageWidth(), 2.0);
        EXPECT_DOUBLE_EQ(report.XD2I(dpi), 1.0);
    }
    // Halves round to even: 0.5/96 inch is 0.5 pixel.
    QImage image = page(96, 1, 1);
    TReport report;
    report.SetDevice(&image);
    EXPECT_EQ(report.XI2D(0.5 / 96), 0);
    EXPECT_EQ(report.XI2D(1.5 / 96), 2);
    report.SetPenWidthPoints(1);
    EXPECT_EQ(report.PenWidthPixels(), 1);
    report.SetPenWidthInches(0.001);  // never thinner than one device pixel
    EXPECT_EQ(report.PenWidthPixels(), 1);
    QImage fine = page(600, 1, 1);
    report.SetDevice(&fine);
    report.SetPenWidthPoints(1);
    EXPECT_EQ(report.PenWidthPixels(), 8);  // 600 / 72 = 8.33
}

TEST(Report, ShapesLandOnTheRightPixels) {
    for (int dpi : {96, 600}) {
        QImage image = page(dpi, 3, 2);
        TReport report;
        report.SetDevice(&image);
        ASSERT_TRUE(report.BeginDoc()) << report.ErrorText().toStdString();
        report.SetBrush(clRed);
        report.FillRect(1.0, 0.5, 2.0, 1.5);
        report.EndDoc();
        EXPECT_EQ(inkBounds(image), Rect(dpi, dpi / 2, 2 * dpi, dpi * 3 / 2)) << dpi;
        EXPECT_EQ(PixelColor(image, dpi, dpi / 2), clRed);
        EXPECT_FALSE(report.Printing());
    }
    QImage image = page(96, 3, 2);
    TReport report;
    report.SetDevice(&image);
    ASSERT_TRUE(report.BeginDoc());
    report.SetPen(clBlue);
    report.SetBrush(clWhite, BrushStyle::bsClear);
    report.Rectangle(0.5, 0.5, 1.0, 1.0);
    report.SetPen(clBlack);
    report.Line(0, 1.5, 1, 1.5);
    report.EndDoc();
    EXPECT_EQ(PixelColor(image, 48, 48), clBlue);
    EXPECT_EQ(PixelColor(image, 95, 95), clBlue);
    EXPECT_EQ(PixelColor(image, 60, 60), clWhite);
    EXPECT_EQ(PixelColor(image, 0, 144), clBlack);
    EXPECT_EQ(PixelColor(image, 95, 144), clBlack);
    EXPECT_EQ(PixelColor(image, 96, 144), clWhite);
}

TEST(Report, TextKeepsItsSizeInInchesAtAnyResolution) {
    double widths[2];
    Rect ink[2];
    int i = 0;
    for (int dpi : {96, 600}) {
        QImage image = page(dpi, 4, 1);
        TReport report;
        report.SetDevice(&image);
        ASSERT_TRUE(report.BeginDoc());
        report.SetFont(QStringLiteral("Arial"), 24);
        report.SetFontColor(clBlack);
        widths[i] = report.TextWidth(QStringLiteral("HHHHHH"));
        EXPECT_NEAR(report.LineHeight(), 24 / 72.0 * 1.15, 0.03);
        report.PrintXY(0.5, 0.25, QStringLiteral("HHHHHH"));
        report.EndDoc();
        ink[i] = inkBounds(image);
        ASSERT_FALSE(ink[i].isEmpty());
        // The ink of capital H spans nearly the whole advance width.
        EXPECT_NEAR(ink[i].width() / double(dpi), widths[i], 0.08);
        EXPECT_NEAR(ink[i].left / double(dpi), 0.5, 0.03);
        ++i;
    }
    EXPECT_NEAR(widths[0], widths[1], widths[1] * 0.03);
    EXPECT_NEAR(ink[0].top / 96.0, ink[1].top / 600.0, 0.02);

    // Centred and right-aligned text, and rotated text going up from its point.
    QImage image = page(96, 4, 4);
    TReport report;
    report.SetDevice(&image);
    ASSERT_TRUE(report.BeginDoc());
    report.SetFont(QStringLiteral("Arial"), 18);
    report.PrintCenter(QStringLiteral("HHHH"), 2.0, 0.2);
    report.PrintRight(QStringLiteral("HHHH"), 3.5, 1.0);
    report.EndDoc();
    const Rect top = inkBounds(image.copy(0, 0, 384, 80)), right = inkBounds(image.copy(0, 80, 384, 80));
    EXPECT_LE(std::abs((top.left + top.right) - 2 * 192), 4);
    EXPECT_LE(std::abs(right.right - 336), 3);

    QImage rotated = page(96, 2, 4);
    TReport r2;
    r2.SetDevice(&rotated);
    ASSERT_TRUE(r2.BeginDoc());
    r2.SetFont(QStringLiteral("Arial"), 18);
    r2.SetFontRotation(90);
    EXPECT_EQ(r2.FontRotation(), 90);
    r2.PrintXY(0.5, 3.5, QStringLiteral("Rotated"));
    r2.EndDoc();
    const Rect up = inkBounds(rotated);
    EXPECT_GT(up.height(), 2 * up.width());
    EXPECT_LE(up.bottom, 338);
}

TEST(Report, TextPathClipsAndStrokes) {
    QImage image = page(96, 4, 2);
    TReport report;
    report.SetDevice(&image);
    ASSERT_TRUE(report.BeginDoc());
    report.SetFont(QStringLiteral("Arial"), 48, fsBold);
    const QPainterPath path = report.TextPathBaseline(0.5, 1.0, QStringLiteral("II"));
    ASSERT_FALSE(path.isEmpty());
    // The glyphs stand on the baseline.
    EXPECT_NEAR(path.boundingRect().bottom(), 96, 2);
    report.ClipToPath(path);
    report.SetBrush(clRed);
    report.FillRect(0, 0, 4, 2);  // shows only through the letters
    report.ResetClip();
    report.EndDoc();
    const Rect ink = inkBounds(image);
    EXPECT_LE(std::abs(ink.bottom - 96), 2);
    EXPECT_GE(ink.left, 48);
    EXPECT_EQ(PixelColor(image, 10, 10), clWhite);
}

TEST(Report, PictureAndImageStretchIntoInchRectangles) {
    QPicture picture;
    {
        QPainter p(&picture);
        p.fillRect(QRect(0, 0, 40, 20), Qt::blue);
    }
    QImage bitmap(4, 2, QImage::Format_RGB32);
    bitmap.fill(Qt::green);
    for (int dpi : {96, 600}) {
        QImage image = page(dpi, 3, 2);
        TReport report;
        report.SetDevice(&image);
        ASSERT_TRUE(report.BeginDoc());
        report.StretchDraw(0.5, 0.5, 1.5, 1.0, picture);
        report.EndDoc();
        const Rect ink = inkBounds(image);
        EXPECT_LE(std::abs(ink.left - dpi / 2), 1) << dpi;
        EXPECT_LE(std::abs(ink.right - dpi * 3 / 2), 1) << dpi;
        EXPECT_LE(std::abs(ink.bottom - dpi), 1) << dpi;
    }
    QImage image = page(96, 3, 2);
    TReport report;
    report.SetDevice(&image);
    ASSERT_TRUE(report.BeginDoc());
    report.StretchDraw(1.0, 1.0, 2.0, 1.5, bitmap);
    report.EndDoc();
    EXPECT_EQ(inkBounds(image), Rect(96, 96, 192, 144));
}

TEST(Report, PdfFilesHaveThePaperSizeAndPages) {
    QTemporaryDir dir;
    const QString letter = dir.filePath(QStringLiteral("letter.pdf"));
    TReport report;
    report.SetPdfOutput(letter);
    report.SetPaper(ReportPaper::Letter);
    EXPECT_EQ(report.MaxCopies(), 1);
    QStringList status;
    report.SetStatusHandler([&](const QString& s) { status << s; });
    ASSERT_TRUE(report.Execute(nullptr, [](TReport& r) {
        EXPECT_EQ(r.XDpi(), 1200);
        EXPECT_DOUBLE_EQ(r.PageWidth(), 8.5);
        EXPECT_DOUBLE_EQ(r.PageHeight(), 11.0);
        r.SetBrush(clBlack);
        r.FillRect(1, 1, 2, 2);
        r.SetFont(QStringLiteral("Arial"), 12);
        r.PrintXY(1, 3, QStringLiteral("Page one"));
        EXPECT_TRUE(r.NewPage());
        r.PrintXY(1, 3, QStringLiteral("Page two"));
    }));
    EXPECT_EQ(status, QStringList({QStringLiteral("Printing page 1"), QStringLiteral("Printing page 2")}));
    const QByteArray pdf = readAll(letter);
    ASSERT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_TRUE(hasMediaBox(pdf, "612 792"));
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "), 2);

    const QString a4 = dir.filePath(QStringLiteral("a4.pdf"));
    TReport landscape;
    landscape.SetPdfOutput(a4);
    landscape.SetPaper(ReportPaper::A4);
    ASSERT_TRUE(landscape.Execute([](TReport& r) { r.SetOrientation(ReportOrientation::poLandscape); },
                                  [](TReport& r) {
                                      EXPECT_NEAR(r.PageWidth(), 297 / 25.4, 0.01);
                                      r.Rectangle(0.5, 0.5, 10, 7);
                                  }));
    const QByteArray pdf2 = readAll(a4);
    EXPECT_TRUE(hasMediaBox(pdf2, "842 595"));

    // A QPdfWriter target also starts at the paper's corner.
    const QString written = dir.filePath(QStringLiteral("writer.pdf"));
    {
        QPdfWriter writer(written);
        writer.setResolution(300);
        TReport onWriter;
        onWriter.SetDevice(&writer);
        onWriter.SetPaper(ReportPaper::Letter);
        ASSERT_TRUE(onWriter.BeginDoc());
        EXPECT_EQ(onWriter.XDpi(), 300);
        EXPECT_EQ(onWriter.InchRect(0, 0, 8.5, 11), Rect(0, 0, 2550, 3300));
        onWriter.FillRect(0, 0, 1, 1);
        onWriter.EndDoc();
    }
    EXPECT_TRUE(hasMediaBox(readAll(written), "612 792"));
}

TEST(Report, FailuresAreReportedAndAbandonTheJob) {
    TReport noFile;
    noFile.SetPdfOutput(QString());
    EXPECT_FALSE(noFile.BeginDoc());
    EXPECT_FALSE(noFile.ErrorText().isEmpty());
    EXPECT_FALSE(noFile.Execute(nullptr, [](TReport&) { ADD_FAILURE() << "printed without a document"; }));

    QTemporaryDir dir;
    TReport report;
    report.SetPdfOutput(dir.filePath(QStringLiteral("broken.pdf")));
    EXPECT_THROW(report.Execute(nullptr, [](TReport&) { throw std::runtime_error("midway"); }), std::runtime_error);
    EXPECT_FALSE(report.Printing());
    // The report can run again afterwards.
    report.SetPdfOutput(dir.filePath(QStringLiteral("again.pdf")));
    EXPECT_TRUE(report.Execute(nullptr, [](TReport& r) { r.FillRect(0, 0, 1, 1); }));

    QImage image = page(96, 1, 1);
    TReport single;
    single.SetDevice(&image);
    ASSERT_TRUE(single.BeginDoc());
    EXPECT_FALSE(single.NewPage());  // a bitmap holds one page
    single.EndDoc();
}
