#include "objects/super_text_dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTimer>
#include <QWhatsThis>

#include "objects/flat_calendar_editor.h"
#include "objects/image_decoding.h"
#include "objects/super_text.h"
#include "objects/super_text_texture.h"
#include "platform/accessibility.h"
#include "platform/code_page.h"
#include "platform/common_dialogs.h"
#include "platform/messages.h"
#include "platform/program_folder.h"
#include "surface/help.h"
#include "surface/label_dialogs.h"
#include "surface/object_host.h"

namespace plennix {

namespace {

constexpr int kTextureHelpTopic = 40012;
constexpr int kPropertiesHelpTopic = 40014;
const QString kPointerHelp = QStringLiteral("Click this button, then a control, to see what the control does.");

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, int x, int y, int w, int h = 27) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(x, y, w, h);
    b->setAutoDefault(false);
    b->setAccessibleName(CaptionWithoutMnemonic(text));
    return b;
}

QLabel* makeLabel(QWidget* parent, const QString& text, int x, int y, int w = 130) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(x, y, w, 16);
    return l;
}

QComboBox* makeList(QWidget* parent, const char* name, const QStringList& items, int x, int y, int w, QLabel* label) {
    auto* c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->addItems(items);
    c->setGeometry(x, y, w, 24);
    if (label) {
        label->setBuddy(c);
        c->setAccessibleName(CaptionWithoutMnemonic(label->text()));
    }
    return c;
}

TPaletteColorButton* makeColorButton(QWidget* parent, const char* name, int x, int y, int w, QLabel* label) {
    auto* b = new TPaletteColorButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(x, y, w, 24);
    if (label) {
        label->setBuddy(b);
        b->setAccessibleName(CaptionWithoutMnemonic(label->text()));
    }
    return b;
}

QSpinBox* makeSpinner(QWidget* parent, const char* name, int x, int y, int w, QLabel* label) {
    auto* s = new QSpinBox(parent);
    s->setObjectName(QLatin1String(name));
    s->setRange(0, 10);
    s->setGeometry(x, y, w, 24);
    if (label) {
        label->setBuddy(s);
        s->setAccessibleName(CaptionWithoutMnemonic(label->text()));
    }
    return s;
}

QFrame* makeTypePanel(QWidget* parent, const char* name) {
    auto* f = new QFrame(parent);
    f->setObjectName(QLatin1String(name));
    f->setFrameStyle(QFrame::NoFrame);
    f->setGeometry(12, 262, 300, 80);
    return f;
}

SymbolFontSource g_symbolFontSource;

// Symbol fonts shipped outside fontconfig's folders (the Windows-compatible set of Debian's
// fonts-wine) are made known to the application once.
void registerExtraSymbolFonts() {
    static bool done = false;
    if (done) return;
    done = true;
    const QStringList folders{QStringLiteral("/usr/share/wine/fonts"), DataDir() + QStringLiteral("fonts")};
    for (const QString& folder : folders) {
        const QDir dir(folder);
        for (const QString& f : dir.entryList({"*.ttf", "*.TTF"}, QDir::Files))
            if (f.contains(QLatin1String("wing"), Qt::CaseInsensitive) ||
                f.contains(QLatin1String("symbol"), Qt::CaseInsensitive) ||
                f.contains(QLatin1String("webding"), Qt::CaseInsensitive))
                QFontDatabase::addApplicationFont(dir.filePath(f));
    }
}

}  // namespace

// --- up/down ------------------------------------------------------------------------------------

TUpDownButton::TUpDownButton(QWidget* parent) : QAbstractSpinBox(parent) {
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setReadOnly(true);
    setFocusPolicy(Qt::StrongFocus);
}

void TUpDownButton::ShowValue(int value) { lineEdit()->setText(QString::number(value)); }

void TUpDownButton::stepBy(int steps) {
    if (steps != 0) emit stepped(steps > 0 ? 1 : -1);
}

// --- symbol fonts ----------------------------------------------------------------------------------

void SetSymbolFontSource(SymbolFontSource source) { g_symbolFontSource = std::move(source); }

