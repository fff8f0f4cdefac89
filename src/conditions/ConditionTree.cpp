#include "conditions/ConditionTree.h"

#include <algorithm>

#include "conditions/ConditionTexts.h"
#include "conditions/Connectives.h"
#include "model/Constants.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

bool IsPanel(const Workspace& ws, int panel) {
  return panel >= 0 && panel < static_cast<int>(ws.conditions.panels.size());
}
bool IsBox(const Workspace& ws, int box) {
  return box >= 0 && box < static_cast<int>(ws.conditions.boxes.size());
}

Control& FrameOf(Workspace& ws, const TreeMember& m) {
  return m.is_panel ? ws.conditions.panels[m.index].kakko : ws.conditions.boxes[m.index].txt_hndl;
}
int& ContainerOf(Workspace& ws, const TreeMember& m) {
  return m.is_panel ? ws.conditions.panels[m.index].container
                    : ws.conditions.boxes[m.index].container;
}

bool StrictlyInside(const TwipRect& outer, const TwipRect& r) {
  return outer.left < r.left && r.right() < outer.right() && outer.top < r.top &&
         r.bottom() < outer.bottom();
}

// The root's only member is this panel: the root takes its members, unmoved, and its
// connective; the panel is freed.
void HoistIntoRoot(Workspace& ws, int panel) {
  SetConnective(ws.conditions.panels[0], IsAndPanel(ws.conditions.panels[panel]));
  for (const TreeMember& m : MembersOf(ws, panel)) ContainerOf(ws, m) = 0;
  DissolvePanel(ws, panel);
}

}  // namespace

void DissolvePanel(Workspace& ws, int panel) {
  Conditions& c = ws.conditions;
  ParenthesesPanel& p = c.panels[panel];
  const float dx = p.kakko.rect.left;
  const float dy = p.kakko.rect.top;
  for (EquationBox& box : c.boxes) {
    if (box.container != panel) continue;
    box.container = p.container;
    box.txt_hndl.rect.left += dx;
    box.txt_hndl.rect.top += dy;
  }
  for (int i = 0; i < static_cast<int>(c.panels.size()); ++i) {
    ParenthesesPanel& child = c.panels[i];
    if (i == panel || child.container != panel) continue;
    child.container = p.container;
    child.kakko.rect.left += dx;
    child.kakko.rect.top += dy;
  }
  p.kakko.visible = false;
  p.label_n.visible = false;
}

void KeepCornerInsideLabel(const Workspace& ws, int panel, TwipRect& rect) {
  if (!IsPanel(ws, panel)) return;
  const TwipRect& label = ws.conditions.panels[panel].label_n.rect;
  rect.left = std::clamp(rect.left, label.left, std::max(label.left, label.right() - 1));
  rect.top = std::clamp(rect.top, label.top, std::max(label.top, label.bottom() - 1));
}

void GrowRootDownTo(Workspace& ws, float bottom) {
  ParenthesesPanel& root = ws.conditions.panels[0];
  const float needed = bottom + 2 * PanelLabelInset();
  if (root.kakko.rect.height >= needed) return;
  root.kakko.rect.height = needed;
  root.label_n.rect.height = needed - 2 * PanelLabelInset();
}

