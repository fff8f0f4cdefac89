#pragma once

#include "canvas/MouseEvent.h"

namespace mivora {

class Workspace;
struct TableSlot;

// Lays out the Result window's model at load: window 0 (joined grid) a thin strip at the
// top, window 1 (result grid) below it with "=" in its cell (0, 0).
void LoadResultWindow(Workspace& ws);
// Places a grid window's children inside its frame: grid and background inset by the bar
// thickness, the bars on the right and bottom, the corner in the bottom-right square.
void LayOutResultGridWindow(TableSlot& window);

// A press on grid window w (0 or 1) brings its frame and grid to the front.
void ResultGridMousePress(Workspace& ws, int w);
// A release on grid window w, after the grid's mouse cell was set: sorts by a header
// (middle, or left with exactly Shift) or opens a data cell's text (right).
void ResultGridMouseUp(Workspace& ws, int w, const MouseEvent& e);

// "現状を保存する" is enabled only while all three main windows are in the normal state.
bool SaveStateMenuEnabled(const Workspace& ws);

}  // namespace mivora
