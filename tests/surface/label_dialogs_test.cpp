// The label's dialogs driven as a person would: the text dialog and the 3D effects dialog with its
// live sample, their help and what's-this support.
#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QWhatsThis>

#include "surface/object_menus.h"
#include "platform/program_folder.h"
#include "platform/common_dialogs.h"
#include "surface/help.h"
#include "surface/label.h"
#include "surface/label_dialogs.h"
#include "surface/object_host.h"
#include "surface_test_support.h"
#include "test_support.h"

namespace plennix {
namespace {

TEST(LabelTextDialog, LooksAsDesigned) {
    TGetLabelText dialog;
    EXPECT_EQ(dialog.windowTitle(), "Text");
    EXPECT_EQ(dialog.size(), QSize(356, 133));
    EXPECT_EQ(dialog.findChild<QLabel*>("Label1")->text(), "Enter Text");
    for (const char* name : {"LabelText", "OKButton", "Cancelbutton", "Helpbutton", "MouseHelpButton"})
        EXPECT_NE(dialog.findChild<QWidget*>(name), nullptr) << name;
    EXPECT_NE(dialog.findChild<QMenu*>("WhatsThisMenu"), nullptr);
    EXPECT_EQ(dialog.OKButton->text(), "Ok");
    EXPECT_TRUE(dialog.OKButton->isDefault());
}

TEST(LabelTextDialog, OkCopiesTheTextBackAndCancelLeavesIt) {
    SetModalDialogRunner([](QDialog& d) {
        d.show();
        auto* edit = d.findChild<QLineEdit*>("LabelText");
        EXPECT_EQ(edit->text(), "Old");
        edit->clear();
        QTest::keyClicks(edit, "New text");
        QTest::keyClick(edit, Qt::Key_Return);  // the default button
        return d.result();
    });
    QString text = QStringLiteral("Old");
    EXPECT_TRUE(EditLabelText(nullptr, text));
    EXPECT_EQ(text, "New text");

    SetModalDialogRunner([](QDialog& d) {
        QTest::keyClicks(d.findChild<QLineEdit*>("LabelText"), "zzz");
        QTest::mouseClick(d.findChild<QPushButton*>("Cancelbutton"), Qt::LeftButton);
        return d.result();
    });
    text = QStringLiteral("Old");
    EXPECT_FALSE(EditLabelText(nullptr, text));
    EXPECT_EQ(text, "Old");
    SetModalDialogRunner(nullptr);
}

TEST(LabelTextDialog, HelpShowsTheTopicOrSaysItIsMissing) {
    QTemporaryDir data;
    const QByteArray oldData = qgetenv("PLENNIX_DATA_DIR");
    qputenv("PLENNIX_DATA_DIR", data.path().toLocal8Bit());
    ResetProgramDir();

    {
        test::MessageRecorder messages;
        TGetLabelText dialog;
        QTest::mouseClick(dialog.Helpbutton, Qt::LeftButton);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_TRUE(messages.lastText().contains("40004"));
    }

    QDir(data.path()).mkpath("help");
    QFile topic(data.path() + "/help/40008.html");
    ASSERT_TRUE(topic.open(QIODevice::WriteOnly));
    topic.write("<html><body>Shadows and highlights</body></html>");
    topic.close();
    TGPLabel label;
    TGFont3DEffects dialog(label);
    test::MessageRecorder messages;
    QTest::mouseClick(dialog.Helpbutton, Qt::LeftButton);
    EXPECT_TRUE(messages.shown.empty());
    QTextBrowser* help = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "HelpWindow") help = qobject_cast<QTextBrowser*>(w);
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->toPlainText().contains("Shadows and highlights"));
    help->close();

    qputenv("PLENNIX_DATA_DIR", oldData);
    ResetProgramDir();
}

