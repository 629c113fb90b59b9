#include "app/properties_command.h"

#include <QDialog>

#include "app/preferences.h"
#include "app/zoom_steps.h"
#include "calendar/calendar_panel.h"
#include "calendar/properties_dialog.h"
#include "calendar/properties_preview.h"
#include "platform/common_dialogs.h"

namespace plennix {
namespace {
void Call(const std::function<void()>& f) {
    if (f) f();
}
}  // namespace

bool RunPropertiesCommand(PropertiesCommandContext& context) {
    TCalendarPanel32* page = context.page;
    if (!page) return false;
    Call(context.hidePalette);
    const int monthBefore = page->Settings().MainCalMonth;
    const int yearBefore = page->Settings().MainCalYear;
    Call(context.saveRichText);

    bool accepted = false;
    {
        TCalendarProperties dialog(context.mainWindow);
        dialog.RestorePlacement = [](QWidget& w) { RestorePlacement(w, QStringLiteral("TCalendarProperties")); };
        dialog.SavePlacement = [](QWidget& w) { SavePlacement(w, QStringLiteral("TCalendarProperties")); };
        CalendarPreview& preview = *dialog.ExampleCalendar;
        preview.SetZoom(PercentToZoom(context.previewZoomPercent ? *context.previewZoomPercent : 30));

        const bool newCalendar = context.newCalendarPending && *context.newCalendarPending;
        if (newCalendar) {
            dialog.ResetOnShow = true;
            dialog.WarnOnLayoutChange = false;
        } else if (!page->isHidden()) {
            dialog.FamilyAtOpen = page->LayoutFamily();
            dialog.WarnOnLayoutChange = page->HasCellText();
        }
        preview.AssignStyle(page->Settings());
        const int result = RunModalDialog(dialog);

        if (context.previewZoomPercent) *context.previewZoomPercent = ZoomToPercent(preview.Zoom());
        if (result == QDialog::Accepted) {
            if (!preview.SameStyle(page->Settings()) && context.modified) *context.modified = true;
            accepted = true;
            const int familyBefore = page->LayoutFamily();
            page->AssignStyle(preview.Settings());
            if (page->LayoutFamily() != familyBefore) {
                page->ClearCellTexts();
                page->ClearObjects();
            }
            const bool newMonth =
                page->Settings().MainCalMonth != monthBefore || page->Settings().MainCalYear != yearBefore;
            if (newMonth && page->HasDayCells()) page->ClearCellTexts();
        }
    }

    if (context.newCalendarPending) *context.newCalendarPending = false;
    page->update();
    Call(context.checkFloaterStatus);
    Call(context.showPalette);
    Call(context.setButtons);
    Call(context.savePreferences);
    return accepted;
}

}  // namespace plennix
