#pragma once
// TRichTextLabelEditor: the dialog in which a rich-text label's text is edited, with the format tool bar,
// two zoom buttons in it, and the editing control on a panel of the label's size.
#include <QDialog>

#include "platform/colors.h"

class QFrame;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace plennix {

class TWPRichText;
class TWPToolBar;
class WhatsThisSupport;

// The editor's zoom steps: 10 per cent at a time, in from at most 100 and out to no less than 50.
int RichEditorZoomIn(int percent);
int RichEditorZoomOut(int percent);

class TRichTextLabelEditor : public QDialog {
    Q_OBJECT
public:
    explicit TRichTextLabelEditor(QWidget* parent = nullptr);
    ~TRichTextLabelEditor() override;

    // The ground of the panel (and of the editing control) under the text.
    void SetPanelColor(TColor color);
    // Sizes the panel, keeping its position.
    void SetPanelSize(int width, int height);
    // Shows the panel, lays the text out, puts the caret at the start and remembers the panel's size and
    // the zoom as the reference of the zoom buttons (the dialog's activation).
    void FormActivate();
    void ZoomIn();
    void ZoomOut();

    TWPToolBar* WPToolBar1;
    QToolButton* ZoomPlusButton;
    QToolButton* ZoomMinusButton;
    QScrollArea* ScrollBox1;
    QFrame* WPPanel;
    TWPRichText* WPRichText1;
    QPushButton* OKButton;
    QPushButton* Cancelbutton;
    QPushButton* Helpbutton;
    QPushButton* MouseHelpButton;
    WhatsThisSupport* WhatsThis;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setZoom(int percent);

    bool m_activated = false;
    int m_refWidth = 0;
    int m_refHeight = 0;
    int m_refZoom = 100;
};

}  // namespace plennix
