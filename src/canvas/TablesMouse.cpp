#include "canvas/TablesMouse.h"

#include <cstdint>

#include "canvas/ButtonHints.h"
#include "conditions/EquationBoxes.h"
#include "search/ColumnIndex.h"
#include "search/JoinModel.h"
#include "search/LineDisconnect.h"
#include "search/RelatedRows.h"
#include "search/ReportColumns.h"
#include "workspace/TableSlots.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

bool AnyWindowNotNormal(const Workspace& ws) {
  return ws.tables.window.state != WindowState::kNormal ||
         ws.equations_window.state != WindowState::kNormal ||
         ws.result.window.state != WindowState::kNormal;
}

}  // namespace

TablesMouseAction TablesCanvasMouseUp(Workspace& ws, const MouseEvent& e) {
  TablesMouseAction action = TablesMouseAction::kNone;
  if (e.button == kRightButton) {
    if (AnyWindowNotNormal(ws)) ws.tables.resume_menu_enabled = false;
    action = TablesMouseAction::kCanvasMenu;
  } else if (e.button == kLeftButton && IsCanvasHintAtLoad(ws.tables.default_hint_picture)) {
    action = TablesMouseAction::kAboutBox;
  }
  CancelJoin(ws);
  return action;
}

void TablesCanvasMouseMove(Workspace& ws, const MouseEvent& e) { TrackJoinLine(ws, e.x, e.y); }

bool GridRuleTablePopup(Workspace& ws, int slot, int row, int col, const MouseEvent& e) {
  if (e.button != kRightButton || col != 0 || row != 0) return false;
  ws.tables.popup_table = slot;
  return true;
}

void GridRuleJoinClick(Workspace& ws, int slot, int row, int col, const MouseEvent& e) {
  if (e.button == kRightButton && col > 0 && row == 0) JoinClick(ws, slot, col);
}

void GridRuleReportColumn(Workspace& ws, int slot, int row, int col, const MouseEvent& e) {
  if (e.button == kLeftButton && col > 0 && row == 0) ToggleReportColumn(ws, slot, col);
}

void GridRuleSort(Workspace& ws, int slot, int row, int col, const MouseEvent& e) {
  if (!IsSortOrTraceClick(e) || row != 0) return;
  ws.host.SetWaitCursor(true);
  Grid& grid = ws.TableGrid(slot);
  if (grid.Rows() > 2) {
    grid.SetCol(col);
    grid.SetRow(1);
    grid.SetRowSel(grid.Rows() - 1);
    grid.Sort(col == 0 ? GridSortOrder::kNumeric : GridSortOrder::kGeneric);
    grid.SetRow(0);
    grid.SetRowSel(0);
    grid.SetCol(col);
  }
  Join j;
  for (int n = 1; ReadJoin(ws, n, j) != -1; ++n) {
    if (ReadJoin(ws, n, j) != n) continue;
    if (j.departure_table == slot) BuildColumnIndex(ws, slot, j.departure_column);
    if (j.destination_table == slot) BuildColumnIndex(ws, slot, j.destination_column);
  }
  ws.host.SetWaitCursor(false);
}

void GridRuleTrace(Workspace& ws, int slot, int row, int col, const MouseEvent& e) {
  if (!IsSortOrTraceClick(e) || col <= 0 || row <= 0) return;
  ws.host.SetWaitCursor(true);
  TraceRelatedRows(ws, slot, row, col);
  ws.host.SetWaitCursor(false);
}

void GridRuleEquationBox(Workspace& ws, int slot, int row, int col, const MouseEvent& e) {
  if (e.button == kLeftButton && col > 0 && row > 0) CreateEquationBox(ws, slot, row, col);
}

void GridRuleOpenCell(Workspace& ws, int slot, int row, int col, const MouseEvent& e) {
  if (e.button != kRightButton || col <= 0 || row <= 0) return;
  const QString text = ws.TableGrid(slot).Text(row, col);
  if (text.contains(QStringLiteral(".csv")) || text.contains(QStringLiteral(".Csv")) ||
      text.contains(QStringLiteral(".CSV"))) {
    OpenTable(ws, text, 600, 600, 700, 4000);
  } else if (!text.isEmpty()) {
    ws.host.OpenDocument(text);
  }
}

TablesMouseAction TablesGridMouseUp(Workspace& ws, int slot, const MouseEvent& e) {
  if (!ws.tables.IsTableSlot(slot)) return TablesMouseAction::kNone;
  Grid& grid = ws.TableGrid(slot);
  if (grid.Rows() < 1 || grid.Cols() < 1) return TablesMouseAction::kNone;
  // The column is taken as a 16-bit number, as the grid control reports it.
  const int col = static_cast<std::int16_t>(grid.MouseCol());
  const int row = grid.MouseRow();
  if (col < 0 || col >= grid.Cols() || row < 0 || row >= grid.Rows()) {
    return TablesMouseAction::kNone;
  }
  grid.SetCol(col);
  grid.SetRow(row);
  const bool popup = GridRuleTablePopup(ws, slot, row, col, e);
  GridRuleJoinClick(ws, slot, row, col, e);
  GridRuleReportColumn(ws, slot, row, col, e);
  GridRuleSort(ws, slot, row, col, e);
  GridRuleTrace(ws, slot, row, col, e);
  GridRuleEquationBox(ws, slot, row, col, e);
  GridRuleOpenCell(ws, slot, row, col, e);
  return popup ? TablesMouseAction::kTablePopupMenu : TablesMouseAction::kNone;
}

void TablesGridMouseMove(Workspace& ws, int slot, const MouseEvent& e) {
  if (!ws.tables.IsTableSlot(slot)) return;
  const TableSlot& s = ws.tables.slots[slot];
  TrackJoinLine(ws, s.frame.rect.left + s.grid.control.rect.left + e.x,
                s.frame.rect.top + s.grid.control.rect.top + e.y);
}

void TablesFrameMouseMove(Workspace& ws, int slot, const MouseEvent& e) {
  if (slot < 0 || slot >= ws.tables.SlotCount()) return;
  const Control& frame = ws.tables.slots[slot].frame;
  TrackJoinLine(ws, frame.rect.left + e.x, frame.rect.top + e.y);
}

void TablesCornerMouseMove(Workspace& ws, int slot, const MouseEvent& e) {
  if (!ws.tables.IsTableSlot(slot)) return;
  const TableSlot& s = ws.tables.slots[slot];
  TrackJoinLine(ws, s.frame.rect.left + s.corner.rect.left + e.x,
                s.frame.rect.top + s.corner.rect.top + e.y);
}

void TablesSegmentMouseMove(Workspace& ws, int segment, const MouseEvent& e) {
  if (segment < 0 || segment >= static_cast<int>(ws.tables.line2.size())) return;
  const Control& seg = ws.tables.line2[segment];
  TrackJoinLine(ws, seg.rect.left + e.x, seg.rect.top + e.y);
}

void TablesSegmentMouseUp(Workspace& ws, int segment, const MouseEvent& e) {
  if (e.button != kLeftButton) return;
  if (segment < 0 || segment >= static_cast<int>(ws.tables.line2.size())) return;
  DisconnectByLine(ws, segment);
}

}  // namespace mivora
