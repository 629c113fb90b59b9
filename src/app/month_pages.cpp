#include "app/month_pages.h"

#include <QDate>
#include <QFileInfo>
#include <algorithm>

#include "calendar/calendar_panel.h"
#include "objects/image_object.h"
#include "platform/dates.h"
#include "printing/report.h"
#include "recurring/fill_calendar.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"

namespace plennix {

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

namespace {
// Puts the document's own date, cell texts and title back and lets changes be reported again.
class PageRunGuard {
public:
    explicit PageRunGuard(TCalendarPanel32& page)
        : m_page(page),
          m_date{page.Settings().MainCalYear, page.Settings().MainCalMonth, page.Settings().MainCalDay},
          m_cells(page.Cells()),
          m_title(page.Settings().UserTitle),
          m_changed(std::move(page.LabelChangedEvent)) {
        page.LabelChangedEvent = nullptr;
    }
    ~PageRunGuard() {
        // A run with pictures showed them in place of a clip-art object's own; the page shows its own again.
        for (TGGraphicControl* object : m_page.Objects())
            if (auto* image = qobject_cast<TGImage*>(object)) image->SetStandInPicture(QImage());
        Show(m_date);
        for (int i = 1; i <= kCellCount; ++i) m_page.SetCellRtf(i, m_cells[static_cast<size_t>(i - 1)]);
        m_page.SetUserTitle(m_title);
        m_page.LabelChangedEvent = std::move(m_changed);
        m_page.update();
    }
    PageRunGuard(const PageRunGuard&) = delete;
    PageRunGuard& operator=(const PageRunGuard&) = delete;

    void Show(const PageDate& d) {
        m_page.SetMainCalYear(d.year);
        m_page.SetMainCalMonth(d.month);
        m_page.SetMainCalDay(d.day);
    }
    const PageDate& Start() const { return m_date; }

private:
    TCalendarPanel32& m_page;
    PageDate m_date;
    CellStores m_cells;
    QString m_title;
    std::function<void(QObject*)> m_changed;
};
}  // namespace

void ForEachMonthPage(TCalendarPanel32& page, int count, const std::function<void(int index)>& each) {
    if (count <= 0) return;
    PageRunGuard guard(page);
    const int family = page.LayoutFamily();
    for (int i = 0; i < count; ++i) {
        if (i >= 1) {
            // Cell texts belong to slots, not to dates: on another month they would land on wrong days.
            // Each page starts empty, also of what the page before it was filled with.
            page.ClearCellTexts();
            page.SetUserTitle(QString());
        }
        guard.Show(AdvancePageDate(family, guard.Start(), i));
        each(i);
    }
}

void PrintMonthPages(TCalendarPanel32& page, TReport& report, int count, const PagePreparer& prepare) {
    ForEachMonthPage(page, count, [&](int index) {
        if (prepare) prepare(page);
        if (index > 0) report.NewPage();
        page.PrintPage(report, 0.0, 0.0);
    });
}

void AppendCellParagraph(TCalendarPanel32& page, int cell, const QString& text) {
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

void FillPageWithRecurringDates(TCalendarPanel32& page, const QStringList& lines) {
    if (page.LayoutFamily() != 0) return;
    page.MeasureForPrint();  // the cells of this month, so that days find them
    const int year = page.Settings().MainCalYear, month = page.Settings().MainCalMonth;
    // The same texts on the same days, in the same order, as the File menu's fill puts there.
    for (const DayText& put : FillPlan(lines, year, month)) {
        const int cell = page.CellOfDay(put.day);
        if (cell > 0) AppendCellParagraph(page, cell, put.text);
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
