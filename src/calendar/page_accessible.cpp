#include "calendar/page_accessible.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QPointer>
#include <algorithm>
#include <map>
#include <vector>

#include "calendar/calendar_drawing.h"
#include "calendar/calendar_panel.h"
#include "calendar/page_cells.h"
#include "objects/flat_calendar.h"
#include "objects/image_object.h"
#include "objects/rich_label.h"
#include "objects/super_text.h"
#include "surface/graphic_control.h"
#include "surface/handle.h"
#include "surface/object_menus.h"
#include "surface/label.h"

namespace plennix {

namespace {

QString kindAndCaption(const QString& kind, const QString& caption) {
    const QString c = caption.simplified();
    return c.isEmpty() ? kind : kind + QStringLiteral(": ") + c;
}

QAccessible::Role objectRole(const TGGraphicControl& o) {
    if (qobject_cast<const TGImage*>(&o) || qobject_cast<const TGFlatCalendar*>(&o)) return QAccessible::Graphic;
    return QAccessible::StaticText;
}

QRect onScreen(const QWidget& widget, const Rect& r) {
    if (r.isEmpty()) return QRect();
    return toQRect(r).translated(widget.mapToGlobal(QPoint(0, 0)));
}

// The page's title as drawn: the person's own title, else the month or the planner's dates.
QString pageTitle(const TCalendarPanel32& page) {
    const CalendarSettings& s = page.Settings();
    if (!s.UserTitle.isEmpty()) return s.UserTitle;
    const CalDate start = PlannerStartDate(s);
    switch (LayoutFamily(s.CalendarLayout)) {
    case 0: {
        const CalDate m = SafeMonth(s.MainCalMonth, s.MainCalYear);
        return MonthTitle(s.MonthName(m.month), m.year, true);
    }
    case 2: return WeekPlannerTitle(s.MonthNames, start, 7);
    case 3: return WeekPlannerTitle(s.MonthNames, start, 14);
    case 4:
    case 5: return DayPlannerTitle(s.MonthNames, s.DayNames, start);
    default: return QString();
    }
}

class PageAccessible;

// One day cell of the page's table. It holds the page and the cell number only, so it stays true
// whatever the page shows next.
class CellAccessible : public QAccessibleInterface,
                       public QAccessibleTableCellInterface,
                       public QAccessibleActionInterface {
public:
    CellAccessible(TCalendarPanel32* page, int cell) : m_page(page), m_cell(cell) {}

    TCalendarPanel32* page() const { return m_page; }
    int cell() const { return m_cell; }

    bool isValid() const override { return m_page; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_page ? m_page->window()->windowHandle() : nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_page.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        if (!m_page || t != QAccessible::Name) return QString();
        return PageCellName(*m_page, m_cell);
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!m_page || m_cell < 1 || m_cell > kCellCount) return QRect();
        return onScreen(*m_page, m_page->DrawState().cells[m_cell - 1].rTotal);
    }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!m_page) {
            s.invalid = true;
            return s;
        }
        s.focusable = IsDayCell(m_page->Settings(), m_page->Layout(), m_cell);
        s.focused = s.focusable && m_page->hasFocus() && m_page->FocusedCell() == m_cell;
        s.invisible = !m_page->isVisible();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TableCellInterface) return static_cast<QAccessibleTableCellInterface*>(this);
        if (t == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    // The cell's row and column in the table.
    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_page ? CellGridOf(m_page->Settings(), m_page->Layout()).ColumnOf(m_cell) : -1; }
    int rowIndex() const override { return m_page ? CellGridOf(m_page->Settings(), m_page->Layout()).RowOf(m_cell) : -1; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    // Focusing a cell moves the cell focus there; pressing it opens its editor, as a click does.
    QStringList actionNames() const override {
        if (!m_page || !IsDayCell(m_page->Settings(), m_page->Layout(), m_cell)) return {};
        return {setFocusAction(), pressAction()};
    }
    void doAction(const QString& action) override {
        if (!m_page || !IsDayCell(m_page->Settings(), m_page->Layout(), m_cell)) return;
        if (action == setFocusAction()) {
            m_page->setFocus(Qt::OtherFocusReason);
            m_page->SetFocusedCell(m_cell);
        } else if (action == pressAction()) {
            m_page->SetFocusedCell(m_cell);
            m_page->ClickCell(m_cell);
        }
    }
    QStringList keyBindingsForAction(const QString& action) const override {
        return action == pressAction() ? QStringList{QStringLiteral("Return")} : QStringList{};
    }

private:
    QPointer<TCalendarPanel32> m_page;
    int m_cell;
};

