// Print Months with pictures from a folder: the dialog's picture controls, the printed run with its
// pictures, the preview of the run, and the message that lists pictures that could not be read.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include "app/print_commands.h"
#include "objects/image_object.h"
#include "platform/common_dialogs.h"
#include "print_support.h"
#include "test_support.h"

using namespace plennix;
using namespace plennix::test;

namespace {

QImage filled(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A page with a clip-art picture and a folder of two photos and one damaged file.
struct PhotoSetup {
    QTemporaryDir dir;
    PrintablePage p;
    TGImage* photo = nullptr;
    QString folder;
    PhotoSetup() {
        photo = new TGImage(&p.owner);
        photo->Loaded();
        photo->SetPicture(TImagePicture::FromBitmap(filled(20, 20, qRgb(0, 255, 0))));
        p.page.AddObject(photo, Rect::fromBounds(96, 96, 288, 192));
        folder = dir.filePath(QStringLiteral("photos"));
        QDir().mkpath(folder);
        filled(600, 400, qRgb(255, 0, 0)).save(folder + QStringLiteral("/1.jpg"), "JPEG");
        filled(600, 400, qRgb(0, 0, 255)).save(folder + QStringLiteral("/2.jpg"), "JPEG");
        QFile damaged(folder + QStringLiteral("/3.jpg"));
        damaged.open(QIODevice::WriteOnly);
        damaged.write("not a picture");
    }
};

// The width × height of the JPEG images in the PDF, in order.
QStringList jpegImages(const QString& pdf) {
    QStringList sizes;
    const QStringList lines =
        runTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}).split('\n', Qt::SkipEmptyParts);
    for (const QString& line : lines.mid(2)) {
        const QStringList c = line.split(' ', Qt::SkipEmptyParts);
        if (c.value(8) == QLatin1String("jpeg")) sizes << c.value(3) + 'x' + c.value(4);
    }
    return sizes;
}

}  // namespace

TEST(PhotoPrintMonths, DialogOffersAFolderAndTheFitWithTheirNames) {
    PhotoSetup s;
    TPrintMonthsDialog dialog;
    auto* button = dialog.findChild<QPushButton*>(QStringLiteral("PicturesFolderButton"));
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("PicturesFolderEdit"));
    auto* fit = dialog.findChild<QComboBox*>(QStringLiteral("PictureFitCombo"));
    auto* found = dialog.findChild<QLabel*>(QStringLiteral("PicturesFoundLabel"));
    auto* preview = dialog.findChild<QPushButton*>(QStringLiteral("PreviewButton"));
    ASSERT_TRUE(button && edit && fit && found && preview);
    EXPECT_TRUE(button->accessibleName().contains(QStringLiteral("Pictures from folder")));
    EXPECT_TRUE(preview->accessibleName().contains(QStringLiteral("Preview")));
    EXPECT_TRUE(fit->accessibleName().contains(QStringLiteral("Fit")));
    EXPECT_FALSE(edit->accessibleName().isEmpty());
    EXPECT_FALSE(fit->isEnabled());  // nothing to fit without a folder

    // The folder button's chooser, answered by the test.
    ScopedHook chooser(SetModalDialogRunner, [&s](QDialog& d) {
        auto* files = qobject_cast<QFileDialog*>(&d);
        if (!files) return int(QDialog::Rejected);
        EXPECT_EQ(files->fileMode(), QFileDialog::Directory);
        files->selectFile(s.folder);
        return int(QDialog::Accepted);
    });
    button->click();
    EXPECT_EQ(QDir(dialog.PicturesFolder()), QDir(s.folder));
    EXPECT_TRUE(fit->isEnabled());
    EXPECT_TRUE(found->text().startsWith(QStringLiteral("3 pictures"))) << found->text().toStdString();
    dialog.SetFit(PictureFit::Fit);
    EXPECT_EQ(dialog.Fit(), PictureFit::Fit);
    edit->setText(s.dir.filePath(QStringLiteral("nowhere")));
    EXPECT_TRUE(found->text().contains(QStringLiteral("nowhere"))) << found->text().toStdString();

    preview->click();
    EXPECT_EQ(dialog.result(), TPrintMonthsDialog::PreviewResult);
}

TEST(PhotoPrintMonths, PrintedRunCarriesThePicturesAndNamesTheUnreadable) {
    PhotoSetup s;
    MessageRecorder messages;
    ScopedHook dialogs(SetModalDialogRunner, [&s](QDialog& d) {
        auto& months = static_cast<TPrintMonthsDialog&>(d);
        months.SetMonths(3);
        months.SetPicturesFolder(s.folder);
        return int(QDialog::Accepted);
    });
    const QString pdf = s.dir.filePath(QStringLiteral("run.pdf"));
    {
        ScopedPrinter printer(pdf, 1, 1);
        PrintMonthsCommand(nullptr, s.p.page);
    }
    EXPECT_EQ(PdfPageCount(pdf), 3);
    // The third page's picture could not be read: it shows the calendar's own (20 × 20) picture.
    EXPECT_EQ(jpegImages(pdf), (QStringList{"600x400", "600x400", "20x20"}));
    ASSERT_GE(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[messages.shown.size() - 2].text,
              QStringLiteral("Print job completed and sent to printer!"));
    EXPECT_TRUE(messages.lastText().contains(s.folder + QStringLiteral("/3.jpg: ")))
        << messages.lastText().toStdString();
    EXPECT_TRUE(s.photo->StandInPicture().isNull());
    EXPECT_EQ(s.photo->Picture().Width(), 20);
}

TEST(PhotoPrintMonths, PreviewShowsTheRunWithItsPictures) {
    PhotoSetup s;
    MessageRecorder messages;
    int previewPages = -1;
    QImage secondPage;
    ScopedHook dialogs(SetModalDialogRunner, [&](QDialog& d) {
        if (auto* months = qobject_cast<TPrintMonthsDialog*>(&d)) {
            months->SetMonths(2);
            months->SetPicturesFolder(s.folder);
            return int(TPrintMonthsDialog::PreviewResult);
        }
        auto* preview = qobject_cast<QPrintPreviewDialog*>(&d);
        EXPECT_NE(preview, nullptr);
        if (!preview) return int(QDialog::Rejected);
        auto* widget = preview->findChild<QPrintPreviewWidget*>();
        widget->updatePreview();
        previewPages = widget->pageCount();
        // Rendered twice (the dialog renders again after a change of set-up): the same pictures.
        widget->updatePreview();
        return int(QDialog::Rejected);
    });
    PrintMonthsCommand(nullptr, s.p.page);
    EXPECT_EQ(previewPages, 2);
    EXPECT_TRUE(messages.shown.empty()) << messages.lastText().toStdString();  // both pictures were read
    EXPECT_TRUE(s.photo->StandInPicture().isNull());
}
