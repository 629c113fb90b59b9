#include "recurring/entry_list_delegate.h"

#include <QListWidget>
#include <QPainter>

#include "recurring/formula.h"

namespace plennix {
namespace {
constexpr int kCheckSize = 12;

QPixmap DrawCheck(const QColor& ground, const QColor& mark) {
    QPixmap pm(kCheckSize, kCheckSize);
    pm.fill(ground);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(mark, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    const QPoint points[3] = {QPoint(2, 6), QPoint(4, 9), QPoint(9, 2)};
    p.drawPolyline(points, 3);
    return pm;
}
}  // namespace

const QPixmap& CheckBmp() {
    static const QPixmap pm = DrawCheck(Qt::transparent, Qt::black);
    return pm;
}

const QPixmap& RevCheckBmp() {
    static const QPixmap pm = DrawCheck(Qt::black, Qt::white);
    return pm;
}

TEntryListDelegate::TEntryListDelegate(bool checkMarks, QObject* parent)
    : QStyledItemDelegate(parent), m_checkMarks(checkMarks) {}

QSize TEntryListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    return QSize(QStyledItemDelegate::sizeHint(option, index).width(), kEntryRowHeight);
}

void TEntryListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QRect row = option.rect;
    const bool selected = option.state & QStyle::State_Selected;
    const QString text = index.data(Qt::DisplayRole).toString();
    painter->save();
    QColor ground, ink;
    int textLeft = row.left();
    if (m_checkMarks) {
        const bool focus = option.state & QStyle::State_HasFocus;
        ground = focus ? QColor(Qt::black) : option.palette.color(QPalette::Base);
        ink = focus ? QColor(Qt::white) : QColor(Qt::black);
        // A row that cannot be chosen (a holiday no formula can express) is greyed.
        if (!(index.flags() & Qt::ItemIsEnabled)) ink = option.palette.color(QPalette::Disabled, QPalette::Text);
        painter->fillRect(row, ground);
        if (selected) {
            const QPixmap& check = focus ? RevCheckBmp() : CheckBmp();
            painter->drawPixmap(row.left(), row.top() + (row.height() - check.height()) / 2, check);
        }
        textLeft += CheckBmp().width() + kCheckTextGap;
    } else {
        ground = option.palette.color(selected ? QPalette::Highlight : QPalette::Base);
        ink = option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
        painter->fillRect(row, ground);
    }
    painter->setPen(ink);
    painter->setFont(option.font);
    painter->drawText(QRect(textLeft, row.top(), row.right() - textLeft + 1, row.height()),
                      Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    painter->restore();
}

QListWidgetItem* NewEntryItem(const QString& line) {
    auto* item = new QListWidgetItem(EntryListText(line));
    item->setData(Qt::UserRole, line);
    return item;
}

QString EntryLineOf(const QListWidgetItem* item) { return item ? item->data(Qt::UserRole).toString() : QString(); }

QStringList AllEntryLines(const QListWidget* list) {
    QStringList lines;
    for (int i = 0; i < list->count(); ++i) lines << EntryLineOf(list->item(i));
    return lines;
}

QStringList SelectedEntryLines(const QListWidget* list) {
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected()) lines << EntryLineOf(list->item(i));
    return lines;
}

}  // namespace plennix
