// The end of a game of ten questions: the counters go back, the faces are cleared, the title is
// chosen by the total and shown with the total in the result window.
#include "fw/runtime/Runtime.h"
#include "game/KarutaWindow.h"
#include "game/MessageWindow.h"
#include "game/Rules.h"

namespace game {

void KarutaWindow::GameEnd() {
    Kaisu = 0;
    for (int64_t slot = 0; slot <= 9; ++slot) {
        FudaCanvas(slot)->SetBackdrop(nullptr);
        fw::RuntimeBackgroundTasks();
    }
    OdaiField()->SetText("");
    shogo = ShogoTable(TotalPoint);
    // The open result window if there is one, else a new one; shown without waiting for OK.
    MessageWindow::Instance()->Message()->SetText(EndOfGameMessage(TotalPoint, shogo));
    MessageWindow::Instance()->Show();
    ShogoText()->SetText(shogo);
    TotalPoint = 0;
}

}  // namespace game