QStringList InstalledSymbolFonts() {
    if (g_symbolFontSource) return g_symbolFontSource();
    registerExtraSymbolFonts();
    QStringList fonts;
    // Effects are drawn through outline paths: bitmap symbol fonts are not offered.
    for (const QString& family : QFontDatabase::families(QFontDatabase::Symbol))
        if (QFontDatabase::isScalable(family) && !QFontDatabase::isBitmapScalable(family)) fonts << family;
    return fonts;
}

// --- TSuperTextGetSymbol ---------------------------------------------------------------------------

TSuperTextGetSymbol::TSuperTextGetSymbol(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SuperTextGetSymbol"));
    setWindowTitle(QStringLiteral("Symbol Selector"));
    setFixedSize(520, 500);

    FontLabel = makeLabel(this, QStringLiteral("&Font"), 12, 12, 100);
    SymbolSets = makeList(this, "SymbolSets", {}, 12, 30, 300, FontLabel);
    SymbolSets->setToolTip(QStringLiteral("Select a symbol font set"));

    SymbolList = new QListWidget(this);
    SymbolList->setObjectName(QStringLiteral("SymbolList"));
    SymbolList->setAccessibleName(QStringLiteral("Symbols"));
    SymbolList->setGeometry(12, 64, 496, 384);
    SymbolList->setViewMode(QListView::IconMode);
    SymbolList->setFlow(QListView::LeftToRight);
    SymbolList->setWrapping(true);
    SymbolList->setMovement(QListView::Static);
    SymbolList->setResizeMode(QListView::Adjust);
    SymbolList->setUniformItemSizes(true);
    // 15 columns of 26-pixel-high cells.
    SymbolList->setGridSize(QSize(31, 26));
    for (int code = 32; code <= 255; ++code) {
        auto* item = new QListWidgetItem(QString(QChar(code)), SymbolList);
        item->setTextAlignment(Qt::AlignCenter);
        item->setSizeHint(QSize(31, 26));
    }

    CopyCharButton = makeButton(this, "CopyCharButton", QStringLiteral("Ok"), 352, 460, 75);
    CopyCharButton->setToolTip(QStringLiteral("Copy the selected symbol to the label"));
    CopyCharButton->setDefault(true);
    OKButton = makeButton(this, "OKButton", QStringLiteral("Cancel"), 433, 460, 75);

    connect(SymbolSets, &QComboBox::currentTextChanged, this, [this](const QString& family) {
        if (family.isEmpty()) return;
        showFont(family);
        m_font = family;
    });
    connect(SymbolList, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item) m_char = item->text();
    });
    connect(SymbolList, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (item) m_char = item->text();
        CopyCharButtonClick();
    });
    connect(CopyCharButton, &QPushButton::clicked, this, &TSuperTextGetSymbol::CopyCharButtonClick);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::reject);
}

bool TSuperTextGetSymbol::FillFonts() {
    QStringList fonts = InstalledSymbolFonts();
    fonts.removeDuplicates();
    fonts.sort(Qt::CaseInsensitive);
    const QSignalBlocker block(SymbolSets);
    SymbolSets->clear();
    SymbolSets->addItems(fonts);
    if (fonts.isEmpty()) return false;
    int selected = 0;
    for (int i = 0; i < fonts.size(); ++i)
        if (fonts[i].toUpper().contains(QLatin1String("WINGDING"))) {
            selected = i;
            break;
        }
    SymbolSets->setCurrentIndex(selected);
    // The font shown is the choice until another is picked, so that OK never sets an empty face.
    m_font = fonts[selected];
    showFont(m_font);
    SymbolList->setCurrentRow(0);
    return true;
}

void TSuperTextGetSymbol::showFont(const QString& family) {
    QFont f(family);
    f.setPixelSize(24);
    SymbolList->setFont(f);
}

void TSuperTextGetSymbol::FormActivate() {
    if (QListWidgetItem* item = SymbolList->currentItem()) m_char = item->text();
    QApplication::restoreOverrideCursor();
}

void TSuperTextGetSymbol::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TSuperTextGetSymbol::CopyCharButtonClick() {
    if (!m_font.isEmpty() || !m_char.isEmpty()) accept();
}

// --- TSuperTextBrushImageBrowser -------------------------------------------------------------------

