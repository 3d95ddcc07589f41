#pragma once

#include <cstdint>

namespace fw {

// A colour as the property lists store it: 0xAARRGGBB, where alpha 0 is fully opaque and 255
// fully transparent.
struct Color {
    uint32_t value = 0;

    constexpr uint8_t Red() const noexcept { return (value >> 16) & 0xFF; }
    constexpr uint8_t Green() const noexcept { return (value >> 8) & 0xFF; }
    constexpr uint8_t Blue() const noexcept { return value & 0xFF; }
    constexpr uint8_t Alpha() const noexcept { return (value >> 24) & 0xFF; }

    friend constexpr bool operator==(Color a, Color b) noexcept { return a.value == b.value; }
};

// An opaque colour from its three components.
constexpr Color RGB(int64_t red, int64_t green, int64_t blue) noexcept {
    auto clamp = [](int64_t c) { return static_cast<uint32_t>(c < 0 ? 0 : (c > 255 ? 255 : c)); };
    return Color{(clamp(red) << 16) | (clamp(green) << 8) | clamp(blue)};
}

}  // namespace fw
