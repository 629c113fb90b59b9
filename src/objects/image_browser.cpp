#include "objects/image_browser.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWhatsThis>

#include "objects/image_decoding.h"
#include "platform/accessibility.h"
#include "platform/messages.h"
#include "platform/program_folder.h"
#include "surface/help.h"

namespace plennix {

namespace {

constexpr int kHelpTopic = 40003;
constexpr int kPathRole = Qt::UserRole + 1;

void Describe(QWidget* w, const char* name, const QString& accessible, const QString& help) {
    w->setObjectName(QLatin1String(name));
    w->setAccessibleName(accessible);
    w->setWhatsThis(help);
}

}  // namespace

// ---- preview --------------------------------------------------------------------------------------

TImagePreview::TImagePreview(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent, false); }

void TImagePreview::SetPicture(const TImagePicture& picture) {
    m_picture = picture;
    updateGeometry();
    update();
}

void TImagePreview::SetStretch(bool on) {
    m_stretch = on;
    update();
}

void TImagePreview::SetAutoSize(bool on) {
    m_autoSize = on;
    updateGeometry();
    update();
}

QSize TImagePreview::sizeHint() const {
    if (m_picture.Empty()) return {1, 1};
    return {std::max(1, m_picture.Width()), std::max(1, m_picture.Height())};
}

void TImagePreview::paintEvent(QPaintEvent*) {
    if (m_picture.Empty()) return;
    QPainter painter(this);
    // Stretched over the whole preview, or at the picture's own size in its top-left corner.
    const QRectF target =
        m_stretch && !m_autoSize ? QRectF(rect()) : QRectF(0, 0, m_picture.Width(), m_picture.Height());
    m_picture.StretchDraw(painter, target);
}

// ---- the browser ----------------------------------------------------------------------------------

