// The game under faults, each with a real window: card pictures that are missing, cut short or
// claim an absurd size leave the faces empty and the game playable with bounded memory; an
// exception escaping any event handler is reported once and the window goes on handling events,
// while the card face's own handler swallows what goes wrong inside it.
#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <cstdio>
#include <functional>
#include <random>

#include "fw/Dispatch.h"
#include "fw/FaultPoint.h"
#include "game/Rules.h"
#include "tests/game/GameFixture.h"
#include "tests/support/GameInvariants.h"
#include "tests/support/MemoryInUse.h"
#include "tests/support/PngBytes.h"

namespace {

// What a whole game on broken pictures may add to the memory in use once a first game has
// warmed the caches; pictures decoded after all would take far more (the absurd one 40 GB, a
// real card 180 KB each, ten a deal).
constexpr int64_t kMaxGameGrowth = 1024 * 1024;

QStringList PictureFiles() {
    QStringList files{"Green.pct"};
    for (int n = 0; n < 100; ++n) {
        files << QString("karuta%1.pct").arg(n);
    }
    return files;
}

// A card-sized picture with a drawn-looking, noisy surface, so that its compressed data spans
// many blocks as a real card's does.
QByteArray CardLikePng(uint32_t seed) {
    std::mt19937 random(seed);
    QImage image(140, 320, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int shade = static_cast<int>(random() % 48);
            image.setPixel(x, y, qRgb(200 + shade, 180 + (x + y) % 40, 140 + shade));
        }
    }
    return karuta_test::EncodePng(image);
}

using karuta_test::PngClaiming;

class FaultsTest : public GameTest {
protected:
    // Each test breaks what it needs first and then opens the window itself.
    void SetUp() override {}
    void Open() { GameTest::SetUp(); }

    // The window's card pictures are all gone: no frame or face shows one.
    ::testing::AssertionResult NoCardShows() {
        for (int64_t slot = 0; slot <= 9; ++slot) {
            if (window->CardCanvas(slot)->Backdrop() || window->FudaCanvas(slot)->Backdrop()) {
                return ::testing::AssertionFailure() << "slot " << slot << " shows a picture";
            }
        }
        return ::testing::AssertionSuccess();
    }
};