TEST(LabelTextDialog, WhatsThisPointerAndMenu) {
    TGetLabelText dialog;
    dialog.show();
    QTest::mouseClick(dialog.MouseHelpButton, Qt::LeftButton);
    EXPECT_TRUE(QWhatsThis::inWhatsThisMode());
    QWhatsThis::leaveWhatsThisMode();

    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), dialog.LabelText->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(dialog.LabelText, &event);
    EXPECT_EQ(dialog.WhatsThis->LastControl(), dialog.LabelText);
    EXPECT_TRUE(dialog.WhatsThisMenu->isVisible());
    ASSERT_EQ(dialog.WhatsThisMenu->actions().size(), 1);
    EXPECT_EQ(dialog.WhatsThisMenu->actions()[0]->text(), "What's this?");
    dialog.WhatsThisMenu->hide();
    EXPECT_FALSE(dialog.LabelText->whatsThis().isEmpty());
}

// A label with a 3D effect that the dialog starts from.
void styled(TGBaseLabel& label) {
    label.SetDirectionShadow(sdDownLeft);
    label.SetDepthShadow(2);
    label.SetDirectionHighlight(hdUp);
    label.SetDepthHighlight(5);
    label.SetcolorShadow(clNavy);
    label.SetcolorHighlight(clYellow);
    FontRecord f = label.Font();
    f.color = clMaroon;
    label.SetFont(f);
}

TEST(Font3DEffectsDialog, StartsFromTheLabel) {
    TGPLabel label;
    styled(label);
    TGFont3DEffects dialog(label);
    EXPECT_EQ(dialog.windowTitle(), "Text 3D Effects");
    EXPECT_EQ(dialog.size(), QSize(467, 338));
    EXPECT_EQ(dialog.SamplePanel->size(), QSize(437, 85));
    EXPECT_EQ(dialog.ShadowDirection->currentText(), "Lower Left");
    EXPECT_EQ(dialog.ShadowDepth->currentText(), "2");
    EXPECT_EQ(dialog.HighlightDirection->currentText(), "Up");
    EXPECT_EQ(dialog.HighLightDepth->currentText(), "5");
    EXPECT_EQ(dialog.ShadowDepth->count(), 11);
    EXPECT_EQ(dialog.ShadowColorCombo->Color(), clNavy);
    EXPECT_EQ(dialog.HighLightColorCombo->Color(), clYellow);
    EXPECT_EQ(dialog.FontColorCombo->Color(), clMaroon);
    EXPECT_EQ(dialog.Sample->DirectionShadow(), sdDownLeft);
    EXPECT_EQ(dialog.Sample->DepthHighlight(), 5);
    EXPECT_EQ(dialog.Sample->Font(), label.Font());
    EXPECT_EQ(dialog.Sample->Width(), dialog.SampleHost->width());
}

