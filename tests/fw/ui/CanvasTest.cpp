#include "fw/ui/Canvas.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "fw/core/Dispatch.h"
#include "fw/properties/PropertyList.h"
#include "fw/ui/Event.h"
#include "fw/ui/TestAccess.h"
#include "fw/ui/Window.h"

namespace {

using fw::Array;
using fw::Canvas;
using fw::Ref;
using Areas = Ref<Array<Ref<fw::Rect>>>;

constexpr QRgb kRed = 0xFFFF0000u;
constexpr QRgb kGreen = 0xFF00FF00u;
constexpr QRgb kBlue = 0xFF0000FFu;
constexpr QRgb kWhite = 0xFFFFFFFFu;

Ref<fw::Picture> Solid(QRgb colour, int width = 1, int height = 1) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    return fw::Picture::FromImage(image);
}

Ref<fw::Picture> RedBluePair() {
    QImage pair(2, 1, QImage::Format_ARGB32);
    pair.setPixel(0, 0, kRed);
    pair.setPixel(1, 0, kBlue);
    return fw::Picture::FromImage(pair);
}

// A window whose canvases a test builds in CreateControls, with handlers that forward to
// whatever the test sets.
class CanvasWindow : public fw::Window {
public:
    std::function<void(CanvasWindow&)> build;
    std::function<void(Ref<Canvas>)> onOpen;
    std::function<void(Ref<Canvas>, Ref<fw::Graphics>, Areas)> onPaint;
    std::function<bool(Ref<Canvas>, int64_t, int64_t)> onMouseDown;

    void Open(Ref<Canvas> canvas) {
        if (onOpen) {
            onOpen(canvas);
        }
    }
    void Paint(Ref<Canvas> canvas, Ref<fw::Graphics> g, Areas areas) {
        if (onPaint) {
            onPaint(canvas, g, areas);
        }
    }
    bool MouseDown(Ref<Canvas> canvas, int64_t x, int64_t y) {
        return onMouseDown ? onMouseDown(canvas, x, y) : false;
    }

    // A canvas made the way the game makes its controls: constructed, registered, then given
    // its values.
    Ref<Canvas> Add(const std::string& name, int64_t left, int64_t top, int64_t width,
                    int64_t height, const std::string& parent = "") {
        Ref<Canvas> canvas = __New<Canvas>();
        canvas->Constructor();
        _AddControl(name, canvas);
        canvas->SetLeft(left);
        canvas->SetTop(top);
        canvas->SetWidth(width);
        canvas->SetHeight(height);
        canvas->SetInitialParent(parent);
        canvas->AddEventHandler(fw::kOpenEvent,
                                fw::RuntimeCreateDelegate(this, &CanvasWindow::Open));
        canvas->AddEventHandler(fw::kPaintEvent,
                                fw::RuntimeCreateDelegate(this, &CanvasWindow::Paint));
        canvas->AddEventHandler(fw::kMouseDownEvent,
                                fw::RuntimeCreateDelegate(this, &CanvasWindow::MouseDown));
        return canvas;
    }

protected:
    void CreateControls() override {
        if (build) {
            build(*this);
        }
    }
};

// The game's card paint: the backdrop stretched over the whole canvas, nothing without one.
void PaintBackdrop(Ref<Canvas> canvas, Ref<fw::Graphics> g, Areas) {
    Ref<fw::Picture> picture = canvas->Backdrop();
    if (picture.IsNil()) {
        return;
    }
    g->DrawPicture(picture, 0, 0, canvas->Width(), canvas->Height(), 0, 0, picture->Width(),
                   picture->Height());
}

// A grab of a widget, read in the widget's own (logical) pixels whatever the screen's scale, so
// these tests also hold under QT_SCALE_FACTOR=2: each logical pixel is read at its centre.
class Shot {
public:
    explicit Shot(QImage image) : image_(std::move(image)) {}
    QSize size() const { return image_.deviceIndependentSize().toSize(); }
    QRgb pixel(int x, int y) const {
        const qreal ratio = image_.devicePixelRatio();
        return image_.pixel(static_cast<int>((x + 0.5) * ratio),
                            static_cast<int>((y + 0.5) * ratio));
    }
    QRgb pixel(QPoint p) const { return pixel(p.x(), p.y()); }

private:
    QImage image_;
};

class CanvasTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (window_ && window_->IsOpen()) {
            window_->Close();
        }
        window_ = nullptr;
        QApplication::processEvents();  // let closed widgets go
    }

    // Opens a window built by build, with the backdrop paint unless a test sets its own.
    CanvasWindow& Open(std::function<void(CanvasWindow&)> build) {
        window_ = fw::MakeRef<CanvasWindow>();
        window_->SetWidth(300);
        window_->SetHeight(300);
        window_->onPaint = &PaintBackdrop;
        window_->build = std::move(build);
        window_->Constructor();
        return *window_;
    }

    static Shot Grab(const Ref<Canvas>& canvas) {
        QWidget* widget = fw::testing::WidgetOf(*canvas);
        EXPECT_NE(widget, nullptr);
        return Shot(widget != nullptr ? widget->grab().toImage() : QImage());
    }

    Ref<CanvasWindow> window_;
};

TEST_F(CanvasTest, APaintThatDrawsTheBackdropStretchesItOverTheWholeCanvas) {
    Ref<Canvas> frame;
    Open([&](CanvasWindow& w) { frame = w.Add("CardCanvas", 10, 10, 90, 170); });
    frame->SetBackdrop(RedBluePair());

    const Shot shown = Grab(frame);
    ASSERT_EQ(shown.size(), QSize(90, 170));
    for (int y : {0, 1, 84, 168, 169}) {
        SCOPED_TRACE("row " + std::to_string(y));
        EXPECT_EQ(shown.pixel(0, y), kRed);
        EXPECT_EQ(shown.pixel(20, y), kRed);
        EXPECT_EQ(shown.pixel(70, y), kBlue);
        EXPECT_EQ(shown.pixel(89, y), kBlue);
    }
}

