#pragma once
// TGBasePanel: the design surface. It paints the page background (pictures clipped to a shape, an
// outline, the dot grid), routes all mouse input of its objects through itself, keeps one selection
// frame, offers the rubber band (select, or outline a new object with a tool), the private clipboard
// file, z-order, alignment, lock and selectability commands, rescales itself and all objects for a
// zoom factor, and reports every change through LabelChangedEvent.
#include <QEvent>
#include <QImage>
#include <QPicture>
#include <functional>
#include <memory>

#include "surface/design_view.h"
#include "surface/object_host.h"

class QMenu;
class QAction;

namespace plennix {

class TGGraphicControl;
class TGHandle;
class TReport;

enum class ClipboardOp { Cut = 0, Copy = 1, Paste = 2, Delete = 3 };

// A background picture: a bitmap, or a vector picture drawn stretched.
struct PanelPicture {
    QImage bitmap;
    QPicture vector;
    bool hasVector = false;
    bool HasGraphic() const { return !bitmap.isNull() || hasVector; }
};

class TGBasePanel : public TGObjectHost {
    Q_OBJECT
public:
    explicit TGBasePanel(QWidget* parent = nullptr);
    ~TGBasePanel() override;

    float Zoom() const { return m_view->zoom; }
    float HostZoom() const override { return m_view->zoom; }
    virtual void SetZoom(float newZoom);
    bool Pointing() const { return m_pointing; }
    void SetPointing(bool v) { m_pointing = v; }
    bool Printing() const { return m_printing; }
    void SetPrinting(bool v) { m_printing = v; }
    bool DrawOutline() const { return m_drawOutline; }
    void SetDrawOutline(bool v) { m_drawOutline = v; }
    bool PaintSuspended() const { return ObjectList().PaintSuspended(); }
    void SetPaintSuspended(bool v);
    bool Zooming() const { return m_zooming; }
    // An object is being placed with a tool: from the release of the rubber band until its first
    // dialog has closed and DroppedObjectEvent has run. Placing and that dialog are one change.
    bool Placing() const { return m_placing; }
    // The object being placed comes from Enter at KeyboardPlace(), not from a drawn rectangle: it takes
    // the size its kind gives itself, as there is no rectangle to take one from.
    bool PlacingFromKeyboard() const { return m_placingFromKeyboard; }

    TLabelShapeType Shape() const { return m_view->shape; }
    void SetShape(TLabelShapeType v);
    TGridSize GridSize() const { return m_view->gridSize; }
    void SetGridSize(TGridSize v);
    bool ShowGrid() const { return m_view->showGrid; }
    void SetShowGrid(bool v);
    bool SnapToGrid() const { return m_snapToGrid; }
    void SetSnapToGrid(bool v);
    const PanelPicture& Picture() const { return m_picture; }
    void SetPicture(const PanelPicture& p);
    const PanelPicture& ColorPicture() const { return m_colorPicture; }
    void SetColorPicture(const PanelPicture& p);
    // The panel's font, offered by the "Font" command.
    const FontRecord& PanelFont() const { return m_panelFont; }
    void SetPanelFont(const FontRecord& f) { m_panelFont = f; }

    TGHandle* Frame() const { return m_frame; }
    QString ClipboardFile() const { return m_clipboardFile; }
    // Whether this page deletes the private clipboard file when it is destroyed (off by default; only
    // the main window's document page owns it).
    bool OwnsClipboardFile() const { return m_ownsClipboardFile; }
    void SetOwnsClipboardFile(bool v) { m_ownsClipboardFile = v; }

    // Events.
    std::function<void(const Rect& r)> DroppedObjectEvent;
    std::function<void(QObject* sender)> LabelChangedEvent;
    std::function<void(QObject* sender)> OnDblClick;
    std::function<void(QKeyEvent* event)> OnKeyDown;
    std::function<void(QKeyEvent* event)> OnKeyPress;
    std::function<void(QKeyEvent* event)> OnKeyUp;
    // Mouse input on the page itself, after the panel's own handling (objects forward theirs here).
    std::function<void(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)> OnMouseDown;
    std::function<void(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x, int y)> OnMouseMove;
    std::function<void(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)> OnMouseUp;

    // Objects.
    void AddObject(TGGraphicControl* obj, const Rect& r);
    QString UniqueName(const QString& prefix) const;
    void AttachObject(TGGraphicControl* obj);
    void AttachObjects();
    bool IsObjectAt(int x, int y) const;
    void ClearObjects();
    void FireChanged();
    virtual void CreateObjectInRect(const Rect& r) {}
    // Creates the object of the current tool in `r` and raises DroppedObjectEvent, while Placing().
    void PlaceObjectInRect(const Rect& r);
    virtual void ObjectMouseDown(TGGraphicControl* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                                 int x, int y);
    virtual void AfterClone() {}
    virtual void PrintObjects(TReport& report, double leftOffset, double topOffset);
    virtual void PullObjectsInside();
    virtual void RemoveStrayObjects();
    void SelectInRect(const Rect& r, bool shift);
    void SelectAll();

    // Clipboard operations for one object (its own menu) or the selection.
    void ObjectClipboard(TGGraphicControl* obj, ClipboardOp op);
    void SelectionClipboard(ClipboardOp op);
    void Paste() { SelectionClipboard(ClipboardOp::Paste); }

