#include "app/print_commands.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGraphicsView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <exception>
#include <functional>

#include "app/document_io.h"
#include "app/main_window.h"
#include "app/month_pages.h"
#include "app/photo_pictures.h"
#include "calendar/calendar_page.h"
#include "app/photo_run.h"
#include "calendar/calendar_panel.h"
#include "platform/accessibility.h"
#include "platform/common_dialogs.h"
#include "platform/messages.h"
#include "platform/program_folder.h"
#include "platform/stream_error.h"
#include "printing/printer_report.h"
#include "recurring/store.h"

namespace plennix {

// ---- the printer check ----

namespace {
bool g_printerAvailable = false;
std::unique_ptr<TReportPrinter> g_reportPrinter;
}  // namespace

QString PrinterCheckMessage(const QStringList& installedPrinters, const QString& defaultPrinter) {
    if (installedPrinters.isEmpty())
        return QStringLiteral("There are no installed printers.\r\nUnable to perform printer related operations");
    if (defaultPrinter.trimmed().isEmpty())
        return QStringLiteral("There is no default printer selected.\r\nUnable to perform printer related operations");
    return QString();
}

void CheckPrintersAtStart(QWidget* parent) {
    const QString message = PrinterCheckMessage(InstalledPrinterNames(), DefaultPrinterName());
    g_printerAvailable = message.isEmpty();
    if (!g_printerAvailable) ShowInformation(message, parent);
}

bool PrinterAvailable() { return g_printerAvailable; }

// ---- names and messages ----

QString ProposedExportName(const QString& documentPath, const QString& monthName, int year, const QString& extension) {
    if (documentPath.isEmpty()) return monthName.left(3) + QString::number(year) + QLatin1Char('.') + extension;
    return QFileInfo(documentPath).completeBaseName() + QLatin1Char('.') + extension;
}

QString PrintCompletedMessage(bool hasSuperText) {
    if (hasSuperText)
        return QStringLiteral(
            "Print job completed and sent to printer!\r\rNote: this design contains complex shapes or text.\r"
            "Please be patient while the printer produces its\routput...");
    return QStringLiteral("Print job completed and sent to printer!");
}

// ---- the report printer ----

// The report starts in portrait at 100 percent, titled "ReportPrinter Report"; its printer is made
// when first needed.
TReportPrinter::TReportPrinter() : m_report(std::make_unique<TPrinterReport>()) {
    m_report->SetStatusFormat(QStringLiteral("Printing page %p"));
}

TReportPrinter::~TReportPrinter() = default;

bool TReportPrinter::SetupDialog(QWidget* parent) {
    std::unique_ptr<QPrintDialog> dialog = m_report->CreateSetupDialog(parent);
    return RunModalDialog(*dialog) == QDialog::Accepted;
}

int TReportPrinter::ChosenCopies() const { return m_report->Copies(); }
int TReportPrinter::MaxCopies() const { return m_report->MaxCopies(); }
void TReportPrinter::SetJobCopies(int copies) { m_report->SetCopies(copies); }

TReportPrinter& ReportPrinter1() {
    if (!g_reportPrinter) g_reportPrinter = std::make_unique<TReportPrinter>();
    return *g_reportPrinter;
}

void SetReportPrinter(std::unique_ptr<TReportPrinter> printer) { g_reportPrinter = std::move(printer); }

// ---- the print pass ----

namespace {

QString documentPathOf(QWidget* parent) {
    if (auto* main = qobject_cast<TCalendarMain*>(MainWindowOf(parent))) return main->FileName();
    return QString();
}

QString proposedName(QWidget* parent, const TCalendarPanel32& page, const QString& extension) {
    return ProposedExportName(documentPathOf(parent), page.MonthName(page.Settings().MainCalMonth),
                              page.Settings().MainCalYear, extension);
}

// The busy cursor while a command prints or writes. The page on screen stays as it is: what is printed
// is a copy of the document (PageCopy).
struct BusyCursor {
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

void showStatus(QWidget* parent, const QString& text) {
    if (auto* main = qobject_cast<QMainWindow*>(MainWindowOf(parent)))
        if (QStatusBar* bar = main->findChild<QStatusBar*>()) bar->showMessage(text, 3000);
}

ReportPaper paperOf(const TCalendarPanel32& page) {
    return page.Settings().PaperSize == 1 ? ReportPaper::A4 : ReportPaper::Letter;
}

// Shows the setup dialog, settles the copies and runs the job of `months` pages per copy. Shows the
// completion message after a job that printed, the failure otherwise; nothing when cancelled.
void printWithSetup(QWidget* parent, TCalendarPanel32& page, int months, const PagePreparer& prepare = {}) {
    TReportPrinter& printer = ReportPrinter1();
    if (!printer.SetupDialog(parent)) return;
    const int chosen = printer.ChosenCopies();
    const int n = chosen <= 0 ? 1 : chosen;
    int programCopies = n;
    if (printer.MaxCopies() >= n) {
        printer.SetJobCopies(n);  // the printer makes the copies
        programCopies = 1;
    } else {
        // The program prints each copy itself; a driver that also made copies would multiply them.
        printer.SetJobCopies(1);
    }
    TReport& report = printer.Report();
    report.SetStatusHandler([parent](const QString& text) { showStatus(parent, text); });
    bool printed = false;
    QString failure;
    try {
        const bool started = report.Execute(
            [&page](TReport& r) {
                r.SetPaper(paperOf(page));
                page.ApplyPrinterOrientation(r);
            },
            [&](TReport& r) {
                BusyCursor busy;
                printed = true;
                for (int i = 1; i <= programCopies; ++i) {
                    PrintMonthPages(page.Page(), r, months, prepare);
                    if (i < programCopies) r.NewPage();
                }
            });
        if (!started) failure = report.ErrorText();
    } catch (const StreamError& e) {
        failure = e.message();  // the document did not read back for printing
    } catch (const std::exception& e) {
        failure = QString::fromLocal8Bit(e.what());
    }
    report.SetStatusHandler(nullptr);
    if (!failure.isEmpty()) {
        ShowError(failure, parent);
        return;
    }
    if (printed) ShowInformation(PrintCompletedMessage(page.HasSuperText()), parent);
}

}  // namespace

// ---- the commands ----

void PrintSetupCommand(QWidget* parent) { ReportPrinter1().SetupDialog(parent); }

void PrintCalendarCommand(QWidget* parent, TCalendarPanel32& page) { printWithSetup(parent, page, 1); }

namespace {
void previewRun(QWidget* parent, TCalendarPanel32& page, int months, const PagePreparer& prepare,
                const std::function<void()>& restart);
}  // namespace

void PrintMonthsCommand(QWidget* parent, TCalendarPanel32& page) {
    TPrintMonthsDialog dialog(parent);
    const QString unfilled = UnfilledPageKind(page.Page());
    if (!unfilled.isEmpty())
        dialog.RefuseFill(QStringLiteral("Recurring dates fill month pages only, not a %1").arg(unfilled));
    const int chosen = RunModalDialog(dialog);
    if (chosen != QDialog::Accepted && chosen != TPrintMonthsDialog::PreviewResult) return;
    PagePreparer fill;
    if (dialog.FillMonths()) {
        QString error;
        const std::optional<QStringList> lines = LoadRecurringDates(&error);
        if (!lines) {
            ShowInformation(error, parent);
            return;
        }
        fill = [lines = *lines](TCalendarPage& p) { FillPageWithRecurringDates(p, lines); };
    }
    std::unique_ptr<MonthPictures> pictures;
    if (!dialog.PicturesFolder().isEmpty()) {
        QString error;
        const QStringList files = ListFolderPictures(dialog.PicturesFolder(), &error);
        if (!files.isEmpty())
            pictures = MonthPictures::Make(page.Page(), files, dialog.Fit(), dialog.Months(), &error);
        if (!pictures) {
            ShowInformation(error, parent);
            return;
        }
    }
    const PagePreparer prepare = pictures ? pictures->Preparer(fill) : fill;
    if (chosen == TPrintMonthsDialog::PreviewResult) {
        previewRun(parent, page, dialog.Months(), prepare, [&pictures] {
            if (pictures) pictures->Restart();
        });
    } else {
        printWithSetup(parent, page, dialog.Months(), prepare);
    }
    if (pictures && !pictures->Unreadable().isEmpty())
        ShowInformation(UnreadablePicturesMessage(pictures->Unreadable()), parent);
}

void SaveAsBitmapCommand(QWidget* parent, TCalendarPanel32& page) {
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.title = QStringLiteral("Save Calendar As Bitmap");
    request.directory = ProgramDir();
    request.proposedName = proposedName(parent, page, QStringLiteral("BMP"));
    request.filter = QStringLiteral("Bitmap File (*.BMP)");
    request.defaultSuffix = QStringLiteral("BMP");
    const QString path = ChooseFileDialog(request, parent);
    if (path.isEmpty()) return;
    QString error;
    bool ok = false;
    {
        BusyCursor busy;
        // The calendar alone at the screen's zoom: the bitmap has the page's on-screen size.
        ok = ExportCalendarBmp(page.Page(), path, page.Zoom(), &error);
    }
    if (!ok) ShowError(error, parent);
}

namespace {
// Qt's preview dialog leaves its page field, zoom list and page view without names a screen reader
// can read.
void namePreviewControls(QPrintPreviewDialog& dialog) {
    if (auto* preview = dialog.findChild<QPrintPreviewWidget*>()) {
        preview->setAccessibleName(QStringLiteral("Preview"));
        if (auto* view = preview->findChild<QGraphicsView*>()) view->setAccessibleName(QStringLiteral("Pages"));
    }
    for (QComboBox* zoom : dialog.findChildren<QComboBox*>()) NameComboBox(*zoom, QStringLiteral("Zoom"));
    for (QLineEdit* field : dialog.findChildren<QLineEdit*>())
        if (!qobject_cast<QComboBox*>(field->parentWidget()) && field->accessibleName().isEmpty())
            field->setAccessibleName(QStringLiteral("Page number"));
    for (QToolButton* more : dialog.findChildren<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("More commands"));
}

// Print Preview of a run of `months` pages; `restart` runs before each rendering (the dialog renders
// again when its page set-up changes), so that a run with pictures starts from its first picture.
void previewRun(QWidget* parent, TCalendarPanel32& page, int months, const PagePreparer& prepare,
                const std::function<void()>& restart) {
    QPrinter* printer = ReportPrinter1().Report().Printer();
    std::unique_ptr<QPrinter> ownPrinter;
    if (!printer) {
        ownPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer = ownPrinter.get();
    }
    QPrintPreviewDialog dialog(printer, parent);
    dialog.setObjectName(QStringLiteral("PrintPreviewDialog"));
    dialog.setWindowTitle(QStringLiteral("Print Preview"));
    namePreviewControls(dialog);
    QString failure;
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* target) {
        if (restart) restart();
        BusyCursor busy;
        TReport report;
        report.SetDevice(target);
        report.SetPaper(paperOf(page));
        page.ApplyPrinterOrientation(report);
        if (!report.BeginDoc()) {
            failure = report.ErrorText();
            return;
        }
        // A failure must not travel through the dialog's signal: it is kept and shown afterwards.
        try {
            PrintMonthPages(page.Page(), report, months, prepare);
        } catch (const StreamError& e) {
            report.Abort();
            failure = e.message();
            return;
        } catch (const std::exception& e) {
            report.Abort();
            failure = QString::fromLocal8Bit(e.what());
            return;
        }
        report.EndDoc();
    });
    RunModalDialog(dialog);
    if (!failure.isEmpty()) ShowError(failure, parent);
}
}  // namespace

