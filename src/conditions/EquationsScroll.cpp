#include "conditions/EquationsScroll.h"

#include "canvas/ScrollBars.h"
#include "conditions/EquationsCanvas.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

constexpr float kEquationsCanvasRoom = 500;

CanvasBarActions EquationsBarActions(Workspace& ws) {
  CanvasBarActions act;
  act.apply_v = [&ws](float previous) { ApplyEquationsVScroll(ws, previous); };
  act.apply_h = [&ws](float previous) { ApplyEquationsHScroll(ws, previous); };
  return act;
}

}  // namespace

void UpdateEquationsVScroll(Workspace& ws) {
  const TopWindow& w = ws.equations_window;
  LayOutCanvasVBar(ws.conditions.bars, w.width, w.height, EquationsCanvasElements(ws),
                   kEquationsCanvasRoom, nullptr);
}

void UpdateEquationsHScroll(Workspace& ws) {
  const TopWindow& w = ws.equations_window;
  LayOutCanvasHBar(ws.conditions.bars, w.width, w.height, EquationsCanvasElements(ws),
                   kEquationsCanvasRoom, nullptr);
}

void UpdateEquationsScrollBars(Workspace& ws) {
  UpdateEquationsVScroll(ws);
  UpdateEquationsHScroll(ws);
  // A horizontal bar that appeared or went shortens or lengthens the vertical one.
  UpdateEquationsVScroll(ws);
}

void ApplyEquationsVScroll(Workspace& ws, float previous) {
  const float d = ApplyCanvasVBar(ws.conditions.bars, previous);
  ForEachEquationsCanvasElement(ws.conditions, [d](Control& c) { c.rect.top += d; });
  UpdateEquationsVScroll(ws);
}

void ApplyEquationsHScroll(Workspace& ws, float previous) {
  const float d = ApplyCanvasHBar(ws.conditions.bars, previous);
  ForEachEquationsCanvasElement(ws.conditions, [d](Control& c) { c.rect.left += d; });
  UpdateEquationsHScroll(ws);
}

void EquationsBarMouseDown(Workspace& ws, CanvasBarPart part, const MouseEvent& e) {
  CanvasBarMouseDown(ws.conditions.bars, part, e, EquationsBarActions(ws));
}

void EquationsBarMouseMove(Workspace& ws, CanvasBarPart part, const MouseEvent& e) {
  CanvasBarMouseMove(ws.conditions.bars, part, e, EquationsBarActions(ws));
}

void EquationsBarMouseUp(Workspace& ws, CanvasBarPart part, const MouseEvent& e) {
  CanvasBarMouseUp(ws.conditions.bars, part, e, EquationsBarActions(ws));
}

}  // namespace mivora
