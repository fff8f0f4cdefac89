#include "workspace/TableRemoval.h"

#include "conditions/ConditionCells.h"
#include "conditions/EquationBoxes.h"
#include "search/JoinLines.h"
#include "search/JoinModel.h"
#include "search/ReportColumns.h"
#include "workspace/TableSlots.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

void RemoveJoinsOf(Workspace& ws, int slot) {
  // A gesture begun on the table would leave the rubber band hanging from a hidden window.
  const Join* pending = nullptr;
  for (int n = 1; n <= kJoinSlots; ++n) {
    const Join& j = ws.search.joins[n];
    if (j.departure_table != 0 && j.destination_table == 0) pending = &j;
  }
  if (pending && pending->departure_table == slot) CancelJoin(ws);

  Join j;
  for (int n = 1; n <= kJoinSlots;) {
    ReadJoin(ws, n, j);
    if (j.departure_table != slot && j.destination_table != slot) {
      ++n;
      continue;
    }
    const auto before = ws.search.joins;
    RemoveJoin(ws, j.departure_table, j.destination_table);
    // Later joins moved down by one: slot n is examined again, unless nothing moved.
    if (ws.search.joins == before) ++n;
  }
}

void RemoveEquationBoxesOf(Workspace& ws, int slot) {
  for (int n = 1; n <= kConditionCellCount; ++n) {
    std::optional<ConditionCell> cell = ReadConditionCell(ws, n);
    if (cell && cell->table == slot) DeleteEquationBox(ws, cell->box, false);
  }
}

// Every cell empty, the counts kept; the texts' room is given back.
void EmptyCells(Grid& grid) {
  const int rows = grid.Rows();
  const int cols = grid.Cols();
  grid.ClearCells();
  grid.SetCols(cols);
  grid.SetRows(rows);
}

void ReleaseColumnIndexes(Workspace& ws, int slot) {
  if (!ws.cell_store.TableCreated(slot)) return;
  Retu& table = ws.cell_store.Table(slot);
  for (int c = 1; c <= table.AllocatedColumns(); ++c)
    if (table.ColumnCreated(c)) table.Column(c) = Gyou();
}

}  // namespace

void RemovePopupTable(Workspace& ws) { RemoveTable(ws, ws.tables.popup_table); }

void RemoveTable(Workspace& ws, int slot) {
  if (!ws.tables.IsTableSlot(slot)) return;
  RemoveReportColumns(ws, slot);
  RemoveJoinsOf(ws, slot);
  RedrawJoinLines(ws);
  RemoveEquationBoxesOf(ws, slot);
  EmptyCells(ws.TableGrid(slot));
  ReleaseColumnIndexes(ws, slot);
  ws.tables.slots[slot].frame.visible = false;
  TableFileName(ws, QString(), slot);
}

}  // namespace mivora
