#pragma once
// TEditRecurringDateFormula: builds a formula from its controls (DetermineFormulaString) and sets the
// controls from a formula (SetEmUp). The caller sets the event text and the formula before showing it
// and reads both back after OK.
#include <QDialog>
#include <QString>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace plennix {

class TEditRecurringDateFormula : public QDialog {
    Q_OBJECT
public:
    explicit TEditRecurringDateFormula(QWidget* parent = nullptr);

    const QString& FormulaString() const { return m_formula; }
    void SetFormulaString(const QString& formula) { m_formula = formula; }

    void SetRecurType();
    void SetEmUp();
    bool DetermineFormulaString();
    void OkbuttonClick();
    void CancelButtonClick();
    void AllDaysCheckClick();

    QRadioButton* rbDayOfMonth;
    QSpinBox* DayOfMonthDay;
    QLabel* Label2;
    QComboBox* DayOfMonthMonth;
    QRadioButton* rbDayOfweek;
    QCheckBox* Monday;
    QCheckBox* Tuesday;
    QCheckBox* Wednesday;
    QCheckBox* Thursday;
    QCheckBox* Friday;
    QCheckBox* Saturday;
    QCheckBox* Sunday;
    QCheckBox* AllDaysCheck;
    QRadioButton* rbSpecial;
    QComboBox* SpecialOccurrance;
    QComboBox* SpecialDayOfWeek;
    QLabel* Label1;
    QComboBox* SpecialMonth;
    // Feasts that move with Easter, and weekdays on or after / on or before a date.
    QRadioButton* rbEaster;
    QComboBox* EasterKind;
    QSpinBox* EasterOffset;
    QRadioButton* rbOnOrAfter;
    QComboBox* OnOrAfterWeekday;
    QComboBox* OnOrAfterRelation;
    QSpinBox* OnOrAfterDay;
    QComboBox* OnOrAfterMonth;
    QLabel* Label3;
    QLineEdit* Event;
    QPushButton* Okbutton;
    QPushButton* CancelButton;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void FormActivate();
    // The weekday boxes in weekday order, Sunday first (index + 1 = weekday digit).
    QCheckBox* DayBox(int weekday) const;

    QString m_formula;
};

}  // namespace plennix
