// Pictures of the net drawn off the canvas: the same pixels as the canvas, at other scales, as
// SVG and PDF, and over the whole net.
#include "FramePicture.h"
#include "Canvas.h"
#include "Frame.h"
#include "FrameImage.h"
#include "NetObjects.h"
#include "SvgPicture.h"
#include "Viewport.h"

#include <QBuffer>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

const QColor kBackground(180, 180, 180);

class FramePictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitEngine(Engine);
        Engine.GridEnabled = true;
        Engine.TimeLineEnabled = true;
        Engine.Net.ModelTime = 12.5;
        ResizeView(Engine.Graph, 400, 300);
    }
    // A vertex and a transition joined both ways, one connection with a count of 3.
    void SmallNet(int x = 0, int y = 0) {
        TVertex* v = CreateVertex(Engine.Net, "P1", 4, x - 600, y, &Engine.Graph.Options);
        TTransition* t = CreateTransition(Engine.Net, "T1", x + 600, 2.5, y, &Engine.Graph.Options);
        CreateConnection(Engine.Net, ctVT, 3, v, t, &Engine.Graph.Options);
        CreateConnection(Engine.Net, ctTV, 1, v, t, &Engine.Graph.Options);
    }
    TPoint Screen(const TPictureView& view, int mx, int my) {
        TEngineGraph g = Engine.Graph;
        g.CenterX = view.CenterX;
        g.CenterY = view.CenterY;
        g.ScreenWidth = view.Width;
        g.ScreenHeight = view.Height;
        g.Scale = view.Scale;
        return ModelToScreen(g, mx, my);
    }
    static int NotBackground(const QImage& image, QRect area) {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                count += image.pixelColor(x, y) != kBackground;
        return count;
    }

    TEngine Engine;
};

TEST_F(FramePictureTest, VisiblePartAtScaleOneIsTheCanvasFramePixelForPixel) {
    SmallNet();
    DrawFrame(Engine);
    const TEngineGraph before = Engine.Graph;
    const QImage picture = PictureImage(Engine, VisiblePictureView(Engine.Graph));
    EXPECT_EQ(picture, Engine.Graph.FrontImage->Image);
    // The window's view is left as it was.
    EXPECT_EQ(Engine.Graph.ScreenWidth, before.ScreenWidth);
    EXPECT_EQ(Engine.Graph.Scale, before.Scale);
    EXPECT_EQ(Engine.Graph.VisibleLeft, before.VisibleLeft);
    EXPECT_EQ(Engine.Graph.VisibleBottom, before.VisibleBottom);

    const QImage doubled = PictureImage(Engine, VisiblePictureView(Engine.Graph), 2);
    EXPECT_EQ(doubled.size(), QSize(800, 600));
    const TPoint v = Screen(VisiblePictureView(Engine.Graph), -600, 0);
    EXPECT_EQ(doubled.pixelColor(2 * v.X - 20, 2 * v.Y), QColor(Qt::white));
}

TEST_F(FramePictureTest, RubberBandAndCreationOutlineStayOnTheScreen) {
    SmallNet();
    DrawFrame(Engine);
    const QImage plain = Engine.Graph.FrontImage->Image;
    Engine.EditMode = emRubberBand;
    Engine.BandStartX = 10;
    Engine.BandStartY = 10;
    Engine.Graph.CursorX = 390;
    Engine.Graph.CursorY = 200;
    DrawFrame(Engine);
    ASSERT_NE(Engine.Graph.FrontImage->Image, plain);
    EXPECT_EQ(PictureImage(Engine, VisiblePictureView(Engine.Graph)), plain);
    Engine.EditMode = emCreateVertex;
    EXPECT_EQ(PictureImage(Engine, VisiblePictureView(Engine.Graph)), plain);
}

TEST_F(FramePictureTest, WholeNetHoldsObjectsOutsideTheViewWithAMargin) {
    Engine.GridEnabled = false;
    Engine.TimeLineEnabled = false;
    SmallNet(-9000, 0);
    SmallNet(12000, 6000);
    const auto view = PictureView(Engine, TPictureExtent::WholeNet);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->Scale, Engine.Graph.Scale);
    const QImage picture = PictureImage(Engine, *view);
    ASSERT_EQ(picture.size(), QSize(view->Width, view->Height));
    for (const TPoint p : {TPoint{-9600, 0}, TPoint{12000 - 600, 6000}}) {
        const TPoint s = Screen(*view, p.X, p.Y);
        EXPECT_EQ(picture.pixelColor(s.X - 20, s.Y), QColor(Qt::white));
    }
    // Everything lies inside the margin, and the margin is not much wider than asked.
    const int m = kPictureMargin;
    EXPECT_EQ(NotBackground(picture, {1, 1, view->Width - 2, m / 2 - 1}), 0);
    EXPECT_EQ(NotBackground(picture, {1, view->Height - m / 2, view->Width - 2, m / 2 - 1}), 0);
    EXPECT_EQ(NotBackground(picture, {1, 1, m / 2 - 1, view->Height - 2}), 0);
    EXPECT_EQ(NotBackground(picture, {view->Width - m / 2, 1, m / 2 - 1, view->Height - 2}), 0);
    EXPECT_GT(NotBackground(picture, {m + 4, 1, view->Width - 2 * m - 8, m + 8}), 0);
    EXPECT_GT(NotBackground(picture, {1, m + 4, m + 8, view->Height - 2 * m - 8}), 0);
}

