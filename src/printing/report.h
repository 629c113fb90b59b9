#pragma once
// The report engine: a page measured in inches from the paper's top-left corner, drawn into a PDF file or
// on any paint device (a bitmap, a vector picture, a PDF writer, a printer). Positions and sizes are given
// in inches and converted to device pixels at the device's own resolution, so one drawing serves a 96-dpi
// bitmap and a 1200-dpi PDF alike. Callers that draw pixel-wise use the Canvas in device units.
// TReport needs Qt Gui only; TPrinterReport (printing/printer_report.h) prints on a system printer.
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPicture>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "platform/canvas.h"
#include "platform/colors.h"
#include "platform/font.h"
#include "platform/rect.h"

class QBuffer;
class QPaintDevice;
class QPdfWriter;
class QPagedPaintDevice;

namespace plennix {

enum class ReportOrientation : uint8_t { poPortrait, poLandscape };
enum class ReportPaper : uint8_t { Letter, A4 };

class TReport {
public:
    // A report into a PDF file, at the PDF writer's 1200 dots per inch; no file is named yet.
    TReport();
    virtual ~TReport();
    TReport(const TReport&) = delete;
    TReport& operator=(const TReport&) = delete;

    // ---- where the pages go (choose before BeginDoc) ----
    // The pages go into a PDF file, made in memory and written whole when the document ends.
    virtual void SetPdfOutput(const QString& fileName);
    // The pages go onto a paint device owned by the caller (QImage, QPicture, QPdfWriter, QPrinter...).
    // A device that is not paged holds one page only. Null goes back to the report's own output.
    void SetDevice(QPaintDevice* device);
    QPaintDevice* Device() const;

    // ---- job settings ----
    void SetTitle(const QString& title) { m_title = title; }
    const QString& Title() const { return m_title; }
    // Status text while printing; "%p" becomes the page number.
    void SetStatusFormat(const QString& format) { m_statusFormat = format; }
    void SetStatusHandler(std::function<void(const QString&)> handler) { m_onStatus = std::move(handler); }
    // Orientation: set before BeginDoc, or while printing for the pages that follow.
    void SetOrientation(ReportOrientation o);
    ReportOrientation Orientation() const { return m_orientation; }
    void SetPaper(ReportPaper paper);
    ReportPaper Paper() const { return m_paper; }
    // Copies the printer makes itself; MaxCopies is what its driver can make (1 for PDF output and
    // for a caller's device, where the program makes the others).
    virtual void SetCopies(int copies);
    virtual int Copies() const;
    virtual int MaxCopies() const;

    // ---- the job ----
    // Starts the document; false (with ErrorText) when the device cannot be opened.
    bool BeginDoc();
    // Ends the document. A PDF file is made in memory and only now written whole, atomically: false (with
    // ErrorText naming the file) when it could not be written, and a file it would replace is then kept.
    bool EndDoc();
    // Abandons the document (a printer job is cancelled).
    void Abort();
    // Starts the next page; false when the device holds only one page.
    bool NewPage();
    bool Printing() const { return m_printing; }
    int PageNumber() const { return m_page; }
    const QString& ErrorText() const { return m_error; }
    // Runs a whole job: beforePrint (before the document starts, e.g. to set the orientation), then
    // print. Returns false when the document could not be started or its PDF file not written; an
    // exception from print abandons the job and is passed on.
    bool Execute(const std::function<void(TReport&)>& beforePrint, const std::function<void(TReport&)>& print);

    // ---- geometry ----
    // Device pixels per inch.
    int XDpi() const;
    int YDpi() const;
    // The page's size in inches (paper size in the current orientation, or the device's size).
    double PageWidth() const;
    double PageHeight() const;
    // The paper's unprintable margins in inches: pages start at the paper's corner here, so these
    // are 0; callers that place pixel-wise still subtract them.
    double LeftWaste() const { return 0.0; }
    double TopWaste() const { return 0.0; }
    // Inches to device pixels (rounded, halves to even) and back.
    int XI2D(double inches) const;
    int YI2D(double inches) const;
    double XD2I(int pixels) const;
    double YD2I(int pixels) const;
    Rect InchRect(double left, double top, double right, double bottom) const;

