#pragma once

#include "model/Host.h"

namespace mivora::bench {

// A Host for benchmarks: shows nothing, asks nobody.
class QuietHost : public Host {
 public:
  void ShowMessage(const QString&) override {}
  bool AskOkCancel(const QString&) override { return true; }
  QString ChooseOpenFile(const QString&, const QString&, const QString&) override { return {}; }
  QString ChooseSaveFile(const QString&, const QString&, const QString&) override { return {}; }
  void ShowFileProblem(const QString&, const QString&) override {}
  void SetWaitCursor(bool) override {}
  void ShowProgress(std::int64_t, std::int64_t) override {}
  void OpenDocument(const QString&) override {}
  void ExitProgram() override {}
};

}  // namespace mivora::bench
