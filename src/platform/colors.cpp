#include "platform/colors.h"

#include <array>

namespace plennix {

namespace {
struct NamedColor {
    uint32_t value;
    const char* name;
};
constexpr std::array<NamedColor, 42> kColorNames = {{
    {0x000000, "clBlack"}, {0x000080, "clMaroon"}, {0x008000, "clGreen"}, {0x008080, "clOlive"},
    {0x800000, "clNavy"}, {0x800080, "clPurple"}, {0x808000, "clTeal"}, {0x808080, "clGray"},
    {0xC0C0C0, "clSilver"}, {0x0000FF, "clRed"}, {0x00FF00, "clLime"}, {0x00FFFF, "clYellow"},
    {0xFF0000, "clBlue"}, {0xFF00FF, "clFuchsia"}, {0xFFFF00, "clAqua"}, {0xFFFFFF, "clWhite"},
    {0x80000000, "clScrollBar"}, {0x80000001, "clBackground"}, {0x80000002, "clActiveCaption"},
    {0x80000003, "clInactiveCaption"}, {0x80000004, "clMenu"}, {0x80000005, "clWindow"},
    {0x80000006, "clWindowFrame"}, {0x80000007, "clMenuText"}, {0x80000008, "clWindowText"},
    {0x80000009, "clCaptionText"}, {0x8000000A, "clActiveBorder"}, {0x8000000B, "clInactiveBorder"},
    {0x8000000C, "clAppWorkSpace"}, {0x8000000D, "clHighlight"}, {0x8000000E, "clHighlightText"},
    {0x8000000F, "clBtnFace"}, {0x80000010, "clBtnShadow"}, {0x80000011, "clGrayText"},
    {0x80000012, "clBtnText"}, {0x80000013, "clInactiveCaptionText"}, {0x80000014, "clBtnHighlight"},
    {0x80000015, "cl3DDkShadow"}, {0x80000016, "cl3DLight"}, {0x80000017, "clInfoText"},
    {0x80000018, "clInfoBk"}, {0x1FFFFFFF, "clNone"},
}};

// A fixed classic palette for system colours, so that drawings do not depend on the desktop theme.
constexpr std::array<uint32_t, 25> kSystemColors = {
    0xC8C8C8,  // scroll bar
    0x000000,  // background
    0x800000,  // active caption (0x00BBGGRR: navy)
    0x808080,  // inactive caption
    0xC0C0C0,  // menu
    0xFFFFFF,  // window
    0x000000,  // window frame
    0x000000,  // menu text
    0x000000,  // window text
    0xFFFFFF,  // caption text
    0xC0C0C0,  // active border
    0xC0C0C0,  // inactive border
    0x808080,  // app workspace
    0x800000,  // highlight
    0xFFFFFF,  // highlight text
    0xC0C0C0,  // button face
    0x808080,  // button shadow
    0x808080,  // grey text
    0x000000,  // button text
    0xC0C0C0,  // inactive caption text
    0xFFFFFF,  // button highlight
    0x000000,  // 3D dark shadow
    0xDFDFDF,  // 3D light
    0x000000,  // info text
    0xE1FFFF,  // info background
};
}  // namespace

TColor ColorToRGB(TColor c) {
    uint32_t u = static_cast<uint32_t>(c);
    if ((u & 0xFF000000u) == 0x80000000u) {
        uint32_t idx = u & 0xFF;
        return idx < kSystemColors.size() ? static_cast<TColor>(kSystemColors[idx]) : 0;
    }
    return static_cast<TColor>(u & 0x00FFFFFFu);
}

QColor toQColor(TColor c) {
    uint32_t v = static_cast<uint32_t>(ColorToRGB(c));
    return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

TColor fromQColor(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }

std::optional<QString> ColorToIdent(TColor c) {
    for (const auto& n : kColorNames)
        if (n.value == static_cast<uint32_t>(c)) return QString::fromLatin1(n.name);
    return std::nullopt;
}

std::optional<TColor> IdentToColor(const QString& name) {
    for (const auto& n : kColorNames)
        if (name.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0) return static_cast<TColor>(n.value);
    return std::nullopt;
}

}  // namespace plennix
