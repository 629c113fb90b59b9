#pragma once
// Colour values 0x00BBGGRR (red lowest); values with high byte 0x80 name system colours.
#include <QColor>
#include <QString>
#include <cstdint>
#include <optional>

namespace plennix {

using TColor = int32_t;

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clSystemBase = static_cast<TColor>(0x80000000u);
constexpr TColor clBtnFace = static_cast<TColor>(0x8000000Fu);
constexpr TColor clBtnShadow = static_cast<TColor>(0x80000010u);
constexpr TColor clBtnHighlight = static_cast<TColor>(0x80000014u);
constexpr TColor clWindow = static_cast<TColor>(0x80000005u);
constexpr TColor clWindowText = static_cast<TColor>(0x80000008u);
constexpr TColor clHighlight = static_cast<TColor>(0x8000000Du);

constexpr TColor RGB(int r, int g, int b) { return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16); }

// Resolves a system colour (0x80xxxxxx) to a plain 0x00BBGGRR value; plain colours pass through.
TColor ColorToRGB(TColor c);
QColor toQColor(TColor c);
TColor fromQColor(const QColor& c);

// The colour-name table of object records, both ways.
std::optional<QString> ColorToIdent(TColor c);
std::optional<TColor> IdentToColor(const QString& name);

}  // namespace plennix
