#include "calendar/properties_dialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>
#include <QWhatsThis>
#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "calendar/calendar_panel.h"
#include "calendar/set_time_dialog.h"
#include "platform/accessibility.h"
#include "platform/code_page.h"
#include "platform/common_dialogs.h"
#include "platform/file_io.h"
#include "platform/messages.h"
#include "platform/program_folder.h"
#include "platform/stream_error.h"
#include "surface/help.h"
#include "surface/label_dialogs.h"

namespace plennix {
namespace {

constexpr int kFirstHelpContext = 2100;
constexpr int kLayoutListPlanners = 9;  // list rows 9..12 are the week and day planners
constexpr int kFirstPlannerLayout = 18;

const QString kStyleSheetFilter = QStringLiteral("Calendar Style Sheet (*.PXS)");

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

// The colour buttons show their colour a little larger than the colour lists do.
QIcon ButtonSwatch(TColor color) { return ColorSwatch(color, QSize(24, 14)); }

bool IsStyleSheetName(const QString& fileName) {
    return QFileInfo(fileName).suffix().toUpper() == QLatin1String("PXS") && fileName.contains('.');
}

QDate DateOfSettings(const CalendarSettings& s) {
    const int year = std::clamp(s.MainCalYear, 1, 9999);
    const int month = std::clamp(s.MainCalMonth, 1, 12);
    const int days = QDate(year, month, 1).daysInMonth();
    return QDate(year, month, std::clamp(s.MainCalDay, 1, days));
}

QString LongDate(const QDate& date) { return QLocale::system().toString(date, QLocale::LongFormat); }
QString MonthYear(const QDate& date) { return QLocale::system().toString(date, QStringLiteral("MMMM yyyy")); }
// The locale's short time without seconds: the start time has none, and some locales' short form
// (the C locale's among them) would show ":00" after every time.
QString ShortTime(const QTime& time) {
    const QLocale locale = QLocale::system();
    QString format = locale.timeFormat(QLocale::ShortFormat);
    format.remove(QRegularExpression(QStringLiteral("[:.]s{1,2}")));
    return locale.toString(time, format);
}

QGroupBox* Group(const QString& title, QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    new QVBoxLayout(box);
    return box;
}

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

float MarginForIndex(int index) {
    static constexpr float kMargins[] = {0.25f, 0.5f, 0.75f, 1.0f, 1.25f, 1.5f};
    return index >= 0 && index < 6 ? kMargins[index] : 0.0f;
}

int MarginIndexFor(float inches) {
    const double m = inches;
    if (m < 0.5) return 0;
    if (m < 0.75) return 1;
    if (m < 1.0) return 2;
    if (m < 1.25) return 3;
    if (m < 1.5) return 4;
    return 5;
}

QStringList MarginItems(bool millimeters) {
    if (millimeters)
        return {QStringLiteral("6 mm"), QStringLiteral("13 mm"), QStringLiteral("19 mm"),
                QStringLiteral("25 mm"), QStringLiteral("32 mm"), QStringLiteral("38 mm")};
    return {QString::fromUtf8("¼ Inch"), QString::fromUtf8("½ Inch"), QString::fromUtf8("¾ Inch"),
            QStringLiteral("1 Inch"), QString::fromUtf8("1¼ Inch"), QString::fromUtf8("1½ Inch")};
}

QStringList NameLines(const QString& text) {
    if (text.isEmpty()) return {};
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QChar('\r'), QChar('\n'));
    if (t.endsWith('\n')) t.chop(1);
    return t.split('\n');
}

QTime DayFractionToTime(double fraction) {
    constexpr qint64 kDay = 24LL * 60 * 60 * 1000;
    if (!std::isfinite(fraction)) return QTime(0, 0);
    const double frac = fraction - std::floor(fraction);
    qint64 ms = std::llround(frac * double(kDay));
    ms = ((ms % kDay) + kDay) % kDay;
    return QTime::fromMSecsSinceStartOfDay(int(ms));
}

double TimeToDayFraction(const QTime& time) {
    if (!time.isValid()) return 0.0;
    return double((time.hour() * 60 + time.minute()) * 60 * 1000) / (24.0 * 60 * 60 * 1000);
}

TCalendarProperties::TCalendarProperties(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CalendarProperties"));
    setWindowTitle(QStringLiteral("Calendar Properties"));

    auto* outer = new QVBoxLayout(this);
    auto* body = new QHBoxLayout();
    outer->addLayout(body, 1);

    auto* left = new QVBoxLayout();
    body->addLayout(left, 3);
    TabSet1 = new QTabBar(this);
    TabSet1->setObjectName(QStringLiteral("TabSet1"));
    TabSet1->setAccessibleName(QStringLiteral("Property pages"));
    TabSet1->setExpanding(false);
    // All nine tabs stay in sight: a scrolled strip hides the last pages' captions.
    TabSet1->setUsesScrollButtons(false);
    TabSet1->setElideMode(Qt::ElideNone);
    Notebook = new QStackedWidget(this);
    Notebook->setObjectName(QStringLiteral("Notebook"));
    const std::pair<QString, QWidget*> pages[] = {
        {QStringLiteral("Layout"), buildLayoutPage()},
        {QStringLiteral("Date"), buildDatePage()},
        {QStringLiteral("Fonts && Colors"), buildFontsPage()},
        {QStringLiteral("Mini Fonts && Colors"), buildMiniFontsPage()},
        {QStringLiteral("Header Styles"), buildHeaderStylesPage()},
        {QStringLiteral("Line Styles"), buildLineStylesPage()},
        {QStringLiteral("Day Planner"), buildDayPlannerPage()},
        {QStringLiteral("Language"), buildLanguagePage()},
        {QStringLiteral("Margins"), buildMarginsPage()},
    };
    for (const auto& [caption, page] : pages) {
        TabSet1->addTab(caption);
        Notebook->addWidget(page);
    }
    connect(TabSet1, &QTabBar::currentChanged, Notebook, &QStackedWidget::setCurrentIndex);
    left->addWidget(TabSet1);
    left->addWidget(Notebook, 1);

    // The preview: a page of its own in a scroll box, with its zoom buttons.
    auto* right = new QVBoxLayout();
    body->addLayout(right, 4);
    PreviewBox = new QScrollArea(this);
    PreviewBox->setObjectName(QStringLiteral("PreviewBox"));
    PreviewBox->setAccessibleName(QStringLiteral("Preview"));
    PreviewBox->setMinimumSize(300, 300);
    PreviewBox->setBackgroundRole(QPalette::Dark);
    ExampleCalendar = new TCalendarPanel32(nullptr, StoredPageKind::PreviewPage);
    ExampleCalendar->setObjectName(QStringLiteral("ExampleCalendar"));
    // Only a picture of the calendar: no objects are placed, pasted or selected on it.
    ExampleCalendar->setAttribute(Qt::WA_TransparentForMouseEvents);
    ExampleCalendar->setFocusPolicy(Qt::NoFocus);
    ExampleCalendar->setContextMenuPolicy(Qt::NoContextMenu);
    PreviewBox->setWidget(ExampleCalendar);
    PreviewBox->setWidgetResizable(false);
    right->addWidget(PreviewBox, 1);
    auto* zoomRow = new QHBoxLayout();
    ZoomOutbutton = makeButton(QStringLiteral("ZoomOutbutton"), QStringLiteral("-"), QStringLiteral("Zoom out of the preview"));
    ZoomInButton = makeButton(QStringLiteral("ZoomInButton"), QStringLiteral("+"), QStringLiteral("Zoom into the preview"));
    ZoomLabel = new QLabel(QStringLiteral("100%"), this);
    ZoomLabel->setObjectName(QStringLiteral("ZoomLabel"));
    ZoomLabel->setAccessibleName(QStringLiteral("Preview zoom"));
    ZoomLabel->setMinimumWidth(40);
    zoomRow->addStretch();
    zoomRow->addWidget(ZoomOutbutton);
    zoomRow->addWidget(ZoomLabel);
    zoomRow->addWidget(ZoomInButton);
    zoomRow->addStretch();
    right->addLayout(zoomRow);
    connect(ZoomInButton, &QPushButton::clicked, this, &TCalendarProperties::ZoomInButtonClick);
    connect(ZoomOutbutton, &QPushButton::clicked, this, &TCalendarProperties::ZoomOutbuttonClick);

    auto* bottom = new QHBoxLayout();
    okbutton = makeButton(QStringLiteral("okbutton"), QStringLiteral("&Ok"), QStringLiteral("Ok"));
    okbutton->setDefault(true);
    CancelButton = makeButton(QStringLiteral("CancelButton"), QStringLiteral("&Cancel"), QStringLiteral("Cancel"));
    SaveAsStyleSheetButton = makeButton(QStringLiteral("SaveAsStyleSheetButton"), QStringLiteral("&Save As Style Sheet"),
                                        QStringLiteral("Save As Style Sheet"));
    LoadStyleSheetButton = makeButton(QStringLiteral("LoadStyleSheetButton"), QStringLiteral("&Load Style Sheet"),
                                      QStringLiteral("Load Style Sheet"));
    Defaultbutton = makeButton(QStringLiteral("Defaultbutton"), QStringLiteral("&Default Style"), QStringLiteral("Default Style"));
    Helpbutton = makeButton(QStringLiteral("Helpbutton"), QStringLiteral("&Help"), QStringLiteral("Help"));
    MouseHelpButton = makeButton(QStringLiteral("MouseHelpButton"), QStringLiteral("?"), QStringLiteral("What's this?"));
    MouseHelpButton->setMaximumWidth(32);
    for (QPushButton* b : {okbutton, CancelButton, SaveAsStyleSheetButton, LoadStyleSheetButton, Defaultbutton, Helpbutton,
                           MouseHelpButton})
        bottom->addWidget(b);
    connect(MouseHelpButton, &QPushButton::clicked, this, [] { QWhatsThis::enterWhatsThisMode(); });
    attachWhatsThis();
    outer->addLayout(bottom);
    connect(okbutton, &QPushButton::clicked, this, &TCalendarProperties::OkButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(SaveAsStyleSheetButton, &QPushButton::clicked, this, &TCalendarProperties::SaveAsStyleSheetButtonClick);
    connect(LoadStyleSheetButton, &QPushButton::clicked, this, &TCalendarProperties::LoadStyleSheetButtonClick);
    connect(Defaultbutton, &QPushButton::clicked, this, &TCalendarProperties::DefaultbuttonClick);
    connect(Helpbutton, &QPushButton::clicked, this, &TCalendarProperties::HelpbuttonClick);

    // The pages from the keyboard, wherever the focus is; F1 opens the visible page's help.
    auto* nextPage = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
    connect(nextPage, &QShortcut::activated, this,
            [this] { TabSet1->setCurrentIndex((TabSet1->currentIndex() + 1) % TabSet1->count()); });
    auto* previousPage = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), this);
    connect(previousPage, &QShortcut::activated, this, [this] {
        TabSet1->setCurrentIndex((TabSet1->currentIndex() + TabSet1->count() - 1) % TabSet1->count());
    });
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, &TCalendarProperties::HelpbuttonClick);

    m_time = DayFractionToTime(ExampleCalendar->Settings().DayStartTime);
}

