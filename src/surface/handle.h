#pragma once
// TGHandle: the selection frame of a design panel. It holds the selected objects, sits as an invisible
// window over their union, moves them all or resizes a single one with grid snapping, nudges or
// resizes them with the arrow keys and hands presses it does not use on to what lies below.
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <vector>

#include "platform/canvas.h"
#include "platform/colors.h"
#include "platform/rect.h"

class QMenu;

namespace plennix {

class TGBasePanel;
class TGGraphicControl;

struct FrameBounds {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const FrameBounds&) const = default;
};

// The drag arithmetic of the frame, without a widget in sight.
FrameBounds ComputeDragBounds(const FrameBounds& frame, int zone, int dx, int dy, int gridX, int gridY);
// The resize zone (0 move, 1..8) of a point in frame client coordinates for a frame W x H.
int ResizeZoneAt(int x, int y, int w, int h);

class TGHandle : public QWidget {
    Q_OBJECT
public:
    explicit TGHandle(TGBasePanel* panel);
    ~TGHandle() override;

    TGBasePanel* Panel() const { return m_panel; }

    void AddToSelection(TGGraphicControl* obj);
    void RemoveFromSelection(TGGraphicControl* obj);
    void ClearSelection();
    int IndexInSelection(const TGGraphicControl* obj) const;
    int SelectionCount() const { return static_cast<int>(m_selection.size()); }
    TGGraphicControl* SelectedObject(int index) const;
    const std::vector<TGGraphicControl*>& Selection() const { return m_selection; }
    void RefitFrame();
    void BringSelectionToFront();
    void SendSelectionToBack();
    // Moves the selection with the frame (every unlocked object by the frame's change), then the frame.
    void ApplyFrameBounds(int left, int top, int width, int height);
    // Sets only the frame's own bounds.
    void SetOwnBounds(int left, int top, int width, int height);
    FrameBounds OwnBounds() const;

    bool Locked() const { return m_locked; }
    void SetLocked(bool v) { m_locked = v; }
    TColor Color() const { return m_color; }
    void SetColor(TColor c);
    TColor SecondaryColor() const { return m_secondaryColor; }
    void SetSecondaryColor(TColor c);
    int GridX() const { return m_gridX; }
    int GridY() const { return m_gridY; }
    void SetGridX(int v);
    void SetGridY(int v);
    bool SnapToGrid() const { return m_gridX > 1 || m_gridY > 1; }
    void SetSnapToGrid(bool on);
    bool Dragging() const { return m_dragging; }
    int Zone() const { return m_zone; }
    bool HasCapture() const { return m_capture; }
    void ReleaseCapture() { m_capture = false; }
    void SetDoubleClicked() { m_doubleClicked = true; }
    bool KeyOutlineActive() const { return m_keyOutlineActive; }
    Rect KeyOutline() const { return m_keyOutline; }

    // Draws every selected object's selection squares on the panel's canvas.
    void PaintSelectionSquares(Canvas& panelCanvas) const;
    // The frame's popup menu (the panel's menu).
    QMenu* PopupMenu() const;

    // Mouse routines in frame client coordinates (the panel forwards captured input here too).
    void FrameMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void FrameMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x, int y);
    void FrameMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void FrameDoubleClick();
    void FrameKeyDown(QKeyEvent* event);
    void FrameKeyUp(QKeyEvent* event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool focusNextPrevChild(bool) override { return false; }

private:
    void captureMouse();
    void unionWith(const TGGraphicControl* obj, int& l, int& t, int& r, int& b) const;
    void clampToPanel(int& x, int& y) const;
    void drawDragOutline(const FrameBounds& b);
    void eraseDragOutline();
    void handOn(Qt::MouseButton button, bool press, int x, int y);
    void forward(QWidget* target, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, int x, int y);
    void focusIfShown();
    void returnFocusToPanel();

    TGBasePanel* m_panel;
    uint32_t m_pressTime = 0;
    int m_originX = 0, m_originY = 0;
    int m_zone = 0;
    bool m_dragging = false;
    bool m_keyOutlineActive = false;
    Rect m_keyOutline;
    FrameBounds m_dragOutline;
    bool m_locked = false;
    TColor m_color = 0;
    TColor m_secondaryColor = 0x808080;
    int m_gridX = 1, m_gridY = 1;
    int m_storedGridX = 8, m_storedGridY = 8;
    std::vector<TGGraphicControl*> m_selection;
    bool m_doubleClicked = false;
    bool m_applyingBounds = false;
    bool m_capture = false;
    // The widget a handed-on press went to; it receives the moves and the release that follow.
    QPointer<QWidget> m_handedOn;
};

}  // namespace plennix
