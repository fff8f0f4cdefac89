#pragma once

#include "model/Control.h"
#include "model/Grid.h"

namespace mivora {

// The parallel child controls of one table window (a frame with its grid, background,
// two scroll bars with slider and arrows, and the resize corner). The Tables canvas and the
// Result window both hold table windows of this make.
struct TableSlot {
  Control frame;
  Grid grid;
  Control graph_box;
  Control vsc_bar, hsc_bar;           // children of frame
  Control vsldr, up_arrow, dn_arrow;  // children of vsc_bar
  Control hsldr, le_arrow, ri_arrow;  // children of hsc_bar
  Control corner;                     // child of frame
};

}  // namespace mivora
