#pragma once
// Calendar arithmetic shared by the page and the recurring dates (proleptic Gregorian calendar).
namespace plennix {
bool IsLeapYear(int year);
// 0 for a month outside 1..12.
int DaysInMonth(int year, int month);
// 1 = Sunday .. 7 = Saturday; 0 when the month or day does not exist.
int DayOfWeek(int year, int month, int day);
}  // namespace plennix
