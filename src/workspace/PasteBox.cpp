#include "workspace/PasteBox.h"

#include "tablefiles/HtmlTableLoading.h"
#include "workspace/TableSlots.h"
#include "workspace/Workspace.h"

namespace mivora {

void TogglePasteBox(Workspace& ws) {
  Control& box = ws.tables.receive_text_box.control;
  if (box.visible) {
    box.visible = false;
    return;
  }
  if (box.rect.width <= 0) box.rect = {600, 600, 6000, 2000};  // over the canvas's top left
  box.visible = true;
  ws.BringToFront(box);
}

void PasteBoxTextChanged(Workspace& ws, const QString& text) {
  PasteBox& box = ws.tables.receive_text_box;
  box.text = text;
  if (text.isEmpty()) return;
  ws.tables.resume_menu_enabled = false;
  ws.tables.examples_menu_enabled = false;
  OpenTable(ws, QStringLiteral("htmlDrop"), 0, 0, 0, 0);
  box.text.clear();
  box.control.visible = false;
}

void ReadPasteBox(Workspace& ws) { ParseHtmlTable(ws, ws.tables.receive_text_box.text); }

}  // namespace mivora
