// The report on the system printer: the printer's own PDF output is made through the report's writer
// with the paper chosen on the printer, a job abandoned with its report keeps the old file, and a
// caller's device stands in for the printer until another printer is chosen.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPageSize>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "common/qstring_printer.h"
#include "printing/printer_report.h"

using namespace plennix;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The first page's size in points, rounded: "420 595".
QString mediaBox(const QByteArray& pdf) {
    const QRegularExpression box(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"));
    const QRegularExpressionMatch m = box.match(QString::fromLatin1(pdf));
    if (!m.hasMatch()) return QString();
    return QStringLiteral("%1 %2").arg(qRound(m.captured(1).toDouble())).arg(qRound(m.captured(2).toDouble()));
}

}  // namespace

TEST(PrinterReport, PrintsToAFileOnThePrintersPaperAndKeepsItWhenAbandoned) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("printer.pdf"));
    {
        TPrinterReport report;
        report.SetPdfOutput(path);
        ASSERT_NE(report.Printer(), nullptr);
        // As the setup dialog leaves it: A5, and no paper of the report's own.
        report.Printer()->setPageSize(QPageSize(QPageSize::A5));
        EXPECT_EQ(report.MaxCopies(), 1);
        ASSERT_TRUE(report.Execute(nullptr, [](TReport& r) {
            EXPECT_EQ(r.XDpi(), 1200);
            EXPECT_NEAR(r.PageWidth(), 148 / 25.4, 0.01);
            r.FillRect(0, 0, 1, 1);
        })) << report.ErrorText().toStdString();
    }
    const QByteArray printed = readAll(path);
    ASSERT_TRUE(printed.startsWith("%PDF"));
    EXPECT_EQ(mediaBox(printed), QStringLiteral("420 595"));

    {
        TPrinterReport abandoned;
        abandoned.SetPdfOutput(path);
        ASSERT_TRUE(abandoned.BeginDoc());
        abandoned.Rectangle(1, 1, 3, 3);
    }
    EXPECT_EQ(readAll(path), printed);

    TPrinterReport noFile;
    noFile.SetPdfOutput(QString());
    EXPECT_FALSE(noFile.BeginDoc());
    EXPECT_EQ(noFile.ErrorText(), QStringLiteral("No file name was given for the PDF output"));
}

TEST(PrinterReport, ACallersDeviceHidesThePrinterUntilOneIsChosen) {
    QImage image(192, 96, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(96 / 0.0254));
    image.setDotsPerMeterY(qRound(96 / 0.0254));
    image.fill(Qt::white);
    TPrinterReport report;
    report.SetDevice(&image);
    EXPECT_EQ(report.Printer(), nullptr);
    EXPECT_EQ(report.MaxCopies(), 1);
    ASSERT_TRUE(report.BeginDoc());
    EXPECT_EQ(report.XDpi(), 96);
    EXPECT_DOUBLE_EQ(report.PageWidth(), 2.0);
    report.EndDoc();

    report.SetPrinterName(PdfPrinterName());
    ASSERT_NE(report.Printer(), nullptr);
    EXPECT_EQ(report.Device(), report.Printer());
}

TEST(PrinterReport, PrinterListAlwaysHasThePdfWriter) {
    EXPECT_TRUE(PrintersInstalled());
    EXPECT_FALSE(DefaultPrinterName().isEmpty());
    EXPECT_TRUE(InstalledPrinterNames().contains(PdfPrinterName()));
}
