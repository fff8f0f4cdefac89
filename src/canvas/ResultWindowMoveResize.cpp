#include "canvas/ResultWindowMoveResize.h"

#include <algorithm>

#include "canvas/ScrollBars.h"
#include "canvas/WindowMoveResize.h"
#include "model/Constants.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

constexpr float kBar = BarThickness();

void UpdateBars(TableSlot& s) {
  UpdateTableHScroll(s);
  UpdateTableVScroll(s);
}

// Keeps the top-left border strip inside the window, so it can always be grabbed again.
void KeepInside(TableSlot& s) {
  s.frame.rect.left = std::max(0.0f, s.frame.rect.left);
  s.frame.rect.top = std::max(0.0f, s.frame.rect.top);
}

void Move(ResultDragState& r, TableSlot& s, float x, float y) {
  s.frame.rect.left += x - r.drag_anchor_x;
  s.frame.rect.top += y - r.drag_anchor_y;
  KeepInside(s);
}

void MinimumWidth(TableSlot& s) {
  SetFrameWidth(s, kFrameChrome);
  s.grid.control.rect.width = 0;
  s.graph_box.rect.width = 0;
}

void MinimumHeight(TableSlot& s) {
  SetFrameHeight(s, kFrameChrome);
  s.grid.control.rect.height = 0;
  s.graph_box.rect.height = 0;
}

void WidthStep(ResultDragState& r, TableSlot& s, float x) {
  const float w = s.frame.rect.width + x - r.drag_anchor_x;
  if (w >= kFrameChrome) SetFrameWidth(s, w); else MinimumWidth(s);
  UpdateBars(s);
}

void HeightStep(ResultDragState& r, TableSlot& s, float y) {
  const float h = s.frame.rect.height + y - r.drag_anchor_y;
  if (h >= kFrameChrome) SetFrameHeight(s, h); else MinimumHeight(s);
  UpdateBars(s);
}

void EdgeStep(ResultDragState& r, TableSlot& s, float x, float y) {
  TwipRect& f = s.frame.rect;
  const float dx = x - r.drag_anchor_x, dy = y - r.drag_anchor_y;
  if (r.drag_anchor_x < kBar) {
    const float right = f.right();
    const float left = std::max(0.0f, f.left + dx);
    if (right - left >= kFrameChrome) {
      SetFrameWidth(s, right - left);
      f.left = left;
    } else {
      MinimumWidth(s);
      f.left = right - f.width;  // the right edge stays
    }
  }
  if (s.graph_box.rect.width + kBar < r.drag_anchor_x) {
    if (f.width + dx >= kFrameChrome) {
      SetFrameWidth(s, f.width + dx);
      r.drag_anchor_x = x;
    } else {
      MinimumWidth(s);
    }
  }
  if (r.drag_anchor_y < kBar) {
    const float bottom = f.bottom();
    const float top = std::max(0.0f, f.top + dy);
    if (bottom - top >= kFrameChrome) {
      SetFrameHeight(s, bottom - top);
      f.top = top;
    } else {
      MinimumHeight(s);
      f.top = bottom - f.height;  // the bottom edge stays
    }
  }
  if (s.graph_box.rect.height + kBar < r.drag_anchor_y) {
    if (f.height + dy >= kFrameChrome) {
      SetFrameHeight(s, f.height + dy);
      r.drag_anchor_y = y;
    } else {
      MinimumHeight(s);
    }
  }
  KeepInside(s);
  UpdateBars(s);
}

}  // namespace

void ResultPartMouseDown(Workspace& ws, ResultDragState& r, int w, TablePart part, const MouseEvent& e) {
  if (w < 0 || w > 1) return;
  TableSlot& s = ws.result.windows[w];
  if (part == TablePart::kFrame || part == TablePart::kCorner) ws.BringToFront(s.frame);
  if (part == TablePart::kVSlider) r.slider_press = e.y;
  if (part == TablePart::kHSlider) r.slider_press = e.x;
  if (part == TablePart::kFrame || part == TablePart::kCorner || part == TablePart::kVSlider ||
      part == TablePart::kHSlider) {
    r.drag_anchor_x = e.x;
    r.drag_anchor_y = e.y;
  }
}

void ResultPartMouseMove(Workspace& ws, ResultDragState& r, int w, TablePart part, const MouseEvent& e) {
  if (w < 0 || w > 1 || e.button == 0) return;
  TableSlot& s = ws.result.windows[w];
  switch (part) {
    case TablePart::kFrame:
      if (e.button == kLeftButton) EdgeStep(r, s, e.x, e.y);
      if (e.button == kRightButton) Move(r, s, e.x, e.y);
      break;
    case TablePart::kCorner:
      if (e.button == kLeftButton) {
        WidthStep(r, s, e.x);
        HeightStep(r, s, e.y);
      }
      if (e.button == kRightButton) Move(r, s, e.x, e.y);
      break;
    case TablePart::kVSlider:
      if (e.button == kLeftButton) {
        WidthStep(r, s, e.x);
        s.vsldr.rect.top += e.y - r.slider_press;
        ApplyTableVScroll(s);
      }
      break;
    case TablePart::kHSlider:
      if (e.button == kLeftButton) {
        HeightStep(r, s, e.y);
        s.hsldr.rect.left += e.x - r.slider_press;
        ApplyTableHScroll(s, {});
        UpdateTableHScroll(s);
      }
      break;
    default:
      break;
  }
}

void ResultPartMouseUp(Workspace& ws, ResultDragState&, int w, TablePart part,
                       const MouseEvent& e) {
  if (w < 0 || w > 1 || e.button != kLeftButton) return;
  TableSlot& s = ws.result.windows[w];
  if (part == TablePart::kUpArrow) TableArrowV(s, -1);
  if (part == TablePart::kDownArrow) TableArrowV(s, 1);
  if (part == TablePart::kLeftArrow) TableArrowH(s, {}, -1);
  if (part == TablePart::kRightArrow) TableArrowH(s, {}, 1);
}

}  // namespace mivora
