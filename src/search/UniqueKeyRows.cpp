#include "search/UniqueKeyRows.h"

#include <QString>
#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

#include "model/TwoHalves.h"
#include "model/Utf8.h"
#include "search/TextHash.h"

namespace mivora {

namespace {

std::uint64_t Hash(QByteArrayView utf8) { return HashBytes(utf8.data(), utf8.size()); }

// Texts of up to eight bytes (most keys) are compared in two loads each, without a call.
bool SameBytes(QByteArrayView a, QByteArrayView b) {
  const qsizetype n = a.size();
  if (n != b.size()) return false;
  if (n < 4 || n > 8) return a == b;
  std::uint32_t a0, a1, b0, b1;
  std::memcpy(&a0, a.data(), 4);
  std::memcpy(&b0, b.data(), 4);
  std::memcpy(&a1, a.data() + n - 4, 4);
  std::memcpy(&b1, b.data() + n - 4, 4);
  return a0 == b0 && a1 == b1;
}

}  // namespace

std::optional<UniqueKeyRows> UniqueKeyRows::Make(const Grid::ColumnCells& cells) {
  const std::int64_t n = cells.Size();
  if (n >= std::int64_t{1} << 31) return std::nullopt;
  UniqueKeyRows keys(cells);
  // At most four fifths full: a slot's tag decides most probes without reading a text, and
  // the slots of a probe mostly share a cache line.
  const std::size_t capacity = std::bit_ceil(
      std::max<std::size_t>(16, static_cast<std::size_t>(n) + static_cast<std::size_t>(n) / 4 + 1));
  keys.slots_.assign(capacity, Slot{0, 0, 0});
  keys.slots_.Prefault();  // its pages are all written, at random, by two threads
  keys.mask_ = capacity - 1;
  // Many keys are filled in as two regions at once, each by its own thread.
  const int regions = n >= kParallelKeys ? 2 : 1;
  keys.region_mask_ = capacity / static_cast<std::size_t>(regions) - 1;
  bool filled[2] = {true, true};
  auto fill = [&](std::int64_t from, std::int64_t to) {
    for (std::int64_t r = from; r < to; ++r)
      filled[r] = keys.FillRegion(static_cast<std::uint64_t>(r));
  };
  if (regions == 2) {
    InTwoHalves(2, fill);
  } else {
    fill(0, 1);
  }
  if (!filled[0] || !filled[1]) return std::nullopt;
  return keys;
}

bool UniqueKeyRows::FillRegion(std::uint64_t region) {
  const std::int64_t n = cells_.Size();
  const std::uint64_t room = region_mask_;  // one slot stays empty, so every probe ends
  std::uint64_t used = 0;
  // A batch's slots are fetched from memory together before any of them is filled.
  QByteArrayView texts[kBatch];
  std::uint64_t hashes[kBatch];
  std::int64_t positions[kBatch];
  for (std::int64_t i = 0; i < n; i += kBatch) {
    const auto count = static_cast<std::size_t>(std::min<std::int64_t>(kBatch, n - i));
    std::size_t mine = 0;
    for (std::size_t b = 0; b < count; ++b) {
      const std::int64_t position = i + static_cast<std::int64_t>(b);
      const QByteArrayView text = cells_.TextUtf8(position);
      if (!IsAscii(text) && !IsValidUtf8(text)) return false;
      const std::uint64_t hash = Hash(text);
      if (((hash & mask_) & ~region_mask_) != region * (region_mask_ + 1)) continue;
      texts[mine] = text;
      hashes[mine] = hash;
      positions[mine++] = position;
      __builtin_prefetch(&slots_[hash & mask_], 1);
    }
    for (std::size_t b = 0; b < mine; ++b) {
      if (++used > room) return false;
      std::uint64_t s = hashes[b] & mask_;
      for (; slots_[s].row != 0; s = Next(s)) {
        const Slot& slot = slots_[s];
        // Two equal texts have equal hashes, so they meet in the same region.
        if (slot.tag == Tag(hashes[b]) && SameBytes(cells_.TextOf(slot.handle), texts[b]))
          return false;
      }
      slots_[s] = Slot{cells_.HandleAt(positions[b]), Tag(hashes[b]),
                       static_cast<std::int32_t>(positions[b] + 1)};
    }
  }
  return true;
}

std::int32_t UniqueKeyRows::FindHashed(QByteArrayView utf8, std::uint64_t hash) const {
  for (std::uint64_t s = hash & mask_;; s = Next(s)) {
    const Slot& slot = slots_[s];
    if (slot.row == 0) return 0;
    if (slot.tag == Tag(hash) && SameBytes(cells_.TextOf(slot.handle), utf8)) return slot.row;
  }
}

void UniqueKeyRows::FindBatch(const QByteArrayView* texts, std::size_t n,
                              std::int32_t* rows) const {
  n = std::min(n, kBatch);
  std::uint64_t hashes[kBatch];
  QByteArrayView keys[kBatch];
  std::vector<QByteArray> normal;  // reserved once, so the views into it stay valid
  // A pipeline: a text's slot is fetched kAhead steps before it is read, and a longer text
  // the slot points to kAhead steps before the compare, so several texts' fetches are under
  // way at every step.
  constexpr std::size_t kAhead = 8;
  for (std::size_t step = 0; step < n + 2 * kAhead; ++step) {
    if (step < n) {
      const std::size_t i = step;
      keys[i] = texts[i];
      // Ill-formed bytes read as U+FFFD, as they do when the index's code units are made.
      if (!IsAscii(keys[i]) && !IsValidUtf8(keys[i])) {
        if (normal.empty()) normal.reserve(n);
        normal.push_back(QString::fromUtf8(keys[i]).toUtf8());
        keys[i] = normal.back();
      }
      hashes[i] = Hash(keys[i]);
      __builtin_prefetch(&slots_[hashes[i] & mask_]);
    }
    if (step >= kAhead && step - kAhead < n) {
      const Slot& slot = slots_[hashes[step - kAhead] & mask_];
      if (slot.row != 0) __builtin_prefetch(cells_.TextOf(slot.handle).data());
    }
    if (step >= 2 * kAhead) {
      const std::size_t i = step - 2 * kAhead;
      rows[i] = FindHashed(keys[i], hashes[i]);
    }
  }
}

}  // namespace mivora
