// The ten card slots: each frame and face takes the card back when it opens, and every paint
// draws the canvas's picture stretched over the whole canvas.
#include "deck/CardPictures.h"
#include "game/KarutaWindow.h"

namespace game {
namespace {

void ShowCardBack(fw::Canvas& canvas) {
    canvas.SetBackdrop(deck::Green());
}

// The whole picture into the whole canvas, each direction scaled on its own; the areas to
// repaint are not consulted, so a partial repaint matches the rest.
void PaintBackdrop(fw::Canvas& canvas, fw::Graphics& g) {
    fw::Ref<fw::Picture> picture = canvas.Backdrop();
    if (picture.IsNil()) {
        return;
    }
    g.DrawPicture(picture, 0, 0, canvas.Width(), canvas.Height(), 0, 0, picture->Width(),
                  picture->Height());
}

}  // namespace

void KarutaWindow::CardCanvas_Open(fw::Ref<fw::Canvas> sender) {
    ShowCardBack(*sender);
}

void KarutaWindow::FudaCanvas_Open(fw::Ref<fw::Canvas> sender) {
    ShowCardBack(*sender);
}

void KarutaWindow::CardCanvas_Paint(fw::Ref<fw::Canvas> sender, fw::Ref<fw::Graphics> g,
                                    RectArray /*areas*/) {
    PaintBackdrop(*sender, *g);
}

void KarutaWindow::FudaCanvas_Paint(fw::Ref<fw::Canvas> sender, fw::Ref<fw::Graphics> g,
                                    RectArray /*areas*/) {
    PaintBackdrop(*sender, *g);
}

}  // namespace game
