#pragma once

namespace mivora {

// Mouse buttons and shift bits as the mouse handlers receive them.
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kMiddleButton = 4;
constexpr int kShiftMask = 1;

// One mouse event in the control's own twips.
struct MouseEvent {
  int button = 0;
  int shift = 0;
  float x = 0;
  float y = 0;
};

// The middle button, or the left button with exactly Shift held.
inline bool IsSortOrTraceClick(const MouseEvent& e) {
  return e.button == kMiddleButton || (e.button == kLeftButton && e.shift == kShiftMask);
}

}  // namespace mivora
