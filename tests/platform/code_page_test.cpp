// Text in the files' 8-bit code page: conversions both ways for the pages besides 1252, the refusal of
// characters a page cannot hold, and how the page is chosen from the locale and PLENNIX_CODEPAGE.
#include <gtest/gtest.h>

#include "common/qstring_printer.h"
#include "platform/code_page.h"
#include "platform/ini_file.h"

using namespace plennix;

namespace {
QByteArray Bytes(std::initializer_list<int> list) {
    QByteArray b;
    for (int v : list) b.append(static_cast<char>(v));
    return b;
}

// Restores an environment variable when the test ends.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value) : m_name(name), m_had(qEnvironmentVariableIsSet(name)) {
        m_old = qgetenv(name);
        if (value.isNull()) qunsetenv(name); else qputenv(name, value);
    }
    ~ScopedEnv() {
        if (m_had) qputenv(m_name, m_old); else qunsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};
}  // namespace

TEST(CodePage, PagesBesides1252ConvertBothWaysWithTheirOwnBytes) {
    struct Case {
        int page;
        QString text;
        QByteArray bytes;
    };
    const Case cases[] = {
        // Central European: č ř ž ł ő and the euro sign.
        {1250, QStringLiteral("Příliš žluťoučký kůň łódź ő €"), QByteArray()},
        {1250, QStringLiteral("čřž"), Bytes({0xE8, 0xF8, 0x9E})},
        // Cyrillic.
        {1251, QStringLiteral("Январь"), Bytes({0xDF, 0xED, 0xE2, 0xE0, 0xF0, 0xFC})},
        {1251, QStringLiteral("Ёё Її Ґґ №"), QByteArray()},
        // Greek, with the tonos letters.
        {1253, QStringLiteral("Ιανουάριος"), Bytes({0xC9, 0xE1, 0xED, 0xEF, 0xF5, 0xDC, 0xF1, 0xE9, 0xEF, 0xF2})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        ScopedCodePage page(c.page);
        ASSERT_EQ(ActiveCodePage(), c.page);
        EXPECT_TRUE(CanEncode(c.text));
        const QByteArray encoded = EncodeToCodePage(c.text);
        EXPECT_EQ(encoded.size(), c.text.size()) << "one byte a letter";
        EXPECT_FALSE(encoded.contains('?'));
        if (!c.bytes.isNull()) {
            EXPECT_EQ(encoded, c.bytes);
        }
        EXPECT_EQ(DecodeFromCodePage(encoded), c.text);
    }
}

TEST(CodePage, EveryByteDecodesAndEncodesBackInEveryPage) {
    QByteArray all;
    for (int b = 0; b < 256; ++b) all.append(static_cast<char>(b));
    for (int page : {874, 1250, 1251, 1252, 1253, 1254, 1256, 1257}) {
        SCOPED_TRACE(page);
        ScopedCodePage scoped(page);
        const QString text = DecodeFromCodePage(all);
        ASSERT_EQ(text.size(), 256);
        // Unassigned bytes (0x98 in 1251) come back as the C1 control of the same number.
        if (page == 1251) {
            EXPECT_EQ(text.at(0x98).unicode(), 0x98);
        }
        EXPECT_TRUE(CanEncode(text));
        EXPECT_EQ(EncodeToCodePage(text), all);
    }
}

TEST(CodePage, CharactersOutsideThePageAreNamedNotHidden) {
    ScopedCodePage page(1251);
    QString bad;
    EXPECT_FALSE(CanEncode(QStringLiteral("Май ✓ März ✓"), &bad));
    EXPECT_EQ(bad, QStringLiteral("✓"));
    EXPECT_EQ(UnencodableCharacters(QStringLiteral("Май ✓ März ✓ 😀")),
              (QStringList{QStringLiteral("✓"), QStringLiteral("ä"), QStringLiteral("😀")}));
    EXPECT_EQ(CodePageProblem(QStringLiteral("Май ✓")),
              QStringLiteral("The text contains characters that cannot be saved in this calendar's code page "
                             "(Windows-1251): ✓"));
    EXPECT_TRUE(CodePageProblem(QStringLiteral("Май")).isEmpty());
    // A lone surrogate is not a character any page holds.
    EXPECT_FALSE(CanEncode(QString(QChar(0xD800))));

    ScopedCodePage western(1252);
    EXPECT_TRUE(CanEncode(QStringLiteral("März €")));
    EXPECT_FALSE(CanEncode(QStringLiteral("Май"), &bad));
    EXPECT_EQ(bad, QStringLiteral("М"));
    EXPECT_FALSE(CanEncode(QStringLiteral("a😀"), &bad));
    EXPECT_EQ(bad, QStringLiteral("😀"));
}

TEST(CodePage, CombiningPagesKeepTheOrderOfLetters) {
    // Vietnamese letters may be a base letter and a combining tone mark; decoding composes them.
    ScopedCodePage page(1258);
    const QString text = QStringLiteral("Tết Nguyên Đán");
    ASSERT_TRUE(CanEncode(text));
    const QByteArray bytes = EncodeToCodePage(text);
    EXPECT_FALSE(bytes.contains('?'));
    EXPECT_EQ(DecodeFromCodePage(bytes).normalized(QString::NormalizationForm_C), text);
    // A trailing base letter held back for a possible mark is still given out.
    EXPECT_EQ(DecodeFromCodePage(QByteArray("abc")), QStringLiteral("abc"));
}

TEST(CodePage, LocaleChoosesThePage) {
    EXPECT_EQ(CodePageForLocale(QStringLiteral("C")), 1252);
    EXPECT_EQ(CodePageForLocale(QStringLiteral("C.UTF-8")), 1252);
    EXPECT_EQ(CodePageForLocale(QStringLiteral("POSIX")), 1252);
    EXPECT_EQ(CodePageForLocale(QString()), 1252);
    EXPECT_EQ(CodePageForLocale(QStringLiteral("de_DE.UTF-8")), 1252);
    EXPECT_EQ(CodePageForLocale(QStringLiteral("pl_PL.UTF-8")), 1250);
    EXPECT_EQ(CodePageForLocale(QStringLiteral("cs_CZ")), 1250);
    EXPECT_EQ(CodePageForLocale(QStringLiteral("ru_RU.UTF-8")), 1251);
    EXPECT_EQ(CodePageForLocale(QStringLiteral("uk_UA.UTF-8")), 1251);
    EXPECT_EQ(CodePageForLocale(QStringLiteral("sr_RS")), 1251);
    EXPECT_EQ(CodePageForLocale(QStringLiteral("sr_RS@latin")), 1250);
    EXPECT_EQ(CodePageForLocale(QStringLiteral("el_GR.UTF-8")), 1253);
    EXPECT_EQ(CodePageForLocale(QStringLiteral("tr_TR.UTF-8")), 1254);
    EXPECT_EQ(CodePageForLocale(QStringLiteral("he_IL.UTF-8")), 1255);
    EXPECT_EQ(CodePageForLocale(QStringLiteral("ar_EG.UTF-8")), 1256);
    EXPECT_EQ(CodePageForLocale(QStringLiteral("lt_LT.UTF-8")), 1257);
    EXPECT_EQ(CodePageForLocale(QStringLiteral("vi_VN")), 1258);
    EXPECT_EQ(CodePageForLocale(QStringLiteral("th_TH.UTF-8")), 874);
    EXPECT_EQ(CodePageName(1251), QStringLiteral("Windows-1251 (Cyrillic)"));
    EXPECT_EQ(CodePageName(1252), QStringLiteral("Windows-1252 (Western European)"));
}

TEST(CodePage, EnvironmentOverridesTheLocaleAndUnknownValuesGive1252) {
    ScopedEnv lcAll("LC_ALL", QByteArray("ru_RU.UTF-8"));
    {
        ScopedEnv none("PLENNIX_CODEPAGE", QByteArray());
        EXPECT_EQ(CodePageFromEnvironment(), 1251);
    }
    const struct {
        const char* value;
        int page;
    } cases[] = {
        {"1250", 1250}, {"cp1253", 1253}, {"Windows-1257", 1257}, {" 874 ", 874},
        {"65001", 1252}, {"1249", 1252}, {"greek", 1252}, {"12510", 1252}, {"-1251", 1252},
    };
    for (const auto& c : cases) {
        ScopedEnv env("PLENNIX_CODEPAGE", QByteArray(c.value));
        EXPECT_EQ(CodePageFromEnvironment(), c.page) << c.value;
    }
    ScopedEnv lang("LC_ALL", QByteArray("el_GR"));
    ScopedEnv none("PLENNIX_CODEPAGE", QByteArray());
    EXPECT_EQ(CodePageFromEnvironment(), 1253);
}

TEST(CodePage, TestingGuardRestoresThePreviousPage) {
    const int startup = ActiveCodePage();
    {
        ScopedCodePage a(1251);
        {
            ScopedCodePage b(1253);
            EXPECT_EQ(ActiveCodePage(), 1253);
            EXPECT_EQ(ActiveCodePageName(), QStringLiteral("Windows-1253 (Greek)"));
        }
        EXPECT_EQ(ActiveCodePage(), 1251);
    }
    EXPECT_EQ(ActiveCodePage(), startup);
}

TEST(CodePage, ProfileTextUsesThePageAndFallsBackToMarkedUtf8ForPaths) {
    ScopedCodePage page(1251);
    IniFile ini(QStringLiteral("unused.ini"));
    ini.setAutoSave(false);
    ini.writeString(QStringLiteral("Recent"), QStringLiteral("File1"), QStringLiteral("/home/ира/Январь.PXF"));
    QByteArray bytes = ini.serialize();
    EXPECT_TRUE(bytes.contains("/home/\xE8\xF0\xE0/\xDF\xED\xE2\xE0\xF0\xFC.PXF"));
    IniFile back(QStringLiteral("unused.ini"));
    back.parse(bytes);
    EXPECT_EQ(back.readString(QStringLiteral("Recent"), QStringLiteral("File1")),
              QStringLiteral("/home/ира/Январь.PXF"));

    // A path with letters the page has no place for keeps them: the file becomes UTF-8 with its mark.
    ini.writeString(QStringLiteral("Recent"), QStringLiteral("File2"), QStringLiteral("/tmp/März ✓.PXF"));
    bytes = ini.serialize();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_FALSE(bytes.contains('?'));
    back.parse(bytes);
    EXPECT_EQ(back.readString(QStringLiteral("Recent"), QStringLiteral("File1")),
              QStringLiteral("/home/ира/Январь.PXF"));
    EXPECT_EQ(back.readString(QStringLiteral("Recent"), QStringLiteral("File2")), QStringLiteral("/tmp/März ✓.PXF"));
}