void PrintPreviewCommand(QWidget* parent, TCalendarPanel32& page) { previewRun(parent, page, 1, {}, {}); }

namespace {
// The export commands ask for a file in the program folder, proposing the month's name.
QString chooseExportFile(QWidget* parent, TCalendarPanel32& page, const QString& title, const QString& filter,
                         const QString& suffix) {
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.title = title;
    request.directory = ProgramDir();
    request.proposedName = proposedName(parent, page, suffix);
    request.filter = filter;
    request.defaultSuffix = suffix;
    return ChooseFileDialog(request, parent);
}
}  // namespace

void ExportPdfCommand(QWidget* parent, TCalendarPanel32& page) {
    const QString path = chooseExportFile(parent, page, QStringLiteral("Export as PDF"),
                                          QStringLiteral("PDF File (*.pdf)"), QStringLiteral("pdf"));
    if (path.isEmpty()) return;
    QString error;
    bool ok = false;
    {
        BusyCursor busy;
        ok = WritePagesPdf(page.Page(), path, 1, &error);
    }
    if (!ok) ShowError(error, parent);
}

void ExportPngCommand(QWidget* parent, TCalendarPanel32& page) {
    TPngResolutionDialog resolution(parent);
    if (RunModalDialog(resolution) != QDialog::Accepted) return;
    const QString path = chooseExportFile(parent, page, QStringLiteral("Export as PNG"),
                                          QStringLiteral("PNG Image (*.png)"), QStringLiteral("png"));
    if (path.isEmpty()) return;
    QString error;
    bool ok = false;
    {
        BusyCursor busy;
        ok = WritePrintedPagePng(page.Page(), path, resolution.Resolution(), &error);
    }
    if (!ok) ShowError(error, parent);
}

