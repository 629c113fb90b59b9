// One copy per user: a later copy hands its file to the first; a lock left by a dead copy is taken over;
// the lock and the socket live only in a folder of the user's alone, and nothing passes between copies
// of different users.
#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "app/main_window.h"
#include "app/single_instance.h"
#include "calendar/calendar_panel.h"
#include "common/qstring_printer.h"
#include "platform/common_dialogs.h"
#include "platform/program_folder.h"
#include "test_support.h"

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

namespace {
// Sets (or with a null value removes) an environment variable for the life of the guard.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value) : m_name(name), m_had(qEnvironmentVariableIsSet(name)) {
        m_old = qgetenv(name);
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedEnv() {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

constexpr uid_t kNobody = 65534;

QString makeFolder(const QString& path, mode_t mode) {
    QDir().mkpath(path);
    ::chmod(QFile::encodeName(path).constData(), mode);
    return path;
}

// A socket address for `path` (the tests' paths are short).
sockaddr_un addressOf(const QString& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray bytes = QFile::encodeName(path);
    std::memcpy(address.sun_path, bytes.constData(), static_cast<size_t>(bytes.size()));
    return address;
}

// Waits for a forked child while letting the first copy's events run; its exit status, or -1.
int waitForChild(pid_t child, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    int status = 0;
    while (timer.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (::waitpid(child, &status, WNOHANG) == child) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
    return -1;
}
}  // namespace

// A folder that is not the user's alone is never used for the lock or the socket: open to others, a
// symbolic link to a private folder, or another user's. The guard then runs without a hand-over.
TEST(SingleInstance, LockAndSocketLiveOnlyInAPrivateFolder) {
    QTemporaryDir dir;
    const QString good = makeFolder(dir.filePath(QStringLiteral("good")), 0700);
    EXPECT_EQ(PrivateFolderProblem(good), QString());
    const QString open = makeFolder(dir.filePath(QStringLiteral("open")), 0755);
    EXPECT_TRUE(PrivateFolderProblem(open).contains(QStringLiteral("0755")))
        << PrivateFolderProblem(open).toStdString();
    const QString link = dir.filePath(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(good, link));
    EXPECT_TRUE(PrivateFolderProblem(link).contains(QStringLiteral("symbolic link")));
    EXPECT_FALSE(PrivateFolderProblem(dir.filePath(QStringLiteral("missing"))).isEmpty());

    for (const QString& folder : {open, link}) {
        const QString name = uniqueName();
        TJustOne guard(name, folder);
        EXPECT_EQ(guard.Folder(), QString());
        EXPECT_TRUE(guard.Warning().contains(folder)) << guard.Warning().toStdString();
        EXPECT_TRUE(guard.TryBecomeFirst());  // the program still starts
        EXPECT_FALSE(guard.Listen());
        EXPECT_FALSE(guard.HandOver(QStringLiteral("/a/Secret-Plans.PXF"), 100));
        EXPECT_TRUE(QDir(good).isEmpty()) << "nothing was made through the link";
        EXPECT_EQ(QDir(open).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot), QStringList());
    }
    TJustOne private_(uniqueName(), good);
    EXPECT_EQ(private_.Folder(), good);
    EXPECT_TRUE(private_.LockPath().startsWith(good + '/'));
    EXPECT_TRUE(private_.ServerName().startsWith(good + '/'));

    if (::geteuid() == 0) {
        const QString foreign = makeFolder(dir.filePath(QStringLiteral("foreign")), 0700);
        ASSERT_EQ(::chown(QFile::encodeName(foreign).constData(), kNobody, kNobody), 0);
        EXPECT_TRUE(PrivateFolderProblem(foreign).contains(QStringLiteral("belongs to user 65534")));
        EXPECT_EQ(TJustOne(uniqueName(), foreign).Folder(), QString());
    }
}

// Without a session (no XDG_RUNTIME_DIR: su, ssh) the lock and the socket go to the user's own folder
// in the temporary folder, made private; when someone else made that folder first, or put a link or a
// file in its place, the program starts without the hand-over and says why. The shared temporary
// folder itself is never used.
TEST(SingleInstance, WithoutASessionTheFolderInTheTemporaryFolderMustBeTheUsersOwn) {
    QTemporaryDir tmp;
    ScopedEnv runtime("XDG_RUNTIME_DIR", QByteArray());
    ScopedEnv tmpdir("TMPDIR", QFile::encodeName(tmp.path()));
    ASSERT_EQ(QDir::tempPath(), tmp.path());
    ::chmod(QFile::encodeName(tmp.path()).constData(), 01777);
    const QString own = tmp.filePath(QStringLiteral("plennix-%1").arg(::geteuid()));
    const mode_t oldMask = ::umask(0277);  // the folder must be usable whatever the umask
    {
        QString warning;
        EXPECT_EQ(SingleInstanceFolder(&warning), own);
        EXPECT_EQ(warning, QString());
        EXPECT_EQ(PrivateFolderProblem(own), QString());
        TJustOne guard(uniqueName());
        EXPECT_TRUE(guard.LockPath().startsWith(own + '/'));
    }
    ::umask(oldMask);
    ASSERT_TRUE(QDir(own).removeRecursively());

    // What another user of the machine could have left at that name before this user's first start.
    const QString elsewhere = makeFolder(tmp.filePath(QStringLiteral("elsewhere")), 0700);
    const std::vector<std::pair<const char*, std::function<void()>>> traps = {
        {"a folder open to all", [&] { makeFolder(own, 0777); }},
        {"a symbolic link", [&] { QFile::link(elsewhere, own); }},
        {"a plain file",
         [&] {
             QFile f(own);
             f.open(QIODevice::WriteOnly);
         }},
        {"a folder of another user",
         [&] {
             makeFolder(own, 0700);
             if (::geteuid() == 0)
                 (void)!::chown(QFile::encodeName(own).constData(), kNobody, kNobody);
             else
                 ::chmod(QFile::encodeName(own).constData(), 0750);
         }},
    };
    for (const auto& [what, make] : traps) {
        SCOPED_TRACE(what);
        make();
        QString warning;
        EXPECT_EQ(SingleInstanceFolder(&warning), QString());
        EXPECT_TRUE(warning.contains(own)) << warning.toStdString();
        const QString name = uniqueName();
        TJustOne guard(name);
        EXPECT_TRUE(guard.TryBecomeFirst());
        EXPECT_FALSE(guard.Listen());
        EXPECT_FALSE(QFile::exists(tmp.filePath(name + QStringLiteral(".lock"))));
        EXPECT_FALSE(QFile::exists(tmp.filePath(name + QStringLiteral(".socket"))));
        EXPECT_TRUE(QDir(elsewhere).isEmpty());
        QFile::remove(own);
        QDir(own).removeRecursively();
    }

    // A runtime folder that is not private is passed over, with a word about it.
    const QString loose = makeFolder(tmp.filePath(QStringLiteral("loose")), 0755);
    ScopedEnv looseRuntime("XDG_RUNTIME_DIR", QFile::encodeName(loose));
    QString warning;
    EXPECT_EQ(SingleInstanceFolder(&warning), own);
    EXPECT_TRUE(warning.contains(loose)) << warning.toStdString();
}

namespace {
// Collects Qt's warnings for the life of the guard instead of printing them.
struct QtWarnings {
    static inline QStringList seen;
    QtMessageHandler previous;
    QtWarnings() {
        seen.clear();
        previous =
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) { seen << text; });
    }
    ~QtWarnings() { qInstallMessageHandler(previous); }
};
}  // namespace

