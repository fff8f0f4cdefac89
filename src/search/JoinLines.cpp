#include "search/JoinLines.h"

#include <algorithm>

#include "canvas/ScrollBars.h"
#include "model/Constants.h"
#include "search/JoinLineLayout.h"
#include "search/JoinModel.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

// The x where a join line meets a table window: the centre of the column's header cell as
// the grid shows it, kept within the grid area when the column is scrolled out of view.
std::int64_t AnchorX(const TableSlot& slot, int column) {
  const Grid& g = slot.grid;
  const double grid_left = static_cast<double>(slot.frame.rect.left) + kGridOffset;
  double x = grid_left;
  if (column >= 0 && column < g.Cols())
    x += static_cast<double>(g.VisibleLeftOf(column)) + g.ColWidth(column) / 2.0;
  const double grid_right = grid_left + std::max(0.0f, g.control.rect.width);
  x = std::clamp(x, grid_left, std::max(grid_left, grid_right));
  return RoundHalfEven(x);
}

}  // namespace

void RedrawJoinLines(Workspace& ws) {
  EraseJoinLines(ws);
  TablesWindow& t = ws.tables;
  std::vector<LayoutWindow> windows(t.slots.size());
  for (int s = 0; s < t.SlotCount(); ++s) {
    const TwipRect& r = t.slots[s].frame.rect;
    LayoutWindow& w = windows[s];
    w.left = RoundHalfEven(r.left);
    w.top = RoundHalfEven(r.top);
    w.right = RoundHalfEven(static_cast<double>(r.left) + r.width);
    w.bottom = RoundHalfEven(static_cast<double>(r.top) + r.height);
    w.present = s < kFirstTableSlot || t.slots[s].frame.visible;
  }
  std::vector<LayoutJoin> joins;
  std::vector<Join> fields;
  Join j;
  for (int n = 1; n <= kJoinSlots; ++n) {
    if (ReadJoin(ws, n, j) != n) continue;
    if (!t.SlotInUse(j.departure_table) || !t.SlotInUse(j.destination_table)) continue;
    joins.push_back({j.departure_table, AnchorX(t.slots[j.departure_table], j.departure_column),
                     j.destination_table,
                     AnchorX(t.slots[j.destination_table], j.destination_column)});
    fields.push_back(j);
  }
  const JoinLineLayout layout = LayOutJoinLines(windows, joins);
  if (t.line2.size() < layout.segments.size()) t.line2.resize(layout.segments.size());
  for (std::size_t i = 0; i < layout.segments.size(); ++i) {
    const LayoutSegment& s = layout.segments[i];
    Control& c = t.line2[i];
    c.rect = {static_cast<float>(s.left), static_cast<float>(s.top), static_cast<float>(s.width),
              static_cast<float>(s.height)};
    c.back_colour = s.last ? kJoinLineLastColour : kJoinLineColour;
    c.visible = true;
  }
  if (ws.search.segment_marks.size() < t.line2.size())
    ws.search.segment_marks.resize(t.line2.size(), 0);
  // The message comes once per join that stops routing, not on every later redraw.
  std::vector<Join> failing;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (layout.routed[i]) continue;
    failing.push_back(fields[i]);
    if (std::find(t.unroutable_joins.begin(), t.unroutable_joins.end(), fields[i]) ==
        t.unroutable_joins.end()) {
      ws.host.ShowMessage(UnroutableJoinMessage());
    }
  }
  t.unroutable_joins = std::move(failing);
  // The pieces count in the canvas's scrolled range: a line routed above the top row of
  // windows or left of the leftmost can be scrolled to.
  UpdateCanvasVScroll(ws);
  UpdateCanvasHScroll(ws);
}

void EraseJoinLines(Workspace& ws) {
  for (Control& segment : ws.tables.line2) segment.visible = false;
}

}  // namespace mivora
