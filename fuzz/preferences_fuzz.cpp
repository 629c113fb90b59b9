// What the main window reads from outside: PX.ini's preferences and the hand-over message of a later
// start. Any bytes must give sane preferences (or the defaults) and a decoded path or nothing, without a
// crash, a hang or an unbounded allocation.
#include <cstdint>
#include <cstdlib>

#include "app/preferences.h"
#include "app/single_instance.h"
#include "platform/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    plennix::IniFile ini(QString{});
    ini.setAutoSave(false);
    ini.parse(bytes);
    const plennix::Preferences p = plennix::ReadPreferences(ini);
    if (p.font.size < 1 || p.font.size > 1638 || p.font.name.isEmpty() || p.font.name.size() > 255) std::abort();
    if ((p.font.color & 0xFF000000u) != 0) std::abort();
    if (const auto path = plennix::DecodeHandOver(bytes)) {
        if (plennix::EncodeHandOver(*path) != bytes) std::abort();
    }
    return 0;
}
