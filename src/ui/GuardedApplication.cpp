#include "ui/GuardedApplication.h"

#include <cstdio>
#include <cstdlib>

#include "model/Failure.h"
#include "model/Host.h"

namespace mivora::ui {

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    Failed(std::current_exception());
    return false;
  }
}

bool GuardedApplication::Guard(const std::function<void()>& step) {
  try {
    step();
    return true;
  } catch (...) {
    Failed(std::current_exception());
    return false;
  }
}

void GuardedApplication::Failed(std::exception_ptr error) {
  // A step that failed half way may have left the wait cursor on.
  while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  if (failing_ > 0 || !host_) {
    // Failing again while the first failure is shown: say it once on standard error.
    std::fputs(FailureMessage(error).toUtf8().append('\n').constData(), stderr);
    if (!host_) std::exit(1);
    return;
  }
  ++failing_;
  try {
    if (after_failure_) after_failure_();
  } catch (...) {
    // Showing the windows failed as well; the message below still goes out.
  }
  ReportFailure(*host_, error);
  --failing_;
}

}  // namespace mivora::ui
