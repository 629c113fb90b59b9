#pragma once
// TCalendarPanel32: the page of a calendar document in the window, an editor over the TCalendarPage it
// holds. The page keeps the document (settings, layout, cells, placed objects) and how it is shown
// (zoom, grid), reads, writes, draws and prints it; the panel shows it, sizes itself to its layout,
// and adds what editing needs: the cell focus and keys, clicks on title, day names and cells, the
// design surface's selection, tools and menus, and what screen readers hear.
#include <QImage>
#include <functional>
#include <memory>

#include "calendar/calendar_page.h"
#include "surface/base_panel.h"

namespace plennix {

class TReport;

class TCalendarPanel32 : public TGBasePanel {
    Q_OBJECT
public:
    // `storedKind` applies the stored settings of the document page or of the properties preview.
    explicit TCalendarPanel32(QWidget* parent = nullptr, StoredPageKind storedKind = StoredPageKind::DocumentPage);
    ~TCalendarPanel32() override;

    // The page the panel shows. It changes through the panel, which shows every change (its size, the
    // objects' mouse routing, the selection).
    const TCalendarPage& Page() const { return *m_page; }
    const CalendarSettings& Settings() const { return m_page->Settings(); }
    const LayoutResult& Layout() const { return m_page->Layout(); }
    const PageDrawState& DrawState() const { return m_page->DrawState(); }

    // Settings. Setters ignore an unchanged value, then repaint or recompute the layout.
    void SetCalendarLayout(TCalendarLayout v);
    void SetCalendarOrientation(TCalendarOrientation v);
    void SetPaperSize(int v);
    void SetLeftMarginInch(float v);
    void SetTopMarginInch(float v);
    void SetRightMarginInch(float v);
    void SetBottomMarginInch(float v);
    void SetMainCalDay(int v);
    void SetMainCalMonth(int v);
    void SetMainCalYear(int v);
    void SetStartOfWeek(int v);
    void SetUserTitle(const QString& v);
    void SetDayStartTime(double v);
    void SetTitleFont(const FontRecord& v);
    void SetTitleBGColor(TColor v);
    void SetTitleShowYear(bool v);
    void SetHeadersFont(const FontRecord& v);
    void SetHeadersBGColor(TColor v);
    void SetHeadersStyle(TCalHeadersStyle v);
    void SetHeadersBorder(TCalBorderStyle v);
    void SetCellFont(const FontRecord& v);
    void SetCellBorder(TCalBorderStyle v);
    void SetCalendarBorder(TCalBorderStyle v);
    void SetNumberPosition(TCalendarNumberPosition v);
    void SetCalendarLineLayout(TCalendarLineLayout v);
    void SetMiniTitleFont(const FontRecord& v);
    void SetMiniHeadersFont(const FontRecord& v);
    void SetMiniCellFont(const FontRecord& v);
    void SetMiniHeadersBGColor(TColor v);
    void SetMiniCalBGColor(TColor v);
    void SetMiniHeadersStyle(TCalHeadersStyle v);
    void SetMiniShowYear(bool v);
    void SetMiniCalBorder(TCalBorderStyle v);
    void SetMiniHeadersBorder(TCalBorderStyle v);
    void SetMiniCellBorder(TCalBorderStyle v);
    void SetMiniCalendarLineLayout(TMiniCalendarLineLayout v);
    TLPanelState PanelState() const { return Settings().PanelState; }
    void SetPanelState(TLPanelState v);

    QString MonthName(int index, const QString& fallback = QString()) const { return Settings().MonthName(index, fallback); }
    void SetMonthName(int index, const QString& name);
    QString DayName(int index, const QString& fallback = QString()) const { return Settings().DayName(index, fallback); }
    void SetDayName(int index, const QString& name);

