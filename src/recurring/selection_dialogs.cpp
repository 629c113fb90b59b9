#include "recurring/selection_dialogs.h"

#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>

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
    for (int i = 0; i < list->count(); ++i) list->item(i)->setSelected(on);
}

bool AnySelected(const QListWidget* list) { return !list->selectedItems().isEmpty(); }

constexpr Qt::WindowFlags kFixedDialogFlags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
}  // namespace

TGetHolidays::TGetHolidays(QWidget* parent) : QDialog(parent, kFixedDialogFlags) {
    setWindowTitle(QStringLiteral("Holidays"));
    setFixedSize(417, 273);
    // The list sits inside a 10-pixel border.
    Holidays = NewSelectionList(this);
    Holidays->setAccessibleName(QStringLiteral("Holidays"));
    Holidays->setGeometry(10, 10, 397, 208);
    for (const QString& line : BuiltInHolidayLines()) Holidays->addItem(NewEntryItem(line));

    AllButton = NewButton(QStringLiteral("&All"), this, 10, 237);
    nonebutton = NewButton(QStringLiteral("&None"), this, 96, 237);
    okbutton = NewButton(QStringLiteral("&Ok"), this, 241, 237);
    okbutton->setDefault(true);
    CancelButton = NewButton(QStringLiteral("&Cancel"), this, 327, 237);

    connect(okbutton, &QPushButton::clicked, this, &TGetHolidays::okbuttonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(AllButton, &QPushButton::clicked, this, &TGetHolidays::AllButtonClick);
    connect(nonebutton, &QPushButton::clicked, this, &TGetHolidays::nonebuttonClick);
}

QStringList TGetHolidays::SelectedLines() const { return SelectedEntryLines(Holidays); }

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
