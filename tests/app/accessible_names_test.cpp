// Every window and dialog the program opens, walked as a screen reader sees it: each visible, enabled
// control has a name (the one QAccessible reports, which is what AT-SPI shows), the name holds the
// control's visible caption without its "&", and combo boxes are named by what they choose rather than
// by their current value. The same table of dialogs is then driven by keyboard alone: Tab reaches
// every control, Escape cancels and Return accepts.
//
// A dialog added to the program gets one row in dialogTable(): a function that opens it (built
// directly, or caught through the modal dialog runner while a command opens it) and hands it over.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QToolBar>
#include <QTreeWidget>
#include <algorithm>
#include <functional>
#include <iostream>
#include <set>

#include "app/about_box.h"
#include "app/icon_palette.h"
#include "app/main_window.h"
#include "app/print_commands.h"
#include "app/user_title_dialog.h"
#include "calendar/calendar_panel.h"
#include "calendar/properties_dialog.h"
#include "calendar/set_time_dialog.h"
#include "objects/flat_calendar_editor.h"
#include "objects/image_browser.h"
#include "objects/rich_label_editor.h"
#include "objects/super_text_dialogs.h"
#include "platform/accessibility.h"
#include "platform/common_dialogs.h"
#include "platform/program_folder.h"
#include "recurring/formula_dialog.h"
#include "recurring/recurring_dates_dialog.h"
#include "recurring/selection_dialogs.h"
#include "richtext/rich_text_demo_dialog.h"
#include "richtext/rich_text_editor.h"
#include "surface/label.h"
#include "surface/label_dialogs.h"
#include "test_support.h"

using namespace plennix;

