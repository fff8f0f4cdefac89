#include "ui/CanvasBarsView.h"

#include <QFrame>
#include <QMouseEvent>

#include "canvas/ScrollBars.h"
#include "model/Constants.h"
#include "ui/ArrowRepeat.h"
#include "ui/DragEnd.h"
#include "ui/MouseEvents.h"
#include "ui/Units.h"

namespace mivora::ui {

namespace {

// One part of the bars: hands its mouse events on.
class CanvasBarPartView : public QWidget {
 public:
  CanvasBarPartView(CanvasBarPart part, CanvasBarsView* bars, QWidget* parent)
      : QWidget(parent), part_(part), bars_(bars) {
    setAutoFillBackground(true);
  }

 protected:
  void mousePressEvent(QMouseEvent* event) override { Hand(0, event); }
  void mouseMoveEvent(QMouseEvent* event) override { Hand(1, event); }
  void mouseReleaseEvent(QMouseEvent* event) override { Hand(2, event); }

 private:
  void Hand(int kind, QMouseEvent* event) { bars_->PartEvent(part_, this, kind, ToMouseEvent(event)); }
  CanvasBarPart part_;
  CanvasBarsView* bars_;
};

bool IsArrow(CanvasBarPart p) {
  return p == CanvasBarPart::kUpArrow || p == CanvasBarPart::kDownArrow ||
         p == CanvasBarPart::kLeftArrow || p == CanvasBarPart::kRightArrow;
}

void SetColour(QWidget* w, Colour colour) {
  w->setAutoFillBackground(true);
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, ToQColor(colour));
  w->setPalette(pal);
}

}  // namespace

CanvasBarsView::CanvasBarsView(QWidget* canvas, MouseRoute mouse)
    : mouse_(std::move(mouse)),
      repeat_(new ArrowRepeat(canvas)),
      vbar_(new QFrame(canvas)),
      hbar_(new QFrame(canvas)) {
  drag_end_ = new DragEnd(
      [this](QWidget* widget, const MouseEvent& release) {
        repeat_->Stop();
        for (std::size_t i = 0; i < parts_.size(); ++i) {
          const auto part = static_cast<CanvasBarPart>(i);
          // A lost arrow press clicks nothing; a slider drag ends as its release.
          if (parts_[i] == widget && !IsArrow(part)) mouse_(part, 2, release);
        }
      },
      canvas);
  for (QFrame* bar : {vbar_, hbar_}) {
    SetColour(bar, kScrollBarColour);
    bar->hide();
  }
  const CanvasBarPart order[] = {CanvasBarPart::kVSlider,   CanvasBarPart::kHSlider,
                                 CanvasBarPart::kUpArrow,   CanvasBarPart::kDownArrow,
                                 CanvasBarPart::kLeftArrow, CanvasBarPart::kRightArrow};
  for (CanvasBarPart p : order) {
    const bool vertical = p == CanvasBarPart::kVSlider || p == CanvasBarPart::kUpArrow ||
                          p == CanvasBarPart::kDownArrow;
    QWidget* w = new CanvasBarPartView(p, this, vertical ? vbar_ : hbar_);
    const bool slider = p == CanvasBarPart::kVSlider || p == CanvasBarPart::kHSlider;
    SetColour(w, slider ? kSliderColour : kCornerColour);
    parts_.push_back(w);
  }
}

void CanvasBarsView::PartEvent(CanvasBarPart part, QWidget* widget, int kind,
                               const MouseEvent& e) {
  if (kind == 0) drag_end_->Pressed(widget, e);
  if (kind == 1 && !drag_end_->Moved(widget, e)) return;
  if (kind == 2) {
    repeat_->Stop();
    if (!drag_end_->Released(widget)) return;
  }
  if (kind == 0 && IsArrow(part) && e.button == kLeftButton)
    repeat_->Start([this, part] { mouse_(part, 2, MouseEvent{kLeftButton, 0, 0, 0}); });
  mouse_(part, kind, e);
}

QWidget* CanvasBarsView::Part(CanvasBarPart part) const {
  return parts_[static_cast<std::size_t>(part)];
}

void CanvasBarsView::Sync(const CanvasBars& b) {
  const Control* parts[] = {&b.vsldr, &b.hsldr, &b.up, &b.dn, &b.le, &b.ri};
  for (std::size_t i = 0; i < parts_.size(); ++i) {
    const QRect r = ToPixels(parts[i]->rect);
    if (parts_[i]->geometry() != r) parts_[i]->setGeometry(r);
    parts_[i]->setVisible(parts[i]->visible);
  }
  // The bars' places are in the window's outer twips; the canvas is the client area.
  for (QFrame* bar : {vbar_, hbar_}) {
    const Control& c = bar == vbar_ ? b.vbar : b.hbar;
    const QRect r = ToPixels(c.rect);
    if (bar->geometry() != r) bar->setGeometry(r);
    bar->setVisible(c.visible);
  }
}

void CanvasBarsView::Raise() {
  vbar_->raise();
  hbar_->raise();
}

}  // namespace mivora::ui
