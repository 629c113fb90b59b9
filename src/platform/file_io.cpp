#include "platform/file_io.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>

namespace plennix {

namespace {
std::optional<WriteFault> g_fault;
constexpr qint64 kChunk = 64 * 1024;
}  // namespace

void SetWriteFaultForTesting(std::optional<WriteFault> fault) { g_fault = fault; }

bool WriteFileAtomically(const QString& path, const QByteArray& content, QString* error) {
    QSaveFile f(path);
    // Never fall back to writing the target in place: that is the one way to lose the old file.
    f.setDirectWriteFallback(false);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error) *error = f.errorString();
        return false;
    }
    const std::optional<WriteFault> fault = g_fault;
    const qint64 size = content.size();
    const qint64 stopAt = fault && fault->stage == WriteFault::Stage::Write ? std::clamp<qint64>(fault->atByte, 0, size)
                                                                             : size;
    for (qint64 at = 0; at < stopAt;) {
        const qint64 n = std::min(kChunk, stopAt - at);
        const qint64 written = f.write(content.constData() + at, n);
        if (written <= 0) {
            if (error) *error = f.errorString();
            f.cancelWriting();
            return false;
        }
        at += written;
    }
    if (stopAt < size || (fault && fault->stage == WriteFault::Stage::Write)) {
        if (error) *error = QStringLiteral("No space left on device");
        f.cancelWriting();
        return false;
    }
    if (fault && fault->stage == WriteFault::Stage::Rename) {
        // The temporary file is complete; the rename over the old file is what fails.
        if (error) *error = QStringLiteral("Permission denied");
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) {
        if (error) *error = f.errorString();
        return false;
    }
    return true;
}

std::optional<QByteArray> ReadWholeFile(const QString& path, qint64 maxBytes) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    if (f.size() > maxBytes) return std::nullopt;
    return f.readAll();
}
}  // namespace plennix