// ---- the dialogs ----

namespace {
QDialogButtonBox* okCancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OkButton"));
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("CancelButton"));
    buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(QStringLiteral("Cancel"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}
}  // namespace

TPrintMonthsDialog::TPrintMonthsDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PrintMonthsDialog"));
    setWindowTitle(QStringLiteral("Print Months"));
    m_months = new QSpinBox(this);
    m_months->setObjectName(QStringLiteral("MonthsEdit"));
    m_months->setRange(1, kMaxMonthPages);
    m_months->setValue(12);
    m_months->setAccessibleName(QStringLiteral("Number of months"));
    auto* form = new QFormLayout;
    auto* label = new QLabel(QStringLiteral("&Number of months:"), this);
    label->setBuddy(m_months);
    form->addRow(label, m_months);
    m_fill = new QCheckBox(QStringLiteral("&Fill each month with recurring dates"), this);
    m_fill->setObjectName(QStringLiteral("FillCheck"));
    m_fill->setAccessibleName(QStringLiteral("Fill each month with recurring dates"));
    // Without a list of recurring dates there is nothing to fill with.
    m_fill->setEnabled(QFileInfo::exists(RecurringDatesPath()));

    // A photo calendar: the Picture of the Month shows the folder's pictures, one per month.
    auto* choose = new QPushButton(QStringLiteral("Pictures from f&older..."), this);
    choose->setObjectName(QStringLiteral("PicturesFolderButton"));
    choose->setAccessibleName(QStringLiteral("Pictures from folder..."));
    m_folder = new QLineEdit(this);
    m_folder->setObjectName(QStringLiteral("PicturesFolderEdit"));
    m_folder->setAccessibleName(QStringLiteral("Pictures folder"));
    m_folder->setPlaceholderText(QStringLiteral("No pictures: the calendar's own"));
    m_folder->setClearButtonEnabled(true);
    m_folder->setMinimumWidth(260);  // room for a folder's path
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(choose);
    folderRow->addWidget(m_folder, 1);
    m_fit = new QComboBox(this);
    m_fit->setObjectName(QStringLiteral("PictureFitCombo"));
    m_fit->addItem(QStringLiteral("Crop to fill the picture"));
    m_fit->addItem(QStringLiteral("Fit inside the picture"));
    m_fit->setAccessibleName(QStringLiteral("Fit"));
    auto* fitLabel = new QLabel(QStringLiteral("F&it:"), this);
    fitLabel->setBuddy(m_fit);
    m_found = new QLabel(this);
    m_found->setObjectName(QStringLiteral("PicturesFoundLabel"));
    m_found->setWordWrap(true);
    auto* pictureForm = new QFormLayout;
    pictureForm->addRow(fitLabel, m_fit);
    QObject::connect(choose, &QPushButton::clicked, this, [this] { choosePicturesFolder(); });
    QObject::connect(m_folder, &QLineEdit::textChanged, this, [this] { updatePictures(); });

    auto* note = new QLabel(
        QStringLiteral("One page per month, from the calendar's own month on. Day texts print on that month only. "
                       "Pictures fill the clip art ticked Picture of the Month (or the largest), in file-name "
                       "order."),
        this);
    note->setWordWrap(true);
    auto* buttons = okCancel(this);
    auto* preview = buttons->addButton(QStringLiteral("Pre&view..."), QDialogButtonBox::ActionRole);
    preview->setObjectName(QStringLiteral("PreviewButton"));
    preview->setAccessibleName(QStringLiteral("Preview..."));
    QObject::connect(preview, &QPushButton::clicked, this, [this] { done(PreviewResult); });
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_fill);
    layout->addLayout(folderRow);
    layout->addLayout(pictureForm);
    layout->addWidget(m_found);
    layout->addWidget(note);
    layout->addWidget(buttons);
    updatePictures();
}