namespace {

using Inspect = std::function<void(QWidget&)>;

// The picture browser makes the folder it shows the working folder; the tests after these run from the
// build root and find their files relative to it.
struct KeepWorkingFolder {
    QString folder = QDir::currentPath();
    ~KeepWorkingFolder() { QDir::setCurrent(folder); }
};

// One window or dialog: `open` shows it to `inspect`, which runs while the dialog exists.
struct WalkedDialog {
    const char* name;
    std::function<void(const Inspect&)> open;
    // Qt's print dialog checks its printer on Ok with message boxes of its own, which would wait here
    // for a person: Return is tried in the dialogs that accept by themselves.
    bool returnTried = true;
};

// Catches the dialogs a command opens: each is handed to `inspect` in place of its modal loop and
// then cancelled.
void caught(const Inspect& inspect, const std::function<void()>& command) {
    test::ScopedHook runner(SetModalDialogRunner, [&](QDialog& d) {
        inspect(d);
        return int(QDialog::Rejected);
    });
    command();
}

template <typename Dialog>
std::function<void(const Inspect&)> built() {
    return [](const Inspect& inspect) {
        Dialog d;
        inspect(d);
    };
}

// The main window with a page, the cell editor open on a day and its format tool bar showing.
void mainWindow(const std::function<void(TCalendarMain&)>& use) {
    QFile::remove(ProgramFile(QStringLiteral("PX.ini")));
    TCalendarMain window;
    {
        test::ScopedHook runner(SetModalDialogRunner, [](QDialog&) { return int(QDialog::Accepted); });
        window.FormActivate();
        window.New1Click();
    }
    window.CalendarPanel()->SetCalendarLayout(TCalendarLayout::loFullCalendar);
    window.CalendarPanel()->RenderPage();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    window.CalendarPanel()->ClickCell(window.CalendarPanel()->CellOfDay(3));
    // The format tool bar serves the cell editor while it has the focus.
    window.CellEditor()->setFocus();
    QCoreApplication::processEvents();
    use(window);
}

const std::vector<WalkedDialog>& dialogTable() {
    static const std::vector<WalkedDialog> table = {
        {"MainWindow", [](const Inspect& inspect) { mainWindow([&](TCalendarMain& w) { inspect(w); }); }},
        {"IconPalette",
         [](const Inspect& inspect) {
             mainWindow([&](TCalendarMain& w) {
                 TFloatingPalette palette(&w);
                 inspect(palette);
             });
         }},
        {"Help",
         [](const Inspect& inspect) {
             mainWindow([&](TCalendarMain& w) {
                 w.Contents1Click();
                 for (QWidget* top : QApplication::topLevelWidgets())
                     if (top->objectName() == QLatin1String("HelpWindow")) {
                         inspect(*top);
                         top->close();
                     }
             });
         }},
        {"PrintPreview",
         [](const Inspect& inspect) {
             mainWindow(
                 [&](TCalendarMain& w) { caught(inspect, [&] { PrintPreviewCommand(&w, *w.CalendarPanel()); }); });
         }},
        {"PrintSetup",
         [](const Inspect& inspect) {
             mainWindow([&](TCalendarMain& w) { caught(inspect, [&] { PrintSetupCommand(&w); }); });
         },
         false},
        {"About", built<TAboutBox>()},
        {"PrintMonths", built<TPrintMonthsDialog>()},
        {"PngResolution", built<TPngResolutionDialog>()},
        {"UserTitle", built<TUserTitleForm>()},
        {"DefaultEditorFont",
         [](const Inspect& inspect) {
             mainWindow([&](TCalendarMain& w) { caught(inspect, [&] { w.DefaultEditorFont1Click(); }); });
         }},
        {"FontWithoutColor",
         [](const Inspect& inspect) { caught(inspect, [] { ChooseFontDialog(FontRecord(), nullptr); }); }},
        {"CalendarProperties", built<TCalendarProperties>()},
        {"MoreLanguages",
         [](const Inspect& inspect) {
             TCalendarProperties properties;
             caught(inspect, [&] { properties.MoreLanguagesClick(); });
         }},
        {"SetTime", built<TSetTimeDialog>()},
        {"FloatingCalendar", built<TFlatCalendarEditor>()},
        {"LoadImageFile", built<TGImageBrowser>()},
        {"RichTextEditor", built<TRichTextLabelEditor>()},
        {"RichTextDemo", built<RichTextDemoDialog>()},
        {"SuperTextProperties", built<TSuperTextProperties>()},
        {"SuperTextSymbol",
         [](const Inspect& inspect) {
             TSuperTextGetSymbol d;
             d.FillFonts();
             inspect(d);
         }},
        {"SuperTextTexture",
         [](const Inspect& inspect) {
             TSuperTextBrushImageBrowser d;
             d.OpenFolder(DataDir());
             inspect(d);
         }},
        {"LabelText", built<TGetLabelText>()},
        {"Text3DEffects",
         [](const Inspect& inspect) {
             TGPLabel label;
             TGFont3DEffects d(label);
             inspect(d);
         }},
        {"EditRecurringDates", built<TEditRecurringDates>()},
        {"AddRecurringDate", built<TEditRecurringDateFormula>()},
        {"Holidays", built<TGetHolidays>()},
        {"SelectRecurringDates",
         [](const Inspect& inspect) {
             TSelectRecurringDates d;
             d.SetLines({QStringLiteral("@1225 Christmas Day"), QStringLiteral("@0101 New Year's Day")});
             inspect(d);
         }},
    };
    return table;
}

// What a person sees written on the control itself.
QString visibleCaption(const QWidget* w) {
    if (auto* b = qobject_cast<const QAbstractButton*>(w)) return CaptionWithoutMnemonic(b->text());
    if (auto* g = qobject_cast<const QGroupBox*>(w)) return CaptionWithoutMnemonic(g->title());
    return QString();
}

bool hasBuddyLabel(const QWidget* w) {
    if (!w->parentWidget()) return false;
    for (QLabel* label : w->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        if (label->buddy() == w) return true;
    return false;
}

// The controls a person operates: buttons, fields, lists, spin boxes, sliders and any other widget
// that takes the focus. Parts of a control that the control itself names (the text field of a spin
// box, the scroll bars of a list, the pop-up list of a combo box) are not controls of their own.
bool isControl(const QWidget* w) {
    if (qobject_cast<const QScrollBar*>(w)) return false;
    const QWidget* parent = w->parentWidget();
    if (parent && qobject_cast<const QAbstractSpinBox*>(parent)) return false;
    if (auto* area = qobject_cast<const QAbstractScrollArea*>(parent); area && area->viewport() == w) return false;
    if (qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QComboBox*>(w) ||
        qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
        qobject_cast<const QAbstractSlider*>(w) || qobject_cast<const QAbstractItemView*>(w) ||
        qobject_cast<const QTextEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w))
        return true;
    if (auto* g = qobject_cast<const QGroupBox*>(w)) return g->isCheckable();
    return (w->focusPolicy() & Qt::TabFocus) && !qobject_cast<const QDialog*>(w) && !qobject_cast<const QTabWidget*>(w);
}

// The controls of `window` that a person can see and use now (inside its own window, not a pop-up).
std::vector<QWidget*> usableControls(QWidget& window) {
    std::vector<QWidget*> out;
    for (QWidget* w : window.findChildren<QWidget*>())
        if (w->window() == &window && w->isVisible() && w->isEnabled() && isControl(w)) out.push_back(w);
    return out;
}

struct NameFaults {
    QStringList unnamed;         // no name at all, or one of signs alone
    QStringList withoutCaption;  // a name that does not hold the caption (or holds a literal "&")
    QStringList byValue;         // a list named only by its current value
};

QString describe(const QWidget* w, const QString& name) {
    return QStringLiteral("%1 %2 \"%3\"").arg(QString::fromLatin1(w->metaObject()->className()), w->objectName(), name);
}

void checkNames(QWidget& window, NameFaults& faults, std::set<QWidget*>& seen) {
    for (QWidget* w : usableControls(window)) {
        if (!seen.insert(w).second) continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        const QString name = a ? a->text(QAccessible::Name).simplified() : QString();
        const QString caption = visibleCaption(w);
        // PLENNIX_LIST_NAMES=1 lists every control with the name a screen reader reads.
        if (qEnvironmentVariableIsSet("PLENNIX_LIST_NAMES"))
            std::cout << "  " << describe(w, name).toStdString() << std::endl;
        // A name of signs alone ("?", "<<") does not say what the control does.
        const bool saysSomething = std::any_of(name.begin(), name.end(), [](QChar c) { return c.isLetterOrNumber(); });
        if (!saysSomething) {
            faults.unnamed << describe(w, name);
        } else if ((!caption.isEmpty() && !name.contains(caption, Qt::CaseInsensitive)) ||
                   (name.contains(QLatin1Char('&')) && !caption.contains(QLatin1Char('&')))) {
            faults.withoutCaption << describe(w, name) + QStringLiteral(" caption \"%1\"").arg(caption);
        } else if (auto* combo = qobject_cast<QComboBox*>(w);
                   combo && w->accessibleName().isEmpty() && !hasBuddyLabel(w)) {
            faults.byValue << describe(w, name);
        } else if (combo && name == combo->currentText() && !w->accessibleName().contains(name)) {
            faults.byValue << describe(w, name);
        }
    }
}

// Shows the window and walks it, and every page of its tab controls and page stacks in turn.
NameFaults walkNames(QWidget& window) {
    NameFaults faults;
    std::set<QWidget*> seen;
    window.show();
    QCoreApplication::processEvents();
    checkNames(window, faults, seen);
    for (QStackedWidget* pages : window.findChildren<QStackedWidget*>()) {
        if (!pages->isVisible()) continue;
        const int shown = pages->currentIndex();
        for (int i = 0; i < pages->count(); ++i) {
            pages->setCurrentIndex(i);
            QCoreApplication::processEvents();
            checkNames(window, faults, seen);
        }
        pages->setCurrentIndex(shown);
    }
    return faults;
}

class AccessibleDialogs : public testing::TestWithParam<WalkedDialog> {};

TEST_P(AccessibleDialogs, EveryControlIsNamedWithItsCaption) {
    KeepWorkingFolder workingFolder;
    test::MessageRecorder messages(false);
    bool opened = false;
    NameFaults faults;
    GetParam().open([&](QWidget& window) {
        opened = true;
        faults = walkNames(window);
    });
    ASSERT_TRUE(opened) << GetParam().name << " was not opened";
    // The counts per dialog, for the record of what a screen reader finds.
    std::cout << "[names] " << GetParam().name << ": unnamed " << faults.unnamed.size() << ", without caption "
              << faults.withoutCaption.size() << ", named by value " << faults.byValue.size() << std::endl;
    EXPECT_TRUE(faults.unnamed.isEmpty()) << faults.unnamed.join(QStringLiteral("\n  ")).toStdString();
    EXPECT_TRUE(faults.withoutCaption.isEmpty()) << faults.withoutCaption.join(QStringLiteral("\n  ")).toStdString();
    EXPECT_TRUE(faults.byValue.isEmpty()) << faults.byValue.join(QStringLiteral("\n  ")).toStdString();
}

INSTANTIATE_TEST_SUITE_P(EveryDialog, AccessibleDialogs, testing::ValuesIn(dialogTable()),
                         [](const testing::TestParamInfo<WalkedDialog>& info) { return std::string(info.param.name); });

// ---- keyboard ----

// Shows the window as the active one, with the focus where it puts it first.
void showActive(QWidget& window) {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QCoreApplication::processEvents();
}

// The control that holds the focus: the text field of a combo or spin box counts as its box.
QWidget* focusedControl() {
    QWidget* f = QApplication::focusWidget();
    if (f && f->parentWidget() &&
        (qobject_cast<QComboBox*>(f->parentWidget()) || qobject_cast<QAbstractSpinBox*>(f->parentWidget())))
        return f->parentWidget();
    return f;
}

bool insideToolBar(const QWidget* w) {
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (qobject_cast<const QToolBar*>(p)) return true;
    return false;
}

// The controls that Tab must reach: all usable ones, except the tool bar controls that take no focus
// (commands with their own keys) and the text field inside a combo box (reached with its box).
std::vector<QWidget*> tabStops(QWidget& window) {
    std::vector<QWidget*> out;
    for (QWidget* w : usableControls(window)) {
        if (qobject_cast<QComboBox*>(w->parentWidget())) continue;
        if (insideToolBar(w) && !(w->focusPolicy() & Qt::TabFocus)) continue;
        out.push_back(w);
    }
    return out;
}

// Presses Tab until the focus comes back to where it started; what it passed on the way.
std::set<QWidget*> tabRound(QWidget& window) {
    std::set<QWidget*> reached;
    QWidget* start = focusedControl();
    if (!start) return reached;
    reached.insert(start);
    for (int i = 0; i < 200; ++i) {
        QWidget* f = QApplication::focusWidget();
        if (!f || f->window() != &window) break;
        // A text that takes Tab as a character is left with Ctrl+Tab, as in a word processor.
        const auto* text = qobject_cast<QTextEdit*>(f);
        const auto* plain = qobject_cast<QPlainTextEdit*>(f);
        const bool wantsTab = (text && !text->tabChangesFocus()) || (plain && !plain->tabChangesFocus());
        QTest::keyClick(f, Qt::Key_Tab, wantsTab ? Qt::ControlModifier : Qt::NoModifier);
        QWidget* now = focusedControl();
        if (qEnvironmentVariableIsSet("PLENNIX_LIST_NAMES") && now)
            std::cout << "  tab to " << describe(now, QString()).toStdString() << std::endl;
        if (!now || !reached.insert(now).second) break;
    }
    return reached;
}

// Tab from the first control reaches every control of the shown page and comes round again; every
// page of a page stack in turn.
QStringList unreachedByTab(QWidget& window) {
    QStringList unreached;
    auto round = [&] {
        const std::set<QWidget*> reached = tabRound(window);
        for (QWidget* w : tabStops(window)) {
            // A control whose focus goes to a part of it (a calendar's day table) is reached with it.
            // Tab stops once in a group of radio buttons; the arrow keys move within it.
            const bool radio = qobject_cast<QRadioButton*>(w) && static_cast<QRadioButton*>(w)->autoExclusive();
            const bool got = std::any_of(reached.begin(), reached.end(), [w, radio](QWidget* r) {
                return r == w || w->isAncestorOf(r) ||
                       (radio && qobject_cast<QRadioButton*>(r) && r->parentWidget() == w->parentWidget());
            });
            if (!got && !unreached.contains(describe(w, QString()))) unreached << describe(w, QString());
        }
    };
    round();
    for (QStackedWidget* pages : window.findChildren<QStackedWidget*>()) {
        if (!pages->isVisible() || pages->count() < 2) continue;
        const int shown = pages->currentIndex();
        for (int i = 0; i < pages->count(); ++i) {
            if (i == shown) continue;
            pages->setCurrentIndex(i);
            QCoreApplication::processEvents();
            // The round starts on the page's first control, as switching to the page leaves it.
            for (QWidget* w : tabStops(window))
                if (pages->currentWidget()->isAncestorOf(w)) {
                    w->setFocus(Qt::TabFocusReason);
                    break;
                }
            round();
        }
        pages->setCurrentIndex(shown);
    }
    return unreached;
}

// A field where Return has no meaning of its own (not a text area, a list or a button).
bool plainField(const QWidget* w) {
    if (insideToolBar(w)) return false;
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QCheckBox*>(w) ||
           qobject_cast<const QRadioButton*>(w);
}

class KeyboardDialogs : public testing::TestWithParam<WalkedDialog> {};

TEST_P(KeyboardDialogs, TabReachesEveryControlAndEscapeCancels) {
    KeepWorkingFolder workingFolder;
    test::MessageRecorder messages(false);
    bool isDialog = true;
    GetParam().open([&](QWidget& window) {
        auto* dialog = qobject_cast<QDialog*>(&window);
        isDialog = dialog != nullptr;
        if (!dialog) return;
        showActive(window);
        const QStringList unreached = unreachedByTab(window);
        EXPECT_TRUE(unreached.isEmpty()) << "not reached by Tab:\n  " << unreached.join("\n  ").toStdString();
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
    });
    if (!isDialog) GTEST_SKIP() << GetParam().name << " is a window, not a dialog";
}

TEST_P(KeyboardDialogs, ReturnInAFieldAccepts) {
    KeepWorkingFolder workingFolder;
    if (!GetParam().returnTried) GTEST_SKIP() << GetParam().name << " answers Ok with message boxes of its own";
    test::MessageRecorder messages(false);
    bool isDialog = true;
    GetParam().open([&](QWidget& window) {
        auto* dialog = qobject_cast<QDialog*>(&window);
        // A viewer without buttons (the print preview) has nothing to accept; Escape closes it.
        isDialog = dialog != nullptr && !window.findChildren<QPushButton*>().isEmpty();
        if (!isDialog) return;
        showActive(window);
        // From the first plain field; in a dialog of text areas and lists (where Return is a new line
        // or opens the entry), from the default button that a person tabs to.
        QWidget* from = nullptr;
        for (QWidget* w : tabStops(window))
            if (plainField(w)) {
                from = w;
                break;
            }
        if (!from)
            for (QPushButton* b : window.findChildren<QPushButton*>())
                if (b->isDefault() && b->isVisible()) from = b;
        if (from) from->setFocus(Qt::TabFocusReason);
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        const QString start = describe(focusedControl(), QString());
        QList<QPushButton*> pressed;
        for (QPushButton* b : window.findChildren<QPushButton*>())
            QObject::connect(b, &QPushButton::clicked, b, [&pressed, b] { pressed << b; });
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        // Accepted, or Ok pressed and refusing what is not yet chosen (with a message or a beep).
        const bool accepted = !dialog->isVisible() && dialog->result() == QDialog::Accepted;
        const bool okPressed = pressed.size() == 1 && pressed[0]->isDefault();
        EXPECT_TRUE(accepted || okPressed) << "Return in " << start.toStdString() << " did not accept";
    });
    if (!isDialog) GTEST_SKIP() << GetParam().name << " is a window or a viewer, without an Ok to press";
}

INSTANTIATE_TEST_SUITE_P(EveryDialog, KeyboardDialogs, testing::ValuesIn(dialogTable()),
                         [](const testing::TestParamInfo<WalkedDialog>& info) { return std::string(info.param.name); });

}  // namespace

