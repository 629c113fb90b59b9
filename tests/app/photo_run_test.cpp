// Runs of months with a picture per page: which clip art is the Picture of the Month and how its mark
// travels with the document, the pictures page by page in PNG and PDF output (each embedded once as
// JPEG), unreadable pictures, and the command line's --pictures.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include "surface/object_menus.h"
#include "app/command_line.h"
#include "app/document_io.h"
#include "app/photo_run.h"
#include "objects/image_object.h"
#include "print_support.h"
#include "test_support.h"

using namespace plennix;
using namespace plennix::test;

namespace {

CommandLine parse(QStringList args) {
    args.prepend(QStringLiteral("plennix"));
    return ParseCommandLine(args);
}

QImage filled(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

TGImage* addImage(PrintablePage& p, const Rect& r, QRgb colour = qRgb(0, 255, 0)) {
    auto* image = new TGImage(&p.owner);
    image->Loaded();
    image->SetPicture(TImagePicture::FromBitmap(filled(20, 20, colour)));
    p.page.AddObject(image, r);
    return image;
}

void putJpeg(const QString& path, QRgb colour, int w = 640, int h = 480) {
    ASSERT_TRUE(filled(w, h, colour).save(path, "JPEG", 90));
}

QRgb centreOf(const QImage& page, const TGImage& image, double scale) {
    return page.pixel(int((image.Left() + image.Width() / 2) * scale),
                      int((image.Top() + image.Height() / 2) * scale)) &
           0xFFFFFF;
}

bool near(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) < 40 && std::abs(qGreen(a) - qGreen(b)) < 40 &&
           std::abs(qBlue(a) - qBlue(b)) < 40;
}

}  // namespace

TEST(PhotoRun, MarkedPictureOrElseTheLargestAndOneMarkPerPage) {
    PrintablePage p;
    EXPECT_EQ(PictureOfTheMonthPlaceholder(p.page.Objects()), nullptr);
    TGImage* small = addImage(p, Rect::fromBounds(10, 10, 100, 100));
    TGImage* large = addImage(p, Rect::fromBounds(200, 10, 300, 200));
    TGImage* tie = addImage(p, Rect::fromBounds(600, 10, 200, 300));
    EXPECT_EQ(PictureOfTheMonthPlaceholder(p.page.Objects()), large);  // the first of equal areas
    EXPECT_EQ(MarkedPictureOfTheMonth(p.page.Objects()), nullptr);

    // The menu's check item marks one object; marking another takes the mark from the first.
    ObjectContextMenu(*small);
    QAction* item = ObjectMenuAction(*small, QStringLiteral("Picture of the Month"));
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->isCheckable());
    item->trigger();
    EXPECT_TRUE(small->IsPictureOfTheMonth());
    EXPECT_EQ(PictureOfTheMonthPlaceholder(p.page.Objects()), small);
    tie->SetPictureOfTheMonth(true);
    EXPECT_FALSE(small->IsPictureOfTheMonth());
    UpdateObjectMenu(*small);
    EXPECT_FALSE(item->isChecked());
    EXPECT_EQ(PictureOfTheMonthPlaceholder(p.page.Objects()), tie);
    tie->TogglePictureOfTheMonth();
    EXPECT_EQ(PictureOfTheMonthPlaceholder(p.page.Objects()), large);

    // The mark is the Tag: it comes back from the document, where reading renames every object.
    small->SetPictureOfTheMonth(true);
    EXPECT_EQ(small->Tag(), kPictureOfTheMonthTag);
    QTemporaryDir dir;
    const QString doc = dir.filePath(QStringLiteral("marked.PXF"));
    p.page.SaveToFile(doc);
    PrintablePage back;
    back.page.LoadFromFile(doc, &back.owner);
    TGImage* marked = MarkedPictureOfTheMonth(back.page.Objects());
    ASSERT_NE(marked, nullptr);
    EXPECT_EQ(marked->Width(), 100);
    EXPECT_EQ(marked->Left(), 10);
}

