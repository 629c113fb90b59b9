#pragma once
// The application object a fuzz target needs, made once for the whole campaign: off-screen, at the
// tests' 96 pixels per inch, with the target's object classes registered. App is QGuiApplication: no
// reader, and no drawing of what was read, needs a widget.
#include <cstdlib>
#include <functional>

template <class App>
void StartFuzzApplication(const char* targetName, const std::function<void()>& registerClasses = {}) {
    static App* app = [&] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        setenv("PLENNIX_PPI", "96", 0);
        static int argc = 1;
        static char* argv[] = {const_cast<char*>(targetName), nullptr};
        auto* a = new App(argc, argv);
        if (registerClasses) registerClasses();
        return a;
    }();
    (void)app;
}
