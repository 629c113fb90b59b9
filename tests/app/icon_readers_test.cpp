// The icon readers on the shipped libraries, on icon files and program files built here byte by byte,
// and on damaged copies of each.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

#include "app/icon_readers.h"
#include "platform/program_folder.h"

using namespace plennix;

namespace {

void Put16(QByteArray& b, qint64 at, uint16_t v) {
    if (b.size() < at + 2) b.resize(at + 2, '\0');
    b[at] = char(v & 0xFF);
    b[at + 1] = char(v >> 8);
}
void Put32(QByteArray& b, qint64 at, uint32_t v) {
    if (b.size() < at + 4) b.resize(at + 4, '\0');
    for (int i = 0; i < 4; ++i) b[at + i] = char((v >> (8 * i)) & 0xFF);
}

// A w x h image of `bpp` bits whose pixel (x, y) takes palette index / colour `pixel(x, y)` and whose
// mask marks `transparent(x, y)`.
QByteArray Dib(int w, int h, int bpp, const std::vector<uint32_t>& palette,
               const std::function<uint32_t(int, int)>& pixel, const std::function<bool(int, int)>& transparent) {
    QByteArray b;
    Put32(b, 0, 40);
    Put32(b, 4, uint32_t(w));
    Put32(b, 8, uint32_t(2 * h));
    Put16(b, 12, 1);
    Put16(b, 14, uint16_t(bpp));
    Put32(b, 16, 0);
    Put32(b, 32, uint32_t(palette.size()));
    b.resize(40);
    for (uint32_t c : palette) {
        b.append(char(c & 0xFF));  // blue, green, red, reserved
        b.append(char((c >> 8) & 0xFF));
        b.append(char((c >> 16) & 0xFF));
        b.append('\0');
    }
    const int stride = ((w * bpp + 31) / 32) * 4;
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(stride, '\0');
        for (int x = 0; x < w; ++x) {
            const uint32_t v = pixel(x, y);
            if (bpp <= 8) {
                const int perByte = 8 / bpp, shift = (perByte - 1 - x % perByte) * bpp;
                row[x / perByte] = char(uint8_t(row[x / perByte]) | (v << shift));
            } else {
                const int n = bpp / 8;
                for (int i = 0; i < n; ++i) row[x * n + i] = char((v >> (8 * i)) & 0xFF);
            }
        }
        b.append(row);
    }
    const int maskStride = ((w + 31) / 32) * 4;
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(maskStride, '\0');
        for (int x = 0; x < w; ++x)
            if (transparent(x, y)) row[x / 8] = char(uint8_t(row[x / 8]) | (0x80 >> (x % 8)));
        b.append(row);
    }
    return b;
}

struct IcoImage {
    int w, h, bpp;
    QByteArray data;
};

QByteArray Ico(const std::vector<IcoImage>& images) {
    QByteArray b;
    Put16(b, 0, 0);
    Put16(b, 2, 1);
    Put16(b, 4, uint16_t(images.size()));
    qint64 offset = 6 + 16 * qint64(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const qint64 e = 6 + 16 * qint64(i);
        b.resize(e + 16, '\0');
        b[e] = char(images[i].w & 0xFF);
        b[e + 1] = char(images[i].h & 0xFF);
        Put16(b, e + 4, 1);
        Put16(b, e + 6, uint16_t(images[i].bpp));
        Put32(b, e + 8, uint32_t(images[i].data.size()));
        Put32(b, e + 12, uint32_t(offset));
        offset += images[i].data.size();
    }
    for (const IcoImage& image : images) b.append(image.data);
    return b;
}

// A red 32 x 32 square of 4 bits with a transparent left half, and a blue 16 x 16 one of 8 bits.
QByteArray TwoSizeIco() {
    const QByteArray big = Dib(32, 32, 4, {0x000000, 0xFF0000}, [](int, int) { return 1u; },
                               [](int x, int) { return x < 16; });
    const QByteArray small = Dib(16, 16, 8, {0x0000FF}, [](int, int) { return 0u; }, [](int, int) { return false; });
    return Ico({{16, 16, 8, small}, {32, 32, 4, big}});
}

QImage Solid(QRgb color, int size = 32) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

