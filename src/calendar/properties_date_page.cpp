// The Date tab: the month shown (or a planner's first day), the first day of the week and whether the
// titles show the year.
#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "calendar/properties_dialog.h"
#include "calendar/properties_page_helpers.h"
#include "calendar/properties_preview.h"

namespace plennix {

QWidget* TCalendarProperties::buildDatePage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    SelectMonthYearLabel = new QLabel(QStringLiteral("Select Month & Year"), page);
    SelectMonthYearLabel->setObjectName(QStringLiteral("SelectMonthYearLabel"));
    layout->addWidget(SelectMonthYearLabel);
    DateLabel = new QLabel(page);
    DateLabel->setObjectName(QStringLiteral("DateLabel"));
    DateLabel->setAccessibleName(QStringLiteral("Chosen date"));
    QFont bold = DateLabel->font();
    bold.setBold(true);
    DateLabel->setFont(bold);
    layout->addWidget(DateLabel);

    auto* buttons = new QHBoxLayout();
    Button8 = makeButton(QStringLiteral("Button8"), QStringLiteral("<<"), QStringLiteral("Previous year"));
    Button9 = makeButton(QStringLiteral("Button9"), QStringLiteral("<"), QStringLiteral("Previous month"));
    Button10 = makeButton(QStringLiteral("Button10"), QStringLiteral("Now"), QStringLiteral("Today"));
    Button11 = makeButton(QStringLiteral("Button11"), QStringLiteral(">"), QStringLiteral("Next month"));
    Button12 = makeButton(QStringLiteral("Button12"), QStringLiteral(">>"), QStringLiteral("Next year"));
    for (QPushButton* b : {Button8, Button9, Button10, Button11, Button12}) {
        b->setMinimumWidth(36);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    connect(Button8, &QPushButton::clicked, this, [this] { moveDate(-1, 0); });
    connect(Button9, &QPushButton::clicked, this, [this] { moveDate(0, -1); });
    connect(Button10, &QPushButton::clicked, this, [this] {
        const QDate today = QDate::currentDate();
        Calendar->setSelectedDate(today);
        Calendar->setCurrentPage(today.year(), today.month());
    });
    connect(Button11, &QPushButton::clicked, this, [this] { moveDate(0, 1); });
    connect(Button12, &QPushButton::clicked, this, [this] { moveDate(1, 0); });

    Calendar = new QCalendarWidget(page);
    Calendar->setObjectName(QStringLiteral("Calendar"));
    Calendar->setAccessibleName(QStringLiteral("Date"));
    // The day table inside takes the focus: a screen reader names the calendar by it.
    if (auto* days = Calendar->findChild<QAbstractItemView*>()) days->setAccessibleName(QStringLiteral("Date"));
    Calendar->setMinimumDate(QDate(1, 1, 1));
    Calendar->setMaximumDate(QDate(9999, 12, 31));
    Calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    Calendar->setNavigationBarVisible(false);
    Calendar->setFirstDayOfWeek(Qt::Sunday);
    layout->addWidget(Calendar);
    connect(Calendar, &QCalendarWidget::selectionChanged, this, [this] { DateChange(); });

    auto* row = new QHBoxLayout();
    WeekStartsOn = new QGroupBox(QStringLiteral("Week Starts On"), page);
    WeekStartsOn->setObjectName(QStringLiteral("WeekStartsOn"));
    WeekStartButtons = new QButtonGroup(this);
    auto* weekLayout = new QVBoxLayout(WeekStartsOn);
    int id = 0;
    for (const char* caption : {"Sunday", "Monday"}) {
        auto* radio = new QRadioButton(QString::fromLatin1(caption), WeekStartsOn);
        radio->setObjectName(QStringLiteral("WeekStartsOn") + caption);
        weekLayout->addWidget(radio);
        WeekStartButtons->addButton(radio, id++);
    }
    connect(WeekStartButtons, &QButtonGroup::idClicked, this, [this](int index) {
        if (Initializing) return;
        ExampleCalendar->Change([index](CalendarSettings& s) { s.StartOfWeek = index + 1; });
        Calendar->setFirstDayOfWeek(index == 0 ? Qt::Sunday : Qt::Monday);
    });
    row->addWidget(WeekStartsOn);
    auto* checks = new QVBoxLayout();
    TitleShowYearCheck = new QCheckBox(QStringLiteral("Show Year in Title"), page);
    TitleShowYearCheck->setObjectName(QStringLiteral("TitleShowYearCheck"));
    MiniShowYearCheck = new QCheckBox(QStringLiteral("Show Year in Mini Title"), page);
    MiniShowYearCheck->setObjectName(QStringLiteral("MiniShowYearCheck"));
    checks->addWidget(TitleShowYearCheck);
    checks->addWidget(MiniShowYearCheck);
    row->addLayout(checks);
    layout->addLayout(row);
    connect(TitleShowYearCheck, &QCheckBox::toggled, this, [this](bool on) {
        if (!Initializing) ExampleCalendar->Change([on](CalendarSettings& s) { s.TitleShowYear = on; });
    });
    connect(MiniShowYearCheck, &QCheckBox::toggled, this, [this](bool on) {
        if (!Initializing) ExampleCalendar->Change([on](CalendarSettings& s) { s.MiniShowYear = on; });
    });
    return page;
}

void TCalendarProperties::DateChange() {
    const QDate date = Calendar->selectedDate();
    DateLabel->setText(PlannerDate ? properties::LongDate(date) : properties::MonthYear(date));
    if (Initializing) return;
    // A date the page already shows (its day may be unset) is no change: opening and closing the dialog
    // must leave the document unmodified.
    if (properties::DateOfSettings(ExampleCalendar->Settings()) == date) return;
    ExampleCalendar->Change([&date](CalendarSettings& s) {
        s.MainCalMonth = date.month();
        s.MainCalYear = date.year();
        s.MainCalDay = date.day();
    });
}

void TCalendarProperties::moveDate(int years, int months) {
    const QDate date = Calendar->selectedDate().addYears(years).addMonths(months);
    if (!date.isValid()) return;
    Calendar->setSelectedDate(date);
    Calendar->setCurrentPage(date.year(), date.month());
}

}  // namespace plennix
