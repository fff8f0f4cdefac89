#include <QCoreApplication>
#include <cstdio>

#include "model/Failure.h"
#include "state/BatchRun.h"
#include "ui/GuardedApplication.h"
#include "ui/MainWindows.h"
#include "ui/QtHost.h"
#include "ui/QtTranslations.h"
#include "workspace/Workspace.h"

namespace {

QStringList RawArguments(int argc, char* argv[]) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  return arguments;
}

void Complain(const QString& text) {
  const QByteArray bytes = (QStringLiteral("mivora: ") + text + u'\n').toUtf8();
  std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
}

// Qt's own diagnostics stay quiet in a batch run unless QT_LOGGING_RULES asks for them.
void QuietMessages(QtMsgType, const QMessageLogContext&, const QString&) {}

// A batch run needs no display: no windows, no platform plugin.
int RunBatchProcess(int argc, char* argv[], const QString& state_file) {
  if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES")) qInstallMessageHandler(QuietMessages);
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("Mivora"));
  mivora::BatchHost host;
  mivora::Workspace ws(host);
  if (state_file.isEmpty()) {
    host.ShowMessage(mivora::NoStateFileMessage());
    return mivora::kExitNothingToRun;
  }
  // Whatever escapes ends the run with status 1 and one line on standard error.
  int status = 1;
  mivora::RunGuarded(host, [&] { status = mivora::RunBatch(ws, state_file); });
  return status;
}

}  // namespace

int main(int argc, char* argv[]) {
  const mivora::CommandLine command_line =
      mivora::ParseCommandLine(RawArguments(argc, argv), qEnvironmentVariable("QT_QPA_PLATFORM"));
  if (!command_line.unknown_option.isEmpty()) {
    Complain(mivora::UnknownOptionMessage(command_line.unknown_option));
    return mivora::kExitNothingToRun;
  }
  if (mivora::IsBatchRun(command_line)) return RunBatchProcess(argc, argv, command_line.state_file);

  mivora::ui::GuardedApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Mivora"));
  mivora::ui::InstallQtJapanese(app);
  // The last window closing does not end the program: only closing Tables does.
  QApplication::setQuitOnLastWindowClosed(false);

  mivora::ui::QtHost host;
  mivora::Workspace ws(host);
  mivora::ui::MainWindows windows(ws);
  host.SetDialogParent(windows.tables.get());
  host.SetProgressSink([&windows](std::int64_t done, std::int64_t total) {
    windows.result->ShowSearchProgress(done, total);
  });
  host.SetBeforeAsking([&windows] { windows.SyncAll(); });
  app.SetFailureHost(&host);
  app.SetAfterFailure([&windows] { windows.SyncAll(); });
  QStringList arguments;
  if (!command_line.state_file.isEmpty()) arguments << command_line.state_file;
  app.Guard([&] { windows.Start(arguments); });
  // A state file naming a result file has written it (or failed) and ends here.
  if (host.exit_requested()) return ws.exit_status;
  const int status = QApplication::exec();
  return status != 0 ? status : ws.exit_status;
}