TEST_F(FaultsTest, BrokenPicturesLeaveEmptyCardsAndAWholeGameStillPlays) {
    struct Case {
        const char* fault;
        std::function<void(const CardResources&)> breakPictures;
    };
    const Case cases[] = {
        {"the resources folder is missing",
         [](const CardResources& r) {
             fw::testing::SetResourcesFolder(r.Path("no such folder").toStdString());
         }},
        {"every picture file is cut in half",
         [](const CardResources& r) {
             uint32_t seed = 1;
             for (const QString& file : PictureFiles()) {
                 const QByteArray whole = CardLikePng(seed++);
                 r.Overwrite(file, whole.left(whole.size() / 2));
             }
         }},
        {"every picture claims 100000 x 100000 pixels",
         [](const CardResources& r) {
             for (const QString& file : PictureFiles()) {
                 r.Overwrite(file, PngClaiming(100000, 100000));
             }
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        // A fresh folder of good pictures for each case, broken as the case says.
        CardResources broken;
        c.breakPictures(broken);
        Open();
        ASSERT_TRUE(NoCardShows());

        // Every deal tries the broken pictures again; the second game shows whether that costs
        // memory each time.
        int64_t memoryAfterFirstGame = 0;
        for (int game = 1; game <= 2; ++game) {
            for (int question = 1; question <= 10; ++question) {
                Press();
                ASSERT_TRUE(GameStateIsConsistent(*window)) << "question " << question;
                ASSERT_TRUE(NoCardShows()) << "question " << question;
                now += 2.0;
                Tick();
                ClickFace(QuestionSlot());
                // The loop paints the empty cards.
                QCoreApplication::processEvents();
            }
            EXPECT_EQ(window->Kaisu, 0);
            EXPECT_EQ(game::MessageWindow::Instance()->Message()->Text(),
                      game::EndOfGameMessage(180, "大歌聖"));
            if (game == 1) {
                memoryAfterFirstGame = MemoryInUse();
            }
        }
        const int64_t growth = MemoryInUse() - memoryAfterFirstGame;
        std::printf("faults: %s: %s grew %.3f MiB over the second game\n", c.fault,
                    MemoryInUseName(), growth / 1048576.0);
        EXPECT_LT(growth, kMaxGameGrowth);
        TearDown();
    }
}

TEST_F(FaultsTest, AnExceptionEscapingAHandlerIsReportedOnceAndEventsGoOn) {
    Open();
    const QColor back = CardResources::BackColor();
    struct Case {
        const char* handler;
        const char* faultPoint;
        // Sets the scene; the event that reaches the fault point; what shows that the fault
        // struck where it should; the same event again, now handled whole.
        std::function<void()> prepare;
        std::function<void()> event;
        std::function<void()> afterFault;
        std::function<void()> again;
    };
    QWidget* frame = Widget(*window->CardCanvas(0));
    QWidget* face = Widget(*window->FudaCanvas(0));
    // The colour of the card dealt onto slot 0.
    auto FaceColor = [&] {
        return CardResources::PoemColor(static_cast<int>((*window->FudaNum)(0)));
    };
    QImage shot;
    int64_t kaisu = 0;
    const Case cases[] = {
        // The press that follows every case is this handler's "again".
        {"the start button's Action", "Date.Constructor", [&] { kaisu = window->Kaisu; },
         [&] { Press(); }, [&] { EXPECT_EQ(window->Kaisu, kaisu); }, [] {}},
        {"the start button's Action", "Random.Constructor", [&] { kaisu = window->Kaisu; },
         [&] { Press(); }, [&] { EXPECT_EQ(window->Kaisu, kaisu); }, [] {}},
        {"the timer's Action", "Date.Constructor",
         [&] {
             Press();
             window->TimeField()->SetText("-");
             now += 5.0;
         },
         [&] { Tick(); }, [&] { EXPECT_EQ(window->TimeField()->Text(), "-"); },
         [&] {
             Tick();
             EXPECT_EQ(window->TimeField()->Text(), "5");
         }},
        {"a card frame's Paint", "Graphics.DrawPicture", [] {},
         [&] { shot = frame->grab().toImage(); },
         // The frame's rim, outside the face that lies on it.
         [&] { EXPECT_NE(shot.pixelColor(3, 3), back); },
         [&] { EXPECT_EQ(frame->grab().toImage().pixelColor(3, 3), back); }},
        {"a card face's Paint", "Graphics.DrawPicture", [&] { Press(); },
         [&] { shot = face->grab().toImage(); },
         [&] { EXPECT_NE(shot.pixelColor(35, 80), FaceColor()); },
         [&] { EXPECT_EQ(face->grab().toImage().pixelColor(35, 80), FaceColor()); }},
        {"the result window's OK Action", "Window.Close",
         [&] {
             window->Kaisu = 10;
             Press();  // ends the game and opens the result window
         },
         [&] {
             QTest::mouseClick(Widget(*game::MessageWindow::Instance()->OKButton()),
                               Qt::LeftButton);
         },
         [&] { EXPECT_TRUE(game::MessageWindow::Instance()->IsOpen()); },
         [&] {
             fw::Ref<game::MessageWindow> result = game::MessageWindow::Instance();
             QTest::mouseClick(Widget(*result->OKButton()), Qt::LeftButton);
             EXPECT_FALSE(result->IsOpen());
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.handler) + " failing at " + c.faultPoint);
        // Nothing runs between arming and the case's event but that event: no paint left over,
        // no tick of the real timer.
        QCoreApplication::processEvents();
        c.prepare();
        const int reported = fw::testing::UnhandledExceptionCount();
        fw::testing::ArmFault(c.faultPoint);
        c.event();
        fw::testing::DisarmFaults();
        EXPECT_EQ(fw::testing::UnhandledExceptionCount(), reported + 1);
        c.afterFault();
        c.again();
        EXPECT_EQ(fw::testing::UnhandledExceptionCount(), reported + 1);
        // The window goes on: the next press deals.
        const int64_t next = window->Kaisu % 10 + 1;
        Press();
        EXPECT_EQ(window->Kaisu, next);
        EXPECT_TRUE(GameStateIsConsistent(*window));
    }
}

TEST_F(FaultsTest, TheCardFaceHandlerKeepsItsOwnFailureAndReturnsNormally) {
    Open();
    Press();
    window->OKtime = -1.0;
    window->Seikai = false;
    const int reported = fw::testing::UnhandledExceptionCount();

    // Judging fails at the clock, after the click was found right.
    fw::testing::ArmFault("Date.Constructor");
    ClickFace(QuestionSlot());
    EXPECT_TRUE(window->Seikai);
    EXPECT_EQ(window->OKtime, -1.0);

    // Called straight, the handler gives its usual answer and raises nothing.
    fw::testing::ArmFault("Date.Constructor");
    bool handled = true;
    EXPECT_NO_THROW(handled = window->FudaCanvas_MouseDown(window->FudaCanvas(0), 35, 80));
    EXPECT_FALSE(handled);
    EXPECT_EQ(window->OKtime, -1.0);
    fw::testing::DisarmFaults();
    EXPECT_EQ(fw::testing::UnhandledExceptionCount(), reported);

    // The next click is judged whole.
    ClickFace(QuestionSlot());
    EXPECT_EQ(window->OKtime, now);
}

}  // namespace
