// The mini calendar's properties command.
#include "objects/flat_calendar.h"
#include "objects/flat_calendar_editor.h"
#include "objects/object_commands.h"
#include "platform/common_dialogs.h"
#include "surface/object_menus.h"

namespace plennix {

void EditFlatCalendarProperties(TGFlatCalendar& calendar) {
    TFlatCalendarEditor dialog(ObjectWindow(calendar));
    calendar.CopyToSample(*dialog.Sample);
    dialog.SampleSized();
    if (RunModalDialog(dialog) != QDialog::Accepted) return;
    calendar.AssignStyle(*dialog.Sample);
}

}  // namespace plennix
