#pragma once

#include <QString>
#include <array>

#include "model/Twips.h"

namespace mivora {

class Workspace;

// One table of the example: its file (relative to the program's folder, "\" separated) and
// the geometry it opens at (0 keeps a default).
struct OracleExampleTable {
  QString file;
  TwipRect geometry;
};
const std::array<OracleExampleTable, 9>& OracleExampleTables();

// One join of the example, as table index (0 to 8, in the order above) and grid column.
struct OracleExampleJoin {
  int from_table, from_column, to_table, to_column;
};
const std::array<OracleExampleJoin, 8>& OracleExampleJoins();

// "Oracle Example": opens the nine example tables (on an empty workspace into slots 4 to 12),
// joins them as the user's two right clicks would, builds the joined grid, filters it and
// lays out the join lines. Stops after the tables when one of them could not be read.
void LoadOracleExample(Workspace& ws);

}  // namespace mivora
