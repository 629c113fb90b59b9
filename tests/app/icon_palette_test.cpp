// The icon palette: the library at start-up, its menu ticks, bonus sets, Other..., the fallback to
// Misc1.icl, what a drag carries, and an icon dropped onto a day cell kept through save, reopen and print.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "app/icon_palette.h"
#include "app/document_io.h"
#include "app/icon_readers.h"
#include "app/main_window.h"
#include "calendar/calendar_panel.h"
#include "platform/common_dialogs.h"
#include "platform/program_folder.h"
#include "richtext/rich_text_editor.h"
#include "richtext/rtf_storage.h"
#include "test_support.h"

using namespace plennix;

namespace {

QImage Solid(QRgb color) {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The program folder's BonusIcons, removed again when the test ends.
struct BonusFolder {
    QString path = ProgramFile(QStringLiteral("BonusIcons"));
    explicit BonusFolder(const QStringList& files) {
        QDir(path).removeRecursively();
        for (const QString& f : files) WriteFile(path + QLatin1Char('/') + f, WriteNeIconLibrary({Solid(0xFF336699)}, "B"));
    }
    ~BonusFolder() { QDir(path).removeRecursively(); }
};

// The shipped data folder replaced by an empty one for the life of the guard.
struct NoShippedData {
    QTemporaryDir empty;
    QByteArray old = qgetenv("PLENNIX_DATA_DIR");
    NoShippedData() {
        qputenv("PLENNIX_DATA_DIR", empty.path().toLocal8Bit());
        ResetProgramDir();
    }
    ~NoShippedData() {
        qputenv("PLENNIX_DATA_DIR", old);
        ResetProgramDir();
    }
};

QStringList Ticked(const TFloatingPalette& palette) {
    QStringList names;
    for (const char* name : {"mnuActivitiesICL", "mnuEventsICL", "mnuHolidaysICL", "mnuMisc1ICL", "mnuMisc2ICL",
                             "mnuOtherIconFile"})
        if (palette.Action(QString::fromLatin1(name))->isChecked()) names << QString::fromLatin1(name);
    for (QAction* a : palette.BonusMenu()->actions())
        if (a->isChecked()) names << a->text();
    return names;
}

TEST(IconPalette, StartsWithActivitiesAndFollowsThePreferredLibrary) {
    BonusFolder none({});
    TFloatingPalette palette;
    EXPECT_EQ(palette.windowTitle(), "Icons");
    EXPECT_TRUE(palette.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(palette.findChild<QWidget*>(QStringLiteral("Panel1"))->size(), QSize(141, 141));
    TIconListBox* list = palette.IconListBox();
    EXPECT_TRUE(QFileInfo(list->FileName()).fileName().compare("activity.icl", Qt::CaseInsensitive) == 0);
    EXPECT_EQ(list->NumberOfIcons(), 40);
    EXPECT_TRUE(list->isEnabled());
    EXPECT_EQ(Ticked(palette), QStringList{"mnuActivitiesICL"});

    // The "Icons"/"File" preference naming holiday.icl.
    palette.Sync(IconLibraryPath(QStringLiteral("holiday.icl")));
    EXPECT_TRUE(list->FileName().endsWith(QStringLiteral("holiday.icl"), Qt::CaseInsensitive));
    EXPECT_EQ(Ticked(palette), QStringList{"mnuHolidaysICL"});

    // A preference naming a file that is gone leaves the library as it is.
    TFloatingPalette fresh;
    fresh.Sync(ProgramFile(QStringLiteral("gone.icl")));
    EXPECT_TRUE(fresh.IconListBox()->FileName().endsWith(QStringLiteral("activity.icl"), Qt::CaseInsensitive));
    EXPECT_EQ(fresh.IconListBox()->NumberOfIcons(), 40);
    EXPECT_EQ(Ticked(fresh), QStringList{"mnuActivitiesICL"});
    // Nor does a gone file that bears a shipped library's name tick that library's item.
    fresh.Sync(ProgramFile(QStringLiteral("gone/holiday.icl")));
    EXPECT_TRUE(fresh.IconListBox()->FileName().endsWith(QStringLiteral("activity.icl"), Qt::CaseInsensitive));
    EXPECT_EQ(Ticked(fresh), QStringList{"mnuActivitiesICL"});

    // The menu items load their library and say so.
    QSignalSpy changed(&palette, &TFloatingPalette::LibraryChanged);
    palette.Action(QStringLiteral("mnuMisc2ICL"))->trigger();
    EXPECT_TRUE(list->FileName().endsWith(QStringLiteral("misc2.icl"), Qt::CaseInsensitive));
    EXPECT_EQ(Ticked(palette), QStringList{"mnuMisc2ICL"});
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed.front().front().toString(), list->FileName());
}

TEST(IconPalette, BonusSetsAreSortedSubmenuItemsThatLoadAndTick) {
    BonusFolder sets({QStringLiteral("Zoo.icl"), QStringLiteral("Autumn.icl"), QStringLiteral("notes.txt")});
    EXPECT_EQ(BonusSetNames(), (QStringList{"Autumn", "Zoo"}));
    TFloatingPalette palette;
    QStringList captions;
    for (QAction* a : palette.BonusMenu()->actions()) captions << a->text();
    EXPECT_EQ(captions, (QStringList{"Autumn", "Zoo"}));
    palette.Action(QStringLiteral("Zoo"))->trigger();
    EXPECT_TRUE(palette.IconListBox()->FileName().endsWith(QStringLiteral("BonusIcons/Zoo.icl")));
    EXPECT_EQ(palette.IconListBox()->NumberOfIcons(), 1);
    EXPECT_EQ(Ticked(palette), QStringList{"Zoo"});
}

TEST(IconPalette, WithoutBonusSetsTheItemSaysWhereToGetThem) {
    BonusFolder none({});
    NoShippedData noData;
    test::MessageRecorder messages;
    TFloatingPalette palette;
    EXPECT_TRUE(palette.BonusMenu()->actions().isEmpty());
    palette.Action(QStringLiteral("mnuBonusIconSets"))->trigger();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.lastText().startsWith(QStringLiteral("No Bonus Sets Found!")));
    // Nothing shipped and nothing in the program folder: the list is empty and disabled.
    EXPECT_EQ(palette.IconListBox()->NumberOfIcons(), 0);
    EXPECT_FALSE(palette.IconListBox()->isEnabled());
}

TEST(IconPalette, OtherAsksAgainForFilesWithoutIconsAndFallsBackToMisc1) {
    BonusFolder none({});
    QTemporaryDir dir;
    const QString empty = dir.filePath(QStringLiteral("empty.dll"));
    WriteFile(empty, QByteArray("MZ not really a program"));
    QStringList answers{empty, QString()};
    int asked = 0;
    test::ScopedHook<FileChooser> chooser(SetFileChooser, [&](const FileDialogRequest& r, QWidget*) {
        EXPECT_EQ(r.directory, ProgramDir());
        // Seven filters, "All Files" first, and the seventh chosen when the dialog opens.
        const QStringList filters = r.filter.split(QStringLiteral(";;"));
        EXPECT_EQ(filters.size(), 7);
        EXPECT_TRUE(filters.value(0).startsWith(QStringLiteral("All Files")));
        EXPECT_EQ(r.selectedFilter, filters.value(6));
        EXPECT_TRUE(r.selectedFilter.startsWith(QStringLiteral("ICL and ICO Files")));
        return answers.value(asked++);
    });
    test::MessageRecorder messages;
    TFloatingPalette palette;
    palette.Action(QStringLiteral("mnuOtherIconFile"))->trigger();
    EXPECT_EQ(asked, 2);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.lastText(), QStringLiteral("No icons found in ") + empty);
    EXPECT_TRUE(palette.IconListBox()->FileName().endsWith(QStringLiteral("misc1.icl"), Qt::CaseInsensitive));
    EXPECT_EQ(Ticked(palette), QStringList{"mnuMisc1ICL"});

