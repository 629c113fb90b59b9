#pragma once
// The SuperText dialogs: TSuperTextProperties edits a live preview SuperText; from it the person opens
// TSuperTextGetSymbol (one character of a symbol font as the text) and TSuperTextBrushImageBrowser
// (a texture picture from disk). All are plain dialogs that tests create and drive directly.
#include <QAbstractSpinBox>
#include <QDialog>
#include <QImage>
#include <QStringList>
#include <functional>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QTimer;

namespace plennix {

class TGObjectHost;
class TGSuperText;
class TPaletteColorButton;
class WhatsThisSupport;

// An up/down control without a value of its own: each step reports +1 (up) or -1 (down).
class TUpDownButton : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit TUpDownButton(QWidget* parent = nullptr);
    void stepBy(int steps) override;
    // The number shown between the arrows (the font size in points).
    void ShowValue(int value);
    QString ShownText() const { return text(); }

signals:
    void stepped(int direction);

protected:
    StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
};

// The installed outline symbol fonts, in any order; tests replace the source.
using SymbolFontSource = std::function<QStringList()>;
void SetSymbolFontSource(SymbolFontSource source);  // empty: the system's fonts
QStringList InstalledSymbolFonts();

class TSuperTextGetSymbol : public QDialog {
    Q_OBJECT
public:
    explicit TSuperTextGetSymbol(QWidget* parent = nullptr);

    // Fills SymbolSets with the installed symbol fonts and selects the first whose name holds
    // "WINGDING"; false when there are none.
    bool FillFonts();
    // The activation: the selected character becomes the choice.
    void FormActivate();
    QString ChosenFont() const { return m_font; }
    QString ChosenChar() const { return m_char; }
    // Closes with OK when a font or a character was recorded.
    void CopyCharButtonClick();

    QLabel* FontLabel;
    QComboBox* SymbolSets;
    QListWidget* SymbolList;
    QPushButton* CopyCharButton;
    QPushButton* OKButton;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showFont(const QString& family);
    QString m_font;
    QString m_char;
};

class TSuperTextBrushImageBrowser : public QDialog {
    Q_OBJECT
public:
    explicit TSuperTextBrushImageBrowser(QWidget* parent = nullptr);
    ~TSuperTextBrushImageBrowser() override;

    // Shows a folder (drive, folder list and files), selecting `file` in it when given.
    void OpenFolder(const QString& folder, const QString& file = QString());
    QString CurrentFolder() const { return m_folder; }
    // The full name of the selected file; empty without a selection.
    QString SelectedFile() const;
    // Loads the selected file into the example's texture (the file list's selection change).
    void FileListBox1Change();

    QComboBox* DriveComboBox1;
    QListWidget* DirectoryListBox1;
    QListWidget* FileListBox1;
    QScrollArea* ExampleScrollBox;
    TGObjectHost* ExampleHost;
    TGSuperText* SuperTextExample;
    QPushButton* OKButton;
    QPushButton* Cancelbutton;
    QPushButton* Helpbutton;
    QPushButton* MouseHelpButton;
    WhatsThisSupport* WhatsThis;

private:
    void fillFolders();
    void fillFiles(const QString& select);
    QString m_folder;
};

class TSuperTextProperties : public QDialog {
    Q_OBJECT
public:
    explicit TSuperTextProperties(QWidget* parent = nullptr);
    ~TSuperTextProperties() override;

    // The texture file last chosen (the object's LastBitmapFileNameandPath).
    QString TexturePath() const { return m_texturePath; }
    void SetTexturePath(const QString& path) { m_texturePath = path; }
    const QImage& LastUsedImage() const { return m_lastUsedImage; }

    // Loads the controls from the preview (the dialog's activation).
    void FormActivate();
    // One tick of Timer1: fits the preview when the text changed since the last tick.
    void Timer1Timer();
    // Command handlers (also driven by tests).
    void FontbuttonClick();
    void RapidChangeFontSizeClick(int direction);
    void SelectSymbolbuttonClick();
    void LoadImageButtonClick();
    void OKButtonClick();
    // Runs the texture browser on a created browser (the modal run goes through RunModalDialog).
    void RunTextureBrowser(TSuperTextBrushImageBrowser& browser);

    QFrame* Panel1;
    TGObjectHost* PreviewHost;
    TGSuperText* Preview;
    QLineEdit* CaptionText;
    QComboBox* SurfaceTypeCombo;
    QFrame* FillPanel;
    QComboBox* FillDirectionCombo;
    TPaletteColorButton* GradientFromcolorButton;
    TPaletteColorButton* GradientToColorButton;
    QFrame* FontcolorPanel;
    TPaletteColorButton* FontColorButton;
    QFrame* ImagePanel;
    QPushButton* LoadImageButton;
    TPaletteColorButton* ShadowColorButton;
    QComboBox* ShadowOrientationCombo;
    QSpinBox* ShadowDepthSpinner;
    TPaletteColorButton* OutlineColorButton;
    QComboBox* OutlineStyleCombo;
    QSpinBox* OutLineWidthSpinner;
    QPushButton* Fontbutton;
    TUpDownButton* RapidChangeFontSize;
    QPushButton* SelectSymbolbutton;
    QPushButton* OKButton;
    QPushButton* Cancelbutton;
    QPushButton* Helpbutton;
    QPushButton* MouseHelpButton;
    QTimer* Timer1;
    WhatsThisSupport* WhatsThis;

    // How many times the preview was fitted (tests count the delayed fitting).
    int FitCount() const { return m_fitCount; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fit();
    void showTypePanel();
    void surfaceTypeChanged(int index);
    void captionFace(const QString& face);

    QString m_texturePath;
    QImage m_lastUsedImage;
    bool m_captionChanged = false;
    bool m_loading = false;
    bool m_activated = false;
    int m_fitCount = 0;
};

}  // namespace plennix