    // Context menu commands.
    void BringSelectionToFront();
    void SendSelectionToBack();
    void AlignLeft();
    void AlignRight();
    void AlignTops();
    void AlignBottoms();
    void CenterSelectionVertically();
    void CenterSelectionHorizontally();
    void LockAll();
    void UnlockAll();
    void MarkAllSelectable();
    void MarkAllUnselectable();
    void ChooseFontForSelection();
    // The page's context menu, built on first use.
    QMenu* PanelMenu();
    // Computes the enabled states and returns the entry with that caption.
    QAction* PanelMenuAction(const QString& caption);
    void UpdatePanelMenu();
    void PopupPanelMenu();

    // Key routine shared with the frame (Ctrl+C, Ctrl+V, Ctrl+X, Delete; Ctrl+Tab and Ctrl+Shift+Tab
    // select the next and previous object; the Menu key and Shift+F10 open the context menu).
    void HandleKeyDown(QKeyEvent* event);
    // The next (or previous) selectable object in z-order after the selection becomes the only selected
    // object, from the first (or last) when nothing is selected; null when no object can be selected.
    TGGraphicControl* SelectNextObject(bool forward);
    // The context menu for the keyboard, shown at its place rather than at the mouse: the selected
    // object's own menu at that object, else the page's menu at the selection or at KeyboardPlace().
    void PopupMenuFromKeyboard();
    // Object double-click routine (sender the frame or an object).
    void ObjectDoubleClick(QObject* sender);

    // Rubber band state, for drawing and tests.
    bool RubberBandActive() const { return m_rubberActive; }
    Rect RubberBand() const { return m_rubber; }
    // The drag and key outlines the frame shows over the panel.
    void SetDragOutline(const Rect& r);
    void ClearDragOutline();
    bool HasDragOutline() const { return m_hasDragOutline; }
    Rect DragOutline() const { return m_dragOutline; }

    // The last pointer position over the panel or its frame, in panel pixels.
    void NoteMousePoint(int x, int y) { m_lastMouse = {x, y}; }
    Point LastMousePoint() const { return m_lastMouse; }
    // The screen cursor over the panel and its frame.
    void SetScreenCursor(const QCursor& c);

    // The page background at the panel's size (also used by image export).
    void PaintBackground(Canvas& canvas) override;

    // What the objects report: a change of the document (not while printing), a frame refit posted
    // for when control is back in the event loop, and leaving the selection.
    void ObjectChanged(TGGraphicControl& object) override;
    void ObjectBoundsChanged(TGGraphicControl& object) override;
    void ObjectRemoved(TGGraphicControl& object) override;
    void ObjectMadeUnselectable(TGGraphicControl& object) override;

protected:
    // Shows a page's objects and view (zoom, shape, grid), which the page keeps and outlives the use,
    // instead of the panel's own; null for the panel's own again. The objects shown before leave the
    // selection and stop routing their mouse here. A panel whose page goes before it calls this with
    // nulls first.
    void ShowPage(TGObjectList* list, TGDesignView* view);

    void PaintOverlay(Canvas& canvas) override;
    void HostMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) override;
    void HostMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x, int y) override;
    void HostMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) override;
    void HostDoubleClick(int x, int y) override;
    bool RouteCapturedMouse(QMouseEvent* event) override;
    void ObjectMouseLeft(TGGraphicControl* obj) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // Paints the calendar or plain page under the objects; the base fills white and draws pictures.
    virtual void PaintPage(Canvas& canvas);
    // Where keys act on the page itself, in panel pixels: the menu key opens the page's menu there, and
    // Enter places the current tool's object at its top-left corner. The base answers the page's corner.
    virtual Rect KeyboardPlace() const { return Rect{}; }

private:
    void releaseObjects();
    void applyGridToFrame();
    void buildMenu();
    bool writeSelection(const QString& path);
    void rubberBandDown(Qt::MouseButton button, int x, int y);
    void rubberBandMove(int x, int y);
    void rubberBandUp(Qt::KeyboardModifiers shift, int x, int y);
    void destroyObject(TGGraphicControl* obj);
    Point m_lastMouse;

    // A plain panel's view; unused while a page lends its own.
    TGDesignView m_ownView;
    TGDesignView* m_view = &m_ownView;
    bool m_pointing = true;
    PanelPicture m_picture, m_colorPicture;
    QMenu* m_menu = nullptr;
    bool m_rubberActive = false;
    bool m_snapToGrid = false;
    bool m_printing = false;
    bool m_drawOutline = false;
    bool m_zooming = false;
    bool m_placing = false;
    bool m_placingFromKeyboard = false;
    TGHandle* m_frame = nullptr;
    QString m_clipboardFile;
    bool m_ownsClipboardFile = false;
    Rect m_rubber;
    uint32_t m_lastPasteTime = 0;
    Rect m_dragOutline;
    bool m_hasDragOutline = false;
    FontRecord m_panelFont;
};

// The event type of the posted refit message (the window system's user message 0x0400 + 42).
constexpr int RefitFrameMessage = 0x042A;
QEvent::Type RefitFrameEventType();

}  // namespace plennix
