#pragma once
// Files the user cares about are written atomically: the old file survives any failure.
#include <QByteArray>
#include <QString>
#include <optional>

namespace plennix {
// Writes the whole content to path through a temporary file and rename. Returns false and fills
// *error (when given) on failure; the previous file is then untouched.
bool WriteFileAtomically(const QString& path, const QByteArray& content, QString* error = nullptr);
// Reads a whole file, refusing files larger than maxBytes. Empty optional when unreadable.
std::optional<QByteArray> ReadWholeFile(const QString& path, qint64 maxBytes = 256LL * 1024 * 1024);
}  // namespace plennix
