// Choosing a picture in the browser with the mouse, as a person does: a click on a file previews it
// (and the OK takes it), and a click on a cut-off bitmap says the file cannot be loaded.
#include <gtest/gtest.h>

#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

#include "common/test_support.h"
#include "metafile_test_files.h"
#include "objects/image_browser.h"
#include "objects/image_object.h"

namespace plennix {
namespace {

void clickFile(TGImageBrowser& browser, const QString& name) {
    const auto found = browser.FileListBox1->findItems(name, Qt::MatchFixedString);
    ASSERT_EQ(found.size(), 1);
    const QRect row = browser.FileListBox1->visualItemRect(found.first());
    QTest::mouseClick(browser.FileListBox1->viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
}

TEST(PictureBrowserClicks, AClickedBitmapIsPreviewedAndACutOffOneIsAnError) {
    QTemporaryDir dir;
    QImage red(6, 4, QImage::Format_RGB32);
    red.fill(Qt::red);
    const QByteArray whole = test::BmpFile(red);
    for (const auto& [name, bytes] : {std::pair{"WHOLE.BMP", whole}, std::pair{"CUT.BMP", whole.left(whole.size() - 10)}}) {
        QFile f(dir.filePath(QLatin1String(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    test::MessageRecorder messages;
    TGImageBrowser browser;
    browser.SetFolder(dir.path());
    browser.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&browser));

    clickFile(browser, QStringLiteral("WHOLE.BMP"));
    EXPECT_EQ(browser.PreviewPicture().Width(), 6);
    EXPECT_TRUE(messages.shown.empty());

    clickFile(browser, QStringLiteral("CUT.BMP"));
    EXPECT_TRUE(browser.PreviewPicture().Empty());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown.front().text, QStringLiteral("Error loading file!"));
}

}  // namespace
}  // namespace plennix
