// The floating mini calendar: its names and geometry, what it draws (pixels), its object record and its
// vector printing.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include "objects/object_commands.h"
#include "surface/object_menus.h"
#include "objects/flat_calendar.h"
#include "platform/canvas.h"
#include "printing/report.h"
#include "surface/base_panel.h"
#include "surface/handle.h"
#include "surface/object_host.h"
#include "surface/object_stream.h"
#include "test_support.h"

namespace plennix {
namespace {

using test::PixelColor;

constexpr TColor kPage = RGB(200, 200, 200);

QImage draw(const FlatCalendarStyle& style, int w, int h, float zoom = 1.0f) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(toQColor(kPage));
    QPainter painter(&image);
    Canvas canvas(&painter);
    DrawFlatCalendar(canvas, style, w, h, zoom);
    return image;
}

int topLevelMenus() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) n += qobject_cast<QMenu*>(w) != nullptr;
    return n;
}

FlatCalendarStyle plainStyle() {
    FlatCalendarStyle s;
    s.Month = 2;
    s.Year = 2024;
    s.TitleFont.setSize(8);
    s.DayNameFont.setSize(8);
    s.CellFont.setSize(7);
    return s;
}

TEST(FlatCalendarNames, FourLanguagesNameMonthsAndDaysAsStored) {
    EXPECT_EQ(FlatMonthName(fclGerman, 3), QStringLiteral("März"));
    EXPECT_EQ(FlatMonthName(fclFrench, 8), QStringLiteral("Août"));
    EXPECT_EQ(FlatMonthName(fclItalian, 1), QStringLiteral("Gennaio"));
    EXPECT_EQ(FlatMonthName(fclSpanish, 12), QStringLiteral("Diciembre"));
    EXPECT_EQ(FlatMonthName(fclEnglish, 0), QString());
    EXPECT_EQ(FlatMonthName(fclEnglish, 13), QString());
    EXPECT_EQ(FlatDayNames(fclGerman)[5], QStringLiteral("Freitag "));
    EXPECT_EQ(FlatDayNames(fclItalian)[1], QStringLiteral("Lunedì"));
    EXPECT_EQ(FlatDayNames(fclSpanish)[6], QStringLiteral("Sábado"));
    EXPECT_EQ(FlatDayNames(fclFrench)[0], QStringLiteral("Dimanche"));
    // Names are held in the 8-bit Western set: every accented letter is one byte there.
    EXPECT_EQ(FlatMonthName(fclFrench, 2).toLatin1(), QByteArray("F\xE9vrier"));
}

TEST(FlatCalendarNames, HeaderStylesCutTheNames) {
    QStringList three, first;
    for (const QString& d : FlatDayNames(fclGerman)) three << FlatDayNameText(d, fdsThreeChars);
    EXPECT_EQ(three, QStringList({"Son", "Mon", "Die", "Mit", "Don", "Fre", "Sam"}));
    for (const QString& d : FlatDayNames(fclSpanish)) first << FlatDayNameText(d, fdsFirstChar);
    EXPECT_EQ(first, QStringList({"D", "L", "M", "M", "J", "V", "S"}));
    EXPECT_EQ(FlatDayNameText(FlatDayNames(fclFrench)[3], fdsWhole), QStringLiteral("Mercredi"));
    // Monday first puts Sunday last.
    EXPECT_EQ(FlatColumnDay(0, 2), 2);
    EXPECT_EQ(FlatColumnDay(6, 2), 1);
    EXPECT_EQ(FlatColumnDay(0, 1), 1);
}

