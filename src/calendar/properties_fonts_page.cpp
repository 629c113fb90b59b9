// The Fonts & Colors tab: the main calendar's title, day names and day numbers.
#include <QGroupBox>
#include <QLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "calendar/properties_dialog.h"
#include "calendar/properties_page_helpers.h"

namespace plennix {

QWidget* TCalendarProperties::buildFontsPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    QGroupBox* title = properties::Group(QStringLiteral("Title"), page);
    TitleFontbutton =
        makeFontButton(QStringLiteral("TitleFontbutton"), QStringLiteral("Title font"), &CalendarSettings::TitleFont);
    TitleBGColor = makeColorButton(QStringLiteral("TitleBGColor"), QStringLiteral("Title background color"),
                                   &CalendarSettings::TitleBGColor);
    title->layout()->addWidget(TitleFontbutton);
    title->layout()->addWidget(TitleBGColor);
    QGroupBox* header = properties::Group(QStringLiteral("Header"), page);
    HeaderFontButton = makeFontButton(QStringLiteral("HeaderFontButton"), QStringLiteral("Header font"),
                                      &CalendarSettings::HeadersFont);
    HeaderBGColor = makeColorButton(QStringLiteral("HeaderBGColor"), QStringLiteral("Header background color"),
                                    &CalendarSettings::HeadersBGColor);
    header->layout()->addWidget(HeaderFontButton);
    header->layout()->addWidget(HeaderBGColor);
    QGroupBox* cells = properties::Group(QStringLiteral("Number Cells"), page);
    NumberFontButton = makeFontButton(QStringLiteral("NumberFontButton"), QStringLiteral("Number cells font"),
                                      &CalendarSettings::CellFont);
    cells->layout()->addWidget(NumberFontButton);
    for (QGroupBox* g : {title, header, cells}) layout->addWidget(g);
    layout->addStretch();
    return page;
}

}  // namespace plennix
