// SuperText on the calendar page: the SuperText tool places a framed white box and opens its
// properties at once; a document keeps SuperText with its texture; the page reports that it holds one.
#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include "calendar/calendar_panel.h"
#include "shown_page.h"
#include "objects/super_text.h"
#include "objects/super_text_dialogs.h"
#include "platform/common_dialogs.h"

using namespace plennix;

namespace {

using SuperTextPage = test::ShownPage;

TEST(SuperTextOnPage, ToolPlacesAFramedWhiteBoxAndOpensItsProperties) {
    SuperTextPage f;
    EXPECT_FALSE(f.page->HasSuperText());
    int dialogs = 0;
    SetModalDialogRunner([&](QDialog& dialog) {
        auto* props = qobject_cast<TSuperTextProperties*>(&dialog);
        if (!props) return int(QDialog::Rejected);
        ++dialogs;
        props->FormActivate();
        props->CaptionText->setText(QStringLiteral("Noel"));
        props->Preview->SetCaption(QStringLiteral("Noel"));
        return int(QDialog::Accepted);
    });
    f.page->SetPanelState(TLPanelState::psSuperText);
    const QPoint p(200, 300);
    QTest::mousePress(f.page, Qt::LeftButton, Qt::NoModifier, p);
    QTest::mouseMove(f.page, p + QPoint(200, 60));
    QTest::mouseRelease(f.page, Qt::LeftButton, Qt::NoModifier, p + QPoint(200, 60));
    SetModalDialogRunner(nullptr);
    EXPECT_EQ(dialogs, 1);
    ASSERT_EQ(f.page->ObjectCount(), 1);
    auto* text = qobject_cast<TGSuperText*>(f.page->ObjectAt(0));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Caption(), QStringLiteral("Noel"));
    EXPECT_EQ(text->BorderStyle(), bsSingle);
    EXPECT_FALSE(text->ControlTransparent());
    EXPECT_EQ(text->BGColor(), clWhite);
    EXPECT_EQ(text->Left(), p.x());
    EXPECT_EQ(f.page->PanelState(), TLPanelState::psPointing);
    EXPECT_TRUE(f.page->HasSuperText());
}

TEST(SuperTextOnPage, DocumentKeepsSuperTextWithItsTexture) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Effects.PXF"));
    {
        SuperTextPage f;
        auto* text = new TGSuperText(&f.owner);
        text->Loaded();
        text->SetCaption(QStringLiteral("Winter"));
        text->SetSurfaceType(stBrushImage);
        QImage tex(12, 12, QImage::Format_RGB32);
        tex.fill(QColor(30, 60, 90));
        text->SetImage(tex);
        text->SetShadowDepth(5);
        f.page->AddObject(text, Rect::fromBounds(40, 50, 300, 90));
        f.page->SaveToFile(path);
    }
    SuperTextPage g;
    g.page->ClearObjects();
    g.page->LoadFromFile(path, &g.owner);
    ASSERT_EQ(g.page->ObjectCount(), 1);
    auto* text = qobject_cast<TGSuperText*>(g.page->ObjectAt(0));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Caption(), QStringLiteral("Winter"));
    EXPECT_EQ(text->SurfaceType(), stBrushImage);
    ASSERT_EQ(text->Image().size(), QSize(12, 12));
    EXPECT_EQ(text->Image().pixelColor(5, 5), QColor(30, 60, 90));
    EXPECT_EQ(text->ShadowDepth(), 5);
    EXPECT_EQ(text->Left(), 40);
    EXPECT_TRUE(g.page->HasSuperText());
}

}  // namespace
