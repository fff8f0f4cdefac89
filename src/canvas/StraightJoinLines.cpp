#include "canvas/StraightJoinLines.h"

#include <algorithm>
#include <cmath>

#include "search/JoinLines.h"
#include "search/JoinModel.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

double DistanceToSegment(const LineShape& l, double x, double y) {
  const double dx = l.x2 - l.x1, dy = l.y2 - l.y1;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((x - l.x1) * dx + (y - l.y1) * dy) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(x - (l.x1 + t * dx), y - (l.y1 + t * dy));
}

// The join drawn as line `line`: lines are laid out one per valid join between shown tables.
bool JoinOfLine(const Workspace& ws, int line, Join& found) {
  Join j;
  int k = 0;
  for (int n = 1; ReadJoin(ws, n, j) != -1; ++n) {
    if (ReadJoin(ws, n, j) != n) continue;
    if (!ws.tables.SlotInUse(j.departure_table) || !ws.tables.SlotInUse(j.destination_table))
      continue;
    if (k++ == line) {
      found = j;
      return true;
    }
  }
  return false;
}

}  // namespace

int StraightJoinLineAt(const Workspace& ws, float x, float y, float tolerance) {
  int best = -1;
  double best_distance = tolerance;
  const auto& lines = ws.search.join_lines;
  for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
    if (!lines[i].visible) continue;
    const double d = DistanceToSegment(lines[i], x, y);
    if (d <= best_distance) {
      best = i;
      best_distance = d;
    }
  }
  return best;
}

bool TablesCanvasLineClick(Workspace& ws, const MouseEvent& e, float tolerance) {
  if (e.button != kLeftButton) return false;
  const int line = StraightJoinLineAt(ws, e.x, e.y, tolerance);
  Join j;
  if (line < 0 || !JoinOfLine(ws, line, j)) return false;
  ws.tables.selected_join_line = line;
  const bool ok = ws.host.AskOkCancel(QStringLiteral("切断しますか ？"));
  ws.tables.selected_join_line = -1;
  if (ok) {
    RemoveJoin(ws, j.departure_table, j.destination_table);
    RedrawJoinLines(ws);
  }
  return true;
}

}  // namespace mivora
