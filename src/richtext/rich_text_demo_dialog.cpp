#include "richtext/rich_text_demo_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "platform/accessibility.h"
#include "platform/common_dialogs.h"
#include "platform/file_io.h"
#include "platform/messages.h"
#include "platform/program_folder.h"
#include "richtext/format_toolbar.h"
#include "richtext/rich_text_editor.h"

namespace plennix {

namespace {
constexpr int kPageWidthTwips = 1440 * 6;
constexpr int kPageHeightTwips = 1440 * 4;
}  // namespace

RichTextDemoDialog::RichTextDemoDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("RichTextDemoDialog"));
    setWindowTitle(tr("Rich Text Editor"));
    setSizeGripEnabled(true);

    m_toolBar = new TWPToolBar(this);
    m_editor = new TWPRichText;
    m_editor->setObjectName(QStringLiteral("WPRichText1"));
    m_editor->setAccessibleName(tr("Text"));
    m_editor->SetWantTabs(true);
    LeaveWithCtrlTab(*m_editor);
    m_editor->SetPageSize(kPageWidthTwips, kPageHeightTwips);
    m_toolBar->Attach(m_editor);

    m_scroll = new QScrollArea(this);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->setAccessibleName(tr("Page"));
    m_scroll->setWidget(m_editor);
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    auto* openButton = new QPushButton(tr("&Open..."), this);
    openButton->setObjectName(QStringLiteral("OpenButton"));
    auto* saveButton = new QPushButton(tr("&Save..."), this);
    saveButton->setObjectName(QStringLiteral("SaveButton"));
    auto* zoomOut = new QPushButton(tr("Zoom Out"), this);
    zoomOut->setObjectName(QStringLiteral("ZoomMinusButton"));
    auto* zoomIn = new QPushButton(tr("Zoom In"), this);
    zoomIn->setObjectName(QStringLiteral("ZoomPlusButton"));
    m_zoomLabel = new QLabel(this);
    auto* closeButton = new QPushButton(tr("Close"), this);
    closeButton->setObjectName(QStringLiteral("CloseButton"));
    closeButton->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(openButton);
    buttons->addWidget(saveButton);
    buttons->addSpacing(12);
    buttons->addWidget(zoomOut);
    buttons->addWidget(zoomIn);
    buttons->addWidget(m_zoomLabel);
    buttons->addStretch();
    buttons->addWidget(closeButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_scroll, 1);
    layout->addLayout(buttons);

    connect(openButton, &QPushButton::clicked, this, &RichTextDemoDialog::openClicked);
    connect(saveButton, &QPushButton::clicked, this, &RichTextDemoDialog::saveClicked);
    connect(zoomIn, &QPushButton::clicked, this, &RichTextDemoDialog::ZoomIn);
    connect(zoomOut, &QPushButton::clicked, this, &RichTextDemoDialog::ZoomOut);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    updatePage();
    resize(720, 520);
}

void RichTextDemoDialog::updatePage() {
    m_editor->setFixedSize(m_editor->PageSizePixels());
    m_zoomLabel->setText(QString::number(m_editor->ZoomPercent()) + QStringLiteral(" %"));
}

void RichTextDemoDialog::ZoomIn() {
    if (m_editor->ZoomPercent() >= 200) return;
    m_editor->SetZoomPercent(m_editor->ZoomPercent() + 10);
    updatePage();
}

void RichTextDemoDialog::ZoomOut() {
    if (m_editor->ZoomPercent() <= 50) return;
    m_editor->SetZoomPercent(m_editor->ZoomPercent() - 10);
    updatePage();
}

bool RichTextDemoDialog::LoadFile(const QString& path) {
    const std::optional<QByteArray> bytes = ReadWholeFile(path);
    if (!bytes) {
        ShowInformation(tr("Unable to open ") + path);
        return false;
    }
    m_editor->SetRtfText(*bytes);
    return true;
}

bool RichTextDemoDialog::SaveFile(const QString& path) {
    QString error;
    if (WriteFileAtomically(path, m_editor->RtfText(), &error)) return true;
    ShowInformation(tr("Unable to save ") + path + (error.isEmpty() ? QString() : QStringLiteral("\n") + error));
    return false;
}

void RichTextDemoDialog::openClicked() {
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Open;
    request.title = tr("Open");
    request.directory = ProgramDir();
    request.filter = tr("Rich Text Format (*.rtf);;All files (*)");
    const QString path = ChooseFileDialog(request, this);
    if (!path.isEmpty()) LoadFile(path);
}

void RichTextDemoDialog::saveClicked() {
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.title = tr("Save As");
    request.directory = ProgramDir();
    request.filter = tr("Rich Text Format (*.rtf)");
    request.defaultSuffix = QStringLiteral("rtf");
    const QString path = ChooseFileDialog(request, this);
    if (!path.isEmpty()) SaveFile(path);
}

}  // namespace plennix
