// The main window driven as a person does: start-up, New through the properties dialog, typing into
// cells, Tab, zoom, saving and reopening, recent files, Cancel Changes, closing and the buttons.
#include <QBuffer>
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QCursor>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QUrl>

#include "app/about_box.h"
#include "app/command_line.h"
#include "app/document_undo.h"
#include "app/main_window.h"
#include "app/mru_list.h"
#include "app/sample_calendar.h"
#include "app/single_instance.h"
#include "app/user_title_dialog.h"
#include "calendar/calendar_panel.h"
#include "common/qstring_printer.h"
#include "platform/code_page.h"
#include "platform/common_dialogs.h"
#include "platform/ini_file.h"
#include "platform/program_folder.h"
#include "recurring/selection_dialogs.h"
#include "richtext/rich_text_editor.h"
#include "richtext/rtf_storage.h"
#include "surface/handle.h"
#include "test_support.h"

using namespace plennix;

namespace {

// Answers every file dialog with `answer` (empty = Cancel) and every modal dialog with `result`,
// remembering what was asked.
struct DialogAnswers {
    QString answer;
    int result = QDialog::Accepted;
    std::vector<FileDialogRequest> asked;
    QStringList dialogs;
    DialogAnswers() {
        SetFileChooser([this](const FileDialogRequest& r, QWidget*) {
            asked.push_back(r);
            return answer;
        });
        SetModalDialogRunner([this](QDialog& d) {
            dialogs << d.metaObject()->className();
            return result;
        });
    }
    ~DialogAnswers() {
        SetFileChooser(nullptr);
        SetModalDialogRunner(nullptr);
    }
};

QString cellText(TCalendarPanel32* page, int cell) {
    return page->CellRtf(cell)->Document()->toPlainText().trimmed();
}

void freshProgramFolder() {
    QFile::remove(ProgramFile(QStringLiteral("PX.ini")));
    QFile::remove(ProgramFile(QStringLiteral("PXRECUR.DAX")));
}

// A window after start-up with a new December 1997 calendar on its page.
void startWithNewCalendar(TCalendarMain& window) {
    DialogAnswers answers;
    window.FormActivate();
    window.New1Click();
    ASSERT_FALSE(window.CalendarPanel()->isHidden());
    window.CalendarPanel()->SetCalendarLayout(TCalendarLayout::loFullCalendar);
    window.CalendarPanel()->SetMainCalMonth(12);
    window.CalendarPanel()->SetMainCalYear(1997);
    window.CalendarPanel()->RenderPage();
}

bool enabled(const TCalendarMain& w, const char* name) { return w.Action(QString::fromLatin1(name))->isEnabled(); }
bool visible(const TCalendarMain& w, const char* name) { return w.Action(QString::fromLatin1(name))->isVisible(); }

}  // namespace

TEST(MainWindow, StartsWithoutADocumentAndDisablesWhatNeedsOne) {
    freshProgramFolder();
    test::MessageRecorder messages;
    TCalendarMain window;
    window.FormActivate();
    EXPECT_TRUE(window.CalendarPanel()->isHidden());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Plennix    [60%]"));
    for (const char* name : {"mnuSave", "mnuSaveAs", "mnuSaveAsBitmap", "mnuProperties", "mnuUserTitle",
                             "mnuCancelChanges", "mnuClearAllCellContents", "mnuFillCalendarwithRecurringDates",
                             "mnuPrintCalendar", "mnuPrintSetup", "ZoomPlusButton", "ZoomMinusButton",
                             "ShowHideIconTool", "PropertiesButton", "Printbutton"})
        EXPECT_FALSE(enabled(window, name)) << name;
    EXPECT_TRUE(enabled(window, "New1"));
    EXPECT_FALSE(visible(window, "Savebutton"));
    EXPECT_FALSE(visible(window, "CancelButton"));
    // The placement section exists after the first start.
    EXPECT_TRUE(IniFile(ProgramFile("PX.ini")).hasKey("TCalendarMain_Placement", "Bottom"));
}

TEST(MainWindow, NewThroughThePropertiesDialogShowsThePage) {
    freshProgramFolder();
    test::MessageRecorder messages;
    TCalendarMain window;
    window.FormActivate();
    {
        DialogAnswers cancel;
        cancel.result = QDialog::Rejected;
        window.New1Click();
        EXPECT_TRUE(window.CalendarPanel()->isHidden());
        EXPECT_FALSE(window.Modified());
    }
    DialogAnswers answers;
    window.New1Click();
    ASSERT_EQ(answers.dialogs.size(), 1);
    EXPECT_FALSE(window.CalendarPanel()->isHidden());
    EXPECT_TRUE(window.Modified());
    EXPECT_TRUE(visible(window, "Savebutton"));
    EXPECT_FALSE(visible(window, "CancelButton"));  // no file name yet
    EXPECT_TRUE(enabled(window, "mnuSaveAs"));
    EXPECT_FALSE(enabled(window, "mnuSave"));
    EXPECT_TRUE(enabled(window, "ZoomPlusButton"));
}

