#pragma once

#include <memory>

#include "ui/EquationsWindow.h"
#include "ui/QtHost.h"
#include "ui/ResultWindow.h"
#include "ui/TablesWindow.h"
#include "ui/TopLevelWindow.h"

namespace mivora {
class Workspace;
}

namespace mivora::ui {

// The three main windows of a workspace, built together so the program and the widget tests
// start the same way. Sets the workspace's text measurer from the grid font.
struct MainWindows {
  explicit MainWindows(Workspace& ws);
  ~MainWindows();
  MainWindows(const MainWindows&) = delete;
  MainWindows& operator=(const MainWindows&) = delete;

  // Runs the start-up sequence and shows the windows.
  void Start(const QStringList& arguments);
  void SyncAll() { hub.SyncAll(); }

  Workspace& ws;
  SyncHub hub;
  std::unique_ptr<TablesWindow> tables;
  std::unique_ptr<EquationsWindow> equations;
  std::unique_ptr<ResultWindow> result;
  std::unique_ptr<FontMeasurer> measurer;
};

}  // namespace mivora::ui
