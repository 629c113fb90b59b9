#pragma once
// Shared by the printing tests: a calendar page to print, a printer double writing PDF, and readers of
// the PDF that came out (poppler's pdfinfo and pdftotext).
#include <QPdfWriter>
#include <QProcess>
#include <QString>
#include <memory>

#include "app/print_commands.h"
#include "calendar/calendar_panel.h"
#include "printing/printer_report.h"

namespace plennix::test {

// A month page of December 2026 at zoom 1.0, with its objects owned by `owner`.
struct PrintablePage {
    QObject owner;
    TCalendarPanel32 page;
    PrintablePage() {
        page.SetNamingOwner(&owner);
        page.ResetToDefaults();
        page.SetCalendarLayout(TCalendarLayout::loFullCalendar);
        page.SetMainCalYear(2026);
        page.SetMainCalMonth(12);
        page.SetMainCalDay(1);
        page.SetTitleShowYear(true);
        page.PaintToBitmap();  // lays out the cells
    }
};

// A printer whose setup dialog answers at once and whose driver makes at most `driverCopies` copies;
// its pages go into a PDF file.
class PrinterDouble : public TReportPrinter {
public:
    PrinterDouble(const QString& pdfPath, int chosenCopies, int driverCopies, bool confirm = true)
        : m_writer(pdfPath), m_chosen(chosenCopies), m_driver(driverCopies), m_confirm(confirm) {
        Report().SetDevice(&m_writer);
    }
    bool SetupDialog(QWidget*) override {
        ++setups;
        return m_confirm;
    }
    int ChosenCopies() const override { return m_chosen; }
    int MaxCopies() const override { return m_driver; }
    void SetJobCopies(int copies) override { jobCopies = copies; }

    int setups = 0;
    int jobCopies = 0;

private:
    QPdfWriter m_writer;
    int m_chosen;
    int m_driver;
    bool m_confirm;
};

// Installs a printer double for the life of the guard; returns it for inspection.
struct ScopedPrinter {
    PrinterDouble* printer;
    template <typename... Args>
    explicit ScopedPrinter(Args&&... args) {
        auto p = std::make_unique<PrinterDouble>(std::forward<Args>(args)...);
        printer = p.get();
        SetReportPrinter(std::move(p));
    }
    ~ScopedPrinter() { SetReportPrinter(nullptr); }
    PrinterDouble* operator->() const { return printer; }
};

inline QString runTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000)) return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The number of pages pdfinfo reports, or -1.
inline int PdfPageCount(const QString& path) {
    const QString info = runTool(QStringLiteral("pdfinfo"), {path});
    for (const QString& line : info.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("Pages:"))) return line.mid(6).trimmed().toInt();
    return -1;
}

// pdfinfo's "Page size:" line, e.g. "612 x 792 pts (letter)".
inline QString PdfPageSize(const QString& path) {
    const QString info = runTool(QStringLiteral("pdfinfo"), {path});
    for (const QString& line : info.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("Page size:"))) return line.mid(10).trimmed();
    return QString();
}

// The text of one page (1-based), or of all pages for 0.
inline QString PdfText(const QString& path, int page = 0) {
    QStringList args;
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
    args << QStringLiteral("-layout") << path << QStringLiteral("-");
    return runTool(QStringLiteral("pdftotext"), args);
}

}  // namespace plennix::test
