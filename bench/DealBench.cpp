// deal_cold: a press of the start button with every picture cache empty, so the ten card
// pictures are decoded from the build's files and set on the faces; beside it the bare decoding
// of the same ten files with QImageReader. deal_warm: the same press with the caches full.
#include <QImage>
#include <QImageReader>
#include <array>
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

void MeasurePress(benchmark::State& state, bool emptyCaches) {
    GameSession session;
    // Once before measuring, so that the warm press finds the ten pictures cached.
    session.PressStart();
    for (auto _ : state) {
        state.PauseTiming();
        PrepareDeal(session, emptyCaches);
        state.ResumeTiming();
        session.PressStart();
    }
    if (session.Window().Kaisu != 1 || !session.EveryFaceHasAPicture()) {
        state.SkipWithError("the press did not deal ten pictures");
    }
}

}  // namespace

void DealColdOurs(benchmark::State& state) {
    MeasurePress(state, true);
}

void DealWarmOurs(benchmark::State& state) {
    MeasurePress(state, false);
}

void DealColdBaseline(benchmark::State& state) {
    std::array<QString, kCardsDealt> paths;
    for (int poem = 0; poem < kCardsDealt; ++poem) {
        paths[poem] = CardPicturePath("karuta" + std::to_string(poem) + ".pct");
    }
    std::array<QImage, kCardsDealt> images;
    // The same window beside it, prepared the same way before each decoding.
    GameSession session;
    for (auto _ : state) {
        state.PauseTiming();
        images = {};
        PrepareDeal(session, true);
        state.ResumeTiming();
        for (int poem = 0; poem < kCardsDealt; ++poem) {
            QImageReader reader(paths[poem]);
            images[poem] = reader.read();
        }
    }
    for (const QImage& image : images) {
        if (image.isNull()) {
            state.SkipWithError("a card picture did not decode");
            break;
        }
    }
}

}  // namespace bench
