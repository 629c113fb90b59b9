#pragma once
// TJustOne: one running copy per user. The first copy holds a lock file in the per-user runtime folder
// and listens on a Unix-domain socket beside it; a later copy finds the lock taken, hands the running
// copy the file it was given (or only asks it to come forward) and ends. A lock left by a crashed copy
// is recognised by its dead process and taken over. The socket is a plain one, so that the program
// loads no network library for it.
#include <QByteArray>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QSocketNotifier;

namespace plennix {

// The hand-over message: "PLENNIX-OPEN\n" followed by the UTF-8 path (empty: only come forward).
QByteArray EncodeHandOver(const QString& path);
// The path carried by a message, or nothing for anything that is not a complete, sane message.
std::optional<QString> DecodeHandOver(const QByteArray& message);
// Messages longer than this are refused without reading further.
constexpr qsizetype kMaxHandOverBytes = 64 * 1024;

class TJustOne : public QObject {
    Q_OBJECT
public:
    // `name` names the lock and the socket; by default the program file's name.
    explicit TJustOne(QString name = QString(), QObject* parent = nullptr);
    ~TJustOne() override;

    // Takes the lock (recovering a stale one); true when this copy is the first.
    bool TryBecomeFirst();
    // As a later copy: sends the file to the first copy; false when it could not be reached.
    bool HandOver(const QString& path, int timeoutMs = 5000);
    // As the first copy: listens for later copies; `OnHandOver` receives their files.
    bool Listen();
    std::function<void(const QString& path)> OnHandOver;

    QString LockPath() const;
    QString ServerName() const;

private:
    struct Caller;
    void AcceptCallers();
    void ReadCaller(Caller* caller);
    void DropCaller(Caller* caller);

    QString m_name;
    std::unique_ptr<QLockFile> m_lock;
    int m_listener = -1;
    QSocketNotifier* m_listenerNotifier = nullptr;
    std::vector<std::unique_ptr<Caller>> m_callers;
};

}  // namespace plennix
