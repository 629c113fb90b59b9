#include "platform/common_dialogs.h"

#include <QColorDialog>
#include <QDialog>
#include <QEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/accessibility.h"

namespace plennix {
namespace {
FontChooser g_fontChooser;
ColorChooser g_colorChooser;
ModalDialogRunner g_modalRunner;
FileChooser g_fileChooser;
}  // namespace

void SetFontChooser(FontChooser chooser) { g_fontChooser = std::move(chooser); }
void SetColorChooser(ColorChooser chooser) { g_colorChooser = std::move(chooser); }
void SetModalDialogRunner(ModalDialogRunner runner) { g_modalRunner = std::move(runner); }
void SetFileChooser(FileChooser chooser) { g_fileChooser = std::move(chooser); }

QString ChooseFileDialog(const FileDialogRequest& request, QWidget* parent) {
    if (g_fileChooser) return g_fileChooser(request, parent);
    const bool save = request.mode == FileDialogRequest::Mode::Save;
    QFileDialog dialog(parent, request.title, request.directory, request.filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (!request.selectedFilter.isEmpty()) dialog.selectNameFilter(request.selectedFilter);
    if (!request.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.proposedName.isEmpty()) dialog.selectFile(request.proposedName);
    CenterOverMainWindow(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
}

FontRecord FontRecordFromQFont(const QFont& font, TColor color) {
    FontRecord r;
    r.name = font.family();
    if (font.pointSize() > 0)
        r.setSize(font.pointSize());
    else if (font.pixelSize() > 0)
        r.height = -font.pixelSize();
    r.style = 0;
    if (font.bold()) r.style |= fsBold;
    if (font.italic()) r.style |= fsItalic;
    if (font.underline()) r.style |= fsUnderline;
    if (font.strikeOut()) r.style |= fsStrikeOut;
    r.color = color;
    r.pitch = FontPitch::fpDefault;
    return r;
}

QFont QFontFromRecord(const FontRecord& font) {
    QFont f(font.name);
    f.setPointSize(std::max(1, font.size()));
    f.setBold(font.style & fsBold);
    f.setItalic(font.style & fsItalic);
    f.setUnderline(font.style & fsUnderline);
    f.setStrikeOut(font.style & fsStrikeOut);
    return f;
}

namespace {

// Standard sizes offered in the size list; any size from 1 to 1638 points may be typed.
constexpr int kFontSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
constexpr int kMaxFontPoints = 1638;

struct NamedColor {
    const char* name;
    TColor value;
};
constexpr NamedColor kDialogColors[] = {
    {"Black", clBlack}, {"Maroon", clMaroon},   {"Green", clGreen}, {"Olive", clOlive},
    {"Navy", clNavy},   {"Purple", clPurple},   {"Teal", clTeal},   {"Gray", clGray},
    {"Silver", clSilver}, {"Red", clRed},       {"Lime", clLime},   {"Yellow", clYellow},
    {"Blue", clBlue},   {"Fuchsia", clFuchsia}, {"Aqua", clAqua},   {"White", clWhite},
};

// Face, size, style, effects and (optionally) colour in one dialog. The colour list holds the 16
// standard colours, the incoming colour when it is none of them (so an untouched colour, even a system
// colour, comes back unchanged) and "Custom..." for any other colour.
class FontColorDialog : public QDialog {
public:
    FontColorDialog(const FontRecord& font, bool withColor, bool outlineOnly, QWidget* parent)
        : QDialog(parent), m_font(font) {
        setWindowTitle(QStringLiteral("Font"));
        setObjectName(QStringLiteral("FontColorDialog"));
        auto* form = new QFormLayout;

        m_face = new QFontComboBox(this);
        m_face->setObjectName(QStringLiteral("fontFace"));
        NameComboBox(*m_face, QStringLiteral("Font"));
        if (outlineOnly) m_face->setFontFilters(QFontComboBox::ScalableFonts);
        m_face->setCurrentFont(QFont(font.name));
        // A face that is not installed stays the choice until the person picks another one.
        if (m_face->currentText() != font.name) m_face->setEditText(font.name);
        form->addRow(QStringLiteral("&Font:"), m_face);

        m_size = new QComboBox(this);
        m_size->setObjectName(QStringLiteral("fontSize"));
        m_size->setEditable(true);
        NameComboBox(*m_size, QStringLiteral("Size"));
        m_size->setValidator(new QIntValidator(1, kMaxFontPoints, m_size));
        for (int s : kFontSizes) m_size->addItem(QString::number(s));
        m_size->setEditText(QString::number(std::clamp(font.size(), 1, kMaxFontPoints)));
        form->addRow(QStringLiteral("&Size:"), m_size);

        auto* effects = new QGroupBox(QStringLiteral("Effects"), this);
        auto* grid = new QGridLayout(effects);
        m_bold = AddCheck(grid, 0, 0, QStringLiteral("&Bold"), QStringLiteral("fontBold"), font.style & fsBold);
        m_italic = AddCheck(grid, 0, 1, QStringLiteral("&Italic"), QStringLiteral("fontItalic"), font.style & fsItalic);
        m_underline = AddCheck(grid, 1, 0, QStringLiteral("&Underline"), QStringLiteral("fontUnderline"),
                               font.style & fsUnderline);
        m_strike = AddCheck(grid, 1, 1, QStringLiteral("Stri&keout"), QStringLiteral("fontStrikeOut"),
                            font.style & fsStrikeOut);
        form->addRow(effects);

        if (withColor) {
            m_color = new QComboBox(this);
            m_color->setObjectName(QStringLiteral("fontColor"));
            m_color->setAccessibleName(QStringLiteral("Color"));
            bool listed = false;
            for (const auto& c : kDialogColors) {
                m_color->addItem(ColorSwatch(c.value), QString::fromLatin1(c.name), c.value);
                listed = listed || c.value == font.color;
            }
            if (!listed) m_color->addItem(ColorSwatch(font.color), QStringLiteral("Current"), font.color);
            m_color->addItem(QStringLiteral("Custom..."));
            m_color->setCurrentIndex(m_color->findData(font.color));
            m_lastColorIndex = m_color->currentIndex();
            connect(m_color, &QComboBox::activated, this, [this](int index) { ColorActivated(index); });
            form->addRow(QStringLiteral("&Color:"), m_color);
        }

        m_sample = new QLabel(QStringLiteral("AaBbYyZz"), this);
        m_sample->setObjectName(QStringLiteral("fontSample"));
        m_sample->setAlignment(Qt::AlignCenter);
        m_sample->setMinimumSize(220, 60);
        m_sample->setFrameShape(QFrame::StyledPanel);
        form->addRow(QStringLiteral("Sample:"), m_sample);

        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        auto* outer = new QVBoxLayout(this);
        outer->addLayout(form);
        outer->addWidget(buttons);

        connect(m_face, &QFontComboBox::currentFontChanged, this, [this] { UpdateSample(); });
        connect(m_size, &QComboBox::currentTextChanged, this, [this] { UpdateSample(); });
        for (QCheckBox* box : {m_bold, m_italic, m_underline, m_strike})
            connect(box, &QCheckBox::toggled, this, [this] { UpdateSample(); });
        UpdateSample();
    }

    FontRecord chosen() const {
        FontRecord r = m_font;
        const QString face = m_face->currentText().trimmed();
        if (!face.isEmpty()) r.name = face;
        bool ok = false;
        const int points = m_size->currentText().toInt(&ok);
        // An emptied or unreadable size keeps the size the font had.
        if (ok && points >= 1) r.setSize(std::min(points, kMaxFontPoints));
        r.style = 0;
        if (m_bold->isChecked()) r.style |= fsBold;
        if (m_italic->isChecked()) r.style |= fsItalic;
        if (m_underline->isChecked()) r.style |= fsUnderline;
        if (m_strike->isChecked()) r.style |= fsStrikeOut;
        if (m_color && m_color->currentData().isValid()) r.color = m_color->currentData().toInt();
        return r;
    }

private:
    QCheckBox* AddCheck(QGridLayout* grid, int row, int col, const QString& text, const QString& name, bool on) {
        auto* box = new QCheckBox(text, this);
        box->setObjectName(name);
        box->setAccessibleName(CaptionWithoutMnemonic(text));
        box->setChecked(on);
        grid->addWidget(box, row, col);
        return box;
    }

    void ColorActivated(int index) {
        if (m_color->itemData(index).isValid()) {
            m_lastColorIndex = index;
            UpdateSample();
            return;
        }
        // "Custom...": the colour dialog; its choice becomes an entry before "Custom...".
        const TColor current = m_color->itemData(m_lastColorIndex).toInt();
        if (auto picked = ChooseColorDialog(current, this)) {
            int existing = m_color->findData(*picked);
            if (existing < 0) {
                existing = m_color->count() - 1;
                m_color->insertItem(existing, ColorSwatch(*picked), QStringLiteral("Custom"), *picked);
            }
            m_lastColorIndex = existing;
        }
        m_color->setCurrentIndex(m_lastColorIndex);
        UpdateSample();
    }

    void UpdateSample() {
        FontRecord r = chosen();
        QFont f = QFontFromRecord(r);
        f.setPointSize(std::min(r.size(), 48));  // a huge size would not fit the sample box
        m_sample->setFont(f);
        QPalette pal = m_sample->palette();
        pal.setColor(QPalette::WindowText, toQColor(r.color));
        m_sample->setPalette(pal);
    }

    FontRecord m_font;
    QFontComboBox* m_face = nullptr;
    QComboBox* m_size = nullptr;
    QCheckBox* m_bold = nullptr;
    QCheckBox* m_italic = nullptr;
    QCheckBox* m_underline = nullptr;
    QCheckBox* m_strike = nullptr;
    QComboBox* m_color = nullptr;
    QLabel* m_sample = nullptr;
    int m_lastColorIndex = 0;
};

std::optional<FontRecord> RunFontDialog(const FontRecord& font, bool withColor, bool outlineOnly, QWidget* parent) {
    if (g_fontChooser) return g_fontChooser(font, parent);
    FontColorDialog dialog(font, withColor, outlineOnly, parent);
    if (RunModalDialog(dialog) != QDialog::Accepted) return std::nullopt;
    FontRecord r = dialog.chosen();
    if (!withColor) r.color = font.color;
    return r;
}

}  // namespace

std::optional<FontRecord> ChooseFontDialog(const FontRecord& font, QWidget* parent) {
    return RunFontDialog(font, false, false, parent);
}

bool ChooseFontWithColor(QWidget* parent, FontRecord& font, bool outlineOnly) {
    auto chosen = RunFontDialog(font, true, outlineOnly, parent);
    if (!chosen) return false;
    font = *chosen;
    return true;
}

std::optional<TColor> ChooseColorDialog(TColor color, QWidget* parent) {
    if (g_colorChooser) return g_colorChooser(color, parent);
    QColor chosen = QColorDialog::getColor(toQColor(color), parent);
    if (!chosen.isValid()) return std::nullopt;
    return fromQColor(chosen);
}

QWidget* MainWindowOf(QWidget* widget) {
    QWidget* top = widget ? widget->window() : nullptr;
    while (top && top->parentWidget()) top = top->parentWidget()->window();
    return top;
}

namespace {
void centreOver(QWidget& dialog, QWidget* main, QSize size) {
    // Over a maximised main window a dialog goes to the middle of the screen the window is on.
    QRect over = main->frameGeometry();
    if (main->isMaximized()) {
        if (const QScreen* screen = main->screen() ? main->screen() : QGuiApplication::primaryScreen())
            over = screen->availableGeometry();
    }
    dialog.move(over.x() + (over.width() - size.width()) / 2, over.y() + (over.height() - size.height()) / 2);
}

// Some dialogs find their size only as they show: the print preview makes its pages first and sizes
// itself to them. Such a dialog is centred again at that moment, before it appears.
class CentreWhenShown : public QObject {
  public:
    CentreWhenShown(QWidget& dialog, QWidget* main) : QObject(&dialog), m_main(main) {
        dialog.installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            auto* dialog = static_cast<QWidget*>(watched);
            dialog->removeEventFilter(this);
            if (m_main) centreOver(*dialog, m_main, dialog->size());
            deleteLater();
        }
        return false;
    }

  private:
    QPointer<QWidget> m_main;
};
}  // namespace

void CenterOverMainWindow(QWidget& dialog) {
    QWidget* main = MainWindowOf(dialog.parentWidget());
    if (!main || main == &dialog) return;
    // A dialog that was never shown gets its size only as it shows: the size of its layout or, like the
    // print preview, of the pages it makes only then. It is centred again at that size; asking its layout
    // for a size before then would keep the layout at what it holds now.
    if (!dialog.isVisible() && !dialog.testAttribute(Qt::WA_Resized)) new CentreWhenShown(dialog, main);
    centreOver(dialog, main, dialog.size());
}

int RunModalDialog(QDialog& dialog) {
    CenterOverMainWindow(dialog);
    if (g_modalRunner) return g_modalRunner(dialog);
    return dialog.exec();
}

QIcon ColorSwatch(TColor color, QSize size) {
    QPixmap pm(size.expandedTo(QSize(2, 2)));
    pm.fill(toQColor(color));
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.drawRect(0, 0, pm.width() - 1, pm.height() - 1);
    return QIcon(pm);
}

}  // namespace plennix
