// Writes the document bench/cli_startup.sh prints: a December 2026 month page with holiday texts in
// ten day cells.
#include <QApplication>
#include <QObject>
#include <cstdio>

#include "calendar/calendar_panel.h"
#include "december_2026.h"
#include "richtext/rtf_storage.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    QApplication app(argc, argv);
    using namespace plennix;
    RegisterCalendarObjectClasses();
    QObject owner;
    TCalendarPanel32 page;
    page.SetNamingOwner(&owner);
    page.ResetToDefaults();
    page.SetCalendarLayout(TCalendarLayout::loFullCalendar);
    page.SetMainCalYear(2026);
    page.SetMainCalMonth(12);
    page.SetMainCalDay(1);
    page.PaintToBitmap();  // lays out the cells so that days can be found
    for (const auto& h : bench::kDecember2026Holidays) {
        TWPRtfStorage store;
        store.SetRtfData(QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red192\\green0\\blue0;}"
                                    "\\f0\\fs20\\cf1 ") +
                         h.text + "\\par}");
        page.SetCellRtf(page.CellOfDay(h.day), store);
    }
    try {
        page.SaveToFile(QString::fromLocal8Bit(argv[1]));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
