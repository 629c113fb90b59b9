#pragma once
// The rich-text label: a block of formatted text placed freely on the page, on a transparent or coloured
// ground with an optional border. It owns its text but no layout engine: whenever it paints it lends the
// text to the main window's hidden master editor (MASTERWPRICHTEXT), lets the master lay it out at the
// label's size and zoom and paint it onto the label's canvas.
#include <QPointer>

#include "platform/stream_error.h"
#include "richtext/rich_text_editor.h"
#include "richtext/rtf_storage.h"
#include "surface/control_styles.h"
#include "surface/graphic_control.h"

class QWidget;

namespace plennix {


// Raised by a label that finds no master editor; a reading error, so that readers report it and go on.
class ENoMasterWPRich : public StreamError {
public:
    ENoMasterWPRich() : StreamError(QStringLiteral("No master rich text object found")) {}
};

// The master editor of an object: walking up its owners to the first window, that window's first rich
// text editor named MASTERWPRICHTEXT (in any case); null when there is none.
TWPRichText* FindMasterRichText(const QObject* object);
// Creates the hidden master editor in a window (the main window, or the stand-in window of a headless run).
TWPRichText* CreateMasterRichText(QWidget* window);
// Lets FindMasterRichText create the window's master when a rich label first asks for it: a headless
// run whose document holds no rich label then never builds the editor (nor loads its default font).
void ProvideMasterRichTextOnDemand(QWidget* window);

// The page the master lays the text out on: the label's size at zoom 1, in twips.
int RichLabelPageTwips(int pixels, float zoom, int pixelsPerInch);
// The master's zoom while painting: the design zoom in per cent, truncated.
int RichLabelPaintZoom(float zoom);

class TGPRichBaseLabel : public TGGraphicControl {
    Q_OBJECT
public:
    explicit TGPRichBaseLabel(QObject* owner = nullptr);
    ~TGPRichBaseLabel() override;

    QString ClassName() const override { return QStringLiteral("TGPRichBaseLabel"); }
    const PropertyTable& Properties() const override;

    // Published properties.
    const TWPRtfStorage& RTFText() const { return m_store; }
    void SetRTFText(const TWPRtfStorage& text);
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle value);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value);
    TColor BGColor() const { return m_bgColor; }
    void SetBGColor(TColor value);

    TWPRichText* Master() const { return m_master; }

    // Finds the master (ENoMasterWPRich without one).
    void Loaded() override;
    void ReadRichTextWithin(qint64& pictureBudget, RtfReadReport& report) const override;
    void Paint(Canvas& canvas) override;
    void PrintTo(TReport& report, double leftOffset, double topOffset) override;

    // Lays the text out through the master and paints it with the ground and border onto the canvas.
    void PaintThroughMaster(Canvas& canvas);
    // The label as a vector picture of its size.
    QPicture ToPicture();

    // Menu commands that need no dialog.
    void ToggleTransparent();
    void ToggleBorder();
    // A colour chosen for the ground: the label stops being transparent.
    void TakeBackgroundColor(TColor color);

private:
    TWPRtfStorage m_store;
    TBorderStyle m_borderStyle = bsSingle;
    bool m_transparent = true;
    TColor m_bgColor = clWhite;
    QPointer<TWPRichText> m_master;
};

// The class that the user places.
using TGPRichLabel = TGPRichBaseLabel;

// Registers TGPRichBaseLabel with the object records.
void RegisterRichLabelClass();

}  // namespace plennix
