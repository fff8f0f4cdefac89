#pragma once

#include "model/Control.h"
#include "workspace/TableSlot.h"

namespace mivora {

// The model of the `Result` window: two table windows, 0 the joined grid and 1 the result grid.
struct ResultWindow {
  TopWindow window;
  TableSlot windows[2];
  Grid& JoinedGrid() { return windows[0].grid; }
  Grid& ResultGrid() { return windows[1].grid; }
  const Grid& JoinedGrid() const { return windows[0].grid; }
  const Grid& ResultGrid() const { return windows[1].grid; }
};

}  // namespace mivora
