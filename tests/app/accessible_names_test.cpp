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
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
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
#include "platform/accessible_names.h"
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

// One window or dialog: `open` shows it to `inspect`, which runs while the dialog exists.
struct WalkedDialog {
    const char* name;
    std::function<void(const Inspect&)> open;
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
        {"About", built<TAboutBox>()},
        {"PrintMonths", built<TPrintMonthsDialog>()},
        {"PngResolution", built<TPngResolutionDialog>()},
        {"UserTitle", built<TUserTitleForm>()},
        {"DefaultEditorFont",
         [](const Inspect& inspect) {
             mainWindow([&](TCalendarMain& w) { caught(inspect, [&] { w.DefaultEditorFont1Click(); }); });
         }},
        {"FontWithoutColor",
         [](const Inspect& inspect) {
             caught(inspect, [] { ChooseFontDialog(FontRecord(), nullptr); });
         }},
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
    QStringList unnamed;       // no name at all
    QStringList withoutCaption;  // a name that does not hold the caption (or holds a literal "&")
    QStringList byValue;       // a list named only by its current value
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
        if (qEnvironmentVariableIsSet("PLENNIX_LIST_NAMES")) std::cout << "  " << describe(w, name).toStdString() << std::endl;
        if (name.isEmpty()) {
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

}  // namespace
