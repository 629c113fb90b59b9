#pragma once
// The calendar page as a screen reader reads it. The page is a table of its day cells (row and column;
// each cell named by its date in the page's own names and its text), followed by its placed objects in
// z-order (each named by its kind and caption, at its place on the screen) and its visible child
// controls (the cell editor, the selection frame). The selection frame reads as what it holds, so that
// selecting an object with Ctrl+Tab reads the object. Installed once, with the first page.
#include <QString>

namespace plennix {

class TCalendarPanel32;
class TGGraphicControl;

void InstallPageAccessibility();

// What a placed object is read as: its kind and caption, "SuperText: Happy Holidays",
// "Text label: Enter text...", "Image", "Mini calendar: December 2026".
QString PlacedObjectName(const TGGraphicControl& object);
// What a day cell is read as, "Friday 24 December: Christmas Eve"; empty for a cell that is no day cell.
QString PageCellName(const TCalendarPanel32& page, int cell);

// Tells screen readers that the cell focus is now on `cell`.
void AnnounceCellFocus(TCalendarPanel32& page, int cell);
// Tells screen readers which objects came onto the page or left it since they were last told, and
// which cells and objects are now read by another name (a cell's text, an object's caption).
void AnnounceObjectChanges(TCalendarPanel32& page);

}  // namespace plennix
