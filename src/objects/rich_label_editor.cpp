#include "objects/rich_label_editor.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWhatsThis>

#include "objects/editor_buttons.h"
#include "platform/accessibility.h"
#include "platform/numbers.h"
#include "richtext/format_toolbar.h"
#include "richtext/rich_text_editor.h"
#include "surface/help.h"
#include "surface/label_dialogs.h"

namespace plennix {

namespace {
constexpr int kRichTextEditorHelpTopic = 40013;

QToolButton* makeZoomButton(QWidget* parent, const char* name, const QString& text, const QString& tip) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setText(text);
    b->setToolTip(tip);
    b->setAccessibleName(CaptionedName(text, tip));
    b->setFocusPolicy(Qt::StrongFocus);
    return b;
}

// Restores the normal pointer however the scope is left.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};
}  // namespace

int RichEditorZoomIn(int percent) { return percent >= 100 ? percent : percent + 10; }
int RichEditorZoomOut(int percent) { return percent <= 50 ? percent : percent - 10; }

TRichTextLabelEditor::TRichTextLabelEditor(QWidget* parent) : QDialog(parent) {
    BusyCursor busy;
    QCoreApplication::processEvents();
    setObjectName(QStringLiteral("RichTextLabelEditor"));
    setWindowTitle(QStringLiteral("Rich Text Editor"));
    setSizeGripEnabled(true);
    resize(820, 460);

    WPToolBar1 = new TWPToolBar(this);
    WPToolBar1->setObjectName(QStringLiteral("WPToolBar1"));

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setAccessibleName(QStringLiteral("Text area"));
    WPPanel = new QFrame;
    WPPanel->setObjectName(QStringLiteral("WPPanel"));
    WPPanel->setFrameStyle(QFrame::Box | QFrame::Plain);
    WPPanel->setLineWidth(1);
    WPPanel->setAutoFillBackground(true);
    WPPanel->resize(190, 33);
    auto* panelLayout = new QVBoxLayout(WPPanel);
    panelLayout->setContentsMargins(1, 1, 1, 1);
    WPRichText1 = new TWPRichText(WPPanel);
    WPRichText1->setObjectName(QStringLiteral("WPRichText1"));
    WPRichText1->setAccessibleName(QStringLiteral("Text"));
    WPRichText1->SetWantTabs(true);
    LeaveWithCtrlTab(*WPRichText1);
    panelLayout->addWidget(WPRichText1);
    ScrollBox1->setWidget(WPPanel);
    SetPanelColor(clWhite);
    WPPanel->hide();
    WPToolBar1->Attach(WPRichText1);

    // The zoom buttons live in the tool bar, at its start, where a narrow window never hides them.
    ZoomPlusButton = makeZoomButton(this, "ZoomPlusButton", QStringLiteral("+"), QStringLiteral("Zoom In"));
    ZoomMinusButton = makeZoomButton(this, "ZoomMinusButton", QStringLiteral("-"), QStringLiteral("Zoom Out"));
    QAction* first = WPToolBar1->actions().value(0);
    WPToolBar1->insertWidget(first, ZoomPlusButton);
    WPToolBar1->insertWidget(first, ZoomMinusButton);
    WPToolBar1->insertSeparator(first);

    const EditorButtonRow buttons = MakeEditorButtonRow(this);
    MouseHelpButton = buttons.mouseHelp;
    OKButton = buttons.ok;
    Cancelbutton = buttons.cancel;
    Helpbutton = buttons.help;

    auto* main = new QVBoxLayout(this);
    main->addWidget(WPToolBar1);
    main->addWidget(ScrollBox1, 1);
    main->addLayout(buttons.layout);

    WhatsThis = new WhatsThisSupport(this);
    WhatsThis->Attach(WPToolBar1, QStringLiteral("Sets the font, size, colour, style and alignment of the text, "
                                                 "and copies, cuts and pastes."));
    WhatsThis->Attach(ZoomPlusButton, QStringLiteral("Shows the text larger, up to its real size."));
    WhatsThis->Attach(ZoomMinusButton, QStringLiteral("Shows the text smaller, down to half its size."));
    WhatsThis->Attach(WPPanel, QStringLiteral("The label as large as it is on the page."));
    WhatsThis->Attach(WPRichText1, QStringLiteral("Type and format the label's text here."));
    WhatsThis->Attach(OKButton, QStringLiteral("Puts the text on the label."));
    WhatsThis->Attach(Cancelbutton, QStringLiteral("Closes the editor and leaves the label as it was."));
    WhatsThis->Attach(Helpbutton, QStringLiteral("Shows help on the rich text editor."));
    WhatsThis->Attach(MouseHelpButton,
                      QStringLiteral("Click this button, then a control, to see what the control does."));

    connect(ZoomPlusButton, &QToolButton::clicked, this, &TRichTextLabelEditor::ZoomIn);
    connect(ZoomMinusButton, &QToolButton::clicked, this, &TRichTextLabelEditor::ZoomOut);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(Cancelbutton, &QPushButton::clicked, this, &QDialog::reject);
    connect(Helpbutton, &QPushButton::clicked, this, [] { ShowHelpTopic(kRichTextEditorHelpTopic); });
    connect(MouseHelpButton, &QPushButton::clicked, this, [] { QWhatsThis::enterWhatsThisMode(); });
}

TRichTextLabelEditor::~TRichTextLabelEditor() = default;

void TRichTextLabelEditor::SetPanelColor(TColor color) {
    QPalette pal = WPPanel->palette();
    pal.setColor(QPalette::Window, toQColor(color));
    WPPanel->setPalette(pal);
    WPRichText1->SetBackgroundColor(color);
}

void TRichTextLabelEditor::SetPanelSize(int width, int height) {
    WPPanel->resize(std::max(1, width), std::max(1, height));
}

void TRichTextLabelEditor::FormActivate() {
    m_activated = true;
    BusyCursor busy;
    WPPanel->show();
    QCoreApplication::processEvents();
    WPRichText1->Reformat();
    WPRichText1->setFocus();
    WPRichText1->moveCursor(QTextCursor::Start);
    m_refWidth = WPPanel->width();
    m_refHeight = WPPanel->height();
    m_refZoom = WPRichText1->ZoomPercent();
}

void TRichTextLabelEditor::setZoom(int percent) {
    if (percent == WPRichText1->ZoomPercent()) return;
    if (!m_activated) FormActivate();
    WPRichText1->SetZoomPercent(percent);
    const int zoom = WPRichText1->ZoomPercent();
    const double ref = m_refZoom > 0 ? m_refZoom : 100;
    SetPanelSize(roundHalfEven(m_refWidth * zoom / ref), roundHalfEven(m_refHeight * zoom / ref));
}

void TRichTextLabelEditor::ZoomIn() { setZoom(RichEditorZoomIn(WPRichText1->ZoomPercent())); }

void TRichTextLabelEditor::ZoomOut() { setZoom(RichEditorZoomOut(WPRichText1->ZoomPercent())); }

void TRichTextLabelEditor::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_activated) FormActivate();
}

}  // namespace plennix