    // Operations.
    void ArrangeLayout(bool resetMiniFonts);
    void SetZoom(float zoom) override;
    // The cell's store (1..42), or `fallback` outside that range.
    TWPRtfStorage* CellRtf(int index, TWPRtfStorage* fallback = nullptr);
    void SetCellRtf(int index, const TWPRtfStorage& text);
    const CellStores& Cells() const { return m_page->Cells(); }
    int CellDay(int index) const;
    int CellOfDay(int day) const;
    int CellAtPoint(int x, int y) const;
    bool PointInCell(int x, int y) const;
    void ClickCellAt(int x, int y);
    void ClickCell(int index);
    void ClickPreviousCell(int index);
    void ClickNextCell(int index);
    void ClearCellTexts();
    bool HasCellText() const;
    bool HasDayCells() const;
    int LayoutFamily() const;
    bool HasSuperText() const;
    void AssignStyle(const TCalendarPanel32& source);
    void AssignStyle(const CalendarSettings& source);
    bool SameStyle(const TCalendarPanel32& other) const;
    void ResetToDefaults();
    // Files; each throws StreamError with the message to show. A document or style sheet read replaces
    // the page's whole or, when it fails, leaves the page (and the selection) exactly as it was.
    // Objects read belong to `owner`, or to the naming owner when null.
    void SaveToFile(const QString& path) const;
    void LoadFromFile(const QString& path, QObject* owner);
    // The document as its file would hold it, and back (undo snapshots); the reader throws StreamError.
    QByteArray SaveToBytes() const;
    // `whole`: objects left out (unreadable records, more than a page carries) fail the read too, as an
    // undo step or an output copy must hold every object of the document.
    void LoadFromBytes(const QByteArray& bytes, QObject* owner, bool whole = false);
    void SaveStyleSheet(const QString& path) const;
    void LoadStyleSheet(const QString& path);
    // The calendar alone, at the page's zoom, without placed objects.
    QImage PaintToBitmap();
    // What a screen pass at the page's zoom leaves for printing (the cells' places and the cell-text
    // zoom that printed cell texts are sized from), without drawing the page: for a page never shown.
    void MeasureForPrint();
    // The page with its placed objects as on screen (image export).
    QImage RenderPage();
    void PrintPage(TReport& report, double xOffsetInch, double yOffsetInch);
    void ApplyPrinterOrientation(TReport& report) const;

    // Events.
    std::function<void(const Rect& rTotal, const Rect& rFree, int iCell, int iDay, TWPRtfStorage& rtfstorage)>
        ClickedInCellEvent;
    std::function<void(QObject*)> OnClickedHeader;
    std::function<void(QObject*)> OnClickedDaysArea;
    std::function<void(QObject*)> OnClick;

    void CreateObjectInRect(const Rect& r) override;

    // The day cell the keyboard works on, drawn with a focus frame while the page has the focus: the
    // arrow keys move it, Enter or F2 opens its editor (or places the current tool's object there), the
    // Menu key opens the page's menu there. 0 before the page first has the focus.
    int FocusedCell() const { return m_focusCell; }
    // Moves the cell focus to a day cell (other cells are refused) and tells screen readers.
    void SetFocusedCell(int cell);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void PaintOverlay(Canvas& canvas) override;
    Rect KeyboardPlace() const override;
    void PaintPage(Canvas& canvas) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Shows a change of the page: a repaint, or the panel sized to the new layout.
    void apply(PageChange change);
    void fitToLayout();
    void replaceDocument(const std::function<void()>& read);
    void raiseCellEvent(int index);
    void clickAt(int x, int y);
    // The focused cell, first moved to today's or the first day cell when it is no day cell (none yet,
    // or the layout changed under it).
    int validFocusCell();
    int focusOrStartCell() const;
    // Where a new object goes: the drawn rectangle, or from the keyboard the object's own size at the
    // cell focus.
    Rect placementFor(const TGGraphicControl& object, const Rect& drawn) const;

    std::unique_ptr<TCalendarPage> m_page;
    bool m_painting = false;
    bool m_creating = false;
    bool m_ownPress = false;
    int m_focusCell = 0;
};

// Registers the placed-object classes that documents can name.
void RegisterCalendarObjectClasses();

}  // namespace plennix
