#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

namespace mivora::cell_handle {

// A cell handle is 0 for an empty cell; otherwise it takes one of three forms.
// - A text of up to seven bytes lives in the handle itself: its low byte holds the length
//   and a set bit 0 (so it is below 0x10), its other bytes the text, in memory order.
// - A text of eight ASCII bytes whose first is 0x10 or above is the handle's own eight
//   bytes (its top bit is then clear), as an ID such as "C1234567" often is.
// - A longer text lives in the pool: the handle packs a set top bit, the text's byte offset
//   (38 bits), its length (24 bits) and a clear bit 0. Texts of 16 MiB or more keep their
//   length in 8 bytes at the offset, the text following.
static_assert(std::endian::native == std::endian::little, "inline texts follow the low byte");
constexpr std::size_t kInlineBytes = 7;
constexpr int kLengthShift = 1;
constexpr int kOffsetShift = 25;
constexpr std::uint64_t kLengthMask = (std::uint64_t{1} << 24) - 1;
constexpr std::uint64_t kLongText = kLengthMask;
constexpr std::uint64_t kPoolMark = std::uint64_t{1} << 63;
constexpr std::uint64_t kMaxPoolOffset = (std::uint64_t{1} << 38) - 1;

inline bool IsShortInline(std::uint64_t handle) { return (handle & 0xF1) == 1; }
inline bool IsInPool(std::uint64_t handle) {
  return (handle & kPoolMark) != 0 && !IsShortInline(handle);
}

}  // namespace mivora::cell_handle
