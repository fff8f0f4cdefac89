#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

namespace mivora::ui {

// A held scroll-bar arrow repeats its click: the first repeat after 400 ms, then every 60 ms,
// until the button is released or the drag ends otherwise.
class ArrowRepeat : public QObject {
 public:
  explicit ArrowRepeat(QObject* parent = nullptr);
  // Starts repeating `step` (replacing any earlier one).
  void Start(std::function<void()> step);
  void Stop();
  bool Running() const { return timer_.isActive(); }

  static constexpr int kFirstDelayMs = 400;
  static constexpr int kIntervalMs = 60;

 private:
  QTimer timer_;
  std::function<void()> step_;
};

}  // namespace mivora::ui
