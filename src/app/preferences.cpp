#include "app/preferences.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "platform/common_dialogs.h"
#include "platform/ini_file.h"
#include "platform/ppi.h"
#include "platform/program_folder.h"

namespace plennix {

namespace {
const QString kZooming = QStringLiteral("Zooming");
const QString kFont = QStringLiteral("Default Font");
const QString kIcons = QStringLiteral("Icons");
const QString kHints = QStringLiteral("Hints");

// Names longer than this are cut, as the font dialog's face name field holds no more.
constexpr int kMaxFontName = 255;

Rect screenRectFor(const QWidget& window) {
    const QScreen* screen = window.screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return {0, 0, 1024, 768};
    const QRect g = screen->availableGeometry();
    return {g.x(), g.y(), g.x() + g.width(), g.y() + g.height()};
}
}  // namespace

QString PreferencesFile() { return ProgramFile(QStringLiteral("PX.ini")); }

QString DefaultIconFile() { return ProgramFile(QStringLiteral("MISC1.ICL")); }

Preferences ReadPreferences(const IniFile& ini) {
    Preferences p;
    p.mainZoomPercent = ini.readInteger(kZooming, QStringLiteral("Main"), 60);
    p.propZoomPercent = ini.readInteger(kZooming, QStringLiteral("Prop"), 30);
    DefaultEditorFont& f = p.font;
    f.name = ini.readString(kFont, QStringLiteral("Name"), f.name).left(kMaxFontName);
    if (f.name.trimmed().isEmpty()) f.name = DefaultEditorFont().name;
    f.size = ini.readInteger(kFont, QStringLiteral("Size"), f.size);
    // A size the rich text cannot show (0, negative, absurd) falls back to the default.
    if (f.size < 1 || f.size > 1638) f.size = DefaultEditorFont().size;
    f.bold = ini.readBool(kFont, QStringLiteral("Bold"), false);
    f.italic = ini.readBool(kFont, QStringLiteral("Italic"), false);
    f.underline = ini.readBool(kFont, QStringLiteral("Underline"), false);
    f.strikeout = ini.readBool(kFont, QStringLiteral("Strikeout"), false);
    f.color = static_cast<TColor>(ini.readInteger(kFont, QStringLiteral("Color"), 0)) & 0xFFFFFF;
    p.iconFile = ini.readString(kIcons, QStringLiteral("File"), DefaultIconFile());
    p.iconsVisible = ini.readBool(kIcons, QStringLiteral("Visible"), true);
    p.hintsOn = ini.readBool(kHints, QStringLiteral("On"), true);
    return p;
}

void WritePreferences(IniFile& ini, const Preferences& p) {
    ini.writeInteger(kZooming, QStringLiteral("Main"), p.mainZoomPercent);
    ini.writeInteger(kZooming, QStringLiteral("Prop"), p.propZoomPercent);
    ini.writeString(kFont, QStringLiteral("Name"), p.font.name);
    ini.writeInteger(kFont, QStringLiteral("Size"), p.font.size);
    ini.writeBool(kFont, QStringLiteral("Bold"), p.font.bold);
    ini.writeBool(kFont, QStringLiteral("Italic"), p.font.italic);
    ini.writeBool(kFont, QStringLiteral("Underline"), p.font.underline);
    ini.writeBool(kFont, QStringLiteral("Strikeout"), p.font.strikeout);
    ini.writeInteger(kFont, QStringLiteral("Color"), static_cast<int>(p.font.color & 0xFFFFFF));
    ini.writeBool(kIcons, QStringLiteral("Visible"), p.iconsVisible);
    ini.writeBool(kHints, QStringLiteral("On"), p.hintsOn);
    ini.writeString(kIcons, QStringLiteral("File"), p.iconFile.isEmpty() ? DefaultIconFile() : p.iconFile);
}

bool UpdatePreferencesFile(const std::function<void(IniFile&)>& change, QString* error) {
    IniFile ini(PreferencesFile());
    ini.setAutoSave(false);
    change(ini);
    return ini.save(error);
}

QString PlacementSectionName(const QString& className, int ppi) {
    QString name = className + QStringLiteral("_Placement");
    if (ppi > 96) name += QString::number(ppi);
    return name;
}

Rect FitRectOnScreen(const Rect& stored, const Rect& screen) {
    Rect r = stored;
    const int width = std::min(std::max(0, r.right - r.left), screen.right - screen.left);
    const int height = std::min(std::max(0, r.bottom - r.top), screen.bottom - screen.top);
    r.right = r.left + width;
    r.bottom = r.top + height;
    if (r.right > screen.right) {
        r.left += screen.right - r.right;
        r.right = screen.right;
    }
    if (r.bottom > screen.bottom) {
        r.top += screen.bottom - r.bottom;
        r.bottom = screen.bottom;
    }
    // A monitor that was left of or above the primary one may be gone: bring the window back.
    if (r.left < screen.left) {
        r.right += screen.left - r.left;
        r.left = screen.left;
    }
    if (r.top < screen.top) {
        r.bottom += screen.top - r.top;
        r.top = screen.top;
    }
    return r;
}

void CenteredPosition(const Rect& over, int width, int height, int* left, int* top) {
    *left = over.left + ((over.right - over.left) - width) / 2;
    *top = over.top + ((over.bottom - over.top) - height) / 2;
}

void RestorePlacement(QWidget& window, const QString& className) {
    const QString section = PlacementSectionName(className, ScreenPixelsPerInch());
    IniFile ini(PreferencesFile());
    Rect stored{ini.readInteger(section, QStringLiteral("Left"), 0), ini.readInteger(section, QStringLiteral("Top"), 0),
                ini.readInteger(section, QStringLiteral("Right"), 0),
                ini.readInteger(section, QStringLiteral("Bottom"), 0)};
    const bool maximized = ini.readBool(section, QStringLiteral("Maximized"), window.isMaximized());
    if (stored.bottom != 0 && stored.right > stored.left && stored.bottom > stored.top) {
        const Rect r = FitRectOnScreen(stored, screenRectFor(window));
        window.setGeometry(r.left, r.top, r.right - r.left, r.bottom - r.top);
    } else {
        // A dialog with no placement of its own yet opens over the main window; the main window itself
        // opens in the middle of the screen.
        CenterWindow(window, MainWindowOf(&window));
    }
    if (maximized) window.setWindowState(window.windowState() | Qt::WindowMaximized);
    SavePlacement(window, className);
}

void SavePlacement(const QWidget& window, const QString& className) {
    const QString section = PlacementSectionName(className, ScreenPixelsPerInch());
    // The normal rectangle is the one the window returns to from maximised.
    const bool maximized = window.isMaximized();
    QRect g = maximized ? window.normalGeometry() : window.geometry();
    if (!g.isValid()) g = window.geometry();
    UpdatePreferencesFile([&](IniFile& ini) {
        ini.writeInteger(section, QStringLiteral("Left"), g.x());
        ini.writeInteger(section, QStringLiteral("Top"), g.y());
        ini.writeInteger(section, QStringLiteral("Right"), g.x() + g.width());
        ini.writeInteger(section, QStringLiteral("Bottom"), g.y() + g.height());
        ini.writeBool(section, QStringLiteral("Maximized"), maximized);
    });
}

void CenterWindow(QWidget& window, const QWidget* mainWindow) {
    Rect over;
    if (!mainWindow || mainWindow == &window || mainWindow->isMaximized()) {
        over = screenRectFor(window);
    } else {
        const QRect g = mainWindow->geometry();
        over = {g.x(), g.y(), g.x() + g.width(), g.y() + g.height()};
    }
    int left = 0, top = 0;
    CenteredPosition(over, window.width(), window.height(), &left, &top);
    window.move(left, top);
}

}  // namespace plennix
