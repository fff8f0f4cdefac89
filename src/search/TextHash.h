#pragma once

#include <QtGlobal>
#include <cstdint>
#include <cstring>

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

namespace text_hash_detail {
__extension__ using Product = unsigned __int128;
inline std::uint64_t Mix(std::uint64_t a, std::uint64_t b) {
  const Product r = static_cast<Product>(a) * b;
  return static_cast<std::uint64_t>(r) ^ static_cast<std::uint64_t>(r >> 64);
}
inline std::uint64_t Load64(const unsigned char* p) {
  std::uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}
inline std::uint64_t Load32(const unsigned char* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}
}  // namespace text_hash_detail

// A hash of a byte string that reads it a word at a time (a short text in one or two loads)
// and mixes with full multiplications. Only for tables whose every key is hashed the same way;
// it does not agree with HashUnits.
inline std::uint64_t HashBytes(const char* data, qsizetype size) {
  using namespace text_hash_detail;
  constexpr std::uint64_t k0 = 0xa0761d6478bd642full, k1 = 0xe7037ed1a0b428dbull,
                          k2 = 0x8ebc6af09c88c6e3ull;
  const auto* p = reinterpret_cast<const unsigned char*>(data);
  const auto n = static_cast<std::uint64_t>(size);
  std::uint64_t seed = k0, a = 0, b = 0;
  if (n <= 16) {
    if (n >= 4) {
      const std::uint64_t step = (n >> 3) << 2;  // 0 for 4..7 bytes, 4 for 8..16
      a = (Load32(p) << 32) | Load32(p + step);
      b = (Load32(p + n - 4) << 32) | Load32(p + n - 4 - step);
    } else if (n > 0) {
      a = (std::uint64_t{p[0]} << 16) | (std::uint64_t{p[n >> 1]} << 8) | p[n - 1];
    }
  } else {
    std::uint64_t left = n;
    for (; left > 16; left -= 16, p += 16) seed = Mix(Load64(p) ^ k1, Load64(p + 8) ^ seed);
    a = Load64(p + left - 16);
    b = Load64(p + left - 8);
  }
  return Mix(k1 ^ n, Mix(a ^ k1, b ^ seed) ^ k2);
}

}  // namespace mivora
