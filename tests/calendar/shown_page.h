#pragma once
// A full-calendar month page shown in a window of its own, for tests that drive it with the mouse.
#include <QTest>
#include <QWidget>

#include "calendar/calendar_panel.h"

namespace plennix::test {

struct ShownPage {
    QWidget owner;
    TCalendarPanel32* page;
    ShownPage() {
        page = new TCalendarPanel32(&owner);
        page->SetNamingOwner(&owner);
        page->ResetToDefaults();
        page->SetCalendarLayout(TCalendarLayout::loFullCalendar);
        owner.resize(page->size());
        owner.show();
        (void)QTest::qWaitForWindowExposed(&owner);
    }
};

}  // namespace plennix::test
