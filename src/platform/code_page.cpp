#include "platform/code_page.h"

#include <QtEndian>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iconv.h>

#include "platform/win1252.h"

namespace plennix {
namespace {

struct PageInfo {
    int number;
    const char* script;
};

constexpr PageInfo kPages[] = {
    {874, "Thai"},        {1250, "Central European"}, {1251, "Cyrillic"}, {1252, "Western European"},
    {1253, "Greek"},      {1254, "Turkish"},          {1255, "Hebrew"},   {1256, "Arabic"},
    {1257, "Baltic"},     {1258, "Vietnamese"},
};

#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr const char* kUtf16 = "UTF-16LE";
#else
constexpr const char* kUtf16 = "UTF-16BE";
#endif

QByteArray IconvName(int page) { return "CP" + QByteArray::number(page); }

bool IconvKnows(int page) {
    // Windows-1252 is converted by the program's own table, whatever the C library offers.
    if (page == 1252) return true;
    iconv_t cd = iconv_open(IconvName(page).constData(), kUtf16);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    iconv_close(cd);
    return true;
}

// The language part of a POSIX locale name decides the page; the "@latin"/"@cyrillic" modifier decides
// for the languages written in both scripts.
int PageForLanguage(const QString& language, const QString& modifier) {
    static const struct {
        const char* languages;
        int page;
    } kTable[] = {
        {"cs sk pl hu sl hr bs ro sq hsb dsb tk", 1250},
        {"ru uk be bg mk kk ky tt mn tg ba cv os sah ab ce", 1251},
        {"el", 1253},
        {"tr az", 1254},
        {"he iw yi", 1255},
        {"ar fa ur ps sd ug ckb", 1256},
        {"et lv lt", 1257},
        {"vi", 1258},
        {"th", 874},
    };
    if (language == QLatin1String("sr")) return modifier == QLatin1String("latin") ? 1250 : 1251;
    if (language == QLatin1String("uz")) return modifier == QLatin1String("cyrillic") ? 1251 : 1254;
    for (const auto& row : kTable) {
        const QStringList names = QString::fromLatin1(row.languages).split(QLatin1Char(' '));
        if (names.contains(language)) return row.page;
    }
    return 1252;
}

}  // namespace

int CodePageFromEnvironment() {
    const QByteArray overrideValue = qgetenv("PLENNIX_CODEPAGE");
    if (!overrideValue.isEmpty()) {
        const int page = ParseCodePage(QString::fromLocal8Bit(overrideValue));
        return page != 0 && IconvKnows(page) ? page : 1252;
    }
    // The order in which the C library picks the character-type locale.
    QByteArray locale;
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        locale = qgetenv(name);
        if (!locale.isEmpty()) break;
    }
    const int page = CodePageForLocale(QString::fromLocal8Bit(locale));
    return IconvKnows(page) ? page : 1252;
}

namespace {

int g_testingPage = 0;

int StartupPage() {
    static const int page = CodePageFromEnvironment();
    return page;
}

// One pair of converters for the active page, opened on first use, and the page's unassigned bytes.
struct Converters {
    int page = 0;
    iconv_t encoder = reinterpret_cast<iconv_t>(-1);
    iconv_t decoder = reinterpret_cast<iconv_t>(-1);
    std::array<bool, 256> unassigned{};

