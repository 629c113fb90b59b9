#pragma once
// What the Calendar Properties dialog and the builders of its pages share: where the planners sit in
// the layout list, the texts the date and time labels show, and small control helpers.
#include <QDate>
#include <QIcon>
#include <QString>
#include <QTime>

#include "calendar/calendar_settings.h"

class QGroupBox;
class QWidget;

namespace plennix::properties {

constexpr int kLayoutListPlanners = 9;  // list rows 9..12 are the week and day planners
constexpr int kFirstPlannerLayout = 18;

// The date the page shows, brought into a real date (an unset day counts as the first).
QDate DateOfSettings(const CalendarSettings& s);
QString LongDate(const QDate& date);
QString MonthYear(const QDate& date);
// The locale's short time without seconds.
QString ShortTime(const QTime& time);

// The colour buttons show their colour a little larger than the colour lists do.
QIcon ButtonSwatch(TColor color);
// A titled group whose controls stand one below the other.
QGroupBox* Group(const QString& title, QWidget* parent);

}  // namespace plennix::properties
