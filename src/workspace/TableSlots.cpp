#include "workspace/TableSlots.h"

#include "canvas/ScrollBars.h"
#include "canvas/WindowMoveResize.h"
#include "search/JoinLines.h"
#include "tablefiles/TableLoading.h"
#include "model/Constants.h"
#include "workspace/PasteBox.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

// A new slot's children start as copies of slot 4's: colours, grid settings and the fixed
// scroll-bar geometry, never its cells.
void CreateSlot(Workspace& ws) {
  const TableSlot& tmpl = ws.tables.slots[kFirstTableSlot];
  TableSlot& slot = ws.tables.slots.emplace_back();
  slot.frame.rect = {kNewSlotLeft, kNewSlotTop, kNewSlotWidth, kNewSlotHeight};
  slot.frame.back_colour = kNewFrameColour;
  slot.frame.border = false;
  slot.frame.visible = true;
  for (auto [dst, src] : {std::pair{&slot.graph_box, &tmpl.graph_box},
                          {&slot.vsc_bar, &tmpl.vsc_bar},
                          {&slot.hsc_bar, &tmpl.hsc_bar},
                          {&slot.vsldr, &tmpl.vsldr},
                          {&slot.up_arrow, &tmpl.up_arrow},
                          {&slot.dn_arrow, &tmpl.dn_arrow},
                          {&slot.hsldr, &tmpl.hsldr},
                          {&slot.le_arrow, &tmpl.le_arrow},
                          {&slot.ri_arrow, &tmpl.ri_arrow},
                          {&slot.corner, &tmpl.corner}}) {
    *dst = *src;
    dst->visible = true;
  }
  slot.grid.CopySettingsFrom(tmpl.grid);
  slot.grid.control.visible = true;
}

}  // namespace

int AllocateSlot(Workspace& ws, float left, float top, float height, float width) {
  auto& slots = ws.tables.slots;
  int n = kFirstTableSlot;
  while (n < ws.tables.SlotCount() && slots[n].frame.visible) ++n;
  if (n < ws.tables.SlotCount()) {
    slots[n].frame.visible = true;
  } else {
    CreateSlot(ws);
  }
  PlaceSlot(ws, n, left, top, height, width);
  return n;
}

void PlaceSlot(Workspace& ws, int slot_number, float left, float top, float height, float width) {
  TableSlot& slot = ws.tables.slots.at(slot_number);
  TwipRect& f = slot.frame.rect;
  if (left != 0) f.left = left;
  if (top != 0) f.top = top;
  if (height != 0) f.height = height;
  if (width != 0) f.width = width;
  const float bar = BarThickness();
  TwipRect inner{bar, bar, f.width - 2 * bar, f.height - 2 * bar};
  slot.graph_box.rect = inner;
  slot.grid.control.rect = inner;
  slot.corner.rect.height = bar;
  slot.corner.rect.width = bar;
  ws.BringToFront(slot.frame);
  ws.BringToFront(slot.graph_box);
  ws.BringToFront(slot.grid.control);
  ws.BringToFront(slot.corner);
  slot.frame.visible = true;

  SettleWindows(ws, slot_number);
  UpdateCanvasVScroll(ws);
  UpdateCanvasHScroll(ws);
  UpdateTableVScroll(ws, slot_number);
  UpdateTableHScroll(ws, slot_number);
}

void OpenTable(Workspace& ws, const QString& kind, float left, float top, float height,
               float width) {
  if (kind == QStringLiteral("OpenFl")) {
    ChooseAndLoadTable(ws);
  } else if (kind == QStringLiteral("htmlDrop")) {
    ReadPasteBox(ws);
  } else {
    LoadTableFile(ws, kind, {left, top, width, height});
  }
  RedrawJoinLines(ws);
}

QString TableFileName(Workspace& ws, const QString& text, int slot) {
  auto& names = ws.tables.table_file_names;
  if (slot < 0) return {};
  if (static_cast<int>(names.size()) <= slot) names.resize(static_cast<std::size_t>(slot) + 1);
  if (text != QStringLiteral("?")) {
    names[slot] = text;
    return {};
  }
  return names[slot];
}

}  // namespace mivora
