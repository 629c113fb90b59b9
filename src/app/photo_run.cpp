#include "app/photo_run.h"

#include "calendar/calendar_page.h"
#include "objects/image_object.h"
#include "platform/ppi.h"

namespace plennix {

namespace {
// The placeholder's size in inches at zoom 1.0, whatever the page's zoom.
QSizeF placeholderInches(const TGImage& placeholder) {
    const double zoom = placeholder.Zoom() > 0 ? double(placeholder.Zoom()) : 1.0;
    const double ppi = ScreenPixelsPerInch();
    return {placeholder.Width() / zoom / ppi, placeholder.Height() / zoom / ppi};
}
}  // namespace

std::unique_ptr<MonthPictures> MonthPictures::Make(const PageSource& page, QStringList pictures, PictureFit fit,
                                                   int pages, QString* error) {
    TGImage* placeholder = PictureOfTheMonthPlaceholder(page.Objects());
    if (!placeholder) {
        if (error)
            *error = QStringLiteral(
                "The calendar has no clip-art picture to show the pictures in: place one "
                "and tick Picture of the Month in its menu");
        return nullptr;
    }
    return std::unique_ptr<MonthPictures>(new MonthPictures(*placeholder, std::move(pictures), fit, pages));
}

MonthPictures::MonthPictures(const TGImage& placeholder, QStringList pictures, PictureFit fit, int pages)
    : m_pages(std::max(1, pages)),
      m_prefetch(std::move(pictures), placeholderInches(placeholder), fit, std::max(1, pages)) {}

void MonthPictures::PrepareNextPage(TCalendarPage& page) { prepareNext(page.Objects()); }
void MonthPictures::PrepareNextPage(const std::vector<TGGraphicControl*>& objects) { prepareNext(objects); }

void MonthPictures::prepareNext(const std::vector<TGGraphicControl*>& objects) {
    // A page of the run is a copy of the document: its placeholder is found the way the document's was.
    TGImage* placeholder = PictureOfTheMonthPlaceholder(objects);
    // The page before's picture goes first, so that no more than two are held while the next decodes.
    if (placeholder) placeholder->SetStandInPicture(QImage());
    const PlacedPicture picture = m_prefetch.Take(m_next);
    m_next = (m_next + 1) % m_pages;
    if (picture.image.isNull()) {
        if (!m_unreadable.contains(picture.error)) m_unreadable << picture.error;
        return;
    }
    if (placeholder) placeholder->SetStandInPicture(picture.image);
}

PagePreparer MonthPictures::Preparer(PagePreparer also) {
    return [this, also = std::move(also)](TCalendarPage& page) {
        PrepareNextPage(page);
        if (also) also(page);
    };
}

QString UnreadablePicturesMessage(const QStringList& unreadable) {
    if (unreadable.isEmpty()) return {};
    return QStringLiteral("These pictures could not be read; their pages show the calendar's own picture:\n") +
           unreadable.join(QLatin1Char('\n'));
}

}  // namespace plennix
