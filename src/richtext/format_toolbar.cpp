#include "richtext/format_toolbar.h"

#include <QActionGroup>
#include <QComboBox>
#include <QFocusEvent>
#include <QFontComboBox>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>
#include <QWheelEvent>

#include "platform/accessibility.h"

namespace plennix {

namespace {

const char* const kColorNames[16] = {"Black", "Blue",  "Aqua",   "Lime",   "Fuchsia", "Red",   "Yellow", "White",
                                     "Navy",  "Teal",  "Green",  "Purple", "Maroon",  "Olive", "Gray",   "Silver"};

QIcon Swatch(TColor color) {
    QPixmap pm(16, 12);
    pm.fill(toQColor(color));
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.drawRect(0, 0, 15, 11);
    return QIcon(pm);
}

// Four lines showing an alignment.
QIcon AlignmentIcon(RtfAlignment a) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QPen(Qt::black, 1));
    const int widths[4] = {14, 9, 14, 7};
    for (int i = 0; i < 4; ++i) {
        int w = a == RtfAlignment::raJustify ? 14 : widths[i];
        int x = 1;
        if (a == RtfAlignment::raRight) x = 15 - w;
        if (a == RtfAlignment::raCenter) x = 1 + (14 - w) / 2;
        p.drawLine(x, 3 + i * 3, x + w - 1, 3 + i * 3);
    }
    return QIcon(pm);
}

// A list of the bar that knows whether its entry is being stepped through with the arrow keys or the
// wheel: such a change applies at once but leaves the focus in the list, so the person can go on.
template <class Box>
class BrowsedBox : public Box {
public:
    using Box::Box;
    bool Browsing() const { return m_browsing; }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
            // Alt+Down opens the drop-down list, where a choice is a choice.
            m_browsing = !(event->modifiers() & Qt::AltModifier);
            break;
        default: break;
        }
        Box::keyPressEvent(event);
        m_browsing = false;
        // Return has applied the typed name or size; it must not go on to press the default button of
        // a dialog the bar sits in (the rich-text label's editor), closing it.
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) event->accept();
    }
    void wheelEvent(QWheelEvent* event) override {
        m_browsing = true;
        Box::wheelEvent(event);
        m_browsing = false;
    }

private:
    bool m_browsing = false;
};

bool IsBrowsing(const QComboBox* box) {
    if (auto* fonts = dynamic_cast<const BrowsedBox<QFontComboBox>*>(box)) return fonts->Browsing();
    if (auto* list = dynamic_cast<const BrowsedBox<QComboBox>*>(box)) return list->Browsing();
    return false;
}

}  // namespace

QList<int> TWPToolBar::FontSizes() { return {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72}; }

