// The Language tab: the month and day names, typed one per line or taken from a language.
#include <QApplication>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>
#include <algorithm>
#include <map>
#include <vector>

#include "calendar/properties_dialog.h"
#include "calendar/properties_preview.h"
#include "platform/code_page.h"
#include "platform/common_dialogs.h"
#include "platform/messages.h"

namespace plennix {
namespace {

const LanguageNames kEnglish{
    {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
    {"January", "February", "March", "April", "May", "June", "July", "August", "September", "October",
     "November", "December"}};
// The German Friday has always carried a trailing space; documents made with it keep comparing equal.
const LanguageNames kGerman{
    {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag ", "Samstag"},
    {QString::fromUtf8("Januar"), "Februar", QString::fromUtf8("März"), "April", "Mai", "Juni", "Juli", "August",
     "September", "Oktober", "November", "Dezember"}};
const LanguageNames kFrench{
    {"Dimanche", "Lundi", "Mardi", "Mercredi", "Jeudi", "Vendredi", "Samedi"},
    {"Janvier", QString::fromUtf8("Février"), "Mars", "Avril", "Mai", "Juin", "Juillet", QString::fromUtf8("Août"),
     "Septembre", "Octobre", "Novembre", QString::fromUtf8("Décembre")}};
const LanguageNames kItalian{
    {"Domenica", QString::fromUtf8("Lunedì"), QString::fromUtf8("Martedì"), QString::fromUtf8("Mercoledì"),
     QString::fromUtf8("Giovedì"), QString::fromUtf8("Venerdì"), "Sabato"},
    {"Gennaio", "Febbraio", "Marzo", "Aprile", "Maggio", "Giugno", "Luglio", "Agosto", "Settembre", "Ottobre",
     "Novembre", "Dicembre"}};
const LanguageNames kSpanish{
    {"Domingo", "Lunes", "Martes", QString::fromUtf8("Miércoles"), "Jueves", "Viernes", QString::fromUtf8("Sábado")},
    {"Enero", "Febrero", "Marzo", "Abril", "Mayo", "Junio", "Julio", "Agosto", "Septiembre", "Octubre", "Noviembre",
     "Diciembre"}};

// The "More languages…" chooser: one entry per distinct set of names a language has.
class LanguageChooser : public QDialog {
public:
    explicit LanguageChooser(QWidget* parent) : QDialog(parent) {
        setObjectName(QStringLiteral("LanguageChooser"));
        setWindowTitle(QStringLiteral("More Languages"));
        auto* layout = new QVBoxLayout(this);
        auto* note = new QLabel(
            QStringLiteral("Only languages whose names the calendar's code page (%1) can hold are listed.")
                .arg(ActiveCodePageName()),
            this);
        note->setWordWrap(true);
        layout->addWidget(note);
        List = new QListWidget(this);
        List->setObjectName(QStringLiteral("LanguageList"));
        List->setAccessibleName(QStringLiteral("Languages"));
        layout->addWidget(List);
        auto* buttons = new QHBoxLayout();
        buttons->addStretch();
        auto* ok = new QPushButton(QStringLiteral("&Ok"), this);
        ok->setObjectName(QStringLiteral("okbutton"));
        ok->setDefault(true);
        auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
        cancel->setObjectName(QStringLiteral("CancelButton"));
        buttons->addWidget(ok);
        buttons->addWidget(cancel);
        layout->addLayout(buttons);
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
        connect(List, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
        fill();
        resize(420, 460);
    }

    QListWidget* List;

private:
    void fill() {
        struct Entry {
            QLocale locale;
            QString key;
        };
        std::map<int, std::vector<Entry>> byLanguage;
        const QList<QLocale> all = QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
        auto consider = [&](const QLocale& locale) {
            if (locale.language() == QLocale::C) return;
            const LanguageNames names = LocaleLanguageNames(locale);
            // Locales without names of their own answer "M01".."M12" and English day abbreviations.
            static const QRegularExpression placeholder(QStringLiteral("^M\\d\\d$"));
            if (std::any_of(names.months.begin(), names.months.end(),
                            [](const QString& m) { return placeholder.match(m).hasMatch(); }))
                return;
            QStringList parts(names.days.begin(), names.days.end());
            for (const QString& m : names.months) parts << m;
            const QString key = parts.join('\n');
            if (!CanEncode(key)) return;
            auto& entries = byLanguage[int(locale.language())];
            for (const Entry& e : entries)
                if (e.key == key) return;
            entries.push_back({locale, key});
        };
        // The language's own default territory first, so that it names the common entry.
        for (const QLocale& locale : all) consider(QLocale(locale.language()));
        for (const QLocale& locale : all) consider(locale);

        std::vector<std::pair<QString, QLocale>> items;
        for (const auto& [language, entries] : byLanguage) {
            for (const Entry& e : entries) {
                QString label = e.locale.nativeLanguageName();
                const QString english = QLocale::languageToString(e.locale.language());
                if (label.isEmpty()) label = english;
                if (entries.size() > 1) {
                    QString territory = e.locale.nativeTerritoryName();
                    if (territory.isEmpty()) territory = QLocale::territoryToString(e.locale.territory());
                    label += QStringLiteral(" (%1)").arg(territory);
                }
                if (label.compare(english, Qt::CaseInsensitive) != 0) label += QStringLiteral(" — ") + english;
                items.emplace_back(label, e.locale);
            }
        }
        std::sort(items.begin(), items.end(),
                  [](const auto& a, const auto& b) { return a.first.localeAwareCompare(b.first) < 0; });
        for (const auto& [label, locale] : items) {
            auto* item = new QListWidgetItem(label, List);
            item->setData(Qt::UserRole, locale.name());
            // The name alone drops the script (Santali in Ol Chiki and in Latin share "sat_IN").
            item->setData(Qt::UserRole + 1, QVariantList{int(locale.language()), int(locale.script()), int(locale.territory())});
        }
        if (List->count() > 0) List->setCurrentRow(0);
    }
};

}  // namespace

const LanguageNames& BuiltInLanguageNames(CalendarLanguage language) {
    switch (language) {
    case CalendarLanguage::German: return kGerman;
    case CalendarLanguage::French: return kFrench;
    case CalendarLanguage::Italian: return kItalian;
    case CalendarLanguage::Spanish: return kSpanish;
    case CalendarLanguage::English: break;
    }
    return kEnglish;
}

QLocale LanguageChoiceLocale(const QListWidgetItem& item) {
    const QVariantList parts = item.data(Qt::UserRole + 1).toList();
    if (parts.size() != 3) return QLocale(item.data(Qt::UserRole).toString());
    return QLocale(static_cast<QLocale::Language>(parts[0].toInt()), static_cast<QLocale::Script>(parts[1].toInt()),
                   static_cast<QLocale::Territory>(parts[2].toInt()));
}

LanguageNames LocaleLanguageNames(const QLocale& locale) {
    LanguageNames names;
    // Qt numbers the days Monday = 1 .. Sunday = 7; the calendar starts its list with Sunday.
    for (int i = 0; i < 7; ++i) names.days[i] = locale.standaloneDayName(i == 0 ? 7 : i, QLocale::LongFormat);
    for (int i = 0; i < 12; ++i) names.months[i] = locale.standaloneMonthName(i + 1, QLocale::LongFormat);
    return names;
}

QStringList NameLines(const QString& text) {
    if (text.isEmpty()) return {};
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QChar('\r'), QChar('\n'));
    if (t.endsWith('\n')) t.chop(1);
    return t.split('\n');
}

QWidget* TCalendarProperties::buildLanguagePage() {
    auto* page = new QWidget(this);
    auto* layout = new QGridLayout(page);
    auto* monthLabel = new QLabel(QStringLiteral("&Month names"), page);
    auto* dayLabel = new QLabel(QStringLiteral("Da&y names"), page);
    MonthNames = new QPlainTextEdit(page);
    MonthNames->setObjectName(QStringLiteral("MonthNames"));
    MonthNames->setAccessibleName(QStringLiteral("Month names, one per line"));
    MonthNames->setTabChangesFocus(true);
    DayNames = new QPlainTextEdit(page);
    DayNames->setObjectName(QStringLiteral("DayNames"));
    DayNames->setAccessibleName(QStringLiteral("Day names, one per line, Sunday first"));
    DayNames->setTabChangesFocus(true);
    monthLabel->setBuddy(MonthNames);
    dayLabel->setBuddy(DayNames);
    layout->addWidget(monthLabel, 0, 0);
    layout->addWidget(dayLabel, 0, 1);
    layout->addWidget(MonthNames, 1, 0);
    layout->addWidget(DayNames, 1, 1);
    MonthNames->installEventFilter(this);
    DayNames->installEventFilter(this);

    auto* buttons = new QHBoxLayout();
    English = makeButton(QStringLiteral("English"), QStringLiteral("English"), QStringLiteral("English names"));
    French = makeButton(QStringLiteral("French"), QString::fromUtf8("Français"), QStringLiteral("French names"));
    German = makeButton(QStringLiteral("German"), QStringLiteral("Deutsch"), QStringLiteral("German names"));
    Italian = makeButton(QStringLiteral("Italian"), QStringLiteral("L'italiano"), QStringLiteral("Italian names"));
    Spanish = makeButton(QStringLiteral("Spanish"), QString::fromUtf8("Español"), QStringLiteral("Spanish names"));
    MoreLanguages = makeButton(QStringLiteral("MoreLanguages"), QString::fromUtf8("More languages…"),
                               QString::fromUtf8("More languages…"));
    const std::pair<QPushButton*, CalendarLanguage> languages[] = {
        {English, CalendarLanguage::English}, {French, CalendarLanguage::French}, {German, CalendarLanguage::German},
        {Italian, CalendarLanguage::Italian}, {Spanish, CalendarLanguage::Spanish}};
    for (const auto& [button, language] : languages) {
        buttons->addWidget(button);
        const CalendarLanguage lang = language;
        connect(button, &QPushButton::clicked, this, [this, lang] { ApplyLanguage(BuiltInLanguageNames(lang)); });
    }
    buttons->addWidget(MoreLanguages);
    connect(MoreLanguages, &QPushButton::clicked, this, &TCalendarProperties::MoreLanguagesClick);
    layout->addLayout(buttons, 2, 0, 1, 2);
    return page;
}

bool TCalendarProperties::applyNames(QPlainTextEdit* box, int count, bool months) {
    const QStringList lines = NameLines(box->toPlainText());
    const QString used = lines.mid(0, count).join('\n');
    if (!CanEncode(used)) {
        ShowInformation(CodePageProblem(used) + QStringLiteral("\nThe ") + (months ? "month" : "day") +
                            QStringLiteral(" names were left unchanged."),
                        this);
        return false;
    }
    ExampleCalendar->Change([&](CalendarSettings& s) {
        for (int i = 0; i < count && i < lines.size(); ++i) {
            if (months)
                s.SetMonthName(i + 1, lines[i]);
            else
                s.SetDayName(i + 1, lines[i]);
        }
    });
    box->document()->setModified(false);
    return true;
}

bool TCalendarProperties::MonthNamesExit() { return applyNames(MonthNames, 12, true); }
bool TCalendarProperties::DayNamesExit() { return applyNames(DayNames, 7, false); }

void TCalendarProperties::ApplyLanguage(const LanguageNames& names) {
    // A language the code page cannot write leaves both boxes as they are, rather than half replaced.
    QStringList all(names.days.begin(), names.days.end());
    for (const QString& month : names.months) all << month;
    if (!CanEncode(all.join('\n'))) {
        ShowInformation(CodePageProblem(all.join(' ')) + QStringLiteral("\nThe names were left unchanged."), this);
        return;
    }
    DayNames->setPlainText(QStringList(names.days.begin(), names.days.end()).join('\n'));
    if (!DayNamesExit()) return;
    MonthNames->setPlainText(QStringList(names.months.begin(), names.months.end()).join('\n'));
    MonthNamesExit();
    for (QPlainTextEdit* box : {DayNames, MonthNames}) box->moveCursor(QTextCursor::Start);
}

void TCalendarProperties::MoreLanguagesClick() {
    LanguageChooser chooser(this);
    if (RunModalDialog(chooser) != QDialog::Accepted) return;
    QListWidgetItem* item = chooser.List->currentItem();
    if (!item) return;
    ApplyLanguage(LocaleLanguageNames(LanguageChoiceLocale(*item)));
}

bool TCalendarProperties::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && (watched == MonthNames || watched == DayNames)) {
        auto* box = static_cast<QPlainTextEdit*>(watched);
        // OK applies the boxes itself; answering here too would show a refusal twice.
        if (box->document()->isModified() && QApplication::focusWidget() != okbutton) {
            if (box == MonthNames)
                MonthNamesExit();
            else
                DayNamesExit();
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace plennix