TCalendarProperties::~TCalendarProperties() = default;

QPushButton* TCalendarProperties::makeButton(const QString& name, const QString& caption, const QString& accessibleName) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    // The caption first, as a person sees and says it ("Deutsch (German names)", "<< (Previous year)").
    b->setAccessibleName(CaptionedName(caption, accessibleName));
    b->setAutoDefault(false);
    return b;
}

QPushButton* TCalendarProperties::makeColorButton(const QString& name, const QString& accessibleName,
                                                  TColor (*get)(const TCalendarPanel32&),
                                                  void (*set)(TCalendarPanel32&, TColor)) {
    QPushButton* b = makeButton(name, QStringLiteral("Color..."), accessibleName);
    m_colorButtons.push_back({b, get});
    connect(b, &QPushButton::clicked, this, [this, b, get, set] {
        if (Initializing) return;
        const std::optional<TColor> chosen = ChooseColorDialog(get(*ExampleCalendar), this);
        if (!chosen) return;
        set(*ExampleCalendar, *chosen);
        b->setIcon(ButtonSwatch(*chosen));
        ExampleCalendar->update();
    });
    return b;
}

QPushButton* TCalendarProperties::makeFontButton(const QString& name, const QString& accessibleName,
                                                 FontRecord (*get)(const TCalendarPanel32&),
                                                 void (*set)(TCalendarPanel32&, const FontRecord&)) {
    QPushButton* b = makeButton(name, QStringLiteral("Font"), accessibleName);
    connect(b, &QPushButton::clicked, this, [this, get, set] {
        FontRecord font = get(*ExampleCalendar);
        if (!ChooseFontWithColor(this, font)) return;
        set(*ExampleCalendar, font);
        ExampleCalendar->update();
    });
    return b;
}

