#include "search/UniqueKeyRows.h"

#include <QString>
#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

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
  keys.mask_ = capacity - 1;
  // A batch's slots are fetched from memory together before any of them is filled.
  QByteArrayView texts[kBatch];
  std::uint64_t hashes[kBatch];
  for (std::int64_t i = 0; i < n; i += kBatch) {
    const auto count = static_cast<std::size_t>(std::min<std::int64_t>(kBatch, n - i));
    for (std::size_t b = 0; b < count; ++b) {
      texts[b] = cells.TextUtf8(i + static_cast<std::int64_t>(b));
      if (!IsAscii(texts[b]) && !IsValidUtf8(texts[b])) return std::nullopt;
      hashes[b] = Hash(texts[b]);
      __builtin_prefetch(&keys.slots_[hashes[b] & keys.mask_], 1);
    }
    for (std::size_t b = 0; b < count; ++b) {
      std::uint64_t s = hashes[b] & keys.mask_;
      for (; keys.slots_[s].row != 0; s = (s + 1) & keys.mask_) {
        const Slot& slot = keys.slots_[s];
        if (slot.tag == Tag(hashes[b]) && SameBytes(cells.TextOf(slot.handle), texts[b]))
          return std::nullopt;
      }
      const std::int64_t position = i + static_cast<std::int64_t>(b);
      keys.slots_[s] =
          Slot{cells.HandleAt(position), Tag(hashes[b]), static_cast<std::int32_t>(position + 1)};
    }
  }
  return keys;
}

std::int32_t UniqueKeyRows::FindHashed(QByteArrayView utf8, std::uint64_t hash) const {
  for (std::uint64_t s = hash & mask_;; s = (s + 1) & mask_) {
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
