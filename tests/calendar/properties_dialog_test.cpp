// The calendar properties dialog and the set-time dialog, driven with simulated clicks and keys.
#include <gtest/gtest.h>

#include <map>

#include <QApplication>
#include <QButtonGroup>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTabBar>
#include <QTest>

#include "calendar/calendar_panel.h"
#include "calendar/properties_dialog.h"
#include "calendar/properties_preview.h"
#include "calendar/set_time_dialog.h"
#include "platform/code_page.h"
#include "platform/common_dialogs.h"
#include "platform/program_folder.h"
#include "surface/graphic_panel_tile.h"
#include "surface/help.h"
#include "test_support.h"

using namespace plennix;

namespace {

// Installs a test hook and removes it again.
template <class Setter, class Fn>
struct Hook {
    Setter setter;
    Hook(Setter s, Fn fn) : setter(s) { setter(std::move(fn)); }
    ~Hook() { setter(nullptr); }
};
template <class Setter, class Fn>
Hook(Setter, Fn) -> Hook<Setter, Fn>;

struct Dialog {
    TCalendarProperties dlg;
    explicit Dialog(float zoom = 0.3f) {
        dlg.ExampleCalendar->SetZoom(zoom);
        dlg.show();
    }
    CalendarPreview& preview() { return *dlg.ExampleCalendar; }
    const CalendarSettings& s() { return preview().Settings(); }
    void clickRow(int row) {
        QListWidget* list = dlg.LayoutList;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }
    // Near the left edge: a stretched radio button only answers on its indicator and caption.
    void click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2)); }
    void typeInto(QPlainTextEdit* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        box->insertPlainText(text);
    }
};

}  // namespace

TEST(PropertiesDialog, ActivationFillsControlsFromThePreviewWithoutChangingIt) {
    TCalendarPanel32 source(nullptr);
    source.SetCalendarLayout(TCalendarLayout::loMC24MonthLS);
    source.SetLeftMarginInch(1.3f);
    source.SetTopMarginInch(0.74f);
    source.SetStartOfWeek(2);
    source.SetMainCalMonth(3);
    source.SetMainCalYear(2024);
    source.SetMainCalDay(0);
    TCalendarProperties dlg;
    dlg.ExampleCalendar->AssignStyle(source.Settings());
    dlg.show();
    EXPECT_FALSE(dlg.Initializing);
    EXPECT_EQ(dlg.LayoutList->currentRow(), 6);
    EXPECT_TRUE(dlg.OrientationButtons->button(1)->isChecked());
    EXPECT_EQ(dlg.LeftMarginInchcombo->currentIndex(), 4);
    EXPECT_EQ(dlg.TopMarginInchcombo->currentIndex(), 1);
    EXPECT_TRUE(dlg.WeekStartButtons->button(1)->isChecked());
    EXPECT_EQ(dlg.Calendar->selectedDate(), QDate(2024, 3, 1));
    // Opening and closing the dialog is no change of style, even with an unset day.
    EXPECT_TRUE(dlg.ExampleCalendar->SameStyle(source.Settings()));
    EXPECT_EQ(dlg.ExampleCalendar->Settings().LeftMarginInch, 1.3f);
}

