#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>

#include "platform/program_folder.h"

// Every test process gets a program folder of its own, so that tests never share PX.ini or
// Clipbrd.tmp when ctest runs them in parallel.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("PLENNIX_PPI", "96", 0);
    if (!std::getenv("XDG_RUNTIME_DIR")) setenv("XDG_RUNTIME_DIR", "/tmp/plennix-runtime-test", 1);
    QTemporaryDir programDir;
    setenv("PLENNIX_PROGRAM_DIR", programDir.path().toLocal8Bit().constData(), 1);
    plennix::ResetProgramDir();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
