// The icon palette on the first start: with no PX.ini, the default library Miscellaneous #1 is shown and
// ticked, found among the shipped data when the program folder does not hold it (a build tree, an
// installed copy's per-user folder).
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QFileInfo>

#include "app/icon_palette.h"
#include "app/preferences.h"
#include "platform/ini_file.h"
#include "platform/program_folder.h"

using namespace plennix;

TEST(DefaultIconLibrary, FirstStartShowsMiscellaneous1Ticked) {
    QFile::remove(PreferencesFile());
    ASSERT_FALSE(QFileInfo::exists(ProgramFile(QStringLiteral("misc1.icl"))));
    const Preferences prefs = ReadPreferences(IniFile(PreferencesFile()));

    TFloatingPalette palette;
    palette.Sync(prefs.iconFile);  // what the main window's first activation does
    EXPECT_EQ(QFileInfo(palette.IconListBox()->FileName()).fileName().toLower(), QStringLiteral("misc1.icl"));
    EXPECT_GT(palette.IconListBox()->NumberOfIcons(), 0);
    EXPECT_TRUE(palette.Action(QStringLiteral("mnuMisc1ICL"))->isChecked());
    EXPECT_FALSE(palette.Action(QStringLiteral("mnuActivitiesICL"))->isChecked());

    // A PX.ini that names a shipped library in the program folder (as earlier starts wrote it) gets it too.
    palette.Sync(ProgramFile(QStringLiteral("HOLIDAY.ICL")));
    EXPECT_EQ(QFileInfo(palette.IconListBox()->FileName()).fileName().toLower(), QStringLiteral("holiday.icl"));
    EXPECT_TRUE(palette.Action(QStringLiteral("mnuHolidaysICL"))->isChecked());
    EXPECT_FALSE(palette.Action(QStringLiteral("mnuMisc1ICL"))->isChecked());
}
