// Thousands of presses and clicks in random order through real input, with the clock jumping
// by random amounts and the event loop painting in between: nothing crashes, no handler raises,
// and the state rules hold after every event.
#include <QCoreApplication>
#include <QEvent>
#include <cstdio>
#include <random>

#include "fw/core/Dispatch.h"
#include "tests/game/GameFixture.h"
#include "tests/support/GameInvariants.h"

namespace {

constexpr int kEvents = 5000;

enum class Input { Press, Face, Frame, Mark, Tick, ResultOK, kCount };
const char* const kInputNames[] = {"presses",     "face clicks", "frame clicks",
                                   "mark clicks", "ticks",       "result OK clicks"};

// What a click that judges nothing must leave as it was.
struct Judged {
    bool seikai;
    int64_t myPoint;
    int64_t totalPoint;
    int64_t kaisu;
    double okTime;
    bool operator==(const Judged&) const = default;
};

class InputFloodTest : public GameTest {
protected:
    Judged Snapshot() const {
        return {window->Seikai, window->MyPoint, window->TotalPoint, window->Kaisu, window->OKtime};
    }

    // A left click at a random pixel of the widget.
    void ClickSomewhere(QWidget* widget) {
        std::uniform_int_distribution<int> x(0, widget->width() - 1);
        std::uniform_int_distribution<int> y(0, widget->height() - 1);
        QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(x(random), y(random)));
    }

    std::mt19937 random{20240611};
};

TEST_F(InputFloodTest, RandomInputKeepsTheStateConsistentAndRaisesNothing) {
    // Presses, face clicks and ticks make up most of the flood, as they do a player's input.
    std::discrete_distribution<int> pick({20, 40, 10, 5, 20, 5});
    std::uniform_int_distribution<int64_t> slot(0, 9);
    std::uniform_int_distribution<int> milliseconds(0, 3000);
    int sent[static_cast<int>(Input::kCount)] = {};
    const int unhandledBefore = fw::testing::UnhandledExceptionCount();

    for (int n = 0; n < kEvents;) {
        now += milliseconds(random) / 1000.0;
        const auto input = static_cast<Input>(pick(random));
        const Judged before = Snapshot();
        switch (input) {
            case Input::Press:
                Press();
                break;
            case Input::Face:
                ClickSomewhere(Widget(*window->FudaCanvas(slot(random))));
                break;
            case Input::Frame:
                ClickSomewhere(Widget(*window->CardCanvas(slot(random))));
                break;
            case Input::Mark:
                ClickSomewhere(Widget(*window->MyCanvas()));
                break;
            case Input::Tick:
                Tick();
                break;
            case Input::ResultOK: {
                fw::Ref<fw::Window> open =
                    fw::Window::_GetImplicitWindow(game::MessageWindow::kClassName);
                if (open.IsNil()) {
                    continue;  // no result to close, so nothing is sent
                }
                QTest::mouseClick(Widget(*fw::Cast<game::MessageWindow>(open)->OKButton()),
                                  Qt::LeftButton);
                break;
            }
            case Input::kCount:
                break;
        }
        ++sent[static_cast<int>(input)];
        ++n;
        ASSERT_TRUE(GameStateIsConsistent(*window)) << "event " << n;
        if (input == Input::Frame || input == Input::Mark) {
            ASSERT_TRUE(Snapshot() == before) << "event " << n << ": a click judged outside a face";
        }
        // The loop's turn: paints, the window system's events, the closed windows' deletion.
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    EXPECT_EQ(fw::testing::UnhandledExceptionCount(), unhandledBefore);
    int total = 0;
    std::printf("flood:");
    for (int i = 0; i < static_cast<int>(Input::kCount); ++i) {
        std::printf(" %d %s,", sent[i], kInputNames[i]);
        total += sent[i];
        // A kind of input the flood never sent would be a gap in it.
        EXPECT_GT(sent[i], 0) << kInputNames[i];
    }
    std::printf(" %d events in all\n", total);
}

}  // namespace
