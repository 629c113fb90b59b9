#pragma once
// TWPRtfStorage: the store of one RTF text (a day cell's text, a rich-text label's RTFText). It holds the
// RTF bytes as they are streamed, and caches what painting needs: the parsed text and a laid-out
// QTextDocument, both made on first use and dropped when the bytes change, so that painting a page of
// cells parses each text once.
#include <QByteArray>
#include <memory>

#include "richtext/rtf_model.h"

class QTextDocument;

namespace plennix {

class TWPRichText;

class TWPRtfStorage {
public:
    TWPRtfStorage() = default;
    TWPRtfStorage(const TWPRtfStorage& other);
    TWPRtfStorage& operator=(const TWPRtfStorage& other);
    ~TWPRtfStorage();

    // The RTF bytes (the cell record's "RtfText.Data", the label's "RTFText.Data"). Bytes from a file are
    // kept as they are; they are parsed when first needed.
    const QByteArray& RtfData() const { return m_data; }
    void SetRtfData(const QByteArray& data);
    void Clear();
    // The formatted text; setting it stores its RTF (an empty text leaves the store empty).
    const RtfText& Text() const;
    // The text read now if it was not yet, its pictures within pictureBudget pixels; the pixels its
    // pictures hold are taken from the budget. A document reads its cells this way so that all of them
    // together decode a bounded number of pixels.
    const RtfText& ReadWithin(qint64& pictureBudget) const;
    void SetText(const RtfText& text);
    // True when the store holds no character and no picture.
    bool IsEmpty() const;
    // Changes with every new text; renderers use it to notice a change.
    quint64 Revision() const { return m_revision; }

    // Copying to and from an editor control (defined with the editor, in plennix_richtext_ui).
    void AssignTo(TWPRichText& editor) const;
    void AssignFrom(const TWPRichText& editor);

    // The text in a QTextDocument at 100 % zoom, shared with renderers. Made on first use.
    std::shared_ptr<QTextDocument> Document() const;

private:
    void changed();

    QByteArray m_data;
    quint64 m_revision = 0;
    mutable std::shared_ptr<const RtfText> m_text;
    mutable std::shared_ptr<QTextDocument> m_document;
};

}  // namespace plennix
