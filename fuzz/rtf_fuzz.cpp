// Any bytes given to the RTF reader must be read without a crash, a hang or an unbounded allocation, and
// what was read must write out and read back to the same bytes.
#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>

#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Pictures are decoded through Qt's image readers, which want an application object.
    static int argc = 1;
    static char name[] = "rtf_fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    const plennix::RtfText text = plennix::ReadRtf(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QByteArray once = plennix::WriteRtf(text);
    const QByteArray twice = plennix::WriteRtf(plennix::ReadRtf(once));
    if (once != twice) std::abort();
    return 0;
}
