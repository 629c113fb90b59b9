// The Margins tab: the four page margins, listed in inches or millimetres.
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "calendar/properties_dialog.h"
#include "calendar/properties_preview.h"

namespace plennix {

float MarginForIndex(int index) {
    static constexpr float kMargins[] = {0.25f, 0.5f, 0.75f, 1.0f, 1.25f, 1.5f};
    return index >= 0 && index < 6 ? kMargins[index] : 0.0f;
}

int MarginIndexFor(float inches) {
    const double m = inches;
    if (m < 0.5) return 0;
    if (m < 0.75) return 1;
    if (m < 1.0) return 2;
    if (m < 1.25) return 3;
    if (m < 1.5) return 4;
    return 5;
}

QStringList MarginItems(bool millimeters) {
    if (millimeters)
        return {QStringLiteral("6 mm"), QStringLiteral("13 mm"), QStringLiteral("19 mm"),
                QStringLiteral("25 mm"), QStringLiteral("32 mm"), QStringLiteral("38 mm")};
    return {QString::fromUtf8("¼ Inch"), QString::fromUtf8("½ Inch"), QString::fromUtf8("¾ Inch"),
            QStringLiteral("1 Inch"), QString::fromUtf8("1¼ Inch"), QString::fromUtf8("1½ Inch")};
}

QComboBox* TCalendarProperties::makeMarginCombo(const QString& name, const QString& accessibleName,
                                                float CalendarSettings::*field) {
    auto* combo = new QComboBox(this);
    combo->setObjectName(name);
    combo->setAccessibleName(accessibleName);
    combo->addItems(MarginItems(false));
    connect(combo, &QComboBox::currentIndexChanged, this, [this, field](int index) {
        if (Initializing) return;
        const float inches = MarginForIndex(index);
        ExampleCalendar->Change([field, inches](CalendarSettings& s) { s.*field = inches; });
    });
    return combo;
}

QWidget* TCalendarProperties::buildMarginsPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* units = new QHBoxLayout();
    useInches = new QRadioButton(QStringLiteral("Use &Inches"), page);
    useInches->setObjectName(QStringLiteral("useInches"));
    useInches->setChecked(true);
    UseMillimeters = new QRadioButton(QStringLiteral("Use Milli&meters"), page);
    UseMillimeters->setObjectName(QStringLiteral("UseMillimeters"));
    units->addWidget(useInches);
    units->addWidget(UseMillimeters);
    layout->addLayout(units);
    auto* form = new QFormLayout();
    LeftMarginInchcombo = makeMarginCombo(QStringLiteral("LeftMarginInchcombo"), QStringLiteral("Left margin"),
                                          &CalendarSettings::LeftMarginInch);
    TopMarginInchcombo = makeMarginCombo(QStringLiteral("TopMarginInchcombo"), QStringLiteral("Top margin"),
                                         &CalendarSettings::TopMarginInch);
    RightMarginInchcombo = makeMarginCombo(QStringLiteral("RightMarginInchcombo"), QStringLiteral("Right margin"),
                                           &CalendarSettings::RightMarginInch);
    BottomMarginInchcombo = makeMarginCombo(QStringLiteral("BottomMarginInchcombo"), QStringLiteral("Bottom margin"),
                                            &CalendarSettings::BottomMarginInch);
    form->addRow(QStringLiteral("L&eft:"), LeftMarginInchcombo);
    form->addRow(QStringLiteral("&Top:"), TopMarginInchcombo);
    form->addRow(QStringLiteral("&Right:"), RightMarginInchcombo);
    form->addRow(QStringLiteral("&Bottom:"), BottomMarginInchcombo);
    layout->addLayout(form);
    layout->addStretch();
    connect(useInches, &QRadioButton::toggled, this, [this](bool on) {
        if (on) fillMarginLists(false);
    });
    connect(UseMillimeters, &QRadioButton::toggled, this, [this](bool on) {
        if (on) fillMarginLists(true);
    });
    return page;
}

void TCalendarProperties::fillMarginLists(bool millimeters) {
    const bool was = Initializing;
    Initializing = true;
    for (QComboBox* combo : {LeftMarginInchcombo, TopMarginInchcombo, RightMarginInchcombo, BottomMarginInchcombo}) {
        const int index = combo->currentIndex();
        combo->clear();
        combo->addItems(MarginItems(millimeters));
        combo->setCurrentIndex(index);
    }
    Initializing = was;
}

}  // namespace plennix
