#include "app/icon_readers.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>

#include "platform/file_io.h"

namespace plennix {

namespace {

constexpr uint16_t kRtIcon = 3;
constexpr uint16_t kRtGroupIcon = 14;
// Resource directories of a PE file visited in all: guards against directories that point at
// themselves or fan out without end.
constexpr int kMaxPeDirectoryEntries = 65536;
// Images decoded per file in all: a library of many groups whose images all fail late cannot make
// reading slow.
constexpr int kMaxDecodeAttempts = 4096;

// Little-endian reads that answer nothing outside the bytes.
class Bytes {
public:
    explicit Bytes(const QByteArray& b) : m_data(reinterpret_cast<const uint8_t*>(b.constData())), m_size(b.size()) {}
    Bytes(const uint8_t* data, qint64 size) : m_data(data), m_size(size) {}
    qint64 size() const { return m_size; }
    bool has(qint64 offset, qint64 length) const {
        return offset >= 0 && length >= 0 && offset <= m_size && length <= m_size - offset;
    }
    std::optional<uint8_t> u8(qint64 o) const {
        if (!has(o, 1)) return std::nullopt;
        return m_data[o];
    }
    std::optional<uint16_t> u16(qint64 o) const {
        if (!has(o, 2)) return std::nullopt;
        return static_cast<uint16_t>(m_data[o] | (m_data[o + 1] << 8));
    }
    std::optional<uint32_t> u32(qint64 o) const {
        if (!has(o, 4)) return std::nullopt;
        return static_cast<uint32_t>(m_data[o]) | (static_cast<uint32_t>(m_data[o + 1]) << 8) |
               (static_cast<uint32_t>(m_data[o + 2]) << 16) | (static_cast<uint32_t>(m_data[o + 3]) << 24);
    }
    // A view of the bytes, not a copy: many resources may name the same bytes, and copying each would
    // let a small file ask for memory without bound. Valid while the bytes read from live.
    QByteArray slice(qint64 o, qint64 length) const {
        if (!has(o, length)) return {};
        return QByteArray::fromRawData(reinterpret_cast<const char*>(m_data + o), static_cast<qsizetype>(length));
    }
    const uint8_t* at(qint64 o) const { return m_data + o; }

private:
    const uint8_t* m_data;
    qint64 m_size;
};

// An image of an icon before decoding: its directory entry's claims and where its bytes lie.
struct IconCandidate {
    int width = 0;   // 0 in a directory means 256
    int height = 0;
    int bitCount = 0;
    QByteArray data;
};

int dimension(uint8_t stored) { return stored == 0 ? 256 : stored; }

// Prefers the system icon size, then the most colours; otherwise the size nearest to it. The entry's
// claims only order the attempts: the first candidate that decodes wins.
QImage chooseAndDecode(std::vector<IconCandidate> candidates, int& attempts) {
    auto score = [](const IconCandidate& c) {
        const int distance = std::abs(c.width - kSystemIconSize) + std::abs(c.height - kSystemIconSize);
        return std::make_pair(distance, -c.bitCount);
    };
    std::stable_sort(candidates.begin(), candidates.end(),
                     [&](const IconCandidate& a, const IconCandidate& b) { return score(a) < score(b); });
    for (const IconCandidate& c : candidates) {
        if (++attempts > kMaxDecodeAttempts) return {};
        QImage image = DecodeIconImage(c.data);
        if (!image.isNull()) return image;
    }
    return {};
}

bool isPng(const QByteArray& data) { return data.startsWith("\x89PNG\r\n\x1a\n"); }

QImage decodePng(const QByteArray& data) {
    // The header's size is checked before the decoder allocates anything.
    Bytes b(data);
    const auto w = b.u32(16), h = b.u32(20);
    if (!w || !h) return {};
    auto be = [](uint32_t v) { return ((v & 0xFF) << 24) | ((v & 0xFF00) << 8) | ((v >> 8) & 0xFF00) | (v >> 24); };
    const uint32_t width = be(*w), height = be(*h);
    if (width == 0 || height == 0 || width > kMaxIconDimension || height > kMaxIconDimension) return {};
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    QImage image = reader.read();
    if (image.isNull() || image.width() > kMaxIconDimension || image.height() > kMaxIconDimension) return {};
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage decodeDib(const QByteArray& data) {
    Bytes b(data);
    const auto headerSize = b.u32(0);
    const auto rawWidth = b.u32(4), rawHeight = b.u32(8);
    const auto planes = b.u16(12), bitCount = b.u16(14);
    const auto compression = b.u32(16), colorsUsed = b.u32(32);
    if (!headerSize || !rawWidth || !rawHeight || !planes || !bitCount || !compression || !colorsUsed) return {};
    if (*headerSize < 40 || *headerSize > 1024) return {};
    const int32_t width = static_cast<int32_t>(*rawWidth);
    // The stored height counts the colour rows and the mask rows.
    const int32_t fullHeight = static_cast<int32_t>(*rawHeight);
    if (width <= 0 || width > kMaxIconDimension || fullHeight <= 0 || fullHeight > 2 * kMaxIconDimension) return {};
    const int height = fullHeight >= 2 ? fullHeight / 2 : fullHeight;
    const int bpp = *bitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return {};
    // Uncompressed only; bit fields are accepted for 32 bits as the usual BGRA layout.
    if (!(*compression == 0 || (*compression == 3 && bpp == 32))) return {};

    qint64 offset = *headerSize;
    if (*compression == 3 && *headerSize == 40) offset += 12;  // the three masks follow a short header
    std::vector<QRgb> palette;
    if (bpp <= 8) {
        const uint32_t maxColors = 1u << bpp;
        const uint32_t count = (*colorsUsed == 0 || *colorsUsed > maxColors) ? maxColors : *colorsUsed;
        if (!b.has(offset, qint64(count) * 4)) return {};
        palette.reserve(count);
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* p = b.at(offset + i * 4);
            palette.push_back(qRgb(p[2], p[1], p[0]));
        }
        offset += qint64(count) * 4;
    }
    const qint64 stride = ((qint64(width) * bpp + 31) / 32) * 4;
    if (!b.has(offset, stride * height)) return {};
    const qint64 colorBits = offset;
    const qint64 maskStride = ((qint64(width) + 31) / 32) * 4;
    const qint64 maskBits = colorBits + stride * height;
    // Images without their mask are shown opaque rather than refused.
    const bool hasMask = b.has(maskBits, maskStride * height);

    QImage image(width, height, QImage::Format_ARGB32);
    if (image.isNull()) return {};
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = b.at(colorBits + stride * (height - 1 - y));
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            QRgb c = 0;
            switch (bpp) {
                case 1:
                case 4:
                case 8: {
                    const int perByte = 8 / bpp;
                    const uint8_t byte = row[x / perByte];
                    const int shift = (perByte - 1 - x % perByte) * bpp;
                    const uint32_t index = (byte >> shift) & ((1u << bpp) - 1);
                    c = index < palette.size() ? palette[index] : qRgb(0, 0, 0);
                    break;
                }
                case 24: c = qRgb(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]); break;
                case 32:
                    c = qRgba(row[x * 4 + 2], row[x * 4 + 1], row[x * 4], row[x * 4 + 3]);
                    if (row[x * 4 + 3] != 0) anyAlpha = true;
                    break;
                default: break;
            }
            out[x] = c;
        }
    }
    // 32-bit images with an alpha channel carry their own transparency; all others use the mask.
    const bool useAlpha = bpp == 32 && anyAlpha;
    for (int y = 0; y < height; ++y) {
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        const uint8_t* mask = hasMask ? b.at(maskBits + maskStride * (height - 1 - y)) : nullptr;
        for (int x = 0; x < width; ++x) {
            if (useAlpha) continue;
            const bool transparent = mask && ((mask[x / 8] >> (7 - x % 8)) & 1);
            out[x] = transparent ? qRgba(0, 0, 0, 0) : (out[x] | 0xFF000000u);
        }
    }
    return image;
}

