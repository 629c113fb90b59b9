#pragma once
// The window's page in and out of document files (app/document_io.h has the same for a page apart from
// any window). Each returns false with the message to show in *error, naming the file and the reason.
#include <QString>

class QObject;

namespace plennix {

class TCalendarPanel32;

// Documents are read and written at zoom 1.0, with painting suspended; the zoom is restored afterwards.
// A read replaces the page only when the whole document could be read (ObjectsLeftOutNotice then tells
// about objects left out).
bool LoadDocumentIntoPage(TCalendarPanel32& page, const QString& path, QObject* owner, QString* error);
bool SavePageDocument(TCalendarPanel32& page, const QString& path, QString* error);

}  // namespace plennix