TEST(FlatCalendarGeometry, FirstColumnAndDaysFollowTheWeekStart) {
    // 1 February 2024 is a Thursday.
    EXPECT_EQ(FlatFirstColumn(2024, 2, 1), 5);
    const int first = FlatFirstColumn(2024, 2, 2);
    EXPECT_EQ(first, 4);
    EXPECT_EQ(FlatCellDay(0, 3, first, 29), 1);
    EXPECT_EQ(FlatCellDay(0, 2, first, 29), 0);
    EXPECT_EQ(FlatCellDay(4, 3, first, 29), 29);
    EXPECT_EQ(FlatCellDay(4, 4, first, 29), 0);
    // 1 December 2024 is a Sunday: with Monday first it lies in column 7 and the 31st reaches row 6.
    const int dec = FlatFirstColumn(2024, 12, 2);
    EXPECT_EQ(dec, 7);
    EXPECT_EQ(FlatCellDay(0, 6, dec, 31), 1);
    EXPECT_EQ(FlatCellDay(5, 1, dec, 31), 31);
    EXPECT_EQ(FlatFirstColumn(2024, 13, 1), 0);
    EXPECT_EQ(FlatCellDay(0, 0, 0, 0), 0);
}

TEST(FlatCalendarGeometry, ShadowPositionsAndZoom) {
    struct Case {
        TFlatShadowPosition pos;
        Rect calendar, shadow;
    } cases[] = {
        {fcpLowerRight, {0, 0, 94, 74}, {6, 6, 100, 80}},
        {fcpLowerLeft, {6, 0, 100, 74}, {0, 6, 94, 80}},
        {fcpUpperRight, {0, 6, 94, 80}, {6, 0, 100, 74}},
        {fcpUpperLeft, {6, 6, 100, 80}, {0, 0, 94, 74}},
    };
    for (const Case& c : cases) {
        // A depth of 3 at zoom 2 draws 6 pixels.
        const FlatShadowGeometry g = ComputeFlatShadow(100, 80, 3, c.pos, 2.0f, false);
        EXPECT_TRUE(g.hasShadow);
        EXPECT_EQ(g.calendar, c.calendar) << int(c.pos);
        EXPECT_EQ(g.shadow, c.shadow) << int(c.pos);
    }
    const FlatShadowGeometry transparent = ComputeFlatShadow(100, 80, 5, fcpLowerRight, 1.0f, true);
    EXPECT_FALSE(transparent.hasShadow);
    EXPECT_EQ(transparent.calendar, Rect(0, 0, 100, 80));
    EXPECT_FALSE(ComputeFlatShadow(100, 80, 0, fcpLowerRight, 1.0f, false).hasShadow);
    // Truncated: 3 at zoom 0.5 is 1 pixel.
    EXPECT_EQ(ComputeFlatShadow(100, 80, 3, fcpLowerRight, 0.5f, false).calendar, Rect(0, 0, 99, 79));
}

TEST(FlatCalendarGeometry, TitleTakesTheTextHeightWhenTheObjectIsSmall) {
    const FlatCalendarLayout big = ComputeFlatLayout(Rect(0, 0, 141, 201), 14, -11);
    EXPECT_EQ(big.R, Rect(0, 0, 140, 200));
    EXPECT_EQ(big.title, Rect(0, 0, 140, 34));  // trunc(0.17 * 200)
    EXPECT_EQ(big.dayNames, Rect(0, 34, 140, 50));  // trunc(1.5 * 11)
    EXPECT_EQ(big.columnWidth, 20);
    EXPECT_EQ(big.rowHeight, 25);  // (200 - 50) div 6
    EXPECT_EQ(big.GridLineY(6), 200);
    EXPECT_EQ(big.CellRect(1, 2), Rect(41, 76, 59, 100));

    const FlatCalendarLayout small = ComputeFlatLayout(Rect(0, 0, 71, 61), 14, -11);
    EXPECT_EQ(small.title.bottom, 14);  // 0.17 * 60 would be 10
    EXPECT_EQ(small.rowHeight, (60 - 14 - 16) / 6);
}