TEST(MainWindow, TypedCellIsSavedUnderTheMonthsNameAndReopenedAtStart) {
    freshProgramFolder();
    QTemporaryDir dir;
    test::MessageRecorder messages;
    QString path;
    int cell = 0;
    {
        TCalendarMain window;
        startWithNewCalendar(window);
        TCalendarPanel32* page = window.CalendarPanel();
        cell = page->CellOfDay(10);
        page->ClickCell(cell);
        ASSERT_TRUE(window.CellEditor()->isVisible());
        QTest::keyClicks(window.CellEditor(), QStringLiteral("Dentist"));
        DialogAnswers answers;
        path = dir.filePath(QStringLiteral("Dec1997.PXF"));
        answers.answer = path;
        window.Action(QStringLiteral("Savebutton"))->trigger();  // untitled: Save As
        ASSERT_EQ(answers.asked.size(), 1u);
        EXPECT_EQ(answers.asked[0].proposedName, QStringLiteral("Dec1997.PXF"));
        EXPECT_EQ(answers.asked[0].title, QStringLiteral("Save Calendar File"));
        EXPECT_EQ(answers.asked[0].directory, ProgramDir());
        EXPECT_FALSE(window.CellEditor()->isVisible());
        EXPECT_FALSE(window.Modified());
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Plennix  [Dec1997.PXF]    [60%]"));
        EXPECT_EQ(window.RecentFiles()->Items(), QStringList{path});
        EXPECT_TRUE(window.close());
    }
    TCalendarMain again;
    again.FormActivate();  // the most recent file comes back
    EXPECT_EQ(again.FileName(), path);
    EXPECT_FALSE(again.CalendarPanel()->isHidden());
    EXPECT_EQ(cellText(again.CalendarPanel(), cell), QStringLiteral("Dentist"));
    EXPECT_FALSE(again.Modified());
}

