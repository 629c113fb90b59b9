#pragma once
// TCalendarProperties: the dialog in which a person designs the calendar — layout, orientation, paper,
// date, start of week, fonts, colours, header and line styles, the day planners' start time, month and
// day names and margins. It edits the settings of its preview (ExampleCalendar) and loads and saves style
// sheets; the caller copies the preview's style into the document page when the dialog is accepted.
//
// The preview is a picture of a settings value of its own (calendar/properties_preview.h), not a page:
// nothing done to it reaches the document page. Each tab's controls are built in a file of their own
// (properties_<tab>_page.cpp); this class holds them and moves the values between them and the preview.
#include <QDialog>
#include <QStringList>
#include <QTime>
#include <array>
#include <functional>

#include "calendar/calendar_settings.h"
#include "platform/colors.h"
#include "platform/font.h"

class QButtonGroup;
class QCalendarWidget;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QLocale;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QStackedWidget;
class QTabBar;
class QCheckBox;

namespace plennix {

class CalendarPreview;
class WhatsThisSupport;

// The names one language gives the days (Sunday first) and months (January first).
struct LanguageNames {
    std::array<QString, 7> days;
    std::array<QString, 12> months;
};
enum class CalendarLanguage { English, German, French, Italian, Spanish };
const LanguageNames& BuiltInLanguageNames(CalendarLanguage language);
// A locale's standalone long names (the form a name takes as a heading).
LanguageNames LocaleLanguageNames(const QLocale& locale);

// The locale an entry of the "More languages…" list stands for.
QLocale LanguageChoiceLocale(const QListWidgetItem& item);

// The margin lists: index 0..5 gives ¼ .. 1½ inch; any other index gives 0.
float MarginForIndex(int index);
int MarginIndexFor(float inches);
QStringList MarginItems(bool millimeters);

// The names a multi-line box holds: one per line; a final line break does not start another name.
QStringList NameLines(const QString& text);

// Time of day as the page keeps it (a fraction of a day) and back.
QTime DayFractionToTime(double fraction);
double TimeToDayFraction(const QTime& time);

class TCalendarProperties : public QDialog {
    Q_OBJECT
public:
    explicit TCalendarProperties(QWidget* parent = nullptr);
    ~TCalendarProperties() override;

    // Dialog state set by the main window before showing.
    bool Initializing = true;
    bool PlannerDate = false;
    bool ResetOnShow = false;
    bool WarnOnLayoutChange = false;
    int FamilyAtOpen = 1;

    // Placement of the dialog, restored on first activation and saved on close (the main window's
    // preferences provide them; unset means the dialog stays centred).
    std::function<void(QWidget&)> RestorePlacement;
    std::function<void(QWidget&)> SavePlacement;

    CalendarPreview* ExampleCalendar = nullptr;

    // First activation: runs once, from the first show (tests may call it directly).
    void FormActivate();
    // Rewrites every control from the preview.
    void FillControlsFromPreview();
    // The handlers, public so that the main window's tests and ours can reach them by name.
    void LayoutClick();
    void DateChange();
    void ZoomInButtonClick();
    void ZoomOutbuttonClick();
    void OkButtonClick();
    void SaveAsStyleSheetButtonClick();
    void LoadStyleSheetButtonClick();
    void DefaultbuttonClick();
    void HelpbuttonClick();
    void StartingtimeButtonClick();
    void MoreLanguagesClick();
    void ApplyLanguage(const LanguageNames& names);
    // Applies the lines of a names box to the preview; false (and a message) when a name cannot be
    // stored in the calendar's code page, leaving the names unchanged.
    bool MonthNamesExit();
    bool DayNamesExit();
    // The help topic of the visible page (2100..2108).
    int HelpContext() const;

    // Controls, by their names.
    QTabBar* TabSet1;
    QStackedWidget* Notebook;
    QListWidget* LayoutList;
    QGroupBox* rOrientation;
    QButtonGroup* OrientationButtons;
    QGroupBox* PaperSize;
    QButtonGroup* PaperButtons;
    QLabel* SelectMonthYearLabel;
    QLabel* DateLabel;
    QPushButton* Button8;
    QPushButton* Button9;
    QPushButton* Button10;
    QPushButton* Button11;
    QPushButton* Button12;
    QCalendarWidget* Calendar;
    QGroupBox* WeekStartsOn;
    QButtonGroup* WeekStartButtons;
    QCheckBox* TitleShowYearCheck;
    QCheckBox* MiniShowYearCheck;
    QPushButton* TitleFontbutton;
    QPushButton* TitleBGColor;
    QPushButton* HeaderFontButton;
    QPushButton* HeaderBGColor;
    QPushButton* NumberFontButton;
    QPushButton* Minititlefontbutton;
    QPushButton* MiniHeaderFontButton;
    QPushButton* MiniHeadersBGColorButton;
    QPushButton* MiniCellFontButton;
    QPushButton* MiniCalBGColorButton;
    QComboBox* CalHeaderStyleCombo;
    QComboBox* MiniHeadersStyleCombo;
    QComboBox* CalendarLineLayoutCombo;
    QComboBox* MiniCalendarLineLayoutCombo;
    QPushButton* StartingtimeButton;
    QLabel* TimeLabel;
    QPlainTextEdit* MonthNames;
    QPlainTextEdit* DayNames;
    QPushButton* English;
    QPushButton* French;
    QPushButton* German;
    QPushButton* Italian;
    QPushButton* Spanish;
    QPushButton* MoreLanguages;
    QRadioButton* useInches;
    QRadioButton* UseMillimeters;
    QComboBox* LeftMarginInchcombo;
    QComboBox* TopMarginInchcombo;
    QComboBox* RightMarginInchcombo;
    QComboBox* BottomMarginInchcombo;
    QScrollArea* PreviewBox;
    QPushButton* ZoomInButton;
    QPushButton* ZoomOutbutton;
    QLabel* ZoomLabel;
    QPushButton* okbutton;
    QPushButton* CancelButton;
    QPushButton* SaveAsStyleSheetButton;
    QPushButton* LoadStyleSheetButton;
    QPushButton* Defaultbutton;
    QPushButton* Helpbutton;
    QPushButton* MouseHelpButton;
    WhatsThisSupport* WhatsThis = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

public:
    void done(int result) override;

private:
    QWidget* buildLayoutPage();
    QWidget* buildDatePage();
    QWidget* buildFontsPage();
    QWidget* buildMiniFontsPage();
    QWidget* buildHeaderStylesPage();
    QWidget* buildLineStylesPage();
    QWidget* buildDayPlannerPage();
    QWidget* buildLanguagePage();
    QWidget* buildMarginsPage();
    QPushButton* makeButton(const QString& name, const QString& caption, const QString& accessibleName);
    // A button that edits one colour or font of the settings.
    QPushButton* makeColorButton(const QString& name, const QString& accessibleName, TColor CalendarSettings::*field);
    QPushButton* makeFontButton(const QString& name, const QString& accessibleName, FontRecord CalendarSettings::*field);
    QComboBox* makeMarginCombo(const QString& name, const QString& accessibleName, float CalendarSettings::*field);
    void attachWhatsThis();
    void enableControls();
    void keepOnScreen();
    void showZoom();
    void stepZoom(double step);
    void showColors();
    void fillMarginLists(bool millimeters);
    void moveDate(int years, int months);
    bool applyNames(QPlainTextEdit* box, int count, bool months);

    bool m_activated = false;
    QTime m_time;
    struct ColorButton {
        QPushButton* button;
        TColor CalendarSettings::*field;
    };
    std::vector<ColorButton> m_colorButtons;
};

}  // namespace plennix