TEST(PhotoRun, ACloneOrACopyPastedLeavesTheMarkWithTheOriginal) {
    // Clone and Paste read the object's record back, Tag and all: without care the page would hold two
    // ticked pictures, and the run would take the copy.
    PrintablePage p;
    TGImage* marked = addImage(p, Rect::fromBounds(10, 10, 100, 100));
    marked->SetPictureOfTheMonth(true);
    CloneObjectOnPage(*marked);
    ASSERT_EQ(p.page.Objects().size(), 2u);
    auto* copy = qobject_cast<TGImage*>(p.page.Objects().back());
    ASSERT_NE(copy, nullptr);
    ASSERT_NE(copy, marked);
    EXPECT_FALSE(copy->IsPictureOfTheMonth());
    EXPECT_TRUE(marked->IsPictureOfTheMonth());
    EXPECT_EQ(MarkedPictureOfTheMonth(p.page.Objects()), marked);
}

TEST(PhotoRun, EachPageShowsItsPictureAndTheDocumentStaysAsItWas) {
    QTemporaryDir dir;
    PrintablePage p;
    TGImage* photo = addImage(p, Rect::fromBounds(96, 96, 288, 192), qRgb(0, 255, 0));
    const QString red = dir.filePath(QStringLiteral("1.jpg")), blue = dir.filePath(QStringLiteral("2.jpg"));
    putJpeg(red, qRgb(255, 0, 0));
    putJpeg(blue, qRgb(0, 0, 255));
    const QString broken = dir.filePath(QStringLiteral("3.jpg"));
    QFile(broken).open(QIODevice::WriteOnly);

    QString error;
    std::unique_ptr<MonthPictures> run = MonthPictures::Make(p.page.Page(), {red, blue, broken}, PictureFit::Crop, 4, &error);
    ASSERT_TRUE(run) << error.toStdString();
    const QString png = dir.filePath(QStringLiteral("month.png"));
    ASSERT_TRUE(WritePagesPng(p.page.Page(), png, 1.0f, 4, &error, run->Preparer())) << error.toStdString();
    const QRgb expected[] = {0xFF0000, 0x0000FF, 0x00FF00 /* unreadable: as designed */, 0xFF0000};
    for (int i = 0; i < 4; ++i) {
        const QImage page(NumberedPageFile(png, i, 4));
        ASSERT_FALSE(page.isNull());
        EXPECT_TRUE(near(centreOf(page, *photo, 1.0), expected[i]))
            << i << " " << std::hex << centreOf(page, *photo, 1.0);
    }
    ASSERT_EQ(run->Unreadable().size(), 1);
    EXPECT_TRUE(run->Unreadable().first().startsWith(broken + QStringLiteral(": ")));
    EXPECT_TRUE(UnreadablePicturesMessage(run->Unreadable()).contains(broken));
    // The page shows its own picture again.
    EXPECT_TRUE(photo->StandInPicture().isNull());
    EXPECT_TRUE(near(centreOf(p.page.RenderPage(), *photo, 1.0), 0x00FF00));

    // Fit: a wide picture inside a tall placeholder leaves the page's background above and below.
    photo->SetBounds(96, 96, 96, 288);
    run = MonthPictures::Make(p.page.Page(), {red}, PictureFit::Fit, 1, &error);
    run->PrepareNextPage(p.page.Objects());
    const QImage shown = photo->RenderBitmap();
    EXPECT_TRUE(near(shown.pixel(48, 144) & 0xFFFFFF, 0xFF0000));
    EXPECT_TRUE(near(shown.pixel(48, 10) & 0xFFFFFF, 0xFFFFFF));

    PrintablePage bare;
    EXPECT_EQ(MonthPictures::Make(bare.page.Page(), {red}, PictureFit::Crop, 1, &error), nullptr);
    EXPECT_TRUE(error.contains(QStringLiteral("Picture of the Month"))) << error.toStdString();
}

