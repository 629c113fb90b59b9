#include "app/design_page.h"

#include "surface/label.h"

namespace plennix {

DesignPage::DesignPage(QWidget* parent) : TGBasePanel(parent) { setObjectName(QStringLiteral("CalendarPanel")); }

void DesignPage::SetPanelState(int state) {
    m_state = state;
    SetPointing(state == appPointing);
}

void DesignPage::CreateObjectInRect(const Rect& rect) {
    Rect r = rect;
    // A click or a thin rectangle still gives an object a person can see and grab.
    if (r.right - r.left < 25) r.right = r.left + 50;
    if (r.bottom - r.top < 15) r.bottom = r.top + 15;
    if (m_state == appLabel) {
        auto* label = new TGPLabel(NamingOwner());
        label->Loaded();
        AddObject(label, r);
        SetPanelState(appPointing);
        label->StartEdit();
    }
}

}  // namespace plennix
