#include "platform/messages.h"

#include <QApplication>
#include <QMessageBox>

namespace plennix {
namespace {
MessageAnswerer g_answerer;
ChoiceAnswerer g_choiceAnswerer;

QString expandBreaks(QString text) {
    // Message texts use "\r" for a line break.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace('\r', '\n');
    return text;
}
}  // namespace

void SetMessageAnswerer(MessageAnswerer answerer) { g_answerer = std::move(answerer); }

void ShowInformation(const QString& text, QWidget* parent) {
    if (g_answerer) {
        g_answerer({MessageKind::Information, QStringLiteral("Information"), text});
        return;
    }
    QMessageBox::information(parent ? parent : QApplication::activeWindow(), QStringLiteral("Information"),
                             expandBreaks(text), QMessageBox::Ok);
}

bool AskYesNo(const QString& caption, const QString& text, QWidget* parent) {
    if (g_answerer) return g_answerer({MessageKind::Question, caption, text});
    return QMessageBox::question(parent ? parent : QApplication::activeWindow(), caption, expandBreaks(text),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

void SetChoiceAnswerer(ChoiceAnswerer answerer) { g_choiceAnswerer = std::move(answerer); }

Choice AskYesNoCancel(const QString& caption, const QString& text, QWidget* parent) {
    const ShownMessage message{MessageKind::Question, caption, text};
    if (g_choiceAnswerer) return g_choiceAnswerer(message);
    if (g_answerer) return g_answerer(message) ? Choice::Yes : Choice::No;
    QMessageBox box(QMessageBox::Question, caption, expandBreaks(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                    parent ? parent : QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::Yes);
    // The box's close button gives the escape button's answer as well.
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes: return Choice::Yes;
    case QMessageBox::No: return Choice::No;
    default: return Choice::Cancel;
    }
}

void ShowError(const QString& text, QWidget* parent) {
    QString caption = QApplication::applicationName().isEmpty() ? QStringLiteral("Plennix")
                                                                : QApplication::applicationName();
    if (g_answerer) {
        g_answerer({MessageKind::Error, caption, text});
        return;
    }
    QMessageBox::critical(parent ? parent : QApplication::activeWindow(), caption, expandBreaks(text),
                          QMessageBox::Ok);
}

void Beep() {
    if (!g_answerer) QApplication::beep();
}
}  // namespace plennix