// A run without a session (cron, CI, ssh) says nothing but its own messages: Qt is given a private
// runtime folder before it looks for one, the user's own folder when that is private, else one made for
// this process alone and removed at its end.
TEST(SingleInstance, WithoutASessionQtFindsAPrivateRuntimeFolderAndSaysNothing) {
    QTemporaryDir tmp;
    ScopedEnv runtime("XDG_RUNTIME_DIR", QByteArray());
    ScopedEnv tmpdir("TMPDIR", QFile::encodeName(tmp.path()));
    const QString own = tmp.filePath(QStringLiteral("plennix-%1").arg(::geteuid()));
    QtWarnings warnings;
    {
        TPrivateRuntimeDir prepared;
        EXPECT_EQ(qEnvironmentVariable("XDG_RUNTIME_DIR"), own);
        EXPECT_EQ(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation), own);
        EXPECT_EQ(prepared.Warning(), QString());
    }
    EXPECT_TRUE(QDir(own).exists()) << "the user's own folder stays for the next start";
    ASSERT_TRUE(QDir(own).removeRecursively());

    qunsetenv("XDG_RUNTIME_DIR");
    makeFolder(own, 0777);  // someone else's doing
    QString made;
    {
        TPrivateRuntimeDir prepared;
        made = qEnvironmentVariable("XDG_RUNTIME_DIR");
        EXPECT_TRUE(made.startsWith(tmp.path() + QStringLiteral("/plennix-run-"))) << made.toStdString();
        EXPECT_EQ(PrivateFolderProblem(made), QString());
        EXPECT_EQ(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation), made);
        EXPECT_TRUE(prepared.Warning().contains(own)) << prepared.Warning().toStdString();
        TJustOne guard(uniqueName());
        EXPECT_EQ(guard.Folder(), made);
    }
    EXPECT_FALSE(QFileInfo::exists(made));
    EXPECT_EQ(warnings.seen, QStringList());

    // A session's private folder is left as it is.
    const QString session = makeFolder(tmp.filePath(QStringLiteral("session")), 0700);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(session));
    TPrivateRuntimeDir prepared;
    EXPECT_EQ(qEnvironmentVariable("XDG_RUNTIME_DIR"), session);
}

