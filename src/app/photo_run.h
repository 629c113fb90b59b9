#pragma once
// A run of months with a picture on every page: each page's "Picture of the Month" shows the folder's
// pictures one page after the other, as a stand-in that the document never stores. Shared by Print
// Months, Print Preview and the command line's --pictures.
#include <QStringList>
#include <memory>

#include "app/month_pages.h"
#include "app/photo_pictures.h"

namespace plennix {

class TCalendarPage;
class TGGraphicControl;
class TGImage;

class MonthPictures {
public:
    // The run of `pages` pages of the document on `page` with `pictures` (ListFolderPictures). Null,
    // with *error, when the page has no clip-art object to take them.
    static std::unique_ptr<MonthPictures> Make(const PageSource& page, QStringList pictures, PictureFit fit,
                                               int pages, QString* error);
    MonthPictures(const MonthPictures&) = delete;
    MonthPictures& operator=(const MonthPictures&) = delete;

    // Puts the picture of the next page (in page order, starting over after the last) into the
    // placeholder of `page` (a page of the run), or of the page whose `objects` these are; a picture
    // that cannot be read leaves the placeholder as designed and is noted.
    void PrepareNextPage(TCalendarPage& page);
    void PrepareNextPage(const std::vector<TGGraphicControl*>& objects);
    // The next page is the run's first again (a preview renders the run anew).
    void Restart() { m_next = 0; }
    // Runs PrepareNextPage, then `also` (filling with recurring dates), on each page.
    PagePreparer Preparer(PagePreparer also = {});
    // The pictures that could not be read, "FILE: reason", each once, in the order met.
    const QStringList& Unreadable() const { return m_unreadable; }

private:
    MonthPictures(const TGImage& placeholder, QStringList pictures, PictureFit fit, int pages);
    void prepareNext(const std::vector<TGGraphicControl*>& objects);

    int m_pages;
    int m_next = 0;
    PicturePrefetcher m_prefetch;
    QStringList m_unreadable;
};

// The message at the end of a run that left pictures out; empty when every picture was read.
QString UnreadablePicturesMessage(const QStringList& unreadable);

}  // namespace plennix