TSuperTextBrushImageBrowser::TSuperTextBrushImageBrowser(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SuperTextBrushImageBrowser"));
    setWindowTitle(QStringLiteral("Load Texture Image"));
    setFixedSize(560, 420);

    QLabel* driveLabel = makeLabel(this, QStringLiteral("&Drive"), 12, 12);
    DriveComboBox1 = makeList(this, "DriveComboBox1", {}, 12, 30, 200, driveLabel);
    for (const QFileInfo& d : QDir::drives()) DriveComboBox1->addItem(d.absoluteFilePath());
    if (DriveComboBox1->findText(QDir::homePath()) < 0) DriveComboBox1->addItem(QDir::homePath());

    QLabel* folderLabel = makeLabel(this, QStringLiteral("F&olders"), 12, 62);
    DirectoryListBox1 = new QListWidget(this);
    DirectoryListBox1->setObjectName(QStringLiteral("DirectoryListBox1"));
    DirectoryListBox1->setAccessibleName(QStringLiteral("Folders"));
    DirectoryListBox1->setGeometry(12, 80, 200, 280);
    folderLabel->setBuddy(DirectoryListBox1);

    QLabel* fileLabel = makeLabel(this, QStringLiteral("F&iles"), 224, 12);
    FileListBox1 = new QListWidget(this);
    FileListBox1->setObjectName(QStringLiteral("FileListBox1"));
    FileListBox1->setAccessibleName(QStringLiteral("Files"));
    FileListBox1->setGeometry(224, 30, 150, 330);
    fileLabel->setBuddy(FileListBox1);

    ExampleScrollBox = new QScrollArea(this);
    ExampleScrollBox->setObjectName(QStringLiteral("ExampleScrollBox"));
    ExampleScrollBox->setGeometry(386, 30, 162, 330);
    ExampleScrollBox->setAccessibleName(QStringLiteral("Example"));
    // The example stands on white paper, not on the window's grey, whatever its size.
    ExampleScrollBox->setBackgroundRole(QPalette::Base);
    ExampleHost = new TGObjectHost();
    ExampleHost->setObjectName(QStringLiteral("ExampleHost"));
    ExampleHost->resize(158, 120);
    ExampleScrollBox->setWidget(ExampleHost);
    SuperTextExample = new TGSuperText(nullptr);
    SuperTextExample->SetName(QStringLiteral("SuperTextExample"));
    SuperTextExample->SetList(&ExampleHost->ObjectList());

    MouseHelpButton = makeButton(this, "MouseHelpButton", QStringLiteral("?"), 12, 378, 28);
    MouseHelpButton->setAccessibleName(QStringLiteral("What's this?"));
    OKButton = makeButton(this, "OKButton", QStringLiteral("Ok"), 311, 378, 75);
    Cancelbutton = makeButton(this, "Cancelbutton", QStringLiteral("Cancel"), 392, 378, 75);
    Helpbutton = makeButton(this, "Helpbutton", QStringLiteral("Help"), 473, 378, 75);
    OKButton->setDefault(true);

    WhatsThis = new WhatsThisSupport(this);
    WhatsThis->Attach(DriveComboBox1, QStringLiteral("The drive or starting folder to look in."));
    WhatsThis->Attach(DirectoryListBox1, QStringLiteral("Open a folder to list its textures."));
    WhatsThis->Attach(FileListBox1, QStringLiteral("Select a texture picture; the example shows it."));
    WhatsThis->Attach(ExampleHost, QStringLiteral("The text filled with the selected texture."));
    WhatsThis->Attach(OKButton, QStringLiteral("Uses the selected texture."));
    WhatsThis->Attach(Cancelbutton, QStringLiteral("Closes without changing the texture."));
    WhatsThis->Attach(Helpbutton, QStringLiteral("Shows help on choosing a texture."));
    WhatsThis->Attach(MouseHelpButton, kPointerHelp);

    connect(DriveComboBox1, &QComboBox::activated, this,
            [this](int index) { OpenFolder(DriveComboBox1->itemText(index)); });
    connect(DirectoryListBox1, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        if (item) OpenFolder(item->data(Qt::UserRole).toString());
    });
    connect(FileListBox1, &QListWidget::currentRowChanged, this, [this] { FileListBox1Change(); });
    // Return (or a double click) in the folders opens the folder; in the files it chooses the file.
    KeepReturnInList(*DirectoryListBox1);
    KeepReturnInList(*FileListBox1);
    connect(FileListBox1, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        if (item) accept();
    });
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(Cancelbutton, &QPushButton::clicked, this, &QDialog::reject);
    connect(Helpbutton, &QPushButton::clicked, this, [] { ShowHelpTopic(kTextureHelpTopic); });
    connect(MouseHelpButton, &QPushButton::clicked, this, [] { QWhatsThis::enterWhatsThisMode(); });
    FileListBox1->setFocus();
}

