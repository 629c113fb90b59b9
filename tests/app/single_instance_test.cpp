// One copy per user: a later copy hands its file to the first; a lock left by a dead copy is taken over.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QUuid>
#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "common/qstring_printer.h"
#include "app/single_instance.h"

using namespace plennix;

namespace {
QString uniqueName() { return QStringLiteral("plennix-test-") + QUuid::createUuid().toString(QUuid::Id128); }
}  // namespace

TEST(SingleInstance, SecondCopyHandsItsFileToTheFirst) {
    const QString name = uniqueName();
    TJustOne first(name);
    ASSERT_TRUE(first.TryBecomeFirst());
    QStringList received;
    first.OnHandOver = [&](const QString& path) { received << path; };
    ASSERT_TRUE(first.Listen());

    TJustOne second(name);
    EXPECT_FALSE(second.TryBecomeFirst());
    ASSERT_TRUE(second.HandOver(QStringLiteral("/home/a/Dec1997 ü.PXF"), 3000));
    ASSERT_TRUE(second.HandOver(QString(), 3000));
    QTRY_COMPARE_WITH_TIMEOUT(received.size(), 2, 3000);
    EXPECT_EQ(received[0], QStringLiteral("/home/a/Dec1997 ü.PXF"));
    EXPECT_EQ(received[1], QString());
}

TEST(SingleInstance, NobodyListeningMeansHandOverFails) {
    TJustOne lonely(uniqueName());
    EXPECT_FALSE(lonely.HandOver(QStringLiteral("/x.PXF"), 300));
}

TEST(SingleInstance, LockOfACrashedCopyIsTakenOver) {
    const QString name = uniqueName();
    TJustOne probe(name);
    // A process id that surely ended: a child that has exited.
    QProcess child;
    child.start(QStringLiteral("true"));
    ASSERT_TRUE(child.waitForFinished(5000));
    const qint64 deadPid = child.processId() ? child.processId() : 999999;
    QFile lock(probe.LockPath());
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(deadPid == 0 ? 999999 : deadPid) + "\nplennix\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    lock.close();
    TJustOne fresh(name);
    EXPECT_TRUE(fresh.TryBecomeFirst());
}

TEST(SingleInstance, HandOverMessagesAreCheckedBeforeUse) {
    EXPECT_EQ(DecodeHandOver(EncodeHandOver(QStringLiteral("/a/b.PXF"))), QStringLiteral("/a/b.PXF"));
    EXPECT_FALSE(DecodeHandOver("OPEN /a/b.PXF").has_value());
    EXPECT_FALSE(DecodeHandOver(QByteArray("PLENNIX-OPEN\n/a\0b", 17)).has_value());
    EXPECT_FALSE(DecodeHandOver("PLENNIX-OPEN\n/a\nrm -rf").has_value());
    EXPECT_FALSE(DecodeHandOver("PLENNIX-OPEN\n\xff\xfe").has_value());
    EXPECT_FALSE(DecodeHandOver("PLENNIX-OPEN\n" + QByteArray(kMaxHandOverBytes, 'a')).has_value());
}

// The socket is the user's alone and goes with the copy that made it; a caller that floods it or
// breaks off is dropped without a hand-over, and the next caller is still heard.
TEST(SingleInstance, SocketIsPrivateAndBadCallersAreDropped) {
    const QString name = uniqueName();
    QStringList received;
    QString socketPath;
    {
        TJustOne first(name);
        ASSERT_TRUE(first.TryBecomeFirst());
        first.OnHandOver = [&](const QString& path) { received << path; };
        ASSERT_TRUE(first.Listen());
        socketPath = first.ServerName();
        EXPECT_EQ(QFile::permissions(socketPath) & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther |
                                                    QFile::WriteOther),
                  QFile::Permissions());

        // Raw callers: one sends far more than a hand-over can be, one sends half a header.
        for (const QByteArray& junk : {QByteArray(kMaxHandOverBytes + 5000, 'x'), QByteArray("PLENNIX-OP")}) {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            ASSERT_GE(fd, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            const QByteArray bytes = QFile::encodeName(socketPath);
            std::memcpy(address.sun_path, bytes.constData(), static_cast<size_t>(bytes.size()));
            ASSERT_EQ(::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
            qsizetype sent = 0;
            while (sent < junk.size()) {
                QCoreApplication::processEvents();
                const ssize_t n = ::send(fd, junk.constData() + sent, static_cast<size_t>(junk.size() - sent),
                                         MSG_NOSIGNAL | MSG_DONTWAIT);
                if (n > 0) sent += n;
                else if (errno != EAGAIN) break;  // the first copy hung up on the flood
            }
            ::close(fd);
        }
        TJustOne second(name);
        ASSERT_TRUE(second.HandOver(QStringLiteral("/a/Jan.PXF"), 3000));
        QTRY_COMPARE_WITH_TIMEOUT(received.size(), 1, 3000);
        EXPECT_EQ(received[0], QStringLiteral("/a/Jan.PXF"));
    }
    EXPECT_FALSE(QFile::exists(socketPath));
}