TEST(FlatCalendarGeometry, FontsScaleWithTheZoom) {
    FontRecord f;
    f.setSize(8);
    EXPECT_EQ(FlatZoomedFont(f, 2.0f).size(), 16);
    EXPECT_EQ(FlatZoomedFont(f, 0.6f).size(), 4);   // 4.8 truncated
    EXPECT_EQ(FlatZoomedFont(f, 0.05f).size(), 1);  // never the device's default size
}

TEST(FlatCalendarDrawing, ShadowFallsTowardsItsCorner) {
    FlatCalendarStyle s = plainStyle();
    s.ShadowDepth = 5;
    s.ShadowColor = clRed;
    for (int pos = 0; pos < 4; ++pos) {
        s.ShadowPosition = static_cast<TFlatShadowPosition>(pos);
        const QImage img = draw(s, 140, 120);
        const bool right = pos == fcpLowerRight || pos == fcpUpperRight;
        const bool lower = pos == fcpLowerRight || pos == fcpLowerLeft;
        const int sx = right ? 137 : 2, sy = lower ? 117 : 2;      // a corner only the shadow covers
        const int ox = right ? 2 : 137, oy = lower ? 2 : 117;      // the opposite corner: the calendar
        EXPECT_EQ(PixelColor(img, sx, sy), clRed) << pos;
        EXPECT_EQ(PixelColor(img, ox, oy), clWhite) << pos;
        // Beside the shadow, in the two other corners, the page shows.
        EXPECT_EQ(PixelColor(img, sx, oy), kPage) << pos;
        EXPECT_EQ(PixelColor(img, ox, sy), kPage) << pos;
    }
}

TEST(FlatCalendarDrawing, BackgroundsBordersAndTransparency) {
    FlatCalendarStyle s = plainStyle();
    s.TitleBGcolor = clYellow;
    s.DayNameBGColor = clAqua;
    s.Backgroundcolor = clLime;
    s.CellBorderStyle = fcbNone;
    const QImage img = draw(s, 141, 201);
    // Title ground, day-name ground, body ground (bottom right cell is empty in February 2024).
    EXPECT_EQ(PixelColor(img, 3, 3), clYellow);
    EXPECT_EQ(PixelColor(img, 3, 40), clAqua);
    EXPECT_EQ(PixelColor(img, 135, 195), clLime);
    // The calendar's outline lies on R: the last column and row of the object.
    EXPECT_EQ(PixelColor(img, 140, 100), clBlack);
    EXPECT_EQ(PixelColor(img, 70, 200), clBlack);
    EXPECT_EQ(PixelColor(img, 0, 100), clBlack);

    s.CalTransparent = true;
    s.ShadowDepth = 4;
    const QImage clear = draw(s, 141, 201);
    // Nothing is filled: the page shows through in the title, the header and the body, but the
    // lines stay.
    EXPECT_EQ(PixelColor(clear, 3, 3), kPage);
    EXPECT_EQ(PixelColor(clear, 3, 40), kPage);
    EXPECT_EQ(PixelColor(clear, 135, 195), kPage);
    EXPECT_EQ(PixelColor(clear, 140, 100), clBlack);
    EXPECT_EQ(PixelColor(clear, 0, 34), clBlack);  // the day-name row's top line
}

TEST(FlatCalendarDrawing, CellGridStyles) {
    FlatCalendarStyle s = plainStyle();
    s.CalendarBorderStyle = fcbNone;
    s.DayNameBorderStyle = fcbNone;
    const FlatCalendarLayout l = ComputeFlatLayout(Rect(0, 0, 141, 201), 0, -11);
    const auto lineAt = [](const QImage& img, int y) { return PixelColor(img, 10, y) == clBlack; };
    const auto verticalAt = [&](const QImage& img, int x) { return PixelColor(img, x, l.bodyTop + 3) == clBlack; };

    s.CellBorderStyle = fcbTop;
    QImage img = draw(s, 141, 201);
    EXPECT_TRUE(lineAt(img, l.GridLineY(0)));
    EXPECT_FALSE(lineAt(img, l.R.bottom));
    EXPECT_FALSE(verticalAt(img, l.R.left + l.columnWidth));

    s.CellBorderStyle = fcbBottom;
    img = draw(s, 141, 201);
    EXPECT_FALSE(lineAt(img, l.GridLineY(0)));
    EXPECT_TRUE(lineAt(img, l.R.bottom));

    s.CellBorderStyle = fcbAll;
    img = draw(s, 141, 201);
    EXPECT_TRUE(lineAt(img, l.GridLineY(0)));
    EXPECT_TRUE(verticalAt(img, l.R.left + l.columnWidth));
    EXPECT_TRUE(verticalAt(img, l.R.right));
}

