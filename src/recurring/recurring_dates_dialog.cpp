#include "recurring/recurring_dates_dialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDate>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QShowEvent>
#include <algorithm>

#include "platform/file_io.h"
#include "platform/messages.h"
#include "platform/program_folder.h"
#include "recurring/entry_list_delegate.h"
#include "recurring/formula.h"
#include "recurring/formula_dialog.h"
#include "recurring/ical.h"
#include "platform/common_dialogs.h"
#include "recurring/selection_dialogs.h"
#include "recurring/store.h"

namespace plennix {
namespace {
QPushButton* NewButton(const QString& caption, QWidget* parent, int y) {
    auto* b = new QPushButton(caption, parent);
    b->setGeometry(389, y, 80, 26);
    b->setAutoDefault(false);
    return b;
}
}  // namespace

TEditRecurringDates::TEditRecurringDates(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("Recurring Dates"));
    setFixedSize(477, 321);
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    setFont(font);

    DatesList = new QListWidget(this);
    DatesList->setAccessibleName(QStringLiteral("Recurring dates"));
    DatesList->setGeometry(8, 8, 373, 283);
    DatesList->setSelectionMode(QAbstractItemView::SingleSelection);
    DatesList->setUniformItemSizes(true);
    DatesList->setItemDelegate(new TEntryListDelegate(false, DatesList));

    Newbutton = NewButton(QStringLiteral("New"), this, 8);
    Editbutton = NewButton(QStringLiteral("Edit"), this, 40);
    DeleteButton = NewButton(QStringLiteral("Delete"), this, 72);
    Holidaysbutton = NewButton(QStringLiteral("Holidays"), this, 104);
    Importbutton = NewButton(QStringLiteral("Import…"), this, 136);
    Importbutton->setObjectName(QStringLiteral("Importbutton"));
    Importbutton->setToolTip(QStringLiteral("Adds the dates of an iCalendar (.ics) file"));
    Exportbutton = NewButton(QStringLiteral("Export…"), this, 168);
    Exportbutton->setObjectName(QStringLiteral("Exportbutton"));
    Exportbutton->setToolTip(QStringLiteral("Writes the list as an iCalendar (.ics) file"));
    // An event on a single date (a meeting, one year's holiday) has no yearly form; a person who keeps
    // such dates anyway asks for it here.
    KeepDatedCheck = new QCheckBox(QStringLiteral("Import single &dates as yearly entries (year added to the text)"),
                                   this);
    KeepDatedCheck->setObjectName(QStringLiteral("KeepDatedCheck"));
    KeepDatedCheck->setAccessibleName(QStringLiteral("Import single dates as yearly entries (year added to the text)"));
    KeepDatedCheck->setToolTip(QStringLiteral("Without this, Import… leaves out events that fall on one date only"));
    KeepDatedCheck->setGeometry(8, 295, 373, 20);
    okbutton = NewButton(QStringLiteral("Ok"), this, 255);
    okbutton->setDefault(true);
    CancelButton = NewButton(QStringLiteral("Cancel"), this, 287);

    connect(Newbutton, &QPushButton::clicked, this, &TEditRecurringDates::NewbuttonClick);
    connect(Editbutton, &QPushButton::clicked, this, &TEditRecurringDates::EditbuttonClick);
    connect(DeleteButton, &QPushButton::clicked, this, &TEditRecurringDates::DeleteButtonClick);
    connect(Holidaysbutton, &QPushButton::clicked, this, &TEditRecurringDates::HolidaysbuttonClick);
    connect(Importbutton, &QPushButton::clicked, this, &TEditRecurringDates::ImportbuttonClick);
    connect(Exportbutton, &QPushButton::clicked, this, &TEditRecurringDates::ExportbuttonClick);
    connect(okbutton, &QPushButton::clicked, this, &TEditRecurringDates::okbuttonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TEditRecurringDates::CancelButtonClick);
    connect(DatesList, &QListWidget::itemSelectionChanged, this, &TEditRecurringDates::setbuttons);

    FormCreate();
}

