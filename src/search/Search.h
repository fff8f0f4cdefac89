#pragma once

namespace mivora {

class Workspace;

// What a build of the joined grid found to fill it from.
enum class JoinedGridOutcome {
  kFilled,          // rows from a root table (along the joins, or one table without joins)
  kNothingToJoin,   // no join and no report or condition column
  kUnjoinedTables,  // no join, and the columns come from more than one table
};

// Rebuilds the joined grid (Result window 0) from the tables, joins, report columns and
// condition cells: row 0 headers, row 1 column tags, rows 2 and up the joined rows.
JoinedGridOutcome BuildJoinedGrid(Workspace& ws);

// The search command: joined grid, then the condition filter into the result grid, with the
// wait cursor; says so when the chosen columns lie in tables that are not joined.
void RunSearch(Workspace& ws);

}  // namespace mivora
