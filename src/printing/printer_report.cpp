#include "printing/printer_report.h"

#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QToolButton>
#include <algorithm>

namespace plennix {

QString PdfPrinterName() { return QStringLiteral("Print to File (PDF)"); }

bool PrintersInstalled() { return true; }

QString DefaultPrinterName() {
    const QString name = QPrinterInfo::defaultPrinterName();
    return name.isEmpty() ? PdfPrinterName() : name;
}

QStringList InstalledPrinterNames() {
    QStringList names = QPrinterInfo::availablePrinterNames();
    names.append(PdfPrinterName());
    return names;
}

TPrinterReport::TPrinterReport() = default;

// A job still running draws on the printer, which goes before the base class could abandon the job.
TPrinterReport::~TPrinterReport() {
    if (Printing()) Abort();
}

// The printer is made on first use: making one asks the print system for its printers, which a report
// drawn on a caller's device never needs.
QPrinter* TPrinterReport::printer() const {
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setFullPage(true);
        // Without any system printer the printer is the built-in PDF writer.
        if (QPrinterInfo::availablePrinterNames().isEmpty()) m_printer->setOutputFormat(QPrinter::PdfFormat);
    }
    return m_printer.get();
}

void TPrinterReport::SetPrinterName(const QString& name) {
    SetDevice(nullptr);
    if (name != PdfPrinterName() && QPrinterInfo::availablePrinterNames().contains(name)) {
        printer()->setOutputFormat(QPrinter::NativeFormat);
        printer()->setPrinterName(name);
    } else {
        printer()->setOutputFormat(QPrinter::PdfFormat);
    }
}

void TPrinterReport::SetPdfOutput(const QString& fileName) {
    SetDevice(nullptr);
    printer()->setOutputFormat(QPrinter::PdfFormat);
    printer()->setOutputFileName(fileName);
}

std::unique_ptr<QPrintDialog> TPrinterReport::CreateSetupDialog(QWidget* parent) {
    auto dialog = std::make_unique<QPrintDialog>(printer(), parent);
    dialog->setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog->setOption(QAbstractPrintDialog::PrintCollateCopies, true);
    // Qt's "..." button beside the output file says nothing to a screen reader by itself.
    if (auto* browse = dialog->findChild<QToolButton*>(QStringLiteral("fileBrowser")))
        browse->setAccessibleName(browse->text() + QStringLiteral(" (Choose the output file)"));
    return dialog;
}

bool TPrinterReport::PrinterSetup(QWidget* parent) {
    auto dialog = CreateSetupDialog(parent);
    if (dialog->exec() != QDialog::Accepted) return false;
    SetDevice(nullptr);
    SetOrientation(printer()->pageLayout().orientation() == QPageLayout::Landscape ? ReportOrientation::poLandscape
                                                                                  : ReportOrientation::poPortrait);
    return true;
}

void TPrinterReport::SetCopies(int copies) { printer()->setCopyCount(std::max(1, copies)); }

int TPrinterReport::Copies() const { return std::max(1, printer()->copyCount()); }

int TPrinterReport::MaxCopies() const {
    // A file is written from the report's own PDF writer, which makes one copy: the program prints the others.
    if (callerDevice() || printer()->outputFormat() == QPrinter::PdfFormat || !printer()->outputFileName().isEmpty())
        return 1;
    return printer()->supportsMultipleCopies() ? 999 : 1;
}

QPagedPaintDevice* TPrinterReport::ownDevice() const { return printer(); }

QString TPrinterReport::ownFileName() const { return printer()->outputFileName(); }

bool TPrinterReport::ownOutputIsFile() const { return printer()->outputFormat() == QPrinter::PdfFormat; }

QString TPrinterReport::ownDeviceName() const { return printer()->printerName(); }

void TPrinterReport::beginOwnJob() {
    printer()->setFullPage(true);
    printer()->setDocName(Title());
    printer()->setCreator(QStringLiteral("Plennix"));
}

void TPrinterReport::abortOwnJob() { printer()->abort(); }

}  // namespace plennix
