#include "recurring/formula_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSpinBox>

#include "platform/code_page.h"
#include "platform/messages.h"
#include "recurring/formula.h"

namespace plennix {
namespace {
const QStringList kMonthItems = {"Each Month", "January", "February", "March",     "April",   "May",      "June",
                                 "July",       "August",  "September", "October", "November", "December"};

// Hints use "\r" for a line break, as message texts do.
QString HintText(const char* text) { return QString::fromLatin1(text).replace('\r', '\n'); }

template <typename W>
W* Place(W* widget, int x, int y, int w, int h, const char* hint = nullptr) {
    widget->setGeometry(x, y, w, h);
    if (hint) {
        widget->setToolTip(HintText(hint));
        widget->setWhatsThis(HintText(hint));
    }
    return widget;
}

void SetBold(QWidget* w, bool bold) {
    QFont f = w->font();
    f.setBold(bold);
    w->setFont(f);
}
}  // namespace

TEditRecurringDateFormula::TEditRecurringDateFormula(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Recurring Date - Formulas"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);
    // Two rows for the moving feasts sit below the Special row.
    constexpr int kFeastRows = 84;
    setFixedSize(407, 334 + kFeastRows);

    rbDayOfMonth = Place(new QRadioButton(QStringLiteral("Day of the &Month"), this), 16, 12, 200, 22,
                         "Check here to choose a 'Day of the Month' \rstyle Repeating Reminder");
    DayOfMonthDay = Place(new QSpinBox(this), 40, 38, 56, 24, "Select the day of the month (1-31)");
    DayOfMonthDay->setRange(1, 31);
    DayOfMonthDay->setValue(1);
    Label2 = Place(new QLabel(QStringLiteral("of"), this), 104, 42, 20, 18);
    DayOfMonthMonth = Place(new QComboBox(this), 128, 38, 150, 24,
                            "Select a month, or Each Month to use this reminder\rin every month");
    DayOfMonthMonth->addItems(kMonthItems);
    DayOfMonthMonth->setMaxVisibleItems(14);

    rbDayOfweek = Place(new QRadioButton(QStringLiteral("Day of the &Week"), this), 16, 74, 200, 22,
                        "Check here to choose a 'Days of the Week' \rstyle Repeating Reminder");
    const char* dayHint = "Check to use this reminder on this day of \reach week";
    Monday = Place(new QCheckBox(QStringLiteral("Mon"), this), 40, 100, 62, 20, dayHint);
    Tuesday = Place(new QCheckBox(QStringLiteral("Tues"), this), 104, 100, 62, 20, dayHint);
    Wednesday = Place(new QCheckBox(QStringLiteral("Wed"), this), 168, 100, 62, 20, dayHint);
    Thursday = Place(new QCheckBox(QStringLiteral("Thu"), this), 232, 100, 62, 20, dayHint);
    Friday = Place(new QCheckBox(QStringLiteral("Fri"), this), 296, 100, 62, 20, dayHint);
    Saturday = Place(new QCheckBox(QStringLiteral("Sat"), this), 40, 124, 62, 20, dayHint);
    Sunday = Place(new QCheckBox(QStringLiteral("Sun"), this), 104, 124, 62, 20, dayHint);
    AllDaysCheck = Place(new QCheckBox(QStringLiteral("All Days"), this), 168, 124, 100, 20, "Check to include all days");

    rbSpecial = Place(new QRadioButton(QStringLiteral("&Special"), this), 16, 158, 200, 22,
                      "Check here to choose a 'nth Day of Month' \rstyle Repeating Reminder");
    SpecialOccurrance = Place(new QComboBox(this), 40, 184, 64, 24,
                              "Select the occurrance: First, 2nd, 3rd, 4th, 5th\ror Last");
    SpecialOccurrance->addItems({"1st", "2nd", "3rd", "4th", "5th", "Last"});
    SpecialDayOfWeek = Place(new QComboBox(this), 110, 184, 120, 24,
                             "Select a day of the week, or Day to use\rany day");
    SpecialDayOfWeek->addItems(
        {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Day (any day)"});
    Label1 = Place(new QLabel(QStringLiteral("of"), this), 236, 188, 20, 18);
    SpecialMonth = Place(new QComboBox(this), 258, 184, 132, 24,
                         "Select a month, or Each Month to use this reminder\rin every month");
    SpecialMonth->addItems(kMonthItems);
    SpecialMonth->setMaxVisibleItems(14);

    rbEaster = Place(new QRadioButton(QStringLiteral("&Easter"), this), 16, 218, 90, 22,
                     "Check here for a day that moves with Easter");
    EasterKind = Place(new QComboBox(this), 110, 216, 130, 24, "Western (Gregorian) or Orthodox Easter");
    EasterKind->addItems({"Easter", "Orthodox Easter"});
    EasterKind->setAccessibleName(QStringLiteral("Easter"));
    EasterOffset = Place(new QSpinBox(this), 246, 216, 100, 24, "Days after Easter Sunday (negative: before)");
    EasterOffset->setRange(-kMaxEasterOffset, kMaxEasterOffset);
    EasterOffset->setSuffix(QStringLiteral(" days"));
    EasterOffset->setAccessibleName(QStringLiteral("Easter days"));
    rbOnOrAfter = Place(new QRadioButton(QStringLiteral("On or &after"), this), 16, 250, 100, 22,
                        "Check here for the first weekday on or after (or on or before) a date");
    OnOrAfterWeekday = Place(new QComboBox(this), 40, 274, 100, 24, "The weekday");
    OnOrAfterWeekday->addItems({"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"});
    OnOrAfterWeekday->setAccessibleName(QStringLiteral("On or after weekday"));
    OnOrAfterRelation = Place(new QComboBox(this), 144, 274, 104, 24, "On or after, or on or before the date");
    OnOrAfterRelation->addItems({"on or after", "on or before"});
    OnOrAfterRelation->setAccessibleName(QStringLiteral("On or after, or on or before"));
    OnOrAfterDay = Place(new QSpinBox(this), 252, 274, 48, 24, "Day of the month (1-31)");
    OnOrAfterDay->setRange(1, 31);
    OnOrAfterDay->setAccessibleName(QStringLiteral("On or after day"));
    OnOrAfterMonth = Place(new QComboBox(this), 304, 274, 96, 24, "The month");
    OnOrAfterMonth->addItems(kMonthItems.mid(1));
    OnOrAfterMonth->setMaxVisibleItems(14);
    OnOrAfterMonth->setAccessibleName(QStringLiteral("On or after month"));

    Label3 = Place(new QLabel(QStringLiteral("Recurring event (birthday, anniversary, etc)"), this), 16,
                   226 + kFeastRows, 375, 18);
    Event = Place(new QLineEdit(this), 16, 246 + kFeastRows, 375, 24);
    Event->setMaxLength(kEventFieldWidth);
    // Names read by screen readers for the fields that have no caption of their own.
    Label3->setBuddy(Event);
    DayOfMonthDay->setAccessibleName(QStringLiteral("Day of the month"));
    DayOfMonthMonth->setAccessibleName(QStringLiteral("Month of the day of the month"));
    SpecialOccurrance->setAccessibleName(QStringLiteral("Occurrence of the special day"));
    SpecialDayOfWeek->setAccessibleName(QStringLiteral("Special day of the week"));
    SpecialMonth->setAccessibleName(QStringLiteral("Month of the special day"));

    Okbutton = Place(new QPushButton(QStringLiteral("&Ok"), this), 220, 292 + kFeastRows, 80, 28);
    Okbutton->setDefault(true);
    CancelButton = Place(new QPushButton(QStringLiteral("&Cancel"), this), 310, 292 + kFeastRows, 80, 28);

    for (QRadioButton* rb : {rbDayOfMonth, rbDayOfweek, rbSpecial, rbEaster, rbOnOrAfter})
        connect(rb, &QRadioButton::toggled, this, [this](bool on) {
            if (on) SetRecurType();
        });
    connect(AllDaysCheck, &QCheckBox::clicked, this, &TEditRecurringDateFormula::AllDaysCheckClick);
    connect(Okbutton, &QPushButton::clicked, this, &TEditRecurringDateFormula::OkbuttonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TEditRecurringDateFormula::CancelButtonClick);

    FormCreate();
}

void TEditRecurringDateFormula::FormCreate() {
    for (QComboBox* list : {DayOfMonthMonth, SpecialOccurrance, SpecialDayOfWeek, SpecialMonth, EasterKind,
                            OnOrAfterWeekday, OnOrAfterRelation, OnOrAfterMonth})
        list->setCurrentIndex(0);
    for (QCheckBox* box : {Monday, Tuesday, Wednesday, Thursday, Friday}) box->setChecked(true);
    rbDayOfMonth->setChecked(true);
    m_formula = QStringLiteral("@");
    SetRecurType();
}

void TEditRecurringDateFormula::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormActivate();
}

void TEditRecurringDateFormula::FormActivate() {
    Event->setFocus();
    SetEmUp();
}

QCheckBox* TEditRecurringDateFormula::DayBox(int weekday) const {
    QCheckBox* const boxes[7] = {Sunday, Monday, Tuesday, Wednesday, Thursday, Friday, Saturday};
    return boxes[weekday - 1];
}

void TEditRecurringDateFormula::SetEmUp() {
    const QChar kind = m_formula.isEmpty() ? QChar(' ') : m_formula[0];
    if (kind == '$') {
        if (auto f = ParseSpecial(m_formula)) {
            rbSpecial->setChecked(true);
            SpecialOccurrance->setCurrentIndex(f->occurrence);
            SpecialDayOfWeek->setCurrentIndex(f->weekday);
            SpecialMonth->setCurrentIndex(f->month);
        }
    } else if (kind == '#') {
        if (auto f = ParseFeast(m_formula)) {
            using Kind = FeastFormula::Kind;
            if (f->kind == Kind::Easter || f->kind == Kind::OrthodoxEaster) {
                rbEaster->setChecked(true);
                EasterKind->setCurrentIndex(f->kind == Kind::OrthodoxEaster ? 1 : 0);
                EasterOffset->setValue(f->offset);
            } else {
                rbOnOrAfter->setChecked(true);
                OnOrAfterWeekday->setCurrentIndex(f->weekday);
                OnOrAfterRelation->setCurrentIndex(f->kind == Kind::OnOrBefore ? 1 : 0);
                OnOrAfterDay->setValue(f->day);
                OnOrAfterMonth->setCurrentIndex(f->month - 1);
            }
        }
    } else if (kind == '@') {
        if (auto f = ParseDayOfMonth(m_formula)) {
            rbDayOfMonth->setChecked(true);
            DayOfMonthDay->setValue(f->day);
            DayOfMonthMonth->setCurrentIndex(f->month);
        }
    } else {
        rbDayOfweek->setChecked(true);
        for (int d = 1; d <= 7; ++d) DayBox(d)->setChecked(m_formula.contains(QChar('0' + d)));
    }
}

void TEditRecurringDateFormula::SetRecurType() {
    const bool dayOfWeek = rbDayOfweek->isChecked();
    const bool dayOfMonth = rbDayOfMonth->isChecked();
    const bool special = rbSpecial->isChecked();
    for (int d = 1; d <= 7; ++d) DayBox(d)->setEnabled(dayOfWeek);
    AllDaysCheck->setEnabled(dayOfWeek);
    DayOfMonthDay->setEnabled(dayOfMonth);
    DayOfMonthMonth->setEnabled(dayOfMonth);
    SpecialOccurrance->setEnabled(special);
    SpecialDayOfWeek->setEnabled(special);
    SpecialMonth->setEnabled(special);
    const bool easter = rbEaster->isChecked();
    const bool onOrAfter = rbOnOrAfter->isChecked();
    EasterKind->setEnabled(easter);
    EasterOffset->setEnabled(easter);
    for (QWidget* w :
         std::initializer_list<QWidget*>{OnOrAfterWeekday, OnOrAfterRelation, OnOrAfterDay, OnOrAfterMonth})
        w->setEnabled(onOrAfter);
    SetBold(rbEaster, easter);
    SetBold(rbOnOrAfter, onOrAfter);
    SetBold(rbDayOfMonth, dayOfMonth);
    SetBold(rbDayOfweek, dayOfWeek);
    SetBold(rbSpecial, special);
}

void TEditRecurringDateFormula::AllDaysCheckClick() {
    for (int d = 1; d <= 7; ++d) DayBox(d)->setChecked(AllDaysCheck->isChecked());
}

bool TEditRecurringDateFormula::DetermineFormulaString() {
    if (rbDayOfMonth->isChecked()) {
        const int day = DayOfMonthDay->value();
        if (day < 1 || day > 31) {
            ShowInformation(QStringLiteral("Invalid day of month entered "), this);
            return false;
        }
        if (DayOfMonthMonth->currentIndex() < 0) {
            ShowInformation(QStringLiteral("Invalid month entered "), this);
            return false;
        }
        m_formula = BuildDayOfMonth(day, DayOfMonthMonth->currentIndex());
        return true;
    }
    if (rbSpecial->isChecked()) {
        if (SpecialOccurrance->currentIndex() < 0 || SpecialDayOfWeek->currentIndex() < 0 ||
            SpecialMonth->currentIndex() < 0) {
            ShowInformation(QStringLiteral("Invalid value entered for Special category"), this);
            return false;
        }
        m_formula = BuildSpecial(SpecialOccurrance->currentIndex(), SpecialDayOfWeek->currentIndex(),
                                 SpecialMonth->currentIndex());
        return true;
    }
    if (rbEaster->isChecked()) {
        m_formula = BuildFeast({EasterKind->currentIndex() == 1 ? FeastFormula::Kind::OrthodoxEaster
                                                                : FeastFormula::Kind::Easter,
                                EasterOffset->value()});
        return true;
    }
    if (rbOnOrAfter->isChecked()) {
        FeastFormula f;
        f.kind =
            OnOrAfterRelation->currentIndex() == 1 ? FeastFormula::Kind::OnOrBefore : FeastFormula::Kind::OnOrAfter;
        f.weekday = std::max(0, OnOrAfterWeekday->currentIndex());
        f.day = OnOrAfterDay->value();
        f.month = std::max(0, OnOrAfterMonth->currentIndex()) + 1;
        m_formula = BuildFeast(f);
        return true;
    }
    QString formula = QStringLiteral("%");
    for (int d = 1; d <= 7; ++d)
        if (DayBox(d)->isChecked()) formula += QChar('0' + d);
    if (formula.size() == 1) {
        ShowInformation(QStringLiteral("You must select at least one day for this \rreminder to occur on"), this);
        return false;
    }
    m_formula = formula;
    return true;
}

void TEditRecurringDateFormula::OkbuttonClick() {
    // The event text goes to PXRECUR.DAX in the files' code page: refuse what it cannot hold.
    const QString problem = CodePageProblem(Event->text());
    if (!problem.isEmpty()) {
        ShowInformation(problem, this);
        Event->setFocus();
        return;
    }
    if (DetermineFormulaString()) accept();
}

void TEditRecurringDateFormula::CancelButtonClick() { reject(); }

}  // namespace plennix