TEST_F(FramePictureTest, WholeNetLeavesRoomForTheTimeLineAndFitsAHugeNet) {
    SmallNet();
    const auto withBand = WholeNetPictureView(Engine, Engine.Graph.Scale);
    Engine.TimeLineEnabled = false;
    const auto without = WholeNetPictureView(Engine, Engine.Graph.Scale);
    ASSERT_TRUE(withBand && without);
    EXPECT_EQ(withBand->Height, without->Height + Engine.Graph.Options.TimeLineHeight);

    CreateVertex(Engine.Net, "far", 0, 1'000'000, 0, &Engine.Graph.Options);
    const auto huge = WholeNetPictureView(Engine, Engine.Graph.Options.MaxScale);
    ASSERT_TRUE(huge);
    EXPECT_LE(huge->Width, kMaxPictureSide);
    EXPECT_LT(huge->Scale, Engine.Graph.Options.MaxScale);
    EXPECT_FALSE(IsPictureSizeAllowed(*huge, 2));

    TEngine empty;
    InitEngine(empty);
    EXPECT_FALSE(WholeNetPictureView(empty, 1));
}

TEST_F(FramePictureTest, SvgIsWellFormedAndLooksLikeThePng) {
    SmallNet();
    DrawFrame(Engine);
    const TPictureView view = VisiblePictureView(Engine.Graph);
    const QByteArray svg = PictureBytes(Engine, view, TPictureFormat::Svg, 1, "Моя сітка");
    QXmlStreamReader xml(svg);
    bool root = false, title = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QString("svg")) {
            root = true;
            EXPECT_EQ(xml.attributes().value("viewBox").toString(), QString("0 0 400 300"));
        }
        if (xml.isStartElement() && xml.name() == QString("title"))
            title = xml.readElementText() == "Моя сітка";
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_TRUE(root);
    EXPECT_TRUE(title);

    const QImage drawn = RenderSvg(svg, Qt::magenta);
    ASSERT_EQ(drawn.size(), QSize(400, 300));
    const QImage& png = Engine.Graph.FrontImage->Image;
    const TPoint v = Screen(view, -600, 0);
    EXPECT_EQ(drawn.pixelColor(v.X - 20, v.Y), QColor(Qt::white));
    EXPECT_EQ(drawn.pixelColor(5, 5), png.pixelColor(5, 5));
    // Lines and text are smoothed in the SVG; most pixels still agree.
    int differ = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            differ += drawn.pixelColor(x, y) != png.pixelColor(x, y);
    EXPECT_LT(differ, 400 * 300 / 10);
}

TEST_F(FramePictureTest, PdfPageIsThePictureAndConvertsToTheSameImage) {
    SmallNet();
    DrawFrame(Engine);
    const TPictureView view = VisiblePictureView(Engine.Graph);
    const QByteArray pdf = PictureBytes(Engine, view, TPictureFormat::Pdf, 1, "Сітка");
    ASSERT_TRUE(pdf.startsWith("%PDF"));
    const QString converter = QStandardPaths::findExecutable("pdftoppm");
    if (converter.isEmpty())
        GTEST_SKIP() << "pdftoppm is not installed";
    QTemporaryDir folder;
    QFile file(folder.filePath("net.pdf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(pdf);
    file.close();
    // The page is 3/4 of the picture's pixels in points, so 72 dots per inch give 3/4 the size.
    QProcess process;
    process.start(converter,
                  {"-png", "-r", "72", "-singlefile", file.fileName(), folder.filePath("page")});
    ASSERT_TRUE(process.waitForFinished(30000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const QImage page(folder.filePath("page.png"));
    ASSERT_EQ(page.size(), QSize(300, 225));
    const TPoint v = Screen(view, -600, 0);
    EXPECT_EQ(page.pixelColor(v.X * 3 / 4 - 12, v.Y * 3 / 4), QColor(Qt::white));
    EXPECT_EQ(page.pixelColor(5, 5), kBackground);
}

TEST(PictureFormat, FollowsTheExtensionInAnyCase) {
    EXPECT_EQ(PictureFormatOf("a/net.SVG"), TPictureFormat::Svg);
    EXPECT_EQ(PictureFormatOf("net.Pdf"), TPictureFormat::Pdf);
    EXPECT_EQ(PictureFormatOf("net.png"), TPictureFormat::Png);
    EXPECT_EQ(PictureFormatOf("net.svg.bak"), TPictureFormat::Png);
    EXPECT_EQ(PictureFormatOf("net"), TPictureFormat::Png);
}

} // namespace
