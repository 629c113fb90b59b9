#pragma once
// The program's two message boxes: an information box ("Information", OK) and a Yes/No question.
// Tests install an answerer so that no modal box ever waits for a person.
#include <QString>
#include <functional>

class QWidget;

namespace plennix {
enum class MessageKind { Information, Question, Error };

struct ShownMessage {
    MessageKind kind;
    QString caption;
    QString text;
};

// The answerer sees every message; for questions its return value is the answer (true = Yes).
using MessageAnswerer = std::function<bool(const ShownMessage&)>;
void SetMessageAnswerer(MessageAnswerer answerer);

void ShowInformation(const QString& text, QWidget* parent = nullptr);
// Only Yes counts as yes.
bool AskYesNo(const QString& caption, const QString& text, QWidget* parent = nullptr);
// An error read from a file or a failed command, shown with the application's title.
void ShowError(const QString& text, QWidget* parent = nullptr);
// The short system beep.
void Beep();
}  // namespace plennix
