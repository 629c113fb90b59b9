// The page's commands on its objects (alignment, centring, z-order, selection, locking, marking, the
// Font command), its lazily built context menu, and which page owns the private clipboard file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QMenu>

#include "platform/common_dialogs.h"
#include "platform/file_io.h"
#include "surface/object_stream.h"
#include "surface/label.h"
#include "surface_test_support.h"
#include "test_support.h"

using namespace plennix;
using namespace plennix::test;

namespace {

struct CommandFixture : PanelFixture {
    TestBox* a = addBox(50, 60, 40, 30);
    TestBox* b = addBox(120, 40, 20, 50);
    TestBox* c = addBox(80, 100, 30, 10);
    CommandFixture() { changes = 0; }
    void select(std::initializer_list<TGGraphicControl*> objs) {
        panel->Frame()->ClearSelection();
        for (TGGraphicControl* o : objs) panel->Frame()->AddToSelection(o);
    }
};

int countMenus() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QMenu*>(w)) ++n;
    return n;
}

using FontChooserGuard = ScopedHook<FontChooser>;

}  // namespace

TEST(PanelCommands, AlignmentMovesOnlyTheSelectionToItsOuterEdge) {
    CommandFixture f;
    f.select({f.a, f.b});
    f.panel->AlignLeft();
    EXPECT_EQ(f.a->Left(), 50);
    EXPECT_EQ(f.b->Left(), 50);
    EXPECT_EQ(f.c->Left(), 80);  // not selected
    f.panel->AlignRight();       // right edges at the rightmost one (50 + 40)
    EXPECT_EQ(f.a->Left() + f.a->Width(), 90);
    EXPECT_EQ(f.b->Left() + f.b->Width(), 90);
    f.panel->AlignTops();
    EXPECT_EQ(f.a->Top(), 40);
    EXPECT_EQ(f.b->Top(), 40);
    f.panel->AlignBottoms();  // bottoms at the lowest one (40 + 50)
    EXPECT_EQ(f.a->Top() + f.a->Height(), 90);
    EXPECT_EQ(f.b->Top() + f.b->Height(), 90);
    EXPECT_EQ(f.c->Top(), 100);
    // Sizes never change, and each command is a change of the document.
    EXPECT_EQ(f.a->Width(), 40);
    EXPECT_EQ(f.b->Height(), 50);
    EXPECT_GE(f.changes, 4);
}

TEST(PanelCommands, AlignmentWithoutSelectionMovesNothing) {
    CommandFixture f;
    f.panel->AlignLeft();
    f.panel->AlignBottoms();
    EXPECT_EQ(f.a->BoundsRect(), Rect::fromBounds(50, 60, 40, 30));
    EXPECT_EQ(f.b->BoundsRect(), Rect::fromBounds(120, 40, 20, 50));
}

TEST(PanelCommands, CentringUsesThePageSize) {
    CommandFixture f;
    f.select({f.a, f.c});
    f.panel->CenterSelectionHorizontally();
    EXPECT_EQ(f.a->Left(), 200 - 20);
    EXPECT_EQ(f.c->Left(), 200 - 15);
    EXPECT_EQ(f.b->Left(), 120);
    f.panel->CenterSelectionVertically();
    EXPECT_EQ(f.a->Top(), 150 - 15);
    EXPECT_EQ(f.c->Top(), 150 - 7);  // a new object is at least 15 pixels high
    EXPECT_GE(f.changes, 1);
}

TEST(PanelCommands, ZOrderOfTheSelection) {
    CommandFixture f;
    f.select({f.a});
    f.panel->BringSelectionToFront();
    EXPECT_EQ(f.panel->Objects(), (std::vector<TGGraphicControl*>{f.b, f.c, f.a}));
    EXPECT_EQ(f.panel->Frame()->SelectionCount(), 1);  // bringing forward keeps the selection
    f.select({f.c});
    f.panel->SendSelectionToBack();
    EXPECT_EQ(f.panel->Objects(), (std::vector<TGGraphicControl*>{f.c, f.b, f.a}));
    EXPECT_EQ(f.panel->Frame()->SelectionCount(), 0);  // sending back leaves nothing selected
    EXPECT_GE(f.changes, 2);
}

