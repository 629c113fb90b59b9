#include "platform/accessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace plennix {

namespace {

QString buddyLabelText(const QWidget& widget) {
    const QWidget* parent = widget.parentWidget();
    if (!parent) return QString();
    for (const QLabel* label : parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        if (label->buddy() == &widget) return CaptionWithoutMnemonic(label->text());
    return QString();
}

// A combo box as Qt presents it (its pop-up list and, when editable, its text field as children; the
// current entry as value; opening the list as action), but named by what it chooses.
class AccessibleComboBox : public QAccessibleWidget {
public:
    explicit AccessibleComboBox(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {
        addControllingSignal(QStringLiteral("currentIndexChanged(int)"));
    }

    QComboBox* combo() const { return static_cast<QComboBox*>(widget()); }

    QString text(QAccessible::Text t) const override {
        switch (t) {
        case QAccessible::Name: return ComboBoxName(*combo());
        case QAccessible::Value:
            return combo()->isEditable() && combo()->lineEdit() ? combo()->lineEdit()->text() : combo()->currentText();
        default: return QAccessibleWidget::text(t);
        }
    }

    int childCount() const override { return combo()->isEditable() && combo()->lineEdit() ? 2 : 1; }

    QAccessibleInterface* child(int index) const override {
        if (index == 0) return QAccessible::queryAccessibleInterface(combo()->view());
        if (index == 1 && combo()->isEditable()) return QAccessible::queryAccessibleInterface(combo()->lineEdit());
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child) return -1;
        if (child->object() == combo()->view()) return 0;
        if (combo()->isEditable() && child->object() == combo()->lineEdit()) return 1;
        return -1;
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = combo()->view() && combo()->view()->isVisible();
        s.editable = combo()->isEditable();
        return s;
    }

    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action == showMenuAction() || action == pressAction()) {
            if (combo()->view() && combo()->view()->isVisible())
                combo()->hidePopup();
            else
                combo()->showPopup();
            return;
        }
        QAccessibleWidget::doAction(action);
    }
};

// The next (or previous) control in the window's tab chain that takes the focus by Tab.
QWidget* tabNeighbour(QWidget& from, bool forward) {
    QWidget* w = &from;
    for (;;) {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == &from) return nullptr;
        if (w->window() == from.window() && (w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled() &&
            !w->focusProxy())
            return w;
    }
}

class CtrlTabLeaver : public QObject {
public:
    explicit CtrlTabLeaver(QWidget& text) : QObject(&text), m_text(text) { text.installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &m_text || event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (!(key->modifiers() & Qt::ControlModifier)) return false;
        if (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab) return false;
        const bool forward = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
        if (QWidget* next = tabNeighbour(m_text, forward))
            next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }

private:
    QWidget& m_text;
};

class ReturnKeeper : public QObject {
public:
    explicit ReturnKeeper(QAbstractItemView& list) : QObject(&list), m_list(list) { list.installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &m_list || event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
        if (key->modifiers() & ~Qt::KeypadModifier) return false;
        const QModelIndex current = m_list.currentIndex();
        if (current.isValid()) emit m_list.activated(current);
        return true;
    }

private:
    QAbstractItemView& m_list;
};

QAccessibleInterface* comboBoxFactory(const QString& className, QObject* object) {
    if (className != QLatin1String("QComboBox") || !object || !object->isWidgetType()) return nullptr;
    return new AccessibleComboBox(static_cast<QComboBox*>(object));
}

}  // namespace

void InstallAccessibleNames() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    // Factories installed later are asked first, so this one comes before Qt's own.
    QAccessible::installFactory(comboBoxFactory);
}

QString CaptionWithoutMnemonic(const QString& caption) {
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&')) out += caption[++i];
            continue;
        }
        out += caption[i];
    }
    return out.simplified();
}

QString CaptionedName(const QString& caption, const QString& meaning) {
    const QString shown = CaptionWithoutMnemonic(caption);
    if (shown.isEmpty() || meaning.contains(shown, Qt::CaseInsensitive)) return meaning;
    if (meaning.isEmpty()) return shown;
    return shown + QStringLiteral(" (") + meaning + QLatin1Char(')');
}

QString ComboBoxName(const QComboBox& combo) {
    if (!combo.accessibleName().isEmpty()) return combo.accessibleName();
    const QString label = buddyLabelText(combo);
    if (!label.isEmpty()) return label.endsWith(QLatin1Char(':')) ? label.chopped(1) : label;
    return combo.currentText();
}

void LeaveWithCtrlTab(QWidget& textArea) { new CtrlTabLeaver(textArea); }

void KeepReturnInList(QAbstractItemView& list) { new ReturnKeeper(list); }

void NameComboBox(QComboBox& combo, const QString& name) {
    combo.setAccessibleName(name);
    if (combo.lineEdit()) combo.lineEdit()->setAccessibleName(name);
}

}  // namespace plennix
