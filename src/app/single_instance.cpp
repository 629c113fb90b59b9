#include "app/single_instance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QStringList>
#include <QThread>
#include <cerrno>
#include <cstring>

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

// True when the other end of a connected socket runs as this user.
bool peerIsThisUser(int fd) {
    ucred peer{};
    socklen_t length = sizeof peer;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0 || length != sizeof peer) return false;
    return peer.uid == ::geteuid();
}

QString defaultName() {
    const QString program = QCoreApplication::applicationFilePath();
    return program.isEmpty() ? QStringLiteral("plennix") : QFileInfo(program).fileName();
}
}  // namespace

QString PrivateFolderProblem(const QString& path) {
    struct stat info {};
    if (path.isEmpty() || !QDir::isAbsolutePath(path)) return QStringLiteral("it is not an absolute path");
    // lstat: a symbolic link is refused as it is, whatever it points at.
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0) return QString::fromLocal8Bit(std::strerror(errno));
    if (S_ISLNK(info.st_mode)) return QStringLiteral("it is a symbolic link");
    if (!S_ISDIR(info.st_mode)) return QStringLiteral("it is not a folder");
    if (info.st_uid != ::geteuid())
        return QStringLiteral("it belongs to user %1, not to user %2").arg(info.st_uid).arg(::geteuid());
    if ((info.st_mode & (S_IRWXG | S_IRWXO)) != 0 || (info.st_mode & S_IRWXU) != S_IRWXU)
        return QStringLiteral("its mode is %1, not 0700").arg(info.st_mode & 07777, 4, 8, QLatin1Char('0'));
    return QString();
}

QString SingleInstanceFolder(QString* warning) {
    QStringList refused;
    // Read directly rather than through QStandardPaths, which falls back to a fixed name in /tmp and
    // complains on stderr when no session set the variable (su, ssh, cron).
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) {
        const QString problem = PrivateFolderProblem(runtime);
        if (problem.isEmpty()) return runtime;
        refused << QStringLiteral("XDG_RUNTIME_DIR %1 is not private (%2)").arg(runtime, problem);
    }
    // The temporary folder is shared: the user's folder there is made private, and one that someone
    // else made first (or a link in its place) is refused, never used.
    const QString own = QDir::tempPath() + QStringLiteral("/plennix-") + QString::number(::geteuid());
    const QByteArray encoded = QFile::encodeName(own);
    if (::mkdir(encoded.constData(), S_IRWXU) == 0) ::chmod(encoded.constData(), S_IRWXU);  // past the umask
    const QString problem = PrivateFolderProblem(own);
    if (problem.isEmpty()) {
        if (warning && !refused.isEmpty()) *warning = refused.first() + QStringLiteral("; using ") + own;
        return own;
    }
    refused << QStringLiteral("%1 is not private (%2)").arg(own, problem);
    if (warning)
        *warning = refused.join(QStringLiteral("; ")) +
                   QStringLiteral("; documents are not handed to a running copy, each start opens its own window");
    return QString();
}

TPrivateRuntimeDir::TPrivateRuntimeDir() {
    const QString session = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!session.isEmpty() && PrivateFolderProblem(session).isEmpty()) return;
    QString folder = SingleInstanceFolder(&m_warning);
    if (folder.isEmpty()) {
        QByteArray pattern = QFile::encodeName(QDir::tempPath() + QStringLiteral("/plennix-run-XXXXXX"));
        if (!::mkdtemp(pattern.data())) return;  // Qt falls back as it can; the guard stays off
        m_made = folder = QFile::decodeName(pattern);
    }
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder));
}

TPrivateRuntimeDir::~TPrivateRuntimeDir() {
    if (!m_made.isEmpty()) QDir(m_made).removeRecursively();
}

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
    if (m_name.isEmpty()) m_name = defaultName();
    m_folder = SingleInstanceFolder(&m_warning);
}

TJustOne::TJustOne(QString name, const QString& folder, QObject* parent) : QObject(parent), m_name(std::move(name)) {
    if (m_name.isEmpty()) m_name = defaultName();
    const QString problem = PrivateFolderProblem(folder);
    if (problem.isEmpty())
        m_folder = folder;
    else
        m_warning =
            QStringLiteral("%1 is not private (%2); documents are not handed to a running copy").arg(folder, problem);
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

QString TJustOne::LockPath() const {
    return m_folder.isEmpty() ? QString() : m_folder + '/' + m_name + QStringLiteral(".lock");
}

QString TJustOne::ServerName() const {
    return m_folder.isEmpty() ? QString() : m_folder + '/' + m_name + QStringLiteral(".socket");
}

bool TJustOne::TryBecomeFirst() {
    // Without a private folder there is nowhere safe to meet: run alone rather than not at all.
    if (m_folder.isEmpty()) return true;
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
            // The path of a document goes to a copy of this user only.
            if (!peerIsThisUser(fd)) {
                closeQuietly(fd);
                return false;
            }
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
        // Only a copy of this user may hand over a document or bring the window forward.
        if (!peerIsThisUser(fd)) {
            closeQuietly(fd);
            continue;
        }
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