TEST(MainWindow, TabAndShiftTabMoveTheEditorKeepingEachText) {
    freshProgramFolder();
    test::MessageRecorder messages;
    TCalendarMain window;
    startWithNewCalendar(window);
    TCalendarPanel32* page = window.CalendarPanel();
    const int first = page->CellOfDay(1);
    page->ClickCell(first);
    QTest::keyClicks(window.CellEditor(), QStringLiteral("one"));
    QTest::keyClick(window.CellEditor(), Qt::Key_Tab);
    EXPECT_EQ(window.CurrentCell(), first + 1);
    QTest::keyClicks(window.CellEditor(), QStringLiteral("two"));
    QTest::keyClick(window.CellEditor(), Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(window.CurrentCell(), first);
    EXPECT_EQ(window.CellEditor()->toPlainText().trimmed(), QStringLiteral("one"));
    window.DoSaveRichtext();
    EXPECT_EQ(cellText(page, first), QStringLiteral("one"));
    EXPECT_EQ(cellText(page, first + 1), QStringLiteral("two"));

    page->ClickCell(42);
    QTest::keyClick(window.CellEditor(), Qt::Key_Tab);  // the last cell has no next one
    EXPECT_EQ(window.CurrentCell(), 42);
}

TEST(MainWindow, ZoomKeysCloseTheEditorAndKeepItsText) {
    freshProgramFolder();
    test::MessageRecorder messages;
    TCalendarMain window;
    startWithNewCalendar(window);
    TCalendarPanel32* page = window.CalendarPanel();
    const int cell = page->CellOfDay(5);
    page->ClickCell(cell);
    QTest::keyClicks(window.CellEditor(), QStringLiteral("Gym"));
    QTest::keyClick(window.CellEditor(), Qt::Key_PageDown);
    EXPECT_FALSE(window.CellEditor()->isVisible());
    EXPECT_EQ(cellText(page, cell), QStringLiteral("Gym"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Plennix    [70%]"));
    QTest::keyClick(window.CalendarPanel(), Qt::Key_PageUp);
    QTest::keyClick(window.CalendarPanel(), Qt::Key_PageUp);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Plennix    [50%]"));
    QTest::keyClick(window.CalendarPanel(), Qt::Key_PageUp);  // no step below 0.6
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Plennix    [50%]"));
}

TEST(MainWindow, EmptyCellStartsInTheDefaultEditorFont) {
    freshProgramFolder();
    test::MessageRecorder messages;
    TCalendarMain window;
    startWithNewCalendar(window);
    SetFontChooser([](const FontRecord& f, QWidget*) {
        FontRecord chosen = f;
        chosen.name = QStringLiteral("Times New Roman");
        chosen.setSize(14);
        chosen.style = fsBold | fsItalic | fsStrikeOut;
        return std::optional<FontRecord>(chosen);
    });
    window.DefaultEditorFont1Click();
    SetFontChooser(nullptr);
    EXPECT_EQ(window.Prefs().font.name, QStringLiteral("Times New Roman"));
    // Survives a restart.
    TCalendarMain second;
    EXPECT_TRUE(second.Prefs().font.strikeout);
    EXPECT_EQ(second.Prefs().font.size, 14);

    window.CalendarPanel()->ClickCell(window.CalendarPanel()->CellOfDay(3));
    QTest::keyClicks(window.CellEditor(), QStringLiteral("x"));
    const RtfCharFormat format = window.CellEditor()->CurrentAttributes();
    EXPECT_EQ(format.font, QStringLiteral("Times New Roman"));
    EXPECT_TRUE(format.style & fsBold);
    EXPECT_TRUE(format.style & fsItalic);
}

TEST(MainWindow, RecentFilesKeepFiveAndAMissingOneIsReported) {
    freshProgramFolder();
    QTemporaryDir dir;
    test::MessageRecorder messages;
    TCalendarMain window;
    startWithNewCalendar(window);
    QStringList paths;
    for (int i = 1; i <= 6; ++i) {
        paths << dir.filePath(QStringLiteral("Cal%1.PXF").arg(i));
        ASSERT_TRUE(window.SaveCalendarFile(paths.last()));
    }
    for (const QString& p : paths) ASSERT_TRUE(window.OpenCalendarFile(p));
    const QStringList expected{paths[5], paths[4], paths[3], paths[2], paths[1]};
    EXPECT_EQ(window.RecentFiles()->Items(), expected);
    EXPECT_EQ(IniFile(ProgramFile("PX.ini")).readString("MRU", "F4"), paths[1]);

    QFile::remove(paths[2]);
    TMRUMenuItem* gone = nullptr;
    for (QAction* a : window.findChildren<QAction*>())
        if (auto* item = qobject_cast<TMRUMenuItem*>(a); item && item->FileName() == paths[2]) gone = item;
    ASSERT_NE(gone, nullptr);
    gone->trigger();
    EXPECT_EQ(messages.lastText(), QStringLiteral("File ") + paths[2] + QStringLiteral(" no longer exists"));
    EXPECT_FALSE(window.RecentFiles()->Items().contains(paths[2]));
    // The document that was open stays open.
    EXPECT_FALSE(window.CalendarPanel()->isHidden());
    EXPECT_EQ(window.FileName(), paths[5]);
    EXPECT_FALSE(IniFile(ProgramFile("PX.ini")).readString("MRU", "F0").isEmpty());
}

TEST(MainWindow, OpenRefusesOtherFilesAndReportsDamagedOnes) {
    freshProgramFolder();
    QTemporaryDir dir;
    test::MessageRecorder messages;
    TCalendarMain window;
    window.FormActivate();
    DialogAnswers answers;
    answers.answer = dir.filePath(QStringLiteral("notes.txt"));
    window.Open1Click();
    EXPECT_EQ(answers.asked.at(0).title, QStringLiteral("Open Calendar File"));
    EXPECT_EQ(messages.lastText(), QStringLiteral("Must be a Calendar file (*.PXF)"));

    QFile bad(dir.filePath(QStringLiteral("Bad.PXF")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("\x01\x02\x03");
    bad.close();
    answers.answer = bad.fileName();
    window.Open1Click();
    EXPECT_EQ(messages.lastText(), QStringLiteral("Unable to open ") + bad.fileName() +
                                       QStringLiteral(". Possibly \rcorrupted, possibly not a Calendar file"));
    EXPECT_TRUE(window.CalendarPanel()->isHidden());
    EXPECT_TRUE(window.RecentFiles()->Items().isEmpty());
}

// Objects the document holds but that cannot be read are lost at the next save: opening it says so.
TEST(MainWindow, OpeningADocumentWithUnreadableObjectsSaysHowManyAreMissing) {
    freshProgramFolder();
    QTemporaryDir dir;
    const QString intact = dir.filePath(QStringLiteral("Intact.PXF"));
    const QString damaged = dir.filePath(QStringLiteral("Damaged.PXF"));
    ASSERT_TRUE(CreateSampleCalendar(intact, nullptr));
    QFile file(intact);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    file.close();
    const qsizetype at = bytes.indexOf("TGPLabel");
    ASSERT_GE(at, 0);
    bytes[at + 7] = 'X';  // a class nobody knows
    QFile out(damaged);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    out.close();

    test::MessageRecorder messages;
    TCalendarMain window;
    window.FormActivate();
    ASSERT_TRUE(window.OpenCalendarFile(damaged));
    EXPECT_TRUE(messages.lastText().contains(QStringLiteral("1 object(s) in Damaged.PXF could not be read")))
        << messages.lastText().toStdString();
    EXPECT_EQ(window.FileName(), damaged);
    EXPECT_FALSE(window.CalendarPanel()->isHidden());
    EXPECT_TRUE(window.CalendarPanel()->Objects().empty());

    const size_t before = messages.shown.size();
    ASSERT_TRUE(window.OpenCalendarFile(intact));
    EXPECT_EQ(messages.shown.size(), before);  // a complete document opens without a word
    EXPECT_EQ(window.CalendarPanel()->Objects().size(), 1u);
}

// A document that cannot be read (damaged, or not a file at all) is reported and the open document
// stays exactly as it was: its page, name, caption, modified state and undo history. Cancel Changes
// that cannot read the file again keeps the changes unsaved.
TEST(MainWindow, AFailedOpenLeavesTheOpenDocumentAsItWas) {
    freshProgramFolder();
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("A.PXF"));
    ASSERT_TRUE(CreateSampleCalendar(a, nullptr));
    QFile file(a);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray intact = file.readAll();
    file.close();
    // Cut off in the middle of the day cells: the reader gets part way through the page.
    const qsizetype objects = intact.indexOf("TGPLabel");
    ASSERT_GT(objects, 0);
    const QByteArray damaged = intact.left(objects / 2);
    const QString b = dir.filePath(QStringLiteral("B.PXF"));
    QFile out(b);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(damaged);
    out.close();
    const QString folder = dir.filePath(QStringLiteral("Folder.PXF"));
    ASSERT_TRUE(QDir().mkdir(folder));

    test::MessageRecorder messages;
    TCalendarMain window;
    window.FormActivate();
    ASSERT_TRUE(window.OpenCalendarFile(a));
    TCalendarPanel32* page = window.CalendarPanel();
    ASSERT_EQ(page->ObjectCount(), 1);
    page->RenderPage();  // lays out the cells so that days can be found
    const int cell = page->CellOfDay(9);
    page->ClickCell(cell);
    QTest::keyClicks(window.CellEditor(), QStringLiteral("dentist"));
    window.DoSaveRichtext();
    window.ZoomIn();
    page->Frame()->AddToSelection(page->ObjectAt(0));
    ASSERT_TRUE(window.Modified());
    TDocumentUndo* undo = DocumentUndoOf(window);
    const QByteArray bytes = page->SaveToBytes();
    const QString caption = window.windowTitle();
    const int steps = undo->Stack().count();
    const QString undoText = undo->UndoText();

    auto expectUnchanged = [&](const QString& what) {
        SCOPED_TRACE(what.toStdString());
        EXPECT_EQ(page->SaveToBytes(), bytes);
        EXPECT_EQ(window.FileName(), a);
        EXPECT_EQ(window.windowTitle(), caption);
        EXPECT_TRUE(window.Modified());
        EXPECT_TRUE(visible(window, "Savebutton"));
        EXPECT_FALSE(page->isHidden());
        EXPECT_EQ(page->Frame()->SelectionCount(), 1);
        EXPECT_EQ(undo->Stack().count(), steps);
        EXPECT_EQ(undo->UndoText(), undoText);
        EXPECT_EQ(cellText(page, cell), QStringLiteral("dentist"));
    };
    EXPECT_FALSE(window.OpenCalendarFile(b));
    EXPECT_EQ(messages.lastText(), QStringLiteral("Unable to open ") + b +
                                       QStringLiteral(". Possibly \rcorrupted, possibly not a Calendar file"));
    expectUnchanged(QStringLiteral("damaged"));
    const size_t shown = messages.shown.size();
    EXPECT_FALSE(window.OpenCalendarFile(folder));
    EXPECT_EQ(messages.shown.size(), shown + 1);
    EXPECT_TRUE(messages.lastText().contains(folder)) << messages.lastText().toStdString();
    expectUnchanged(QStringLiteral("folder"));
    EXPECT_EQ(window.RecentFiles()->Items(), QStringList{a});

    // The document's own file was damaged meanwhile: cancelling the changes cannot read it back.
    ASSERT_TRUE(QFile::remove(a));
    ASSERT_TRUE(QFile::copy(b, a));
    window.mnuCancelChangesClick();  // the recorder answers Yes
    EXPECT_TRUE(messages.lastText().startsWith(QStringLiteral("Unable to open ") + a));
    expectUnchanged(QStringLiteral("cancel changes"));
}

TEST(MainWindow, CancelChangesReloadsTheFile) {
    freshProgramFolder();
    QTemporaryDir dir;
    test::MessageRecorder messages(true);
    TCalendarMain window;
    startWithNewCalendar(window);
    const QString path = dir.filePath(QStringLiteral("Keep.PXF"));
    ASSERT_TRUE(window.SaveCalendarFile(path));
    TCalendarPanel32* page = window.CalendarPanel();
    const int cell = page->CellOfDay(7);
    page->ClickCell(cell);
    QTest::keyClicks(window.CellEditor(), QStringLiteral("draft"));
    EXPECT_TRUE(visible(window, "CancelButton"));
    window.Action(QStringLiteral("CancelButton"))->trigger();
    EXPECT_EQ(messages.shown.back().caption, QStringLiteral("CANCEL"));
    EXPECT_EQ(messages.shown.back().text, QStringLiteral("Cancel all changes?"));
    EXPECT_FALSE(window.Modified());
    EXPECT_TRUE(window.CalendarPanel()->CellRtf(cell)->IsEmpty());
    EXPECT_EQ(window.FileName(), path);

    window.mnuClearAllCellContentsClick();
    EXPECT_TRUE(window.Modified());
}

TEST(MainWindow, ClosingAsksAndAFailedSaveKeepsTheWindowOpen) {
    freshProgramFolder();
    QTemporaryDir dir;
    {
        test::MessageRecorder no(false);
        TCalendarMain window;
        startWithNewCalendar(window);
        EXPECT_TRUE(window.close());  // No: closes without saving
        ASSERT_FALSE(no.shown.empty());
        EXPECT_EQ(no.shown.back().text, QStringLiteral("Save changes?"));
        EXPECT_EQ(no.shown.back().caption, QStringLiteral("Save"));
    }
    {
        test::MessageRecorder yes(true);
        TCalendarMain window;
        startWithNewCalendar(window);
        DialogAnswers cancelled;  // Save As cancelled
        EXPECT_FALSE(window.close());
        EXPECT_TRUE(window.Modified());
        // A save into a folder that does not exist fails: the window stays and says why.
        cancelled.answer = dir.filePath(QStringLiteral("missing/Dec1997.PXF"));
        const size_t before = yes.shown.size();
        EXPECT_FALSE(window.close());
        EXPECT_TRUE(window.Modified());
        EXPECT_GT(yes.shown.size(), before + 1);  // the question and the failure
        cancelled.answer = dir.filePath(QStringLiteral("Dec1997.PXF"));
        EXPECT_TRUE(window.close());
        EXPECT_TRUE(QFile::exists(cancelled.answer));
    }
    {
        test::MessageRecorder never;
        TCalendarMain window;
        window.FormActivate();
        EXPECT_TRUE(window.close());  // nothing to save: no question
        EXPECT_TRUE(never.shown.empty() || never.shown.back().text != QStringLiteral("Save changes?"));
    }
}

TEST(MainWindow, ClosingWritesZoomAndHints) {
    freshProgramFolder();
    test::MessageRecorder messages(false);
    {
        TCalendarMain window;
        startWithNewCalendar(window);
        window.ZoomIn();
        window.ZoomIn();
        window.Action(QStringLiteral("mnuShowHint"))->trigger();
        EXPECT_FALSE(window.Prefs().hintsOn);
        EXPECT_TRUE(window.close());
    }
    const IniFile ini(ProgramFile("PX.ini"));
    EXPECT_EQ(ini.readInteger("Zooming", "Main", 0), 80);
    EXPECT_EQ(ini.readInteger("Hints", "On", 1), 0);
    TCalendarMain next;
    EXPECT_EQ(next.windowTitle(), QStringLiteral("Plennix    [80%]"));
    EXPECT_FALSE(next.Action(QStringLiteral("mnuShowHint"))->isChecked());
}

TEST(MainWindow, SecondStartHandsItsFileToTheRunningWindow) {
    freshProgramFolder();
    QTemporaryDir dir;
    test::MessageRecorder messages(false);
    TCalendarMain window;
    startWithNewCalendar(window);
    const QString path = dir.filePath(QStringLiteral("Handed.PXF"));
    ASSERT_TRUE(window.SaveCalendarFile(path));
    {
        DialogAnswers answers;
        window.New1Click();
    }
    window.showMinimized();
    const QString name = QStringLiteral("plennix-window-test-%1").arg(QCoreApplication::applicationPid());
    TJustOne first(name);
    ASSERT_TRUE(first.TryBecomeFirst());
    first.OnHandOver = [&](const QString& p) { window.HandOverReceived(p); };
    ASSERT_TRUE(first.Listen());
    TJustOne second(name);
    ASSERT_FALSE(second.TryBecomeFirst());
    ASSERT_TRUE(second.HandOver(path, 3000));
    QTRY_COMPARE_WITH_TIMEOUT(window.FileName(), path, 3000);
    EXPECT_FALSE(window.isMinimized());
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown.back().text, QStringLiteral("Save changes?"));
}

TEST(MainWindow, UserTitleRefusesTextTheCodePageCannotHold) {
    freshProgramFolder();
    test::MessageRecorder messages;
    ScopedCodePage page1252(1252);
    TUserTitleForm form;
    form.SetTitle(QStringLiteral("Family \u2713 2026"));
    form.show();
    form.okbutton->click();
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.result(), 0);
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_TRUE(messages.lastText().contains(QStringLiteral("\u2713")));
    form.SetTitle(QStringLiteral("Familie M\u00fcller"));
    form.okbutton->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);

    TCalendarMain window;
    startWithNewCalendar(window);
    window.DoSaveRichtext();
    SetModalDialogRunner([](QDialog& d) {
        auto* f = qobject_cast<TUserTitleForm*>(&d);
        f->TitleText->setText(QStringLiteral("Our year"));
        return int(QDialog::Accepted);
    });
    window.mnuUserTitleClick();
    SetModalDialogRunner(nullptr);
    EXPECT_EQ(window.CalendarPanel()->Settings().UserTitle, QStringLiteral("Our year"));
}

TEST(MainWindow, ImageDroppedOnADayCellGoesIntoItsText) {
    freshProgramFolder();
    QTemporaryDir dir;
    test::MessageRecorder messages;
    TCalendarMain window;
    startWithNewCalendar(window);
    window.show();
    window.SetModified(false);
    QImage icon(16, 16, QImage::Format_RGB32);
    icon.fill(Qt::red);
    const QString file = dir.filePath(QStringLiteral("star.png"));
    ASSERT_TRUE(icon.save(file));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file)});
    TCalendarPanel32* page = window.CalendarPanel();
    const int cell = page->CellOfDay(12);
    const Rect r = page->DrawState().cells[cell - 1].rFree;
    const QPoint inside((r.left + r.right) / 2, (r.top + r.bottom) / 2);

    EXPECT_FALSE(window.PageDragOver(&data, QPoint(1, 1)));  // outside every day cell
    EXPECT_FALSE(window.PageDragDrop(&data, QPoint(1, 1)));
    EXPECT_FALSE(window.Modified());
    QMimeData text;
    text.setText(QStringLiteral("not a picture"));
    EXPECT_FALSE(window.PageDragOver(&text, inside));

    ASSERT_TRUE(page->PointInCell(inside.x(), inside.y()));
    EXPECT_TRUE(window.PageDragOver(&data, inside));
    EXPECT_TRUE(window.PageDragDrop(&data, inside));
    EXPECT_EQ(window.CurrentCell(), cell);
    EXPECT_TRUE(window.CellEditor()->isVisible());
    EXPECT_TRUE(window.Modified());
    window.DoSaveRichtext();
    EXPECT_FALSE(page->CellRtf(cell)->IsEmpty());
}

