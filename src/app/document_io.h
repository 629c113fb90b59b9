#pragma once
// A calendar document in and out of files, shared by the main window and the command line: reading it
// into the page and writing it from there, and its pages written as a PDF (through a PDF writer: no
// print system is asked for its printers, so the command line starts fast and works on a machine
// without one), as PNG images of the printed page or of the page as on screen, and the calendar alone
// as a bitmap. Each returns false with the message to show in *error, naming the file and the reason.
//
// Output never draws the page on screen: it reads the document's bytes back into a page of its own
// (PageCopy), sets that one's zoom, date and cells, draws it and lets it go. The page on screen keeps
// its zoom, settings, cells, objects and modified state throughout, also when the output fails.
#include <QImage>
#include <QString>
#include <functional>
#include <memory>

#include "app/month_pages.h"
#include "surface/object_read_report.h"

class QObject;
class QWidget;

namespace plennix {

class TCalendarPage;

// ---- documents ----

// Reads a document file through `read`, which throws FileError (the file cannot be read: its message is
// shown) or StreamError (it does not read as a document). False with the message to show in *error,
// also when the file does not exist.
bool ReadDocumentFile(const QString& path, const std::function<void()>& read, QString* error);
// Writes one through `write`, which throws StreamError naming the file.
bool WriteDocumentFile(const std::function<void()>& write, QString* error);

// Documents are read and written at zoom 1.0; the page's zoom is restored afterwards. A read replaces
// the page only when the whole document could be read. (The window's page: app/page_documents.h.)
bool LoadDocumentIntoPage(TCalendarPage& page, const QString& path, QString* error);
// After a read: what the person must be told about objects of the document that were left out
// (damaged records, or more than a page can carry), or empty when every object was read.
QString ObjectsLeftOutNotice(const ObjectListReadReport& report, const QString& path);
bool SavePageDocument(TCalendarPage& page, const QString& path, QString* error);

// ---- a page of its own ----

// The document's page read back from its bytes into a page of its own, apart from any window. The copy
// has the page's zoom and grid; a page that was drawn has its copy measured at that zoom as its screen
// pass measured it, so that printed cell texts come out as the page's would.
class PageCopy {
public:
    // Throws StreamError when the bytes do not read back whole (a record that cannot be read, or
    // more objects than a page carries): output without an object of the document would be wrong.
    explicit PageCopy(const PageSource& page);
    // The document `bytes` hold (written by SaveToBytes), shown at `zoom`.
    PageCopy(const QByteArray& bytes, float zoom);
    ~PageCopy();
    PageCopy(const PageCopy&) = delete;
    PageCopy& operator=(const PageCopy&) = delete;

    TCalendarPage& Page() { return *m_page; }

private:
    void read(const QByteArray& bytes, float zoom);

    std::unique_ptr<TCalendarPage> m_page;
};

// ---- output ----

// `months` consecutive pages (one for the page alone) into one PDF of the page's paper and orientation,
// at zoom 1.0, placed objects included; fonts are embedded and the text stays selectable. `prepare`
// runs on each page before it is drawn.
bool WritePagesPdf(const PageSource& page, const QString& path, int months, QString* error,
                   const PagePreparer& prepare = {});

// The printed page drawn on an image of the paper's size at `dpi` pixels per inch. Throws StreamError
// when the page does not read back.
QImage RenderPrintedPage(const PageSource& page, int dpi);
bool WritePrintedPagePng(const PageSource& page, const QString& path, int dpi, QString* error);
// Resolutions offered for a printed-page image (the largest keeps an A4 image under 150 MB).
constexpr int kMinExportDpi = 48;
constexpr int kMaxExportDpi = 600;

// `months` consecutive on-screen pages at the zoom as PNG files, numbered when more than one
// (NumberedPageFile).
bool WritePagesPng(const PageSource& page, const QString& path, float zoom, int months, QString* error,
                   const PagePreparer& prepare = {});

// The calendar alone (no placed objects) as a bitmap at the zoom. `prepare` runs on the page first.
bool ExportCalendarBmp(const PageSource& page, const QString& path, float zoom, QString* error,
                       const PagePreparer& prepare = {});

}  // namespace plennix
