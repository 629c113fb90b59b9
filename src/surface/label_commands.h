#pragma once
// The editor's commands on text labels: the menu entries of TGBaseLabel and TGPLabel and the dialogs
// they open (font, 3D effects, background colour, text).
#include "surface/object_menus.h"

namespace plennix {

class TGBaseLabel;
class TGPLabel;

// The label kinds' commands; a placed label (TGPLabel) adds its text and rotation entries.
ObjectCommands LabelCommands(bool placedLabel);

// The font dialog with colour (outline fonts only for turned text); a placed label then grows to hold
// its caption, whether a font was chosen or not.
void ChooseLabelFont(TGBaseLabel& label);
// The 3D effects dialog; on OK the document has changed.
void EditLabel3DEffectsOf(TGBaseLabel& label);
// The colour dialog; a chosen colour becomes the ground and the label stops being transparent.
void ChooseLabelBackColor(TGBaseLabel& label);
// The text dialog with the caption; on OK the new caption, grown to fit and repainted.
void EditLabelCaption(TGPLabel& label);

}  // namespace plennix