// A program file of 32 or 64 bits whose resources hold `groups` icons, each one image of 32 bits.
QByteArray Pe(const std::vector<QImage>& icons, bool plus) {
    const qint64 peAt = 0x80, optionalSize = plus ? 240 : 224;
    QByteArray b(0x200, '\0');
    b[0] = 'M';
    b[1] = 'Z';
    Put32(b, 0x3C, uint32_t(peAt));
    b[peAt] = 'P';
    b[peAt + 1] = 'E';
    Put16(b, peAt + 4, plus ? 0x8664 : 0x14C);
    Put16(b, peAt + 6, 1);
    Put16(b, peAt + 20, uint16_t(optionalSize));
    const qint64 opt = peAt + 24;
    Put16(b, opt, plus ? 0x20B : 0x10B);
    const qint64 dirs = opt + (plus ? 112 : 96);
    Put32(b, opt + (plus ? 108 : 92), 16);
    constexpr uint32_t kRva = 0x1000, kRaw = 0x200;
    Put32(b, dirs + 16, kRva);
    // Resource data: root with two types, each with a directory of ids, each with one language.
    const int n = int(icons.size());
    QByteArray r;
    auto dir = [&](qint64 at, int entries) {
        Put16(r, at + 14, uint16_t(entries));
        r.resize(std::max<qint64>(r.size(), at + 16 + 8 * entries), '\0');
    };
    const qint64 root = 0, iconDir = 32, groupDir = iconDir + 16 + 8 * n;
    const qint64 langs = groupDir + 16 + 8 * n;  // 2n language directories of one entry each (24 bytes)
    const qint64 leaves = langs + 24 * 2 * n;     // 2n data entries of 16 bytes
    qint64 data = leaves + 16 * 2 * n;
    dir(root, 2);
    Put32(r, root + 16, 3);
    Put32(r, root + 20, 0x80000000u | uint32_t(iconDir));
    Put32(r, root + 24, 14);
    Put32(r, root + 28, 0x80000000u | uint32_t(groupDir));
    dir(iconDir, n);
    dir(groupDir, n);
    QByteArray payload;
    for (int kind = 0; kind < 2; ++kind)
        for (int i = 0; i < n; ++i) {
            const qint64 entry = (kind == 0 ? iconDir : groupDir) + 16 + 8 * i;
            const qint64 lang = langs + 24 * (kind * n + i), leaf = leaves + 16 * (kind * n + i);
            Put32(r, entry, uint32_t(100 + i));
            Put32(r, entry + 4, 0x80000000u | uint32_t(lang));
            dir(lang, 1);
            Put32(r, lang + 16, 1033);
            Put32(r, lang + 20, uint32_t(leaf));
            QByteArray blob;
            if (kind == 0) {
                const QImage img = icons[i].convertToFormat(QImage::Format_ARGB32);
                blob = Dib(img.width(), img.height(), 32, {}, [&](int x, int y) { return uint32_t(img.pixel(x, y)); },
                           [](int, int) { return false; });
            } else {
                Put16(blob, 2, 1);
                Put16(blob, 4, 1);
                blob.resize(20, '\0');
                blob[6] = char(icons[i].width());
                blob[7] = char(icons[i].height());
                Put16(blob, 12, 32);
                Put16(blob, 18, uint16_t(100 + i));
            }
            Put32(r, leaf, uint32_t(kRva + data + payload.size()));
            Put32(r, leaf + 4, uint32_t(blob.size()));
            payload.append(blob);
            payload.resize((payload.size() + 3) / 4 * 4, '\0');
        }
    r.resize(data, '\0');
    r.append(payload);
    const qint64 section = opt + optionalSize;
    b.replace(section, 5, ".rsrc");
    Put32(b, section + 8, uint32_t(r.size()));
    Put32(b, section + 12, kRva);
    Put32(b, section + 16, uint32_t(r.size()));
    Put32(b, section + 20, kRaw);
    b.resize(kRaw, '\0');
    b.append(r);
    return b;
}

QString ShippedFile(const QString& name) { return DataDir() + name; }

