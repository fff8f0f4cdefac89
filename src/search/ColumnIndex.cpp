#include "search/ColumnIndex.h"

#include <thread>
#include <utility>

#include "model/Twips.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

std::int64_t MiddleOf(std::int64_t lo, std::int64_t hi) {
  return RoundHalfEven(static_cast<double>(lo + hi) / 2);
}

IndexHit SingleHit(const Gyou& index, const Gyou::Key& key, std::int64_t p) {
  if (index.Compare(p, key) == 0) return {index.RowAt(p), p};
  return {static_cast<std::int32_t>(-p), 0};
}

}  // namespace

void BuildColumnIndex(Workspace& ws, int table, int column) {
  if (!ws.tables.IsTableSlot(table)) return;
  const Grid& grid = ws.TableGrid(table);
  if (column < 0 || column >= grid.Cols()) return;
  CellStore& store = ws.cell_store;
  store.EnsureTable(table);
  store.EnsureColumn(table, column);
  // The data rows as they are now; they are copied into entries and sorted when the index is
  // first read. A search that only groups this column's rows by key never needs that.
  Gyou& index = store.Column(table, column);
  index.Defer(grid.SnapshotColumn(column, 1),
              [](Gyou& g, std::int64_t lo, std::int64_t hi) { SortColumnIndex(g, lo, hi); });
}

namespace {

// Parts at least this big are sorted on a second thread at the first split.
constexpr std::int64_t kParallelPart = 1 << 17;

// One pass of the partition over lo..hi; i and j are where the two parts begin and end.
void Partition(Gyou& index, std::int64_t lo, std::int64_t hi, std::int64_t* i_out,
               std::int64_t* j_out) {
  // The pivot's text stays where it is while entries are swapped: a view of it is a copy.
  const Gyou::Key pivot = index.KeyAt(MiddleOf(lo, hi));
  std::int64_t i = lo;
  std::int64_t j = hi;
  do {
    while (index.Compare(i, pivot) < 0) ++i;
    while (index.Compare(j, pivot) > 0) --j;
    if (i > j) break;
    index.Swap(i, j);
    ++i;
    --j;
  } while (j >= i);
  *i_out = i;
  *j_out = j;
}

void SortRange(Gyou& index, std::int64_t lo, std::int64_t hi) {
  // The two parts of a pass are disjoint, so sorting the smaller one first (by recursion)
  // and the larger one by looping gives the same order with a stack of O(log n).
  while (lo < hi) {
    std::int64_t i, j;
    Partition(index, lo, hi, &i, &j);
    bool left = lo < j;
    bool right = i < hi;
    if (left && right) {
      if (j - lo < hi - i) {
        SortRange(index, lo, j);
        lo = i;
      } else {
        SortRange(index, i, hi);
        hi = j;
      }
    } else if (left) {
      hi = j;
    } else if (right) {
      lo = i;
    } else {
      break;
    }
  }
}

}  // namespace

void SortColumnIndex(Gyou& index, std::int64_t lo, std::int64_t hi) {
  if (index.Size() == 0 || lo < 1 || hi > index.Size() || lo >= hi) return;
  // The parts of the first split are disjoint and each is sorted exactly as it would be on
  // its own, so a big index sorts its two parts side by side on two threads.
  if (hi - lo + 1 >= 2 * kParallelPart) {
    std::int64_t i, j;
    Partition(index, lo, hi, &i, &j);
    if (j - lo + 1 >= kParallelPart && hi - i + 1 >= kParallelPart) {
      std::thread left([&index, lo, j] { SortRange(index, lo, j); });
      SortRange(index, i, hi);
      left.join();
      return;
    }
    if (lo < j) SortRange(index, lo, j);
    if (i < hi) SortRange(index, i, hi);
    return;
  }
  SortRange(index, lo, hi);
}

void SortColumnIndex(Workspace& ws, int table, int column, std::int64_t lo, std::int64_t hi) {
  SortColumnIndex(ws.cell_store.Column(table, column), lo, hi);
}

IndexHit FindInColumnIndex(const Gyou& index, QStringView key, std::int64_t lo, std::int64_t hi) {
  if (index.Size() == 0 || lo < 1 || hi < 1 || lo > index.Size() || hi > index.Size()) {
    return {};
  }
  const Gyou::Key k(key);
  for (;;) {
    if (hi == lo + 1 || lo == hi + 1) {
      IndexHit hit = SingleHit(index, k, hi);
      if (!hit.Found()) hit = SingleHit(index, k, lo);
      return hit;
    }
    std::int64_t mid = MiddleOf(lo, hi);
    const int order = index.Compare(mid, k);
    if (order == 0) return {index.RowAt(mid), mid};
    if (lo == hi) return {static_cast<std::int32_t>(-lo), 0};
    if (order > 0) {
      hi = mid;
    } else {
      lo = mid;
    }
  }
}

std::int64_t LandingInRun(std::int64_t run_lo, std::int64_t run_hi, std::int64_t lo,
                          std::int64_t hi) {
  auto in_run = [&](std::int64_t p) { return p >= run_lo && p <= run_hi; };
  if (lo < 1 || hi < 1) return 0;
  for (;;) {
    if (hi == lo + 1 || lo == hi + 1) {
      if (in_run(hi)) return hi;
      return in_run(lo) ? lo : 0;
    }
    const std::int64_t mid = MiddleOf(lo, hi);
    if (in_run(mid)) return mid;
    if (lo == hi) return 0;
    if (mid > run_hi) {
      hi = mid;
    } else {
      lo = mid;
    }
  }
}

IndexHit FindInColumnIndex(const Workspace& ws, QStringView key, std::int64_t lo, std::int64_t hi,
                           int table, int column) {
  const CellStore& store = ws.cell_store;
  if (!store.TableCreated(table) || !store.Table(table).ColumnCreated(column)) return {};
  return FindInColumnIndex(store.Column(table, column), key, lo, hi);
}

}  // namespace mivora
