// Any bytes read as a 32- or 64-bit program file must give a bounded number of bounded icons without a
// crash, a hang (resource directories that point back at themselves) or an unbounded allocation.
#include <cstdint>
#include <cstdlib>

#include "app/icon_readers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto icons = plennix::ReadPeIcons(bytes);
    if (icons.size() > static_cast<size_t>(plennix::kMaxIconsPerFile)) std::abort();
    for (const QImage& icon : icons)
        if (icon.isNull() || icon.width() > plennix::kMaxIconDimension || icon.height() > plennix::kMaxIconDimension)
            std::abort();
    if (plennix::SniffIconFile(bytes) == plennix::IconFileKind::Pe && plennix::ReadIcons(bytes).size() != icons.size())
        std::abort();
    return 0;
}
