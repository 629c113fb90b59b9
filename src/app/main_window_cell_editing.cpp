// TCalendarMain, cell editing: the rich text editor laid over a day cell while the person types, its
// text going back into the cell, moving from cell to cell with Tab, texts put on days by the recurring
// dates, and pictures dropped onto the cells and into the open editor.
#include "app/main_window.h"

#include <QApplication>
#include <QBuffer>
#include <QDropEvent>
#include <QFileInfo>
#include <QImageReader>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollArea>
#include <QTextDocument>
#include <QUrl>
#include <memory>

#include "calendar/calendar_panel.h"
#include "calendar/page_cells.h"
#include "objects/picture_data.h"
#include "platform/file_io.h"
#include "platform/messages.h"
#include "platform/numbers.h"
#include "platform/ppi.h"
#include "recurring/fill_calendar.h"
#include "richtext/format_toolbar.h"
#include "richtext/rich_text_editor.h"
#include "richtext/rtf_storage.h"

namespace plennix {

namespace {

// Dropped pictures larger than this (pixels, each way) are scaled down to keep cell texts small.
constexpr int kMaxDroppedPicture = 512;

bool isImageFile(const QString& path) {
    return QFileInfo(path).isFile() && !QImageReader::imageFormat(path).isEmpty();
}

QString firstImageFile(const QMimeData* data) {
    if (!data || !data->hasUrls()) return QString();
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && isImageFile(url.toLocalFile())) return url.toLocalFile();
    return QString();
}

}  // namespace

void TCalendarMain::buildCellEditor() {
    m_cellEditor = new TWPRichText(m_page);
    m_cellEditor->setObjectName(QStringLiteral("WPRichText1"));
    m_cellEditor->setAccessibleName(QStringLiteral("Day cell text"));
    m_cellEditor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_cellEditor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_cellEditor->SetWantTabs(false);
    m_cellEditor->hide();
    m_cellEditor->setAcceptDrops(true);
    m_cellEditor->installEventFilter(this);
    m_cellEditor->viewport()->installEventFilter(this);
    connect(m_cellEditor, &QTextEdit::textChanged, this, [this] {
        if (m_editorLoaded) SetModified(true);
    });
    // Coming back from the format bar's lists is no new entry: the font just chosen there for an empty
    // cell must not give way to the default editor font.
    auto backFromFormatBar = std::make_shared<bool>(false);
    connect(m_cellEditor, &TWPRichText::FocusEntered, this, [this, backFromFormatBar] {
        m_formatBar->Attach(m_cellEditor);
        m_formatBar->setEnabled(true);
        if (m_cellEditor->IsEmpty() && !*backFromFormatBar) SetDefaultFontNow();
        *backFromFormatBar = false;
    });
    connect(m_cellEditor, &TWPRichText::FocusLeft, this, [this, backFromFormatBar] {
        // The format bar keeps working while the focus is in it (its lists take the focus).
        QWidget* focus = QApplication::focusWidget();
        *backFromFormatBar = focus && m_formatBar->isAncestorOf(focus);
        if (!*backFromFormatBar) SetButtons();
    });
}

void TCalendarMain::cellClicked(const Rect& rFree, int iCell, TWPRtfStorage& store) {
    m_currentCell = iCell;
    m_editorLoaded = false;
    DoSaveRichtext();
    m_editedCell = &store;
    m_editorOpen = true;
    const int w = rFree.right - rFree.left + 1, h = rFree.bottom - rFree.top + 1;
    const int ppi = ScreenPixelsPerInch();
    // The editor applies its zoom to the page it is given: give it the cell at 100 %, so that it breaks
    // lines where the painted cell does.
    const double zoom = std::max(0.05, static_cast<double>(m_page->Zoom()));
    m_cellEditor->SetPageSize(roundHalfEven(w / zoom * 1440.0 / ppi), roundHalfEven(h / zoom * 1440.0 / ppi));
    m_cellEditor->SetZoomPercent(truncToInt(m_page->Zoom() * 100.0));
    m_cellEditor->LoadFromStorage(store);
    // A screen reader names the editor after its day, so that the person knows which day they type in.
    const QString day = CellCaption(m_page->Settings(), m_page->Layout(), iCell);
    m_cellEditor->setAccessibleName(day.isEmpty() ? QStringLiteral("Day cell text") : QStringLiteral("Text of ") + day);
    m_cellEditor->setGeometry(rFree.left + 1, rFree.top + 1, w, h);
    m_cellEditor->show();
    m_cellEditor->raise();
    m_cellEditor->setFocus();
    m_formatBar->Attach(m_cellEditor);
    m_formatBar->setEnabled(true);
    if (m_cellEditor->IsEmpty()) SetDefaultFontNow();
    m_scroll->ensureWidgetVisible(m_cellEditor, 0, 0);
    // The editor's own undo holds the typing of this visit only; before it come the document's steps.
    m_cellEditor->document()->clearUndoRedoStacks();
    m_editorLoaded = true;
}

