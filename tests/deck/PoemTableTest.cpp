#include <gtest/gtest.h>

#include <QCryptographicHash>

#include <QList>
#include <QString>
#include <cstdint>
#include <limits>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "deck/PoemTable.h"
#include "fw/core/Exceptions.h"

namespace {

// The characters of a UTF-8 text; malformed UTF-8 shows up as U+FFFD, outside the kana range.
std::u32string Chars(std::string_view text) {
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    std::u32string out;
    for (char32_t c : s.toUcs4()) {
        out.push_back(c);
    }
    return out;
}

// The rows of a list text, each ended by a carriage return; what follows the last one, which
// should be nothing, comes back as one more row.
std::vector<std::string> SplitRows(const std::string& text) {
    std::vector<std::string> rows;
    size_t start = 0;
    for (size_t cr = text.find('\r'); cr != std::string::npos; cr = text.find('\r', start)) {
        rows.push_back(text.substr(start, cr - start));
        start = cr + 1;
    }
    if (start != text.size()) {
        rows.push_back(text.substr(start));
    }
    return rows;
}

TEST(PoemTable, EveryRowHoldsTheShapeOfAPoem) {
    std::set<int64_t> longestWhole, shortestWhole, longestLower;
    std::set<std::string_view> lowerPhrases;
    for (int64_t p = 0; p < deck::kPoemCount; ++p) {
        SCOPED_TRACE("poem " + std::to_string(p));
        const std::string_view whole = deck::WholePoem(p);
        const std::string_view lower = deck::LowerPhrase(p);
        const std::u32string wholeChars = Chars(whole);
        const std::u32string lowerChars = Chars(lower);
        EXPECT_TRUE(whole.ends_with(lower));
        EXPECT_GE(wholeChars.size(), 30u);
        EXPECT_LE(wholeChars.size(), 33u);
        EXPECT_GE(lowerChars.size(), 14u);
        EXPECT_LE(lowerChars.size(), 16u);
        const size_t upper = wholeChars.size() - lowerChars.size();
        EXPECT_EQ(upper == 16, p == 11) << "upper phrase of " << upper;
        EXPECT_EQ(upper == 19, p == 3) << "upper phrase of " << upper;
        EXPECT_TRUE(upper >= 16 && upper <= 19) << "upper phrase of " << upper;
        for (char32_t c : wholeChars) {
            EXPECT_TRUE(c >= U'\u3042' && c <= U'\u3092') << "U+" << std::hex << uint32_t(c);
            EXPECT_NE(c, U'\u3093');
        }
        if (wholeChars.size() == 33) {
            longestWhole.insert(p);
        }
        if (wholeChars.size() == 30) {
            shortestWhole.insert(p);
        }
        if (lowerChars.size() == 16) {
            longestLower.insert(p);
        }
        lowerPhrases.insert(lower);
    }
    EXPECT_EQ(longestWhole, (std::set<int64_t>{3, 20, 48}));
    EXPECT_EQ(shortestWhole, (std::set<int64_t>{11}));
    EXPECT_EQ(longestLower, (std::set<int64_t>{20}));
    // Each card must be told apart from every other.
    EXPECT_EQ(lowerPhrases.size(), 100u);
}

TEST(PoemTable, SpotRowsAreExactlyAsWritten) {
    struct Row {
        int64_t p;
        std::string_view whole;
        std::string_view lower;
    };
    const Row rows[] = {
        {0, "あきのたのかりほのいほのとまをあらみわがころもではつゆにぬれつつ",
         "わがころもではつゆにぬれつつ"},
        {9, "これやこのゆくもかえるもわかれてはしるもしらぬもあふさかのせき",
         "しるもしらぬもあふさかのせき"},
        {15, "たちわかれいなばのやまのみねにおふるまつとしきかばいまかへりこむ",
         "まつとしきかばいまかへりこむ"},
        {49, "きみがためをしからざりしいのちさへながくもがなとおもひけるかな",
         "ながくもがなとおもひけるかな"},
        {50, "かくとだにえやはいぶきのさしもぐささしもしらじなもゆるおもひを",
         "さしもしらじなもゆるおもひを"},
        {99, "ももしきやふるきのきばのしのぶにもなほあまりけるむかしなりけり",
         "なほあまりけるむかしなりけり"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("poem " + std::to_string(row.p));
        EXPECT_EQ(deck::WholePoem(row.p), row.whole);
        EXPECT_EQ(deck::LowerPhrase(row.p), row.lower);
    }
    // Historical and modern kana stand side by side; neither is converted to the other.
    EXPECT_NE(deck::WholePoem(9).find("かえる"), std::string_view::npos);
    EXPECT_NE(deck::WholePoem(15).find("かへり"), std::string_view::npos);
}

TEST(PoemTable, ListTextsCarryFiftyRowsEachByPoemNumber) {
    struct List {
        const char* name;
        const std::string& text;
        std::string_view (*column)(int64_t);
        int64_t firstPoem;
    };
    const List lists[] = {
        {"ListBox1", deck::ListBox1InitialValue(), &deck::WholePoem, 0},
        {"ListBox2", deck::ListBox2InitialValue(), &deck::LowerPhrase, 0},
        {"ListBox3", deck::ListBox3InitialValue(), &deck::WholePoem, 50},
        {"ListBox4", deck::ListBox4InitialValue(), &deck::LowerPhrase, 50},
    };
    for (const List& list : lists) {
        SCOPED_TRACE(list.name);
        EXPECT_EQ(list.text.find('\n'), std::string::npos);
        EXPECT_EQ(list.text.find('\t'), std::string::npos);
        const std::vector<std::string> rows = SplitRows(list.text);
        ASSERT_EQ(rows.size(), 50u);
        for (size_t r = 0; r < rows.size(); ++r) {
            EXPECT_EQ(rows[r], list.column(list.firstPoem + static_cast<int64_t>(r)))
                << "row " << r;
        }
    }
    // Poem 49 is the last row of the first whole-poem list, poem 50 the first of the second.
    EXPECT_TRUE(deck::ListBox1InitialValue().ends_with(std::string(deck::WholePoem(49)) + "\r"));
    EXPECT_TRUE(deck::ListBox3InitialValue().starts_with(deck::WholePoem(50)));
}

TEST(PoemTable, TheHundredPoemsAreExactlyTheTableWeCarry) {
    // The SHA-256 of every row, whole poem then lower phrase, each followed by a line feed, taken
    // from the poem table as published; any changed kana in any row changes it.
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (int64_t p = 0; p < deck::kPoemCount; ++p) {
        for (std::string_view text : {deck::WholePoem(p), deck::LowerPhrase(p)}) {
            hash.addData(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
            hash.addData(QByteArrayView("\n", 1));
        }
    }
    EXPECT_EQ(hash.result().toHex().toStdString(),
              "7822cafad1ace60a38ff9315f76c71b7b4dfb2cb6ecf6d6c9ab33373b4d3e52c");
}

TEST(PoemTable, PoemNumbersOutsideTheDeckAreRefused) {
    for (int64_t p : {int64_t{-1}, int64_t{100}, int64_t{5} + (int64_t{1} << 32),
                      std::numeric_limits<int64_t>::min()}) {
        SCOPED_TRACE(p);
        EXPECT_THROW(deck::WholePoem(p), fw::OutOfBoundsException);
        EXPECT_THROW(deck::LowerPhrase(p), fw::OutOfBoundsException);
    }
}

}  // namespace
