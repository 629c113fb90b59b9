// Any bytes read as a 16-bit icon library must give a bounded number of bounded icons without a crash,
// a hang or an unbounded allocation; the icons found, written back as a library, read back the same.
#include <cstdint>
#include <cstdlib>

#include "app/icon_readers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto icons = plennix::ReadNeIcons(bytes);
    if (icons.size() > static_cast<size_t>(plennix::kMaxIconsPerFile)) std::abort();
    for (const QImage& icon : icons)
        if (icon.isNull() || icon.width() > plennix::kMaxIconDimension || icon.height() > plennix::kMaxIconDimension)
            std::abort();
    if (!icons.empty() && icons.size() <= 16) {
        const auto again = plennix::ReadNeIcons(plennix::WriteNeIconLibrary(icons, "FUZZ"));
        if (again.size() != icons.size()) std::abort();
        for (size_t i = 0; i < icons.size(); ++i)
            if (again[i].size() != icons[i].size()) std::abort();
    }
    return 0;
}
