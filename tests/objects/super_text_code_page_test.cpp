// The SuperText caption is saved in the files' code page: OK refuses characters the page cannot hold
// and keeps the dialog open, instead of storing question marks.
#include <gtest/gtest.h>

#include <QLineEdit>

#include "objects/super_text_dialogs.h"
#include "platform/code_page.h"
#include "test_support.h"

namespace plennix {
namespace {

TEST(SuperTextCodePage, OkRefusesCaptionsThePageCannotHold) {
    ScopedCodePage page(1253);
    test::MessageRecorder messages;
    TSuperTextProperties d;
    d.FormActivate();
    d.CaptionText->setText(QStringLiteral("Καλά Χριστούγεννα ★"));
    d.OKButtonClick();
    EXPECT_NE(d.result(), QDialog::Accepted);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.lastText(),
              QStringLiteral("The text contains characters that cannot be saved in this calendar's code page "
                             "(Windows-1253): ★"));
    d.CaptionText->setText(QStringLiteral("Καλά Χριστούγεννα"));
    d.OKButtonClick();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(messages.shown.size(), 1u);
}

}  // namespace
}  // namespace plennix
