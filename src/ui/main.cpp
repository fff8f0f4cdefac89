#include "ui/GuardedApplication.h"
#include "ui/MainWindows.h"
#include "ui/QtHost.h"
#include "ui/QtTranslations.h"
#include "workspace/Workspace.h"

int main(int argc, char* argv[]) {
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
  QStringList arguments = QApplication::arguments();
  arguments.removeFirst();
  app.Guard([&] { windows.Start(arguments); });
  return QApplication::exec();
}
