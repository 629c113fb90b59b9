// The demo dialog: opens and saves RTF files, zooms between 50 and 200 per cent, reports unreadable files.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>

#include "common/test_support.h"
#include "platform/common_dialogs.h"
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

// The Open and Save buttons ask through the program's file dialog; a cancelled dialog changes nothing.
TEST(RichTextDemoDialog, OpenAndSaveButtonsAskThroughTheFileDialog) {
    const QString fixture = QFileInfo(QString::fromUtf8(__FILE__)).dir().filePath("fixtures/formatting.rtf");
    QTemporaryDir dir;
    const QString saved = dir.filePath("button.rtf");
    std::vector<FileDialogRequest> asked;
    QString answer;
    test::ScopedHook<FileChooser> files(SetFileChooser, [&](const FileDialogRequest& r, QWidget*) {
        asked.push_back(r);
        return answer;
    });
    RichTextDemoDialog dialog;
    auto* open = dialog.findChild<QPushButton*>("OpenButton");
    auto* save = dialog.findChild<QPushButton*>("SaveButton");
    ASSERT_TRUE(open && save);

    open->click();  // cancelled
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].mode, FileDialogRequest::Mode::Open);
    EXPECT_TRUE(dialog.Editor()->toPlainText().trimmed().isEmpty());
    answer = fixture;
    open->click();
    EXPECT_TRUE(dialog.Editor()->toPlainText().startsWith("Plain bold"));

    answer = saved;
    save->click();
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[2].mode, FileDialogRequest::Mode::Save);
    QFile f(saved);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), dialog.Editor()->RtfText());
}
