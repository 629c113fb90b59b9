// The object filer: clipboard files written from the selection or one object, pasted back with fresh
// names and the paste offset, and clones read straight from memory.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "surface/object_menus.h"
#include "object_test_shape.h"
#include "platform/file_io.h"
#include "platform/stream_error.h"
#include "surface/base_panel.h"
#include "surface/handle.h"
#include "surface/object_filer.h"
#include "surface/object_stream.h"

namespace plennix {
namespace {

using test::TTestShape;

class ObjectFilerTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::RegisterTestShape();
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("Clipbrd.tmp"));
    }

    TTestShape* place(int left, int top, const QString& name) {
        auto* s = new TTestShape(&owner);
        s->SetName(name);
        s->SetBounds(left, top, 40, 20);
        s->SetList(&panel.ObjectList());
        s->Loaded();
        return s;
    }

    QTemporaryDir dir;
    QString path;
    QObject owner;
    TGBasePanel panel;
};

TEST_F(ObjectFilerTest, PastingTwiceGivesNextNamesAndOffsets) {
    place(10, 10, QStringLiteral("Component0"));
    TTestShape* src = place(100, 50, QStringLiteral("Component1"));
    src->caption = QStringLiteral("copy me");
    TGLabelObjectFiler filer(&owner);
    filer.SaveObject(src, path);

    const auto first = filer.LoadObjects(&owner, &panel.ObjectList(), path);
    EXPECT_TRUE(filer.Pasting());
    const auto second = filer.LoadObjects(&owner, &panel.ObjectList(), path);
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(first[0]->Name(), QStringLiteral("Component2"));
    EXPECT_EQ(second[0]->Name(), QStringLiteral("Component3"));
    for (TGGraphicControl* o : {first[0], second[0]}) {
        EXPECT_EQ(o->BoundsRect(), Rect::fromBounds(115, 65, 40, 20));
        EXPECT_EQ(static_cast<TTestShape*>(o)->caption, QStringLiteral("copy me"));
        EXPECT_EQ(o->List(), &panel.ObjectList());
        EXPECT_NE(ObjectContextMenu(*o), nullptr);
    }
    EXPECT_EQ(panel.ObjectCount(), 4);
}

TEST_F(ObjectFilerTest, MissingFileLoadsNothing) {
    TGLabelObjectFiler filer(&owner);
    EXPECT_TRUE(filer.LoadObjects(&owner, &panel.ObjectList(), dir.filePath(QStringLiteral("none.tmp"))).empty());
    EXPECT_EQ(panel.ObjectCount(), 0);
}

TEST_F(ObjectFilerTest, SelectionIsWrittenInSelectionOrder) {
    TTestShape* a = place(1, 1, QStringLiteral("A"));
    TTestShape* b = place(2, 2, QStringLiteral("B"));
    TGLabelObjectFiler filer(&owner);

    filer.SaveSelection(panel.Frame()->Selection(), path);
    EXPECT_FALSE(QFile::exists(path));

    panel.Frame()->AddToSelection(b);
    panel.Frame()->AddToSelection(a);
    filer.SaveSelection(panel.Frame()->Selection(), path);
    QByteArray expected;
    WriteObjectList(expected, {b, a});
    EXPECT_EQ(ReadWholeFile(path).value_or(QByteArray()), expected);

    // An existing file is replaced by a shorter one.
    filer.SaveObject(a, path);
    expected.clear();
    WriteObjectList(expected, {a});
    EXPECT_EQ(ReadWholeFile(path).value_or(QByteArray()), expected);
}

TEST_F(ObjectFilerTest, UnwritableFileIsReported) {
    TTestShape* a = place(1, 1, QStringLiteral("A"));
    TGLabelObjectFiler filer(&owner);
    EXPECT_THROW(filer.SaveObject(a, dir.filePath(QStringLiteral("no/such/dir/Clipbrd.tmp"))), StreamError);
}

TEST_F(ObjectFilerTest, BrokenClipboardKeepsTheObjectsBeforeTheFailure) {
    TTestShape* a = place(1, 1, QStringLiteral("A"));
    QByteArray bytes = "\x01" + WriteObjectRecord(*a) + "TPF0\x09TGMissing";
    bytes += QByteArray(3, '\0');
    ASSERT_TRUE(WriteFileAtomically(path, bytes));
    TGLabelObjectFiler filer(&owner);
    try {
        filer.LoadObjects(&owner, &panel.ObjectList(), path);
        FAIL() << "no error";
    } catch (const StreamError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Class TGMissing not found"));
    }
    ASSERT_EQ(panel.ObjectCount(), 2);
    EXPECT_EQ(panel.ObjectAt(1)->Left(), 16);
    EXPECT_NE(ObjectContextMenu(*panel.ObjectAt(1)), nullptr);
}

TEST_F(ObjectFilerTest, CloneCopiesWithoutOffset) {
    TTestShape* src = place(30, 40, QStringLiteral("Component0"));
    src->shape = 1;
    src->font.style = fsUnderline;
    src->data = QByteArray("\x00\x01\x02", 3);
    TGLabelObjectFiler filer(&owner);
    filer.SetPasting(true);
    auto* copy = dynamic_cast<TTestShape*>(filer.CloneObject(src, &owner, &panel.ObjectList()));
    ASSERT_NE(copy, nullptr);
    EXPECT_FALSE(filer.Pasting());
    EXPECT_EQ(copy->Name(), QStringLiteral("Component1"));
    EXPECT_EQ(copy->BoundsRect(), src->BoundsRect());
    EXPECT_EQ(copy->shape, 1);
    EXPECT_EQ(copy->font, src->font);
    EXPECT_EQ(copy->data, src->data);
    EXPECT_EQ(copy->loadedCalls, 1);
    EXPECT_EQ(panel.ObjectAt(1), copy);
}

}  // namespace
}  // namespace plennix