// "MZ" header's pointer to the new header, when it points inside the bytes.
std::optional<uint32_t> newHeaderOffset(const Bytes& b) {
    if (!b.has(0, 64) || b.at(0)[0] != 'M' || b.at(0)[1] != 'Z') return std::nullopt;
    const auto lfanew = b.u32(0x3C);
    if (!lfanew || !b.has(*lfanew, 4)) return std::nullopt;
    return lfanew;
}

// A group icon resource (a directory whose entries name icon resources by number) resolved against
// the icon resources found in the file.
QImage resolveGroup(const QByteArray& group, const std::map<uint32_t, QByteArray>& icons, int& attempts) {
    Bytes g(group);
    const auto reserved = g.u16(0), type = g.u16(2), count = g.u16(4);
    if (!reserved || !type || !count || *type != 1) return {};
    std::vector<IconCandidate> candidates;
    for (int i = 0; i < std::min<int>(*count, kMaxImagesPerIcon); ++i) {
        const qint64 e = 6 + qint64(i) * 14;
        if (!g.has(e, 14)) break;
        const auto id = g.u16(e + 12);
        const auto it = icons.find(*id);
        if (it == icons.end()) continue;
        candidates.push_back({dimension(*g.u8(e)), dimension(*g.u8(e + 1)), *g.u16(e + 6), it->second});
    }
    return chooseAndDecode(std::move(candidates), attempts);
}

