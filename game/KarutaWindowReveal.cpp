// The one-second tick: while a question is open it shows one more character of the poem for
// every whole second since the deal; on every tick it rewrites the time and score displays.
// The four field open handlers give their fields their first text.
#include "fw/core/Date.h"
#include "fw/core/Text.h"
#include "game/KarutaWindow.h"
#include "game/Rules.h"

namespace game {

void KarutaWindow::MyTimer_Action(fw::Ref<fw::Timer> sender) {
    fw::Ref<fw::Date> now = fw::Date::Create();
    if (GameStarted) {
        OKtime = now->TotalSeconds();
        MyTime = OKtime - StartTime;
        // Follows the clock, not the count of ticks: a late tick shows every second passed.
        const int64_t shown = TruncateToInteger(MyTime);
        OdaiField()->SetText(fw::Left((*OdaiString)(OdaiNum), shown));
        sender->SetPeriod(1000);
    }
    TimeField()->SetText(fw::Str(MyTime));
    ScoreFiled()->SetText(fw::Str(MyPoint));
    TotalScoreField()->SetText(fw::Str(TotalPoint));
}

void KarutaWindow::ScoreFiled_Open(fw::Ref<fw::TextField> sender) {
    sender->SetText(fw::Str(MyPoint));
}

void KarutaWindow::TotalScoreField_Open(fw::Ref<fw::TextField> sender) {
    sender->SetText(fw::Str(TotalPoint));
}

void KarutaWindow::KaisuField_Open(fw::Ref<fw::TextField> /*sender*/) {
    KaisuField()->SetText(fw::Str(Kaisu));
}

void KarutaWindow::HighScoreField_Open(fw::Ref<fw::TextField> sender) {
    sender->SetText(fw::Str(HighScore));
}

}  // namespace game
