#pragma once
// The report on a system printer: the printer, its setup dialog and the printers installed. TReport
// itself draws on paint devices and PDF files with Qt Gui alone; this part needs Qt Print Support and
// Qt Widgets, so only the window's printing links it.
#include <QString>
#include <QStringList>
#include <memory>

#include "printing/report.h"

class QPrinter;
class QPrintDialog;
class QWidget;

namespace plennix {

// The built-in PDF writer counts as an installed printer, so there always is one.
bool PrintersInstalled();
// The system's default printer, or the built-in PDF writer's name when the system has none.
QString DefaultPrinterName();
// The system's printers followed by the built-in PDF writer.
QStringList InstalledPrinterNames();
// The name under which the built-in PDF writer is listed.
QString PdfPrinterName();

class TPrinterReport : public TReport {
public:
    // A report on the default printer (the built-in PDF writer when the system has none).
    TPrinterReport();
    ~TPrinterReport() override;

    // A named system printer; the built-in PDF writer's name or an unknown name selects PDF output.
    void SetPrinterName(const QString& name);
    // The printer writes a PDF file through the built-in writer.
    void SetPdfOutput(const QString& fileName) override;
    // The printer behind the report (null while a caller's device is the target).
    QPrinter* Printer() const { return callerDevice() ? nullptr : printer(); }

    // The system's printer setup dialog (printer, paper, orientation, copies) for the report's
    // printer; the choices stay in force for later jobs. Returns whether the user confirmed.
    bool PrinterSetup(QWidget* parent);
    // The same dialog, not yet shown (for callers that show it themselves).
    std::unique_ptr<QPrintDialog> CreateSetupDialog(QWidget* parent);

    void SetCopies(int copies) override;
    int Copies() const override;
    int MaxCopies() const override;

protected:
    QPagedPaintDevice* ownDevice() const override;
    QString ownFileName() const override;
    bool ownOutputIsFile() const override;
    QString ownDeviceName() const override;
    void beginOwnJob() override;
    void abortOwnJob() override;

private:
    QPrinter* printer() const;

    mutable std::unique_ptr<QPrinter> m_printer;  // made on first use
};

}  // namespace plennix