// The rich text editor types Tab into the text, as a word processor does; Ctrl+Tab leaves the text for
// the next control and Ctrl+Shift+Tab comes back, so Ok is reached without a mouse.
TEST(KeyboardOnly, CtrlTabLeavesTheRichTextWhereTabTypesATab) {
    TRichTextLabelEditor dialog;
    dialog.SetPanelSize(190, 33);
    dialog.FormActivate();
    showActive(dialog);
    dialog.WPRichText1->setFocus();
    QTest::keyClicks(dialog.WPRichText1, QStringLiteral("a"));
    QTest::keyClick(dialog.WPRichText1, Qt::Key_Tab);
    QTest::keyClicks(dialog.WPRichText1, QStringLiteral("b"));
    EXPECT_EQ(dialog.WPRichText1->toPlainText(), QStringLiteral("a\tb"));
    EXPECT_EQ(QApplication::focusWidget(), dialog.WPRichText1);

    QTest::keyClick(dialog.WPRichText1, Qt::Key_Tab, Qt::ControlModifier);
    QWidget* next = QApplication::focusWidget();
    ASSERT_NE(next, nullptr);
    EXPECT_NE(next, dialog.WPRichText1);
    EXPECT_EQ(next->window(), &dialog);
    EXPECT_EQ(dialog.WPRichText1->toPlainText(), QStringLiteral("a\tb"));  // nothing typed on the way out

    dialog.WPRichText1->setFocus();
    QTest::keyClick(dialog.WPRichText1, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_NE(QApplication::focusWidget(), dialog.WPRichText1);
    EXPECT_EQ(dialog.WPRichText1->toPlainText(), QStringLiteral("a\tb"));
}

// In the texture browser Return in the folders opens the folder (and leaves the dialog open); Return
// in the files chooses the file and closes it with Ok.
TEST(KeyboardOnly, ReturnOpensATextureFolderAndChoosesATextureFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Wood")));
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::darkYellow);
    ASSERT_TRUE(image.save(dir.filePath(QStringLiteral("Wood/OAK.BMP")), "BMP"));
    test::MessageRecorder messages;
    TSuperTextBrushImageBrowser browser;
    browser.OpenFolder(dir.path());
    showActive(browser);

    const auto wood = browser.DirectoryListBox1->findItems(QStringLiteral("Wood"), Qt::MatchEndsWith);
    ASSERT_EQ(wood.size(), 1);
    browser.DirectoryListBox1->setCurrentItem(wood.first());
    browser.DirectoryListBox1->setFocus();
    QTest::keyClick(browser.DirectoryListBox1, Qt::Key_Return);
    EXPECT_EQ(browser.CurrentFolder(), dir.filePath(QStringLiteral("Wood/")));
    EXPECT_TRUE(browser.isVisible());
    ASSERT_EQ(browser.FileListBox1->count(), 1);

    browser.FileListBox1->setCurrentRow(0);
    browser.FileListBox1->setFocus();
    QTest::keyClick(browser.FileListBox1, Qt::Key_Return);
    EXPECT_FALSE(browser.isVisible());
    EXPECT_EQ(browser.result(), QDialog::Accepted);
    EXPECT_EQ(browser.SelectedFile(), dir.filePath(QStringLiteral("Wood/OAK.BMP")));
}

