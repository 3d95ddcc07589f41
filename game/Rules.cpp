#include "game/Rules.h"

#include <array>
#include <cmath>
#include <limits>

#include "fw/core/Text.h"

namespace game {
namespace {

struct TitleRow {
    int64_t above;  // the total must be greater than this
    const char* title;
};

constexpr std::array<TitleRow, 9> kTitles = {{
    {169, "大歌聖"},
    {159, "歌聖"},
    {149, "六歌仙"},
    {139, "三十六歌仙"},
    {129, "左大臣"},
    {119, "右大臣"},
    {109, "大納言"},
    {79, "中納言"},
    {39, "さきもり"},
}};
constexpr const char* kTitleOfEveryOtherTotal = "詠み人知らず";

// The points of an answer given at once.
constexpr double kPointsAtOnce = 20.0;

}  // namespace

int64_t TruncateToInteger(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    // 2^63 is exactly representable; anything at or beyond it saturates.
    constexpr double kLimit = 9223372036854775808.0;
    if (value >= kLimit) {
        return std::numeric_limits<int64_t>::max();
    }
    if (value < -kLimit) {
        return std::numeric_limits<int64_t>::min();
    }
    return static_cast<int64_t>(value);
}

int64_t PointsForRightAnswer(double seconds) {
    return TruncateToInteger(kPointsAtOnce - seconds);
}

int64_t AddPoints(int64_t total, int64_t points) {
    int64_t sum = 0;
    if (__builtin_add_overflow(total, points, &sum)) {
        return points > 0 ? std::numeric_limits<int64_t>::max()
                          : std::numeric_limits<int64_t>::min();
    }
    return sum;
}

std::string ShogoTable(int64_t totalPoint) {
    for (const TitleRow& row : kTitles) {
        if (totalPoint > row.above) {
            return row.title;
        }
    }
    return kTitleOfEveryOtherTotal;
}

std::string EndOfGameMessage(int64_t totalPoint, const std::string& title) {
    const std::string cr = fw::Chr(13);
    return "ゲーム終了です。" + cr + "あなたの総得点は" + fw::Str(totalPoint) + "です。" + cr +
           "あなたの称号は" + title + "です。";
}

}  // namespace game