std::vector<TreeMember> MembersOf(const Workspace& ws, int panel) {
  const Conditions& c = ws.conditions;
  std::vector<std::pair<int, TreeMember>> ordered;
  for (int i = 0; i < static_cast<int>(c.boxes.size()); ++i)
    if (c.boxes[i].live() && c.boxes[i].container == panel)
      ordered.push_back({c.boxes[i].order, TreeMember{false, i}});
  for (int i = 0; i < static_cast<int>(c.panels.size()); ++i)
    if (i != panel && c.panels[i].live() && c.panels[i].container == panel)
      ordered.push_back({c.panels[i].order, TreeMember{true, i}});
  std::sort(ordered.begin(), ordered.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<TreeMember> members;
  members.reserve(ordered.size());
  for (const auto& entry : ordered) members.push_back(entry.second);
  return members;
}

std::vector<std::vector<TreeMember>> MembersOfAllPanels(const Workspace& ws) {
  const Conditions& c = ws.conditions;
  const int panel_count = static_cast<int>(c.panels.size());
  std::vector<std::pair<int, TreeMember>> ordered;
  ordered.reserve(c.boxes.size() + c.panels.size());
  for (int i = 0; i < static_cast<int>(c.boxes.size()); ++i)
    if (c.boxes[i].live() && c.boxes[i].container >= 0 && c.boxes[i].container < panel_count)
      ordered.push_back({c.boxes[i].order, TreeMember{false, i}});
  for (int i = 1; i < panel_count; ++i) {
    const int container = c.panels[i].container;
    if (c.panels[i].live() && container >= 0 && container < panel_count && container != i)
      ordered.push_back({c.panels[i].order, TreeMember{true, i}});
  }
  std::sort(ordered.begin(), ordered.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::vector<TreeMember>> members(panel_count);
  for (const auto& [order, m] : ordered)
    members[m.is_panel ? c.panels[m.index].container : c.boxes[m.index].container].push_back(m);
  return members;
}

void EnsureParenthesesPanels(Workspace& ws, int index) {
  Conditions& c = ws.conditions;
  while (static_cast<int>(c.panels.size()) <= index) {
    ParenthesesPanel panel;
    panel.kakko.back_colour = kPanelColour;
    panel.label_n.back_colour = c.panels[0].label_n.back_colour;
    panel.label_n.caption = c.panels[0].label_n.caption;
    panel.container = 0;
    panel.order = c.next_order++;
    c.panels.push_back(panel);
  }
}

void PanelPointToCanvas(const Workspace& ws, int panel, float& x, float& y) {
  const Conditions& c = ws.conditions;
  // The containers form a tree, so the walk ends at the canvas; the bound guards a broken one.
  for (std::size_t steps = 0; IsPanel(ws, panel) && steps <= c.panels.size(); ++steps) {
    x += c.panels[panel].kakko.rect.left;
    y += c.panels[panel].kakko.rect.top;
    if (panel == 0) break;
    panel = c.panels[panel].container;
  }
}

void BoxPointToCanvas(const Workspace& ws, int box, float& x, float& y) {
  if (!IsBox(ws, box)) return;
  const EquationBox& b = ws.conditions.boxes[box];
  x += b.txt_hndl.rect.left;
  y += b.txt_hndl.rect.top;
  if (b.container != kCanvas) PanelPointToCanvas(ws, b.container, x, y);
}

int InnermostPanelAt(const Workspace& ws, int panel, float& x, float& y) {
  const Conditions& c = ws.conditions;
  for (int i = 0; i < static_cast<int>(c.panels.size()); ++i) {
    const ParenthesesPanel& p = c.panels[i];
    if (i == panel || !p.live() || p.container != panel) continue;
    const TwipRect& r = p.kakko.rect;
    if (r.left < x && x < r.right() && r.top < y && y < r.bottom()) {
      x -= r.left;
      y -= r.top;
      return InnermostPanelAt(ws, i, x, y);
    }
  }
  return panel;
}

void DropBox(Workspace& ws, int box, float x, float y) {
  if (!IsBox(ws, box)) return;
  EquationBox& b = ws.conditions.boxes[box];
  b.container = 0;
  float px = b.txt_hndl.rect.left + x;
  float py = b.txt_hndl.rect.top + y;
  const int target = InnermostPanelAt(ws, 0, px, py);
  b.container = target;
  b.txt_hndl.rect.left = px - x;
  b.txt_hndl.rect.top = py - y;
  KeepCornerInsideLabel(ws, target, b.txt_hndl.rect);
  ws.BringToFront(b.txt_hndl);
  NormalizePanels(ws);
}

void CreatePanelFromRectangle(Workspace& ws, int panel, const TwipRect& rect) {
  if (!IsPanel(ws, panel) || !ws.conditions.panels[panel].live()) return;
  std::vector<TreeMember> inside;
  int outside = 0;
  for (const TreeMember& m : MembersOf(ws, panel)) {
    if (StrictlyInside(rect, FrameOf(ws, m).rect))
      inside.push_back(m);
    else
      ++outside;
  }
  if (panel == 0 && outside == 0) {
    SwitchConnective(ws.conditions.panels[0]);
  } else if (outside > 0 && inside.size() >= 2) {
    const int b = static_cast<int>(ws.conditions.panels.size());
    EnsureParenthesesPanels(ws, b);
    ParenthesesPanel& group = ws.conditions.panels[b];
    group.container = panel;
    group.kakko.rect = rect;
    group.kakko.visible = true;
    group.label_n.rect =
        TwipRect{PanelLabelInset(), PanelLabelInset(), rect.width - 2 * PanelLabelInset(),
                 rect.height - 2 * PanelLabelInset()};
    group.label_n.visible = true;
    SetConnective(group, !IsAndPanel(ws.conditions.panels[panel]));
    ws.BringToFront(group.kakko);
    for (const TreeMember& m : inside) {
      ContainerOf(ws, m) = b;
      Control& frame = FrameOf(ws, m);
      frame.rect.left -= group.kakko.rect.left;
      frame.rect.top -= group.kakko.rect.top;
      ws.BringToFront(frame);
    }
    // An enclosed panel of the new panel's connective merges into it, keeping its meaning.
    for (const TreeMember& m : inside)
      if (m.is_panel && IsAndPanel(ws.conditions.panels[m.index]) == IsAndPanel(group))
        DissolvePanel(ws, m.index);
  }
  NormalizePanels(ws);
}

void NormalizePanels(Workspace& ws) {
  Conditions& c = ws.conditions;
  for (bool changed = true; changed;) {
    changed = false;
    std::vector<std::vector<TreeMember>> members = MembersOfAllPanels(ws);
    if (members[0].size() == 1 && members[0][0].is_panel) {
      HoistIntoRoot(ws, members[0][0].index);
      changed = true;
      continue;
    }
    for (int j = 1; j < static_cast<int>(c.panels.size()); ++j) {
      if (!c.panels[j].live() || members[j].size() >= 2) continue;
      // A single member that is a panel goes too: its members join this panel's parent,
      // whose connective it shares.
      if (members[j].size() == 1 && members[j][0].is_panel) DissolvePanel(ws, members[j][0].index);
      DissolvePanel(ws, j);
      changed = true;
      members = MembersOfAllPanels(ws);
    }
  }
  AlternateConnectives(ws, 0);
  RefreshConditionTexts(ws);
}

namespace {

void Alternate(Workspace& ws, const std::vector<std::vector<TreeMember>>& members, int panel,
               std::size_t depth) {
  Conditions& c = ws.conditions;
  if (depth > c.panels.size()) return;  // the containers form a tree; this guards a broken one
  for (const TreeMember& m : members[panel]) {
    if (!m.is_panel) continue;
    ParenthesesPanel& child = c.panels[m.index];
    if (IsAndPanel(child) == IsAndPanel(c.panels[panel])) SwitchConnective(child);
    Alternate(ws, members, m.index, depth + 1);
  }
}

}  // namespace

void AlternateConnectives(Workspace& ws, int panel) {
  if (!IsPanel(ws, panel)) return;
  Alternate(ws, MembersOfAllPanels(ws), panel, 0);
}

}  // namespace mivora
