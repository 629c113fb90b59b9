// Preferences in PX.ini: every key round trips, damaged values give the defaults, placements are
// kept per class and pixels per inch and come back onto a smaller screen.
#include <gtest/gtest.h>

#include <QFile>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "common/qstring_printer.h"
#include "app/preferences.h"
#include "platform/ini_file.h"
#include "platform/program_folder.h"

using namespace plennix;

namespace {
void writeIni(const QByteArray& bytes) {
    QFile f(PreferencesFile());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}
}  // namespace

TEST(Preferences, EveryKeyRoundTripsThroughTheFile) {
    QFile::remove(PreferencesFile());
    Preferences p;
    p.mainZoomPercent = 80;
    p.propZoomPercent = 40;
    p.font = {QStringLiteral("Times New Roman"), 14, true, true, false, true, 0x0000FF};
    p.iconFile = ProgramFile(QStringLiteral("holiday.icl"));
    p.iconsVisible = false;
    p.hintsOn = false;
    ASSERT_TRUE(UpdatePreferencesFile([&](IniFile& ini) { WritePreferences(ini, p); }));
    const IniFile ini(PreferencesFile());
    EXPECT_EQ(ini.sections(), (QStringList{"Zooming", "Default Font", "Icons", "Hints"}));
    EXPECT_EQ(ini.keys(QStringLiteral("Default Font")),
              (QStringList{"Name", "Size", "Bold", "Italic", "Underline", "Strikeout", "Color"}));
    EXPECT_EQ(ini.readString("Default Font", "Strikeout"), QStringLiteral("1"));
    EXPECT_EQ(ini.readString("Default Font", "Color"), QStringLiteral("255"));
    EXPECT_EQ(ReadPreferences(ini), p);
}

TEST(Preferences, MissingOrDamagedFileGivesTheDefaults) {
    QFile::remove(PreferencesFile());
    const Preferences defaults = ReadPreferences(IniFile(PreferencesFile()));
    EXPECT_EQ(defaults.mainZoomPercent, 60);
    EXPECT_EQ(defaults.propZoomPercent, 30);
    EXPECT_EQ(defaults.font, DefaultEditorFont());
    EXPECT_TRUE(defaults.iconsVisible);
    EXPECT_TRUE(defaults.hintsOn);
    EXPECT_EQ(defaults.iconFile, ProgramDir() + "MISC1.ICL");

    QByteArray garbage("\xff\xfe[Zooming\x00\x01Main=\x80\x81\n[Default Font]\nSize=big\nName=\nColor=zz\n", 52);
    garbage += QByteArray(5000, '\x9c');
    writeIni(garbage);
    Preferences damaged = ReadPreferences(IniFile(PreferencesFile()));
    EXPECT_EQ(damaged, defaults);

    writeIni("[Zooming]\nMain=0x46\n[Default Font]\nSize=-3\nBold=0X1\n[Hints]\nOn=nonsense\n");
    damaged = ReadPreferences(IniFile(PreferencesFile()));
    EXPECT_EQ(damaged.mainZoomPercent, 70);  // hexadecimal
    EXPECT_EQ(damaged.font.size, 10);        // a size no text can have
    EXPECT_TRUE(damaged.font.bold);
    EXPECT_TRUE(damaged.hintsOn);
}

TEST(Placement, SectionNamedByClassAndPixelsPerInch) {
    EXPECT_EQ(PlacementSectionName("TCalendarMain", 96), QStringLiteral("TCalendarMain_Placement"));
    EXPECT_EQ(PlacementSectionName("TCalendarMain", 120), QStringLiteral("TCalendarMain_Placement120"));
}

TEST(Placement, RectangleOffASmallerScreenMovesBackKeepingItsSize) {
    const Rect screen{0, 0, 1024, 768};
    EXPECT_EQ(FitRectOnScreen({900, 100, 1500, 500}, screen), (Rect{424, 100, 1024, 500}));
    EXPECT_EQ(FitRectOnScreen({100, 600, 500, 1000}, screen), (Rect{100, 368, 500, 768}));
    EXPECT_EQ(FitRectOnScreen({-1500, -20, -900, 400}, screen), (Rect{0, 0, 600, 420}));
    // Larger than the whole screen: cut to it.
    EXPECT_EQ(FitRectOnScreen({1200, 0, 3200, 1500}, screen), (Rect{0, 0, 1024, 768}));
    EXPECT_EQ(FitRectOnScreen({10, 20, 300, 200}, screen), (Rect{10, 20, 300, 200}));
    int left = 0, top = 0;
    CenteredPosition({0, 0, 1024, 768}, 635, 377, &left, &top);
    EXPECT_EQ(left, 194);
    EXPECT_EQ(top, 195);
}

TEST(Placement, RestoredOnTheScreenAndWrittenAtOnce) {
    QFile::remove(PreferencesFile());
    const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
    // Stored on a larger monitor: right edge far beyond this screen.
    writeIni(QStringLiteral("[TWidget_Placement]\nLeft=%1\nTop=10\nRight=%2\nBottom=310\nMaximized=0\n")
                 .arg(avail.right() + 200)
                 .arg(avail.right() + 600)
                 .toLatin1());
    QWidget w;
    RestorePlacement(w, QStringLiteral("TWidget"));
    EXPECT_EQ(w.geometry().width(), 400);
    EXPECT_EQ(w.geometry().x() + w.geometry().width(), avail.x() + avail.width());
    const IniFile ini(PreferencesFile());
    EXPECT_EQ(ini.readInteger("TWidget_Placement", "Right", 0), avail.x() + avail.width());

    // Nothing stored: centred on the screen.
    QWidget fresh;
    fresh.resize(200, 100);
    RestorePlacement(fresh, QStringLiteral("TFresh"));
    EXPECT_EQ(fresh.x(), avail.x() + (avail.width() - 200) / 2);
    EXPECT_TRUE(IniFile(PreferencesFile()).hasKey("TFresh_Placement", "Bottom"));
}

TEST(Placement, MaximisedWindowKeepsItsNormalRectangle) {
    QFile::remove(PreferencesFile());
    QWidget w;
    w.setGeometry(100, 120, 300, 200);
    w.show();
    w.showMaximized();
    QCoreApplication::processEvents();
    ASSERT_TRUE(w.isMaximized());
    SavePlacement(w, QStringLiteral("TBig"));
    const IniFile ini(PreferencesFile());
    EXPECT_EQ(ini.readInteger("TBig_Placement", "Maximized", 0), 1);
    EXPECT_EQ(ini.readInteger("TBig_Placement", "Right", 0) - ini.readInteger("TBig_Placement", "Left", 0), 300);
    EXPECT_EQ(ini.readInteger("TBig_Placement", "Bottom", 0) - ini.readInteger("TBig_Placement", "Top", 0), 200);

    QWidget again;
    RestorePlacement(again, QStringLiteral("TBig"));
    EXPECT_TRUE(again.windowState() & Qt::WindowMaximized);
}
