#pragma once
// The 8-bit code page in which files hold text: the Windows code page that matches the user's locale,
// chosen once at start-up (1252 for the C locale and unknown languages), overridable with the environment
// variable PLENNIX_CODEPAGE ("1251", "cp1251" or "windows-1251"; unknown values give 1252).
// Windows-1252 converts through our own table, every other page through the C library's iconv.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace plennix {

int ActiveCodePage();
// "Windows-1251 (Cyrillic)".
QString ActiveCodePageName();
QString CodePageName(int codePage);

// The code page for a locale name ("ru_RU", "sr_RS@latin", "C") or PLENNIX_CODEPAGE's value (0 when the
// value names no supported page).
int CodePageForLocale(const QString& localeName);
int ParseCodePage(const QString& value);
bool IsSupportedCodePage(int codePage);
// The page that PLENNIX_CODEPAGE or else the locale variables (LC_ALL, LC_CTYPE, LANG) choose now; the
// active page is this, taken once on first use.
int CodePageFromEnvironment();

// Text to the active page. Characters the page cannot hold become '?': callers that store what a person
// typed check CanEncode first and refuse the text.
QByteArray EncodeToCodePage(const QString& text);
// Every byte gives a character; bytes the page leaves unassigned give the character U+0080..U+00FF of the
// same number, which encodes back to that byte.
QString DecodeFromCodePage(const QByteArray& bytes);
QString DecodeFromCodePage(const char* data, qsizetype len);

// True when every character of `text` has a place in the active page; otherwise *firstBad receives the
// first character that has none (a surrogate pair stays whole).
bool CanEncode(const QString& text, QString* firstBad = nullptr);
// The distinct characters of `text` that the active page cannot hold, in order of appearance.
QStringList UnencodableCharacters(const QString& text);
// "The text contains characters that cannot be saved in this calendar's code page (Windows-1252): ✓ ★";
// empty when the text fits.
QString CodePageProblem(const QString& text);

// Tests switch the page; 0 returns to the page chosen at start-up.
void SetActiveCodePageForTesting(int codePage);

class ScopedCodePage {
public:
    explicit ScopedCodePage(int codePage);
    ~ScopedCodePage();
    ScopedCodePage(const ScopedCodePage&) = delete;
    ScopedCodePage& operator=(const ScopedCodePage&) = delete;

private:
    int m_previous;
};

}  // namespace plennix
