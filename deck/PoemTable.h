#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace deck {

// The hundred poems of the deck. Poem number p (0..99) is also the number of the poem's card
// picture and the value a deal writes for a card slot. Every text is hiragana only, UTF-8, kept
// exactly as written: historical and modern kana usage stand side by side ("かへり" in poem 15,
// "かえる" in poem 9) and nothing is normalised.
constexpr int64_t kPoemCount = 100;

// The whole poem p: the upper phrase followed directly by the lower phrase (30 to 33
// characters). Raises fw::OutOfBoundsException for p outside 0..99.
std::string_view WholePoem(int64_t p);
// The lower phrase of poem p alone (14 to 16 characters); always the end of WholePoem(p).
// Raises fw::OutOfBoundsException for p outside 0..99.
std::string_view LowerPhrase(int64_t p);

// The texts that the main window's four list boxes start with: one row per poem, each row (the
// last included) ended by a single carriage return, and no line feed. The last carriage return
// is part of the declared value (with it the first list box's declared property list comes to
// its 5,496 bytes) and makes no empty row in the list box. The window copies the rows into its
// poem arrays when it opens.
const std::string& ListBox1InitialValue();  // whole poems 0-49
const std::string& ListBox2InitialValue();  // lower phrases 0-49
const std::string& ListBox3InitialValue();  // whole poems 50-99
const std::string& ListBox4InitialValue();  // lower phrases 50-99

}  // namespace deck