TEST(IconReaders, ShippedLibrariesAreNeLibrariesOfCalendarSizedIcons) {
    for (const char* name : {"activity.icl", "events.icl", "holiday.icl", "misc1.icl", "misc2.icl",
                             "BonusIcons/Autumn.icl", "BonusIcons/Garden.icl"}) {
        SCOPED_TRACE(name);
        QFile file(ShippedFile(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_EQ(SniffIconFile(bytes), IconFileKind::Ne);
        const auto icons = ReadIcons(bytes);
        EXPECT_GE(icons.size(), 30u);
        EXPECT_LE(icons.size(), 60u);
        for (const QImage& icon : icons) {
            ASSERT_EQ(icon.size(), QSize(32, 32));
            // Drawn shapes on a clear ground: the corners are see-through, something is opaque.
            EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
            int opaque = 0;
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x) opaque += qAlpha(icon.pixel(x, y)) == 255;
            EXPECT_GT(opaque, 60);
        }
    }
}

TEST(IconReaders, NeLibraryWrittenHereReadsBackPixelForPixel) {
    QImage a = Solid(qRgba(200, 10, 20, 255));
    a.setPixel(3, 4, qRgba(0, 0, 0, 0));
    QImage b = Solid(qRgba(0, 128, 255, 255), 16);
    const QByteArray library = WriteNeIconLibrary({a, b}, "TEST");
    ASSERT_EQ(SniffIconFile(library), IconFileKind::Ne);
    const auto icons = ReadNeIcons(library);
    ASSERT_EQ(icons.size(), 2u);
    EXPECT_EQ(icons[0].pixel(10, 10), qRgba(200, 10, 20, 255));
    EXPECT_EQ(qAlpha(icons[0].pixel(3, 4)), 0);
    EXPECT_EQ(icons[1].size(), QSize(16, 16));
    EXPECT_EQ(icons[1].pixel(0, 15), qRgba(0, 128, 255, 255));
    // Other readers refuse it; the sniffing reader takes it.
    EXPECT_TRUE(ReadPeIcons(library).empty());
    EXPECT_TRUE(ReadIcoIcons(library).empty());
    EXPECT_EQ(ReadIcons(library).size(), 2u);

    // More than the 16-bit table reaches at 16-byte alignment (about 1 MB): a coarser alignment.
    const std::vector<QImage> large(20, Solid(qRgba(9, 9, 9, 255), 256));
    const auto again = ReadNeIcons(WriteNeIconLibrary(large, "LARGE"));
    ASSERT_EQ(again.size(), 20u);
    EXPECT_EQ(again[19].pixel(255, 255), qRgba(9, 9, 9, 255));
}

TEST(IconReaders, IcoFilePicksTheSystemSizeAndAppliesPaletteAndMask) {
    const auto icons = ReadIcoIcons(TwoSizeIco());
    ASSERT_EQ(icons.size(), 1u);
    const QImage& icon = icons[0];
    ASSERT_EQ(icon.size(), QSize(32, 32));
    EXPECT_EQ(qAlpha(icon.pixel(5, 5)), 0);
    EXPECT_EQ(icon.pixel(20, 5), qRgba(255, 0, 0, 255));
    EXPECT_EQ(icon.pixel(31, 31), qRgba(255, 0, 0, 255));

    // One bit and 24 bits: rows are stored bottom up, the palette's second colour for set bits.
    const QByteArray mono = Dib(8, 4, 1, {0x000000, 0xFFFFFF}, [](int, int y) { return y == 0 ? 1u : 0u; },
                                [](int, int) { return false; });
    const QImage m = DecodeIconImage(mono);
    ASSERT_EQ(m.size(), QSize(8, 4));
    EXPECT_EQ(m.pixel(0, 0), qRgba(255, 255, 255, 255));
    EXPECT_EQ(m.pixel(0, 3), qRgba(0, 0, 0, 255));
    const QByteArray rgb = Dib(3, 2, 24, {}, [](int x, int) { return x == 2 ? 0x00FF00u : 0u; },
                               [](int x, int) { return x == 0; });
    const QImage c = DecodeIconImage(rgb);
    EXPECT_EQ(c.pixel(2, 1), qRgba(0, 255, 0, 255));
    EXPECT_EQ(qAlpha(c.pixel(0, 0)), 0);

    // A PNG image inside an icon file.
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        Solid(qRgba(1, 2, 3, 255)).save(&buffer, "PNG");
    }
    const auto fromPng = ReadIcoIcons(Ico({{32, 32, 32, png}}));
    ASSERT_EQ(fromPng.size(), 1u);
    EXPECT_EQ(fromPng[0].pixel(7, 7), qRgba(1, 2, 3, 255));
}

