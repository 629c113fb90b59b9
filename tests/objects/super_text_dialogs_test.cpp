// The SuperText dialogs driven as a person would: the properties dialog's live preview and its rules,
// the symbol selector over a font list double, and the texture browser over temporary folders.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QMap>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QApplication>
#include <QFile>

#include "objects/object_commands.h"
#include "objects/super_text.h"
#include "objects/super_text_dialogs.h"
#include "objects/super_text_texture.h"
#include "platform/common_dialogs.h"
#include "test_support.h"

namespace plennix {
namespace {

// Runs every modal dialog through `body` instead of a modal loop; restores exec() afterwards.
struct ModalScript {
    explicit ModalScript(std::function<int(QDialog&)> body) { SetModalDialogRunner(std::move(body)); }
    ~ModalScript() { SetModalDialogRunner(nullptr); }
};

struct SymbolFonts {
    explicit SymbolFonts(QStringList fonts) {
        SetSymbolFontSource([fonts] { return fonts; });
    }
    ~SymbolFonts() { SetSymbolFontSource(nullptr); }
};

QImage solid(int w, int h, Qt::GlobalColor c) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(c);
    return image;
}

TEST(SuperTextProperties, FontSizeStepsByFiveWithinLimits) {
    TSuperTextProperties d;
    d.FormActivate();
    FontRecord f = d.Preview->Font();
    f.setSize(150);
    d.Preview->ApplyFont(f);
    d.RapidChangeFontSizeClick(+1);
    EXPECT_EQ(d.Preview->Font().size(), 150);
    f.setSize(148);
    d.Preview->ApplyFont(f);
    const int fits = d.FitCount();
    d.RapidChangeFontSizeClick(+1);
    EXPECT_EQ(d.Preview->Font().size(), 153);
    EXPECT_EQ(d.FitCount(), fits + 1);
    f.setSize(10);
    d.Preview->ApplyFont(f);
    d.RapidChangeFontSizeClick(-1);
    EXPECT_EQ(d.Preview->Font().size(), 10);
    f.setSize(12);
    d.Preview->ApplyFont(f);
    d.RapidChangeFontSize->stepBy(-1);  // the control itself
    EXPECT_EQ(d.Preview->Font().size(), 7);
    // The control shows the size it changes.
    EXPECT_EQ(d.RapidChangeFontSize->ShownText(), QStringLiteral("7"));
}

TEST(SuperTextProperties, EmptyTextCannotBeConfirmed) {
    test::MessageRecorder messages;
    TSuperTextProperties d;
    d.FormActivate();
    d.CaptionText->clear();
    d.OKButtonClick();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.lastText(), QStringLiteral("Please enter some text"));
    EXPECT_EQ(messages.shown.back().kind, MessageKind::Information);
    EXPECT_NE(d.result(), QDialog::Accepted);
    QTest::keyClicks(d.CaptionText, QStringLiteral("X"));
    d.OKButtonClick();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST(SuperTextProperties, KeyboardMnemonicsAreUnique) {
    // Two controls on one letter make Alt+letter only cycle the focus instead of reaching the control.
    TSuperTextProperties d;
    QMap<QChar, QString> seen;
    const auto check = [&](const QString& text) {
        const qsizetype at = text.indexOf(QLatin1Char('&'));
        if (at < 0 || at + 1 >= text.size()) return;
        const QChar key = text.at(at + 1).toUpper();
        EXPECT_FALSE(seen.contains(key)) << text.toStdString() << " clashes with " << seen.value(key).toStdString();
        seen.insert(key, text);
    };
    for (QLabel* l : d.findChildren<QLabel*>())
        if (l->window() == &d) check(l->text());
    for (QAbstractButton* b : d.findChildren<QAbstractButton*>())
        if (b->window() == &d) check(b->text());
    EXPECT_TRUE(seen.contains(QLatin1Char('Y')) && seen.contains(QLatin1Char('M')));
}

TEST(SuperTextProperties, TypingFitsOnceAtTheNextTick) {
    TSuperTextProperties d;
    d.FormActivate();
    const int before = d.FitCount();
    QTest::keyClicks(d.CaptionText, QStringLiteral("abc"));
    EXPECT_TRUE(d.Preview->Caption().endsWith(QLatin1String("abc")));
    EXPECT_EQ(d.FitCount(), before);
    d.Timer1Timer();
    EXPECT_EQ(d.FitCount(), before + 1);
    d.Timer1Timer();
    EXPECT_EQ(d.FitCount(), before + 1);
    EXPECT_TRUE(d.Timer1->isActive());
    EXPECT_EQ(d.Timer1->interval(), 200);
}

TEST(SuperTextProperties, TypePanelsAndTextureComesBackFromLastUsed) {
    TSuperTextProperties d;
    d.Preview->SetSurfaceType(stBrushImage);
    d.Preview->SetImage(solid(8, 8, Qt::green));
    d.FormActivate();
    EXPECT_FALSE(d.ImagePanel->isHidden());
    EXPECT_TRUE(d.FillPanel->isHidden());
    EXPECT_EQ(d.LastUsedImage().size(), QSize(8, 8));
    d.SurfaceTypeCombo->setCurrentIndex(stGradientFill);
    EXPECT_TRUE(d.Preview->Image().isNull());
    EXPECT_FALSE(d.FillPanel->isHidden());
    EXPECT_TRUE(d.ImagePanel->isHidden());
    d.SurfaceTypeCombo->setCurrentIndex(stBrushImage);
    EXPECT_EQ(d.Preview->Image().size(), QSize(8, 8));
    d.SurfaceTypeCombo->setCurrentIndex(stNormal);
    EXPECT_FALSE(d.FontcolorPanel->isHidden());
    d.SurfaceTypeCombo->setCurrentIndex(stBrushTransparent);
    EXPECT_TRUE(d.FontcolorPanel->isHidden() && d.FillPanel->isHidden() && d.ImagePanel->isHidden());
}

TEST(SuperTextProperties, ControlsWriteThePreview) {
    TSuperTextProperties d;
    d.FormActivate();
    d.ShadowOrientationCombo->setCurrentIndex(sdLeft);
    d.ShadowDepthSpinner->setValue(7);
    d.OutlineStyleCombo->setCurrentIndex(static_cast<int>(PenStyle::psDot));
    d.OutLineWidthSpinner->setValue(3);
    d.FillDirectionCombo->setCurrentIndex(gdUp);
    EXPECT_EQ(d.Preview->ShadowOrientation(), sdLeft);
    EXPECT_EQ(d.Preview->ShadowDepth(), 7);
    EXPECT_EQ(d.Preview->OutlineStyle(), PenStyle::psDot);
    EXPECT_EQ(d.Preview->OutlineWidth(), 3);
    EXPECT_EQ(d.Preview->FillDirection(), gdUp);
    EXPECT_EQ(d.ShadowDepthSpinner->maximum(), 10);
    EXPECT_EQ(d.OutLineWidthSpinner->maximum(), 10);

    SetFontChooser([](const FontRecord& f, QWidget*) {
        FontRecord chosen = f;
        chosen.name = QStringLiteral("Times New Roman");
        chosen.setSize(30);
        chosen.color = clRed;
        return std::optional<FontRecord>(chosen);
    });
    d.FontbuttonClick();
    SetFontChooser(nullptr);
    EXPECT_EQ(d.Preview->Font().name, QStringLiteral("Times New Roman"));
    EXPECT_EQ(d.Preview->Font().color, clRed);
    EXPECT_EQ(d.CaptionText->font().family(), QStringLiteral("Times New Roman"));
}

TEST(SuperTextProperties, CommandCopiesBackOnlyOnOk) {
    TGSuperText t;
    t.SetBGColor(clAqua);
    t.SetControlTransparent(false);
    t.SetBounds(0, 0, 250, 90);
    {
        ModalScript script([](QDialog& dialog) {
            auto& d = static_cast<TSuperTextProperties&>(dialog);
            d.FormActivate();
            d.ShadowDepthSpinner->setValue(9);
            d.CaptionText->setText(QStringLiteral("Changed"));
            return int(QDialog::Rejected);
        });
        EXPECT_FALSE(EditSuperTextProperties(t));
    }
    EXPECT_EQ(t.ShadowDepth(), 0);
    EXPECT_EQ(t.Caption(), QStringLiteral("Text"));
    {
        ModalScript script([](QDialog& dialog) {
            auto& d = static_cast<TSuperTextProperties&>(dialog);
            d.FormActivate();
            d.ShadowDepthSpinner->setValue(9);
            QTest::keyClicks(d.CaptionText, QStringLiteral("!"));
            d.SurfaceTypeCombo->setCurrentIndex(stNormal);
            d.Preview->SetBGColor(clRed);
            d.SetTexturePath(QStringLiteral("/somewhere/stone.bmp"));
            return int(QDialog::Accepted);
        });
        EXPECT_TRUE(EditSuperTextProperties(t));
    }
    EXPECT_EQ(t.ShadowDepth(), 9);
    EXPECT_EQ(t.Caption(), QStringLiteral("Text!"));
    EXPECT_EQ(t.SurfaceType(), stNormal);
    EXPECT_EQ(t.LastBitmapFileNameandPath(), QStringLiteral("/somewhere/stone.bmp"));
    // The box's own look stays.
    EXPECT_EQ(t.BGColor(), clAqua);
    EXPECT_FALSE(t.ControlTransparent());
}

TEST(SuperTextSymbol, NoSymbolFontsSaysSo) {
    SymbolFonts none({});
    test::MessageRecorder messages;
    TSuperTextProperties d;
    d.FormActivate();
    int runs = 0;
    ModalScript script([&](QDialog&) {
        ++runs;
        return int(QDialog::Accepted);
    });
    d.SelectSymbolbuttonClick();
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(messages.lastText(), QStringLiteral("No Symbol fonts installed"));
    EXPECT_EQ(d.Preview->Caption(), QStringLiteral("Text"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(SuperTextSymbol, OpensOnWingdingsAndPutsTheCharacterIntoTheText) {
    SymbolFonts fonts({QStringLiteral("Symbol"), QStringLiteral("Wingdings"), QStringLiteral("Dingbats")});
    TSuperTextGetSymbol selector;
    ASSERT_TRUE(selector.FillFonts());
    EXPECT_EQ(selector.SymbolSets->currentText(), QStringLiteral("Wingdings"));
    EXPECT_EQ(selector.SymbolSets->itemText(0), QStringLiteral("Dingbats"));
    EXPECT_EQ(selector.SymbolList->count(), 224);
    EXPECT_EQ(selector.SymbolList->item(0)->text(), QString(QChar(32)));
    EXPECT_EQ(selector.SymbolList->item(223)->text(), QString(QChar(255)));
    EXPECT_EQ(selector.SymbolList->font().family(), QStringLiteral("Wingdings"));

    TSuperTextProperties d;
    d.FormActivate();
    ModalScript script([](QDialog& dialog) {
        auto& s = static_cast<TSuperTextGetSymbol&>(dialog);
        s.FormActivate();
        s.SymbolSets->setCurrentText(QStringLiteral("Symbol"));
        s.SymbolList->setCurrentRow(65 - 32);
        s.CopyCharButtonClick();
        return s.result();
    });
    d.SelectSymbolbuttonClick();
    EXPECT_EQ(d.CaptionText->text(), QStringLiteral("A"));
    EXPECT_EQ(d.Preview->Caption(), QStringLiteral("A"));
    EXPECT_EQ(d.Preview->Font().name, QStringLiteral("Symbol"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Cancel changes nothing.
    ModalScript cancel([](QDialog&) { return int(QDialog::Rejected); });
    d.SelectSymbolbuttonClick();
    EXPECT_EQ(d.Preview->Caption(), QStringLiteral("A"));
}

TEST(SuperTextTexture, StartFolderRules) {
    QTemporaryDir program, data;
    QString file;
    EXPECT_EQ(TextureBrowserStartFolder(QString(), program.path(), QString(), &file), program.path() + "/");
    QDir(data.path()).mkdir(QStringLiteral("textures"));
    EXPECT_EQ(TextureBrowserStartFolder(QString(), program.path(), data.path(), &file),
              data.path() + "/textures/");
    QDir(program.path()).mkdir(QStringLiteral("Textures"));
    EXPECT_EQ(TextureBrowserStartFolder(QString(), program.path(), data.path(), &file),
              program.path() + "/Textures/");
    QDir(program.path()).mkdir(QStringLiteral("bmbrush"));
    EXPECT_EQ(TextureBrowserStartFolder(QStringLiteral("/no/such/file.bmp"), program.path(), data.path(), &file),
              program.path() + "/bmbrush/");
    const QString remembered = program.path() + "/Textures/oak.bmp";
    solid(4, 4, Qt::red).save(remembered, "BMP");
    EXPECT_EQ(TextureBrowserStartFolder(remembered, program.path(), data.path(), &file), program.path() + "/Textures/");
    EXPECT_EQ(file, QStringLiteral("oak.bmp"));
}

TEST(SuperTextTexture, BrowserLoadsTheSelectedFileAndOkHandsItOver) {
    QTemporaryDir dir;
    solid(12, 6, Qt::blue).save(dir.filePath("blue.bmp"), "BMP");
    solid(5, 5, Qt::red).save(dir.filePath("red.JPG"), "JPG");
    QFile broken(dir.filePath("broken.BMP"));
    broken.open(QIODevice::WriteOnly);
    broken.write("BM not really a bitmap");
    broken.close();
    QFile other(dir.filePath("notes.txt"));
    other.open(QIODevice::WriteOnly);
    other.write("x");
    other.close();

    test::MessageRecorder messages;
    TSuperTextProperties d;
    d.FormActivate();
    d.SurfaceTypeCombo->setCurrentIndex(stBrushImage);
    d.SetTexturePath(dir.filePath("blue.bmp"));
    ModalScript script([&](QDialog& dialog) {
        auto& b = static_cast<TSuperTextBrushImageBrowser&>(dialog);
        EXPECT_EQ(b.CurrentFolder(), dir.path() + "/");
        EXPECT_EQ(b.FileListBox1->count(), 3);  // the text file is not listed
        EXPECT_EQ(b.SuperTextExample->Image().size(), QSize(12, 6));
        EXPECT_EQ(b.SuperTextExample->SurfaceType(), stBrushImage);
        b.FileListBox1->setCurrentItem(b.FileListBox1->findItems("broken.BMP", Qt::MatchExactly).first());
        EXPECT_TRUE(b.SuperTextExample->Image().isNull());
        EXPECT_EQ(messages.lastText(), QStringLiteral("Error loading file!"));
        b.FileListBox1->setCurrentItem(b.FileListBox1->findItems("red.JPG", Qt::MatchExactly).first());
        EXPECT_EQ(b.SuperTextExample->Image().size(), QSize(5, 5));
        EXPECT_EQ(messages.shown.size(), 1u);
        return int(QDialog::Accepted);
    });
    d.LoadImageButtonClick();
    EXPECT_EQ(d.TexturePath(), dir.filePath("red.JPG"));
    EXPECT_EQ(d.LastUsedImage().size(), QSize(5, 5));
    EXPECT_EQ(d.Preview->Image().size(), QSize(5, 5));
}

TEST(SuperTextTexture, UnreadableKindsFailQuietlyAndHugePicturesAreRefused) {
    const TextureLoad pcx = DecodeTextureBytes(QByteArray("\x0a\x05\x01\x08garbage", 11), QStringLiteral(".PCX"));
    EXPECT_TRUE(pcx.image.isNull());
    EXPECT_FALSE(pcx.showError);
    const TextureLoad bmp = DecodeTextureBytes(QByteArray("BMxx"), QStringLiteral(".bmp"));
    EXPECT_TRUE(bmp.image.isNull());
    EXPECT_TRUE(bmp.showError);
    // A PNG header claiming 100000 x 100000 pixels is refused before decoding.
    QByteArray png = QByteArray::fromHex("89504E470D0A1A0A0000000D49484452000186A0000186A00806000000");
    EXPECT_TRUE(DecodeTextureBytes(png, QStringLiteral(".JPG")).image.isNull());
}

}  // namespace
}  // namespace plennix
