#include "richtext/rich_text_editor.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QStyleHints>
#include <QTextBlock>

#include "platform/numbers.h"
#include "richtext/rtf_document.h"
#include "richtext/rtf_pictures.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_storage.h"
#include "richtext/rtf_writer.h"

namespace plennix {

const char* const kRtfMimeType = "text/rtf";

namespace {

// Guards programmatic changes (loading, zooming, reformatting) so that they do not count as edits.
class InternalChange {
public:
    explicit InternalChange(bool& flag) : m_flag(flag), m_old(flag) { m_flag = true; }
    ~InternalChange() { m_flag = m_old; }

private:
    bool& m_flag;
    bool m_old;
};

}  // namespace

TWPRichText::TWPRichText(QWidget* parent) : QTextEdit(parent) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setViewportMargins(0, 0, 0, 0);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setCursorWidth(0);  // the caret is drawn in red by paintEvent
    setTabChangesFocus(true);
    SetBackgroundColor(clWhite);
    {
        InternalChange guard(m_internal);
        SetDocumentText(document(), plennix::RtfText{}, m_zoom);
    }
    connect(this, &QTextEdit::textChanged, this, [this] {
        if (!m_internal) emit Changed();
    });
    connect(this, &QTextEdit::currentCharFormatChanged, this, [this] { emit AttributesChanged(); });
    connect(this, &QTextEdit::cursorPositionChanged, this, [this] {
        restartCaret();
        emit AttributesChanged();
    });
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    m_caretTimer.setInterval(flash > 0 ? flash / 2 : 500);
    connect(&m_caretTimer, &QTimer::timeout, this, [this] {
        m_caretOn = !m_caretOn;
        viewport()->update(cursorRect().adjusted(-2, -2, 2, 2));
    });
}

TWPRichText::~TWPRichText() = default;

void TWPRichText::SetPageSize(int widthTwips, int heightTwips) {
    widthTwips = std::clamp(widthTwips, 0, 1440 * 200);
    heightTwips = std::clamp(heightTwips, 0, 1440 * 200);
    if (widthTwips == m_pageWidth && heightTwips == m_pageHeight) return;
    m_pageWidth = widthTwips;
    m_pageHeight = heightTwips;
    applyPageWidth();
}

QSize TWPRichText::PageSizePixels() const {
    return QSize(roundHalfEven(TwipsToPixels(m_pageWidth) * m_zoom / 100.0),
                 roundHalfEven(TwipsToPixels(m_pageHeight) * m_zoom / 100.0));
}

void TWPRichText::applyPageWidth() {
    if (m_pageWidth <= 0) {
        setLineWrapMode(QTextEdit::WidgetWidth);
        return;
    }
    setLineWrapMode(QTextEdit::FixedPixelWidth);
    setLineWrapColumnOrWidth(std::max(1, PageSizePixels().width()));
}

void TWPRichText::SetZoomPercent(int percent) {
    percent = std::clamp(percent, 1, 1000);
    if (percent == m_zoom) return;
    m_zoom = percent;
    QTextCursor c = textCursor();
    const int anchor = c.anchor();
    const int position = c.position();
    {
        InternalChange guard(m_internal);
        RezoomDocument(document(), m_zoom);
        applyPageWidth();
    }
    c = QTextCursor(document());
    c.setPosition(std::min(anchor, document()->characterCount() - 1));
    c.setPosition(std::min(position, document()->characterCount() - 1), QTextCursor::KeepAnchor);
    setTextCursor(c);
    emit ZoomChanged(m_zoom);
}

void TWPRichText::SetWantTabs(bool on) {
    m_wantTabs = on;
    setTabChangesFocus(!on);
}

void TWPRichText::SetBackgroundColor(TColor color) {
    m_background = color;
    QPalette pal = palette();
    pal.setColor(QPalette::Base, toQColor(color));
    setPalette(pal);
    viewport()->update();
}

void TWPRichText::SetRtfText(const QByteArray& rtf) { SetText(ReadRtf(rtf)); }

QByteArray TWPRichText::RtfText() const { return WriteRtf(Text()); }

