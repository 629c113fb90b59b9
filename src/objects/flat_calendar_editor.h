#pragma once
// TFlatCalendarEditor: the properties dialog of the floating mini calendar. Every control acts at once on
// the preview calendar Sample; the real object changes only through its properties command's copy-back.
// Also the icon palette's visibility rule that the main window runs after a page changes.
#include <QDialog>
#include <QPushButton>
#include <array>

#include "platform/colors.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QMenu;
class QRadioButton;
class QScrollArea;
class QSpinBox;

namespace plennix {

class TGFlatCalendar;
class TGObjectHost;
class WhatsThisSupport;

// The colours the colour buttons offer, row by row (4 rows of 5).
const std::array<TColor, 20>& FlatCalendarPalette();

// A button showing a colour; a click opens the 4 x 5 palette with an "&Other" button for the full colour
// dialog. Every choice is reported through colorPicked. The palette is a popup window of its own, so
// that Tab walks its colours and Escape closes it.
class TPaletteColorButton : public QPushButton {
    Q_OBJECT
public:
    explicit TPaletteColorButton(QWidget* parent = nullptr);
    TColor Color() const { return m_color; }
    // Shows a colour without reporting it.
    void SetColor(TColor color);
    // The palette's entry at index 0..19, and the "&Other" button (the colour dialog).
    void PickPaletteColor(int index);
    void PickOtherColor();
    // Opens the palette below the button, with the focus on the colour shown (or the first one).
    void ShowPalette();
    QWidget* PalettePopup() const { return m_popup; }

signals:
    void colorPicked(plennix::TColor color);

private:
    void pick(TColor color);
    QWidget* m_popup;
    std::array<QWidget*, 20> m_cells{};
    TColor m_color = clWhite;
};

class TFlatCalendarEditor : public QDialog {
    Q_OBJECT
public:
    explicit TFlatCalendarEditor(QWidget* parent = nullptr);
    ~TFlatCalendarEditor() override;

    // Loads every control from the preview and lets the controls write to it (the dialog's activation).
    void FormActivate();
    // Fits the preview's scroll area to the preview after its size was set.
    void SampleSized();
    bool Updating() const { return m_updating; }

    TGFlatCalendar* Sample;
    TGObjectHost* SampleHost;
    QScrollArea* SampleScrollBox;
    QComboBox* MonthCombo;
    QSpinBox* YearSpinner;
    QGroupBox* WeekStartsOn;
    QRadioButton* WeekStartsOnSunday;
    QRadioButton* WeekStartsOnMonday;
    QCheckBox* ShowtitleInyearCheck;
    QComboBox* HeadersStyleCombo;
    QComboBox* LanguageCombo;
    QComboBox* CalendarBorderCombo;
    QComboBox* HeaderBorderCombo;
    QComboBox* CellBorderCombo;
    TPaletteColorButton* TitleBackgroundbutton;
    TPaletteColorButton* HeaderBackgroundButton;
    TPaletteColorButton* Bodybackgroundbutton;
    QCheckBox* TransparentCheck;
    TPaletteColorButton* ShadowColorButton;
    QComboBox* ShadowOrientationCombo;
    QSpinBox* ShadowDepthSpinner;
    QPushButton* TitleFontbutton;
    QPushButton* HeaderFontbutton;
    QPushButton* CellFontbutton;
    QPushButton* OKButton;
    QPushButton* Cancelbutton;
    QPushButton* Helpbutton;
    QPushButton* MouseHelpButton;
    WhatsThisSupport* WhatsThis;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void connectControls();
    void previewChanged();
    QButtonGroup* m_weekGroup;
    bool m_updating = true;
    bool m_activated = false;
};

// The icon palette's visibility after a page change: with the page hidden or without day cells the
// palette's visible preference goes off and the palette hides; otherwise a palette whose preference is
// on shows again.
struct FloaterStatus {
    bool preferenceVisible = false;  // the preference after the check
    bool show = false;               // the palette must be shown
    bool hide = false;               // the palette must be hidden
};
FloaterStatus CheckFloaterStatus(bool pageVisible, bool pageHasDayCells, bool preferenceVisible, bool paletteShowing);
// Applies the rule to a palette window and its preference flag.
void CheckFloaterStatus(QWidget* palette, bool& preferenceVisible, bool pageVisible, bool pageHasDayCells);

}  // namespace plennix
