// Printing a page with every object kind: what one object sets on the printer (its clip, pen, brush,
// font, transform) never reaches the objects printed after it, nor the next page of a run of months.
#include <gtest/gtest.h>

#include <QPainter>

#include "calendar/calendar_panel.h"
#include "common/test_support.h"
#include "objects/flat_calendar.h"
#include "objects/image_object.h"
#include "objects/rich_label.h"
#include "objects/super_text.h"
#include "printing/report.h"
#include "richtext/rich_text_editor.h"
#include "shown_page.h"
#include "surface/label.h"

using namespace plennix;

namespace {

// A page holding one object of each kind, the SuperText (with a shadow, so that it clips twice) first
// in the z-order; each object apart from the others, and cell 10 with a text.
struct EveryKindPage : test::ShownPage {
    TGSuperText* superText = new TGSuperText(&owner);
    std::vector<TGGraphicControl*> later;

    EveryKindPage() {
        superText->Loaded();
        superText->SetCaption(QStringLiteral("Wj"));
        superText->SetShadowDepth(6);
        page->AddObject(superText, Rect::fromBounds(20, 20, 160, 80));

        auto* label = new TGPLabel(&owner);
        label->Loaded();
        label->SetCaption(QStringLiteral("Label text"));
        page->AddObject(label, Rect::fromBounds(220, 20, 160, 40));

        auto* rich = new TGPRichLabel(&owner);
        rich->Loaded();
        TWPRtfStorage rtf;
        rtf.SetRtfData("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs40 Rich words\\par}");
        rich->SetRTFText(rtf);
        page->AddObject(rich, Rect::fromBounds(420, 20, 200, 60));

        auto* mini = new TGFlatCalendar(&owner);
        mini->Loaded();
        page->AddObject(mini, Rect::fromBounds(20, 120, 180, 150));

        auto* image = new TGImage(&owner);
        image->Loaded();
        QImage dark(30, 20, QImage::Format_RGB32);
        dark.fill(QColor(20, 40, 60));
        image->SetPicture(TImagePicture::FromBitmap(dark));
        image->SetStretch(true);
        page->AddObject(image, Rect::fromBounds(240, 120, 90, 60));

        later = {label, rich, mini, image};
        TWPRtfStorage cellText;
        cellText.SetRtfData("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs40 Dentist\\par}");
        page->SetCellRtf(10, cellText);
        page->update();
        QCoreApplication::processEvents();
    }

    // Two pages printed one below the other through one report, as a run of months prints them, at
    // the screen's 96 pixels per inch so that page pixels and printed pixels coincide.
    QImage PrintTwoPages() {
        QImage sheet(page->width(), 2 * page->height(), QImage::Format_RGB32);
        sheet.setDotsPerMeterX(3780);
        sheet.setDotsPerMeterY(3780);
        sheet.fill(Qt::white);
        TReport report;
        report.SetDevice(&sheet);
        EXPECT_TRUE(report.BeginDoc()) << report.ErrorText().toStdString();
        page->PrintPage(report, 0.0, 0.0);
        page->PrintPage(report, 0.0, page->height() / 96.0);
        report.EndDoc();
        return sheet;
    }
};

Rect Below(const Rect& r, int dy) { return Rect(r.left, r.top + dy, r.right, r.bottom + dy); }

TEST(PrintedObjects, ASuperTextFirstLeavesNothingForTheObjectsAfterItNorTheNextPage) {
    EveryKindPage f;
    ASSERT_EQ(f.page->ObjectAt(0), f.superText);
    const QImage first = f.PrintTwoPages();
    // The same page with the SuperText printed last: the others' ink as it must be.
    f.superText->BringToFront();
    ASSERT_EQ(f.page->ObjectAt(f.page->ObjectCount() - 1), f.superText);
    const QImage last = f.PrintTwoPages();

    const int pageHeight = f.page->height();
    EXPECT_GT(test::DarkPixels(first, f.superText->BoundsRect()), 50);
    const char* const names[] = {"text label", "rich label", "floating calendar", "clip art"};
    for (size_t i = 0; i < f.later.size(); ++i) {
        SCOPED_TRACE(names[i]);
        const Rect r = f.later[i]->BoundsRect();
        const int expected = test::DarkPixels(last, r);
        EXPECT_GT(expected, 50);
        EXPECT_EQ(test::DarkPixels(first, r), expected);
        EXPECT_EQ(test::DarkPixels(first, Below(r, pageHeight)), expected);
    }
    const Rect cell = f.page->DrawState().cells[9].rFree;
    const int cellInk = test::DarkPixels(last, Below(cell, pageHeight));
    EXPECT_GT(cellInk, 30);
    EXPECT_EQ(test::DarkPixels(first, Below(cell, pageHeight)), cellInk);
}

// The report's own state bracket: a clip and a font set inside it are gone afterwards, and a played
// picture that switches clipping on does not bring a cleared clip back.
TEST(PrintedObjects, ReportStateAndClearedClipsDoNotComeBack) {
    QImage sheet(200, 100, QImage::Format_RGB32);
    sheet.setDotsPerMeterX(3780);
    sheet.setDotsPerMeterY(3780);
    sheet.fill(Qt::white);
    QPicture picture;
    {
        QPainter p(&picture);
        p.setClipRect(QRect(0, 0, 50, 50), Qt::IntersectClip);
        p.fillRect(QRect(0, 0, 50, 50), Qt::black);
    }
    TReport report;
    report.SetDevice(&sheet);
    ASSERT_TRUE(report.BeginDoc());
    report.SetFont(QStringLiteral("Arial"), 10);
    {
        ReportStateGuard state(report);
        report.SetFont(QStringLiteral("Times New Roman"), 30);
        QPainterPath corner;
        corner.addRect(0, 0, 5, 5);
        report.ClipToPath(corner);
    }
    EXPECT_EQ(report.FontName(), QStringLiteral("Arial"));
    EXPECT_EQ(report.FontSize(), 10);
    EXPECT_FALSE(report.painter().hasClipping());
    QPainterPath corner;
    corner.addRect(0, 0, 5, 5);
    report.ClipToPath(corner);
    report.ResetClip();
    report.StretchDraw(100 / 96.0, 0, 150 / 96.0, 50 / 96.0, picture);
    report.EndDoc();
    EXPECT_GT(test::DarkPixels(sheet, Rect(100, 0, 150, 50)), 2000);
}

}  // namespace
