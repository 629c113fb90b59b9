#include "surface/label_dialogs.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QWhatsThis>
#include <utility>

#include "platform/code_page.h"
#include "platform/common_dialogs.h"
#include "platform/messages.h"
#include "surface/help.h"
#include "surface/label.h"
#include "surface/object_host.h"

namespace plennix {

namespace {

constexpr int kLabelTextHelpTopic = 40004;
constexpr int k3DEffectsHelpTopic = 40008;

struct NamedColor {
    const char* name;
    TColor color;
};

constexpr NamedColor kNamedColors[] = {
    {"Black", clBlack}, {"Maroon", clMaroon}, {"Green", clGreen},     {"Olive", clOlive},
    {"Navy", clNavy},   {"Purple", clPurple}, {"Teal", clTeal},       {"Gray", clGray},
    {"Silver", clSilver}, {"Red", clRed},     {"Lime", clLime},       {"Yellow", clYellow},
    {"Blue", clBlue},   {"Fuchsia", clFuchsia}, {"Aqua", clAqua},     {"White", clWhite},
};

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, int x, int y, int w, int h) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(x, y, w, h);
    b->setAutoDefault(false);
    return b;
}

QLabel* makeLabel(QWidget* parent, const QString& text, int x, int y, int w = 140) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(x, y, w, 16);
    return l;
}

QComboBox* makeList(QWidget* parent, const char* name, const QStringList& items, int x, int y, int w) {
    auto* c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->addItems(items);
    c->setGeometry(x, y, w, 24);
    return c;
}

}  // namespace

// --- colour drop-down ----------------------------------------------------------------------------

TColorCombo::TColorCombo(QWidget* parent) : QComboBox(parent) {
    for (const NamedColor& c : kNamedColors) addColorItem(QLatin1String(c.name), c.color);
    addItem(QStringLiteral("Custom..."));
    connect(this, &QComboBox::activated, this, &TColorCombo::onActivated);
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0 || itemData(index).isNull()) return;
        m_lastIndex = index;
        emit colorChanged(Color());
    });
}

int TColorCombo::addColorItem(const QString& text, TColor color) {
    // Colours go before the "Custom..." entry, which stays last.
    const int at = itemData(count() - 1).isNull() && count() > 0 ? count() - 1 : count();
    insertItem(at, ColorSwatch(color), text, QVariant(static_cast<int>(color)));
    return at;
}

int TColorCombo::indexOfColor(TColor color) const {
    for (int i = 0; i < count(); ++i)
        if (!itemData(i).isNull() && itemData(i).toInt() == color) return i;
    return -1;
}

TColor TColorCombo::Color() const {
    const QVariant v = itemData(currentIndex());
    return v.isNull() ? itemData(m_lastIndex).toInt() : v.toInt();
}