void TEditRecurringDates::FormCreate() {
    setbuttons();
    QString error;
    auto lines = LoadRecurringDates(&error);
    if (!lines) {
        m_loadError = error;
        return;
    }
    for (const QString& line : *lines) AddLine(line);
    if (DatesList->count() > 0) SelectRow(0);
    setbuttons();
}

void TEditRecurringDates::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    setbuttons();
}

QStringList TEditRecurringDates::Lines() const { return AllEntryLines(DatesList); }

int TEditRecurringDates::AddLine(const QString& line) {
    const int row = SortedInsertIndex(Lines(), line);
    DatesList->insertItem(row, NewEntryItem(line));
    return row;
}

bool TEditRecurringDates::SelectLine(const QString& line) {
    for (int i = 0; i < DatesList->count(); ++i)
        if (EntryLineOf(DatesList->item(i)) == line) {
            SelectRow(i);
            return true;
        }
    return false;
}

int TEditRecurringDates::SelectedRow() const {
    const QList<QListWidgetItem*> selected = DatesList->selectedItems();
    return selected.isEmpty() ? -1 : DatesList->row(selected.first());
}

void TEditRecurringDates::SelectRow(int row) {
    if (row < 0 || row >= DatesList->count()) {
        DatesList->clearSelection();
        return;
    }
    DatesList->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    DatesList->scrollToItem(DatesList->item(row));
}

void TEditRecurringDates::setbuttons() {
    const bool selected = SelectedRow() >= 0;
    Editbutton->setEnabled(selected);
    DeleteButton->setEnabled(selected);
}

void TEditRecurringDates::NewbuttonClick() {
    TEditRecurringDateFormula editor(this);
    editor.setWindowTitle(QStringLiteral("Add Recurring Date"));
    editor.SetFormulaString(QStringLiteral("@"));
    editor.Event->setText(QStringLiteral("[Enter event]"));
    if (RunModalDialog(editor) == QDialog::Accepted) {
        const QString line = BuildEntry(editor.Event->text(), editor.FormulaString());
        AddLine(line);
        DatesList->viewport()->update();
        SelectLine(line);
    }
    setbuttons();
}

void TEditRecurringDates::EditbuttonClick() {
    const int row = SelectedRow();
    if (row < 0) {
        Beep();
        return;
    }
    const QString selected = EntryLineOf(DatesList->item(row));
    const QChar kind = EntryKind(selected);
    if (kind == '#' && !IsEditableFeast(EntryFeastName(selected)))
        ShowInformation(QStringLiteral("This entry cannot be edited"), this);
    else if (kind == '#' || kind == '$' || kind == '%' || kind == '@')
        DoEditRecurringFormula(row);
    setbuttons();
}

void TEditRecurringDates::DoEditRecurringFormula(int row) {
    const QString old = EntryLineOf(DatesList->item(row));
    TEditRecurringDateFormula editor(this);
    editor.setWindowTitle(QStringLiteral("Edit Recurring Date Formula"));
    // The blank fill is not part of the text the user edits; the rebuilt entry restores it.
    QString event = EntryEventField(old);
    while (event.endsWith(' ')) event.chop(1);
    editor.Event->setText(event);
    editor.SetFormulaString(EntryFormulaForEditing(old));
    if (RunModalDialog(editor) != QDialog::Accepted) return;
    const QString line = BuildEntry(editor.Event->text(), editor.FormulaString());
    delete DatesList->takeItem(row);
    AddLine(line);
    QCoreApplication::processEvents();
    SelectLine(line);
}

void TEditRecurringDates::DeleteButtonClick() {
    const int row = SelectedRow();
    if (row >= 0) delete DatesList->takeItem(row);
    SelectRow(0);
    setbuttons();
}

void TEditRecurringDates::HolidaysbuttonClick() {
    TGetHolidays holidays(this);
    if (RunModalDialog(holidays) == QDialog::Accepted) {
        for (const QString& line : holidays.SelectedLines())
            if (!Lines().contains(line)) AddLine(line);
        if (DatesList->count() > 0 && SelectedRow() < 0) SelectRow(0);
    }
    setbuttons();
}

