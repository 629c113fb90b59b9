// The main window from the keyboard: one access key per item in every menu, Alt with the letter of
// the green Save and red Cancel buttons, and the "Save changes?" question with its way back (Escape,
// the box's close button, Cancel).
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFontComboBox>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/main_window.h"
#include "calendar/calendar_panel.h"
#include "platform/common_dialogs.h"
#include "platform/messages.h"
#include "platform/program_folder.h"
#include "richtext/format_toolbar.h"
#include "richtext/rich_text_editor.h"
#include "test_support.h"

using namespace plennix;

namespace {

// Every modal dialog (the properties dialog of New among them) is confirmed at once.
struct ConfirmDialogs {
    ConfirmDialogs() {
        SetModalDialogRunner([](QDialog&) { return int(QDialog::Accepted); });
    }
    ~ConfirmDialogs() { SetModalDialogRunner(nullptr); }
};

void startWithNewCalendar(TCalendarMain& window) {
    QFile::remove(ProgramFile(QStringLiteral("PX.ini")));
    ConfirmDialogs confirm;
    window.FormActivate();
    window.New1Click();
    ASSERT_FALSE(window.CalendarPanel()->isHidden());
    ASSERT_TRUE(window.Modified());
}

void makeActive(QWidget& window) {
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

// The access key of a caption ("Save &As..." gives 'a'), or a null character when it has none.
QChar accessKey(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&')) continue;
        if (caption[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return caption[i + 1].toLower();
    }
    return {};
}

// The captions of `actions` that share an access key, e.g. "n: &New  / Export as P&NG...".
QStringList clashes(const QList<QAction*>& actions) {
    QMap<QChar, QStringList> byKey;
    for (const QAction* a : actions) {
        if (a->isSeparator()) continue;
        const QChar key = accessKey(a->text());
        if (!key.isNull()) byKey[key] << a->text();
    }
    QStringList found;
    for (auto it = byKey.cbegin(); it != byKey.cend(); ++it)
        if (it.value().size() > 1)
            found << QString(it.key()) + QStringLiteral(": ") + it.value().join(QStringLiteral(" / "));
    return found;
}

// Waits for the question box, then lets `act` answer it as a person would.
void whenTheQuestionComes(QTimer& poll, const std::function<void(QMessageBox&)>& act) {
    QObject::disconnect(&poll, &QTimer::timeout, nullptr, nullptr);
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&poll, act] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        poll.stop();
        act(*box);
    });
    poll.start();
}

}  // namespace

TEST(MainWindowKeys, EveryMenuHasItsOwnAccessKeys) {
    QTemporaryDir dir;
    test::MessageRecorder messages(false);
    TCalendarMain window;
    startWithNewCalendar(window);
    // With recent files their numbered entries join the File menu.
    ASSERT_TRUE(window.SaveCalendarFile(dir.filePath(QStringLiteral("a.PXF"))));
    ASSERT_TRUE(window.SaveCalendarFile(dir.filePath(QStringLiteral("b.PXF"))));

    const QList<QMenu*> menus = window.findChildren<QMenu*>();
    ASSERT_GE(menus.size(), 5);
    int items = 0;
    QStringList withoutKey;
    for (const QMenu* menu : menus) {
        EXPECT_EQ(clashes(menu->actions()), QStringList()) << menu->title().toStdString();
        items += int(menu->actions().size());
        for (const QAction* a : menu->actions())
            if (!a->isSeparator() && accessKey(a->text()).isNull())
                withoutKey << menu->title() + QStringLiteral(" > ") + a->text();
    }
    // Every item is reached by its letter as well.
    EXPECT_EQ(withoutKey, QStringList());
    EXPECT_GT(items, 30);
    // The menu bar's keys and the Alt keys of the tool bar's Save and Cancel buttons are one set.
    QList<QAction*> altKeys = window.menuBar()->actions();
    altKeys << window.Action(QStringLiteral("Savebutton")) << window.Action(QStringLiteral("CancelButton"));
    EXPECT_EQ(clashes(altKeys), QStringList());
    // The captions are the ones the menus always had; only the clashing letters moved.
    EXPECT_EQ(window.Action(QStringLiteral("New1"))->text(), QStringLiteral("&New "));
    EXPECT_EQ(window.Action(QStringLiteral("DefaultEditorFont1"))->text(), QStringLiteral("&Default Editor Font"));
    EXPECT_EQ(window.Action(QStringLiteral("mnuSaveAs"))->text(), QStringLiteral("Save &As..."));
}

