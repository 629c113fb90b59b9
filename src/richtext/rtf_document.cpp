#include "richtext/rtf_document.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTextBlock>
#include <QUrl>
#include <cmath>

#include "platform/numbers.h"
#include "platform/ppi.h"
#include "richtext/rtf_pictures.h"

namespace plennix {

namespace {

// The resolution at which text layouts without a device of their own turn points into pixels.
double LayoutDpi() {
    if (QGuiApplication::testAttribute(Qt::AA_Use96Dpi)) return 96.0;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            return std::round(screen->logicalDotsPerInchY());
    }
    return 100.0;
}

const QString kPictureScheme = QStringLiteral("plennix-picture:");

QTextBlockFormat ToBlockFormat(RtfAlignment a) {
    QTextBlockFormat bf;
    bf.setAlignment(ToQtAlignment(a));
    return bf;
}

void AppendRun(RtfParagraph& p, const RtfCharFormat& format, const QString& text) {
    if (text.isEmpty()) return;
    if (!p.runs.empty() && !p.runs.back().isPicture() && p.runs.back().format == format) {
        p.runs.back().text += text;
        return;
    }
    p.runs.push_back(RtfRun{format, text, nullptr});
}

std::shared_ptr<const RtfPicture> PictureOf(const QTextImageFormat& f, const QTextDocument* doc) {
    const QByteArray png = f.property(kPicturePngProperty).toByteArray();
    QImage image;
    if (!png.isEmpty()) {
        QVariant res = doc->resource(QTextDocument::ImageResource, QUrl(f.name()));
        image = res.value<QImage>();
        if (image.isNull()) image = QImage::fromData(png, "PNG");
        if (!image.isNull()) {
            auto pic = std::make_shared<RtfPicture>();
            pic->png = png;
            pic->image = image;
            pic->widthTwips = f.intProperty(kPictureWidthTwipsProperty);
            pic->heightTwips = f.intProperty(kPictureHeightTwipsProperty);
            if (pic->widthTwips <= 0) pic->widthTwips = PixelsToTwips(image.width());
            if (pic->heightTwips <= 0) pic->heightTwips = PixelsToTwips(image.height());
            return pic;
        }
    }
    // A picture that came in some other way (a pasted image): take the resource as it is shown.
    QVariant res = doc->resource(QTextDocument::ImageResource, QUrl(f.name()));
    image = res.value<QImage>();
    if (image.isNull()) image = res.value<QPixmap>().toImage();
    if (image.isNull()) return nullptr;
    return MakePicture(image, f.width() > 0 ? PixelsToTwips(f.width()) : 0,
                       f.height() > 0 ? PixelsToTwips(f.height()) : 0);
}

RtfText RangeText(const QTextDocument* doc, int start, int end) {
    RtfText out{{}, {}};
    QTextBlock block = doc->findBlock(start);
    for (; block.isValid() && block.position() <= end; block = block.next()) {
        RtfParagraph p;
        p.alignment = FromQtAlignment(block.blockFormat().alignment());
        p.markFormat = FromQtCharFormat(block.charFormat());
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (!frag.isValid()) continue;
            const int fs = std::max(frag.position(), start);
            const int fe = std::min(frag.position() + frag.length(), end);
            if (fs >= fe) continue;
            const QString text = frag.text().mid(fs - frag.position(), fe - fs);
            const QTextCharFormat cf = frag.charFormat();
            if (cf.isImageFormat()) {
                auto pic = PictureOf(cf.toImageFormat(), doc);
                if (!pic) continue;
                for (QChar c : text) {
                    if (c.unicode() != 0xFFFC) continue;
                    p.runs.push_back(RtfRun{FromQtCharFormat(cf), QString(), pic});
                }
            } else {
                QString t = text;
                t.remove(QChar(0xFFFC));
                AppendRun(p, FromQtCharFormat(cf), t);
            }
        }
        out.paragraphs.push_back(std::move(p));
    }
    if (out.paragraphs.empty()) out.paragraphs.emplace_back();
    return out;
}

}  // namespace

double DocumentPointSize(int halfPoints, int zoomPercent) {
    const double pixels = halfPoints / 2.0 * ScreenPixelsPerInch() / 72.0 * zoomPercent / 100.0;
    return std::max(0.25, pixels * 72.0 / LayoutDpi());
}

Qt::Alignment ToQtAlignment(RtfAlignment a) {
    switch (a) {
    case RtfAlignment::raRight: return Qt::AlignRight | Qt::AlignAbsolute;
    case RtfAlignment::raCenter: return Qt::AlignHCenter;
    case RtfAlignment::raJustify: return Qt::AlignJustify;
    case RtfAlignment::raLeft: break;
    }
    return Qt::AlignLeft | Qt::AlignAbsolute;
}

RtfAlignment FromQtAlignment(Qt::Alignment a) {
    if (a & Qt::AlignHCenter) return RtfAlignment::raCenter;
    if (a & Qt::AlignJustify) return RtfAlignment::raJustify;
    if (a & (Qt::AlignRight | Qt::AlignTrailing)) {
        // Trailing is right only in left-to-right text, which is all this engine lays out.
        return RtfAlignment::raRight;
    }
    return RtfAlignment::raLeft;
}

