// The shipped holiday table: it reads, and for every country and every year from 2000 to 2060 the days
// its public holidays' formulas select (through the program's own formula code) are the public holidays
// that Debian's python3-holidays gives (data/holiday_reference.txt, written by holiday_reference.py) or,
// for the countries the library does not know, that their own regulations give
// (data/holiday_official_rules.txt, expanded by holiday_official.py into holiday_official_reference.txt).
#include <gtest/gtest.h>

#include "common/qstring_printer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <map>
#include <set>

#include "recurring/formula.h"
#include "recurring/holiday_sets.h"
#include "recurring/store.h"

using namespace plennix;

namespace {
constexpr int kFirstYear = 2000;
constexpr int kLastYear = 2060;

// What the reference gives that the table does not, or the other way round, and why.
struct KnownDifference {
    const char* country;
    int firstYear, lastYear;  // the years it applies to
    // The days: "MMDD"; a formula ("$1 1 3"), for the day it selects that year; "SUN" for every Sunday;
    // "BRIDGE" for a Monday before or a Friday after a holiday; "" for every day the library gives as a
    // substitute ("s") for a holiday on a weekend.
    const char* day;
    bool onlyInReference;  // true: the library has it, the table not; false: the other way
    const char* reason;
};

const KnownDifference kKnown[] = {
    // Substitute days: the library moves or adds a day when a holiday falls on a weekend; a formula
    // names the holiday's own date.
    {"AU", 2000, 2060, "", true, "substitute days for holidays on a weekend"},
    {"CA", 2000, 2060, "", true, "substitute days for holidays on a weekend"},
    {"GB", 2000, 2060, "", true, "substitute days for holidays on a weekend"},
    {"IE", 2000, 2060, "", true, "substitute days for holidays on a weekend"},
    {"JP", 2000, 2060, "", true, "substitute holidays and citizens' holidays between two holidays"},
    {"KE", 2000, 2060, "", true, "substitute days for holidays on a Sunday"},
    {"MX", 2000, 2060, "", true, "substitute days"},
    {"NZ", 2000, 2060, "", true, "substitute days for holidays on a weekend"},
    {"US", 2000, 2060, "", true, "observed days for holidays on a weekend"},
    {"ZA", 2000, 2060, "", true, "substitute days for holidays on a Sunday"},
    {"CA", 2000, 2060, "@1226", false,
     "the library gives Boxing Day only as a substitute Monday when it falls on a weekend"},
    // The library's own view of some countries.
    {"NO", 2000, 2060, "SUN", true, "the library counts every Sunday as a holiday"},
    {"SE", 2000, 2060, "SUN", true, "the library counts every Sunday as a holiday"},
    {"CO", 2000, 2060, "@0101", false,
     "the library leaves out fixed holidays that fall on a weekend; by law they keep their date"},
    {"CO", 2000, 2060, "@0720", false,
     "the library leaves out fixed holidays that fall on a weekend; by law they keep their date"},
    {"CO", 2000, 2060, "@1208", false,
     "the library leaves out fixed holidays that fall on a weekend; by law they keep their date"},
    {"NL", 2000, 2060, "@0505", false, "the library gives Liberation Day only every fifth year, when it is a day off"},
    // Holidays that no yearly formula can express (the table lists them greyed).
    {"JP", 2000, 2060, "0320", true, "the vernal equinox day follows the astronomical equinox"},
    {"JP", 2000, 2060, "0321", true, "the vernal equinox day follows the astronomical equinox"},
    {"JP", 2000, 2060, "0922", true, "the autumnal equinox day follows the astronomical equinox"},
    {"JP", 2000, 2060, "0923", true, "the autumnal equinox day follows the astronomical equinox"},
    {"MX", 2000, 2060, "1201", true, "the change of federal government happens every six years"},
    {"CL", 2000, 2060, "0920", true, "the Fiestas Patrias bridge day (20 September) is a holiday in some years only"},
    {"NL", 2000, 2013, "@0430", true, "Queen's Day: 30 April, or 29 April when that is a Sunday"},
    {"NL", 2000, 2013, "0429", true, "Queen's Day: 30 April, or 29 April when that is a Sunday"},
    {"NL", 2014, 2060, "@0427", true, "King's Day: 27 April, or 26 April when that is a Sunday"},
    {"NL", 2014, 2060, "0426", true, "King's Day: 27 April, or 26 April when that is a Sunday"},
    {"HU", 2010, 2060, "@1224", true, "the library gives Christmas Eve as a rest day in some years, by yearly decree"},
    {"HU", 2011, 2060, "BRIDGE", true,
     "bridge days (a Monday before or a Friday after a holiday), decreed year by year"},
    // Holidays introduced, ended or moved in a given year: the table holds today's rule.
    {"AR", 2000, 2009, "@1120", false, "National Sovereignty Day became a holiday in 2010"},
    {"CZ", 2000, 2015, "#EASTER-2", false, "Good Friday became a holiday in 2016"},
    {"EG", 2000, 2008, "@0125", false, "25 January became a holiday in 2009 (Police Day, Revolution Day from 2012)"},
    {"EG", 2000, 2013, "@0630", false, "30 June Revolution Day became a holiday in 2014"},
    {"HU", 2000, 2016, "#EASTER-2", false, "Good Friday became a holiday in 2017"},
    {"JP", 2000, 2002, "$2 1 7", false, "Marine Day was 20 July until 2002"},
    {"JP", 2000, 2002, "@0720", true, "Marine Day was 20 July until 2002"},
    {"JP", 2000, 2002, "$2 1 9", false, "Respect for the Aged Day was 15 September until 2002"},
    {"JP", 2000, 2002, "@0915", true, "Respect for the Aged Day was 15 September until 2002"},
    {"JP", 2003, 2003, "@0504", false, "4 May was a holiday only between two holidays until 2006, so not on a Sunday"},
    {"JP", 2000, 2015, "@0811", false, "Mountain Day became a holiday in 2016"},
    {"JP", 2000, 2019, "@0223", false,
     "the Emperor's Birthday was 23 December until 2018 and is 23 February from 2020"},
    {"JP", 2000, 2018, "@1223", true, "the Emperor's Birthday was 23 December until 2018 and is 23 February from 2020"},
    {"JP", 2019, 2019, "0501", true, "the enthronement day of 2019"},
    {"JP", 2019, 2019, "1022", true, "the enthronement ceremony of 2019"},
    {"JP", 2020, 2020, "$2 1 7", false, "Marine Day, Sports Day and Mountain Day moved for the Olympic Games of 2020"},
    {"JP", 2020, 2020, "$1 1 10", false, "Marine Day, Sports Day and Mountain Day moved for the Olympic Games of 2020"},
    {"JP", 2020, 2020, "@0811", false, "Marine Day, Sports Day and Mountain Day moved for the Olympic Games of 2020"},
    {"JP", 2020, 2020, "0723", true, "Marine Day, Sports Day and Mountain Day moved for the Olympic Games of 2020"},
    {"JP", 2020, 2020, "0724", true, "Marine Day, Sports Day and Mountain Day moved for the Olympic Games of 2020"},
    {"JP", 2020, 2020, "0810", true, "Marine Day, Sports Day and Mountain Day moved for the Olympic Games of 2020"},
    {"LT", 2000, 2002, "@0624", false, "St. John's Day became a holiday in 2003"},
    {"LU", 2000, 2018, "@0509", false, "Europe Day became a holiday in 2019"},
    {"MX", 2000, 2006, "$0 1 2", false,
     "Constitution Day, Juárez's Birthday and Revolution Day kept their dates until 2006"},
    {"MX", 2000, 2006, "$2 1 3", false,
     "Constitution Day, Juárez's Birthday and Revolution Day kept their dates until 2006"},
    {"MX", 2000, 2006, "$2 1 11", false,
     "Constitution Day, Juárez's Birthday and Revolution Day kept their dates until 2006"},
    {"MX", 2000, 2006, "@0205", true,
     "Constitution Day, Juárez's Birthday and Revolution Day kept their dates until 2006"},
    {"MX", 2000, 2006, "@0321", true,
     "Constitution Day, Juárez's Birthday and Revolution Day kept their dates until 2006"},
    {"MX", 2000, 2006, "@1120", true,
     "Constitution Day, Juárez's Birthday and Revolution Day kept their dates until 2006"},
    {"PL", 2000, 2010, "@0106", false, "Epiphany became a holiday in 2011"},
    {"PT", 2013, 2015, "#EASTER+60", false, "four holidays were suspended from 2013 to 2015"},
    {"PT", 2013, 2015, "@1005", false, "four holidays were suspended from 2013 to 2015"},
    {"PT", 2013, 2015, "@1101", false, "four holidays were suspended from 2013 to 2015"},
    {"PT", 2013, 2015, "@1201", false, "four holidays were suspended from 2013 to 2015"},
    {"SE", 2000, 2004, "@0606", false, "National Day became a holiday in 2005, when Whit Monday ceased to be one"},
    {"SE", 2000, 2004, "#EASTER+50", true, "National Day became a holiday in 2005, when Whit Monday ceased to be one"},
    {"SK", 2000, 2000, "@1117", false, "17 November became a holiday in 2001"},
    {"UA", 2000, 2017, "0502", true, "the second day of Labour Day (2 May) ended in 2018"},
    {"UA", 2000, 2014, "@1014", false, "Defenders Day became a holiday in 2015"},
    {"UA", 2000, 2016, "@1225", false, "Christmas on 25 December became a holiday in 2017"},
    // One-off holidays.
    {"DE", 2017, 2017, "1031", true, "Reformation Day 2017, a national holiday that year only"},
    {"GB", 2002, 2002, "0603", true, "the Golden Jubilee holiday"},
    {"GB", 2011, 2011, "0429", true, "a royal wedding"},
    {"GB", 2012, 2012, "0604", true, "the Diamond Jubilee; the spring bank holiday moved to 4 June"},
    {"GB", 2012, 2012, "0605", true, "the Diamond Jubilee; the spring bank holiday moved to 4 June"},
    {"GB", 2012, 2012, "$5 1 5", false, "the Diamond Jubilee; the spring bank holiday moved to 4 June"},
    {"GB", 2020, 2020, "0508", true, "the early May bank holiday moved to VE Day, 8 May 2020"},
    {"GB", 2020, 2020, "$0 1 5", false, "the early May bank holiday moved to VE Day, 8 May 2020"},
    {"SK", 2018, 2018, "1030", true, "a one-off holiday, 30 October 2018"},
    {"ZA", 2000, 2000, "0102", true, "the Y2K changeover holiday"},
    {"ZA", 2004, 2004, "0414", true, "an election day"},
    {"ZA", 2006, 2006, "0301", true, "an election day"},
    {"ZA", 2008, 2008, "0502", true, "a day given by presidential decree"},
    {"ZA", 2009, 2009, "0422", true, "an election day"},
    {"ZA", 2011, 2011, "0518", true, "an election day"},
    {"ZA", 2011, 2011, "1227", true, "a day given by presidential decree"},
    {"ZA", 2014, 2014, "0507", true, "an election day"},
    {"ZA", 2016, 2016, "0803", true, "an election day"},
    {"ZA", 2019, 2019, "0508", true, "an election day"},
    // The countries compared with their own regulations (holiday_official_rules.txt).
    {"CN", 2000, 2007, "0503", true, "Labour Day was 1 to 3 May until 2007, 1 May from 2008, 1 and 2 May from 2025"},
    {"CN", 2008, 2024, "@0502", false, "Labour Day was 1 to 3 May until 2007, 1 May from 2008, 1 and 2 May from 2025"},
    {"ID", 2000, 2013, "@0501", false, "Labour Day became a holiday in 2014"},
    {"ID", 2000, 2016, "@0601", false, "Pancasila Day became a holiday in 2017"},
    {"ID", 2000, 2023, "#EASTER+0", false, "Easter Sunday is listed among the national holidays from 2024"},
    {"PK", 2015, 2021, "@1109", false, "Iqbal Day was not a holiday from 2015 to 2021"},
    {"ET", 2000, 2060, "0911", true, "Ethiopian New Year: 11 September, 12 September in the year before a leap year"},
    {"ET", 2000, 2060, "0912", true, "Ethiopian New Year: 11 September, 12 September in the year before a leap year"},
    {"ET", 2000, 2060, "0927", true, "Meskel: 27 September, 28 September in the year before a leap year"},
    {"ET", 2000, 2060, "0928", true, "Meskel: 27 September, 28 September in the year before a leap year"},
    {"ET", 2000, 2060, "0119", true, "Timket: 19 January, 20 January in a leap year"},
    {"ET", 2000, 2060, "0120", true, "Timket: 19 January, 20 January in a leap year"},
    {"ET", 2000, 2060, "@0107", false,
     "Genna in a leap year: 29 Tahsas falls on 8 January; that the holiday stays on 7 January is not certain"},
    // States and territories.
    {"AU-ACT", 2000, 2007, "$1 1 3", false, "Canberra Day was the third Monday of March until 2007"},
    {"AU-ACT", 2000, 2007, "$2 1 3", true, "Canberra Day was the third Monday of March until 2007"},
    {"AU-ACT", 2000, 2017, "#MON>=0527", false, "Reconciliation Day became a holiday in 2018"},
    {"AU-ACT", 2007, 2009, "$0 2 11", true, "Family and Community Day (2007-2017), whose rule changed almost yearly"},
    {"AU-ACT", 2010, 2017, "#MON>=0925", true,
     "Family and Community Day (2007-2017), whose rule changed almost yearly"},
    {"AU-ACT", 2010, 2012, "#MON>=1008", true,
     "Family and Community Day (2007-2017), whose rule changed almost yearly"},
    {"AU-ACT", 2010, 2010, "0926", true, "Family and Community Day (2007-2017), whose rule changed almost yearly"},
    {"AU-QLD", 2000, 2015, "$0 1 10", false, "the Queen's Birthday was the second Monday of June until 2015"},
    {"AU-QLD", 2000, 2015, "$1 1 6", true, "the Queen's Birthday was the second Monday of June until 2015"},
    {"AU-QLD", 2013, 2015, "$0 1 5", false, "Labour Day was the first Monday of October from 2013 to 2015"},
    {"AU-SA", 2000, 2005, "$1 1 3", false, "the Adelaide Cup holiday was the third Monday of March until 2005"},
    {"AU-SA", 2000, 2005, "$2 1 3", true, "the Adelaide Cup holiday was the third Monday of March until 2005"},
    {"AU-VIC", 2000, 2014, "#FRI<=0930", false, "Grand Final Day became a holiday in 2015"},
    {"DE-BE", 2000, 2018, "@0308", false, "International Women's Day became a holiday in Berlin in 2019"},
    {"DE-BE", 2020, 2020, "0508", true, "8 May 2020 was a one-off holiday in Berlin"},
    {"DE-HB", 2000, 2016, "@1031", false,
     "Reformation Day became a holiday in Bremen in 2018 (in 2017 it was national)"},
    {"DE-HH", 2000, 2016, "@1031", false,
     "Reformation Day became a holiday in Hamburg in 2018 (in 2017 it was national)"},
    {"DE-NI", 2000, 2016, "@1031", false,
     "Reformation Day became a holiday in Lower Saxony in 2018 (in 2017 it was national)"},
    {"DE-SH", 2000, 2016, "@1031", false,
     "Reformation Day became a holiday in Schleswig-Holstein in 2018 (in 2017 it was national)"},
    {"DE-TH", 2000, 2018, "@0920", false, "World Children's Day became a holiday in Thuringia in 2019"},
};

bool FormulaSelects(const QString& formula, int year, const QString& mmdd) {
    const auto days = SelectedDays(BuildEntry(QStringLiteral("x"), formula), year, mmdd.left(2).toInt());
    return std::find(days.begin(), days.end(), mmdd.mid(2).toInt()) != days.end();
}

// A Monday before or a Friday after a holiday of the same year.
bool IsBridgeDay(int year, const QString& mmdd, const std::set<QString>& holidays) {
    const QDate date(year, mmdd.left(2).toInt(), mmdd.mid(2).toInt());
    const QDate next = date.addDays(date.dayOfWeek() == Qt::Monday ? 1 : -1);
    // New Year's Day of the next year counts too: every set here has it.
    const bool holiday = next.year() == year
                             ? holidays.count(QString::asprintf("%02d%02d", next.month(), next.day())) > 0
                             : next.month() == 1 && next.day() == 1;
    return (date.dayOfWeek() == Qt::Monday || date.dayOfWeek() == Qt::Friday) && holiday;
}

bool IsSunday(int year, const QString& mmdd) { return DayOfWeek(year, mmdd.left(2).toInt(), mmdd.mid(2).toInt()) == 1; }

// Both references: the library's and the one expanded from the regulations of the countries it lacks.
std::map<std::pair<QString, int>, std::set<QString>> ReadReference(QString* error) {
    std::map<std::pair<QString, int>, std::set<QString>> days;
    for (const char* name : {"data/holiday_reference.txt", "data/holiday_official_reference.txt"}) {
        QFile f(QFileInfo(QString::fromUtf8(__FILE__)).dir().filePath(QString::fromLatin1(name)));
        if (!f.open(QIODevice::ReadOnly)) {
            *error = f.fileName() + ": " + f.errorString();
            return {};
        }
        for (const QByteArray& raw : f.readAll().split('\n')) {
            const QStringList fields = QString::fromUtf8(raw).split('\t');
            if (fields.size() != 3) continue;
            std::set<QString>& year = days[{fields[0], fields[1].toInt()}];
            for (const QString& d : fields[2].split(' ', Qt::SkipEmptyParts)) year.insert(d);
        }
    }
    return days;
}

// A difference listed for a country holds for its regions too, whose sets include the national holidays.
bool Listed(const QString& place, int year, const QString& day, bool substitute, bool onlyInReference,
            const std::set<QString>& selected, std::set<const KnownDifference*>* used) {
    for (const KnownDifference& k : kKnown) {
        const QString country = QString::fromLatin1(k.country);
        if ((place != country && !place.startsWith(country + '-')) || year < k.firstYear || year > k.lastYear ||
            k.onlyInReference != onlyInReference)
            continue;
        const QString listed = QString::fromLatin1(k.day);
        if (substitute ? listed.isEmpty()
                       : day == listed || (listed == "SUN" && IsSunday(year, day)) ||
                             (listed == "BRIDGE" && IsBridgeDay(year, day, selected)) ||
                             (listed.size() > 4 && listed != "BRIDGE" && FormulaSelects(listed, year, day))) {
            used->insert(&k);
            return true;
        }
    }
    return false;
}

// The differences between the days the rows' formulas select and the reference's, for one place.
QStringList Unexplained(const QString& place, const std::vector<HolidayRow>& rows,
                        const std::map<std::pair<QString, int>, std::set<QString>>& reference,
                        std::set<const KnownDifference*>* used) {
    QStringList unexplained;
    for (int year = kFirstYear; year <= kLastYear; ++year) {
        std::set<QString> selected;
        for (const HolidayRow& h : rows) {
            if (h.kind != HolidayRow::Kind::Public) continue;
            const QString line = HolidayEntryLine(h, false);
            for (int month = 1; month <= 12; ++month)
                for (int day : SelectedDays(line, year, month))
                    selected.insert(QString::asprintf("%02d%02d", month, day));
        }
        auto it = reference.find({place, year});
        if (it == reference.end()) {
            unexplained << QStringLiteral("%1 %2 missing from the reference").arg(place).arg(year);
            continue;
        }
        for (const QString& d : it->second) {
            const QString day = d.left(4);
            if (!selected.count(day) && !Listed(place, year, day, d.endsWith('s'), true, selected, used))
                unexplained << QStringLiteral("%1 %2 %3 only in the reference").arg(place).arg(year).arg(d);
        }
        for (const QString& day : selected)
            if (!it->second.count(day) && !it->second.count(day + 's') &&
                !Listed(place, year, day, false, false, selected, used))
                unexplained << QStringLiteral("%1 %2 %3 only in the table").arg(place).arg(year).arg(day);
    }
    return unexplained;
}
}  // namespace

