// The image browser and the load command: the file list's mask, the load rules per extension and their
// messages, the external decoder (and its absence), the check boxes, and the working folder restored
// whether the browser is cancelled or confirmed, and a file chosen with the mouse or with the keys.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "objects/object_commands.h"
#include "common/test_support.h"
#include "metafile_test_files.h"
#include "objects/image_browser.h"
#include "objects/image_decoding.h"
#include "objects/image_object.h"
#include "platform/common_dialogs.h"

namespace plennix {
namespace {

using test::PixelColor;

class ImageFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_home = QDir::currentPath();
        write("GOOD.BMP", test::BmpFile(filled(6, 4, Qt::red)));
        for (const char* bad : {"bad.bmp", "BAD.WMF", "BAD.JPG", "BAD.PCX", "BAD.TGA", "BAD.ICO", "BAD.DIB"})
            write(bad, QByteArray("this is no picture at all, only a few words of text"));
        write("notes.txt", "text");
        write("RED.PCX", test::RedBluePcx(8, 6));
        write("GREEN.TGA", test::GreenTopTga(5, 4));
        test::WmfWriter w;
        w.Window(0, 0, 100, 100);
        w.Brush(0x00FF00);
        w.Select(0);
        w.Ellipse(0, 0, 100, 100);
        write("STAR.WMF", w.Placeable(0, 0, 100, 100, 100));
        QImage icon(16, 16, QImage::Format_ARGB32);
        icon.fill(Qt::transparent);
        for (int y = 4; y < 12; ++y)
            for (int x = 4; x < 12; ++x) icon.setPixel(x, y, qRgb(0, 0, 255));
        icon.save(m_dir.filePath(QStringLiteral("ICON.ICO")), "ICO");
        QDir(m_dir.path()).mkdir(QStringLiteral("sub"));
    }
    void TearDown() override { QDir::setCurrent(m_home); }

