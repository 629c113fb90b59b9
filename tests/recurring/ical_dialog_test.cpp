// The list editor's Import… and Export… buttons: imported dates join the list (written only on OK),
// events left out are listed, and the exported file gives the list back.
#include <gtest/gtest.h>

#include "common/qstring_printer.h"

#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QTest>

#include "common/test_support.h"
#include "platform/code_page.h"
#include "platform/common_dialogs.h"
#include "platform/file_io.h"
#include "recurring/formula.h"
#include "recurring/ical.h"
#include "recurring/recurring_dates_dialog.h"
#include "recurring/store.h"

using namespace plennix;

namespace {
class IcalButtons : public ::testing::Test {
protected:
    void SetUp() override {
        QFile::remove(RecurringDatesPath());
        icsPath = RecurringDatesPath() + QStringLiteral(".dialog.ics");
    }
    void TearDown() override {
        SetFileChooser(nullptr);
        QFile::remove(RecurringDatesPath());
        QFile::remove(icsPath);
    }
    void ChooseFile(FileDialogRequest::Mode expectedMode) {
        SetFileChooser([this, expectedMode](const FileDialogRequest& request, QWidget*) {
            EXPECT_EQ(request.mode, expectedMode);
            EXPECT_EQ(request.filter, QStringLiteral("iCalendar File (*.ics)"));
            return icsPath;
        });
    }
    test::MessageRecorder messages;
    QString icsPath;
    ScopedCodePage page{1252};
};

TEST_F(IcalButtons, ImportAddsToTheListAndListsWhatWasLeftOut) {
    const QString existing = BuildEntry(QStringLiteral("Anna"), QStringLiteral("@0314"));
    ASSERT_TRUE(SaveRecurringDates({existing}));
    ASSERT_TRUE(WriteFileAtomically(
        icsPath, "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:x\r\n"
                 "BEGIN:VEVENT\r\nUID:1\r\nDTSTART;VALUE=DATE:20240314\r\nRRULE:FREQ=YEARLY\r\nSUMMARY:Anna\r\nEND:VEVENT\r\n"
                 "BEGIN:VEVENT\r\nUID:2\r\nDTSTART;VALUE=DATE:20241111\r\nRRULE:FREQ=YEARLY\r\nSUMMARY:Martin\r\nEND:VEVENT\r\n"
                 "BEGIN:VEVENT\r\nUID:3\r\nDTSTART;VALUE=DATE:20240101\r\nRRULE:FREQ=YEARLY;INTERVAL=4\r\n"
                 "SUMMARY:Census\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"));
    TEditRecurringDates editor;
    editor.show();
    ChooseFile(FileDialogRequest::Mode::Open);
    QTest::mouseClick(editor.Importbutton, Qt::LeftButton);
    const QString martin = BuildEntry(QStringLiteral("Martin"), QStringLiteral("@1111"));
    EXPECT_EQ(editor.Lines(), (QStringList{existing, martin}));
    EXPECT_EQ(editor.SelectedRow(), 1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.lastText(), QStringLiteral("Imported from %1: 1 date added, 1 already in the list, 1 event left "
                                                  "out. These events cannot be expressed as recurring dates:\n"
                                                  "Census: the rule repeats every 4 periods")
                                       .arg(icsPath));
    // Nothing is written before OK.
    EXPECT_EQ(LoadRecurringDates().value(), QStringList{existing});
    QTest::mouseClick(editor.okbutton, Qt::LeftButton);
    EXPECT_EQ(LoadRecurringDates().value(), (QStringList{existing, martin}));
}

TEST_F(IcalButtons, ImportOfAFileThatIsNoCalendarChangesNothing) {
    ASSERT_TRUE(WriteFileAtomically(icsPath, "hello"));
    TEditRecurringDates editor;
    ChooseFile(FileDialogRequest::Mode::Open);
    QTest::mouseClick(editor.Importbutton, Qt::LeftButton);
    EXPECT_TRUE(editor.Lines().isEmpty());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.lastText().endsWith(QStringLiteral("The file holds no iCalendar data")));
}

