// The private clipboard file on a full disk: a copy that cannot be written is reported with the file's
// name and leaves the objects copied before ready to paste.
#include <gtest/gtest.h>

#include "common/full_disk.h"
#include "common/qstring_printer.h"
#include "object_test_shape.h"
#include "platform/file_io.h"
#include "surface/base_panel.h"
#include "surface/object_filer.h"

namespace plennix {
namespace {

TEST(ClipboardFileOnAFullDisk, ACopyThatCannotBeWrittenKeepsThePreviousOne) {
    test::FullDisk disk;
    PLENNIX_REQUIRE_FULL_DISK(disk);
    test::RegisterTestShape();
    QObject owner;
    TGBasePanel panel;
    auto* shape = new test::TTestShape(&owner);
    shape->SetName(QStringLiteral("Shape1"));
    shape->SetBounds(10, 10, 40, 20);
    shape->SetList(&panel.ObjectList());
    shape->Loaded();
    const QString path = disk.FilePath(QStringLiteral("Clipbrd.tmp"));
    TGLabelObjectFiler filer(&owner);
    filer.SaveObject(shape, path);
    const QByteArray before = disk.Read(QStringLiteral("Clipbrd.tmp"));
    ASSERT_FALSE(before.isEmpty());
    ASSERT_TRUE(disk.Fill());

    shape->SetBounds(70, 70, 400, 200);
    try {
        filer.SaveObject(shape, path);
        ADD_FAILURE() << "a copy onto a full disk was reported as done";
    } catch (const FileError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Unable to write %1: No space left on device").arg(path));
    }
    EXPECT_EQ(disk.Read(QStringLiteral("Clipbrd.tmp")), before);
    EXPECT_EQ(disk.Files(), QStringList{QStringLiteral("Clipbrd.tmp")});
    const std::vector<TGGraphicControl*> pasted = filer.LoadObjects(&owner, &panel.ObjectList(), path);
    ASSERT_EQ(pasted.size(), 1u);
}

}  // namespace
}  // namespace plennix
