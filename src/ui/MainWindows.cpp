#include "ui/MainWindows.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

#include "model/Constants.h"
#include "ui/GridView.h"
#include "ui/Units.h"
#include "ui/WindowPlacement.h"
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

namespace {

// The least outer size of a main window: its bars keep room for arrows and slider.
constexpr float kMinMainWindowWidth = 4000;
constexpr float kMinMainWindowHeight = 3000;

// Shrinks a main window to the screen's available area and moves it inside; `top_left`
// puts it at the area's top left corner.
void FitOnScreen(TopLevelWindow* w, TopWindow& model, bool top_left) {
  QScreen* screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  model.width = std::min(model.width, ToTwips(area.width()));
  model.height = std::min(model.height, ToTwips(area.height()));
  w->Sync();
  const QRect outer = w->frameGeometry();
  QPoint at = top_left ? area.topLeft() : outer.topLeft();
  at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - outer.width())));
  at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - outer.height())));
  if (top_left)
    PlaceFrameAt(w, at);
  else if (at != outer.topLeft())
    w->move(at);
}

}  // namespace

void MainWindows::Start(const QStringList& arguments) {
  // Main windows keep room for their bars' arrows and sliders.
  for (TopLevelWindow* w : {static_cast<TopLevelWindow*>(tables.get()),
                            static_cast<TopLevelWindow*>(equations.get()),
                            static_cast<TopLevelWindow*>(result.get())}) {
    w->setMinimumSize(ToPixels(kMinMainWindowWidth - kWindowChromeWidth),
                      ToPixels(kMinMainWindowHeight - kWindowChromeHeight));
  }
  StartUp(ws, arguments);
  // `Tables` asks for the top left of the available area before it is first shown: a window
  // manager then keeps that place instead of choosing its own.
  if (QScreen* screen = QGuiApplication::primaryScreen())
    PlaceFrameAt(tables.get(), screen->availableGeometry().topLeft());
  hub.SyncAll();
  FitOnScreen(equations.get(), ws.equations_window, false);
  FitOnScreen(result.get(), ws.result.window, false);
  FitOnScreen(tables.get(), ws.tables.window, true);
  tables->raise();
  tables->activateWindow();
}

}  // namespace mivora::ui
