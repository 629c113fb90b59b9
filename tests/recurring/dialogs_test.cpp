// The formula editor, the list editor, the holiday import and the selection list, driven as a user would.
#include <gtest/gtest.h>

#include "common/qstring_printer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "platform/code_page.h"
#include "platform/file_io.h"
#include "platform/program_folder.h"
#include "recurring/entry_list_delegate.h"
#include "recurring/formula.h"
#include "recurring/formula_dialog.h"
#include "platform/common_dialogs.h"
#include "recurring/recurring_dates_dialog.h"
#include "recurring/selection_dialogs.h"
#include "recurring/store.h"
#include "common/test_support.h"

using namespace plennix;

namespace {
class RecurringDialogs : public ::testing::Test {
protected:
    void SetUp() override { QFile::remove(RecurringDatesPath()); }
    void TearDown() override {
        SetModalDialogRunner(nullptr);
        QFile::remove(RecurringDatesPath());
    }
    // Every sub-dialog is shown (so that it activates), handed to `drive`, and its result returned.
    template <typename D>
    void Drive(std::function<void(D&)> drive) {
        SetModalDialogRunner([this, drive](QDialog& dialog) {
            auto* d = dynamic_cast<D*>(&dialog);
            EXPECT_NE(d, nullptr);
            if (!d) return int(QDialog::Rejected);
            opened.push_back(dialog.windowTitle());
            dialog.show();
            drive(*d);
            return dialog.result();
        });
    }
    static QStringList Saved() { return LoadRecurringDates().value(); }

    test::MessageRecorder messages;
    QStringList opened;
};

bool IsBold(const QWidget* w) { return w->font().bold(); }

// Radio buttons and check boxes take clicks on their indicator and caption only.
void Tick(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2)); }
}  // namespace

TEST_F(RecurringDialogs, FormulaEditorStartsAsDayOfMonth) {
    TEditRecurringDateFormula dlg;
    EXPECT_EQ(dlg.windowTitle(), "Recurring Date - Formulas");
    EXPECT_EQ(dlg.size(), QSize(407, 418));
    dlg.show();
    EXPECT_TRUE(dlg.rbDayOfMonth->isChecked());
    EXPECT_TRUE(IsBold(dlg.rbDayOfMonth));
    EXPECT_FALSE(IsBold(dlg.rbSpecial));
    EXPECT_TRUE(dlg.DayOfMonthDay->isEnabled());
    EXPECT_FALSE(dlg.Monday->isEnabled());
    EXPECT_FALSE(dlg.SpecialMonth->isEnabled());
    EXPECT_TRUE(dlg.Monday->isChecked());
    EXPECT_FALSE(dlg.Sunday->isChecked());
    EXPECT_EQ(dlg.DayOfMonthDay->value(), 1);
    EXPECT_EQ(dlg.DayOfMonthMonth->currentText(), "Each Month");

    Tick(dlg.rbSpecial);
    EXPECT_TRUE(IsBold(dlg.rbSpecial));
    EXPECT_FALSE(IsBold(dlg.rbDayOfMonth));
    EXPECT_TRUE(dlg.SpecialOccurrance->isEnabled());
    EXPECT_FALSE(dlg.DayOfMonthDay->isEnabled());
    EXPECT_FALSE(dlg.AllDaysCheck->isEnabled());
}

TEST_F(RecurringDialogs, SetEmUpReadsEachKind) {
    {
        TEditRecurringDateFormula dlg;
        dlg.SetFormulaString("$3 4 11   ");
        dlg.show();
        EXPECT_TRUE(dlg.rbSpecial->isChecked());
        EXPECT_EQ(dlg.SpecialOccurrance->currentText(), "4th");
        EXPECT_EQ(dlg.SpecialDayOfWeek->currentText(), "Thursday");
        EXPECT_EQ(dlg.SpecialMonth->currentText(), "November");
    }
    {
        TEditRecurringDateFormula dlg;
        dlg.SetFormulaString("@1225");
        dlg.show();
        EXPECT_TRUE(dlg.rbDayOfMonth->isChecked());
        EXPECT_EQ(dlg.DayOfMonthDay->value(), 25);
        EXPECT_EQ(dlg.DayOfMonthMonth->currentText(), "December");
    }
    {
        TEditRecurringDateFormula dlg;
        dlg.SetFormulaString("%17");
        dlg.show();
        EXPECT_TRUE(dlg.rbDayOfweek->isChecked());
        EXPECT_TRUE(IsBold(dlg.rbDayOfweek));
        EXPECT_TRUE(dlg.Sunday->isChecked());
        EXPECT_TRUE(dlg.Saturday->isChecked());
        EXPECT_FALSE(dlg.Monday->isChecked());
        EXPECT_TRUE(dlg.Monday->isEnabled());
    }
    {
        // Numbers out of range must not reach the lists: the controls keep their first values.
        TEditRecurringDateFormula dlg;
        dlg.SetFormulaString("$9 8 13");
        dlg.show();
        EXPECT_TRUE(dlg.rbDayOfMonth->isChecked());
        EXPECT_EQ(dlg.SpecialOccurrance->currentIndex(), 0);
        dlg.SetFormulaString("@1300");
        dlg.SetEmUp();
        EXPECT_EQ(dlg.DayOfMonthMonth->currentIndex(), 0);
        EXPECT_EQ(dlg.DayOfMonthDay->value(), 1);
    }
}

