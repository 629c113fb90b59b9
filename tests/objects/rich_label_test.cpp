// The rich-text label: its ground, border and text at the design zoom, reading, painting and printing
// without any widget, its record with the RTF bytes unchanged, printing as vectors, and the editor's zoom
// steps and OK/Cancel.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QToolButton>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QTemporaryDir>
#include <QWidget>

#include "objects/object_commands.h"
#include "surface/object_menus.h"
#include "objects/rich_label.h"
#include "objects/rich_label_editor.h"
#include "platform/canvas.h"
#include "platform/common_dialogs.h"
#include "platform/numbers.h"
#include "printing/report.h"
#include "richtext/format_toolbar.h"
#include "richtext/rich_text_editor.h"
#include "surface/object_host.h"
#include "surface/object_stream.h"
#include "test_support.h"

namespace plennix {
namespace {

using test::PixelColor;

constexpr TColor kPage = RGB(200, 200, 200);

// Deliberately written by hand: a reader that rewrote it would not give these bytes back.
const QByteArray kRtf =
    "{\\rtf1\\ansi\\deff0 {\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
    "\\pard\\qc\\f0\\fs48\\cf1 HIX  \\b bold\\b0\\par}";

// A window holding the labels, as the main window does.
struct Form {
    QWidget window;
    TGObjectHost host{&window};

    TGPRichBaseLabel* label(const QByteArray& rtf = kRtf) {
        auto* l = new TGPRichBaseLabel(&window);
        l->Loaded();
        TWPRtfStorage text;
        text.SetRtfData(rtf);
        l->SetRTFText(text);
        l->SetList(&host.ObjectList());
        return l;
    }
};

QImage paint(const TGPRichBaseLabel& label) {
    QImage image(label.Width() + 20, label.Height() + 20, QImage::Format_RGB32);
    image.fill(toQColor(kPage));
    QPainter painter(&image);
    Canvas canvas(&painter);
    label.PaintLabel(canvas);
    return image;
}

TEST(RichLabelPaint, GroundBorderAndText) {
    Form form;
    TGPRichBaseLabel* label = form.label();
    label->SetBounds(0, 0, 190, 60);
    // Transparent (the initial state): no ground, a black frame.
    QImage img = paint(*label);
    EXPECT_EQ(PixelColor(img, 3, 50), kPage);
    EXPECT_EQ(PixelColor(img, 0, 30), clBlack);
    EXPECT_EQ(PixelColor(img, 189, 30), clBlack);
    EXPECT_EQ(PixelColor(img, 190, 30), kPage);
    EXPECT_GT(test::CountColor(img, clRed), 20);  // the red text
    // Centred: the text's middle is the label's middle.
    const Rect red = test::ColorBounds(img, clRed);
    EXPECT_NEAR((red.left + red.right) / 2, 95, 3);

    label->SetTransparent(false);
    label->SetBGColor(clYellow);
    label->SetBorderStyle(bsNone);
    img = paint(*label);
    EXPECT_EQ(PixelColor(img, 3, 50), clYellow);
    EXPECT_EQ(PixelColor(img, 0, 30), clYellow);
    EXPECT_EQ(PixelColor(img, 195, 30), kPage);
}

// The text is laid out at the label's width at zoom 1 and drawn at the design zoom: the same lines,
// scaled. A word longer than the line breaks where the line ends, as in the editor.
TEST(RichLabelPaint, SameLinesAtEveryZoomAndLongWordsBreak) {
    EXPECT_EQ(RichLabelPageTwips(300, 1.5f, 96), 3000);
    EXPECT_EQ(RichLabelPaintZoom(1.5f), 150);
    // A zoom of 0.59999990 (six steps out) is 59 per cent when truncated.
    EXPECT_EQ(RichLabelPaintZoom(0.59999990f), 59);

    const QByteArray words =
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 one two three four five six seven eight\\par}";
    Form form;
    TGPRichBaseLabel* label = form.label(words);
    label->SetBorderStyle(bsNone);
    label->SetBounds(0, 0, 120, 100);
    const Rect atOne = test::InkBounds(paint(*label), kPage);
    label->SetZoomField(1.5f);
    label->SetBounds(0, 0, 180, 150);
    const Rect atOneAndHalf = test::InkBounds(paint(*label), kPage);
    ASSERT_GT(atOne.bottom - atOne.top, 30);  // more than one line at zoom 1
    EXPECT_NEAR(atOneAndHalf.right - atOneAndHalf.left, (atOne.right - atOne.left) * 1.5, 4);
    EXPECT_NEAR(atOneAndHalf.bottom - atOneAndHalf.top, (atOne.bottom - atOne.top) * 1.5, 4);