// The icons of every group that yields one, in order.
std::vector<QImage> resolveGroups(const std::vector<QByteArray>& groups, const std::map<uint32_t, QByteArray>& icons) {
    std::vector<QImage> result;
    int attempts = 0;
    for (const QByteArray& group : groups) {
        QImage image = resolveGroup(group, icons, attempts);
        if (!image.isNull()) result.push_back(std::move(image));
    }
    return result;
}

}  // namespace

QImage DecodeIconImage(const QByteArray& data) {
    if (isPng(data)) return decodePng(data);
    return decodeDib(data);
}

IconFileKind SniffIconFile(const QByteArray& bytes) {
    Bytes b(bytes);
    const auto reserved = b.u16(0), type = b.u16(2), count = b.u16(4);
    if (reserved && *reserved == 0 && type && *type == 1 && count && *count > 0) return IconFileKind::Ico;
    const auto header = newHeaderOffset(b);
    if (!header) return IconFileKind::Unknown;
    const QByteArray signature = b.slice(*header, 4);
    if (signature == QByteArray("PE\0\0", 4)) return IconFileKind::Pe;
    if (signature.startsWith("NE")) return IconFileKind::Ne;
    return IconFileKind::Unknown;
}

std::vector<QImage> ReadIcoIcons(const QByteArray& bytes) {
    if (SniffIconFile(bytes) != IconFileKind::Ico) return {};
    Bytes b(bytes);
    const int count = std::min<int>(*b.u16(4), kMaxImagesPerIcon);
    std::vector<IconCandidate> candidates;
    for (int i = 0; i < count; ++i) {
        const qint64 e = 6 + qint64(i) * 16;
        if (!b.has(e, 16)) break;
        const uint32_t size = *b.u32(e + 8), offset = *b.u32(e + 12);
        if (!b.has(offset, size)) continue;
        candidates.push_back({dimension(*b.u8(e)), dimension(*b.u8(e + 1)), *b.u16(e + 6), b.slice(offset, size)});
    }
    // An icon file holds one icon, in several sizes.
    int attempts = 0;
    QImage image = chooseAndDecode(std::move(candidates), attempts);
    if (image.isNull()) return {};
    return {image};
}

std::vector<QImage> ReadNeIcons(const QByteArray& bytes) {
    if (SniffIconFile(bytes) != IconFileKind::Ne) return {};
    Bytes b(bytes);
    const qint64 ne = *newHeaderOffset(b);
    const auto tableRel = b.u16(ne + 0x24);
    if (!tableRel) return {};
    const qint64 table = ne + *tableRel;
    const auto shiftValue = b.u16(table);
    if (!shiftValue || *shiftValue > 24) return {};
    const int shift = *shiftValue;

    std::map<uint32_t, QByteArray> icons;
    std::vector<QByteArray> groups;
    qint64 p = table + 2;
    // Each type block is at least 8 bytes, so the walk ends within the bytes.
    while (true) {
        const auto typeId = b.u16(p);
        const auto count = b.u16(p + 2);
        if (!typeId || *typeId == 0 || !count) break;
        p += 8;
        const uint16_t type = *typeId & 0x7FFF;
        const bool numbered = (*typeId & 0x8000) != 0;
        for (int i = 0; i < *count; ++i, p += 12) {
            if (!b.has(p, 12)) return {};
            if (!numbered || (type != kRtIcon && type != kRtGroupIcon)) continue;
            const qint64 offset = qint64(*b.u16(p)) << shift;
            const qint64 length = qint64(*b.u16(p + 2)) << shift;
            const uint16_t id = *b.u16(p + 6);
            // The length is rounded up to the alignment, so the file may end before it does.
            const qint64 available = std::min(length, b.size() - std::min(offset, b.size()));
            if (offset >= b.size() || available <= 0) continue;
            QByteArray data = b.slice(offset, available);
            if (type == kRtIcon) {
                if ((id & 0x8000) != 0) icons.emplace(id & 0x7FFF, std::move(data));
            } else if (groups.size() < static_cast<size_t>(kMaxIconsPerFile)) {
                groups.push_back(std::move(data));
            }
        }
    }
    return resolveGroups(groups, icons);
}

