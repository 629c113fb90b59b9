#pragma once
// TEditRecurringDates, the editor of the recurring dates list (File menu "Edit Recurring Dates"): a list
// sorted by the whole line ignoring letter case, with New, Edit, Delete, Holidays, and Import and Export
// of iCalendar files. OK writes PXRECUR.DAX; Cancel writes nothing.
#include <QDialog>
#include <QStringList>

class QCheckBox;
class QListWidget;
class QPushButton;

namespace plennix {

class TEditRecurringDates : public QDialog {
    Q_OBJECT
public:
    // Loads PXRECUR.DAX (FormCreate). When the file exists but cannot be read, LoadError() says so and
    // the list starts empty.
    explicit TEditRecurringDates(QWidget* parent = nullptr);
    const QString& LoadError() const { return m_loadError; }

    // The lines of the list, in list order.
    QStringList Lines() const;
    // Inserts a line at its sorted place (after equal lines) and returns its row.
    int AddLine(const QString& line);
    // Selects the first row that holds exactly `line`; returns false when none does.
    bool SelectLine(const QString& line);
    // The selected row, or -1.
    int SelectedRow() const;

    void setbuttons();
    void NewbuttonClick();
    void EditbuttonClick();
    void DeleteButtonClick();
    void HolidaysbuttonClick();
    // Adds the events of an .ics file that have a formula form (and are not in the list yet), and says how
    // many were added, how many were already listed and which were left out, with their reasons. Events on
    // a single date join as yearly entries only while KeepDatedCheck is ticked. Nothing is written before OK.
    void ImportbuttonClick();
    // Writes the list as it stands, unsaved changes included, to an .ics file.
    void ExportbuttonClick();
    void okbuttonClick();
    void CancelButtonClick();

    QListWidget* DatesList;
    QPushButton* Newbutton;
    QPushButton* Editbutton;
    QPushButton* DeleteButton;
    QPushButton* Holidaysbutton;
    QPushButton* Importbutton;
    QPushButton* Exportbutton;
    QCheckBox* KeepDatedCheck;
    QPushButton* okbutton;
    QPushButton* CancelButton;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void DoEditRecurringFormula(int row);
    void SelectRow(int row);
    // Replaces every row by the lines of a sorted list.
    void SetLines(const QStringList& sortedLines);

    QString m_loadError;
};

// The File menu command: shows the list editor modally over `parent`. When PXRECUR.DAX exists but
// cannot be read, shows the error instead, so that OK can never replace a list it did not load.
void OpenRecurringDatesEditor(QWidget* parent);

}  // namespace plennix
