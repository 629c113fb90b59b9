#include "objects/object_classes.h"

#include "objects/flat_calendar.h"
#include "objects/image_object.h"
#include "objects/rich_label.h"
#include "objects/super_text.h"

namespace plennix {

void RegisterDecorativeObjectClasses() {
    // Each kind adds its own registration call here.
    RegisterFlatCalendarClass();
    RegisterImageClass();
    RegisterRichLabelClass();
    RegisterSuperTextClass();
}

}  // namespace plennix
