#pragma once
// TSetTimeDialog: chooses the hour and minute at which the day planners start. The choices are 24 hour
// tiles (a row "AM" and a row "PM") and 60 minute tiles; the chosen ones are yellow and the caption
// shows the time. From the keyboard the hour and minute panels take the arrow keys.
#include <QDialog>
#include <QTime>
#include <vector>

class QFrame;
class QLabel;
class QPushButton;

namespace plennix {

class TGraphicPanel;

class TSetTimeDialog : public QDialog {
    Q_OBJECT
public:
    explicit TSetTimeDialog(QWidget* parent = nullptr);

    // The time the dialog starts from (seconds are dropped).
    void SetTime(const QTime& time);
    QTime Time() const { return QTime(m_hour, m_minute); }
    int Hour() const { return m_hour; }
    int Minute() const { return m_minute; }

    // The tiles: hours 0..23, minutes 0..59.
    TGraphicPanel* HourTile(int hour) const { return m_hourTiles.at(hour); }
    TGraphicPanel* MinuteTile(int minute) const { return m_minuteTiles.at(minute); }

    QFrame* HourPanel;
    QFrame* MinutePanel;
    QLabel* HourLabel;
    QLabel* MinuteLabel;
    QPushButton* okbutton;
    QPushButton* CancelButton;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setHour(int hour);
    void setMinute(int minute);
    // Caption and tile colours for the chosen time.
    void showTime();

    std::vector<TGraphicPanel*> m_hourTiles;
    std::vector<TGraphicPanel*> m_minuteTiles;
    int m_hour = 8;
    int m_minute = 0;
};

// The caption of the set-time dialog for a time ("Set Time As: 08:05 am").
QString SetTimeCaption(const QTime& time);

}  // namespace plennix
