#pragma once
// The two multi-selection lists of entries: TGetHolidays offers the built-in holidays to the list
// editor; TSelectRecurringDates offers the entries that can fall in the page's month to the fill command.
// OK with no row selected only beeps and keeps the dialog open.
#include <QDialog>
#include <QStringList>

class QListWidget;
class QPushButton;

namespace plennix {

class TGetHolidays : public QDialog {
    Q_OBJECT
public:
    explicit TGetHolidays(QWidget* parent = nullptr);
    // The selected holiday lines in list order.
    QStringList SelectedLines() const;

    void okbuttonClick();
    void AllButtonClick();
    void nonebuttonClick();

    QListWidget* Holidays;
    QPushButton* okbutton;
    QPushButton* CancelButton;
    QPushButton* AllButton;
    QPushButton* nonebutton;
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
