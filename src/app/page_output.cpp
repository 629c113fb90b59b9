#include "app/page_output.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>
#include <QPageSize>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>
#include <exception>

#include "app/month_pages.h"
#include "calendar/calendar_panel.h"
#include "platform/file_io.h"
#include "printing/report.h"
#include "surface/handle.h"

namespace plennix {

namespace {
// The page at a zoom for the life of the guard, painting suspended when asked; the zoom comes back
// also when the output fails midway.
class PageZoomGuard {
public:
    PageZoomGuard(TCalendarPanel32& page, float zoom, bool suspend)
        : m_page(page), m_zoom(page.Zoom()), m_suspend(suspend && !page.PaintSuspended()) {
        if (m_suspend) m_page.SetPaintSuspended(true);
        if (m_zoom != zoom) m_page.SetZoom(zoom);
    }
    ~PageZoomGuard() {
        if (m_page.Zoom() != m_zoom) m_page.SetZoom(m_zoom);
        if (m_suspend) m_page.SetPaintSuspended(false);
    }
    PageZoomGuard(const PageZoomGuard&) = delete;
    PageZoomGuard& operator=(const PageZoomGuard&) = delete;

private:
    TCalendarPanel32& m_page;
    float m_zoom;
    bool m_suspend;
};

QString failure(const QString& verb, const QString& path, const QString& why) {
    QString text = QStringLiteral("Unable to ") + verb + QLatin1Char(' ') + path;
    if (!why.isEmpty()) text += QStringLiteral(": ") + why;
    return text;
}

QSizeF paperInches(const TCalendarPanel32& page) {
    const QSizeF s =
        QPageSize(page.Settings().PaperSize == 1 ? QPageSize::A4 : QPageSize::Letter).size(QPageSize::Inch);
    return page.Settings().CalendarOrientation == TCalendarOrientation::coLandscape ? s.transposed() : s;
}

ReportPaper reportPaper(const TCalendarPanel32& page) {
    return page.Settings().PaperSize == 1 ? ReportPaper::A4 : ReportPaper::Letter;
}
}  // namespace

bool WriteImageFile(const QImage& image, const QString& path, const char* format, QString* error) {
    if (image.isNull()) {
        if (error) *error = failure(QStringLiteral("write"), path, QStringLiteral("the page is empty"));
        return false;
    }
    // Encoded in memory first: only a whole image ever replaces the file, through the checked write.
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, format);
        if (!writer.write(image)) {
            const QString why = writer.error() == QImageWriter::UnsupportedFormatError
                                    ? QStringLiteral("the %1 format is not available").arg(QString::fromLatin1(format))
                                    : QStringLiteral("the image could not be encoded as %1 (%2)")
                                          .arg(QString::fromLatin1(format), writer.errorString());
            if (error) *error = failure(QStringLiteral("write"), path, why);
            return false;
        }
    }
    return WriteFileAtomically(path, bytes, error);
}

bool WritePagesPdf(TCalendarPanel32& page, const QString& path, int months, QString* error,
                   const PagePreparer& prepare) {
    months = std::clamp(months, 1, kMaxMonthPages);
    PageZoomGuard guard(page, 1.0f, true);
    // Printed cell texts are sized from the last screen pass (as when printing from the window); a page
    // that was never shown gets one.
    if (page.HasCellText() && page.DrawState().cell1Text.isEmpty()) page.MeasureForPrint();
    // The document is made in memory and written whole: a failure midway, or a full disk, leaves a PDF
    // that was there before as it was.
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Plennix"));
        writer.setTitle(QFileInfo(path).completeBaseName());
        TReport report;
        report.SetDevice(&writer);
        report.SetTitle(QFileInfo(path).completeBaseName());
        report.SetPaper(reportPaper(page));
        page.ApplyPrinterOrientation(report);
        if (!report.BeginDoc()) {
            if (error) *error = failure(QStringLiteral("print to"), path, report.ErrorText());
            return false;
        }
        try {
            PrintMonthPages(page, report, months, prepare);
        } catch (const std::exception& e) {
            report.Abort();
            if (error) *error = failure(QStringLiteral("print to"), path, QString::fromLocal8Bit(e.what()));
            return false;
        }
        report.EndDoc();
    }
    if (bytes.isEmpty()) {
        if (error) *error = failure(QStringLiteral("print to"), path, QStringLiteral("no page was produced"));
        return false;
    }
    return WriteFileAtomically(path, bytes, error);
}

QImage RenderPrintedPage(TCalendarPanel32& page, int dpi) {
    dpi = std::clamp(dpi, kMinExportDpi, kMaxExportDpi);
    PageZoomGuard guard(page, 1.0f, true);
    if (page.HasCellText() && page.DrawState().cell1Text.isEmpty()) page.MeasureForPrint();
    const QSizeF inches = paperInches(page);
    QImage image(static_cast<int>(std::lround(inches.width() * dpi)),
                 static_cast<int>(std::lround(inches.height() * dpi)), QImage::Format_RGB32);
    if (image.isNull()) return image;
    const int dotsPerMeter = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    TReport report;
    report.SetDevice(&image);
    if (!report.BeginDoc()) return QImage();
    try {
        page.PrintPage(report, 0.0, 0.0);
    } catch (...) {
        report.Abort();
        throw;
    }
    report.EndDoc();
    return image;
}

bool WritePrintedPagePng(TCalendarPanel32& page, const QString& path, int dpi, QString* error) {
    QImage image;
    try {
        image = RenderPrintedPage(page, dpi);
    } catch (const std::exception& e) {
        if (error) *error = failure(QStringLiteral("write"), path, QString::fromLocal8Bit(e.what()));
        return false;
    }
    if (image.isNull()) {
        if (error) *error = failure(QStringLiteral("write"), path, QStringLiteral("not enough memory for the image"));
        return false;
    }
    return WriteImageFile(image, path, "png", error);
}

bool WritePagesPng(TCalendarPanel32& page, const QString& path, float zoom, int months, QString* error,
                   const PagePreparer& prepare) {
    months = std::clamp(months, 1, kMaxMonthPages);
    PageZoomGuard guard(page, zoom, false);
    page.Frame()->ClearSelection();
    bool ok = true;
    try {
        ForEachMonthPage(page, months, [&](int index) {
            if (!ok) return;
            if (prepare) prepare(page);
            ok = WriteImageFile(page.RenderPage(), NumberedPageFile(path, index, months), "png", error);
        });
    } catch (const std::exception& e) {
        if (error) *error = failure(QStringLiteral("write"), path, QString::fromLocal8Bit(e.what()));
        return false;
    }
    return ok;
}

}  // namespace plennix
