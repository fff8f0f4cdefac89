#pragma once

#include <QString>

#include "search/SearchState.h"

namespace mivora {

class Workspace;

// n when slot n holds a valid join, 0 for another slot 1..64 (fields still copied out),
// -1 above 64 (fields untouched).
int ReadJoin(const Workspace& ws, int n, Join& fields);

// Shows the rubber band from the column's header cell and records a pending join. False
// (with a message, no rubber band) when all 64 slots hold joins.
bool BeginJoin(Workspace& ws, int table, int column);
// Hides the rubber band; completes the pending join with this column, cancels it (same
// table) or refuses it (cycle). Builds the indexes of both join columns on success.
void CompleteJoin(Workspace& ws, int table, int column);
// True (after the message and clearing the slot's tables) when slot s closes a cycle.
bool CheckJoinCycle(Workspace& ws, int s);
// Removes the first join between a and b, either direction; b or a 0 removes a pending join.
void RemoveJoin(Workspace& ws, int a, int b);
// The two-click gesture: begins or completes a join according to `JoinDrawState`.
void JoinClick(Workspace& ws, int table, int column);
// Moves the rubber band's end to a canvas point while it is shown.
void TrackJoinLine(Workspace& ws, float x, float y);
// Forgets the gesture and hides the rubber band; a pending join keeps its slot.
void CancelJoin(Workspace& ws);

// The join piece of the SQL text, and handing it over.
QString JoinTextPiece(const Workspace& ws);
void RebuildJoinText(Workspace& ws);

// Canvas point at the centre of a table's header cell.
struct CanvasPoint {
  float x = 0;
  float y = 0;
};
CanvasPoint HeaderCellCentre(const Workspace& ws, int table, int column);

// Cell (0, 0) and the header of a column; empty for a slot or column that does not exist.
QString TableName(const Workspace& ws, int table);
QString ColumnName(const Workspace& ws, int table, int column);

}  // namespace mivora
