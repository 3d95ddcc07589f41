// The clock behind Date, the draws of Random and the registration of a document type.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <limits>
#include <set>
#include <vector>

#include "fw/core/Date.h"
#include "fw/core/FaultPoint.h"
#include "fw/core/Random.h"
#include "fw/runtime/FileType.h"
#include "fw/runtime/Runtime.h"

namespace {

constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
constexpr int64_t kMax = std::numeric_limits<int64_t>::max();

class DateRandomTest : public ::testing::Test {
protected:
    void TearDown() override {
        fw::testing::ResetClock();
        fw::testing::ResetRandom();
        fw::testing::DisarmFaults();
        fw::testing::ResetRuntime();
    }
};

TEST_F(DateRandomTest, DateHoldsTheClockAtItsCreation) {
    double now = 1700000000.25;
    fw::testing::SetClock([&now] { return now; });
    const auto start = fw::Date::Create();
    now += 1.5;
    const auto later = fw::Date::Create();
    EXPECT_DOUBLE_EQ(start->TotalSeconds(), 1700000000.25);
    EXPECT_DOUBLE_EQ(later->TotalSeconds() - start->TotalSeconds(), 1.5);

    // The real clock counts seconds (not milliseconds) since the Unix epoch, with a fraction.
    fw::testing::ResetClock();
    const double expected =
        std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
    EXPECT_NEAR(fw::Date::Create()->TotalSeconds(), expected, 1.0);
}

TEST_F(DateRandomTest, InRangeStaysInsideAndReachesEveryValue) {
    struct Case {
        int64_t a;
        int64_t b;
        int64_t distinct;  // How many values 2000 draws must reach (all, for a small range).
    };
    const Case cases[] = {
        {0, 9, 10},          {5, 5, 1},           {-3, 3, 7},         {9, 0, 10},
        {kMax - 2, kMax, 3}, {kMin, kMin + 1, 2}, {kMin, kMax, 1990},  // Any repeat among 2000
                                                                       // full-range draws would be
                                                                       // astonishing.
    };
    auto random = fw::Random::Create();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.a) + ".." + std::to_string(c.b));
        const int64_t lo = std::min(c.a, c.b);
        const int64_t hi = std::max(c.a, c.b);
        std::set<int64_t> seen;
        for (int i = 0; i < 2000; ++i) {
            const int64_t v = random->InRange(c.a, c.b);
            ASSERT_GE(v, lo);
            ASSERT_LE(v, hi);
            seen.insert(v);
        }
        EXPECT_GE(static_cast<int64_t>(seen.size()), c.distinct);
    }
}

TEST_F(DateRandomTest, FixedSequenceIsMappedIntoTheRangeAndSharedByEveryRandom) {
    struct Case {
        int64_t value;
        int64_t a;
        int64_t b;
        int64_t expected;
    };
    const Case cases[] = {
        {0, 0, 9, 0},
        {9, 0, 9, 9},
        {10, 0, 9, 0},
        {-1, 0, 9, 9},
        {-10, 0, 9, 0},
        {23, 0, 9, 3},
        {kMin, 0, 9, 2},
        {kMax, 0, 9, 7},
        {7, 1, 6, 2},
        {-7, -3, 3, -3},
        {5, kMin, kMax, kMin + 5},
        {4, 9, 0, 4},  // Swapped bounds map like 0..9.
    };
    std::vector<int64_t> values;
    for (const Case& c : cases) {
        values.push_back(c.value);
    }
    fw::testing::SetRandomSequence(values);
    auto first = fw::Random::Create();
    auto second = fw::Random::Create();
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        auto& random = i % 2 == 0 ? first : second;  // One sequence, whichever object draws.
        EXPECT_EQ(random->InRange(c.a, c.b), c.expected) << "value " << c.value;
    }
    EXPECT_EQ(first->InRange(0, 9), 0) << "a used-up sequence starts again";
    EXPECT_EQ(second->InRange(0, 9), 9);
}

TEST_F(DateRandomTest, FileTypeRegistersOnceHoweverOftenConverted) {
    auto text = fw::FileType::Create();
    text->SetName("text");
    text->SetExtensions("");
    text->SetMacType("TEXT");
    text->SetMacCreator("R*ch");

    fw::testing::ArmFault("RuntimeRegisterFileType");
    EXPECT_THROW(text->ToString(), fw::RuntimeException);
    EXPECT_TRUE(fw::testing::RegisteredFileTypes().empty());

    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(text->ToString(), "text");
    }
    const fw::testing::RegisteredFileType expected{"text", "R*ch", "TEXT", "", ""};
    EXPECT_EQ(fw::testing::RegisteredFileTypes(),
              std::vector<fw::testing::RegisteredFileType>{expected});

    // Another object of the same type is a registration of its own.
    auto again = fw::FileType::Create();
    again->SetName("text");
    again->ToString();
    EXPECT_EQ(fw::testing::RegisteredFileTypes().size(), 2u);
}

}  // namespace
