#include "game/CardCanvases.h"

namespace game {

void CardSlotCanvas::Constructor(int64_t index) {
    SetIndex(index);
    fw::Canvas::Constructor();
}

}  // namespace game