TEST(IconReaders, PeResourcesOf32And64BitFiles) {
    const std::vector<QImage> icons{Solid(qRgba(255, 0, 0, 255)), Solid(qRgba(0, 255, 0, 255)),
                                    Solid(qRgba(0, 0, 255, 255))};
    for (bool plus : {false, true}) {
        SCOPED_TRACE(plus ? "PE32+" : "PE32");
        const QByteArray file = Pe(icons, plus);
        ASSERT_EQ(SniffIconFile(file), IconFileKind::Pe);
        const auto read = ReadIcons(file);
        ASSERT_EQ(read.size(), 3u);
        EXPECT_EQ(read[1].pixel(16, 16), qRgba(0, 255, 0, 255));
        EXPECT_EQ(read[2].pixel(0, 31), qRgba(0, 0, 255, 255));
    }
}

TEST(IconReaders, ContentDecidesNotTheFileName) {
    QTemporaryDir dir;
    const QString disguised = dir.filePath(QStringLiteral("really-an-icon.icl"));
    QFile f(disguised);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(TwoSizeIco());
    f.close();
    EXPECT_EQ(ReadIconFile(disguised).size(), 1u);
    EXPECT_TRUE(ReadIconFile(dir.filePath(QStringLiteral("missing.icl"))).empty());
    EXPECT_TRUE(ReadIconFile(QString()).empty());
    EXPECT_EQ(SniffIconFile("plain text, not icons"), IconFileKind::Unknown);
    EXPECT_EQ(SniffIconFile(QByteArray()), IconFileKind::Unknown);
}

TEST(IconReaders, DamagedFilesGiveFewerIconsAndNeverReadOutside) {
    const QByteArray ne = WriteNeIconLibrary({Solid(0xFFFF0000), Solid(0xFF00FF00)}, "DAMAGE");
    const QByteArray pe = Pe({Solid(0xFFFF0000), Solid(0xFF00FF00)}, false);
    const QByteArray ico = TwoSizeIco();
    // Every truncation: never more icons than the whole file, and whole files still read fully.
    for (const QByteArray* whole : {&ne, &pe, &ico}) {
        const size_t all = ReadIcons(*whole).size();
        ASSERT_GT(all, 0u);
        for (qsizetype n = 0; n < whole->size(); n += 7) EXPECT_LE(ReadIcons(whole->left(n)).size(), all);
    }

    // New header pointer beyond the end; NE resource shift beyond reason; absurd counts.
    QByteArray badPointer = ne;
    Put32(badPointer, 0x3C, 0x7FFFFFF0);
    EXPECT_EQ(SniffIconFile(badPointer), IconFileKind::Unknown);
    QByteArray badShift = ne;
    Put16(badShift, 64 + 64, 60);
    EXPECT_TRUE(ReadNeIcons(badShift).empty());
    QByteArray hugeCount = ne;
    Put16(hugeCount, 64 + 64 + 2 + 2, 0xFFFF);
    EXPECT_TRUE(ReadNeIcons(hugeCount).empty());

    // A PE resource directory that names itself as its own subdirectory ends without looping.
    QByteArray loop = pe;
    Put32(loop, 0x200 + 20, 0x80000000u);
    EXPECT_LE(ReadPeIcons(loop).size(), 2u);
    // Icon images claiming enormous sizes are refused before anything is allocated.
    const QByteArray giant = Dib(1, 1, 32, {}, [](int, int) { return 0u; }, [](int, int) { return false; });
    QByteArray giantHeader = giant;
    Put32(giantHeader, 4, 100000);
    Put32(giantHeader, 8, 200000);
    EXPECT_TRUE(DecodeIconImage(giantHeader).isNull());
    QByteArray negative = giant;
    Put32(negative, 4, 0xFFFFFFFFu);
    EXPECT_TRUE(DecodeIconImage(negative).isNull());
    // An icon directory whose only image lies outside the file holds no icons.
    QByteArray outside = Ico({{32, 32, 32, giant}});
    Put32(outside, 6 + 12, 0xFFFFFF00u);
    EXPECT_TRUE(ReadIcoIcons(outside).empty());
}

}  // namespace
