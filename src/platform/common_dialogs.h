#pragma once
// The platform's font and colour dialogs and the modal run of our own dialogs, each replaceable so
// that tests choose a value or drive a dialog without a modal loop. Dialogs open centred over the
// main window.
#include <QFont>
#include <QIcon>
#include <QSize>
#include <functional>
#include <optional>

#include "platform/colors.h"
#include "platform/font.h"

#include <QString>

class QDialog;
class QWidget;

namespace plennix {

// The same dialog without its colour row; empty when cancelled. The font's colour is kept.
std::optional<FontRecord> ChooseFontDialog(const FontRecord& font, QWidget* parent);
// The program's one font dialog: face, size, style, effects and colour, initialised with `font`. On OK
// `font` takes the choice and the result is true; on Cancel `font` is untouched. `outlineOnly` offers
// scalable outline fonts only (for text drawn as paths or rotated). A colour the person did not
// change comes back exactly as it went in (a system colour stays a system colour), so callers that
// apply the choice to several objects compare `font.color` before and after to keep each object's own.
// The installed FontChooser answers it in tests; otherwise the dialog runs through RunModalDialog.
bool ChooseFontWithColor(QWidget* parent, FontRecord& font, bool outlineOnly = false);
// The colour dialog initialised with `color`; empty when cancelled.
std::optional<TColor> ChooseColorDialog(TColor color, QWidget* parent);
// A small picture of a colour with a black frame, for colour buttons and colour lists.
QIcon ColorSwatch(TColor color, QSize size = QSize(16, 12));

using FontChooser = std::function<std::optional<FontRecord>(const FontRecord& font, QWidget* parent)>;
using ColorChooser = std::function<std::optional<TColor>(TColor color, QWidget* parent)>;
// An empty function restores the platform's dialog (or exec()).
void SetFontChooser(FontChooser chooser);
void SetColorChooser(ColorChooser chooser);

// Conversions at the font dialog's boundary.
FontRecord FontRecordFromQFont(const QFont& font, TColor color);
QFont QFontFromRecord(const FontRecord& font);

// The open and save file dialogs. `filter` uses Qt's form ("Calendar File (*.PXF)"); `defaultSuffix`
// is appended to a name typed without one; a save dialog asks before overwriting. An empty string
// means the dialog was cancelled.
struct FileDialogRequest {
    enum class Mode { Open, Save } mode = Mode::Open;
    QString title;
    QString directory;
    QString proposedName;  // file name without folder, preset in a save dialog
    QString filter;
    QString selectedFilter;  // one of the filters, shown first chosen; the first when empty
    QString defaultSuffix;
};
using FileChooser = std::function<QString(const FileDialogRequest& request, QWidget* parent)>;
void SetFileChooser(FileChooser chooser);
QString ChooseFileDialog(const FileDialogRequest& request, QWidget* parent);

// The dialog behind ChooseFontWithColor is a QDialog titled "Font" whose controls have object names
// ("fontFace", "fontSize", "fontBold", "fontItalic", "fontUnderline", "fontStrikeOut", "fontColor")
// so that a ModalDialogRunner in a test can drive it.

// Centres the dialog over the main window, then runs it modally (or through the installed runner) and
// returns its result (QDialog::Accepted or QDialog::Rejected).
using ModalDialogRunner = std::function<int(QDialog&)>;
void SetModalDialogRunner(ModalDialogRunner runner);
int RunModalDialog(QDialog& dialog);
// The outermost window above `widget` (the main window for the dialogs opened from it).
QWidget* MainWindowOf(QWidget* widget);
void CenterOverMainWindow(QWidget& dialog);

}  // namespace plennix
