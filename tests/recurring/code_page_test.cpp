// Recurring dates in the files' code page: PXRECUR.DAX holds one byte a letter in the active page, and
// the formula editor refuses event texts the page cannot hold instead of saving question marks.
#include <gtest/gtest.h>

#include "common/qstring_printer.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "common/test_support.h"
#include "platform/code_page.h"
#include "platform/common_dialogs.h"
#include "platform/file_io.h"
#include "recurring/formula.h"
#include "recurring/formula_dialog.h"
#include "recurring/recurring_dates_dialog.h"
#include "recurring/store.h"

using namespace plennix;

namespace {
class RecurringCodePage : public ::testing::Test {
protected:
    void SetUp() override { QFile::remove(RecurringDatesPath()); }
    void TearDown() override {
        SetModalDialogRunner(nullptr);
        QFile::remove(RecurringDatesPath());
    }
    test::MessageRecorder messages;
};

TEST_F(RecurringCodePage, ListIsWrittenAndReadInTheActivePage) {
    ScopedCodePage page(1251);
    const QString entry = BuildEntry(QStringLiteral("День рождения Ани"), QStringLiteral("@0307"));
    ASSERT_TRUE(SaveRecurringDates({entry}));
    const QByteArray bytes = ReadWholeFile(RecurringDatesPath(), 1 << 20).value();
    EXPECT_TRUE(bytes.startsWith("\xC4\xE5\xED\xFC "));  // "День " in Windows-1251
    EXPECT_EQ(bytes.size(), entry.size() + 2);
    EXPECT_FALSE(bytes.contains('?'));
    EXPECT_EQ(LoadRecurringDates().value(), QStringList{entry});

    // Greek too; 1252 reads the same bytes as Latin letters, one for one.
    ScopedCodePage greek(1253);
    const QString feast = BuildEntry(QStringLiteral("Ονομαστική γιορτή"), QStringLiteral("@0115"));
    ASSERT_TRUE(SaveRecurringDates({feast}));
    EXPECT_EQ(LoadRecurringDates().value(), QStringList{feast});
    ScopedCodePage western(1252);
    EXPECT_EQ(LoadRecurringDates().value().value(0).size(), feast.size());
}

TEST_F(RecurringCodePage, FormulaEditorRefusesEventTextsThePageCannotHold) {
    ScopedCodePage page(1250);
    TEditRecurringDates editor;
    editor.show();
    int presses = 0;
    SetModalDialogRunner([&](QDialog& dialog) {
        auto& d = dynamic_cast<TEditRecurringDateFormula&>(dialog);
        dialog.show();
        d.Event->setText(QStringLiteral("Imieniny Łucji ☺"));
        QTest::mouseClick(d.Okbutton, Qt::LeftButton);
        ++presses;
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_TRUE(dialog.isVisible());
        d.Event->setText(QStringLiteral("Imieniny Łucji"));
        QTest::mouseClick(d.Okbutton, Qt::LeftButton);
        ++presses;
        return dialog.result();
    });
    QTest::mouseClick(editor.Newbutton, Qt::LeftButton);
    EXPECT_EQ(presses, 2);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.lastText(),
              QStringLiteral("The text contains characters that cannot be saved in this calendar's code page "
                             "(Windows-1250): ☺"));
    ASSERT_EQ(editor.Lines().size(), 1);
    EXPECT_TRUE(editor.Lines()[0].startsWith(QStringLiteral("Imieniny Łucji ")));
    QTest::mouseClick(editor.okbutton, Qt::LeftButton);
    const QByteArray bytes = ReadWholeFile(RecurringDatesPath(), 1 << 20).value();
    EXPECT_TRUE(bytes.startsWith("Imieniny \xA3ucji"));
    EXPECT_FALSE(bytes.contains('?'));
}
}  // namespace
