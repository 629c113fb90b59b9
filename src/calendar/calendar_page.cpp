#include "calendar/calendar_page.h"

#include <QPainter>
#include <algorithm>

#include "calendar/calendar_files.h"
#include "calendar/calendar_print.h"
#include "calendar/page_clicks.h"
#include "objects/object_classes.h"
#include "platform/stream_error.h"
#include "printing/report.h"
#include "surface/graphic_control.h"
#include "surface/label.h"

namespace plennix {

TCalendarPage::TCalendarPage() : m_owner(std::make_unique<QObject>()) {
    // The classes a document can name, without the commands that edit them in a window.
    RegisterLabelClasses();
    RegisterDecorativeObjectClasses();
    // The same first layout and stored settings as a document page in a window starts with.
    m_layout = ::plennix::ArrangeLayout(m_settings, true, m_layout);
    ApplyStoredPageSettings(m_settings, StoredPageKind::DocumentPage);
    arrangeLayout();
}

TCalendarPage::~TCalendarPage() = default;

void TCalendarPage::arrangeLayout() { m_layout = ::plennix::ArrangeLayout(m_settings, false, m_layout); }

TWPRtfStorage* TCalendarPage::CellRtf(int index, TWPRtfStorage* fallback) {
    if (index < 1 || index > kCellCount) return fallback;
    return &m_cells[index - 1];
}

void TCalendarPage::SetCellRtf(int index, const TWPRtfStorage& text) {
    if (index < 1 || index > kCellCount) return;
    m_cells[index - 1] = text;
}

int TCalendarPage::CellOfDay(int day) const { return ::plennix::CellOfDay(m_state.cells, day); }
int TCalendarPage::LayoutFamily() const { return ::plennix::LayoutFamily(m_settings.CalendarLayout); }
bool TCalendarPage::HasCellText() const { return ::plennix::HasCellText(m_cells); }

void TCalendarPage::ClearCellTexts() {
    for (auto& cell : m_cells) cell = m_emptyStore;
    ClearCellRects(m_state.cells);
}

void TCalendarPage::SetUserTitle(const QString& v) { m_settings.UserTitle = v; }

void TCalendarPage::SetMainCalYear(int v) {
    if (m_settings.MainCalYear == v) return;
    m_settings.MainCalYear = v;
    arrangeLayout();
}

void TCalendarPage::SetMainCalMonth(int v) {
    if (m_settings.MainCalMonth == v) return;
    m_settings.MainCalMonth = v;
    arrangeLayout();
}

void TCalendarPage::SetMainCalDay(int v) {
    if (m_settings.MainCalDay == v) return;
    m_settings.MainCalDay = v;
    arrangeLayout();
}

void TCalendarPage::SetZoom(float zoom) {
    if (zoom == m_zoom) return;
    m_zoom = zoom;
    const auto objects = m_list.Objects();
    for (TGGraphicControl* o : objects) o->ScaleTo(zoom);
}

int TCalendarPage::Width() const { return std::max(0, m_layout.PanelWidth(m_zoom)); }
int TCalendarPage::Height() const { return std::max(0, m_layout.PanelHeight(m_zoom)); }

QByteArray TCalendarPage::SaveToBytes() const {
    std::vector<const TGGraphicControl*> objects(m_list.Objects().begin(), m_list.Objects().end());
    return WriteDocument(m_settings, m_cells, objects);
}

void TCalendarPage::SaveToFile(const QString& path) const {
    std::vector<const TGGraphicControl*> objects(m_list.Objects().begin(), m_list.Objects().end());
    SaveDocumentFile(path, m_settings, m_cells, objects);
}

void TCalendarPage::LoadFromBytes(const QByteArray& bytes, bool whole) {
    replaceDocument([&](QObject* owner) {
        StreamReader r(bytes);
        ReadDocument(r, m_settings, m_cells, owner, &m_list, owner);
        ObjectListReadReport report = m_list.LastReadReport();
        if (whole && (report.unreadable > 0 || report.overLimit > 0)) {
            report.richText = RtfReadReport();
            throw StreamError(ObjectListReadMessage(report, QStringLiteral("the document")));
        }
    });
}

void TCalendarPage::LoadFromFile(const QString& path) {
    replaceDocument([&](QObject* owner) { LoadDocumentFile(path, m_settings, m_cells, owner, &m_list, owner); });
}

void TCalendarPage::replaceDocument(const std::function<void(QObject* owner)>& read) {
    // The new document is read beside the old one: a failure leaves the page as it was.
    const CalendarSettings settings = m_settings;
    const CellStores cells = m_cells;
    const ObjectListReadReport report = m_list.LastReadReport();
    auto previousOwner = std::move(m_owner);
    std::vector<TGGraphicControl*> previous = m_list.Objects();
    for (TGGraphicControl* o : previous) o->SetList(nullptr);
    m_owner = std::make_unique<QObject>();
    m_list.ClearLastReadReport();
    for (auto& cell : m_cells) cell = m_emptyStore;
    // A document without a title of its own (written before titles were kept) has none.
    m_settings.UserTitle.clear();
    try {
        read(m_owner.get());
    } catch (...) {
        m_owner.reset();
        m_owner = std::move(previousOwner);
        m_settings = settings;
        m_cells = cells;
        for (TGGraphicControl* o : previous) o->SetList(&m_list);
        m_list.SetLastReadReport(report);
        arrangeLayout();
        throw;
    }
    previousOwner.reset();
    for (TGGraphicControl* o : m_list.Objects()) o->ShowAtZoom(m_zoom);
    arrangeLayout();
}

CellTextPainter TCalendarPage::cellPainter() { return MakeCellTextPainter(m_cells, m_renderer); }

QImage TCalendarPage::PaintToBitmap() {
    const CellTextPainter texts = cellPainter();
    return ::plennix::PaintToBitmap(m_settings, m_layout, m_zoom, m_state, &texts);
}

void TCalendarPage::MeasureForPrint() {
    if (m_layout.PanelWidth(m_zoom) <= 0 || m_layout.PanelHeight(m_zoom) <= 0) return;
    // The layout and the fonts' metrics are those of a full pass; the drawing is clipped to one pixel
    // and the cell texts are not laid out at all.
    QImage target(1, 1, QImage::Format_RGB32);
    QPainter painter(&target);
    Canvas canvas(&painter);
    PaintCalendarPage(canvas, m_settings, m_layout, m_zoom, m_state, nullptr);
    if (HasCellText()) m_renderer.SetZoomPercent(ZoomPercent(m_zoom));
}

QImage TCalendarPage::RenderPage() {
    const int w = Width(), h = Height();
    QImage image(std::max(1, w), std::max(1, h), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    Canvas canvas(&painter);
    const CellTextPainter texts = cellPainter();
    canvas.FillRect({0, 0, w, h}, clWhite);
    PaintCalendarPage(canvas, m_settings, m_layout, m_zoom, m_state, &texts);
    if (m_showGrid) PaintPageGrid(canvas, w, h, m_shape, m_gridSize);
    m_list.Paint(canvas);
    return image;
}

void TCalendarPage::PrintPage(TReport& report, double xOffsetInch, double yOffsetInch) {
    const CellTextPainter texts = cellPainter();
    PageDrawState printState;
    ::plennix::PrintPage(report, m_settings, m_layout, m_state.cell1Text, xOffsetInch, yOffsetInch, printState, &texts);
    PrintObjectList(m_list, report, xOffsetInch, yOffsetInch);
}

void TCalendarPage::ApplyPrinterOrientation(TReport& report) const { ::plennix::ApplyPrinterOrientation(report, m_settings); }

}  // namespace plennix
