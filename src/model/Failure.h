#pragma once

#include <QString>
#include <exception>

namespace mivora {

class Host;

// The one message for a step that could not go on because an error escaped it:
// "処理を続けられませんでした：" and the error's own text (running out of memory is named so).
QString FailureMessage(std::exception_ptr error);

// Reports an error that escaped a step. Interactively the message goes through the host and
// the program goes on (the user can still save the workspace); in a batch run one line goes
// to standard error and the program ends with exit status 1.
void ReportFailure(Host& host, std::exception_ptr error);

// Runs a step, reporting through the host whatever escapes it. True when the step finished.
template <class Step>
bool RunGuarded(Host& host, Step&& step) {
  try {
    step();
    return true;
  } catch (...) {
    ReportFailure(host, std::current_exception());
    return false;
  }
}

}  // namespace mivora