TSuperTextBrushImageBrowser::~TSuperTextBrushImageBrowser() { delete SuperTextExample; }

void TSuperTextBrushImageBrowser::OpenFolder(const QString& folder, const QString& file) {
    QString f = QDir(folder).absolutePath();
    if (!f.endsWith(QLatin1Char('/'))) f += QLatin1Char('/');
    m_folder = f;
    fillFolders();
    fillFiles(file);
}

void TSuperTextBrushImageBrowser::fillFolders() {
    DirectoryListBox1->clear();
    // The folder's ancestors from the root down, then its sub-folders, each indented by depth.
    QStringList chain;
    QDir d(m_folder);
    do {
        chain.prepend(d.absolutePath());
    } while (d.cdUp());
    int depth = 0;
    for (const QString& path : chain) {
        const QString name = path == QLatin1String("/") ? path : QFileInfo(path).fileName();
        auto* item = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + name, DirectoryListBox1);
        item->setData(Qt::UserRole, path);
        ++depth;
    }
    DirectoryListBox1->setCurrentRow(DirectoryListBox1->count() - 1);
    const QDir current(m_folder);
    for (const QString& sub : current.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        auto* item = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + sub, DirectoryListBox1);
        item->setData(Qt::UserRole, current.filePath(sub));
    }
}

void TSuperTextBrushImageBrowser::fillFiles(const QString& select) {
    QSignalBlocker block(FileListBox1);
    FileListBox1->clear();
    QStringList masks = TextureFileMasks();
    for (const QString& m : TextureFileMasks()) masks << m.toLower();
    const QStringList files =
        QDir(m_folder).entryList(masks, QDir::Files, QDir::Name | QDir::IgnoreCase);
    FileListBox1->addItems(files);
    if (!select.isEmpty()) {
        const auto found = FileListBox1->findItems(select, Qt::MatchFixedString);
        if (!found.isEmpty()) {
            FileListBox1->setCurrentItem(found.first());
            block.unblock();
            FileListBox1Change();
            return;
        }
    }
}

QString TSuperTextBrushImageBrowser::SelectedFile() const {
    QListWidgetItem* item = FileListBox1->currentItem();
    return item ? m_folder + item->text() : QString();
}

void TSuperTextBrushImageBrowser::FileListBox1Change() {
    const QString path = SelectedFile();
    if (path.isEmpty()) return;
    const TextureLoad load = LoadTextureFile(path);
    if (load.image.isNull()) {
        if (load.showError) ShowError(QStringLiteral("Error loading file!"), this);
        // Without the external decoder the file is not broken; the person is told what is missing.
        if (load.decoderMissing) ShowInformation(ExternalDecoderMissingText(), this);
        SuperTextExample->SetImage(QImage());
    } else {
        SuperTextExample->SetImage(load.image);
    }
    ExampleHost->update();
    if (FileListBox1->isEnabled() && isVisible()) FileListBox1->setFocus();
}

// --- TSuperTextProperties --------------------------------------------------------------------------

