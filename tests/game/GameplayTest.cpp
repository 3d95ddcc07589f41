// A whole game through the window's events: dealing, revealing, judging, scoring, the end of a
// game and the result window.
#include <QImage>
#include <QLabel>
#include <algorithm>

#include "deck/PoemTable.h"
#include "fw/core/Dispatch.h"
#include "fw/core/FaultPoint.h"
#include "fw/core/Text.h"
#include "fw/runtime/Runtime.h"
#include "game/Rules.h"
#include "tests/game/GameFixture.h"

namespace {

QColor CenterPixel(QWidget* widget) {
    const QImage image = widget->grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

bool IsRed(const QColor& c) {
    return c.red() > 200 && c.green() < 80 && c.blue() < 80;
}

// Whether any pixel of the 50 x 50 mark canvas near (x, y) is red.
bool RedNear(QWidget* canvas, int x, int y) {
    const QImage image = canvas->grab().toImage().scaled(50, 50);
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            const int px = std::clamp(x + dx, 0, 49);
            const int py = std::clamp(y + dy, 0, 49);
            if (IsRed(image.pixelColor(px, py))) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

TEST_F(GameTest, FirstPressDealsPoemsZeroToNineAndOpensTheQuestion) {
    window->OdaiField()->SetText("typed by the player");
    Press();

    EXPECT_EQ(window->Kaisu, 1);
    EXPECT_EQ(Text(window->KaisuField()), "1");
    EXPECT_TRUE(window->GameStarted);
    EXPECT_EQ(window->StartTime, now);
    EXPECT_EQ(window->OdaiField()->Text(), "");
    for (int64_t slot = 0; slot <= 9; ++slot) {
        EXPECT_EQ((*window->FudaNum)(slot), slot);
        EXPECT_EQ(CenterPixel(Widget(*window->FudaCanvas(slot))),
                  CardResources::PoemColor(static_cast<int>(slot)))
            << "slot " << slot;
    }
    // The fixed random sequence chose slot 3.
    EXPECT_EQ(window->OdaiNum, 3);
}

TEST_F(GameTest, EveryPressDealsTheNextTenPoemsAndAnEleventhEndsTheGame) {
    for (int64_t question = 1; question <= 10; ++question) {
        Press();
        EXPECT_EQ(window->Kaisu, question);
        EXPECT_EQ(Text(window->KaisuField()), fw::Str(question));
        for (int64_t slot = 0; slot <= 9; ++slot) {
            EXPECT_EQ((*window->FudaNum)(slot), 10 * (question - 1) + slot);
        }
        EXPECT_EQ(window->OdaiNum, 10 * (question - 1) + 3);
    }
    EXPECT_TRUE(game::MessageWindow::_GetImplicitWindow(game::MessageWindow::kClassName).IsNil());

    // The tenth question was never answered: the press ends that game with a total of 0 and
    // deals question 1 of the next one.
    Press();
    EXPECT_EQ(window->Kaisu, 1);
    EXPECT_EQ(Text(window->KaisuField()), "1");
    EXPECT_EQ((*window->FudaNum)(0), 0);
    EXPECT_EQ(window->shogo, "詠み人知らず");
    EXPECT_EQ(window->ShogoText()->Text(), "詠み人知らず");
    fw::Ref<game::MessageWindow> result = game::MessageWindow::Instance();
    EXPECT_EQ(result->Message()->Text(), game::EndOfGameMessage(0, "詠み人知らず"));
    // The faces that the end of the game cleared are dealt again in the same press.
    EXPECT_EQ(CenterPixel(Widget(*window->FudaCanvas(0))), CardResources::PoemColor(0));
}

TEST_F(GameTest, TheQuestionIsRevealedOneCharacterPerWholeSecondOfTheClock) {
    Press();
    const std::string poem = (*window->OdaiString)(window->OdaiNum);
    const double dealt = now;
    struct Case {
        double seconds;
        int64_t characters;
    };
    // Ticks may come late or early; only the whole seconds since the deal count.
    const Case cases[] = {{0.4, 0}, {1.4, 1}, {3.1, 3}, {2.999, 2}, {40.0, 40}, {1.0, 1}};
    for (const Case& c : cases) {
        now = dealt + c.seconds;
        Tick();
        EXPECT_EQ(window->OdaiField()->Text(), fw::Left(poem, c.characters)) << c.seconds;
        EXPECT_NEAR(window->MyTime, c.seconds, 1e-6);
        EXPECT_EQ(window->TimeField()->Text(), fw::Str(c.seconds));
    }
    // Past the poem's end the whole poem stays.
    now = dealt + 40.0;
    Tick();
    EXPECT_EQ(window->OdaiField()->Text(), poem);
}

TEST_F(GameTest, TicksWithNoQuestionOpenRewriteOnlyTheDisplays) {
    EXPECT_EQ(window->TimeField()->Text(), "");
    Tick();
    EXPECT_EQ(window->TimeField()->Text(), "0");
    EXPECT_EQ(Text(window->ScoreFiled()), "0");
    EXPECT_EQ(Text(window->TotalScoreField()), "0");
    EXPECT_EQ(window->OdaiField()->Text(), "");
    // The timer goes on firing with its declared period.
    EXPECT_EQ(window->MyTimer()->Period(), 1000);
    EXPECT_EQ(window->MyTimer()->Mode(), 2);
}

TEST_F(GameTest, ARightAnswerDrawsTheCircleAndScoresBySpeed) {
    Press();
    now += 3.0;
    ClickFace(QuestionSlot());

    EXPECT_TRUE(window->Seikai);
    EXPECT_FALSE(window->GameStarted);
    EXPECT_EQ(window->MyPoint, 17);
    EXPECT_EQ(window->TotalPoint, 17);
    EXPECT_EQ(window->HighScore, 17);
    EXPECT_EQ(window->OdaiField()->Text(), (*window->OdaiString)(window->OdaiNum));
    EXPECT_EQ(window->TimeField()->Text(), "3");
    EXPECT_EQ(Text(window->ScoreFiled()), "17");
    EXPECT_EQ(Text(window->TotalScoreField()), "17");
    EXPECT_EQ(Text(window->HighScoreField()), "17");

    QWidget* mark = Widget(*window->MyCanvas());
    EXPECT_TRUE(RedNear(mark, 25, 0));    // the top of the circle
    EXPECT_TRUE(RedNear(mark, 0, 25));    // its left side
    EXPECT_FALSE(RedNear(mark, 25, 25));  // not filled
    // The next press erases the mark.
    Press();
    EXPECT_FALSE(RedNear(mark, 25, 0));
}

TEST_F(GameTest, AWrongAnswerDrawsTheCrossAndScoresNothing) {
    Press();
    now += 1.0;
    // What the player typed into the high score field goes: an equal total rewrites it.
    window->HighScoreField()->SetText("typed");
    const int64_t clicked = (QuestionSlot() + 1) % 10;
    ClickFace(clicked);
    EXPECT_FALSE(window->Seikai);
    EXPECT_EQ(window->MyPoint, 0);
    EXPECT_EQ(window->TotalPoint, 0);
    EXPECT_EQ(Text(window->HighScoreField()), "0");
    // The question's poem is shown whole, not the clicked card's.
    EXPECT_EQ(window->OdaiField()->Text(), (*window->OdaiString)(window->OdaiNum));
    EXPECT_NE(window->OdaiField()->Text(), (*window->OdaiString)((*window->FudaNum)(clicked)));
    QWidget* mark = Widget(*window->MyCanvas());
    EXPECT_TRUE(RedNear(mark, 25, 25));  // where the two lines cross
    EXPECT_TRUE(RedNear(mark, 3, 3));
    EXPECT_TRUE(RedNear(mark, 3, 46));
}

TEST_F(GameTest, PointsOfARightAnswerFollowTheSecondsTaken) {
    struct Case {
        double seconds;
        int64_t points;
    };
    const Case cases[] = {{0.4, 19}, {3.0, 17}, {12.99, 7}, {19.2, 0},
                          {20.0, 0}, {20.6, 0}, {21.0, -1}, {35.5, -15}};
    int64_t total = 0;
    for (const Case& c : cases) {
        // Whole-second times stay exact on a whole-second clock.
        now = 1'000'000.0;
        Press();
        now += c.seconds;
        ClickFace(QuestionSlot());
        total += c.points;
        EXPECT_EQ(window->MyPoint, c.points) << c.seconds;
        EXPECT_EQ(window->TotalPoint, total) << c.seconds;
    }
}

TEST_F(GameTest, TheHighScoreFollowsTheRunningTotal) {
    struct Answer {
        double seconds;
        int64_t highScore;
    };
    // 15, 18 and -3 points.
    const Answer answers[] = {{5.0, 15}, {2.0, 33}, {23.0, 33}};
    for (const Answer& a : answers) {
        Press();
        now += a.seconds;
        ClickFace(QuestionSlot());
        EXPECT_EQ(window->HighScore, a.highScore);
        EXPECT_EQ(Text(window->HighScoreField()), fw::Str(a.highScore));
    }
    EXPECT_EQ(window->TotalPoint, 30);
}

TEST_F(GameTest, AFurtherClickOnTheSameQuestionIsScoredAgain) {
    Press();
    now += 2.0;
    ClickFace(QuestionSlot());
    now += 3.0;
    ClickFace(QuestionSlot());
    EXPECT_EQ(window->MyPoint, 15);
    EXPECT_EQ(window->TotalPoint, 18 + 15);
}

TEST_F(GameTest, TheTenthAnswerEndsTheGameWithItsTitle) {
    int64_t total = 0;
    for (int question = 1; question <= 10; ++question) {
        Press();
        now += 11.5;  // 8 points each
        ClickFace(QuestionSlot());
        total += 8;
    }
    EXPECT_EQ(total, 80);
    EXPECT_EQ(window->Kaisu, 0);
    EXPECT_EQ(window->TotalPoint, 0);
    EXPECT_EQ(window->shogo, "中納言");
    EXPECT_EQ(window->ShogoText()->Text(), "中納言");
    EXPECT_EQ(window->OdaiField()->Text(), "");
    // The answer's own displays were written before the game ended.
    EXPECT_EQ(Text(window->TotalScoreField()), "80");
    EXPECT_EQ(Text(window->KaisuField()), "10");
    EXPECT_EQ(window->HighScore, 80);
    for (int64_t slot = 0; slot <= 9; ++slot) {
        EXPECT_TRUE(window->FudaCanvas(slot)->Backdrop().IsNil());
    }
    fw::Ref<game::MessageWindow> result = game::MessageWindow::Instance();
    EXPECT_EQ(result->Message()->Text(), game::EndOfGameMessage(80, "中納言"));
    EXPECT_EQ(result->Width(), 388);
    EXPECT_EQ(result->Height(), 100);
    // The next tick shows the total that the end of the game set back.
    Tick();
    EXPECT_EQ(Text(window->TotalScoreField()), "0");
    // Neither the tick nor the end of the game touches the count or the last answer's displays.
    EXPECT_EQ(Text(window->KaisuField()), "10");
    EXPECT_EQ(Text(window->ScoreFiled()), "8");
    EXPECT_EQ(window->TimeField()->Text(), "11.5");
    // The next press deals question 1 without another result.
    Press();
    EXPECT_EQ(Text(window->KaisuField()), "1");
}

TEST_F(GameTest, TwoGamesEndedWithoutClosingTheResultLeaveOneWindowWithTheSecondText) {
    for (int game = 0; game < 2; ++game) {
        for (int question = 1; question <= 10; ++question) {
            Press();
            now += game == 0 ? 1.0 : 2.0;
            ClickFace(QuestionSlot());
        }
    }
    int resultWindows = 0;
    for (const fw::Ref<fw::Window>& open : fw::Window::OpenWindows()) {
        resultWindows += std::string(open->ClassName()) == game::MessageWindow::kClassName;
    }
    EXPECT_EQ(resultWindows, 1);
    EXPECT_EQ(game::MessageWindow::Instance()->Message()->Text(),
              game::EndOfGameMessage(180, "大歌聖"));
}

TEST_F(GameTest, OKAndReturnCloseTheResultWindow) {
    for (int closer = 0; closer < 2; ++closer) {
        window->Kaisu = 10;
        Press();  // ends the game at once
        fw::Ref<game::MessageWindow> result = game::MessageWindow::Instance();
        ASSERT_TRUE(result->IsOpen());
        if (closer == 0) {
            QTest::mouseClick(Widget(*result->OKButton()), Qt::LeftButton);
        } else {
            QTest::keyClick(fw::testing::WidgetOf(*result), Qt::Key_Return);
        }
        QCoreApplication::processEvents();
        EXPECT_FALSE(result->IsOpen()) << (closer == 0 ? "OK" : "Return");
        EXPECT_TRUE(fw::Window::_GetImplicitWindow(game::MessageWindow::kClassName).IsNil());
    }
}

TEST_F(GameTest, AClickBeforeTheFirstPressIsJudgedRightAgainstPoemZero) {
    now = 1000.25;
    ClickFace(4);
    EXPECT_TRUE(window->Seikai);
    EXPECT_EQ(window->OdaiField()->Text(), (*window->OdaiString)(0));
    EXPECT_EQ(window->MyPoint, 20 - 1000);
    EXPECT_EQ(window->TotalPoint, -980);
    EXPECT_EQ(window->HighScore, 0);
}

TEST_F(GameTest, AClickAfterTheGameEndedCountsTowardTheNextGame) {
    for (int question = 1; question <= 10; ++question) {
        Press();
        ClickFace((QuestionSlot() + 1) % 10);  // wrong every time
    }
    ASSERT_EQ(window->Kaisu, 0);
    now += 4.0;
    // The slot that held the last answer still counts as right.
    ClickFace(window->OdaiNum - 90);
    EXPECT_TRUE(window->Seikai);
    EXPECT_EQ(window->TotalPoint, 16);
    EXPECT_EQ(window->Kaisu, 0);
    Press();
    EXPECT_EQ(window->TotalPoint, 16);
}

TEST_F(GameTest, APressWhileTheTenthQuestionIsOpenEndsTheGameFirst) {
    for (int question = 1; question <= 9; ++question) {
        Press();
        now += 10.0;
        ClickFace(QuestionSlot());  // 10 points each
    }
    Press();  // question 10, left open
    now += 1.0;
    Press();
    EXPECT_EQ(game::MessageWindow::Instance()->Message()->Text(),
              game::EndOfGameMessage(90, "中納言"));
    EXPECT_EQ(window->Kaisu, 1);
    EXPECT_EQ(window->TotalPoint, 0);
    EXPECT_EQ(window->StartTime, now);
    EXPECT_TRUE(window->GameStarted);
    EXPECT_EQ(CenterPixel(Widget(*window->FudaCanvas(9))), CardResources::PoemColor(9));
}

TEST_F(GameTest, AFailingPictureLoadEndsTheDealAtItsSlot) {
    Press();  // question 1 on the faces, OdaiNum 3
    const int before = fw::testing::UnhandledExceptionCount();
    // The fourth picture load of the next deal raises.
    fw::testing::ArmFault("Picture._OpenFromApp", 3);
    Press();
    fw::testing::DisarmFaults();

    EXPECT_EQ(fw::testing::UnhandledExceptionCount(), before + 1);
    EXPECT_EQ(window->Kaisu, 2);
    for (int64_t slot = 0; slot <= 3; ++slot) {
        EXPECT_EQ((*window->FudaNum)(slot), 10 + slot);
    }
    for (int64_t slot = 4; slot <= 9; ++slot) {
        EXPECT_EQ((*window->FudaNum)(slot), slot);
    }
    EXPECT_EQ(CenterPixel(Widget(*window->FudaCanvas(2))), CardResources::PoemColor(12));
    EXPECT_EQ(CenterPixel(Widget(*window->FudaCanvas(3))), CardResources::PoemColor(3));
    EXPECT_EQ(window->OdaiNum, 3);  // the question was never chosen
    // The window goes on: the next press deals question 3 whole.
    Press();
    EXPECT_EQ(CenterPixel(Widget(*window->FudaCanvas(3))), CardResources::PoemColor(23));
}

TEST_F(GameTest, AFailureWhileJudgingIsDroppedAndTheDoneStepsStay) {
    window->Kaisu = 10;
    window->TotalPoint = 100;
    window->StartTime = now;  // a right answer at once: 20 points
    // Making the result window fails inside the end of the game.
    fw::testing::ArmFault("RuntimeNewObject");
    const int before = fw::testing::UnhandledExceptionCount();
    ClickFace(0);
    fw::testing::DisarmFaults();

    EXPECT_EQ(fw::testing::UnhandledExceptionCount(), before);  // caught, not reported
    EXPECT_EQ(window->Kaisu, 0);                                // done before the failure
    EXPECT_EQ(window->shogo, "右大臣");
    EXPECT_EQ(window->ShogoText()->Text(), "なし");  // after the failure: not done
    EXPECT_EQ(window->TotalPoint, 120);
}

TEST_F(GameTest, EachOfTheTenSlotsCanBeTheQuestion) {
    fw::testing::SetRandomSequence({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    for (int64_t slot = 0; slot <= 9; ++slot) {
        Press();
        EXPECT_EQ(QuestionSlot(), slot);
        EXPECT_EQ(window->OdaiNum, (*window->FudaNum)(slot));
    }
}

TEST_F(GameTest, TheQuestionsClockStartsBeforeTheGameEndsAndTheCardsAreDealt) {
    // Every pass of a loop in a handler lets a second go by.
    fw::testing::SetBackgroundTaskHook([this] { now += 1.0; });
    window->Kaisu = 10;  // the press ends that game first, then deals
    const double pressed = now;
    Press();
    fw::testing::SetBackgroundTaskHook(nullptr);
    EXPECT_EQ(window->StartTime, pressed);
    EXPECT_EQ(now, pressed + 20.0);  // ten faces cleared, ten slots dealt
    now += 0.5;
    Tick();
    EXPECT_EQ(fw::Len(window->OdaiField()->Text()), 20);
}
