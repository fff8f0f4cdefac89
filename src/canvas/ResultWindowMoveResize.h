#pragma once

#include "canvas/MouseEvent.h"
#include "canvas/TableWindowMouse.h"

namespace mivora {

class Workspace;

// The Result window's own drag state: the press point of the latest drag of either window
// and a slider's press offset.
struct ResultDragState {
  float drag_anchor_x = 0, drag_anchor_y = 0;
  float slider_press = 0;
};

// Mouse events on a part of one of the Result window's two grid windows (0 the joined grid,
// 1 the result grid), in the part's own twips. Border and corner drags move (right button)
// and resize (left) the window, slider travel sideways resizes it, sliders and arrows scroll
// its grid. The windows may overlap; nothing is pushed, no lines are drawn, and the window's
// top-left border strip stays inside the Result window.
void ResultPartMouseDown(Workspace& ws, ResultDragState& r, int w, TablePart part, const MouseEvent& e);
void ResultPartMouseMove(Workspace& ws, ResultDragState& r, int w, TablePart part, const MouseEvent& e);
void ResultPartMouseUp(Workspace& ws, ResultDragState& r, int w, TablePart part, const MouseEvent& e);

}  // namespace mivora
