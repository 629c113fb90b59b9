#include "platform/common_dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFontDialog>
#include <QFontInfo>

#include "platform/numbers.h"
#include "platform/ppi.h"

namespace plennix {
namespace {
std::function<std::optional<FontRecord>(const FontRecord&)> g_fontAnswerer;
std::function<std::optional<TColor>(TColor)> g_colorAnswerer;
}  // namespace

void SetFontDialogAnswerer(std::function<std::optional<FontRecord>(const FontRecord&)> a) { g_fontAnswerer = std::move(a); }
void SetColorDialogAnswerer(std::function<std::optional<TColor>(TColor)> a) { g_colorAnswerer = std::move(a); }

FontRecord FontRecordFromQFont(const QFont& f, TColor color) {
    FontRecord r;
    r.name = f.family();
    if (f.pointSizeF() > 0)
        r.setSize(roundHalfEven(f.pointSizeF()));
    else
        r.height = -std::max(1, f.pixelSize());
    r.style = (f.bold() ? fsBold : 0) | (f.italic() ? fsItalic : 0) | (f.underline() ? fsUnderline : 0) |
              (f.strikeOut() ? fsStrikeOut : 0);
    r.color = color;
    r.pitch = f.fixedPitch() ? FontPitch::fpFixed : FontPitch::fpDefault;
    return r;
}

std::optional<FontRecord> ChooseFontDialog(const FontRecord& initial, QWidget* parent) {
    if (g_fontAnswerer) return g_fontAnswerer(initial);
    QFont f = initial.toQFont();
    f.setPointSize(std::max(1, initial.size()));
    bool ok = false;
    QFont chosen = QFontDialog::getFont(&ok, f, parent ? parent : QApplication::activeWindow(), QStringLiteral("Font"));
    if (!ok) return std::nullopt;
    return FontRecordFromQFont(chosen, initial.color);
}

std::optional<TColor> ChooseColorDialog(TColor initial, QWidget* parent) {
    if (g_colorAnswerer) return g_colorAnswerer(initial);
    QColor c = QColorDialog::getColor(toQColor(initial), parent ? parent : QApplication::activeWindow(),
                                      QStringLiteral("Color"));
    if (!c.isValid()) return std::nullopt;
    return fromQColor(c);
}
}  // namespace plennix
