#pragma once
// The rich text engine's own text model: paragraphs of formatted runs and pictures. The RTF reader
// produces it, the writer writes it, and it converts to and from a QTextDocument. Keeping it a plain
// value type makes the codec testable and fast without a document in sight.
#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/colors.h"
#include "platform/font.h"

namespace plennix {

// The colour of text that carries no colour of its own (RTF colour index 0): the window text colour.
constexpr TColor kAutoTextColor = clWindowText;

// Character attributes of a run of text. Sizes are kept in half points, the RTF unit.
struct RtfCharFormat {
    QString font = QStringLiteral("Arial");
    int halfPoints = 20;
    FontStyles style = 0;
    TColor color = kAutoTextColor;

    double points() const { return halfPoints / 2.0; }
    bool operator==(const RtfCharFormat&) const = default;
};

enum class RtfAlignment : uint8_t { raLeft, raRight, raCenter, raJustify };

// A picture in a text: the PNG bytes it is stored as (kept verbatim so that writing again gives the same
// bytes), the decoded image, and its display size in twips (1/1440 inch).
struct RtfPicture {
    QByteArray png;
    QImage image;
    int widthTwips = 0;
    int heightTwips = 0;
};

// A run is either text in one format or a single picture. Text may hold '\t' and U+2028 (line break
// inside the paragraph).
struct RtfRun {
    RtfCharFormat format;
    QString text;
    std::shared_ptr<const RtfPicture> picture;

    bool isPicture() const { return picture != nullptr; }
};

struct RtfParagraph {
    RtfAlignment alignment = RtfAlignment::raLeft;
    std::vector<RtfRun> runs;
    // The format of the paragraph mark: what typing into an empty paragraph starts with.
    RtfCharFormat markFormat;

    bool isEmpty() const { return runs.empty(); }
};

// A picture may have at most this many pixels, and all pictures of one text (and of all cell texts of one
// document) together twice as many: 128 MB of decoded pictures, four times what a whole page printed at
// 300 dots per inch can show, and the same as one text could always hold, so that no text that loaded
// alone is refused because it sits in a document.
constexpr qint64 kMaxPicturePixels = 4096LL * 4096LL;
constexpr qint64 kMaxDocumentPicturePixels = 2 * kMaxPicturePixels;
// Groups nested deeper are skipped with what they hold: no word processor nests this deep, and the
// reader's state stack stays bounded.
constexpr int kMaxRtfGroupDepth = 256;

// What reading a text left out, for the message that tells the person.
struct RtfReadReport {
    int picturesLeftOut = 0;  // pictures larger than a text or a document may hold
    int deepGroups = 0;       // groups nested deeper than the reader follows, skipped with what they hold
    qint64 picturePixels = 0; // pixels of the pictures that were decoded

    bool Complete() const { return picturesLeftOut == 0 && deepGroups == 0; }
    RtfReadReport& operator+=(const RtfReadReport& o) {
        picturesLeftOut += o.picturesLeftOut;
        deepGroups += o.deepGroups;
        picturePixels += o.picturePixels;
        return *this;
    }
};

// The message naming `what` (a file name, "the clipboard") and what was left out; empty when nothing was.
QString RtfReadMessage(const RtfReadReport& report, const QString& what);

// A whole text; always at least one paragraph.
struct RtfText {
    std::vector<RtfParagraph> paragraphs{RtfParagraph{}};
    // What the reader left out (not part of the text's value).
    RtfReadReport report;

    // True when the text holds no character and no picture (one empty paragraph).
    bool isEmpty() const { return paragraphs.size() == 1 && paragraphs.front().isEmpty(); }
    // The text without formatting, paragraphs separated by '\n', line breaks as '\n', pictures as U+FFFC.
    QString plainText() const;
};

// Twips and pixels at the screen's pixels per inch.
double TwipsToPixels(double twips);
int PixelsToTwips(double pixels);

}  // namespace plennix