TEST(PanelCommands, SelectionByRectangleAllAndShiftToggle) {
    CommandFixture f;
    f.panel->SelectInRect(Rect(45, 55, 95, 95), false);  // touches a only
    EXPECT_EQ(f.panel->Frame()->Selection(), (std::vector<TGGraphicControl*>{f.a}));
    // With Shift an object already selected leaves the selection, a new one joins it.
    f.panel->SelectInRect(Rect(40, 35, 150, 70), true);  // a and b
    EXPECT_EQ(f.panel->Frame()->Selection(), (std::vector<TGGraphicControl*>{f.b}));
    f.panel->SelectInRect(Rect(0, 0, 5, 5), false);
    EXPECT_EQ(f.panel->Frame()->SelectionCount(), 0);
    f.panel->SelectAll();
    EXPECT_EQ(f.panel->Frame()->SelectionCount(), 3);
}

TEST(PanelCommands, LockAndMarkEveryObject) {
    CommandFixture f;
    f.b->SetLocked(true);
    f.panel->LockAll();
    EXPECT_TRUE(f.a->Locked() && f.b->Locked() && f.c->Locked());
    f.panel->UnlockAll();
    EXPECT_FALSE(f.a->Locked() || f.b->Locked() || f.c->Locked());

    f.panel->SelectAll();
    f.panel->MarkAllUnselectable();
    EXPECT_TRUE(f.a->Unselectable() && f.c->Unselectable());
    // Unselectable objects leave the selection and cannot rejoin it.
    EXPECT_EQ(f.panel->Frame()->SelectionCount(), 0);
    f.panel->SelectAll();
    EXPECT_EQ(f.panel->Frame()->SelectionCount(), 0);
    f.panel->MarkAllSelectable();
    f.panel->SelectAll();
    EXPECT_EQ(f.panel->Frame()->SelectionCount(), 3);
}

TEST(PanelCommands, MenuIsBuiltOnFirstUseWithEnabledStates) {
    const int before = countMenus();
    CommandFixture f;
    EXPECT_EQ(countMenus(), before);  // neither the page nor its objects built a menu yet
    QAction* align = f.panel->PanelMenuAction(QStringLiteral("Align Left"));
    ASSERT_NE(align, nullptr);
    EXPECT_EQ(countMenus(), before + 1);
    EXPECT_FALSE(align->isEnabled());  // nothing selected
    EXPECT_TRUE(f.panel->PanelMenuAction(QStringLiteral("Select All"))->isEnabled());
    EXPECT_TRUE(f.panel->PanelMenuAction(QStringLiteral("Lock All"))->isEnabled());
    f.select({f.a, f.b});
    QAction* left = f.panel->PanelMenuAction(QStringLiteral("Align Left"));
    EXPECT_TRUE(left->isEnabled());
    left->trigger();
    EXPECT_EQ(f.b->Left(), 50);
    EXPECT_EQ(countMenus(), before + 1);  // the same menu again
}

