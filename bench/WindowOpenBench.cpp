// window_open: the main window from KarutaWindow::Instance() until its first paint is done (its
// layout, its 45 controls made from their property lists, their Open events and the window's,
// one grab of the whole window), then closed and gone; beside it the same 45 widgets made
// directly with Qt, shown, grabbed and deleted.
#include <QCoreApplication>
#include <QEvent>
#include <QPixmap>
#include <QWidget>
#include <memory>

#include "bench/GameSession.h"
#include "bench/Measurements.h"
#include "bench/PlainMainWindow.h"
#include "deck/CardPictures.h"
#include "fw/pictures/Picture.h"
#include "fw/ui/TestAccess.h"
#include "fw/ui/Window.h"
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

// The card back is decoded and the fonts are loaded once per run, before the first sample.
class WindowOpen final : public Comparison {
public:
    WindowOpen() : plan_(PlanMainWindow()) {
        fw::testing::SetResourcesFolder(CardPicturesFolder());
        if (plan_.cardBack.isNull() || plan_.controls.size() != 45) {
            Fail("the plain window has no card back or not 45 controls");
            return;
        }
        if (!OpenPaintClose() || deck::Green().IsNil() || !BuildPaintDelete(plan_)) {
            Fail("a window did not paint before measuring");
        }
        FlushEvents();
    }
    ~WindowOpen() override { fw::testing::SetResourcesFolder(""); }

    void SampleOurs(Stopwatch& watch, int64_t calls) override {
        for (int64_t call = 0; call < calls && Failure().empty(); ++call) {
            watch.Start();
            const bool painted = OpenPaintClose();
            watch.Stop();
            FlushEvents();
            if (!painted || !fw::Window::OpenWindows().empty()) {
                Fail("the window did not paint or did not close");
            }
        }
    }

    void SampleBaseline(Stopwatch& watch, int64_t calls) override {
        for (int64_t call = 0; call < calls && Failure().empty(); ++call) {
            watch.Start();
            const bool painted = BuildPaintDelete(plan_);
            watch.Stop();
            FlushEvents();
            if (!painted) {
                Fail("the plain window did not paint");
            }
        }
    }

private:
    const PlainWindowPlan plan_;
};

}  // namespace

std::unique_ptr<Comparison> MakeWindowOpen() {
    return std::make_unique<WindowOpen>();
}

}  // namespace bench