// The page: a table of its day cells, then its objects and visible child controls.
class PageAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit PageAccessible(TCalendarPanel32* page) : QAccessibleWidget(page, QAccessible::Table) {}
    ~PageAccessible() override {
        for (const auto& [cell, id] : m_cellIds) QAccessible::deleteAccessibleInterface(id);
    }

    TCalendarPanel32* page() const { return static_cast<TCalendarPanel32*>(widget()); }
    PageCellGrid grid() const { return CellGridOf(page()->Settings(), page()->Layout()); }
    int cellCount() const {
        const PageCellGrid g = grid();
        return g.rows * g.columns;
    }
    // The visible child controls besides the objects (the cell editor, the selection frame).
    std::vector<QWidget*> childControls() const {
        std::vector<QWidget*> out;
        for (QObject* o : page()->children())
            if (auto* w = qobject_cast<QWidget*>(o); w && w->isVisible() && !w->isWindow()) out.push_back(w);
        return out;
    }

    QAccessibleInterface* cellInterface(int cell) const {
        if (cell < 1 || cell > cellCount()) return nullptr;
        auto it = m_cellIds.find(cell);
        if (it == m_cellIds.end()) {
            it = m_cellIds.emplace(cell, QAccessible::registerAccessibleInterface(new CellAccessible(page(), cell))).first;
            m_cellNames[cell] = PageCellName(*page(), cell);
        }
        return QAccessible::accessibleInterface(it->second);
    }

    int childCount() const override {
        return cellCount() + page()->ObjectCount() + static_cast<int>(childControls().size());
    }
    QAccessibleInterface* child(int index) const override {
        if (index < 0) return nullptr;
        const int cells = cellCount();
        if (index < cells) return cellInterface(index + 1);
        index -= cells;
        if (index < page()->ObjectCount()) return QAccessible::queryAccessibleInterface(page()->ObjectAt(index));
        index -= page()->ObjectCount();
        const std::vector<QWidget*> controls = childControls();
        return index < static_cast<int>(controls.size()) ? QAccessible::queryAccessibleInterface(controls[index]) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child) return -1;
        if (const auto* cell = dynamic_cast<const CellAccessible*>(child))
            return cell->page() == page() && cell->cell() <= cellCount() ? cell->cell() - 1 : -1;
        const int cells = cellCount();
        if (auto* control = qobject_cast<TGGraphicControl*>(child->object())) {
            const int i = page()->IndexOfObject(control);
            return i < 0 ? -1 : cells + i;
        }
        const std::vector<QWidget*> controls = childControls();
        for (size_t i = 0; i < controls.size(); ++i)
            if (controls[i] == child->object()) return cells + page()->ObjectCount() + static_cast<int>(i);
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint p = page()->mapFromGlobal(QPoint(x, y));
        // The frame lies over the objects it holds: the objects themselves answer.
        for (QWidget* w : childControls())
            if (!qobject_cast<TGHandle*>(w) && w->geometry().contains(p)) return QAccessible::queryAccessibleInterface(w);
        if (TGGraphicControl* o = page()->ObjectAtPoint(p.x(), p.y())) return QAccessible::queryAccessibleInterface(o);
        const int cell = page()->CellAtPoint(p.x(), p.y());
        return cell > 0 ? cellInterface(cell) : nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        if (page()->hasFocus())
            if (QAccessibleInterface* cell = cellInterface(page()->FocusedCell())) return cell;
        return QAccessibleWidget::focusChild();
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            const QString name = page()->accessibleName();
            return name.isEmpty() ? QStringLiteral("Calendar page") : name;
        }
        if (t == QAccessible::Description) return pageTitle(*page());
        return QAccessibleWidget::text(t);
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // The table of day cells; nothing in it is selected (the cell focus is the focus).
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override { return cellInterface(grid().CellAt(row, column)); }
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QString columnDescription(int column) const override {
        const CalendarSettings& s = page()->Settings();
        const PageCellGrid g = grid();
        if (g.columns != 7 || column < 0 || column >= 7) return QString();
        // The first column is Sunday, or Monday when the week starts on Monday.
        const int day = s.StartOfWeek == 1 ? column + 1 : (column + 1) % 7 + 1;
        return s.DayName(day);
    }
    QString rowDescription(int row) const override {
        const PageCellGrid g = grid();
        return g.columns == 1 ? CellCaption(page()->Settings(), page()->Layout(), g.CellAt(row, 0)) : QString();
    }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return grid().columns; }
    int rowCount() const override { return grid().rows; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

    // Screen readers keep the names they were told: a cell whose text changed, or an object whose caption
    // changed, is announced with its new name (only cells a reader has asked for can be known to it).
    void announceNameChanges() {
        for (const auto& [cell, id] : m_cellIds) {
            const QString name = PageCellName(*page(), cell);
            QString& told = m_cellNames[cell];
            if (name == told) continue;
            told = name;
            QAccessibleEvent renamed(page(), QAccessible::NameChanged);
            renamed.setChild(cell - 1);
            QAccessible::updateAccessibility(&renamed);
        }
        for (TGGraphicControl* o : page()->Objects()) {
            const QString name = PlacedObjectName(*o);
            auto it = m_objectNames.find(o);
            if (it == m_objectNames.end()) {
                m_objectNames.emplace(o, name);
                continue;
            }
            if (it->second == name) continue;
            it->second = name;
            QAccessibleEvent renamed(o, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&renamed);
            if (page()->Frame()->SelectionCount() == 1 && page()->Frame()->SelectedObject(0) == o) {
                QAccessibleEvent frame(page()->Frame(), QAccessible::NameChanged);
                QAccessible::updateAccessibility(&frame);
            }
        }
    }

    // The objects screen readers were last told about, and what changed since.
    void announceObjectChanges() {
        const auto& objects = page()->Objects();
        bool gone = false;
        for (const QPointer<TGGraphicControl>& known : m_known)
            if (!known || page()->IndexOfObject(known) < 0) gone = true;
        std::vector<QPointer<TGGraphicControl>> now(objects.begin(), objects.end());
        for (TGGraphicControl* o : objects) {
            if (std::find(m_known.begin(), m_known.end(), o) != m_known.end()) continue;
            QAccessibleEvent created(o, QAccessible::ObjectCreated);
            QAccessible::updateAccessibility(&created);
        }
        if (gone) {
            QAccessibleEvent reorder(page(), QAccessible::ObjectReorder);
            QAccessible::updateAccessibility(&reorder);
        }
        m_known = std::move(now);
        for (auto it = m_objectNames.begin(); it != m_objectNames.end();)
            it = page()->IndexOfObject(it->first) < 0 ? m_objectNames.erase(it) : std::next(it);
    }

private:
    mutable std::map<int, QAccessible::Id> m_cellIds;
    std::vector<QPointer<TGGraphicControl>> m_known;
    mutable std::map<int, QString> m_cellNames;
    std::map<const TGGraphicControl*, QString> m_objectNames;
};