TSuperTextProperties::TSuperTextProperties(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SuperTextProperties"));
    setWindowTitle(QStringLiteral("SuperText Properties"));
    setFixedSize(578, 470);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Panel1->setGeometry(12, 10, 554, 190);
    Panel1->setAutoFillBackground(true);
    QPalette white = Panel1->palette();
    white.setColor(QPalette::Window, Qt::white);
    Panel1->setPalette(white);
    PreviewHost = new TGObjectHost(Panel1);
    PreviewHost->setObjectName(QStringLiteral("PreviewHost"));
    PreviewHost->setAccessibleName(QStringLiteral("Preview"));
    PreviewHost->setGeometry(1, 1, 552, 188);
    // The preview is the dialog's own object: it shows, it has no menu.
    Preview = new TGSuperText(nullptr);
    Preview->SetName(QStringLiteral("Preview"));
    Preview->SetBounds(0, 0, 100, 100);
    Preview->SetList(&PreviewHost->ObjectList());

    QLabel* textLabel = makeLabel(this, QStringLiteral("&Text"), 12, 208);
    CaptionText = new QLineEdit(this);
    CaptionText->setObjectName(QStringLiteral("CaptionText"));
    CaptionText->setAccessibleName(QStringLiteral("Text"));
    CaptionText->setGeometry(12, 226, 300, 26);
    textLabel->setBuddy(CaptionText);

    QLabel* typeLabel = makeLabel(this, QStringLiteral("&Surface Type"), 324, 208);
    SurfaceTypeCombo = makeList(this, "SurfaceTypeCombo", {"Normal", "Transparent", "Texture", "Gradient Fill"}, 324,
                                226, 130, typeLabel);

    FillPanel = makeTypePanel(this, "FillPanel");
    QLabel* dirLabel = makeLabel(FillPanel, QStringLiteral("Fill &Direction"), 0, 0, 100);
    FillDirectionCombo = makeList(FillPanel, "FillDirectionCombo", {"Up", "Down", "Left", "Right"}, 0, 18, 90, dirLabel);
    QLabel* fromLabel = makeLabel(FillPanel, QStringLiteral("From Color"), 102, 0, 90);
    GradientFromcolorButton = makeColorButton(FillPanel, "GradientFromcolorButton", 102, 18, 90, fromLabel);
    QLabel* toLabel = makeLabel(FillPanel, QStringLiteral("To Color"), 204, 0, 90);
    GradientToColorButton = makeColorButton(FillPanel, "GradientToColorButton", 204, 18, 90, toLabel);

    FontcolorPanel = makeTypePanel(this, "FontcolorPanel");
    QLabel* fontColorLabel = makeLabel(FontcolorPanel, QStringLiteral("Font Color"), 0, 0, 100);
    FontColorButton = makeColorButton(FontcolorPanel, "FontColorButton", 0, 18, 90, fontColorLabel);

    ImagePanel = makeTypePanel(this, "ImagePanel");
    LoadImageButton = makeButton(ImagePanel, "LoadImageButton", QStringLiteral("Load Texture"), 0, 14, 110);

    QLabel* shadowColorLabel = makeLabel(this, QStringLiteral("Shadow Color"), 12, 346, 100);
    ShadowColorButton = makeColorButton(this, "ShadowColorButton", 12, 364, 100, shadowColorLabel);
    QLabel* orientationLabel = makeLabel(this, QStringLiteral("Shadow &Orientation"), 122, 346, 130);
    ShadowOrientationCombo = makeList(this, "ShadowOrientationCombo",
                                      {"None", "Right", "Left", "Down and Right", "Down and Left", "Down"}, 122, 364,
                                      130, orientationLabel);
    QLabel* depthLabel = makeLabel(this, QStringLiteral("Shadow De&pth"), 262, 346, 100);
    ShadowDepthSpinner = makeSpinner(this, "ShadowDepthSpinner", 262, 364, 80, depthLabel);

    QLabel* outlineColorLabel = makeLabel(this, QStringLiteral("Outline Color"), 12, 394, 100);
    OutlineColorButton = makeColorButton(this, "OutlineColorButton", 12, 412, 100, outlineColorLabel);
    QLabel* styleLabel = makeLabel(this, QStringLiteral("OutLine St&yle"), 122, 394, 130);
    OutlineStyleCombo = makeList(this, "OutlineStyleCombo",
                                 {"Solid Line", "Dash Line", "Dotted Line", "DashDot Line", "DashDotDot Line", "Clear"},
                                 122, 412, 130, styleLabel);
    QLabel* widthLabel = makeLabel(this, QStringLiteral("Outline &Width"), 262, 394, 100);
    OutLineWidthSpinner = makeSpinner(this, "OutLineWidthSpinner", 262, 412, 80, widthLabel);

    Fontbutton = makeButton(this, "Fontbutton", QStringLiteral("Select &Font"), 466, 226, 100);
    RapidChangeFontSize = new TUpDownButton(this);
    RapidChangeFontSize->setObjectName(QStringLiteral("RapidChangeFontSize"));
    RapidChangeFontSize->setAccessibleName(QStringLiteral("Font size up or down by 5 points"));
    RapidChangeFontSize->setGeometry(530, 258, 36, 26);
    QLabel* sizeLabel = makeLabel(this, QStringLiteral("Si&ze \u00B15"), 466, 263, 60);
    sizeLabel->setBuddy(RapidChangeFontSize);
    SelectSymbolbutton = makeButton(this, "SelectSymbolbutton", QStringLiteral("Select Sy&mbol"), 466, 290, 100);

    MouseHelpButton = makeButton(this, "MouseHelpButton", QStringLiteral("?"), 360, 364, 28);
    MouseHelpButton->setAccessibleName(QStringLiteral("What's this?"));
    OKButton = makeButton(this, "OKButton", QStringLiteral("Ok"), 466, 336, 100);
    Cancelbutton = makeButton(this, "Cancelbutton", QStringLiteral("Cancel"), 466, 370, 100);
    Helpbutton = makeButton(this, "Helpbutton", QStringLiteral("Help"), 466, 404, 100);
    OKButton->setDefault(true);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(200);

    WhatsThis = new WhatsThisSupport(this);
    WhatsThis->Attach(CaptionText, QStringLiteral("The text to show; one line."));
    WhatsThis->Attach(SurfaceTypeCombo,
                      QStringLiteral("How the letters are filled: a colour, nothing, a texture or a gradient."));
    WhatsThis->Attach(FillDirectionCombo, QStringLiteral("The direction in which the gradient runs."));
    WhatsThis->Attach(GradientFromcolorButton, QStringLiteral("The colour the gradient starts with."));
    WhatsThis->Attach(GradientToColorButton, QStringLiteral("The colour the gradient ends with."));
    WhatsThis->Attach(FontColorButton, QStringLiteral("The colour of the letters."));
    WhatsThis->Attach(LoadImageButton, QStringLiteral("Choose a picture whose pattern fills the letters."));
    WhatsThis->Attach(ShadowColorButton, QStringLiteral("The colour of the shadow."));
    WhatsThis->Attach(ShadowOrientationCombo, QStringLiteral("The direction in which the shadow falls."));
    WhatsThis->Attach(ShadowDepthSpinner, QStringLiteral("How many pixels the shadow lies away from the text."));
    WhatsThis->Attach(OutlineColorButton, QStringLiteral("The colour of the line around the letters."));
    WhatsThis->Attach(OutlineStyleCombo, QStringLiteral("The kind of line around the letters; Clear draws none."));
    WhatsThis->Attach(OutLineWidthSpinner, QStringLiteral("The width of the line around the letters, in pixels."));
    WhatsThis->Attach(Fontbutton, QStringLiteral("Choose the font of the text."));
    WhatsThis->Attach(RapidChangeFontSize, QStringLiteral("Makes the font 5 points larger or smaller."));
    WhatsThis->Attach(SelectSymbolbutton, QStringLiteral("Use one character of a symbol font as the text."));
    WhatsThis->Attach(PreviewHost, QStringLiteral("Shows the text as it will look."));
    WhatsThis->Attach(OKButton, QStringLiteral("Puts these settings on the SuperText."));
    WhatsThis->Attach(Cancelbutton, QStringLiteral("Closes the dialog and leaves the SuperText as it was."));
    WhatsThis->Attach(Helpbutton, QStringLiteral("Shows help on the SuperText properties."));
    WhatsThis->Attach(MouseHelpButton, kPointerHelp);

    connect(CaptionText, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (m_loading) return;
        Preview->SetCaption(text);
        m_captionChanged = true;
        PreviewHost->update();
    });
    connect(SurfaceTypeCombo, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_loading) surfaceTypeChanged(i);
    });
    connect(FillDirectionCombo, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (m_loading || i < 0) return;
        Preview->SetFillDirection(static_cast<TFillDirection>(i));
        PreviewHost->update();
    });
    const auto onColor = [this](TPaletteColorButton* button, auto apply) {
        connect(button, &TPaletteColorButton::colorPicked, this, [this, apply](TColor c) {
            if (m_loading) return;
            apply(c);
            PreviewHost->update();
        });
    };
    onColor(GradientFromcolorButton, [this](TColor c) { Preview->SetGradientFromColor(c); });
    onColor(GradientToColorButton, [this](TColor c) { Preview->SetGradientToColor(c); });
    onColor(ShadowColorButton, [this](TColor c) { Preview->SetShadowcolor(c); });
    onColor(OutlineColorButton, [this](TColor c) { Preview->SetOutlineColor(c); });
    onColor(FontColorButton, [this](TColor c) {
        FontRecord f = Preview->Font();
        f.color = c;
        Preview->SetFont(f);
    });
    connect(ShadowOrientationCombo, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (m_loading || i < 0) return;
        Preview->SetShadowOrientation(static_cast<TShadowOrientation>(i));
        PreviewHost->update();
    });
    connect(ShadowDepthSpinner, &QSpinBox::valueChanged, this, [this](int v) {
        if (m_loading) return;
        Preview->SetShadowDepth(v);
        PreviewHost->update();
    });
    connect(OutlineStyleCombo, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (m_loading || i < 0) return;
        Preview->SetOutlineStyle(static_cast<PenStyle>(i));
        PreviewHost->update();
    });
    connect(OutLineWidthSpinner, &QSpinBox::valueChanged, this, [this](int v) {
        if (m_loading) return;
        Preview->SetOutlineWidth(v);
        PreviewHost->update();
    });
    connect(Fontbutton, &QPushButton::clicked, this, &TSuperTextProperties::FontbuttonClick);
    connect(RapidChangeFontSize, &TUpDownButton::stepped, this, &TSuperTextProperties::RapidChangeFontSizeClick);
    connect(SelectSymbolbutton, &QPushButton::clicked, this, &TSuperTextProperties::SelectSymbolbuttonClick);
    connect(LoadImageButton, &QPushButton::clicked, this, &TSuperTextProperties::LoadImageButtonClick);
    connect(OKButton, &QPushButton::clicked, this, &TSuperTextProperties::OKButtonClick);
    connect(Cancelbutton, &QPushButton::clicked, this, &QDialog::reject);
    connect(Helpbutton, &QPushButton::clicked, this, [] { ShowHelpTopic(kPropertiesHelpTopic); });
    connect(MouseHelpButton, &QPushButton::clicked, this, [] { QWhatsThis::enterWhatsThisMode(); });
    connect(Timer1, &QTimer::timeout, this, &TSuperTextProperties::Timer1Timer);

    showTypePanel();
    CaptionText->setFocus();
    Timer1->start();
}

