#pragma once

namespace mivora {

class Workspace;

// Copies the joined rows that satisfy the stored condition into the result grid.
void FilterJoinedRows(Workspace& ws);

}  // namespace mivora
