#pragma once
// The one error type of every reader of outside data; its message is the text shown to the user.
#include <QString>
#include <stdexcept>

namespace plennix {
class StreamError : public std::runtime_error {
public:
    explicit StreamError(const QString& message) : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};
}  // namespace plennix