TEST(PropertiesDialog, TwoWeekPlannerSwitchesControlsAndDateCaption) {
    Dialog d;
    d.clickRow(0);
    EXPECT_TRUE(d.dlg.rOrientation->isEnabled());
    EXPECT_EQ(d.dlg.SelectMonthYearLabel->text(), "Select Month & Year");
    d.clickRow(10);
    EXPECT_EQ(d.s().CalendarLayout, TCalendarLayout::lo2Week);
    EXPECT_TRUE(d.dlg.PlannerDate);
    EXPECT_FALSE(d.dlg.rOrientation->isEnabled());
    EXPECT_FALSE(d.dlg.WeekStartsOn->isEnabled());
    for (QWidget* w : std::initializer_list<QWidget*>{d.dlg.MiniShowYearCheck, d.dlg.Minititlefontbutton,
                                                      d.dlg.MiniHeaderFontButton, d.dlg.MiniHeadersBGColorButton,
                                                      d.dlg.MiniCellFontButton, d.dlg.MiniCalBGColorButton,
                                                      d.dlg.MiniHeadersStyleCombo, d.dlg.MiniCalendarLineLayoutCombo,
                                                      d.dlg.TitleShowYearCheck, d.dlg.TitleBGColor,
                                                      d.dlg.NumberFontButton, d.dlg.CalendarLineLayoutCombo,
                                                      d.dlg.StartingtimeButton})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    for (QWidget* w : std::initializer_list<QWidget*>{d.dlg.TitleFontbutton, d.dlg.HeaderFontButton,
                                                      d.dlg.HeaderBGColor, d.dlg.CalHeaderStyleCombo})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_EQ(d.dlg.SelectMonthYearLabel->text(), "Select Starting Date");
    EXPECT_EQ(d.dlg.DateLabel->text(), QLocale::system().toString(d.dlg.Calendar->selectedDate(), QLocale::LongFormat));
    d.clickRow(11);
    EXPECT_EQ(d.s().CalendarLayout, TCalendarLayout::loDay10);
    EXPECT_TRUE(d.dlg.StartingtimeButton->isEnabled());
}

TEST(PropertiesDialog, OrientationAndPaperPickTheLayoutVariant) {
    Dialog d;
    d.clickRow(4);
    d.click(d.dlg.OrientationButtons->button(1));
    EXPECT_EQ(d.s().CalendarLayout, TCalendarLayout::lopMC6MonthLS);
    d.click(d.dlg.OrientationButtons->button(0));
    EXPECT_EQ(d.s().CalendarLayout, TCalendarLayout::lopMC6Month);
    d.click(d.dlg.PaperButtons->button(1));
    EXPECT_EQ(d.s().PaperSize, 1);
    EXPECT_EQ(d.s().CalendarLayout, TCalendarLayout::lopMC6Month);
    // Mini controls are live for multi-month pages, the main calendar's are not.
    EXPECT_TRUE(d.dlg.MiniCellFontButton->isEnabled());
    EXPECT_FALSE(d.dlg.NumberFontButton->isEnabled());
}

TEST(PropertiesDialog, ThePreviewShowsWhatThePageDrawsAfterEveryChange) {
    Dialog d;
    // The same settings on a page of the preview's kind, at the preview's zoom.
    auto pageDraws = [&d] {
        TCalendarPanel32 page(nullptr, StoredPageKind::PreviewPage);
        page.AssignStyle(d.s());
        page.SetZoom(d.preview().Zoom());
        return page.PaintToBitmap();
    };
    auto shown = [&d] { return d.preview().grab().toImage().convertToFormat(QImage::Format_RGB32); };
    d.clickRow(5);
    const QImage twelveMonths = shown();
    EXPECT_EQ(twelveMonths, pageDraws());
    Hook colors(SetColorChooser, [](TColor, QWidget*) { return std::optional<TColor>(clRed); });
    d.click(d.dlg.MiniCalBGColorButton);
    d.click(d.dlg.German);
    d.dlg.MiniCalendarLineLayoutCombo->setCurrentIndex(2);
    EXPECT_NE(shown(), twelveMonths);
    EXPECT_EQ(shown(), pageDraws());
    d.click(d.dlg.ZoomInButton);
    EXPECT_EQ(shown(), pageDraws());
    d.clickRow(10);
    EXPECT_EQ(shown(), pageDraws());
}

