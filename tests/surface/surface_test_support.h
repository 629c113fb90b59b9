#pragma once
// A minimal placed object and a shown design panel for the surface tests.
#include <QTest>

#include "platform/ticks.h"
#include "surface/base_panel.h"
#include "surface/graphic_control.h"
#include "surface/handle.h"

namespace plennix::test {

class TestBox : public TGGraphicControl {
    Q_OBJECT
public:
    explicit TestBox(QObject* owner = nullptr) : TGGraphicControl(owner) {}
    QString ClassName() const override { return QStringLiteral("TTestBox"); }
    void Paint(Canvas& c) override {
        c.FillRect({0, 0, Width(), Height()}, fill);
        ++paints;
    }
    TColor fill = clRed;
    int paints = 0;
    QVector<FontRecord> appliedFonts;
    void ApplyFont(const FontRecord& f) override { appliedFonts.push_back(f); }
};

void RegisterTestBox();

// A manual millisecond clock for the frame's time rules.
struct ManualClock {
    uint32_t now = 100000;
    ManualClock() {
        SetTickSource([this] { return now; });
    }
    ~ManualClock() { SetTickSource(nullptr); }
    void advance(uint32_t ms) { now += ms; }
};

// A shown 400 x 300 panel with a change counter.
struct PanelFixture {
    QWidget owner;
    TGBasePanel* panel;
    int changes = 0;
    PanelFixture();
    TestBox* addBox(int l, int t, int w, int h);
};

// QTest hands mouse events to the widget it is given; a window system delivers them to the child under
// the pointer and, from a press to its release, to the widget that took the press. These do the same,
// with points in w's coordinates.
void press(QWidget* w, Qt::MouseButton b, QPoint p, Qt::KeyboardModifiers m = Qt::NoModifier);
void release(QWidget* w, Qt::MouseButton b, QPoint p, Qt::KeyboardModifiers m = Qt::NoModifier);
void moveTo(QWidget* w, QPoint p);
// A second press of a double-click (Qt delivers it as a double-click event), to the same receiver.
void doubleClick(QWidget* w, QPoint p);

}  // namespace plennix::test
