#include "canvas/WindowMoveResize.h"

#include <algorithm>

#include "canvas/ScrollBars.h"
#include "model/Constants.h"
#include "search/JoinLines.h"
#include "search/JoinModel.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

constexpr float kBar = BarThickness();

// Keeps the width at its least: the grid keeps only the joined columns' room.
void SetMinimumWidth(TableSlot& s, float min_grid_width) {
  SetFrameWidth(s, min_grid_width + kFrameChrome);
  s.grid.control.rect.width = min_grid_width;
  s.graph_box.rect.width = min_grid_width;
}

// Keeps the height at its least: only the border strips and bars remain.
void SetMinimumHeight(TableSlot& s) {
  SetFrameHeight(s, kFrameChrome);
  s.grid.control.rect.height = 0;
  s.graph_box.rect.height = 0;
}

void Move(Workspace& ws, TableSlot& s, float x, float y) {
  s.frame.rect.left += x - ws.tables.drag.anchor_x;
  s.frame.rect.top += y - ws.tables.drag.anchor_y;
}

}  // namespace

void SetFrameWidth(TableSlot& s, float w) {
  const float dw = w - s.frame.rect.width;
  s.frame.rect.width = w;
  s.grid.control.rect.width += dw;
  s.graph_box.rect.width = w - kFrameChrome;
  s.hsc_bar.rect.width = w - kFrameChrome;
  s.vsc_bar.rect.left = w - kBar;
}

void SetFrameHeight(TableSlot& s, float h) {
  const float dh = h - s.frame.rect.height;
  s.frame.rect.height = h;
  s.grid.control.rect.height += dh;
  s.graph_box.rect.height = h - kFrameChrome;
  s.vsc_bar.rect.height = h - kFrameChrome;
  s.hsc_bar.rect.top = h - kBar;
}

float ComputeMinGridWidth(const Workspace& ws, int slot) {
  int c = 0;
  Join j;
  for (int n = 1; n <= kJoinSlots; ++n) {
    if (ReadJoin(ws, n, j) != n) continue;
    if (auto sides = j.SidesFrom(slot)) c = std::max(c, sides->this_column);
  }
  if (c <= 0 || !ws.tables.IsTableSlot(slot)) return 0;
  const Grid& g = ws.tables.slots[slot].grid;
  if (c >= g.Cols()) return 0;
  const float need = g.VisibleLeftOf(c) + g.ColWidth(c) + 30;
  return std::max(0.0f, std::min(need, g.control.rect.width));
}

void BeginWindowDrag(Workspace& ws, int slot, float x, float y) {
  WindowDragState& d = ws.tables.drag;
  d.anchor_x = x;
  d.anchor_y = y;
  d.recoil_happened = false;
  d.min_grid_width = ComputeMinGridWidth(ws, slot);
}

void BeginCornerDrag(Workspace& ws, int slot, float x, float y) {
  BeginWindowDrag(ws, slot, x, y);
  EraseJoinLines(ws);
}

void FrameDragStep(Workspace& ws, int slot, int button, float x, float y) {
  if (!ws.tables.IsTableSlot(slot)) return;
  WindowDragState& d = ws.tables.drag;
  d.button = button;
  if (button == 1) EdgeResizeStep(ws, slot, x, y);
  if (button == 2 && d.anchor_x > 0 && d.anchor_y > 0) Move(ws, ws.tables.slots[slot], x, y);
  if (button == 1 || button == 2) {
    UpdateCanvasVScroll(ws);
    UpdateCanvasHScroll(ws);
  }
}

void EdgeResizeStep(Workspace& ws, int slot, float x, float y) {
  WindowDragState& d = ws.tables.drag;
  TableSlot& s = ws.tables.slots[slot];
  TwipRect& f = s.frame.rect;
  const float dx = x - d.anchor_x;
  const float dy = y - d.anchor_y;
  const float min_w = d.min_grid_width + kFrameChrome;
  d.ClearStepFlags();
  if (d.anchor_x < kBar) {
    const float w = f.width - dx;
    if (w >= min_w) {
      const float old_w = f.width;
      d.left_edge_moved = true;
      f.left += dx;
      SetFrameWidth(s, w);
      ResolveOverlaps(ws, slot);
      if (d.recoil_happened) {
        f.left -= dx;
        SetFrameWidth(s, old_w);
      }
    } else {
      const float right = f.right();
      SetMinimumWidth(s, d.min_grid_width);
      f.left = right - f.width;  // the right edge stays
    }
  }
  if (s.grid.control.rect.width + kBar < d.anchor_x) {
    const float w = f.width + dx;
    if (w >= min_w) {
      if (dx < 0) d.right_edge_shrunk = true;
      SetFrameWidth(s, w);
      ResolveOverlaps(ws, slot);
      d.anchor_x = x;
    } else {
      SetMinimumWidth(s, d.min_grid_width);
    }
  }
  if (d.anchor_y < kBar) {
    const float h = f.height - dy;
    if (h < kFrameChrome) {
      const float bottom = f.bottom();
      SetMinimumHeight(s);
      f.top = bottom - f.height;  // the bottom edge stays
    } else {
      const float old_h = f.height;
      d.top_edge_moved = true;
      f.top += dy;
      SetFrameHeight(s, h);
      ResolveOverlaps(ws, slot);
      if (d.recoil_happened) {
        f.top -= dy;
        SetFrameHeight(s, old_h);
      }
    }
  }
  if (s.grid.control.rect.height + kBar < d.anchor_y) {
    const float h = f.height + dy;
    if (h >= kFrameChrome) {
      if (dy < 0) d.bottom_edge_shrunk = true;
      SetFrameHeight(s, h);
      d.anchor_y = y;
      ResolveOverlaps(ws, slot);
    } else {
      SetMinimumHeight(s);
    }
  }
  UpdateTableHScroll(ws, slot);
  UpdateTableVScroll(ws, slot);
}

