#pragma once
// TGGraphicControl: the base of every object placed freely on a page. Objects know no window: they sit
// in an object list (the page's z-order) and tell the list's observer what changed; the design surface
// that shows the list paints them through the Canvas and routes mouse input to them. Their menus and
// dialogs belong to the editor (surface/object_menus.h).
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "platform/canvas.h"
#include "platform/font.h"
#include "platform/rect.h"
#include "surface/object_list.h"
#include "surface/property_table.h"

namespace plennix {

class TReport;

class TGGraphicControl : public QObject {
    Q_OBJECT
public:
    using MouseHandler = std::function<void(TGGraphicControl* sender, Qt::MouseButton button,
                                            Qt::KeyboardModifiers shift, int x, int y)>;
    using NotifyHandler = std::function<void(QObject* sender)>;

    // The owner destroys the object (placed objects are owned by the page's owner); the list that
    // holds it is set with SetList.
    explicit TGGraphicControl(QObject* owner = nullptr);
    ~TGGraphicControl() override;

    // The name the object is streamed under ("TGPLabel", ...).
    virtual QString ClassName() const = 0;
    // Published properties in streaming order; kinds append theirs to CommonProperties().
    virtual const PropertyTable& Properties() const;
    static PropertyTable CommonProperties();

    // Framework properties.
    int Left() const { return m_left; }
    int Top() const { return m_top; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    Rect BoundsRect() const { return Rect::fromBounds(m_left, m_top, m_width, m_height); }
    // Bounds as shown at the object's zoom. A side the caller changes is taken back to the document's
    // 100 % geometry; the sides it leaves alone keep theirs, so that looking at the page closer or
    // further never moves or resizes what the document stores.
    void SetBounds(int left, int top, int width, int height);
    // The document's geometry: the bounds at 100 %, from which the shown bounds are derived at every
    // zoom. Records, the clipboard file, clones and undo steps hold these.
    int ModelLeft() const { return m_modelLeft; }
    int ModelTop() const { return m_modelTop; }
    int ModelWidth() const { return m_modelWidth; }
    int ModelHeight() const { return m_modelHeight; }
    void SetLeft(int v) { SetBounds(v, m_top, m_width, m_height); }
    void SetTop(int v) { SetBounds(m_left, v, m_width, m_height); }
    void SetWidth(int v) { SetBounds(m_left, m_top, v, m_height); }
    void SetHeight(int v) { SetBounds(m_left, m_top, m_width, v); }
    QString Name() const { return objectName(); }
    void SetName(const QString& name) { setObjectName(name); }
    int32_t Tag() const { return m_tag; }
    void SetTag(int32_t v) { m_tag = v; }
    int32_t Cursor() const { return m_cursor; }
    void SetCursor(int32_t v) { m_cursor = v; }
    QString Hint() const { return m_hint; }
    void SetHint(const QString& v) { m_hint = v; }
    bool Visible() const { return m_visible; }
    void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }

    // The list that holds the object (a page's, or a dialog's sample), or null.
    TGObjectList* List() const { return m_list; }
    void SetList(TGObjectList* list);
    // Whether the object's page is not to be drawn now (a window reading or writing it).
    bool PaintSuspended() const { return m_list && m_list->PaintSuspended(); }

    // While an object is being loaded or read from a stream, setters store without notifying.
    bool IsLoading() const { return m_loading; }
    void SetLoading(bool v) { m_loading = v; }

    float Zoom() const { return m_zoom; }
    // Takes the bounds as they are to be those shown at zoom `z` (an object just drawn on a zoomed page).
    void SetZoomField(float z);
    // Shows the document's geometry at the host's zoom without reporting a change: an object read from a
    // record, the clipboard or an undo step joins a page shown at that zoom.
    void ShowAtZoom(float z);
    bool Locked() const { return m_locked; }
    void SetLocked(bool value);
    bool Unselectable() const { return m_unselectable; }
    void SetUnselectable(bool value);

