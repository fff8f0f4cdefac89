#pragma once

#include <QByteArrayView>
#include <QStringView>
#include <cstdint>
#include <vector>

#include "model/LargeVector.h"

namespace mivora {

class Gyou;

// The runs of equal texts of a sorted column index, found by hashing a text's code units,
// each with where the index's bisection lands for that text. A lookup gives what a bisection
// of the index would give, without comparing texts along the way.
class IndexRuns {
 public:
  struct Run {
    const char16_t* units = nullptr;  // the run's text, in the index
    std::uint64_t head = 0;           // its first eight units, so short texts compare here
    std::uint64_t tail = 0;
    std::int32_t length = 0;
    std::int32_t lo = 0;  // the run's positions
    std::int32_t hi = 0;
    std::int32_t landing = 0;  // where the bisection lands in it; 0 when it misses it
    std::int32_t row = 0;      // the grid row at the landing
  };

  explicit IndexRuns(const Gyou& index);

  // The run holding exactly this text, or -1.
  std::int32_t Find(QStringView text) const;
  std::int32_t FindUtf8(QByteArrayView utf8) const;
  // FindUtf8 of n texts at once (n at most kBatch): out[i] is the run of texts[i]. The texts'
  // slots and runs are fetched from memory together rather than one after another.
  static constexpr std::size_t kBatch = 32;
  void FindUtf8Batch(const QByteArrayView* texts, std::size_t n, std::int32_t* out) const;
  const Run& At(std::int32_t run) const { return runs_[static_cast<std::size_t>(run)]; }

 private:
  template <typename Unit>
  std::int32_t FindUnits(const Unit* units, qsizetype size, std::uint64_t hash) const;

  // A slot holds the high half of a text's hash and its run + 1 (0: empty), so most probes
  // that miss are decided without touching the run or its text.
  static std::uint64_t Slot(std::uint64_t hash, std::size_t run) {
    return (hash & 0xffffffff00000000ull) | (run + 1);
  }

  LargeVector<Run> runs_;
  LargeVector<std::uint64_t> slots_;
  std::uint64_t mask_ = 0;
};

}  // namespace mivora
