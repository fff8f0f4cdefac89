#include "tablefiles/ReadShortage.h"

#include <new>

#include "model/Grid.h"
#include "workspace/TableSlots.h"
#include "workspace/Workspace.h"

namespace mivora {

QString TableDroppedForMemoryMessage(const QString& path) {
  return QStringLiteral("メモリが足りないため、表ファイル「") + path +
         QStringLiteral("」を読み込めませんでした。読みかけの表は閉じました。");
}

bool ReadDroppingOnShortage(Workspace& ws, const QString& path, int slot,
                            const std::function<void()>& read) {
  try {
    read();
    return true;
  } catch (const std::bad_alloc&) {
    // Give the memory back first: the message box itself needs some.
    ws.TableGrid(slot).ClearCells();
    ws.tables.slots[slot].frame.visible = false;
    TableFileName(ws, QString(), slot);
    ws.host.ShowProgress(0, 0);
    ws.host.ShowMessage(TableDroppedForMemoryMessage(path));
    return false;
  }
}

}  // namespace mivora
