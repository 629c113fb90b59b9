// The demo dialog: opens and saves RTF files, zooms between 50 and 200 per cent, reports unreadable files.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "common/test_support.h"
#include "richtext/format_toolbar.h"
#include "richtext/rich_text_demo_dialog.h"
#include "richtext/rich_text_editor.h"

using namespace plennix;

TEST(RichTextDemoDialog, OpensSavesAndZooms) {
    RichTextDemoDialog dialog;
    EXPECT_EQ(dialog.ToolBar()->Editor(), dialog.Editor());
    const QString fixture = QFileInfo(QString::fromUtf8(__FILE__)).dir().filePath("fixtures/formatting.rtf");
    ASSERT_TRUE(dialog.LoadFile(fixture));
    EXPECT_TRUE(dialog.Editor()->toPlainText().startsWith("Plain bold"));

    QTemporaryDir dir;
    const QString saved = dir.filePath("saved.rtf");
    ASSERT_TRUE(dialog.SaveFile(saved));
    QFile f(saved);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), dialog.Editor()->RtfText());

    const QSize page100 = dialog.Editor()->size();
    for (int i = 0; i < 20; ++i) dialog.ZoomOut();
    EXPECT_EQ(dialog.Editor()->ZoomPercent(), 50);
    EXPECT_EQ(dialog.Editor()->size(), page100 / 2);
    for (int i = 0; i < 20; ++i) dialog.ZoomIn();
    EXPECT_EQ(dialog.Editor()->ZoomPercent(), 200);

    test::MessageRecorder messages;
    EXPECT_FALSE(dialog.LoadFile(dir.filePath("missing.rtf")));
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(dialog.Editor()->toPlainText().startsWith("Plain bold"));  // the text stays
}