TEST(PropertiesDialog, LanguageButtonsAndNameBoxes) {
    Dialog d;
    d.click(d.dlg.German);
    EXPECT_EQ(d.s().DayName(6), "Freitag ");
    EXPECT_EQ(d.s().MonthName(3), QString::fromUtf8("März"));
    EXPECT_EQ(NameLines(d.dlg.DayNames->toPlainText()).at(5), "Freitag ");
    d.click(d.dlg.okbutton);
    EXPECT_EQ(d.dlg.result(), QDialog::Accepted);
    EXPECT_EQ(d.s().DayName(6), "Freitag ");

    Dialog e;
    e.click(e.dlg.English);
    // Ten lines rename ten months and leave November and December alone.
    QStringList ten;
    for (int i = 1; i <= 10; ++i) ten << QStringLiteral("M%1").arg(i);
    e.typeInto(e.dlg.MonthNames, ten.join('\n') + '\n');
    e.dlg.DayNames->setFocus();  // leaving the box applies it
    if (QApplication::focusWidget() != e.dlg.DayNames) e.dlg.MonthNamesExit();
    EXPECT_EQ(e.s().MonthName(10), "M10");
    EXPECT_EQ(e.s().MonthName(11), "November");
    EXPECT_EQ(e.s().MonthName(12), "December");
}

TEST(PropertiesDialog, NamesTheCodePageCannotHoldAreRefused) {
    ScopedCodePage page(1252);
    test::MessageRecorder messages;
    Dialog d;
    d.click(d.dlg.English);
    d.typeInto(d.dlg.DayNames, QString::fromUtf8("Воскресенье\nПонедельник"));
    d.click(d.dlg.okbutton);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.lastText().contains("Windows-1252"));
    EXPECT_TRUE(d.dlg.isVisible());  // OK did not close
    EXPECT_EQ(d.s().DayName(1), "Sunday");

    // The chooser offers only languages whose names fit the page, and applies the chosen one.
    QStringList offered;
    Hook runner(SetModalDialogRunner, [&](QDialog& chooser) {
        auto* list = chooser.findChild<QListWidget*>("LanguageList");
        for (int i = 0; i < list->count(); ++i) offered << list->item(i)->data(Qt::UserRole).toString();
        for (int i = 0; i < list->count(); ++i) {
            const LanguageNames names = LocaleLanguageNames(LanguageChoiceLocale(*list->item(i)));
            for (const QString& n : names.months) EXPECT_TRUE(CanEncode(n)) << offered[i].toStdString();
        }
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->data(Qt::UserRole).toString().startsWith("nl")) list->setCurrentRow(i);
        return int(QDialog::Accepted);
    });
    d.click(d.dlg.MoreLanguages);
    EXPECT_FALSE(offered.isEmpty());
    EXPECT_FALSE(offered.contains("ru_RU"));
    EXPECT_EQ(d.s().MonthName(3), QLocale("nl_NL").standaloneMonthName(3));
    EXPECT_EQ(d.s().DayName(1), QLocale("nl_NL").standaloneDayName(7));

    // Under a Cyrillic page the French months cannot be written: nothing changes, and the person is told.
    ScopedCodePage cyrillic(1251);
    const QString daysBefore = d.dlg.DayNames->toPlainText();
    const size_t shownBefore = messages.shown.size();
    d.click(d.dlg.French);
    EXPECT_EQ(messages.shown.size(), shownBefore + 1);
    EXPECT_TRUE(messages.lastText().contains(QString::fromUtf8("é")));
    EXPECT_EQ(d.dlg.DayNames->toPlainText(), daysBefore);
    EXPECT_EQ(d.s().MonthName(2), QLocale("nl_NL").standaloneMonthName(2));
}

TEST(PropertiesDialog, ZoomStepsBetweenTwentyAndOneHundredPercent) {
    Dialog d(1.0f);
    EXPECT_EQ(d.dlg.ZoomLabel->text(), "100%");
    QStringList shown;
    for (int i = 0; i < 10; ++i) {
        d.click(d.dlg.ZoomOutbutton);
        shown << d.dlg.ZoomLabel->text();
    }
    EXPECT_EQ(shown.join(' '), "90% 80% 70% 60% 50% 40% 30% 20% 20% 20%");
    shown.clear();
    for (int i = 0; i < 10; ++i) {
        d.click(d.dlg.ZoomInButton);
        shown << d.dlg.ZoomLabel->text();
    }
    EXPECT_EQ(shown.join(' '), "30% 40% 50% 60% 70% 80% 90% 100% 100% 100%");
    EXPECT_GE(double(d.preview().Zoom()), 0.99);
}

