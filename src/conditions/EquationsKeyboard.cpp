#include "conditions/EquationsKeyboard.h"

#include <algorithm>

#include "conditions/ConditionTree.h"
#include "conditions/EquationBoxes.h"
#include "conditions/EquationEntry.h"
#include "conditions/EquationsGestures.h"
#include "conditions/OperatorPalette.h"
#include "workspace/Workspace.h"

namespace mivora {

std::vector<int> BoxesInTextOrder(const Workspace& ws) {
  std::vector<int> order;
  if (ws.conditions.panels.empty() || !ws.conditions.panels[0].live()) return order;
  // Depth first from the root with a stack of member lists, each panel's members listed once:
  // linear in the elements, whatever the tree's shape.
  const std::vector<std::vector<TreeMember>> members = MembersOfAllPanels(ws);
  struct Level {
    int panel;
    std::size_t next;
  };
  std::vector<Level> stack{{0, 0}};
  std::vector<char> seen(members.size(), 0);  // guards a broken tree
  seen[0] = 1;
  while (!stack.empty()) {
    Level& level = stack.back();
    if (level.next >= members[level.panel].size()) {
      stack.pop_back();
      continue;
    }
    const TreeMember m = members[level.panel][level.next++];
    if (!m.is_panel) {
      order.push_back(m.index);
    } else if (!seen[m.index]) {
      seen[m.index] = 1;
      stack.push_back({m.index, 0});
    }
  }
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
