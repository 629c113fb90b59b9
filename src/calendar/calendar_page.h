#pragma once
// TCalendarPage: a document's page apart from any window, for output (printing, PDF and image export,
// the command line). It holds what the page on screen draws from (settings, layout, the 42 cells, the
// placed objects and who owns them, the zoom, the grid) and draws, measures and prints with the same
// functions, so that its output is the page's own to the pixel. Creating one makes no widget.
#include <QByteArray>
#include <QImage>
#include <QObject>
#include <memory>
#include <vector>

#include "calendar/calendar_drawing.h"
#include "calendar/calendar_settings.h"
#include "calendar/cell_texts.h"
#include "calendar/layout_geometry.h"
#include "richtext/rtf_renderer.h"
#include "richtext/rtf_storage.h"
#include "surface/object_list.h"

namespace plennix {

class TGGraphicControl;
class TReport;

class TCalendarPage {
public:
    TCalendarPage();
    ~TCalendarPage();
    TCalendarPage(const TCalendarPage&) = delete;
    TCalendarPage& operator=(const TCalendarPage&) = delete;

    const CalendarSettings& Settings() const { return m_settings; }
    const LayoutResult& Layout() const { return m_layout; }
    const PageDrawState& DrawState() const { return m_state; }
    const CellStores& Cells() const { return m_cells; }

    // The cell's store (1..42), or `fallback` outside that range.
    TWPRtfStorage* CellRtf(int index, TWPRtfStorage* fallback = nullptr);
    void SetCellRtf(int index, const TWPRtfStorage& text);
    int CellOfDay(int day) const;
    int LayoutFamily() const;
    bool HasCellText() const;
    void ClearCellTexts();

    void SetUserTitle(const QString& v);
    void SetMainCalYear(int v);
    void SetMainCalMonth(int v);
    void SetMainCalDay(int v);

    float Zoom() const { return m_zoom; }
    // Scales every object to the zoom, as the page on screen does.
    void SetZoom(float zoom);
    // The page's size in pixels at its zoom.
    int Width() const;
    int Height() const;

    // The design grid the page on screen shows, drawn into the on-screen image (RenderPage).
    bool ShowGrid() const { return m_showGrid; }
    void SetShowGrid(bool v) { m_showGrid = v; }
    TGridSize GridSize() const { return m_gridSize; }
    void SetGridSize(TGridSize v) { m_gridSize = v; }
    TLabelShapeType Shape() const { return m_shape; }
    void SetShape(TLabelShapeType v) { m_shape = v; }

    const std::vector<TGGraphicControl*>& Objects() const { return m_list.Objects(); }
    TGObjectList& ObjectList() { return m_list; }
    const TGObjectList& ObjectList() const { return m_list; }
    const ObjectListReadReport& LastObjectReadReport() const { return m_list.LastReadReport(); }

    // Replaces the page with the document `bytes` hold (as a file holds it). Throws StreamError and
    // leaves the page as it was when they do not read; `whole`: objects left out (unreadable records,
    // more than a page carries) fail the read too.
    void LoadFromBytes(const QByteArray& bytes, bool whole = false);
    // The same from a document file; throws FileError when the file cannot be read, StreamError when
    // it does not read as a document.
    void LoadFromFile(const QString& path);
    QByteArray SaveToBytes() const;
    // Writes the document file atomically; throws StreamError (FileError) naming the file.
    void SaveToFile(const QString& path) const;

    // The calendar alone, at the page's zoom, without placed objects.
    QImage PaintToBitmap();
    // What a screen pass at the page's zoom leaves for printing (the cells' places and the cell-text
    // zoom), without drawing the page.
    void MeasureForPrint();
    // The page with its placed objects (and the grid when shown) as on screen.
    QImage RenderPage();
    void PrintPage(TReport& report, double xOffsetInch, double yOffsetInch);
    void ApplyPrinterOrientation(TReport& report) const;

private:
    void arrangeLayout();
    void replaceDocument(const std::function<void(QObject* owner)>& read);
    CellTextPainter cellPainter();

    CalendarSettings m_settings;
    LayoutResult m_layout;
    PageDrawState m_state;
    CellStores m_cells;
    TWPRtfStorage m_emptyStore;
    TWPRtfRenderer m_renderer;
    float m_zoom = 1.0f;
    bool m_showGrid = false;
    TGridSize m_gridSize = gs4x4;
    TLabelShapeType m_shape = lsRectangle;
    // Declared before their owner, so that the objects leave the list while it still stands.
    TGObjectList m_list;
    std::unique_ptr<QObject> m_owner;
};

}  // namespace plennix