TEST(PropertiesDialog, ZoomStopsAtTwentyPercentFromEveryStartingZoom) {
    // The factors the preview starts at (the remembered percent), each stored in four bytes.
    for (const float start : {0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f, 0.9f}) {
        Dialog d(start);
        for (int i = 0; i < 10; ++i) d.click(d.dlg.ZoomOutbutton);
        EXPECT_EQ(d.dlg.ZoomLabel->text(), "20%") << start;
        EXPECT_GT(double(d.preview().Zoom()), 0.15) << start;
        for (int i = 0; i < 10; ++i) d.click(d.dlg.ZoomInButton);
        EXPECT_EQ(d.dlg.ZoomLabel->text(), "100%") << start;
        EXPECT_LT(double(d.preview().Zoom()), 1.05) << start;
    }
}

TEST(PropertiesDialog, LayoutFamilyWarningOnOk) {
    test::MessageRecorder messages(false);
    Dialog d;
    d.dlg.WarnOnLayoutChange = true;
    d.dlg.FamilyAtOpen = 0;
    d.clickRow(11);
    d.click(d.dlg.okbutton);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, "WARNING");
    EXPECT_EQ(messages.shown[0].text,
              "Warning: changing to this type of layout\nwill erase all text and icons from the current\ncalendar. Proceed?");
    EXPECT_TRUE(d.dlg.isVisible());
    messages.answer = true;
    d.click(d.dlg.okbutton);
    EXPECT_FALSE(d.dlg.isVisible());
    EXPECT_EQ(d.dlg.result(), QDialog::Accepted);

    // The same family (another month page) asks nothing.
    test::MessageRecorder quiet;
    Dialog e;
    e.dlg.WarnOnLayoutChange = true;
    e.dlg.FamilyAtOpen = 0;
    e.clickRow(3);
    e.click(e.dlg.okbutton);
    EXPECT_TRUE(quiet.shown.empty());
    EXPECT_EQ(e.dlg.result(), QDialog::Accepted);
}

TEST(PropertiesDialog, StyleSheetsSaveLoadAndRefuse) {
    const QString dir = ProgramDir();
    QString answer;
    QStringList titles, folders;
    Hook files(SetFileChooser, [&](const FileDialogRequest& r, QWidget*) {
        titles << r.title;
        folders << r.directory;
        return answer;
    });
    test::MessageRecorder messages;
    Dialog a;
    a.clickRow(5);
    a.click(a.dlg.German);
    a.dlg.CalendarLineLayoutCombo->setCurrentIndex(2);
    answer = dir + "Mine.pxs";
    a.click(a.dlg.SaveAsStyleSheetButton);
    ASSERT_TRUE(QFile::exists(answer));
    EXPECT_EQ(titles.last(), "Save As Calendar Style Sheet");
    EXPECT_EQ(folders.last(), dir);
    EXPECT_TRUE(messages.shown.empty());

    Dialog b;
    b.clickRow(0);
    answer = dir + "Mine.PXS.txt";
    b.click(b.dlg.LoadStyleSheetButton);
    EXPECT_EQ(messages.lastText(), "Must be a Calendar Style Sheet (*.PXS)");
    EXPECT_EQ(titles.last(), "Open Calendar Style Sheet");
    b.click(b.dlg.SaveAsStyleSheetButton);
    EXPECT_EQ(messages.lastText(), "Must save as a Calendar Style Sheet (*.PXS)");
    EXPECT_FALSE(QFile::exists(answer));

    answer = dir + "Mine.pxs";
    b.click(b.dlg.LoadStyleSheetButton);
    EXPECT_TRUE(b.preview().SameStyle(a.s()));
    EXPECT_EQ(b.dlg.LayoutList->currentRow(), 5);
    EXPECT_EQ(b.dlg.CalendarLineLayoutCombo->currentIndex(), 2);
    EXPECT_EQ(NameLines(b.dlg.DayNames->toPlainText()).at(5), "Freitag ");
    EXPECT_FALSE(b.dlg.Initializing);

    // A damaged file is reported and the controls still show the preview.
    QFile bad(dir + "Bad.PXS");
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("TPF0 not a style sheet");
    bad.close();
    answer = bad.fileName();
    b.click(b.dlg.LoadStyleSheetButton);
    EXPECT_EQ(messages.lastText(), "Unable to open " + bad.fileName() +
                                       ". Possibly \ncorrupted, possibly not a Calendar Style file");
    EXPECT_FALSE(b.dlg.Initializing);
    EXPECT_EQ(b.dlg.LayoutList->currentRow(), static_cast<int>(b.s().CalendarLayout) / 2);

    b.click(b.dlg.Defaultbutton);
    EXPECT_EQ(b.s().CalendarLayout, TCalendarLayout::loFCMinisInTitleLS);
    EXPECT_EQ(b.dlg.LayoutList->currentRow(), 1);
    EXPECT_TRUE(b.dlg.OrientationButtons->button(1)->isChecked());
}

