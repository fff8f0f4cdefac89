#include "ui/MainWindows.h"

#include <QGuiApplication>
#include <QScreen>

#include "ui/GridView.h"
#include "ui/Units.h"
#include "workspace/Startup.h"
#include "workspace/Workspace.h"

namespace mivora::ui {

MainWindows::MainWindows(Workspace& workspace) : ws(workspace) {
  if (QScreen* screen = QGuiApplication::primaryScreen())
    SetLogicalDpi(screen->logicalDotsPerInchY());
  tables = std::make_unique<TablesWindow>(ws, hub);
  equations = std::make_unique<EquationsWindow>(ws, hub);
  result = std::make_unique<ResultWindow>(ws, hub);
  measurer = std::make_unique<FontMeasurer>(GridView::GridFont());
  ws.measurer = measurer.get();
}

MainWindows::~MainWindows() { ws.measurer = nullptr; }

void MainWindows::Start(const QStringList& arguments) {
  StartUp(ws, arguments);
  hub.SyncAll();
}

}  // namespace mivora::ui
