#pragma once

#include <functional>
#include <vector>

#include "model/Control.h"

namespace mivora {

class Workspace;
struct TableSlot;

// A canvas's pair of scroll bars (tracks, arrows, sliders) and the state of the last layout.
// The same bars serve every canvas: the caller names the window's outer size and the
// rectangles of the elements it scrolls, and moves the elements by the returned distance.
struct CanvasBars {
  Control vbar, up, dn, vsldr;  // `VScBarF`, `UpArrowF`, `DnArrowF`, `VSldrF`
  Control hbar, le, ri, hsldr;  // `HScBarF`, `LeArrowF`, `RiArrowF`, `HSldrF`
  // The extent of the content (after the fit test) and the view, in twips.
  long long top = 0, bottom = 0, left = 0, right = 0;
  long long view_height = 0, view_width = 0;
  long long v_travel = 0, h_travel = 0;
  float v_press = 0, h_press = 0;  // press offsets within the sliders
};

constexpr float kCanvasBarThickness = 180;
constexpr float kCanvasArrowLength = 170;
// One arrow click moves a slider this far.
constexpr float kArrowStep = 320;

// The fixed geometry, set once when the window loads.
void SetCanvasBarGeometry(CanvasBars& b);
// Lays out the vertical (horizontal) bar for a window of outer size fw × fh whose elements
// lie at `elements`; the extent runs `margin` beyond them. `extent` (may be empty) receives
// the extent before the fit test, for the Tables canvas's boundary bars. `also` (the join
// lines' pieces) widens the scrolled range to hold them, but not that extent.
void LayOutCanvasVBar(CanvasBars& b, float fw, float fh, const std::vector<TwipRect>& elements,
                      float margin, const std::function<void(long long, long long)>& extent,
                      const std::vector<TwipRect>& also = {});
void LayOutCanvasHBar(CanvasBars& b, float fw, float fh, const std::vector<TwipRect>& elements,
                      float margin, const std::function<void(long long, long long)>& extent,
                      const std::vector<TwipRect>& also = {});
// Clamps the slider to its track and returns how far the elements move down (right) to
// match it, given the slider's place before the step.
float ApplyCanvasVBar(CanvasBars& b, float previous);
float ApplyCanvasHBar(CanvasBars& b, float previous);

// The canvas scroll bars of the Tables window. The scrolled range holds every table window
// (hidden ones too) and every shown join-line piece, so each can be scrolled into view.
void SetCanvasScrollBarGeometry(Workspace& ws);
void UpdateCanvasVScroll(Workspace& ws);
void UpdateCanvasHScroll(Workspace& ws);
void ApplyCanvasVScroll(Workspace& ws, float previous);
void ApplyCanvasHScroll(Workspace& ws, float previous);
// An arrow click (-1 up/left, +1 down/right) and a wheel notch over the empty canvas.
void CanvasArrowV(Workspace& ws, int direction);
void CanvasArrowH(Workspace& ws, int direction);

// A table window's own scroll bars: the bars fill the right and bottom strips of the frame,
// the corner the bottom-right square.
void SetTableScrollBarGeometry(TableSlot& slot);
void UpdateTableVScroll(Workspace& ws, int slot);
void UpdateTableHScroll(Workspace& ws, int slot);
void UpdateTableVScroll(TableSlot& slot);
void UpdateTableHScroll(TableSlot& slot);
// Sets the grid's top row (left column) from the slider; the horizontal one keeps the
// table's joined columns in view.
void ApplyTableVScroll(Workspace& ws, int slot);
void ApplyTableHScroll(Workspace& ws, int slot);
void ApplyTableVScroll(TableSlot& slot);
// The columns of a table that joins use (empty for the Result window's grids).
std::vector<int> JoinedColumns(const Workspace& ws, int slot);
void ApplyTableHScroll(TableSlot& slot, const std::vector<int>& joined);
// Scrolls a table's grid by rows (columns): arrows and the wheel. The step is at least one
// and at most what is fully in view; the bars follow.
void ScrollTableRows(TableSlot& slot, long long rows);
void ScrollTableCols(TableSlot& slot, long long cols);
// The rows (columns) fully in view, at least 1.
int RowsFullyInView(const TableSlot& slot);
int ColsFullyInView(const TableSlot& slot);
// An arrow click: the slider moves 320 (the right arrow grid width × 1.4 / column count),
// the grid follows, at least one row (column) and at most what is fully in view.
void TableArrowV(TableSlot& slot, int direction);
void TableArrowH(TableSlot& slot, const std::vector<int>& joined, int direction);

}  // namespace mivora
