#pragma once
// Month and day names of the system locale (English under LANG=C). Months 1..12; days 1..7 with
// 1 = Sunday, the system's day numbering.
#include <QString>

namespace plennix {
QString LongMonthName(int month);
QString LongDayName(int day);
QString ShortDayName(int day);
}  // namespace plennix
