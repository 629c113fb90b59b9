// The atomic write under injected failures (at every byte of a whole document, and at the rename) and
// on a really full disk: the old file survives byte for byte, no temporary file is left behind, and the
// failure is reported with the file's name. Reading refuses what is not a regular file or too large.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "common/fifo_path.h"
#include "common/full_disk.h"
#include "common/test_support.h"
#include "platform/file_io.h"
#include "platform/ini_file.h"
#include "platform/program_folder.h"

using namespace plennix;

namespace {

// A failure injected for the life of the guard.
struct FaultGuard : test::ScopedHook<std::optional<WriteFault>> {
    explicit FaultGuard(WriteFault f) : ScopedHook(SetWriteFaultForTesting, f) {}
};

QByteArray sampleDocument() {
    const auto bytes = ReadWholeFile(DataDir() + QStringLiteral("samples/Sample.PXF"));
    return bytes.value_or(QByteArray());
}

QStringList entries(const QTemporaryDir& dir) {
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

}  // namespace

TEST(AtomicWrite, NoFailurePointOfADocumentSaveLosesTheOldFile) {
    const QByteArray document = sampleDocument();
    ASSERT_GT(document.size(), 1000) << "the sample calendar was not found";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Calendar.PXF"));
    const QByteArray old = "the calendar as it was saved before";
    ASSERT_TRUE(WriteFileAtomically(path, old));

    auto expectIntact = [&](const QString& where) {
        SCOPED_TRACE(where.toStdString());
        EXPECT_EQ(ReadWholeFile(path).value_or(QByteArray()), old);
        EXPECT_EQ(entries(dir), QStringList{QStringLiteral("Calendar.PXF")});
    };
    for (qint64 at = 0; at <= document.size(); ++at) {
        FaultGuard fault({WriteFault::Stage::Write, at});
        QString error;
        const bool ok = WriteFileAtomically(path, document, &error);
        if (ok || error.isEmpty()) {
            ADD_FAILURE() << "a write failing at byte " << at << " was reported as " << (ok ? "success" : "no error");
            break;
        }
        if (ReadWholeFile(path).value_or(QByteArray()) != old || entries(dir).size() != 1) {
            expectIntact(QStringLiteral("write failing at byte %1").arg(at));
            break;
        }
    }
    {
        FaultGuard fault({WriteFault::Stage::Rename, 0});
        QString error;
        EXPECT_FALSE(WriteFileAtomically(path, document, &error));
        EXPECT_FALSE(error.isEmpty());
        expectIntact(QStringLiteral("rename failing"));
    }
    // Without a fault the same save replaces the file.
    QString error;
    EXPECT_TRUE(WriteFileAtomically(path, document, &error)) << error.toStdString();
    EXPECT_EQ(ReadWholeFile(path).value_or(QByteArray()), document);
}

TEST(AtomicWrite, AFailedFirstSaveCreatesNoFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("New.PXF"));
    for (const WriteFault fault : {WriteFault{WriteFault::Stage::Write, 3}, WriteFault{WriteFault::Stage::Rename, 0}}) {
        FaultGuard guard(fault);
        QString error;
        EXPECT_FALSE(WriteFileAtomically(path, QByteArray("content"), &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_TRUE(entries(dir).isEmpty());
    }
}

// On a file system that is really full the write of the data fails inside the system's buffers: the
// save is refused with the file's name and the reason, the old file keeps every byte, no temporary file
// stays, and a file that did not exist is not created empty. PX.ini saves go the same way.
TEST(AtomicWrite, OnAFullDiskTheOldFileSurvivesAndTheFailureNamesIt) {
    test::FullDisk disk;
    PLENNIX_REQUIRE_FULL_DISK(disk);
    const QByteArray old = "[MRU]\r\nF0=/home/someone/Dec1997.PXF\r\n";
    ASSERT_TRUE(disk.Place(QStringLiteral("PX.ini"), old));
    ASSERT_TRUE(disk.Place(QStringLiteral("Calendar.PXF"), "the calendar as saved before"));
    ASSERT_TRUE(disk.Fill());

    const QString doc = disk.FilePath(QStringLiteral("Calendar.PXF"));
    for (const qsizetype size : {qsizetype(1), qsizetype(5000), qsizetype(3 * 1024 * 1024)}) {
        QString error;
        EXPECT_FALSE(WriteFileAtomically(doc, QByteArray(size, 'x'), &error)) << size;
        EXPECT_EQ(error, QStringLiteral("Unable to write %1: No space left on device").arg(doc));
        EXPECT_EQ(disk.Read(QStringLiteral("Calendar.PXF")), QByteArray("the calendar as saved before"));
        EXPECT_EQ(disk.Files(), QStringList({QStringLiteral("Calendar.PXF"), QStringLiteral("PX.ini")}));
    }
    QString error;
    EXPECT_FALSE(WriteFileAtomically(disk.FilePath(QStringLiteral("New.PXF")), "new", &error));
    EXPECT_TRUE(error.contains(disk.FilePath(QStringLiteral("New.PXF")))) << error.toStdString();
    EXPECT_EQ(disk.Files(), QStringList({QStringLiteral("Calendar.PXF"), QStringLiteral("PX.ini")}));

    IniFile ini(disk.FilePath(QStringLiteral("PX.ini")));
    ini.setAutoSave(false);
    ini.writeString(QStringLiteral("Hints"), QStringLiteral("On"), QStringLiteral("1"));
    EXPECT_FALSE(ini.save(&error));
    EXPECT_EQ(error, QStringLiteral("Unable to write %1: No space left on device").arg(ini.path()));
    EXPECT_EQ(disk.Read(QStringLiteral("PX.ini")), old);
    EXPECT_EQ(disk.Files(), QStringList({QStringLiteral("Calendar.PXF"), QStringLiteral("PX.ini")}));
}

// A disk mounted read-only refuses the save before a byte is written; the message names the file.
TEST(AtomicWrite, OnAReadOnlyDiskTheFailureNamesTheFile) {
    test::FullDisk disk;
    PLENNIX_REQUIRE_FULL_DISK(disk);
    ASSERT_TRUE(disk.Place(QStringLiteral("Calendar.PXF"), "saved before"));
    ASSERT_TRUE(disk.MakeReadOnly());
    const QString doc = disk.FilePath(QStringLiteral("Calendar.PXF"));
    QString error;
    EXPECT_FALSE(WriteFileAtomically(doc, "changed", &error));
    EXPECT_EQ(error, QStringLiteral("Unable to write %1: Read-only file system").arg(doc));
    EXPECT_EQ(disk.Read(QStringLiteral("Calendar.PXF")), QByteArray("saved before"));
}

// The new file takes the old one's place as the old one was: its permissions stay, and a symbolic link
// stays a link whose target gets the new content. A first save gets the permissions the user's umask
// allows.
TEST(AtomicWrite, KeepsPermissionsAndLinks) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Shared.PXF"));
    ASSERT_TRUE(WriteFileAtomically(path, "old"));
    const mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0666u & ~mask);

    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    ASSERT_TRUE(WriteFileAtomically(path, "new"));
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    const QString link = dir.filePath(QStringLiteral("Link.PXF"));
    ASSERT_TRUE(QFile::link(path, link));
    ASSERT_TRUE(WriteFileAtomically(link, "through the link"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(ReadWholeFile(path).value_or(QByteArray()), QByteArray("through the link"));
    EXPECT_EQ(entries(dir), QStringList({QStringLiteral("Link.PXF"), QStringLiteral("Shared.PXF")}));
}

// A write-protected file is not replaced, although its folder would let a new file take its name. Root
// may write any file, so a root run makes the save as another user.
TEST(AtomicWrite, AWriteProtectedFileIsNotReplaced) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Protected.PXF"));
    ASSERT_TRUE(WriteFileAtomically(path, "kept"));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0444), 0);
    const bool asRoot = ::geteuid() == 0;
    constexpr uid_t kNobody = 65534;
    if (asRoot) {
        ASSERT_EQ(::chown(QFile::encodeName(dir.path()).constData(), kNobody, kNobody), 0);
        ASSERT_EQ(::chown(QFile::encodeName(path).constData(), kNobody, kNobody), 0);
        ASSERT_EQ(::setegid(kNobody), 0);
        ASSERT_EQ(::seteuid(kNobody), 0);
    }
    QString error;
    const bool written = WriteFileAtomically(path, "replaced", &error);
    if (asRoot) {
        ASSERT_EQ(::seteuid(0), 0);
        ASSERT_EQ(::setegid(0), 0);
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(error, QStringLiteral("Unable to write %1: Permission denied").arg(path));
    EXPECT_EQ(ReadWholeFile(path).value_or(QByteArray()), QByteArray("kept"));
    EXPECT_EQ(entries(dir), QStringList{QStringLiteral("Protected.PXF")});
}