// The same in the picture browser of clip art images: its folders are a tree.
TEST(KeyboardOnly, ReturnOpensAPictureFolderAndChoosesAPicture) {
    KeepWorkingFolder workingFolder;
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Birds")));
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    ASSERT_TRUE(image.save(dir.filePath(QStringLiteral("Birds/JAY.BMP")), "BMP"));
    test::MessageRecorder messages;
    TGImageBrowser browser;
    browser.SetFolder(dir.path());
    showActive(browser);

    const auto birds = browser.DirectoryListBox1->findItems(QStringLiteral("Birds"), Qt::MatchRecursive);
    ASSERT_EQ(birds.size(), 1);
    browser.DirectoryListBox1->setCurrentItem(birds.first());
    browser.DirectoryListBox1->setFocus();
    QTest::keyClick(browser.DirectoryListBox1, Qt::Key_Return);
    EXPECT_EQ(QDir(browser.Folder()), QDir(dir.filePath(QStringLiteral("Birds"))));
    EXPECT_TRUE(browser.isVisible());
    ASSERT_EQ(browser.FileListBox1->count(), 1);

    browser.FileListBox1->setFocus();
    browser.FileListBox1->setCurrentRow(0);
    QTest::keyClick(browser.FileListBox1, Qt::Key_Return);
    EXPECT_FALSE(browser.isVisible());
    EXPECT_EQ(browser.result(), QDialog::Accepted);
    EXPECT_EQ(browser.SelectedFile(), dir.filePath(QStringLiteral("Birds/JAY.BMP")));
    EXPECT_TRUE(messages.shown.empty()) << messages.lastText().toStdString();
}
