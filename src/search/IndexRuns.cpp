#include "search/IndexRuns.h"

#include <QString>
#include <algorithm>
#include <bit>

#include "model/CellStore.h"
#include "model/TwoHalves.h"
#include "model/Utf8.h"
#include "search/ColumnIndex.h"
#include "search/TextHash.h"

namespace mivora {

namespace {

constexpr std::size_t kParallelRuns = 1 << 17;

// Units from..from + 3 packed into one integer, zeros past the end.
template <typename Unit>
std::uint64_t Pack(const Unit* units, qsizetype size, qsizetype from) {
  std::uint64_t p = 0;
  for (qsizetype i = from; i < from + 4; ++i) {
    p <<= 16;
    if (i < size) p |= static_cast<std::uint16_t>(units[i]);
  }
  return p;
}

}  // namespace

IndexRuns::IndexRuns(const Gyou& index) {
  const std::int64_t n = index.Size();
  // Room for one run per entry: only the part the runs fill is ever touched.
  runs_.reserve(static_cast<std::size_t>(n));
  for (std::int64_t i = 1; i <= n;) {
    std::int64_t j = i;
    while (j < n && index.SameText(j + 1, i)) ++j;
    const QStringView text = index.TextAt(i);
    runs_.push_back({text.utf16(), Pack(text.utf16(), text.size(), 0),
                     Pack(text.utf16(), text.size(), 4), static_cast<std::int32_t>(text.size()),
                     static_cast<std::int32_t>(i), static_cast<std::int32_t>(j), 0, 0});
    i = j + 1;
  }
  // Each run's landing stands alone, so many runs are worked out in two halves at once.
  auto land = [&](std::size_t from, std::size_t to) {
    for (std::size_t r = from; r < to; ++r) {
      Run& run = runs_[r];
      const std::int64_t landing = LandingInRun(run.lo, run.hi, 1, n);
      run.landing = static_cast<std::int32_t>(landing);
      run.row = landing == 0 ? 0 : index.RowAt(landing);
    }
  };
  const std::size_t count = runs_.size();
  if (count >= kParallelRuns) {
    InTwoHalves(static_cast<std::int64_t>(count), [&land](std::int64_t from, std::int64_t to) {
      land(static_cast<std::size_t>(from), static_cast<std::size_t>(to));
    });
  } else {
    land(0, count);
  }
  const std::size_t capacity = std::bit_ceil(std::max<std::size_t>(16, runs_.size() * 2));
  slots_.assign(capacity, 0);
  mask_ = capacity - 1;
  for (std::size_t r = 0; r < runs_.size(); ++r) {
    const std::uint64_t hash = HashUnits(runs_[r].units, runs_[r].length);
    std::uint64_t s = hash & mask_;
    while (slots_[s] != 0) s = (s + 1) & mask_;
    slots_[s] = Slot(hash, r);
  }
}

template <typename Unit>
std::int32_t IndexRuns::FindUnits(const Unit* units, qsizetype size, std::uint64_t hash) const {
  const std::uint64_t tag = hash & 0xffffffff00000000ull;
  for (std::uint64_t s = hash & mask_;; s = (s + 1) & mask_) {
    const std::uint64_t slot = slots_[s];
    if (slot == 0) return -1;
    if ((slot & 0xffffffff00000000ull) != tag) continue;
    const auto r = static_cast<std::int32_t>((slot & 0xffffffffull) - 1);
    const Run& run = runs_[static_cast<std::size_t>(r)];
    if (run.length != size || run.head != Pack(units, size, 0) || run.tail != Pack(units, size, 4))
      continue;
    if (size <= 8) return r;
    bool same = true;
    for (qsizetype i = 8; i < size && same; ++i)
      same = run.units[i] == static_cast<std::uint16_t>(units[i]);
    if (same) return r;
  }
}

std::int32_t IndexRuns::Find(QStringView text) const {
  return FindUnits(text.utf16(), text.size(), HashUnits(text.utf16(), text.size()));
}

std::int32_t IndexRuns::FindUtf8(QByteArrayView utf8) const {
  if (IsAscii(utf8)) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
    return FindUnits(bytes, utf8.size(), HashUnits(bytes, utf8.size()));
  }
  return Find(QString::fromUtf8(utf8));
}

void IndexRuns::FindUtf8Batch(const QByteArrayView* texts, std::size_t n,
                              std::int32_t* out) const {
  std::uint64_t hashes[kBatch];
  bool ascii[kBatch];
  n = std::min(n, kBatch);
  for (std::size_t i = 0; i < n; ++i) {
    ascii[i] = IsAscii(texts[i]);
    if (!ascii[i]) continue;
    const auto* bytes = reinterpret_cast<const unsigned char*>(texts[i].data());
    hashes[i] = HashUnits(bytes, texts[i].size());
    __builtin_prefetch(&slots_[hashes[i] & mask_]);
  }
  for (std::size_t i = 0; i < n; ++i) {
    if (!ascii[i]) continue;
    const std::uint64_t slot = slots_[hashes[i] & mask_];
    if (slot != 0) __builtin_prefetch(&runs_[static_cast<std::size_t>((slot & 0xffffffffull) - 1)]);
  }
  for (std::size_t i = 0; i < n; ++i) {
    if (!ascii[i]) {
      out[i] = FindUtf8(texts[i]);
      continue;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(texts[i].data());
    out[i] = FindUnits(bytes, texts[i].size(), hashes[i]);
  }
}

}  // namespace mivora