    ~Converters() { Close(); }
    void Close() {
        if (encoder != reinterpret_cast<iconv_t>(-1)) iconv_close(encoder);
        if (decoder != reinterpret_cast<iconv_t>(-1)) iconv_close(decoder);
        encoder = decoder = reinterpret_cast<iconv_t>(-1);
        page = 0;
    }
    bool Open(int wanted) {
        if (page == wanted) return true;
        Close();
        encoder = iconv_open(IconvName(wanted).constData(), kUtf16);
        decoder = iconv_open(kUtf16, IconvName(wanted).constData());
        if (encoder == reinterpret_cast<iconv_t>(-1) || decoder == reinterpret_cast<iconv_t>(-1)) {
            Close();
            return false;
        }
        page = wanted;
        for (int b = 0; b < 256; ++b) {
            char in = static_cast<char>(b);
            char* inPtr = &in;
            size_t inLeft = 1;
            char16_t outBuf[4];
            char* outPtr = reinterpret_cast<char*>(outBuf);
            size_t outLeft = sizeof outBuf;
            iconv(decoder, nullptr, nullptr, nullptr, nullptr);
            unassigned[b] = iconv(decoder, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1);
        }
        iconv(decoder, nullptr, nullptr, nullptr, nullptr);
        return true;
    }
};

Converters* ConvertersFor(int page) {
    thread_local Converters converters;
    return converters.Open(page) ? &converters : nullptr;
}

// Runs `cd` over the input, growing the output as needed. At a unit it cannot convert, any pending
// output is flushed first (so that order is kept) and onError decides what to append and how many input
// bytes to skip.
template <typename OnError>
void RunIconv(iconv_t cd, const char* data, size_t len, QByteArray* out, OnError onError) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    const char* start = data;
    char* in = const_cast<char*>(data);
    size_t inLeft = len;
    out->resize(static_cast<qsizetype>(len * 2 + 16));
    qsizetype used = 0;
    auto call = [&](char** inPtr, size_t* inLeftPtr) {
        char* outPtr = out->data() + used;
        size_t outLeft = static_cast<size_t>(out->size() - used);
        const size_t r = iconv(cd, inPtr, inLeftPtr, &outPtr, &outLeft);
        const int error = errno;
        used = outPtr - out->data();
        return r == static_cast<size_t>(-1) ? error : 0;
    };
    while (inLeft > 0) {
        const int error = call(&in, &inLeft);
        if (error == E2BIG) {
            out->resize(out->size() * 2 + 16);
            continue;
        }
        if (error == 0) continue;
        // An unconvertible or incomplete unit: flush what the converter holds, then let the caller decide.
        while (call(nullptr, nullptr) == E2BIG) out->resize(out->size() * 2 + 16);
        const size_t offset = static_cast<size_t>(in - start);
        QByteArray replacement;
        size_t skip = onError(offset, &replacement);
        if (skip == 0 || skip > inLeft) skip = inLeft;
        in += skip;
        inLeft -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (out->size() - used < replacement.size()) out->resize(used + replacement.size() + 16);
        memcpy(out->data() + used, replacement.constData(), static_cast<size_t>(replacement.size()));
        used += replacement.size();
    }
    // A converter may hold the last character back to combine it with a following mark.
    while (call(nullptr, nullptr) == E2BIG) out->resize(out->size() * 2 + 16);
    out->resize(used);
}

// Number of UTF-16 units of the character at `index` (2 for a whole surrogate pair).
qsizetype CharLength(const QString& text, qsizetype index) {
    if (index + 1 < text.size() && text.at(index).isHighSurrogate() && text.at(index + 1).isLowSurrogate())
        return 2;
    return 1;
}

// Encodes with the active page. Each character without a place is reported to onBad (index, length);
// the output then holds '?' for it.
template <typename OnBad>
QByteArray Encode(const QString& text, OnBad onBad) {
    const int page = ActiveCodePage();
    // Without a converter for the page (a C library lacking it) the text is held to Windows-1252.
    Converters* c = page == 1252 ? nullptr : ConvertersFor(page);
    if (!c) {
        QByteArray out;
        out.reserve(text.size());
        for (qsizetype i = 0; i < text.size();) {
            unsigned char b;
            const qsizetype n = CharLength(text, i);
            if (n == 1 && Win1252Byte(text.at(i).unicode(), &b)) {
                out.append(static_cast<char>(b));
            } else {
                out.append('?');
                if (!onBad(i, n)) return out;
            }
            i += n;
        }
        return out;
    }
    QByteArray out;
    bool stop = false;
    RunIconv(c->encoder, reinterpret_cast<const char*>(text.utf16()), static_cast<size_t>(text.size()) * 2,
             &out, [&](size_t offset, QByteArray* replacement) -> size_t {
                 const qsizetype index = static_cast<qsizetype>(offset / 2);
                 if (stop || index >= text.size()) return 0;
                 const qsizetype n = CharLength(text, index);
                 const char16_t ch = text.at(index).unicode();
                 if (n == 1 && ch >= 0x80 && ch <= 0xFF && c->unassigned[ch]) {
                     *replacement = QByteArray(1, static_cast<char>(ch));
                 } else {
                     *replacement = QByteArray(1, '?');
                     if (!onBad(index, n)) stop = true;
                 }
                 return static_cast<size_t>(n) * 2;
             });
    return out;
}

}  // namespace

QString CodePageName(int codePage) {
    for (const PageInfo& p : kPages)
        if (p.number == codePage)
            return QStringLiteral("Windows-%1 (%2)").arg(codePage).arg(QLatin1String(p.script));
    return QStringLiteral("Windows-%1").arg(codePage);
}

