#include "objects/metafile_player.h"

#include "objects/metafile_playback.h"
#include "platform/numbers.h"
#include "platform/ppi.h"

namespace plennix {

std::optional<TMetafilePicture> TMetafilePicture::FromBytes(const QByteArray& bytes) {
    if (bytes.size() > kMaxMetafileBytes) return std::nullopt;
    const metafile::ByteRange b = metafile::ByteRange::Of(bytes);
    TMetafilePicture m;
    std::optional<metafile::PictureFrame> frame;
    // A damaged enhanced header is refused rather than tried as a Windows metafile.
    if (metafile::IsEnhanced(b)) {
        m.m_form = Form::Enhanced;
        frame = metafile::ReadEmfFrame(b);
    } else {
        m.m_form = metafile::HasPlaceableHeader(b) ? Form::Placeable : Form::Plain;
        frame = metafile::ReadWmfFrame(b, m.m_form == Form::Placeable);
    }
    if (!frame) return std::nullopt;
    m.m_bytes = bytes;
    m.m_bounds = frame->bounds;
    m.m_unitsPerInch = frame->unitsPerInch;
    m.m_widthInches = frame->widthInches;
    m.m_heightInches = frame->heightInches;
    return m;
}

QByteArray TMetafilePicture::StoredBytes() const {
    if (m_form != Form::Plain) return m_bytes;
    return metafile::PlaceableHeader(m_bounds, m_unitsPerInch) + m_bytes;
}

int TMetafilePicture::Width() const { return roundHalfEven(m_widthInches * ScreenPixelsPerInch()); }
int TMetafilePicture::Height() const { return roundHalfEven(m_heightInches * ScreenPixelsPerInch()); }

bool TMetafilePicture::Play(QPainter& painter, const QRectF& target, const MetafileWorkBudget& budget) const {
    if (target.isEmpty() || !painter.isActive()) return true;
    const metafile::ByteRange b = metafile::ByteRange::Of(m_bytes);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    const bool complete = m_form == Form::Enhanced
                              ? metafile::PlayEmf(painter, b, m_bounds, target, budget)
                              : metafile::PlayWmf(painter, b, m_form == Form::Placeable, m_bounds, target, budget);
    painter.restore();
    return complete;
}

}  // namespace plennix

// Headless exports and fuzz targets play metafiles without widgets: the player needs Qt Gui alone, and
// every Qt Widgets header brings in the global header whose guard this checks.
#ifdef QTWIDGETSGLOBAL_H
#error "the metafile player must need Qt Gui only: a Qt Widgets header was included"
#endif
