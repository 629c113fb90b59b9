#include "richtext/rtf_storage.h"

#include <QTextDocument>

#include "richtext/rtf_document.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"

namespace plennix {

namespace {
quint64 NextRevision() {
    static quint64 revision = 0;
    return ++revision;
}
}  // namespace

TWPRtfStorage::TWPRtfStorage(const TWPRtfStorage& other)
    : m_data(other.m_data), m_revision(NextRevision()), m_text(other.m_text) {}

TWPRtfStorage& TWPRtfStorage::operator=(const TWPRtfStorage& other) {
    if (this == &other) return *this;
    m_data = other.m_data;
    changed();
    m_text = other.m_text;
    return *this;
}

TWPRtfStorage::~TWPRtfStorage() = default;

void TWPRtfStorage::changed() {
    m_revision = NextRevision();
    m_text.reset();
    m_document.reset();
}

void TWPRtfStorage::SetRtfData(const QByteArray& data) {
    if (data == m_data) return;
    m_data = data;
    changed();
}

void TWPRtfStorage::Clear() { SetRtfData(QByteArray()); }

const RtfText& TWPRtfStorage::Text() const {
    if (!m_text) m_text = std::make_shared<const RtfText>(ReadRtf(m_data));
    return *m_text;
}

const RtfText& TWPRtfStorage::ReadWithin(qint64& pictureBudget) const {
    if (!m_text) m_text = std::make_shared<const RtfText>(ReadRtf(m_data, std::max<qint64>(0, pictureBudget)));
    pictureBudget = std::max<qint64>(0, pictureBudget - m_text->report.picturePixels);
    return *m_text;
}

void TWPRtfStorage::SetText(const RtfText& text) {
    if (text.isEmpty()) {
        Clear();
        return;
    }
    SetRtfData(WriteRtf(text));
    if (!m_text) m_text = std::make_shared<const RtfText>(text);
}

bool TWPRtfStorage::IsEmpty() const { return m_data.isEmpty() || Text().isEmpty(); }

std::shared_ptr<QTextDocument> TWPRtfStorage::Document() const {
    if (!m_document) {
        auto doc = std::make_shared<QTextDocument>();
        doc->setUndoRedoEnabled(false);
        SetDocumentText(doc.get(), LayoutText(Text()), 100);
        m_document = std::move(doc);
    }
    return m_document;
}

}  // namespace plennix
