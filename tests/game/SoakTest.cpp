// Two thousand whole games in one process, every input through the handlers' own event paths:
// the state rules hold after every event, no card picture gains a reference that outlives its
// game, result windows keep being made and destroyed, and the memory stops growing once the
// caches are warm.
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <cstdio>
#include <functional>
#include <vector>

#include "fw/ui/RectControl.h"
#include "game/Rules.h"
#include "tests/game/GameFixture.h"
#include "tests/support/GameInvariants.h"
#include "tests/support/MemoryInUse.h"

namespace {

constexpr int kGames = 2000;
// By then every card has been loaded and Qt's caches are filled.
constexpr int kWarmGames = 100;
constexpr int64_t kMaxGrowth = 2 * 1024 * 1024;
// The result window is closed with its OK button after every this many games, so result windows
// keep being made and destroyed; in between, the open one is reused.
constexpr int kCloseResultEvery = 3;

class SoakTest : public GameTest {
protected:
    // Counts the event and checks the state rules after it.
    template <class Event>
    ::testing::AssertionResult Send(Event&& event) {
        event();
        ++events;
        return GameStateIsConsistent(*window);
    }

    // What the event loop delivers between games: every posted event, the closed windows'
    // deferred deletes included. The window system's own events stay queued (under 1 KB for
    // each result window made, part of the growth measured): delivering them would expose the
    // main window, and from then on every press repaints the twenty card canvases at once
    // (about 2 ms a press in Qt's raster engine), so the soak would last most of a minute.
    // The input flood paints.
    static void DeliverPostedEvents() {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Each card picture is held by its loader, by the reference taken here to look at it, and by
    // every card frame and face that shows it: by nothing else once a game is over.
    ::testing::AssertionResult PicturesAreAtRest() {
        std::vector<fw::Ref<fw::Picture>> pictures{deck::Green()};
        for (int64_t poem = 0; poem < 100; ++poem) {
            pictures.push_back(deck::PoemCardLoader(poem)->Load());
        }
        for (const fw::Ref<fw::Picture>& picture : pictures) {
            if (picture.IsNil()) {
                return ::testing::AssertionFailure() << "a card picture did not load";
            }
            int64_t shownBy = 0;
            for (int64_t slot = 0; window && slot <= 9; ++slot) {
                shownBy += window->CardCanvas(slot)->Backdrop() == picture;
                shownBy += window->FudaCanvas(slot)->Backdrop() == picture;
            }
            if (picture->RefCount() != 2 + shownBy) {
                return ::testing::AssertionFailure()
                       << "a picture shown by " << shownBy << " canvases has "
                       << picture->RefCount() << " references";
            }
        }
        return ::testing::AssertionSuccess();
    }

    int64_t events = 0;
};

TEST_F(SoakTest, ThousandsOfGamesKeepTheStateTheReferencesAndTheMemoryInBounds) {
    int64_t memoryWarm = 0;
    for (int game = 1; game <= kGames; ++game) {
        int64_t expectedTotal = 0;
        for (int question = 1; question <= 10; ++question) {
            ASSERT_TRUE(Send([&] { Press(); })) << "game " << game << " question " << question;
            // The player waits one to four seconds, the timer ticking every second.
            const int seconds = 1 + (game + question) % 4;
            for (int tick = 0; tick < seconds; ++tick) {
                now += 1.0;
                ASSERT_TRUE(Send([&] { Tick(); })) << "game " << game << " question " << question;
            }
            // Every seventh answer is wrong.
            const bool right = (game * 10 + question) % 7 != 0;
            const int64_t slot = right ? QuestionSlot() : (QuestionSlot() + 1) % 10;
            expectedTotal += right ? 20 - seconds : 0;
            ASSERT_TRUE(Send([&] { ClickFace(slot); })) << "game " << game << " q " << question;
        }
        ASSERT_EQ(window->Kaisu, 0) << "game " << game;
        fw::Ref<game::MessageWindow> result = game::MessageWindow::Instance();
        ASSERT_EQ(result->Message()->Text(),
                  game::EndOfGameMessage(expectedTotal, game::ShogoTable(expectedTotal)))
            << "game " << game;
        if (game % kCloseResultEvery == 0) {
            ASSERT_TRUE(
                Send([&] { QTest::mouseClick(Widget(*result->OKButton()), Qt::LeftButton); }));
            ASSERT_FALSE(result->IsOpen()) << "game " << game;
        }
        result.Reset();
        DeliverPostedEvents();
        ASSERT_TRUE(PicturesAreAtRest()) << "after game " << game;
        if (game == kWarmGames) {
            memoryWarm = MemoryInUse();
        }
    }
    const int64_t memoryEnd = MemoryInUse();

    // With every window closed and gone, only the loaders hold the pictures.
    window = nullptr;
    for (const fw::Ref<fw::Window>& open : fw::Window::OpenWindows()) {
        open->Close();
    }
    DeliverPostedEvents();
    EXPECT_TRUE(PicturesAreAtRest()) << "after closing the windows";

    const int64_t growth = memoryEnd - memoryWarm;
    std::printf(
        "soak: %d games, %lld events; %s at game %d %.2f MiB, at game %d %.2f MiB, "
        "growth %.3f MiB\n",
        kGames, static_cast<long long>(events), MemoryInUseName(), kWarmGames,
        memoryWarm / 1048576.0, kGames, memoryEnd / 1048576.0, growth / 1048576.0);
    ASSERT_GT(memoryWarm, 0) << MemoryInUseName() << " could not be read";
    EXPECT_LT(growth, kMaxGrowth) << MemoryInUseName();
}

// Qt watches widgets for their destruction (the accessibility cache drops its entry for a widget
// that goes, for one); closing a window must leave those watches in place, or every window the
// player closes leaves its entries behind.
TEST_F(SoakTest, ClosingAWindowLeavesQtsWatchOnItsWidgetsInPlace) {
    struct Case {
        const char* window;
        std::function<fw::Ref<fw::Window>()> open;
        std::function<void(fw::Window&)> close;
    };
    const Case cases[] = {
        {"result window, closed by its OK button",
         [this] {
             window->Kaisu = 10;
             Press();  // ends the game at once
             return fw::Ref<fw::Window>(game::MessageWindow::Instance());
         },
         [](fw::Window& w) {
             auto& result = static_cast<game::MessageWindow&>(w);
             QTest::mouseClick(Widget(*result.OKButton()), Qt::LeftButton);
         }},
        {"main window, closed", [this] { return fw::Ref<fw::Window>(window); },
         [](fw::Window& w) { w.Close(); }},
    };
    for (const Case& c : cases) {
        fw::Ref<fw::Window> open = c.open();
        QObject watcher;
        std::vector<int> gone;
        for (const fw::Ref<fw::Control>& control : open->Controls()) {
            auto* rect = dynamic_cast<fw::RectControl*>(control.Get());
            if (rect == nullptr || Widget(*rect) == nullptr) {
                continue;
            }
            const size_t index = gone.size();
            gone.push_back(0);
            QObject::connect(Widget(*rect), &QObject::destroyed, &watcher,
                             [&gone, index] { gone[index] = 1; });
        }
        ASSERT_FALSE(gone.empty()) << c.window;
        c.close(*open);
        DeliverPostedEvents();
        EXPECT_EQ(std::vector<int>(gone.size(), 1), gone) << c.window;
    }
}

}  // namespace