QWidget* TCalendarProperties::buildLayoutPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    LayoutList = new QListWidget(page);
    LayoutList->setObjectName(QStringLiteral("LayoutList"));
    LayoutList->setAccessibleName(QStringLiteral("Layout"));
    LayoutList->addItems({QStringLiteral("1 Month Calendar "), QStringLiteral("1 Month Calendar, 2 Mini Calendars"),
                          QStringLiteral("1 Month Calendar, 6 Mini Calendars Before & After "),
                          QStringLiteral("1 Month Calendar, 12 Mini Calendars After "),
                          QStringLiteral("6 Month Calendar (Mini Calendars)"), QStringLiteral("12 Month Calendar (Mini Calendars)"),
                          QStringLiteral("24 Month Calendar (Mini Calendars)"), QStringLiteral("48 Month Calendar (Mini Calendars)"),
                          QStringLiteral("60 Month Calendar (Mini Calendars)"), QStringLiteral("One Week Planner"),
                          QStringLiteral("Two Week Planner"), QStringLiteral("Day Planner (10 hours)"),
                          QStringLiteral("Day Planner (15 hours)")});
    layout->addWidget(LayoutList, 1);
    connect(LayoutList, &QListWidget::currentRowChanged, this, [this] { LayoutClick(); });
    // A click on the row already chosen still restores that layout's mini font sizes.
    connect(LayoutList, &QListWidget::itemClicked, this, [this] { LayoutClick(); });

    auto* row = new QHBoxLayout();
    rOrientation = new QGroupBox(QStringLiteral("Orientation"), page);
    rOrientation->setObjectName(QStringLiteral("rOrientation"));
    OrientationButtons = new QButtonGroup(this);
    auto* orientationLayout = new QVBoxLayout(rOrientation);
    int id = 0;
    for (const char* caption : {"Portrait", "Landscape"}) {
        auto* radio = new QRadioButton(QString::fromLatin1(caption), rOrientation);
        radio->setObjectName(QStringLiteral("rOrientation") + caption);
        orientationLayout->addWidget(radio);
        OrientationButtons->addButton(radio, id++);
    }
    PaperSize = new QGroupBox(QStringLiteral("Paper"), page);
    PaperSize->setObjectName(QStringLiteral("PaperSize"));
    PaperButtons = new QButtonGroup(this);
    auto* paperLayout = new QVBoxLayout(PaperSize);
    id = 0;
    for (const char* caption : {"Letter", "A4"}) {
        auto* radio = new QRadioButton(QString::fromLatin1(caption), PaperSize);
        radio->setObjectName(QStringLiteral("PaperSize") + caption);
        paperLayout->addWidget(radio);
        PaperButtons->addButton(radio, id++);
    }
    connect(OrientationButtons, &QButtonGroup::idClicked, this, [this] { LayoutClick(); });
    connect(PaperButtons, &QButtonGroup::idClicked, this, [this] { LayoutClick(); });
    row->addWidget(rOrientation);
    row->addWidget(PaperSize);
    layout->addLayout(row);
    return page;
}

