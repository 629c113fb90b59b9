#pragma once
// The platform's font and colour dialogs behind one module, so that tests can answer them.
#include <functional>
#include <optional>

#include "platform/colors.h"
#include "platform/font.h"

class QWidget;

namespace plennix {
// Empty optional when the user cancels.
std::optional<FontRecord> ChooseFontDialog(const FontRecord& initial, QWidget* parent = nullptr);
std::optional<TColor> ChooseColorDialog(TColor initial, QWidget* parent = nullptr);

// Test hooks: when set, they answer instead of the dialogs.
void SetFontDialogAnswerer(std::function<std::optional<FontRecord>(const FontRecord&)> answerer);
void SetColorDialogAnswerer(std::function<std::optional<TColor>(TColor)> answerer);

// QFont (as chosen in a dialog) to a font record, keeping the colour.
FontRecord FontRecordFromQFont(const QFont& font, TColor color);
}  // namespace plennix
