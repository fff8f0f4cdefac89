#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A fuzz target's invariant: a broken one is reported and ends the run as a crash would, so
// libFuzzer keeps the input and the corpus replay fails.
#define FUZZ_CHECK(condition)                                                        \
  do {                                                                               \
    if (!(condition)) {                                                              \
      std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                  \
    }                                                                                \
  } while (false)

// Reads the input as a sequence of small numbers, for targets that replay operations.
class FuzzBytes {
 public:
  FuzzBytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Empty() const { return at_ >= size_; }
  int Byte() { return at_ < size_ ? data_[at_++] : 0; }
  // A number in [0, count).
  int Below(int count) { return count <= 1 ? 0 : Byte() % count; }
  // A twips coordinate from two bytes, stepping by 15 (one pixel), with some negative.
  float Twips() { return static_cast<float>((Byte() << 8 | Byte()) - 4096) * 15.0f / 8.0f; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
