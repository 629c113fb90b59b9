#include "platform/dates.h"

#include <cstdint>

namespace plennix {

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

int DayOfWeek(int year, int month, int day) {
    if (day < 1 || day > DaysInMonth(year, month)) return 0;
    // Days since 1970-01-01 (a Thursday), in 64 bits so that no year overflows.
    int64_t y = static_cast<int64_t>(year) - (month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const int64_t n = era * 146097 + doe - 719468;
    return static_cast<int>(((n % 7) + 7 + 4) % 7) + 1;
}

}  // namespace plennix