TSuperTextProperties::~TSuperTextProperties() { delete Preview; }

void TSuperTextProperties::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_activated) FormActivate();
}

void TSuperTextProperties::FormActivate() {
    m_activated = true;
    m_loading = true;
    SurfaceTypeCombo->setCurrentIndex(Preview->SurfaceType());
    FillDirectionCombo->setCurrentIndex(Preview->FillDirection());
    GradientFromcolorButton->SetColor(Preview->GradientFromColor());
    GradientToColorButton->SetColor(Preview->GradientToColor());
    FontColorButton->SetColor(Preview->Font().color);
    OutlineColorButton->SetColor(Preview->OutlineColor());
    OutlineStyleCombo->setCurrentIndex(static_cast<int>(Preview->OutlineStyle()));
    OutLineWidthSpinner->setValue(Preview->OutlineWidth());
    ShadowColorButton->SetColor(Preview->Shadowcolor());
    ShadowOrientationCombo->setCurrentIndex(Preview->ShadowOrientation());
    ShadowDepthSpinner->setValue(Preview->ShadowDepth());
    showTypePanel();
    if (Preview->Image().width() > 0) m_lastUsedImage = Preview->Image();
    CaptionText->setText(Preview->Caption());
    captionFace(Preview->Font().name);
    RapidChangeFontSize->ShowValue(Preview->Font().size());
    m_loading = false;
}

