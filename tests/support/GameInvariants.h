#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "deck/CardPictures.h"
#include "game/KarutaWindow.h"

// The rules of the main window's state that hold after every event, whatever the player does
// and in whatever order:
// - Kaisu, the questions dealt in the current game, is 0 to 10;
// - once a question is dealt (Kaisu 1 to 10), slot i holds poem 10 x (Kaisu - 1) + i and shows
//   that poem's card, and the question is one of the ten dealt poems;
// - with no question dealt in the current game, no face shows a poem's card;
// - the high score is never below the running total, nor below 0.
// The poem cards are compared through their loaders, which hold every picture the faces show.
inline ::testing::AssertionResult GameStateIsConsistent(game::KarutaWindow& w) {
    if (w.Kaisu < 0 || w.Kaisu > 10) {
        return ::testing::AssertionFailure() << "Kaisu is " << w.Kaisu;
    }
    if (w.HighScore < 0 || w.HighScore < w.TotalPoint) {
        return ::testing::AssertionFailure()
               << "high score " << w.HighScore << " below the total " << w.TotalPoint;
    }
    bool questionDealt = false;
    for (int64_t slot = 0; slot <= 9; ++slot) {
        const int64_t poem = (*w.FudaNum)(slot);
        const fw::Picture* shown = w.FudaCanvas(slot)->Backdrop().Get();
        if (w.Kaisu == 0) {
            if (shown != nullptr && shown != deck::Green().Get()) {
                return ::testing::AssertionFailure()
                       << "slot " << slot << " shows a card with no question dealt";
            }
            continue;
        }
        if (poem != 10 * (w.Kaisu - 1) + slot) {
            return ::testing::AssertionFailure()
                   << "question " << w.Kaisu << ": slot " << slot << " holds poem " << poem;
        }
        if (shown != deck::PoemCardLoader(poem)->Load().Get()) {
            return ::testing::AssertionFailure()
                   << "slot " << slot << " does not show the card of poem " << poem;
        }
        questionDealt = questionDealt || poem == w.OdaiNum;
    }
    if (w.Kaisu > 0 && !questionDealt) {
        return ::testing::AssertionFailure()
               << "question " << w.Kaisu << ": poem " << w.OdaiNum << " is on no slot";
    }
    return ::testing::AssertionSuccess();
}
