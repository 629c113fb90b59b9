#pragma once
// The page of the main window: a design surface that creates the object of the current tool in a
// drawn rectangle. The calendar page takes this role once it exists.
#include "surface/base_panel.h"

namespace plennix {

enum TLPanelStateApp : uint8_t { appPointing, appLabel };

class DesignPage : public TGBasePanel {
    Q_OBJECT
public:
    explicit DesignPage(QWidget* parent = nullptr);
    int PanelState() const { return m_state; }
    void SetPanelState(int state);
    void CreateObjectInRect(const Rect& r) override;

private:
    int m_state = appPointing;
};

}  // namespace plennix