void TCalendarMain::DoSaveRichtext() {
    if (!m_editorOpen || !m_editedCell) return;
    m_cellEditor->SaveToStorage(*m_editedCell);
    m_cellEditor->hide();
    m_editorOpen = false;
    m_editorLoaded = false;
    m_formatBar->setEnabled(false);
    m_page->update();
}

void TCalendarMain::SetDefaultFontNow() {
    const DefaultEditorFont& f = m_prefs.font;
    FontStyles style = 0;
    if (f.bold) style |= fsBold;
    if (f.italic) style |= fsItalic;
    if (f.underline) style |= fsUnderline;
    if (f.strikeout) style |= fsStrikeOut;
    // Applying attributes is not an edit of the text.
    const bool loaded = m_editorLoaded;
    m_editorLoaded = false;
    m_cellEditor->ApplyAttributes(f.name, f.size, style, TWPRichText::LastColorIndexOf(f.color));
    m_editorLoaded = loaded;
}

void TCalendarMain::PuttextOnDay(int day, const QString& text) {
    // The filled text is not typed: the editor's change notice must not count it twice.
    const bool loaded = m_editorLoaded;
    m_editorLoaded = false;
    RtfCharFormat taken;
    CellEditorOperations ops;
    ops.currentCell = [this] { return m_currentCell; };
    ops.saveRichtext = [this] { DoSaveRichtext(); };
    ops.cellOfDay = [this](int d) { return m_page->CellOfDay(d); };
    ops.loadCell = [this](int cell) {
        if (TWPRtfStorage* store = m_page->CellRtf(cell)) m_cellEditor->LoadFromStorage(*store);
        m_cellEditor->Reformat();
    };
    ops.takeAttributesAndMoveToEnd = [this, &taken] {
        taken = m_cellEditor->CurrentAttributes();
        m_cellEditor->MoveToEnd();
    };
    ops.isEmpty = [this] { return m_cellEditor->IsEmpty(); };
    ops.endsWithEmptyParagraph = [this] { return m_cellEditor->Text().paragraphs.back().isEmpty(); };
    ops.newParagraph = [this] { m_cellEditor->NewParagraph(); };
    ops.insertWithTakenAttributes = [this, &taken](const QString& t) {
        m_cellEditor->InsertTextWithAttributes(t, taken);
        m_cellEditor->Reformat();
    };
    ops.storeCell = [this](int cell) {
        TWPRtfStorage filled;
        m_cellEditor->SaveToStorage(filled);
        m_page->SetCellRtf(cell, filled);
    };
    ops.setModified = [this] { m_modified = true; };
    ops.clickCell = [this, &loaded](int cell) {
        m_editorLoaded = loaded;
        m_page->ClickCell(cell);
    };
    ::plennix::PuttextOnDay(ops, day, text);
    if (!m_editorOpen) m_editorLoaded = loaded;
}

bool TCalendarMain::cellEditorKey(QWidget* widget, QKeyEvent* k) {
    const bool inEditor = widget == m_cellEditor || widget == m_cellEditor->viewport();
    if (!inEditor) return false;
    if (m_cellEditor->isVisible() && (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab)) {
        if (k->key() == Qt::Key_Backtab || (k->modifiers() & Qt::ShiftModifier))
            m_page->ClickPreviousCell(m_currentCell);
        else
            m_page->ClickNextCell(m_currentCell);
        return true;
    }
    if (m_cellEditor->isVisible() && k->key() == Qt::Key_Escape && k->modifiers() == Qt::NoModifier) {
        // Escape leaves the cell keeping its text, back to the page's focus on that cell.
        m_page->setFocus(Qt::OtherFocusReason);
        DoSaveRichtext();
        return true;
    }
    if ((k->modifiers() & Qt::ControlModifier) && k->key() == Qt::Key_A) {
        m_cellEditor->SelectAllText();
        return true;
    }
    return false;
}

