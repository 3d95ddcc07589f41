#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace fw {

// Strings are UTF-8 std::strings throughout; lengths and positions that the game sees are
// counted in characters (code points), never in bytes. Bytes that are not valid UTF-8 count too:
// a character is a byte that is not a continuation byte (10xxxxxx), or the text's first byte, with
// the continuation bytes after it.

// Plain decimal, with a minus sign below zero: "0", "-15", "170".
std::string Str(int64_t value);
// The default text of a Double, like C's "%.7g": "0", "3.5", "12.34568".
std::string Str(double value);
// The character of a code point as UTF-8; Chr(13) is a carriage return. A value that is no
// Unicode scalar value gives "".
std::string Chr(int64_t codePoint);
// The first count characters of text: "" for count <= 0, the whole text when count is at least
// its length. Never cuts inside a character.
std::string Left(std::string_view text, int64_t count);
// The number of characters of text.
int64_t Len(std::string_view text);

}  // namespace fw
