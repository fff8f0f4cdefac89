#include "conditions/ConditionCells.h"

#include "workspace/Workspace.h"

namespace mivora {

namespace {

void PaintHeader(Workspace& ws, int table, int column, Colour colour) {
  if (table < 0 || table >= ws.tables.SlotCount()) return;
  Grid& grid = ws.TableGrid(table);
  if (column < 0 || column >= grid.Cols() || grid.Rows() < 1) return;
  grid.SetCellBackColourAt(0, column, colour);
}

}  // namespace

std::optional<ConditionCell> ReadConditionCell(const Workspace& ws, int n) {
  if (n < 1 || n > kConditionCellCount) return std::nullopt;
  const ConditionCell& cell = ws.conditions.condition_cells[n - 1];
  if (cell.table == 0) return std::nullopt;
  return cell;
}

bool HasFreeConditionCell(const Workspace& ws) {
  for (const ConditionCell& cell : ws.conditions.condition_cells)
    if (cell.table == 0) return true;
  return false;
}

bool AddConditionCell(Workspace& ws, int table, int row, int column, int box) {
  for (ConditionCell& cell : ws.conditions.condition_cells) {
    if (cell.table != 0) continue;
    PaintHeader(ws, table, column, kConditionHeaderColour);
    cell = ConditionCell{table, row, column, box};
    return true;
  }
  return false;
}

void RemoveConditionCells(Workspace& ws, int table, int row, int column, int box) {
  auto& cells = ws.conditions.condition_cells;
  for (ConditionCell& cell : cells) {
    if (cell.table == 0 || cell.box != box) continue;
    if ((table != -1 && cell.table != table) || (row != -1 && cell.row != row) ||
        (column != -1 && cell.column != column))
      continue;
    const ConditionCell removed = cell;
    cell = ConditionCell{};
    bool still_used = false;
    for (const ConditionCell& other : cells)
      if (other.table == removed.table && other.column == removed.column) still_used = true;
    if (!still_used) PaintHeader(ws, removed.table, removed.column, kFreeHeaderColour);
  }
}

}  // namespace mivora