    // ---- pen and brush ----
    void SetPen(TColor color, PenStyle style = PenStyle::psSolid, PenMode mode = PenMode::pmCopy);
    void SetPenWidthPixels(int pixels);       // device pixels, at least 1
    void SetPenWidthPoints(double points);    // 1/72 inch, at least one device pixel
    void SetPenWidthInches(double inches);    // at least one device pixel
    int PenWidthPixels() const { return m_penWidth; }
    void SetBrush(TColor color, BrushStyle style = BrushStyle::bsSolid);

    // ---- shapes, in inches ----
    void FillRect(double left, double top, double right, double bottom);  // brush colour
    void Rectangle(double left, double top, double right, double bottom);  // pen outline, brush fill
    void Ellipse(double left, double top, double right, double bottom);
    void MoveTo(double x, double y);
    void LineTo(double x, double y);
    void Line(double x1, double y1, double x2, double y2);

    // ---- text ----
    // Font by face and size in points; rotation in degrees counter-clockwise.
    void SetFont(const QString& face, double points, FontStyles style = 0);
    void SetFont(const FontRecord& font);  // size from the record's points, colour too
    void SetFontColor(TColor color);
    void SetFontRotation(int degrees);
    void SetFontBold(bool on);
    void SetFontItalic(bool on);
    void SetFontUnderline(bool on);
    const QString& FontName() const { return m_fontFace; }
    double FontSize() const { return m_fontPoints; }
    int FontRotation() const { return m_rotation; }
    // Em height of the font in inches (its size in points / 72).
    double FontHeight() const { return m_fontPoints / 72.0; }
    // Line height (ascent + descent + external leading) and ascent, in inches.
    double LineHeight() const;
    double Ascent() const;
    double TextWidth(const QString& text) const;
    // Text background: transparent, or opaque in the given colour.
    void SetTransparent(bool transparent);
    void SetBackColor(TColor color);

    // Text with the top-left of its cell at (x, y) (rotated about that point).
    void PrintXY(double x, double y, const QString& text);
    // Text centred on x, or ending at x, with its top at y.
    void PrintCenter(const QString& text, double x, double y);
    void PrintRight(const QString& text, double x, double y);
    // Text in an inch rectangle with DrawText flags (DT_CENTER, DT_RIGHT, DT_VCENTER, ...).
    void PrintInRect(const QString& text, double left, double top, double right, double bottom, uint32_t flags);
    // Text at (x, y) clipped to an inch rectangle.
    void PrintClipped(const QString& text, double x, double y, double left, double top, double right,
                      double bottom);

    // ---- text paths (device units) ----
    QPainterPath TextPath(double x, double y, const QString& text) const;          // cell top at y
    QPainterPath TextPathBaseline(double x, double baseline, const QString& text) const;
    void ClipToPath(const QPainterPath& path);  // until ResetClip (or RestoreState)
    void ResetClip();                           // no clip at all afterwards
    void StrokePath(const QPainterPath& path);
    void FillPath(const QPainterPath& path);

    // ---- pictures ----
    void StretchDraw(double left, double top, double right, double bottom, const QImage& image);
    void StretchDraw(double left, double top, double right, double bottom, const QPicture& picture);

    // ---- state ----
    // Keeps pen, brush, font, text colour and background, clip and transform; RestoreState puts back
    // the last state kept, whatever was set, clipped or moved since. Calls nest.
    void SaveState();
    void RestoreState();

