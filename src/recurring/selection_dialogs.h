#pragma once
// The two multi-selection lists of entries: TGetHolidays offers the built-in holidays to the list
// editor; TSelectRecurringDates offers the entries that can fall in the page's month to the fill command.
// OK with no row selected only beeps and keeps the dialog open.
#include <QDialog>
#include <QStringList>

#include "recurring/holiday_sets.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace plennix {

// TGetHolidays offers the holidays of one country at a time (the classic list under the United States);
// holidays that no yearly formula can express are listed greyed and cannot be chosen.
class TGetHolidays : public QDialog {
    Q_OBJECT
public:
    explicit TGetHolidays(QWidget* parent = nullptr);
    // The selected holiday lines in list order.
    QStringList SelectedLines() const;
    // Shows the holidays of the country with that code; false when the table has no such country.
    bool ChooseCountry(const QString& code);
    // Adds the holidays of the chosen country's region with that code ("" for the whole country).
    bool ChooseRegion(const QString& code);
    // Lists the chosen country's holidays again (after a country or the name language changed).
    void FillHolidays();

    void okbuttonClick();
    void AllButtonClick();
    void nonebuttonClick();

    QLabel* CountryLabel;
    QComboBox* Country;
    QLabel* RegionLabel;
    QComboBox* Region;
    QCheckBox* LocalNames;
    QListWidget* Holidays;
    QPushButton* okbutton;
    QPushButton* CancelButton;
    QPushButton* AllButton;
    QPushButton* nonebutton;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FillRegions();

    std::vector<HolidayCountry> m_countries;
    // Why the table of other countries could not be read; said once, when the dialog is first shown.
    QString m_tableError;
};

class TSelectRecurringDates : public QDialog {
    Q_OBJECT
public:
    explicit TSelectRecurringDates(QWidget* parent = nullptr);
    // Fills the rows with entry lines, in the given order.
    void SetLines(const QStringList& lines);
    QStringList SelectedLines() const;
    // Indexes of the selected rows, ascending.
    QList<int> SelectedRows() const;

    void FormActivate();
    void okbuttonClick();
    void AllbuttonClick();
    void NonebuttonClick();

    QListWidget* Dates;
    QPushButton* okbutton;
    QPushButton* CancelButton;
    QPushButton* Allbutton;
    QPushButton* Nonebutton;

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace plennix
