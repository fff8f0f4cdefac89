#include "canvas/ScrollBars.h"

#include "model/Constants.h"
#include "workspace/Workspace.h"

namespace mivora {

void SetCanvasScrollBarGeometry(Workspace&) {}
void UpdateCanvasVScroll(Workspace&) {}
void UpdateCanvasHScroll(Workspace&) {}

void SetTableScrollBarGeometry(TableSlot& slot) {
  const float bar = BarThickness();
  const TwipRect& f = slot.frame.rect;
  slot.vsc_bar.rect = {f.width - bar, bar, bar, f.height - 2 * bar};
  slot.hsc_bar.rect = {bar, f.height - bar, f.width - 2 * bar, bar};
  slot.corner.rect.left = f.width - bar;
  slot.corner.rect.top = f.height - bar;
  // Arrows at the ends of each bar, the slider at the start of the track.
  slot.up_arrow.rect = {0, 0, bar, bar};
  slot.dn_arrow.rect = {0, slot.vsc_bar.rect.height - bar, bar, bar};
  slot.vsldr.rect = {0, bar, bar, bar};
  slot.le_arrow.rect = {0, 0, bar, bar};
  slot.ri_arrow.rect = {slot.hsc_bar.rect.width - bar, 0, bar, bar};
  slot.hsldr.rect = {bar, 0, bar, bar};
}

void UpdateTableVScroll(Workspace& ws, int slot) {
  if (ws.tables.IsTableSlot(slot)) SetTableScrollBarGeometry(ws.tables.slots[slot]);
}

void UpdateTableHScroll(Workspace& ws, int slot) {
  if (ws.tables.IsTableSlot(slot)) SetTableScrollBarGeometry(ws.tables.slots[slot]);
}

}  // namespace mivora
