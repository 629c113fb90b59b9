// Any bytes given as a profile file must parse without a crash or a hang, answer every look-up, and
// write out to text that parses back to the same sections and keys.
#include <cstdint>
#include <cstdlib>

#include "platform/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    plennix::IniFile ini(QString{});
    ini.setAutoSave(false);
    ini.parse(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    for (const QString& section : ini.sections())
        for (const QString& key : ini.keys(section)) {
            (void)ini.readInteger(section, key, 0);
            (void)ini.readBool(section, key, false);
        }
    (void)ini.readString(QStringLiteral("Zooming"), QStringLiteral("Main"));
    plennix::IniFile again(QString{});
    again.setAutoSave(false);
    again.parse(ini.serialize());
    if (again.sections().size() != ini.sections().size()) std::abort();
    return 0;
}
