#include "objects/image_object.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <algorithm>
#include <new>

#include "objects/image_decoding.h"
#include "platform/file_io.h"
#include "platform/numbers.h"
#include "platform/ppi.h"
#include "platform/stream_error.h"
#include "printing/report.h"

namespace plennix {

namespace {

const char* const kBitmapClass = "TBitmap";
const char* const kMetafileClass = "TMetafile";
const char* const kIconClass = "TIcon";

QString LoadErrorText() { return QStringLiteral("Error loading file!"); }

void Put32(QByteArray& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.append(char((v >> (8 * i)) & 0xFF));
}

uint32_t Get32(const QByteArray& b, qsizetype at) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= uint32_t(uchar(b[at + i])) << (8 * i);
    return v;
}

QByteArray EncodeBmp(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // Bitmaps carry no transparency here: what is see-through becomes white, as on a new bitmap.
    QImage opaque(image.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    {
        QPainter p(&opaque);
        p.drawImage(0, 0, image);
    }
    opaque.save(&buffer, "BMP");
    return bytes;
}

[[noreturn]] void InvalidValue() { throw StreamError(QStringLiteral("Invalid property value")); }

}  // namespace

// ---- the picture ----------------------------------------------------------------------------------

TImagePicture TImagePicture::FromBitmap(const QImage& image) {
    TImagePicture p;
    if (image.isNull()) return p;
    p.m_kind = Kind::Bitmap;
    p.m_fileBytes = EncodeBmp(image);
    p.m_image = image.hasAlphaChannel() ? QImage::fromData(p.m_fileBytes, "BMP") : image;
    return p;
}

TImagePicture TImagePicture::FromBitmapFile(const QByteArray& bytes) {
    TImagePicture p;
    if (!bytes.startsWith("BM")) return p;
    const QImage image = LoadPictureBytes(bytes, QString(), nullptr);
    if (image.isNull()) return p;
    p.m_kind = Kind::Bitmap;
    p.m_image = image;
    p.m_fileBytes = bytes;
    return p;
}

TImagePicture TImagePicture::FromIconFile(const QByteArray& bytes) {
    TImagePicture p;
    // An icon file starts with a reserved 0 and the type 1.
    if (bytes.size() < 6 || bytes[0] != 0 || bytes[1] != 0 || bytes[2] != 1 || bytes[3] != 0) return p;
    const QImage image = LoadPictureBytes(bytes, QString(), nullptr);
    if (image.isNull()) return p;
    p.m_kind = Kind::Icon;
    p.m_image = image;
    p.m_fileBytes = bytes;
    return p;
}

TImagePicture TImagePicture::FromMetafile(const TMetafilePicture& metafile) {
    TImagePicture p;
    p.m_kind = Kind::Metafile;
    p.m_metafile = metafile;
    return p;
}

TImagePicture TImagePicture::LoadFromFile(const QString& path, QString* error) {
    // Only a regular file is opened: a named pipe chosen as a picture would wait for a writer for ever.
    const std::optional<QByteArray> read = ReadWholeFile(path, kMaxPictureFileBytes);
    if (!read) {
        if (error) *error = LoadErrorText();
        return {};
    }
    const QByteArray& bytes = *read;
    const QString extension = QFileInfo(path).suffix().toUpper();
    TImagePicture picture;
    if (extension == QLatin1String("WMF") || extension == QLatin1String("EMF")) {
        if (auto metafile = TMetafilePicture::FromBytes(bytes)) picture = FromMetafile(*metafile);
    } else if (extension == QLatin1String("ICO")) {
        picture = FromIconFile(bytes);
    } else {
        picture = FromBitmapFile(bytes);
    }
    if (picture.Empty() && error) *error = LoadErrorText();
    return picture;
}

int TImagePicture::Width() const {
    if (m_kind == Kind::Metafile) return m_metafile->Width();
    return m_kind == Kind::Empty ? 0 : m_image.width();
}

int TImagePicture::Height() const {
    if (m_kind == Kind::Metafile) return m_metafile->Height();
    return m_kind == Kind::Empty ? 0 : m_image.height();
}

void TImagePicture::StretchDraw(QPainter& painter, const QRectF& target) const {
    switch (m_kind) {
    case Kind::Empty: return;
    case Kind::Metafile: m_metafile->Play(painter, target); return;
    default: {
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter.drawImage(target, m_image);
        painter.restore();
        return;
    }
    }
}

QByteArray TImagePicture::RecordData() const {
    QByteArray out;
    auto className = [&](const char* name) {
        out.append(char(qstrlen(name)));
        out.append(name);
    };
    switch (m_kind) {
    case Kind::Empty: return {};
    case Kind::Bitmap:
        className(kBitmapClass);
        Put32(out, uint32_t(m_fileBytes.size()));
        out.append(m_fileBytes);
        return out;
    case Kind::Icon:
        className(kIconClass);
        out.append(m_fileBytes);
        return out;
    case Kind::Metafile: {
        className(kMetafileClass);
        const QByteArray stored = m_metafile->StoredBytes();
        Put32(out, uint32_t(stored.size() + 4));  // the count includes its own four bytes
        out.append(stored);
        return out;
    }
    }
    return out;
}

TImagePicture TImagePicture::FromRecordData(const QByteArray& data) {
    if (data.isEmpty()) return {};
    const int nameLength = uchar(data[0]);
    if (data.size() < 1 + nameLength) InvalidValue();
    const QByteArray name = data.mid(1, nameLength);
    const QByteArray rest = data.mid(1 + nameLength);
    TImagePicture picture;
    if (name == kIconClass) {
        picture = FromIconFile(rest);
    } else if (name == kBitmapClass || name == kMetafileClass) {
        if (rest.size() < 4) InvalidValue();
        const qint64 count = Get32(rest, 0);
        if (name == kBitmapClass) {
            if (count > rest.size() - 4) InvalidValue();
            picture = count == 0 ? TImagePicture() : FromBitmapFile(rest.mid(4, count));
            if (count == 0) return picture;
        } else {
            if (count < 4 || count - 4 > rest.size() - 4) InvalidValue();
            if (auto metafile = TMetafilePicture::FromBytes(rest.mid(4, count - 4))) picture = FromMetafile(*metafile);
        }
    } else {
        InvalidValue();
    }
    if (picture.Empty()) InvalidValue();
    return picture;
}

int AutoSizedSide(int pictureSide, float zoom) { return roundHalfEven(pictureSide * static_cast<double>(zoom)); }

// ---- the object -----------------------------------------------------------------------------------

TGImage::TGImage(QObject* owner) : TGGraphicControl(owner) { SetBounds(Left(), Top(), 105, 105); }

TGImage::~TGImage() = default;

const PropertyTable& TGImage::Properties() const {
    using I = TGImage;
    static const PropertyTable table = [] {
        PropertyTable t = CommonProperties();
        t.push_back(BoolProp<I>(
            "AutoSize", [](const I& i) { return i.AutoSize(); }, [](I& i, int32_t v) { i.SetAutoSize(v != 0); },
            false));
        t.push_back(EnumProp<I>(
            "BorderStyle", BorderStyleNames(), [](const I& i) { return i.BorderStyle(); },
            [](I& i, int32_t v) { i.SetBorderStyle(static_cast<TBorderStyle>(v)); }));
        t.push_back(DataProp<I>(
            "Picture", PropKind::Picture, [](const I& i) { return i.m_picture.RecordData(); },
            [](I& i, const QByteArray& v) {
                const TImagePicture picture = TImagePicture::FromRecordData(v);
                i.SetPicture(picture);
            }));
        t.push_back(BoolProp<I>(
            "Stretch", [](const I& i) { return i.Stretch(); }, [](I& i, int32_t v) { i.SetStretch(v != 0); }, true));
        return t;
    }();
    return table;
}

void TGImage::SetAutoSize(bool value) {
    m_autoSize = value;
    m_stretch = !value;
    pictureChanged();
    if (!IsLoading()) NotifyChanged();
}

void TGImage::SetStretch(bool value) {
    m_stretch = value;
    m_autoSize = !value;
    Invalidate();
}

void TGImage::SetBorderStyle(TBorderStyle value) { SetProperty(m_borderStyle, value, peRepaint | peNotify); }

void TGImage::SetPicture(const TImagePicture* picture) {
    m_picture = picture ? *picture : TImagePicture();
    pictureChanged();
}

void TGImage::pictureChanged() {
    ++m_pictureGeneration;
    m_screenSource = QImage();
    BoundsChanged();
    m_opaque = m_picture.kind() == TImagePicture::Kind::Bitmap && m_picture.Width() == Width() &&
               m_picture.Height() == Height();
    Invalidate();
}

void TGImage::BoundsChanged() {
    // While a record is read the object reports nothing: a document just opened is not modified.
    if (!IsLoading()) TGGraphicControl::BoundsChanged();
    if (m_sizing || !m_autoSize) return;
    const int w = m_picture.Width(), h = m_picture.Height();
    if (w <= 0 || h <= 0) return;
    m_sizing = true;
    // The document keeps the picture's own size; the zoom only shows it.
    SetLaidOutSize(AutoSizedSide(w, 1.0f), AutoSizedSide(h, 1.0f), AutoSizedSide(w, Zoom()), AutoSizedSide(h, Zoom()));
    m_sizing = false;
}

QImage TGImage::RenderBitmap() const { return renderBitmap(nullptr); }

const QImage& TGImage::ShownBitmap() const {
    const qint64 key[5] = {Width(), Height(), m_pictureGeneration, m_standIn.cacheKey(), qint64(m_borderStyle)};
    if (!m_shown.isNull() && std::equal(std::begin(key), std::end(key), std::begin(m_shownKey))) return m_shown;
    const QImage* source = nullptr;
    if (m_standIn.isNull() && m_picture.kind() != TImagePicture::Kind::Metafile && !m_picture.Empty()) {
        const QImage& full = m_picture.Image();
        if (full.width() > kScreenSourceSide || full.height() > kScreenSourceSide) {
            if (m_screenSource.isNull())
                m_screenSource = full.scaled(kScreenSourceSide, kScreenSourceSide, Qt::KeepAspectRatio,
                                             Qt::SmoothTransformation);
            source = &m_screenSource;
        }
    }
    m_shown = renderBitmap(source);
    std::copy(std::begin(key), std::end(key), std::begin(m_shownKey));
    return m_shown;
}

QImage TGImage::renderBitmap(const QImage* bitmapSource) const {
    const int w = std::max(1, Width()), h = std::max(1, Height());
    QImage bitmap(w, h, QImage::Format_RGB32);
    bitmap.fill(Qt::white);
    {
        QPainter painter(&bitmap);
        if (!m_standIn.isNull()) {
            painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
            painter.drawImage(FittedPictureRect(m_standIn.size(), QRectF(0, 0, w, h)), m_standIn);
        } else if (m_picture.Empty()) {
            // The bitmap canvas's default pen and brush: a black frame, white inside.
            Canvas c(&painter);
            c.SetPen(clBlack);
            c.SetBrush(clWhite);
            c.Rectangle(Rect{0, 0, w, h});
        } else if (bitmapSource) {
            painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
            painter.drawImage(QRectF(0, 0, w, h), *bitmapSource);
        } else {
            m_picture.StretchDraw(painter, QRectF(0, 0, w, h));
        }
        if (m_borderStyle == bsSingle) {
            Canvas c(&painter);
            c.SetPen(clBlack);
            c.SetBrush(clWhite, BrushStyle::bsClear);
            c.Rectangle(Rect{0, 0, w, h});
        }
    }
    return bitmap;
}

void TGImage::Paint(Canvas& canvas) {
    if (PaintSuspended()) return;
    if (Width() <= 0 || Height() <= 0) return;
    canvas.painter()->drawImage(QPointF(0, 0), ShownBitmap());
}

void TGImage::PrintTo(TReport& report, double leftOffset, double topOffset) {
    ReportStateGuard printState(report);
    const double P = ScreenPixelsPerInch();
    const double left = leftOffset + Left() / P, top = topOffset + Top() / P;
    const double right = leftOffset + (Left() + Width()) / P, bottom = topOffset + (Top() + Height()) / P;
    if (!m_standIn.isNull()) {
        const QRectF r = FittedPictureRect(m_standIn.size(), QRectF(left, top, right - left, bottom - top));
        report.StretchDraw(r.left(), r.top(), r.right(), r.bottom(), m_standIn);
    } else if (m_picture.kind() == TImagePicture::Kind::Bitmap) {
        report.StretchDraw(left, top, right, bottom, m_picture.Image());
    } else if (m_picture.kind() == TImagePicture::Kind::Metafile) {
        // Played straight onto the printer, so that it stays a vector drawing in a PDF.
        const Rect r = report.InchRect(left, top, right, bottom);
        m_picture.StretchDraw(report.painter(), QRectF(r.left, r.top, r.right - r.left, r.bottom - r.top));
    }
    if (m_borderStyle == bsSingle) {
        report.SetPen(clBlack, PenStyle::psSolid, PenMode::pmCopy);
        report.SetPenWidthPixels(1);
        report.SetBrush(clWhite, BrushStyle::bsClear);
        report.Rectangle(left, top, right, bottom);
    }
}

void TGImage::SetPictureOfTheMonth(bool marked) {
    if (marked == IsPictureOfTheMonth()) return;
    if (marked && List()) {
        for (TGGraphicControl* other : List()->Objects()) {
            auto* image = qobject_cast<TGImage*>(other);
            if (image && image != this && image->IsPictureOfTheMonth()) image->SetTag(0);
        }
    }
    SetTag(marked ? kPictureOfTheMonthTag : 0);
    if (!IsLoading()) NotifyChanged();
}

void TGImage::Loaded() {
    TGGraphicControl::Loaded();
    if (!List() || !IsPictureOfTheMonth()) return;
    for (TGGraphicControl* other : List()->Objects()) {
        if (other == this) return;
        auto* image = qobject_cast<TGImage*>(other);
        if (image && image->IsPictureOfTheMonth()) {
            SetTag(0);
            return;
        }
    }
}

void TGImage::SetStandInPicture(const QImage& image) {
    m_standIn = image;
    Invalidate();
}

QRectF FittedPictureRect(const QSizeF& picture, const QRectF& box) {
    if (picture.width() <= 0 || picture.height() <= 0 || box.width() <= 0 || box.height() <= 0) return box;
    const double scale = std::min(box.width() / picture.width(), box.height() / picture.height());
    const QSizeF size(picture.width() * scale, picture.height() * scale);
    return QRectF(box.left() + (box.width() - size.width()) / 2, box.top() + (box.height() - size.height()) / 2,
                  size.width(), size.height());
}

TGImage* MarkedPictureOfTheMonth(const std::vector<TGGraphicControl*>& objects) {
    for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
        auto* image = qobject_cast<TGImage*>(*it);
        if (image && image->IsPictureOfTheMonth()) return image;
    }
    return nullptr;
}

