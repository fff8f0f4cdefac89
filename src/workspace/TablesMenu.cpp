#include "workspace/TablesMenu.h"

#include "workspace/TableSlots.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

// Every command of the canvas menu ends by switching the canvas's hint to the right button.
void AfterMenuCommand(Workspace& ws) {
  ws.tables.default_hint_mask = QStringLiteral(".\\MaskR.bmp");
  ws.tables.default_hint_picture = QStringLiteral(".\\F16MaskR.bmp");
}

}  // namespace

void MenuLoadTable(Workspace& ws) {
  OpenTable(ws, QStringLiteral("OpenFl"), 0, 0, 0, 0);
  AfterMenuCommand(ws);
}

}  // namespace mivora