void CornerDragStep(Workspace& ws, int slot, int button, float x, float y) {
  if (!ws.tables.IsTableSlot(slot)) return;
  ws.tables.drag.button = button;
  if (button == 1) {
    ResizeWidthStep(ws, slot, button, x);
    ResizeHeightStep(ws, slot, button, y);
  } else if (button == 2) {
    Move(ws, ws.tables.slots[slot], x, y);
    UpdateCanvasVScroll(ws);
    UpdateCanvasHScroll(ws);
  }
}

void ResizeWidthStep(Workspace& ws, int slot, int button, float x) {
  if (!ws.tables.IsTableSlot(slot)) return;
  WindowDragState& d = ws.tables.drag;
  TableSlot& s = ws.tables.slots[slot];
  const float dx = x - d.anchor_x;
  if (button != 1) return;
  d.button = button;
  const float w = s.frame.rect.width + dx;
  if (w >= d.min_grid_width + kFrameChrome) {
    if (dx < 0) d.right_edge_shrunk = true;
    SetFrameWidth(s, w);
    ResolveOverlaps(ws, slot);
  } else {
    SetMinimumWidth(s, d.min_grid_width);
  }
  UpdateTableHScroll(ws, slot);
  UpdateCanvasHScroll(ws);
}

void ResizeHeightStep(Workspace& ws, int slot, int button, float y) {
  if (!ws.tables.IsTableSlot(slot)) return;
  WindowDragState& d = ws.tables.drag;
  TableSlot& s = ws.tables.slots[slot];
  const float dy = y - d.anchor_y;
  d.ClearStepFlags();
  if (button != 1) return;
  d.button = button;
  const float h = s.frame.rect.height + dy;
  if (h >= kFrameChrome) {
    if (dy < 0) d.bottom_edge_shrunk = true;
    SetFrameHeight(s, h);
    ResolveOverlaps(ws, slot);
  } else {
    SetMinimumHeight(s);
  }
  UpdateTableVScroll(ws, slot);
  UpdateCanvasVScroll(ws);
}

void EndWindowDrag(Workspace& ws) {
  ws.tables.drag.anchor_x = -1;
  ws.tables.drag.anchor_y = -1;
}

void ResolveOverlaps(Workspace& ws, int p) {
  TablesWindow& t = ws.tables;
  if (!t.IsTableSlot(p) || !t.slots[p].frame.visible) return;
  const WindowDragState& d = t.drag;
  long long min_below = 6000000, min_right = 6000000;
  int follower = 0;
  for (int k = kFirstTableSlot; k < t.SlotCount(); ++k) {
    if (!t.slots[k].frame.visible) continue;
    const TwipRect& pr = t.slots[p].frame.rect;
    const TwipRect& kr = t.slots[k].frame.rect;
    const long long gap_below = RoundHalfEven(double(kr.top) - 500 - pr.bottom());
    const long long gap_above = RoundHalfEven(double(pr.top) - 500 - kr.bottom());
    const long long gap_right = RoundHalfEven(double(kr.left) - 500 - pr.right());
    const long long gap_left = RoundHalfEven(double(pr.left) - 500 - kr.right());
    if (k == p || gap_below > 0 || gap_above > 0 || gap_right > 0 || gap_left > 0) {
      if (k == p || d.button != 1) continue;
      if (d.bottom_edge_shrunk && gap_below > 0 && kr.right() >= pr.left &&
          pr.right() >= kr.left && gap_below < min_below) {
        min_below = gap_below;
        follower = (kr.left >= pr.left && kr.right() <= pr.right()) ? k : 0;
      }
      if (d.right_edge_shrunk && gap_right > 0 && kr.bottom() >= pr.top &&
          pr.bottom() >= kr.top && gap_right < min_right) {
        min_right = gap_right;
        follower = (kr.top >= pr.top && kr.bottom() <= pr.bottom()) ? k : 0;
      }
    } else if (!d.right_edge_shrunk) {
      PushApart(ws, k, p);
    }
  }
  if (follower != 0) {
    TwipRect& fr = t.slots[follower].frame.rect;
    const TwipRect& pr = t.slots[p].frame.rect;
    if (d.bottom_edge_shrunk) fr.top = pr.bottom() + kPushDistance;
    if (d.right_edge_shrunk) fr.left = pr.right() + kPushDistance;
    ResolveOverlaps(ws, follower);
  }
}

void PushApart(Workspace& ws, int k, int p) {
  TablesWindow& t = ws.tables;
  if (!(t.drag.top_edge_moved && t.drag.button == 1)) {
    TwipRect& kr = t.slots[k].frame.rect;
    TwipRect& pr = t.slots[p].frame.rect;
    if (kr.top + kr.height / 2 <= pr.top) {
      pr.top = kr.bottom() + kPushDistance;
      ResolveOverlaps(ws, p);
    } else {
      kr.top = pr.bottom() + kPushDistance;
      ResolveOverlaps(ws, k);
    }
  }
  t.drag.recoil_happened = true;
}

void SettleWindows(Workspace& ws, int slot) {
  TablesWindow& t = ws.tables;
  t.drag.ClearStepFlags();
  ResolveOverlaps(ws, slot);
  for (int k = kFirstTableSlot; k < t.SlotCount(); ++k) ResolveOverlaps(ws, k);
}

}  // namespace mivora