int TPrintMonthsDialog::Months() const { return m_months->value(); }
void TPrintMonthsDialog::SetMonths(int months) { m_months->setValue(months); }
bool TPrintMonthsDialog::FillMonths() const { return m_fill->isEnabled() && m_fill->isChecked(); }
void TPrintMonthsDialog::RefuseFill(const QString& why) {
    m_fill->setEnabled(false);
    m_fill->setToolTip(why);
    m_fill->setAccessibleDescription(why);
}
void TPrintMonthsDialog::SetFillMonths(bool fill) { m_fill->setChecked(fill); }
QString TPrintMonthsDialog::PicturesFolder() const { return m_folder->text().trimmed(); }
void TPrintMonthsDialog::SetPicturesFolder(const QString& folder) { m_folder->setText(folder); }
PictureFit TPrintMonthsDialog::Fit() const { return m_fit->currentIndex() == 1 ? PictureFit::Fit : PictureFit::Crop; }
void TPrintMonthsDialog::SetFit(PictureFit fit) { m_fit->setCurrentIndex(fit == PictureFit::Fit ? 1 : 0); }

void TPrintMonthsDialog::choosePicturesFolder() {
    // A first choice starts where the person keeps pictures, not in the program's working folder.
    QString start = PicturesFolder();
    if (start.isEmpty()) start = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!QFileInfo(start).isDir()) start = QDir::homePath();
    QFileDialog chooser(this, QStringLiteral("Pictures from Folder"), start);
    chooser.setObjectName(QStringLiteral("PicturesFolderDialog"));
    chooser.setFileMode(QFileDialog::Directory);
    chooser.setOption(QFileDialog::ShowDirsOnly, true);
    if (RunModalDialog(chooser) != QDialog::Accepted) return;
    const QStringList chosen = chooser.selectedFiles();
    if (!chosen.isEmpty()) SetPicturesFolder(chosen.first());
}

