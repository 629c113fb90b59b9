#pragma once
// The Windows-1252 table: the files' code page when that is 1252 (see code_page.h) and the 8-bit text
// of RTF written with \ansicpg1252.
#include <QByteArray>
#include <QString>

namespace plennix {
QString FromWin1252(const QByteArray& bytes);
QString FromWin1252(const char* data, qsizetype len);
// Characters outside Windows-1252 become '?'.
QByteArray ToWin1252(const QString& text);
// True when the character has a Windows-1252 byte; the byte is stored in *out.
bool Win1252Byte(char16_t ch, unsigned char* out);
char16_t Win1252Char(unsigned char byte);
}  // namespace plennix
