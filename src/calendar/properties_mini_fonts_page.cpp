// The Mini Fonts & Colors tab: the mini calendars' title, day names, day numbers and background.
#include <QGroupBox>
#include <QLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "calendar/properties_dialog.h"
#include "calendar/properties_page_helpers.h"

namespace plennix {

QWidget* TCalendarProperties::buildMiniFontsPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    QGroupBox* title = properties::Group(QStringLiteral("Mini Title"), page);
    Minititlefontbutton = makeFontButton(QStringLiteral("Minititlefontbutton"), QStringLiteral("Mini title font"),
                                         &CalendarSettings::MiniTitleFont);
    title->layout()->addWidget(Minititlefontbutton);
    QGroupBox* header = properties::Group(QStringLiteral("Mini Header"), page);
    MiniHeaderFontButton = makeFontButton(QStringLiteral("MiniHeaderFontButton"), QStringLiteral("Mini header font"),
                                          &CalendarSettings::MiniHeadersFont);
    MiniHeadersBGColorButton =
        makeColorButton(QStringLiteral("MiniHeadersBGColorButton"), QStringLiteral("Mini header background color"),
                        &CalendarSettings::MiniHeadersBGColor);
    header->layout()->addWidget(MiniHeaderFontButton);
    header->layout()->addWidget(MiniHeadersBGColorButton);
    QGroupBox* cells = properties::Group(QStringLiteral("Mini Number Cells"), page);
    MiniCellFontButton = makeFontButton(QStringLiteral("MiniCellFontButton"), QStringLiteral("Mini number cells font"),
                                        &CalendarSettings::MiniCellFont);
    cells->layout()->addWidget(MiniCellFontButton);
    QGroupBox* background = properties::Group(QStringLiteral("Mini Calendar Background Color"), page);
    MiniCalBGColorButton =
        makeColorButton(QStringLiteral("MiniCalBGColorButton"), QStringLiteral("Mini calendar background color"),
                        &CalendarSettings::MiniCalBGColor);
    background->layout()->addWidget(MiniCalBGColorButton);
    for (QGroupBox* g : {title, header, cells, background}) layout->addWidget(g);
    layout->addStretch();
    return page;
}

}  // namespace plennix
