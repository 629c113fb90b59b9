#include "objects/flat_calendar_editor.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <QWhatsThis>

#include "objects/editor_buttons.h"
#include "objects/flat_calendar.h"
#include "platform/common_dialogs.h"
#include "surface/help.h"
#include "surface/label_dialogs.h"
#include "surface/object_host.h"

namespace plennix {

namespace {

constexpr int kFlatCalendarHelpTopic = 40015;

QIcon swatch(TColor color, int w = 16, int h = 12) {
    QPixmap pm(w, h);
    pm.fill(toQColor(color));
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.drawRect(0, 0, pm.width() - 1, pm.height() - 1);
    return QIcon(pm);
}

QComboBox* makeCombo(QWidget* parent, const char* name, const QStringList& items, const QString& accessible) {
    auto* c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->addItems(items);
    c->setAccessibleName(accessible);
    return c;
}

// A caption in front of a control; the control is its buddy so that the caption names it.
void addRow(QGridLayout* grid, int row, const QString& caption, QWidget* control) {
    auto* label = new QLabel(caption);
    label->setBuddy(control);
    grid->addWidget(label, row, 0);
    grid->addWidget(control, row, 1);
    if (control->accessibleName().isEmpty()) control->setAccessibleName(caption.trimmed());
}

const QStringList kBorderItems = {"None", "All", "Top", "Bottom", "Top & Bottom"};

}  // namespace

const std::array<TColor, 20>& FlatCalendarPalette() {
    static const std::array<TColor, 20> palette = {16777215, 255,      65280,    16711680, 12572607,
                                                   0,        127,      32512,    8323072,  15712159,
                                                   12566463, 65535,    16776960, 16711935, 15726591,
                                                   8355711,  32639,    8355584,  8323199,  10461087};
    return palette;
}

// --- colour button -------------------------------------------------------------------------------

TPaletteColorButton::TPaletteColorButton(QWidget* parent)
    : QPushButton(parent), m_popup(new QFrame(this, Qt::Popup)) {
    setAutoDefault(false);
    setIcon(swatch(m_color, 32, 14));
    setIconSize(QSize(32, 14));
    auto* frame = static_cast<QFrame*>(m_popup);
    frame->setObjectName(QStringLiteral("PalettePopup"));
    frame->setAccessibleName(QStringLiteral("Colour palette"));
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* layout = new QGridLayout(frame);
    layout->setSpacing(2);
    layout->setContentsMargins(4, 4, 4, 4);
    const auto& palette = FlatCalendarPalette();
    for (int i = 0; i < 20; ++i) {
        auto* cell = new QToolButton(frame);
        cell->setObjectName(QStringLiteral("PaletteColor%1").arg(i));
        cell->setIcon(swatch(palette[i]));
        cell->setAutoRaise(true);
        cell->setFocusPolicy(Qt::StrongFocus);
        cell->setAccessibleName(QStringLiteral("Colour %1").arg(palette[i]));
        cell->setToolTip(cell->accessibleName());
        connect(cell, &QToolButton::clicked, this, [this, i] { PickPaletteColor(i); });
        layout->addWidget(cell, i / 5, i % 5);
        m_cells[i] = cell;
    }
    auto* other = new QPushButton(QStringLiteral("&Other"), frame);
    other->setObjectName(QStringLiteral("OtherColorButton"));
    other->setAutoDefault(false);
    connect(other, &QPushButton::clicked, this, [this] { PickOtherColor(); });
    layout->addWidget(other, 4, 0, 1, 5);
    connect(this, &QPushButton::clicked, this, [this] { ShowPalette(); });
}

void TPaletteColorButton::ShowPalette() {
    m_popup->adjustSize();
    m_popup->move(mapToGlobal(QPoint(0, height())));
    m_popup->show();
    const auto& palette = FlatCalendarPalette();
    const auto at = std::find(palette.begin(), palette.end(), m_color);
    m_cells[at == palette.end() ? 0 : at - palette.begin()]->setFocus(Qt::PopupFocusReason);
}

void TPaletteColorButton::SetColor(TColor color) {
    m_color = color;
    setIcon(swatch(color, 32, 14));
}

void TPaletteColorButton::pick(TColor color) {
    m_popup->hide();
    SetColor(color);
    emit colorPicked(color);
}

void TPaletteColorButton::PickPaletteColor(int index) {
    if (index < 0 || index >= 20) return;
    pick(FlatCalendarPalette()[index]);
}

void TPaletteColorButton::PickOtherColor() {
    m_popup->hide();
    if (auto chosen = ChooseColorDialog(m_color, window())) pick(*chosen);
}

// --- the dialog ----------------------------------------------------------------------------------

TFlatCalendarEditor::TFlatCalendarEditor(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FlatCalendarEditor"));
    setWindowTitle(QStringLiteral("Floating Calendar Properties"));

    // Date.
    auto* dateGroup = new QGroupBox(QStringLiteral("Month"), this);
    auto* dateGrid = new QGridLayout(dateGroup);
    MonthCombo = makeCombo(dateGroup, "MonthCombo", {}, QStringLiteral("Month"));
    for (const QString& m : FlatMonthNames(fclEnglish)) MonthCombo->addItem(m);
    YearSpinner = new QSpinBox(dateGroup);
    YearSpinner->setObjectName(QStringLiteral("YearSpinner"));
    YearSpinner->setRange(1950, 2500);
    YearSpinner->setAccessibleName(QStringLiteral("Year"));
    dateGrid->addWidget(MonthCombo, 0, 0);
    dateGrid->addWidget(YearSpinner, 0, 1);

    WeekStartsOn = new QGroupBox(QStringLiteral("Week Starts On"), this);
    WeekStartsOn->setObjectName(QStringLiteral("WeekStartsOn"));
    auto* weekLayout = new QHBoxLayout(WeekStartsOn);
    WeekStartsOnSunday = new QRadioButton(QStringLiteral("Sunday"), WeekStartsOn);
    WeekStartsOnSunday->setObjectName(QStringLiteral("WeekStartsOnSunday"));
    WeekStartsOnMonday = new QRadioButton(QStringLiteral("Monday"), WeekStartsOn);
    WeekStartsOnMonday->setObjectName(QStringLiteral("WeekStartsOnMonday"));
    weekLayout->addWidget(WeekStartsOnSunday);
    weekLayout->addWidget(WeekStartsOnMonday);
    m_weekGroup = new QButtonGroup(this);
    m_weekGroup->addButton(WeekStartsOnSunday, 0);
    m_weekGroup->addButton(WeekStartsOnMonday, 1);

    auto* miscGroup = new QGroupBox(QStringLiteral("Miscellaneous"), this);
    auto* miscGrid = new QGridLayout(miscGroup);
    ShowtitleInyearCheck = new QCheckBox(QStringLiteral("Show Year in Title"), miscGroup);
    ShowtitleInyearCheck->setObjectName(QStringLiteral("ShowtitleInyearCheck"));
    miscGrid->addWidget(ShowtitleInyearCheck, 0, 0, 1, 2);
    HeadersStyleCombo = makeCombo(miscGroup, "HeadersStyleCombo",
                                  {"First Character", "First Three Characters", "Whole Word"}, QString());
    addRow(miscGrid, 1, QStringLiteral("Header Style"), HeadersStyleCombo);
    LanguageCombo = makeCombo(miscGroup, "LanguageCombo", {}, QString());
    LanguageCombo->addItems({QStringLiteral("English"), QStringLiteral("Deutsch"), QStringLiteral("Français"),
                             QStringLiteral("L'italiano"), QStringLiteral("Español")});
    addRow(miscGrid, 2, QStringLiteral("Language"), LanguageCombo);

    auto* bordersGroup = new QGroupBox(QStringLiteral("Borders"), this);
    auto* bordersGrid = new QGridLayout(bordersGroup);
    CalendarBorderCombo = makeCombo(bordersGroup, "CalendarBorderCombo", kBorderItems, QStringLiteral("Calendar border"));
    HeaderBorderCombo = makeCombo(bordersGroup, "HeaderBorderCombo", kBorderItems, QStringLiteral("Header border"));
    CellBorderCombo = makeCombo(bordersGroup, "CellBorderCombo", kBorderItems, QStringLiteral("Cell border"));
    addRow(bordersGrid, 0, QStringLiteral("Calendar "), CalendarBorderCombo);
    addRow(bordersGrid, 1, QStringLiteral("Header"), HeaderBorderCombo);
    addRow(bordersGrid, 2, QStringLiteral("Cell "), CellBorderCombo);

    auto* colorsGroup = new QGroupBox(QStringLiteral("Colors"), this);
    auto* colorsGrid = new QGridLayout(colorsGroup);
    const auto colorButton = [](QWidget* parent, const char* name) {
        auto* b = new TPaletteColorButton(parent);
        b->setObjectName(QLatin1String(name));
        return b;
    };
    TitleBackgroundbutton = colorButton(colorsGroup, "TitleBackgroundbutton");
    HeaderBackgroundButton = colorButton(colorsGroup, "HeaderBackgroundButton");
    Bodybackgroundbutton = colorButton(colorsGroup, "Bodybackgroundbutton");
    addRow(colorsGrid, 0, QStringLiteral("Title Background"), TitleBackgroundbutton);
    addRow(colorsGrid, 1, QStringLiteral("Header Background "), HeaderBackgroundButton);
    addRow(colorsGrid, 2, QStringLiteral("Body Background "), Bodybackgroundbutton);
    TransparentCheck = new QCheckBox(QStringLiteral("Transparent"), colorsGroup);
    TransparentCheck->setObjectName(QStringLiteral("TransparentCheck"));
    colorsGrid->addWidget(TransparentCheck, 3, 0, 1, 2);

    auto* shadowGroup = new QGroupBox(QStringLiteral("Shadow"), this);
    auto* shadowGrid = new QGridLayout(shadowGroup);
    ShadowColorButton = colorButton(shadowGroup, "ShadowColorButton");
    addRow(shadowGrid, 0, QStringLiteral("Color"), ShadowColorButton);
    ShadowColorButton->setAccessibleName(QStringLiteral("Shadow color"));
    ShadowOrientationCombo = makeCombo(shadowGroup, "ShadowOrientationCombo",
                                       {"Lower Right", "Lower Left", "UpperRight", "UpperLeft"},
                                       QStringLiteral("Shadow orientation"));
    addRow(shadowGrid, 1, QStringLiteral("Orientation"), ShadowOrientationCombo);
    ShadowDepthSpinner = new QSpinBox(shadowGroup);
    ShadowDepthSpinner->setObjectName(QStringLiteral("ShadowDepthSpinner"));
    ShadowDepthSpinner->setRange(0, 10);
    ShadowDepthSpinner->setAccessibleName(QStringLiteral("Shadow depth"));
    addRow(shadowGrid, 2, QStringLiteral("Depth"), ShadowDepthSpinner);

    auto* fontsGroup = new QGroupBox(QStringLiteral("Fonts"), this);
    auto* fontsLayout = new QHBoxLayout(fontsGroup);
    TitleFontbutton = MakeEditorButton(fontsGroup, "TitleFontbutton", QStringLiteral("Title Font"));
    HeaderFontbutton = MakeEditorButton(fontsGroup, "HeaderFontbutton", QStringLiteral("Header Font"));
    CellFontbutton = MakeEditorButton(fontsGroup, "CellFontbutton", QStringLiteral("Cell Font"));
    for (QPushButton* b : {TitleFontbutton, HeaderFontbutton, CellFontbutton}) fontsLayout->addWidget(b);

    // The preview: a mini calendar of the dialog in a white scroll box.
    SampleScrollBox = new QScrollArea(this);
    SampleScrollBox->setObjectName(QStringLiteral("SampleScrollBox"));
    SampleScrollBox->setAccessibleName(QStringLiteral("Sample"));
    SampleScrollBox->setBackgroundRole(QPalette::Base);
    SampleScrollBox->setMinimumSize(260, 230);
    SampleHost = new TGObjectHost;
    SampleHost->setObjectName(QStringLiteral("SampleHost"));
    SampleHost->setAccessibleName(QStringLiteral("Preview"));
    SampleScrollBox->setWidget(SampleHost);
    Sample = new TGFlatCalendar(nullptr);
    Sample->SetName(QStringLiteral("Sample"));
    Sample->SetBounds(0, 0, 200, 160);
    Sample->SetList(&SampleHost->ObjectList());
    SampleSized();

    const EditorButtonRow buttons = MakeEditorButtonRow(this);
    MouseHelpButton = buttons.mouseHelp;
    OKButton = buttons.ok;
    Cancelbutton = buttons.cancel;
    Helpbutton = buttons.help;

    auto* left = new QVBoxLayout;
    left->addWidget(dateGroup);
    left->addWidget(WeekStartsOn);
    left->addWidget(miscGroup);
    left->addWidget(bordersGroup);
    auto* middle = new QVBoxLayout;
    middle->addWidget(colorsGroup);
    middle->addWidget(shadowGroup);
    middle->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(SampleScrollBox, 1);
    right->addWidget(fontsGroup);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(middle);
    columns->addLayout(right);
    auto* main = new QVBoxLayout(this);
    main->addLayout(columns);
    main->addLayout(buttons.layout);
    main->setSizeConstraint(QLayout::SetFixedSize);

    WhatsThis = new WhatsThisSupport(this);
    const auto help = [this](QWidget* w, const char* text) { WhatsThis->Attach(w, QString::fromUtf8(text)); };
    help(MonthCombo, "The month the calendar shows.");
    help(YearSpinner, "The year of the month shown.");
    help(WeekStartsOn, "Whether the weeks begin with Sunday or with Monday.");
    help(WeekStartsOnSunday, "Sunday is the first column of the week.");
    help(WeekStartsOnMonday, "Monday is the first column of the week; Sunday is the last.");
    help(ShowtitleInyearCheck, "Shows the year after the month's name in the title.");
    help(HeadersStyleCombo, "How much of each day's name the row of day names shows.");
    help(LanguageCombo, "The language of the month's and the days' names.");
    help(CalendarBorderCombo, "The lines around the whole calendar.");
    help(HeaderBorderCombo, "The lines around the row of day names.");
    help(CellBorderCombo, "The lines between the day cells.");
    help(TitleBackgroundbutton, "The ground colour behind the title.");
    help(HeaderBackgroundButton, "The ground colour behind the day names.");
    help(Bodybackgroundbutton, "The ground colour behind the day numbers.");
    help(TransparentCheck, "Draws only the lines and the text, so that the page shows through.");
    help(ShadowColorButton, "The colour of the drop shadow.");
    help(ShadowOrientationCombo, "The corner towards which the shadow falls.");
    help(ShadowDepthSpinner, "How many pixels the shadow lies away from the calendar; 0 for none.");
    help(SampleHost, "Shows the calendar as it will look with these settings.");
    help(Helpbutton, "Shows help on the floating calendar.");
    help(MouseHelpButton, "Click this button, then a control, to see what the control does.");
    TitleFontbutton->setWhatsThis(QStringLiteral("Chooses the font of the title."));
    HeaderFontbutton->setWhatsThis(QStringLiteral("Chooses the font of the day names."));
    CellFontbutton->setWhatsThis(QStringLiteral("Chooses the font of the day numbers."));

    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(Cancelbutton, &QPushButton::clicked, this, &QDialog::reject);
    connect(Helpbutton, &QPushButton::clicked, this, [] { ShowHelpTopic(kFlatCalendarHelpTopic); });
    connect(MouseHelpButton, &QPushButton::clicked, this, [] { QWhatsThis::enterWhatsThisMode(); });
    connectControls();

    // Nothing reaches the preview until the dialog is activated.
    m_updating = true;
    const int year = QDate::currentDate().year();
    YearSpinner->setValue(year > 0 ? year : 1998);
}

TFlatCalendarEditor::~TFlatCalendarEditor() { delete Sample; }

void TFlatCalendarEditor::SampleSized() {
    SampleHost->resize(std::max(1, Sample->Width()), std::max(1, Sample->Height()));
    SampleHost->update();
}

void TFlatCalendarEditor::previewChanged() { SampleHost->update(); }

void TFlatCalendarEditor::connectControls() {
    // Every change goes into the preview at once, unless the dialog is loading its controls.
    const auto onIndex = [this](QComboBox* combo, auto apply) {
        connect(combo, &QComboBox::currentIndexChanged, this, [this, apply](int index) {
            if (m_updating || index < 0) return;
            apply(index);
            previewChanged();
        });
    };
    onIndex(MonthCombo, [this](int i) { Sample->SetMonth(i + 1); });
    onIndex(HeadersStyleCombo, [this](int i) { Sample->SetDayNameStyle(static_cast<TFlatCalHeadersStyle>(i)); });
    onIndex(LanguageCombo, [this](int i) { Sample->SetLanguage(static_cast<TFlatCalLanguage>(i)); });
    onIndex(CalendarBorderCombo, [this](int i) { Sample->SetCalendarBorderStyle(static_cast<TFlatCalBorderStyle>(i)); });
    onIndex(HeaderBorderCombo, [this](int i) { Sample->SetDayNameBorderStyle(static_cast<TFlatCalBorderStyle>(i)); });
    onIndex(CellBorderCombo, [this](int i) { Sample->SetCellBorderStyle(static_cast<TFlatCalBorderStyle>(i)); });
    onIndex(ShadowOrientationCombo,
            [this](int i) { Sample->SetShadowPosition(static_cast<TFlatShadowPosition>(i)); });

    const auto onSpin = [this](QSpinBox* spin, auto apply) {
        connect(spin, &QSpinBox::valueChanged, this, [this, apply](int v) {
            if (m_updating) return;
            apply(v);
            previewChanged();
        });
    };
    onSpin(YearSpinner, [this](int v) { Sample->SetYear(v); });
    onSpin(ShadowDepthSpinner, [this](int v) { Sample->SetShadowDepth(v); });

    connect(m_weekGroup, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (m_updating || !checked) return;
        Sample->SetStartOfWeek(id + 1);
        previewChanged();
    });
    const auto onCheck = [this](QCheckBox* box, auto apply) {
        connect(box, &QCheckBox::toggled, this, [this, apply](bool on) {
            if (m_updating) return;
            apply(on);
            previewChanged();
        });
    };
    onCheck(ShowtitleInyearCheck, [this](bool on) { Sample->SetShowYear(on); });
    onCheck(TransparentCheck, [this](bool on) { Sample->SetCalTransparent(on); });