TEST(HolidaySets, EveryCountrysFormulasSelectTheLibrarysPublicHolidays) {
    QString error;
    auto table = LoadHolidayTable(&error);
    ASSERT_TRUE(table) << error.toStdString();
    const auto reference = ReadReference(&error);
    ASSERT_FALSE(reference.empty()) << error.toStdString();
    QStringList unexplained;
    std::set<const KnownDifference*> used;
    for (const HolidayCountry& country : *table) {
        unexplained << Unexplained(country.code, country.holidays, reference, &used);
        for (const HolidayRegion& region : country.regions) {
            std::vector<HolidayRow> rows = country.holidays;
            rows.insert(rows.end(), region.holidays.begin(), region.holidays.end());
            unexplained << Unexplained(country.code + '-' + region.code, rows, reference, &used);
        }
    }
    // A listed difference that no longer occurs is a stale claim about the table or the library.
    for (const KnownDifference& k : kKnown)
        if (!used.count(&k))
            unexplained << QStringLiteral("%1 %2-%3 %4 is listed but does not differ")
                               .arg(QLatin1String(k.country))
                               .arg(k.firstYear)
                               .arg(k.lastYear)
                               .arg(QLatin1String(k.day));
    EXPECT_TRUE(unexplained.isEmpty()) << unexplained.size() << "\n" << unexplained.join('\n').toStdString();
}

