#pragma once
// The platform's font and colour dialogs and the modal run of our own dialogs, each replaceable so
// that tests choose a value or drive a dialog without a modal loop. Dialogs open centred over the
// main window.
#include <QFont>
#include <functional>
#include <optional>

#include "platform/colors.h"
#include "platform/font.h"

class QDialog;
class QWidget;

namespace plennix {

// The font dialog initialised with `font`; empty when cancelled. The font's colour is kept.
std::optional<FontRecord> ChooseFontDialog(const FontRecord& font, QWidget* parent);
// The colour dialog initialised with `color`; empty when cancelled.
std::optional<TColor> ChooseColorDialog(TColor color, QWidget* parent);

using FontChooser = std::function<std::optional<FontRecord>(const FontRecord& font, QWidget* parent)>;
using ColorChooser = std::function<std::optional<TColor>(TColor color, QWidget* parent)>;
// An empty function restores the platform's dialog (or exec()).
void SetFontChooser(FontChooser chooser);
void SetColorChooser(ColorChooser chooser);

// Conversions at the font dialog's boundary.
FontRecord FontRecordFromQFont(const QFont& font, TColor color);
QFont QFontFromRecord(const FontRecord& font);

// Centres the dialog over the main window, then runs it modally (or through the installed runner) and
// returns its result (QDialog::Accepted or QDialog::Rejected).
using ModalDialogRunner = std::function<int(QDialog&)>;
void SetModalDialogRunner(ModalDialogRunner runner);
int RunModalDialog(QDialog& dialog);
// The outermost window above `widget` (the main window for the dialogs opened from it).
QWidget* MainWindowOf(QWidget* widget);
void CenterOverMainWindow(QWidget& dialog);

}  // namespace plennix