    // A usable file after an unusable one: shown, and "Other..." ticked.
    const QString good = dir.filePath(QStringLiteral("mine.ICL"));
    WriteFile(good, WriteNeIconLibrary({Solid(0xFFFF0000), Solid(0xFF00FF00)}, "MINE"));
    answers = {empty, good};
    asked = 0;
    palette.Action(QStringLiteral("mnuOtherIconFile"))->trigger();
    EXPECT_EQ(palette.IconListBox()->FileName(), good);
    EXPECT_EQ(palette.IconListBox()->NumberOfIcons(), 2);
    EXPECT_EQ(Ticked(palette), QStringList{"mnuOtherIconFile"});

    // A named pipe or a folder chosen as a library is not opened, and the message says what it is.
    const QString pipe = dir.filePath(QStringLiteral("pipe.ICL"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString folder = dir.filePath(QStringLiteral("folder.ICL"));
    ASSERT_TRUE(QDir().mkdir(folder));
    answers = {pipe, folder, QString()};
    asked = 0;
    messages.shown.clear();
    palette.Action(QStringLiteral("mnuOtherIconFile"))->trigger();
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("No icons found in %1\rCannot read %1: it is a named pipe, not a file")
                                          .arg(pipe));
    EXPECT_EQ(messages.shown[1].text, QStringLiteral("No icons found in %1\rCannot read %1: it is a folder, not a file")
                                          .arg(folder));
}

TEST(IconPalette, DragCarriesTheIconAtItsSizeAndHidingIsReported) {
    BonusFolder none({});
    TFloatingPalette palette;
    TIconListBox* list = palette.IconListBox();
    list->SetItemIndex(2);
    const std::unique_ptr<QMimeData> data(list->DragData(QList<QListWidgetItem*>{list->item(2)}));
    ASSERT_TRUE(data);
    ASSERT_TRUE(data->hasImage());
    const QImage dragged = qvariant_cast<QImage>(data->imageData());
    EXPECT_EQ(dragged.size(), QSize(32, 32));
    EXPECT_EQ(dragged.convertToFormat(QImage::Format_ARGB32), list->Icon(2).convertToFormat(QImage::Format_ARGB32));

    QSignalSpy hidden(&palette, &TFloatingPalette::Hidden);
    palette.show();
    palette.hide();
    EXPECT_EQ(hidden.size(), 1);
}

TEST(IconPalette, IconDroppedOnADayCellSurvivesSaveReopenAndPrint) {
    QFile::remove(ProgramFile(QStringLiteral("PX.ini")));
    QTemporaryDir dir;
    test::MessageRecorder messages;
    test::ScopedHook<ModalDialogRunner> dialogs(SetModalDialogRunner, [](QDialog&) { return int(QDialog::Accepted); });
    TCalendarMain window;
    window.FormActivate();
    window.New1Click();
    TCalendarPanel32* page = window.CalendarPanel();
    ASSERT_FALSE(page->isHidden());
    page->SetCalendarLayout(TCalendarLayout::loFullCalendar);
    page->SetMainCalMonth(12);
    page->SetMainCalYear(1997);
    page->RenderPage();

    // A pure blue icon, a colour nothing else on the page uses.
    TIconListBox list;
    const QString library = dir.filePath(QStringLiteral("blue.icl"));
    WriteFile(library, WriteNeIconLibrary({Solid(0xFF0000FF)}, "BLUE"));
    list.SetFileName(library);
    list.SetItemIndex(0);
    const std::unique_ptr<QMimeData> data(list.DragData({list.item(0)}));
    const int cell = page->CellOfDay(12);
    const Rect r = page->DrawState().cells[cell - 1].rFree;
    const QPoint inside((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ASSERT_TRUE(window.PageDragDrop(data.get(), inside));
    window.DoSaveRichtext();
    EXPECT_TRUE(page->CellRtf(cell)->RtfData().contains("\\pict"));

    const QString file = dir.filePath(QStringLiteral("Icons.PXF"));
    ASSERT_TRUE(window.SaveCalendarFile(file));
    page->ClearCellTexts();
    ASSERT_TRUE(window.OpenCalendarFile(file));
    page = window.CalendarPanel();
    ASSERT_TRUE(page->CellRtf(page->CellOfDay(12))->RtfData().contains("\\pict"));

    // Printed: the icon's blue is on the printed page.
    const QImage printed = RenderPrintedPage(page->Page(), 96).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(printed.isNull());
    EXPECT_GT(test::CountColor(printed, 0xFF0000), 50);
}

}  // namespace
