#include "recurring/selection_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <utility>

#include "platform/code_page.h"
#include "platform/messages.h"
#include "recurring/entry_list_delegate.h"
#include "recurring/store.h"

namespace plennix {
namespace {
QListWidget* NewSelectionList(QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setSelectionMode(QAbstractItemView::MultiSelection);
    list->setUniformItemSizes(true);
    list->setItemDelegate(new TEntryListDelegate(true, list));
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(9);
    list->setFont(font);
    return list;
}

QPushButton* NewButton(const QString& caption, QWidget* parent, int x, int y) {
    auto* b = new QPushButton(caption, parent);
    b->setGeometry(x, y, 80, 26);
    b->setAutoDefault(false);
    return b;
}

void SelectAll(QListWidget* list, bool on) {
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->flags() & Qt::ItemIsSelectable) list->item(i)->setSelected(on);
}

bool AnySelected(const QListWidget* list) { return !list->selectedItems().isEmpty(); }

constexpr Qt::WindowFlags kFixedDialogFlags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
}  // namespace

TGetHolidays::TGetHolidays(QWidget* parent) : QDialog(parent, kFixedDialogFlags) {
    setWindowTitle(QStringLiteral("Holidays"));
    // The country row sits above the list, which keeps its 10-pixel border.
    constexpr int kCountryRow = 64;
    setFixedSize(417, 273 + kCountryRow);
    CountryLabel = new QLabel(QStringLiteral("&Country:"), this);
    CountryLabel->setGeometry(10, 14, 60, 18);
    Country = new QComboBox(this);
    Country->setGeometry(72, 10, 160, 24);
    Country->setAccessibleName(QStringLiteral("Country"));
    Country->setMaxVisibleItems(20);
    CountryLabel->setBuddy(Country);
    RegionLabel = new QLabel(QStringLiteral("&Region:"), this);
    RegionLabel->setGeometry(240, 14, 48, 18);
    Region = new QComboBox(this);
    Region->setGeometry(288, 10, 119, 24);
    Region->setAccessibleName(QStringLiteral("Region"));
    Region->setMaxVisibleItems(20);
    Region->setToolTip(QStringLiteral("A state or province adds its own holidays to the national ones"));
    RegionLabel->setBuddy(Region);
    LocalNames = new QCheckBox(QStringLiteral("Names in the country's &language"), this);
    LocalNames->setGeometry(72, 40, 300, 20);
    LocalNames->setAccessibleName(QStringLiteral("Names in the country's language"));
    LocalNames->setChecked(true);
    LocalNames->setToolTip(QStringLiteral("Names the files' code page cannot hold are added in English"));
    Holidays = NewSelectionList(this);
    Holidays->setGeometry(10, 10 + kCountryRow, 397, 208);
    Holidays->setAccessibleName(QStringLiteral("Holidays"));

    QString error;
    if (auto table = LoadHolidayTable(&error)) m_countries = std::move(*table);
    for (const HolidayCountry& c : m_countries)
        Country->addItem(c.englishName == c.localName || !CanEncode(c.localName)
                             ? c.englishName
                             : QStringLiteral("%1 (%2)").arg(c.englishName, c.localName),
                         c.code);
    if (m_countries.empty()) {
        // Without the table the classic list is still there; the box says why nothing else is.
        Country->addItem(QStringLiteral("United States"), QStringLiteral("US"));
        Country->setEnabled(false);
        Country->setToolTip(error);
        LocalNames->setEnabled(false);
        m_tableError = error;
    } else {
        Country->setCurrentIndex(
            std::max(0, DefaultHolidayCountry(m_countries, QLocale::territoryToCode(QLocale::system().territory()))));
    }
    FillRegions();
    FillHolidays();
    connect(Country, &QComboBox::currentIndexChanged, this, [this] {
        FillRegions();
        FillHolidays();
    });
    connect(Region, &QComboBox::currentIndexChanged, this, &TGetHolidays::FillHolidays);
    connect(LocalNames, &QCheckBox::toggled, this, &TGetHolidays::FillHolidays);

    AllButton = NewButton(QStringLiteral("&All"), this, 10, 237 + kCountryRow);
    nonebutton = NewButton(QStringLiteral("&None"), this, 96, 237 + kCountryRow);
    okbutton = NewButton(QStringLiteral("&Ok"), this, 241, 237 + kCountryRow);
    okbutton->setDefault(true);
    CancelButton = NewButton(QStringLiteral("&Cancel"), this, 327, 237 + kCountryRow);

    connect(okbutton, &QPushButton::clicked, this, &TGetHolidays::okbuttonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(AllButton, &QPushButton::clicked, this, &TGetHolidays::AllButtonClick);
    connect(nonebutton, &QPushButton::clicked, this, &TGetHolidays::nonebuttonClick);
}

QStringList TGetHolidays::SelectedLines() const { return SelectedEntryLines(Holidays); }

void TGetHolidays::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous() || m_tableError.isEmpty()) return;
    const QString error = std::exchange(m_tableError, QString());
    ShowInformation(error, this);
}

