// The game under faults, each with a real window: card pictures that are missing, cut short,
// claim an absurd size or are hostile in any way the loader knows leave the faces empty (or, for
// a good picture far larger than a card, show it at card size) and the game playable in bounded
// time and memory; an exception escaping any event handler is reported once and the window goes
// on handling events, while the card face's own handler swallows what goes wrong inside it.
#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "deck/CardPictureLimits.h"
#include "fw/core/Dispatch.h"
#include "fw/core/FaultPoint.h"
#include "game/Rules.h"
#include "tests/game/GameFixture.h"
#include "tests/support/GameInvariants.h"
#include "tests/support/HostileFiles.h"
#include "tests/support/MemoryInUse.h"
#include "tests/support/PipeWatchdog.h"
#include "tests/support/PngBytes.h"
#include "tests/support/TestPictureLimits.h"

namespace {

// The hostile files say how the loader takes them under the limits they are made against.
static_assert(karuta_test::kTestPictureLimits == deck::kCardPictureLimits,
              "the hostile files are made for other limits than the cards'");

// What the later games on broken pictures may add to the memory in use once a first game has
// warmed the caches; pictures decoded after all would take far more (the absurd one 40 GB, a
// real card 180 KB each, ten a deal).
constexpr int64_t kMaxGameGrowth = 1024 * 1024;
// What the first game may take on top of the open window: every card picture kept at the
// largest size a card is drawn at is about 64 MB. The trusting loader took 6.5 GB for one-bit
// pictures of 4096 x 4096 pixels.
constexpr int64_t kMaxFirstGameMemory = 96 * 1024 * 1024;
// The whole process at its highest, where the resident set can be measured.
constexpr int64_t kMaxPeakResident = 192 * 1024 * 1024;
// The window opens, drawing the card back on every card frame and face, within a second
// whatever the card back's file holds. A card back that costs half a second to refuse, read
// again for each canvas, held it back for 10 s.
constexpr auto kMaxOpen = std::chrono::seconds(1);
// Three games with every card file broken cost no more than this over three games with good
// ones: each file is read once, and a refused one is refused again at the cost of a look at it.
// A file that costs half a second to refuse, read again at every deal, added a minute a game.
constexpr auto kMaxExtraForThreeGames = std::chrono::seconds(3);
constexpr int kGames = 3;

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

    // Either every frame and face of the window shows a picture no larger than a card is kept
    // at, or, when the card pictures are all gone, none shows one.
    ::testing::AssertionResult CardsShow(bool shown) {
        for (int64_t slot = 0; slot <= 9; ++slot) {
            for (const fw::Ref<fw::Canvas>& canvas :
                 {window->CardCanvas(slot), window->FudaCanvas(slot)}) {
                const fw::Ref<fw::Picture> picture = canvas->Backdrop();
                if (picture.IsNil() == shown) {
                    return ::testing::AssertionFailure()
                           << "slot " << slot << (shown ? " shows no picture" : " shows a picture");
                }
                if (shown && (picture->Width() > deck::kCardPictureLimits.maxKeptSide ||
                              picture->Height() > deck::kCardPictureLimits.maxKeptSide)) {
                    return ::testing::AssertionFailure()
                           << "slot " << slot << " keeps a picture of " << picture->Width() << " x "
                           << picture->Height();
                }
            }
        }
        return ::testing::AssertionSuccess();
    }
};

TEST_F(FaultsTest, BrokenPicturesLeaveEmptyCardsAndAWholeGameStillPlays) {
    struct Case {
        std::string fault;
        std::function<void(const CardResources&)> breakPictures;
        bool cardsShow = false;  // the pictures load after all, at card size
    };
    const Case cases[] = {
        // First, as the measure of the others: the cards as drawn.
        {"the card pictures are good", [](const CardResources&) {}, true},
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
    std::vector<Case> allCases(std::begin(cases), std::end(cases));
    for (const karuta_test::HostileKind& hostile : karuta_test::kHostileKinds) {
        allCases.push_back({std::string("every picture file is ") + hostile.description,
                            [kind = hostile.kind](const CardResources& r) {
                                for (const QString& file : PictureFiles()) {
                                    ASSERT_TRUE(karuta_test::MakeHostileFile(r.Path(file), kind));
                                }
                            },
                            hostile.refusal == fw::PictureRefusal::kNone});
    }
    // The pictures are reported once each; the lines would only bury the test's own output.
    fw::testing::SetPictureReportSink([](const std::string&) {});
    double goodGames = -1.0;  // seconds, once the first case has played them
    for (const Case& c : allCases) {
        SCOPED_TRACE(c.fault);
        // A fresh folder of good pictures for each case, broken as the case says.
        CardResources broken;
        c.breakPictures(broken);
        QStringList paths;
        for (const QString& file : PictureFiles()) {
            paths << broken.Path(file);
        }
        // Should a load wait on a pipe, the watchdog lets it go on, and the case fails.
        PipeWatchdog watchdog(paths, std::chrono::seconds(1));
        const int64_t memoryBeforeOpen = MemoryInUse();
        ResetPeakResident();
        const auto start = std::chrono::steady_clock::now();
        Open();
        const std::chrono::duration<double> opening = std::chrono::steady_clock::now() - start;
        ASSERT_TRUE(CardsShow(c.cardsShow));

        // Every deal tries the broken pictures again; the later games show whether that costs
        // memory each time.
        int64_t memoryAfterFirstGame = 0;
        for (int game = 1; game <= kGames; ++game) {
            for (int question = 1; question <= 10; ++question) {
                Press();
                ASSERT_TRUE(GameStateIsConsistent(*window)) << "question " << question;
                ASSERT_TRUE(CardsShow(c.cardsShow)) << "question " << question;
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
        const std::chrono::duration<double> games =
            std::chrono::steady_clock::now() - start - opening;
        if (goodGames < 0.0) {
            goodGames = games.count();
        }
        const int64_t firstGame = memoryAfterFirstGame - memoryBeforeOpen;
        const int64_t growth = MemoryInUse() - memoryAfterFirstGame;
        const int64_t peak = PeakResident();
        std::printf(
            "faults: %s: window open in %.3f s, %d games in %.2f s (%+.2f s over good cards); "
            "%s %.1f MiB more after the first game, grew %.3f MiB over the others%s\n",
            c.fault.c_str(), opening.count(), kGames, games.count(), games.count() - goodGames,
            MemoryInUseName(), firstGame / 1048576.0, growth / 1048576.0,
            peak < 0
                ? ""
                : ("; peak resident " + std::to_string(peak / (1024 * 1024)) + " MiB").c_str());
        EXPECT_FALSE(watchdog.Fired()) << "a load waited on a pipe";
        EXPECT_LT(opening, kMaxOpen);
        EXPECT_LT(games.count() - goodGames,
                  std::chrono::duration<double>(kMaxExtraForThreeGames).count());
        EXPECT_LT(firstGame, kMaxFirstGameMemory);
        EXPECT_LT(growth, kMaxGameGrowth);
        if (peak >= 0) {
            EXPECT_LT(peak, kMaxPeakResident);
        }
        TearDown();
    }
    fw::testing::SetPictureReportSink(nullptr);
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
