#include "recurring/store.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "platform/file_io.h"
#include "platform/program_folder.h"
#include "platform/code_page.h"
#include "recurring/formula.h"

namespace plennix {
namespace {
// A list of recurring dates is a few kilobytes; anything near this is not one.
constexpr qint64 kMaxFileBytes = 64LL * 1024 * 1024;

std::optional<QStringList> ReadLinesOf(const QString& path, QString* error) {
    auto bytes = ReadWholeFile(path, kMaxFileBytes, error);
    if (!bytes) return std::nullopt;
    return SplitRecurringLines(*bytes);
}
}  // namespace

QString RecurringDatesPath() { return ProgramFile(QStringLiteral("PXRECUR.DAX")); }
QString OldRecurringDatesPath() { return ProgramFile(QStringLiteral("PXRECUR.DAT")); }

QStringList SplitRecurringLines(const QByteArray& bytes) {
    QStringList lines;
    const char* data = bytes.constData();
    const qsizetype size = bytes.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (data[i] != '\r' && data[i] != '\n') continue;
        lines << DecodeFromCodePage(data + start, i - start);
        if (data[i] == '\r' && i + 1 < size && data[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < size) lines << DecodeFromCodePage(data + start, size - start);
    return lines;
}

QByteArray JoinRecurringLines(const QStringList& lines) {
    QByteArray out;
    for (const QString& line : lines) {
        out += EncodeToCodePage(line);
        out += "\r\n";
    }
    return out;
}

std::optional<QStringList> LoadRecurringDates(QString* error) {
    const QString path = RecurringDatesPath();
    if (!QFileInfo::exists(path)) return QStringList();
    return ReadLinesOf(path, error);
}

bool SaveRecurringDates(const QStringList& lines, QString* error) {
    const QByteArray bytes = JoinRecurringLines(lines);
    // Every line takes its full width, about twice an iCalendar event's: an import the .ics bound accepts
    // could make a list that no later start could read back, which would cost every date in it.
    if (bytes.size() > kMaxFileBytes) {
        if (error)
            *error = QStringLiteral("Unable to write %1: the list would be %2 bytes, more than the %3 bytes that are "
                                    "read back; the file is kept as it is")
                         .arg(RecurringDatesPath())
                         .arg(bytes.size())
                         .arg(kMaxFileBytes);
        return false;
    }
    return WriteFileAtomically(RecurringDatesPath(), bytes, error);
}

QString ConvertOldRecurringLine(const QString& oldLine) {
    return FitToWidth(oldLine.mid(4, 150), kEventFieldWidth) + '@' + FitToWidth(oldLine.left(4), kFormulaFieldWidth);
}

bool ConvertOldRecurringDatesFile(QString* error) {
    const QString oldPath = OldRecurringDatesPath();
    if (!QFileInfo::exists(oldPath)) return true;
    auto oldLines = ReadLinesOf(oldPath, error);
    if (!oldLines) return false;
    QStringList lines;
    lines.reserve(oldLines->size());
    for (const QString& line : *oldLines) lines << ConvertOldRecurringLine(line);
    // The old file goes only once the new one is safely on the disk.
    if (!SaveRecurringDates(lines, error)) return false;
    QFile old(oldPath);
    if (!old.remove()) {
        if (error) *error = QStringLiteral("Unable to delete ") + oldPath + QStringLiteral(": ") + old.errorString();
        return false;
    }
    return true;
}

bool EntryLess(const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; }

int SortedInsertIndex(const QStringList& sorted, const QString& line) {
    return static_cast<int>(std::upper_bound(sorted.begin(), sorted.end(), line, EntryLess) - sorted.begin());
}

QStringList BuiltInHolidayLines() {
    struct Holiday {
        const char* event;
        const char* formula;
    };
    static const Holiday holidays[] = {
        {"April Fools's Day", "@0401"},
        {"Armed Forces Day", "$2 6 5"},
        {"Christmas Day", "@1225"},
        {"Daylight Savings time begins", "$0 0 4"},
        {"Daylight Savings Time ends", "$5 0 10"},
        {"Easter", "#EASTER"},
        {"Father's Day", "$2 0 6"},
        {"Flag Day", "@0614"},
        {"Good Friday", "#GOODFRIDAY"},
        {"Groundhog Day", "@0202"},
        {"Halloween", "@1031"},
        {"Independence Day", "@0704"},
        {"Labor Day", "$0 1 9"},
        {"Lincoln's Birthday", "@0212"},
        {"Martin Luther King Day", "$2 1 1"},
        {"Memorial Day", "$5 1 5"},
        {"Mother's Day", "$1 0 5"},
        {"New Year's Day", "@0101"},
        {"Palm Sunday", "#PALMSUNDAY"},
        {"President's Day", "$2 1 2"},
        {"St. Patrick's Day", "@0317"},
        {"Thanksgiving Day", "$3 4 11"},
        {"United Nations Day", "@1024"},
        {"Valentine's Day", "@0214"},
        {"Veterans Day", "@1111"},
        {"Washington's Birthday", "@0222"},
    };
    QStringList lines;
    for (const Holiday& h : holidays) {
        const QString formula = QLatin1String(h.formula);
        // Feast names are stored without the blank fill of the other formulas.
        lines << FitToWidth(QLatin1String(h.event), kEventFieldWidth) +
                     (formula.startsWith('#') ? formula : FitToWidth(formula, kFormulaFieldWidth));
    }
    std::stable_sort(lines.begin(), lines.end(), EntryLess);
    return lines;
}

}  // namespace plennix
