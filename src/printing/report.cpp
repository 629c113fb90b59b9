#include "printing/report.h"

#include <QBuffer>
#include <QFile>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/file_io.h"
#include "platform/numbers.h"

namespace plennix {

TReport::TReport() = default;

TReport::~TReport() {
    if (m_printing) Abort();
}

// The setup writer is made on first use and never drawn on: it only holds the paper, orientation and
// resolution that the PDF of each job is made with.
QPagedPaintDevice* TReport::ownDevice() const {
    if (!m_setupWriter) {
        m_setupBuffer = std::make_unique<QBuffer>();
        m_setupWriter = std::make_unique<QPdfWriter>(m_setupBuffer.get());
        m_setupWriter->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Inch);
    }
    return m_setupWriter.get();
}

void TReport::SetPdfOutput(const QString& fileName) {
    m_device = nullptr;
    m_pdfFileName = fileName;
}

void TReport::SetDevice(QPaintDevice* device) { m_device = device; }

QPaintDevice* TReport::Device() const {
    if (m_device) return m_device;
    if (m_pdfWriter) return m_pdfWriter.get();
    return ownDevice();
}

QPagedPaintDevice* TReport::pagedDevice() const {
    if (m_pdfWriter && !m_device) return m_pdfWriter.get();
    if (!m_device) return ownDevice();
    return dynamic_cast<QPagedPaintDevice*>(m_device);
}

