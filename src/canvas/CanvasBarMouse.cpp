#include "canvas/CanvasBarMouse.h"

#include "canvas/ScrollBars.h"
#include "model/Twips.h"

namespace mivora {

namespace {

float Rounded(float v) { return static_cast<float>(RoundHalfEven(v)); }

}  // namespace

void CanvasBarMouseDown(CanvasBars& b, CanvasBarPart part, const MouseEvent& e,
                        const CanvasBarActions& act) {
  if (e.button != kLeftButton) return;
  if (part == CanvasBarPart::kVSlider) b.v_press = e.y;
  if (part == CanvasBarPart::kHSlider) b.h_press = e.x;
  if ((part == CanvasBarPart::kVSlider || part == CanvasBarPart::kHSlider) && act.slider_pressed)
    act.slider_pressed();
}

void CanvasBarMouseMove(CanvasBars& b, CanvasBarPart part, const MouseEvent& e,
                        const CanvasBarActions& act) {
  if (e.button != kLeftButton) return;
  if (part == CanvasBarPart::kVSlider) {
    const float previous = Rounded(b.vsldr.rect.top);
    b.vsldr.rect.top += e.y - b.v_press;
    act.apply_v(previous);
    if (act.slider_moved) act.slider_moved(true, b.vsldr.rect.top + e.y);
  } else if (part == CanvasBarPart::kHSlider) {
    const float previous = Rounded(b.hsldr.rect.left);
    b.hsldr.rect.left += e.x - b.h_press;
    act.apply_h(previous);
    if (act.slider_moved) act.slider_moved(false, b.hsldr.rect.left + e.x);
  }
}

void CanvasBarMouseUp(CanvasBars& b, CanvasBarPart part, const MouseEvent& e,
                      const CanvasBarActions& act) {
  if (e.button != kLeftButton) return;
  switch (part) {
    case CanvasBarPart::kVSlider:
    case CanvasBarPart::kHSlider:
      if (act.scrolled) act.scrolled();
      break;
    case CanvasBarPart::kUpArrow:
      CanvasBarArrow(b, true, -1, act);
      break;
    case CanvasBarPart::kDownArrow:
      CanvasBarArrow(b, true, 1, act);
      break;
    case CanvasBarPart::kLeftArrow:
      CanvasBarArrow(b, false, -1, act);
      break;
    case CanvasBarPart::kRightArrow:
      CanvasBarArrow(b, false, 1, act);
      break;
  }
}

void CanvasBarArrow(CanvasBars& b, bool vertical, int direction, const CanvasBarActions& act) {
  if (vertical) {
    if (!b.vbar.visible) return;
    const float previous = Rounded(b.vsldr.rect.top);
    b.vsldr.rect.top += direction * kArrowStep;
    act.apply_v(previous);
  } else {
    if (!b.hbar.visible) return;
    const float previous = Rounded(b.hsldr.rect.left);
    b.hsldr.rect.left += direction * kArrowStep;
    act.apply_h(previous);
  }
  if (act.scrolled) act.scrolled();
}

}  // namespace mivora
