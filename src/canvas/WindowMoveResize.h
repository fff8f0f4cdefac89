#pragma once

namespace mivora {

class Workspace;
struct TableSlot;

// The drag state of the Tables canvas: one set, since only one window is dragged at a time.
struct WindowDragState {
  float anchor_x = 0;  // `DragAnchorX`, `DragAnchorY`: -1 once a border drag has ended
  float anchor_y = 0;
  int button = 0;          // `DragButton`: the button of the latest drag step
  float min_grid_width = 0;  // `MinGridWidth`
  bool top_edge_moved = false;     // `TopEdgeMoved`
  bool bottom_edge_shrunk = false;  // `BottomEdgeShrunk`
  bool right_edge_shrunk = false;   // `RightEdgeShrunk`
  bool left_edge_moved = false;     // `LeftEdgeMoved`
  bool recoil_happened = false;     // `RecoilHappened`
  void ClearStepFlags() {
    top_edge_moved = bottom_edge_shrunk = right_edge_shrunk = left_edge_moved = false;
  }
};

// The least width above `MinGridWidth` and the least height of a table window.
constexpr float kFrameChrome = 240;
// The distance a pushed or pulled window keeps from the other.
constexpr float kPushDistance = 600;

// `MinGridWidth` of a slot: the right edge of its right-most joined column as the grid shows
// it, + 30, never more than the grid's current width; 0 without joins.
float ComputeMinGridWidth(const Workspace& ws, int slot);

// Mouse-down on a table window's border strips (`BeginWindowDrag`) or on its corner or a
// slider (`BeginCornerDrag`, which also erases the join lines).
void BeginWindowDrag(Workspace& ws, int slot, float x, float y);
void BeginCornerDrag(Workspace& ws, int slot, float x, float y);
// One mouse-move with a button held on the border strips: left resizes by the grabbed
// border(s), right moves; then the canvas bars.
void FrameDragStep(Workspace& ws, int slot, int button, float x, float y);
void EdgeResizeStep(Workspace& ws, int slot, float x, float y);
// One mouse-move on the corner: left resizes both ways, right moves.
void CornerDragStep(Workspace& ws, int slot, int button, float x, float y);
// Sideways travel across a slider resizes the window.
void ResizeWidthStep(Workspace& ws, int slot, int button, float x);
void ResizeHeightStep(Workspace& ws, int slot, int button, float y);
// Mouse-up on the border strips.
void EndWindowDrag(Workspace& ws);

// Keeps the other windows at least 500 from the window in slot p (pushing one of two
// windows down) and pulls the windows that follow a shrunk edge.
void ResolveOverlaps(Workspace& ws, int p);
void PushApart(Workspace& ws, int k, int p);
// After a window is placed or a drag ends: the flags of earlier steps are forgotten and every
// window is resolved, so no two table windows are left within 500 of each other.
void SettleWindows(Workspace& ws, int slot);

// Sets a table window's width (height), moving its grid by the same delta and re-placing
// the bars that follow the size.
void SetFrameWidth(TableSlot& s, float w);
void SetFrameHeight(TableSlot& s, float h);

}  // namespace mivora
