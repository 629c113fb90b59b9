#include "calendar/properties_dialog.h"

#include <QButtonGroup>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>
#include <QWhatsThis>
#include <cmath>

#include "calendar/calendar_files.h"
#include "calendar/properties_page_helpers.h"
#include "calendar/properties_preview.h"
#include "platform/accessibility.h"
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

const QString kStyleSheetFilter = QStringLiteral("Calendar Style Sheet (*.PXS)");

bool IsStyleSheetName(const QString& fileName) {
    return QFileInfo(fileName).suffix().toUpper() == QLatin1String("PXS") && fileName.contains('.');
}

}  // namespace

using properties::ButtonSwatch;
using properties::kFirstPlannerLayout;

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

    // The preview: a picture of the settings in a scroll box, with its zoom buttons.
    auto* right = new QVBoxLayout();
    body->addLayout(right, 4);
    PreviewBox = new QScrollArea(this);
    PreviewBox->setObjectName(QStringLiteral("PreviewBox"));
    PreviewBox->setAccessibleName(QStringLiteral("Preview"));
    PreviewBox->setMinimumSize(300, 300);
    PreviewBox->setBackgroundRole(QPalette::Dark);
    ExampleCalendar = new CalendarPreview();
    ExampleCalendar->setObjectName(QStringLiteral("ExampleCalendar"));
    // Only a picture of the calendar: the scroll box takes the clicks, wheel and keys.
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
                                                  TColor CalendarSettings::*field) {
    QPushButton* b = makeButton(name, QStringLiteral("Color..."), accessibleName);
    m_colorButtons.push_back({b, field});
    connect(b, &QPushButton::clicked, this, [this, b, field] {
        if (Initializing) return;
        const std::optional<TColor> chosen = ChooseColorDialog(ExampleCalendar->Settings().*field, this);
        if (!chosen) return;
        ExampleCalendar->Change([field, &chosen](CalendarSettings& s) { s.*field = *chosen; });
        b->setIcon(ButtonSwatch(*chosen));
    });
    return b;
}

QPushButton* TCalendarProperties::makeFontButton(const QString& name, const QString& accessibleName,
                                                 FontRecord CalendarSettings::*field) {
    QPushButton* b = makeButton(name, QStringLiteral("Font"), accessibleName);
    connect(b, &QPushButton::clicked, this, [this, field] {
        FontRecord font = ExampleCalendar->Settings().*field;
        if (!ChooseFontWithColor(this, font)) return;
        ExampleCalendar->Change([field, &font](CalendarSettings& s) { s.*field = font; });
    });
    return b;
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

    const QDate date = properties::DateOfSettings(s);
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
    DateLabel->setText(properties::MonthYear(date));
    m_time = DayFractionToTime(s.DayStartTime);
    TimeLabel->setText(properties::ShortTime(m_time));
    LeftMarginInchcombo->setCurrentIndex(MarginIndexFor(s.LeftMarginInch));
    TopMarginInchcombo->setCurrentIndex(MarginIndexFor(s.TopMarginInch));
    RightMarginInchcombo->setCurrentIndex(MarginIndexFor(s.RightMarginInch));
    BottomMarginInchcombo->setCurrentIndex(MarginIndexFor(s.BottomMarginInch));
    Initializing = was;
}

void TCalendarProperties::showColors() {
    for (const ColorButton& c : m_colorButtons) c.button->setIcon(ButtonSwatch(ExampleCalendar->Settings().*c.field));
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

void TCalendarProperties::showZoom() {
    const double percent = std::nearbyint(double(ExampleCalendar->Zoom()) * 100.0);
    ZoomLabel->setText(QString::number(static_cast<int>(percent)) + QLatin1Char('%'));
}

void TCalendarProperties::stepZoom(double step) {
    const double zoom = ExampleCalendar->Zoom();
    // The limits are the whole percents the label shows: a factor stored as 0.2 in four bytes lies a
    // little above 0.2, and one step more would take the preview to 10 %.
    const double percent = std::nearbyint(zoom * 100.0);
    if (step < 0 ? percent > 20.0 : percent < 100.0) ExampleCalendar->SetZoom(static_cast<float>(zoom + step));
    showZoom();
}

void TCalendarProperties::ZoomOutbuttonClick() { stepZoom(-0.1); }
void TCalendarProperties::ZoomInButtonClick() { stepZoom(0.1); }

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
        SaveStyleSheetFile(fileName, ExampleCalendar->Settings());
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
        // The file is read into a copy: a failure half way must not leave the preview half changed,
        // which OK would then copy into the document.
        CalendarSettings loaded = ExampleCalendar->Settings();
        LoadStyleSheetFile(fileName, loaded);
        ExampleCalendar->SetSettings(loaded);
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
