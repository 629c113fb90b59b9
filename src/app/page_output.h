#pragma once
// Pages written to files without a printer: the printed page as a PDF through a PDF writer (no print
// system is asked for its printers, so the command line starts fast and works on a machine without
// one), the printed page as a PNG at a chosen resolution, and the on-screen page as PNG images. Each
// returns false with the message to show in *error, naming the file.
#include <QImage>
#include <QString>

#include "app/month_pages.h"

namespace plennix {

class TCalendarPanel32;

// `months` consecutive pages (one for the page alone) into one PDF of the page's paper and orientation,
// at zoom 1.0, placed objects included; fonts are embedded and the text stays selectable. `prepare`
// runs on each page before it is drawn.
bool WritePagesPdf(TCalendarPanel32& page, const QString& path, int months, QString* error,
                   const PagePreparer& prepare = {});

// The printed page drawn on an image of the paper's size at `dpi` pixels per inch.
QImage RenderPrintedPage(TCalendarPanel32& page, int dpi);
bool WritePrintedPagePng(TCalendarPanel32& page, const QString& path, int dpi, QString* error);
// Resolutions offered for a printed-page image (the largest keeps an A4 image under 150 MB).
constexpr int kMinExportDpi = 48;
constexpr int kMaxExportDpi = 600;

// `months` consecutive on-screen pages at the zoom as PNG files, numbered when more than one
// (NumberedPageFile).
bool WritePagesPng(TCalendarPanel32& page, const QString& path, float zoom, int months, QString* error,
                   const PagePreparer& prepare = {});

// An image written atomically in the given format ("png", "bmp").
bool WriteImageFile(const QImage& image, const QString& path, const char* format, QString* error);

}  // namespace plennix