    const auto onColor = [this](TPaletteColorButton* button, auto apply) {
        connect(button, &TPaletteColorButton::colorPicked, this, [this, apply](TColor c) {
            if (m_updating) return;
            apply(c);
            previewChanged();
        });
    };
    onColor(TitleBackgroundbutton, [this](TColor c) { Sample->SetTitleBGcolor(c); });
    onColor(HeaderBackgroundButton, [this](TColor c) { Sample->SetDayNameBGColor(c); });
    onColor(Bodybackgroundbutton, [this](TColor c) { Sample->SetBackgroundcolor(c); });
    onColor(ShadowColorButton, [this](TColor c) { Sample->SetShadowColor(c); });

    const auto onFont = [this](QPushButton* button, auto get, auto set) {
        connect(button, &QPushButton::clicked, this, [this, get, set] {
            if (auto chosen = ChooseFontDialog(get(), this)) set(*chosen);
            previewChanged();
        });
    };
    onFont(TitleFontbutton, [this] { return Sample->TitleFont(); }, [this](const FontRecord& f) { Sample->SetTitleFont(f); });
    onFont(HeaderFontbutton, [this] { return Sample->DayNameFont(); },
           [this](const FontRecord& f) { Sample->SetDayNameFont(f); });
    onFont(CellFontbutton, [this] { return Sample->CellFont(); }, [this](const FontRecord& f) { Sample->SetCellFont(f); });
}