// A folder, a named pipe or a device where a file is expected is neither read (opening a pipe would
// wait for a writer for ever) nor replaced by a save; a file above the limit is refused with its size.
// Each message names the path and the reason.
TEST(FileAccess, WhatIsNotARegularFileIsNeitherReadNorReplaced) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    test::FifoPath fifo(dir.filePath(QStringLiteral("Pipe.PXF")));
    ASSERT_TRUE(fifo.Made());
    QString error;
    EXPECT_FALSE(ReadWholeFile(fifo.Path(), 1000, &error));
    EXPECT_EQ(error, QStringLiteral("Cannot read %1: it is a named pipe, not a file").arg(fifo.Path()));
    EXPECT_FALSE(WriteFileAtomically(fifo.Path(), "x", &error));
    EXPECT_EQ(error, QStringLiteral("Unable to write %1: it is a named pipe, not a file").arg(fifo.Path()));
    EXPECT_TRUE(QFileInfo(fifo.Path()).exists() && !QFileInfo(fifo.Path()).isFile());
    EXPECT_FALSE(fifo.Blocked());

    const QString folder = dir.filePath(QStringLiteral("Folder.PXF"));
    ASSERT_TRUE(QDir().mkdir(folder));
    EXPECT_FALSE(ReadWholeFile(folder, 1000, &error));
    EXPECT_EQ(error, QStringLiteral("Cannot read %1: it is a folder, not a file").arg(folder));
    EXPECT_FALSE(WriteFileAtomically(folder, "x", &error));
    EXPECT_EQ(error, QStringLiteral("Unable to write %1: it is a folder, not a file").arg(folder));

    EXPECT_FALSE(WriteFileAtomically(QStringLiteral("/dev/null"), "x", &error));
    EXPECT_EQ(error, QStringLiteral("Unable to write /dev/null: it is a device, not a file"));

    const QString big = dir.filePath(QStringLiteral("PXRECUR.DAX"));
    {
        QFile f(big);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.resize(70 * 1000 * 1000));
    }
    EXPECT_FALSE(ReadWholeFile(big, 64 * 1024 * 1024, &error));
    EXPECT_EQ(error, QStringLiteral("Cannot read %1: the file is too large (70000000 bytes; at most 67108864 bytes "
                                    "are read)")
                         .arg(big));
    const QString missing = dir.filePath(QStringLiteral("Missing.PXF"));
    EXPECT_FALSE(ReadWholeFile(missing, 1000, &error));
    EXPECT_EQ(error, QStringLiteral("Cannot read %1: No such file or directory").arg(missing));
    EXPECT_FALSE(WriteFileAtomically(dir.filePath(QStringLiteral("nowhere/x.PXF")), "x", &error));
    EXPECT_EQ(error, QStringLiteral("Unable to write %1: No such file or directory")
                         .arg(dir.filePath(QStringLiteral("nowhere/x.PXF"))));
    EXPECT_EQ(entries(dir), QStringList({QStringLiteral("PXRECUR.DAX")}));
}

// A profile that exists but cannot be read is not replaced by one holding only the keys just written:
// the recent files and every other preference in it would be gone.
TEST(FileAccess, AnUnreadableProfileIsNotReplaced) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("PX.ini"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[MRU]\r\nF0=/a.PXF\r\n");
        ASSERT_TRUE(f.resize(17 * 1024 * 1024));
    }
    IniFile ini(path);
    EXPECT_TRUE(ini.readError().contains(path));
    ini.setAutoSave(false);
    ini.writeString(QStringLiteral("Hints"), QStringLiteral("On"), QStringLiteral("1"));
    QString error;
    EXPECT_FALSE(ini.save(&error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Cannot read ") + path + QStringLiteral(": the file is too large")))
        << error.toStdString();
    EXPECT_EQ(QFileInfo(path).size(), 17 * 1024 * 1024);
}
