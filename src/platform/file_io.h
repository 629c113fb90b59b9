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
