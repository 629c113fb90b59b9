// Any bytes given to the RTF reader must be read without a crash, a hang or an unbounded allocation, and
// what was read must write out and read back to the same bytes.
#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>

#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"
#include "fuzz_application.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Pictures are decoded through Qt's image readers, which want an application object.
    StartFuzzApplication<QGuiApplication>("rtf_fuzz");
    const plennix::RtfText text = plennix::ReadRtf(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QByteArray once = plennix::WriteRtf(text);
    const QByteArray twice = plennix::WriteRtf(plennix::ReadRtf(once));
    if (once != twice) std::abort();
    return 0;
}