TEST(MainWindow, ACutOffBitmapDroppedOnADayCellIsRefusedWithItsName) {
    // The bitmap reader decodes a cut-off file into rows of stray memory: such a file is no picture.
    freshProgramFolder();
    QTemporaryDir dir;
    test::MessageRecorder messages;
    TCalendarMain window;
    startWithNewCalendar(window);
    window.show();
    window.SetModified(false);
    QImage picture(64, 64, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QByteArray bmp;
    QBuffer buffer(&bmp);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
    ASSERT_TRUE(picture.save(&buffer, "BMP"));
    const QString file = dir.filePath(QStringLiteral("cut.bmp"));
    QFile cut(file);
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(bmp.left(bmp.size() / 2));
    cut.close();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file)});
    TCalendarPanel32* page = window.CalendarPanel();
    const int cell = page->CellOfDay(12);
    const Rect r = page->DrawState().cells[cell - 1].rFree;
    const QPoint inside((r.left + r.right) / 2, (r.top + r.bottom) / 2);

    EXPECT_FALSE(window.PageDragDrop(&data, inside));
    EXPECT_FALSE(window.Modified());
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_TRUE(messages.lastText().contains(file)) << messages.lastText().toStdString();
    window.DoSaveRichtext();
    EXPECT_TRUE(page->CellRtf(cell)->IsEmpty());
}

