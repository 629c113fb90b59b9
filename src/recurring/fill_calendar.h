#pragma once
// Filling the day cells of the page's main month with the texts of chosen recurring dates. What goes
// where is a plain function; the command reaches the page, the cell editor, the icon palette and the
// selection dialog through callbacks that the main window (or a headless run) provides.
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace plennix {

struct DayText {
    int day = 0;
    QString text;
    bool operator==(const DayText&) const = default;
};

// The text an entry puts into a cell: the event field as stored for "#" and "%" entries, without
// surrounding blanks for "@" and "$" entries.
QString FillTextOf(const QString& line);

// The texts that the entry lines put on the days of month `month` of `year`, in the order they land:
// line by line in the given order, and within a line by ascending day. Lines that select no day (other
// months, unreadable formulas, dates that cannot be formed) contribute nothing.
std::vector<DayText> FillPlan(const QStringList& lines, int year, int month);

// What appending a paragraph to a day's cell needs of the page and the cell editor.
struct CellEditorOperations {
    std::function<int()> currentCell;                 // the cell index last opened (0: none)
    std::function<void()> saveRichtext;               // close an open cell editor, storing its text
    std::function<int(int day)> cellOfDay;            // the first cell 1..42 showing that day, 0: none
    std::function<void(int cell)> loadCell;           // load the cell's rich text into the editor, reformat
    std::function<void()> takeAttributesAndMoveToEnd; // remember the current character attributes
    std::function<bool()> isEmpty;                    // does the editor hold no text
    std::function<bool()> endsWithEmptyParagraph;     // is the last paragraph empty (a filled text's end)
    std::function<void()> newParagraph;
    std::function<void(const QString& text)> insertWithTakenAttributes;  // then reformat
    std::function<void(int cell)> storeCell;          // editor's rich text into the cell; repaints
    std::function<void()> setModified;                // the flag only; buttons are recomputed later
    std::function<void(int cell)> clickCell;          // open the cell in the cell editor again
};

// Appends `text` as a paragraph of its own at the end of the cell showing `day`; an empty cell gets the
// text followed by an empty paragraph. A text that already ends in an empty paragraph (as every filled
// text leaves it) gets the new text in that paragraph, so that texts follow one another without a
// blank line between them. The cell that was open before is opened again.
void PuttextOnDay(const CellEditorOperations& editor, int day, const QString& text);

struct FillCalendarHost {
    int year = 0;
    int month = 0;
    std::function<bool()> recurringDatesExist;                          // PXRECUR.DAX is there
    std::function<std::optional<QStringList>(QString* error)> loadLines; // its lines in file order
    std::function<bool()> paletteVisiblePreference;
    std::function<void()> hidePalette;
    std::function<void()> showPalette;
    std::function<void(const QString& message)> inform;
    // Offers the lines (every row selected) and answers the chosen ones in order; none when cancelled.
    std::function<std::optional<QStringList>(const QStringList& offered)> choose;
    std::function<void(int day, const QString& text)> puttextOnDay;
    std::function<void()> setButtons;
};

enum class FillOutcome { NoList, Unreadable, NoMatch, Cancelled, Filled };

// The File menu's "Fill Calendar with Recurring Dates".
FillOutcome FillCalendarWithRecurringDates(const FillCalendarHost& host);

}  // namespace plennix
