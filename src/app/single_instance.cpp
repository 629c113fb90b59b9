#include "app/single_instance.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QThread>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace plennix {

namespace {
const QByteArray kHeader = QByteArrayLiteral("PLENNIX-OPEN\n");

// A socket address for the path; false when the path does not fit one.
bool socketAddress(const QString& path, sockaddr_un& address) {
    const QByteArray bytes = QFile::encodeName(path);
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (bytes.isEmpty() || bytes.size() >= static_cast<qsizetype>(sizeof address.sun_path)) return false;
    std::memcpy(address.sun_path, bytes.constData(), static_cast<size_t>(bytes.size()));
    return true;
}

void closeQuietly(int fd) {
    if (fd >= 0) ::close(fd);
}

QString runtimeFolder() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    return dir;
}
}  // namespace

QByteArray EncodeHandOver(const QString& path) { return kHeader + path.toUtf8(); }

std::optional<QString> DecodeHandOver(const QByteArray& message) {
    if (message.size() > kMaxHandOverBytes || !message.startsWith(kHeader)) return std::nullopt;
    const QByteArray body = message.mid(kHeader.size());
    if (body.contains('\0') || body.contains('\n') || body.contains('\r')) return std::nullopt;
    const QString path = QString::fromUtf8(body);
    // A path that does not survive the round trip was not valid UTF-8.
    if (path.toUtf8() != body) return std::nullopt;
    return path;
}

TJustOne::TJustOne(QString name, QObject* parent) : QObject(parent), m_name(std::move(name)) {
    if (m_name.isEmpty()) {
        m_name = QCoreApplication::applicationFilePath().isEmpty()
                     ? QStringLiteral("plennix")
                     : QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    }
}

// One later copy talking to the first: its socket and what it has sent so far.
struct TJustOne::Caller {
    int fd = -1;
    QSocketNotifier* notifier = nullptr;
    QByteArray message;
};

TJustOne::~TJustOne() {
    while (!m_callers.empty()) DropCaller(m_callers.back().get());
    if (m_listener >= 0) {
        delete m_listenerNotifier;
        closeQuietly(m_listener);
        QFile::remove(ServerName());
    }
}

QString TJustOne::LockPath() const { return runtimeFolder() + '/' + m_name + QStringLiteral(".lock"); }

QString TJustOne::ServerName() const { return runtimeFolder() + '/' + m_name + QStringLiteral(".socket"); }

bool TJustOne::TryBecomeFirst() {
    m_lock = std::make_unique<QLockFile>(LockPath());
    // A running copy holds the lock for as long as it runs; only a dead owner makes it stale.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0)) return true;
    if (m_lock->error() == QLockFile::LockFailedError) {
        qint64 pid = 0;
        QString host, app;
        // The owner's process is gone (a crash): take the lock over.
        if (m_lock->getLockInfo(&pid, &host, &app) && m_lock->removeStaleLockFile() && m_lock->tryLock(0)) return true;
        return false;
    }
    // The runtime folder is unusable: run without the guard rather than not at all.
    return true;
}

bool TJustOne::HandOver(const QString& path, int timeoutMs) {
    sockaddr_un address;
    if (!socketAddress(ServerName(), address)) return false;
    const QByteArray message = EncodeHandOver(path);
    QElapsedTimer timer;
    timer.start();
    // The first copy may still be starting; try until it listens or the time is up.
    while (true) {
        // Non-blocking, so that a first copy whose queue of callers is full cannot hold this start past
        // its time (the connection is then refused with EAGAIN and tried again).
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd < 0) return false;
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            // Once connected, the message gets the whole time again: a copy that answers at the last
            // moment still receives it.
            qsizetype sent = 0;
            QElapsedTimer sending;
            sending.start();
            while (sent < message.size() && sending.elapsed() < timeoutMs) {
                pollfd writable{fd, POLLOUT, 0};
                if (::poll(&writable, 1, std::max(1, timeoutMs - static_cast<int>(sending.elapsed()))) <= 0) break;
                const ssize_t n = ::send(fd, message.constData() + sent, static_cast<size_t>(message.size() - sent),
                                         MSG_NOSIGNAL);
                if (n > 0) sent += n;
                else if (n < 0 && errno != EAGAIN && errno != EINTR) break;
            }
            closeQuietly(fd);
            return sent == message.size();
        }
        closeQuietly(fd);
        if (timer.elapsed() >= timeoutMs) return false;
        QThread::msleep(100);
    }
}

bool TJustOne::Listen() {
    if (m_listener >= 0) return true;
    sockaddr_un address;
    if (!socketAddress(ServerName(), address)) return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return false;
    // Holding the lock, a socket left behind by a crashed copy can only be stale.
    ::unlink(address.sun_path);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::chmod(address.sun_path, S_IRUSR | S_IWUSR) != 0 || ::listen(fd, 8) != 0) {
        closeQuietly(fd);
        ::unlink(address.sun_path);
        return false;
    }
    m_listener = fd;
    m_listenerNotifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_listenerNotifier, &QSocketNotifier::activated, this, [this] { AcceptCallers(); });
    return true;
}

void TJustOne::AcceptCallers() {
    while (true) {
        const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) return;  // no more waiting (EAGAIN), or a caller that gave up
        auto caller = std::make_unique<Caller>();
        caller->fd = fd;
        caller->notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        Caller* raw = caller.get();
        connect(caller->notifier, &QSocketNotifier::activated, this, [this, raw] { ReadCaller(raw); });
        m_callers.push_back(std::move(caller));
    }
}

void TJustOne::ReadCaller(Caller* caller) {
    char chunk[4096];
    while (true) {
        const ssize_t n = ::recv(caller->fd, chunk, sizeof chunk, 0);
        if (n > 0) {
            caller->message.append(chunk, n);
            // A message this long is not a hand-over: stop reading it.
            if (caller->message.size() > kMaxHandOverBytes) return DropCaller(caller);
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;  // more to come
        if (n < 0 && errno == EINTR) continue;
        // The caller closed its end: the message is complete (or the connection broke).
        const std::optional<QString> path = n == 0 ? DecodeHandOver(caller->message) : std::nullopt;
        DropCaller(caller);
        if (path && OnHandOver) OnHandOver(*path);
        return;
    }
}

void TJustOne::DropCaller(Caller* caller) {
    // The notifier may be the sender of the signal being handled: delete it once control returns.
    caller->notifier->setEnabled(false);
    caller->notifier->deleteLater();
    closeQuietly(caller->fd);
    std::erase_if(m_callers, [caller](const std::unique_ptr<Caller>& c) { return c.get() == caller; });
}

}  // namespace plennix
