#pragma once

namespace mivora {

class Workspace;

// Toggles the tracing colour from a data cell through the joined tables: the first call
// colours the chain of rows whose join keys match, a second call on the same cell clears it.
// The clicked cell turns RGB(255, 128, 128), the cells reached RGB(255, 128, 255).
void TraceRelatedRows(Workspace& ws, int table, int row, int column);

}  // namespace mivora
