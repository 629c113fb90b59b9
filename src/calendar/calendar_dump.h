#pragma once
// A readable text of a calendar document, a style sheet or a clipboard file, for the command line's
// --dump: every style item by name, the date and start of week, each non-empty cell's plain text, the
// user title, and the placed objects in the text form of object records.
#include <QByteArray>
#include <QString>

namespace plennix {

// The kind is decided from the content, not from the file name. Throws StreamError when the file cannot
// be read or is not one of the three kinds.
QString DumpCalendarFile(const QString& path);
// `what` names the file in the lines that say what its rich text left out.
QString DumpCalendarBytes(const QByteArray& bytes, const QString& what = QStringLiteral("the document"));

}  // namespace plennix