std::vector<QImage> ReadPeIcons(const QByteArray& bytes) {
    if (SniffIconFile(bytes) != IconFileKind::Pe) return {};
    Bytes b(bytes);
    const qint64 pe = *newHeaderOffset(b);
    const auto sectionCount = b.u16(pe + 6);
    const auto optionalSize = b.u16(pe + 20);
    const qint64 optional = pe + 24;
    const auto magic = b.u16(optional);
    if (!sectionCount || !optionalSize || !magic) return {};
    qint64 directories = 0, directoryCount = 0;
    if (*magic == 0x10B) {
        directories = optional + 96;
        directoryCount = b.u32(optional + 92).value_or(0);
    } else if (*magic == 0x20B) {
        directories = optional + 112;
        directoryCount = b.u32(optional + 108).value_or(0);
    } else {
        return {};
    }
    if (directoryCount < 3) return {};
    const auto resourceRva = b.u32(directories + 2 * 8);
    if (!resourceRva || *resourceRva == 0) return {};

    struct Section {
        uint32_t rva, size, raw, rawSize;
    };
    std::vector<Section> sections;
    const qint64 sectionTable = optional + *optionalSize;
    for (int i = 0; i < std::min<int>(*sectionCount, 96); ++i) {
        const qint64 s = sectionTable + qint64(i) * 40;
        if (!b.has(s, 40)) break;
        sections.push_back({*b.u32(s + 12), std::max(*b.u32(s + 8), *b.u32(s + 16)), *b.u32(s + 20), *b.u32(s + 16)});
    }
    // The file offset of an address, with the bytes the section holds from there.
    auto toFile = [&](uint32_t rva, qint64 length) -> std::optional<qint64> {
        for (const Section& s : sections) {
            if (rva < s.rva || qint64(rva) - s.rva >= s.size) continue;
            const qint64 within = qint64(rva) - s.rva;
            if (within + length > s.rawSize) return std::nullopt;
            const qint64 offset = qint64(s.raw) + within;
            if (!b.has(offset, length)) return std::nullopt;
            return offset;
        }
        return std::nullopt;
    };
    const auto root = toFile(*resourceRva, 16);
    if (!root) return {};
    const qint64 base = *root;
    int budget = kMaxPeDirectoryEntries;

    // Entries of a directory at `offset` within the resource data: (id or name flag, target).
    struct Entry {
        uint32_t name;
        uint32_t target;
    };
    auto entries = [&](qint64 offset) {
        std::vector<Entry> list;
        const qint64 dir = base + offset;
        const auto named = b.u16(dir + 12), numbered = b.u16(dir + 14);
        if (!named || !numbered) return list;
        const int total = *named + *numbered;
        for (int i = 0; i < total && budget > 0; ++i, --budget) {
            const qint64 e = dir + 16 + qint64(i) * 8;
            if (!b.has(e, 8)) break;
            list.push_back({*b.u32(e), *b.u32(e + 4)});
        }
        return list;
    };
    // The data of the first language of a resource, following a subdirectory at most two levels down.
    auto leafData = [&](uint32_t target) -> QByteArray {
        for (int depth = 0; depth < 2 && (target & 0x80000000u); ++depth) {
            const auto list = entries(target & 0x7FFFFFFF);
            if (list.empty()) return {};
            target = list.front().target;
        }
        if (target & 0x80000000u) return {};
        const auto rva = b.u32(base + target), size = b.u32(base + target + 4);
        if (!rva || !size || *size == 0 || *size > kMaxIconFileBytes) return {};
        const auto offset = toFile(*rva, *size);
        if (!offset) return {};
        return b.slice(*offset, *size);
    };

    std::map<uint32_t, QByteArray> icons;
    std::vector<QByteArray> groups;
    for (const Entry& type : entries(0)) {
        if ((type.name & 0x80000000u) || !(type.target & 0x80000000u)) continue;
        if (type.name != kRtIcon && type.name != kRtGroupIcon) continue;
        for (const Entry& item : entries(type.target & 0x7FFFFFFF)) {
            if (type.name == kRtIcon) {
                if (item.name & 0x80000000u) continue;
                QByteArray data = leafData(item.target);
                if (!data.isEmpty()) icons.emplace(item.name, std::move(data));
            } else if (groups.size() < static_cast<size_t>(kMaxIconsPerFile)) {
                QByteArray data = leafData(item.target);
                if (!data.isEmpty()) groups.push_back(std::move(data));
            }
        }
    }
    return resolveGroups(groups, icons);
}

