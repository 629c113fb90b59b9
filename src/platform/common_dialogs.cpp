#include "platform/common_dialogs.h"

#include <QColorDialog>
#include <QDialog>
#include <QWidget>
#include <QFontDialog>
#include <algorithm>

namespace plennix {
namespace {
FontChooser g_fontChooser;
ColorChooser g_colorChooser;
ModalDialogRunner g_modalRunner;
}  // namespace

void SetFontChooser(FontChooser chooser) { g_fontChooser = std::move(chooser); }
void SetColorChooser(ColorChooser chooser) { g_colorChooser = std::move(chooser); }
void SetModalDialogRunner(ModalDialogRunner runner) { g_modalRunner = std::move(runner); }

FontRecord FontRecordFromQFont(const QFont& font, TColor color) {
    FontRecord r;
    r.name = font.family();
    if (font.pointSize() > 0)
        r.setSize(font.pointSize());
    else if (font.pixelSize() > 0)
        r.height = -font.pixelSize();
    r.style = 0;
    if (font.bold()) r.style |= fsBold;
    if (font.italic()) r.style |= fsItalic;
    if (font.underline()) r.style |= fsUnderline;
    if (font.strikeOut()) r.style |= fsStrikeOut;
    r.color = color;
    r.pitch = FontPitch::fpDefault;
    return r;
}

QFont QFontFromRecord(const FontRecord& font) {
    QFont f(font.name);
    f.setPointSize(std::max(1, font.size()));
    f.setBold(font.style & fsBold);
    f.setItalic(font.style & fsItalic);
    f.setUnderline(font.style & fsUnderline);
    f.setStrikeOut(font.style & fsStrikeOut);
    return f;
}

std::optional<FontRecord> ChooseFontDialog(const FontRecord& font, QWidget* parent) {
    if (g_fontChooser) return g_fontChooser(font, parent);
    bool ok = false;
    QFont chosen = QFontDialog::getFont(&ok, QFontFromRecord(font), parent);
    if (!ok) return std::nullopt;
    return FontRecordFromQFont(chosen, font.color);
}

std::optional<TColor> ChooseColorDialog(TColor color, QWidget* parent) {
    if (g_colorChooser) return g_colorChooser(color, parent);
    QColor chosen = QColorDialog::getColor(toQColor(color), parent);
    if (!chosen.isValid()) return std::nullopt;
    return fromQColor(chosen);
}

QWidget* MainWindowOf(QWidget* widget) {
    QWidget* top = widget ? widget->window() : nullptr;
    while (top && top->parentWidget()) top = top->parentWidget()->window();
    return top;
}

void CenterOverMainWindow(QWidget& dialog) {
    QWidget* main = MainWindowOf(dialog.parentWidget());
    if (!main || main == &dialog) return;
    const QRect frame = main->frameGeometry();
    dialog.move(frame.center() - QPoint(dialog.width() / 2, dialog.height() / 2));
}

int RunModalDialog(QDialog& dialog) {
    CenterOverMainWindow(dialog);
    if (g_modalRunner) return g_modalRunner(dialog);
    return dialog.exec();
}

}  // namespace plennix
