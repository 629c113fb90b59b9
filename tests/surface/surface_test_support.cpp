#include "surface_test_support.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>

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

namespace {
QPointer<QWidget> g_grab;

QWidget* receiver(QWidget* w, QPoint p) {
    if (g_grab) return g_grab;
    QWidget* child = w->childAt(p);
    return child ? child : w;
}
}  // namespace

void press(QWidget* w, Qt::MouseButton b, QPoint p, Qt::KeyboardModifiers m) {
    QWidget* r = receiver(w, p);
    g_grab = r;
    QTest::mousePress(r, b, m, r->mapFrom(w, p));
}

void release(QWidget* w, Qt::MouseButton b, QPoint p, Qt::KeyboardModifiers m) {
    QWidget* r = receiver(w, p);
    g_grab = nullptr;
    QTest::mouseRelease(r, b, m, r->mapFrom(w, p));
}

void moveTo(QWidget* w, QPoint p) {
    QWidget* r = receiver(w, p);
    QTest::mouseMove(r, r->mapFrom(w, p));
}

void doubleClick(QWidget* w, QPoint p) {
    // What a window system delivers: press, release, double-click (in place of the second press),
    // release.
    press(w, Qt::LeftButton, p);
    release(w, Qt::LeftButton, p);
    QWidget* r = receiver(w, p);
    const QPointF local(r->mapFrom(w, p));
    QMouseEvent dbl(QEvent::MouseButtonDblClick, local, r->mapToGlobal(local), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(r, &dbl);
    QMouseEvent up(QEvent::MouseButtonRelease, local, r->mapToGlobal(local), Qt::LeftButton, Qt::NoButton,
                   Qt::NoModifier);
    QApplication::sendEvent(r, &up);
}

}  // namespace plennix::test
