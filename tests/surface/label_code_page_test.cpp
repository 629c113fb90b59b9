// Label captions in the files' code page: stored one byte a letter in the active page, read back the
// same, and text the page cannot hold refused by the text dialog instead of being saved as "?".
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "platform/code_page.h"
#include "platform/common_dialogs.h"
#include "surface/label.h"
#include "surface/label_dialogs.h"
#include "surface/object_host.h"
#include "surface/object_stream.h"
#include "test_support.h"

namespace plennix {
namespace {

TEST(LabelCodePage, CaptionIsStoredInTheActivePageAndReadBack) {
    RegisterLabelClasses();
    for (const auto& [page, caption, bytes] :
         {std::tuple{1251, QStringLiteral("Январь"), QByteArray("\xDF\xED\xE2\xE0\xF0\xFC")},
          std::tuple{1250, QStringLiteral("Říjen"), QByteArray("\xD8\xEDjen")},
          std::tuple{1253, QStringLiteral("Μάιος"), QByteArray("\xCC\xDC\xE9\xEF\xF2")}}) {
        SCOPED_TRACE(page);
        ScopedCodePage scoped(page);
        TGPLabel label;
        label.SetCaption(caption);
        QByteArray list;
        WriteObjectList(list, {&label});
        EXPECT_TRUE(list.contains(QByteArray("Caption") + char(0x06) + char(bytes.size()) + bytes));
        QObject owner;
        TGObjectHost host;
        StreamReader in(list);
        const auto objs = ReadObjectList(in, &owner, &host.ObjectList(), &owner, false);
        ASSERT_EQ(objs.size(), 1u);
        EXPECT_EQ(qobject_cast<TGPLabel*>(objs[0])->Caption(), caption);
        // The text form used by --dump shows the letters, not their bytes.
        StreamReader dumped(list);
        const QString text = ObjectListToText(dumped);
        EXPECT_TRUE(text.contains(QStringLiteral("'") + caption + QStringLiteral("'"))) << text.toStdString();
    }
}

TEST(LabelCodePage, TextDialogRefusesLettersThePageCannotHoldAndStaysOpen) {
    ScopedCodePage page(1252);
    test::MessageRecorder messages;
    int okPresses = 0;
    SetModalDialogRunner([&](QDialog& d) {
        d.show();
        auto* edit = d.findChild<QLineEdit*>("LabelText");
        edit->setText(QStringLiteral("Done ✓ Май"));
        QTest::keyClick(edit, Qt::Key_Return);
        ++okPresses;
        EXPECT_TRUE(d.isVisible());
        EXPECT_NE(d.result(), QDialog::Accepted);
        EXPECT_TRUE(edit->hasFocus() || !QApplication::focusWidget());
        // The person replaces the tick; the dialog then closes with the text.
        edit->setText(QStringLiteral("Done – März"));
        QTest::mouseClick(d.findChild<QPushButton*>("OKButton"), Qt::LeftButton);
        ++okPresses;
        return d.result();
    });
    QString text = QStringLiteral("Old");
    EXPECT_TRUE(EditLabelText(nullptr, text));
    SetModalDialogRunner(nullptr);
    EXPECT_EQ(okPresses, 2);
    EXPECT_EQ(text, QStringLiteral("Done – März"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.lastText(),
              QStringLiteral("The text contains characters that cannot be saved in this calendar's code page "
                             "(Windows-1252): ✓ М а й"));
}

TEST(LabelCodePage, CyrillicPageAcceptsCyrillicButNotGermanUmlauts) {
    ScopedCodePage page(1251);
    test::MessageRecorder messages;
    SetModalDialogRunner([&](QDialog& d) {
        auto* edit = d.findChild<QLineEdit*>("LabelText");
        edit->setText(QStringLiteral("März"));
        QTest::mouseClick(d.findChild<QPushButton*>("OKButton"), Qt::LeftButton);
        EXPECT_NE(d.result(), QDialog::Accepted);
        edit->setText(QStringLiteral("Март"));
        QTest::mouseClick(d.findChild<QPushButton*>("OKButton"), Qt::LeftButton);
        return d.result();
    });
    QString text;
    EXPECT_TRUE(EditLabelText(nullptr, text));
    SetModalDialogRunner(nullptr);
    EXPECT_EQ(text, QStringLiteral("Март"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.lastText().endsWith(QStringLiteral("(Windows-1251): ä")));
}

}  // namespace
}  // namespace plennix
