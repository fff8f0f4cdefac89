#include "state/SaveState.h"

#include "state/Resume.h"
#include "state/StateFile.h"
#include "workspace/Workspace.h"

namespace mivora {

QString SaveStateDialogTitle() {
  return QString(29, u' ') + QStringLiteral("現状をファイルに保存する。");
}

bool SaveState(Workspace& ws) {
  const QString dir = ws.state_save_folders.DialogFolder();
  const QString chosen =
      ws.host.ChooseSaveFile(SaveStateDialogTitle(), StateFileDialogFilter(), dir);
  ws.state_save_folders.Remember(chosen);
  if (chosen.isEmpty()) return false;
  QString reason;
  if (!WriteStateFile(chosen, StateFileText(ws), &reason)) {
    ws.host.ShowMessage(QStringLiteral("ファイル「") + chosen +
                        QStringLiteral("」に書き込めません。\n") + reason);
    return false;
  }
  return true;
}

}  // namespace mivora