TEST(MainWindow, ADroppedPictureThatCannotBeDecodedIsRefusedWithItsNameAndWhy) {
    freshProgramFolder();
    QTemporaryDir dir;
    test::MessageRecorder messages;
    TCalendarMain window;
    startWithNewCalendar(window);
    window.show();
    window.SetModified(false);
    TCalendarPanel32* page = window.CalendarPanel();
    const int cell = page->CellOfDay(12);
    const Rect r = page->DrawState().cells[cell - 1].rFree;
    const QPoint inside((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    auto drop = [&](const QString& file) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file)});
        return window.PageDragDrop(&data, inside);
    };

    // A picture's signature with nothing of a picture after it.
    const QString notes = dir.filePath(QStringLiteral("notes.png"));
    QFile text(notes);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("\x89PNG\r\n\x1a\na shopping list, not a picture\n");
    text.close();
    EXPECT_FALSE(drop(notes));
    const QString prefix = QStringLiteral("Unable to read the picture %1: ").arg(notes);
    EXPECT_TRUE(messages.lastText().startsWith(prefix) && messages.lastText().size() > prefix.size())
        << messages.lastText().toStdString();

    // Decoded from what was read, a picture whose name says another format is still taken.
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::green);
    const QString misnamed = dir.filePath(QStringLiteral("photo.jpg"));
    ASSERT_TRUE(picture.save(misnamed, "PNG"));
    EXPECT_TRUE(drop(misnamed)) << messages.lastText().toStdString();
    EXPECT_TRUE(window.Modified());
}