TEST_F(RecurringDialogs, DetermineFormulaStringBuildsEachKind) {
    TEditRecurringDateFormula dlg;
    dlg.show();
    dlg.DayOfMonthDay->setValue(5);
    dlg.DayOfMonthMonth->setCurrentIndex(0);
    ASSERT_TRUE(dlg.DetermineFormulaString());
    EXPECT_EQ(dlg.FormulaString(), "@0005");

    Tick(dlg.rbSpecial);
    dlg.SpecialOccurrance->setCurrentIndex(5);
    dlg.SpecialDayOfWeek->setCurrentIndex(7);
    dlg.SpecialMonth->setCurrentIndex(0);
    ASSERT_TRUE(dlg.DetermineFormulaString());
    EXPECT_EQ(dlg.FormulaString(), "$5 7 0 ");
    dlg.SpecialMonth->setCurrentIndex(-1);
    EXPECT_FALSE(dlg.DetermineFormulaString());
    EXPECT_EQ(messages.lastText(), "Invalid value entered for Special category");

    Tick(dlg.rbDayOfweek);
    dlg.Tuesday->setChecked(false);
    dlg.Saturday->setChecked(true);
    ASSERT_TRUE(dlg.DetermineFormulaString());
    EXPECT_EQ(dlg.FormulaString(), "%24567");

    Tick(dlg.AllDaysCheck);
    ASSERT_TRUE(dlg.DetermineFormulaString());
    EXPECT_EQ(dlg.FormulaString(), "%1234567");
    Tick(dlg.AllDaysCheck);
    EXPECT_FALSE(dlg.Sunday->isChecked());
    messages.shown.clear();
    QTest::mouseClick(dlg.Okbutton, Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(messages.lastText(), "You must select at least one day for this \rreminder to occur on");

    dlg.Friday->setChecked(true);
    QTest::mouseClick(dlg.Okbutton, Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.FormulaString(), "%6");
}

TEST_F(RecurringDialogs, NewAddsSortedEntryAndOkWrites) {
    SaveRecurringDates({BuildEntry("alpha", "@0101"), BuildEntry("zulu", "@0202")});
    TEditRecurringDates editor;
    editor.show();
    ASSERT_EQ(editor.DatesList->count(), 2);
    EXPECT_EQ(editor.SelectedRow(), 0);

    Drive<TEditRecurringDateFormula>([](TEditRecurringDateFormula& d) {
        EXPECT_EQ(d.Event->text(), "[Enter event]");
        d.Event->setText("Mike");
        d.DayOfMonthDay->setValue(7);
        d.DayOfMonthMonth->setCurrentIndex(3);
        QTest::mouseClick(d.Okbutton, Qt::LeftButton);
    });
    QTest::mouseClick(editor.Newbutton, Qt::LeftButton);
    EXPECT_EQ(opened, QStringList{"Add Recurring Date"});
    const QString mike = BuildEntry("Mike", "@0307");
    EXPECT_EQ(editor.Lines(), (QStringList{BuildEntry("alpha", "@0101"), mike, BuildEntry("zulu", "@0202")}));
    EXPECT_EQ(editor.SelectedRow(), 1);

    QTest::mouseClick(editor.okbutton, Qt::LeftButton);
    EXPECT_EQ(editor.result(), QDialog::Accepted);
    EXPECT_EQ(Saved(), editor.Lines());
}

TEST_F(RecurringDialogs, EditResortsAndKeepsTheEditedRowSelected) {
    const QString a = BuildEntry("Anna", "@0101"), b = BuildEntry("Bert", "%23456"), c = BuildEntry("Carl", "$0 1 0");
    SaveRecurringDates({a, b, c});
    TEditRecurringDates editor;
    editor.show();
    editor.SelectLine(a);
    Drive<TEditRecurringDateFormula>([](TEditRecurringDateFormula& d) {
        EXPECT_EQ(d.Event->text(), "Anna");
        EXPECT_EQ(d.DayOfMonthDay->value(), 1);
        d.Event->setText("Zoe");
        Tick(d.rbSpecial);
        d.SpecialOccurrance->setCurrentIndex(5);
        d.SpecialDayOfWeek->setCurrentIndex(5);
        QTest::mouseClick(d.Okbutton, Qt::LeftButton);
    });
    QTest::mouseClick(editor.Editbutton, Qt::LeftButton);
    EXPECT_EQ(opened, QStringList{"Edit Recurring Date Formula"});
    const QString zoe = BuildEntry("Zoe", "$5 5 0");
    EXPECT_EQ(editor.Lines(), (QStringList{b, c, zoe}));
    EXPECT_EQ(editor.SelectedRow(), 2);
    EXPECT_TRUE(editor.Editbutton->isEnabled());

    // Cancel in the formula editor changes nothing.
    Drive<TEditRecurringDateFormula>([](TEditRecurringDateFormula& d) {
        d.Event->setText("changed");
        QTest::mouseClick(d.CancelButton, Qt::LeftButton);
    });
    QTest::mouseClick(editor.Editbutton, Qt::LeftButton);
    EXPECT_EQ(editor.Lines(), (QStringList{b, c, zoe}));
}

TEST_F(RecurringDialogs, FeastEntriesCannotBeEdited) {
    const QString easter = QString("Easter").leftJustified(120) + "#EASTER";
    SaveRecurringDates({easter});
    TEditRecurringDates editor;
    editor.show();
    Drive<TEditRecurringDateFormula>([](TEditRecurringDateFormula&) { ADD_FAILURE() << "editor opened"; });
    QTest::mouseClick(editor.Editbutton, Qt::LeftButton);
    EXPECT_EQ(messages.lastText(), "This entry cannot be edited");
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(RecurringDialogs, MovingFeastsAreEditedWithAllElevenCharacters) {
    const QString trinity = BuildEntry("Trinity", "#OEASTER+49");
    SaveRecurringDates({trinity});
    TEditRecurringDates editor;
    editor.show();
    editor.SelectLine(trinity);
    Drive<TEditRecurringDateFormula>([](TEditRecurringDateFormula& d) {
        // The eleventh character arrives: 49 days, not 4.
        EXPECT_TRUE(d.rbEaster->isChecked());
        EXPECT_EQ(d.EasterKind->currentIndex(), 1);
        EXPECT_EQ(d.EasterOffset->value(), 49);
        d.EasterOffset->setValue(50);
        QTest::mouseClick(d.Okbutton, Qt::LeftButton);
    });
    QTest::mouseClick(editor.Editbutton, Qt::LeftButton);
    EXPECT_EQ(opened, QStringList{"Edit Recurring Date Formula"});
    EXPECT_EQ(editor.Lines(), QStringList{BuildEntry("Trinity", "#OEASTER+50")});
}

TEST_F(RecurringDialogs, DeleteSelectsFirstRowAndButtonsFollowSelection) {
    SaveRecurringDates({BuildEntry("a", "@0101"), BuildEntry("b", "@0101"), BuildEntry("c", "@0101")});
    TEditRecurringDates editor;
    editor.show();
    editor.DatesList->setCurrentRow(2);
    QTest::mouseClick(editor.DeleteButton, Qt::LeftButton);
    EXPECT_EQ(editor.Lines(), (QStringList{BuildEntry("a", "@0101"), BuildEntry("b", "@0101")}));
    EXPECT_EQ(editor.SelectedRow(), 0);
    QTest::mouseClick(editor.DeleteButton, Qt::LeftButton);
    QTest::mouseClick(editor.DeleteButton, Qt::LeftButton);
    EXPECT_EQ(editor.DatesList->count(), 0);
    EXPECT_FALSE(editor.Editbutton->isEnabled());
    EXPECT_FALSE(editor.DeleteButton->isEnabled());
    editor.EditbuttonClick();  // nothing selected: only a beep
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(RecurringDialogs, CancelWritesNothing) {
    const QByteArray before = "Keep" + QByteArray(116, ' ') + "@0101     \r\n";
    ASSERT_TRUE(WriteFileAtomically(RecurringDatesPath(), before));
    TEditRecurringDates editor;
    editor.show();
    Drive<TEditRecurringDateFormula>([](TEditRecurringDateFormula& d) { QTest::mouseClick(d.Okbutton, Qt::LeftButton); });
    QTest::mouseClick(editor.Newbutton, Qt::LeftButton);
    QTest::mouseClick(editor.DeleteButton, Qt::LeftButton);
    EXPECT_EQ(editor.DatesList->count(), 1);
    QTest::mouseClick(editor.CancelButton, Qt::LeftButton);
    EXPECT_EQ(editor.result(), QDialog::Rejected);
    EXPECT_EQ(ReadWholeFile(RecurringDatesPath()).value(), before);
}

TEST_F(RecurringDialogs, HolidayImportSkipsExactDuplicatesOnly) {
    const QString christmas = BuildEntry("Christmas Day", "@1225");
    const QString christmasBlank = BuildEntry(" Christmas Day", "@1225");
    const QString christmasOther = BuildEntry("Christmas Day", "@1226");
    SaveRecurringDates({christmas});
    TEditRecurringDates editor;
    editor.show();
    editor.DatesList->clearSelection();
    Drive<TGetHolidays>([](TGetHolidays& d) {
        ASSERT_TRUE(d.ChooseCountry("US"));
        // The classic list stays as it was under its country; Columbus Day joins it.
        const QStringList shown = AllEntryLines(d.Holidays);
        for (const QString& line : BuiltInHolidayLines()) EXPECT_TRUE(shown.contains(line)) << line.toStdString();
        EXPECT_EQ(shown.size(), 27);
        for (int i = 0; i < d.Holidays->count(); ++i)
            if (d.Holidays->item(i)->text().startsWith("Christmas") || d.Holidays->item(i)->text().startsWith("Easter"))
                d.Holidays->item(i)->setSelected(true);
        QTest::mouseClick(d.okbutton, Qt::LeftButton);
    });
    QTest::mouseClick(editor.Holidaysbutton, Qt::LeftButton);
    EXPECT_EQ(opened, QStringList{"Holidays"});
    const QString easter = QString("Easter").leftJustified(120) + "#EASTER";
    EXPECT_EQ(editor.Lines(), (QStringList{christmas, easter}));
    EXPECT_EQ(editor.SelectedRow(), 0);

    // The same event with different blanks or another formula is a different entry.
    TEditRecurringDates other;
    other.DatesList->clear();
    other.AddLine(christmasBlank);
    other.AddLine(christmasOther);
    Drive<TGetHolidays>([](TGetHolidays& d) {
        QTest::mouseClick(d.AllButton, Qt::LeftButton);
        QTest::mouseClick(d.okbutton, Qt::LeftButton);
    });
    other.HolidaysbuttonClick();
    EXPECT_EQ(other.DatesList->count(), 29);
    EXPECT_TRUE(other.Lines().contains(christmas));
}

TEST_F(RecurringDialogs, SelectionListsNeedOneRowForOk) {
    TGetHolidays holidays;
    holidays.ChooseCountry("US");
    holidays.show();
    EXPECT_TRUE(holidays.Holidays->selectedItems().isEmpty());
    QTest::mouseClick(holidays.okbutton, Qt::LeftButton);
    EXPECT_TRUE(holidays.isVisible());
    EXPECT_EQ(holidays.result(), QDialog::Rejected);
    QTest::mouseClick(holidays.AllButton, Qt::LeftButton);
    EXPECT_EQ(holidays.SelectedLines().size(), 27);
    QTest::mouseClick(holidays.nonebutton, Qt::LeftButton);
    EXPECT_TRUE(holidays.SelectedLines().isEmpty());

    TSelectRecurringDates select;
    const QStringList lines = {BuildEntry("b", "@0101"), BuildEntry("a", "%23")};
    select.SetLines(lines);
    select.show();
    EXPECT_EQ(select.SelectedLines(), lines);  // unsorted, every row selected on showing
    QTest::mouseClick(select.Nonebutton, Qt::LeftButton);
    QTest::mouseClick(select.okbutton, Qt::LeftButton);
    EXPECT_TRUE(select.isVisible());
    select.Dates->item(1)->setSelected(true);
    EXPECT_EQ(select.SelectedRows(), QList<int>{1});
    QTest::mouseClick(select.okbutton, Qt::LeftButton);
    EXPECT_EQ(select.result(), QDialog::Accepted);
}

TEST_F(RecurringDialogs, SelectedRowsShowACheckMark) {
    TSelectRecurringDates select;
    select.SetLines({BuildEntry("first", "@0101"), BuildEntry("second", "@0101")});
    select.show();
    select.Dates->item(1)->setSelected(false);
    select.Dates->clearFocus();
    QImage image = select.Dates->viewport()->grab().toImage();
    auto darkIn = [&](int top) {
        int dark = 0;
        for (int y = top; y < top + kEntryRowHeight; ++y)
            for (int x = 0; x < CheckBmp().width(); ++x)
                if (qGray(image.pixel(x, y)) < 80) ++dark;
        return dark;
    };
    EXPECT_GT(darkIn(0), 5);
    EXPECT_EQ(darkIn(kEntryRowHeight), 0);
    EXPECT_EQ(select.Dates->visualItemRect(select.Dates->item(1)).height(), kEntryRowHeight);
}

TEST_F(RecurringDialogs, UnreadableListIsNeverOverwritten) {
    // A list that exists but cannot be read must not open as an empty list that OK would save.
    ASSERT_TRUE(QDir().mkdir(RecurringDatesPath()));
    Drive<TEditRecurringDates>([](TEditRecurringDates& d) { QTest::mouseClick(d.okbutton, Qt::LeftButton); });
    OpenRecurringDatesEditor(nullptr);
    EXPECT_TRUE(opened.isEmpty());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, MessageKind::Error);
    EXPECT_TRUE(QFileInfo(RecurringDatesPath()).isDir());
    QDir().rmdir(RecurringDatesPath());

    Drive<TEditRecurringDates>([](TEditRecurringDates& d) { QTest::mouseClick(d.okbutton, Qt::LeftButton); });
    OpenRecurringDatesEditor(nullptr);
    EXPECT_EQ(opened, QStringList{"Recurring Dates"});
    EXPECT_TRUE(QFile::exists(RecurringDatesPath()));  // the first OK creates the list
}

TEST_F(RecurringDialogs, HolidaysOfACountryAddedInItsLanguageWhereTheCodePageAllows) {
    TGetHolidays holidays;
    ASSERT_TRUE(holidays.ChooseCountry("DE")) << holidays.Country->toolTip().toStdString();
    EXPECT_TRUE(holidays.Country->currentText().startsWith("Germany"));
    const QStringList lines = AllEntryLines(holidays.Holidays);
    EXPECT_TRUE(lines.contains(QString("Ostermontag").leftJustified(120) + "#EASTER+1"));
    EXPECT_TRUE(lines.contains(QString("Christi Himmelfahrt").leftJustified(120) + "#EASTER+39"));
    // A state adds its own holidays after the national ones; another country starts again with none.
    const QString corpusChristi = QString("Fronleichnam").leftJustified(120) + "#EASTER+60";
    EXPECT_FALSE(lines.contains(corpusChristi));
    EXPECT_TRUE(holidays.Region->isEnabled());
    ASSERT_TRUE(holidays.ChooseRegion("BY"));
    const QStringList bavaria = AllEntryLines(holidays.Holidays);
    EXPECT_EQ(bavaria.mid(0, lines.size()), lines);
    EXPECT_TRUE(bavaria.contains(corpusChristi));
    ASSERT_TRUE(holidays.ChooseCountry("FR"));
    EXPECT_FALSE(holidays.Region->isEnabled());
    EXPECT_EQ(holidays.Region->currentData().toString(), QString());
    EXPECT_EQ(holidays.Region->accessibleName(), "Region");
    // Polish names need Central European letters; the Western page cannot hold them, so the English
    // name is added instead of a name with question marks.
    ASSERT_TRUE(holidays.ChooseCountry("PL"));
    const QStringList polish = AllEntryLines(holidays.Holidays);
    EXPECT_TRUE(polish.contains(QString("Nowy Rok").leftJustified(120) + "@0101     "));
    if (!CanEncode(QStringLiteral("ż"))) {
        EXPECT_TRUE(polish.contains(QString("Corpus Christi").leftJustified(120) + "#EASTER+60"));
    }
    holidays.LocalNames->setChecked(false);
    EXPECT_TRUE(AllEntryLines(holidays.Holidays).contains(QString("New Year's Day").leftJustified(120) + "@0101     "));

    // What no yearly formula can express is listed greyed and cannot be chosen, not even by All.
    ASSERT_TRUE(holidays.ChooseCountry("IN"));
    bool diwali = false;
    for (int i = 0; i < holidays.Holidays->count(); ++i) {
        QListWidgetItem* item = holidays.Holidays->item(i);
        if (item->text().startsWith("Diwali")) {
            diwali = true;
            EXPECT_TRUE(item->text().contains("not expressible as a yearly formula"));
            EXPECT_FALSE(item->flags() & Qt::ItemIsSelectable);
        }
    }
    EXPECT_TRUE(diwali);
    holidays.AllButtonClick();
    EXPECT_EQ(holidays.SelectedLines().size(), 6);
    EXPECT_EQ(holidays.Country->accessibleName(), "Country");
    EXPECT_EQ(holidays.CountryLabel->buddy(), holidays.Country);
}

TEST_F(RecurringDialogs, FormulaEditorMakesAndShowsMovingFeasts) {
    TEditRecurringDateFormula dlg;
    dlg.SetFormulaString("#EASTER+39");
    dlg.SetEmUp();
    EXPECT_TRUE(dlg.rbEaster->isChecked());
    EXPECT_EQ(dlg.EasterKind->currentIndex(), 0);
    EXPECT_EQ(dlg.EasterOffset->value(), 39);
    EXPECT_TRUE(dlg.EasterOffset->isEnabled());
    EXPECT_FALSE(dlg.SpecialMonth->isEnabled());
    dlg.EasterKind->setCurrentIndex(1);
    dlg.EasterOffset->setValue(-2);
    ASSERT_TRUE(dlg.DetermineFormulaString());
    EXPECT_EQ(dlg.FormulaString(), "#OEASTER-2");

    dlg.SetFormulaString("#mon<=0524");
    dlg.SetEmUp();
    EXPECT_TRUE(dlg.rbOnOrAfter->isChecked());
    EXPECT_EQ(dlg.OnOrAfterWeekday->currentIndex(), 1);
    EXPECT_EQ(dlg.OnOrAfterRelation->currentIndex(), 1);
    EXPECT_EQ(dlg.OnOrAfterDay->value(), 24);
    EXPECT_EQ(dlg.OnOrAfterMonth->currentIndex(), 4);
    EXPECT_FALSE(dlg.EasterOffset->isEnabled());
    dlg.OnOrAfterRelation->setCurrentIndex(0);
    dlg.OnOrAfterDay->setValue(18);
    ASSERT_TRUE(dlg.DetermineFormulaString());
    EXPECT_EQ(dlg.FormulaString(), "#MON>=0518");
    // The classic Good Friday reads as Easter - 2 days.
    dlg.SetFormulaString("#GOODFRIDAY");
    dlg.SetEmUp();
    EXPECT_TRUE(dlg.rbEaster->isChecked());
    EXPECT_EQ(dlg.EasterOffset->value(), -2);
    // The new entry keeps the eleventh character of an Orthodox feast.
    EXPECT_EQ(EntryFeastName(BuildEntry("Trinity", "#OEASTER+49")), "#OEASTER+49");
}

TEST_F(RecurringDialogs, WithoutTheHolidayTableTheClassicListStaysAndTheReasonIsSaid) {
    QTemporaryDir emptyData;
    const QByteArray kept = qgetenv("PLENNIX_DATA_DIR");
    qputenv("PLENNIX_DATA_DIR", emptyData.path().toLocal8Bit());
    ResetProgramDir();
    {
        TGetHolidays holidays;
        EXPECT_EQ(AllEntryLines(holidays.Holidays), BuiltInHolidayLines());
        EXPECT_FALSE(holidays.Country->isEnabled());
        holidays.show();
        EXPECT_TRUE(messages.lastText().contains(emptyData.path() + "/holidays/holidays.tsv"))
            << messages.lastText().toStdString();
        EXPECT_TRUE(messages.lastText().contains("does not exist"));
    }
    qputenv("PLENNIX_DATA_DIR", kept);
    ResetProgramDir();
}
