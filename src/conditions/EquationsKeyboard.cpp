#include "conditions/EquationsKeyboard.h"

#include <algorithm>

#include "conditions/ConditionTree.h"
#include "conditions/EquationBoxes.h"
#include "conditions/EquationEntry.h"
#include "conditions/EquationsGestures.h"
#include "conditions/OperatorPalette.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

void Walk(const Workspace& ws, int panel, std::vector<int>& order, std::size_t depth) {
  // The containers form a tree; the bound guards a broken one.
  if (depth > ws.conditions.panels.size()) return;
  for (const TreeMember& m : MembersOf(ws, panel)) {
    if (m.is_panel)
      Walk(ws, m.index, order, depth + 1);
    else
      order.push_back(m.index);
  }
}

}  // namespace

std::vector<int> BoxesInTextOrder(const Workspace& ws) {
  std::vector<int> order;
  if (!ws.conditions.panels.empty() && ws.conditions.panels[0].live()) Walk(ws, 0, order, 0);
  return order;
}

int NextBoxInTextOrder(const Workspace& ws, int box, bool backwards) {
  const std::vector<int> order = BoxesInTextOrder(ws);
  if (order.empty()) return -1;
  const auto at = std::find(order.begin(), order.end(), box);
  if (at == order.end()) return backwards ? order.back() : order.front();
  if (backwards) return at == order.begin() ? -1 : *(at - 1);
  return at + 1 == order.end() ? -1 : *(at + 1);
}

int EraseKeyInEmptyField(Workspace& ws, int box) {
  if (box < 0 || box >= static_cast<int>(ws.conditions.boxes.size())) return -1;
  const EquationBox& b = ws.conditions.boxes[box];
  if (!b.live() || !b.FieldText().isEmpty()) return box;
  int next = NextBoxInTextOrder(ws, box, false);
  if (next < 0) next = NextBoxInTextOrder(ws, box, true);
  DeleteEquationBox(ws, box, true);
  if (ws.conditions.boxes[box].live()) return box;  // Cancel
  return next;
}

void EquationsEscape(Workspace& ws, int focused_box) {
  CancelEquationsDrag(ws);
  HideOperatorPalette(ws);
  if (focused_box >= 0) CancelEquationEdit(ws, focused_box);
}

}  // namespace mivora
