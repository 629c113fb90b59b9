// A photo calendar: twelve months of a Letter page whose upper half is a 7.5 × 5 inch clip-art picture,
// filled from twelve 4000 × 3000 JPEGs, into one PDF (--print-pdf --months 12 --pictures). Beside it the
// floor: decoding the twelve photos at their printed size and nothing else.
//
// The photos are made once by bench/photo_make_photos.sh (ImageMagick) in $PLENNIX_BENCH_PHOTOS, or in
// plennix-photo-bench under the temporary folder; the document photo-calendar.PXF is written beside
// them, so that the command line can be timed on the same run:
//   plennix --print-pdf out.pdf --months 12 --pictures FOLDER/photos FOLDER/photo-calendar.PXF
//
// Counters: the PDF's size, the peak resident memory of the process so far, and the lowest pixels per
// inch any picture got.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>
#include <algorithm>
#include <cstdio>

#include "app/document_io.h"
#include "app/photo_pictures.h"
#include "app/photo_run.h"
#include "calendar/calendar_panel.h"
#include "objects/image_decoding.h"
#include "objects/image_object.h"
#include "platform/stream_error.h"

using namespace plennix;

namespace {

constexpr int kPhotos = 12;

QString benchFolder() {
    const QByteArray env = qgetenv("PLENNIX_BENCH_PHOTOS");
    return env.isEmpty() ? QDir::temp().filePath(QStringLiteral("plennix-photo-bench")) : QString::fromLocal8Bit(env);
}

// The photos, made on first use; empty when they could not be made.
QStringList photos() {
    static const QStringList list = [] {
        const QString folder = QDir(benchFolder()).filePath(QStringLiteral("photos"));
        const QString script =
            QFileInfo(QString::fromUtf8(__FILE__)).dir().filePath(QStringLiteral("photo_make_photos.sh"));
        QProcess make;
        make.setProcessChannelMode(QProcess::ForwardedChannels);
        make.start(QStringLiteral("sh"), {script, folder, QString::number(kPhotos)});
        if (!make.waitForFinished(600000) || make.exitCode() != 0) return QStringList();
        QString error;
        return ListFolderPictures(folder, &error);
    }();
    return list;
}

// The page: Letter, portrait, the month in the lower half and the picture above it.
struct PhotoCalendar {
    QWidget owner;
    TCalendarPanel32 page{nullptr};
    TGImage* photo = nullptr;
    PhotoCalendar() {
        page.SetNamingOwner(&owner);
        page.ResetToDefaults();
        page.SetCalendarLayout(TCalendarLayout::loFullCalendar);
        page.SetMainCalYear(2027);
        page.SetMainCalMonth(1);
        page.SetMainCalDay(1);
        page.SetTopMarginInch(5.75f);
        page.PaintToBitmap();
        photo = new TGImage(&owner);
        photo->Loaded();
        // 7.5 × 5 inches at 96 pixels per inch, half an inch from the paper's top left corner.
        page.AddObject(photo, Rect::fromBounds(48, 48, 720, 480));
        photo->SetPictureOfTheMonth(true);
    }
};

long peakResidentMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

void BM_TwelveMonthsPdfWithPhotos(benchmark::State& state) {
    const QStringList pictures = photos();
    if (pictures.size() < kPhotos) {
        state.SkipWithError("the test photos could not be made (is ImageMagick installed?)");
        return;
    }
    PhotoCalendar calendar;
    QDir().mkpath(benchFolder());
    calendar.page.SaveToFile(QDir(benchFolder()).filePath(QStringLiteral("photo-calendar.PXF")));
    const QString pdf = QDir(benchFolder()).filePath(QStringLiteral("photo-calendar.pdf"));
    QString error;
    for (auto _ : state) {
        auto run = MonthPictures::Make(calendar.page.Page(), pictures, PictureFit::Crop, kPhotos, &error);
        if (!run || !WritePagesPdf(calendar.page.Page(), pdf, kPhotos, &error, run->Preparer())) {
            state.SkipWithError(error.toLocal8Bit().constData());
            return;
        }
    }
    state.counters["pdf_MB"] = double(QFileInfo(pdf).size()) / (1024.0 * 1024.0);
    state.counters["peak_rss_MB"] = double(peakResidentMegabytes());
}
BENCHMARK(BM_TwelveMonthsPdfWithPhotos)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The floor: the twelve photos decoded at the size they print, one after the other, nothing drawn.
void BM_DecodeTwelvePhotosFloor(benchmark::State& state) {
    const QStringList pictures = photos();
    if (pictures.size() < kPhotos) {
        state.SkipWithError("the test photos could not be made (is ImageMagick installed?)");
        return;
    }
    const QSizeF inches(7.5, 5.0);
    double lowestPpi = 1e9;
    for (auto _ : state) {
        for (const QString& path : pictures) {
            const PlacedPicture p = DecodePlacedPicture(path, inches, PictureFit::Crop);
            if (p.image.isNull()) {
                state.SkipWithError(p.error.toLocal8Bit().constData());
                return;
            }
            lowestPpi = std::min({lowestPpi, p.image.width() / inches.width(), p.image.height() / inches.height()});
        }
    }
    state.counters["lowest_ppi"] = lowestPpi;
}
BENCHMARK(BM_DecodeTwelvePhotosFloor)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

namespace {

// The window: the page with one 12-megapixel clip-art picture drawn again after a zoom step (the
// picture's on-screen size changes every time), as zooming in and out does.
void BM_PaintPageWithPhotoAfterZoomStep(benchmark::State& state) {
    const QStringList pictures = photos();
    if (pictures.isEmpty()) {
        state.SkipWithError("the test photos could not be made (is ImageMagick installed?)");
        return;
    }
    PhotoCalendar calendar;
    const QImage photo(pictures.first());
    calendar.photo->SetPicture(TImagePicture::FromBitmap(photo));
    calendar.page.resize(calendar.page.sizeHint());
    calendar.page.RenderPage();  // the first showing
    const float zooms[] = {1.1f, 1.0f};
    int step = 0;
    for (auto _ : state) {
        calendar.page.SetZoom(zooms[step++ % 2]);
        benchmark::DoNotOptimize(calendar.page.RenderPage());
    }
}
BENCHMARK(BM_PaintPageWithPhotoAfterZoomStep)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);

// A 12-megapixel photo read into a clip-art picture, as the image browser's OK takes it over: decoded
// whole (bounded), then kept as the bitmap the document stores.
void BM_ReadPhotoIntoClipArt(benchmark::State& state) {
    const QStringList pictures = photos();
    if (pictures.isEmpty()) {
        state.SkipWithError("the test photos could not be made (is ImageMagick installed?)");
        return;
    }
    for (auto _ : state) {
        QString error;
        const QImage image = LoadPictureFile(pictures.first(), &error);
        if (image.isNull()) {
            state.SkipWithError(error.toLocal8Bit().constData());
            return;
        }
        benchmark::DoNotOptimize(TImagePicture::FromBitmap(image));
    }
}
BENCHMARK(BM_ReadPhotoIntoClipArt)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The same page without its picture: what the calendar alone costs.
void BM_PaintPageWithoutPhotoAfterZoomStep(benchmark::State& state) {
    PhotoCalendar calendar;
    calendar.page.resize(calendar.page.sizeHint());
    calendar.page.RenderPage();
    const float zooms[] = {1.1f, 1.0f};
    int step = 0;
    for (auto _ : state) {
        calendar.page.SetZoom(zooms[step++ % 2]);
        benchmark::DoNotOptimize(calendar.page.RenderPage());
    }
}
BENCHMARK(BM_PaintPageWithoutPhotoAfterZoomStep)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);

}  // namespace