void TReport::SetOrientation(ReportOrientation o) {
    m_orientation = o;
    if (QPagedPaintDevice* paged = pagedDevice())
        paged->setPageOrientation(o == ReportOrientation::poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

void TReport::SetPaper(ReportPaper paper) {
    m_paper = paper;
    m_paperChosen = true;
    if (!m_printing) applyPageSetup();
}

void TReport::SetCopies(int copies) { m_copies = std::max(1, copies); }

int TReport::Copies() const { return m_copies; }

// A PDF file or a caller's device holds one copy: the program prints the others.
int TReport::MaxCopies() const { return 1; }

void TReport::applyPageSetup() {
    QPagedPaintDevice* paged = pagedDevice();
    if (!paged) return;
    if (m_paperChosen) paged->setPageSize(QPageSize(m_paper == ReportPaper::A4 ? QPageSize::A4 : QPageSize::Letter));
    paged->setPageOrientation(m_orientation == ReportOrientation::poLandscape ? QPageLayout::Landscape
                                                                             : QPageLayout::Portrait);
    // Page inches start at the paper's corner.
    paged->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Inch);
}

bool TReport::BeginDoc() {
    m_error.clear();
    if (m_printing) {
        m_error = QStringLiteral("A print job is already running");
        return false;
    }
    if (!m_device) {
        m_jobFileName = ownFileName();
        if (ownOutputIsFile() && m_jobFileName.isEmpty()) {
            m_error = QStringLiteral("No file name was given for the PDF output");
            return false;
        }
        beginOwnJob();
        if (!m_jobFileName.isEmpty()) {
            // A PDF file (or "print to file" on a system printer, which writes PDF too) written as the
            // pages come reports no failed write: a full disk would leave a broken file in place of the
            // old one. The pages are made in memory instead and written whole at the end.
            const QPagedPaintDevice* setup = ownDevice();
            m_pdfBuffer = std::make_unique<QBuffer>();
            m_pdfBuffer->open(QIODevice::WriteOnly);
            m_pdfWriter = std::make_unique<QPdfWriter>(m_pdfBuffer.get());
            m_pdfWriter->setResolution(setup->logicalDpiY());
            m_pdfWriter->setPageLayout(setup->pageLayout());
            m_pdfWriter->setTitle(m_title);
            m_pdfWriter->setCreator(QStringLiteral("Plennix"));
        }
    }
    applyPageSetup();
    if (!m_painter.begin(Device())) {
        const bool toPdf = m_pdfWriter != nullptr;
        m_pdfWriter.reset();
        m_pdfBuffer.reset();
        m_error = m_device ? QStringLiteral("Unable to draw on the output device")
                           : QStringLiteral("Unable to start the print job on ") +
                                 (toPdf ? m_jobFileName : ownDeviceName());
        return false;
    }
    m_canvas = std::make_unique<Canvas>(&m_painter);
    m_printing = true;
    m_page = 1;
    applyPenWidth();
    m_canvas->SetBrush(m_brushColor, m_brushStyle);
    m_canvas->SetBkTransparent(m_transparent);
    m_canvas->SetBkColor(m_backColor);
    applyFont();
    reportStatus();
    return true;
}

bool TReport::EndDoc() {
    if (!m_printing) return true;
    m_saved.clear();
    m_canvas.reset();
    m_painter.end();
    m_printing = false;
    if (!m_pdfWriter) return true;
    m_pdfWriter.reset();
    const QByteArray pdf = m_pdfBuffer->data();
    m_pdfBuffer.reset();
    return WriteFileAtomically(m_jobFileName, pdf, &m_error);
}

void TReport::Abort() {
    if (!m_printing) return;
    m_saved.clear();
    m_canvas.reset();
    if (!m_device && !m_pdfWriter) abortOwnJob();
    if (m_painter.isActive()) m_painter.end();
    // An abandoned PDF is never written: the file it would replace stays.
    m_pdfWriter.reset();
    m_pdfBuffer.reset();
    m_printing = false;
}

bool TReport::NewPage() {
    if (!m_printing) return false;
    QPagedPaintDevice* paged = pagedDevice();
    if (!paged || !paged->newPage()) return false;
    ++m_page;
    reportStatus();
    return true;
}

bool TReport::Execute(const std::function<void(TReport&)>& beforePrint, const std::function<void(TReport&)>& print) {
    if (beforePrint) beforePrint(*this);
    if (!BeginDoc()) return false;
    try {
        if (print) print(*this);
    } catch (...) {
        Abort();
        throw;
    }
    return EndDoc();
}

void TReport::reportStatus() {
    if (!m_onStatus) return;
    QString text = m_statusFormat;
    text.replace(QStringLiteral("%p"), QString::number(m_page));
    m_onStatus(text);
}

// ---- geometry ----

int TReport::XDpi() const {
    const int dpi = Device()->logicalDpiX();
    return dpi > 0 ? dpi : 96;
}

int TReport::YDpi() const {
    const int dpi = Device()->logicalDpiY();
    return dpi > 0 ? dpi : 96;
}

double TReport::PageWidth() const {
    if (QPagedPaintDevice* paged = pagedDevice()) return paged->pageLayout().fullRect(QPageLayout::Inch).width();
    if (Device()->width() > 0) return static_cast<double>(Device()->width()) / XDpi();
    const QSizeF s = QPageSize(m_paper == ReportPaper::A4 ? QPageSize::A4 : QPageSize::Letter).size(QPageSize::Inch);
    return m_orientation == ReportOrientation::poLandscape ? s.height() : s.width();
}

double TReport::PageHeight() const {
    if (QPagedPaintDevice* paged = pagedDevice()) return paged->pageLayout().fullRect(QPageLayout::Inch).height();
    if (Device()->height() > 0) return static_cast<double>(Device()->height()) / YDpi();
    const QSizeF s = QPageSize(m_paper == ReportPaper::A4 ? QPageSize::A4 : QPageSize::Letter).size(QPageSize::Inch);
    return m_orientation == ReportOrientation::poLandscape ? s.width() : s.height();
}

int TReport::XI2D(double inches) const { return roundHalfEven(inches * XDpi()); }
int TReport::YI2D(double inches) const { return roundHalfEven(inches * YDpi()); }
double TReport::XD2I(int pixels) const { return static_cast<double>(pixels) / XDpi(); }
double TReport::YD2I(int pixels) const { return static_cast<double>(pixels) / YDpi(); }

Rect TReport::InchRect(double left, double top, double right, double bottom) const {
    return Rect(XI2D(left), YI2D(top), XI2D(right), YI2D(bottom));
}

Canvas& TReport::canvas() {
    Q_ASSERT(m_canvas);
    return *m_canvas;
}

// ---- state ----

void TReport::SaveState() {
    m_saved.push_back({m_penColor, m_penStyle, m_penMode, m_penWidth, m_brushColor, m_brushStyle, m_fontFace,
                       m_fontPoints, m_fontStyle, m_fontColor, m_rotation, m_transparent, m_backColor, m_penX, m_penY,
                       m_canvas != nullptr});
    // The canvas keeps its own pen, brush and font and saves the painter's clip and transform with them.
    if (m_canvas) m_canvas->Save();
}

void TReport::RestoreState() {
    if (m_saved.empty()) return;
    const SavedState s = m_saved.back();
    m_saved.pop_back();
    m_penColor = s.penColor;
    m_penStyle = s.penStyle;
    m_penMode = s.penMode;
    m_penWidth = s.penWidth;
    m_brushColor = s.brushColor;
    m_brushStyle = s.brushStyle;
    m_fontFace = s.fontFace;
    m_fontPoints = s.fontPoints;
    m_fontStyle = s.fontStyle;
    m_fontColor = s.fontColor;
    m_rotation = s.rotation;
    m_transparent = s.transparent;
    m_backColor = s.backColor;
    m_penX = s.penX;
    m_penY = s.penY;
    if (m_canvas && s.canvasSaved) m_canvas->Restore();
}

// ---- pen and brush ----

void TReport::applyPenWidth() {
    if (!m_canvas) return;
    m_canvas->SetPen(m_penColor, m_penWidth, m_penStyle);
    m_canvas->SetPenMode(m_penMode);
}

void TReport::SetPen(TColor color, PenStyle style, PenMode mode) {
    m_penColor = color;
    m_penStyle = style;
    m_penMode = mode;
    applyPenWidth();
}

void TReport::SetPenWidthPixels(int pixels) {
    m_penWidth = std::max(1, pixels);
    applyPenWidth();
}

void TReport::SetPenWidthPoints(double points) { SetPenWidthInches(points / 72.0); }

void TReport::SetPenWidthInches(double inches) { SetPenWidthPixels(roundHalfEven(inches * XDpi())); }

void TReport::SetBrush(TColor color, BrushStyle style) {
    m_brushColor = color;
    m_brushStyle = style;
    if (m_canvas) m_canvas->SetBrush(color, style);
}

// ---- shapes ----

void TReport::FillRect(double left, double top, double right, double bottom) {
    if (!m_canvas) return;
    m_canvas->FillRect(InchRect(left, top, right, bottom).normalized());
}

void TReport::Rectangle(double left, double top, double right, double bottom) {
    if (!m_canvas) return;
    m_canvas->Rectangle(InchRect(left, top, right, bottom));
}

void TReport::Ellipse(double left, double top, double right, double bottom) {
    if (!m_canvas) return;
    m_canvas->Ellipse(InchRect(left, top, right, bottom));
}

void TReport::MoveTo(double x, double y) {
    m_penX = x;
    m_penY = y;
    if (m_canvas) m_canvas->MoveTo(XI2D(x), YI2D(y));
}

void TReport::LineTo(double x, double y) {
    m_penX = x;
    m_penY = y;
    if (m_canvas) m_canvas->LineTo(XI2D(x), YI2D(y));
}

void TReport::Line(double x1, double y1, double x2, double y2) {
    MoveTo(x1, y1);
    LineTo(x2, y2);
}

// ---- text ----

void TReport::applyFont() {
    if (!m_canvas) return;
    const int pixels = std::max(1, roundHalfEven(m_fontPoints * YDpi() / 72.0));
    m_canvas->SetFont(m_fontFace, -pixels, m_fontStyle, m_fontColor, m_rotation * 10);
}

void TReport::SetFont(const QString& face, double points, FontStyles style) {
    m_fontFace = face;
    m_fontPoints = points > 0 ? points : 1;
    m_fontStyle = style;
    applyFont();
}

void TReport::SetFont(const FontRecord& font) {
    m_fontColor = font.color;
    SetFont(font.name, font.size(), font.style);
}

void TReport::SetFontColor(TColor color) {
    m_fontColor = color;
    if (m_canvas) m_canvas->SetTextColor(color);
}

void TReport::SetFontRotation(int degrees) {
    m_rotation = degrees;
    applyFont();
}

void TReport::SetFontBold(bool on) {
    m_fontStyle = on ? (m_fontStyle | fsBold) : (m_fontStyle & ~fsBold);
    applyFont();
}

void TReport::SetFontItalic(bool on) {
    m_fontStyle = on ? (m_fontStyle | fsItalic) : (m_fontStyle & ~fsItalic);
    applyFont();
}

void TReport::SetFontUnderline(bool on) {
    m_fontStyle = on ? (m_fontStyle | fsUnderline) : (m_fontStyle & ~fsUnderline);
    applyFont();
}

namespace {
// Metrics of the report font on the device, for measuring outside a print job.
QFontMetrics deviceMetrics(const QString& face, double points, FontStyles style, QPaintDevice* device, int ydpi) {
    const int pixels = std::max(1, roundHalfEven(points * ydpi / 72.0));
    return QFontMetrics(MakeQFont(face, -pixels, style), device);
}
}  // namespace

double TReport::LineHeight() const {
    if (m_canvas) {
        const TextMetrics tm = m_canvas->GetTextMetrics();
        return static_cast<double>(tm.height + tm.externalLeading) / YDpi();
    }
    const QFontMetrics fm = deviceMetrics(m_fontFace, m_fontPoints, m_fontStyle, Device(), YDpi());
    return static_cast<double>(fm.ascent() + fm.descent() + std::max(0, fm.leading())) / YDpi();
}

double TReport::Ascent() const {
    if (m_canvas) return static_cast<double>(m_canvas->GetTextMetrics().ascent) / YDpi();
    return static_cast<double>(deviceMetrics(m_fontFace, m_fontPoints, m_fontStyle, Device(), YDpi()).ascent()) / YDpi();
}

double TReport::TextWidth(const QString& text) const {
    if (m_canvas) return static_cast<double>(m_canvas->TextWidth(text)) / XDpi();
    return static_cast<double>(
               deviceMetrics(m_fontFace, m_fontPoints, m_fontStyle, Device(), YDpi()).horizontalAdvance(text)) /
           XDpi();
}

void TReport::SetTransparent(bool transparent) {
    m_transparent = transparent;
    if (m_canvas) m_canvas->SetBkTransparent(transparent);
}

void TReport::SetBackColor(TColor color) {
    m_backColor = color;
    if (m_canvas) m_canvas->SetBkColor(color);
}

void TReport::PrintXY(double x, double y, const QString& text) {
    if (m_canvas) m_canvas->TextOut(XI2D(x), YI2D(y), text);
}

void TReport::PrintCenter(const QString& text, double x, double y) {
    if (!m_canvas) return;
    const int w = m_canvas->TextWidth(text);
    m_canvas->TextOut(XI2D(x) - w / 2, YI2D(y), text);
}

void TReport::PrintRight(const QString& text, double x, double y) {
    if (!m_canvas) return;
    m_canvas->TextOut(XI2D(x) - m_canvas->TextWidth(text), YI2D(y), text);
}

void TReport::PrintInRect(const QString& text, double left, double top, double right, double bottom,
                          uint32_t flags) {
    if (!m_canvas) return;
    m_canvas->DrawText(text, InchRect(left, top, right, bottom), flags & ~DT_CALCRECT);
}

void TReport::PrintClipped(const QString& text, double x, double y, double left, double top, double right,
                           double bottom) {
    if (!m_canvas) return;
    m_canvas->TextRect(InchRect(left, top, right, bottom), XI2D(x), YI2D(y), text);
}

// ---- text paths ----

QPainterPath TReport::TextPath(double x, double y, const QString& text) const {
    if (!m_canvas) return {};
    return m_canvas->TextPath(XI2D(x), YI2D(y), text);
}

QPainterPath TReport::TextPathBaseline(double x, double baseline, const QString& text) const {
    if (!m_canvas) return {};
    const int ascent = m_canvas->GetTextMetrics().ascent;
    if (m_rotation % 360 == 0) return m_canvas->TextPath(XI2D(x), YI2D(baseline) - ascent, text);
    // Rotated: the cell's top-left lies `ascent` above the baseline point along the rotated vertical.
    const double a = m_rotation * std::numbers::pi / 180.0;
    const int dx = roundHalfEven(-ascent * std::sin(a));
    const int dy = roundHalfEven(-ascent * std::cos(a));
    return m_canvas->TextPath(XI2D(x) + dx, YI2D(baseline) + dy, text);
}

void TReport::ClipToPath(const QPainterPath& path) {
    if (m_printing) m_painter.setClipPath(path, Qt::ReplaceClip);
}

void TReport::ResetClip() {
    // Switching clipping off would keep the path: a picture played later that switches clipping on
    // (a rich text, a cell text) would bring it back and lose everything outside it. The clip goes.
    if (m_printing) m_painter.setClipRect(QRect(), Qt::NoClip);
}

void TReport::StrokePath(const QPainterPath& path) {
    if (m_canvas) m_canvas->StrokePath(path);
}

void TReport::FillPath(const QPainterPath& path) {
    if (m_canvas) m_canvas->FillPath(path);
}

// ---- pictures ----

void TReport::StretchDraw(double left, double top, double right, double bottom, const QImage& image) {
    if (m_canvas) m_canvas->StretchDraw(InchRect(left, top, right, bottom), image);
}

void TReport::StretchDraw(double left, double top, double right, double bottom, const QPicture& picture) {
    if (m_canvas) m_canvas->StretchDraw(InchRect(left, top, right, bottom), picture);
}

}  // namespace plennix
