#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>

namespace mivora {

class Workspace;
class Gyou;

// Indexes one table column from its grid's data rows as they are now (positions 1..data rows),
// sorted; the entries are made and sorted when the index is first read.
void BuildColumnIndex(Workspace& ws, int table, int column);

// Sorts positions lo..hi of an index by text, ordinal, with the middle pivot (halves to
// the even position). Equal texts end up in the order these exact steps give.
void SortColumnIndex(Gyou& index, std::int64_t lo, std::int64_t hi);
void SortColumnIndex(Workspace& ws, int table, int column, std::int64_t lo, std::int64_t hi);

// The result of a bisection: the grid row found (below 1 for none) and its position.
struct IndexHit {
  std::int32_t row = 0;
  std::int64_t position = 0;
  bool Found() const { return row >= 1; }
};

// The bisection over positions lo..hi of a sorted index; an empty index finds nothing.
IndexHit FindInColumnIndex(const Gyou& index, QStringView key, std::int64_t lo, std::int64_t hi);
IndexHit FindInColumnIndex(const Workspace& ws, QStringView key, std::int64_t lo, std::int64_t hi,
                           int table, int column);

// Where the bisection over lo..hi lands for a key whose equal entries fill positions
// run_lo..run_hi of a sorted index: every comparison is decided by the position alone, so no
// text is read. 0 when it lands on none of them.
std::int64_t LandingInRun(std::int64_t run_lo, std::int64_t run_hi, std::int64_t lo,
                          std::int64_t hi);

}  // namespace mivora
