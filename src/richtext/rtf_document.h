#pragma once
// The text model in a QTextDocument, both ways. Documents hold their formats at a zoom: a font of p points
// is p × PPI / 72 × zoom / 100 pixels and a picture of t twips t × PPI / 1440 × zoom / 100 pixels. Each
// format also carries its unzoomed size (half points, twips) and a picture its PNG bytes, so that reading a
// document back gives exactly what was put in, at any zoom.
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>

#include "richtext/rtf_model.h"

namespace plennix {

// Properties of our own on QTextFormat.
enum RichTextProperty : int {
    kHalfPointsProperty = QTextFormat::UserProperty + 0x4001,
    kPicturePngProperty,
    kPictureWidthTwipsProperty,
    kPictureHeightTwipsProperty,
};

// The font size in points that a QTextDocument must be given for a text of halfPoints at the zoom (its
// layouts convert points at the default device resolution, which need not be our pixels per inch).
double DocumentPointSize(int halfPoints, int zoomPercent);

QTextCharFormat ToQtCharFormat(const RtfCharFormat& f, int zoomPercent);
RtfCharFormat FromQtCharFormat(const QTextCharFormat& f);
Qt::Alignment ToQtAlignment(RtfAlignment a);
RtfAlignment FromQtAlignment(Qt::Alignment a);

// Picture image format at the zoom; registers the image as a resource of the document.
QTextImageFormat ToQtImageFormat(const RtfPicture& pic, QTextDocument* doc, int zoomPercent);

// Replaces the document's contents with the text (the undo stack is cleared, the document unmodified).
void SetDocumentText(QTextDocument* doc, const RtfText& text, int zoomPercent);
// Inserts the text at the cursor: the first paragraph joins the cursor's paragraph.
void InsertText(QTextCursor& cursor, const RtfText& text, int zoomPercent);
// The document's contents (or the cursor's selection) as the text model.
RtfText DocumentText(const QTextDocument* doc);
RtfText SelectionText(const QTextCursor& cursor);

// The text as the renderers lay it out: where more than kMaxRunsWithoutBreak runs follow each other with no
// white space between them, an invisible break opportunity (U+200B) is put between runs. Qt's line
// breaking walks to the end of the current word for every line it makes, so a word made of many format
// runs costs the square of its runs to lay out; with a break opportunity every few runs it costs their
// number. Ordinary text (words of a few runs) comes back unchanged.
constexpr int kMaxRunsWithoutBreak = 32;
RtfText LayoutText(const RtfText& text);

// Re-applies every format of the document at a new zoom.
void RezoomDocument(QTextDocument* doc, int zoomPercent);

}  // namespace plennix
