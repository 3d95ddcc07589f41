// window_open: the main window from KarutaWindow::Instance() until its first paint is done (its
// layout, its 45 controls made from their property lists, their Open events and the window's,
// one grab of the whole window), then closed and gone; beside it the same 45 widgets made
// directly with Qt, shown, grabbed and deleted.
#include <QCoreApplication>
#include <QEvent>
#include <QPixmap>
#include <QWidget>

#include "bench/GameSession.h"
#include "bench/Measurements.h"
#include "bench/PlainMainWindow.h"
#include "deck/CardPictures.h"
#include "fw/Picture.h"
#include "fw/TestAccess.h"
#include "fw/Window.h"
#include "game/KarutaWindow.h"

namespace bench {

namespace {

// From the window's creation until it is painted, closed and its widgets are gone.
bool OpenPaintClose() {
    fw::Ref<game::KarutaWindow> window = game::KarutaWindow::Instance();
    const QPixmap picture = fw::testing::WidgetOf(*window)->grab();
    window->Close();
    window.Reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return !picture.isNull();
}

bool BuildPaintDelete(const PlainWindowPlan& plan) {
    QWidget* top = BuildPlainMainWindow(plan);
    const QPixmap picture = top->grab();
    delete top;
    return !picture.isNull();
}

}  // namespace

void WindowOpenOurs(benchmark::State& state) {
    fw::testing::SetResourcesFolder(CardPicturesFolder());
    // Once before measuring: the card back is decoded and the fonts are loaded once per run.
    bool painted = OpenPaintClose() && !deck::Green().IsNil();
    FlushEvents();
    for (auto _ : state) {
        painted = OpenPaintClose() && painted;
        state.PauseTiming();
        FlushEvents();
        state.ResumeTiming();
    }
    fw::testing::SetResourcesFolder("");
    if (!painted || !fw::Window::OpenWindows().empty()) {
        state.SkipWithError("the window did not paint or did not close");
    }
}

void WindowOpenBaseline(benchmark::State& state) {
    const PlainWindowPlan plan = PlanMainWindow();
    if (plan.cardBack.isNull() || plan.controls.size() != 45) {
        state.SkipWithError("the plain window has no card back or not 45 controls");
        return;
    }
    bool painted = BuildPaintDelete(plan);
    FlushEvents();
    for (auto _ : state) {
        painted = BuildPaintDelete(plan) && painted;
        state.PauseTiming();
        FlushEvents();
        state.ResumeTiming();
    }
    if (!painted) {
        state.SkipWithError("the plain window did not paint");
    }
}

}  // namespace bench
