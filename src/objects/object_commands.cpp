#include "objects/object_commands.h"

#include "objects/flat_calendar.h"
#include "objects/image_object.h"
#include "objects/rich_label.h"
#include "objects/super_text.h"
#include "surface/object_menus.h"

namespace plennix {

namespace {

ObjectCommands superTextCommands() {
    using S = TGSuperText;
    ObjectCommands c;
    c.entries = {
        ObjectMenuSeparator(),
        KindMenuEntry<S>(QStringLiteral("Font"), [](S& t) { ChooseSuperTextFont(t); }),
        KindMenuEntry<S>(
            QStringLiteral("Transparent"), [](S& t) { t.ToggleTransparent(); },
            [](const S& t) { return t.ControlTransparent(); }),
        KindMenuEntry<S>(QStringLiteral("Background Color"), [](S& t) { ChooseSuperTextBackground(t); }),
        KindMenuEntry<S>(
            QStringLiteral("Border"), [](S& t) { t.ToggleBorder(); },
            [](const S& t) { return t.BorderStyle() == bsSingle; }),
        KindMenuEntry<S>(QStringLiteral("Properties"), [](S& t) { EditSuperTextProperties(t); }),
    };
    return c;
}

ObjectCommands flatCalendarCommands() {
    using F = TGFlatCalendar;
    ObjectCommands c;
    c.entries = {
        ObjectMenuSeparator(),
        KindMenuEntry<F>(QStringLiteral("Properties"), [](F& f) { EditFlatCalendarProperties(f); }),
    };
    return c;
}

ObjectCommands imageCommands() {
    using I = TGImage;
    ObjectCommands c;
    c.entries = {
        ObjectMenuSeparator(),
        KindMenuEntry<I>(QStringLiteral("Load Image From Disk"), [](I& i) { LoadImageFromDisk(i); }),
        ObjectMenuSeparator(),
        KindMenuEntry<I>(
            QStringLiteral("Border"), [](I& i) { i.ToggleBorder(); },
            [](const I& i) { return i.BorderStyle() == bsSingle; }),
        KindMenuEntry<I>(
            QStringLiteral("Stretch to Fit"), [](I& i) { i.ToggleStretch(); }, [](const I& i) { return i.Stretch(); }),
        KindMenuEntry<I>(
            QStringLiteral("AutoSize"), [](I& i) { i.ToggleAutoSize(); }, [](const I& i) { return i.AutoSize(); }),
        ObjectMenuSeparator(),
        KindMenuEntry<I>(
            QStringLiteral("Picture of the Month"), [](I& i) { i.TogglePictureOfTheMonth(); },
            [](const I& i) { return i.IsPictureOfTheMonth(); }),
    };
    return c;
}

ObjectCommands richLabelCommands() {
    using R = TGPRichBaseLabel;
    ObjectCommands c;
    c.entries = {
        ObjectMenuSeparator(),
        KindMenuEntry<R>(
            QStringLiteral("Transparent"), [](R& l) { l.ToggleTransparent(); },
            [](const R& l) { return l.Transparent(); }),
        KindMenuEntry<R>(QStringLiteral("Background Color"), [](R& l) { ChooseRichLabelBackground(l); }),
        KindMenuEntry<R>(
            QStringLiteral("Border"), [](R& l) { l.ToggleBorder(); },
            [](const R& l) { return l.BorderStyle() == bsSingle; }),
        KindMenuEntry<R>(QStringLiteral("Edit"), [](R& l) { EditRichLabel(l); }),
    };
    // A double-click opens the editor; only a label that found its master is ever on a page.
    c.edit = [](TGGraphicControl& o, QObject*) { EditRichLabel(static_cast<R&>(o)); };
    return c;
}

}  // namespace

void RegisterDecorativeObjectCommands() {
    RegisterObjectCommands(QStringLiteral("TGSuperText"), superTextCommands());
    RegisterObjectCommands(QStringLiteral("TGFlatCalendar"), flatCalendarCommands());
    RegisterObjectCommands(QStringLiteral("TGImage"), imageCommands());
    RegisterObjectCommands(QStringLiteral("TGPRichBaseLabel"), richLabelCommands());
}

}  // namespace plennix
