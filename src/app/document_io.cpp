#include "app/document_io.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

#include "calendar/calendar_panel.h"
#include "platform/stream_error.h"
#include "printing/report.h"
#include "surface/handle.h"

namespace plennix {

namespace {
// Sets the page to a zoom and suspends painting for the life of the guard.
class ZoomGuard {
public:
    ZoomGuard(TCalendarPanel32& page, float zoom, bool suspend) : m_page(page), m_zoom(page.Zoom()), m_suspend(suspend) {
        if (m_suspend) m_page.SetPaintSuspended(true);
        m_page.SetZoom(zoom);
    }
    ~ZoomGuard() {
        m_page.SetZoom(m_zoom);
        if (m_suspend) m_page.SetPaintSuspended(false);
    }

private:
    TCalendarPanel32& m_page;
    float m_zoom;
    bool m_suspend;
};

bool saveImage(const QImage& image, const QString& path, const char* format, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) *error = QStringLiteral("Unable to write ") + path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    QImageWriter writer(&file, format);
    if (!writer.write(image) || !file.commit()) {
        if (error) *error = QStringLiteral("Unable to write ") + path + QStringLiteral(": ") + writer.errorString();
        return false;
    }
    return true;
}
}  // namespace

bool LoadDocumentIntoPage(TCalendarPanel32& page, const QString& path, QObject* owner, QString* error) {
    if (!QFileInfo::exists(path)) {
        if (error) *error = QStringLiteral("File ") + path + QStringLiteral(" no longer exists");
        return false;
    }
    ZoomGuard guard(page, 1.0f, true);
    page.ClearObjects();
    page.ClearLastObjectReadReport();
    try {
        page.LoadFromFile(path, owner);
    } catch (const StreamError&) {
        if (error)
            *error = QStringLiteral("Unable to open ") + path + QStringLiteral(". Possibly \rcorrupted, possibly not a Calendar file");
        return false;
    }
    return true;
}

QString ObjectsLeftOutNotice(const TCalendarPanel32& page, const QString& path) {
    return ObjectListReadMessage(page.LastObjectReadReport(), QFileInfo(path).fileName());
}

bool SavePageDocument(TCalendarPanel32& page, const QString& path, QString* error) {
    ZoomGuard guard(page, 1.0f, true);
    try {
        page.SaveToFile(path);
    } catch (const StreamError& e) {
        if (error) *error = e.message();
        return false;
    }
    return true;
}

bool ExportPagePng(TCalendarPanel32& page, const QString& path, float zoom, QString* error) {
    ZoomGuard guard(page, zoom, false);
    page.Frame()->ClearSelection();
    return saveImage(page.RenderPage(), path, "png", error);
}

bool ExportCalendarBmp(TCalendarPanel32& page, const QString& path, float zoom, QString* error) {
    ZoomGuard guard(page, zoom, false);
    QImage image = page.PaintToBitmap().convertToFormat(QImage::Format_RGB888);
    return saveImage(image, path, "bmp", error);
}

bool PrintPagePdf(TCalendarPanel32& page, const QString& path, QString* error) {
    ZoomGuard guard(page, 1.0f, true);
    // The print path sizes its cell renderer from the last screen pass; make sure there was one.
    page.PaintToBitmap();
    TReport report;
    report.SetPdfOutput(path);
    report.SetTitle(QFileInfo(path).completeBaseName());
    report.SetPaper(page.Settings().PaperSize == 1 ? ReportPaper::A4 : ReportPaper::Letter);
    page.ApplyPrinterOrientation(report);
    if (!report.BeginDoc()) {
        if (error) *error = QStringLiteral("Unable to print to ") + path + QStringLiteral(": ") + report.ErrorText();
        return false;
    }
    page.PrintPage(report, 0.0, 0.0);
    report.EndDoc();
    if (!QFileInfo::exists(path)) {
        if (error) *error = QStringLiteral("Unable to print to ") + path;
        return false;
    }
    return true;
}

}  // namespace plennix