// A placed object, read by its kind and caption at its place on the screen.
class ObjectAccessible : public QAccessibleObject {
public:
    explicit ObjectAccessible(TGGraphicControl* control) : QAccessibleObject(control) {}

    TGGraphicControl* control() const { return static_cast<TGGraphicControl*>(object()); }
    TGObjectHost* host() const { return control() ? HostOf(*control()) : nullptr; }
    TGBasePanel* panel() const { return control() ? PanelOf(*control()) : nullptr; }

    QAccessibleInterface* parent() const override { return host() ? QAccessible::queryAccessibleInterface(host()) : nullptr; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name && control() ? PlacedObjectName(*control()) : QString();
    }
    QRect rect() const override { return host() ? onScreen(*host(), control()->BoundsRect()) : QRect(); }
    QAccessible::Role role() const override { return control() ? objectRole(*control()) : QAccessible::NoRole; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!control()) {
            s.invalid = true;
            return s;
        }
        s.invisible = !control()->Visible() || !host() || !host()->isVisible();
        s.selectable = s.focusable = !control()->Unselectable();
        if (TGBasePanel* p = panel()) {
            s.selected = p->Frame()->IndexInSelection(control()) >= 0;
            s.focused = s.selected && p->Frame()->hasFocus() && p->Frame()->SelectionCount() == 1;
        }
        return s;
    }
};

