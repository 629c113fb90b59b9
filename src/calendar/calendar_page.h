#pragma once
// TCalendarPage: a calendar document's page apart from any window. It holds the document (settings,
// the layout's geometry, the 42 cells' rich text, the placed objects in z-order) and how it is shown
// (zoom, grid, shape, and what the last drawing pass left: the cells' places), and reads, writes,
// draws, measures and prints it. The window's page (TCalendarPanel32) is an editor over one of these;
// output copies (PageCopy) and the command line use one alone. Creating one makes no widget.
#include <QByteArray>
#include <QImage>
#include <QObject>
#include <functional>
#include <memory>
#include <vector>

#include "calendar/calendar_drawing.h"
#include "calendar/calendar_settings.h"
#include "calendar/cell_texts.h"
#include "calendar/layout_geometry.h"
#include "richtext/rtf_renderer.h"
#include "richtext/rtf_storage.h"
#include "surface/design_view.h"
#include "surface/object_list.h"

namespace plennix {

class TGGraphicControl;
class TReport;

// What a change of a setting asks of a view: nothing (the value was already set), a repaint, or a new
// size for the recomputed layout.
enum class PageChange { None, Repaint, Layout };

class TCalendarPage {
public:
    // `storedKind` applies the stored settings of the document page or of the properties preview.
    explicit TCalendarPage(StoredPageKind storedKind = StoredPageKind::DocumentPage);
    ~TCalendarPage();
    TCalendarPage(const TCalendarPage&) = delete;
    TCalendarPage& operator=(const TCalendarPage&) = delete;

    const CalendarSettings& Settings() const { return m_settings; }
    const LayoutResult& Layout() const { return m_layout; }
    const PageDrawState& DrawState() const { return m_state; }
    const CellStores& Cells() const { return m_cells; }

    // Settings. An unchanged value changes nothing; a setting the geometry depends on recomputes the
    // layout.
    PageChange SetCalendarLayout(TCalendarLayout v);
    PageChange SetCalendarOrientation(TCalendarOrientation v);
    PageChange SetPaperSize(int v);
    PageChange SetLeftMarginInch(float v);
    PageChange SetTopMarginInch(float v);
    PageChange SetRightMarginInch(float v);
    PageChange SetBottomMarginInch(float v);
    PageChange SetMainCalDay(int v);
    PageChange SetMainCalMonth(int v);
    PageChange SetMainCalYear(int v);
    PageChange SetStartOfWeek(int v);
    PageChange SetUserTitle(const QString& v);
    PageChange SetDayStartTime(double v);
    PageChange SetTitleFont(const FontRecord& v);
    PageChange SetTitleBGColor(TColor v);
    PageChange SetTitleShowYear(bool v);
    PageChange SetHeadersFont(const FontRecord& v);
    PageChange SetHeadersBGColor(TColor v);
    PageChange SetHeadersStyle(TCalHeadersStyle v);
    PageChange SetHeadersBorder(TCalBorderStyle v);
    PageChange SetCellFont(const FontRecord& v);
    PageChange SetCellBorder(TCalBorderStyle v);
    PageChange SetCalendarBorder(TCalBorderStyle v);
    PageChange SetNumberPosition(TCalendarNumberPosition v);
    PageChange SetCalendarLineLayout(TCalendarLineLayout v);
    PageChange SetMiniTitleFont(const FontRecord& v);
    PageChange SetMiniHeadersFont(const FontRecord& v);
    PageChange SetMiniCellFont(const FontRecord& v);
    PageChange SetMiniHeadersBGColor(TColor v);
    PageChange SetMiniCalBGColor(TColor v);
    PageChange SetMiniHeadersStyle(TCalHeadersStyle v);
    PageChange SetMiniShowYear(bool v);
    PageChange SetMiniCalBorder(TCalBorderStyle v);
    PageChange SetMiniHeadersBorder(TCalBorderStyle v);
    PageChange SetMiniCellBorder(TCalBorderStyle v);
    PageChange SetMiniCalendarLineLayout(TMiniCalendarLineLayout v);
    void SetPanelState(TLPanelState v) { m_settings.PanelState = v; }
    // Month 1..12 and day 1..7; other indexes change nothing.
    PageChange SetMonthName(int index, const QString& name);
    PageChange SetDayName(int index, const QString& name);

    void ArrangeLayout(bool resetMiniFonts);
    void AssignStyle(const CalendarSettings& source);
    bool SameStyle(const TCalendarPage& other) const { return m_settings.SameStyle(other.m_settings); }
    void ResetToDefaults();