TEST(FlatCalendarObject, SettersKeepTheirLimits) {
    TGFlatCalendar cal;
    cal.SetShadowDepth(11);
    EXPECT_EQ(cal.ShadowDepth(), 0);
    cal.SetShadowDepth(10);
    EXPECT_EQ(cal.ShadowDepth(), 10);
    cal.SetStartOfWeek(3);
    EXPECT_EQ(cal.StartOfWeek(), 1);
    cal.SetStartOfWeek(2);
    EXPECT_EQ(cal.StartOfWeek(), 2);
    EXPECT_EQ(cal.TitleFont().size(), 8);
    EXPECT_EQ(cal.CellFont().size(), 7);
    EXPECT_EQ(cal.TitleFont().color, clWindowText);
}

TEST(FlatCalendarObject, SelectedFloaterShowsTheFramesSquares) {
    // The floater draws no squares in its own painting, but the selection frame marks it like any
    // other object, so that a person sees what is selected and where to grab it.
    QWidget owner;
    owner.resize(300, 240);
    auto* panel = new TGBasePanel(&owner);
    panel->SetNamingOwner(&owner);
    panel->setGeometry(0, 0, 300, 240);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    auto* cal = new TGFlatCalendar(&owner);
    cal->Loaded();
    panel->AddObject(cal, Rect::fromBounds(60, 50, 140, 120));
    panel->Frame()->AddToSelection(cal);
    const QImage image = panel->grab().toImage();
    // Top-left corner square and the top edge square, just outside the calendar.
    EXPECT_EQ(PixelColor(image, 58, 48), clBlack);
    EXPECT_EQ(PixelColor(image, 60 + 70, 48), clBlack);
    panel->Frame()->ClearSelection();
    EXPECT_NE(PixelColor(panel->grab().toImage(), 58, 48), clBlack);
}

TEST(FlatCalendarObject, MenuEndsWithProperties) {
    RegisterDecorativeObjectCommands();
    TGFlatCalendar cal;
    cal.Loaded();
    ASSERT_NE(ObjectContextMenu(cal), nullptr);
    const auto actions = ObjectContextMenu(cal)->actions();
    ASSERT_GE(actions.size(), 2);
    EXPECT_EQ(actions.last()->text(), QStringLiteral("Properties"));
    EXPECT_TRUE(actions[actions.size() - 2]->isSeparator());
}