    static QImage filled(int w, int h, Qt::GlobalColor c) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(c);
        return image;
    }
    void write(const char* name, const QByteArray& bytes) {
        QFile f(m_dir.filePath(QLatin1String(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QStringList listed(const TGImageBrowser& b) const {
        QStringList names;
        for (int i = 0; i < b.FileListBox1->count(); ++i) names << b.FileListBox1->item(i)->text();
        return names;
    }

    QTemporaryDir m_dir;
    QString m_home;
};

TEST_F(ImageFolder, StartsInTheClipArtAndListsTheMaskedFilesOfAFolder) {
    TGImageBrowser browser;
    EXPECT_EQ(browser.windowTitle(), QStringLiteral("Load Image File "));
    EXPECT_TRUE(browser.Folder().endsWith(QStringLiteral("clipart"))) << browser.Folder().toStdString();
    EXPECT_GE(browser.FileListBox1->count(), 24);
    browser.SetFolder(m_dir.path());
    EXPECT_EQ(QDir(QDir::currentPath()).canonicalPath(), QDir(m_dir.path()).canonicalPath());
    const QStringList names = listed(browser);
    EXPECT_TRUE(names.contains(QStringLiteral("GOOD.BMP")));
    EXPECT_TRUE(names.contains(QStringLiteral("bad.bmp")));  // the mask ignores case
    EXPECT_TRUE(names.contains(QStringLiteral("RED.PCX")));
    EXPECT_FALSE(names.contains(QStringLiteral("notes.txt")));
    EXPECT_EQ(names.size(), 12);
    EXPECT_TRUE(browser.SelectedFile().isEmpty());
    EXPECT_TRUE(browser.PreviewPicture().Empty());
}

TEST_F(ImageFolder, CorruptFilesEmptyThePreviewWithAMessageOnlyForBitmapsAndMetafiles) {
    test::MessageRecorder messages;
    TGImageBrowser browser;
    browser.SetFolder(m_dir.path());
    for (const char* bad : {"bad.bmp", "BAD.WMF", "BAD.JPG", "BAD.PCX", "BAD.TGA", "BAD.ICO", "BAD.DIB"}) {
        ASSERT_TRUE(browser.SelectFile(QLatin1String("GOOD.BMP")));
        ASSERT_FALSE(browser.PreviewPicture().Empty());
        const size_t before = messages.shown.size();
        ASSERT_TRUE(browser.SelectFile(QLatin1String(bad)));
        EXPECT_TRUE(browser.PreviewPicture().Empty()) << bad;
        const QString extension = QFileInfo(QLatin1String(bad)).suffix().toUpper();
        if (extension == QLatin1String("BMP") || extension == QLatin1String("WMF")) {
            ASSERT_EQ(messages.shown.size(), before + 1) << bad;
            EXPECT_EQ(messages.lastText(), QStringLiteral("Error loading file!"));
            EXPECT_EQ(messages.shown.back().kind, MessageKind::Error);
        } else if (ExternalDecoderAvailable()) {
            EXPECT_EQ(messages.shown.size(), before) << bad;
        }
    }
}

TEST_F(ImageFolder, PcxAndFooterlessTgaAreDecodedByTheExternalDecoder) {
    if (!ExternalDecoderAvailable())
        GTEST_SKIP() << "the external decoder " << kExternalDecoderLibrary << " is not installed here";
    test::MessageRecorder messages;
    TGImageBrowser browser;
    browser.SetFolder(m_dir.path());
    ASSERT_TRUE(browser.SelectFile(QStringLiteral("RED.PCX")));
    const TImagePicture pcx = browser.PreviewPicture();
    ASSERT_EQ(pcx.kind(), TImagePicture::Kind::Bitmap);
    EXPECT_EQ(pcx.Width(), 8);
    EXPECT_EQ(pcx.Height(), 6);
    EXPECT_EQ(PixelColor(pcx.Image(), 1, 1), 0x0000FF);
    EXPECT_EQ(PixelColor(pcx.Image(), 6, 4), 0xFF0000);
    ASSERT_TRUE(browser.SelectFile(QStringLiteral("GREEN.TGA")));
    const TImagePicture tga = browser.PreviewPicture();
    ASSERT_EQ(tga.kind(), TImagePicture::Kind::Bitmap);
    EXPECT_EQ(tga.Width(), 5);
    EXPECT_EQ(PixelColor(tga.Image(), 2, 0), 0x00C800);
    EXPECT_LT(qGray(tga.Image().pixel(2, 3)), 8);  // black, give or take the decoder's rounding
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ImageFolder, AMissingExternalDecoderIsReportedByItsLibraryName) {
    struct Reset {
        ~Reset() { SetExternalDecoderLibraryForTesting(QString()); }
    } reset;
    SetExternalDecoderLibraryForTesting(QStringLiteral("libNoSuchDecoder-0.so.0"));
    test::MessageRecorder messages;
    TGImageBrowser browser;
    browser.SetFolder(m_dir.path());
    ASSERT_TRUE(browser.SelectFile(QStringLiteral("RED.PCX")));
    EXPECT_TRUE(browser.PreviewPicture().Empty());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.lastText(), QStringLiteral("A required library file, libMagickWand-6.Q16.so.6, was not found."));
    // What Qt reads itself needs no external decoder.
    ASSERT_TRUE(browser.SelectFile(QStringLiteral("GOOD.BMP")));
    EXPECT_FALSE(browser.PreviewPicture().Empty());
}

TEST_F(ImageFolder, AnIconArrivesAsABitmapOfItsSize) {
    TGImageBrowser browser;
    browser.SetFolder(m_dir.path());
    ASSERT_TRUE(browser.SelectFile(QStringLiteral("ICON.ICO")));
    const TImagePicture icon = browser.PreviewPicture();
    ASSERT_EQ(icon.kind(), TImagePicture::Kind::Bitmap);
    EXPECT_EQ(icon.Width(), 16);
    EXPECT_EQ(PixelColor(icon.Image(), 8, 8), 0xFF0000);
    EXPECT_EQ(PixelColor(icon.Image(), 1, 1), 0xFFFFFF);  // see-through parts on white
}

TEST_F(ImageFolder, StretchAndAutoSizeCheckBoxesExcludeEachOther) {
    TGImageBrowser browser;
    browser.SetStretchChecked(true);
    EXPECT_FALSE(browser.AutoSizeChecked());
    browser.AutoSizeCheck->click();
    EXPECT_TRUE(browser.AutoSizeChecked());
    EXPECT_FALSE(browser.StretchChecked());
    browser.StretchCheck->click();
    EXPECT_TRUE(browser.StretchChecked());
    EXPECT_FALSE(browser.AutoSizeChecked());
    for (QWidget* w : browser.findChildren<QWidget*>()) {
        if (w->focusPolicy() != Qt::NoFocus && !w->objectName().isEmpty() &&
            !w->objectName().startsWith(QLatin1String("qt_"))) {
            EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
        }
    }
}

// Clicks a file of the list as a person does (the browser must be shown, so that the rows have places).
void clickFile(TGImageBrowser& browser, const QString& name) {
    const auto found = browser.FileListBox1->findItems(name, Qt::MatchFixedString);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    browser.FileListBox1->scrollToItem(found.first());
    const QRect row = browser.FileListBox1->visualItemRect(found.first());
    QTest::mouseClick(browser.FileListBox1->viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
}

TEST_F(ImageFolder, AFileChosenWithTheMouseLoadsTheSamePreviewAsWithTheKeys) {
    test::MessageRecorder messages;
    TGImageBrowser browser;
    browser.show();
    browser.SetFolder(m_dir.path());
    clickFile(browser, QStringLiteral("GOOD.BMP"));
    EXPECT_EQ(QFileInfo(browser.SelectedFile()).fileName(), QStringLiteral("GOOD.BMP"));
    ASSERT_FALSE(browser.PreviewPicture().Empty());
    const QByteArray byMouse = browser.PreviewPicture().RecordData();
    EXPECT_EQ(browser.Image1->Picture().RecordData(), byMouse);  // and the preview shows it

    // Another file by mouse, then back with the arrow keys to the same file.
    clickFile(browser, QStringLiteral("ICON.ICO"));
    EXPECT_EQ(browser.PreviewPicture().Width(), 16);
    const int good = browser.FileListBox1->row(
        browser.FileListBox1->findItems(QStringLiteral("GOOD.BMP"), Qt::MatchFixedString).first());
    browser.FileListBox1->setFocus();
    while (browser.FileListBox1->currentRow() > good) QTest::keyClick(browser.FileListBox1, Qt::Key_Up);
    while (browser.FileListBox1->currentRow() < good) QTest::keyClick(browser.FileListBox1, Qt::Key_Down);
    EXPECT_EQ(QFileInfo(browser.SelectedFile()).fileName(), QStringLiteral("GOOD.BMP"));
    EXPECT_EQ(browser.PreviewPicture().RecordData(), byMouse);

    // A damaged bitmap chosen with the mouse says so once.
    const size_t before = messages.shown.size();
    clickFile(browser, QStringLiteral("bad.bmp"));
    EXPECT_TRUE(browser.PreviewPicture().Empty());
    EXPECT_EQ(messages.shown.size(), before + 1);
}

TEST_F(ImageFolder, OkPlacesTheFileClickedWithTheMouse) {
    test::MessageRecorder messages;
    TGImage image;
    image.SetBounds(5, 6, 70, 80);
    test::ScopedHook<ModalDialogRunner> runner(SetModalDialogRunner, [&](QDialog& d) {
        auto& browser = dynamic_cast<TGImageBrowser&>(d);
        browser.show();
        browser.SetFolder(m_dir.path());
        browser.FileListBox1->setFocus();
        QTest::keyClick(browser.FileListBox1, Qt::Key_Home);  // chosen with the keys first ...
        clickFile(browser, QStringLiteral("STAR.WMF"));       // ... then the mouse has the last word
        QTest::mouseClick(browser.OKButton, Qt::LeftButton);
        return browser.result();
    });
    EXPECT_TRUE(LoadImageFromDisk(image));
    EXPECT_EQ(image.Picture().kind(), TImagePicture::Kind::Metafile);
}

TEST_F(ImageFolder, CancellingTheLoadCommandChangesNothingAndRestoresTheWorkingFolder) {
    const QString start = QDir(m_dir.filePath(QStringLiteral("sub"))).canonicalPath();
    QDir::setCurrent(start);
    TGImage image;
    image.SetBounds(5, 6, 70, 80);
    image.SetPicture(TImagePicture::FromBitmap(filled(3, 3, Qt::yellow)));
    const QByteArray before = image.Picture().RecordData();
    test::ScopedHook<ModalDialogRunner> runner(SetModalDialogRunner, [&](QDialog& d) {
        auto& browser = dynamic_cast<TGImageBrowser&>(d);
        browser.SetFolder(m_dir.path());
        EXPECT_TRUE(browser.SelectFile(QStringLiteral("STAR.WMF")));
        return int(QDialog::Rejected);
    });
    EXPECT_FALSE(LoadImageFromDisk(image));
    EXPECT_EQ(image.Picture().RecordData(), before);
    EXPECT_EQ(image.Width(), 70);
    EXPECT_TRUE(image.Stretch());
    EXPECT_EQ(QDir::currentPath(), start);
}

TEST_F(ImageFolder, ConfirmingTakesThePreviewAndTheCheckBoxesAndRestoresTheWorkingFolder) {
    const QString start = QDir::currentPath();
    TGImage image;
    image.SetBounds(5, 6, 70, 80);
    test::ScopedHook<ModalDialogRunner> runner(SetModalDialogRunner, [&](QDialog& d) {
        auto& browser = dynamic_cast<TGImageBrowser&>(d);
        EXPECT_TRUE(browser.StretchChecked());
        browser.SetFolder(m_dir.path());
        EXPECT_TRUE(browser.SelectFile(QStringLiteral("STAR.WMF")));
        browser.AutoSizeCheck->click();
        return int(QDialog::Accepted);
    });
    EXPECT_TRUE(LoadImageFromDisk(image));
    EXPECT_EQ(image.Picture().kind(), TImagePicture::Kind::Metafile);
    EXPECT_TRUE(image.AutoSize());
    EXPECT_FALSE(image.Stretch());
    EXPECT_EQ(image.Width(), 96);  // 100 units at 100 per inch
    EXPECT_EQ(image.Height(), 96);
    EXPECT_EQ(image.Left(), 5);
    EXPECT_EQ(QDir::currentPath(), start);
}

TEST_F(ImageFolder, AnAutoSizedObjectTakesTheNewPictureSizeEvenWhenTheBrowserTurnsToStretch) {
    TGImage image;
    image.SetBounds(5, 6, 70, 80);
    image.SetAutoSize(true);
    test::ScopedHook<ModalDialogRunner> runner(SetModalDialogRunner, [&](QDialog& d) {
        auto& browser = dynamic_cast<TGImageBrowser&>(d);
        EXPECT_TRUE(browser.AutoSizeChecked());
        browser.SetFolder(m_dir.path());
        EXPECT_TRUE(browser.SelectFile(QStringLiteral("GOOD.BMP")));
        browser.StretchCheck->click();
        return int(QDialog::Accepted);
    });
    EXPECT_TRUE(LoadImageFromDisk(image));
    EXPECT_TRUE(image.Stretch());
    EXPECT_FALSE(image.AutoSize());
    // The picture came in while the object was still auto-sized.
    EXPECT_EQ(image.Width(), 6);
    EXPECT_EQ(image.Height(), 4);
    EXPECT_EQ(image.Left(), 5);
    EXPECT_TRUE(image.Opaque());
}

}  // namespace
}  // namespace plennix
