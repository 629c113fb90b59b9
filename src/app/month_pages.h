#pragma once
// A run of consecutive calendar pages from one document: the same design and placed objects, the date
// advanced page by page (a month for month and multi-month pages, a week or two for the week planners,
// a day for the day planners). Shared by Print Months and the command line's --months.
#include <QString>
#include <QStringList>
#include <functional>

namespace plennix {

class TCalendarPanel32;
class TReport;

// Longest run the commands accept: five years of months.
constexpr int kMaxMonthPages = 60;

struct PageDate {
    int year = 1997;
    int month = 1;
    int day = 1;
    bool operator==(const PageDate&) const = default;
};

// The date of page `index` (0 = the document's own page) for a layout family (0 month pages,
// 1 multi-month pages, 2 week, 3 two weeks, 4 and 5 day planners). Month steps keep the day, clamped
// to the month's length.
PageDate AdvancePageDate(int layoutFamily, const PageDate& start, int index);

// Shows page 0..count-1 on `page` in turn and calls `each` with the index. Pages after the first carry
// no cell texts and no user title (those belong to the document's own date). The page's date, cell
// texts and title are restored afterwards, also when `each` throws. No change is reported meanwhile.
void ForEachMonthPage(TCalendarPanel32& page, int count, const std::function<void(int index)>& each);

// Work done on each page of a run after its date is shown and before it is output (filling it with
// recurring dates); the run's guard undoes it.
using PagePreparer = std::function<void(TCalendarPanel32& page)>;

// Prints `count` consecutive pages on a running report, one report page each (a new page before every
// page but the first), at the panel's current zoom (callers print at 1.0).
void PrintMonthPages(TCalendarPanel32& page, TReport& report, int count, const PagePreparer& prepare = {});

// Appends `text` to the end of cell `cell` as a paragraph of its own, in the format the cell's text
// starts with (as the fill command types it through the cell editor).
void AppendCellParagraph(TCalendarPanel32& page, int cell, const QString& text);
// Fills the page's own month with the recurring date lines (PXRECUR.DAX entries) that select its days.
// Lays out the page first so that every day finds its cell. Month pages only; others are left alone.
void FillPageWithRecurringDates(TCalendarPanel32& page, const QStringList& lines);

// The file of page `index` of a run written as separate images: "Cal.png" gives "Cal-01.png",
// "Cal-02.png", ...; a run of one page keeps the name.
QString NumberedPageFile(const QString& path, int index, int count);

}  // namespace plennix
