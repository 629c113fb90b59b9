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

// Why `path` is not a folder of this user's alone: not there, a symbolic link, not a folder, owned by
// someone else, or open to the group or to others. Empty when it is private.
QString PrivateFolderProblem(const QString& path);
// The folder for the lock and the socket: $XDG_RUNTIME_DIR when it is private, else the user's own
// "plennix-UID" folder in the temporary folder (made with mode 0700 when missing). Empty when neither
// is private; `warning` then says which folder was refused and why (and when a refused
// $XDG_RUNTIME_DIR was passed over).
QString SingleInstanceFolder(QString* warning = nullptr);

// Made before the application object, for the life of the process: when the session gave no private
// runtime folder (su, ssh, cron, or an XDG_RUNTIME_DIR open to others), XDG_RUNTIME_DIR is set to the
// user's own folder from SingleInstanceFolder(), or, when that is refused, to a folder made for this
// process alone (mkdtemp) and removed with this object. Qt then neither complains on stderr nor falls
// back to a fixed name in the shared temporary folder.
class TPrivateRuntimeDir {
public:
    TPrivateRuntimeDir();
    ~TPrivateRuntimeDir();
    TPrivateRuntimeDir(const TPrivateRuntimeDir&) = delete;
    TPrivateRuntimeDir& operator=(const TPrivateRuntimeDir&) = delete;
    // Set when later starts cannot find this copy (the process has a folder of its own): why.
    QString Warning() const { return m_warning; }

private:
    QString m_made;
    QString m_warning;
};

// The hand-over message: "PLENNIX-OPEN\n" followed by the UTF-8 path (empty: only come forward).
QByteArray EncodeHandOver(const QString& path);
// The path carried by a message, or nothing for anything that is not a complete, sane message.
std::optional<QString> DecodeHandOver(const QByteArray& message);
// Messages longer than this are refused without reading further.
constexpr qsizetype kMaxHandOverBytes = 64 * 1024;

class TJustOne : public QObject {
    Q_OBJECT
public:
    // `name` names the lock and the socket; by default the program file's name. They live in
    // SingleInstanceFolder(), or in `folder` when one is given (it must be private all the same).
    explicit TJustOne(QString name = QString(), QObject* parent = nullptr);
    TJustOne(QString name, const QString& folder, QObject* parent = nullptr);
    ~TJustOne() override;

    // Takes the lock (recovering a stale one); true when this copy is the first, and also when there
    // is no private folder (the copy then runs on its own, without the hand-over).
    bool TryBecomeFirst();
    // As a later copy: sends the file to the first copy; false when it could not be reached or the
    // socket's owner is another user (nothing is sent then).
    bool HandOver(const QString& path, int timeoutMs = 5000);
    // As the first copy: listens for later copies; `OnHandOver` receives their files. Callers of
    // another user are hung up on unheard.
    bool Listen();
    std::function<void(const QString& path)> OnHandOver;

    // Empty when there is no private folder.
    QString Folder() const { return m_folder; }
    // Why the hand-over is off or the folder was changed, for the person who started the program.
    QString Warning() const { return m_warning; }
    QString LockPath() const;
    QString ServerName() const;

private:
    struct Caller;
    void AcceptCallers();
    void ReadCaller(Caller* caller);
    void DropCaller(Caller* caller);

    QString m_name;
    QString m_folder;
    QString m_warning;
    std::unique_ptr<QLockFile> m_lock;
    int m_listener = -1;
    QSocketNotifier* m_listenerNotifier = nullptr;
    std::vector<std::unique_ptr<Caller>> m_callers;
};

}  // namespace plennix