TWPToolBar::TWPToolBar(QWidget* parent) : QToolBar(parent) {
    setObjectName(QStringLiteral("WPToolBar1"));
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(16, 16));
    // The button that shows the commands a narrow window hides.
    if (auto* more = findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(tr("More formatting commands"));

    // The font and size lists keep the focus while a name or a size is typed (the edit text follows
    // every key, and the completion with it): only a choice from the drop-down list, or Return, applies
    // and sends the person back into the text.
    m_fontName = new BrowsedBox<QFontComboBox>(this);
    m_fontName->setObjectName(QStringLiteral("FontNameBox"));
    m_fontName->setToolTip(tr("Font"));
    NameComboBox(*m_fontName, tr("Font"));
    m_fontName->setInsertPolicy(QComboBox::NoInsert);
    m_fontName->setMaximumWidth(180);
    addWidget(m_fontName);
    connect(m_fontName, &QComboBox::activated, this, [this] { applyFontName(); });
    connect(m_fontName->lineEdit(), &QLineEdit::returnPressed, this, [this] { applyFontName(); });

    m_fontSize = new BrowsedBox<QComboBox>(this);
    m_fontSize->setObjectName(QStringLiteral("FontSizeBox"));
    m_fontSize->setToolTip(tr("Font Size"));
    m_fontSize->setEditable(true);
    NameComboBox(*m_fontSize, tr("Font Size"));
    m_fontSize->setInsertPolicy(QComboBox::NoInsert);
    m_fontSize->lineEdit()->setValidator(new QIntValidator(1, 1638, m_fontSize));
    for (int s : FontSizes()) m_fontSize->addItem(QString::number(s));
    addWidget(m_fontSize);
    connect(m_fontSize, &QComboBox::activated, this, [this] { applySize(); });
    connect(m_fontSize->lineEdit(), &QLineEdit::returnPressed, this, [this] { applySize(); });
    // Leaving a list without Return puts back what the text has, so that a half-typed name is
    // neither applied nor left standing.
    for (QComboBox* box : {static_cast<QComboBox*>(m_fontName), m_fontSize}) {
        box->installEventFilter(this);
        box->lineEdit()->installEventFilter(this);
    }

    m_color = new QComboBox(this);
    m_color->setObjectName(QStringLiteral("ColorBox"));
    m_color->setToolTip(tr("Font Color"));
    m_color->setAccessibleName(tr("Font Color"));
    for (int i = 0; i < 16; ++i) m_color->addItem(Swatch(TWPRichText::ColorTable()[i]), tr(kColorNames[i]));
    addWidget(m_color);
    connect(m_color, &QComboBox::activated, this, [this](int index) {
        if (m_updating || !m_editor || index < 0 || index >= 16) return;
        m_editor->ApplyColor(TWPRichText::ColorTable()[index]);
        m_editor->setFocus();
    });

    addSeparator();
    m_normal = addCommand(QStringLiteral("NormalButton"), QStringLiteral("N"), tr("Normal"), false);
    m_bold = addCommand(QStringLiteral("BoldButton"), QStringLiteral("B"), tr("Bold"), true);
    m_italic = addCommand(QStringLiteral("ItalicButton"), QStringLiteral("I"), tr("Italic"), true);
    m_underline = addCommand(QStringLiteral("UnderlineButton"), QStringLiteral("U"), tr("Underline"), true);
    QFont f = font();
    f.setBold(true);
    m_bold->setFont(f);
    f.setBold(false);
    f.setItalic(true);
    m_italic->setFont(f);
    f.setItalic(false);
    f.setUnderline(true);
    m_underline->setFont(f);
    connect(m_normal, &QAction::triggered, this, [this] {
        if (!m_editor) return;
        m_editor->ApplyStyle(fsBold | fsItalic | fsUnderline | fsStrikeOut, false);
        m_editor->setFocus();
    });
    auto styleToggle = [this](QAction* action, FontStyles bit) {
        connect(action, &QAction::triggered, this, [this, bit](bool on) {
            if (m_updating || !m_editor) return;
            m_editor->ApplyStyle(bit, on);
            m_editor->setFocus();
        });
    };
    styleToggle(m_bold, fsBold);
    styleToggle(m_italic, fsItalic);
    styleToggle(m_underline, fsUnderline);

    addSeparator();
    auto* alignGroup = new QActionGroup(this);
    alignGroup->setExclusive(true);
    m_left = addCommand(QStringLiteral("LeftButton"), QString(), tr("Align Left"), true);
    m_right = addCommand(QStringLiteral("RightButton"), QString(), tr("Align Right"), true);
    m_justify = addCommand(QStringLiteral("JustifyButton"), QString(), tr("Justify"), true);
    m_center = addCommand(QStringLiteral("CenterButton"), QString(), tr("Center"), true);
    const std::pair<QAction*, RtfAlignment> aligns[] = {{m_left, RtfAlignment::raLeft},
                                                        {m_right, RtfAlignment::raRight},
                                                        {m_justify, RtfAlignment::raJustify},
                                                        {m_center, RtfAlignment::raCenter}};
    for (auto [action, a] : aligns) {
        action->setIcon(AlignmentIcon(a));
        alignGroup->addAction(action);
        connect(action, &QAction::triggered, this, [this, a = a] {
            if (m_updating || !m_editor) return;
            m_editor->ApplyAlignment(a);
            m_editor->setFocus();
        });
    }

    addSeparator();
    m_copy = addCommand(QStringLiteral("CopyButton"), tr("Copy"), tr("Copy"), false);
    m_cut = addCommand(QStringLiteral("CutButton"), tr("Cut"), tr("Cut"), false);
    m_paste = addCommand(QStringLiteral("PasteButton"), tr("Paste"), tr("Paste"), false);
    m_selectAll = addCommand(QStringLiteral("SelectAllButton"), tr("Select All"), tr("Select All"), false);
    connect(m_copy, &QAction::triggered, this, [this] { if (m_editor) m_editor->copy(); });
    connect(m_cut, &QAction::triggered, this, [this] { if (m_editor) m_editor->cut(); });
    connect(m_paste, &QAction::triggered, this, [this] { if (m_editor) m_editor->paste(); });
    connect(m_selectAll, &QAction::triggered, this, [this] {
        if (!m_editor) return;
        m_editor->SelectAllText();
        m_editor->setFocus();
    });
    Attach(nullptr);
}

