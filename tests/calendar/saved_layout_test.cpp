// What a document saves is what the page shows: every change that moves an object's text or settles
// its size lays the object out at once, so that a saved document opens, paints and stays unmodified.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <functional>
#include <string>

#include "calendar/calendar_panel.h"
#include "objects/flat_calendar.h"
#include "objects/image_object.h"
#include "objects/rich_label.h"
#include "objects/super_text.h"
#include "richtext/rich_text_editor.h"
#include "shown_page.h"
#include "surface/label.h"

using namespace plennix;

namespace {

struct Change {
    const char* what;
    std::function<TGGraphicControl*(QObject* owner)> make;  // the object as placed with its tool
    Rect placed;
    std::function<void(TGGraphicControl*)> change;          // what a person then changes
};

TGSuperText* superText(TGGraphicControl* o) { return static_cast<TGSuperText*>(o); }
TGBaseLabel* label(TGGraphicControl* o) { return static_cast<TGBaseLabel*>(o); }

TGGraphicControl* makeSuperText(QObject* owner) { return TGSuperText::CreateForTool(owner); }
TGGraphicControl* makeLabel(QObject* owner) {
    auto* l = new TGPLabel(owner);
    l->SetCaption(QStringLiteral("Birthday"));
    return l;
}

QImage texture() {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(QColor(40, 90, 20));
    return image;
}

const Rect kTall = Rect::fromBounds(60, 80, 260, 140);

std::vector<Change> Changes() {
    return {
        {"SuperText made see-through and borderless, with a texture", makeSuperText, kTall,
         [](TGGraphicControl* o) {
             superText(o)->SetSurfaceType(stBrushImage);
             superText(o)->SetImage(texture());
             superText(o)->SetControlTransparent(true);
             superText(o)->SetBorderStyle(bsNone);
         }},
        {"SuperText borderless, then see-through", makeSuperText, kTall,
         [](TGGraphicControl* o) {
             superText(o)->SetBorderStyle(bsNone);
             superText(o)->SetControlTransparent(true);
         }},
        {"SuperText with a deeper shadow", makeSuperText, Rect::fromBounds(60, 80, 260, 20),
         [](TGGraphicControl* o) { superText(o)->SetShadowDepth(30); }},
        {"SuperText shadow turned up", makeSuperText, Rect::fromBounds(60, 80, 260, 20),
         [](TGGraphicControl* o) {
             superText(o)->SetShadowDepth(25);
             superText(o)->SetShadowOrientation(sdLeft);
         }},
        {"SuperText with a larger font", makeSuperText, Rect::fromBounds(60, 80, 260, 30),
         [](TGGraphicControl* o) {
             FontRecord f = superText(o)->Font();
             f.setSize(72);
             superText(o)->SetFont(f);
         }},
        {"SuperText caption", makeSuperText, Rect::fromBounds(60, 80, 3, 3),
         [](TGGraphicControl* o) { superText(o)->SetCaption(QStringLiteral("Gj")); }},
        {"SuperText resized", makeSuperText, Rect::fromBounds(60, 80, 260, 60),
         [](TGGraphicControl* o) {
             superText(o)->SetControlTransparent(true);
             superText(o)->SetBorderStyle(bsNone);
             o->SetBounds(o->Left(), o->Top(), 300, 200);
         }},
        {"label placed tall", makeLabel, kTall, [](TGGraphicControl*) {}},
        {"label caption", makeLabel, Rect::fromBounds(60, 80, 300, 60),
         [](TGGraphicControl* o) { label(o)->SetCaption(QStringLiteral("A much longer caption")); }},
        {"label font", makeLabel, Rect::fromBounds(60, 80, 300, 60),
         [](TGGraphicControl* o) {
             FontRecord f = label(o)->Font();
             f.setSize(8);
             label(o)->SetFont(f);
         }},
        {"label turned", makeLabel, Rect::fromBounds(60, 80, 300, 60),
         [](TGGraphicControl* o) { label(o)->SetAngle(90); }},
        {"label right-aligned", makeLabel, Rect::fromBounds(60, 80, 300, 60),
         [](TGGraphicControl* o) { label(o)->SetAlignment(taRightJustify); }},
        {"label shadow and highlight", makeLabel, Rect::fromBounds(60, 80, 300, 60),
         [](TGGraphicControl* o) {
             label(o)->SetDepthShadow(12);
             label(o)->SetDirectionShadow(sdDown);
             label(o)->SetDepthHighlight(9);
             label(o)->SetDirectionHighlight(hdUp);
         }},
        {"rich label see-through and borderless", [](QObject* owner) { return new TGPRichLabel(owner); },
         Rect::fromBounds(60, 80, 200, 60),
         [](TGGraphicControl* o) {
             auto* r = static_cast<TGPRichLabel*>(o);
             r->SetTransparent(false);
             r->SetBorderStyle(bsNone);
             TWPRtfStorage text;
             text.SetRtfData("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs40 Words\\par}");
             r->SetRTFText(text);
         }},
        {"floating calendar restyled", [](QObject* owner) { return new TGFlatCalendar(owner); },
         Rect::fromBounds(60, 80, 200, 160),
         [](TGGraphicControl* o) {
             auto* c = static_cast<TGFlatCalendar*>(o);
             c->SetShadowDepth(8);
             c->SetShowYear(false);
             c->SetCalTransparent(true);
         }},
        {"clip art sized to its picture", [](QObject* owner) { return new TGImage(owner); },
         Rect::fromBounds(60, 80, 200, 160),
         [](TGGraphicControl* o) {
             auto* i = static_cast<TGImage*>(o);
             QImage picture(37, 23, QImage::Format_RGB32);
             picture.fill(Qt::darkRed);
             i->SetPicture(TImagePicture::FromBitmap(picture));
             i->SetAutoSize(true);
         }},
    };
}

// Where two saved documents part, with a little of each from there, or "" when they are the same.
std::string Difference(const QByteArray& a, const QByteArray& b) {
    qsizetype i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    if (i == a.size() && i == b.size()) return {};
    return "at byte " + std::to_string(i) + ": " + a.mid(i, 24).toHex(' ').toStdString() + " / " +
           b.mid(i, 24).toHex(' ').toStdString() + " after " + a.mid(std::max<qsizetype>(0, i - 40), 40).toStdString();
}

TEST(SavedLayout, EveryKindAndLayoutChangeOpensUnmodified) {
    for (const Change& c : Changes()) {
        SCOPED_TRACE(c.what);
        QByteArray saved;
        Rect shownBounds;
        {
            test::ShownPage f;
            TGGraphicControl* o = c.make(&f.owner);
            f.page->AddObject(o, c.placed);
            c.change(o);
            // Saved straight away, before any paint could settle the object.
            saved = f.page->SaveToBytes();
            f.page->repaint();
            shownBounds = o->BoundsRect();
            EXPECT_EQ(Difference(f.page->SaveToBytes(), saved), "") << "painting changed what was saved";
        }
        test::ShownPage g;
        g.page->ClearObjects();
        g.page->LoadFromBytes(saved, &g.owner);
        ASSERT_EQ(g.page->ObjectCount(), 1);
        const QByteArray opened = g.page->SaveToBytes();
        int changes = 0;
        g.page->LabelChangedEvent = [&](QObject*) { ++changes; };
        g.page->repaint();
        QCoreApplication::processEvents();
        EXPECT_EQ(changes, 0);
        EXPECT_EQ(g.page->ObjectAt(0)->BoundsRect(), shownBounds);
        EXPECT_EQ(Difference(g.page->SaveToBytes(), opened), "");
        g.page->LabelChangedEvent = nullptr;
    }
}

}  // namespace
