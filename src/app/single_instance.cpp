#include "app/single_instance.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace plennix {

namespace {
const QByteArray kHeader = QByteArrayLiteral("PLENNIX-OPEN\n");

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

TJustOne::~TJustOne() {
    if (m_server) m_server->close();
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
    QElapsedTimer timer;
    timer.start();
    // The first copy may still be starting; try until it listens or the time is up.
    while (true) {
        QLocalSocket socket;
        socket.connectToServer(ServerName());
        if (socket.waitForConnected(std::max(100, timeoutMs - static_cast<int>(timer.elapsed())))) {
            socket.write(EncodeHandOver(path));
            const bool written = socket.waitForBytesWritten(std::max(100, timeoutMs - static_cast<int>(timer.elapsed())));
            socket.disconnectFromServer();
            if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(1000);
            return written;
        }
        if (timer.elapsed() >= timeoutMs) return false;
        QThread::msleep(100);
    }
}

bool TJustOne::Listen() {
    if (m_server) return true;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Holding the lock, a socket left behind by a crashed copy can only be stale.
    QLocalServer::removeServer(ServerName());
    if (!m_server->listen(ServerName())) return false;
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            auto* buffer = new QByteArray;
            connect(socket, &QLocalSocket::readyRead, socket, [socket, buffer] {
                *buffer += socket->read(kMaxHandOverBytes + 1 - buffer->size());
                if (buffer->size() > kMaxHandOverBytes) socket->abort();
            });
            connect(socket, &QLocalSocket::disconnected, this, [this, socket, buffer] {
                *buffer += socket->read(std::max<qsizetype>(0, kMaxHandOverBytes + 1 - buffer->size()));
                const auto path = DecodeHandOver(*buffer);
                delete buffer;
                socket->deleteLater();
                if (path && OnHandOver) OnHandOver(*path);
            });
        }
    });
    return true;
}

}  // namespace plennix
