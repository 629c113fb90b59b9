// The rich-text label's editor and background colour commands.
#include <QApplication>

#include "objects/object_commands.h"
#include "objects/rich_label.h"
#include "objects/rich_label_editor.h"
#include "platform/common_dialogs.h"
#include "platform/numbers.h"
#include "platform/ppi.h"
#include "richtext/rich_text_editor.h"
#include "surface/object_menus.h"

namespace plennix {

void ChooseRichLabelBackground(TGPRichBaseLabel& label) {
    if (const auto chosen = ChooseColorDialog(label.BGColor(), ObjectDialogParent(label)))
        label.TakeBackgroundColor(*chosen);
}

void EditRichLabel(TGPRichBaseLabel& label) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TRichTextLabelEditor dialog(ObjectDialogParent(label));
    dialog.WPRichText1->LoadFromStorage(label.RTFText());
    const double z = label.Zoom() == 0 ? 1.0 : static_cast<double>(label.Zoom());
    const int w = roundHalfEven(label.Width() / z);
    const int h = roundHalfEven(label.Height() / z);
    if (!label.Transparent()) dialog.SetPanelColor(label.BGColor());
    dialog.SetPanelSize(label.Width() + 1, label.Height() + 1);
    const int P = ScreenPixelsPerInch();
    dialog.WPRichText1->SetPageSize(truncToInt(w / double(P) * 1440), truncToInt(h / double(P) * 1440));
    dialog.WPRichText1->SetZoomPercent(roundHalfEven(z * 100));
    QApplication::restoreOverrideCursor();

    if (RunModalDialog(dialog) != QDialog::Accepted) return;
    TWPRtfStorage text;
    text.AssignFrom(*dialog.WPRichText1);
    label.SetRTFText(text);
}

}  // namespace plennix