TEST_F(IcalButtons, ExportWritesTheListAsItStands) {
    TEditRecurringDates editor;
    editor.AddLine(BuildEntry(QStringLiteral("Gym"), QStringLiteral("%246")));
    editor.AddLine(QStringLiteral("A note"));
    ChooseFile(FileDialogRequest::Mode::Save);
    QTest::mouseClick(editor.Exportbutton, Qt::LeftButton);
    const auto back = ImportIcs(ReadWholeFile(icsPath).value());
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->entries, QStringList{BuildEntry(QStringLiteral("Gym"), QStringLiteral("%246"))});
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.lastText(), QStringLiteral("These entries have no iCalendar form and were left out of %1:\n"
                                                  "A note: its formula has no iCalendar form")
                                       .arg(icsPath));
}

// An import that takes every event, or none, still says so, and names the file.
TEST_F(IcalButtons, ImportSaysWhatItDidWhenNothingIsLeftOut) {
    const QByteArray valentine = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:x\r\nBEGIN:VEVENT\r\nUID:1\r\n"
                                 "DTSTART;VALUE=DATE:20240214\r\nRRULE:FREQ=YEARLY\r\nSUMMARY:Valentine\r\n"
                                 "END:VEVENT\r\nEND:VCALENDAR\r\n";
    ASSERT_TRUE(WriteFileAtomically(icsPath, valentine));
    TEditRecurringDates editor;
    ChooseFile(FileDialogRequest::Mode::Open);
    QTest::mouseClick(editor.Importbutton, Qt::LeftButton);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.lastText(), QStringLiteral("Imported from %1: 1 date added, 0 events left out.").arg(icsPath));
    QTest::mouseClick(editor.Importbutton, Qt::LeftButton);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.lastText(),
              QStringLiteral("Imported from %1: 0 dates added, 1 already in the list, 0 events left out.").arg(icsPath));
    EXPECT_EQ(editor.Lines().size(), 1);
}

// A meeting on one date is left out with its reason; ticking the check box keeps it as a yearly entry.
TEST_F(IcalButtons, SingleDatesJoinOnlyWhenTheCheckBoxIsTicked) {
    ASSERT_TRUE(WriteFileAtomically(icsPath, "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:x\r\nBEGIN:VEVENT\r\nUID:1\r\n"
                                             "DTSTART;VALUE=DATE:20270329\r\nSUMMARY:Easter Monday\r\n"
                                             "END:VEVENT\r\nEND:VCALENDAR\r\n"));
    TEditRecurringDates editor;
    editor.show();
    EXPECT_FALSE(editor.KeepDatedCheck->isChecked());
    EXPECT_TRUE(editor.KeepDatedCheck->accessibleName().contains(editor.KeepDatedCheck->text().remove('&')));
    EXPECT_NE(editor.KeepDatedCheck->focusPolicy() & Qt::TabFocus, 0);
    ChooseFile(FileDialogRequest::Mode::Open);
    QTest::mouseClick(editor.Importbutton, Qt::LeftButton);
    EXPECT_TRUE(editor.Lines().isEmpty());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.lastText().endsWith(
        QStringLiteral("\nEaster Monday: it falls on a single date (2027-03-29), which does not come back every year")))
        << messages.lastText().toStdString();

    EXPECT_EQ(QKeySequence::mnemonic(editor.KeepDatedCheck->text()), QKeySequence(Qt::ALT | Qt::Key_D));
    editor.KeepDatedCheck->setFocus();
    QTest::keyClick(editor.KeepDatedCheck, Qt::Key_Space);
    EXPECT_TRUE(editor.KeepDatedCheck->isChecked());
    QTest::mouseClick(editor.Importbutton, Qt::LeftButton);
    EXPECT_EQ(editor.Lines(), QStringList{BuildEntry(QStringLiteral("Easter Monday (2027)"), QStringLiteral("@0329"))});
    EXPECT_EQ(messages.lastText(), QStringLiteral("Imported from %1: 1 date added, 0 events left out.").arg(icsPath));
}
}  // namespace