TEST(PropertiesDialog, ADamagedStyleSheetLeavesThePreviewAsItWas) {
    const QString dir = ProgramDir();
    QString answer;
    Hook files(SetFileChooser, [&](const FileDialogRequest&, QWidget*) { return answer; });
    test::MessageRecorder messages;
    // A good sheet of another style, cut off half way: its first settings still read.
    Dialog a;
    a.clickRow(8);
    a.click(a.dlg.OrientationButtons->button(1));
    a.click(a.dlg.PaperButtons->button(1));
    a.click(a.dlg.German);
    answer = dir + "Whole.PXS";
    a.click(a.dlg.SaveAsStyleSheetButton);
    QFile whole(answer);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    whole.close();
    QFile cut(dir + "Cut.PXS");
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(bytes.left(bytes.size() / 2));
    cut.close();

    Dialog b;
    b.clickRow(0);
    const CalendarSettings before = b.s();
    answer = cut.fileName();
    b.click(b.dlg.LoadStyleSheetButton);
    EXPECT_TRUE(messages.lastText().startsWith("Unable to open " + cut.fileName()));
    EXPECT_TRUE(b.preview().SameStyle(before));
    EXPECT_EQ(b.s().PaperSize, 0);
    EXPECT_EQ(b.dlg.LayoutList->currentRow(), 0);
    QFile::remove(whole.fileName());
    QFile::remove(cut.fileName());
}

TEST(PropertiesDialog, ClickingTheChosenLayoutAgainRestoresMiniFontSizes) {
    Dialog d;
    d.clickRow(5);
    const int standard = d.s().MiniCellFont.size();
    FontRecord big = d.s().MiniCellFont;
    big.setSize(standard + 9);
    d.preview().Change([&](CalendarSettings& s) { s.MiniCellFont = big; });
    ASSERT_EQ(d.s().MiniCellFont.size(), standard + 9);
    d.clickRow(5);
    EXPECT_EQ(d.s().MiniCellFont.size(), standard);
    // The captions of the font buttons.
    EXPECT_EQ(d.dlg.TitleFontbutton->text(), "Font");
    EXPECT_EQ(d.dlg.MiniCellFontButton->text(), "Font");
}

TEST(PropertiesDialog, ARestoredPlacementOffTheScreenIsBroughtBack) {
    TCalendarProperties dlg;
    dlg.RestorePlacement = [](QWidget& w) { w.move(20000, 20000); };
    dlg.show();
    const QRect available = dlg.screen()->availableGeometry();
    const QRect frame = dlg.frameGeometry();
    EXPECT_GE(frame.left(), available.left());
    EXPECT_GE(frame.top(), available.top());
    EXPECT_TRUE(frame.right() <= available.right() || frame.left() == available.left());
    EXPECT_TRUE(frame.bottom() <= available.bottom() || frame.top() == available.top());
}

