#include "surface_test_support.h"

namespace plennix::test {

void RegisterTestBox() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterObjectClass(QStringLiteral("TTestBox"), [](QObject* owner) { return new TestBox(owner); });
}

PanelFixture::PanelFixture() {
    RegisterTestBox();
    owner.resize(400, 300);
    panel = new TGBasePanel(&owner);
    panel->SetNamingOwner(&owner);
    panel->setGeometry(0, 0, 400, 300);
    panel->LabelChangedEvent = [this](QObject*) { ++changes; };
    owner.show();
    (void)QTest::qWaitForWindowExposed(&owner);
}

TestBox* PanelFixture::addBox(int l, int t, int w, int h) {
    auto* b = new TestBox(&owner);
    b->Loaded();
    panel->AddObject(b, Rect::fromBounds(l, t, w, h));
    return b;
}

}  // namespace plennix::test
