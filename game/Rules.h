#pragma once

#include <cstdint>
#include <string>

// The game's rules that need no window, as small free functions.
namespace game {

// A Double becomes an Integer by truncation toward zero (2.7 gives 2, -1.7 gives -1). Values
// beyond the Integer range saturate and NaN gives 0, so that a clock gone wild cannot make the
// conversion undefined.
int64_t TruncateToInteger(double value);

// The points of a right answer given seconds after the deal: 20 less the seconds, truncated
// toward zero, with no bound either way (an answer after 21 seconds scores below zero).
int64_t PointsForRightAnswer(double seconds);

// total + points, saturating at the Integer range instead of overflowing.
int64_t AddPoints(int64_t total, int64_t points);

// The title (称号) earned by a game's total, from the title table: strict greater-than tests
// from the top, the last row for every total that passes none.
std::string ShogoTable(int64_t totalPoint);

// The result window's three lines, joined by single carriage returns.
std::string EndOfGameMessage(int64_t totalPoint, const std::string& title);

}  // namespace game
