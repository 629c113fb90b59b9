// Printing SuperText: the glyphs reach the printer as outline paths used as clips (vector output),
// textures as tiles and gradients as bands, at the page position in inches.
#include <gtest/gtest.h>

#include <QFile>
#include <QPaintEngine>
#include <QTemporaryDir>

#include "objects/super_text.h"
#include "printing/report.h"

namespace plennix {
namespace {

// A printer stand-in at 600 pixels per inch that counts what reaches it.
class RecordingEngine : public QPaintEngine {
public:
    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& state) override {
        if (state.state() & QPaintEngine::DirtyClipPath) {
            if (state.clipOperation() != Qt::NoClip) {
                ++clipPaths;
                clipBounds = clipBounds.united(state.clipPath().boundingRect());
            }
        }
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { ++pictures; }
    void drawImage(const QRectF& r, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {
        ++pictures;
        pictureArea = pictureArea.united(r);
    }
    void drawPath(const QPainterPath&) override { ++paths; }
    void drawRects(const QRectF* rects, int count) override {
        rectCount += count;
        for (int i = 0; i < count; ++i) fillArea = fillArea.united(rects[i]);
    }
    void drawRects(const QRect* rects, int count) override {
        rectCount += count;
        for (int i = 0; i < count; ++i) fillArea = fillArea.united(QRectF(rects[i]));
    }
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override { ++polygons; }
    void drawTextItem(const QPointF&, const QTextItem&) override { ++textItems; }
    Type type() const override { return QPaintEngine::User; }

    int clipPaths = 0, pictures = 0, paths = 0, rectCount = 0, polygons = 0, textItems = 0;
    QRectF clipBounds, pictureArea, fillArea;
};

class RecordingDevice : public QPaintDevice {
public:
    QPaintEngine* paintEngine() const override { return &engine; }
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
        case PdmWidth: return 5100;
        case PdmHeight: return 6600;
        case PdmWidthMM: return 216;
        case PdmHeightMM: return 279;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return 600;
        case PdmDepth: return 32;
        case PdmNumColors: return INT_MAX;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return 1 * QPaintDevice::devicePixelRatioFScale();
        default: return 0;
        }
    }
    mutable RecordingEngine engine;
};

void printOn(RecordingDevice& device, TGSuperText& t) {
    TReport report;
    report.SetDevice(&device);
    ASSERT_TRUE(report.BeginDoc()) << report.ErrorText().toStdString();
    t.PrintTo(report, 1.0, 0.5);
    report.EndDoc();
}

TEST(SuperTextPrint, NormalFaceIsAClipPathFilledNotAPicture) {
    TGSuperText t;
    t.SetSurfaceType(stNormal);
    t.SetOutlineStyle(PenStyle::psClear);
    t.SetBounds(96, 48, 300, 100);
    RecordingDevice device;
    printOn(device, t);
    const RecordingEngine& e = device.engine;
    EXPECT_EQ(e.pictures, 0);
    EXPECT_EQ(e.textItems, 0);
    EXPECT_GE(e.clipPaths, 1);
    // The glyphs lie on the page where the object is: 1 inch + 96 pixels = 2 inches from the left.
    EXPECT_NEAR(e.clipBounds.left(), 2.0 * 600 + 5 * 600 / 96.0, 40);
    EXPECT_GT(e.clipBounds.top(), 1.0 * 600 - 10);
    EXPECT_LT(e.clipBounds.bottom(), 1.0 * 600 + 100 * 600 / 96.0);
}

TEST(SuperTextPrint, OutlineShadowTextureAndGradientReachThePrinter) {
    TGSuperText t;
    t.SetBounds(0, 0, 300, 100);
    t.SetShadowDepth(3);
    RecordingDevice outlined;
    printOn(outlined, t);
    // Shadow clip and face clip, outline stroked as a path; the gradient in 256 bands or more.
    EXPECT_GE(outlined.engine.clipPaths, 2);
    EXPECT_GE(outlined.engine.paths, 1);
    EXPECT_GE(outlined.engine.rectCount, 256);
    EXPECT_EQ(outlined.engine.pictures, 0);

    t.SetSurfaceType(stBrushImage);
    QImage tex(32, 32, QImage::Format_RGB32);
    tex.fill(Qt::green);
    t.SetImage(tex);
    RecordingDevice textured;
    printOn(textured, t);
    // 32 screen pixels are 200 printer pixels: the tiles cover the object's 1875 x 625 printer pixels.
    EXPECT_GE(textured.engine.pictures, 10 * 4);
    EXPECT_GE(textured.engine.pictureArea.width(), 300 * 600 / 96.0);
}

TEST(SuperTextPrint, EmptyCaptionPrintsOnlyTheBox) {
    TGSuperText t;
    t.SetCaption(QString());
    t.SetBorderStyle(bsSingle);
    t.SetBounds(0, 0, 200, 80);
    RecordingDevice device;
    printOn(device, t);
    EXPECT_EQ(device.engine.clipPaths, 0);
    EXPECT_EQ(device.engine.pictures, 0);
}

TEST(SuperTextPrint, PdfKeepsTheTextAsVectorPaths) {
    QTemporaryDir dir;
    const auto printPdf = [&](TGSuperText& t, const QString& name) {
        TReport report;
        report.SetPdfOutput(dir.filePath(name));
        EXPECT_TRUE(report.BeginDoc());
        t.PrintTo(report, 0.5, 0.5);
        report.EndDoc();
        QFile f(dir.filePath(name));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    };
    TGSuperText t;
    t.SetSurfaceType(stNormal);
    t.SetBounds(0, 0, 300, 100);
    const QByteArray pdf = printPdf(t, QStringLiteral("normal.pdf"));
    ASSERT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_FALSE(pdf.contains("/Subtype /Image"));
    t.SetSurfaceType(stBrushImage);
    QImage tex(16, 16, QImage::Format_RGB32);
    tex.fill(Qt::red);
    t.SetImage(tex);
    EXPECT_TRUE(printPdf(t, QStringLiteral("texture.pdf")).contains("/Subtype /Image"));
}

}  // namespace
}  // namespace plennix
