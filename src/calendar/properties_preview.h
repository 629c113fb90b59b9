#pragma once
// CalendarPreview: the sample page of the Calendar Properties dialog. It holds a settings value of its
// own, lays it out with the page geometry and draws it with the page's renderer at its zoom; it is only
// a picture, with no placed objects, no cell texts, no menus and no mouse or keyboard input, so nothing
// done to it can reach the document page.
#include <QImage>
#include <QWidget>
#include <functional>

#include "calendar/calendar_drawing.h"
#include "calendar/calendar_settings.h"
#include "calendar/layout_geometry.h"

namespace plennix {

class CalendarPreview : public QWidget {
    Q_OBJECT
public:
    explicit CalendarPreview(QWidget* parent = nullptr);

    const CalendarSettings& Settings() const { return m_settings; }
    const LayoutResult& Layout() const { return m_layout; }
    int LayoutFamily() const;

    // One change to the settings, then the page laid out again (the mini fonts keep their sizes) and
    // redrawn.
    void Change(const std::function<void(CalendarSettings&)>& edit);
    // Every setting at once (a style sheet that was read in full).
    void SetSettings(const CalendarSettings& settings);
    // The style of another page, as the page copies it; SameStyle compares the same way.
    void AssignStyle(const CalendarSettings& source);
    bool SameStyle(const CalendarSettings& other) const { return m_settings.SameStyle(other); }
    // The values of a new document.
    void ResetToDefaults();
    // Lays the page out again; with `resetMiniFonts` the layout's own mini font sizes return.
    void ArrangeLayout(bool resetMiniFonts);

    // The zoom is the preview's own: the settings stay at 100 %.
    float Zoom() const { return m_zoom; }
    void SetZoom(float zoom);

    // What the preview shows, drawn afresh.
    QImage Picture();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void changed();

    CalendarSettings m_settings;
    LayoutResult m_layout;
    PageDrawState m_state;
    float m_zoom = 1.0f;
    QImage m_picture;  // drawn on the first paint after a change, kept while only the screen repaints
};

}  // namespace plennix