TEST_F(CanvasTest, ANestedFaceShowsItsOwnPictureOrLetsTheFrameShowThrough) {
    struct Case {
        std::string what;
        bool transparent;
        bool faceHasPicture;
        QRgb insideFace;  // 0: neither the frame's nor the face's colour
    };
    const Case cases[] = {
        {"transparent face without a picture", true, false, kRed},
        {"transparent face with a picture", true, true, kGreen},
        {"opaque face without a picture hides the frame", false, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Ref<Canvas> frame;
        Ref<Canvas> face;
        Open([&](CanvasWindow& w) {
            frame = w.Add("CardCanvas", 20, 30, 90, 170);
            face = w.Add("FudaCanvas", 30, 35, 70, 160, "CardCanvas");
            face->SetTransparent(c.transparent);
            frame->SetTransparent(true);
        });
        frame->SetBackdrop(Solid(kRed));
        face->SetBackdrop(c.faceHasPicture ? Solid(kGreen, 3, 3) : nullptr);

        const Shot shown = Grab(frame);  // the frame with the face inside it
        EXPECT_EQ(shown.pixel(5, 5), kRed);
        EXPECT_EQ(shown.pixel(85, 165), kRed);
        for (QPoint inside : {QPoint(10, 5), QPoint(45, 85), QPoint(79, 164)}) {
            const QRgb seen = shown.pixel(inside);
            if (c.insideFace != 0) {
                EXPECT_EQ(seen, c.insideFace);
            } else {
                EXPECT_NE(seen, kRed);
                EXPECT_NE(seen, kGreen);
            }
        }
        TearDown();
    }
}

TEST_F(CanvasTest, TheLayerOfGraphicsStaysThroughRepaintsUntilRefreshWithErase) {
    Ref<Canvas> mark;
    Ref<Canvas> card;
    Open([&](CanvasWindow& w) {
        mark = w.Add("MyCanvas", 0, 0, 50, 50);
        card = w.Add("Card", 60, 0, 50, 50);
    });
    card->SetBackdrop(Solid(kWhite));

    // Two calls, one context: the colour set through the first holds for the second.
    EXPECT_EQ(mark->Graphics(), mark->Graphics());
    mark->Graphics()->SetForeColor(fw::RGB(255, 0, 0));
    mark->Graphics()->DrawOval(0, 0, 50, 50);
    card->Graphics()->SetForeColor(fw::RGB(255, 0, 0));
    card->Graphics()->DrawLine(0, 0, 50, 50);
    card->Graphics()->DrawLine(0, 50, 50, 0);

    auto circleShows = [&] {
        const Shot shown = Grab(mark);
        return qRed(shown.pixel(25, 0)) > 200 && qGreen(shown.pixel(25, 0)) < 128 &&
               qRed(shown.pixel(0, 25)) > 200 && qGreen(shown.pixel(0, 25)) < 128 &&
               qGreen(shown.pixel(25, 25)) > 128;  // an outline: the middle stays clear
    };
    EXPECT_TRUE(circleShows());

    // Covered and uncovered: the toolkit repaints, the mark comes back without being redrawn.
    fw::testing::WidgetOf(*window_)->hide();
    fw::testing::WidgetOf(*window_)->show();
    fw::testing::WidgetOf(*mark)->update();
    QApplication::processEvents();
    EXPECT_TRUE(circleShows());
    mark->Refresh(false);
    EXPECT_TRUE(circleShows());

    // The cross lies over the card's own paint.
    Shot shown = Grab(card);
    EXPECT_GT(qRed(shown.pixel(25, 25)), 200);
    EXPECT_LT(qGreen(shown.pixel(25, 25)), 160);
    EXPECT_EQ(shown.pixel(25, 5), kWhite);

    mark->Refresh(true);
    const Shot erased = Grab(mark);
    for (QPoint p : {QPoint(25, 0), QPoint(0, 25), QPoint(49, 25)}) {
        EXPECT_EQ(qRed(erased.pixel(p)), qGreen(erased.pixel(p))) << "mark still at " << p.x();
    }
    card->Refresh(true);
    shown = Grab(card);
    EXPECT_EQ(shown.pixel(25, 25), kWhite);

    // Drawing again after the erase works on a fresh layer.
    mark->Graphics()->DrawLine(0, 10, 49, 10);
    EXPECT_EQ(Grab(mark).pixel(20, 10), kRed);
}

TEST_F(CanvasTest, AClickReachesTheTopmostCanvasInItsOwnCoordinates) {
    Ref<Canvas> frame;
    Ref<Canvas> face;
    Open([&](CanvasWindow& w) {
        frame = w.Add("CardCanvas", 20, 30, 90, 170);
        face = w.Add("FudaCanvas", 30, 35, 70, 160, "CardCanvas");
    });
    struct Press {
        Canvas* canvas;
        int64_t x;
        int64_t y;
    };
    std::vector<Press> presses;
    window_->onMouseDown = [&](Ref<Canvas> canvas, int64_t x, int64_t y) {
        presses.push_back({canvas.Get(), x, y});
        return true;
    };

    // Clicked on the window where the frame lies, as a real press arrives: inside the face, then
    // on the frame's own border.
    QWidget* frameWidget = fw::testing::WidgetOf(*frame);
    QWidget* top = frameWidget->window();
    ASSERT_NE(top->windowHandle(), nullptr);
    auto click = [&](QPoint inFrame) {
        QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {},
                          frameWidget->mapTo(top, inFrame));
    };
    click(QPoint(40, 100));
    click(QPoint(3, 4));
    click(QPoint(10, 164));  // the face's bottom left pixel

    ASSERT_EQ(presses.size(), 3u);
    EXPECT_EQ(presses[0].canvas, face.Get());
    EXPECT_EQ(presses[0].x, 30);
    EXPECT_EQ(presses[0].y, 95);
    EXPECT_EQ(presses[1].canvas, frame.Get());
    EXPECT_EQ(presses[1].x, 3);
    EXPECT_EQ(presses[1].y, 4);
    EXPECT_EQ(presses[2].canvas, face.Get());
    EXPECT_EQ(presses[2].x, 0);
    EXPECT_EQ(presses[2].y, 159);
}

