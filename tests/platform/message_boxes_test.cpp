// The Yes/No/Cancel question as a person meets it: the real box answered with the keyboard and with
// its close button, and the answerers tests install in its place.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "platform/messages.h"
#include "test_support.h"

using namespace plennix;

namespace {

// Waits for the question box to come up, then lets `act` answer it as a person would.
Choice answerTheRealBox(const std::function<void(QMessageBox&)>& act, QString* shownText = nullptr) {
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        poll.stop();
        if (shownText) *shownText = box->text();
        act(*box);
    });
    poll.start();
    return AskYesNoCancel(QStringLiteral("Save"), QStringLiteral("Save changes?\rNow"));
}

}  // namespace

TEST(YesNoCancelQuestion, EscapeAndTheCloseButtonCancelWhileTheButtonsAnswerThemselves) {
    QString text;
    EXPECT_EQ(answerTheRealBox([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }, &text), Choice::Cancel);
    EXPECT_EQ(text, QStringLiteral("Save changes?\nNow"));
    EXPECT_EQ(answerTheRealBox([](QMessageBox& box) { box.close(); }), Choice::Cancel);
    EXPECT_EQ(answerTheRealBox([](QMessageBox& box) { box.button(QMessageBox::No)->click(); }), Choice::No);
    // Return takes the default, Yes.
    EXPECT_EQ(answerTheRealBox([](QMessageBox& box) {
                  EXPECT_NE(box.button(QMessageBox::Cancel), nullptr);
                  QTest::keyClick(&box, Qt::Key_Return);
              }),
              Choice::Yes);
}

TEST(YesNoCancelQuestion, TestsAnswerThroughEitherAnswerer) {
    {
        test::MessageRecorder yes(true);
        EXPECT_EQ(AskYesNoCancel(QStringLiteral("Save"), QStringLiteral("Save changes?")), Choice::Yes);
        ASSERT_EQ(yes.shown.size(), 1u);
        EXPECT_EQ(yes.shown.back().kind, MessageKind::Question);
        yes.answer = false;
        EXPECT_EQ(AskYesNoCancel(QStringLiteral("Save"), QStringLiteral("Save changes?")), Choice::No);
    }
    test::ScopedHook<ChoiceAnswerer> cancel(SetChoiceAnswerer, [](const ShownMessage& m) {
        EXPECT_EQ(m.caption, QStringLiteral("Save"));
        return Choice::Cancel;
    });
    test::MessageRecorder yes(true);  // the choice answerer comes first
    EXPECT_EQ(AskYesNoCancel(QStringLiteral("Save"), QStringLiteral("Save changes?")), Choice::Cancel);
    EXPECT_TRUE(yes.shown.empty());
}