QWidget* TCalendarProperties::buildDatePage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    SelectMonthYearLabel = new QLabel(QStringLiteral("Select Month & Year"), page);
    SelectMonthYearLabel->setObjectName(QStringLiteral("SelectMonthYearLabel"));
    layout->addWidget(SelectMonthYearLabel);
    DateLabel = new QLabel(page);
    DateLabel->setObjectName(QStringLiteral("DateLabel"));
    DateLabel->setAccessibleName(QStringLiteral("Chosen date"));
    QFont bold = DateLabel->font();
    bold.setBold(true);
    DateLabel->setFont(bold);
    layout->addWidget(DateLabel);

    auto* buttons = new QHBoxLayout();
    Button8 = makeButton(QStringLiteral("Button8"), QStringLiteral("<<"), QStringLiteral("Previous year"));
    Button9 = makeButton(QStringLiteral("Button9"), QStringLiteral("<"), QStringLiteral("Previous month"));
    Button10 = makeButton(QStringLiteral("Button10"), QStringLiteral("Now"), QStringLiteral("Today"));
    Button11 = makeButton(QStringLiteral("Button11"), QStringLiteral(">"), QStringLiteral("Next month"));
    Button12 = makeButton(QStringLiteral("Button12"), QStringLiteral(">>"), QStringLiteral("Next year"));
    for (QPushButton* b : {Button8, Button9, Button10, Button11, Button12}) {
        b->setMinimumWidth(36);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    connect(Button8, &QPushButton::clicked, this, [this] { moveDate(-1, 0); });
    connect(Button9, &QPushButton::clicked, this, [this] { moveDate(0, -1); });
    connect(Button10, &QPushButton::clicked, this, [this] {
        const QDate today = QDate::currentDate();
        Calendar->setSelectedDate(today);
        Calendar->setCurrentPage(today.year(), today.month());
    });
    connect(Button11, &QPushButton::clicked, this, [this] { moveDate(0, 1); });
    connect(Button12, &QPushButton::clicked, this, [this] { moveDate(1, 0); });

    Calendar = new QCalendarWidget(page);
    Calendar->setObjectName(QStringLiteral("Calendar"));
    Calendar->setAccessibleName(QStringLiteral("Date"));
    // The day table inside takes the focus: a screen reader names the calendar by it.
    if (auto* days = Calendar->findChild<QAbstractItemView*>()) days->setAccessibleName(QStringLiteral("Date"));
    Calendar->setMinimumDate(QDate(1, 1, 1));
    Calendar->setMaximumDate(QDate(9999, 12, 31));
    Calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    Calendar->setNavigationBarVisible(false);
    Calendar->setFirstDayOfWeek(Qt::Sunday);
    layout->addWidget(Calendar);
    connect(Calendar, &QCalendarWidget::selectionChanged, this, [this] { DateChange(); });

    auto* row = new QHBoxLayout();
    WeekStartsOn = new QGroupBox(QStringLiteral("Week Starts On"), page);
    WeekStartsOn->setObjectName(QStringLiteral("WeekStartsOn"));
    WeekStartButtons = new QButtonGroup(this);
    auto* weekLayout = new QVBoxLayout(WeekStartsOn);
    int id = 0;
    for (const char* caption : {"Sunday", "Monday"}) {
        auto* radio = new QRadioButton(QString::fromLatin1(caption), WeekStartsOn);
        radio->setObjectName(QStringLiteral("WeekStartsOn") + caption);
        weekLayout->addWidget(radio);
        WeekStartButtons->addButton(radio, id++);
    }
    connect(WeekStartButtons, &QButtonGroup::idClicked, this, [this](int index) {
        if (Initializing) return;
        ExampleCalendar->SetStartOfWeek(index + 1);
        Calendar->setFirstDayOfWeek(index == 0 ? Qt::Sunday : Qt::Monday);
    });
    row->addWidget(WeekStartsOn);
    auto* checks = new QVBoxLayout();
    TitleShowYearCheck = new QCheckBox(QStringLiteral("Show Year in Title"), page);
    TitleShowYearCheck->setObjectName(QStringLiteral("TitleShowYearCheck"));
    MiniShowYearCheck = new QCheckBox(QStringLiteral("Show Year in Mini Title"), page);
    MiniShowYearCheck->setObjectName(QStringLiteral("MiniShowYearCheck"));
    checks->addWidget(TitleShowYearCheck);
    checks->addWidget(MiniShowYearCheck);
    row->addLayout(checks);
    layout->addLayout(row);
    connect(TitleShowYearCheck, &QCheckBox::toggled, this, [this](bool on) {
        if (!Initializing) ExampleCalendar->SetTitleShowYear(on);
    });
    connect(MiniShowYearCheck, &QCheckBox::toggled, this, [this](bool on) {
        if (!Initializing) ExampleCalendar->SetMiniShowYear(on);
    });
    return page;
}

QWidget* TCalendarProperties::buildFontsPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    QGroupBox* title = Group(QStringLiteral("Title"), page);
    TitleFontbutton = makeFontButton(
        QStringLiteral("TitleFontbutton"), QStringLiteral("Title font"),
        [](const TCalendarPanel32& p) { return p.Settings().TitleFont; },
        [](TCalendarPanel32& p, const FontRecord& f) { p.SetTitleFont(f); });
    TitleBGColor = makeColorButton(
        QStringLiteral("TitleBGColor"), QStringLiteral("Title background color"),
        [](const TCalendarPanel32& p) { return p.Settings().TitleBGColor; },
        [](TCalendarPanel32& p, TColor c) { p.SetTitleBGColor(c); });
    title->layout()->addWidget(TitleFontbutton);
    title->layout()->addWidget(TitleBGColor);
    QGroupBox* header = Group(QStringLiteral("Header"), page);
    HeaderFontButton = makeFontButton(
        QStringLiteral("HeaderFontButton"), QStringLiteral("Header font"),
        [](const TCalendarPanel32& p) { return p.Settings().HeadersFont; },
        [](TCalendarPanel32& p, const FontRecord& f) { p.SetHeadersFont(f); });
    HeaderBGColor = makeColorButton(
        QStringLiteral("HeaderBGColor"), QStringLiteral("Header background color"),
        [](const TCalendarPanel32& p) { return p.Settings().HeadersBGColor; },
        [](TCalendarPanel32& p, TColor c) { p.SetHeadersBGColor(c); });
    header->layout()->addWidget(HeaderFontButton);
    header->layout()->addWidget(HeaderBGColor);
    QGroupBox* cells = Group(QStringLiteral("Number Cells"), page);
    NumberFontButton = makeFontButton(
        QStringLiteral("NumberFontButton"), QStringLiteral("Number cells font"),
        [](const TCalendarPanel32& p) { return p.Settings().CellFont; },
        [](TCalendarPanel32& p, const FontRecord& f) { p.SetCellFont(f); });
    cells->layout()->addWidget(NumberFontButton);
    for (QGroupBox* g : {title, header, cells}) layout->addWidget(g);
    layout->addStretch();
    return page;
}

