#pragma once

#include <QApplication>
#include <functional>

namespace mivora {
class Host;
}

namespace mivora::ui {

// The application object with the program's one exception boundary: every event (mouse, key,
// paint, timer, queued slot) is delivered through notify(), so an error that escapes a command
// or an event handler is caught here instead of ending the program and the user's workspace.
// The failure is reported through the host (in a batch run: one line and exit status 1); the
// windows are then synced from the model again and left open.
class GuardedApplication : public QApplication {
 public:
  GuardedApplication(int& argc, char** argv);

  // Where failures are reported, and what brings the windows back in step with the model.
  void SetFailureHost(Host* host) { host_ = host; }
  void SetAfterFailure(std::function<void()> resync) { after_failure_ = std::move(resync); }

  bool notify(QObject* receiver, QEvent* event) override;

  // Runs a step outside the event loop (start-up, say) behind the same boundary.
  bool Guard(const std::function<void()>& step);

 private:
  void Failed(std::exception_ptr error);

  Host* host_ = nullptr;
  std::function<void()> after_failure_;
  int failing_ = 0;  // a failure while reporting one is not reported again
};

}  // namespace mivora::ui
