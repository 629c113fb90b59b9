#include "app/document_io.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>
#include <QPageSize>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>
#include <exception>

#include "calendar/calendar_page.h"
#include "calendar/calendar_print.h"
#include "objects/rich_label.h"
#include "platform/file_io.h"
#include "platform/png_writer.h"
#include "platform/stream_error.h"
#include "printing/report.h"

namespace plennix {

namespace {
QString failure(const QString& verb, const QString& path, const QString& why) {
    QString text = QStringLiteral("Unable to ") + verb + QLatin1Char(' ') + path;
    if (!why.isEmpty()) text += QStringLiteral(": ") + why;
    return text;
}

// A reader's message is the person's text already; anything else says what it can.
QString reasonOf(const std::exception& e) {
    if (const auto* stream = dynamic_cast<const StreamError*>(&e)) return stream->message();
    return QString::fromLocal8Bit(e.what());
}

QSizeF paperInches(const PageSource& page) {
    const QSizeF s =
        QPageSize(page.Settings().PaperSize == 1 ? QPageSize::A4 : QPageSize::Letter).size(QPageSize::Inch);
    return page.Settings().CalendarOrientation == TCalendarOrientation::coLandscape ? s.transposed() : s;
}

ReportPaper reportPaper(const PageSource& page) {
    return page.Settings().PaperSize == 1 ? ReportPaper::A4 : ReportPaper::Letter;
}

// An image written atomically in the given format ("png", "bmp").
bool writeImageFile(const QImage& image, const QString& path, const char* format, QString* error) {
    if (image.isNull()) {
        if (error) *error = failure(QStringLiteral("write"), path, QStringLiteral("the page is empty"));
        return false;
    }
    // Encoded in memory first: only a whole image ever replaces the file, through the checked write.
    QByteArray bytes;
    if (qstrcmp(format, "png") == 0) {
        QString why;
        if (!EncodePng(image, bytes, &why)) {
            if (error) *error = failure(QStringLiteral("write"), path, why);
            return false;
        }
    } else {
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
}  // namespace

// ---- documents ----

bool ReadDocumentFile(const QString& path, const std::function<void()>& read, QString* error) {
    if (!QFileInfo::exists(path)) {
        if (error) *error = QStringLiteral("File ") + path + QStringLiteral(" no longer exists");
        return false;
    }
    try {
        read();
    } catch (const FileError& e) {
        // The file itself could not be read (not a regular file, too large, not permitted): its reason
        // is what the person needs, not a guess at damage.
        if (error) *error = e.message();
        return false;
    } catch (const StreamError&) {
        if (error)
            *error = QStringLiteral("Unable to open ") + path + QStringLiteral(". Possibly \rcorrupted, possibly not a Calendar file");
        return false;
    }
    return true;
}

bool WriteDocumentFile(const std::function<void()>& write, QString* error) {
    try {
        write();
    } catch (const StreamError& e) {
        if (error) *error = e.message();
        return false;
    }
    return true;
}

bool LoadDocumentIntoPage(TCalendarPage& page, const QString& path, QString* error) {
    // Documents are read at zoom 1.0, as their file holds the page at 100 %.
    const float zoom = page.Zoom();
    page.SetZoom(1.0f);
    const bool ok = ReadDocumentFile(path, [&] { page.LoadFromFile(path); }, error);
    page.SetZoom(zoom);
    return ok;
}

QString ObjectsLeftOutNotice(const ObjectListReadReport& report, const QString& path) {
    return ObjectListReadMessage(report, QFileInfo(path).fileName());
}

bool SavePageDocument(TCalendarPage& page, const QString& path, QString* error) {
    const float zoom = page.Zoom();
    page.SetZoom(1.0f);
    const bool ok = WriteDocumentFile([&] { page.SaveToFile(path); }, error);
    page.SetZoom(zoom);
    return ok;
}

// ---- a page of its own ----

PageCopy::PageCopy(const PageSource& source) {
    const TCalendarPage& page = source.Page();
    read(page.SaveToBytes(), page.Zoom());
    // The page's last screen pass left the cell sizes its printed texts are laid out in; the copy
    // makes the same pass at the same zoom.
    if (!page.DrawState().cell1Text.isEmpty()) m_page->MeasureForPrint();
    m_page->View() = page.View();
}

PageCopy::PageCopy(const QByteArray& bytes, float zoom) { read(bytes, zoom); }

PageCopy::~PageCopy() = default;

void PageCopy::read(const QByteArray& bytes, float zoom) {
    m_page = std::make_unique<TCalendarPage>();
    // The bytes hold the document's geometry; the copy shows it at the zoom asked for.
    if (m_page->Zoom() != zoom) m_page->SetZoom(zoom);
    m_page->LoadFromBytes(bytes, true);
}

// ---- output ----

bool WritePagesPdf(const PageSource& page, const QString& path, int months, QString* error,
                   const PagePreparer& prepare) {
    months = std::clamp(months, 1, kMaxMonthPages);
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
        ApplyPrinterOrientation(report, page.Settings());
        if (!report.BeginDoc()) {
            if (error) *error = failure(QStringLiteral("print to"), path, report.ErrorText());
            return false;
        }
        try {
            PrintMonthPages(page, report, months, prepare);
        } catch (const std::exception& e) {
            report.Abort();
            if (error) *error = failure(QStringLiteral("print to"), path, reasonOf(e));
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

QImage RenderPrintedPage(const PageSource& page, int dpi) {
    dpi = std::clamp(dpi, kMinExportDpi, kMaxExportDpi);
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
        PrintMonthPages(page, report, 1);
    } catch (...) {
        report.Abort();
        throw;
    }
    report.EndDoc();
    return image;
}

bool WritePrintedPagePng(const PageSource& page, const QString& path, int dpi, QString* error) {
    QImage image;
    try {
        image = RenderPrintedPage(page, dpi);
    } catch (const std::exception& e) {
        if (error) *error = failure(QStringLiteral("write"), path, reasonOf(e));
        return false;
    }
    if (image.isNull()) {
        if (error) *error = failure(QStringLiteral("write"), path, QStringLiteral("not enough memory for the image"));
        return false;
    }
    return writeImageFile(image, path, "png", error);
}

bool WritePagesPng(const PageSource& page, const QString& path, float zoom, int months, QString* error,
                   const PagePreparer& prepare) {
    months = std::clamp(months, 1, kMaxMonthPages);
    bool ok = true;
    try {
        ForEachMonthPage(page, months, zoom, [&](TCalendarPage& month, int index) {
            if (prepare) prepare(month);
            ok = writeImageFile(month.RenderPage(), NumberedPageFile(path, index, months), "png", error);
            return ok;
        });
    } catch (const std::exception& e) {
        if (error) *error = failure(QStringLiteral("write"), path, reasonOf(e));
        return false;
    }
    return ok;
}

bool ExportCalendarBmp(const PageSource& page, const QString& path, float zoom, QString* error,
                       const PagePreparer& prepare) {
    QImage image;
    try {
        PageCopy copy(page);
        if (copy.Page().Zoom() != zoom) copy.Page().SetZoom(zoom);
        if (prepare) prepare(copy.Page());
        image = copy.Page().PaintToBitmap().convertToFormat(QImage::Format_RGB888);
    } catch (const std::exception& e) {
        if (error) *error = failure(QStringLiteral("write"), path, reasonOf(e));
        return false;
    }
    return writeImageFile(image, path, "bmp", error);
}

}  // namespace plennix