std::vector<QImage> ReadIcons(const QByteArray& bytes) {
    switch (SniffIconFile(bytes)) {
        case IconFileKind::Ico: return ReadIcoIcons(bytes);
        case IconFileKind::Ne: return ReadNeIcons(bytes);
        case IconFileKind::Pe: return ReadPeIcons(bytes);
        case IconFileKind::Unknown: break;
    }
    return {};
}

std::vector<QImage> ReadIconFile(const QString& path, QString* readError) {
    if (readError) readError->clear();
    // Only a regular file is opened: a named pipe would wait for a writer for ever.
    const std::optional<QByteArray> bytes = ReadWholeFile(path, kMaxIconFileBytes, readError);
    if (!bytes) return {};
    return ReadIcons(*bytes);
}

namespace {

void put16(QByteArray& out, qint64 at, uint16_t v) {
    out[at] = static_cast<char>(v & 0xFF);
    out[at + 1] = static_cast<char>(v >> 8);
}
void put32(QByteArray& out, qint64 at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
void append16(QByteArray& out, uint16_t v) {
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>(v >> 8));
}
void append32(QByteArray& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// A 32-bit colour image with its mask, as an icon resource stores it.
QByteArray dibOf(const QImage& source) {
    QImage image = source.convertToFormat(QImage::Format_ARGB32);
    if (image.width() > kMaxIconDimension || image.height() > kMaxIconDimension)
        image = image.scaled(kMaxIconDimension, kMaxIconDimension, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    const int w = image.width(), h = image.height();
    QByteArray out;
    append32(out, 40);
    append32(out, static_cast<uint32_t>(w));
    append32(out, static_cast<uint32_t>(2 * h));
    append16(out, 1);
    append16(out, 32);
    append32(out, 0);
    append32(out, static_cast<uint32_t>(w * h * 4));
    for (int i = 0; i < 4; ++i) append32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            out.append(static_cast<char>(qBlue(row[x])));
            out.append(static_cast<char>(qGreen(row[x])));
            out.append(static_cast<char>(qRed(row[x])));
            out.append(static_cast<char>(qAlpha(row[x])));
        }
    }
    const int maskStride = ((w + 31) / 32) * 4;
    for (int y = h - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        QByteArray mask(maskStride, '\0');
        for (int x = 0; x < w; ++x)
            if (qAlpha(row[x]) < 128) mask[x / 8] = static_cast<char>(mask[x / 8] | (0x80 >> (x % 8)));
        out.append(mask);
    }
    return out;
}

}  // namespace

