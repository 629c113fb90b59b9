#include "app/page_documents.h"

#include "app/document_io.h"
#include "calendar/calendar_panel.h"

namespace plennix {

namespace {
// A document is read and written at zoom 1.0 with painting suspended: its file holds the page at
// 100 %, and the page on screen must not show the steps in between. The zoom comes back also when the
// file fails.
class DocumentZoomGuard {
public:
    explicit DocumentZoomGuard(TCalendarPanel32& page) : m_page(page), m_zoom(page.Zoom()) {
        m_page.SetPaintSuspended(true);
        m_page.SetZoom(1.0f);
    }
    ~DocumentZoomGuard() {
        m_page.SetZoom(m_zoom);
        m_page.SetPaintSuspended(false);
    }
    DocumentZoomGuard(const DocumentZoomGuard&) = delete;
    DocumentZoomGuard& operator=(const DocumentZoomGuard&) = delete;

private:
    TCalendarPanel32& m_page;
    float m_zoom;
};
}  // namespace

bool LoadDocumentIntoPage(TCalendarPanel32& page, const QString& path, QObject* owner, QString* error) {
    // A file that is gone is reported before the page is touched.
    return ReadDocumentFile(path, [&] {
        DocumentZoomGuard guard(page);
        page.LoadFromFile(path, owner);
    }, error);
}

bool SavePageDocument(TCalendarPanel32& page, const QString& path, QString* error) {
    DocumentZoomGuard guard(page);
    return WriteDocumentFile([&] { page.SaveToFile(path); }, error);
}

}  // namespace plennix
