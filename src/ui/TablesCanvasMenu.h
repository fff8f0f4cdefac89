#pragma once

#include <QPoint>

class QWidget;

namespace mivora {
class Workspace;
}

namespace mivora::ui {

class SyncHub;

// The canvas menu `FrmMenu`: every item, submenu and separator, with the enabled states of
// "以前中断した処理を再開する" and "例題"; the chosen command runs and the windows re-sync.
void ExecCanvasMenu(QWidget* parent, Workspace& ws, SyncHub& hub, const QPoint& global);

// The table menu `grid0` with its item `grid1` "この表を画面から削除する", acting on the
// table in `PopupTable`.
void ExecTableMenu(QWidget* parent, Workspace& ws, SyncHub& hub, const QPoint& global);

// Ctrl+Shift+O on the window runs the hidden "Oracle Example" while "例題" is enabled.
void InstallOracleExampleShortcut(QWidget* window, Workspace& ws, SyncHub& hub);

}  // namespace mivora::ui