bool IsSupportedCodePage(int codePage) {
    for (const PageInfo& p : kPages)
        if (p.number == codePage) return true;
    return false;
}

int ParseCodePage(const QString& value) {
    QString v = value.trimmed().toLower();
    for (const char* prefix : {"windows-", "cp"})
        if (v.startsWith(QLatin1String(prefix))) {
            v = v.mid(static_cast<qsizetype>(strlen(prefix)));
            break;
        }
    bool ok = false;
    const int page = v.toInt(&ok);
    return ok && IsSupportedCodePage(page) ? page : 0;
}

int CodePageForLocale(const QString& localeName) {
    // ll[_TT][.codeset][@modifier]
    QString name = localeName.trimmed();
    QString modifier;
    const qsizetype at = name.indexOf(QLatin1Char('@'));
    if (at >= 0) {
        modifier = name.mid(at + 1).toLower();
        name.truncate(at);
    }
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot >= 0) name.truncate(dot);
    const QString language = name.section(QLatin1Char('_'), 0, 0).toLower();
    if (language.isEmpty() || language == QLatin1String("c") || language == QLatin1String("posix")) return 1252;
    return PageForLanguage(language, modifier);
}

int ActiveCodePage() { return g_testingPage ? g_testingPage : StartupPage(); }

QString ActiveCodePageName() { return CodePageName(ActiveCodePage()); }

void SetActiveCodePageForTesting(int codePage) {
    g_testingPage = IsSupportedCodePage(codePage) ? codePage : 0;
}

ScopedCodePage::ScopedCodePage(int codePage) : m_previous(g_testingPage) { SetActiveCodePageForTesting(codePage); }
ScopedCodePage::~ScopedCodePage() { g_testingPage = m_previous; }

QByteArray EncodeToCodePage(const QString& text) {
    return Encode(text, [](qsizetype, qsizetype) { return true; });
}

QString DecodeFromCodePage(const char* data, qsizetype len) {
    const int page = ActiveCodePage();
    if (page == 1252 || len <= 0) return FromWin1252(data, len);
    Converters* c = ConvertersFor(page);
    if (!c) return FromWin1252(data, len);
    QByteArray out;
    RunIconv(c->decoder, data, static_cast<size_t>(len), &out, [&](size_t offset, QByteArray* replacement) {
        const auto b = static_cast<unsigned char>(data[offset]);
        const char16_t ch = b;  // the C1 control (or Latin-1 letter) of the same number
        replacement->resize(2);
        memcpy(replacement->data(), &ch, 2);
        return size_t{1};
    });
    QString text(reinterpret_cast<const QChar*>(out.constData()), out.size() / 2);
    if (page == 1255) {
        // glibc's Hebrew decoder joins a letter and its points into one presentation form (U+FB1D..U+FB4F),
        // which nobody typed: split them again, so that text keeps the characters it was saved with (a
        // recurring dates line would otherwise lose characters and its formula would move).
        QString split;
        split.reserve(text.size() + 8);
        for (const QChar ch : text) {
            if (ch.unicode() < 0xFB1D || ch.unicode() > 0xFB4F || ch.decompositionTag() != QChar::Canonical) {
                split += ch;
                continue;
            }
            split += QString(ch).normalized(QString::NormalizationForm_D);
        }
        text = split;
    }
    return text;
}

QString DecodeFromCodePage(const QByteArray& bytes) { return DecodeFromCodePage(bytes.constData(), bytes.size()); }

bool CanEncode(const QString& text, QString* firstBad) {
    bool ok = true;
    Encode(text, [&](qsizetype index, qsizetype n) {
        ok = false;
        if (firstBad) *firstBad = text.mid(index, n);
        return false;
    });
    return ok;
}

QStringList UnencodableCharacters(const QString& text) {
    QStringList bad;
    Encode(text, [&](qsizetype index, qsizetype n) {
        const QString ch = text.mid(index, n);
        if (!bad.contains(ch)) bad << ch;
        return true;
    });
    return bad;
}

QString CodePageProblem(const QString& text) {
    const QStringList bad = UnencodableCharacters(text);
    if (bad.isEmpty()) return {};
    return QStringLiteral("The text contains characters that cannot be saved in this calendar's code page "
                          "(Windows-%1): %2")
        .arg(ActiveCodePage())
        .arg(bad.join(QLatin1Char(' ')));
}

}  // namespace plennix
