#pragma once

#include <QString>
#include <QStringList>
#include <cstdio>

#include "model/Host.h"

namespace mivora {

class Workspace;

// The Host of a batch run: no window and no waiting. Each message is one UTF-8 line
// "mivora: TEXT" on standard error (line breaks shown as " / "); a question takes its default
// (Cancel) and says so; a file dialog counts as cancelled; nothing goes to the desktop.
class BatchHost : public Host {
 public:
  explicit BatchHost(std::FILE* out = stderr) : out_(out) {}

  void ShowMessage(const QString& text) override;
  bool AskOkCancel(const QString& text) override;
  bool AskYesNo(const QString& text) override;
  QString ChooseOpenFile(const QString& title, const QString& filter, const QString& dir) override;
  QString ChooseSaveFile(const QString& title, const QString& filter, const QString& dir) override;
  void ShowFileProblem(const QString& path, const QString& line) override;
  void SetWaitCursor(bool) override {}
  void ShowProgress(std::int64_t, std::int64_t) override {}
  void OpenDocument(const QString&) override {}
  void ExitProgram() override { exit_requested_ = true; }
  bool IsBatch() const override { return true; }

  bool exit_requested() const { return exit_requested_; }

 private:
  void Print(const QString& text);
  std::FILE* out_;
  bool exit_requested_ = false;
};

// Exit statuses of a run.
constexpr int kExitDone = 0;          // resumed completely and the result file written
constexpr int kExitFailed = 1;        // the resume stopped or the result was not written
constexpr int kExitNothingToRun = 2;  // no state file, an unknown option, nothing to write

// What the command line asks for.
struct CommandLine {
  bool batch_option = false;  // "--batch"
  QString state_file;         // the first argument that is not an option
  QString unknown_option;     // the first option we do not know (Qt's own are left to Qt)
  QString platform;           // "-platform NAME", else QT_QPA_PLATFORM
};
CommandLine ParseCommandLine(const QStringList& arguments, const QString& platform_variable);

// A batch run: "--batch", or a state file with the offscreen or minimal platform.
bool IsBatchRun(const CommandLine& command_line);

// Runs a state file as a batch: resumes it in a fresh workspace, writes the result file it
// names, and returns the exit status.
int RunBatch(Workspace& ws, const QString& state_file);

// The message for an option we do not know, and for a batch run given no state file.
QString UnknownOptionMessage(const QString& option);
QString NoStateFileMessage();

}  // namespace mivora
