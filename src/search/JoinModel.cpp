#include "search/JoinModel.h"

#include "conditions/SqlText.h"
#include "search/ColumnIndex.h"
#include "search/JoinLines.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Depth-first walk of CheckJoinCycle: from table t, not back through slot c.
void WalkForCycle(Workspace& ws, int s, int t, int c, bool& found) {
  auto& joins = ws.search.joins;
  for (int i = 1; i <= kJoinSlots; ++i) {
    if (i == s || i == c) continue;
    int next = 0;
    if (joins[i].departure_table == t) next = joins[i].destination_table;
    if (joins[i].destination_table == t) next = joins[i].departure_table;
    if (next == 0) continue;
    if (next == joins[s].departure_table) {
      ws.host.ShowMessage(QStringLiteral("循還です ！"));
      found = true;
      joins[s].departure_table = 0;
      joins[s].destination_table = 0;
      return;
    }
    WalkForCycle(ws, s, next, i, found);
  }
}

}  // namespace

QString TableName(const Workspace& ws, int table) {
  if (!ws.tables.IsTableSlot(table)) return {};
  const Grid& g = ws.TableGrid(table);
  if (g.Rows() < 1 || g.Cols() < 1) return {};
  return g.Text(0, 0);
}

QString ColumnName(const Workspace& ws, int table, int column) {
  if (!ws.tables.IsTableSlot(table)) return {};
  const Grid& g = ws.TableGrid(table);
  if (g.Rows() < 1 || column < 0 || column >= g.Cols()) return {};
  return g.Text(0, column);
}

int ReadJoin(const Workspace& ws, int n, Join& fields) {
  if (n > kJoinSlots) return -1;
  if (n < 1) return 0;
  fields = ws.search.joins[n];
  return (fields.departure_table >= 4 && fields.destination_table >= 4) ? n : 0;
}

CanvasPoint HeaderCellCentre(const Workspace& ws, int table, int column) {
  if (!ws.tables.IsTableSlot(table)) return {};
  const TableSlot& slot = ws.tables.slots[table];
  const Grid& g = slot.grid;
  CanvasPoint p;
  p.x = slot.frame.rect.left + g.control.rect.left;
  p.y = slot.frame.rect.top + g.control.rect.top;
  if (column >= 0 && column < g.Cols()) p.x += g.VisibleLeftOf(column) + g.ColWidth(column) / 2;
  if (g.Rows() > 0) p.y += g.RowHeight(0) / 2;
  return p;
}

bool BeginJoin(Workspace& ws, int table, int column) {
  auto& joins = ws.search.joins;
  int free_slot = 0;
  for (int i = 1; i <= kJoinSlots; ++i) {
    if (joins[i].destination_table == 0) {
      free_slot = i;
      break;
    }
  }
  if (free_slot == 0) {
    ws.host.ShowMessage(QStringLiteral("結合は 64 個までです。"));
    return false;
  }
  LineShape& band = ws.tables.line1;
  CanvasPoint p = HeaderCellCentre(ws, table, column);
  band.visible = true;
  band.x1 = band.x2 = p.x;
  band.y1 = band.y2 = p.y;
  joins[free_slot].departure_table = table;
  joins[free_slot].departure_column = column;
  RebuildJoinText(ws);
  return true;
}

void CompleteJoin(Workspace& ws, int table, int column) {
  ws.tables.line1.visible = false;
  auto& joins = ws.search.joins;
  int s = 0;
  for (int i = 1; i <= kJoinSlots; ++i) {
    if (joins[i].destination_table == 0) {
      s = i;
      break;
    }
  }
  // An empty slot is no pending join: completing it would leave a destination without a
  // departure in the list.
  if (s != 0 && joins[s].departure_table != 0) {
    if (joins[s].departure_table == table) {
      joins[s].departure_table = 0;
      joins[s].departure_column = 0;
    } else {
      joins[s].destination_table = table;
      joins[s].destination_column = column;
      if (CheckJoinCycle(ws, s)) {
        joins[s] = Join{};
        return;
      }
      BuildColumnIndex(ws, joins[s].departure_table, joins[s].departure_column);
      BuildColumnIndex(ws, joins[s].destination_table, joins[s].destination_column);
    }
  }
  RebuildJoinText(ws);
}

bool CheckJoinCycle(Workspace& ws, int s) {
  bool found = false;
  WalkForCycle(ws, s, ws.search.joins[s].destination_table, s, found);
  return found;
}

void RemoveJoin(Workspace& ws, int a, int b) {
  auto& joins = ws.search.joins;
  for (int k = 1; k <= kJoinSlots; ++k) {
    const Join& j = joins[k];
    if ((j.departure_table == b && j.destination_table == a) ||
        (j.departure_table == a && j.destination_table == b)) {
      for (int i = k; i < kJoinSlots; ++i) joins[i] = joins[i + 1];
      joins[kJoinSlots] = Join{};
      break;
    }
  }
  RebuildJoinText(ws);
}

void JoinClick(Workspace& ws, int table, int column) {
  QString& state = ws.search.join_draw_state;
  if (state.isEmpty()) state = JoinIdling();
  if (state != JoinIdling()) {
    state = JoinIdling();
    CompleteJoin(ws, table, column);
    RedrawJoinLines(ws);
    return;
  }
  // A refused begin (all slots full) leaves nothing to complete.
  if (BeginJoin(ws, table, column)) state = JoinWorking();
}

void TrackJoinLine(Workspace& ws, float x, float y) {
  LineShape& band = ws.tables.line1;
  if (!band.visible) return;
  band.x2 = x;
  band.y2 = y;
}

void CancelJoin(Workspace& ws) {
  ws.search.join_draw_state.clear();
  ws.tables.line1.visible = false;
}

QString JoinTextPiece(const Workspace& ws) {
  QString text = QStringLiteral(" Where ") + kCrLf;
  bool any = false;
  for (int i = 1; i <= kJoinSlots; ++i) {
    const Join& j = ws.search.joins[i];
    if (j.departure_table == 0 || j.destination_table == 0) continue;
    text += TableName(ws, j.departure_table) + u'.' +
            ColumnName(ws, j.departure_table, j.departure_column) + u'=' +
            TableName(ws, j.destination_table) + u'.' +
            ColumnName(ws, j.destination_table, j.destination_column) + QStringLiteral(" AND ");
    any = true;
  }
  if (any) text.chop(5);
  text += kCrLf + kCrLf + QStringLiteral(" AND ");
  return text;
}

void RebuildJoinText(Workspace& ws) {
  const QString unchanged = QStringLiteral("-");
  SetSqlTextPart(ws, unchanged, JoinTextPiece(ws), unchanged);
}

}  // namespace mivora