    label->SetRTFText([] {
        TWPRtfStorage s;
        s.SetRtfData("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 WWWWWWWWWWWWWWWWWWWWWWWW\\par}");
        return s;
    }());
    label->SetZoomField(1.0f);
    label->SetBounds(0, 0, 100, 100);
    const Rect word = test::InkBounds(paint(*label), kPage);
    EXPECT_LT(word.right, 100);
    EXPECT_GT(word.bottom - word.top, 40);  // three lines of 18-pixel capitals
}

// Reading, painting and printing a rich label build no widget: a document's labels need no window.
TEST(RichLabelWithoutWidgets, ReadsPaintsAndPrints) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(QApplication::allWidgets().isEmpty());
    RegisterRichLabelClass();
    QByteArray list;
    {
        TGPRichBaseLabel written;
        TWPRtfStorage text;
        text.SetRtfData(kRtf);
        written.SetRTFText(text);
        written.SetBounds(40, 40, 190, 60);
        written.SetTransparent(false);
        written.SetBGColor(clYellow);
        WriteObjectList(list, {&written});
    }
    QObject owner;
    StreamReader in(list);
    ObjectListReadReport report;
    const auto read = ReadObjectList(in, &owner, nullptr, &owner, false, &report);
    ASSERT_EQ(read.size(), 1u);
    auto* label = qobject_cast<TGPRichBaseLabel*>(read[0]);
    ASSERT_NE(label, nullptr);

    QImage image(label->Width(), label->Height(), QImage::Format_RGB32);
    image.fill(toQColor(kPage));
    {
        QPainter painter(&image);
        Canvas canvas(&painter);
        label->Paint(canvas);
    }
    EXPECT_EQ(PixelColor(image, 3, 50), clYellow);
    EXPECT_GT(test::CountColor(image, clRed), 20);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("label.pdf"));
    {
        TReport printed;
        printed.SetPdfOutput(path);
        ASSERT_TRUE(printed.BeginDoc());
        label->PrintTo(printed, 0.25, 0.25);
        printed.EndDoc();
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("/Font"));
    EXPECT_TRUE(QApplication::allWidgets().isEmpty());
}

TEST(RichLabelRecord, RtfBytesSurviveSaveAndReopen) {
    RegisterDecorativeObjectCommands();
    RegisterRichLabelClass();
    Form form;
    TGPRichBaseLabel* label = form.label();
    label->SetBounds(12, 34, 190, 33);
    label->SetTransparent(false);
    label->SetBGColor(0x123456);
    label->SetBorderStyle(bsNone);

    const QByteArray record = WriteObjectRecord(*label);
    EXPECT_TRUE(record.contains(QByteArray("\x0c" "RTFText.Data\x0a", 14) + char(kRtf.size()) + QByteArray(3, '\0') + kRtf));
    StreamReader text(record);
    const QString dump = ObjectRecordToText(text);
    EXPECT_LT(dump.indexOf(QStringLiteral("RTFText.Data")), dump.indexOf(QStringLiteral("BorderStyle = bsNone")));
    EXPECT_LT(dump.indexOf(QStringLiteral("Transparent = False")), dump.indexOf(QStringLiteral("BGColor = ")));

    QByteArray list;
    WriteObjectList(list, {label});
    Form reopened;
    StreamReader in(list);
    const auto topLevelMenus = [] {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets()) n += qobject_cast<QMenu*>(w) != nullptr;
        return n;
    };
    const int menusBefore = topLevelMenus();
    const auto read = ReadObjectList(in, &reopened.window, &reopened.host.ObjectList(), &reopened.window, false);
    // Reading builds no menu: the menu is made when a person first opens it.
    EXPECT_EQ(topLevelMenus(), menusBefore);
    ASSERT_EQ(read.size(), 1u);
    auto* back = qobject_cast<TGPRichBaseLabel*>(read[0]);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->RTFText().RtfData(), kRtf);
    EXPECT_EQ(back->BGColor(), 0x123456);
    EXPECT_FALSE(back->Transparent());
    EXPECT_EQ(back->BorderStyle(), bsNone);
    ASSERT_TRUE(HasObjectEditor(*back));
    ASSERT_NE(ObjectMenuAction(*back, QStringLiteral("Edit")), nullptr);

    // An empty text writes no data at all.
    Form other;
    TGPRichBaseLabel* empty = other.label(QByteArray());
    EXPECT_FALSE(WriteObjectRecord(*empty).contains("RTFText"));
}

TEST(RichLabelMenu, EntriesTickAndChange) {
    RegisterDecorativeObjectCommands();
    Form form;
    TGPRichBaseLabel* label = form.label();
    QAction* transparent = ObjectMenuAction(*label, QStringLiteral("Transparent"));
    QAction* border = ObjectMenuAction(*label, QStringLiteral("Border"));
    ASSERT_NE(transparent, nullptr);
    ASSERT_NE(border, nullptr);
    UpdateObjectMenu(*label);
    EXPECT_TRUE(transparent->isChecked());
    EXPECT_TRUE(border->isChecked());
    transparent->trigger();
    border->trigger();
    EXPECT_FALSE(label->Transparent());
    EXPECT_EQ(label->BorderStyle(), bsNone);

    label->SetTransparent(true);
    SetColorChooser([](TColor, QWidget*) { return std::optional<TColor>(clAqua); });
    ObjectMenuAction(*label, QStringLiteral("Background Color"))->trigger();
    SetColorChooser(nullptr);
    EXPECT_EQ(label->BGColor(), clAqua);
    EXPECT_FALSE(label->Transparent());
}

