#include "platform/locale_names.h"

#include <QLocale>

namespace plennix {
namespace {
QLocale systemLocale() {
    QLocale l = QLocale::system();
    if (l.language() == QLocale::C) return QLocale(QLocale::English, QLocale::UnitedStates);
    return l;
}
int qtDay(int day) { return day == 1 ? 7 : day - 1; }  // Qt: 1 = Monday .. 7 = Sunday
}  // namespace

QString LongMonthName(int m) { return (m < 1 || m > 12) ? QString() : systemLocale().standaloneMonthName(m, QLocale::LongFormat); }
QString LongDayName(int d) { return (d < 1 || d > 7) ? QString() : systemLocale().dayName(qtDay(d), QLocale::LongFormat); }
QString ShortDayName(int d) { return (d < 1 || d > 7) ? QString() : systemLocale().dayName(qtDay(d), QLocale::ShortFormat); }
}  // namespace plennix
