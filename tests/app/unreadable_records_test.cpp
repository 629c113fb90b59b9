// Records that are written but do not read back: an undo step that cannot read its snapshot leaves the
// page as it was and says why, a Clone that cannot read its copy says so, and output of such a page
// fails with the reason rather than leaving the object out.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "app/document_io.h"
#include "app/document_undo.h"
#include "print_support.h"
#include "surface/graphic_control.h"
#include "surface/object_menus.h"
#include "test_support.h"

using namespace plennix;
using namespace plennix::test;

namespace {
// A placed object of a class that no reader knows.
class UnreadableObject : public TGGraphicControl {
public:
    using TGGraphicControl::TGGraphicControl;
    QString ClassName() const override { return QStringLiteral("TGUnreadable"); }
};

UnreadableObject* addUnreadable(PrintablePage& p) {
    auto* object = new UnreadableObject(&p.owner);
    p.page.AddObject(object, Rect::fromBounds(10, 10, 40, 40));
    return object;
}
}  // namespace

TEST(UnreadableRecords, UndoThatCannotReadItsStepLeavesThePageAndSaysWhy) {
    PrintablePage p;
    addUnreadable(p);
    TDocumentUndo undo(p.page);
    undo.Reset(true);
    p.page.SetUserTitle(QStringLiteral("Our year"));
    ASSERT_TRUE(undo.Record(QStringLiteral("User Title")));
    const QByteArray changed = p.page.SaveToBytes();

    MessageRecorder messages;
    undo.Undo();
    // Nothing half restored: the title is not taken back without the object.
    EXPECT_EQ(p.page.SaveToBytes(), changed);
    EXPECT_EQ(p.page.ObjectCount(), 1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, MessageKind::Error);
    EXPECT_TRUE(messages.lastText().startsWith(QStringLiteral("Unable to undo User Title: ")));
    EXPECT_TRUE(messages.lastText().contains(QStringLiteral("Class TGUnreadable not found")));
    // The step stays where the page is, to be tried again.
    EXPECT_TRUE(undo.CanUndo());
    EXPECT_FALSE(undo.CanRedo());
}

TEST(UnreadableRecords, CloneAndOutputSayWhatCouldNotBeRead) {
    PrintablePage p;
    UnreadableObject* object = addUnreadable(p);
    MessageRecorder messages;
    CloneObjectOnPage(*object);
    EXPECT_EQ(p.page.ObjectCount(), 1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, MessageKind::Error);
    EXPECT_EQ(messages.lastText(),
              QStringLiteral("Unable to clone %1: Class TGUnreadable not found").arg(object->Name()));

    // Output draws a copy read from the document's bytes: without the object it would be wrong.
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    QString error;
    EXPECT_FALSE(WritePagesPdf(p.page.Page(), pdf, 1, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("Class TGUnreadable not found"))) << error.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
}
