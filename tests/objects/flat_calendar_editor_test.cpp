// The floating calendar's properties dialog and command: controls load from and write to the preview,
// OK copies back and Cancel leaves the calendar alone; the icon palette's visibility rule.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QTest>
#include <QComboBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QWidget>

#include "objects/object_commands.h"
#include "objects/flat_calendar.h"
#include "objects/flat_calendar_editor.h"
#include "platform/common_dialogs.h"

namespace plennix {
namespace {

struct EditorAnswer {
    explicit EditorAnswer(std::function<int(TFlatCalendarEditor&)> answer) {
        SetModalDialogRunner([this, answer](QDialog& d) {
            auto* editor = qobject_cast<TFlatCalendarEditor*>(&d);
            if (!editor) return int(QDialog::Rejected);
            editor->FormActivate();
            sampleSize = QSize(editor->Sample->Width(), editor->Sample->Height());
            month = editor->MonthCombo->currentIndex();
            language = editor->LanguageCombo->currentIndex();
            depth = editor->ShadowDepthSpinner->value();
            monday = editor->WeekStartsOnMonday->isChecked();
            return answer(*editor);
        });
    }
    ~EditorAnswer() { SetModalDialogRunner(nullptr); }
    QSize sampleSize;
    int month = -1, language = -1, depth = -1;
    bool monday = false;
};

TEST(FlatCalendarEditor, ControlsWaitForActivationThenDriveThePreview) {
    TFlatCalendarEditor dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Floating Calendar Properties"));
    EXPECT_TRUE(dialog.Updating());
    dialog.LanguageCombo->setCurrentIndex(2);
    EXPECT_EQ(dialog.Sample->Language(), fclEnglish);  // not yet activated

    dialog.Sample->SetShadowDepth(6);
    dialog.Sample->SetMonth(7);
    dialog.FormActivate();
    EXPECT_FALSE(dialog.Updating());
    EXPECT_EQ(dialog.ShadowDepthSpinner->value(), 6);
    EXPECT_EQ(dialog.MonthCombo->currentIndex(), 6);
    EXPECT_EQ(dialog.LanguageCombo->currentIndex(), 0);

    dialog.LanguageCombo->setCurrentIndex(1);
    dialog.HeadersStyleCombo->setCurrentIndex(1);
    dialog.CellBorderCombo->setCurrentIndex(4);
    dialog.ShadowOrientationCombo->setCurrentIndex(3);
    dialog.YearSpinner->setValue(2031);
    dialog.WeekStartsOnMonday->setChecked(true);
    dialog.TransparentCheck->setChecked(true);
    dialog.ShowtitleInyearCheck->setChecked(true);
    dialog.HeaderBackgroundButton->PickPaletteColor(4);
    dialog.ShadowColorButton->PickPaletteColor(19);
    const TGFlatCalendar& s = *dialog.Sample;
    EXPECT_EQ(s.Language(), fclGerman);
    EXPECT_EQ(s.DayNameStyle(), fdsThreeChars);
    EXPECT_EQ(s.CellBorderStyle(), fcbTopBottom);
    EXPECT_EQ(s.ShadowPosition(), fcpUpperLeft);
    EXPECT_EQ(s.Year(), 2031);
    EXPECT_EQ(s.StartOfWeek(), 2);
    EXPECT_TRUE(s.CalTransparent());
    EXPECT_TRUE(s.ShowYear());
    EXPECT_EQ(s.DayNameBGColor(), 12572607);
    EXPECT_EQ(s.ShadowColor(), 10461087);

    SetColorChooser([](TColor, QWidget*) { return std::optional<TColor>(0x010203); });
    dialog.Bodybackgroundbutton->PickOtherColor();
    SetColorChooser(nullptr);
    EXPECT_EQ(s.Backgroundcolor(), 0x010203);

    SetFontChooser([](const FontRecord& f, QWidget*) {
        FontRecord g = f;
        g.setSize(14);
        return std::optional<FontRecord>(g);
    });
    dialog.CellFontbutton->click();
    SetFontChooser(nullptr);
    EXPECT_EQ(s.CellFont().size(), 14);
}

TEST(FlatCalendarEditor, PaletteAndControlNames) {
    const auto& p = FlatCalendarPalette();
    EXPECT_EQ(p.front(), 16777215);
    EXPECT_EQ(p[5], 0);
    EXPECT_EQ(p.back(), 10461087);
    TFlatCalendarEditor dialog;
    EXPECT_EQ(dialog.LanguageCombo->itemText(2), QStringLiteral("Français"));
    EXPECT_EQ(dialog.ShadowOrientationCombo->itemText(2), QStringLiteral("UpperRight"));
    EXPECT_EQ(dialog.YearSpinner->minimum(), 1950);
    EXPECT_EQ(dialog.YearSpinner->maximum(), 2500);
    EXPECT_EQ(dialog.ShadowDepthSpinner->maximum(), 10);
    // Every control can be named by assistive tools and reached by keyboard.
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        if (qobject_cast<QComboBox*>(w) || qobject_cast<QSpinBox*>(w)) {
            EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
        }
        if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w)) {
            EXPECT_NE(w->focusPolicy() & Qt::TabFocus, 0) << w->objectName().toStdString();
        }
    }
}

