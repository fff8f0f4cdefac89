#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "canvas/CanvasBarMouse.h"

class QFrame;

namespace mivora {
struct CanvasBars;
}

namespace mivora::ui {

class ArrowRepeat;
class DragEnd;

// The widgets of a canvas's scroll bars: two tracks with their arrows and sliders, placed on
// the canvas widget from the model's `CanvasBars`. Mouse events on a part go to `mouse` with
// the part, the kind (0 press, 1 move, 2 release) and the point in the part's own twips.
// A held arrow repeats its click; a slider drag that loses the grab ends as its release.
class CanvasBarsView {
 public:
  using MouseRoute = std::function<void(CanvasBarPart part, int kind, const MouseEvent& e)>;
  CanvasBarsView(QWidget* canvas, MouseRoute mouse);

  // Places and shows the tracks and parts as the model has them.
  void Sync(const CanvasBars& bars);
  // Puts both tracks above the canvas's other children.
  void Raise();
  // The widgets of a track (vertical or horizontal) and of one part.
  QFrame* Track(bool vertical) const { return vertical ? vbar_ : hbar_; }
  QWidget* Part(CanvasBarPart part) const;
  // One event of a part's widget, handed on through the repeat and the drag's end.
  void PartEvent(CanvasBarPart part, QWidget* widget, int kind, const MouseEvent& e);

 private:
  MouseRoute mouse_;
  ArrowRepeat* repeat_;
  DragEnd* drag_end_;
  QFrame* vbar_;
  QFrame* hbar_;
  std::vector<QWidget*> parts_;  // in the order of CanvasBarPart
};

}  // namespace mivora::ui