TEST(MainWindow, FillPutsChosenRecurringDatesIntoTheirDays) {
    freshProgramFolder();
    test::MessageRecorder messages;
    TCalendarMain window;
    startWithNewCalendar(window);
    window.SetModified(false);
    auto entry = [](const QString& text, const QString& formula) { return text.leftJustified(120, ' ') + formula; };
    QFile dax(ProgramFile(QStringLiteral("PXRECUR.DAX")));
    ASSERT_TRUE(dax.open(QIODevice::WriteOnly));
    dax.write((entry("Christmas Day", "@1225") + "\r\n" + entry("Easter", "#EASTER") + "\r\n" +
               entry("Weekdays", "%23456") + "\r\n")
                  .toLatin1());
    dax.close();
    TCalendarPanel32* page = window.CalendarPanel();
    page->ClickCell(page->CellOfDay(2));
    QStringList offered;
    SetModalDialogRunner([&](QDialog& d) {
        auto* select = qobject_cast<TSelectRecurringDates*>(&d);
        for (int i = 0; i < select->Dates->count(); ++i) offered << select->Dates->item(i)->text();
        select->AllbuttonClick();
        return int(QDialog::Accepted);
    });
    window.mnuFillCalendarwithRecurringDatesClick();
    SetModalDialogRunner(nullptr);
    window.DoSaveRichtext();
    EXPECT_EQ(offered.size(), 2);  // Easter does not fall in December
    const QString christmas = cellText(page, page->CellOfDay(25));
    EXPECT_TRUE(christmas.startsWith(QStringLiteral("Christmas Day"))) << christmas.toStdString();
    // The second text follows the first as the next paragraph, with no blank line between them.
    EXPECT_EQ(christmas.split('\n').value(1).trimmed().toStdString(), "Weekdays") << christmas.toStdString();
    EXPECT_TRUE(cellText(page, page->CellOfDay(27)).isEmpty());  // a Saturday
    EXPECT_TRUE(window.Modified());
    EXPECT_TRUE(visible(window, "Savebutton"));
}

