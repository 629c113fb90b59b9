#pragma once
// A really full file system for the writers' tests: a small tmpfs mounted on a folder of its own, on
// which a test places the files that must survive and then fills every byte left. A buffered write that
// fails there fails as it does on a full disk, which injected faults above the system's buffers cannot
// show. Mounting needs root (as on the build machines); elsewhere the tests are skipped with a message.
//
//     test::FullDisk disk;
//     PLENNIX_REQUIRE_FULL_DISK(disk);
//     disk.Place("Calendar.PXF", old);
//     ASSERT_TRUE(disk.Fill());
//     ... save over disk.FilePath("Calendar.PXF"), expect failure, disk.Read(...) == old,
//     disk.Files() == {"Calendar.PXF"}
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/program_folder.h"

namespace plennix::test {

class FullDisk {
public:
    static constexpr const char* kFiller = "filler.bin";

    explicit FullDisk(int kilobytes = 1024) {
        std::string pattern = (QDir::tempPath() + QStringLiteral("/plennix-full-XXXXXX")).toStdString();
        if (!mkdtemp(pattern.data())) {
            m_skip =
                QStringLiteral("no folder for the full file system: ") + QString::fromLocal8Bit(std::strerror(errno));
            return;
        }
        m_path = QString::fromStdString(pattern);
        if (geteuid() != 0) {
            m_skip = QStringLiteral("mounting a small tmpfs as a full disk needs root; skipped");
            return;
        }
        const std::string options = "size=" + std::to_string(kilobytes) + "k,mode=0755";
        if (::mount("plennix-full", pattern.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) != 0) {
            m_skip = QStringLiteral("cannot mount a tmpfs as a full disk (") +
                     QString::fromLocal8Bit(std::strerror(errno)) + QStringLiteral("); skipped");
            return;
        }
        m_mounted = true;
    }
    ~FullDisk() {
        if (m_mounted) ::umount2(m_path.toLocal8Bit().constData(), MNT_DETACH);
        if (!m_path.isEmpty()) QDir(m_path).removeRecursively();
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    bool Mounted() const { return m_mounted; }
    const QString& SkipReason() const { return m_skip; }
    const QString& Path() const { return m_path; }
    QString FilePath(const QString& name) const { return m_path + QLatin1Char('/') + name; }

    // A file written while there is room: what a save must not lose.
    bool Place(const QString& name, const QByteArray& content) const {
        QFile f(FilePath(name));
        return f.open(QIODevice::WriteOnly) && f.write(content) == content.size() && f.flush();
    }
    QByteArray Read(const QString& name) const {
        QFile f(FilePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    // Takes every byte left; true when even one more byte in a new file is refused with ENOSPC.
    bool Fill() const {
        const QByteArray filler = QFile::encodeName(FilePath(QString::fromLatin1(kFiller)));
        const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        if (fd < 0) return false;
        static const char block[4096] = {};
        for (size_t size = sizeof block; size > 0;) {
            if (::write(fd, block, size) < 0) {
                if (errno != ENOSPC) break;
                size /= 2;
            }
        }
        ::close(fd);
        const QByteArray probe = QFile::encodeName(FilePath(QStringLiteral("probe")));
        const int p = ::open(probe.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        const bool full = p >= 0 && ::write(p, "x", 1) < 0 && errno == ENOSPC;
        if (p >= 0) ::close(p);
        ::unlink(probe.constData());
        return full;
    }
    // Mounts the disk again read-only (a save then fails before any byte is written).
    bool MakeReadOnly() const {
        return ::mount(nullptr, m_path.toLocal8Bit().constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }
    // The files on the disk besides the filler, hidden ones included: a temporary file left behind
    // shows here.
    QStringList Files() const {
        QStringList names =
            QDir(m_path).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
        names.removeAll(QString::fromLatin1(kFiller));
        return names;
    }

private:
    QString m_path;
    QString m_skip;
    bool m_mounted = false;
};

// The program folder moved onto the full disk for the life of the guard (PX.ini, PXRECUR.DAX and the
// clipboard file live there).
class ProgramFolderOn {
public:
    explicit ProgramFolderOn(const FullDisk& disk) : m_old(qgetenv("PLENNIX_PROGRAM_DIR")) {
        qputenv("PLENNIX_PROGRAM_DIR", QFile::encodeName(disk.Path()));
        ResetProgramDir();
    }
    ~ProgramFolderOn() {
        qputenv("PLENNIX_PROGRAM_DIR", m_old);
        ResetProgramDir();
    }
    ProgramFolderOn(const ProgramFolderOn&) = delete;
    ProgramFolderOn& operator=(const ProgramFolderOn&) = delete;

private:
    QByteArray m_old;
};

}  // namespace plennix::test

#define PLENNIX_REQUIRE_FULL_DISK(disk) \
    if (!(disk).Mounted()) GTEST_SKIP() << (disk).SkipReason().toStdString()
