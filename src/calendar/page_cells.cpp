#include "calendar/page_cells.h"

#include <algorithm>

#include "calendar/calendar_drawing.h"
#include "platform/dates.h"

namespace plennix {

namespace {

bool isMonthPage(const CalendarSettings& s, const LayoutResult& layout) {
    return LayoutFamily(s.CalendarLayout) == 0 && layout.ShowMain;
}

int dayPlannerSlots(const CalendarSettings& s) { return s.CalendarLayout == TCalendarLayout::loDay15 ? 15 : 10; }

}  // namespace

int PageCellGrid::CellAt(int row, int column) const {
    if (row < 0 || row >= rows || column < 0 || column >= columns) return 0;
    return row * columns + column + 1;
}

PageCellGrid CellGridOf(const CalendarSettings& s, const LayoutResult& layout) {
    if (isMonthPage(s, layout)) {
        const CalDate m = SafeMonth(s.MainCalMonth, s.MainCalYear);
        const int lastCell = FirstDayPosition(m.month, m.year, s.StartOfWeek) + DaysInMonth(m.year, m.month) - 1;
        return {(lastCell + 6) / 7, 7};
    }
    if (IsPlannerLayout(s.CalendarLayout)) return {PlannerRowCount(s.CalendarLayout), 1};
    return {};
}

bool IsDayCell(const CalendarSettings& s, const LayoutResult& layout, int cell) {
    if (cell < 1 || cell > kCellCount) return false;
    if (isMonthPage(s, layout)) return MonthCellDay(cell, s.MainCalMonth, s.MainCalYear, s.StartOfWeek) != 0;
    if (IsPlannerLayout(s.CalendarLayout)) return cell <= PlannerRowCount(s.CalendarLayout);
    return false;
}

int StepCellFocus(const CalendarSettings& s, const LayoutResult& layout, int cell, CellStep step) {
    const PageCellGrid g = CellGridOf(s, layout);
    if (g.columns == 0) return cell;
    int target = cell;
    switch (step) {
    case CellStep::Left: target = cell - 1; break;
    case CellStep::Right: target = cell + 1; break;
    case CellStep::Up: target = cell - g.columns; break;
    case CellStep::Down: target = cell + g.columns; break;
    case CellStep::First:
    case CellStep::Last: {
        const int last = g.rows * g.columns;
        for (int k = 1; k <= last; ++k) {
            const int c = step == CellStep::First ? k : last + 1 - k;
            if (IsDayCell(s, layout, c)) return c;
        }
        return cell;
    }
    }
    return IsDayCell(s, layout, target) ? target : cell;
}

int StartCellFocus(const CalendarSettings& s, const LayoutResult& layout, const CalDate& today) {
    const PageCellGrid g = CellGridOf(s, layout);
    for (int c = 1; c <= g.rows * g.columns; ++c)
        if (CellDate(s, layout, c) == today) return c;
    return StepCellFocus(s, layout, 0, CellStep::First);
}

Rect KeyboardPlacement(Point at, int width, int height, int pageWidth, int pageHeight) {
    const int left = std::max(0, std::min(at.x, pageWidth - width));
    const int top = std::max(0, std::min(at.y, pageHeight - height));
    return Rect(left, top, left + width, top + height);
}

std::optional<CalDate> CellDate(const CalendarSettings& s, const LayoutResult& layout, int cell) {
    if (!IsDayCell(s, layout, cell)) return std::nullopt;
    if (isMonthPage(s, layout)) {
        CalDate d = SafeMonth(s.MainCalMonth, s.MainCalYear);
        d.day = MonthCellDay(cell, s.MainCalMonth, s.MainCalYear, s.StartOfWeek);
        return d;
    }
    const int days = s.CalendarLayout == TCalendarLayout::lo2Week ? 14 : 7;
    if (LayoutFamily(s.CalendarLayout) == 2 || LayoutFamily(s.CalendarLayout) == 3)
        if (cell <= days) return AddDays(PlannerStartDate(s), cell - 1);
    return std::nullopt;
}

QString CellCaption(const CalendarSettings& s, const LayoutResult& layout, int cell) {
    if (!IsDayCell(s, layout, cell)) return QString();
    if (const std::optional<CalDate> d = CellDate(s, layout, cell))
        return QStringLiteral("%1 %2 %3")
            .arg(s.DayName(DayOfWeek(d->year, d->month, d->day)), QString::number(d->day), s.MonthName(d->month))
            .simplified();
    const int family = LayoutFamily(s.CalendarLayout);
    if ((family == 4 || family == 5) && cell <= dayPlannerSlots(s))
        return FormatSlotTime(SlotTime(s.DayStartTime, cell - 1));
    return QStringLiteral("Notes");
}

QString CellReadName(const QString& caption, const QString& plainText) {
    // Pictures in the text are read as such; its lines are read as one, separated by commas.
    QString text = plainText;
    text.replace(QChar(0xFFFC), QStringLiteral(" picture "));
    QStringList lines;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString l = line.simplified();
        if (!l.isEmpty()) lines << l;
    }
    if (lines.isEmpty()) return caption;
    if (caption.isEmpty()) return lines.join(QStringLiteral(", "));
    return caption + QStringLiteral(": ") + lines.join(QStringLiteral(", "));
}

}  // namespace plennix