TEST(MainWindow, HelpContentsAndAboutBox) {
    test::MessageRecorder messages;
    TCalendarMain window;
    window.Contents1Click();
    QTextBrowser* help = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("HelpWindow")) help = qobject_cast<QTextBrowser*>(w);
    ASSERT_NE(help, nullptr) << messages.lastText().toStdString();
    EXPECT_TRUE(help->source().toLocalFile().endsWith(QStringLiteral("help/1.html")));
    EXPECT_TRUE(help->toPlainText().contains(QStringLiteral("Contents")));
    help->close();

    QString shown;
    SetModalDialogRunner([&](QDialog& d) {
        if (auto* text = d.findChild<QLabel*>(QStringLiteral("AboutText"))) shown = text->text();
        return int(QDialog::Accepted);
    });
    window.About1Click();
    SetModalDialogRunner(nullptr);
    EXPECT_TRUE(shown.contains(QString::fromLatin1(qVersion())));
    EXPECT_TRUE(shown.contains(ActiveCodePageName()));
    EXPECT_TRUE(shown.startsWith(QStringLiteral("Plennix ") + ProgramVersion()));
}

TEST(MainWindow, DefaultFontDialogKeepsThePaletteStateOfTheSession) {
    freshProgramFolder();
    test::MessageRecorder messages(false);
    {
        TCalendarMain window;
        startWithNewCalendar(window);
        ASSERT_TRUE(window.IconPaletteShowing());
        window.ShowHideIconToolClick();
        ASSERT_FALSE(window.IconPaletteShowing());
        // A cancelled font dialog rereads the file; the hidden palette must still be what is written.
        SetFontChooser([](const FontRecord&, QWidget*) { return std::optional<FontRecord>(); });
        window.DefaultEditorFont1Click();
        SetFontChooser(nullptr);
        EXPECT_FALSE(window.Prefs().iconsVisible);
        EXPECT_TRUE(window.close());
    }
    EXPECT_EQ(IniFile(ProgramFile("PX.ini")).readInteger("Icons", "Visible", 1), 0);
}

