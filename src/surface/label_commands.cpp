#include "surface/label_commands.h"

#include "platform/common_dialogs.h"
#include "surface/label.h"
#include "surface/label_dialogs.h"

namespace plennix {

ObjectCommands LabelCommands(bool placedLabel) {
    using L = TGBaseLabel;
    using P = TGPLabel;
    const QString alignment = QStringLiteral("Alignment");
    ObjectCommands c;
    c.entries = {
        ObjectMenuSeparator(),
        KindMenuEntry<L>(QStringLiteral("Font"), [](L& l) { ChooseLabelFont(l); }),
        KindMenuEntry<L>(QStringLiteral("3D Effects"), [](L& l) { EditLabel3DEffectsOf(l); }),
        KindMenuEntry<L>(
            QStringLiteral("Left"),
            [](L& l) {
                l.SetAlignment(taLeftJustify);
                l.NotifyChanged();
            },
            [](const L& l) { return l.Alignment() == taLeftJustify; }, alignment),
        KindMenuEntry<L>(
            QStringLiteral("Center"),
            [](L& l) {
                l.SetAlignment(taCenter);
                l.NotifyChanged();
            },
            [](const L& l) { return l.Alignment() == taCenter; }, alignment),
        KindMenuEntry<L>(
            QStringLiteral("Right"),
            [](L& l) {
                l.SetAlignment(taRightJustify);
                l.NotifyChanged();
            },
            [](const L& l) { return l.Alignment() == taRightJustify; }, alignment),
        KindMenuEntry<L>(
            QStringLiteral("Transparent"), [](L& l) { l.ToggleTransparent(); },
            [](const L& l) { return l.Transparent(); }),
        KindMenuEntry<L>(QStringLiteral("Background Color"), [](L& l) { ChooseLabelBackColor(l); }),
        KindMenuEntry<L>(
            QStringLiteral("Border"), [](L& l) { l.ToggleBorder(); },
            [](const L& l) { return l.BorderStyle() == bsSingle; }),
    };
    if (!placedLabel) return c;
    const QString rotation = QStringLiteral("Rotation");
    c.entries.push_back(ObjectMenuSeparator());
    c.entries.push_back(KindMenuEntry<P>(QStringLiteral("Text"), [](P& l) { EditLabelCaption(l); }));
    c.entries.push_back(ObjectMenuSeparator());
    c.entries.push_back(KindMenuEntry<P>(
        QStringLiteral("No Rotation"), [](P& l) { l.SetAngle(0); }, nullptr, rotation));
    c.entries.push_back(KindMenuEntry<P>(
        QStringLiteral("90 Degrees"), [](P& l) { l.SetAngle(90); }, nullptr, rotation));
    c.entries.push_back(KindMenuEntry<P>(
        QStringLiteral("180 Degrees"), [](P& l) { l.SetAngle(180); }, nullptr, rotation));
    c.entries.push_back(KindMenuEntry<P>(
        QStringLiteral("270 Degrees"), [](P& l) { l.SetAngle(270); }, nullptr, rotation));
    return c;
}

void ChooseLabelFont(TGBaseLabel& label) {
    // Turned text needs an outline font.
    FontRecord chosen = label.Font();
    if (ChooseFontWithColor(ObjectDialogParent(label), chosen, label.Angle() != 0)) {
        label.SetFont(chosen);
        label.MarkLayoutDirty();
    }
    if (auto* placed = qobject_cast<TGPLabel*>(&label)) placed->GrowToFit();
}

void EditLabel3DEffectsOf(TGBaseLabel& label) {
    if (EditLabel3DEffects(ObjectDialogParent(label), label)) label.NotifyChanged();
}

void ChooseLabelBackColor(TGBaseLabel& label) {
    if (auto chosen = ChooseColorDialog(label.BackColor(), ObjectDialogParent(label))) {
        label.SetBackColor(*chosen);
        label.SetTransparent(false);
        label.Invalidate();
    }
}

void EditLabelCaption(TGPLabel& label) {
    QString text = label.Caption();
    if (!EditLabelText(ObjectDialogParent(label), text)) return;
    label.SetCaption(text);
    label.GrowToFit();
    label.Invalidate();
}

}  // namespace plennix
