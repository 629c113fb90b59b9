#pragma once
// The tool bar's icons and the application icon, drawn in code so that they scale and need no files.
#include <QIcon>

namespace plennix {

enum class ToolIcon {
    ZoomIn,
    ZoomOut,
    Properties,
    Print,
    IconPalette,
    Pointer,
    Text,
    ClipArt,
    RichText,
    SuperText,
    FloatingCalendar,
};

QIcon MakeToolIcon(ToolIcon which);
// A page of a calendar: the program's own icon (also installed as plennix.svg).
QIcon ApplicationIcon();

}  // namespace plennix