TEST(HolidaySets, TableReadsCountriesRegionsAndRefusesDamagedLines) {
    QString error;
    const QByteArray good =
        "# comment\n"
        "country\tDE\tGermany\tDeutschland\n"
        "DE\tP\t#EASTER+1\tEaster Monday\tOstermontag\n"
        "DE\tN\t-\tSomething lunar\tEtwas\n"
        "region\tDE\tBY\tBavaria\tBayern\n"
        "DE-BY\tP\t@0106\tEpiphany\tHeilige Drei Könige\r\n"
        "country\tUS\tUnited States\tUnited States\n"
        "US\tO\t$2 6 5\tArmed Forces Day\tArmed Forces Day\n";
    auto table = ParseHolidayTable(good, &error);
    ASSERT_TRUE(table) << error.toStdString();
    ASSERT_EQ(table->size(), 2u);
    const HolidayCountry& de = table->front();
    ASSERT_EQ(de.holidays.size(), 2u);
    EXPECT_EQ(de.holidays[1].kind, HolidayRow::Kind::NotExpressible);
    ASSERT_EQ(de.regions.size(), 1u);
    EXPECT_EQ(de.regions[0].localName, QString::fromUtf8("Bayern"));
    EXPECT_EQ(de.regions[0].holidays[0].localName, QString::fromUtf8("Heilige Drei Könige"));
    EXPECT_EQ(table->back().holidays[0].kind, HolidayRow::Kind::Observance);

    const std::pair<const char*, const char*> bad[] = {
        {"DE\tP\t@0101\tNew Year\tNeujahr\n", "line 1: holiday of DE outside"},
        {"country\tDE\tGermany\tDeutschland\nDE\tP\t@1301\tX\tX\n", "line 2: formula \"@1301\" cannot be read"},
        {"country\tDE\tGermany\tDeutschland\nDE\tP\t#WHITSUN\tX\tX\n", "line 2: formula \"#WHITSUN\" cannot be read"},
        {"country\tDE\tGermany\tDeutschland\nDE\tX\t@0101\tX\tX\n", "line 2: unknown kind"},
        {"country\tDE\tGermany\tDeutschland\nDE\tN\t@0101\tX\tX\n", "line 2: a holiday without formula"},
        {"country\tDE\tGermany\tDeutschland\nDE\tP\t@0101\tX\n", "line 2: a holiday needs five"},
        {"country\tDE\tGermany\tDeutschland\nregion\tAT\tW\tVienna\tWien\n", "line 2: region of AT outside"},
        // National holidays come before the regions, so that a region's list is never split.
        {"country\tDE\tGermany\tDeutschland\nregion\tDE\tBY\tBavaria\tBayern\nDE\tP\t@0101\tX\tX\n",
         "line 3: holiday of DE outside"},
    };
    for (const auto& [text, message] : bad) {
        error.clear();
        EXPECT_FALSE(ParseHolidayTable(text, &error)) << text;
        EXPECT_TRUE(error.startsWith(QString::fromLatin1(message))) << error.toStdString();
    }
}

