#pragma once

#include <cstdint>

#include "fw/ui/Canvas.h"

namespace game {

// What the card frames and the card faces share: they are members of a control set, made with
// the member constructor, which puts the index in place before the framework's base
// construction runs.
class CardSlotCanvas : public fw::Canvas {
public:
    using fw::Canvas::Constructor;
    void Constructor(int64_t index);
};

// A card frame: one of the ten members of the set "CardCanvas". It shows the card back for the
// life of the window.
class CardCanvas : public CardSlotCanvas {
public:
    const char* ClassName() const noexcept override { return "KarutaWindow.CardCanvas"; }
};

// A card face: one of the ten members of the set "FudaCanvas", nested in the card frame of the
// same index. It shows the dealt poem's card, or nothing after a game ends.
class FudaCanvas : public CardSlotCanvas {
public:
    const char* ClassName() const noexcept override { return "KarutaWindow.FudaCanvas"; }
};

}  // namespace game
