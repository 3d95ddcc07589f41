// The framework core that needs no Qt: text functions, references and arrays, fault points and
// the dispatch of event handlers.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <stdexcept>

#include "fw/core/Array.h"
#include "fw/core/Dispatch.h"
#include "fw/core/FaultPoint.h"
#include "fw/core/Object.h"
#include "fw/core/Text.h"

namespace {

std::string Utf8(const char8_t* text) {
    return std::string(reinterpret_cast<const char*>(text));
}

// --- Text ----------------------------------------------------------------------------------

TEST(Text, StrOfInteger) {
    const std::pair<int64_t, const char*> cases[] = {
        {0, "0"},
        {-15, "-15"},
        {170, "170"},
        {std::numeric_limits<int64_t>::max(), "9223372036854775807"},
        {std::numeric_limits<int64_t>::min(), "-9223372036854775808"},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(fw::Str(value), expected);
    }
}

TEST(Text, StrOfDoubleHasSevenSignificantDigits) {
    const std::pair<double, const char*> cases[] = {
        {0.0, "0"},         {3.5, "3.5"},           {12.345678, "12.34568"},
        {-1.7, "-1.7"},     {1234567.0, "1234567"}, {12345678.0, "1.234568e+07"},
        {0.0001, "0.0001"}, {-0.5, "-0.5"},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(fw::Str(value), expected) << value;
    }
}

TEST(Text, ChrEncodesCodePointsAsUtf8) {
    const std::pair<int64_t, std::string> cases[] = {
        {13, "\r"},
        {65, "A"},
        {0xE9, "\xC3\xA9"},
        {0x3042, Utf8(u8"あ")},
        {0x1F338, Utf8(u8"🌸")},
        {-1, ""},
        {0xD800, ""},
        {0x110000, ""},
    };
    for (const auto& [codePoint, expected] : cases) {
        EXPECT_EQ(fw::Chr(codePoint), expected) << codePoint;
    }
}

TEST(Text, LeftCountsCharactersNotBytes) {
    const std::string poem = Utf8(u8"あきのたの");  // 5 characters, 15 bytes
    const struct {
        std::string text;
        int64_t count;
        std::string expected;
    } cases[] = {
        {poem, 0, ""},
        {poem, -3, ""},
        {poem, std::numeric_limits<int64_t>::min(), ""},
        {poem, 1, Utf8(u8"あ")},
        {poem, 3, Utf8(u8"あきの")},
        {poem, 5, poem},
        {poem, 6, poem},
        {poem, std::numeric_limits<int64_t>::max(), poem},
        {Utf8(u8"A 秋の\r"), 3, Utf8(u8"A 秋")},
        {Utf8(u8"A 秋の\r"), 5, Utf8(u8"A 秋の\r")},
        {"", 2, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fw::Left(c.text, c.count), c.expected) << c.text << " " << c.count;
    }
    EXPECT_EQ(fw::Len(poem), 5);
    EXPECT_EQ(fw::Len(Utf8(u8"A 秋の\r")), 5);
    EXPECT_EQ(fw::Len(""), 0);
}

// Left and Len must count characters alike on any bytes, valid UTF-8 or not (a stray
// continuation byte at the start once counted for Left and not for Len).
TEST(Text, LeftAndLenAgreeOnAnyBytes) {
    std::mt19937 random(20240601);
    for (int i = 0; i < 4000; ++i) {
        std::string text(random() % 13, '\0');
        for (char& c : text) {
            c = static_cast<char>(random() & 0xFF);
        }
        SCOPED_TRACE(::testing::PrintToString(text));
        const int64_t count = fw::Len(text);
        ASSERT_EQ(fw::Left(text, count), text);
        for (int64_t n = 0; n < count; ++n) {
            const std::string prefix = fw::Left(text, n);
            ASSERT_LT(prefix.size(), text.size()) << n;
            ASSERT_TRUE(text.starts_with(prefix)) << n;
            ASSERT_EQ(fw::Len(prefix), n);
        }
    }
}

// --- References and arrays -----------------------------------------------------------------

int gAlive = 0;

class Probe : public fw::Object {
public:
    Probe() { ++gAlive; }
    ~Probe() override { --gAlive; }
    int Value() const { return 42; }
    const char* ClassName() const noexcept override { return "Probe"; }
};

class Other : public fw::Object {
public:
    const char* ClassName() const noexcept override { return "Other"; }
};

TEST(Ref, CopiesAndMovesKeepTheCountRight) {
    gAlive = 0;
    {
        fw::Ref<Probe> a = fw::MakeRef<Probe>();
        EXPECT_EQ(a->RefCount(), 1);
        {
            fw::Ref<Probe> b = a;
            EXPECT_EQ(a->RefCount(), 2);
            fw::Ref<fw::Object> up = b;  // upcast copy
            EXPECT_EQ(a->RefCount(), 3);
            fw::Ref<Probe> moved = std::move(b);
            EXPECT_TRUE(b.IsNil());
            EXPECT_EQ(a->RefCount(), 3);
            fw::Ref<fw::Object> upMoved = std::move(moved);
            EXPECT_TRUE(moved.IsNil());
            EXPECT_EQ(a->RefCount(), 3);
        }
        EXPECT_EQ(a->RefCount(), 1);

        fw::Ref<Probe>& alias = a;
        a = alias;  // self-assignment
        EXPECT_EQ(a->RefCount(), 1);
        a = std::move(alias);  // self-move
        ASSERT_FALSE(a.IsNil());
        EXPECT_EQ(a->RefCount(), 1);

        fw::Ref<Probe> c = fw::MakeRef<Probe>();
        EXPECT_EQ(gAlive, 2);
        c = a;  // the old object goes when its last reference is overwritten
        EXPECT_EQ(gAlive, 1);
        EXPECT_EQ(a->RefCount(), 2);
        c = nullptr;
        EXPECT_EQ(a->RefCount(), 1);
    }
    EXPECT_EQ(gAlive, 0);
}

TEST(Ref, NilUseRaises) {
    fw::Ref<Probe> nil;
    EXPECT_THROW(nil->Value(), fw::NilObjectException);
    EXPECT_THROW((void)*nil, fw::NilObjectException);
    fw::Ref<Probe> movedFrom = fw::MakeRef<Probe>();
    fw::Ref<Probe> taker = std::move(movedFrom);
    EXPECT_THROW(movedFrom->Value(), fw::NilObjectException);
    EXPECT_EQ(taker->Value(), 42);
}

TEST(Ref, CastChecksTheClassAndPassesNil) {
    fw::Ref<fw::Object> object = fw::MakeRef<Probe>();
    fw::Ref<Probe> probe = fw::Cast<Probe>(object);
    ASSERT_FALSE(probe.IsNil());
    EXPECT_EQ(object->RefCount(), 2);
    EXPECT_THROW(fw::Cast<Other>(object), fw::IllegalCastException);
    EXPECT_EQ(object->RefCount(), 2);
    EXPECT_TRUE(fw::Cast<Probe>(fw::Ref<fw::Object>()).IsNil());
}

TEST(Array, IndicesOutsideTheBoundsRaiseAndTouchNothing) {
    auto array = fw::Array<int64_t>::Create(3);
    EXPECT_EQ(array->Ubound(), 2);
    array->Set(2, 7);
    EXPECT_EQ((*array)(2), 7);
    EXPECT_EQ((*array)(0), 0);
    for (int64_t bad : {int64_t{-1}, int64_t{3}, std::numeric_limits<int64_t>::min(),
                        std::numeric_limits<int64_t>::max()}) {
        EXPECT_THROW((*array)(bad), fw::OutOfBoundsException) << bad;
        EXPECT_THROW(array->Set(bad, 1), fw::OutOfBoundsException) << bad;
    }
    EXPECT_EQ((*array)(2), 7);

    auto empty = fw::Array<fw::Ref<Probe>>::Create(0);
    EXPECT_EQ(empty->Ubound(), -1);
    EXPECT_THROW((*empty)(0), fw::OutOfBoundsException);
    EXPECT_EQ(fw::Array<int64_t>::Create(-5)->Count(), 0);
}

TEST(Array, HoldsReferencesThatStartNil) {
    gAlive = 0;
    {
        auto cards = fw::Array<fw::Ref<Probe>>::Create(2);
        EXPECT_TRUE((*cards)(1).IsNil());
        cards->Set(0, fw::MakeRef<Probe>());
        EXPECT_EQ((*cards)(0)->RefCount(), 1);
    }
    EXPECT_EQ(gAlive, 0);
}

// --- Fault points --------------------------------------------------------------------------

TEST(FaultPoint, ArmedPointRaisesOnceAfterItsSkips) {
    fw::testing::DisarmFaults();
    fw::testing::ArmFault("RuntimeNewObject", 2);
    EXPECT_NO_THROW(fw::FaultPoint("RuntimeInit"));
    EXPECT_NO_THROW(fw::FaultPoint("RuntimeNewObject"));
    EXPECT_NO_THROW(fw::FaultPoint("RuntimeNewObject"));
    try {
        fw::FaultPoint("RuntimeNewObject");
        ADD_FAILURE() << "the armed point did not raise";
    } catch (const fw::RuntimeException& e) {
        EXPECT_NE(std::string(e.what()).find("RuntimeNewObject"), std::string::npos);
    }
    EXPECT_NO_THROW(fw::FaultPoint("RuntimeNewObject"));

    fw::testing::ArmFault("RuntimeExit");
    fw::testing::DisarmFaults();
    EXPECT_NO_THROW(fw::FaultPoint("RuntimeExit"));
}

// --- Dispatch ------------------------------------------------------------------------------

TEST(Dispatch, EscapingExceptionsReachTheUnhandledRoutineOnceAndDispatchReturns) {
    struct Case {
        const char* what;
        void (*handler)();
    };
    const Case cases[] = {
        {"RuntimeException", [] { throw fw::NilObjectException(); }},
        {"std::exception", [] { throw std::logic_error("not ours"); }},
        {"not even a std::exception", [] { throw 7; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int before = fw::testing::UnhandledExceptionCount();
        bool after = false;
        fw::Dispatch([&] {
            c.handler();
            after = true;
        });
        EXPECT_FALSE(after);
        EXPECT_EQ(fw::testing::UnhandledExceptionCount(), before + 1);
    }
}

TEST(Dispatch, HandlerThatReturnsReachesNoRoutine) {
    const int before = fw::testing::UnhandledExceptionCount();
    int calls = 0;
    fw::Dispatch([&] { ++calls; });
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(fw::testing::UnhandledExceptionCount(), before);
}

TEST(Dispatch, FailingUnhandledRoutineDoesNotEscape) {
    const int before = fw::testing::UnhandledExceptionCount();
    fw::testing::ArmUnhandledExceptionFailure();
    EXPECT_NO_THROW(fw::Dispatch([] { throw fw::OutOfBoundsException(); }));
    EXPECT_EQ(fw::testing::UnhandledExceptionCount(), before + 1);
    // The failure was armed once: the next escape is reported normally.
    EXPECT_NO_THROW(fw::Dispatch([] { throw fw::OutOfBoundsException(); }));
    EXPECT_EQ(fw::testing::UnhandledExceptionCount(), before + 2);
}

}  // namespace
