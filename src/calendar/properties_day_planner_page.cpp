// The Day Planner tab: the hour at which the day planners' first slot begins.
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "calendar/properties_dialog.h"
#include "calendar/properties_page_helpers.h"
#include "calendar/properties_preview.h"
#include "calendar/set_time_dialog.h"
#include "platform/common_dialogs.h"

namespace plennix {

QTime DayFractionToTime(double fraction) {
    constexpr qint64 kDay = 24LL * 60 * 60 * 1000;
    if (!std::isfinite(fraction)) return QTime(0, 0);
    const double frac = fraction - std::floor(fraction);
    qint64 ms = std::llround(frac * double(kDay));
    ms = ((ms % kDay) + kDay) % kDay;
    return QTime::fromMSecsSinceStartOfDay(int(ms));
}

double TimeToDayFraction(const QTime& time) {
    if (!time.isValid()) return 0.0;
    return double((time.hour() * 60 + time.minute()) * 60 * 1000) / (24.0 * 60 * 60 * 1000);
}

QWidget* TCalendarProperties::buildDayPlannerPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    QGroupBox* group = properties::Group(QStringLiteral("Starting Time (for day planners)"), page);
    StartingtimeButton = makeButton(QStringLiteral("StartingtimeButton"), QStringLiteral("Set &Time..."),
                                    QStringLiteral("Starting time"));
    TimeLabel = new QLabel(page);
    TimeLabel->setObjectName(QStringLiteral("TimeLabel"));
    TimeLabel->setAccessibleName(QStringLiteral("Starting time"));
    group->layout()->addWidget(StartingtimeButton);
    group->layout()->addWidget(TimeLabel);
    layout->addWidget(group);
    auto* note = new QLabel(
        QStringLiteral("*(Note: This setting only applies if you have selected one of the two Day Planners from the "
                       "Layout tab)"),
        page);
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addStretch();
    connect(StartingtimeButton, &QPushButton::clicked, this, &TCalendarProperties::StartingtimeButtonClick);
    return page;
}

void TCalendarProperties::StartingtimeButtonClick() {
    TSetTimeDialog dialog(this);
    dialog.SetTime(m_time);
    if (RunModalDialog(dialog) != QDialog::Accepted) return;
    m_time = dialog.Time();
    TimeLabel->setText(properties::ShortTime(m_time));
    const double start = TimeToDayFraction(m_time);
    ExampleCalendar->Change([start](CalendarSettings& s) { s.DayStartTime = start; });
}

}  // namespace plennix
