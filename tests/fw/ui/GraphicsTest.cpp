#include "fw/ui/Graphics.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "fw/pictures/Picture.h"

namespace {

constexpr QRgb kWhite = 0xFFFFFFFFu;

// Draws through a Graphics bound to a painter over a white image, as a Paint handler would.
QImage DrawOnWhite(int width, int height, const std::function<void(fw::Graphics&)>& draw) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(kWhite);
    fw::Ref<fw::Graphics> g = fw::Graphics::Create();
    {
        QPainter painter(&image);
        g->BindPainter(&painter, width, height);
        draw(*g);
        g->Unbind();
    }
    return image;
}

fw::Ref<fw::Picture> RedBluePair() {
    QImage pair(2, 1, QImage::Format_ARGB32);
    pair.setPixel(0, 0, 0xFFFF0000u);
    pair.setPixel(1, 0, 0xFF0000FFu);
    return fw::Picture::FromImage(pair);
}

// How much of the fore colour a pixel shows. Antialiasing spreads a diagonal over two pixels
// at half strength each, so curves and diagonals are checked for at least half.
enum class Ink { kNone, kHalf, kFull };

struct Pixel {
    int x;
    int y;
    Ink ink;
};

constexpr Ink kNone = Ink::kNone;
constexpr Ink kHalf = Ink::kHalf;
constexpr Ink kFull = Ink::kFull;