void TPrintMonthsDialog::updatePictures() {
    const QString folder = PicturesFolder();
    m_fit->setEnabled(!folder.isEmpty());
    if (folder.isEmpty()) {
        m_found->setText(QString());
        return;
    }
    QString error;
    const qsizetype count = ListFolderPictures(folder, &error).size();
    m_found->setText(count > 0 ? QStringLiteral("%1 picture%2 in %3").arg(count).arg(count == 1 ? "" : "s").arg(folder)
                               : error);
}

TPngResolutionDialog::TPngResolutionDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PngResolutionDialog"));
    setWindowTitle(QStringLiteral("Export as PNG"));
    m_dpi = new QSpinBox(this);
    m_dpi->setObjectName(QStringLiteral("ResolutionEdit"));
    m_dpi->setRange(kMinExportDpi, kMaxExportDpi);
    m_dpi->setSingleStep(50);
    m_dpi->setValue(150);
    m_dpi->setSuffix(QStringLiteral(" pixels per inch"));
    m_dpi->setAccessibleName(QStringLiteral("Resolution"));
    auto* form = new QFormLayout;
    auto* label = new QLabel(QStringLiteral("&Resolution:"), this);
    label->setBuddy(m_dpi);
    form->addRow(label, m_dpi);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(okCancel(this));
}

int TPngResolutionDialog::Resolution() const { return m_dpi->value(); }
void TPngResolutionDialog::SetResolution(int dpi) { m_dpi->setValue(dpi); }

}  // namespace plennix
