#include "app/document_io.h"

#include <QFileInfo>

#include "app/page_output.h"
#include "calendar/calendar_panel.h"
#include "platform/file_io.h"
#include "platform/stream_error.h"
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

}  // namespace

bool LoadDocumentIntoPage(TCalendarPanel32& page, const QString& path, QObject* owner, QString* error) {
    if (!QFileInfo::exists(path)) {
        if (error) *error = QStringLiteral("File ") + path + QStringLiteral(" no longer exists");
        return false;
    }
    ZoomGuard guard(page, 1.0f, true);
    try {
        // The page is replaced only when the whole document could be read.
        page.LoadFromFile(path, owner);
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

bool ExportCalendarBmp(TCalendarPanel32& page, const QString& path, float zoom, QString* error) {
    ZoomGuard guard(page, zoom, false);
    QImage image = page.PaintToBitmap().convertToFormat(QImage::Format_RGB888);
    return WriteImageFile(image, path, "bmp", error);
}

}  // namespace plennix
