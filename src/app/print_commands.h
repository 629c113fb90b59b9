#pragma once
// The main window's printing and export commands: the printer check at first activation, Print Setup,
// Print Calendar with its copies, Save As Bitmap, Print Preview, Export as PDF and PNG, and Print
// Months. The caller closes the cell editor (DoSaveRichtext) first. None of them changes the page on
// screen (its zoom, date, cells, objects or modified flag): they print and write copies of it.
#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "app/photo_pictures.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QWidget;

namespace plennix {

class TCalendarPanel32;
class TPrinterReport;

// ---- the commands ----
void CheckPrintersAtStart(QWidget* parent);
void PrintSetupCommand(QWidget* parent);
void PrintCalendarCommand(QWidget* parent, TCalendarPanel32& page);
void SaveAsBitmapCommand(QWidget* parent, TCalendarPanel32& page);
void PrintPreviewCommand(QWidget* parent, TCalendarPanel32& page);
void ExportPdfCommand(QWidget* parent, TCalendarPanel32& page);
void ExportPngCommand(QWidget* parent, TCalendarPanel32& page);
void PrintMonthsCommand(QWidget* parent, TCalendarPanel32& page);

// The printer check's result, kept from CheckPrintersAtStart for the rest of the run: Print Calendar
// and its button are enabled only while it is true.
bool PrinterAvailable();
// The check itself: the message to show, or an empty text when printing is possible. The built-in PDF
// writer is one of the installed printers and the default when the system names none.
QString PrinterCheckMessage(const QStringList& installedPrinters, const QString& defaultPrinter);

// The name Save As Bitmap proposes: the document's name with ".BMP", or for a document without a
// name the month's first three letters and the year ("Dec1997.BMP"). Export as PDF and PNG propose
// the same with their own extension.
QString ProposedExportName(const QString& documentPath, const QString& monthName, int year, const QString& extension);

// The completion message of a print job.
QString PrintCompletedMessage(bool hasSuperText);

// ---- the report printer (the main window's ReportPrinter1) ----
// Stands between the commands and the print system, so that tests can put a printer double in its
// place: the setup dialog, the copies chosen there, the copies the driver makes itself, and the job.
class TReportPrinter {
public:
    TReportPrinter();
    virtual ~TReportPrinter();
    TReportPrinter(const TReportPrinter&) = delete;
    TReportPrinter& operator=(const TReportPrinter&) = delete;

    TPrinterReport& Report() { return *m_report; }
    // The system's printer setup dialog (printer, paper, orientation, copies); true when confirmed.
    virtual bool SetupDialog(QWidget* parent);
    virtual int ChosenCopies() const;
    virtual int MaxCopies() const;
    virtual void SetJobCopies(int copies);

protected:
    std::unique_ptr<TPrinterReport> m_report;
};

// The process's report printer, made on first use (making one asks the print system for its printers).
TReportPrinter& ReportPrinter1();
// Replaces it (tests); null goes back to the system's printer on next use.
void SetReportPrinter(std::unique_ptr<TReportPrinter> printer);

// The dialog of Print Months: how many consecutive months to print, from the document's month,
// whether each is filled with the recurring dates (offered when their list exists), and a folder whose
// pictures fill the Picture of the Month page by page, cropped or fitted. It closes with Accepted
// (print), PreviewResult (Print Preview of the run) or Rejected.
class TPrintMonthsDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int PreviewResult = 2;

    explicit TPrintMonthsDialog(QWidget* parent = nullptr);
    int Months() const;
    void SetMonths(int months);
    bool FillMonths() const;
    void SetFillMonths(bool fill);
    // The document's pages cannot be filled (not month pages): the choice is off, saying why.
    void RefuseFill(const QString& why);
    // Empty for a run without pictures.
    QString PicturesFolder() const;
    void SetPicturesFolder(const QString& folder);
    PictureFit Fit() const;
    void SetFit(PictureFit fit);

private:
    void choosePicturesFolder();
    void updatePictures();

    QSpinBox* m_months = nullptr;
    QCheckBox* m_fill = nullptr;
    QLineEdit* m_folder = nullptr;
    QComboBox* m_fit = nullptr;
    QLabel* m_found = nullptr;
};

// The dialog of Export as PNG: the image's resolution in pixels per inch.
class TPngResolutionDialog : public QDialog {
    Q_OBJECT
public:
    explicit TPngResolutionDialog(QWidget* parent = nullptr);
    int Resolution() const;
    void SetResolution(int dpi);

private:
    QSpinBox* m_dpi = nullptr;
};

}  // namespace plennix