    // Cells. The cell's store (1..42), or `fallback` outside that range.
    TWPRtfStorage* CellRtf(int index, TWPRtfStorage* fallback = nullptr);
    void SetCellRtf(int index, const TWPRtfStorage& text);
    // What the last drawing pass placed: the day a cell shows (0 none), the cell of a day, the cell
    // under a point (0 none).
    int CellDay(int index) const;
    int CellOfDay(int day) const;
    int CellAtPoint(int x, int y) const;
    bool PointInCell(int x, int y) const;
    int LayoutFamily() const;
    bool HasCellText() const;
    void ClearCellTexts();
    bool HasSuperText() const;

    // How the page is shown. The zoom scales every object's shown bounds; their document geometry
    // stays at 100 %.
    float Zoom() const { return m_view.zoom; }
    void SetZoom(float zoom);
    // The page's size in pixels at its zoom.
    int Width() const;
    int Height() const;
    bool ShowGrid() const { return m_view.showGrid; }
    void SetShowGrid(bool v) { m_view.showGrid = v; }
    TGridSize GridSize() const { return m_view.gridSize; }
    void SetGridSize(TGridSize v) { m_view.gridSize = v; }
    TLabelShapeType Shape() const { return m_view.shape; }
    void SetShape(TLabelShapeType v) { m_view.shape = v; }
    // Lent to the window that shows the page, which keeps it.
    TGDesignView& View() { return m_view; }
    const TGDesignView& View() const { return m_view; }

    const std::vector<TGGraphicControl*>& Objects() const { return m_list.Objects(); }
    TGObjectList& ObjectList() { return m_list; }
    const TGObjectList& ObjectList() const { return m_list; }
    const ObjectListReadReport& LastObjectReadReport() const { return m_list.LastReadReport(); }

    // Files. A read replaces the document whole or, when it throws, leaves settings, layout, cells,
    // objects (with their owners) and the read report exactly as they were. Objects read belong to
    // `owner` and are named uniquely among the children of `namingOwner`; both default to the page's
    // own.
    // The document `bytes` hold (as a file holds it); throws StreamError. `whole`: objects left out
    // (unreadable records, more than a page carries) fail the read too, as an undo step or an output
    // copy must hold every object of the document.
    void LoadFromBytes(const QByteArray& bytes, bool whole = false, QObject* owner = nullptr,
                       QObject* namingOwner = nullptr);
    // The same from a document file; throws FileError when the file cannot be read, StreamError when
    // it does not read as a document.
    void LoadFromFile(const QString& path, QObject* owner = nullptr, QObject* namingOwner = nullptr);
    QByteArray SaveToBytes() const;
    // Writes the document file atomically; throws StreamError (FileError) naming the file.
    void SaveToFile(const QString& path) const;
    void SaveStyleSheet(const QString& path) const;
    // A style sheet is applied whole or not at all; throws StreamError.
    void LoadStyleSheet(const QString& path);

    // Drawing. The calendar beneath the objects on a canvas of `width` x `height` pixels, at the zoom;
    // it leaves the cells' places for clicks and printing.
    void PaintCalendar(Canvas& canvas, int width, int height);
    // The calendar alone, at the page's zoom, without placed objects.
    QImage PaintToBitmap();
    // What a screen pass at the page's zoom leaves for printing (the cells' places and the cell-text
    // zoom), without drawing the page: for a page never shown.
    void MeasureForPrint();
    // The page with its placed objects (and the grid when shown) as on screen.
    QImage RenderPage();
    void PrintPage(TReport& report, double xOffsetInch, double yOffsetInch);
    void ApplyPrinterOrientation(TReport& report) const;

private:
    template <class T>
    PageChange setField(T& field, const T& value, bool relayout);
    void replaceDocument(const std::function<void(QObject* owner, QObject* namingOwner)>& read, QObject* owner,
                         QObject* namingOwner);
    CellTextPainter cellPainter();

    CalendarSettings m_settings;
    LayoutResult m_layout;
    PageDrawState m_state;
    CellStores m_cells;
    TWPRtfStorage m_emptyStore;
    TWPRtfRenderer m_renderer;
    TGDesignView m_view;
    // Declared before their owner, so that the objects leave the list while it still stands.
    TGObjectList m_list;
    std::unique_ptr<QObject> m_owner;
};

}  // namespace plennix