// A copy of another user (here a child that becomes "nobody") is hung up on before it can hand over a
// document or bring the window forward; this user's next start is still heard.
TEST(SingleInstance, CallersOfAnotherUserAreNotHeard) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
    QTemporaryDir dir;
    const QString folder = makeFolder(dir.filePath(QStringLiteral("run")), 0700);
    const QString name = uniqueName();
    TJustOne first(name, folder);
    ASSERT_TRUE(first.TryBecomeFirst());
    QStringList received;
    first.OnHandOver = [&](const QString& path) { received << path; };
    ASSERT_TRUE(first.Listen());
    // Opened up so that the other user can reach the socket at all: the user id is what must stop it.
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    ::chmod(QFile::encodeName(folder).constData(), 0711);
    ::chmod(QFile::encodeName(first.ServerName()).constData(), 0666);

    const sockaddr_un address = addressOf(first.ServerName());
    const QByteArray message = EncodeHandOver(QStringLiteral("/home/other/Trap.PXF"));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Only system calls from here on: the child of a threaded process.
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(3);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) ::_exit(4);
        (void)!::send(fd, message.constData(), static_cast<size_t>(message.size()), MSG_NOSIGNAL);
        // The message is complete; the child ends only once the first copy has hung up, so that the
        // first copy has dealt with it (handed it over or not) before the test looks.
        ::shutdown(fd, SHUT_WR);
        pollfd hungUp{fd, POLLIN, 0};
        char byte;
        if (::poll(&hungUp, 1, 5000) <= 0 || ::recv(fd, &byte, 1, 0) > 0) ::_exit(5);  // end or reset
        ::close(fd);
        ::_exit(0);
    }
    ASSERT_EQ(waitForChild(child, 8000), 0);
    EXPECT_EQ(received, QStringList());
    ::chmod(QFile::encodeName(folder).constData(), 0700);
    TJustOne second(name, folder);
    ASSERT_TRUE(second.HandOver(QStringLiteral("/root/Own.PXF"), 3000));
    QTRY_COMPARE_WITH_TIMEOUT(received.size(), 1, 3000);
    QTest::qWait(100);
    EXPECT_EQ(received, QStringList{QStringLiteral("/root/Own.PXF")});
}

// A later start hands nothing to a socket that another user listens on, even in a folder that passes
// for private: the path of the document stays with this user.
TEST(SingleInstance, NothingIsHandedToASocketOfAnotherUser) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
    QTemporaryDir dir;
    const QString folder = makeFolder(dir.filePath(QStringLiteral("run")), 0700);
    const QString name = uniqueName();
    TJustOne later(name, folder);
    ASSERT_EQ(later.Folder(), folder);
    const sockaddr_un address = addressOf(later.ServerName());
    int report[2];
    ASSERT_EQ(::pipe(report), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Bound while still root (the folder is root's), listening as nobody: the listener's user id
        // is the one taken at listen().
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) ::_exit(3);
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(4);
        if (::listen(fd, 1) != 0) ::_exit(5);
        pollfd waiting{fd, POLLIN, 0};
        if (::poll(&waiting, 1, 5000) <= 0) ::_exit(6);
        const int caller = ::accept(fd, nullptr, nullptr);
        char buffer[256];
        int total = 0;
        pollfd readable{caller, POLLIN, 0};
        while (::poll(&readable, 1, 2000) > 0) {
            const ssize_t n = ::recv(caller, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            total += static_cast<int>(n);
        }
        (void)!::write(report[1], &total, sizeof total);
        ::_exit(0);
    }
    ::close(report[1]);
    EXPECT_FALSE(later.HandOver(QStringLiteral("/root/Secret-Plans.PXF"), 3000));
    int total = -1;
    EXPECT_EQ(::read(report[0], &total, sizeof total), static_cast<ssize_t>(sizeof total));
    ::close(report[0]);
    EXPECT_EQ(waitForChild(child, 5000), 0);
    EXPECT_EQ(total, 0) << "bytes of the hand-over reached the other user";
}

// A later start naming a file that is not there (a typing slip) leaves the running window's document
// open and says which file could not be found.
TEST(SingleInstance, AMisspelledFileKeepsTheRunningWindowsDocument) {
    QFile::remove(ProgramFile(QStringLiteral("PX.ini")));
    QTemporaryDir dir;
    test::MessageRecorder messages(false);
    TCalendarMain window;
    {
        test::ScopedHook<ModalDialogRunner> dialogs(SetModalDialogRunner,
                                                    [](QDialog&) { return int(QDialog::Accepted); });
        window.FormActivate();
        window.New1Click();
    }
    const QString path = dir.filePath(QStringLiteral("Dec1997.PXF"));
    ASSERT_TRUE(window.SaveCalendarFile(path));
    const QString name = uniqueName();
    TJustOne first(name);
    ASSERT_TRUE(first.TryBecomeFirst());
    first.OnHandOver = [&](const QString& p) { window.HandOverReceived(p); };
    ASSERT_TRUE(first.Listen());
    const QString typo = dir.filePath(QStringLiteral("Dce1997.PXF"));
    TJustOne second(name);
    ASSERT_TRUE(second.HandOver(typo, 3000));
    QTRY_VERIFY_WITH_TIMEOUT(!messages.shown.empty(), 3000);
    EXPECT_EQ(messages.lastText(), QStringLiteral("File ") + typo + QStringLiteral(" could not be found"));
    EXPECT_EQ(window.FileName(), path);
    EXPECT_FALSE(window.CalendarPanel()->isHidden());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Plennix  [Dec1997.PXF]    [60%]"));
}
