#pragma once
// Files the user cares about are written atomically: the old file survives any failure. Files are read
// only when they are regular files, so that a named pipe or a device can never block a reader.
#include <QByteArray>
#include <QString>
#include <optional>

#include "platform/stream_error.h"

namespace plennix {
// A file that could not be read or written at all, as opposed to one whose content is wrong. Its message
// names the file and the reason, so that the command that catches it shows it as it is.
class FileError : public StreamError {
public:
    using StreamError::StreamError;
};

// Writes the whole content to path through a temporary file in the same folder: every write is checked,
// the data is flushed to the disk, and only then is the temporary file renamed over the old one (keeping
// its permissions). Returns false on failure and fills *error (when given) with a message that names the
// file and the reason ("Unable to write <path>: No space left on device"); the previous file is then
// untouched and no temporary file is left behind. A path that names a folder, a named pipe or a device is
// refused, and so is a file the user may not write; a symbolic link is followed, so that the link stays and its target is replaced.
bool WriteFileAtomically(const QString& path, const QByteArray& content, QString* error = nullptr);

// Reads a whole regular file of at most maxBytes. Empty optional when it cannot be read; *error (when
// given) then names the file and the reason: missing or not openable (the system's text), not a regular
// file (a folder, a named pipe, a device: such paths are never opened in a way that could block), or too
// large (with its size and the limit).
std::optional<QByteArray> ReadWholeFile(const QString& path, qint64 maxBytes = 256LL * 1024 * 1024,
                                        QString* error = nullptr);

// ReadWholeFile that throws FileError with that message.
QByteArray ReadWholeFileOrThrow(const QString& path, qint64 maxBytes);

// A failure made to happen inside WriteFileAtomically, so that tests can prove that no failure point
// loses the old file or goes unreported: the write stops after `atByte` bytes of the content reached
// the temporary file (as on a full disk), or the whole content is written and the final rename fails.
struct WriteFault {
    enum class Stage { Write, Rename } stage = Stage::Write;
    qint64 atByte = 0;  // for Stage::Write
};
// Every later WriteFileAtomically fails this way until the fault is cleared with std::nullopt.
void SetWriteFaultForTesting(std::optional<WriteFault> fault);
}  // namespace plennix