TEST(FlatCalendarEditor, PaletteIsReachableByKeyboard) {
    TFlatCalendarEditor dialog;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.FormActivate();
    TPaletteColorButton* button = dialog.HeaderBackgroundButton;
    button->SetColor(65280);  // the third colour of the first row
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Space);
    QWidget* popup = button->PalettePopup();
    ASSERT_TRUE(popup->isVisible());
    // The focus starts on the colour shown; Tab walks on to the next one, Space picks it.
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("PaletteColor2"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("PaletteColor3"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(dialog.Sample->DayNameBGColor(), 16711680);
    // The "&Other" button is in the same tab chain.
    QWidget* other = popup->findChild<QWidget*>(QStringLiteral("OtherColorButton"));
    ASSERT_NE(other, nullptr);
    EXPECT_NE(other->focusPolicy() & Qt::TabFocus, 0);
}

TEST(FlatCalendarEditor, PropertiesCommandCopiesBackOnlyOnOk) {
    TGFlatCalendar cal;
    cal.SetZoomField(2.0f);
    cal.SetBounds(0, 0, 301, 250);
    cal.SetMonth(4);
    cal.SetLanguage(fclSpanish);
    cal.SetShadowDepth(2);
    {
        EditorAnswer cancel([](TFlatCalendarEditor& e) {
            e.MonthCombo->setCurrentIndex(0);
            return int(QDialog::Rejected);
        });
        EditFlatCalendarProperties(cal);
        // The preview shows the calendar at zoom 1.
        EXPECT_EQ(cancel.sampleSize, QSize(150, 125));
        EXPECT_EQ(cancel.month, 3);
        EXPECT_EQ(cancel.language, int(fclSpanish));
        EXPECT_EQ(cancel.depth, 2);
    }
    EXPECT_EQ(cal.Month(), 4);
    {
        EditorAnswer ok([](TFlatCalendarEditor& e) {
            e.MonthCombo->setCurrentIndex(0);
            e.WeekStartsOnMonday->setChecked(true);
            e.TitleBackgroundbutton->PickPaletteColor(1);
            return int(QDialog::Accepted);
        });
        EditFlatCalendarProperties(cal);
    }
    EXPECT_EQ(cal.Month(), 1);
    EXPECT_EQ(cal.StartOfWeek(), 2);
    EXPECT_EQ(cal.TitleBGcolor(), 255);
    EXPECT_EQ(cal.Language(), fclSpanish);
    // The size is never copied back.
    EXPECT_EQ(cal.Width(), 301);
    EXPECT_EQ(cal.Height(), 250);
}

TEST(FloaterStatus, PaletteFollowsThePage) {
    FloaterStatus s = CheckFloaterStatus(false, true, true, true);
    EXPECT_FALSE(s.preferenceVisible);
    EXPECT_TRUE(s.hide);
    s = CheckFloaterStatus(true, false, true, false);
    EXPECT_FALSE(s.preferenceVisible);
    EXPECT_FALSE(s.show);
    s = CheckFloaterStatus(true, true, true, false);
    EXPECT_TRUE(s.preferenceVisible);
    EXPECT_TRUE(s.show);
    s = CheckFloaterStatus(true, true, false, false);
    EXPECT_FALSE(s.show);
    EXPECT_FALSE(s.hide);

    QWidget palette;
    bool preference = true;
    CheckFloaterStatus(&palette, preference, true, true);
    EXPECT_TRUE(palette.isVisible());
    CheckFloaterStatus(&palette, preference, true, false);
    EXPECT_FALSE(palette.isVisible());
    EXPECT_FALSE(preference);
}

}  // namespace
}  // namespace plennix
