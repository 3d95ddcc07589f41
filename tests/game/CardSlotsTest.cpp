// The card slots: the card back on every frame and face, the dealt poem's card on a face, and the
// rule that picks the picture by the slot's poem number.
#include <QImage>
#include <cstdint>

#include "fw/runtime/Runtime.h"
#include "tests/game/GameFixture.h"

namespace {

using CardSlotsTest = GameTest;

QColor PixelAt(QWidget* widget, int x, int y) {
    return widget->grab().toImage().pixelColor(x, y);
}

int64_t PoemCardLoads() {
    int64_t loads = 0;
    for (int n = 0; n < 100; ++n) {
        loads += fw::testing::OpenFromAppCount("karuta" + std::to_string(n) + ".pct");
    }
    return loads;
}

TEST_F(CardSlotsTest, EveryFrameAndFaceShowsOneSharedCardBackStretchedToItsSize) {
    fw::Ref<fw::Picture> back = deck::Green();
    ASSERT_TRUE(back);
    for (int64_t slot = 0; slot <= 9; ++slot) {
        EXPECT_EQ(window->CardCanvas(slot)->Backdrop().Get(), back.Get()) << slot;
        EXPECT_EQ(window->FudaCanvas(slot)->Backdrop().Get(), back.Get()) << slot;
        QWidget* face = Widget(*window->FudaCanvas(slot));
        QWidget* frame = Widget(*window->CardCanvas(slot));
        // The 14 x 32 picture covers the whole canvas, corners included.
        for (QPoint p : {QPoint(0, 0), QPoint(69, 159), QPoint(35, 80)}) {
            EXPECT_EQ(PixelAt(face, p.x(), p.y()), CardResources::BackColor()) << slot;
        }
        EXPECT_EQ(PixelAt(frame, 1, 1), CardResources::BackColor()) << slot;
        EXPECT_EQ(PixelAt(frame, 88, 168), CardResources::BackColor()) << slot;
    }
    // Twenty canvases asked for it; the file was read once.
    EXPECT_EQ(fw::testing::OpenFromAppCount("Green.pct"), 1);
}

TEST_F(CardSlotsTest, TheSlotsPoemNumberSelectsItsOwnCard) {
    struct Case {
        int64_t poem;
        const char* file;
    };
    const Case cases[] = {
        {0, "karuta0.pct"}, {7, "karuta7.pct"}, {10, "karuta10.pct"}, {99, "karuta99.pct"}};
    for (const Case& c : cases) {
        const int64_t loadsBefore = fw::testing::OpenFromAppCount(c.file);
        window->FudaNum->Set(2, c.poem);
        window->Fuda(2);
        fw::Ref<fw::Picture> shown = window->FudaCanvas(2)->Backdrop();
        EXPECT_EQ(shown.Get(), deck::PoemCardLoader(c.poem)->Load().Get()) << c.poem;
        EXPECT_EQ(fw::testing::OpenFromAppCount(c.file), loadsBefore + 1) << c.poem;
        EXPECT_EQ(PixelAt(Widget(*window->FudaCanvas(2)), 35, 80),
                  CardResources::PoemColor(static_cast<int>(c.poem)));
        // No other face changed.
        EXPECT_EQ(window->FudaCanvas(1)->Backdrop().Get(), deck::Green().Get());
        EXPECT_EQ(window->FudaCanvas(3)->Backdrop().Get(), deck::Green().Get());
    }
}

TEST_F(CardSlotsTest, ANumberThatIsNoPoemLeavesTheFaceAsItWas) {
    const int64_t values[] = {-1, 100, (int64_t{1} << 32) + 5, INT64_MIN, INT64_MAX};
    const int64_t loadsBefore = PoemCardLoads();
    for (int64_t value : values) {
        window->FudaNum->Set(4, value);
        EXPECT_NO_THROW(window->Fuda(4)) << value;
        EXPECT_EQ(window->FudaCanvas(4)->Backdrop().Get(), deck::Green().Get()) << value;
    }
    EXPECT_EQ(PoemCardLoads(), loadsBefore);
}

TEST_F(CardSlotsTest, TheSamePoemOnTwoSlotsIsOnePictureLoadedOnce) {
    window->FudaNum->Set(0, 42);
    window->FudaNum->Set(9, 42);
    window->Fuda(0);
    window->Fuda(9);
    EXPECT_EQ(window->FudaCanvas(0)->Backdrop().Get(), window->FudaCanvas(9)->Backdrop().Get());
    EXPECT_EQ(fw::testing::OpenFromAppCount("karuta42.pct"), 1);
}

TEST_F(CardSlotsTest, FailingCallsChangeNothingAndKeepNoReference) {
    window->FudaNum->Set(5, 55);
    window->Fuda(5);
    fw::Ref<fw::Picture> dealt = window->FudaCanvas(5)->Backdrop();
    const int64_t pictureRefs = dealt->RefCount();
    const int64_t windowRefs = window->RefCount();
    const int64_t backRefs = deck::Green()->RefCount();

    EXPECT_THROW(window->Fuda(10), fw::OutOfBoundsException);
    EXPECT_THROW(window->Fuda(-1), fw::OutOfBoundsException);
    fw::Ref<fw::Array<int64_t>> numbers = window->FudaNum;
    window->FudaNum = nullptr;
    EXPECT_THROW(window->Fuda(5), fw::NilObjectException);
    window->FudaNum = numbers;
    // A load that raises leaves the face with its previous picture.
    window->FudaNum->Set(5, 56);
    fw::testing::ArmFault("Picture._OpenFromApp");
    EXPECT_THROW(window->Fuda(5), fw::RuntimeException);
    fw::testing::DisarmFaults();

    EXPECT_EQ(window->FudaCanvas(5)->Backdrop().Get(), dealt.Get());
    EXPECT_EQ(dealt->RefCount(), pictureRefs);
    EXPECT_EQ(window->RefCount(), windowRefs);
    EXPECT_EQ(deck::Green()->RefCount(), backRefs);
    // The next deal of that poem tries the load again.
    window->Fuda(5);
    EXPECT_EQ(PixelAt(Widget(*window->FudaCanvas(5)), 35, 80), CardResources::PoemColor(56));
}

TEST_F(CardSlotsTest, WithNoCardFaceTheLoaderIsNeverCalled) {
    // A window object whose controls were never made has no card faces.
    fw::Ref<game::KarutaWindow> bare = fw::RuntimeNewObject<game::KarutaWindow>();
    bare->FudaNum->Set(0, 7);
    const int64_t loadsBefore = fw::testing::OpenFromAppCount("karuta7.pct");
    EXPECT_THROW(bare->Fuda(0), fw::NilObjectException);
    EXPECT_EQ(fw::testing::OpenFromAppCount("karuta7.pct"), loadsBefore);
    EXPECT_EQ(bare->RefCount(), 1);
}

TEST_F(CardSlotsTest, AMissingCardLeavesTheFaceEmptyAndIsTriedAgainAtTheNextDeal) {
    resources.Remove("karuta8.pct");
    window->FudaNum->Set(8, 8);
    EXPECT_NO_THROW(window->Fuda(8));
    EXPECT_TRUE(window->FudaCanvas(8)->Backdrop().IsNil());
    // The face draws nothing; the frame's card back shows around it.
    QWidget* frame = Widget(*window->CardCanvas(8));
    EXPECT_EQ(PixelAt(frame, 45, 85), CardResources::BackColor());
    window->Fuda(8);
    EXPECT_EQ(fw::testing::OpenFromAppCount("karuta8.pct"), 2);
    resources.Overwrite("karuta8.pct", QByteArray("not a picture"));
    window->Fuda(8);
    EXPECT_TRUE(window->FudaCanvas(8)->Backdrop().IsNil());
}

TEST_F(CardSlotsTest, AfterAGameEndsEachSlotShowsItsFramesCardBackOnly) {
    window->Kaisu = 10;
    Press();  // ends the game, then deals question 1 again
    window->Kaisu = 10;
    ClickFace(0);  // a tenth answer ends the game
    for (int64_t slot = 0; slot <= 9; ++slot) {
        EXPECT_TRUE(window->FudaCanvas(slot)->Backdrop().IsNil());
        EXPECT_EQ(window->CardCanvas(slot)->Backdrop().Get(), deck::Green().Get());
        EXPECT_EQ(PixelAt(Widget(*window->CardCanvas(slot)), 45, 85), CardResources::BackColor());
    }
}

}  // namespace