TEST(RichLabelPrinting, PdfHoldsVectors) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("label.pdf"));
    Form form;
    TGPRichBaseLabel* label = form.label();
    label->SetBounds(50, 50, 300, 80);
    {
        TReport report;
        report.SetPdfOutput(path);
        ASSERT_TRUE(report.BeginDoc());
        label->PrintTo(report, 0.25, 0.25);
        report.EndDoc();
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    EXPECT_FALSE(pdf.contains("/Subtype /Image"));
    EXPECT_TRUE(pdf.contains("/Font"));
}

TEST(RichTextEditor, ZoomStepsBetweenHalfAndFullSize) {
    EXPECT_EQ(RichEditorZoomIn(50), 60);
    EXPECT_EQ(RichEditorZoomIn(100), 100);
    EXPECT_EQ(RichEditorZoomIn(150), 150);
    EXPECT_EQ(RichEditorZoomOut(50), 50);
    EXPECT_EQ(RichEditorZoomOut(150), 140);

    TRichTextLabelEditor dialog;
    dialog.SetPanelSize(96, 18);
    dialog.WPRichText1->SetZoomPercent(50);
    dialog.FormActivate();
    EXPECT_TRUE(dialog.WPPanel->isVisibleTo(&dialog));
    dialog.ZoomMinusButton->click();
    EXPECT_EQ(dialog.WPRichText1->ZoomPercent(), 50);
    QList<int> seen;
    for (int i = 0; i < 6; ++i) {
        dialog.ZoomPlusButton->click();
        seen << dialog.WPRichText1->ZoomPercent();
    }
    EXPECT_EQ(seen, QList<int>({60, 70, 80, 90, 100, 100}));
    // The panel follows: reference 96 x 18 at 50 per cent.
    EXPECT_EQ(dialog.WPPanel->width(), 192);
    EXPECT_EQ(dialog.WPPanel->height(), 36);
    dialog.ZoomOut();
    EXPECT_EQ(dialog.WPPanel->width(), roundHalfEven(96 * 90 / 50.0));
    EXPECT_EQ(dialog.ZoomPlusButton->toolTip(), QStringLiteral("Zoom In"));
    EXPECT_EQ(dialog.ZoomPlusButton->parentWidget(), dialog.WPToolBar1);
}

struct EditorAnswer {
    explicit EditorAnswer(std::function<int(TRichTextLabelEditor&)> answer) {
        SetModalDialogRunner([this, answer](QDialog& d) {
            auto* editor = qobject_cast<TRichTextLabelEditor*>(&d);
            if (!editor) return int(QDialog::Rejected);
            zoom = editor->WPRichText1->ZoomPercent();
            pageWidth = editor->WPRichText1->PageWidthTwips();
            panel = editor->WPPanel->size();
            text = editor->WPRichText1->toPlainText();
            return answer(*editor);
        });
    }
    ~EditorAnswer() { SetModalDialogRunner(nullptr); }
    int zoom = 0, pageWidth = 0;
    QSize panel;
    QString text;
};

TEST(RichTextEditor, EditOpensAtTheLabelsSizeAndOnlyOkChangesTheText) {
    RegisterDecorativeObjectCommands();
    Form form;
    TGPRichBaseLabel* label = form.label();
    label->SetZoomField(0.5f);
    label->SetBounds(0, 0, 95, 20);
    {
        EditorAnswer cancel([](TRichTextLabelEditor& e) {
            e.WPRichText1->selectAll();
            e.WPRichText1->insertPlainText(QStringLiteral("changed"));
            return int(QDialog::Rejected);
        });
        EditRichLabel(*label);
        EXPECT_EQ(cancel.zoom, 50);
        EXPECT_EQ(cancel.pageWidth, 190 * 15);  // 190 pixels at zoom 1, 15 twips each at 96 per inch
        EXPECT_EQ(cancel.panel, QSize(96, 21));
        EXPECT_TRUE(cancel.text.contains(QStringLiteral("HIX")));
    }
    EXPECT_EQ(label->RTFText().RtfData(), kRtf);
    {
        EditorAnswer ok([](TRichTextLabelEditor& e) {
            e.WPRichText1->selectAll();
            e.WPRichText1->insertPlainText(QStringLiteral("changed"));
            return int(QDialog::Accepted);
        });
        RunObjectEditor(*label, label);
    }
    EXPECT_EQ(label->RTFText().Text().plainText(), QStringLiteral("changed"));
}

}  // namespace
}  // namespace plennix
