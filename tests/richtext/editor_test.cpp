// The editor control and the format tool bar: loading and storing, attributes, appending paragraphs as the
// fill command does, zoom, pictures, clipboard, tabs and change notifications.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QFontComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QVBoxLayout>

#include "richtext/format_toolbar.h"
#include "richtext/rich_text_editor.h"
#include "richtext/rtf_storage.h"
#include "richtext/rtf_writer.h"

using namespace plennix;

namespace {

// What the fill command does with a cell: append the text as a paragraph with the current attributes.
void AppendLikeFill(TWPRichText& editor, TWPRtfStorage& cell, const QString& text) {
    editor.LoadFromStorage(cell);
    editor.Reformat();
    const RtfCharFormat attrs = editor.CurrentAttributes();
    editor.MoveToEnd();
    if (!editor.IsEmpty()) editor.NewParagraph();
    editor.InsertTextWithAttributes(text, attrs);
    editor.NewParagraph();
    editor.Reformat();
    editor.SaveToStorage(cell);
}

}  // namespace

TEST(RichTextEditor, AppendingAParagraphToAnEmptyAndAFilledCell) {
    TWPRichText editor;
    editor.SetPageSize(1440, 1440);
    TWPRtfStorage empty;
    AppendLikeFill(editor, empty, "Christmas Day");
    ASSERT_EQ(empty.Text().paragraphs.size(), 2u);
    EXPECT_EQ(empty.Text().plainText(), "Christmas Day\n");
    EXPECT_EQ(empty.Text().paragraphs[0].runs[0].format, RtfCharFormat{});

    RtfText existing;
    const RtfCharFormat red{"Times New Roman", 28, fsBold, clRed};
    existing.paragraphs.front().runs.push_back(RtfRun{red, "Birthday", nullptr});
    existing.paragraphs.front().markFormat = red;
    TWPRtfStorage cell;
    cell.SetText(existing);
    AppendLikeFill(editor, cell, "Weekdays");
    const RtfText& t = cell.Text();
    ASSERT_EQ(t.paragraphs.size(), 3u);
    EXPECT_EQ(t.plainText(), "Birthday\nWeekdays\n");
    EXPECT_EQ(t.paragraphs[1].runs[0].format, red);  // the attributes at the caret after loading
    // Filling twice adds the text twice.
    AppendLikeFill(editor, cell, "Weekdays");
    EXPECT_EQ(cell.Text().plainText(), "Birthday\nWeekdays\n\nWeekdays\n");
}

TEST(RichTextEditor, AppliedAttributesReachTypedText) {
    TWPRichText editor;
    editor.show();
    editor.setFocus();
    editor.ApplyAttributes("Courier New", 14, fsItalic | fsUnderline, 5);  // index 5: red
    QTest::keyClicks(&editor, "typed");
    const RtfText t = editor.Text();
    ASSERT_EQ(t.paragraphs[0].runs.size(), 1u);
    EXPECT_EQ(t.paragraphs[0].runs[0].text, "typed");
    EXPECT_EQ(t.paragraphs[0].runs[0].format, (RtfCharFormat{"Courier New", 28, fsItalic | fsUnderline, clRed}));
    EXPECT_EQ(TWPRichText::ColorTable()[5], clRed);
    EXPECT_EQ(TWPRichText::LastColorIndexOf(clBlack), 0);
    EXPECT_EQ(TWPRichText::LastColorIndexOf(RGB(1, 2, 3)), 0);

    // Applying to a selection changes only the selection.
    editor.SelectAllText();
    QTextCursor c = editor.textCursor();
    c.setPosition(0);
    c.setPosition(2, QTextCursor::KeepAnchor);
    editor.setTextCursor(c);
    editor.ApplyStyle(fsBold, true);
    editor.ApplyAlignment(RtfAlignment::raCenter);
    const RtfText u = editor.Text();
    ASSERT_EQ(u.paragraphs[0].runs.size(), 2u);
    EXPECT_EQ(u.paragraphs[0].runs[0].format.style, fsItalic | fsUnderline | fsBold);
    EXPECT_EQ(u.paragraphs[0].runs[1].format.style, fsItalic | fsUnderline);
    EXPECT_EQ(u.paragraphs[0].alignment, RtfAlignment::raCenter);
}