TEST(HolidaySets, ShippedTableCoversTheContinentsAndKeepsTheClassicList) {
    QString error;
    auto table = LoadHolidayTable(&error);
    ASSERT_TRUE(table) << error.toStdString();
    EXPECT_GE(table->size(), 40u);
    std::set<QString> codes;
    for (const HolidayCountry& c : *table) codes.insert(c.code);
    for (const char* code : {"DE", "FR", "PL", "GB", "US", "CA", "BR", "MX", "AU", "NZ",
                             "IN", "JP", "NG", "EG", "ZA", "CN", "ID", "PK", "BD", "ET"})
        EXPECT_TRUE(codes.count(code)) << code;
    // Every line the classic Holidays list offered is a United States line of the table, byte for byte.
    const HolidayCountry& us = *std::find_if(table->begin(), table->end(), [](auto& c) { return c.code == "US"; });
    QStringList lines;
    for (const HolidayRow& h : us.holidays) lines << HolidayEntryLine(h, true);
    for (const QString& line : BuiltInHolidayLines()) EXPECT_TRUE(lines.contains(line)) << line.toStdString();
    EXPECT_EQ(DefaultHolidayCountry(*table, "de"),
              int(std::distance(table->begin(),
                                std::find_if(table->begin(), table->end(), [](auto& c) { return c.code == "DE"; }))));
    EXPECT_EQ((*table)[DefaultHolidayCountry(*table, "XX")].code, "US");
}
