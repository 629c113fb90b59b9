#pragma once
// TWPToolBar: the format tool bar (WPToolBar1) over one rich text editor at a time: font name, size (from 8)
// and colour lists; normal, bold, italic, underline; left, right, justified and centred alignment; copy,
// cut, paste and select all. It follows the attributes at the editor's caret.
#include <QPointer>
#include <QToolBar>

#include "richtext/rich_text_editor.h"

class QComboBox;
class QFontComboBox;
class QAction;

namespace plennix {

class TWPToolBar : public QToolBar {
    Q_OBJECT
public:
    explicit TWPToolBar(QWidget* parent = nullptr);

    // Binds the tool bar to an editor (nullptr: to none); commands go to it, and the lists show its attributes.
    void Attach(TWPRichText* editor);
    TWPRichText* Editor() const { return m_editor; }

    // The sizes offered in the size list.
    static QList<int> FontSizes();

    QFontComboBox* FontNameBox() const { return m_fontName; }
    QComboBox* FontSizeBox() const { return m_fontSize; }
    QComboBox* ColorBox() const { return m_color; }
    QAction* NormalAction() const { return m_normal; }
    QAction* BoldAction() const { return m_bold; }
    QAction* ItalicAction() const { return m_italic; }
    QAction* UnderlineAction() const { return m_underline; }
    QAction* LeftAction() const { return m_left; }
    QAction* RightAction() const { return m_right; }
    QAction* JustifyAction() const { return m_justify; }
    QAction* CenterAction() const { return m_center; }
    QAction* CopyAction() const { return m_copy; }
    QAction* CutAction() const { return m_cut; }
    QAction* PasteAction() const { return m_paste; }
    QAction* SelectAllAction() const { return m_selectAll; }

public slots:
    // Shows the attributes at the attached editor's caret.
    void UpdateFromEditor();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* addCommand(const QString& name, const QString& text, const QString& tip, bool checkable);
    void applyFontName();
    void applySize();

    QPointer<TWPRichText> m_editor;
    QMetaObject::Connection m_attrConnection;
    QMetaObject::Connection m_selConnection;
    bool m_updating = false;
    QFontComboBox* m_fontName;
    QComboBox* m_fontSize;
    QComboBox* m_color;
    QAction* m_normal;
    QAction* m_bold;
    QAction* m_italic;
    QAction* m_underline;
    QAction* m_left;
    QAction* m_right;
    QAction* m_justify;
    QAction* m_center;
    QAction* m_copy;
    QAction* m_cut;
    QAction* m_paste;
    QAction* m_selectAll;
};

}  // namespace plennix
