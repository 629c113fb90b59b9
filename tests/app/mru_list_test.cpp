// The recent files: order, limit, storage under "MRU" and the entries at the end of the File menu.
#include <gtest/gtest.h>

#include <QFile>
#include <QMenu>

#include "common/qstring_printer.h"
#include "app/mru_list.h"
#include "app/preferences.h"
#include "platform/ini_file.h"

using namespace plennix;

namespace {
QStringList entryTexts(const QMenu& menu) {
    QStringList texts;
    for (QAction* a : menu.actions())
        if (qobject_cast<TMRUMenuItem*>(a)) texts << a->text();
    return texts;
}
}  // namespace

TEST(RecentFiles, SixthFileDropsTheOldestAndAKnownFileMovesToTheTop) {
    QFile::remove(PreferencesFile());
    QMenu menu;
    menu.addAction(QStringLiteral("E&xit"));
    TMRUFileList list;
    list.SetAutoSave(false);
    list.SetAutoSaveName(PreferencesFile());
    list.SetAutoSaveKey(QStringLiteral("MRU"));
    list.SetFileMenu(&menu);
    for (int i = 1; i <= 6; ++i) list.Add(QStringLiteral("/cal/%1.PXF").arg(i));
    EXPECT_EQ(list.Items(), (QStringList{"/cal/6.PXF", "/cal/5.PXF", "/cal/4.PXF", "/cal/3.PXF", "/cal/2.PXF"}));
    list.Add(QStringLiteral("/cal/3.PXF"));
    EXPECT_EQ(list.Items(), (QStringList{"/cal/3.PXF", "/cal/6.PXF", "/cal/5.PXF", "/cal/4.PXF", "/cal/2.PXF"}));
    EXPECT_EQ(entryTexts(menu).first(), QStringLiteral("&1 /cal/3.PXF"));
    EXPECT_EQ(menu.actions().at(1)->isSeparator(), true);  // after Exit, a separator, then the entries
    EXPECT_EQ(menu.actions().size(), 1 + 1 + 5);

    ASSERT_TRUE(list.Save());
    const IniFile ini(PreferencesFile());
    EXPECT_EQ(ini.keys("MRU"), (QStringList{"F0", "F1", "F2", "F3", "F4"}));
    EXPECT_EQ(ini.readString("MRU", "F0"), QStringLiteral("/cal/3.PXF"));

    TMRUFileList again;
    again.SetAutoSaveName(PreferencesFile());
    again.SetAutoSaveKey(QStringLiteral("MRU"));
    again.SetAutoSave(false);
    again.Load();
    EXPECT_EQ(again.Items(), list.Items());

    list.SetMaximum(2);
    EXPECT_EQ(entryTexts(menu), (QStringList{"&1 /cal/3.PXF", "&2 /cal/6.PXF"}));
}

TEST(RecentFiles, ClickTakesTheEntryOffAndHandsOverItsFile) {
    QMenu menu;
    TMRUFileList list;
    list.SetAutoSave(false);
    list.SetFileMenu(&menu);
    list.Add(QStringLiteral("/a & b/x.PXF"));
    list.Add(QStringLiteral("/y.PXF"));
    QString clicked;
    list.OnMRUItemClick = [&](QObject*, const QString& f) { clicked = f; };
    const QStringList texts = entryTexts(menu);
    EXPECT_EQ(texts.at(1), QStringLiteral("&2 /a && b/x.PXF"));
    for (QAction* a : menu.actions())
        if (auto* item = qobject_cast<TMRUMenuItem*>(a); item && item->Position() == 2) item->trigger();
    EXPECT_EQ(clicked, QStringLiteral("/a & b/x.PXF"));
    EXPECT_EQ(list.Items(), QStringList{"/y.PXF"});
    list.Remove(QStringLiteral("/y.PXF"));
    EXPECT_TRUE(menu.actions().isEmpty());  // no separator is left behind
}

TEST(RecentFiles, SubmenuHoldsTheEntriesUnderItsName) {
    QMenu menu;
    menu.addAction(QStringLiteral("E&xit"));
    TMRUFileList list;
    list.SetAutoSave(false);
    EXPECT_FALSE(list.UseSubmenu());
    EXPECT_EQ(list.SubmenuName(), QStringLiteral("Reopen"));
    list.SetFileMenu(&menu);
    list.Add(QStringLiteral("/a.PXF"));
    list.Add(QStringLiteral("/b.PXF"));
    list.SetUseSubmenu(true);
    // Exit, the separator, then one submenu holding both entries.
    ASSERT_EQ(menu.actions().size(), 3);
    QMenu* sub = menu.actions().at(2)->menu();
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->title(), QStringLiteral("Reopen"));
    EXPECT_EQ(entryTexts(*sub), (QStringList{"&1 /b.PXF", "&2 /a.PXF"}));
    EXPECT_TRUE(entryTexts(menu).isEmpty());

    list.SetSubmenuName(QStringLiteral("Recent"));
    ASSERT_EQ(menu.actions().size(), 3);
    EXPECT_EQ(menu.actions().at(2)->menu()->title(), QStringLiteral("Recent"));
    list.SetUseSubmenu(false);
    EXPECT_EQ(entryTexts(menu), (QStringList{"&1 /b.PXF", "&2 /a.PXF"}));
}