TEST(GraphicsTest, LinesAndOvalsLandOnTheirPixelsInTheForeColour) {
    struct Case {
        std::string what;
        fw::Color color;
        std::function<void(fw::Graphics&)> draw;
        std::vector<Pixel> pixels;
    };
    const fw::Color red = fw::RGB(255, 0, 0);
    const Case cases[] = {
        {"horizontal line covers its row only, both ends included",
         red,
         [](fw::Graphics& g) { g.DrawLine(2, 5, 7, 5); },
         {{2, 5, kFull},
          {7, 5, kFull},
          {4, 5, kFull},
          {4, 4, kNone},
          {4, 6, kNone},
          {1, 5, kNone},
          {8, 5, kNone}}},
        {"vertical line covers its column only",
         red,
         [](fw::Graphics& g) { g.DrawLine(3, 0, 3, 9); },
         {{3, 0, kFull}, {3, 9, kFull}, {2, 4, kNone}, {4, 4, kNone}}},
        {"diagonal runs corner to corner",
         red,
         [](fw::Graphics& g) { g.DrawLine(0, 0, 9, 9); },
         {{0, 0, kHalf}, {5, 5, kHalf}, {9, 9, kHalf}, {9, 0, kNone}, {0, 9, kNone}}},
        {"oval is an outline inside its box",
         red,
         [](fw::Graphics& g) { g.DrawOval(1, 1, 50, 50); },
         {{26, 1, kHalf},
          {1, 26, kHalf},
          {50, 26, kHalf},
          {26, 50, kHalf},
          {26, 26, kNone},
          {1, 1, kNone},
          {26, 0, kNone},
          {0, 26, kNone},
          {26, 51, kNone},
          {51, 26, kNone}}},
        {"the default fore colour is black",
         fw::Color{},
         [](fw::Graphics& g) { g.DrawLine(0, 1, 9, 1); },
         {{4, 1, kFull}, {4, 0, kNone}}},
        {"a fully transparent fore colour leaves no trace",
         fw::Color{0xFFFF0000u},
         [](fw::Graphics& g) { g.DrawLine(0, 1, 9, 1); },
         {{4, 1, kNone}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QImage image = DrawOnWhite(52, 52, [&](fw::Graphics& g) {
            if (c.color.value != 0) {
                g.SetForeColor(c.color);
            }
            EXPECT_EQ(g.ForeColor(), c.color);
            c.draw(g);
        });
        const QRgb ink = qRgb(c.color.Red(), c.color.Green(), c.color.Blue());
        for (const Pixel& p : c.pixels) {
            SCOPED_TRACE("pixel " + std::to_string(p.x) + "," + std::to_string(p.y));
            const QRgb seen = image.pixel(p.x, p.y);
            switch (p.ink) {
                case Ink::kNone:
                    EXPECT_EQ(seen, kWhite);
                    break;
                case Ink::kFull:
                    EXPECT_EQ(seen, ink);
                    break;
                case Ink::kHalf:
                    EXPECT_NE(seen, kWhite);
                    EXPECT_LE(std::abs(qRed(seen) - qRed(ink)), 128);
                    EXPECT_LE(std::abs(qGreen(seen) - qGreen(ink)), 128);
                    EXPECT_LE(std::abs(qBlue(seen) - qBlue(ink)), 128);
                    break;
            }
        }
    }
}

TEST(GraphicsTest, DrawPictureScalesTheSourceRectangleIntoTheDestination) {
    const fw::Ref<fw::Picture> pair = RedBluePair();

    // The whole picture stretched over a canvas is checked through a real canvas paint; here
    // only part of the source goes into part of the target.
    const QImage rightHalf = DrawOnWhite(
        30, 20, [&](fw::Graphics& g) { g.DrawPicture(pair, 10, 5, 10, 10, 1, 0, 1, 1); });
    EXPECT_EQ(rightHalf.pixel(10, 5), 0xFF0000FFu);
    EXPECT_EQ(rightHalf.pixel(19, 14), 0xFF0000FFu);
    EXPECT_EQ(rightHalf.pixel(9, 5), kWhite);
    EXPECT_EQ(rightHalf.pixel(20, 14), kWhite);
    EXPECT_EQ(rightHalf.pixel(15, 15), kWhite);
}

TEST(GraphicsTest, DrawPictureOfNilRaisesAndDrawsNothing) {
    const QImage image = DrawOnWhite(10, 10, [](fw::Graphics& g) {
        EXPECT_THROW(g.DrawPicture(nullptr, 0, 0, 10, 10, 0, 0, 1, 1), fw::NilObjectException);
    });
    EXPECT_EQ(image.pixel(5, 5), kWhite);
}

// A surface like a canvas's layer, counting the drawings it is told of.
class TestSurface : public fw::Graphics::Surface {
public:
    TestSurface() : image(20, 10, QImage::Format_ARGB32_Premultiplied) {
        image.fill(Qt::transparent);
    }
    QImage* DrawingImage() override { return available ? &image : nullptr; }
    void Drawn() override { ++drawn; }
    int64_t SurfaceWidth() const override { return 20; }
    int64_t SurfaceHeight() const override { return 10; }

    QImage image;
    bool available = true;
    int drawn = 0;
};

TEST(GraphicsTest, ASurfaceKeepsEachDrawingAndAnUnboundContextDrawsNothing) {
    TestSurface surface;
    fw::Ref<fw::Graphics> g = fw::Graphics::Create();
    EXPECT_EQ(g->Width(), 0);
    g->DrawLine(0, 0, 19, 0);  // no target yet: nothing happens, nothing raises

    g->BindSurface(&surface);
    EXPECT_EQ(g->Width(), 20);
    EXPECT_EQ(g->Height(), 10);
    g->SetForeColor(fw::RGB(0, 0, 255));
    g->DrawLine(0, 2, 19, 2);
    g->DrawOval(0, 0, 20, 10);
    EXPECT_EQ(surface.drawn, 2);
    EXPECT_EQ(surface.image.pixel(10, 2), 0xFF0000FFu);
    EXPECT_EQ(qAlpha(surface.image.pixel(10, 5)), 0);  // inside the oval: untouched

    const QImage before = surface.image.copy();
    surface.available = false;
    g->DrawLine(0, 7, 19, 7);
    EXPECT_EQ(surface.drawn, 2);

    g->Unbind();
    surface.available = true;
    g->DrawLine(0, 7, 19, 7);
    EXPECT_EQ(surface.drawn, 2);
    EXPECT_EQ(surface.image, before);
    EXPECT_EQ(g->Width(), 0);
}

TEST(GraphicsTest, DrawingFromAnotherThreadRaises) {
    TestSurface surface;
    fw::Ref<fw::Graphics> g = fw::Graphics::Create();
    g->BindSurface(&surface);
    bool raised = false;
    std::thread([&] {
        try {
            g->DrawLine(0, 0, 5, 5);
        } catch (const fw::ThreadAccessingUIException&) {
            raised = true;
        } catch (...) {
        }
    }).join();
    EXPECT_TRUE(raised);
    EXPECT_EQ(surface.drawn, 0);
}

}  // namespace
