// Any bytes read as an icon file must give at most one icon of a bounded size, without a crash, a hang
// or an unbounded allocation; the sniffing reader must agree with the icon file reader.
#include <cstdint>
#include <cstdlib>

#include "app/icon_readers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto icons = plennix::ReadIcoIcons(bytes);
    if (icons.size() > 1) std::abort();
    for (const QImage& icon : icons)
        if (icon.isNull() || icon.width() > plennix::kMaxIconDimension || icon.height() > plennix::kMaxIconDimension)
            std::abort();
    if (plennix::SniffIconFile(bytes) == plennix::IconFileKind::Ico && plennix::ReadIcons(bytes).size() != icons.size())
        std::abort();
    (void)plennix::DecodeIconImage(bytes);
    return 0;
}
