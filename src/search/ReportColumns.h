#pragma once

#include <QString>
#include <optional>

#include "search/SearchState.h"

namespace mivora {

class Workspace;

// Adds or removes a report column, marks its header bold or plain, rebuilds the select piece.
void ToggleReportColumn(Workspace& ws, int table, int column);
// Empties every slot of a table being removed (its header marks are left), then rebuilds.
void RemoveReportColumns(Workspace& ws, int table);
// Slot n (1..257): its table and column, table 0 when empty; nothing for another n.
std::optional<ColumnRef> ReadReportColumn(const Workspace& ws, int n);

// The select piece of the SQL text, and handing it over.
QString SelectTextPiece(const Workspace& ws);
void RebuildSelectText(Workspace& ws);

}  // namespace mivora
