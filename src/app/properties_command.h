#pragma once
// The main window's Properties command: runs the calendar properties dialog over a copy of the page's
// style and, when accepted, copies the style back into the page, clearing what a new layout family or a
// new month makes meaningless.
#include <functional>

class QWidget;

namespace plennix {

class TCalendarPanel32;

struct PropertiesCommandContext {
    QWidget* mainWindow = nullptr;
    TCalendarPanel32* page = nullptr;
    bool* newCalendarPending = nullptr;  // a new document: the preview starts from the defaults
    int* previewZoomPercent = nullptr;   // the preference "Zooming"/"Prop"
    std::function<void()> saveRichText, hidePalette, showPalette, checkFloaterStatus, setButtons, savePreferences;
    bool* modified = nullptr;
};

// True when the dialog was closed with OK.
bool RunPropertiesCommand(PropertiesCommandContext& context);

}  // namespace plennix
