#include "calendar/calendar_panel.h"

#include <QApplication>
#include <QDate>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>

#include "calendar/calendar_files.h"
#include "calendar/calendar_print.h"
#include "calendar/page_accessible.h"
#include "calendar/page_cells.h"
#include "calendar/page_clicks.h"
#include "platform/numbers.h"
#include "platform/stream_error.h"
#include "printing/report.h"
#include "surface/handle.h"
#include "surface/label.h"
#include "surface/label_commands.h"
#include "objects/flat_calendar.h"
#include "objects/image_object.h"
#include "objects/object_classes.h"
#include "objects/object_commands.h"
#include "objects/rich_label.h"
#include "objects/super_text.h"

namespace plennix {

void RegisterCalendarObjectClasses() {
    RegisterLabelClasses();
    RegisterDecorativeObjectClasses();
    RegisterDecorativeObjectCommands();
}

namespace {
// Screen readers ask for the selection frame's interface while the base panel makes it, and the first
// answer is kept: the page's interfaces must be known before.
QWidget* withPageAccessibility(QWidget* parent) {
    InstallPageAccessibility();
    return parent;
}
}  // namespace

TCalendarPanel32::TCalendarPanel32(QWidget* parent, StoredPageKind storedKind)
    : TGBasePanel(withPageAccessibility(parent)) {
    RegisterCalendarObjectClasses();
    m_layout = ::plennix::ArrangeLayout(m_settings, true, m_layout);
    ApplyStoredPageSettings(m_settings, storedKind);
    ArrangeLayout(false);
}

TCalendarPanel32::~TCalendarPanel32() = default;

template <class T>
void TCalendarPanel32::setField(T& field, const T& value, bool relayout) {
    if (field == value) return;
    field = value;
    if (relayout)
        ArrangeLayout(false);
    else
        update();
}

void TCalendarPanel32::SetCalendarLayout(TCalendarLayout v) { setField(m_settings.CalendarLayout, v, true); }
void TCalendarPanel32::SetCalendarOrientation(TCalendarOrientation v) { setField(m_settings.CalendarOrientation, v, true); }
void TCalendarPanel32::SetPaperSize(int v) { setField(m_settings.PaperSize, static_cast<uint8_t>(v == 1 ? 1 : 0), true); }
void TCalendarPanel32::SetLeftMarginInch(float v) { setField(m_settings.LeftMarginInch, v, true); }
void TCalendarPanel32::SetTopMarginInch(float v) { setField(m_settings.TopMarginInch, v, true); }
void TCalendarPanel32::SetRightMarginInch(float v) { setField(m_settings.RightMarginInch, v, true); }
void TCalendarPanel32::SetBottomMarginInch(float v) { setField(m_settings.BottomMarginInch, v, true); }
void TCalendarPanel32::SetMainCalDay(int v) { setField(m_settings.MainCalDay, v, true); }
void TCalendarPanel32::SetMainCalMonth(int v) { setField(m_settings.MainCalMonth, v, true); }
void TCalendarPanel32::SetMainCalYear(int v) { setField(m_settings.MainCalYear, v, true); }
void TCalendarPanel32::SetStartOfWeek(int v) { setField(m_settings.StartOfWeek, v, false); }
void TCalendarPanel32::SetUserTitle(const QString& v) { setField(m_settings.UserTitle, v, false); }
void TCalendarPanel32::SetDayStartTime(double v) { setField(m_settings.DayStartTime, v, true); }
void TCalendarPanel32::SetTitleFont(const FontRecord& v) { setField(m_settings.TitleFont, v, false); }
void TCalendarPanel32::SetTitleBGColor(TColor v) { setField(m_settings.TitleBGColor, v, false); }
void TCalendarPanel32::SetTitleShowYear(bool v) { setField(m_settings.TitleShowYear, v, false); }
void TCalendarPanel32::SetHeadersFont(const FontRecord& v) { setField(m_settings.HeadersFont, v, false); }
void TCalendarPanel32::SetHeadersBGColor(TColor v) { setField(m_settings.HeadersBGColor, v, false); }
void TCalendarPanel32::SetHeadersStyle(TCalHeadersStyle v) { setField(m_settings.HeadersStyle, v, false); }
void TCalendarPanel32::SetHeadersBorder(TCalBorderStyle v) { setField(m_settings.HeadersBorder, v, false); }
void TCalendarPanel32::SetCellFont(const FontRecord& v) { setField(m_settings.CellFont, v, false); }
void TCalendarPanel32::SetCellBorder(TCalBorderStyle v) { setField(m_settings.CellBorder, v, false); }
void TCalendarPanel32::SetCalendarBorder(TCalBorderStyle v) { setField(m_settings.CalendarBorder, v, false); }
void TCalendarPanel32::SetNumberPosition(TCalendarNumberPosition v) { setField(m_settings.NumberPosition, v, false); }
void TCalendarPanel32::SetMiniTitleFont(const FontRecord& v) { setField(m_settings.MiniTitleFont, v, false); }
void TCalendarPanel32::SetMiniHeadersFont(const FontRecord& v) { setField(m_settings.MiniHeadersFont, v, false); }
void TCalendarPanel32::SetMiniCellFont(const FontRecord& v) { setField(m_settings.MiniCellFont, v, false); }
void TCalendarPanel32::SetMiniHeadersBGColor(TColor v) { setField(m_settings.MiniHeadersBGColor, v, false); }
void TCalendarPanel32::SetMiniCalBGColor(TColor v) { setField(m_settings.MiniCalBGColor, v, false); }
void TCalendarPanel32::SetMiniHeadersStyle(TCalHeadersStyle v) { setField(m_settings.MiniHeadersStyle, v, false); }
void TCalendarPanel32::SetMiniShowYear(bool v) { setField(m_settings.MiniShowYear, v, false); }
void TCalendarPanel32::SetMiniCalBorder(TCalBorderStyle v) { setField(m_settings.MiniCalBorder, v, false); }
void TCalendarPanel32::SetMiniHeadersBorder(TCalBorderStyle v) { setField(m_settings.MiniHeadersBorder, v, false); }
void TCalendarPanel32::SetMiniCellBorder(TCalBorderStyle v) { setField(m_settings.MiniCellBorder, v, false); }

void TCalendarPanel32::SetCalendarLineLayout(TCalendarLineLayout v) {
    if (m_settings.SetCalendarLineLayout(v)) update();
}

void TCalendarPanel32::SetMiniCalendarLineLayout(TMiniCalendarLineLayout v) {
    if (m_settings.SetMiniCalendarLineLayout(v)) update();
}

void TCalendarPanel32::SetMonthName(int index, const QString& name) {
    if (index < 1 || index > 12) return;
    m_settings.SetMonthName(index, name);
    update();
}

void TCalendarPanel32::SetDayName(int index, const QString& name) {
    if (index < 1 || index > 7) return;
    m_settings.SetDayName(index, name);
    update();
}

void TCalendarPanel32::SetPanelState(TLPanelState v) {
    m_settings.PanelState = v;
    SetPointing(v == TLPanelState::psPointing);
    SetScreenCursor(v == TLPanelState::psPointing ? QCursor(Qt::ArrowCursor) : QCursor(Qt::DragMoveCursor));
}

void TCalendarPanel32::ArrangeLayout(bool resetMiniFonts) {
    m_layout = ::plennix::ArrangeLayout(m_settings, resetMiniFonts, m_layout);
    resize(m_layout.PanelWidth(Zoom()), m_layout.PanelHeight(Zoom()));
    update();
}

void TCalendarPanel32::SetZoom(float zoom) {
    if (zoom == Zoom()) return;
    TGBasePanel::SetZoom(zoom);
    // The page's size follows its layout at the new zoom, not the rounded ratio of the old size.
    resize(m_layout.PanelWidth(Zoom()), m_layout.PanelHeight(Zoom()));
    update();
}

TWPRtfStorage* TCalendarPanel32::CellRtf(int index, TWPRtfStorage* fallback) {
    if (index < 1 || index > kCellCount) return fallback;
    return &m_cells[index - 1];
}

void TCalendarPanel32::SetCellRtf(int index, const TWPRtfStorage& text) {
    if (index < 1 || index > kCellCount) return;
    m_cells[index - 1] = text;
    update();
}

int TCalendarPanel32::CellDay(int index) const {
    if (index < 1 || index > kCellCount) return 0;
    return m_state.cells[index - 1].iDay;
}

int TCalendarPanel32::CellOfDay(int day) const { return ::plennix::CellOfDay(m_state.cells, day); }
int TCalendarPanel32::CellAtPoint(int x, int y) const { return ::plennix::CellAtPoint(m_state.cells, x, y); }
bool TCalendarPanel32::PointInCell(int x, int y) const { return ::plennix::PointInCell(m_state.cells, x, y); }

void TCalendarPanel32::raiseCellEvent(int index) {
    if (index < 1 || index > kCellCount || !ClickedInCellEvent) return;
    // The cell focus follows the cell being edited, so that Escape in the editor comes back to it.
    if (IsDayCell(m_settings, m_layout, index)) m_focusCell = index;
    const CellInfo& info = m_state.cells[index - 1];
    ClickedInCellEvent(info.rTotal, info.rFree, index, info.iDay, m_cells[index - 1]);
}

void TCalendarPanel32::ClickCellAt(int x, int y) {
    const int cell = CellAtPoint(x, y);
    if (cell > 0) raiseCellEvent(cell);
}

void TCalendarPanel32::ClickCell(int index) { raiseCellEvent(index); }

void TCalendarPanel32::ClickPreviousCell(int index) {
    const int cell = PreviousTextCell(m_state.cells, index);
    if (cell > 0) raiseCellEvent(cell);
}

void TCalendarPanel32::ClickNextCell(int index) {
    const int cell = NextTextCell(m_state.cells, index);
    if (cell > 0) raiseCellEvent(cell);
}

void TCalendarPanel32::ClearCellTexts() {
    for (auto& cell : m_cells) cell = m_emptyStore;
    ClearCellRects(m_state.cells);
    update();
}

bool TCalendarPanel32::HasCellText() const { return ::plennix::HasCellText(m_cells); }
bool TCalendarPanel32::HasDayCells() const { return ::plennix::HasDayCells(m_settings.CalendarLayout, isVisible()); }
int TCalendarPanel32::LayoutFamily() const { return ::plennix::LayoutFamily(m_settings.CalendarLayout); }

bool TCalendarPanel32::HasSuperText() const {
    for (TGGraphicControl* o : Objects())
        if (o->ClassName() == QLatin1String("TGSuperText")) return true;
    return false;
}

void TCalendarPanel32::AssignStyle(const TCalendarPanel32& source) { AssignStyle(source.m_settings); }

void TCalendarPanel32::AssignStyle(const CalendarSettings& source) {
    m_settings.AssignStyle(source);
    ArrangeLayout(false);
}

bool TCalendarPanel32::SameStyle(const TCalendarPanel32& other) const { return m_settings.SameStyle(other.m_settings); }

void TCalendarPanel32::ResetToDefaults() {
    m_settings.ResetToDefaults(QDate::currentDate());
    ArrangeLayout(true);
}

void TCalendarPanel32::SaveToFile(const QString& path) const {
    std::vector<const TGGraphicControl*> objects(Objects().begin(), Objects().end());
    SaveDocumentFile(path, m_settings, m_cells, objects);
}

void TCalendarPanel32::LoadFromFile(const QString& path, QObject* owner) {
    replaceDocument([&](QObject* objectOwner) {
        LoadDocumentFile(path, m_settings, m_cells, objectOwner, &ObjectList(), NamingOwner());
    }, owner);
}

QByteArray TCalendarPanel32::SaveToBytes() const {
    std::vector<const TGGraphicControl*> objects(Objects().begin(), Objects().end());
    return WriteDocument(m_settings, m_cells, objects);
}

void TCalendarPanel32::LoadFromBytes(const QByteArray& bytes, QObject* owner, bool whole) {
    replaceDocument([&](QObject* objectOwner) {
        StreamReader r(bytes);
        ReadDocument(r, m_settings, m_cells, objectOwner, &ObjectList(), NamingOwner());
        ObjectListReadReport report = LastObjectReadReport();
        if (whole && (report.unreadable > 0 || report.overLimit > 0)) {
            // Pictures a rich text leaves out are left out of the page on screen as well; objects are not.
            report.richText = RtfReadReport();
            throw StreamError(ObjectListReadMessage(report, QStringLiteral("the document")));
        }
    }, owner);
}

void TCalendarPanel32::replaceDocument(const std::function<void(QObject* owner)>& read, QObject* owner) {
    // The page's own objects step aside (kept alive, with their names, selection gone) while the new
    // document is read, so that a failure can put everything back as it was: a damaged file never
    // half-changes the document on screen.
    const CalendarSettings settings = m_settings;
    const CellStores cells = m_cells;
    const ObjectListReadReport report = LastObjectReadReport();
    const std::vector<TGGraphicControl*> selection = Frame()->Selection();
    std::vector<std::pair<TGGraphicControl*, QObject*>> previous;
    for (TGGraphicControl* o : Objects()) previous.emplace_back(o, o->parent());
    QObject aside;
    ClearLastObjectReadReport();
    for (const auto& [object, objectOwner] : previous) {
        object->SetList(nullptr);
        object->setParent(&aside);
    }
    for (auto& cell : m_cells) cell = m_emptyStore;
    // A document without a title of its own (written before titles were kept) has none.
    m_settings.UserTitle.clear();
    try {
        read(owner ? owner : NamingOwner());
    } catch (...) {
        ClearObjects();
        m_settings = settings;
        m_cells = cells;
        for (const auto& [object, objectOwner] : previous) {
            object->setParent(objectOwner);
            object->SetList(&ObjectList());
        }
        for (TGGraphicControl* object : selection) Frame()->AddToSelection(object);
        SetLastObjectReadReport(report);
        ArrangeLayout(false);
        throw;
    }
    AttachObjects();
    ArrangeLayout(false);
}

void TCalendarPanel32::SaveStyleSheet(const QString& path) const { SaveStyleSheetFile(path, m_settings); }

void TCalendarPanel32::LoadStyleSheet(const QString& path) {
    // A style sheet is applied whole or not at all.
    CalendarSettings read = m_settings;
    LoadStyleSheetFile(path, read);
    m_settings = read;
    ArrangeLayout(false);
}

CellTextPainter TCalendarPanel32::cellPainter() { return MakeCellTextPainter(m_cells, m_renderer); }

QImage TCalendarPanel32::PaintToBitmap() {
    const CellTextPainter texts = cellPainter();
    QImage image = ::plennix::PaintToBitmap(m_settings, m_layout, Zoom(), m_state, &texts);
    update();
    return image;
}

void TCalendarPanel32::MeasureForPrint() {
    if (m_layout.PanelWidth(Zoom()) <= 0 || m_layout.PanelHeight(Zoom()) <= 0) return;
    // The layout and the fonts' metrics are those of a full pass; the drawing is clipped to one pixel
    // and the cell texts are not laid out at all.
    QImage target(1, 1, QImage::Format_RGB32);
    QPainter painter(&target);
    Canvas canvas(&painter);
    PaintCalendarPage(canvas, m_settings, m_layout, Zoom(), m_state, nullptr);
    if (HasCellText()) m_renderer.SetZoomPercent(ZoomPercent(Zoom()));
}

QImage TCalendarPanel32::RenderPage() { return RenderToImage(); }

void TCalendarPanel32::PrintPage(TReport& report, double xOffsetInch, double yOffsetInch) {
    const CellTextPainter texts = cellPainter();
    PageDrawState printState;
    const bool wasPrinting = Printing();
    SetPrinting(true);
    ::plennix::PrintPage(report, m_settings, m_layout, m_state.cell1Text, xOffsetInch, yOffsetInch, printState, &texts);
    PrintObjects(report, xOffsetInch, yOffsetInch);
    SetPrinting(wasPrinting);
}

void TCalendarPanel32::ApplyPrinterOrientation(TReport& report) const { ::plennix::ApplyPrinterOrientation(report, m_settings); }

void TCalendarPanel32::PaintPage(Canvas& canvas) {
    const CellTextPainter texts = cellPainter();
    canvas.FillRect({0, 0, width(), height()}, clWhite);
    PaintCalendarPage(canvas, m_settings, m_layout, Zoom(), m_state, &texts);
}

void TCalendarPanel32::paintEvent(QPaintEvent* event) {
    // A paint that lets messages run (a cell text's pictures) must not start a second one.
    if (m_painting) return;
    m_painting = true;
    TGBasePanel::paintEvent(event);
    m_painting = false;
    // Every object that comes or goes repaints the page.
    AnnounceObjectChanges(*this);
}

// ---- keyboard ----

int TCalendarPanel32::focusOrStartCell() const {
    if (IsDayCell(m_settings, m_layout, m_focusCell)) return m_focusCell;
    const QDate today = QDate::currentDate();
    return StartCellFocus(m_settings, m_layout, CalDate{today.year(), today.month(), today.day()});
}

int TCalendarPanel32::validFocusCell() { return m_focusCell = focusOrStartCell(); }

void TCalendarPanel32::SetFocusedCell(int cell) {
    if (!IsDayCell(m_settings, m_layout, cell) || cell == m_focusCell) return;
    m_focusCell = cell;
    update();
    // The cell comes into view inside the window's scrolling area.
    const Rect r = m_state.cells[cell - 1].rTotal;
    for (QWidget* w = parentWidget(); w && !r.isEmpty(); w = w->parentWidget()) {
        if (auto* area = qobject_cast<QScrollArea*>(w)) {
            const QPoint c = mapTo(area->widget(), QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
            area->ensureVisible(c.x(), c.y(), (r.right - r.left) / 2 + 4, (r.bottom - r.top) / 2 + 4);
            break;
        }
    }
    if (hasFocus()) AnnounceCellFocus(*this, cell);
}

void TCalendarPanel32::keyPressEvent(QKeyEvent* event) {
    const bool plain = !(event->modifiers() & ~Qt::KeypadModifier);
    if (plain && hasFocus()) {
        auto step = [this](CellStep s) { SetFocusedCell(StepCellFocus(m_settings, m_layout, validFocusCell(), s)); };
        switch (event->key()) {
        case Qt::Key_Left: step(CellStep::Left); break;
        case Qt::Key_Right: step(CellStep::Right); break;
        case Qt::Key_Up: step(CellStep::Up); break;
        case Qt::Key_Down: step(CellStep::Down); break;
        case Qt::Key_Home: step(CellStep::First); break;
        case Qt::Key_End: step(CellStep::Last); break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_F2:
            // With the pointer, the cell opens as a click on it opens it; a design tool places instead.
            if (Pointing() && validFocusCell() > 0) {
                ClickCell(m_focusCell);
                return;
            }
            break;
        default: break;
        }
    }
    TGBasePanel::keyPressEvent(event);
}

void TCalendarPanel32::focusInEvent(QFocusEvent* event) {
    TGBasePanel::focusInEvent(event);
    validFocusCell();
    update();
    // After the focus event of the page itself, so that a screen reader ends on the cell.
    QMetaObject::invokeMethod(
        this, [this] { if (hasFocus()) AnnounceCellFocus(*this, m_focusCell); }, Qt::QueuedConnection);
}

void TCalendarPanel32::focusOutEvent(QFocusEvent* event) {
    TGBasePanel::focusOutEvent(event);
    update();
}

Rect TCalendarPanel32::KeyboardPlace() const {
    const int cell = focusOrStartCell();
    return cell > 0 ? m_state.cells[cell - 1].rTotal : Rect{};
}

void TCalendarPanel32::PaintOverlay(Canvas& canvas) {
    TGBasePanel::PaintOverlay(canvas);
    if (!hasFocus() || !IsDayCell(m_settings, m_layout, m_focusCell)) return;
    const Rect r = m_state.cells[m_focusCell - 1].rTotal;
    if (r.isEmpty()) return;
    // Two dotted rectangles just inside the cell's lines, inverting what lies beneath so that they
    // show on any background.
    canvas.SetPenMode(PenMode::pmXor);
    canvas.SetPen(clWhite, 1, PenStyle::psDot);
    canvas.SetBrushClear();
    canvas.Rectangle(r.inflated(-2, -2));
    canvas.Rectangle(r.inflated(-3, -3));
    canvas.SetPen(clBlack, 1, PenStyle::psSolid);
    canvas.SetPenMode(PenMode::pmCopy);
}

void TCalendarPanel32::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    m_ownPress = !(Frame()->HasCapture() && Frame()->isVisible()) && !ObjectAtPoint(p.x(), p.y());
    TGBasePanel::mousePressEvent(event);
}

void TCalendarPanel32::mouseReleaseEvent(QMouseEvent* event) {
    const bool own = m_ownPress && !(Frame()->HasCapture() && Frame()->isVisible()) && !CapturedObject();
    // A release that ends a placement returns the tool to pointing; it is no click on a cell.
    const bool pointing = m_settings.PanelState == TLPanelState::psPointing;
    m_ownPress = false;
    TGBasePanel::mouseReleaseEvent(event);
    if (own && pointing && event->button() == Qt::LeftButton) {
        const QPoint p = event->position().toPoint();
        clickAt(p.x(), p.y());
    }
}

void TCalendarPanel32::clickAt(int x, int y) {
    if (m_settings.PanelState != TLPanelState::psPointing) return;
    const ClickDispatch d =
        DispatchClick(m_state, m_layout, m_settings.PanelState, x, y, IsObjectAt(x, y), bool(ClickedInCellEvent));
    if (d.clickedHeader && OnClickedHeader) OnClickedHeader(this);
    if (d.clickedDaysArea && OnClickedDaysArea) OnClickedDaysArea(this);
    if (d.clickedInCell) raiseCellEvent(d.cell);
    if (d.click && OnClick) OnClick(this);
}

Rect TCalendarPanel32::placementFor(const TGGraphicControl& object, const Rect& drawn) const {
    if (!PlacingFromKeyboard()) return PlacementRect(drawn);
    int width = roundHalfEven(object.Width() * static_cast<double>(Zoom()));
    int height = roundHalfEven(object.Height() * static_cast<double>(Zoom()));
    if (width <= 0 || height <= 0) {
        // A kind without a size of its own (the mini calendar) fills the focused cell.
        const Rect cell = KeyboardPlace();
        width = cell.right - cell.left - 4;
        height = cell.bottom - cell.top - 4;
        if (width <= 0 || height <= 0) return PlacementRect(drawn);
    }
    return KeyboardPlacement(Point{drawn.left, drawn.top}, width, height, this->width(), this->height());
}

void TCalendarPanel32::CreateObjectInRect(const Rect& rect) {
    if (m_creating) return;
    m_creating = true;
    QObject* owner = NamingOwner();
    switch (m_settings.PanelState) {
        case TLPanelState::psLabel: {
            auto* label = new TGPLabel(owner);
            label->Loaded();
            label->SetCaption(QStringLiteral("Enter text..."));
            FontRecord font = PanelFont();
            font.setSize(20);
            label->SetFont(font);
            label->SetTransparent(false);
            label->SetBorderStyle(bsSingle);
            AddObject(label, placementFor(*label, rect));
            SetPanelState(TLPanelState::psPointing);
            EditLabelCaption(*label);
            break;
        }
        case TLPanelState::psImage: {
            auto* image = new TGImage(owner);
            image->Loaded();
            AddObject(image, placementFor(*image, rect));
            SetPanelState(TLPanelState::psPointing);
            LoadImageFromDisk(*image);
            break;
        }
        case TLPanelState::psFlatCalendar: {
            auto* calendar = new TGFlatCalendar(owner);
            calendar->Loaded();
            AddObject(calendar, placementFor(*calendar, rect));
            SetPanelState(TLPanelState::psPointing);
            break;
        }
        case TLPanelState::psRichLabel: {
            auto* label = new TGPRichBaseLabel(owner);
            label->Loaded();
            AddObject(label, placementFor(*label, rect));
            SetPanelState(TLPanelState::psPointing);
            label->SetTransparent(false);
            label->SetBorderStyle(bsSingle);
            EditRichLabel(*label);
            break;
        }
        case TLPanelState::psSuperText: {
            auto* text = TGSuperText::CreateForTool(owner);
            text->Loaded();
            AddObject(text, placementFor(*text, rect));
            SetPanelState(TLPanelState::psPointing);
            text->SetBorderStyle(bsSingle);
            text->SetControlTransparent(false);
            text->SetBGColor(clWhite);
            EditSuperTextProperties(*text);
            break;
        }
        default:
            // Kinds whose class is not part of this build create nothing.
            SetPanelState(TLPanelState::psPointing);
            break;
    }
    m_creating = false;
}

}  // namespace plennix
