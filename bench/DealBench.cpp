// deal_cold: a press of the start button with every picture cache empty, so the ten card
// pictures are decoded from the build's files and set on the faces; beside it the bare decoding
// of the same ten files with QImageReader. deal_warm: the same press with the caches full, beside
// the cold press.
#include <QImage>
#include <QImageReader>
#include <array>
#include <memory>
#include <string>

#include "bench/GameSession.h"
#include "bench/Measurements.h"
#include "deck/CardPictures.h"

namespace bench {
namespace {

constexpr int kCardsDealt = 10;

// Before each press: the faces show no picture, as after a game's end, and the game is at its
// first question, so that every press deals poems 0 to 9 and never ends a game. The whole
// window is painted last, on both sides of the comparison alike, so that each timed part
// starts from the same state of the caches.
void PrepareDeal(GameSession& session, bool emptyCaches) {
    if (emptyCaches) {
        deck::testing::ClearPictureCaches();
    }
    session.ClearFaces();
    session.Window().Kaisu = 0;
    session.RepaintWindow();
}

// Presses the start button `calls` times, each from a prepared deal, timing the presses only.
void TimePresses(GameSession& session, Stopwatch& watch, int64_t calls, bool emptyCaches) {
    for (int64_t call = 0; call < calls; ++call) {
        PrepareDeal(session, emptyCaches);
        watch.Start();
        session.PressStart();
        watch.Stop();
    }
}

// Both comparisons play on one session. A press once before measuring, so that the first warm
// press finds the ten pictures cached.
class Presses : public Comparison {
protected:
    Presses() { session_.PressStart(); }

    void CheckDealt() {
        if (session_.Window().Kaisu != 1 || !session_.EveryFaceHasAPicture()) {
            Fail("the press did not deal ten pictures");
        }
    }

    GameSession session_;
};

class DealCold final : public Presses {
public:
    DealCold() {
        for (int poem = 0; poem < kCardsDealt; ++poem) {
            paths_[poem] = CardPicturePath("karuta" + std::to_string(poem) + ".pct");
        }
    }

    void SampleOurs(Stopwatch& watch, int64_t calls) override {
        TimePresses(session_, watch, calls, true);
        CheckDealt();
    }

    // The same window beside it, prepared the same way before each decoding.
    void SampleBaseline(Stopwatch& watch, int64_t calls) override {
        for (int64_t call = 0; call < calls; ++call) {
            images_ = {};
            PrepareDeal(session_, true);
            watch.Start();
            for (int poem = 0; poem < kCardsDealt; ++poem) {
                QImageReader reader(paths_[poem]);
                images_[poem] = reader.read();
            }
            watch.Stop();
            for (const QImage& image : images_) {
                if (image.isNull()) {
                    Fail("a card picture did not decode");
                }
            }
        }
    }

private:
    std::array<QString, kCardsDealt> paths_;
    std::array<QImage, kCardsDealt> images_;
};

class DealWarm final : public Presses {
public:
    void SampleOurs(Stopwatch& watch, int64_t calls) override {
        TimePresses(session_, watch, calls, false);
        CheckDealt();
    }

    void SampleBaseline(Stopwatch& watch, int64_t calls) override {
        TimePresses(session_, watch, calls, true);
        CheckDealt();
    }
};

}  // namespace

std::unique_ptr<Comparison> MakeDealCold() {
    return std::make_unique<DealCold>();
}

std::unique_ptr<Comparison> MakeDealWarm() {
    return std::make_unique<DealWarm>();
}

}  // namespace bench
