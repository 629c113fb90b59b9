#include "calendar/properties_preview.h"

#include <QPainter>
#include <algorithm>

namespace plennix {

CalendarPreview::CalendarPreview(QWidget* parent) : QWidget(parent) {
    // The same start as a page built for the preview: the constructor's layout with the layout's mini
    // font sizes, then the preview's stored settings laid out over it.
    m_layout = ::plennix::ArrangeLayout(m_settings, true, m_layout);
    ApplyStoredPageSettings(m_settings, StoredPageKind::PreviewPage);
    ArrangeLayout(false);
}

int CalendarPreview::LayoutFamily() const { return ::plennix::LayoutFamily(m_settings.CalendarLayout); }

void CalendarPreview::Change(const std::function<void(CalendarSettings&)>& edit) {
    edit(m_settings);
    ArrangeLayout(false);
}

void CalendarPreview::SetSettings(const CalendarSettings& settings) {
    m_settings = settings;
    ArrangeLayout(false);
}

void CalendarPreview::AssignStyle(const CalendarSettings& source) {
    m_settings.AssignStyle(source);
    ArrangeLayout(false);
}

void CalendarPreview::ResetToDefaults() {
    m_settings.ResetToDefaults(QDate::currentDate());
    ArrangeLayout(true);
}

void CalendarPreview::ArrangeLayout(bool resetMiniFonts) {
    m_layout = ::plennix::ArrangeLayout(m_settings, resetMiniFonts, m_layout);
    changed();
}

void CalendarPreview::SetZoom(float zoom) {
    if (zoom == m_zoom) return;
    m_zoom = zoom;
    changed();
}

void CalendarPreview::changed() {
    m_picture = QImage();
    // The page's size follows its layout at the zoom, as the page's own does.
    const QSize size(std::max(0, m_layout.PanelWidth(m_zoom)), std::max(0, m_layout.PanelHeight(m_zoom)));
    if (size != this->size()) resize(size);
    updateGeometry();
    update();
}

QImage CalendarPreview::Picture() {
    m_picture = ::plennix::PaintToBitmap(m_settings, m_layout, m_zoom, m_state);
    return m_picture;
}

QSize CalendarPreview::sizeHint() const { return {m_layout.PanelWidth(m_zoom), m_layout.PanelHeight(m_zoom)}; }

void CalendarPreview::paintEvent(QPaintEvent*) {
    if (m_picture.isNull()) Picture();
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.drawImage(0, 0, m_picture);
}

}  // namespace plennix
