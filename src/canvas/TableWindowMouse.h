#pragma once

#include "canvas/CanvasBarMouse.h"
#include "canvas/MouseEvent.h"

namespace mivora {

class Workspace;

// The parts of a table window (and of the Tables canvas's own bars) the mouse can press.
enum class TablePart {
  kFrame, kCorner, kVSlider, kHSlider, kUpArrow, kDownArrow, kLeftArrow, kRightArrow,
  kVTrack, kHTrack
};

// Mouse events on a part of the table window in `slot`, in the part's own twips; the
// button of a move is the button held. Drags move and resize the window, sliders and
// arrows scroll its grid.
void TablePartMouseDown(Workspace& ws, int slot, TablePart part, const MouseEvent& e);
void TablePartMouseMove(Workspace& ws, int slot, TablePart part, const MouseEvent& e);
void TablePartMouseUp(Workspace& ws, int slot, TablePart part, const MouseEvent& e);

// The wheel over a table's grid: rows (or columns when `sideways`) to scroll, positive
// downwards (rightwards).
void TableWheel(Workspace& ws, int slot, long long steps, bool sideways);
// The wheel over the empty canvas: arrow steps, positive downwards (rightwards).
void CanvasWheel(Workspace& ws, int steps, bool sideways);

// Mouse events on the Tables canvas's own scroll bars, in the part's own twips.
void CanvasBarMouseDown(Workspace& ws, CanvasBarPart part, const MouseEvent& e);
void CanvasBarMouseMove(Workspace& ws, CanvasBarPart part, const MouseEvent& e);
void CanvasBarMouseUp(Workspace& ws, CanvasBarPart part, const MouseEvent& e);

}  // namespace mivora
