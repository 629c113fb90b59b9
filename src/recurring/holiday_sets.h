#pragma once
// The holiday sets of many countries, read from the table shipped in the data folder
// (holidays/holidays.tsv): per country its public holidays and observances with their formulas, and the
// holidays that no yearly formula can express (they follow a lunar or another calendar), which the
// Holidays dialog lists greyed.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace plennix {

struct HolidayRow {
    enum class Kind { Public, Observance, NotExpressible };
    Kind kind = Kind::Public;
    QString formula;  // empty for NotExpressible
    QString englishName;
    QString localName;  // the name in the country's language
};

// A state or province whose own holidays come on top of the national ones.
struct HolidayRegion {
    QString code;  // "BY"; its holidays are listed under "DE-BY"
    QString englishName;
    QString localName;
    std::vector<HolidayRow> holidays;
};

struct HolidayCountry {
    QString code;  // ISO 3166 code, "DE"
    QString englishName;
    QString localName;
    std::vector<HolidayRow> holidays;  // national
    std::vector<HolidayRegion> regions;
};

// The table's lines beyond this many are left out, with a message.
constexpr int kMaxHolidayTableLines = 20000;

// Reads the table (UTF-8, tab-separated): "country" lines, "region" lines (country code, region code,
// names) after their country, and holiday lines under the country ("DE") or region ("DE-BY") they follow. Throws
// nothing: a line that cannot be read makes the whole table fail with a message naming the line and the reason, so that
// a damaged table is never half used.
std::optional<std::vector<HolidayCountry>> ParseHolidayTable(const QByteArray& utf8, QString* error);
// The shipped table's path, empty when no data folder was found.
QString HolidayTableFile();
// Reads the shipped table; the message names the file and the reason.
std::optional<std::vector<HolidayCountry>> LoadHolidayTable(QString* error);

// The entry line a holiday adds to the recurring dates, as the classic holidays are built: the name in
// 120 characters, then the formula ("@" and "$" formulas blank-filled to 10, "#" names as they are). The
// local name is used when asked for and the files' code page can hold it; otherwise the English name.
QString HolidayEntryLine(const HolidayRow& holiday, bool localName);
// The country whose code matches the system locale's territory, else "US"; -1 when neither is present.
int DefaultHolidayCountry(const std::vector<HolidayCountry>& countries, const QString& territoryCode);

}  // namespace plennix