void TSuperTextProperties::captionFace(const QString& face) {
    QFont f = CaptionText->font();
    f.setFamily(face);
    CaptionText->setFont(f);
}

void TSuperTextProperties::showTypePanel() {
    const int type = SurfaceTypeCombo->currentIndex();
    FillPanel->setVisible(type == stGradientFill);
    ImagePanel->setVisible(type == stBrushImage);
    FontcolorPanel->setVisible(type == stNormal);
}

void TSuperTextProperties::fit() {
    Preview->FitToText();
    RapidChangeFontSize->ShowValue(Preview->Font().size());
    ++m_fitCount;
    PreviewHost->update();
}

void TSuperTextProperties::surfaceTypeChanged(int index) {
    if (index < 0) return;
    Preview->SetSurfaceType(static_cast<TSurfaceType>(index));
    if (index == stBrushImage) Preview->SetImage(m_lastUsedImage);
    PreviewHost->update();
    fit();
    showTypePanel();
}

void TSuperTextProperties::Timer1Timer() {
    Timer1->stop();
    if (m_captionChanged) fit();
    m_captionChanged = false;
    Timer1->start();
}

void TSuperTextProperties::FontbuttonClick() {
    FontRecord font = Preview->Font();
    if (!ChooseFontWithColor(this, font, true)) return;
    Preview->ApplyFont(font);
    fit();
    captionFace(font.name);
}

