#pragma once

#include <QString>
#include <cstdint>

#include "model/Colours.h"
#include "model/Twips.h"

namespace mivora {

// One named child control of a window: its geometry in twips (relative to its container),
// visibility, colour, border, caption and stacking order. The ui mirrors these values.
struct Control {
  TwipRect rect;
  bool visible = false;
  Colour back_colour = 0;
  bool border = false;
  QString caption;
  std::uint64_t z = 0;  // larger is in front of its siblings
};

enum class WindowState { kNormal, kMinimised, kMaximised };

// A top-level window: outer size in twips (title bar and borders included).
struct TopWindow {
  QString caption;
  float width = 0;
  float height = 0;
  WindowState state = WindowState::kNormal;
  bool visible = false;
};

// A straight line between two points in its container's twips.
struct LineShape {
  float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  bool visible = false;
};

}  // namespace mivora