TGImageBrowser::TGImageBrowser(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ImageBrowser"));
    setWindowTitle(QStringLiteral("Load Image File "));

    DriveComboBox1 = new QComboBox(this);
    Describe(DriveComboBox1, "DriveComboBox1", QStringLiteral("Drive"),
             QStringLiteral("The drive or mounted volume whose folders are listed below."));
    DirectoryListBox1 = new QTreeWidget(this);
    DirectoryListBox1->setHeaderHidden(true);
    DirectoryListBox1->setRootIsDecorated(false);
    Describe(DirectoryListBox1, "DirectoryListBox1", QStringLiteral("Folders"),
             QStringLiteral("The folders of the drive: choose one to list its picture files."));
    FileListBox1 = new QListWidget(this);
    Describe(FileListBox1, "FileListBox1", QStringLiteral("Files"),
             QStringLiteral("The picture files of the folder: choose one to see it in the preview."));
    ScrollBox1 = new QScrollArea(this);
    Describe(ScrollBox1, "ScrollBox1", QStringLiteral("Preview area"),
             QStringLiteral("Shows the chosen picture as it will be placed."));
    Image1 = new TImagePreview;
    Describe(Image1, "Image1", QStringLiteral("Preview"), QStringLiteral("The chosen picture."));
    ScrollBox1->setWidget(Image1);
    ScrollBox1->setMinimumSize(220, 220);

    auto* options = new QGroupBox(QStringLiteral(" Options "), this);
    options->setObjectName(QStringLiteral("OptionsGroup"));
    StretchCheck = new QCheckBox(QStringLiteral("Stretch"), options);
    Describe(StretchCheck, "StretchCheck", QStringLiteral("Stretch"),
             QStringLiteral("Stretches the picture to fill its frame; the picture then takes the frame's shape."));
    StretchCheck->setToolTip(QStringLiteral("Stretch image to max display size"));
    AutoSizeCheck = new QCheckBox(QStringLiteral("AutoSize"), options);
    Describe(AutoSizeCheck, "AutoSizeCheck", QStringLiteral("AutoSize"),
             QStringLiteral("Gives the placed picture its own size and proportions."));
    AutoSizeCheck->setToolTip(QStringLiteral("AutoSize TImage"));
    auto* optionsLayout = new QVBoxLayout(options);
    optionsLayout->addWidget(StretchCheck);
    optionsLayout->addWidget(AutoSizeCheck);

    OKButton = new QPushButton(QStringLiteral("Ok"), this);
    Describe(OKButton, "OKButton", QStringLiteral("Ok"), QStringLiteral("Places the chosen picture."));
    OKButton->setDefault(true);
    Cancelbutton = new QPushButton(QStringLiteral("Cancel"), this);
    Describe(Cancelbutton, "Cancelbutton", QStringLiteral("Cancel"),
             QStringLiteral("Closes the browser and changes nothing."));
    Helpbutton = new QPushButton(QStringLiteral("Help"), this);
    Describe(Helpbutton, "Helpbutton", QStringLiteral("Help"), QStringLiteral("Opens the help on loading pictures."));
    MouseHelpButton = new QPushButton(this);
    MouseHelpButton->setIcon(style()->standardIcon(QStyle::SP_TitleBarContextHelpButton));
    Describe(MouseHelpButton, "MouseHelpButton", QStringLiteral("What's this?"),
             QStringLiteral("Click here, then on a control, to see what it does."));
    MouseHelpButton->setToolTip(QStringLiteral("What's this?"));

    auto* left = new QVBoxLayout;
    left->addWidget(DriveComboBox1);
    left->addWidget(DirectoryListBox1, 1);
    left->addWidget(FileListBox1, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(ScrollBox1, 1);
    right->addWidget(options);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(MouseHelpButton);
    buttons->addStretch(1);
    buttons->addWidget(OKButton);
    buttons->addWidget(Cancelbutton);
    buttons->addWidget(Helpbutton);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    auto* main = new QVBoxLayout(this);
    main->addLayout(columns, 1);
    main->addLayout(buttons);
    setFixedSize(560, 400);

    connect(DriveComboBox1, &QComboBox::activated, this,
            [this](int index) { SetFolder(DriveComboBox1->itemData(index).toString()); });
    connect(DirectoryListBox1, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        if (item) SetFolder(item->data(0, kPathRole).toString());
    });
    connect(DirectoryListBox1, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        if (item) SetFolder(item->data(0, kPathRole).toString());
    });
    // A click makes the row current before it selects it, the arrow keys select before they move the
    // current row: following both signals loads the chosen file whichever way it was chosen.
    connect(FileListBox1, &QListWidget::currentRowChanged, this, [this] { loadSelected(); });
    connect(FileListBox1, &QListWidget::itemSelectionChanged, this, [this] { loadSelected(); });
    // Return (or a double click) in the folders opens the folder; in the files it chooses the file.
    KeepReturnInList(*DirectoryListBox1);
    KeepReturnInList(*FileListBox1);
    connect(FileListBox1, &QListWidget::itemActivated, this, [this] {
        if (!SelectedFile().isEmpty()) accept();
    });
    connect(StretchCheck, &QCheckBox::toggled, this, [this](bool on) {
        if (on) AutoSizeCheck->setChecked(false);
        Image1->SetStretch(on);
        layoutPreview();
    });
    connect(AutoSizeCheck, &QCheckBox::toggled, this, [this](bool on) {
        if (on) StretchCheck->setChecked(false);
        Image1->SetAutoSize(on);
        layoutPreview();
    });
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(Cancelbutton, &QPushButton::clicked, this, &QDialog::reject);
    connect(Helpbutton, &QPushButton::clicked, this, [] { ShowHelpTopic(kHelpTopic); });
    connect(MouseHelpButton, &QPushButton::clicked, this, [] { QWhatsThis::enterWhatsThisMode(); });

    fillDrives();
    SetFolder(StartFolder());
    layoutPreview();
}

TGImageBrowser::~TGImageBrowser() = default;

QStringList TGImageBrowser::FileMask() {
    return QStringLiteral("*.BMP;*.DIB;*.JPG;*.JIF;*.PCX;*.RLE;*.TGA;*.WMF;*.ICO").split(QLatin1Char(';'));
}

QString TGImageBrowser::StartFolder() {
    const QString data = DataDir();
    if (!data.isEmpty() && QFileInfo(data + QStringLiteral("clipart")).isDir())
        return QDir::cleanPath(data + QStringLiteral("clipart"));
    return QDir::currentPath();
}

void TGImageBrowser::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The mouse pointer is the normal arrow while the browser is open.
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}

void TGImageBrowser::fillDrives() {
    DriveComboBox1->clear();
    for (const QFileInfo& drive : QDir::drives())
        DriveComboBox1->addItem(drive.absoluteFilePath(), drive.absoluteFilePath());
    const QString home = QDir::homePath();
    if (DriveComboBox1->findData(home) < 0) DriveComboBox1->addItem(home, home);
}

void TGImageBrowser::SetFolder(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir()) return;
    m_folder = QDir::cleanPath(info.absoluteFilePath());
    // The folder list sets the working folder, as it always did; the load command restores it.
    QDir::setCurrent(m_folder);
    for (int i = 0; i < DriveComboBox1->count(); ++i) {
        const QString drive = DriveComboBox1->itemData(i).toString();
        if (m_folder.startsWith(drive)) DriveComboBox1->setCurrentIndex(i);
    }
    fillTree();
    fillFiles();
}

