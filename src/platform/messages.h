#pragma once
// The program's message boxes: an information box ("Information", OK), a Yes/No question and a
// Yes/No/Cancel question. Tests install an answerer so that no modal box ever waits for a person.
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

enum class Choice { Yes, No, Cancel };
// The answerer of Yes/No/Cancel questions. Without one, a question goes to the Yes/No answerer when
// that is installed (true = Yes, false = No), else to a real box.
using ChoiceAnswerer = std::function<Choice(const ShownMessage&)>;
void SetChoiceAnswerer(ChoiceAnswerer answerer);
// A question whose third way out leaves everything as it was: Escape and the box's close button
// answer Cancel, never No, so that no work is thrown away by a key pressed in haste.
Choice AskYesNoCancel(const QString& caption, const QString& text, QWidget* parent = nullptr);
// An error read from a file or a failed command, shown with the application's title.
void ShowError(const QString& text, QWidget* parent = nullptr);
// The short system beep.
void Beep();
}  // namespace plennix
