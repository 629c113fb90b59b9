#pragma once
// A named pipe where a file is expected, with a guard against a reader that would wait on it for ever:
// after `seconds` the guard opens the pipe's writing end (which succeeds only while someone has the
// reading end open) and closes it at once, so that a blocked reader sees the end of the data and the
// test fails instead of hanging. Blocked() says whether that was needed.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QByteArray>
#include <QFile>
#include <QString>
#include <atomic>
#include <chrono>
#include <thread>

namespace plennix::test {

class FifoPath {
public:
    explicit FifoPath(QString path, int seconds = 5) : m_path(std::move(path)) {
        const QByteArray name = QFile::encodeName(m_path);
        m_made = ::mkfifo(name.constData(), 0600) == 0;
        m_watch = std::thread([this, name, seconds] {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
            while (!m_stop) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                if (std::chrono::steady_clock::now() < deadline) continue;
                const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0) {
                    m_blocked = true;
                    ::close(fd);
                }
            }
        });
    }
    ~FifoPath() {
        m_stop = true;
        m_watch.join();
        ::unlink(QFile::encodeName(m_path).constData());
    }
    FifoPath(const FifoPath&) = delete;
    FifoPath& operator=(const FifoPath&) = delete;

    bool Made() const { return m_made; }
    const QString& Path() const { return m_path; }
    // True when a reader waited on the pipe past the time allowed.
    bool Blocked() const { return m_blocked; }

private:
    QString m_path;
    bool m_made = false;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_blocked{false};
    std::thread m_watch;
};

}  // namespace plennix::test