TEST_F(CanvasTest, AFailingHandlerGoesToTheUnhandledRoutineAndTheLayerStillShows) {
    Ref<Canvas> canvas;
    Open([&](CanvasWindow& w) { canvas = w.Add("MyCanvas", 0, 0, 50, 50); });
    canvas->Graphics()->SetForeColor(fw::RGB(0, 0, 255));
    canvas->Graphics()->DrawLine(0, 20, 49, 20);
    window_->onPaint = [](Ref<Canvas>, Ref<fw::Graphics> g, Areas) {
        g->DrawPicture(nullptr, 0, 0, 1, 1, 0, 0, 1, 1);  // raises NilObjectException
    };
    window_->onMouseDown = [](Ref<Canvas>, int64_t, int64_t) -> bool {
        throw fw::OutOfBoundsException();
    };

    const int before = fw::testing::UnhandledExceptionCount();
    const Shot shown = Grab(canvas);
    EXPECT_EQ(fw::testing::UnhandledExceptionCount(), before + 1);
    EXPECT_EQ(shown.pixel(25, 20), kBlue);

    QTest::mouseClick(fw::testing::WidgetOf(*canvas), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(fw::testing::UnhandledExceptionCount(), before + 2);
}

TEST_F(CanvasTest, ANewBackdropIsPaintedWithoutAskingAndRefreshPaintsAtOnce) {
    Ref<Canvas> canvas;
    Open([&](CanvasWindow& w) { canvas = w.Add("FudaCanvas", 0, 0, 70, 160); });
    int paints = 0;
    window_->onPaint = [&](Ref<Canvas> c, Ref<fw::Graphics> g, Areas a) {
        ++paints;
        PaintBackdrop(c, g, a);
    };
    QApplication::processEvents();  // the first showing's paints
    ASSERT_TRUE(fw::testing::WidgetOf(*canvas)->isVisible());

    paints = 0;
    canvas->SetBackdrop(Solid(kGreen));
    EXPECT_TRUE(QTest::qWaitFor([&] { return paints > 0; }, 2000));

    paints = 0;
    canvas->Refresh(false);
    EXPECT_EQ(paints, 1);
    canvas->Refresh(true);
    EXPECT_EQ(paints, 2);
}

TEST_F(CanvasTest, EveryPaintReusesOneContextAndOneAreaArrayCoveringTheCanvas) {
    Ref<Canvas> canvas;
    Open([&](CanvasWindow& w) { canvas = w.Add("Card", 0, 0, 70, 160); });
    std::vector<fw::Graphics*> contexts;
    std::vector<Array<Ref<fw::Rect>>*> arrays;
    std::vector<std::vector<int64_t>> areas;
    window_->onPaint = [&](Ref<Canvas> c, Ref<fw::Graphics> g, Areas a) {
        EXPECT_EQ(c.Get(), canvas.Get());
        EXPECT_EQ(g->Width(), 70);
        EXPECT_EQ(g->Height(), 160);
        contexts.push_back(g.Get());
        arrays.push_back(a.Get());
        ASSERT_EQ(a->Count(), 1);
        const Ref<fw::Rect>& r = (*a)(0);
        areas.push_back({r->Left(), r->Top(), r->Width(), r->Height()});
    };
    Grab(canvas);
    Grab(canvas);

    ASSERT_EQ(contexts.size(), 2u);
    EXPECT_EQ(contexts[0], contexts[1]);
    EXPECT_EQ(arrays[0], arrays[1]);
    EXPECT_NE(contexts[0], canvas->Graphics().Get());  // the paint's context is not the layer's
    EXPECT_EQ(areas[0], (std::vector<int64_t>{0, 0, 70, 160}));
}

TEST_F(CanvasTest, OpenRunsOnceForEachCanvasAfterCreateControlsAndEventsCheckSignatures) {
    std::vector<std::string> opened;
    Ref<Canvas> first;
    Ref<fw::Picture> back = Solid(kGreen);
    window_ = fw::MakeRef<CanvasWindow>();
    window_->onOpen = [&](Ref<Canvas> canvas) {
        opened.push_back(canvas->Name() + std::to_string(canvas->Index()));
        canvas->SetBackdrop(back);
    };
    window_->build = [&](CanvasWindow& w) {
        first = w.Add("CardCanvas", 0, 0, 10, 10);
        EXPECT_TRUE(opened.empty());  // not before the controls are all made
        w.Add("FudaCanvas", 0, 20, 10, 10);
    };
    window_->onPaint = &PaintBackdrop;
    window_->Constructor();

    EXPECT_EQ(opened,
              (std::vector<std::string>{"CardCanvas" + std::to_string(fw::kNoControlSetIndex),
                                        "FudaCanvas" + std::to_string(fw::kNoControlSetIndex)}));
    EXPECT_EQ(first->Backdrop(), back);
    EXPECT_EQ(Grab(first).pixel(5, 5), kGreen);

    Ref<Canvas> other = window_->__New<Canvas>();
    auto openShaped = fw::RuntimeCreateDelegate(window_.Get(), &CanvasWindow::Open);
    EXPECT_THROW(other->AddEventHandler(fw::kPaintEvent, openShaped), fw::IllegalCastException);
    EXPECT_THROW(other->AddEventHandler(fw::kMouseDownEvent, openShaped), fw::IllegalCastException);
    EXPECT_THROW(other->AddEventHandler(fw::kActionEvent, openShaped), fw::RuntimeException);
    EXPECT_NO_THROW(other->AddEventHandler(fw::kOpenEvent, openShaped));
}

TEST_F(CanvasTest, APictureIsReleasedWhenItsCanvasDropsItOrGoes) {
    Ref<fw::Picture> picture = Solid(kRed, 4, 4);
    const int64_t resting = picture->RefCount();
    Ref<Canvas> a;
    Ref<Canvas> b;
    Open([&](CanvasWindow& w) {
        a = w.Add("A", 0, 0, 20, 20);
        b = w.Add("B", 30, 0, 20, 20);
    });
    a->SetBackdrop(picture);
    b->SetBackdrop(picture);
    EXPECT_EQ(picture->RefCount(), resting + 2);
    Grab(a);
    Grab(b);
    EXPECT_EQ(picture->RefCount(), resting + 2);  // painting holds nothing back

    a->SetBackdrop(nullptr);
    EXPECT_EQ(picture->RefCount(), resting + 1);

    a = nullptr;
    b = nullptr;
    window_->Close();
    window_ = nullptr;
    QApplication::processEvents();
    EXPECT_EQ(picture->RefCount(), resting);
}

TEST_F(CanvasTest, AContextOutlivingItsCanvasDrawsNothing) {
    Ref<Canvas> canvas;
    Open([&](CanvasWindow& w) { canvas = w.Add("MyCanvas", 0, 0, 50, 50); });
    Ref<fw::Graphics> kept = canvas->Graphics();
    kept->DrawLine(0, 0, 10, 10);
    window_->Close();
    kept->DrawLine(0, 0, 10, 10);  // closed: nothing to draw on
    canvas = nullptr;
    window_ = nullptr;
    QApplication::processEvents();
    kept->SetForeColor(fw::RGB(1, 2, 3));
    kept->DrawOval(0, 0, 50, 50);
    EXPECT_EQ(kept->Width(), 0);
}

TEST_F(CanvasTest, PropertyListsSetTheCanvasRowsButNotTheBackdrop) {
    Ref<Canvas> canvas;
    Open([&](CanvasWindow& w) { canvas = w.Add("Card", 0, 0, 10, 10); });
    EXPECT_FALSE(canvas->PropertyTypeOf("Backdrop").has_value());

    const std::vector<fw::PropertyEntry> list = {
        {"UseFocusRing", false}, {"AcceptFocus", true},      {"AcceptTabs", true},
        {"DoubleBuffer", true},  {"EraseBackground", false}, {"Transparent", true},
        {"Left", int64_t{7}},    {"Width", int64_t{70}},
    };
    fw::RuntimeMassPropertySetter(*canvas, fw::WritePropertyList(list));
    for (const fw::PropertyEntry& entry : list) {
        EXPECT_EQ(canvas->GetProperty(entry.name), entry.value) << entry.name;
    }
    EXPECT_EQ(fw::testing::WidgetOf(*canvas)->width(), 70);
    EXPECT_FALSE(fw::testing::WidgetOf(*canvas)->autoFillBackground());
    EXPECT_NE(fw::testing::WidgetOf(*canvas)->focusPolicy(), Qt::NoFocus);
}

TEST_F(CanvasTest, TouchingACanvasFromAnotherThreadRaises) {
    Ref<Canvas> canvas;
    Open([&](CanvasWindow& w) { canvas = w.Add("Card", 0, 0, 10, 10); });
    auto raisesOffThread = [](const std::function<void()>& call) {
        bool raised = false;
        std::thread([&] {
            try {
                call();
            } catch (const fw::ThreadAccessingUIException&) {
                raised = true;
            } catch (...) {
            }
        }).join();
        return raised;
    };
    EXPECT_TRUE(raisesOffThread([&] { canvas->SetBackdrop(Solid(kRed)); }));
    EXPECT_TRUE(raisesOffThread([&] { canvas->Graphics(); }));
    EXPECT_TRUE(raisesOffThread([&] { canvas->Refresh(true); }));
    EXPECT_TRUE(canvas->Backdrop().IsNil());
}

}  // namespace