    // The page's canvas in device pixels (valid while printing).
    Canvas& canvas();
    QPainter& painter() { return m_painter; }

protected:
    // The report's own output, used while no caller's device is set. The base class writes PDF files;
    // a printer report puts its printer here.
    // The device that holds the page setup (resolution, paper, orientation) of the own output.
    virtual QPagedPaintDevice* ownDevice() const;
    // The file the pages go to as PDF, made in memory through a PDF writer with ownDevice's setup and
    // written whole at the end; empty when the pages go to ownDevice itself.
    virtual QString ownFileName() const { return m_pdfFileName; }
    // Whether the own output is a PDF file, which cannot start without a file name.
    virtual bool ownOutputIsFile() const { return true; }
    // The own device's name, for the message when a job cannot start on it.
    virtual QString ownDeviceName() const { return ownFileName(); }
    // Called as a job starts on the own output, and when one is abandoned while drawing on ownDevice.
    virtual void beginOwnJob() {}
    virtual void abortOwnJob() {}
    // The caller's device, or null while the pages go to the own output.
    QPaintDevice* callerDevice() const { return m_device; }

private:
    QPagedPaintDevice* pagedDevice() const;
    void applyPageSetup();
    void applyFont();
    void applyPenWidth();
    void reportStatus();

    struct SavedState {
        TColor penColor;
        PenStyle penStyle;
        PenMode penMode;
        int penWidth;
        TColor brushColor;
        BrushStyle brushStyle;
        QString fontFace;
        double fontPoints;
        FontStyles fontStyle;
        TColor fontColor;
        int rotation;
        bool transparent;
        TColor backColor;
        double penX, penY;
        bool canvasSaved;
    };
    std::vector<SavedState> m_saved;

    QPaintDevice* m_device = nullptr;  // caller's device; overrides the own output when set
    // The own PDF output: its file and the writer that holds its page setup between jobs (made on first
    // use, never drawn on).
    QString m_pdfFileName;
    mutable std::unique_ptr<QBuffer> m_setupBuffer;
    mutable std::unique_ptr<QPdfWriter> m_setupWriter;
    int m_copies = 1;
    // While a job into a file runs: the pages go to a PDF writer in memory, and the file is written once
    // the document is whole.
    QString m_jobFileName;
    std::unique_ptr<QBuffer> m_pdfBuffer;
    std::unique_ptr<QPdfWriter> m_pdfWriter;
    QPainter m_painter;
    std::unique_ptr<Canvas> m_canvas;
    bool m_printing = false;
    int m_page = 0;
    QString m_error;
    QString m_title = QStringLiteral("ReportPrinter Report");
    QString m_statusFormat = QStringLiteral("Printing page %p");
    std::function<void(const QString&)> m_onStatus;
    ReportOrientation m_orientation = ReportOrientation::poPortrait;
    ReportPaper m_paper = ReportPaper::Letter;
    bool m_paperChosen = false;  // otherwise the own device's paper (a printer's, its dialog's) stays

    TColor m_penColor = clBlack;
    PenStyle m_penStyle = PenStyle::psSolid;
    PenMode m_penMode = PenMode::pmCopy;
    int m_penWidth = 1;
    TColor m_brushColor = clWhite;
    BrushStyle m_brushStyle = BrushStyle::bsSolid;
    QString m_fontFace = QStringLiteral("Arial");
    double m_fontPoints = 10;
    FontStyles m_fontStyle = 0;
    TColor m_fontColor = clBlack;
    int m_rotation = 0;
    bool m_transparent = true;
    TColor m_backColor = clWhite;
    double m_penX = 0, m_penY = 0;
};

// Keeps the report's state for the lifetime of the guard: whatever a drawing sets, clips or moves is
// undone when it ends, also when it ends early or by an exception.
class ReportStateGuard {
public:
    explicit ReportStateGuard(TReport& report) : m_report(report) { m_report.SaveState(); }
    ~ReportStateGuard() { m_report.RestoreState(); }
    ReportStateGuard(const ReportStateGuard&) = delete;
    ReportStateGuard& operator=(const ReportStateGuard&) = delete;

private:
    TReport& m_report;
};

}  // namespace plennix
