#include "calendar/calendar_panel.h"

#include <QApplication>
#include <QDate>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QScrollArea>

#include "calendar/page_accessible.h"
#include "calendar/page_cells.h"
#include "calendar/page_clicks.h"
#include "platform/numbers.h"
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
    : TGBasePanel(withPageAccessibility(parent)), m_page(std::make_unique<TCalendarPage>(storedKind)) {
    RegisterCalendarObjectClasses();
    ShowPage(&m_page->ObjectList(), &m_page->View());
    fitToLayout();
}

TCalendarPanel32::~TCalendarPanel32() {
    // The page goes before the design surface beneath: its objects leave the selection and stop
    // routing their mouse here first, and those the window owns outlive both untouched.
    ShowPage(nullptr, nullptr);
}

void TCalendarPanel32::fitToLayout() {
    resize(m_page->Layout().PanelWidth(Zoom()), m_page->Layout().PanelHeight(Zoom()));
    update();
}

void TCalendarPanel32::apply(PageChange change) {
    if (change == PageChange::Layout)
        fitToLayout();
    else if (change == PageChange::Repaint)
        update();
}

void TCalendarPanel32::SetCalendarLayout(TCalendarLayout v) { apply(m_page->SetCalendarLayout(v)); }
void TCalendarPanel32::SetCalendarOrientation(TCalendarOrientation v) { apply(m_page->SetCalendarOrientation(v)); }
void TCalendarPanel32::SetPaperSize(int v) { apply(m_page->SetPaperSize(v)); }
void TCalendarPanel32::SetLeftMarginInch(float v) { apply(m_page->SetLeftMarginInch(v)); }
void TCalendarPanel32::SetTopMarginInch(float v) { apply(m_page->SetTopMarginInch(v)); }
void TCalendarPanel32::SetRightMarginInch(float v) { apply(m_page->SetRightMarginInch(v)); }
void TCalendarPanel32::SetBottomMarginInch(float v) { apply(m_page->SetBottomMarginInch(v)); }
void TCalendarPanel32::SetMainCalDay(int v) { apply(m_page->SetMainCalDay(v)); }
void TCalendarPanel32::SetMainCalMonth(int v) { apply(m_page->SetMainCalMonth(v)); }
void TCalendarPanel32::SetMainCalYear(int v) { apply(m_page->SetMainCalYear(v)); }
void TCalendarPanel32::SetStartOfWeek(int v) { apply(m_page->SetStartOfWeek(v)); }
void TCalendarPanel32::SetUserTitle(const QString& v) { apply(m_page->SetUserTitle(v)); }
void TCalendarPanel32::SetDayStartTime(double v) { apply(m_page->SetDayStartTime(v)); }
void TCalendarPanel32::SetTitleFont(const FontRecord& v) { apply(m_page->SetTitleFont(v)); }
void TCalendarPanel32::SetTitleBGColor(TColor v) { apply(m_page->SetTitleBGColor(v)); }
void TCalendarPanel32::SetTitleShowYear(bool v) { apply(m_page->SetTitleShowYear(v)); }
void TCalendarPanel32::SetHeadersFont(const FontRecord& v) { apply(m_page->SetHeadersFont(v)); }
void TCalendarPanel32::SetHeadersBGColor(TColor v) { apply(m_page->SetHeadersBGColor(v)); }
void TCalendarPanel32::SetHeadersStyle(TCalHeadersStyle v) { apply(m_page->SetHeadersStyle(v)); }
void TCalendarPanel32::SetHeadersBorder(TCalBorderStyle v) { apply(m_page->SetHeadersBorder(v)); }
void TCalendarPanel32::SetCellFont(const FontRecord& v) { apply(m_page->SetCellFont(v)); }
void TCalendarPanel32::SetCellBorder(TCalBorderStyle v) { apply(m_page->SetCellBorder(v)); }
void TCalendarPanel32::SetCalendarBorder(TCalBorderStyle v) { apply(m_page->SetCalendarBorder(v)); }
void TCalendarPanel32::SetNumberPosition(TCalendarNumberPosition v) { apply(m_page->SetNumberPosition(v)); }
void TCalendarPanel32::SetCalendarLineLayout(TCalendarLineLayout v) { apply(m_page->SetCalendarLineLayout(v)); }
void TCalendarPanel32::SetMiniTitleFont(const FontRecord& v) { apply(m_page->SetMiniTitleFont(v)); }
void TCalendarPanel32::SetMiniHeadersFont(const FontRecord& v) { apply(m_page->SetMiniHeadersFont(v)); }
void TCalendarPanel32::SetMiniCellFont(const FontRecord& v) { apply(m_page->SetMiniCellFont(v)); }
void TCalendarPanel32::SetMiniHeadersBGColor(TColor v) { apply(m_page->SetMiniHeadersBGColor(v)); }
void TCalendarPanel32::SetMiniCalBGColor(TColor v) { apply(m_page->SetMiniCalBGColor(v)); }
void TCalendarPanel32::SetMiniHeadersStyle(TCalHeadersStyle v) { apply(m_page->SetMiniHeadersStyle(v)); }
void TCalendarPanel32::SetMiniShowYear(bool v) { apply(m_page->SetMiniShowYear(v)); }
void TCalendarPanel32::SetMiniCalBorder(TCalBorderStyle v) { apply(m_page->SetMiniCalBorder(v)); }
void TCalendarPanel32::SetMiniHeadersBorder(TCalBorderStyle v) { apply(m_page->SetMiniHeadersBorder(v)); }
void TCalendarPanel32::SetMiniCellBorder(TCalBorderStyle v) { apply(m_page->SetMiniCellBorder(v)); }
void TCalendarPanel32::SetMiniCalendarLineLayout(TMiniCalendarLineLayout v) { apply(m_page->SetMiniCalendarLineLayout(v)); }

