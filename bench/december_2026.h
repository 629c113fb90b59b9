#pragma once
// The holiday texts of the December 2026 month page that bench/cli_startup.sh prints: the fixture
// writes them into the document's day cells, and the Gui-only stand-in draws them the same.
namespace plennix::bench {
struct DayNote {
    int day;
    const char* text;
};
inline constexpr DayNote kDecember2026Holidays[] = {
    {1, "World AIDS Day"}, {6, "St Nicholas"},      {8, "Immaculate Conception"}, {10, "Human Rights Day"},
    {13, "St Lucy"},       {21, "Winter solstice"}, {24, "Christmas Eve"},        {25, "Christmas Day"},
    {26, "Boxing Day"},    {31, "New Year's Eve"}};
}  // namespace plennix::bench