TEST(MainWindowKeys, AltWithTheLetterPressesTheSaveAndCancelButtons) {
    QTemporaryDir dir;
    test::MessageRecorder yes(true);
    TCalendarMain window;
    startWithNewCalendar(window);
    const QString file = dir.filePath(QStringLiteral("Dec.PXF"));
    ASSERT_TRUE(window.SaveCalendarFile(file));
    makeActive(window);

    window.CalendarPanel()->SetUserTitle(QStringLiteral("Kept"));
    window.SetModified(true);
    ASSERT_TRUE(window.Action(QStringLiteral("Savebutton"))->isVisible());
    QTest::keyClick(&window, Qt::Key_S, Qt::AltModifier);
    // A button pressed from the keyboard clicks a moment later.
    EXPECT_TRUE(QTest::qWaitFor([&window] { return !window.Modified(); }, 2000));
    EXPECT_FALSE(window.Action(QStringLiteral("Savebutton"))->isVisible());

    window.CalendarPanel()->SetUserTitle(QStringLiteral("Dropped"));
    window.SetModified(true);
    ASSERT_TRUE(window.Action(QStringLiteral("CancelButton"))->isVisible());
    const size_t before = yes.shown.size();
    QTest::keyClick(&window, Qt::Key_C, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return yes.shown.size() > before; }, 2000));
    ASSERT_EQ(yes.shown.size(), before + 1);
    EXPECT_EQ(yes.lastText(), QStringLiteral("Cancel all changes?"));
    EXPECT_FALSE(window.Modified());
    EXPECT_EQ(window.CalendarPanel()->Settings().UserTitle, QStringLiteral("Kept"));
}

TEST(MainWindowKeys, EscapeOrClosingTheSaveQuestionKeepsTheWindowAndItsChanges) {
    TCalendarMain window;
    {
        test::MessageRecorder quiet;  // whatever start-up has to say
        startWithNewCalendar(window);
    }
    makeActive(window);
    QTimer poll;
    QString asked;
    whenTheQuestionComes(poll, [&asked](QMessageBox& box) {
        asked = box.text();
        EXPECT_NE(box.button(QMessageBox::Cancel), nullptr);
        QTest::keyClick(&box, Qt::Key_Escape);
    });
    EXPECT_FALSE(window.close());
    EXPECT_EQ(asked, QStringLiteral("Save changes?"));
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.Modified());

    whenTheQuestionComes(poll, [](QMessageBox& box) { box.close(); });
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.Modified());

    // No closes without saving.
    whenTheQuestionComes(poll, [](QMessageBox& box) { box.button(QMessageBox::No)->click(); });
    EXPECT_TRUE(window.close());
}

TEST(MainWindowKeys, CancelToTheSaveQuestionStopsNewAsWell) {
    TCalendarMain window;
    {
        test::MessageRecorder quiet;
        startWithNewCalendar(window);
    }
    window.CalendarPanel()->SetUserTitle(QStringLiteral("Mine"));
    int asked = 0;
    test::ScopedHook<ChoiceAnswerer> cancel(SetChoiceAnswerer, [&asked](const ShownMessage& m) {
        ++asked;
        EXPECT_EQ(m.text, QStringLiteral("Save changes?"));
        return Choice::Cancel;
    });
    std::vector<QString> dialogs;
    test::ScopedHook<ModalDialogRunner> runner(SetModalDialogRunner, [&dialogs](QDialog& d) {
        dialogs.push_back(QString::fromLatin1(d.metaObject()->className()));
        return int(QDialog::Accepted);
    });
    window.New1Click();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(dialogs.empty());  // no properties dialog for a new calendar
    EXPECT_TRUE(window.Modified());
    EXPECT_EQ(window.CalendarPanel()->Settings().UserTitle, QStringLiteral("Mine"));
}

TEST(MainWindowKeys, AFontNameTypedIntoTheBarReachesAnEmptyCell) {
    test::MessageRecorder messages(false);
    TCalendarMain window;
    startWithNewCalendar(window);
    makeActive(window);
    TCalendarPanel32* page = window.CalendarPanel();
    page->SetCalendarLayout(TCalendarLayout::loFullCalendar);
    page->RenderPage();
    page->ClickCell(page->CellOfDay(9));
    TWPRichText* editor = window.CellEditor();
    ASSERT_TRUE(editor->isVisible());
    editor->setFocus();
    ASSERT_TRUE(editor->hasFocus());
    auto* bar = window.findChild<TWPToolBar*>(QStringLiteral("WPToolBar1"));
    ASSERT_NE(bar, nullptr);
    const QString family = QStringLiteral("Liberation Mono");
    ASSERT_GE(bar->FontNameBox()->findText(family), 0) << "fonts-liberation is needed";
    QLineEdit* field = bar->FontNameBox()->lineEdit();
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(5, field->height() / 2));
    field->selectAll();
    for (const QChar c : family) QTest::keyClicks(QApplication::focusWidget(), QString(c));
    EXPECT_TRUE(editor->IsEmpty());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_TRUE(editor->hasFocus());
    QTest::keyClicks(editor, QStringLiteral("Tea"));
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("Tea"));
    EXPECT_EQ(editor->CurrentAttributes().font, family);
}