    // Installed by the design panel's AttachObject.
    MouseHandler OnMouseDown, OnMouseMove, OnMouseUp;
    NotifyHandler OnDblClick;

    // Framework and base virtual operations.
    virtual void Loaded();
    // Paints with the canvas origin at the object's top-left corner, clipped to its bounds.
    virtual void Paint(Canvas& canvas);
    virtual void BoundsChanged();
    virtual void ApplyFont(const FontRecord& font) {}
    // The colour of the object's text font, for kinds that have one. The page's Font command keeps
    // each object's own colour when the person did not change the colour in the dialog.
    virtual std::optional<TColor> FontColor() const { return std::nullopt; }
    virtual void PrintTo(TReport& report, double leftOffset, double topOffset) {}
    // Kinds that hold rich text read it now, its pictures within what is left of pictureBudget (pixels),
    // and add what they left out to `report`; a list read from a file or the clipboard shares one budget.
    virtual void ReadRichTextWithin(qint64& pictureBudget, RtfReadReport& report) const {}

    // The host's zoom changed: the shown bounds are derived again from the document's geometry.
    void ScaleTo(float newZoom);
    // Tells the list's observer that the document changed.
    void NotifyChanged();
    // Asks the list's observer to refit a frame around the object.
    void RequestFrameRefit();
    // Whether the frame draws this object's selection squares; a kind that marks itself otherwise
    // (the floating mini calendar) answers false.
    virtual bool ShowsSelectionSquares() const { return true; }
    // Repaints the object's area (three more pixels around the bounds cover the selection squares).
    void Invalidate() const;

    // Commands of the common menu entries that need no window.
    void BringToFront();
    void SendToBack();
    void ToggleLocked();
    void MakeUnselectable();

protected:
    // What a property change needs besides storing the value, unless the object is being read.
    enum PropertyEffect : unsigned { peNone = 0, peRepaint = 1, peNotify = 2 };
    // The one setter of published properties: an unchanged value does nothing; a changed one is stored
    // and, outside reading, repaints the object and/or reports the change. True when it changed, so
    // that a kind can add its own steps.
    template <class T>
    bool SetProperty(T& field, const T& value, unsigned effects = peNone) {
        if (field == value) return false;
        field = value;
        if (m_loading) return true;
        if (effects & peRepaint) Invalidate();
        if (effects & peNotify) NotifyChanged();
        return true;
    }

    // A kind that lays itself out sets the size it settled on for the document (at 100 %) and the size
    // shown at its zoom, each laid out at its own scale.
    void SetLaidOutSize(int modelWidth, int modelHeight, int shownWidth, int shownHeight);

private:
    void boundsSet();
    void showBounds(int left, int top, int width, int height);
    void showModelBounds();

    int m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    int m_modelLeft = 0, m_modelTop = 0, m_modelWidth = 0, m_modelHeight = 0;
    int32_t m_tag = 0, m_cursor = 0;
    QString m_hint;
    bool m_visible = true;
    TGObjectList* m_list = nullptr;
    bool m_loading = false;
    bool m_busy = false;
    float m_zoom = 1.0f;
    Rect m_lastBounds;
    bool m_locked = false;
    bool m_unselectable = false;
};

// A registry of the classes that object records can name.
using ObjectFactory = std::function<TGGraphicControl*(QObject* owner)>;
void RegisterObjectClass(const QString& className, ObjectFactory factory);
// Null when the class is not registered.
TGGraphicControl* CreateRegisteredObject(const QString& className, QObject* owner);
bool IsObjectClassRegistered(const QString& className);

// Registers a class whose records store the caption only when it is not empty: an object read from a
// record starts with an empty caption instead of the new object's "Text", so that an emptied caption
// stays empty.
template <class T>
void RegisterCaptionedObjectClass(const QString& className) {
    RegisterObjectClass(className, [](QObject* owner) -> TGGraphicControl* {
        auto* object = new T(owner);
        object->SetLoading(true);
        object->SetCaption(QString());
        object->SetLoading(false);
        return object;
    });
}

}  // namespace plennix
