#pragma once
// The text label's two dialogs: TGetLabelText (enter the text) and TGFont3DEffects (the 3D effect with
// a live sample). Both are plain dialogs that tests create and drive directly; the label's commands run
// them through RunModal.
#include <QComboBox>
#include <QDialog>

#include "platform/colors.h"

class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace plennix {

class TGBaseLabel;
class TGObjectHost;
class TGPLabel;

// A drop-down of the sixteen named colours with swatches; "Custom..." asks the colour dialog and adds
// the chosen colour as an entry of its own.
class TColorCombo : public QComboBox {
    Q_OBJECT
public:
    explicit TColorCombo(QWidget* parent = nullptr);
    TColor Color() const;
    void SetColor(TColor color);

signals:
    void colorChanged(plennix::TColor color);

private:
    int indexOfColor(TColor color) const;
    int addColorItem(const QString& text, TColor color);
    void onActivated(int index);
    int m_lastIndex = 0;
};

// The right-click "What's this?" menu and the what's-this pointer button shared by the dialogs.
class WhatsThisSupport : public QObject {
    Q_OBJECT
public:
    // Creates the popup menu (named WhatsThisMenu) as a child of the dialog.
    explicit WhatsThisSupport(QDialog* dialog);
    QMenu* Menu() const { return m_menu; }
    // Gives the control a help text and the popup menu on a right-click.
    void Attach(QWidget* control, const QString& text);
    // The menu's entry: shows the control's help text at the control.
    void ShowFor(QWidget* control);
    QWidget* LastControl() const { return m_control; }

private:
    QMenu* m_menu;
    QWidget* m_control = nullptr;
};

class TGetLabelText : public QDialog {
    Q_OBJECT
public:
    explicit TGetLabelText(QWidget* parent = nullptr);

    QString Text() const;
    void SetText(const QString& text);

    QLabel* Label1;
    QLineEdit* LabelText;
    QPushButton* OKButton;
    QPushButton* Cancelbutton;
    QPushButton* Helpbutton;
    QPushButton* MouseHelpButton;
    QMenu* WhatsThisMenu;
    WhatsThisSupport* WhatsThis;
};

// The text dialog run modally; on OK `text` takes the entered text.
bool EditLabelText(QWidget* parent, QString& text);

class TGFont3DEffects : public QDialog {
    Q_OBJECT
public:
    // The dialog for `label`: the sample takes its font, depths, directions and colours.
    explicit TGFont3DEffects(TGBaseLabel& label, QWidget* parent = nullptr);
    ~TGFont3DEffects() override;

    // Copies the sample's font, depths, directions and colours back to the label (the OK button).
    void ApplyToLabel();

    QComboBox* ShadowDirection;
    TColorCombo* ShadowColorCombo;
    QComboBox* ShadowDepth;
    QComboBox* HighlightDirection;
    TColorCombo* HighLightColorCombo;
    QComboBox* HighLightDepth;
    TColorCombo* FontColorCombo;
    QFrame* SamplePanel;
    TGObjectHost* SampleHost;
    TGPLabel* Sample;
    QPushButton* OKButton;
    QPushButton* Cancelbutton;
    QPushButton* Helpbutton;
    QPushButton* MouseHelpButton;
    QMenu* WhatsThisMenu;
    WhatsThisSupport* WhatsThis;

private:
    void loadFromLabel();
    void sampleChanged();

    TGBaseLabel& m_label;
};

// The 3D effects dialog run modally; true when the label was changed with OK.
bool EditLabel3DEffects(QWidget* parent, TGBaseLabel& label);

}  // namespace plennix