QTextCharFormat ToQtCharFormat(const RtfCharFormat& f, int zoomPercent) {
    QTextCharFormat c;
    c.setFontFamilies(QStringList{f.font});
    c.setFontPointSize(DocumentPointSize(f.halfPoints, zoomPercent));
    c.setFontWeight((f.style & fsBold) ? QFont::Bold : QFont::Normal);
    c.setFontItalic(f.style & fsItalic);
    c.setFontUnderline(f.style & fsUnderline);
    c.setFontStrikeOut(f.style & fsStrikeOut);
    c.setFontKerning(false);
    c.setFontHintingPreference(QFont::PreferNoHinting);
    if (f.color != kAutoTextColor) c.setForeground(toQColor(f.color));
    c.setProperty(kHalfPointsProperty, f.halfPoints);
    return c;
}

RtfCharFormat FromQtCharFormat(const QTextCharFormat& c) {
    RtfCharFormat f;
    const QStringList families = c.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.front().isEmpty()) f.font = families.front();
    if (c.hasProperty(kHalfPointsProperty)) {
        f.halfPoints = c.intProperty(kHalfPointsProperty);
    } else if (c.hasProperty(QTextFormat::FontPointSize) && c.fontPointSize() > 0) {
        f.halfPoints = roundHalfEven(c.fontPointSize() * 2 * LayoutDpi() / ScreenPixelsPerInch());
    } else if (c.hasProperty(QTextFormat::FontPixelSize)) {
        f.halfPoints = roundHalfEven(c.intProperty(QTextFormat::FontPixelSize) * 144.0 / ScreenPixelsPerInch());
    }
    f.halfPoints = std::clamp(f.halfPoints, 2, 3276);
    FontStyles s = 0;
    if (c.fontWeight() > QFont::Medium) s |= fsBold;
    if (c.fontItalic()) s |= fsItalic;
    if (c.fontUnderline()) s |= fsUnderline;
    if (c.fontStrikeOut()) s |= fsStrikeOut;
    f.style = s;
    if (c.hasProperty(QTextFormat::ForegroundBrush) && c.foreground().style() != Qt::NoBrush)
        f.color = fromQColor(c.foreground().color());
    return f;
}

QTextImageFormat ToQtImageFormat(const RtfPicture& pic, QTextDocument* doc, int zoomPercent) {
    static quint64 serial = 0;
    const QString name = kPictureScheme + QString::number(++serial);
    doc->addResource(QTextDocument::ImageResource, QUrl(name), pic.image);
    QTextImageFormat f;
    f.setName(name);
    f.setWidth(TwipsToPixels(pic.widthTwips) * zoomPercent / 100.0);
    f.setHeight(TwipsToPixels(pic.heightTwips) * zoomPercent / 100.0);
    f.setProperty(kPicturePngProperty, pic.png);
    f.setProperty(kPictureWidthTwipsProperty, pic.widthTwips);
    f.setProperty(kPictureHeightTwipsProperty, pic.heightTwips);
    return f;
}

static void InsertParagraphs(QTextCursor& cursor, const RtfText& text, int zoomPercent, bool formatFirst) {
    QTextDocument* doc = cursor.document();
    for (size_t i = 0; i < text.paragraphs.size(); ++i) {
        const RtfParagraph& p = text.paragraphs[i];
        if (i > 0) {
            cursor.insertBlock(ToBlockFormat(p.alignment), ToQtCharFormat(p.markFormat, zoomPercent));
        } else if (formatFirst) {
            cursor.setBlockFormat(ToBlockFormat(p.alignment));
            cursor.setBlockCharFormat(ToQtCharFormat(p.markFormat, zoomPercent));
        }
        for (const RtfRun& r : p.runs) {
            if (r.isPicture())
                cursor.insertImage(ToQtImageFormat(*r.picture, doc, zoomPercent));
            else
                cursor.insertText(r.text, ToQtCharFormat(r.format, zoomPercent));
        }
    }
}

void SetDocumentText(QTextDocument* doc, const RtfText& text, int zoomPercent) {
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    doc->clear();
    doc->setDocumentMargin(0);
    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    InsertParagraphs(cursor, text, zoomPercent, true);
    cursor.endEditBlock();
    doc->setUndoRedoEnabled(undo);
    doc->setModified(false);
}

void InsertText(QTextCursor& cursor, const RtfText& text, int zoomPercent) {
    cursor.beginEditBlock();
    InsertParagraphs(cursor, text, zoomPercent, false);
    cursor.endEditBlock();
}

RtfText DocumentText(const QTextDocument* doc) { return RangeText(doc, 0, doc->characterCount() - 1); }

RtfText SelectionText(const QTextCursor& cursor) {
    if (!cursor.hasSelection()) return RtfText{};
    return RangeText(cursor.document(), cursor.selectionStart(), cursor.selectionEnd());
}

RtfText LayoutText(const RtfText& text) {
    auto breaks = [](QChar c) { return c.isSpace() || c == u'\t' || c == QChar(0x200B) || c == QChar(0x2028); };
    RtfText out = text;
    for (RtfParagraph& p : out.paragraphs) {
        int runsSinceBreak = 0;
        for (RtfRun& r : p.runs) {
            if (r.isPicture()) {  // a picture stands alone: lines may break on either side of it
                runsSinceBreak = 0;
                continue;
            }
            if (++runsSinceBreak > kMaxRunsWithoutBreak) {
                r.text.prepend(QChar(0x200B));
                runsSinceBreak = 1;
            }
            // Only the run's last break counts for the runs after it.
            for (qsizetype i = r.text.size() - 1; i >= 0; --i) {
                if (breaks(r.text[i])) {
                    runsSinceBreak = i == r.text.size() - 1 ? 0 : 1;
                    break;
                }
            }
        }
    }
    return out;
}

void RezoomDocument(QTextDocument* doc, int zoomPercent) { SetDocumentText(doc, DocumentText(doc), zoomPercent); }

}  // namespace plennix
