#pragma once
// RichTextDemoDialog: the format tool bar over an editor page, with a button row to open and save RTF
// files, zoom between 50 and 200 per cent and close. Shows what the rich text engine does on its own.
#include <QDialog>

class QLabel;
class QPushButton;
class QScrollArea;

namespace plennix {

class TWPRichText;
class TWPToolBar;

class RichTextDemoDialog : public QDialog {
    Q_OBJECT
public:
    explicit RichTextDemoDialog(QWidget* parent = nullptr);

    TWPRichText* Editor() const { return m_editor; }
    TWPToolBar* ToolBar() const { return m_toolBar; }

    // Loads or saves an RTF file; false (with a message shown) on failure.
    bool LoadFile(const QString& path);
    bool SaveFile(const QString& path);

    void ZoomIn();
    void ZoomOut();

private:
    void openClicked();
    void saveClicked();
    void updatePage();

    TWPToolBar* m_toolBar;
    TWPRichText* m_editor;
    QScrollArea* m_scroll;
    QLabel* m_zoomLabel;
};

}  // namespace plennix