TEST(RichTextEditor, ZoomScalesTheDisplayButNotTheText) {
    TWPRichText editor;
    editor.SetPageSize(1440 * 2, 1440);
    RtfText t;
    t.paragraphs.front().runs.push_back(RtfRun{RtfCharFormat{"Arial", 24, 0, kAutoTextColor}, "zoomed", nullptr});
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::blue);
    editor.SetText(t);
    editor.MoveToEnd();
    editor.InsertPicture(image);
    const QByteArray at100 = editor.RtfText();
    const double height100 = editor.document()->size().height();
    EXPECT_EQ(editor.PageSizePixels(), QSize(192, 96));

    QSignalSpy changed(&editor, &TWPRichText::Changed);
    editor.SetZoomPercent(200);
    EXPECT_EQ(changed.count(), 0);  // zooming is not an edit
    EXPECT_EQ(editor.ZoomPercent(), 200);
    EXPECT_EQ(editor.PageSizePixels(), QSize(384, 192));
    EXPECT_EQ(editor.lineWrapColumnOrWidth(), 384);
    EXPECT_NEAR(editor.document()->size().height(), 2 * height100, 3);
    EXPECT_EQ(editor.RtfText(), at100);
    // The caret stays where it was.
    EXPECT_EQ(editor.textCursor().position(), 7);

    // The picture is shown at its pixel size at 100 %, scaled by the zoom; stored at 15 twips a pixel.
    const RtfText back = editor.Text();
    ASSERT_EQ(back.paragraphs[0].runs.size(), 2u);
    ASSERT_TRUE(back.paragraphs[0].runs[1].isPicture());
    EXPECT_EQ(back.paragraphs[0].runs[1].picture->widthTwips, 150);
    bool found = false;
    for (auto it = editor.document()->begin().begin(); !it.atEnd(); ++it) {
        if (it.fragment().charFormat().isImageFormat()) {
            EXPECT_DOUBLE_EQ(it.fragment().charFormat().toImageFormat().width(), 20.0);
            found = true;
        }
    }
    EXPECT_TRUE(found);
}

TEST(RichTextEditor, StorageRoundTripAndChangeSignals) {
    TWPRichText editor;
    QSignalSpy changed(&editor, &TWPRichText::Changed);
    RtfText t;
    t.paragraphs.front().runs.push_back(RtfRun{RtfCharFormat{"Arial", 20, fsBold, clBlue}, "stored", nullptr});
    t.paragraphs.front().alignment = RtfAlignment::raJustify;
    TWPRtfStorage a;
    a.SetText(t);
    editor.LoadFromStorage(a);
    EXPECT_EQ(changed.count(), 0);  // loading is not an edit
    EXPECT_FALSE(editor.IsEmpty());
    TWPRtfStorage b;
    editor.SaveToStorage(b);
    EXPECT_EQ(b.RtfData(), a.RtfData());

    editor.show();
    editor.setFocus();
    editor.MoveToEnd();
    QTest::keyClicks(&editor, "!");
    EXPECT_GE(changed.count(), 1);

    // An editor emptied by the user leaves an empty store.
    editor.SelectAllText();
    QTest::keyClick(&editor, Qt::Key_Delete);
    EXPECT_TRUE(editor.IsEmpty());
    editor.SaveToStorage(b);
    EXPECT_TRUE(b.IsEmpty());
    EXPECT_TRUE(b.RtfData().isEmpty());
}