void TCalendarPanel32::SetMonthName(int index, const QString& name) { apply(m_page->SetMonthName(index, name)); }
void TCalendarPanel32::SetDayName(int index, const QString& name) { apply(m_page->SetDayName(index, name)); }

void TCalendarPanel32::SetPanelState(TLPanelState v) {
    m_page->SetPanelState(v);
    SetPointing(v == TLPanelState::psPointing);
    SetScreenCursor(v == TLPanelState::psPointing ? QCursor(Qt::ArrowCursor) : QCursor(Qt::DragMoveCursor));
}

void TCalendarPanel32::ArrangeLayout(bool resetMiniFonts) {
    m_page->ArrangeLayout(resetMiniFonts);
    fitToLayout();
}

void TCalendarPanel32::SetZoom(float zoom) {
    if (zoom == Zoom()) return;
    // The base panel keeps the zoom in the page's view and shows the objects at it.
    TGBasePanel::SetZoom(zoom);
    // The page's size follows its layout at the new zoom, not the rounded ratio of the old size.
    fitToLayout();
}

TWPRtfStorage* TCalendarPanel32::CellRtf(int index, TWPRtfStorage* fallback) { return m_page->CellRtf(index, fallback); }

void TCalendarPanel32::SetCellRtf(int index, const TWPRtfStorage& text) {
    m_page->SetCellRtf(index, text);
    update();
}

int TCalendarPanel32::CellDay(int index) const { return m_page->CellDay(index); }
int TCalendarPanel32::CellOfDay(int day) const { return m_page->CellOfDay(day); }
int TCalendarPanel32::CellAtPoint(int x, int y) const { return m_page->CellAtPoint(x, y); }
bool TCalendarPanel32::PointInCell(int x, int y) const { return m_page->PointInCell(x, y); }

void TCalendarPanel32::raiseCellEvent(int index) {
    if (index < 1 || index > kCellCount || !ClickedInCellEvent) return;
    // The cell focus follows the cell being edited, so that Escape in the editor comes back to it.
    if (IsDayCell(Settings(), Layout(), index)) m_focusCell = index;
    const CellInfo& info = DrawState().cells[index - 1];
    ClickedInCellEvent(info.rTotal, info.rFree, index, info.iDay, *m_page->CellRtf(index));
}

void TCalendarPanel32::ClickCellAt(int x, int y) {
    const int cell = CellAtPoint(x, y);
    if (cell > 0) raiseCellEvent(cell);
}

void TCalendarPanel32::ClickCell(int index) { raiseCellEvent(index); }

void TCalendarPanel32::ClickPreviousCell(int index) {
    const int cell = PreviousTextCell(DrawState().cells, index);
    if (cell > 0) raiseCellEvent(cell);
}

void TCalendarPanel32::ClickNextCell(int index) {
    const int cell = NextTextCell(DrawState().cells, index);
    if (cell > 0) raiseCellEvent(cell);
}

void TCalendarPanel32::ClearCellTexts() {
    m_page->ClearCellTexts();
    update();
}

bool TCalendarPanel32::HasCellText() const { return m_page->HasCellText(); }
bool TCalendarPanel32::HasDayCells() const { return ::plennix::HasDayCells(Settings().CalendarLayout, isVisible()); }
int TCalendarPanel32::LayoutFamily() const { return m_page->LayoutFamily(); }
bool TCalendarPanel32::HasSuperText() const { return m_page->HasSuperText(); }

void TCalendarPanel32::AssignStyle(const TCalendarPanel32& source) { AssignStyle(source.Settings()); }

