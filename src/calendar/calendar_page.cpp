#include "calendar/calendar_page.h"

#include <QDate>
#include <QPainter>
#include <algorithm>
#include <utility>

#include "calendar/calendar_files.h"
#include "calendar/calendar_print.h"
#include "calendar/page_clicks.h"
#include "objects/object_classes.h"
#include "platform/stream_error.h"
#include "printing/report.h"
#include "surface/graphic_control.h"
#include "surface/label.h"

namespace plennix {

TCalendarPage::TCalendarPage(StoredPageKind storedKind) : m_owner(std::make_unique<QObject>()) {
    // The classes a document can name, without the commands that edit them in a window.
    RegisterLabelClasses();
    RegisterDecorativeObjectClasses();
    m_layout = ::plennix::ArrangeLayout(m_settings, true, m_layout);
    ApplyStoredPageSettings(m_settings, storedKind);
    ArrangeLayout(false);
}

TCalendarPage::~TCalendarPage() = default;

// ---- settings ----

template <class T>
PageChange TCalendarPage::setField(T& field, const T& value, bool relayout) {
    if (field == value) return PageChange::None;
    field = value;
    if (!relayout) return PageChange::Repaint;
    ArrangeLayout(false);
    return PageChange::Layout;
}

PageChange TCalendarPage::SetCalendarLayout(TCalendarLayout v) { return setField(m_settings.CalendarLayout, v, true); }
PageChange TCalendarPage::SetCalendarOrientation(TCalendarOrientation v) {
    return setField(m_settings.CalendarOrientation, v, true);
}
PageChange TCalendarPage::SetPaperSize(int v) {
    return setField(m_settings.PaperSize, static_cast<uint8_t>(v == 1 ? 1 : 0), true);
}
PageChange TCalendarPage::SetLeftMarginInch(float v) { return setField(m_settings.LeftMarginInch, v, true); }
PageChange TCalendarPage::SetTopMarginInch(float v) { return setField(m_settings.TopMarginInch, v, true); }
PageChange TCalendarPage::SetRightMarginInch(float v) { return setField(m_settings.RightMarginInch, v, true); }
PageChange TCalendarPage::SetBottomMarginInch(float v) { return setField(m_settings.BottomMarginInch, v, true); }
PageChange TCalendarPage::SetMainCalDay(int v) { return setField(m_settings.MainCalDay, v, true); }
PageChange TCalendarPage::SetMainCalMonth(int v) { return setField(m_settings.MainCalMonth, v, true); }
PageChange TCalendarPage::SetMainCalYear(int v) { return setField(m_settings.MainCalYear, v, true); }
PageChange TCalendarPage::SetStartOfWeek(int v) { return setField(m_settings.StartOfWeek, v, false); }
PageChange TCalendarPage::SetUserTitle(const QString& v) { return setField(m_settings.UserTitle, v, false); }
PageChange TCalendarPage::SetDayStartTime(double v) { return setField(m_settings.DayStartTime, v, true); }
PageChange TCalendarPage::SetTitleFont(const FontRecord& v) { return setField(m_settings.TitleFont, v, false); }
PageChange TCalendarPage::SetTitleBGColor(TColor v) { return setField(m_settings.TitleBGColor, v, false); }
PageChange TCalendarPage::SetTitleShowYear(bool v) { return setField(m_settings.TitleShowYear, v, false); }
PageChange TCalendarPage::SetHeadersFont(const FontRecord& v) { return setField(m_settings.HeadersFont, v, false); }
PageChange TCalendarPage::SetHeadersBGColor(TColor v) { return setField(m_settings.HeadersBGColor, v, false); }
PageChange TCalendarPage::SetHeadersStyle(TCalHeadersStyle v) { return setField(m_settings.HeadersStyle, v, false); }
PageChange TCalendarPage::SetHeadersBorder(TCalBorderStyle v) { return setField(m_settings.HeadersBorder, v, false); }
PageChange TCalendarPage::SetCellFont(const FontRecord& v) { return setField(m_settings.CellFont, v, false); }
PageChange TCalendarPage::SetCellBorder(TCalBorderStyle v) { return setField(m_settings.CellBorder, v, false); }
PageChange TCalendarPage::SetCalendarBorder(TCalBorderStyle v) { return setField(m_settings.CalendarBorder, v, false); }
PageChange TCalendarPage::SetNumberPosition(TCalendarNumberPosition v) {
    return setField(m_settings.NumberPosition, v, false);
}
PageChange TCalendarPage::SetMiniTitleFont(const FontRecord& v) { return setField(m_settings.MiniTitleFont, v, false); }
PageChange TCalendarPage::SetMiniHeadersFont(const FontRecord& v) {
    return setField(m_settings.MiniHeadersFont, v, false);
}
PageChange TCalendarPage::SetMiniCellFont(const FontRecord& v) { return setField(m_settings.MiniCellFont, v, false); }
PageChange TCalendarPage::SetMiniHeadersBGColor(TColor v) { return setField(m_settings.MiniHeadersBGColor, v, false); }
PageChange TCalendarPage::SetMiniCalBGColor(TColor v) { return setField(m_settings.MiniCalBGColor, v, false); }
PageChange TCalendarPage::SetMiniHeadersStyle(TCalHeadersStyle v) {
    return setField(m_settings.MiniHeadersStyle, v, false);
}
PageChange TCalendarPage::SetMiniShowYear(bool v) { return setField(m_settings.MiniShowYear, v, false); }
PageChange TCalendarPage::SetMiniCalBorder(TCalBorderStyle v) { return setField(m_settings.MiniCalBorder, v, false); }
PageChange TCalendarPage::SetMiniHeadersBorder(TCalBorderStyle v) {
    return setField(m_settings.MiniHeadersBorder, v, false);
}
PageChange TCalendarPage::SetMiniCellBorder(TCalBorderStyle v) { return setField(m_settings.MiniCellBorder, v, false); }

PageChange TCalendarPage::SetCalendarLineLayout(TCalendarLineLayout v) {
    return m_settings.SetCalendarLineLayout(v) ? PageChange::Repaint : PageChange::None;
}

PageChange TCalendarPage::SetMiniCalendarLineLayout(TMiniCalendarLineLayout v) {
    return m_settings.SetMiniCalendarLineLayout(v) ? PageChange::Repaint : PageChange::None;
}

PageChange TCalendarPage::SetMonthName(int index, const QString& name) {
    if (index < 1 || index > 12) return PageChange::None;
    m_settings.SetMonthName(index, name);
    return PageChange::Repaint;
}

PageChange TCalendarPage::SetDayName(int index, const QString& name) {
    if (index < 1 || index > 7) return PageChange::None;
    m_settings.SetDayName(index, name);
    return PageChange::Repaint;
}

void TCalendarPage::ArrangeLayout(bool resetMiniFonts) {
    m_layout = ::plennix::ArrangeLayout(m_settings, resetMiniFonts, m_layout);
}

void TCalendarPage::AssignStyle(const CalendarSettings& source) {
    m_settings.AssignStyle(source);
    ArrangeLayout(false);
}

void TCalendarPage::ResetToDefaults() {
    m_settings.ResetToDefaults(QDate::currentDate());
    ArrangeLayout(true);
}

// ---- cells ----

TWPRtfStorage* TCalendarPage::CellRtf(int index, TWPRtfStorage* fallback) {
    if (index < 1 || index > kCellCount) return fallback;
    return &m_cells[index - 1];
}

void TCalendarPage::SetCellRtf(int index, const TWPRtfStorage& text) {
    if (index < 1 || index > kCellCount) return;
    m_cells[index - 1] = text;
}

int TCalendarPage::CellDay(int index) const {
    if (index < 1 || index > kCellCount) return 0;
    return m_state.cells[index - 1].iDay;
}

int TCalendarPage::CellOfDay(int day) const { return ::plennix::CellOfDay(m_state.cells, day); }
int TCalendarPage::CellAtPoint(int x, int y) const { return ::plennix::CellAtPoint(m_state.cells, x, y); }
bool TCalendarPage::PointInCell(int x, int y) const { return ::plennix::PointInCell(m_state.cells, x, y); }
int TCalendarPage::LayoutFamily() const { return ::plennix::LayoutFamily(m_settings.CalendarLayout); }
bool TCalendarPage::HasCellText() const { return ::plennix::HasCellText(m_cells); }

void TCalendarPage::ClearCellTexts() {
    for (auto& cell : m_cells) cell = m_emptyStore;
    ClearCellRects(m_state.cells);
}

bool TCalendarPage::HasSuperText() const {
    for (const TGGraphicControl* o : m_list.Objects())
        if (o->ClassName() == QLatin1String("TGSuperText")) return true;
    return false;
}

// ---- view ----

void TCalendarPage::SetZoom(float zoom) {
    if (zoom == m_view.zoom) return;
    m_view.zoom = zoom;
    const auto objects = m_list.Objects();
    for (TGGraphicControl* o : objects) o->ScaleTo(zoom);
}

int TCalendarPage::Width() const { return std::max(0, m_layout.PanelWidth(m_view.zoom)); }
int TCalendarPage::Height() const { return std::max(0, m_layout.PanelHeight(m_view.zoom)); }

// ---- files ----

QByteArray TCalendarPage::SaveToBytes() const {
    std::vector<const TGGraphicControl*> objects(m_list.Objects().begin(), m_list.Objects().end());
    return WriteDocument(m_settings, m_cells, objects);
}

void TCalendarPage::SaveToFile(const QString& path) const {
    std::vector<const TGGraphicControl*> objects(m_list.Objects().begin(), m_list.Objects().end());
    SaveDocumentFile(path, m_settings, m_cells, objects);
}

void TCalendarPage::LoadFromBytes(const QByteArray& bytes, bool whole, QObject* owner, QObject* namingOwner) {
    replaceDocument([&](QObject* objectOwner, QObject* names) {
        StreamReader r(bytes);
        ReadDocument(r, m_settings, m_cells, objectOwner, &m_list, names);
        ObjectListReadReport report = m_list.LastReadReport();
        if (whole && (report.unreadable > 0 || report.overLimit > 0)) {
            // Pictures a rich text leaves out are left out of the page as well; objects are not.
            report.richText = RtfReadReport();
            throw StreamError(ObjectListReadMessage(report, QStringLiteral("the document")));
        }
    }, owner, namingOwner);
}

void TCalendarPage::LoadFromFile(const QString& path, QObject* owner, QObject* namingOwner) {
    replaceDocument([&](QObject* objectOwner, QObject* names) {
        LoadDocumentFile(path, m_settings, m_cells, objectOwner, &m_list, names);
    }, owner, namingOwner);
}

void TCalendarPage::replaceDocument(const std::function<void(QObject* owner, QObject* namingOwner)>& read,
                                    QObject* owner, QObject* namingOwner) {
    // The page's objects step aside (kept alive with their names, off the list) while the new document
    // is read beside them, so that a failure can put everything back as it was: a damaged file never
    // half-changes the document.
    const CalendarSettings settings = m_settings;
    const LayoutResult layout = m_layout;
    const CellStores cells = m_cells;
    const ObjectListReadReport report = m_list.LastReadReport();
    std::vector<std::pair<TGGraphicControl*, QObject*>> previous;
    for (TGGraphicControl* o : m_list.Objects()) previous.emplace_back(o, o->parent());
    QObject aside;
    m_list.ClearLastReadReport();
    for (const auto& [object, objectOwner] : previous) {
        object->SetList(nullptr);
        object->setParent(&aside);
    }
    for (auto& cell : m_cells) cell = m_emptyStore;
    // A document without a title of its own (written before titles were kept) has none.
    m_settings.UserTitle.clear();
    try {
        read(owner ? owner : m_owner.get(), namingOwner ? namingOwner : m_owner.get());
    } catch (...) {
        for (int i = m_list.Count() - 1; i >= 0; --i) delete m_list.At(i);
        m_settings = settings;
        m_layout = layout;
        m_cells = cells;
        for (const auto& [object, objectOwner] : previous) {
            object->setParent(objectOwner);
            object->SetList(&m_list);
        }
        m_list.SetLastReadReport(report);
        throw;
    }
    for (TGGraphicControl* o : m_list.Objects()) o->ShowAtZoom(m_view.zoom);
    ArrangeLayout(false);
}

void TCalendarPage::SaveStyleSheet(const QString& path) const { SaveStyleSheetFile(path, m_settings); }

void TCalendarPage::LoadStyleSheet(const QString& path) {
    CalendarSettings read = m_settings;
    LoadStyleSheetFile(path, read);
    m_settings = read;
    ArrangeLayout(false);
}

// ---- drawing and printing ----

CellTextPainter TCalendarPage::cellPainter() { return MakeCellTextPainter(m_cells, m_renderer); }

void TCalendarPage::PaintCalendar(Canvas& canvas, int width, int height) {
    const CellTextPainter texts = cellPainter();
    canvas.FillRect({0, 0, width, height}, clWhite);
    PaintCalendarPage(canvas, m_settings, m_layout, m_view.zoom, m_state, &texts);
}

QImage TCalendarPage::PaintToBitmap() {
    const CellTextPainter texts = cellPainter();
    return ::plennix::PaintToBitmap(m_settings, m_layout, m_view.zoom, m_state, &texts);
}

void TCalendarPage::MeasureForPrint() {
    if (m_layout.PanelWidth(m_view.zoom) <= 0 || m_layout.PanelHeight(m_view.zoom) <= 0) return;
    // The layout and the fonts' metrics are those of a full pass; no label or cell text is laid out.
    MeasureCalendarPage(m_settings, m_layout, m_view.zoom, m_state);
    if (HasCellText()) m_renderer.SetZoomPercent(ZoomPercent(m_view.zoom));
}

QImage TCalendarPage::RenderPage() {
    const int w = Width(), h = Height();
    QImage image(std::max(1, w), std::max(1, h), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    Canvas canvas(&painter);
    PaintCalendar(canvas, w, h);
    if (m_view.showGrid) PaintPageGrid(canvas, w, h, m_view.shape, m_view.gridSize);
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