bool TGetHolidays::ChooseCountry(const QString& code) {
    const int index = Country->findData(code);
    if (index < 0) return false;
    Country->setCurrentIndex(index);
    return true;
}

bool TGetHolidays::ChooseRegion(const QString& code) {
    const int index = Region->findData(code);
    if (index < 0) return false;
    Region->setCurrentIndex(index);
    return true;
}

void TGetHolidays::FillRegions() {
    const QSignalBlocker quiet(Region);
    Region->clear();
    Region->addItem(QStringLiteral("Whole country"), QString());
    const int index = Country->currentIndex();
    if (index >= 0 && index < int(m_countries.size()))
        for (const HolidayRegion& r : m_countries[index].regions)
            Region->addItem(r.englishName == r.localName || !CanEncode(r.localName)
                                ? r.englishName
                                : QStringLiteral("%1 (%2)").arg(r.englishName, r.localName),
                            r.code);
    Region->setEnabled(Region->count() > 1);
    RegionLabel->setEnabled(Region->count() > 1);
}

void TGetHolidays::FillHolidays() {
    Holidays->clear();
    const int index = Country->currentIndex();
    if (m_countries.empty() || index < 0 || index >= int(m_countries.size())) {
        for (const QString& line : BuiltInHolidayLines()) Holidays->addItem(NewEntryItem(line));
        return;
    }
    const HolidayCountry& country = m_countries[index];
    std::vector<HolidayRow> holidays = country.holidays;
    const int region = Region->currentIndex() - 1;
    if (region >= 0 && region < int(country.regions.size()))
        holidays.insert(holidays.end(), country.regions[region].holidays.begin(),
                        country.regions[region].holidays.end());
    const bool local = LocalNames->isChecked();
    for (const HolidayRow& h : holidays)
        if (h.kind != HolidayRow::Kind::NotExpressible) Holidays->addItem(NewEntryItem(HolidayEntryLine(h, local)));
    // What no formula can say is still listed, greyed, so that nobody thinks it forgotten.
    for (const HolidayRow& h : holidays) {
        if (h.kind != HolidayRow::Kind::NotExpressible) continue;
        const QString name = local && CanEncode(h.localName) ? h.localName : h.englishName;
        auto* item = new QListWidgetItem(name + QStringLiteral(" (not expressible as a yearly formula)"));
        item->setFlags(Qt::NoItemFlags);
        Holidays->addItem(item);
    }
}

void TGetHolidays::okbuttonClick() {
    if (!AnySelected(Holidays)) {
        Beep();
        return;
    }
    accept();
}

void TGetHolidays::AllButtonClick() { SelectAll(Holidays, true); }
void TGetHolidays::nonebuttonClick() { SelectAll(Holidays, false); }

TSelectRecurringDates::TSelectRecurringDates(QWidget* parent) : QDialog(parent, kFixedDialogFlags) {
    setWindowTitle(QStringLiteral("Select Recurring Dates To Use"));
    setFixedSize(420, 269);
    Dates = NewSelectionList(this);
    Dates->setAccessibleName(QStringLiteral("Recurring dates"));
    Dates->setGeometry(10, 10, 400, 212);

    Allbutton = NewButton(QStringLiteral("&All"), this, 10, 233);
    Nonebutton = NewButton(QStringLiteral("&None"), this, 96, 233);
    okbutton = NewButton(QStringLiteral("&Ok"), this, 244, 233);
    okbutton->setDefault(true);
    CancelButton = NewButton(QStringLiteral("&Cancel"), this, 330, 233);

    connect(okbutton, &QPushButton::clicked, this, &TSelectRecurringDates::okbuttonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(Allbutton, &QPushButton::clicked, this, &TSelectRecurringDates::AllbuttonClick);
    connect(Nonebutton, &QPushButton::clicked, this, &TSelectRecurringDates::NonebuttonClick);
}

void TSelectRecurringDates::SetLines(const QStringList& lines) {
    Dates->clear();
    for (const QString& line : lines) Dates->addItem(NewEntryItem(line));
}

QStringList TSelectRecurringDates::SelectedLines() const { return SelectedEntryLines(Dates); }

QList<int> TSelectRecurringDates::SelectedRows() const {
    QList<int> rows;
    for (int i = 0; i < Dates->count(); ++i)
        if (Dates->item(i)->isSelected()) rows << i;
    return rows;
}

void TSelectRecurringDates::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormActivate();
}

void TSelectRecurringDates::FormActivate() { SelectAll(Dates, true); }

void TSelectRecurringDates::okbuttonClick() {
    if (!AnySelected(Dates)) {
        Beep();
        return;
    }
    accept();
}

void TSelectRecurringDates::AllbuttonClick() { SelectAll(Dates, true); }
void TSelectRecurringDates::NonebuttonClick() { SelectAll(Dates, false); }

}  // namespace plennix