TEST(MainWindow, HintsBreakIntoLinesAndTheToolBarClearsAStuckBusyCursor) {
    test::MessageRecorder messages;
    TCalendarMain window;
    EXPECT_EQ(window.Action(QStringLiteral("DrawRichText"))->toolTip(),
              QStringLiteral("Rich Text tool \nMixed fonts, colors and styles"));
    EXPECT_EQ(window.Action(QStringLiteral("DrawSuperText"))->statusTip(),
              QStringLiteral("SuperText tool - Special Effects Text - fill with gradients or bitmaps"));

    auto* toolBar = window.findChild<QToolBar*>(QStringLiteral("Panel3"));
    ASSERT_NE(toolBar, nullptr);
    auto moveOver = [&] {
        QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), toolBar->mapToGlobal(QPointF(3, 3)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(toolBar, &move);
    };
    // A drag cursor stays while the mouse passes over the tool bar.
    QApplication::setOverrideCursor(Qt::DragCopyCursor);
    moveOver();
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::DragCopyCursor);
    QApplication::restoreOverrideCursor();
    // A busy cursor left standing, even twice, goes.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    moveOver();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}

TEST(MainWindow, DialogsCentreOnTheScreenWhileTheWindowIsMaximised) {
    test::MessageRecorder messages;
    TCalendarMain window;
    window.setGeometry(20, 30, 635, 378);
    QDialog dialog(&window);
    dialog.resize(200, 100);
    CenterOverMainWindow(dialog);
    const QRect frame = window.frameGeometry();
    EXPECT_NEAR(dialog.x(), frame.x() + (frame.width() - 200) / 2, 1);
    EXPECT_NEAR(dialog.y(), frame.y() + (frame.height() - 100) / 2, 1);

    // Maximised (the state alone: the window keeps its small normal rectangle here).
    window.setWindowState(Qt::WindowMaximized);
    ASSERT_TRUE(window.isMaximized());
    CenterOverMainWindow(dialog);
    const QRect screen = window.screen()->availableGeometry();
    EXPECT_EQ(dialog.x(), screen.x() + (screen.width() - 200) / 2);
    EXPECT_EQ(dialog.y(), screen.y() + (screen.height() - 100) / 2);
}

TEST(MainWindow, ScrollBarsOnlyWithAPage) {
    freshProgramFolder();
    test::MessageRecorder messages;
    TCalendarMain window;
    window.FormActivate();
    auto* scroll = window.findChild<QScrollArea*>(QStringLiteral("ScrollBox2"));
    ASSERT_NE(scroll, nullptr);
    QCoreApplication::processEvents();
    EXPECT_FALSE(scroll->verticalScrollBar()->isVisible());
    EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible());
    DialogAnswers answers;
    window.New1Click();
    QCoreApplication::processEvents();
    // The page at 60 % is larger than the window's 635 x 378 client area.
    EXPECT_TRUE(scroll->verticalScrollBar()->isVisible());
}

TEST(MainWindow, EveryControlThatTakesTheFocusHasAName) {
    freshProgramFolder();
    test::MessageRecorder messages;
    TCalendarMain window;
    startWithNewCalendar(window);
    window.CalendarPanel()->ClickCell(window.CalendarPanel()->CellOfDay(3));
    QStringList unnamed;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (w->focusPolicy() == Qt::NoFocus || w->isHidden() || w->window() != &window) continue;
        // The text field of an editable list is named through its list.
        if (qobject_cast<QComboBox*>(w->parentWidget())) continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        if (!a || a->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << QStringLiteral("%1 (%2)").arg(w->objectName(), w->metaObject()->className());
    }
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(", ").toStdString();
}

// The recurring dates editor is not covered by the icon palette: the palette steps aside while it is
// open and comes back afterwards.
TEST(MainWindow, TheIconPaletteStepsAsideForTheRecurringDatesEditor) {
    freshProgramFolder();
    test::MessageRecorder messages;
    TCalendarMain window;
    QWidget palette;
    window.SetIconPalette(&palette);
    startWithNewCalendar(window);
    palette.show();
    ASSERT_TRUE(palette.isVisible());
    bool visibleDuring = true;
    SetModalDialogRunner([&](QDialog&) {
        visibleDuring = palette.isVisible();
        return int(QDialog::Rejected);
    });
    window.findChild<QAction*>(QStringLiteral("mnuEditrecurringDates"))->trigger();
    SetModalDialogRunner(nullptr);
    EXPECT_FALSE(visibleDuring);
    EXPECT_TRUE(palette.isVisible());
}
