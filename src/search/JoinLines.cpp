#include "search/JoinLines.h"

#include "search/JoinModel.h"
#include "workspace/Workspace.h"

namespace mivora {

void RedrawJoinLines(Workspace& ws) {
  std::vector<LineShape>& lines = ws.search.join_lines;
  lines.clear();
  Join j;
  for (int n = 1; ReadJoin(ws, n, j) != -1; ++n) {
    if (ReadJoin(ws, n, j) != n) continue;
    if (!ws.tables.SlotInUse(j.departure_table) || !ws.tables.SlotInUse(j.destination_table)) {
      continue;
    }
    const CanvasPoint a = HeaderCellCentre(ws, j.departure_table, j.departure_column);
    const CanvasPoint b = HeaderCellCentre(ws, j.destination_table, j.destination_column);
    lines.push_back(LineShape{a.x, a.y, b.x, b.y, true});
  }
}

void EraseJoinLines(Workspace& ws) {
  for (LineShape& line : ws.search.join_lines) line.visible = false;
  for (Control& segment : ws.tables.line2) segment.visible = false;
}

}  // namespace mivora
