#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "game/Rules.h"

namespace {

TEST(ShogoTable, TitlesChangeExactlyAtTheTableEdges) {
    struct Case {
        int64_t total;
        const char* title;
    };
    const Case cases[] = {
        {1000, "大歌聖"},
        {170, "大歌聖"},
        {169, "歌聖"},
        {160, "歌聖"},
        {159, "六歌仙"},
        {150, "六歌仙"},
        {149, "三十六歌仙"},
        {140, "三十六歌仙"},
        {139, "左大臣"},
        {130, "左大臣"},
        {129, "右大臣"},
        {120, "右大臣"},
        {119, "大納言"},
        {110, "大納言"},
        {109, "中納言"},
        {100, "中納言"},
        {80, "中納言"},
        {79, "さきもり"},
        {40, "さきもり"},
        {39, "詠み人知らず"},
        {0, "詠み人知らず"},
        {-250, "詠み人知らず"},
        {std::numeric_limits<int64_t>::min(), "詠み人知らず"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(game::ShogoTable(c.total), c.title) << c.total;
    }
}

TEST(EndOfGameMessage, IsThreeLinesJoinedBySingleCarriageReturns) {
    EXPECT_EQ(game::EndOfGameMessage(85, "中納言"),
              "ゲーム終了です。\rあなたの総得点は85です。\rあなたの称号は中納言です。");
    EXPECT_EQ(game::EndOfGameMessage(-3, "詠み人知らず"),
              "ゲーム終了です。\rあなたの総得点は-3です。\rあなたの称号は詠み人知らずです。");
}

TEST(PointsForRightAnswer, TwentyLessTheSecondsTruncatedTowardZero) {
    struct Case {
        double seconds;
        int64_t points;
    };
    const Case cases[] = {{0.4, 19}, {3.0, 17},  {12.99, 7},  {19.2, 0},  {20.0, 0},
                          {20.6, 0}, {21.0, -1}, {35.5, -15}, {-1.5, 21}, {1.7e9, -1699999980}};
    for (const Case& c : cases) {
        EXPECT_EQ(game::PointsForRightAnswer(c.seconds), c.points) << c.seconds;
    }
}

TEST(TruncateToInteger, SaturatesInsteadOfOverflowing) {
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
    EXPECT_EQ(game::TruncateToInteger(2.7), 2);
    EXPECT_EQ(game::TruncateToInteger(-0.6), 0);
    EXPECT_EQ(game::TruncateToInteger(1e300), kMax);
    EXPECT_EQ(game::TruncateToInteger(-1e300), kMin);
    EXPECT_EQ(game::TruncateToInteger(INFINITY), kMax);
    EXPECT_EQ(game::TruncateToInteger(NAN), 0);
    EXPECT_EQ(game::AddPoints(kMax, 5), kMax);
    EXPECT_EQ(game::AddPoints(kMin, -5), kMin);
    EXPECT_EQ(game::AddPoints(10, -15), -5);
}

}  // namespace
