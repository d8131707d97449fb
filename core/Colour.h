#pragma once

#include <cstdint>

namespace zb {

// 24-bit colours in the order 0x00BBGGRR.
using Colour = std::uint32_t;

namespace colour {
inline constexpr Colour Black = 0x000000;
inline constexpr Colour Red = 0x0000FF;
inline constexpr Colour Green = 0x00FF00;
inline constexpr Colour Cyan = 0xFFFF00;
inline constexpr Colour Yellow = 0x00FFFF;
inline constexpr Colour White = 0xFFFFFF;
// No colour of its own: the widget shows its style's background.
inline constexpr Colour None = 0xFF000000;
} // namespace colour

} // namespace zb