QWidget* TCalendarProperties::buildMiniFontsPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    QGroupBox* title = Group(QStringLiteral("Mini Title"), page);
    Minititlefontbutton = makeFontButton(
        QStringLiteral("Minititlefontbutton"), QStringLiteral("Mini title font"),
        [](const TCalendarPanel32& p) { return p.Settings().MiniTitleFont; },
        [](TCalendarPanel32& p, const FontRecord& f) { p.SetMiniTitleFont(f); });
    title->layout()->addWidget(Minititlefontbutton);
    QGroupBox* header = Group(QStringLiteral("Mini Header"), page);
    MiniHeaderFontButton = makeFontButton(
        QStringLiteral("MiniHeaderFontButton"), QStringLiteral("Mini header font"),
        [](const TCalendarPanel32& p) { return p.Settings().MiniHeadersFont; },
        [](TCalendarPanel32& p, const FontRecord& f) { p.SetMiniHeadersFont(f); });
    MiniHeadersBGColorButton = makeColorButton(
        QStringLiteral("MiniHeadersBGColorButton"), QStringLiteral("Mini header background color"),
        [](const TCalendarPanel32& p) { return p.Settings().MiniHeadersBGColor; },
        [](TCalendarPanel32& p, TColor c) { p.SetMiniHeadersBGColor(c); });
    header->layout()->addWidget(MiniHeaderFontButton);
    header->layout()->addWidget(MiniHeadersBGColorButton);
    QGroupBox* cells = Group(QStringLiteral("Mini Number Cells"), page);
    MiniCellFontButton = makeFontButton(
        QStringLiteral("MiniCellFontButton"), QStringLiteral("Mini number cells font"),
        [](const TCalendarPanel32& p) { return p.Settings().MiniCellFont; },
        [](TCalendarPanel32& p, const FontRecord& f) { p.SetMiniCellFont(f); });
    cells->layout()->addWidget(MiniCellFontButton);
    QGroupBox* background = Group(QStringLiteral("Mini Calendar Background Color"), page);
    MiniCalBGColorButton = makeColorButton(
        QStringLiteral("MiniCalBGColorButton"), QStringLiteral("Mini calendar background color"),
        [](const TCalendarPanel32& p) { return p.Settings().MiniCalBGColor; },
        [](TCalendarPanel32& p, TColor c) { p.SetMiniCalBGColor(c); });
    background->layout()->addWidget(MiniCalBGColorButton);
    for (QGroupBox* g : {title, header, cells, background}) layout->addWidget(g);
    layout->addStretch();
    return page;
}

QWidget* TCalendarProperties::buildHeaderStylesPage() {
    auto* page = new QWidget(this);
    auto* layout = new QFormLayout(page);
    const QStringList items{QStringLiteral("First Character"), QStringLiteral("First Three Characters"),
                            QStringLiteral("Whole Word")};
    CalHeaderStyleCombo = new QComboBox(page);
    CalHeaderStyleCombo->setObjectName(QStringLiteral("CalHeaderStyleCombo"));
    CalHeaderStyleCombo->addItems(items);
    MiniHeadersStyleCombo = new QComboBox(page);
    MiniHeadersStyleCombo->setObjectName(QStringLiteral("MiniHeadersStyleCombo"));
    MiniHeadersStyleCombo->addItems(items);
    // Alt+C and Alt+L belong to Cancel and Load Style Sheet; the labels take other letters.
    layout->addRow(QStringLiteral("C&alendar day names:"), CalHeaderStyleCombo);
    layout->addRow(QStringLiteral("M&ini calendar day names:"), MiniHeadersStyleCombo);
    CalHeaderStyleCombo->setAccessibleName(QStringLiteral("Calendar day names"));
    MiniHeadersStyleCombo->setAccessibleName(QStringLiteral("Mini calendar day names"));
    connect(CalHeaderStyleCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!Initializing && index >= 0) ExampleCalendar->SetHeadersStyle(static_cast<TCalHeadersStyle>(index));
    });
    connect(MiniHeadersStyleCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!Initializing && index >= 0) ExampleCalendar->SetMiniHeadersStyle(static_cast<TCalHeadersStyle>(index));
    });
    return page;
}

QWidget* TCalendarProperties::buildLineStylesPage() {
    auto* page = new QWidget(this);
    auto* layout = new QFormLayout(page);
    CalendarLineLayoutCombo = new QComboBox(page);
    CalendarLineLayoutCombo->setObjectName(QStringLiteral("CalendarLineLayoutCombo"));
    CalendarLineLayoutCombo->addItems({QStringLiteral("Full"), QStringLiteral("Headers & Cells"), QStringLiteral("Cells Only")});
    MiniCalendarLineLayoutCombo = new QComboBox(page);
    MiniCalendarLineLayoutCombo->setObjectName(QStringLiteral("MiniCalendarLineLayoutCombo"));
    MiniCalendarLineLayoutCombo->addItems({QStringLiteral("Full"), QStringLiteral("Boxed"), QStringLiteral("Minimal")});
    layout->addRow(QStringLiteral("C&alendar lines:"), CalendarLineLayoutCombo);
    layout->addRow(QStringLiteral("M&ini calendar lines:"), MiniCalendarLineLayoutCombo);
    CalendarLineLayoutCombo->setAccessibleName(QStringLiteral("Calendar lines"));
    MiniCalendarLineLayoutCombo->setAccessibleName(QStringLiteral("Mini calendar lines"));
    connect(CalendarLineLayoutCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!Initializing && index >= 0) ExampleCalendar->SetCalendarLineLayout(static_cast<TCalendarLineLayout>(index));
    });
    connect(MiniCalendarLineLayoutCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!Initializing && index >= 0)
            ExampleCalendar->SetMiniCalendarLineLayout(static_cast<TMiniCalendarLineLayout>(index));
    });
    return page;
}

QWidget* TCalendarProperties::buildDayPlannerPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    QGroupBox* group = Group(QStringLiteral("Starting Time (for day planners)"), page);
    StartingtimeButton = makeButton(QStringLiteral("StartingtimeButton"), QStringLiteral("Set &Time..."),
                                    QStringLiteral("Starting time"));
    TimeLabel = new QLabel(page);
    TimeLabel->setObjectName(QStringLiteral("TimeLabel"));
    TimeLabel->setAccessibleName(QStringLiteral("Starting time"));
    group->layout()->addWidget(StartingtimeButton);
    group->layout()->addWidget(TimeLabel);
    layout->addWidget(group);
    auto* note = new QLabel(
        QStringLiteral("*(Note: This setting only applies if you have selected one of the two Day Planners from the "
                       "Layout tab)"),
        page);
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addStretch();
    connect(StartingtimeButton, &QPushButton::clicked, this, &TCalendarProperties::StartingtimeButtonClick);
    return page;
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

