#pragma once

#include "canvas/MouseEvent.h"

namespace mivora {

class Workspace;

// Clicking the straight join lines (one per shown join) drawn over the empty canvas.

// The index in the drawn lines of the one passing within `tolerance` twips of a canvas
// point (the nearest), or -1.
int StraightJoinLineAt(const Workspace& ws, float x, float y, float tolerance);

// A left release on the empty canvas within `tolerance` of a drawn line: the line shows in
// the selection colour, "切断しますか ？" is asked, OK removes its join and relays the lines.
// True when the release was taken (the canvas release then does not run).
bool TablesCanvasLineClick(Workspace& ws, const MouseEvent& e, float tolerance);

}  // namespace mivora
