#pragma once
// TGraphicPanel: the clickable bevelled tile that dialogs use many of at once (the set-time dialog's
// hour and minute choices). It draws a border, bevels, a background and a one-line caption.
//
// The tile is a light QWidget: Qt's child widgets are alien (they own no native window), so dozens of
// them cost no more than windowless controls would, and the tile gets mouse capture, clicks, hints,
// enabling and layout from the toolkit. Its look is a value (GraphicPanelLook) painted by a plain
// function, so the bevel arithmetic is tested without a widget.
#include <QWidget>
#include <functional>

#include "platform/canvas.h"
#include "platform/colors.h"
#include "platform/font.h"
#include "platform/rect.h"
#include "surface/control_styles.h"

namespace plennix {

enum TPanelBevel : uint8_t { bvNone, bvLowered, bvRaised };

struct GraphicPanelLook {
    TAlignment alignment = taCenter;
    TPanelBevel bevelInner = bvNone;
    TPanelBevel bevelOuter = bvRaised;
    int bevelWidth = 1;
    int borderWidth = 0;
    TBorderStyle borderStyle = bsNone;
    TColor color = clBtnFace;
    QString caption;
    FontRecord font;
};

// The background area left inside r once the border and bevels are drawn.
Rect GraphicPanelInterior(const GraphicPanelLook& look, Rect r);
// Paints the tile into r (its client rectangle).
void PaintGraphicPanel(Canvas& canvas, const GraphicPanelLook& look, Rect r);

class TGraphicPanel : public QWidget {
    Q_OBJECT
public:
    explicit TGraphicPanel(QWidget* parent = nullptr);

    TAlignment Alignment() const { return m_look.alignment; }
    void SetAlignment(TAlignment v);
    TPanelBevel BevelInner() const { return m_look.bevelInner; }
    void SetBevelInner(TPanelBevel v);
    TPanelBevel BevelOuter() const { return m_look.bevelOuter; }
    void SetBevelOuter(TPanelBevel v);
    int BevelWidth() const { return m_look.bevelWidth; }
    void SetBevelWidth(int v);
    int BorderWidth() const { return m_look.borderWidth; }
    void SetBorderWidth(int v);
    TBorderStyle BorderStyle() const { return m_look.borderStyle; }
    void SetBorderStyle(TBorderStyle v);
    TColor Color() const { return m_look.color; }
    void SetColor(TColor v);
    bool Locked() const { return m_locked; }
    void SetLocked(bool v) { m_locked = v; }
    QString Caption() const { return m_look.caption; }
    void SetCaption(const QString& v);
    // The tile's font; while ParentFont is true it follows the widget font inherited from the parent.
    FontRecord Font() const;
    void SetFont(const FontRecord& f);
    bool ParentFont() const { return m_parentFont; }
    void SetParentFont(bool v);
    int Tag() const { return m_tag; }
    void SetTag(int v) { m_tag = v; }
    QString Hint() const { return toolTip(); }
    void SetHint(const QString& v) { setToolTip(v); }

    // The look as painted now.
    GraphicPanelLook Look() const;

    // Events (sender the tile).
    std::function<void(TGraphicPanel* sender)> OnClick;
    std::function<void(TGraphicPanel* sender)> OnDblClick;
    std::function<void(TGraphicPanel* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)>
        OnMouseDown, OnMouseUp;
    std::function<void(TGraphicPanel* sender, Qt::KeyboardModifiers shift, int x, int y)> OnMouseMove;
    // Called after every size change.
    std::function<void(TGraphicPanel* sender)> OnResize;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    GraphicPanelLook m_look;
    bool m_locked = false;
    bool m_parentFont = true;
    int m_tag = 0;
    // A press inside the tile that a release inside it turns into a click.
    bool m_pressed = false;
};

}  // namespace plennix
