// The card face picture rule: after the deal writes a slot's poem number, the slot's face shows
// that poem's card.
#include "deck/CardPictures.h"
#include "game/KarutaWindow.h"

namespace game {

void KarutaWindow::Fuda(int64_t slot) {
    // Holds the window for the whole call; every other reference below is released on every
    // way out by its Ref.
    fw::Ref<KarutaWindow> self(this);
    if (FudaNum.IsNil()) {
        throw fw::NilObjectException("FudaNum is nil");
    }
    // One read; every decision below is made on this value.
    const int64_t poem = (*FudaNum)(slot);
    const deck::PictureLoader* loader = deck::PoemCardLoader(poem);
    if (loader == nullptr) {
        return;  // not a poem number: the face stays as it was
    }
    fw::Ref<fw::Canvas> face = FudaCanvas(slot);
    if (face.IsNil()) {
        // Before any picture is fetched, so the loader is not called.
        throw fw::NilObjectException("no card face for slot " + std::to_string(slot));
    }
    fw::Ref<fw::Picture> picture = loader->Load();
    // Set as loaded: a nil picture leaves the face without one.
    face->SetBackdrop(picture);
    face.Reset();
    picture.Reset();
}

}  // namespace game
