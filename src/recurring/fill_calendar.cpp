#include "recurring/fill_calendar.h"

#include "recurring/formula.h"

namespace plennix {

QString FillTextOf(const QString& line) {
    const QChar kind = EntryKind(line);
    if (kind == u'$' || kind == u'@') return TrimBlanks(EntryEventField(line));
    return EntryEventField(line);
}

std::vector<DayText> FillPlan(const QStringList& lines, int year, int month) {
    std::vector<DayText> plan;
    for (const QString& line : lines) {
        const QString text = FillTextOf(line);
        for (int day : SelectedDays(line, year, month)) plan.push_back({day, text});
    }
    return plan;
}

void PuttextOnDay(const CellEditorOperations& editor, int day, const QString& text) {
    const int remembered = editor.currentCell();
    editor.saveRichtext();
    const int cell = editor.cellOfDay(day);
    if (cell <= 0) return;
    editor.loadCell(cell);
    editor.takeAttributesAndMoveToEnd();
    if (!editor.isEmpty() && !editor.endsWithEmptyParagraph()) editor.newParagraph();
    editor.insertWithTakenAttributes(text);
    editor.newParagraph();
    editor.setModified();
    editor.storeCell(cell);
    if (remembered > 0) editor.clickCell(remembered);
}

FillOutcome FillCalendarWithRecurringDates(const FillCalendarHost& host) {
    if (!host.recurringDatesExist()) return FillOutcome::NoList;
    const bool palette = host.paletteVisiblePreference();
    if (palette) host.hidePalette();
    auto showPaletteAgain = [&] {
        if (palette) host.showPalette();
    };
    QString error;
    const std::optional<QStringList> lines = host.loadLines(&error);
    if (!lines) {
        // A list that exists but cannot be read is reported rather than taken for an empty one.
        host.inform(error);
        showPaletteAgain();
        return FillOutcome::Unreadable;
    }
    const QStringList offered = FilterForMonth(*lines, host.year, host.month);
    if (offered.isEmpty()) {
        host.inform(QStringLiteral("No predefined dates match the current month"));
        showPaletteAgain();
        return FillOutcome::NoMatch;
    }
    const std::optional<QStringList> chosen = host.choose(offered);
    if (!chosen) {
        showPaletteAgain();
        return FillOutcome::Cancelled;
    }
    for (const DayText& put : FillPlan(*chosen, host.year, host.month)) host.puttextOnDay(put.day, put.text);
    showPaletteAgain();
    host.setButtons();
    return FillOutcome::Filled;
}

}  // namespace plennix