TEST(PropertiesDialog, EveryPageHasDistinctAltKeys) {
    Dialog d;
    for (int page = 0; page < d.dlg.TabSet1->count(); ++page) {
        d.dlg.TabSet1->setCurrentIndex(page);
        std::map<QString, QStringList> owners;
        auto note = [&](QWidget* w, const QString& text) {
            if (!w->isVisibleTo(&d.dlg)) return;
            const QKeySequence key = QKeySequence::mnemonic(text);
            if (!key.isEmpty()) owners[key.toString()] << text;
        };
        for (QAbstractButton* b : d.dlg.findChildren<QAbstractButton*>()) note(b, b->text());
        for (QLabel* l : d.dlg.findChildren<QLabel*>())
            if (l->buddy()) note(l, l->text());
        for (const auto& [key, texts] : owners)
            EXPECT_EQ(texts.size(), 1) << "page " << page << ": " << texts.join(", ").toStdString();
    }
}

TEST(PropertiesDialog, MoreLanguagesOffersOnlyLocalesWithRealNames) {
    Dialog d;
    QStringList placeholders;
    int offered = 0;
    Hook runner(SetModalDialogRunner, [&](QDialog& chooser) {
        auto* list = chooser.findChild<QListWidget*>("LanguageList");
        if (!list) return int(QDialog::Rejected);
        offered = list->count();
        for (int i = 0; i < list->count(); ++i) {
            const LanguageNames names = LocaleLanguageNames(LanguageChoiceLocale(*list->item(i)));
            if (names.months[0] == "M01") placeholders << list->item(i)->text();
        }
        // Choose French: its names fill both boxes.
        for (int i = 0; i < list->count(); ++i)
            if (LanguageChoiceLocale(*list->item(i)).language() == QLocale::French &&
                LocaleLanguageNames(LanguageChoiceLocale(*list->item(i))).months[0].compare("janvier", Qt::CaseInsensitive) == 0) {
                list->setCurrentRow(i);
                return int(QDialog::Accepted);
            }
        return int(QDialog::Rejected);
    });
    d.click(d.dlg.MoreLanguages);
    EXPECT_GT(offered, 20);
    EXPECT_TRUE(placeholders.isEmpty()) << placeholders.join(", ").toStdString();
    EXPECT_EQ(d.s().MonthName(1).toLower(), "janvier");
}

TEST(PropertiesDialog, MarginListsAndUnits) {
    Dialog d;
    d.dlg.TopMarginInchcombo->setCurrentIndex(3);
    EXPECT_EQ(d.s().TopMarginInch, 1.0f);
    d.click(d.dlg.UseMillimeters);
    EXPECT_EQ(d.dlg.TopMarginInchcombo->currentText(), "25 mm");
    EXPECT_EQ(d.s().TopMarginInch, 1.0f);
    d.dlg.LeftMarginInchcombo->setCurrentIndex(5);
    EXPECT_EQ(d.s().LeftMarginInch, 1.5f);
    d.click(d.dlg.useInches);
    EXPECT_EQ(d.dlg.LeftMarginInchcombo->currentText(), QString::fromUtf8("1½ Inch"));
    EXPECT_EQ(MarginIndexFor(0.49f), 0);
    EXPECT_EQ(MarginIndexFor(0.5f), 1);
    EXPECT_EQ(MarginIndexFor(9.0f), 5);
    EXPECT_EQ(MarginForIndex(6), 0.0f);
}