TEST(FlatCalendarRecord, PropertiesInOrderAndReadBackWhole) {
    RegisterDecorativeObjectCommands();
    RegisterFlatCalendarClass();
    TGFlatCalendar cal;
    cal.SetBounds(10, 20, 150, 130);
    cal.SetMonth(3);
    cal.SetYear(2027);
    cal.SetStartOfWeek(2);
    FontRecord f = cal.TitleFont();
    f.style = fsBold | fsItalic;
    f.color = RGB(0x12, 0x34, 0x56);
    f.setSize(12);
    cal.SetTitleFont(f);
    cal.SetShowYear(true);
    cal.SetDayNameBGColor(clSilver);
    cal.SetCalendarBorderStyle(fcbTopBottom);
    cal.SetDayNameBorderStyle(fcbNone);
    cal.SetCellBorderStyle(fcbAll);
    cal.SetDayNameStyle(fdsWhole);
    cal.SetTitleBGcolor(12572607);
    cal.SetShadowDepth(4);
    cal.SetShadowPosition(fcpUpperLeft);
    cal.SetLanguage(fclItalian);
    cal.SetCalTransparent(true);

    const QByteArray record = WriteObjectRecord(cal);
    StreamReader text(record);
    const QString dump = ObjectRecordToText(text);
    const QStringList order = {"StartOfWeek", "Month", "Year", "TitleFont.Color", "TitleFont.Style",
                               "DayNameFont.Color", "CellFont.Style", "ShowYear", "DayNameBGColor",
                               "CalendarBorderStyle", "DayNameBorderStyle", "CellBorderStyle", "DayNameStyle",
                               "TitleBGcolor", "Backgroundcolor", "ShadowColor", "ShadowDepth", "ShadowPosition",
                               "Language", "CalTransparent"};
    qsizetype at = dump.indexOf(QStringLiteral("Unselectable"));
    for (const QString& name : order) {
        const qsizetype next = dump.indexOf(QStringLiteral("  ") + name + QStringLiteral(" ="), at);
        ASSERT_GT(next, at) << name.toStdString() << "\n" << dump.toStdString();
        at = next;
    }
    EXPECT_TRUE(dump.contains(QStringLiteral("CellBorderStyle = fcbAll")));
    EXPECT_TRUE(dump.contains(QStringLiteral("Language = fclItalian")));

    QByteArray list;
    WriteObjectList(list, {&cal});
    QObject owner;
    TGObjectHost host;
    StreamReader in(list);
    const int menusBefore = topLevelMenus();
    const auto read = ReadObjectList(in, &owner, &host.ObjectList(), &owner, false);
    // Reading builds no menu: the menu is made when a person first opens it.
    EXPECT_EQ(topLevelMenus(), menusBefore);
    ASSERT_EQ(read.size(), 1u);
    auto* back = qobject_cast<TGFlatCalendar*>(read[0]);
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(back->Style() == cal.Style());
    EXPECT_EQ(back->BoundsRect(), cal.BoundsRect());
    back->SetName(cal.Name());
    EXPECT_EQ(WriteObjectRecord(*back), record);
    ASSERT_NE(ObjectContextMenu(*back), nullptr);
    EXPECT_EQ(ObjectContextMenu(*back)->actions().last()->text(), QStringLiteral("Properties"));
}

TEST(FlatCalendarPrinting, PdfHoldsVectorsNotAnImage) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("floater.pdf"));
    TGFlatCalendar cal;
    cal.SetBounds(96, 96, 192, 160);
    cal.SetShadowDepth(3);
    cal.SetTitleBGcolor(clYellow);
    {
        TReport report;
        report.SetPdfOutput(path);
        ASSERT_TRUE(report.BeginDoc());
        cal.PrintTo(report, 0.5, 0.5);
        report.EndDoc();
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    EXPECT_GT(pdf.size(), 500);
    EXPECT_FALSE(pdf.contains("/Subtype /Image"));
    EXPECT_FALSE(pdf.contains("/Subtype/Image"));
    EXPECT_TRUE(pdf.contains("/Font"));  // the names and numbers are text

    // Played onto a bitmap at 96 pixels per inch, the picture lands at the object's place on the page.
    QImage page(600, 500, QImage::Format_RGB32);
    page.fill(Qt::gray);
    TReport onImage;
    onImage.SetDevice(&page);
    ASSERT_TRUE(onImage.BeginDoc());
    cal.PrintTo(onImage, 0.0, 0.0);
    onImage.EndDoc();
    EXPECT_EQ(PixelColor(page, 96 + 5, 96 + 3), clYellow);
    EXPECT_EQ(PixelColor(page, 96 - 3, 96 + 3), PixelColor(page, 10, 10));
}

}  // namespace
}  // namespace plennix