void TFlatCalendarEditor::FormActivate() {
    m_activated = true;
    m_updating = true;
    const TGFlatCalendar& s = *Sample;
    MonthCombo->setCurrentIndex(s.Month() >= 1 && s.Month() <= 12 ? s.Month() - 1 : -1);
    YearSpinner->setValue(s.Year());
    (s.StartOfWeek() == 2 ? WeekStartsOnMonday : WeekStartsOnSunday)->setChecked(true);
    HeadersStyleCombo->setCurrentIndex(s.DayNameStyle());
    CalendarBorderCombo->setCurrentIndex(s.CalendarBorderStyle());
    HeaderBorderCombo->setCurrentIndex(s.DayNameBorderStyle());
    CellBorderCombo->setCurrentIndex(s.CellBorderStyle());
    TitleBackgroundbutton->SetColor(s.TitleBGcolor());
    HeaderBackgroundButton->SetColor(s.DayNameBGColor());
    Bodybackgroundbutton->SetColor(s.Backgroundcolor());
    ShadowColorButton->SetColor(s.ShadowColor());
    ShadowOrientationCombo->setCurrentIndex(s.ShadowPosition());
    ShadowDepthSpinner->setValue(s.ShadowDepth());
    LanguageCombo->setCurrentIndex(s.Language());
    ShowtitleInyearCheck->setChecked(s.ShowYear());
    TransparentCheck->setChecked(s.CalTransparent());
    m_updating = false;
}

void TFlatCalendarEditor::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_activated) FormActivate();
}

// --- icon palette visibility ---------------------------------------------------------------------

FloaterStatus CheckFloaterStatus(bool pageVisible, bool pageHasDayCells, bool preferenceVisible, bool paletteShowing) {
    FloaterStatus s;
    if (!pageVisible || !pageHasDayCells) {
        s.preferenceVisible = false;
        s.hide = paletteShowing;
        return s;
    }
    s.preferenceVisible = preferenceVisible;
    s.show = preferenceVisible && !paletteShowing;
    return s;
}

void CheckFloaterStatus(QWidget* palette, bool& preferenceVisible, bool pageVisible, bool pageHasDayCells) {
    const bool showing = palette && palette->isVisible();
    const FloaterStatus s = CheckFloaterStatus(pageVisible, pageHasDayCells, preferenceVisible, showing);
    preferenceVisible = s.preferenceVisible;
    if (!palette) return;
    if (s.hide) palette->hide();
    if (s.show) palette->show();
}

}  // namespace plennix
