// Clip art on the calendar page: the Clip Art tool places an image object at the dragged rectangle and
// opens the image browser at once; cancelling leaves an empty image; a document keeps the picture.
#include <gtest/gtest.h>

#include <QDialog>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "calendar/calendar_panel.h"
#include "shown_page.h"
#include "objects/image_browser.h"
#include "objects/image_object.h"
#include "platform/common_dialogs.h"

using namespace plennix;

namespace {

struct ImagePage : test::ShownPage {
    void drag(QPoint from, QPoint to) {
        page->SetPanelState(TLPanelState::psImage);
        QTest::mousePress(page, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(page, to);
        QTest::mouseRelease(page, Qt::LeftButton, Qt::NoModifier, to);
    }
};

class ImageOnPage : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_home = QDir::currentPath();
        QImage picture(20, 10, QImage::Format_RGB32);
        picture.fill(QColor(0, 128, 255));
        ASSERT_TRUE(picture.save(m_dir.filePath(QStringLiteral("SKY.BMP")), "BMP"));
    }
    void TearDown() override {
        SetModalDialogRunner(nullptr);
        QDir::setCurrent(m_home);
    }
    QTemporaryDir m_dir;
    QString m_home;
};

TEST_F(ImageOnPage, ClipArtToolPlacesAnImageAndLoadsThePictureChosenInTheBrowser) {
    ImagePage f;
    const QString start = QDir::currentPath();
    int browsers = 0;
    SetModalDialogRunner([&](QDialog& dialog) {
        auto* browser = qobject_cast<TGImageBrowser*>(&dialog);
        if (!browser) return int(QDialog::Rejected);
        ++browsers;
        browser->SetFolder(m_dir.path());
        EXPECT_TRUE(browser->SelectFile(QStringLiteral("SKY.BMP")));
        return int(QDialog::Accepted);
    });
    const QPoint p(150, 250);
    f.drag(p, p + QPoint(120, 80));
    SetModalDialogRunner(nullptr);
    EXPECT_EQ(browsers, 1);
    ASSERT_EQ(f.page->ObjectCount(), 1);
    auto* image = qobject_cast<TGImage*>(f.page->ObjectAt(0));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Picture().kind(), TImagePicture::Kind::Bitmap);
    EXPECT_EQ(image->Picture().Width(), 20);
    EXPECT_TRUE(image->Stretch());
    EXPECT_EQ(image->Left(), p.x());
    EXPECT_EQ(image->Top(), p.y());
    EXPECT_EQ(f.page->PanelState(), TLPanelState::psPointing);
    EXPECT_EQ(QDir::currentPath(), start);
}

TEST_F(ImageOnPage, CancellingTheBrowserLeavesAnEmptyImageAndADocumentKeepsAPicture) {
    const QString path = m_dir.filePath(QStringLiteral("Clip.PXF"));
    {
        ImagePage f;
        SetModalDialogRunner([](QDialog&) { return int(QDialog::Rejected); });
        f.drag(QPoint(100, 200), QPoint(180, 260));
        SetModalDialogRunner(nullptr);
        ASSERT_EQ(f.page->ObjectCount(), 1);
        auto* image = qobject_cast<TGImage*>(f.page->ObjectAt(0));
        ASSERT_NE(image, nullptr);
        EXPECT_TRUE(image->Picture().Empty());
        // An empty image is a framed white box.
        const QImage shown = image->RenderBitmap();
        EXPECT_EQ(shown.pixel(0, 0) & 0xFFFFFF, 0x000000u);
        EXPECT_EQ(shown.pixel(shown.width() / 2, shown.height() / 2) & 0xFFFFFF, 0xFFFFFFu);

        QImage picture(8, 6, QImage::Format_RGB32);
        picture.fill(QColor(200, 30, 40));
        image->SetPicture(TImagePicture::FromBitmap(picture));
        image->SetAutoSize(true);
        image->SetBorderStyle(bsSingle);
        f.page->SaveToFile(path);
    }
    ImagePage g;
    g.page->ClearObjects();
    g.page->LoadFromFile(path, &g.owner);
    ASSERT_EQ(g.page->ObjectCount(), 1);
    auto* image = qobject_cast<TGImage*>(g.page->ObjectAt(0));
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->Picture().kind(), TImagePicture::Kind::Bitmap);
    EXPECT_EQ(image->Picture().Image().pixelColor(3, 3), QColor(200, 30, 40));
    EXPECT_TRUE(image->AutoSize());
    EXPECT_EQ(image->BorderStyle(), bsSingle);
    EXPECT_EQ(image->Width(), 8);
    EXPECT_EQ(image->Height(), 6);
    EXPECT_EQ(image->Left(), 100);
}

}  // namespace
