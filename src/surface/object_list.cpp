#include "surface/object_list.h"

#include <QPainterPath>
#include <algorithm>

#include "printing/report.h"
#include "surface/graphic_control.h"

namespace plennix {

TGObjectList::~TGObjectList() {
    // The view that observed the list is gone or going: leaving objects tell nobody.
    m_observer = nullptr;
    // From the top down, so that each object leaving is found and taken off at the end of the list.
    const auto objects = m_objects;
    for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
        TGGraphicControl* obj = *it;
        if (!obj->parent())
            delete obj;
        else
            obj->SetList(nullptr);
    }
}

TGGraphicControl* TGObjectList::At(int index) const {
    return index >= 0 && index < Count() ? m_objects[index] : nullptr;
}

int TGObjectList::IndexOf(const TGGraphicControl* obj) const {
    for (int i = 0; i < Count(); ++i)
        if (m_objects[i] == obj) return i;
    return -1;
}

void TGObjectList::Insert(TGGraphicControl* obj) {
    // SetList calls this only when the object moves to this list, so it cannot be here yet; a search
    // would make reading a long object list quadratic.
    if (obj && obj->List() == this && (m_objects.empty() || m_objects.back() != obj)) m_objects.push_back(obj);
}

void TGObjectList::Remove(TGGraphicControl* obj) {
    // Objects leave mostly from the top (pages are cleared from the last object down).
    const auto it = std::find(m_objects.rbegin(), m_objects.rend(), obj);
    if (it == m_objects.rend()) return;
    if (m_observer) m_observer->ObjectRemoved(*obj);
    // The observer may have changed the list; look again.
    const auto at = std::find(m_objects.rbegin(), m_objects.rend(), obj);
    if (at != m_objects.rend()) m_objects.erase(std::next(at).base());
}

void TGObjectList::BringToFront(TGGraphicControl* obj) {
    const int i = IndexOf(obj);
    if (i < 0) return;
    m_objects.erase(m_objects.begin() + i);
    m_objects.push_back(obj);
    obj->Invalidate();
}

void TGObjectList::SendToBack(TGGraphicControl* obj) {
    const int i = IndexOf(obj);
    if (i < 0) return;
    m_objects.erase(m_objects.begin() + i);
    m_objects.insert(m_objects.begin(), obj);
    obj->Invalidate();
}

TGGraphicControl* TGObjectList::ObjectAtPoint(int x, int y) const {
    for (int i = Count() - 1; i >= 0; --i) {
        TGGraphicControl* o = m_objects[i];
        if (o->Visible() && o->BoundsRect().contains(x, y)) return o;
    }
    return nullptr;
}

void TGObjectList::Adopt(TGObjectList& other) {
    if (&other == this) return;
    const auto objects = other.m_objects;
    for (TGGraphicControl* obj : objects) obj->SetList(this);
}

void TGObjectList::Paint(Canvas& canvas) const {
    // Painting may not change the list, but an object's paint may relayout; copy to be safe.
    const auto objects = m_objects;
    for (TGGraphicControl* o : objects) {
        if (!o->Visible() || o->Width() <= 0 || o->Height() <= 0) continue;
        canvas.Save();
        canvas.Translate(o->Left(), o->Top());
        canvas.IntersectClipRect({0, 0, o->Width(), o->Height()});
        o->Paint(canvas);
        canvas.Restore();
    }
}

void PrintObjectList(const TGObjectList& list, TReport& report, double leftOffsetInch, double topOffsetInch) {
    const auto objects = list.Objects();
    for (TGGraphicControl* o : objects) {
        ReportStateGuard state(report);
        o->PrintTo(report, leftOffsetInch, topOffsetInch);
    }
}

QPainterPath PageShapePath(TLabelShapeType shape, int w, int h) {
    QPainterPath path;
    const QRectF r(0, 0, w + 1, h + 1);
    if (shape == lsRectangle)
        path.addRect(r);
    else if (shape == lsRoundRect)
        path.addRoundedRect(r, 12, 12);
    else
        path.addEllipse(r);
    return path;
}

void PaintPageGrid(Canvas& canvas, int width, int height, TLabelShapeType shape, TGridSize size) {
    static const uint8_t grid4[8] = {0xFF, 0xFF, 0xDD, 0xFF, 0xFF, 0xFF, 0xDD, 0xFF};
    static const uint8_t grid8[8] = {0xFF, 0xFF, 0xDF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    canvas.Save();
    canvas.IntersectClipPath(PageShapePath(shape, width, height));
    canvas.PatternAnd({0, 0, width, height}, size == gs4x4 ? grid4 : grid8, RGB(0, 128, 0));
    canvas.Restore();
}

}  // namespace plennix