TEST(RichTextEditor, WantTabs) {
    TWPRichText editor;
    editor.show();
    editor.setFocus();
    editor.SetWantTabs(true);
    QTest::keyClick(&editor, Qt::Key_Tab);
    EXPECT_EQ(editor.toPlainText(), "\t");
    editor.SetWantTabs(false);
    editor.clear();
    QTest::keyClick(&editor, Qt::Key_Tab);
    EXPECT_EQ(editor.toPlainText(), "");
}

TEST(RichTextEditor, CopyAndPasteKeepFormatting) {
    TWPRichText from, to;
    RtfText t;
    t.paragraphs.front().runs.push_back(RtfRun{RtfCharFormat{"Arial", 30, fsItalic, clGreen}, "green", nullptr});
    t.paragraphs.push_back(t.paragraphs.front());
    t.paragraphs.back().alignment = RtfAlignment::raRight;
    from.SetText(t);
    from.SelectAllText();
    from.copy();
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(mime);
    if (!mime->hasFormat(kRtfMimeType)) GTEST_SKIP() << "no clipboard on this platform";
    to.paste();
    EXPECT_EQ(to.RtfText(), from.RtfText());
}

TEST(RichTextToolBar, FollowsAndCommandsTheAttachedEditor) {
    TWPToolBar bar;
    TWPRichText editor;
    EXPECT_EQ(bar.objectName(), "WPToolBar1");
    EXPECT_FALSE(bar.BoldAction()->isEnabled());  // attached to nothing
    EXPECT_EQ(bar.FontSizes().front(), 8);
    for (QAction* a : {bar.NormalAction(), bar.BoldAction(), bar.ItalicAction(), bar.UnderlineAction(),
                       bar.LeftAction(), bar.RightAction(), bar.JustifyAction(), bar.CenterAction(),
                       bar.CopyAction(), bar.CutAction(), bar.PasteAction(), bar.SelectAllAction()})
        EXPECT_FALSE(a->toolTip().isEmpty());

    RtfText t;
    t.paragraphs.front().runs.push_back(RtfRun{RtfCharFormat{"Arial", 36, fsItalic, clRed}, "abc", nullptr});
    editor.SetText(t);
    bar.Attach(&editor);
    EXPECT_TRUE(bar.BoldAction()->isEnabled());
    EXPECT_EQ(bar.FontSizeBox()->currentText(), "18");
    EXPECT_TRUE(bar.ItalicAction()->isChecked());
    EXPECT_FALSE(bar.BoldAction()->isChecked());
    EXPECT_EQ(bar.ColorBox()->currentIndex(), 5);
    EXPECT_TRUE(bar.LeftAction()->isChecked());

    bar.SelectAllAction()->trigger();
    bar.BoldAction()->trigger();
    bar.CenterAction()->trigger();
    bar.ColorBox()->setCurrentIndex(8);
    emit bar.ColorBox()->activated(8);
    bar.FontSizeBox()->setEditText("24");
    emit bar.FontSizeBox()->activated(0);
    RtfText u = editor.Text();
    EXPECT_EQ(u.paragraphs[0].runs[0].format, (RtfCharFormat{"Arial", 48, fsItalic | fsBold, clNavy}));
    EXPECT_EQ(u.paragraphs[0].alignment, RtfAlignment::raCenter);
    bar.NormalAction()->trigger();
    EXPECT_EQ(editor.Text().paragraphs[0].runs[0].format.style, 0);

    bar.Attach(nullptr);
    EXPECT_FALSE(bar.CenterAction()->isEnabled());
    bar.CenterAction()->trigger();  // goes nowhere
}

