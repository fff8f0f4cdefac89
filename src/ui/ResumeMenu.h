#pragma once

#include <QMenu>
#include <functional>

namespace mivora {
class Workspace;
}

namespace mivora::ui {

// Adds "以前中断した処理を再開する" to a canvas menu, enabled while the workspace allows it;
// `after` runs once the command is done (the windows sync).
QAction* AddResumeCommand(QMenu& menu, Workspace& ws, const std::function<void()>& after);

// Adds the "例題" submenu with its sample commands (and the hidden "Oracle Example").
QMenu* AddExamplesMenu(QMenu& menu, Workspace& ws, const std::function<void()>& after);

}  // namespace mivora::ui
