// The Header Styles tab: how much of each day name the calendar and the mini calendars write.
#include <QComboBox>
#include <QFormLayout>

#include "calendar/properties_dialog.h"
#include "calendar/properties_preview.h"

namespace plennix {

QWidget* TCalendarProperties::buildHeaderStylesPage() {
    auto* page = new QWidget(this);
    auto* layout = new QFormLayout(page);
    const QStringList items{QStringLiteral("First Character"), QStringLiteral("First Three Characters"),
                            QStringLiteral("Whole Word")};
    CalHeaderStyleCombo = new QComboBox(page);
    CalHeaderStyleCombo->setObjectName(QStringLiteral("CalHeaderStyleCombo"));
    CalHeaderStyleCombo->addItems(items);
    MiniHeadersStyleCombo = new QComboBox(page);
    MiniHeadersStyleCombo->setObjectName(QStringLiteral("MiniHeadersStyleCombo"));
    MiniHeadersStyleCombo->addItems(items);
    // Alt+C and Alt+L belong to Cancel and Load Style Sheet; the labels take other letters.
    layout->addRow(QStringLiteral("C&alendar day names:"), CalHeaderStyleCombo);
    layout->addRow(QStringLiteral("M&ini calendar day names:"), MiniHeadersStyleCombo);
    CalHeaderStyleCombo->setAccessibleName(QStringLiteral("Calendar day names"));
    MiniHeadersStyleCombo->setAccessibleName(QStringLiteral("Mini calendar day names"));
    connect(CalHeaderStyleCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (Initializing || index < 0) return;
        ExampleCalendar->Change([index](CalendarSettings& s) { s.HeadersStyle = static_cast<TCalHeadersStyle>(index); });
    });
    connect(MiniHeadersStyleCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (Initializing || index < 0) return;
        ExampleCalendar->Change(
            [index](CalendarSettings& s) { s.MiniHeadersStyle = static_cast<TCalHeadersStyle>(index); });
    });
    return page;
}

}  // namespace plennix
