#pragma once

#include <cstdint>

namespace mivora {

// A 24-bit colour with red in the low byte, green in the middle, blue in the high byte.
using Colour = std::uint32_t;

constexpr Colour Rgb(int red, int green, int blue) {
  return static_cast<Colour>(red) | (static_cast<Colour>(green) << 8) |
         (static_cast<Colour>(blue) << 16);
}
constexpr int RedOf(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

// A cell background of 0 means "the grid's default colour".
constexpr Colour kDefaultCellColour = 0;

}  // namespace mivora
