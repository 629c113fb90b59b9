#pragma once
// The program's preferences in PX.ini and the placement of its windows: every key with its default,
// the placement section named by window class and pixels per inch, the correction of a rectangle that
// lies off the screen, and centring. Reading never fails: a missing or damaged file gives the defaults.
#include <QString>
#include <functional>

#include "platform/colors.h"
#include "platform/rect.h"

class QWidget;

namespace plennix {

class IniFile;

struct DefaultEditorFont {
    QString name = QStringLiteral("Arial");
    int size = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    TColor color = 0;  // 24-bit RGB value, 0 = black
    bool operator==(const DefaultEditorFont&) const = default;
};

struct Preferences {
    int mainZoomPercent = 60;
    int propZoomPercent = 30;
    DefaultEditorFont font;
    QString iconFile;  // empty: the program folder's MISC1.ICL
    bool iconsVisible = true;
    bool hintsOn = true;
    bool operator==(const Preferences&) const = default;
};

// The full path of PX.ini in the program folder.
QString PreferencesFile();
// The icon library used when the preferences name none.
QString DefaultIconFile();

Preferences ReadPreferences(const IniFile& ini);
// Writes the keys in the file's order: Zooming, Default Font, Icons/Visible, Hints, Icons/File.
void WritePreferences(IniFile& ini, const Preferences& prefs);

// Reloads PX.ini from disk, lets `change` write into it and saves it atomically once, so that writers
// holding different sections (preferences, recent files, placements) never overwrite each other.
bool UpdatePreferencesFile(const std::function<void(IniFile&)>& change, QString* error = nullptr);

// "<class>_Placement", with the pixels per inch appended above 96.
QString PlacementSectionName(const QString& className, int ppi);

// A stored rectangle moved so that it lies on a screen of the given area: a right or bottom edge
// beyond the screen moves the rectangle back by the excess, keeping its size; a left or top edge
// before the screen moves it forward; a rectangle larger than the screen is cut to the screen.
Rect FitRectOnScreen(const Rect& stored, const Rect& screen);
// The top-left corner that centres a window of the given size over `over` (truncating division).
void CenteredPosition(const Rect& over, int width, int height, int* left, int* top);

// Window placement in the window's section of PX.ini: restore gives a stored rectangle (corrected to
// the screen) or centres the window, maximises when stored so, then writes the placement at once.
void RestorePlacement(QWidget& window, const QString& className);
void SavePlacement(const QWidget& window, const QString& className);
// Centres a window on the screen when it is the main window or the main window is maximised, else
// over the main window.
void CenterWindow(QWidget& window, const QWidget* mainWindow);

}  // namespace plennix