QComboBox* TCalendarProperties::makeMarginCombo(const QString& name, const QString& accessibleName,
                                                void (*set)(TCalendarPanel32&, float)) {
    auto* combo = new QComboBox(this);
    combo->setObjectName(name);
    combo->setAccessibleName(accessibleName);
    combo->addItems(MarginItems(false));
    connect(combo, &QComboBox::currentIndexChanged, this, [this, set](int index) {
        if (!Initializing) set(*ExampleCalendar, MarginForIndex(index));
    });
    return combo;
}

QWidget* TCalendarProperties::buildMarginsPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* units = new QHBoxLayout();
    useInches = new QRadioButton(QStringLiteral("Use &Inches"), page);
    useInches->setObjectName(QStringLiteral("useInches"));
    useInches->setChecked(true);
    UseMillimeters = new QRadioButton(QStringLiteral("Use Milli&meters"), page);
    UseMillimeters->setObjectName(QStringLiteral("UseMillimeters"));
    units->addWidget(useInches);
    units->addWidget(UseMillimeters);
    layout->addLayout(units);
    auto* form = new QFormLayout();
    LeftMarginInchcombo = makeMarginCombo(QStringLiteral("LeftMarginInchcombo"), QStringLiteral("Left margin"),
                                          [](TCalendarPanel32& p, float v) { p.SetLeftMarginInch(v); });
    TopMarginInchcombo = makeMarginCombo(QStringLiteral("TopMarginInchcombo"), QStringLiteral("Top margin"),
                                         [](TCalendarPanel32& p, float v) { p.SetTopMarginInch(v); });
    RightMarginInchcombo = makeMarginCombo(QStringLiteral("RightMarginInchcombo"), QStringLiteral("Right margin"),
                                           [](TCalendarPanel32& p, float v) { p.SetRightMarginInch(v); });
    BottomMarginInchcombo = makeMarginCombo(QStringLiteral("BottomMarginInchcombo"), QStringLiteral("Bottom margin"),
                                            [](TCalendarPanel32& p, float v) { p.SetBottomMarginInch(v); });
    form->addRow(QStringLiteral("L&eft:"), LeftMarginInchcombo);
    form->addRow(QStringLiteral("&Top:"), TopMarginInchcombo);
    form->addRow(QStringLiteral("&Right:"), RightMarginInchcombo);
    form->addRow(QStringLiteral("&Bottom:"), BottomMarginInchcombo);
    layout->addLayout(form);
    layout->addStretch();
    connect(useInches, &QRadioButton::toggled, this, [this](bool on) {
        if (on) fillMarginLists(false);
    });
    connect(UseMillimeters, &QRadioButton::toggled, this, [this](bool on) {
        if (on) fillMarginLists(true);
    });
    return page;
}

void TCalendarProperties::attachWhatsThis() {
    WhatsThis = new WhatsThisSupport(this);
    const std::pair<QWidget*, const char*> texts[] = {
        {LayoutList, "The kind of page: month pages, pages of mini months, week planners or day planners."},
        {rOrientation, "Turns month and multi-month pages sideways. The planners are always upright."},
        {PaperSize, "The paper the calendar is printed on."},
        {Calendar, "The month shown, or the first day of a planner."},
        {WeekStartsOn, "The day in the first column of every calendar on the page."},
        {TitleShowYearCheck, "Writes the year after the month's name in the title."},
        {MiniShowYearCheck, "Writes the year after the month's name above each mini calendar."},
        {TitleFontbutton, "Font and colour of the title."},
        {TitleBGColor, "Background colour of the title."},
        {HeaderFontButton, "Font and colour of the day names above the columns."},
        {HeaderBGColor, "Background colour of the day names."},
        {NumberFontButton, "Font and colour of the day numbers."},
        {CalHeaderStyleCombo, "How much of each day name is written above the columns."},
        {MiniHeadersStyleCombo, "How much of each day name the mini calendars write."},
        {CalendarLineLayoutCombo, "Which lines the calendar draws."},
        {MiniCalendarLineLayoutCombo, "Which lines the mini calendars draw."},
        {StartingtimeButton, "The hour at which the day planners' first slot begins."},
        {MoreLanguages, "Fills the names in any language the system knows."},
        {PreviewBox, "How the calendar will look. Zoom it with the buttons below."},
        {okbutton, "Gives the calendar these settings."},
        {CancelButton, "Closes the dialog and leaves the calendar as it was."},
        {SaveAsStyleSheetButton, "Saves these settings as a style sheet for other calendars."},
        {LoadStyleSheetButton, "Takes the settings of a saved style sheet."},
        {Defaultbutton, "Returns every setting to the one of a new calendar."},
        {Helpbutton, "Shows help on the page that is open."},
        {MouseHelpButton, "Click this, then any control, to see what it does."},
    };
    for (const auto& [control, text] : texts) WhatsThis->Attach(control, QString::fromUtf8(text));
    // The name boxes keep their own menu (cut, copy, paste); the pointer still explains them.
    MonthNames->setWhatsThis(QStringLiteral("The twelve month names, one per line, January first."));
    DayNames->setWhatsThis(QStringLiteral("The seven day names, one per line, Sunday first."));
}

void TCalendarProperties::fillMarginLists(bool millimeters) {
    const bool was = Initializing;
    Initializing = true;
    for (QComboBox* combo : {LeftMarginInchcombo, TopMarginInchcombo, RightMarginInchcombo, BottomMarginInchcombo}) {
        const int index = combo->currentIndex();
        combo->clear();
        combo->addItems(MarginItems(millimeters));
        combo->setCurrentIndex(index);
    }
    Initializing = was;
}

void TCalendarProperties::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TCalendarProperties::FormActivate() {
    if (m_activated) return;
    m_activated = true;
    showZoom();
    if (RestorePlacement) RestorePlacement(*this);
    keepOnScreen();
    if (ResetOnShow) ExampleCalendar->ResetToDefaults();
    FillControlsFromPreview();
    Initializing = false;
    LayoutClick();
}

