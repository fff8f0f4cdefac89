#include "workspace/TablesMenu.h"

#include "canvas/ButtonHints.h"
#include "workspace/TableSlots.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

// Every command of the canvas menu ends by switching the canvas's hint to the right button.
void AfterMenuCommand(Workspace& ws) {
  SetCanvasHintAfterMenu(ws.tables.default_hint_mask, ws.tables.default_hint_picture);
}

}  // namespace

void MenuLoadTable(Workspace& ws) {
  OpenTable(ws, QStringLiteral("OpenFl"), 0, 0, 0, 0);
  AfterMenuCommand(ws);
}

}  // namespace mivora
