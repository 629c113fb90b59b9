#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace plennix {

namespace {
std::optional<WriteFault> g_fault;

QString systemText(int code) {
    char buffer[256];
    // The GNU strerror_r returns the text, which may or may not be in the buffer.
    return QString::fromLocal8Bit(strerror_r(code, buffer, sizeof buffer));
}

// Why a path that is not a regular file is not read or replaced, in words.
QString notAFile(mode_t mode) {
    if (S_ISDIR(mode)) return QStringLiteral("it is a folder, not a file");
    if (S_ISFIFO(mode)) return QStringLiteral("it is a named pipe, not a file");
    if (S_ISCHR(mode) || S_ISBLK(mode)) return QStringLiteral("it is a device, not a file");
    if (S_ISSOCK(mode)) return QStringLiteral("it is a socket, not a file");
    return QStringLiteral("it is not a regular file");
}

QString writeFailure(const QString& path, const QString& why) {
    return QStringLiteral("Unable to write ") + path + QStringLiteral(": ") + why;
}

QString readFailure(const QString& path, const QString& why) {
    return QStringLiteral("Cannot read ") + path + QStringLiteral(": ") + why;
}

QString tooLarge(const QString& path, qint64 size, qint64 maxBytes) {
    return readFailure(
        path, QStringLiteral("the file is too large (%1 bytes; at most %2 bytes are read)").arg(size).arg(maxBytes));
}

// The file a save really replaces: a symbolic link is followed so that the link stays in place.
QString followLinks(const QString& path) {
    QString target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (lstat(QFile::encodeName(target).constData(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
        const QString next = QFileInfo(target).symLinkTarget();
        if (next.isEmpty()) return target;
        target = next;
    }
    return target;
}

// Creates a new temporary file beside the target, readable and writable as a new file of the user's
// would be (the umask applies); returns its descriptor or -1 with errno set.
int createTemporary(const QString& target, QByteArray* tempPath) {
    const QFileInfo info(target);
    // Kept well below the longest name a folder allows, whatever the target's name.
    const QByteArray base = QFile::encodeName(info.fileName()).left(200);
    const QByteArray folder = QFile::encodeName(info.path());
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray name = folder + "/." + base + ".tmp-";
        for (int i = 0; i < 8; ++i) name += letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd >= 0) {
            *tempPath = name;
            return fd;
        }
        if (errno != EEXIST) return -1;
    }
    errno = EEXIST;
    return -1;
}

// Writes all of data, resuming after interruptions and short writes; false with errno set on failure.
bool writeAll(int fd, const char* data, qint64 size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(std::min<qint64>(size, 1 << 20)));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

// Makes the rename itself survive a crash; a folder that cannot be synced costs nothing that is not
// already on the disk, so failures are ignored.
void syncFolder(const QString& target) {
    const int fd = ::open(QFile::encodeName(QFileInfo(target).path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}
}  // namespace

void SetWriteFaultForTesting(std::optional<WriteFault> fault) { g_fault = fault; }

bool WriteFileAtomically(const QString& path, const QByteArray& content, QString* error) {
    auto fail = [&](const QString& why) {
        if (error) *error = writeFailure(path, why);
        return false;
    };
    if (path.isEmpty()) return fail(QStringLiteral("no file name was given"));
    const QString target = followLinks(path);
    struct stat old;
    const bool exists = ::stat(QFile::encodeName(target).constData(), &old) == 0;
    // A rename over a named pipe or a device would replace it with a plain file; a folder cannot be
    // replaced at all.
    if (exists && !S_ISREG(old.st_mode)) return fail(notAFile(old.st_mode));
    // A file the user may not write (protected on purpose) is not replaced behind its back, although the
    // folder would let a new file take its name.
    if (exists && ::faccessat(AT_FDCWD, QFile::encodeName(target).constData(), W_OK, AT_EACCESS) != 0)
        return fail(systemText(errno));

    QByteArray temp;
    const int fd = createTemporary(target, &temp);
    if (fd < 0) return fail(systemText(errno));
    auto discard = [&](int code) {
        ::close(fd);
        ::unlink(temp.constData());
        return fail(systemText(code));
    };
    if (exists) {
        // The new file keeps the old one's permissions and, where the user may set it, its group and owner.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
            // Not permitted for another owner; the file then belongs to the user who saved it.
        }
        if (::fchmod(fd, old.st_mode & 07777) != 0) return discard(errno);
    }
    const std::optional<WriteFault> fault = g_fault;
    const qint64 size = content.size();
    if (fault && fault->stage == WriteFault::Stage::Write) {
        const qint64 stopAt = std::clamp<qint64>(fault->atByte, 0, size);
        if (!writeAll(fd, content.constData(), stopAt)) return discard(errno);
        return discard(ENOSPC);
    }
    if (!writeAll(fd, content.constData(), size)) return discard(errno);
    // The data must be on the disk before the name points at it: a full disk or an I/O error can first
    // show here.
    if (::fsync(fd) != 0) return discard(errno);
    if (::close(fd) != 0) {
        const int code = errno;
        ::unlink(temp.constData());
        return fail(systemText(code));
    }
    if (fault && fault->stage == WriteFault::Stage::Rename) {
        ::unlink(temp.constData());
        return fail(systemText(EACCES));
    }
    if (::rename(temp.constData(), QFile::encodeName(target).constData()) != 0) {
        const int code = errno;
        ::unlink(temp.constData());
        return fail(systemText(code));
    }
    syncFolder(target);
    return true;
}

std::optional<QByteArray> ReadWholeFile(const QString& path, qint64 maxBytes, QString* error) {
    auto fail = [&](const QString& message) -> std::optional<QByteArray> {
        if (error) *error = message;
        return std::nullopt;
    };
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (path.isEmpty()) return fail(QStringLiteral("Cannot read a file without a name"));
    if (::stat(name.constData(), &st) != 0) return fail(readFailure(path, systemText(errno)));
    // Opening a named pipe waits for a writer and a device may never end: only regular files are read.
    if (!S_ISREG(st.st_mode)) return fail(readFailure(path, notAFile(st.st_mode)));
    if (st.st_size > maxBytes) return fail(tooLarge(path, st.st_size, maxBytes));
    // Not blocking, and checked again once open: the path may have been replaced in between.
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return fail(readFailure(path, systemText(errno)));
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    if (::fstat(fd, &st) != 0) return fail(readFailure(path, systemText(errno)));
    if (!S_ISREG(st.st_mode)) return fail(readFailure(path, notAFile(st.st_mode)));
    if (st.st_size > maxBytes) return fail(tooLarge(path, st.st_size, maxBytes));
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(st.st_size));
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(readFailure(path, systemText(errno)));
        }
        if (n == 0) break;
        // A file that grows while it is read is still held to the limit.
        if (bytes.size() + n > maxBytes) return fail(tooLarge(path, bytes.size() + n, maxBytes));
        bytes.append(buffer, n);
    }
    return bytes;
}

QByteArray ReadWholeFileOrThrow(const QString& path, qint64 maxBytes) {
    QString error;
    std::optional<QByteArray> bytes = ReadWholeFile(path, maxBytes, &error);
    if (!bytes) throw FileError(error);
    return std::move(*bytes);
}
}  // namespace plennix