TEST(PropertiesDialog, DateButtonsMoveThePreviewsMonth) {
    Dialog d;
    d.clickRow(0);
    d.dlg.Calendar->setSelectedDate(QDate(2025, 1, 31));
    EXPECT_EQ(d.s().MainCalMonth, 1);
    d.click(d.dlg.Button9);
    EXPECT_EQ(d.s().MainCalMonth, 12);
    EXPECT_EQ(d.s().MainCalYear, 2024);
    EXPECT_EQ(d.s().MainCalDay, 31);
    d.click(d.dlg.Button11);
    d.click(d.dlg.Button11);
    EXPECT_EQ(d.s().MainCalMonth, 2);
    EXPECT_EQ(d.s().MainCalDay, 28);
    d.click(d.dlg.Button12);
    EXPECT_EQ(d.s().MainCalYear, 2026);
    d.click(d.dlg.Button8);
    d.click(d.dlg.Button8);
    EXPECT_EQ(d.s().MainCalYear, 2024);
    EXPECT_EQ(d.dlg.DateLabel->text(), QLocale::system().toString(QDate(2024, 2, 1), "MMMM yyyy"));
    d.click(d.dlg.Button10);
    EXPECT_EQ(d.s().MainCalYear, QDate::currentDate().year());
    EXPECT_EQ(d.s().MainCalMonth, QDate::currentDate().month());
}

TEST(PropertiesDialog, ColourAndFontButtonsReachThePreview) {
    Dialog d;
    d.clickRow(0);
    Hook colors(SetColorChooser, [](TColor, QWidget*) { return std::optional<TColor>(clRed); });
    d.click(d.dlg.HeaderBGColor);
    EXPECT_EQ(d.s().HeadersBGColor, clRed);
    const QImage icon = d.dlg.HeaderBGColor->icon().pixmap(24, 14).toImage();
    EXPECT_EQ(test::PixelColor(icon, 12, 7), clRed);
    Hook fonts(SetFontChooser, [](const FontRecord& f, QWidget*) {
        FontRecord chosen = f;
        chosen.color = clBlue;
        chosen.style = fsBold;
        return std::optional<FontRecord>(chosen);
    });
    d.click(d.dlg.TitleFontbutton);
    EXPECT_EQ(d.s().TitleFont.color, clBlue);
    EXPECT_EQ(d.s().TitleFont.style, fsBold);
    d.dlg.CalHeaderStyleCombo->setCurrentIndex(0);
    EXPECT_EQ(d.s().HeadersStyle, TCalHeadersStyle::dsFirstChar);
    d.click(d.dlg.TitleShowYearCheck);
    EXPECT_FALSE(d.s().TitleShowYear);
}

TEST(PropertiesDialog, StartingTimeThroughTheSetTimeDialog) {
    Dialog d;
    d.clickRow(12);
    QString caption;
    Hook runner(SetModalDialogRunner, [&](QDialog& dialog) {
        auto& time = dynamic_cast<TSetTimeDialog&>(dialog);
        caption = time.windowTitle();
        QTest::mouseClick(time.HourTile(14), Qt::LeftButton);
        QTest::mouseClick(time.MinuteTile(30), Qt::LeftButton);
        return int(QDialog::Accepted);
    });
    d.click(d.dlg.StartingtimeButton);
    EXPECT_EQ(caption, "Set Time As: 08:00 am");
    EXPECT_DOUBLE_EQ(d.s().DayStartTime, 14.5 / 24.0);
    // The locale's short time, without seconds (the C locale's short form carries them).
    const QString shown = d.dlg.TimeLabel->text();
    EXPECT_TRUE(shown.contains("30")) << shown.toStdString();
    EXPECT_FALSE(shown.contains("30:00")) << shown.toStdString();
}

TEST(PropertiesDialog, HelpTopicPerPage) {
    Dialog d;
    for (int page = 0; page < 9; ++page) {
        d.dlg.TabSet1->setCurrentIndex(page);
        EXPECT_EQ(d.dlg.Notebook->currentIndex(), page);
        EXPECT_EQ(d.dlg.HelpContext(), 2100 + page);
        EXPECT_TRUE(QFile::exists(HelpTopicFile(2100 + page))) << page;
    }
    // Ctrl+Tab walks the pages round from the keyboard.
    d.dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d.dlg));
    d.dlg.okbutton->setFocus();
    QTest::keyClick(d.dlg.okbutton, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(d.dlg.Notebook->currentIndex(), 0);
    EXPECT_EQ(d.dlg.HelpContext(), 2100);
}

