// The Layout tab: the kind of page, its orientation and its paper.
#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "calendar/properties_dialog.h"
#include "calendar/properties_page_helpers.h"
#include "calendar/properties_preview.h"

namespace plennix {

using properties::kFirstPlannerLayout;
using properties::kLayoutListPlanners;

QWidget* TCalendarProperties::buildLayoutPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    LayoutList = new QListWidget(page);
    LayoutList->setObjectName(QStringLiteral("LayoutList"));
    LayoutList->setAccessibleName(QStringLiteral("Layout"));
    LayoutList->addItems({QStringLiteral("1 Month Calendar "), QStringLiteral("1 Month Calendar, 2 Mini Calendars"),
                          QStringLiteral("1 Month Calendar, 6 Mini Calendars Before & After "),
                          QStringLiteral("1 Month Calendar, 12 Mini Calendars After "),
                          QStringLiteral("6 Month Calendar (Mini Calendars)"), QStringLiteral("12 Month Calendar (Mini Calendars)"),
                          QStringLiteral("24 Month Calendar (Mini Calendars)"), QStringLiteral("48 Month Calendar (Mini Calendars)"),
                          QStringLiteral("60 Month Calendar (Mini Calendars)"), QStringLiteral("One Week Planner"),
                          QStringLiteral("Two Week Planner"), QStringLiteral("Day Planner (10 hours)"),
                          QStringLiteral("Day Planner (15 hours)")});
    layout->addWidget(LayoutList, 1);
    connect(LayoutList, &QListWidget::currentRowChanged, this, [this] { LayoutClick(); });
    // A click on the row already chosen still restores that layout's mini font sizes.
    connect(LayoutList, &QListWidget::itemClicked, this, [this] { LayoutClick(); });

    auto* row = new QHBoxLayout();
    rOrientation = new QGroupBox(QStringLiteral("Orientation"), page);
    rOrientation->setObjectName(QStringLiteral("rOrientation"));
    OrientationButtons = new QButtonGroup(this);
    auto* orientationLayout = new QVBoxLayout(rOrientation);
    int id = 0;
    for (const char* caption : {"Portrait", "Landscape"}) {
        auto* radio = new QRadioButton(QString::fromLatin1(caption), rOrientation);
        radio->setObjectName(QStringLiteral("rOrientation") + caption);
        orientationLayout->addWidget(radio);
        OrientationButtons->addButton(radio, id++);
    }
    PaperSize = new QGroupBox(QStringLiteral("Paper"), page);
    PaperSize->setObjectName(QStringLiteral("PaperSize"));
    PaperButtons = new QButtonGroup(this);
    auto* paperLayout = new QVBoxLayout(PaperSize);
    id = 0;
    for (const char* caption : {"Letter", "A4"}) {
        auto* radio = new QRadioButton(QString::fromLatin1(caption), PaperSize);
        radio->setObjectName(QStringLiteral("PaperSize") + caption);
        paperLayout->addWidget(radio);
        PaperButtons->addButton(radio, id++);
    }
    connect(OrientationButtons, &QButtonGroup::idClicked, this, [this] { LayoutClick(); });
    connect(PaperButtons, &QButtonGroup::idClicked, this, [this] { LayoutClick(); });
    row->addWidget(rOrientation);
    row->addWidget(PaperSize);
    layout->addLayout(row);
    return page;
}

void TCalendarProperties::LayoutClick() {
    if (Initializing) return;
    PlannerDate = false;
    const int paper = std::max(0, PaperButtons->checkedId());
    ExampleCalendar->Change([paper](CalendarSettings& s) { s.PaperSize = paper == 1 ? 1 : 0; });
    int layout = static_cast<int>(ExampleCalendar->Settings().CalendarLayout);
    const int row = LayoutList->currentRow();
    if (row >= kLayoutListPlanners && row <= kLayoutListPlanners + 3)
        layout = kFirstPlannerLayout + (row - kLayoutListPlanners);
    else if (row >= 0 && row < kLayoutListPlanners)
        layout = 2 * row + (OrientationButtons->checkedId() == 1 ? 1 : 0);
    if (layout >= kFirstPlannerLayout) PlannerDate = true;
    DateChange();
    ExampleCalendar->Change([layout](CalendarSettings& s) { s.CalendarLayout = static_cast<TCalendarLayout>(layout); });
    ExampleCalendar->ArrangeLayout(true);
    enableControls();
}

}  // namespace plennix