void TCalendarProperties::keepOnScreen() {
    // A placement saved by a narrower dialog, or on a larger screen, could put OK and the page tabs
    // out of reach; the dialog is moved back onto the screen, its top left corner first.
    const QScreen* where = screen();
    if (!where) return;
    const QRect available = where->availableGeometry();
    QRect frame = frameGeometry();
    if (frame.right() > available.right()) frame.moveRight(available.right());
    if (frame.bottom() > available.bottom()) frame.moveBottom(available.bottom());
    if (frame.left() < available.left()) frame.moveLeft(available.left());
    if (frame.top() < available.top()) frame.moveTop(available.top());
    if (frame.topLeft() != frameGeometry().topLeft()) move(frame.topLeft());
}

void TCalendarProperties::FillControlsFromPreview() {
    const bool was = Initializing;
    Initializing = true;
    const CalendarSettings& s = ExampleCalendar->Settings();
    const int layout = static_cast<int>(s.CalendarLayout);
    if (layout < kFirstPlannerLayout) {
        LayoutList->setCurrentRow(layout / 2);
        OrientationButtons->button(layout % 2)->setChecked(true);
    } else {
        LayoutList->setCurrentRow(layout - 9);
        OrientationButtons->button(0)->setChecked(true);
    }
    PaperButtons->button(s.PaperSize == 1 ? 1 : 0)->setChecked(true);
    PlannerDate = layout >= kFirstPlannerLayout;
    SelectMonthYearLabel->setText(PlannerDate ? QStringLiteral("Select Starting Date") : QStringLiteral("Select Month & Year"));

    const QDate date = DateOfSettings(s);
    Calendar->setSelectedDate(date);
    Calendar->setCurrentPage(date.year(), date.month());
    Calendar->setFirstDayOfWeek(s.StartOfWeek == 1 ? Qt::Sunday : Qt::Monday);
    MonthNames->setPlainText(QStringList(s.MonthNames.begin(), s.MonthNames.end()).join('\n'));
    DayNames->setPlainText(QStringList(s.DayNames.begin(), s.DayNames.end()).join('\n'));
    MonthNames->document()->setModified(false);
    DayNames->document()->setModified(false);
    WeekStartButtons->button(s.StartOfWeek == 1 ? 0 : 1)->setChecked(true);
    showColors();
    CalHeaderStyleCombo->setCurrentIndex(static_cast<int>(s.HeadersStyle));
    MiniHeadersStyleCombo->setCurrentIndex(static_cast<int>(s.MiniHeadersStyle));
    CalendarLineLayoutCombo->setCurrentIndex(static_cast<int>(s.CalendarLineLayout));
    MiniCalendarLineLayoutCombo->setCurrentIndex(static_cast<int>(s.MiniCalendarLineLayout));
    TitleShowYearCheck->setChecked(s.TitleShowYear);
    MiniShowYearCheck->setChecked(s.MiniShowYear);
    DateLabel->setText(MonthYear(date));
    m_time = DayFractionToTime(s.DayStartTime);
    TimeLabel->setText(ShortTime(m_time));
    LeftMarginInchcombo->setCurrentIndex(MarginIndexFor(s.LeftMarginInch));
    TopMarginInchcombo->setCurrentIndex(MarginIndexFor(s.TopMarginInch));
    RightMarginInchcombo->setCurrentIndex(MarginIndexFor(s.RightMarginInch));
    BottomMarginInchcombo->setCurrentIndex(MarginIndexFor(s.BottomMarginInch));
    Initializing = was;
}

void TCalendarProperties::showColors() {
    for (const ColorButton& c : m_colorButtons) c.button->setIcon(ButtonSwatch(c.get(*ExampleCalendar)));
}

void TCalendarProperties::LayoutClick() {
    if (Initializing) return;
    PlannerDate = false;
    ExampleCalendar->SetPaperSize(std::max(0, PaperButtons->checkedId()));
    int layout = static_cast<int>(ExampleCalendar->Settings().CalendarLayout);
    const int row = LayoutList->currentRow();
    if (row >= kLayoutListPlanners && row <= kLayoutListPlanners + 3)
        layout = kFirstPlannerLayout + (row - kLayoutListPlanners);
    else if (row >= 0 && row < kLayoutListPlanners)
        layout = 2 * row + (OrientationButtons->checkedId() == 1 ? 1 : 0);
    if (layout >= kFirstPlannerLayout) PlannerDate = true;
    DateChange();
    ExampleCalendar->SetCalendarLayout(static_cast<TCalendarLayout>(layout));
    ExampleCalendar->ArrangeLayout(true);
    ExampleCalendar->update();
    enableControls();
}

void TCalendarProperties::enableControls() {
    const int layout = static_cast<int>(ExampleCalendar->Settings().CalendarLayout);
    const int family = ExampleCalendar->LayoutFamily();
    rOrientation->setEnabled(family == 0 || family == 1);
    WeekStartsOn->setEnabled(layout < kFirstPlannerLayout);
    for (QWidget* w : std::initializer_list<QWidget*>{TitleShowYearCheck, TitleBGColor, NumberFontButton, CalendarLineLayoutCombo})
        w->setEnabled(layout < 8);
    for (QWidget* w : std::initializer_list<QWidget*>{TitleFontbutton, HeaderFontButton, HeaderBGColor, CalHeaderStyleCombo})
        w->setEnabled(layout < 8 || layout >= kFirstPlannerLayout);
    for (QWidget* w : std::initializer_list<QWidget*>{MiniShowYearCheck, Minititlefontbutton, MiniHeaderFontButton,
                                                      MiniHeadersBGColorButton, MiniCellFontButton, MiniCalBGColorButton,
                                                      MiniHeadersStyleCombo, MiniCalendarLineLayoutCombo})
        w->setEnabled(layout >= 2 && layout < kFirstPlannerLayout);
    StartingtimeButton->setEnabled(family == 4 || family == 5);
    SelectMonthYearLabel->setText(layout < kFirstPlannerLayout ? QStringLiteral("Select Month & Year")
                                                               : QStringLiteral("Select Starting Date"));
}

