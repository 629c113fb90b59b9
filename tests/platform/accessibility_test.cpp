// The names screen readers get for combo boxes and captions, and the keys that leave a text area.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QVBoxLayout>

#include "platform/accessibility.h"
#include "test_support.h"

using namespace plennix;

namespace {
QString nameOf(QWidget* w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name); }
QString valueOf(QWidget* w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Value); }
}  // namespace

TEST(Accessibility, ComboBoxIsNamedByWhatItChoosesAndKeepsItsEntryAsValue) {
    InstallAccessibleNames();
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(QStringLiteral("Shadow &Direction:"), &dialog);
    auto* byLabel = new QComboBox(&dialog);
    byLabel->addItems({QStringLiteral("Lower Right"), QStringLiteral("Up")});
    label->setBuddy(byLabel);
    auto* byName = new QComboBox(&dialog);
    byName->addItem(QStringLiteral("Arial"));
    byName->setEditable(true);
    NameComboBox(*byName, QStringLiteral("Font"));
    auto* unnamed = new QComboBox(&dialog);
    unnamed->addItem(QStringLiteral("Black"));
    for (QWidget* w : {static_cast<QWidget*>(label), static_cast<QWidget*>(byLabel), static_cast<QWidget*>(byName),
                       static_cast<QWidget*>(unnamed)})
        layout->addWidget(w);

    EXPECT_EQ(nameOf(byLabel), QStringLiteral("Shadow Direction"));
    EXPECT_EQ(valueOf(byLabel), QStringLiteral("Lower Right"));
    EXPECT_EQ(nameOf(byName), QStringLiteral("Font"));
    EXPECT_EQ(nameOf(byName->lineEdit()), QStringLiteral("Font"));
    EXPECT_EQ(valueOf(byName), QStringLiteral("Arial"));
    // Without a name or a label the entry is all there is to read.
    EXPECT_EQ(nameOf(unnamed), QStringLiteral("Black"));
    // The pop-up list and the text field stay reachable as its children.
    QAccessibleInterface* combo = QAccessible::queryAccessibleInterface(byName);
    EXPECT_EQ(combo->role(), QAccessible::ComboBox);
    ASSERT_EQ(combo->childCount(), 2);
    EXPECT_EQ(combo->child(1)->object(), byName->lineEdit());
    EXPECT_EQ(combo->indexOfChild(combo->child(0)), 0);
}

TEST(Accessibility, CaptionsReadWithoutTheirMnemonicAndNamesKeepThem) {
    EXPECT_EQ(CaptionWithoutMnemonic(QStringLiteral("Shadow De&pth")), QStringLiteral("Shadow Depth"));
    EXPECT_EQ(CaptionWithoutMnemonic(QStringLiteral("Black && &White")), QStringLiteral("Black & White"));
    EXPECT_EQ(CaptionedName(QStringLiteral("Deutsch"), QStringLiteral("German names")),
              QStringLiteral("Deutsch (German names)"));
    EXPECT_EQ(CaptionedName(QStringLiteral("<<"), QStringLiteral("Previous year")),
              QStringLiteral("<< (Previous year)"));
    EXPECT_EQ(CaptionedName(QStringLiteral("&Ok"), QStringLiteral("Ok")), QStringLiteral("Ok"));
    EXPECT_EQ(CaptionedName(QStringLiteral("B"), QStringLiteral("Bold")), QStringLiteral("Bold"));
    EXPECT_EQ(CaptionedName(QString(), QStringLiteral("Align Left")), QStringLiteral("Align Left"));
}

TEST(Accessibility, CtrlTabLeavesATextAreaThatTypesTabs) {
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* text = new QTextEdit(&dialog);
    text->setTabChangesFocus(false);
    auto* ok = new QPushButton(QStringLiteral("Ok"), &dialog);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), &dialog);
    layout->addWidget(cancel);
    layout->addWidget(text);
    layout->addWidget(ok);
    LeaveWithCtrlTab(*text);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    text->setFocus();
    QTest::keyClick(text, Qt::Key_Tab);
    EXPECT_EQ(text->toPlainText(), QStringLiteral("\t"));
    QTest::keyClick(text, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), ok);
    text->setFocus();
    QTest::keyClick(text, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), cancel);
    EXPECT_EQ(text->toPlainText(), QStringLiteral("\t"));
}
