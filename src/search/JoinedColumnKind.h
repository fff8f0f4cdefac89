#pragma once

#include "model/Grid.h"
#include "search/ColumnTag.h"

namespace mivora {

// The kind of a joined-grid column: 0 for a report column, the condition or join prefix
// otherwise. The search marks every column with its kind, so a report column whose source
// header begins with a prefix character stays a report column; a joined grid without marks
// (made elsewhere) is read by its headers' prefixes.
inline char16_t JoinedColumnKind(const Grid& joined, int col) {
  const int kind = joined.ColumnKind(col);
  if (kind >= 0) return static_cast<char16_t>(kind);
  if (joined.Rows() == 0) return 0;
  const QString header = joined.Text(0, col);
  if (header.startsWith(kConditionColumnPrefix)) return kConditionColumnPrefix;
  if (header.startsWith(kJoinColumnPrefix)) return kJoinColumnPrefix;
  return 0;
}

}  // namespace mivora