namespace {
// The events or entries left out, for a message box: the first twenty, then how many more.
QString LeftOutText(const QString& intro, const QStringList& leftOut) {
    constexpr int kShown = 20;
    QString text = intro;
    for (int i = 0; i < leftOut.size() && i < kShown; ++i) text += QStringLiteral("\n") + leftOut[i];
    if (leftOut.size() > kShown) text += QStringLiteral("\n... and %1 more").arg(leftOut.size() - kShown);
    return text;
}

FileDialogRequest IcsRequest(FileDialogRequest::Mode mode, const QString& title) {
    FileDialogRequest request;
    request.mode = mode;
    request.title = title;
    request.directory = ProgramDir();
    request.filter = QStringLiteral("iCalendar File (*.ics)");
    request.defaultSuffix = QStringLiteral("ics");
    return request;
}
}  // namespace

void TEditRecurringDates::SetLines(const QStringList& sortedLines) {
    // Rows are made without a repaint or a relayout for each, so that a list of 100,000 fills at once.
    DatesList->setUpdatesEnabled(false);
    DatesList->clear();
    for (const QString& line : sortedLines) DatesList->addItem(NewEntryItem(line));
    DatesList->setUpdatesEnabled(true);
}

void TEditRecurringDates::ImportbuttonClick() {
    const QString path =
        ChooseFileDialog(IcsRequest(FileDialogRequest::Mode::Open, QStringLiteral("Import iCalendar File")), this);
    if (path.isEmpty()) return;
    QString error;
    const IcsDatedEvents dated = KeepDatedCheck->isChecked() ? IcsDatedEvents::KeepAsYearly : IcsDatedEvents::LeaveOut;
    const std::optional<IcsImport> imported = ImportIcsFile(path, dated, &error);
    if (!imported) {
        ShowError(error, this);
        return;
    }
    QStringList lines = Lines();
    const QSet<QString> before(lines.cbegin(), lines.cend());
    const int added = MergeEntries(lines, imported->entries);
    if (added > 0) {
        SetLines(lines);
        // The last new line in file order is selected, as after New.
        QString lastAdded;
        for (const QString& entry : imported->entries)
            if (!before.contains(entry)) lastAdded = entry;
        auto row = std::lower_bound(lines.cbegin(), lines.cend(), lastAdded, EntryLess);
        while (row != lines.cend() && *row != lastAdded) ++row;
        SelectRow(static_cast<int>(row - lines.cbegin()));
    }
    setbuttons();
    const QString summary = IcsImportSummary(path, added, static_cast<int>(imported->entries.size()) - added,
                                             static_cast<int>(imported->leftOut.size()));
    ShowInformation(imported->leftOut.isEmpty()
                        ? summary + QLatin1Char('.')
                        : LeftOutText(summary + QStringLiteral(". These events cannot be expressed as recurring "
                                                               "dates:"),
                                      imported->leftOut),
                    this);
}

void TEditRecurringDates::ExportbuttonClick() {
    FileDialogRequest request = IcsRequest(FileDialogRequest::Mode::Save, QStringLiteral("Export iCalendar File"));
    request.proposedName = QStringLiteral("Recurring dates.ics");
    const QString path = ChooseFileDialog(request, this);
    if (path.isEmpty()) return;
    QStringList leftOut;
    QString error;
    if (!WriteIcsFile(path, Lines(), QDate::currentDate().year(), &leftOut, &error)) {
        ShowError(error, this);
        return;
    }
    if (!leftOut.isEmpty())
        ShowInformation(LeftOutText(QStringLiteral("These entries have no iCalendar form and were left out of %1:")
                                        .arg(path),
                                    leftOut),
                        this);
}

void TEditRecurringDates::okbuttonClick() {
    QString error;
    if (!SaveRecurringDates(Lines(), &error)) {
        // The list stays open so that nothing the user entered is lost.
        ShowError(error, this);
        return;
    }
    accept();
}

void TEditRecurringDates::CancelButtonClick() { reject(); }

void OpenRecurringDatesEditor(QWidget* parent) {
    TEditRecurringDates editor(parent);
    if (!editor.LoadError().isEmpty()) {
        ShowError(editor.LoadError(), parent);
        return;
    }
    RunModalDialog(editor);
}

}  // namespace plennix
