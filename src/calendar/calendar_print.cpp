#include "calendar/calendar_print.h"

namespace plennix {

void PrintPage(TReport& report, const CalendarSettings& s, const LayoutResult& layout, const Rect& rendererRect,
               double xOffsetInch, double yOffsetInch, PageDrawState& printState, const CellTextPainter* texts) {
    PrintTarget target;
    target.devicePpi = report.YDpi();
    target.offsetXInch = xOffsetInch;
    target.offsetYInch = yOffsetInch;
    target.inchesToDevice = [&report](double l, double t, double r, double b) { return report.InchRect(l, t, r, b); };
    PrintCalendarPage(report.canvas(), s, layout, target, rendererRect, printState, texts);
}

void ApplyPrinterOrientation(TReport& report, const CalendarSettings& s) {
    report.SetOrientation(s.CalendarOrientation == TCalendarOrientation::coLandscape ? ReportOrientation::poLandscape
                                                                                      : ReportOrientation::poPortrait);
}

}  // namespace plennix
