#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "platform/accessibility.h"
#include "platform/program_folder.h"

namespace {

// Qt wants a runtime folder that only this user can enter. When the caller gives none, the process
// makes one of its own (mkdtemp creates it with mode 0700) rather than sharing a fixed path under /tmp
// that another user may own.
struct PrivateRuntimeDir {
    std::string path;
    PrivateRuntimeDir() {
        if (std::getenv("XDG_RUNTIME_DIR")) return;
        std::string pattern = (QDir::tempPath() + QStringLiteral("/plennix-runtime-XXXXXX")).toStdString();
        if (mkdtemp(pattern.data())) {
            path = pattern;
            setenv("XDG_RUNTIME_DIR", path.c_str(), 1);
        }
    }
    ~PrivateRuntimeDir() {
        if (!path.empty()) QDir(QString::fromStdString(path)).removeRecursively();
    }
};

}  // namespace

#if defined(__SANITIZE_ADDRESS__)
#define PLENNIX_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PLENNIX_LEAK_CHECKED 1
#endif
#endif
#ifdef PLENNIX_LEAK_CHECKED
// Allocations that the system libraries under Qt keep for the life of the process are not leaks of
// ours; built in, so that listing and running the tests needs no environment (as .ci/lsan.supp).
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\nleak:libfontconfig.so\nleak:libglib-2.0.so\n";
}
#endif

// Every test process gets a program folder of its own, so that tests never share PX.ini or
// Clipbrd.tmp when ctest runs them in parallel. The defaults below make a test binary behave the same
// whether CTest or a person starts it.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("PLENNIX_PPI", "96", 0);
    setenv("PLENNIX_DATA_DIR", PLENNIX_TEST_DATA_DIR, 0);
    PrivateRuntimeDir runtimeDir;
    QTemporaryDir programDir;
    setenv("PLENNIX_PROGRAM_DIR", programDir.path().toLocal8Bit().constData(), 1);
    plennix::ResetProgramDir();
    QApplication app(argc, argv);
    // Controls read by screen readers as the program presents them.
    plennix::InstallAccessibleNames();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