// Each picture goes into the PDF once, as JPEG data at the size it was decoded, on pages of the paper's
// size, where the page shows it.
TEST(PhotoRun, PdfEmbedsEachPictureOnceAsJpegAtItsPrintedResolution) {
    QTemporaryDir dir;
    PrintablePage p;
    p.page.SetPaperSize(1);  // A4
    // Four inches by three at 96 pixels per inch.
    addImage(p, Rect::fromBounds(96, 96, 384, 288));
    QStringList pictures;
    for (int i = 0; i < 3; ++i) {
        pictures << dir.filePath(QStringLiteral("p%1.jpg").arg(i));
        putJpeg(pictures.back(), qRgb(80 * i, 200, 255 - 80 * i), 4000, 3000);
    }
    QString error;
    auto run = MonthPictures::Make(p.page.Page(), pictures, PictureFit::Crop, 3, &error);
    ASSERT_TRUE(run);
    const QString pdf = dir.filePath(QStringLiteral("photos.pdf"));
    ASSERT_TRUE(WritePagesPdf(p.page.Page(), pdf, 3, &error, run->Preparer())) << error.toStdString();
    EXPECT_EQ(PdfPageCount(pdf), 3);
    EXPECT_TRUE(PdfPageSize(pdf).endsWith(QStringLiteral("(A4)"))) << PdfPageSize(pdf).toStdString();
    // The second page, drawn at 48 pixels per inch: its picture where the page shows the placeholder
    // (from one inch to five across, one to four down).
    runTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("48"), QStringLiteral("-f"),
                                         QStringLiteral("2"), QStringLiteral("-l"), QStringLiteral("2"),
                                         QStringLiteral("-png"), pdf, dir.filePath(QStringLiteral("page"))});
    const QImage page2(dir.filePath(QStringLiteral("page-2.png")));
    ASSERT_FALSE(page2.isNull());
    for (const QPoint& inside : {QPoint(50, 50), QPoint(238, 50), QPoint(50, 190), QPoint(238, 190), QPoint(144, 120)})
        EXPECT_TRUE(near(page2.pixel(inside) & 0xFFFFFF, qRgb(80, 200, 175) & 0xFFFFFF))
            << inside.x() << "," << inside.y();
    for (const QPoint& outside : {QPoint(45, 120), QPoint(243, 120), QPoint(144, 45), QPoint(144, 195)})
        EXPECT_FALSE(near(page2.pixel(outside) & 0xFFFFFF, qRgb(80, 200, 175) & 0xFFFFFF))
            << outside.x() << "," << outside.y();
    const QStringList lines =
        runTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}).split('\n', Qt::SkipEmptyParts);
    int images = 0;
    for (const QString& line : lines.mid(2)) {
        const QStringList c = line.split(' ', Qt::SkipEmptyParts);
        ASSERT_GE(c.size(), 14) << line.toStdString();
        ++images;
        EXPECT_EQ(c[2], QStringLiteral("image"));
        EXPECT_EQ(c[8], QStringLiteral("jpeg")) << line.toStdString();  // DCT, not Flate
        // A quarter of 4000 × 3000 is 250 pixels per inch of four by three inches.
        EXPECT_EQ(c[3], QStringLiteral("1000"));
        EXPECT_EQ(c[4], QStringLiteral("750"));
        EXPECT_NEAR(c[12].toDouble(), 250.0, 1.0);
    }
    EXPECT_EQ(images, 3);

    // Two pictures over four months: each is in the PDF once, drawn on two pages.
    run = MonthPictures::Make(p.page.Page(), pictures.mid(0, 2), PictureFit::Crop, 4, &error);
    ASSERT_TRUE(WritePagesPdf(p.page.Page(), pdf, 4, &error, run->Preparer())) << error.toStdString();
    QStringList objects;
    const QStringList listed =
        runTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}).split('\n', Qt::SkipEmptyParts);
    for (const QString& line : listed.mid(2)) objects << line.split(' ', Qt::SkipEmptyParts).value(10);
    ASSERT_EQ(objects.size(), 4);
    EXPECT_EQ(objects[0], objects[2]);
    EXPECT_EQ(objects[1], objects[3]);
    EXPECT_NE(objects[0], objects[1]);
}

