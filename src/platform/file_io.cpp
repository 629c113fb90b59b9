#include "platform/file_io.h"

#include <QFile>
#include <QSaveFile>

namespace plennix {
bool WriteFileAtomically(const QString& path, const QByteArray& content, QString* error) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error) *error = f.errorString();
        return false;
    }
    if (f.write(content) != content.size()) {
        if (error) *error = f.errorString();
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