QByteArray WriteNeIconLibrary(const std::vector<QImage>& icons, const QByteArray& moduleName) {
    const int count = std::min<int>(static_cast<int>(icons.size()), kMaxIconsPerFile);
    std::vector<QByteArray> images, groups;
    for (int i = 0; i < count; ++i) {
        images.push_back(dibOf(icons[i]));
        const QImage& image = icons[i];
        QByteArray group;
        append16(group, 0);
        append16(group, 1);
        append16(group, 1);
        const int w = std::min(image.width(), kMaxIconDimension), h = std::min(image.height(), kMaxIconDimension);
        group.append(static_cast<char>(w >= 256 ? 0 : w));
        group.append(static_cast<char>(h >= 256 ? 0 : h));
        group.append('\0');
        group.append('\0');
        append16(group, 1);
        append16(group, 32);
        append32(group, static_cast<uint32_t>(images.back().size()));
        append16(group, static_cast<uint16_t>(i + 1));
        groups.push_back(group);
    }

    // MZ stub: the header alone, pointing at the NE header that follows it.
    QByteArray out(64, '\0');
    out[0] = 'M';
    out[1] = 'Z';
    put16(out, 2, 64);  // bytes in the last page
    put16(out, 4, 1);   // pages
    put16(out, 8, 4);   // header paragraphs
    put16(out, 0x18, 0x40);
    put32(out, 0x3C, 64);

    const qint64 ne = out.size();
    QByteArray header(64, '\0');
    header[0] = 'N';
    header[1] = 'E';
    header[2] = 5;  // linker version
    header[3] = 10;
    QByteArray residentNames;
    const QByteArray name = moduleName.left(255).toUpper();
    residentNames.append(static_cast<char>(name.size()));
    residentNames.append(name);
    append16(residentNames, 0);
    residentNames.append('\0');

    // Positions: NE header, resource table, resident names, then the resource data.
    const qint64 tableSize = 2 + (8 + 12 * qint64(count)) * 2 + 2 + 1;
    const qint64 namesOffset = 64 + tableSize;
    const qint64 tablesEnd = ne + namesOffset + residentNames.size() + 2 /* entry table */;
    // Lay out the data (all icon images, then all groups) on boundaries of 1 << shift bytes, the
    // smallest from 16 bytes up whose offsets and lengths fit the table's 16-bit fields.
    int shift = 4;
    qint64 dataStart = 0, cursor = 0;
    std::vector<qint64> imageAt, groupAt;
    for (;; ++shift) {
        const qint64 unit = qint64(1) << shift;
        dataStart = (tablesEnd + unit - 1) / unit * unit;
        cursor = dataStart;
        imageAt.clear();
        groupAt.clear();
        auto place = [&](const QByteArray& data) {
            const qint64 at = cursor;
            cursor += (data.size() + unit - 1) / unit * unit;
            return at;
        };
        for (const QByteArray& image : images) imageAt.push_back(place(image));
        for (const QByteArray& group : groups) groupAt.push_back(place(group));
        if ((cursor >> shift) <= 0xFFFF) break;
    }

    // Resource table: shift, two type blocks with their entries, end marker, no resource names.
    QByteArray table;
    append16(table, static_cast<uint16_t>(shift));
    auto block = [&](uint16_t type, const std::vector<QByteArray>& data, const std::vector<qint64>& at) {
        append16(table, static_cast<uint16_t>(0x8000 | type));
        append16(table, static_cast<uint16_t>(data.size()));
        append32(table, 0);
        for (size_t i = 0; i < data.size(); ++i) {
            append16(table, static_cast<uint16_t>(at[i] >> shift));
            append16(table, static_cast<uint16_t>((data[i].size() + (qint64(1) << shift) - 1) >> shift));
            append16(table, 0x1030);  // moveable, pure, discardable
            append16(table, static_cast<uint16_t>(0x8000 | (i + 1)));
            append32(table, 0);
        }
    };
    block(kRtIcon, images, imageAt);
    block(kRtGroupIcon, groups, groupAt);
    append16(table, 0);
    table.append('\0');

    put16(header, 0x04, static_cast<uint16_t>(namesOffset + residentNames.size()));  // entry table
    put16(header, 0x06, 2);
    put16(header, 0x0C, 0x8000);  // library module
    put16(header, 0x22, 64);      // segment table (empty)
    put16(header, 0x24, 64);      // resource table
    put16(header, 0x26, static_cast<uint16_t>(namesOffset));
    put16(header, 0x28, static_cast<uint16_t>(namesOffset + residentNames.size()));  // module references
    put16(header, 0x2A, static_cast<uint16_t>(namesOffset + residentNames.size()));  // imported names
    put32(header, 0x2C, static_cast<uint32_t>(tablesEnd));                          // non-resident names
    put16(header, 0x32, static_cast<uint16_t>(shift));
    put16(header, 0x34, static_cast<uint16_t>(count * 2));
    header[0x36] = 2;  // Windows
    put16(header, 0x3E, 0x030A);

    out.append(header);
    out.append(table);
    out.append(residentNames);
    append16(out, 0);  // empty entry table
    out.append(QByteArray(dataStart - out.size(), '\0'));
    auto append = [&](const QByteArray& data, qint64 at) {
        out.append(QByteArray(at - out.size(), '\0'));
        out.append(data);
    };
    for (size_t i = 0; i < images.size(); ++i) append(images[i], imageAt[i]);
    for (size_t i = 0; i < groups.size(); ++i) append(groups[i], groupAt[i]);
    out.append(QByteArray(cursor - out.size(), '\0'));
    return out;
}

}  // namespace plennix
