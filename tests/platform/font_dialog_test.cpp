// The one font dialog with colour, driven through the modal runner as a person would use it.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontComboBox>

#include "platform/common_dialogs.h"
#include "test_support.h"

using namespace plennix;
using namespace plennix::test;

namespace {

using Runner = ScopedHook<ModalDialogRunner>;

template <class T>
T* control(QDialog& d, const char* name) {
    T* w = d.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

FontRecord sampleFont(TColor color) {
    FontRecord f;
    f.name = QStringLiteral("Arial");
    f.setSize(12);
    f.style = fsItalic;
    f.color = color;
    return f;
}

}  // namespace

TEST(FontWithColorDialog, UntouchedDialogGivesBackTheSameFontSystemColourIncluded) {
    Runner runner(SetModalDialogRunner, [](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Font"));
        // Every control can be named by assistive tools.
        for (const char* name : {"fontFace", "fontSize", "fontBold", "fontItalic", "fontUnderline", "fontStrikeOut",
                                 "fontColor"})
            if (QWidget* w = control<QWidget>(d, name)) {
                EXPECT_FALSE(w->accessibleName().isEmpty()) << name;
            }
        EXPECT_TRUE(control<QCheckBox>(d, "fontItalic")->isChecked());
        EXPECT_EQ(control<QComboBox>(d, "fontSize")->currentText(), QStringLiteral("12"));
        return int(QDialog::Accepted);
    });
    FontRecord font = sampleFont(clWindowText);
    const FontRecord before = font;
    ASSERT_TRUE(ChooseFontWithColor(nullptr, font));
    EXPECT_EQ(font.color, clWindowText);  // not resolved to black
    EXPECT_EQ(font.size(), 12);
    EXPECT_EQ(font.style, fsItalic);
    EXPECT_EQ(font.height, before.height);
}

TEST(FontWithColorDialog, ChoicesOfStyleSizeAndColourComeBack) {
    Runner runner(SetModalDialogRunner, [](QDialog& d) {
        control<QCheckBox>(d, "fontBold")->setChecked(true);
        control<QCheckBox>(d, "fontItalic")->setChecked(false);
        control<QCheckBox>(d, "fontStrikeOut")->setChecked(true);
        control<QComboBox>(d, "fontSize")->setEditText(QStringLiteral("20"));
        auto* color = control<QComboBox>(d, "fontColor");
        const int red = color->findText(QStringLiteral("Red"));
        EXPECT_GE(red, 0);
        color->setCurrentIndex(red);
        emit color->activated(red);
        return int(QDialog::Accepted);
    });
    FontRecord font = sampleFont(clBlue);
    ASSERT_TRUE(ChooseFontWithColor(nullptr, font));
    EXPECT_EQ(font.style, fsBold | fsStrikeOut);
    EXPECT_EQ(font.size(), 20);
    EXPECT_EQ(font.color, clRed);
}

TEST(FontWithColorDialog, CustomColourAndCancel) {
    ScopedHook<ColorChooser> colors(SetColorChooser, [](TColor, QWidget*) { return std::optional<TColor>(0x123456); });
    Runner runner(SetModalDialogRunner, [](QDialog& d) {
        auto* color = control<QComboBox>(d, "fontColor");
        const int custom = color->findText(QStringLiteral("Custom..."));
        EXPECT_EQ(custom, color->count() - 1);
        color->setCurrentIndex(custom);
        emit color->activated(custom);
        EXPECT_EQ(color->currentData().toInt(), 0x123456);
        return int(QDialog::Accepted);
    });
    FontRecord font = sampleFont(clBlack);
    ASSERT_TRUE(ChooseFontWithColor(nullptr, font));
    EXPECT_EQ(font.color, 0x123456);

    Runner cancel(SetModalDialogRunner, [](QDialog& d) {
        control<QCheckBox>(d, "fontBold")->setChecked(true);
        return int(QDialog::Rejected);
    });
    FontRecord kept = sampleFont(clBlack);
    EXPECT_FALSE(ChooseFontWithColor(nullptr, kept));
    EXPECT_EQ(kept, sampleFont(clBlack));
}

TEST(FontWithColorDialog, UnreadableSizeKeepsTheSizeAndOutlineOnlyFiltersFaces) {
    Runner runner(SetModalDialogRunner, [](QDialog& d) {
        control<QComboBox>(d, "fontSize")->setEditText(QString());
        EXPECT_EQ(control<QFontComboBox>(d, "fontFace")->fontFilters(), QFontComboBox::ScalableFonts);
        return int(QDialog::Accepted);
    });
    FontRecord font = sampleFont(clBlack);
    ASSERT_TRUE(ChooseFontWithColor(nullptr, font, true));
    EXPECT_EQ(font.size(), 12);
}

TEST(FontWithColorDialog, TheChooserHookAnswersInsteadOfTheDialog) {
    ScopedHook<FontChooser> chooser(SetFontChooser, [](const FontRecord& f, QWidget*) {
        FontRecord r = f;
        r.color = clLime;
        return std::optional<FontRecord>(r);
    });
    Runner runner(SetModalDialogRunner, [](QDialog&) {
        ADD_FAILURE() << "the dialog ran although a chooser was installed";
        return int(QDialog::Rejected);
    });
    FontRecord font = sampleFont(clBlack);
    ASSERT_TRUE(ChooseFontWithColor(nullptr, font));
    EXPECT_EQ(font.color, clLime);
}
