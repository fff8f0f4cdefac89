#include "ui/ArrowRepeat.h"

namespace mivora::ui {

ArrowRepeat::ArrowRepeat(QObject* parent) : QObject(parent) {
  connect(&timer_, &QTimer::timeout, this, [this] {
    timer_.setInterval(kIntervalMs);
    // The step may stop the repeat (a bar that disappears): keep the function alive.
    const std::function<void()> step = step_;
    if (step) step();
  });
}

void ArrowRepeat::Start(std::function<void()> step) {
  step_ = std::move(step);
  timer_.start(kFirstDelayMs);
}

void ArrowRepeat::Stop() {
  timer_.stop();
  step_ = nullptr;
}

}  // namespace mivora::ui
