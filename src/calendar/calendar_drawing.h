#pragma once
// Drawing of the calendar page through the Canvas: month calendars (the main one and every mini),
// week and day planners, and the cell text pass. The same routines serve the screen, bitmaps and the
// printer; while drawing they record the cells' rectangles and day numbers and the click rectangles.
#include <QImage>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

#include "calendar/calendar_settings.h"
#include "calendar/layout_geometry.h"
#include "platform/canvas.h"

namespace plennix {

// A font as the drawing routines take it: size in points (already multiplied by the zoom on screen).
struct DrawFont {
    QString name;
    int size = 10;
    FontStyles style = 0;
    TColor color = clBlack;
    FontPitch pitch = FontPitch::fpDefault;
};

// The block of values handed to the month, week and day routines.
struct CalendarDrawParams {
    TColor pageBackground = clWhite;
    TColor titleBackground = clWhite;
    int minTitleHeight = 0;
    int month = 1, year = 1997, day = 1;
    Rect rect;  // calendar rectangle in drawing pixels
    TCalendarNumberPosition numberPosition = TCalendarNumberPosition::cnpCenter;
    int startOfWeek = 1;
    TCalBorderStyle frameStyle = TCalBorderStyle::cbAll;
    DrawFont titleFont;
    bool showYear = true;
    DrawFont headersFont;
    TCalBorderStyle headersBorder = TCalBorderStyle::cbAll;
    TCalHeadersStyle headersStyle = TCalHeadersStyle::dsThreeChars;
    TColor headersBackground = clWhite;
    DrawFont cellFont;
    TCalBorderStyle cellBorder = TCalBorderStyle::cbAll;
    std::array<QString, 12> monthNames;
    std::array<QString, 7> dayNames;
    CellInfoArray cells{};
    Rect titleRect, dayNameRowRect;
    int dayCount = 7;
    int slotCount = 10;
    double firstSlotTime = 8.0 / 24.0;

    // The device: pixels per inch for font heights, and the printer's rules.
    int ppi = 96;
    bool printing = false;
    // A pass that only measures (MeasureCalendarPage): its labels are neither laid out nor drawn; the
    // geometry and the fonts' line heights are what a drawing pass finds.
    bool measuring = false;
};

// The block for the main calendar or planner at a zoom (screen and bitmap).
CalendarDrawParams MainDrawParams(const CalendarSettings& s, const LayoutResult& layout, float zoom,
                                  int ppi = ScreenPixelsPerInch());
// The block for the minis at a zoom; rect, month and year are filled per mini.
CalendarDrawParams MiniDrawParams(const CalendarSettings& s, float zoom, int ppi = ScreenPixelsPerInch());

// Pixel height (positive) of a drawing font on a device.
int FontPixelHeight(const DrawFont& f, int ppi);
void SelectFont(Canvas& c, const DrawFont& f, int ppi);

void DrawBorder(Canvas& c, const Rect& r, TCalBorderStyle style);
void DrawMonthCalendar(Canvas& c, CalendarDrawParams& p, const QString& titleText = QString());
void DrawWeekPlanner(Canvas& c, CalendarDrawParams& p, const QString& titleText = QString());
void DrawDayPlanner(Canvas& c, CalendarDrawParams& p, const QString& titleText = QString());
void DrawPlannerGrid(Canvas& c, CalendarDrawParams& p, int rows, const QStringList& upper, const QStringList& lower,
                     const QString& title);

// Texts the routines compose.
QString AbbreviateDayName(const QString& name, TCalHeadersStyle style);
QString MonthTitle(const QString& monthName, int year, bool showYear);
QString WeekPlannerTitle(const std::array<QString, 12>& monthNames, const CalDate& first, int days);
QString DayPlannerTitle(const std::array<QString, 12>& monthNames, const std::array<QString, 7>& dayNames,
                        const CalDate& day);
// "h:mm ampm" with the locale's designators.
QString FormatSlotTime(double time);
// Time of slot i (from 0) of a day planner.
double SlotTime(double first, int slot);
// The day number a planner row records: the first two characters of its lower label, blanks removed.
int PlannerLabelDay(const QString& lowerLabel);
// Removes characters from the end until the text fits `width` in the canvas font (printing).
QString ShortenToFit(const Canvas& c, QString text, int width);

// Cell texts come from the rich text engine: `hasText` tells whether a cell holds text (null: every
// cell does); `paint` paints the cell's text onto `target` from its top-left corner within
// (rFree.right - rFree.left + 1) x (rFree.bottom - rFree.top + 1) pixels at the given zoom (the
// renderer's zoom percentage is ZoomPercent(zoom)). A zoom of 0 leaves the renderer at the zoom of
// its last screen pass: the printer lays each text out in the kept cell-1 rectangle, which has that
// zoom's size.
int ZoomPercent(float zoom);

struct CellTextPainter {
    std::function<bool(int cell)> hasText;
    std::function<void(Canvas& target, int cell, const Rect& rFree, float zoom)> paint;
};

// What a drawing pass leaves for click tests and printing.
struct PageDrawState {
    CellInfoArray cells{};
    Rect titleRect, dayNameRowRect;
    Rect cell1Text;  // cell 1's rFree grown by 5 pixels right and bottom
};

// Each cell's text, rendered into its own scratch bitmap and copied into rFree.
void DrawCellTexts(Canvas& c, const CellInfoArray& cells, float zoom, const CellTextPainter& texts);

// The calendar part of the screen paint: the main calendar or planner with its cell texts, then the
// minis. The caller provides a canvas over the off-screen bitmap of the panel's size.
void PaintCalendarPage(Canvas& c, const CalendarSettings& s, const LayoutResult& layout, float zoom,
                       PageDrawState& state, const CellTextPainter* texts = nullptr,
                       int ppi = ScreenPixelsPerInch());

// What PaintCalendarPage leaves in `state` (the cells, title and day-name row, cell 1's text rectangle),
// found without laying out or drawing a label, and without the minis, which leave nothing there: what
// output needs of a screen pass for a page never shown.
void MeasureCalendarPage(const CalendarSettings& s, const LayoutResult& layout, float zoom, PageDrawState& state,
                         int ppi = ScreenPixelsPerInch());

// The calendar alone in a bitmap of the panel's size (white where nothing is drawn).
QImage PaintToBitmap(const CalendarSettings& s, const LayoutResult& layout, float zoom, PageDrawState& state,
                     const CellTextPainter* texts = nullptr, int ppi = ScreenPixelsPerInch());

// Printing: the canvas draws in device pixels; page inches map to device units through
// `inchesToDevice` (default: truncation of inches x devicePpi).
struct PrintTarget {
    int devicePpi = 600;
    double offsetXInch = 0, offsetYInch = 0;
    std::function<Rect(double left, double top, double right, double bottom)> inchesToDevice;
    // Zoom the cell texts are laid out at; 0: the renderer's zoom of the last screen pass.
    float rendererZoom = 0.0f;
};

// Draws the page's calendar on a printer canvas: the main calendar or planner, the minis, then each
// cell's text as a vector picture stretched into the cell's device rFree. `rendererRect` is the kept
// cell-1 rectangle of the last screen pass (the renderer's size). `printState` receives the device
// cells.
void PrintCalendarPage(Canvas& c, const CalendarSettings& s, const LayoutResult& layout, const PrintTarget& target,
                       const Rect& rendererRect, PageDrawState& printState, const CellTextPainter* texts = nullptr,
                       int screenPpi = ScreenPixelsPerInch());

}  // namespace plennix