void TColorCombo::SetColor(TColor color) {
    int index = indexOfColor(color);
    if (index < 0) {
        const TColor rgb = ColorToRGB(color);
        index = addColorItem(QStringLiteral("#%1%2%3")
                                 .arg(rgb & 0xFF, 2, 16, QLatin1Char('0'))
                                 .arg((rgb >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
                                 .arg((rgb >> 16) & 0xFF, 2, 16, QLatin1Char('0'))
                                 .toUpper(),
                             color);
    }
    setCurrentIndex(index);
    m_lastIndex = index;
}

void TColorCombo::onActivated(int index) {
    if (!itemData(index).isNull()) return;
    // "Custom...": the colour dialog; cancelling returns to the previous colour.
    const TColor previous = itemData(m_lastIndex).toInt();
    if (auto chosen = ChooseColorDialog(previous, window())) {
        SetColor(*chosen);
    } else {
        setCurrentIndex(m_lastIndex);
    }
}

// --- what's this ---------------------------------------------------------------------------------

WhatsThisSupport::WhatsThisSupport(QDialog* dialog) : QObject(dialog), m_menu(new QMenu(dialog)) {
    m_menu->setObjectName(QStringLiteral("WhatsThisMenu"));
    QAction* a = m_menu->addAction(QStringLiteral("What's this?"));
    connect(a, &QAction::triggered, this, [this] {
        if (m_control) ShowFor(m_control);
    });
}

void WhatsThisSupport::Attach(QWidget* control, const QString& text) {
    control->setWhatsThis(text);
    control->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(control, &QWidget::customContextMenuRequested, this, [this, control](const QPoint& pos) {
        m_control = control;
        m_menu->popup(control->mapToGlobal(pos));
    });
}

void WhatsThisSupport::ShowFor(QWidget* control) {
    m_control = control;
    QWhatsThis::showText(control->mapToGlobal(QPoint(control->width() / 2, control->height())),
                         control->whatsThis(), control);
}

// --- TGetLabelText -------------------------------------------------------------------------------

TGetLabelText::TGetLabelText(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("GetLabelText"));
    setWindowTitle(QStringLiteral("Text"));
    setFixedSize(356, 133);

    Label1 = makeLabel(this, QStringLiteral("Enter Text"), 12, 14, 200);
    Label1->setObjectName(QStringLiteral("Label1"));
    LabelText = new QLineEdit(this);
    LabelText->setObjectName(QStringLiteral("LabelText"));
    LabelText->setGeometry(12, 34, 332, 24);
    Label1->setBuddy(LabelText);

    MouseHelpButton = makeButton(this, "MouseHelpButton", QStringLiteral("?"), 12, 92, 28, 27);
    MouseHelpButton->setAccessibleName(QStringLiteral("What's this?"));
    OKButton = makeButton(this, "OKButton", QStringLiteral("Ok"), 107, 92, 75, 27);
    Cancelbutton = makeButton(this, "Cancelbutton", QStringLiteral("Cancel"), 188, 92, 75, 27);
    Helpbutton = makeButton(this, "Helpbutton", QStringLiteral("Help"), 269, 92, 75, 27);
    OKButton->setDefault(true);

    WhatsThis = new WhatsThisSupport(this);
    WhatsThisMenu = WhatsThis->Menu();
    WhatsThis->Attach(LabelText, QStringLiteral("The text that the label shows."));
    WhatsThis->Attach(OKButton, QStringLiteral("Puts the text on the label."));
    WhatsThis->Attach(Cancelbutton, QStringLiteral("Closes the dialog and leaves the label as it was."));
    WhatsThis->Attach(Helpbutton, QStringLiteral("Shows help on entering the label's text."));
    WhatsThis->Attach(MouseHelpButton,
                      QStringLiteral("Click this button, then a control, to see what the control does."));

    // Text the files' code page cannot hold would be saved as question marks: say so and stay open.
    connect(OKButton, &QPushButton::clicked, this, [this] {
        const QString problem = CodePageProblem(Text());
        if (problem.isEmpty()) {
            accept();
            return;
        }
        ShowInformation(problem, this);
        LabelText->setFocus();
    });
    connect(Cancelbutton, &QPushButton::clicked, this, &QDialog::reject);
    connect(Helpbutton, &QPushButton::clicked, this, [] { ShowHelpTopic(kLabelTextHelpTopic); });
    connect(MouseHelpButton, &QPushButton::clicked, this, [] { QWhatsThis::enterWhatsThisMode(); });

    LabelText->setFocus();
}

QString TGetLabelText::Text() const { return LabelText->text(); }

void TGetLabelText::SetText(const QString& text) {
    LabelText->setText(text);
    LabelText->selectAll();
}

bool EditLabelText(QWidget* parent, QString& text) {
    TGetLabelText dialog(parent);
    dialog.SetText(text);
    if (RunModalDialog(dialog) != QDialog::Accepted) return false;
    text = dialog.Text();
    return true;
}

// --- TGFont3DEffects -----------------------------------------------------------------------------

TGFont3DEffects::TGFont3DEffects(TGBaseLabel& label, QWidget* parent) : QDialog(parent), m_label(label) {
    setObjectName(QStringLiteral("Font3DEffects"));
    setWindowTitle(QStringLiteral("Text 3D Effects"));
    setFixedSize(467, 338);

    QStringList depths;
    for (int i = 0; i <= 10; ++i) depths << QString::number(i);

    QLabel* shadowDirectionLabel = makeLabel(this, QStringLiteral("Shadow Direction"), 15, 10);
    QLabel* shadowColorLabel = makeLabel(this, QStringLiteral("Shadow Color"), 170, 10);
    QLabel* shadowDepthLabel = makeLabel(this, QStringLiteral("Shadow Depth"), 325, 10);
    ShadowDirection = makeList(this, "ShadowDirection",
                               {"None", "Right", "Left", "Lower Right", "Lower Left", "Down"}, 15, 28, 145);
    ShadowColorCombo = new TColorCombo(this);
    ShadowColorCombo->setObjectName(QStringLiteral("ShadowColorCombo"));
    ShadowColorCombo->setGeometry(170, 28, 145, 24);
    ShadowDepth = makeList(this, "ShadowDepth", depths, 325, 28, 127);

    QLabel* highlightDirectionLabel = makeLabel(this, QStringLiteral("Highlight Direction"), 15, 64);
    QLabel* highlightColorLabel = makeLabel(this, QStringLiteral("Highlight Color"), 170, 64);
    QLabel* highlightDepthLabel = makeLabel(this, QStringLiteral("Highlight Depth"), 325, 64);
    HighlightDirection = makeList(this, "HighlightDirection",
                                  {"None", "Right", "Left", "Upper Right", "Upper Left", "Up"}, 15, 82, 145);
    HighLightColorCombo = new TColorCombo(this);
    HighLightColorCombo->setObjectName(QStringLiteral("HighLightColorCombo"));
    HighLightColorCombo->setGeometry(170, 82, 145, 24);
    HighLightDepth = makeList(this, "HighLightDepth", depths, 325, 82, 127);

    QLabel* fontColorLabel = makeLabel(this, QStringLiteral("Font Color"), 15, 118);
    FontColorCombo = new TColorCombo(this);
    FontColorCombo->setObjectName(QStringLiteral("FontColorCombo"));
    FontColorCombo->setGeometry(15, 136, 145, 24);
    // Each list is read by the caption above it, not by the entry it shows.
    const std::pair<QLabel*, QComboBox*> captions[] = {
        {shadowDirectionLabel, ShadowDirection},       {shadowColorLabel, ShadowColorCombo},
        {shadowDepthLabel, ShadowDepth},               {highlightDirectionLabel, HighlightDirection},
        {highlightColorLabel, HighLightColorCombo},    {highlightDepthLabel, HighLightDepth},
        {fontColorLabel, FontColorCombo}};
    for (auto [label, list] : captions) label->setBuddy(list);

    SamplePanel = new QFrame(this);
    SamplePanel->setObjectName(QStringLiteral("SamplePanel"));
    SamplePanel->setFrameStyle(QFrame::Box | QFrame::Plain);
    SamplePanel->setLineWidth(1);
    SamplePanel->setGeometry(15, 176, 437, 85);
    SampleHost = new TGObjectHost(SamplePanel);
    SampleHost->setObjectName(QStringLiteral("SampleHost"));
    SampleHost->setGeometry(1, 1, 435, 83);
    // The sample is a design-time label of the form: it shows, it has no menu.
    Sample = new TGPLabel(nullptr);
    Sample->SetName(QStringLiteral("Sample"));
    Sample->SetCaption(QStringLiteral("Sample"));
    Sample->SetList(&SampleHost->ObjectList());

    MouseHelpButton = makeButton(this, "MouseHelpButton", QStringLiteral("?"), 15, 296, 28, 27);
    MouseHelpButton->setAccessibleName(QStringLiteral("What's this?"));
    OKButton = makeButton(this, "OKButton", QStringLiteral("Ok"), 215, 296, 75, 27);
    Cancelbutton = makeButton(this, "Cancelbutton", QStringLiteral("Cancel"), 296, 296, 75, 27);
    Helpbutton = makeButton(this, "Helpbutton", QStringLiteral("Help"), 377, 296, 75, 27);
    OKButton->setDefault(true);

    WhatsThis = new WhatsThisSupport(this);
    WhatsThisMenu = WhatsThis->Menu();
    WhatsThis->Attach(ShadowDirection, QStringLiteral("The direction in which the shadow falls from the text."));
    WhatsThis->Attach(ShadowColorCombo, QStringLiteral("The colour of the shadow."));
    WhatsThis->Attach(ShadowDepth, QStringLiteral("How many pixels the shadow lies away from the text."));
    WhatsThis->Attach(HighlightDirection, QStringLiteral("The direction in which the highlight lies from the text."));
    WhatsThis->Attach(HighLightColorCombo, QStringLiteral("The colour of the highlight."));
    WhatsThis->Attach(HighLightDepth, QStringLiteral("How many pixels the highlight lies away from the text."));
    WhatsThis->Attach(FontColorCombo, QStringLiteral("The colour of the text itself."));
    WhatsThis->Attach(SampleHost, QStringLiteral("Shows the text as it will look with these settings."));
    WhatsThis->Attach(OKButton, QStringLiteral("Puts these settings on the label."));
    WhatsThis->Attach(Cancelbutton, QStringLiteral("Closes the dialog and leaves the label as it was."));
    WhatsThis->Attach(Helpbutton, QStringLiteral("Shows help on the 3D effects."));
    WhatsThis->Attach(MouseHelpButton,
                      QStringLiteral("Click this button, then a control, to see what the control does."));

    loadFromLabel();

    // Every change goes to the sample at once; the label changes only with OK.
    for (QComboBox* list : {ShadowDirection, ShadowDepth, HighlightDirection, HighLightDepth})
        connect(list, &QComboBox::currentIndexChanged, this, [this] { sampleChanged(); });
    for (TColorCombo* combo : {ShadowColorCombo, HighLightColorCombo, FontColorCombo})
        connect(combo, &TColorCombo::colorChanged, this, [this] { sampleChanged(); });

    connect(OKButton, &QPushButton::clicked, this, [this] {
        ApplyToLabel();
        accept();
    });
    connect(Cancelbutton, &QPushButton::clicked, this, &QDialog::reject);
    connect(Helpbutton, &QPushButton::clicked, this, [] { ShowHelpTopic(k3DEffectsHelpTopic); });
    connect(MouseHelpButton, &QPushButton::clicked, this, [] { QWhatsThis::enterWhatsThisMode(); });
}

TGFont3DEffects::~TGFont3DEffects() { delete Sample; }

void TGFont3DEffects::loadFromLabel() {
    Sample->SetFont(m_label.Font());
    Sample->SetDepthShadow(m_label.DepthShadow());
    Sample->SetDepthHighlight(m_label.DepthHighlight());
    Sample->SetDirectionShadow(m_label.DirectionShadow());
    Sample->SetDirectionHighlight(m_label.DirectionHighlight());
    Sample->SetcolorShadow(m_label.colorShadow());
    Sample->SetcolorHighlight(m_label.colorHighlight());
    Sample->SetBounds(0, 0, SampleHost->width(), SampleHost->height());

    HighLightColorCombo->SetColor(m_label.colorHighlight());
    ShadowColorCombo->SetColor(m_label.colorShadow());
    FontColorCombo->SetColor(m_label.Font().color);
    ShadowDirection->setCurrentIndex(m_label.DirectionShadow());
    HighlightDirection->setCurrentIndex(m_label.DirectionHighlight());
    // Depths outside the list's 0..10 keep their value until the user picks another.
    if (m_label.DepthShadow() >= 0 && m_label.DepthShadow() < ShadowDepth->count())
        ShadowDepth->setCurrentIndex(m_label.DepthShadow());
    else
        ShadowDepth->setCurrentIndex(-1);
    if (m_label.DepthHighlight() >= 0 && m_label.DepthHighlight() < HighLightDepth->count())
        HighLightDepth->setCurrentIndex(m_label.DepthHighlight());
    else
        HighLightDepth->setCurrentIndex(-1);
}

void TGFont3DEffects::sampleChanged() {
    if (ShadowDirection->currentIndex() >= 0)
        Sample->SetDirectionShadow(static_cast<TShadowDirection>(ShadowDirection->currentIndex()));
    if (HighlightDirection->currentIndex() >= 0)
        Sample->SetDirectionHighlight(static_cast<THighlightDirection>(HighlightDirection->currentIndex()));
    if (ShadowDepth->currentIndex() >= 0) Sample->SetDepthShadow(ShadowDepth->currentIndex());
    if (HighLightDepth->currentIndex() >= 0) Sample->SetDepthHighlight(HighLightDepth->currentIndex());
    Sample->SetcolorShadow(ShadowColorCombo->Color());
    Sample->SetcolorHighlight(HighLightColorCombo->Color());
    FontRecord font = Sample->Font();
    font.color = FontColorCombo->Color();
    Sample->SetFont(font);
    SampleHost->update();
}

void TGFont3DEffects::ApplyToLabel() {
    m_label.SetFont(Sample->Font());
    m_label.SetDepthShadow(Sample->DepthShadow());
    m_label.SetDepthHighlight(Sample->DepthHighlight());
    m_label.SetDirectionShadow(Sample->DirectionShadow());
    m_label.SetDirectionHighlight(Sample->DirectionHighlight());
    m_label.SetcolorShadow(Sample->colorShadow());
    m_label.SetcolorHighlight(Sample->colorHighlight());
}

bool EditLabel3DEffects(QWidget* parent, TGBaseLabel& label) {
    TGFont3DEffects dialog(label, parent);
    return RunModalDialog(dialog) == QDialog::Accepted;
}

}  // namespace plennix
