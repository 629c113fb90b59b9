#include "app/month_pages.h"

#include <QDate>
#include <QFileInfo>
#include <algorithm>

#include "app/document_io.h"
#include "calendar/calendar_page.h"
#include "platform/dates.h"
#include "printing/report.h"
#include "recurring/fill_calendar.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"

namespace plennix {


const CalendarSettings& PageSource::Settings() const { return m_page->Settings(); }

const std::vector<TGGraphicControl*>& PageSource::Objects() const { return m_page->Objects(); }

int PageSource::LayoutFamily() const { return ::plennix::LayoutFamily(Settings().CalendarLayout); }

PageDate AdvancePageDate(int layoutFamily, const PageDate& start, int index) {
    if (index <= 0) return start;
    int dayStep = 0;
    switch (layoutFamily) {
    case 2: dayStep = 7; break;
    case 3: dayStep = 14; break;
    case 4:
    case 5: dayStep = 1; break;
    default: break;
    }
    if (dayStep > 0) {
        const int startDays = DaysInMonth(start.year, start.month);
        const int startDay = std::clamp(start.day, 1, startDays > 0 ? startDays : 1);
        const QDate d = QDate(start.year, start.month, startDay).addDays(static_cast<qint64>(dayStep) * index);
        if (!d.isValid()) return start;
        return {d.year(), d.month(), d.day()};
    }
    // Month steps in whole months from the start month (months counted from year 0 keep it exact).
    const long months = static_cast<long>(start.year) * 12 + (start.month - 1) + index;
    PageDate d;
    d.year = static_cast<int>(months / 12);
    d.month = static_cast<int>(months % 12) + 1;
    const int length = DaysInMonth(d.year, d.month);
    d.day = length > 0 ? std::clamp(start.day, 1, length) : start.day;
    // A stored day of 0 (a page that never had one) stays 0: the geometry treats it as the 1st.
    if (start.day <= 0) d.day = start.day;
    return d;
}

void ForEachMonthPage(const PageSource& document, int count, float zoom,
                      const std::function<bool(TCalendarPage& page, int index)>& each) {
    if (count <= 0) return;
    // One copy serves the whole run, so that a picture of the document is one picture in the output
    // (a PDF embeds it once, however many pages show it).
    PageCopy copy(document);
    TCalendarPage& page = copy.Page();
    if (page.Zoom() != zoom) page.SetZoom(zoom);
    const PageDate start{page.Settings().MainCalYear, page.Settings().MainCalMonth, page.Settings().MainCalDay};
    const int family = page.LayoutFamily();
    for (int i = 0; i < count; ++i) {
        if (i >= 1) {
            // Cell texts belong to slots, not to dates: on another month they would land on wrong days.
            // Each page starts empty, also of what the page before it was filled with.
            page.ClearCellTexts();
            page.SetUserTitle(QString());
            const PageDate d = AdvancePageDate(family, start, i);
            page.SetMainCalYear(d.year);
            page.SetMainCalMonth(d.month);
            page.SetMainCalDay(d.day);
        }
        if (!each(page, i)) return;
    }
}

void PrintMonthPages(const PageSource& document, TReport& report, int count, const PagePreparer& prepare) {
    ForEachMonthPage(document, count, 1.0f, [&](TCalendarPage& page, int index) {
        // Printed cell texts are sized from the last screen pass; a page that was never shown gets one.
        if (index == 0 && page.HasCellText() && page.DrawState().cell1Text.isEmpty()) page.MeasureForPrint();
        if (prepare) prepare(page);
        if (index > 0) report.NewPage();
        page.PrintPage(report, 0.0, 0.0);
        return true;
    });
}

namespace {
// Appends `text` to the end of cell `cell` as a paragraph of its own, in the format the cell's text
// starts with (as the fill command types it through the cell editor).
void appendCellParagraph(TCalendarPage& page, int cell, const QString& text) {
    TWPRtfStorage* store = page.CellRtf(cell);
    if (!store) return;
    RtfText rtf = ReadRtf(store->RtfData());
    RtfCharFormat format;
    const RtfParagraph& first = rtf.paragraphs.front();
    format = first.runs.empty() ? first.markFormat : first.runs.front().format;
    if (!rtf.isEmpty()) rtf.paragraphs.push_back(RtfParagraph{});
    rtf.paragraphs.back().runs.push_back(RtfRun{format, text, nullptr});
    rtf.paragraphs.back().markFormat = format;
    RtfParagraph end;
    end.markFormat = format;
    rtf.paragraphs.push_back(end);
    TWPRtfStorage filled;
    filled.SetRtfData(WriteRtf(rtf));
    page.SetCellRtf(cell, filled);
}
}  // namespace

bool FillPageWithRecurringDates(TCalendarPage& page, const QStringList& lines) {
    if (page.LayoutFamily() != 0) return false;
    page.MeasureForPrint();  // the cells of this month, so that days find them
    const int year = page.Settings().MainCalYear, month = page.Settings().MainCalMonth;
    // The same texts on the same days, in the same order, as the File menu's fill puts there.
    for (const DayText& put : FillPlan(lines, year, month)) {
        const int cell = page.CellOfDay(put.day);
        if (cell > 0) appendCellParagraph(page, cell, put.text);
    }
    return true;
}

QString UnfilledPageKind(const PageSource& page) {
    switch (page.LayoutFamily()) {
    case 0: return QString();
    case 1: return QStringLiteral("multi-month page");
    case 2: return QStringLiteral("week planner");
    case 3: return QStringLiteral("two-week planner");
    default: return QStringLiteral("day planner");
    }
}

QString NumberedPageFile(const QString& path, int index, int count) {
    if (count <= 1) return path;
    const QFileInfo info(path);
    const int width = count >= 100 ? 3 : 2;
    QString name =
        info.completeBaseName() + QLatin1Char('-') + QStringLiteral("%1").arg(index + 1, width, 10, QLatin1Char('0'));
    if (!info.suffix().isEmpty()) name += QLatin1Char('.') + info.suffix();
    const QString dir = info.path();
    return dir == QLatin1String(".") && !path.startsWith(QLatin1String("./")) ? name : dir + QLatin1Char('/') + name;
}

}  // namespace plennix
