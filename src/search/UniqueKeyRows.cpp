#include "search/UniqueKeyRows.h"

#include <QString>
#include <algorithm>
#include <bit>

#include "model/Utf8.h"
#include "search/TextHash.h"

namespace mivora {

namespace {

constexpr std::uint64_t kTag = 0xffffffff00000000ull;

std::uint64_t HashBytes(QByteArrayView utf8) {
  return HashUnits(reinterpret_cast<const unsigned char*>(utf8.data()), utf8.size());
}

}  // namespace

std::optional<UniqueKeyRows> UniqueKeyRows::Make(const Grid::ColumnCells& cells) {
  const std::int64_t n = cells.Size();
  if (n >= std::int64_t{1} << 31) return std::nullopt;
  UniqueKeyRows keys(cells);
  // At most three quarters full: the slots' tags decide most probes without reading a text.
  const std::size_t capacity =
      std::bit_ceil(std::max<std::size_t>(16, static_cast<std::size_t>(n) / 3 * 4 + 4));
  keys.slots_.assign(capacity, 0);
  keys.mask_ = capacity - 1;
  for (std::int64_t i = 0; i < n; ++i) {
    const QByteArrayView text = cells.TextUtf8(i);
    if (!IsAscii(text) && !IsValidUtf8(text)) return std::nullopt;
    const std::uint64_t hash = HashBytes(text);
    std::uint64_t s = hash & keys.mask_;
    for (; keys.slots_[s] != 0; s = (s + 1) & keys.mask_) {
      const std::uint64_t slot = keys.slots_[s];
      if ((slot & kTag) == (hash & kTag) &&
          cells.TextUtf8(static_cast<std::int64_t>(slot & ~kTag) - 1) == text)
        return std::nullopt;
    }
    keys.slots_[s] = Slot(hash, i);
  }
  return keys;
}

std::int32_t UniqueKeyRows::FindHashed(QByteArrayView utf8, std::uint64_t hash) const {
  for (std::uint64_t s = hash & mask_;; s = (s + 1) & mask_) {
    const std::uint64_t slot = slots_[s];
    if (slot == 0) return 0;
    if ((slot & kTag) != (hash & kTag)) continue;
    const auto row = static_cast<std::int32_t>(slot & ~kTag);
    if (cells_.TextUtf8(row - 1) == utf8) return row;
  }
}

void UniqueKeyRows::FindBatch(const QByteArrayView* texts, std::size_t n,
                              std::int32_t* rows) const {
  std::uint64_t hashes[kBatch];
  QByteArray normal[kBatch];
  QByteArrayView keys[kBatch];
  n = std::min(n, kBatch);
  for (std::size_t i = 0; i < n; ++i) {
    keys[i] = texts[i];
    // Ill-formed bytes read as U+FFFD, as they do when the index's code units are made.
    if (!IsAscii(keys[i]) && !IsValidUtf8(keys[i])) {
      normal[i] = QString::fromUtf8(keys[i]).toUtf8();
      keys[i] = normal[i];
    }
    hashes[i] = HashBytes(keys[i]);
    __builtin_prefetch(&slots_[hashes[i] & mask_]);
  }
  std::int64_t first[kBatch];  // the position of each text's first slot, -1 for none
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint64_t slot = slots_[hashes[i] & mask_];
    first[i] = slot == 0 ? -1 : static_cast<std::int64_t>(slot & ~kTag) - 1;
    if (first[i] >= 0) cells_.PrefetchHandle(first[i]);
  }
  for (std::size_t i = 0; i < n; ++i) {
    if (first[i] < 0) continue;
    const QByteArrayView text = cells_.TextUtf8(first[i]);
    if (!text.isEmpty()) __builtin_prefetch(text.data());
  }
  for (std::size_t i = 0; i < n; ++i) rows[i] = FindHashed(keys[i], hashes[i]);
}

}  // namespace mivora
