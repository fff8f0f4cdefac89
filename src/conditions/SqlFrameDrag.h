#pragma once

#include "model/Control.h"

namespace mivora {

// Where a drag of the SQL text frame was pressed, in the frame's own twips.
struct SqlFrameAnchor {
  float x0 = 0;
  float y0 = 0;
};

// The least width and height of the SQL text frame.
constexpr float kSqlFrameMinimum = 1000;

// A press of the left or right button on the frame's strips.
void SqlFrameMouseDown(SqlFrameAnchor& anchor, float x, float y);
// A move with a button held: the right button moves the frame, the left resizes it by the
// strip that was pressed (the far edge stays at the minimum). The text box keeps its place
// at 120, 240 inside the frame.
void SqlFrameDragStep(Control& frame, Control& text_box, SqlFrameAnchor& anchor, int button,
                      float x, float y);

}  // namespace mivora