void TWPRichText::SetText(const plennix::RtfText& text) {
    {
        InternalChange guard(m_internal);
        SetDocumentText(document(), text, m_zoom);
        applyPageWidth();
    }
    moveCursor(QTextCursor::Start);
}

plennix::RtfText TWPRichText::Text() const { return DocumentText(document()); }

// The store's copying to and from an editor lives with the editor: the store itself is widget-free.
void TWPRtfStorage::AssignTo(TWPRichText& editor) const { editor.SetText(Text()); }

void TWPRtfStorage::AssignFrom(const TWPRichText& editor) { SetText(editor.Text()); }

void TWPRichText::LoadFromStorage(const TWPRtfStorage& store) { store.AssignTo(*this); }

void TWPRichText::SaveToStorage(TWPRtfStorage& store) const { store.AssignFrom(*this); }

bool TWPRichText::IsEmpty() const { return document()->isEmpty(); }

void TWPRichText::SelectAllText() { selectAll(); }

RtfCharFormat TWPRichText::CurrentAttributes() const { return FromQtCharFormat(currentCharFormat()); }

RtfAlignment TWPRichText::CurrentAlignment() const { return FromQtAlignment(textCursor().blockFormat().alignment()); }

void TWPRichText::ApplyCharFormat(const RtfCharFormat& format) {
    const QTextCharFormat f = ToQtCharFormat(format, m_zoom);
    QTextCursor c = textCursor();
    if (c.hasSelection()) {
        c.setCharFormat(f);
        setTextCursor(c);
    } else {
        setCurrentCharFormat(f);
        if (document()->isEmpty()) {
            // The format of the empty paragraph is what its first characters get.
            c.setBlockCharFormat(f);
        }
    }
    emit AttributesChanged();
}

void TWPRichText::ApplyAttributes(const QString& fontName, int sizePoints, FontStyles style, int colorIndex) {
    RtfCharFormat f;
    f.font = fontName;
    f.halfPoints = std::clamp(sizePoints, 1, 1638) * 2;
    f.style = style;
    f.color = ColorTable()[(colorIndex >= 0 && colorIndex < 16) ? colorIndex : 0];
    ApplyCharFormat(f);
}

void TWPRichText::mergeFormat(const QTextCharFormat& format) {
    mergeCurrentCharFormat(format);
    if (!textCursor().hasSelection() && document()->isEmpty()) {
        QTextCursor c = textCursor();
        c.mergeBlockCharFormat(format);
    }
    emit AttributesChanged();
}

void TWPRichText::ApplyFontName(const QString& name) {
    if (name.isEmpty()) return;
    QTextCharFormat f;
    f.setFontFamilies(QStringList{name});
    mergeFormat(f);
}

void TWPRichText::ApplyFontSize(int points) {
    if (points <= 0) return;
    const int halfPoints = std::clamp(points, 1, 1638) * 2;
    QTextCharFormat f;
    f.setFontPointSize(DocumentPointSize(halfPoints, m_zoom));
    f.setProperty(kHalfPointsProperty, halfPoints);
    mergeFormat(f);
}

void TWPRichText::ApplyStyle(FontStyles bits, bool on) {
    QTextCharFormat f;
    if (bits & fsBold) f.setFontWeight(on ? QFont::Bold : QFont::Normal);
    if (bits & fsItalic) f.setFontItalic(on);
    if (bits & fsUnderline) f.setFontUnderline(on);
    if (bits & fsStrikeOut) f.setFontStrikeOut(on);
    mergeFormat(f);
}

void TWPRichText::ApplyColor(TColor color) {
    QTextCharFormat f;
    if (color == kAutoTextColor)
        f.setForeground(QBrush());
    else
        f.setForeground(toQColor(color));
    mergeFormat(f);
}

void TWPRichText::ApplyAlignment(RtfAlignment alignment) {
    setAlignment(ToQtAlignment(alignment));
    emit AttributesChanged();
}

const std::array<TColor, 16>& TWPRichText::ColorTable() {
    static const std::array<TColor, 16> table = {clBlack, clBlue,   clAqua,   clLime,  clFuchsia, clRed,
                                                 clYellow, clWhite, clNavy,   clTeal,  clGreen,   clPurple,
                                                 clMaroon, clOlive, clGray,   clSilver};
    return table;
}

