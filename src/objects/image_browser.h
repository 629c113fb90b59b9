#pragma once
// The image browser: a drive list, a folder tree and a file list of picture files, with a preview of
// the chosen file that can be stretched or auto-sized. Changing the folder changes the working folder,
// as the folder list always did; whoever opens the browser restores it.
#include <QDialog>
#include <QString>
#include <QStringList>

#include "objects/image_object.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QScrollArea;
class QTreeWidget;
class QTreeWidgetItem;

namespace plennix {

class TImagePreview;

class TGImageBrowser : public QDialog {
    Q_OBJECT
public:
    explicit TGImageBrowser(QWidget* parent = nullptr);
    ~TGImageBrowser() override;

    // The patterns of the file list.
    static QStringList FileMask();
    // The folder the browser starts in: the shipped clip art, else the working folder.
    static QString StartFolder();

    // The folder shown (the tree's selection and the file list); also becomes the working folder.
    void SetFolder(const QString& path);
    QString Folder() const { return m_folder; }
    // Selects a file of the list by name and loads it into the preview (false when not listed).
    bool SelectFile(const QString& fileName);
    // The selected file's full path, or empty.
    QString SelectedFile() const;
    const TImagePicture& PreviewPicture() const { return m_preview; }

    bool StretchChecked() const;
    bool AutoSizeChecked() const;
    void SetStretchChecked(bool on);
    void SetAutoSizeChecked(bool on);

    QComboBox* DriveComboBox1 = nullptr;
    QTreeWidget* DirectoryListBox1 = nullptr;
    QListWidget* FileListBox1 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    TImagePreview* Image1 = nullptr;
    QCheckBox* StretchCheck = nullptr;
    QCheckBox* AutoSizeCheck = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* Cancelbutton = nullptr;
    QPushButton* Helpbutton = nullptr;
    QPushButton* MouseHelpButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fillDrives();
    void fillTree();
    void fillFiles();
    void loadSelected();  // the file list's selection into the preview
    void layoutPreview();

    QString m_folder;
    TImagePicture m_preview;
    QString m_previewFile;  // the file the preview was loaded from
};

// The preview: paints the browser's picture stretched over itself, or at its own size.
class TImagePreview : public QWidget {
    Q_OBJECT
public:
    explicit TImagePreview(QWidget* parent = nullptr);
    void SetPicture(const TImagePicture& picture);
    const TImagePicture& Picture() const { return m_picture; }
    void SetStretch(bool on);
    bool Stretch() const { return m_stretch; }
    void SetAutoSize(bool on);
    bool AutoSize() const { return m_autoSize; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TImagePicture m_picture;
    bool m_stretch = false;
    bool m_autoSize = false;
};

}  // namespace plennix