TEST(Font3DEffectsDialog, ChangesReachTheSampleAtOnceAndTheLabelOnlyWithOk) {
    TGPLabel label;
    styled(label);
    TGFont3DEffects dialog(label);
    dialog.show();
    dialog.ShadowDirection->setCurrentIndex(sdRight);
    dialog.ShadowDepth->setCurrentIndex(7);
    dialog.HighlightDirection->setCurrentIndex(hdNone);
    dialog.FontColorCombo->SetColor(clGreen);
    dialog.ShadowColorCombo->SetColor(RGB(0x12, 0x34, 0x56));  // not a named colour
    EXPECT_EQ(dialog.Sample->DirectionShadow(), sdRight);
    EXPECT_EQ(dialog.Sample->DepthShadow(), 7);
    EXPECT_EQ(dialog.Sample->DirectionHighlight(), hdNone);
    EXPECT_EQ(dialog.Sample->Font().color, clGreen);
    EXPECT_EQ(dialog.Sample->colorShadow(), RGB(0x12, 0x34, 0x56));
    // The sample paints what it holds: its text is green now.
    const QImage sample = dialog.SampleHost->RenderToImage();
    bool green = false;
    for (int y = 0; y < sample.height() && !green; ++y)
        for (int x = 0; x < sample.width() && !green; ++x) {
            const QColor c = sample.pixelColor(x, y);
            green = c.green() > 60 && c.red() < 40 && c.blue() < 40;
        }
    EXPECT_TRUE(green);
    // Nothing reached the label yet.
    EXPECT_EQ(label.DirectionShadow(), sdDownLeft);
    EXPECT_EQ(label.Font().color, clMaroon);

    QTest::mouseClick(dialog.OKButton, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(label.DirectionShadow(), sdRight);
    EXPECT_EQ(label.DepthShadow(), 7);
    EXPECT_EQ(label.DirectionHighlight(), hdNone);
    EXPECT_EQ(label.DepthHighlight(), 5);
    EXPECT_EQ(label.colorShadow(), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(label.colorHighlight(), clYellow);
    EXPECT_EQ(label.Font().color, clGreen);
    EXPECT_EQ(label.CurrentShadowOffset(), (Point{7, 0}));
}

TEST(Font3DEffectsDialog, CancelTouchesNothing) {
    TGPLabel label;
    styled(label);
    const FontRecord font = label.Font();
    TGFont3DEffects dialog(label);
    dialog.ShadowDirection->setCurrentIndex(sdNone);
    dialog.HighLightDepth->setCurrentIndex(0);
    dialog.FontColorCombo->SetColor(clWhite);
    QTest::mouseClick(dialog.Cancelbutton, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(label.DirectionShadow(), sdDownLeft);
    EXPECT_EQ(label.DepthHighlight(), 5);
    EXPECT_EQ(label.Font(), font);
}

TEST(Font3DEffectsDialog, CustomColourComesFromTheColourDialog) {
    TGPLabel label;
    TGFont3DEffects dialog(label);
    SetColorChooser([](TColor current, QWidget*) {
        EXPECT_EQ(current, clGray);
        return std::optional<TColor>(RGB(1, 2, 3));
    });
    const int custom = dialog.ShadowColorCombo->findText("Custom...");
    ASSERT_GE(custom, 0);
    dialog.ShadowColorCombo->setCurrentIndex(custom);
    emit dialog.ShadowColorCombo->activated(custom);
    EXPECT_EQ(dialog.ShadowColorCombo->Color(), RGB(1, 2, 3));
    EXPECT_EQ(dialog.Sample->colorShadow(), RGB(1, 2, 3));

    // Cancelling the colour dialog returns to the colour before.
    SetColorChooser([](TColor, QWidget*) { return std::optional<TColor>(); });
    const int again = dialog.ShadowColorCombo->findText("Custom...");
    dialog.ShadowColorCombo->setCurrentIndex(again);
    emit dialog.ShadowColorCombo->activated(again);
    SetColorChooser(nullptr);
    EXPECT_EQ(dialog.ShadowColorCombo->Color(), RGB(1, 2, 3));
}

TEST(Font3DEffectsDialog, TheLabelCommandReportsAChangeOnlyOnOk) {
    test::PanelFixture f;
    auto* label = new TGPLabel(&f.owner);
    label->Loaded();
    f.panel->AddObject(label, Rect(10, 10, 150, 43));
    const int before = f.changes;
    SetModalDialogRunner([](QDialog& d) {
        QTest::mouseClick(d.findChild<QPushButton*>("Cancelbutton"), Qt::LeftButton);
        return d.result();
    });
    ObjectMenuAction(*label, QStringLiteral("3D Effects"))->trigger();
    EXPECT_EQ(f.changes, before);
    SetModalDialogRunner([](QDialog& d) {
        auto& dialog = dynamic_cast<TGFont3DEffects&>(d);
        dialog.ShadowDepth->setCurrentIndex(3);
        QTest::mouseClick(dialog.OKButton, Qt::LeftButton);
        return d.result();
    });
    ObjectMenuAction(*label, QStringLiteral("3D Effects"))->trigger();
    SetModalDialogRunner(nullptr);
    EXPECT_EQ(label->DepthShadow(), 3);
    EXPECT_GT(f.changes, before);
}

}  // namespace
}  // namespace plennix
