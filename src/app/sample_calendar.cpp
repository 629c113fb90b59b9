#include "app/sample_calendar.h"

#include <QObject>

#include "calendar/calendar_page.h"
#include "platform/stream_error.h"
#include "richtext/rtf_storage.h"
#include "surface/label.h"

namespace plennix {

namespace {
QByteArray cellRtf(const char* text, int colorIndex) {
    return QByteArray("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}"
                      "{\\colortbl;\\red0\\green0\\blue0;\\red192\\green0\\blue0;\\red0\\green0\\blue160;}"
                      "\\pard\\f0\\fs20\\cf") +
           QByteArray::number(colorIndex) + ' ' + QByteArray(text) + "\\par}";
}
}  // namespace

bool CreateSampleCalendar(const QString& path, QString* error) {
    QObject owner;
    TCalendarPage page;
    page.ResetToDefaults();
    page.SetCalendarLayout(TCalendarLayout::loFCMinisInTitleLS);
    page.SetMainCalYear(2026);
    page.SetMainCalMonth(12);
    page.SetMainCalDay(1);
    page.SetTitleBGColor(RGB(255, 244, 214));
    page.SetHeadersBGColor(RGB(214, 230, 255));
    page.PaintToBitmap();  // lays out the cells so that days can be found
    struct Note {
        int day;
        const char* text;
        int color;
    };
    const Note notes[] = {{4, "Team lunch", 1},   {8, "Dentist 9:30", 3},     {12, "Concert", 2},
                          {17, "Book club", 1},   {21, "Winter solstice", 3}, {24, "Christmas Eve", 2},
                          {25, "Christmas Day", 2}, {31, "New Year's Eve", 2}};
    for (const Note& n : notes) {
        const int cell = page.CellOfDay(n.day);
        if (cell < 1) continue;
        TWPRtfStorage store;
        store.SetRtfData(cellRtf(n.text, n.color));
        page.SetCellRtf(cell, store);
    }
    auto* label = new TGPLabel(&owner);
    label->Loaded();
    label->SetCaption(QStringLiteral("Happy Holidays!"));
    FontRecord font;
    font.name = QStringLiteral("Times New Roman");
    font.setSize(20);
    font.style = fsBold | fsItalic;
    font.color = RGB(160, 0, 0);
    label->SetFont(font);
    label->SetDepthShadow(2);
    label->SetcolorShadow(RGB(200, 200, 200));
    // Placed as the page in the window places a new object: named in its kind's series, at least 10 x 15.
    label->SetName(QStringLiteral("Special1"));
    label->SetList(&page.ObjectList());
    label->SetBounds(760, 720, 240, 40);
    label->GrowToFit();
    try {
        page.SaveToFile(path);
    } catch (const StreamError& e) {
        if (error) *error = e.message();
        return false;
    }
    return true;
}

}  // namespace plennix