TEST(PanelCommands, FontCommandKeepsEachObjectsColourUnlessAColourWasChosen) {
    PanelFixture f;
    auto* red = new TGPLabel(&f.owner);
    auto* blue = new TGPLabel(&f.owner);
    FontRecord rf, bf;
    rf.color = clRed;
    bf.color = clBlue;
    red->SetFont(rf);
    blue->SetFont(bf);
    f.panel->AddObject(red, Rect::fromBounds(10, 10, 100, 30));
    f.panel->AddObject(blue, Rect::fromBounds(10, 60, 100, 30));
    f.panel->SelectAll();

    FontRecord offered;
    {
        FontChooserGuard guard(SetFontChooser, [&](const FontRecord& font, QWidget*) {
            offered = font;
            FontRecord chosen = font;
            chosen.name = QStringLiteral("Courier New");
            chosen.style = fsBold;
            return std::optional<FontRecord>(chosen);
        });
        f.panel->ChooseFontForSelection();
    }
    EXPECT_EQ(offered, f.panel->PanelFont());  // the dialog starts from the page's font
    EXPECT_EQ(red->Font().name, QStringLiteral("Courier New"));
    EXPECT_EQ(blue->Font().style, fsBold);
    EXPECT_EQ(red->Font().color, clRed);
    EXPECT_EQ(blue->Font().color, clBlue);

    {
        FontChooserGuard guard(SetFontChooser, [](const FontRecord& font, QWidget*) {
            FontRecord chosen = font;
            chosen.color = clGreen;
            return std::optional<FontRecord>(chosen);
        });
        f.panel->ChooseFontForSelection();
    }
    EXPECT_EQ(red->Font().color, clGreen);
    EXPECT_EQ(blue->Font().color, clGreen);

    // Cancelled: nothing changes; no selection: no dialog at all.
    int asked = 0;
    {
        FontChooserGuard guard(SetFontChooser, [&](const FontRecord&, QWidget*) {
            ++asked;
            return std::optional<FontRecord>();
        });
        f.panel->ChooseFontForSelection();
        EXPECT_EQ(red->Font().color, clGreen);
        f.panel->Frame()->ClearSelection();
        f.panel->ChooseFontForSelection();
    }
    EXPECT_EQ(asked, 1);
}

TEST(PanelCommands, OnlyTheOwningPageDeletesTheClipboardFile) {
    auto makeClipboard = [](const QString& path) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("\x01\x00", 2);
    };
    QString path;
    {
        TGBasePanel preview;  // an export run's or a dialog's page
        path = preview.ClipboardFile();
        EXPECT_FALSE(preview.OwnsClipboardFile());
        makeClipboard(path);
    }
    EXPECT_TRUE(QFile::exists(path));
    {
        TGBasePanel documentPage;
        documentPage.SetOwnsClipboardFile(true);
        EXPECT_EQ(documentPage.ClipboardFile(), path);
    }
    EXPECT_FALSE(QFile::exists(path));
}

TEST(PanelCommands, ACutWhoseClipboardCannotBeWrittenKeepsObjectsAndOldClipboard) {
    CommandFixture f;
    f.panel->SetOwnsClipboardFile(true);  // this page cleans up the clipboard file it makes
    f.select({f.a});
    f.panel->SelectionClipboard(ClipboardOp::Copy);
    const QString path = f.panel->ClipboardFile();
    const auto old = ReadWholeFile(path);
    ASSERT_TRUE(old.has_value());
    f.select({f.b, f.c});
    QByteArray selection;
    WriteObjectList(selection, {f.b, f.c});
    MessageRecorder messages;
    // Every failure point of the write, then the rename.
    std::vector<WriteFault> faults;
    for (qint64 at = 0; at <= selection.size(); ++at) faults.push_back({WriteFault::Stage::Write, at});
    faults.push_back({WriteFault::Stage::Rename, 0});
    for (const WriteFault& fault : faults) {
        SetWriteFaultForTesting(fault);
        f.panel->SelectionClipboard(ClipboardOp::Cut);
        SetWriteFaultForTesting(std::nullopt);
        if (f.panel->ObjectCount() != 3 || ReadWholeFile(path) != old || messages.shown.empty()) {
            ADD_FAILURE() << "a cut failing at byte " << fault.atByte << " lost objects or the clipboard, or said nothing";
            break;
        }
        messages.shown.clear();
    }
    EXPECT_EQ(f.panel->Frame()->SelectionCount(), 2);
}