void TSuperTextProperties::RapidChangeFontSizeClick(int direction) {
    FontRecord font = Preview->Font();
    const int size = font.size();
    if (direction < 0 && size > 10) {
        font.setSize(size - 5);
    } else if (direction > 0 && size < 150) {
        font.setSize(size + 5);
    } else {
        return;
    }
    Preview->ApplyFont(font);
    fit();
}

void TSuperTextProperties::SelectSymbolbuttonClick() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TSuperTextGetSymbol selector(this);
    if (!selector.FillFonts()) {
        QApplication::restoreOverrideCursor();
        ShowInformation(QStringLiteral("No Symbol fonts installed"), this);
        return;
    }
    const int result = RunModalDialog(selector);
    // The pointer returns to normal in every case (activation may already have restored it).
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    if (result != QDialog::Accepted) return;
    if (!selector.ChosenChar().isEmpty()) {
        CaptionText->setText(selector.ChosenChar());
        Preview->SetCaption(selector.ChosenChar());
    }
    FontRecord font = Preview->Font();
    font.name = selector.ChosenFont();
    Preview->ApplyFont(font);
    fit();
    captionFace(font.name);
}

void TSuperTextProperties::RunTextureBrowser(TSuperTextBrushImageBrowser& browser) {
    QString file;
    const QString folder = TextureBrowserStartFolder(m_texturePath, ProgramDir(), DataDir(), &file);
    browser.SuperTextExample->AssignFrom(*Preview);
    browser.SuperTextExample->SetSurfaceType(stBrushImage);
    browser.SuperTextExample->SetBounds(0, 0, Preview->Width(), Preview->Height());
    browser.ExampleHost->resize(std::max(158, Preview->Width() + 4), std::max(120, Preview->Height() + 4));
    browser.OpenFolder(folder, file);
    if (RunModalDialog(browser) == QDialog::Accepted) {
        Preview->SetImage(browser.SuperTextExample->Image());
        m_lastUsedImage = browser.SuperTextExample->Image();
        m_texturePath = browser.SelectedFile();
    }
}

void TSuperTextProperties::LoadImageButtonClick() {
    const QString cwd = QDir::currentPath();
    {
        TSuperTextBrushImageBrowser browser(this);
        RunTextureBrowser(browser);
    }
    QDir::setCurrent(cwd);
    fit();
    PreviewHost->update();
}

void TSuperTextProperties::OKButtonClick() {
    if (CaptionText->text().isEmpty()) {
        ShowInformation(QStringLiteral("Please enter some text"), this);
        CaptionText->setFocus();
        return;
    }
    // The caption is saved in the files' code page: refuse what it cannot hold rather than store "?".
    const QString problem = CodePageProblem(CaptionText->text());
    if (!problem.isEmpty()) {
        ShowInformation(problem, this);
        CaptionText->setFocus();
        return;
    }
    accept();
}

}  // namespace plennix