namespace {

// The bar over its editor in one window, as the cell editor and the rich-text label editor have it,
// with the caret in the text. The window is a dialog with a default Ok button, as the label's editor is.
struct BarOverEditor {
    QDialog window;
    TWPToolBar* bar = new TWPToolBar(&window);
    TWPRichText* editor = new TWPRichText(&window);
    QPushButton* ok = new QPushButton(QStringLiteral("Ok"), &window);
    BarOverEditor() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(bar);
        layout->addWidget(editor);
        layout->addWidget(ok);
        ok->setDefault(true);
        QObject::connect(ok, &QPushButton::clicked, &window, &QDialog::accept);
        RtfText t;
        t.paragraphs.front().runs.push_back(RtfRun{RtfCharFormat{"Arial", 24, 0, clBlack}, "abc", nullptr});
        editor->SetText(t);
        bar->Attach(editor);
        window.resize(700, 300);
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        QTest::mouseClick(editor->viewport(), Qt::LeftButton, {}, QPoint(2, 2));
        EXPECT_TRUE(editor->hasFocus());
        editor->SelectAllText();
    }
    // Clicks into a list's edit field and types there as a person does, key by key.
    void typeInto(QComboBox* box, const QString& text) {
        QTest::mouseClick(box->lineEdit(), Qt::LeftButton, {}, QPoint(5, box->lineEdit()->height() / 2));
        box->lineEdit()->selectAll();
        for (const QChar c : text) QTest::keyClicks(QApplication::focusWidget(), QString(c));
    }
    bool focusIn(QComboBox* box) const {
        QWidget* f = QApplication::focusWidget();
        return f && (f == box || box->isAncestorOf(f));
    }
    QString text() const { return editor->toPlainText(); }
};

}  // namespace

TEST(RichTextToolBar, TypedFontNamesAndSizesStayInTheirBoxesUntilReturn) {
    BarOverEditor w;
    const QString family = QStringLiteral("Liberation Serif");
    ASSERT_GE(w.bar->FontNameBox()->findText(family), 0) << "fonts-liberation is needed";
    w.typeInto(w.bar->FontNameBox(), family);
    EXPECT_TRUE(w.focusIn(w.bar->FontNameBox()));
    EXPECT_EQ(w.text(), QStringLiteral("abc"));  // no key went into the text
    EXPECT_EQ(w.editor->CurrentAttributes().font, QStringLiteral("Arial"));
    QSignalSpy accepted(&w.window, &QDialog::accepted);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(w.editor->CurrentAttributes().font, family);
    EXPECT_TRUE(w.editor->hasFocus());
    // Return applied the name; it did not also press the dialog's default button.
    EXPECT_EQ(accepted.count(), 0);
    EXPECT_TRUE(w.window.isVisible());

    w.editor->SelectAllText();
    w.typeInto(w.bar->FontSizeBox(), QStringLiteral("26"));
    EXPECT_TRUE(w.focusIn(w.bar->FontSizeBox()));
    EXPECT_EQ(w.text(), QStringLiteral("abc"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(w.editor->CurrentAttributes().halfPoints, 52);
    EXPECT_TRUE(w.editor->hasFocus());
    EXPECT_EQ(accepted.count(), 0);
}

TEST(RichTextToolBar, LeavingAFontBoxWithoutReturnChangesNothing) {
    BarOverEditor w;
    w.typeInto(w.bar->FontNameBox(), QStringLiteral("Liberation Mono"));
    // Back into the text with the mouse: the half-made choice is dropped and the box shows the text's font.
    QTest::mouseClick(w.editor->viewport(), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_TRUE(w.editor->hasFocus());
    w.editor->SelectAllText();
    EXPECT_EQ(w.editor->CurrentAttributes().font, QStringLiteral("Arial"));
    EXPECT_NE(w.bar->FontNameBox()->currentText(), QStringLiteral("Liberation Mono"));
    // Arrow keys step through the sizes, each applied, and the focus stays in the box.
    w.typeInto(w.bar->FontSizeBox(), QString());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_TRUE(w.focusIn(w.bar->FontSizeBox()));
    EXPECT_EQ(w.editor->CurrentAttributes().halfPoints, 28);  // 12 -> 14
}
