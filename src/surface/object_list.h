#pragma once
// TGObjectList: the placed objects of a page in z-order (the list order, back to front), apart from any
// window. It hit-tests, reorders and paints them; what they report (a change of the document, an area
// to repaint, new bounds, leaving the page) goes to one observer, the view that shows the list. Reading
// a document fills a list; a window shows it by observing it.
#include <QPainterPath>
#include <vector>

#include "platform/canvas.h"
#include "platform/rect.h"
#include "surface/object_read_report.h"

namespace plennix {

class TGGraphicControl;
class TReport;

enum TLabelShapeType : uint8_t { lsRectangle, lsRoundRect, lsEllipse };
enum TGridSize : uint8_t { gs4x4, gs8x8 };

// What placed objects tell the view that shows their list. Every call has a default that does nothing,
// so a list without a view (a document read headless) needs none.
class TGObjectObserver {
public:
    virtual ~TGObjectObserver() = default;
    // The document changed through the object. Objects being read stay quiet themselves; a view that
    // is printing ignores the report.
    virtual void ObjectChanged(TGGraphicControl& object) {}
    // An area of the page, in page pixels, shows something new.
    virtual void ObjectNeedsRepaint(const Rect& area) {}
    // The object's bounds changed after it was read: a frame around it refits.
    virtual void ObjectBoundsChanged(TGGraphicControl& object) {}
    // The object leaves the list (while still on it): it must leave any selection too.
    virtual void ObjectRemoved(TGGraphicControl& object) {}
    // The object cannot be selected any more.
    virtual void ObjectMadeUnselectable(TGGraphicControl& object) {}
};

class TGObjectList {
public:
    TGObjectList() = default;
    // Objects without an owner belong to their list and die with it; owned ones just leave it.
    ~TGObjectList();
    TGObjectList(const TGObjectList&) = delete;
    TGObjectList& operator=(const TGObjectList&) = delete;

    const std::vector<TGGraphicControl*>& Objects() const { return m_objects; }
    int Count() const { return static_cast<int>(m_objects.size()); }
    TGGraphicControl* At(int index) const;
    int IndexOf(const TGGraphicControl* obj) const;
    // Top of the z-order is the end of the list.
    void BringToFront(TGGraphicControl* obj);
    void SendToBack(TGGraphicControl* obj);
    // The topmost visible object whose bounds contain the point, or null.
    TGGraphicControl* ObjectAtPoint(int x, int y) const;
    // Takes every object of `other`, in its order, on top of this list's own.
    void Adopt(TGObjectList& other);

    TGObjectObserver* Observer() const { return m_observer; }
    void SetObserver(TGObjectObserver* observer) { m_observer = observer; }

    // While a document is read or written by a window, objects draw nothing.
    bool PaintSuspended() const { return m_paintSuspended; }
    void SetPaintSuspended(bool v) { m_paintSuspended = v; }

    // Paints every visible object, each with the canvas at its own corner and clipped to its bounds.
    void Paint(Canvas& canvas) const;

    // What the last object list read into this list read and left out; cleared before a document is
    // opened.
    const ObjectListReadReport& LastReadReport() const { return m_lastReadReport; }
    void SetLastReadReport(const ObjectListReadReport& report) { m_lastReadReport = report; }
    void ClearLastReadReport() { m_lastReadReport = ObjectListReadReport(); }

    // Called by TGGraphicControl::SetList.
    void Insert(TGGraphicControl* obj);
    void Remove(TGGraphicControl* obj);

private:
    std::vector<TGGraphicControl*> m_objects;
    TGObjectObserver* m_observer = nullptr;
    bool m_paintSuspended = false;
    ObjectListReadReport m_lastReadReport;
};

// Prints every object of the list in z-order, offset by the margins in inches. Whatever one object
// sets, clips or moves on the printer does not reach the ones after it.
void PrintObjectList(const TGObjectList& list, TReport& report, double leftOffsetInch, double topOffsetInch);

// The design grid over a page of `width` x `height` pixels, clipped to the page's shape: dots every
// 4 or 8 pixels that darken what lies beneath.
void PaintPageGrid(Canvas& canvas, int width, int height, TLabelShapeType shape, TGridSize size);
// The outline of a page of that shape and size, which its pictures and grid are clipped to.
QPainterPath PageShapePath(TLabelShapeType shape, int width, int height);

}  // namespace plennix
