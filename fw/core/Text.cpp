#include "fw/core/Text.h"

#include <cstdio>

namespace fw {
namespace {

// Bytes that continue a UTF-8 sequence look like 10xxxxxx.
bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Where the character that starts at start (before the end of text) ends: its first byte and
// every continuation byte after it. Left and Len both step through text with this alone, so they
// count alike whatever the bytes: a continuation byte with no lead byte before it belongs to the
// character before it, or, at the very start, begins one.
size_t CharacterEnd(std::string_view text, size_t start) {
    size_t end = start + 1;
    while (end < text.size() && IsContinuationByte(text[end])) {
        ++end;
    }
    return end;
}

}  // namespace

std::string Str(int64_t value) {
    return std::to_string(value);
}

std::string Str(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.7g", value);
    return buffer;
}

std::string Chr(int64_t codePoint) {
    if (codePoint < 0 || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        return {};
    }
    const auto c = static_cast<uint32_t>(codePoint);
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

std::string Left(std::string_view text, int64_t count) {
    size_t end = 0;
    for (int64_t taken = 0; taken < count && end < text.size(); ++taken) {
        end = CharacterEnd(text, end);
    }
    return std::string(text.substr(0, end));
}

int64_t Len(std::string_view text) {
    int64_t count = 0;
    for (size_t start = 0; start < text.size(); start = CharacterEnd(text, start)) {
        ++count;
    }
    return count;
}

}  // namespace fw
