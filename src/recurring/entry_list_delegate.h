#pragma once
// Row drawing of the lists that show recurring date entries. Each row's item holds the entry line in
// Qt::UserRole and shows its list text. The selection lists draw a check mark on selected rows and paint
// the focus row white on black; the editor's list draws the list text at the row's left with the usual
// selection colours.
#include <QPixmap>
#include <QStyledItemDelegate>

class QListWidget;
class QListWidgetItem;

namespace plennix {

constexpr int kEntryRowHeight = 16;
// The space between the check mark and the list text.
constexpr int kCheckTextGap = 5;

// Black check mark on a transparent ground, and its reverse (white on black) for the focus row.
const QPixmap& CheckBmp();
const QPixmap& RevCheckBmp();

class TEntryListDelegate : public QStyledItemDelegate {
public:
    TEntryListDelegate(bool checkMarks, QObject* parent);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    bool m_checkMarks;
};

// A row for an entry line: shows its list text, keeps the line.
QListWidgetItem* NewEntryItem(const QString& line);
QString EntryLineOf(const QListWidgetItem* item);
// The lines of every row, or of the selected rows, in list order.
QStringList AllEntryLines(const QListWidget* list);
QStringList SelectedEntryLines(const QListWidget* list);

}  // namespace plennix
