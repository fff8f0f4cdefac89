#include "ui/CanvasBarsView.h"

#include <QFrame>
#include <QMouseEvent>

#include "canvas/ScrollBars.h"
#include "model/Constants.h"
#include "ui/MouseEvents.h"
#include "ui/Units.h"

namespace mivora::ui {

namespace {

// One part of the bars: hands its mouse events on.
class CanvasBarPartView : public QWidget {
 public:
  CanvasBarPartView(CanvasBarPart part, const CanvasBarsView::MouseRoute& mouse, QWidget* parent)
      : QWidget(parent), part_(part), mouse_(mouse) {
    setAutoFillBackground(true);
  }

 protected:
  void mousePressEvent(QMouseEvent* event) override { mouse_(part_, 0, ToMouseEvent(event)); }
  void mouseMoveEvent(QMouseEvent* event) override { mouse_(part_, 1, ToMouseEvent(event)); }
  void mouseReleaseEvent(QMouseEvent* event) override { mouse_(part_, 2, ToMouseEvent(event)); }

 private:
  CanvasBarPart part_;
  CanvasBarsView::MouseRoute mouse_;
};

void SetColour(QWidget* w, Colour colour) {
  w->setAutoFillBackground(true);
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, ToQColor(colour));
  w->setPalette(pal);
}

}  // namespace

CanvasBarsView::CanvasBarsView(QWidget* canvas, MouseRoute mouse)
    : vbar_(new QFrame(canvas)), hbar_(new QFrame(canvas)) {
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
    QWidget* w = new CanvasBarPartView(p, mouse, vertical ? vbar_ : hbar_);
    const bool slider = p == CanvasBarPart::kVSlider || p == CanvasBarPart::kHSlider;
    SetColour(w, slider ? kSliderColour : kCornerColour);
    parts_.push_back(w);
  }
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
