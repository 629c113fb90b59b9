// The SuperText dialogs opened from its menu.
#include "objects/object_commands.h"
#include "objects/super_text.h"
#include "objects/super_text_dialogs.h"
#include "platform/common_dialogs.h"
#include "surface/object_menus.h"

namespace plennix {

void ChooseSuperTextFont(TGSuperText& text) {
    FontRecord chosen = text.Font();
    if (ChooseFontWithColor(ObjectDialogParent(text), chosen, true)) text.SetFont(chosen);
}

bool EditSuperTextProperties(TGSuperText& text) {
    TSuperTextProperties dialog(ObjectDialogParent(text));
    dialog.Preview->AssignFrom(text);
    dialog.SetTexturePath(text.LastBitmapFileNameandPath());
    if (RunModalDialog(dialog) != QDialog::Accepted) return false;
    text.SetLastBitmapFileNameandPath(dialog.TexturePath());
    text.TakeLookFrom(*dialog.Preview);
    return true;
}

void ChooseSuperTextBackground(TGSuperText& text) {
    if (auto chosen = ChooseColorDialog(text.BGColor(), ObjectDialogParent(text))) text.TakeBackgroundColor(*chosen);
}

}  // namespace plennix
