#pragma once

namespace mivora {

class Workspace;

// Lays out the drawn join lines again after a change of tables, joins or geometry: one
// straight line (ws.search.join_lines, canvas twips) between the centres of the two header
// cells of each valid join whose tables are shown.
void RedrawJoinLines(Workspace& ws);
// Hides every drawn join line and join-line segment (while a window is dragged).
void EraseJoinLines(Workspace& ws);

}  // namespace mivora
