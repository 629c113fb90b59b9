#pragma once
// TWPRichText: the rich text editing control (the cell editor WPRichText1, the rich-text label editor's
// control). A page of a width and height in twips with zero margins, shown at a zoom in per cent (text
// and pictures scale), wrapped at the page width, without scroll bars, with a red caret.
#include <QTextEdit>
#include <QTimer>
#include <array>

#include "platform/colors.h"
#include "platform/font.h"
#include "richtext/rtf_model.h"

namespace plennix {

class TWPRtfStorage;

class TWPRichText : public QTextEdit {
    Q_OBJECT
public:
    explicit TWPRichText(QWidget* parent = nullptr);
    ~TWPRichText() override;

    // Page layout: width and height in twips; the margins are always 0.
    void SetPageSize(int widthTwips, int heightTwips);
    int PageWidthTwips() const { return m_pageWidth; }
    int PageHeightTwips() const { return m_pageHeight; }
    // The page in pixels at the current zoom.
    QSize PageSizePixels() const;

    void SetZoomPercent(int percent);
    int ZoomPercent() const { return m_zoom; }

    // Tab inserts a tab character when on; otherwise it moves the focus.
    void SetWantTabs(bool on);
    bool WantTabs() const { return m_wantTabs; }

    void SetBackgroundColor(TColor color);
    TColor BackgroundColor() const { return m_background; }

    // The text, as RTF bytes or as the text model. Loading replaces the text and puts the caret at the start.
    void SetRtfText(const QByteArray& rtf);
    QByteArray RtfText() const;
    void SetText(const plennix::RtfText& text);
    plennix::RtfText Text() const;
    void LoadFromStorage(const TWPRtfStorage& store);
    void SaveToStorage(TWPRtfStorage& store) const;

    bool IsEmpty() const;
    void SelectAllText();

    // The attributes at the caret (what typed text gets).
    RtfCharFormat CurrentAttributes() const;
    RtfAlignment CurrentAlignment() const;
    // Applies attributes to the selection, or to what is typed next when nothing is selected.
    void ApplyCharFormat(const RtfCharFormat& format);
    // Font by name, size in points, style bits and a colour index into ColorTable().
    void ApplyAttributes(const QString& fontName, int sizePoints, FontStyles style, int colorIndex);
    // Changes parts of the attributes of the selection or of what is typed next.
    void ApplyFontName(const QString& name);
    void ApplyFontSize(int points);
    void ApplyStyle(FontStyles bits, bool on);
    void ApplyColor(TColor color);
    void ApplyAlignment(RtfAlignment alignment);

    // The editor's 16-colour table and the last index holding a colour (0 when none does).
    static const std::array<TColor, 16>& ColorTable();
    static int LastColorIndexOf(TColor color);

    void MoveToEnd();
    void NewParagraph();
    void InsertTextWithAttributes(const QString& text, const RtfCharFormat& format);
    // Inserts a picture at the caret, shown at its pixel size at 100 % zoom.
    void InsertPicture(const QImage& image);
    // Lays the text out again.
    void Reformat();

signals:
    // The text or its formatting changed.
    void Changed();
    // The attributes or the alignment at the caret changed (the tool bar follows them).
    void AttributesChanged();
    void FocusEntered();
    void FocusLeft();
    void ZoomChanged(int percent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;

private:
    void applyPageWidth();
    void restartCaret();
    void mergeFormat(const QTextCharFormat& format);

    int m_pageWidth = 0;
    int m_pageHeight = 0;
    int m_zoom = 100;
    bool m_wantTabs = false;
    TColor m_background = clWhite;
    bool m_caretOn = true;
    bool m_internal = false;  // a programmatic change (loading, zooming) is not an edit
    QTimer m_caretTimer;
};

// The MIME type under which the editor puts RTF on the clipboard.
extern const char* const kRtfMimeType;

}  // namespace plennix
