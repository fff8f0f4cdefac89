#pragma once

#include <QtGlobal>
#include <cstdint>

namespace mivora {

// FNV-1a over code units, then a final mix; the same value for a text whether its units come
// as UTF-16 or as single bytes (ASCII, or UTF-8 hashed byte by byte).
template <typename Unit>
std::uint64_t HashUnits(const Unit* units, qsizetype size) {
  std::uint64_t h = 0xcbf29ce484222325ull;
  for (qsizetype i = 0; i < size; ++i) {
    h ^= static_cast<std::uint16_t>(units[i]);
    h *= 0x100000001b3ull;
  }
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdull;
  h ^= h >> 33;
  return h;
}

}  // namespace mivora