TEST(PhotoRun, CommandLinePicturesFromAFolder) {
    EXPECT_EQ(parse({"--print-pdf", "o.pdf", "--months", "12", "--pictures", "photos", "d.PXF"}).pictures,
              QStringLiteral("photos"));
    EXPECT_TRUE(parse({"--export-png", "o.png", "--pictures", "f", "--picture-fit", "fit", "d.PXF"}).pictureFitInside);
    EXPECT_FALSE(parse({"--print-pdf", "o.pdf", "--pictures", "f", "--picture-fit", "crop", "d.PXF"}).pictureFitInside);
    const CommandLine wrongFit = parse({"--print-pdf", "o.pdf", "--pictures", "f", "--picture-fit", "fill", "d.PXF"});
    EXPECT_EQ(wrongFit.action, CommandLine::Action::Usage);
    EXPECT_TRUE(wrongFit.error.contains(QStringLiteral("fill")));
    EXPECT_EQ(parse({"--export-bmp", "o.bmp", "--pictures", "f", "d.PXF"}).action, CommandLine::Action::Usage);
    EXPECT_EQ(parse({"--print-pdf", "o.pdf", "--picture-fit", "fit", "d.PXF"}).action, CommandLine::Action::Usage);
    // Crop is what a run does anyway, but without --pictures the option has nothing to work on.
    EXPECT_EQ(parse({"--print-pdf", "o.pdf", "--picture-fit", "crop", "d.PXF"}).action, CommandLine::Action::Usage);

    QTemporaryDir dir;
    PrintablePage p;
    TGImage* photo = addImage(p, Rect::fromBounds(96, 96, 192, 192), qRgb(0, 255, 0));
    const QString doc = dir.filePath(QStringLiteral("photo.PXF"));
    p.page.SaveToFile(doc);
    const QByteArray saved = [&] {
        QFile f(doc);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    QDir(dir.path()).mkdir(QStringLiteral("photos"));
    putJpeg(dir.filePath(QStringLiteral("photos/b.jpg")), qRgb(0, 0, 255));
    putJpeg(dir.filePath(QStringLiteral("photos/a.jpg")), qRgb(255, 0, 0));
    const QString png = dir.filePath(QStringLiteral("out.png"));
    ASSERT_EQ(RunCommandLine(parse({"--export-png", png, "--months", "2", "--pictures", dir.filePath("photos"), doc})),
              0);
    EXPECT_TRUE(near(centreOf(QImage(dir.filePath(QStringLiteral("out-01.png"))), *photo, 1.0), 0xFF0000));
    EXPECT_TRUE(near(centreOf(QImage(dir.filePath(QStringLiteral("out-02.png"))), *photo, 1.0), 0x0000FF));
    QFile f(doc);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), saved);  // the document is not changed
    EXPECT_EQ(RunCommandLine(parse({"--print-pdf", png, "--pictures", dir.filePath("none"), doc})), 1);
}

// The window paints a clip-art picture from a kept bitmap: a photo larger than screen sizes is reduced
// once, and the kept bitmap follows every change of picture, stand-in, border and size.
TEST(PhotoWindow, KeptBitmapFollowsEveryChange) {
    TGImage image;
    image.SetBounds(0, 0, 300, 100);
    QImage photo = filled(6000, 2000, qRgb(255, 0, 0));
    for (int y = 0; y < 2000; ++y)
        for (int x = 3000; x < 6000; ++x) photo.setPixel(x, y, qRgb(0, 0, 255));
    image.SetPicture(TImagePicture::FromBitmap(photo));
    const QImage first = image.ShownBitmap();
    EXPECT_EQ(first.size(), QSize(300, 100));
    EXPECT_TRUE(near(first.pixel(60, 50) & 0xFFFFFF, 0xFF0000));
    EXPECT_TRUE(near(first.pixel(240, 50) & 0xFFFFFF, 0x0000FF));
    EXPECT_EQ(image.ShownBitmap().cacheKey(), first.cacheKey());  // nothing changed: the same bitmap

    image.SetPicture(TImagePicture::FromBitmap(filled(40, 40, qRgb(0, 255, 0))));
    EXPECT_TRUE(near(image.ShownBitmap().pixel(150, 50) & 0xFFFFFF, 0x00FF00));
    image.ToggleBorder();
    EXPECT_EQ(image.ShownBitmap().pixel(0, 50) & 0xFFFFFF, 0x000000u);
    image.SetStandInPicture(filled(30, 10, qRgb(255, 0, 255)));
    EXPECT_TRUE(near(image.ShownBitmap().pixel(150, 50) & 0xFFFFFF, 0xFF00FF));
    image.SetStandInPicture(QImage());
    EXPECT_TRUE(near(image.ShownBitmap().pixel(150, 50) & 0xFFFFFF, 0x00FF00));
    image.SetBounds(0, 0, 120, 60);
    EXPECT_EQ(image.ShownBitmap().size(), QSize(120, 60));
}
