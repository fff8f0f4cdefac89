#pragma once

#include <QByteArrayView>
#include <cstdint>
#include <optional>

#include "model/Grid.h"
#include "model/LargeVector.h"

namespace mivora {

// The far side of a join when no two of its index's cells hold the same text. A text then has
// one entry in the sorted index, every bisection for it lands there, and the entry's row is
// the cell's position: a lookup gives the bisection's result by hashing the cells the index
// is made from, so the index is never filled or sorted.
class UniqueKeyRows {
 public:
  // Null when two cells hold the same text, or a cell is not well-formed UTF-8 (whose bytes
  // would not tell texts apart as the index's code units do).
  static std::optional<UniqueKeyRows> Make(const Grid::ColumnCells& cells);

  // rows[i]: the row (position + 1) whose cell holds exactly texts[i], 0 for none (n at most
  // kBatch). The texts' slots and cells are fetched from memory together rather than one
  // after another.
  static constexpr std::size_t kBatch = 256;
  void FindBatch(const QByteArrayView* texts, std::size_t n, std::int32_t* rows) const;

 private:
  // A cell's handle, so that a short text is compared without reading the column, with the
  // high half of its text's hash and its row (position + 1; 0: an empty slot).
  struct Slot {
    std::uint64_t handle;
    std::uint32_t tag;
    std::int32_t row;
  };
  static std::uint32_t Tag(std::uint64_t hash) { return static_cast<std::uint32_t>(hash >> 32); }

  // The slots are one or two regions of equal size. A text's first slot is its hash's low
  // bits; its probe goes on to the next slot and wraps around within that slot's region.
  static constexpr std::int64_t kParallelKeys = std::int64_t{1} << 17;
  std::uint64_t Next(std::uint64_t s) const {
    return (s & ~region_mask_) | ((s + 1) & region_mask_);
  }

  explicit UniqueKeyRows(const Grid::ColumnCells& cells) : cells_(cells) {}
  // Fills in the cells whose first slot lies in the region; false for a repeated text, a
  // cell that is not well-formed UTF-8 or a region too full.
  bool FillRegion(std::uint64_t region);
  std::int32_t FindHashed(QByteArrayView utf8, std::uint64_t hash) const;

  Grid::ColumnCells cells_;
  LargeVector<Slot> slots_;
  std::uint64_t mask_ = 0;
  std::uint64_t region_mask_ = 0;
};

}  // namespace mivora