bool TCalendarMain::dragDropEvent(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    const bool onPage = watched == m_page;
    const bool onEditor = watched == m_cellEditor || watched == m_cellEditor->viewport();
    if ((onPage || onEditor) && (type == QEvent::DragEnter || type == QEvent::DragMove)) {
        auto* e = static_cast<QDropEvent*>(event);
        bool ok = onPage ? PageDragOver(e->mimeData(), e->position().toPoint()) : acceptsDrop(e->mimeData());
        // A drag from the palette beside the page comes in over the margin: the page takes the picture
        // in, so that the moves over the cells follow, and refuses the drop point by point.
        if (type == QEvent::DragEnter && onPage) ok = acceptsDrop(e->mimeData()) && pageHasCells();
        if (ok)
            e->acceptProposedAction();
        else
            e->ignore();
        return true;
    }
    if ((onPage || onEditor) && type == QEvent::Drop) {
        auto* e = static_cast<QDropEvent*>(event);
        QPoint p = e->position().toPoint();
        if (watched == m_cellEditor) p = m_cellEditor->viewport()->mapFrom(m_cellEditor, p);
        const bool ok = onPage ? PageDragDrop(e->mimeData(), p) : EditorDragDrop(e->mimeData(), p);
        if (ok)
            e->acceptProposedAction();
        else
            e->ignore();
        return true;
    }
    return false;
}

bool TCalendarMain::PageDragOver(const QMimeData* data, const QPoint& p) const {
    return acceptsDrop(data) && pageHasCells() && m_page->PointInCell(p.x(), p.y());
}

bool TCalendarMain::PageDragDrop(const QMimeData* data, const QPoint& p) {
    if (!PageDragOver(data, p)) return false;
    DoSaveRichtext();
    m_page->ClickCellAt(p.x(), p.y());
    m_currentCell = m_page->CellAtPoint(p.x(), p.y());
    if (!m_editorOpen || !insertDroppedPicture(data)) return false;
    SetModified(true);
    return true;
}

bool TCalendarMain::EditorDragDrop(const QMimeData* data, const QPoint& viewportPoint) {
    if (!m_editorOpen || !acceptsDrop(data)) return false;
    m_cellEditor->setTextCursor(m_cellEditor->cursorForPosition(viewportPoint));
    if (!insertDroppedPicture(data)) return false;
    SetModified(true);
    return true;
}

bool TCalendarMain::acceptsDrop(const QMimeData* data) const {
    return data && (data->hasImage() || !firstImageFile(data).isEmpty());
}

bool TCalendarMain::insertDroppedPicture(const QMimeData* data) {
    QImage image;
    const QString file = firstImageFile(data);
    if (!file.isEmpty()) {
        // The bitmap and icon readers decode a cut-off file into rows of stray memory.
        QString error;
        const std::optional<QByteArray> bytes = ReadWholeFile(file, 256LL * 1024 * 1024, &error);
        if (!bytes || !PictureDataComplete(*bytes)) {
            if (bytes)
                error = QStringLiteral("Unable to read the picture ") + file + QStringLiteral(": the file is cut off");
            ShowInformation(error, this);
            return false;
        }
        // Decoded from the bytes just checked: the path is not opened again, so that it cannot have been
        // replaced by a named pipe or another file in between.
        QBuffer buffer(const_cast<QByteArray*>(&*bytes));
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        reader.setAutoTransform(true);
        const QSize size = reader.size();
        if (size.isValid() && (size.width() > kMaxDroppedPicture || size.height() > kMaxDroppedPicture))
            reader.setScaledSize(size.scaled(kMaxDroppedPicture, kMaxDroppedPicture, Qt::KeepAspectRatio));
        image = reader.read();
        if (image.isNull()) {
            ShowInformation(QStringLiteral("Unable to read the picture %1: %2")
                                .arg(file, reader.errorString().isEmpty()
                                               ? QStringLiteral("it is not a picture that can be read")
                                               : reader.errorString()),
                            this);
            return false;
        }
    } else if (data->hasImage()) {
        image = qvariant_cast<QImage>(data->imageData());
        if (image.width() > kMaxDroppedPicture || image.height() > kMaxDroppedPicture)
            image = image.scaled(kMaxDroppedPicture, kMaxDroppedPicture, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    if (image.isNull()) {
        if (!file.isEmpty()) ShowInformation(QStringLiteral("Unable to read the picture ") + file, this);
        return false;
    }
    QCoreApplication::processEvents();
    m_cellEditor->InsertPicture(image);
    m_cellEditor->setFocus();
    return true;
}

}  // namespace plennix