TEST(PropertiesDialog, ThePreviewLeavesTheClipboardFileAlone) {
    const QString clip = ProgramFile("Clipbrd.tmp");
    QFile f(clip);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("objects");
    f.close();
    { Dialog d; }
    EXPECT_TRUE(QFile::exists(clip));
    QFile::remove(clip);
}

TEST(SetTimeDialog, CaptionAndTileColoursFollowTheChoice) {
    TSetTimeDialog dlg;
    dlg.SetTime(QTime(0, 5));
    EXPECT_EQ(dlg.windowTitle(), "Set Time As: 12:05 am");
    EXPECT_EQ(dlg.HourTile(0)->Caption(), "12");
    EXPECT_EQ(dlg.HourTile(12)->Caption(), "12");
    EXPECT_EQ(dlg.HourTile(13)->Caption(), "1");
    EXPECT_EQ(dlg.MinuteTile(5)->Caption(), "05");
    dlg.show();
    QTest::mouseClick(dlg.HourTile(23), Qt::LeftButton);
    QTest::mouseClick(dlg.MinuteTile(59), Qt::LeftButton);
    EXPECT_EQ(dlg.windowTitle(), "Set Time As: 11:59 pm");
    int yellow = 0;
    for (int h = 0; h < 24; ++h) yellow += dlg.HourTile(h)->Color() == clYellow;
    for (int m = 0; m < 60; ++m) yellow += dlg.MinuteTile(m)->Color() == clYellow;
    EXPECT_EQ(yellow, 2);
    EXPECT_EQ(dlg.HourTile(23)->Color(), clYellow);
    EXPECT_EQ(dlg.HourTile(0)->Color(), clBtnFace);
    EXPECT_EQ(dlg.Time(), QTime(23, 59));
    // The keyboard reaches every hour and minute: arrows move, wrapping round the day and the hour.
    dlg.HourPanel->setFocus();
    QTest::keyClick(dlg.HourPanel, Qt::Key_Right);
    QTest::keyClick(dlg.MinutePanel, Qt::Key_Down);
    EXPECT_EQ(dlg.Time(), QTime(0, 9));
    // The panel holding the arrow keys looks different from the other.
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    dlg.MinutePanel->setFocus();
    const QImage unfocused = dlg.HourPanel->grab().toImage();
    dlg.HourPanel->setFocus();
    EXPECT_NE(dlg.HourPanel->grab().toImage(), unfocused);
    QTest::mouseClick(dlg.CancelButton, Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

TEST(PropertiesDialogHelpers, NameLinesAndDayFractions) {
    EXPECT_TRUE(NameLines("").isEmpty());
    EXPECT_EQ(NameLines("a\r\nb\n"), QStringList({"a", "b"}));
    EXPECT_EQ(NameLines("a\n\nb"), QStringList({"a", "", "b"}));
    EXPECT_EQ(DayFractionToTime(8.0 / 24.0), QTime(8, 0));
    EXPECT_EQ(DayFractionToTime(-0.25), QTime(18, 0));
    EXPECT_EQ(DayFractionToTime(std::numeric_limits<double>::quiet_NaN()), QTime(0, 0));
    EXPECT_EQ(TimeToDayFraction(QTime(8, 0)), 8.0 / 24.0);
}

TEST(PropertiesDialog, TabWalksTheVisiblePageThenThePreviewAndTheButtons) {
    Dialog d;
    d.dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d.dlg));
    d.dlg.TabSet1->setCurrentIndex(7);
    d.dlg.TabSet1->setFocus();
    QStringList names;
    for (int i = 0; i < 20; ++i) {
        QWidget* w = QApplication::focusWidget();
        ASSERT_NE(w, nullptr);
        names << w->objectName();
        QTest::keyClick(w, Qt::Key_Tab);
    }
    EXPECT_EQ(names.mid(0, 13).join(' '),
              "TabSet1 MonthNames DayNames English French German Italian Spanish MoreLanguages PreviewBox "
              "ZoomOutbutton ZoomInButton okbutton");
    // The round ends back at the tab strip.
    EXPECT_EQ(names.at(19), "TabSet1");
}
