// The command line's output runs make no widget: this process has a Gui application only, and Qt ends
// a process that makes a widget without a widget application. Each run below would crash the test if
// any part of it (reading the document, its objects, drawing, printing) made one.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <cstdlib>
#include <string>

#include "app/command_line.h"
#include "objects/object_classes.h"
#include "platform/program_folder.h"
#include "recurring/formula.h"
#include "recurring/store.h"
#include "surface/label.h"

using namespace plennix;

namespace {

CommandLine parse(QStringList args) {
    args.prepend(QStringLiteral("plennix"));
    return ParseCommandLine(args);
}

TEST(HeadlessRun, OutputsOfADocumentWithObjectsMakeNoWidget) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString doc = dir.filePath(QStringLiteral("Sample.PXF"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(PLENNIX_TEST_DATA_DIR "/samples/Sample.PXF"), doc));
    ASSERT_TRUE(SaveRecurringDates({BuildEntry(QStringLiteral("Christmas Day"), QStringLiteral("@1225"))}));

    testing::internal::CaptureStdout();
    const int dumped = RunCommandLine(parse({"--dump", "--fill", doc}));
    const std::string dump = testing::internal::GetCapturedStdout();
    EXPECT_EQ(dumped, 0);
    EXPECT_NE(dump.find("Christmas Day"), std::string::npos);

    const QString png = dir.filePath(QStringLiteral("page.png"));
    EXPECT_EQ(RunCommandLine(parse({"--export-png", png, "--months", "2", doc})), 0);
    EXPECT_FALSE(QImage(dir.filePath(QStringLiteral("page-02.png"))).isNull());

    const QString bmp = dir.filePath(QStringLiteral("page.bmp"));
    EXPECT_EQ(RunCommandLine(parse({"--export-bmp", bmp, doc})), 0);
    EXPECT_FALSE(QImage(bmp).isNull());

    const QString pdf = dir.filePath(QStringLiteral("year.pdf"));
    EXPECT_EQ(RunCommandLine(parse({"--print-pdf", pdf, "--months", "12", "--fill", doc})), 0);
    QFile written(pdf);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.read(5).startsWith("%PDF-"));
}

}  // namespace

// As the program does for a headless run: a Gui application and the model's object classes only.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("PLENNIX_PPI", "96", 0);
    setenv("PLENNIX_DATA_DIR", PLENNIX_TEST_DATA_DIR, 0);
    QTemporaryDir runtimeDir;
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        QFile::setPermissions(runtimeDir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        setenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit().constData(), 1);
    }
    QTemporaryDir programDir;
    setenv("PLENNIX_PROGRAM_DIR", programDir.path().toLocal8Bit().constData(), 1);
    ResetProgramDir();
    QGuiApplication app(argc, argv);
    RegisterLabelClasses();
    RegisterDecorativeObjectClasses();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
