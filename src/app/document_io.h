#pragma once
// Reading, writing, exporting and printing a calendar page, shared by the main window and the
// command line. Each returns false with the message to show in *error, naming the file and the reason.
#include <QString>

class QObject;

namespace plennix {

class TCalendarPanel32;

// Documents are read and written at zoom 1.0, with painting suspended; the zoom is restored afterwards.
bool LoadDocumentIntoPage(TCalendarPanel32& page, const QString& path, QObject* owner, QString* error);
// After LoadDocumentIntoPage: what the person must be told about objects of the document that were
// left out (damaged records, or more than a page can carry), or empty when every object was read.
QString ObjectsLeftOutNotice(const TCalendarPanel32& page, const QString& path);
bool SavePageDocument(TCalendarPanel32& page, const QString& path, QString* error);
// The calendar alone as a bitmap at the zoom.
bool ExportCalendarBmp(TCalendarPanel32& page, const QString& path, float zoom, QString* error);

}  // namespace plennix
