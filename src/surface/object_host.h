#pragma once
// TGObjectHost: a widget that shows windowless placed objects. It shows one list (TGObjectList: the
// z-order, back to front), its own or one a page lends it, and observes it, paints them through the
// Canvas, hit-tests them and routes mouse input to them the way a window routes input to its windowless
// controls: a press goes to the topmost object under the pointer, which then receives moves and the
// release until the button is up.
#include <QWidget>
#include <vector>

#include "platform/canvas.h"
#include "platform/rect.h"
#include "surface/object_list.h"
#include "surface/object_read_report.h"

namespace plennix {

class TGGraphicControl;

class TGObjectHost : public QWidget, public TGObjectObserver {
    Q_OBJECT
public:
    explicit TGObjectHost(QWidget* parent = nullptr);
    ~TGObjectHost() override;

    // The objects shown; an object joins with obj->SetList(&host.ObjectList()).
    TGObjectList& ObjectList() { return *m_list; }
    const TGObjectList& ObjectList() const { return *m_list; }
    const std::vector<TGGraphicControl*>& Objects() const { return m_list->Objects(); }
    int ObjectCount() const { return m_list->Count(); }
    TGGraphicControl* ObjectAt(int index) const { return m_list->At(index); }
    int IndexOfObject(const TGGraphicControl* obj) const { return m_list->IndexOf(obj); }
    // Top of the z-order is the end of the list.
    void BringObjectToFront(TGGraphicControl* obj) { m_list->BringToFront(obj); }
    void SendObjectToBack(TGGraphicControl* obj) { m_list->SendToBack(obj); }
    // The topmost visible object whose bounds contain the point, or null.
    TGGraphicControl* ObjectAtPoint(int x, int y) const { return m_list->ObjectAtPoint(x, y); }
    // The component whose children names must be unique (the page's owner); the host when unset.
    QObject* NamingOwner() const;
    void SetNamingOwner(QObject* owner) { m_namingOwner = owner; }
    // Zoom of the host; plain hosts keep 1.0.
    virtual float HostZoom() const { return 1.0f; }
    // Paints every visible object, each with the canvas at its own corner and clipped to its bounds.
    void PaintObjects(Canvas& canvas);
    // Renders the host (background and objects) into an image of its size.
    QImage RenderToImage();

    // The object that holds the mouse since its press, if any.
    TGGraphicControl* CapturedObject() const { return m_captured; }

    // What the last object list read onto this host read and left out; cleared with
    // ClearLastObjectReadReport before a document is opened.
    const ObjectListReadReport& LastObjectReadReport() const { return m_list->LastReadReport(); }
    void SetLastObjectReadReport(const ObjectListReadReport& report) { m_list->SetLastReadReport(report); }
    void ClearLastObjectReadReport() { m_list->ClearLastReadReport(); }

    // What the objects report: a repaint of their area; a leaving object loses the mouse.
    void ObjectNeedsRepaint(const Rect& area) override;
    void ObjectRemoved(TGGraphicControl& object) override;

protected:
    // Shows `list` (a page's, which outlives the host's use of it) instead of the host's own, or the
    // host's own again when null. The list shown before loses its observer; its objects keep their
    // places. A host whose page goes before it shows its own list again first.
    void ShowList(TGObjectList* list);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

    // The host's own background; white by default.
    virtual void PaintBackground(Canvas& canvas);
    // Drawn above the objects (selection squares, rubber band and drag outlines).
    virtual void PaintOverlay(Canvas& canvas) {}
    // Mouse input on the host itself (no object under the pointer), in host pixels.
    virtual void HostMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {}
    virtual void HostMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x, int y) {}
    virtual void HostMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {}
    virtual void HostDoubleClick(int x, int y) {}
    // Lets a subclass take the mouse (a captured selection frame); true when it consumed the event.
    virtual bool RouteCapturedMouse(QMouseEvent* event) { return false; }
    // The pointer left an object.
    virtual void ObjectMouseLeft(TGGraphicControl* obj) {}

private:
    // A plain host's objects (previews in dialogs, tests); unused while a page lends its list.
    TGObjectList m_ownList;
    TGObjectList* m_list = &m_ownList;
    TGGraphicControl* m_captured = nullptr;
    TGGraphicControl* m_hovered = nullptr;
    QObject* m_namingOwner = nullptr;
};

// The host widget that shows a list (its observer), or null.
TGObjectHost* HostOfList(const TGObjectList* list);
// The host widget that shows an object, or null.
TGObjectHost* HostOf(const TGGraphicControl& object);

}  // namespace plennix
