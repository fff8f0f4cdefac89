#pragma once

#include <functional>

#include "canvas/MouseEvent.h"

namespace mivora {

struct CanvasBars;

// The parts of a canvas's scroll bars the mouse can press.
enum class CanvasBarPart { kVSlider, kHSlider, kUpArrow, kDownArrow, kLeftArrow, kRightArrow };

// What a canvas does when its bars scroll. `apply_v` (`apply_h`) clamps the slider, moves the
// canvas's elements to match it (given the slider's place before the step) and lays the bars
// out again. The others are optional: a slider press, a slider step (with the pointer's place
// along its bar: the slider's place plus the point within it) and the end of a scroll (a
// slider release or an arrow step).
struct CanvasBarActions {
  std::function<void(float previous)> apply_v, apply_h;
  std::function<void()> slider_pressed;
  std::function<void(bool vertical, float along)> slider_moved;
  std::function<void()> scrolled;
};

// Mouse events on the bars' parts, in the part's own twips; the button of a move is the
// button held. Sliders follow left drags, arrows step on a left release.
void CanvasBarMouseDown(CanvasBars& b, CanvasBarPart part, const MouseEvent& e,
                        const CanvasBarActions& act);
void CanvasBarMouseMove(CanvasBars& b, CanvasBarPart part, const MouseEvent& e,
                        const CanvasBarActions& act);
void CanvasBarMouseUp(CanvasBars& b, CanvasBarPart part, const MouseEvent& e,
                      const CanvasBarActions& act);
// One arrow step (-1 up/left, +1 down/right) when the bar is shown.
void CanvasBarArrow(CanvasBars& b, bool vertical, int direction, const CanvasBarActions& act);

}  // namespace mivora
