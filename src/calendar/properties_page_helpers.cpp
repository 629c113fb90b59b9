#include "calendar/properties_page_helpers.h"

#include <QGroupBox>
#include <QLocale>
#include <QRegularExpression>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/common_dialogs.h"

namespace plennix::properties {

QDate DateOfSettings(const CalendarSettings& s) {
    const int year = std::clamp(s.MainCalYear, 1, 9999);
    const int month = std::clamp(s.MainCalMonth, 1, 12);
    const int days = QDate(year, month, 1).daysInMonth();
    return QDate(year, month, std::clamp(s.MainCalDay, 1, days));
}

QString LongDate(const QDate& date) { return QLocale::system().toString(date, QLocale::LongFormat); }
QString MonthYear(const QDate& date) { return QLocale::system().toString(date, QStringLiteral("MMMM yyyy")); }

QString ShortTime(const QTime& time) {
    // The start time has no seconds, and some locales' short form (the C locale's among them) would
    // show ":00" after every time.
    const QLocale locale = QLocale::system();
    QString format = locale.timeFormat(QLocale::ShortFormat);
    format.remove(QRegularExpression(QStringLiteral("[:.]s{1,2}")));
    return locale.toString(time, format);
}

QIcon ButtonSwatch(TColor color) { return ColorSwatch(color, QSize(24, 14)); }

QGroupBox* Group(const QString& title, QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    new QVBoxLayout(box);
    return box;
}

}  // namespace plennix::properties