// The selection frame holds the keyboard focus while objects are selected: it reads as what it holds.
class FrameAccessible : public QAccessibleWidget {
public:
    explicit FrameAccessible(TGHandle* frame) : QAccessibleWidget(frame, QAccessible::Grouping) {}
    TGHandle* frame() const { return static_cast<TGHandle*>(widget()); }

    QAccessible::Role role() const override {
        return frame()->SelectionCount() == 1 ? objectRole(*frame()->SelectedObject(0)) : QAccessible::Grouping;
    }
    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name) return QAccessibleWidget::text(t);
        const int n = frame()->SelectionCount();
        if (n == 0) return QStringLiteral("No selection");
        if (n == 1) return PlacedObjectName(*frame()->SelectedObject(0));
        return QStringLiteral("%1 objects selected").arg(n);
    }
};

QAccessibleInterface* pageAccessibleFactory(const QString&, QObject* object) {
    if (auto* page = qobject_cast<TCalendarPanel32*>(object)) return new PageAccessible(page);
    if (auto* frame = qobject_cast<TGHandle*>(object)) return new FrameAccessible(frame);
    if (auto* control = qobject_cast<TGGraphicControl*>(object)) return new ObjectAccessible(control);
    return nullptr;
}

}  // namespace

void InstallPageAccessibility() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(pageAccessibleFactory);
}

QString PlacedObjectName(const TGGraphicControl& o) {
    if (const auto* text = qobject_cast<const TGSuperText*>(&o)) return kindAndCaption(QStringLiteral("SuperText"), text->Caption());
    if (const auto* label = qobject_cast<const TGBaseLabel*>(&o))
        return kindAndCaption(QStringLiteral("Text label"), label->Caption());
    if (const auto* rich = qobject_cast<const TGPRichBaseLabel*>(&o))
        return kindAndCaption(QStringLiteral("Rich text label"), CellReadName(QString(), rich->RTFText().Text().plainText()));
    if (const auto* calendar = qobject_cast<const TGFlatCalendar*>(&o))
        return kindAndCaption(QStringLiteral("Mini calendar"), FlatMonthName(calendar->Language(), calendar->Month()) +
                                                                   QLatin1Char(' ') + QString::number(calendar->Year()));
    if (qobject_cast<const TGImage*>(&o)) return QStringLiteral("Image");
    return o.ClassName();
}

QString PageCellName(const TCalendarPanel32& page, int cell) {
    const QString caption = CellCaption(page.Settings(), page.Layout(), cell);
    if (caption.isEmpty()) return QString();
    return CellReadName(caption, page.Cells()[cell - 1].Text().plainText());
}

namespace {
// The page's interface while a screen reader listens; null otherwise, when there is nobody to tell.
PageAccessible* listenedTo(TCalendarPanel32& page) {
    if (!QAccessible::isActive()) return nullptr;
    return dynamic_cast<PageAccessible*>(QAccessible::queryAccessibleInterface(&page));
}
}  // namespace

void AnnounceCellFocus(TCalendarPanel32& page, int cell) {
    PageAccessible* iface = listenedTo(page);
    if (!iface || cell < 1) return;
    // The cell is read with the text it holds now, not the one it had when the reader last met it.
    iface->announceNameChanges();
    QAccessibleEvent event(&page, QAccessible::Focus);
    event.setChild(cell - 1);
    QAccessible::updateAccessibility(&event);
}

void AnnounceObjectChanges(TCalendarPanel32& page) {
    if (PageAccessible* iface = listenedTo(page)) {
        iface->announceObjectChanges();
        iface->announceNameChanges();
    }
}

}  // namespace plennix