void TCalendarProperties::DateChange() {
    const QDate date = Calendar->selectedDate();
    DateLabel->setText(PlannerDate ? LongDate(date) : MonthYear(date));
    if (Initializing) return;
    // A date the page already shows (its day may be unset) is no change: opening and closing the dialog
    // must leave the document unmodified.
    if (DateOfSettings(ExampleCalendar->Settings()) == date) return;
    ExampleCalendar->SetMainCalMonth(date.month());
    ExampleCalendar->SetMainCalYear(date.year());
    ExampleCalendar->SetMainCalDay(date.day());
}

void TCalendarProperties::moveDate(int years, int months) {
    const QDate date = Calendar->selectedDate().addYears(years).addMonths(months);
    if (!date.isValid()) return;
    Calendar->setSelectedDate(date);
    Calendar->setCurrentPage(date.year(), date.month());
}

void TCalendarProperties::showZoom() {
    const double percent = std::nearbyint(double(ExampleCalendar->Zoom()) * 100.0);
    ZoomLabel->setText(QString::number(static_cast<int>(percent)) + QLatin1Char('%'));
}

void TCalendarProperties::stepZoom(double step) {
    // Zooming lets pending messages run; a second click arriving meanwhile must not zoom inside the first.
    if (m_zoomBusy) return;
    m_zoomBusy = true;
    const double zoom = ExampleCalendar->Zoom();
    // The limits are the whole percents the label shows: a factor stored as 0.2 in four bytes lies a
    // little above 0.2, and one step more would take the preview to 10 %.
    const double percent = std::nearbyint(zoom * 100.0);
    if (step < 0 ? percent > 20.0 : percent < 100.0) ExampleCalendar->SetZoom(static_cast<float>(zoom + step));
    showZoom();
    m_zoomBusy = false;
}

void TCalendarProperties::ZoomOutbuttonClick() { stepZoom(-0.1); }
void TCalendarProperties::ZoomInButtonClick() { stepZoom(0.1); }

void TCalendarProperties::StartingtimeButtonClick() {
    TSetTimeDialog dialog(this);
    dialog.SetTime(m_time);
    if (RunModalDialog(dialog) != QDialog::Accepted) return;
    m_time = dialog.Time();
    TimeLabel->setText(ShortTime(m_time));
    ExampleCalendar->SetDayStartTime(TimeToDayFraction(m_time));
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
    for (int i = 0; i < count && i < lines.size(); ++i) {
        if (months)
            ExampleCalendar->SetMonthName(i + 1, lines[i]);
        else
            ExampleCalendar->SetDayName(i + 1, lines[i]);
    }
    box->document()->setModified(false);
    ExampleCalendar->update();
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

int TCalendarProperties::HelpContext() const { return kFirstHelpContext + Notebook->currentIndex(); }

void TCalendarProperties::HelpbuttonClick() { ShowHelpTopic(HelpContext()); }

void TCalendarProperties::OkButtonClick() {
    if (!MonthNamesExit() || !DayNamesExit()) return;
    if (WarnOnLayoutChange && ExampleCalendar->LayoutFamily() != FamilyAtOpen) {
        const bool proceed = AskYesNo(QStringLiteral("WARNING"),
                                      QStringLiteral("Warning: changing to this type of layout\nwill erase all text and "
                                                     "icons from the current\ncalendar. Proceed?"),
                                      this);
        if (!proceed) return;
    }
    accept();
}

void TCalendarProperties::done(int result) {
    if (SavePlacement) SavePlacement(*this);
    QDialog::done(result);
}

void TCalendarProperties::SaveAsStyleSheetButtonClick() {
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.title = QStringLiteral("Save As Calendar Style Sheet");
    request.directory = ProgramDir();
    request.proposedName = QStringLiteral("MyStyle.PXS");
    request.filter = kStyleSheetFilter;
    request.defaultSuffix = QStringLiteral("PXS");
    const QString fileName = ChooseFileDialog(request, this);
    if (fileName.isEmpty()) return;
    if (!IsStyleSheetName(fileName)) {
        ShowInformation(QStringLiteral("Must save as a Calendar Style Sheet (*.PXS)"), this);
        return;
    }
    try {
        ExampleCalendar->SaveStyleSheet(fileName);
    } catch (const FileError& e) {
        ShowError(e.message(), this);  // names the file and the reason
    } catch (const StreamError& e) {
        ShowError(QStringLiteral("Unable to save ") + fileName + QStringLiteral(": ") + e.message(), this);
    }
}

void TCalendarProperties::LoadStyleSheetButtonClick() {
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Open;
    request.title = QStringLiteral("Open Calendar Style Sheet");
    request.directory = ProgramDir();
    request.filter = kStyleSheetFilter;
    request.defaultSuffix = QStringLiteral("PXS");
    const QString fileName = ChooseFileDialog(request, this);
    if (fileName.isEmpty()) return;
    if (!IsStyleSheetName(fileName)) {
        ShowInformation(QStringLiteral("Must be a Calendar Style Sheet (*.PXS)"), this);
        return;
    }
    Initializing = true;
    try {
        // A damaged file is read into a scratch page first: a failure half way must not leave the
        // preview half changed, which OK would then copy into the document.
        TCalendarPanel32 probe(nullptr, StoredPageKind::PreviewPage);
        probe.AssignStyle(*ExampleCalendar);
        probe.LoadStyleSheet(fileName);
        ExampleCalendar->LoadStyleSheet(fileName);
    } catch (const FileError& e) {
        // Not a file, too large, not permitted: not a damaged style sheet.
        ShowInformation(e.message(), this);
    } catch (const std::exception&) {
        ShowInformation(QStringLiteral("Unable to open ") + fileName +
                            QStringLiteral(". Possibly \ncorrupted, possibly not a Calendar Style file"),
                        this);
    }
    FillControlsFromPreview();
    Initializing = false;
    LayoutClick();
}

void TCalendarProperties::DefaultbuttonClick() {
    Initializing = true;
    ExampleCalendar->ResetToDefaults();
    FillControlsFromPreview();
    Initializing = false;
    LayoutClick();
}

}  // namespace plennix
