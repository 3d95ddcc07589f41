// A press of the start button: the next question of the game is opened, timed from this moment,
// dealt onto the ten card faces, and one of the ten cards is chosen as the question.
#include "fw/core/Date.h"
#include "fw/core/Random.h"
#include "fw/core/Text.h"
#include "fw/runtime/Runtime.h"
#include "game/KarutaWindow.h"

namespace game {

void KarutaWindow::StartButton_Action(fw::Ref<fw::PushButton> /*sender*/) {
    fw::Ref<fw::Random> random = fw::Random::Create();
    fw::Ref<fw::Date> now = fw::Date::Create();

    // Erases the last answer mark, which was drawn straight onto the canvas.
    MyCanvas()->Refresh(true);
    OdaiField()->SetText("");
    GameStarted = true;
    // The clock starts before the deal: ending a game and loading pictures count too.
    StartTime = now->TotalSeconds();

    // The tenth question is still unanswered: that game ends before the next one is dealt.
    if (Kaisu > 9) {
        GameEnd();
    }
    Kaisu = Kaisu + 1;
    KaisuField()->SetText(fw::Str(Kaisu));

    // Question k puts poems 10(k-1) to 10(k-1)+9 on slots 0 to 9; each slot's picture is set
    // before the next slot's number is written.
    for (int64_t slot = 0; slot <= 9; ++slot) {
        FudaNum->Set(slot, 10 * (Kaisu - 1) + slot);
        Fuda(slot);
        fw::RuntimeBackgroundTasks();
    }

    const int64_t question = random->InRange(0, 9);
    OdaiNum = (*FudaNum)(question);
}

}  // namespace game
