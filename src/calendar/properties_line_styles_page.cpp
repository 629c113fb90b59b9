// The Line Styles tab: which lines the calendar and the mini calendars draw.
#include <QComboBox>
#include <QFormLayout>

#include "calendar/properties_dialog.h"
#include "calendar/properties_preview.h"

namespace plennix {

QWidget* TCalendarProperties::buildLineStylesPage() {
    auto* page = new QWidget(this);
    auto* layout = new QFormLayout(page);
    CalendarLineLayoutCombo = new QComboBox(page);
    CalendarLineLayoutCombo->setObjectName(QStringLiteral("CalendarLineLayoutCombo"));
    CalendarLineLayoutCombo->addItems({QStringLiteral("Full"), QStringLiteral("Headers & Cells"), QStringLiteral("Cells Only")});
    MiniCalendarLineLayoutCombo = new QComboBox(page);
    MiniCalendarLineLayoutCombo->setObjectName(QStringLiteral("MiniCalendarLineLayoutCombo"));
    MiniCalendarLineLayoutCombo->addItems({QStringLiteral("Full"), QStringLiteral("Boxed"), QStringLiteral("Minimal")});
    layout->addRow(QStringLiteral("C&alendar lines:"), CalendarLineLayoutCombo);
    layout->addRow(QStringLiteral("M&ini calendar lines:"), MiniCalendarLineLayoutCombo);
    CalendarLineLayoutCombo->setAccessibleName(QStringLiteral("Calendar lines"));
    MiniCalendarLineLayoutCombo->setAccessibleName(QStringLiteral("Mini calendar lines"));
    // The presets also set the borders they stand for.
    connect(CalendarLineLayoutCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (Initializing || index < 0) return;
        ExampleCalendar->Change(
            [index](CalendarSettings& s) { s.SetCalendarLineLayout(static_cast<TCalendarLineLayout>(index)); });
    });
    connect(MiniCalendarLineLayoutCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (Initializing || index < 0) return;
        ExampleCalendar->Change(
            [index](CalendarSettings& s) { s.SetMiniCalendarLineLayout(static_cast<TMiniCalendarLineLayout>(index)); });
    });
    return page;
}

}  // namespace plennix
