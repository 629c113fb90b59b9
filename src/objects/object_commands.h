#pragma once
// The editor's commands on the decorative objects: their menu entries, registered by class name with
// the surface's object menus, and the dialogs those entries open.
namespace plennix {

class TGFlatCalendar;
class TGImage;
class TGPRichBaseLabel;
class TGSuperText;

// Registers the menus and editors of SuperText, the floating mini calendar, the clip art image and the
// rich-text label. Registering again changes nothing.
void RegisterDecorativeObjectCommands();

// SuperText: the font dialog (outline fonts only: every effect is drawn through outline paths).
void ChooseSuperTextFont(TGSuperText& text);
// SuperText: the properties dialog on a preview; on OK the preview's look comes back. True when confirmed.
bool EditSuperTextProperties(TGSuperText& text);
// SuperText: the colour dialog for the ground.
void ChooseSuperTextBackground(TGSuperText& text);

// Mini calendar: the editor on a copy; on OK the copy's values come back.
void EditFlatCalendarProperties(TGFlatCalendar& calendar);

// Clip art: the image browser, and on OK its preview becomes the picture. The working folder is the
// same afterwards in every case. Returns whether a picture was taken over.
bool LoadImageFromDisk(TGImage& image);

// Rich-text label: the editor dialog on the label's text; on OK the text comes back.
void EditRichLabel(TGPRichBaseLabel& label);
// Rich-text label: the colour dialog for the ground.
void ChooseRichLabelBackground(TGPRichBaseLabel& label);

}  // namespace plennix
