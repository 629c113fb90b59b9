#pragma once
// A run of consecutive calendar pages from one document: the same design and placed objects, the date
// advanced page by page (a month for month and multi-month pages, a week or two for the week planners,
// a day for the day planners). Shared by printing, Print Months and the command line's --months.
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace plennix {

struct CalendarSettings;
class TCalendarPage;
class TGGraphicControl;
class TReport;

// The document an output is made from: the page in the window, or a page read headless (the command
// line). Output reads it and never changes it.
class PageSource {
public:
    PageSource(const TCalendarPage& page) : m_page(&page) {}

    const CalendarSettings& Settings() const;
    const std::vector<TGGraphicControl*>& Objects() const;
    int LayoutFamily() const;
    // What a copy of the document is read from, and what it shows besides (zoom, grid): the window's
    // own page for the page in the window.
    const TCalendarPage& Page() const { return *m_page; }

private:
    const TCalendarPage* m_page = nullptr;
};

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

// Makes page 0..count-1 of the document in turn and calls `each` with it and its index, until `each`
// answers false. The pages are one copy of the document (PageCopy) at `zoom`, its date advanced page
// by page; pages after the first carry no cell texts and no user title (those belong to the document's
// own date). The copy goes when the run ends: the document's page is never changed. Throws StreamError
// when the document does not read back.
void ForEachMonthPage(const PageSource& document, int count, float zoom,
                      const std::function<bool(TCalendarPage& page, int index)>& each);

// Work done on each page of a run after its date is set and before it is output (filling it with
// recurring dates, a picture for the month).
using PagePreparer = std::function<void(TCalendarPage& page)>;

// Prints `count` consecutive pages of the document on a running report, one report page each (a new
// page before every page but the first), at zoom 1.0.
void PrintMonthPages(const PageSource& document, TReport& report, int count, const PagePreparer& prepare = {});

// Fills the page's own month with the recurring date lines (PXRECUR.DAX entries) that select its days,
// as the File menu's fill puts them there. Lays out the page first so that every day finds its cell.
// Month pages only: the days of a week or day planner are not those of one month, and a month's texts
// would land on the cells of other months' days with the same number. Answers whether the page was
// filled (false: not a month page, left as it was).
bool FillPageWithRecurringDates(TCalendarPage& page, const QStringList& lines);
// "week planner", "two-week planner", "day planner" or "multi-month page": what a page that the fill
// leaves alone is, for the message that says so; empty for a month page.
QString UnfilledPageKind(const PageSource& page);

// The file of page `index` of a run written as separate images: "Cal.png" gives "Cal-01.png",
// "Cal-02.png", ...; a run of one page keeps the name.
QString NumberedPageFile(const QString& path, int index, int count);

}  // namespace plennix
