// The Properties command: what the dialog's OK and Cancel do to the document page.
#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "app/properties_command.h"
#include "calendar/calendar_panel.h"
#include "calendar/properties_dialog.h"
#include "platform/common_dialogs.h"
#include "richtext/rtf_storage.h"
#include "surface/label.h"
#include "test_support.h"

using namespace plennix;

namespace {

struct Document {
    QWidget owner;
    TCalendarPanel32 page{nullptr};
    bool newPending = false;
    int previewZoom = 30;
    bool modified = false;
    QStringList calls;
    PropertiesCommandContext context;

    Document() {
        page.SetCalendarLayout(TCalendarLayout::loFullCalendar);
        page.SetMainCalMonth(5);
        page.SetMainCalYear(2026);
        page.SetMainCalDay(1);
        page.show();
        context.mainWindow = &owner;
        context.page = &page;
        context.newCalendarPending = &newPending;
        context.previewZoomPercent = &previewZoom;
        context.modified = &modified;
        auto note = [this](const char* name) { return [this, name] { calls << name; }; };
        context.saveRichText = note("saveRichText");
        context.hidePalette = note("hidePalette");
        context.showPalette = note("showPalette");
        context.checkFloaterStatus = note("checkFloaterStatus");
        context.setButtons = note("setButtons");
        context.savePreferences = note("savePreferences");
    }
    // Texts belong to slots; slot `cell` holds a day of May 2026 in a month layout.
    void putText(int cell) {
        TWPRtfStorage store;
        store.SetRtfData("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Dentist\\par}");
        page.SetCellRtf(cell, store);
        EXPECT_TRUE(page.HasCellText());
    }
    void addLabel() {
        auto* label = new TGPLabel(&owner);
        label->Loaded();
        label->SetCaption("Note");
        page.AddObject(label, Rect::fromBounds(20, 20, 80, 30));
    }
    // Runs the command; `drive` works the dialog as a person would and closes it.
    bool run(const std::function<void(TCalendarProperties&)>& drive) {
        SetModalDialogRunner([&](QDialog& d) {
            auto& dlg = dynamic_cast<TCalendarProperties&>(d);
            dlg.show();
            drive(dlg);
            return dlg.result();
        });
        const bool accepted = RunPropertiesCommand(context);
        SetModalDialogRunner(nullptr);
        return accepted;
    }
};

void clickRow(TCalendarProperties& dlg, int row) {
    QListWidget* list = dlg.LayoutList;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

}  // namespace

TEST(PropertiesCommand, CancelLeavesThePageUntouchedButKeepsThePreviewZoom) {
    Document doc;
    doc.putText(10);
    CalendarSettings before = doc.page.Settings();
    const bool accepted = doc.run([](TCalendarProperties& dlg) {
        EXPECT_EQ(dlg.ZoomLabel->text(), "30%");
        clickRow(dlg, 12);
        dlg.ZoomInButton->click();
        dlg.CancelButton->click();
    });
    EXPECT_FALSE(accepted);
    EXPECT_FALSE(doc.modified);
    EXPECT_TRUE(doc.page.Settings().SameStyle(before));
    EXPECT_TRUE(doc.page.HasCellText());
    EXPECT_EQ(doc.previewZoom, 40);
    EXPECT_EQ(doc.calls, QStringList({"hidePalette", "saveRichText", "checkFloaterStatus", "showPalette",
                                      "setButtons", "savePreferences"}));
}

TEST(PropertiesCommand, OkWithoutChangesIsNoModification) {
    Document doc;
    doc.putText(10);
    EXPECT_TRUE(doc.run([](TCalendarProperties& dlg) { dlg.okbutton->click(); }));
    EXPECT_FALSE(doc.modified);
    EXPECT_TRUE(doc.page.HasCellText());
}

TEST(PropertiesCommand, WarningNoKeepsTheDialogThenYesClearsTextsAndObjects) {
    Document doc;
    doc.putText(10);
    doc.addLabel();
    test::MessageRecorder messages(false);
    const bool accepted = doc.run([&](TCalendarProperties& dlg) {
        EXPECT_TRUE(dlg.WarnOnLayoutChange);
        EXPECT_EQ(dlg.FamilyAtOpen, 0);
        clickRow(dlg, 11);
        dlg.okbutton->click();
        EXPECT_TRUE(dlg.isVisible());
        messages.answer = true;
        dlg.okbutton->click();
    });
    EXPECT_TRUE(accepted);
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(doc.page.Settings().CalendarLayout, TCalendarLayout::loDay10);
    EXPECT_FALSE(doc.page.HasCellText());
    EXPECT_TRUE(doc.page.Objects().empty());
}

TEST(PropertiesCommand, FamilyChangeWithoutTextsRemovesObjectsWithoutAsking) {
    Document doc;
    doc.addLabel();
    test::MessageRecorder messages;
    EXPECT_TRUE(doc.run([](TCalendarProperties& dlg) {
        EXPECT_FALSE(dlg.WarnOnLayoutChange);
        clickRow(dlg, 5);
        dlg.okbutton->click();
    }));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(doc.page.Settings().CalendarLayout, TCalendarLayout::loMC12Month);
    EXPECT_TRUE(doc.page.Objects().empty());
}

TEST(PropertiesCommand, SameFamilyKeepsObjectsAndANewMonthClearsTexts) {
    Document doc;
    doc.putText(10);
    doc.addLabel();
    EXPECT_TRUE(doc.run([](TCalendarProperties& dlg) {
        clickRow(dlg, 3);
        dlg.Button11->click();
        dlg.okbutton->click();
    }));
    EXPECT_EQ(doc.page.Settings().CalendarLayout, TCalendarLayout::loFC12After);
    EXPECT_EQ(doc.page.Settings().MainCalMonth, 6);
    EXPECT_EQ(doc.page.Objects().size(), 1u);
    EXPECT_FALSE(doc.page.HasCellText());
}

TEST(PropertiesCommand, GermanNamesReachThePage) {
    Document doc;
    EXPECT_TRUE(doc.run([](TCalendarProperties& dlg) {
        dlg.German->click();
        dlg.okbutton->click();
    }));
    EXPECT_EQ(doc.page.DayName(6), "Freitag ");
    EXPECT_EQ(doc.page.MonthName(12), "Dezember");
    EXPECT_TRUE(doc.modified);
}

TEST(PropertiesCommand, ANewCalendarStartsFromTheDefaults) {
    Document doc;
    doc.newPending = true;
    doc.putText(10);
    EXPECT_TRUE(doc.run([](TCalendarProperties& dlg) {
        EXPECT_TRUE(dlg.ResetOnShow);
        EXPECT_FALSE(dlg.WarnOnLayoutChange);
        dlg.okbutton->click();
    }));
    EXPECT_FALSE(doc.newPending);
    EXPECT_EQ(doc.page.Settings().CalendarLayout, TCalendarLayout::loFCMinisInTitleLS);
    EXPECT_EQ(doc.page.Settings().MainCalYear, QDate::currentDate().year());
    EXPECT_EQ(doc.page.Settings().LeftMarginInch, 0.5f);
}
