// A press on a card face is the player's answer: judged against the question, marked, scored by
// the seconds taken and totalled. Every press is judged, a further press on the same question
// included; the tenth answer ends the game.
#include "fw/core/Color.h"
#include "fw/core/Date.h"
#include "fw/core/Text.h"
#include "game/KarutaWindow.h"
#include "game/Rules.h"

namespace game {
namespace {

// The answer mark fills the 50 x 50 mark canvas.
constexpr int64_t kMarkSize = 50;

}  // namespace

bool KarutaWindow::FudaCanvas_MouseDown(fw::Ref<fw::Canvas> sender, int64_t /*x*/, int64_t /*y*/) {
    // The only handler that catches: whatever goes wrong while judging (GameEnd included) is
    // dropped without a message, and the steps already done stay done.
    try {
        const int64_t slot = sender->Index();
        Seikai = (*FudaNum)(slot) == OdaiNum;

        fw::Ref<fw::Date> now = fw::Date::Create();
        OKtime = now->TotalSeconds();
        MyTime = OKtime - StartTime;

        OdaiField()->SetText((*OdaiString)(OdaiNum));
        GameStarted = false;

        MyCanvas()->Graphics()->SetForeColor(fw::RGB(255, 0, 0));
        if (Seikai) {
            MyCanvas()->Graphics()->DrawOval(0, 0, kMarkSize, kMarkSize);
            MyPoint = PointsForRightAnswer(MyTime);
        } else {
            MyCanvas()->Graphics()->DrawLine(0, 0, kMarkSize, kMarkSize);
            MyCanvas()->Graphics()->DrawLine(0, kMarkSize, kMarkSize, 0);
            MyPoint = 0;
        }

        TimeField()->SetText(fw::Str(MyTime));
        ScoreFiled()->SetText(fw::Str(MyPoint));
        TotalPoint = AddPoints(TotalPoint, MyPoint);
        TotalScoreField()->SetText(fw::Str(TotalPoint));
        // The high score follows the running total; an equal total counts.
        if (TotalPoint >= HighScore) {
            HighScore = TotalPoint;
            HighScoreField()->SetText(fw::Str(HighScore));
        }
        if (Kaisu > 9) {
            GameEnd();
        }
    } catch (...) {
        // Discarded: a press never takes the game down.
    }
    return false;
}

}  // namespace game