void TGImageBrowser::fillTree() {
    DirectoryListBox1->clear();
    // The folder's ancestors from the root down, the folder itself, then its sub-folders.
    QStringList chain;
    QDir dir(m_folder);
    chain.prepend(dir.absolutePath());
    while (dir.cdUp()) chain.prepend(dir.absolutePath());
    QTreeWidgetItem* parent = nullptr;
    QTreeWidgetItem* current = nullptr;
    for (const QString& folder : chain) {
        const QString name = QDir(folder).dirName().isEmpty() ? folder : QDir(folder).dirName();
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(DirectoryListBox1);
        item->setText(0, name == QLatin1String(".") ? folder : name);
        item->setData(0, kPathRole, folder);
        item->setIcon(0, style()->standardIcon(QStyle::SP_DirOpenIcon));
        parent = item;
        current = item;
    }
    const QStringList children =
        QDir(m_folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& child : children) {
        auto* item = new QTreeWidgetItem(current);
        item->setText(0, child);
        item->setData(0, kPathRole, QDir(m_folder).filePath(child));
        item->setIcon(0, style()->standardIcon(QStyle::SP_DirClosedIcon));
    }
    DirectoryListBox1->expandAll();
    DirectoryListBox1->setCurrentItem(current);
}

void TGImageBrowser::fillFiles() {
    const QSignalBlocker block(FileListBox1);
    FileListBox1->clear();
    QDir dir(m_folder);
    // The mask is matched without regard to case, as on the file systems it was made for.
    QStringList patterns;
    for (const QString& p : FileMask()) patterns << p << p.toLower();
    const QStringList files = dir.entryList(patterns, QDir::Files, QDir::Name | QDir::IgnoreCase);
    QStringList seen;
    for (const QString& f : files) {
        if (seen.contains(f)) continue;
        seen << f;
        FileListBox1->addItem(f);
    }
    m_preview = TImagePicture();
    m_previewFile.clear();
    Image1->SetPicture(m_preview);
    layoutPreview();
}

bool TGImageBrowser::SelectFile(const QString& fileName) {
    const auto found = FileListBox1->findItems(fileName, Qt::MatchFixedString);
    if (found.isEmpty()) return false;
    FileListBox1->setCurrentItem(found.first());
    return true;
}

QString TGImageBrowser::SelectedFile() const {
    const QList<QListWidgetItem*> selected = FileListBox1->selectedItems();
    if (selected.isEmpty()) return {};
    return QDir(m_folder).filePath(selected.first()->text());
}

bool TGImageBrowser::StretchChecked() const { return StretchCheck->isChecked(); }
bool TGImageBrowser::AutoSizeChecked() const { return AutoSizeCheck->isChecked(); }
void TGImageBrowser::SetStretchChecked(bool on) { StretchCheck->setChecked(on); }
void TGImageBrowser::SetAutoSizeChecked(bool on) { AutoSizeCheck->setChecked(on); }

void TGImageBrowser::loadSelected() {
    const QString path = SelectedFile();
    // Each choice loads once, however many of the list's signals report it.
    if (path.isEmpty() || path == m_previewFile) return;
    m_previewFile = path;
    const QString extension = QFileInfo(path).suffix().toUpper();
    TImagePicture picture;
    if (extension == QLatin1String("BMP") || extension == QLatin1String("WMF")) {
        picture = TImagePicture::LoadFromFile(path);
        if (picture.Empty()) ShowError(QStringLiteral("Error loading file!"), this);
    } else if (extension == QLatin1String("ICO")) {
        // Icons arrive as bitmaps of the icon's size, so that they print like any bitmap.
        const QImage icon = LoadPictureFile(path, nullptr);
        if (!icon.isNull()) {
            QImage bitmap(icon.size(), QImage::Format_RGB32);
            bitmap.fill(Qt::white);
            {
                QPainter p(&bitmap);
                p.drawImage(0, 0, icon);
            }
            QCoreApplication::processEvents();
            picture = TImagePicture::FromBitmap(bitmap);
        }
    } else {
        QString error;
        const QImage image = LoadPictureFile(path, &error);
        if (image.isNull() && error == ExternalDecoderMissingText()) ShowError(error, this);
        QCoreApplication::processEvents();
        if (!image.isNull()) picture = TImagePicture::FromBitmap(image);
    }
    m_preview = picture;
    Image1->SetPicture(m_preview);
    layoutPreview();
}

void TGImageBrowser::layoutPreview() {
    // Not auto-sized, the preview fills the scroll box; auto-sized, it keeps the picture's size.
    const bool autoSize = AutoSizeCheck->isChecked();
    ScrollBox1->setWidgetResizable(!autoSize);
    if (autoSize) Image1->resize(Image1->sizeHint());
    Image1->update();
}

}  // namespace plennix
