// One copy per user: a later copy hands its file to the first; a lock left by a dead copy is taken over.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QUuid>

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