QAction* TWPToolBar::addCommand(const QString& name, const QString& text, const QString& tip, bool checkable) {
    QAction* a = addAction(text);
    a->setObjectName(name);
    a->setToolTip(tip);
    a->setCheckable(checkable);
    // Screen readers read what the button does ("Bold" for "B", "Align Left" for a picture).
    if (QWidget* button = widgetForAction(a)) button->setAccessibleName(CaptionedName(text, tip));
    return a;
}

void TWPToolBar::applyFontName() {
    if (m_updating || !m_editor) return;
    // A typed name counts when the list has it, whatever its case.
    const int index = m_fontName->findText(m_fontName->currentText(), Qt::MatchFixedString);
    if (index < 0) return;
    const QString family = m_fontName->itemText(index);
    m_editor->ApplyFontName(family);
    if (IsBrowsing(m_fontName)) return;
    m_editor->setFocus();
    // The box shows the name as the list spells it.
    UpdateFromEditor();
}

void TWPToolBar::applySize() {
    if (m_updating || !m_editor) return;
    bool ok = false;
    const int size = m_fontSize->currentText().toInt(&ok);
    if (!ok || size <= 0) return;
    m_editor->ApplyFontSize(size);
    if (!IsBrowsing(m_fontSize)) m_editor->setFocus();
}

bool TWPToolBar::eventFilter(QObject* watched, QEvent* event) {
    // Opening the drop-down list takes the focus as well; that is no leaving.
    if (event->type() == QEvent::FocusOut && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason &&
        (watched == m_fontName || watched == m_fontName->lineEdit() || watched == m_fontSize ||
         watched == m_fontSize->lineEdit()))
        UpdateFromEditor();
    return QToolBar::eventFilter(watched, event);
}

void TWPToolBar::Attach(TWPRichText* editor) {
    if (m_editor) {
        disconnect(m_attrConnection);
        disconnect(m_selConnection);
    }
    m_editor = editor;
    const bool has = editor != nullptr;
    for (QAction* a : actions()) a->setEnabled(has);
    if (!editor) return;
    m_attrConnection = connect(editor, &TWPRichText::AttributesChanged, this, &TWPToolBar::UpdateFromEditor);
    m_selConnection = connect(editor, &QTextEdit::selectionChanged, this, &TWPToolBar::UpdateFromEditor);
    UpdateFromEditor();
}

void TWPToolBar::UpdateFromEditor() {
    if (!m_editor) return;
    m_updating = true;
    const RtfCharFormat f = m_editor->CurrentAttributes();
    m_fontName->setCurrentFont(QFont(f.font));
    m_fontName->setEditText(m_fontName->itemText(m_fontName->currentIndex()));
    // The listed size becomes the current entry, so that the arrow keys step on from it.
    const QString size = QString::number(f.halfPoints / 2);
    if (const int listed = m_fontSize->findText(size); listed >= 0) m_fontSize->setCurrentIndex(listed);
    m_fontSize->setEditText(size);
    m_color->setCurrentIndex(f.color == kAutoTextColor ? 0 : TWPRichText::LastColorIndexOf(f.color));
    m_bold->setChecked(f.style & fsBold);
    m_italic->setChecked(f.style & fsItalic);
    m_underline->setChecked(f.style & fsUnderline);
    switch (m_editor->CurrentAlignment()) {
    case RtfAlignment::raLeft: m_left->setChecked(true); break;
    case RtfAlignment::raRight: m_right->setChecked(true); break;
    case RtfAlignment::raJustify: m_justify->setChecked(true); break;
    case RtfAlignment::raCenter: m_center->setChecked(true); break;
    }
    m_updating = false;
}

}  // namespace plennix
