#include "recurring/holiday_sets.h"

#include <QFile>
#include <QFileInfo>

#include "platform/code_page.h"
#include "platform/program_folder.h"
#include "recurring/formula.h"

namespace plennix {
namespace {
constexpr qint64 kMaxHolidayTableBytes = 4 * 1024 * 1024;

bool FormulaIsReadable(const QString& formula) {
    if (formula.isEmpty()) return false;
    switch (formula[0].unicode()) {
    case '@': return ParseDayOfMonth(formula).has_value() && formula.size() == 5;
    case '$': return ParseSpecial(formula).has_value();
    case '#': return ParseFeast(formula).has_value() && formula.size() <= kFeastNameWidth;
    default: return false;
    }
}
}  // namespace

std::optional<std::vector<HolidayCountry>> ParseHolidayTable(const QByteArray& utf8, QString* error) {
    std::vector<HolidayCountry> countries;
    const QList<QByteArray> lines = utf8.split('\n');
    auto fail = [&](int number, const QString& reason) {
        *error = QStringLiteral("line %1: %2").arg(number).arg(reason);
        return std::nullopt;
    };
    if (lines.size() > kMaxHolidayTableLines) return fail(kMaxHolidayTableLines + 1, QStringLiteral("too many lines"));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = QString::fromUtf8(lines[i]);
        if (line.endsWith('\r')) line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith('#')) continue;
        const QStringList f = line.split('\t');
        if (f[0] == QLatin1String("country")) {
            if (f.size() != 4 || f[1].isEmpty() || f[2].isEmpty())
                return fail(i + 1, QStringLiteral("a country needs a code and two names"));
            countries.push_back({f[1], f[2], f[3], {}, {}});
            continue;
        }
        if (f[0] == QLatin1String("region")) {
            if (f.size() != 5 || f[2].isEmpty() || f[3].isEmpty())
                return fail(i + 1, QStringLiteral("a region needs its country, a code and two names"));
            if (countries.empty() || countries.back().code != f[1])
                return fail(i + 1, QStringLiteral("region of %1 outside its country's lines").arg(f[1]));
            countries.back().regions.push_back({f[2], f[3], f[4], {}});
            continue;
        }
        if (f.size() != 5) return fail(i + 1, QStringLiteral("a holiday needs five tab-separated fields"));
        std::vector<HolidayRow>* holidays = nullptr;
        if (!countries.empty()) {
            HolidayCountry& c = countries.back();
            if (c.code == f[0] && c.regions.empty())
                holidays = &c.holidays;
            else if (!c.regions.empty() && f[0] == c.code + '-' + c.regions.back().code)
                holidays = &c.regions.back().holidays;
        }
        if (!holidays)
            return fail(i + 1, QStringLiteral("holiday of %1 outside its country's or region's lines").arg(f[0]));
        HolidayRow row;
        if (f[1] == QLatin1String("P"))
            row.kind = HolidayRow::Kind::Public;
        else if (f[1] == QLatin1String("O"))
            row.kind = HolidayRow::Kind::Observance;
        else if (f[1] == QLatin1String("N"))
            row.kind = HolidayRow::Kind::NotExpressible;
        else
            return fail(i + 1, QStringLiteral("unknown kind \"%1\"").arg(f[1]));
        if (row.kind == HolidayRow::Kind::NotExpressible) {
            if (f[2] != QLatin1String("-")) return fail(i + 1, QStringLiteral("a holiday without formula has \"-\""));
        } else {
            if (!FormulaIsReadable(f[2])) return fail(i + 1, QStringLiteral("formula \"%1\" cannot be read").arg(f[2]));
            row.formula = f[2];
        }
        if (f[3].isEmpty() || f[3].size() > kEventFieldWidth || f[4].isEmpty() || f[4].size() > kEventFieldWidth)
            return fail(i + 1, QStringLiteral("a name is empty or longer than %1 characters").arg(kEventFieldWidth));
        row.englishName = f[3];
        row.localName = f[4];
        holidays->push_back(row);
    }
    return countries;
}

QString HolidayTableFile() {
    const QString data = DataDir();
    return data.isEmpty() ? QString() : data + QStringLiteral("holidays/holidays.tsv");
}

std::optional<std::vector<HolidayCountry>> LoadHolidayTable(QString* error) {
    const QString path = HolidayTableFile();
    if (path.isEmpty()) {
        *error = QStringLiteral("The holidays of other countries cannot be shown: no data folder was found");
        return std::nullopt;
    }
    const QFileInfo info(path);
    // A FIFO or a device would block the open; a huge file is no table of ours.
    if (!info.isFile() || info.size() > kMaxHolidayTableBytes) {
        *error = QStringLiteral("Cannot read %1: %2")
                     .arg(path, info.exists() ? QStringLiteral("not a holiday table")
                                              : QStringLiteral("the file does not exist"));
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QString reason;
    auto table = ParseHolidayTable(file.readAll(), &reason);
    if (!table) *error = QStringLiteral("Cannot read %1: %2").arg(path, reason);
    return table;
}

QString HolidayEntryLine(const HolidayRow& holiday, bool localName) {
    const QString name = localName && CanEncode(holiday.localName) ? holiday.localName : holiday.englishName;
    const QString formula =
        holiday.formula.startsWith('#') ? holiday.formula : FitToWidth(holiday.formula, kFormulaFieldWidth);
    return FitToWidth(name, kEventFieldWidth) + formula;
}

int DefaultHolidayCountry(const std::vector<HolidayCountry>& countries, const QString& territoryCode) {
    int us = -1;
    for (int i = 0; i < int(countries.size()); ++i) {
        if (countries[i].code.compare(territoryCode, Qt::CaseInsensitive) == 0) return i;
        if (countries[i].code == QLatin1String("US")) us = i;
    }
    return us;
}

}  // namespace plennix