int TWPRichText::LastColorIndexOf(TColor color) {
    const TColor rgb = ColorToRGB(color);
    for (int i = 15; i >= 0; --i)
        if (ColorTable()[i] == rgb) return i;
    return 0;
}

void TWPRichText::MoveToEnd() { moveCursor(QTextCursor::End); }

void TWPRichText::NewParagraph() {
    QTextCursor c = textCursor();
    c.insertBlock();
    setTextCursor(c);
}

void TWPRichText::InsertTextWithAttributes(const QString& text, const RtfCharFormat& format) {
    QTextCursor c = textCursor();
    c.insertText(text, ToQtCharFormat(format, m_zoom));
    setTextCursor(c);
}

void TWPRichText::InsertPicture(const QImage& image) {
    auto pic = MakePicture(image);
    if (!pic) return;
    QTextCursor c = textCursor();
    c.insertImage(ToQtImageFormat(*pic, document(), m_zoom));
    setTextCursor(c);
}

void TWPRichText::Reformat() {
    InternalChange guard(m_internal);
    const QSize page = PageSizePixels();
    if (m_pageWidth > 0 && document()->textWidth() != page.width()) document()->setTextWidth(page.width());
    document()->documentLayout()->documentSize();  // runs any pending layout
    viewport()->update();
}

void TWPRichText::restartCaret() {
    m_caretOn = true;
    if (hasFocus()) m_caretTimer.start();
    viewport()->update();
}

void TWPRichText::paintEvent(QPaintEvent* event) {
    QTextEdit::paintEvent(event);
    if (!hasFocus() || !m_caretOn || isReadOnly() || textCursor().hasSelection()) return;
    const QRect r = cursorRect();
    QPainter p(viewport());
    p.fillRect(QRect(r.left(), r.top(), std::max(1, roundHalfEven(m_zoom / 100.0)), r.height()), Qt::red);
}

void TWPRichText::keyPressEvent(QKeyEvent* event) {
    // Without WantTabs a tab never goes into the text, even when there is no other control to move to.
    if (!m_wantTabs && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) &&
        !(event->modifiers() & Qt::ControlModifier)) {
        event->ignore();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void TWPRichText::focusInEvent(QFocusEvent* event) {
    QTextEdit::focusInEvent(event);
    restartCaret();
    emit FocusEntered();
}

void TWPRichText::focusOutEvent(QFocusEvent* event) {
    QTextEdit::focusOutEvent(event);
    m_caretTimer.stop();
    viewport()->update();
    emit FocusLeft();
}

bool TWPRichText::canInsertFromMimeData(const QMimeData* source) const {
    return source->hasFormat(kRtfMimeType) || source->hasFormat("application/rtf") || source->hasImage() ||
           source->hasText();
}

void TWPRichText::insertFromMimeData(const QMimeData* source) {
    QTextCursor c = textCursor();
    if (source->hasFormat(kRtfMimeType) || source->hasFormat("application/rtf")) {
        const QByteArray rtf =
            source->hasFormat(kRtfMimeType) ? source->data(kRtfMimeType) : source->data("application/rtf");
        c.removeSelectedText();
        InsertText(c, ReadRtf(rtf), m_zoom);
    } else if (source->hasImage()) {
        InsertPicture(qvariant_cast<QImage>(source->imageData()));
        return;
    } else if (source->hasText()) {
        c.insertText(source->text());
    } else {
        return;
    }
    setTextCursor(c);
}

QMimeData* TWPRichText::createMimeDataFromSelection() const {
    auto* data = new QMimeData;
    const QTextCursor c = textCursor();
    data->setData(kRtfMimeType, WriteRtf(SelectionText(c)));
    QString plain = c.selectedText();
    plain.replace(QChar::ParagraphSeparator, u'\n');
    plain.replace(QChar::LineSeparator, u'\n');
    plain.remove(QChar(0xFFFC));
    data->setText(plain);
    return data;
}

}  // namespace plennix