TGImage* PictureOfTheMonthPlaceholder(const std::vector<TGGraphicControl*>& objects) {
    if (TGImage* marked = MarkedPictureOfTheMonth(objects)) return marked;
    TGImage* largest = nullptr;
    qint64 largestArea = -1;
    for (TGGraphicControl* object : objects) {
        auto* image = qobject_cast<TGImage*>(object);
        if (!image) continue;
        const qint64 area = qint64(std::max(0, image->Width())) * std::max(0, image->Height());
        if (area > largestArea) {
            largest = image;
            largestArea = area;
        }
    }
    return largest;
}

void TGImage::ToggleBorder() { SetBorderStyle(m_borderStyle == bsSingle ? bsNone : bsSingle); }

void TGImage::ToggleStretch() {
    SetStretch(!m_stretch);
    Invalidate();
}

void TGImage::ToggleAutoSize() {
    SetAutoSize(!m_autoSize);
    Invalidate();
}

void TGImage::TakeLoadedPicture(const TImagePicture& picture, bool stretch, bool autoSize) {
    SetPicture(picture);
    m_stretch = stretch;
    m_autoSize = autoSize;
    pictureChanged();
    NotifyChanged();
}

void RegisterImageClass() {
    RegisterObjectClass(QStringLiteral("TGImage"),
                        [](QObject* owner) -> TGGraphicControl* { return new TGImage(owner); });
}

}  // namespace plennix