void TCalendarPanel32::AssignStyle(const CalendarSettings& source) {
    m_page->AssignStyle(source);
    fitToLayout();
}

bool TCalendarPanel32::SameStyle(const TCalendarPanel32& other) const { return m_page->SameStyle(*other.m_page); }

void TCalendarPanel32::ResetToDefaults() {
    m_page->ResetToDefaults();
    fitToLayout();
}

void TCalendarPanel32::SaveToFile(const QString& path) const { m_page->SaveToFile(path); }
QByteArray TCalendarPanel32::SaveToBytes() const { return m_page->SaveToBytes(); }

void TCalendarPanel32::LoadFromFile(const QString& path, QObject* owner) {
    QObject* names = NamingOwner();
    replaceDocument([&] { m_page->LoadFromFile(path, owner ? owner : names, names); });
}

void TCalendarPanel32::LoadFromBytes(const QByteArray& bytes, QObject* owner, bool whole) {
    QObject* names = NamingOwner();
    replaceDocument([&] { m_page->LoadFromBytes(bytes, whole, owner ? owner : names, names); });
}

void TCalendarPanel32::replaceDocument(const std::function<void()>& read) {
    // The page puts its document back as it was when the read fails; the selection, which its objects
    // left as they stepped aside, comes back with them.
    const std::vector<TGGraphicControl*> selection = Frame()->Selection();
    try {
        read();
    } catch (...) {
        for (TGGraphicControl* object : selection) Frame()->AddToSelection(object);
        fitToLayout();
        throw;
    }
    AttachObjects();
    fitToLayout();
}

void TCalendarPanel32::SaveStyleSheet(const QString& path) const { m_page->SaveStyleSheet(path); }

void TCalendarPanel32::LoadStyleSheet(const QString& path) {
    m_page->LoadStyleSheet(path);
    fitToLayout();
}

QImage TCalendarPanel32::PaintToBitmap() {
    QImage image = m_page->PaintToBitmap();
    update();
    return image;
}

void TCalendarPanel32::MeasureForPrint() { m_page->MeasureForPrint(); }

// What the design surface shows (its own painting path), which output copies of the page match.
QImage TCalendarPanel32::RenderPage() { return RenderToImage(); }

void TCalendarPanel32::PrintPage(TReport& report, double xOffsetInch, double yOffsetInch) {
    // Objects that change while they print are no change of the document.
    const bool wasPrinting = Printing();
    SetPrinting(true);
    const auto restore = qScopeGuard([this, wasPrinting] { SetPrinting(wasPrinting); });
    m_page->PrintPage(report, xOffsetInch, yOffsetInch);
}

void TCalendarPanel32::ApplyPrinterOrientation(TReport& report) const { m_page->ApplyPrinterOrientation(report); }

void TCalendarPanel32::PaintPage(Canvas& canvas) { m_page->PaintCalendar(canvas, width(), height()); }

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
    if (IsDayCell(Settings(), Layout(), m_focusCell)) return m_focusCell;
    const QDate today = QDate::currentDate();
    return StartCellFocus(Settings(), Layout(), CalDate{today.year(), today.month(), today.day()});
}

int TCalendarPanel32::validFocusCell() { return m_focusCell = focusOrStartCell(); }

void TCalendarPanel32::SetFocusedCell(int cell) {
    if (!IsDayCell(Settings(), Layout(), cell) || cell == m_focusCell) return;
    m_focusCell = cell;
    update();
    // The cell comes into view inside the window's scrolling area.
    const Rect r = DrawState().cells[cell - 1].rTotal;
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
        auto step = [this](CellStep s) { SetFocusedCell(StepCellFocus(Settings(), Layout(), validFocusCell(), s)); };
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
    return cell > 0 ? DrawState().cells[cell - 1].rTotal : Rect{};
}

void TCalendarPanel32::PaintOverlay(Canvas& canvas) {
    TGBasePanel::PaintOverlay(canvas);
    if (!hasFocus() || !IsDayCell(Settings(), Layout(), m_focusCell)) return;
    const Rect r = DrawState().cells[m_focusCell - 1].rTotal;
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
    const bool pointing = Settings().PanelState == TLPanelState::psPointing;
    m_ownPress = false;
    TGBasePanel::mouseReleaseEvent(event);
    if (own && pointing && event->button() == Qt::LeftButton) {
        const QPoint p = event->position().toPoint();
        clickAt(p.x(), p.y());
    }
}

void TCalendarPanel32::clickAt(int x, int y) {
    if (Settings().PanelState != TLPanelState::psPointing) return;
    const ClickDispatch d =
        DispatchClick(DrawState(), Layout(), Settings().PanelState, x, y, IsObjectAt(x, y), bool(ClickedInCellEvent));
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
    switch (Settings().PanelState) {
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
