#pragma once

#include <vector>

#include "model/Twips.h"

namespace mivora {

class Workspace;

// The deepest nesting of parentheses panels the program takes (the root at depth 0, a panel in
// it at depth 1). Each level lies inside its parent's label, 50 twips in on every side, so the
// canvas never shows more than a few hundred; a state file asking for more is refused before
// anything is rebuilt, which keeps the walks over the tree (texts, connectives, hit tests)
// within a small, fixed stack.
inline constexpr int kMaxPanelNesting = 1000;

// A member of a panel: one of its live boxes or live child panels.
struct TreeMember {
  bool is_panel = false;
  int index = 0;
  bool operator==(const TreeMember&) const = default;
};

// The live members of a panel in creation order.
std::vector<TreeMember> MembersOf(const Workspace& ws, int panel);
// The same for every panel at once (indexed by panel), in one pass over the elements.
std::vector<std::vector<TreeMember>> MembersOfAllPanels(const Workspace& ws);

// Creates hidden panel controls (frame and label) up to the index.
void EnsureParenthesesPanels(Workspace& ws, int index);

// Converts a point from box (or panel) coordinates to canvas coordinates, in place.
void BoxPointToCanvas(const Workspace& ws, int box, float& x, float& y);
void PanelPointToCanvas(const Workspace& ws, int panel, float& x, float& y);

// The innermost live panel below `panel` that strictly contains the point (given in that
// panel's coordinates); the point is changed to be measured from the panel returned.
int InnermostPanelAt(const Workspace& ws, int panel, float& x, float& y);

// Drops a box, released at (x, y) in its own coordinates, into the innermost panel there.
void DropBox(Workspace& ws, int box, float x, float y);

// Groups the members of the panel lying strictly inside the rectangle into a new nested
// panel; a rectangle around every member of the root switches the root's connective.
void CreatePanelFromRectangle(Workspace& ws, int panel, const TwipRect& rect);

// Restores the tree's shape after a change: no panel below the root with fewer than two
// members, connectives alternating by depth. The meaning of the condition is kept. Ends by
// rebuilding the condition texts.
void NormalizePanels(Workspace& ws);

// Moves every element of the panel, live or hidden, into the panel's container at the same
// place on screen, and hides the panel.
void DissolvePanel(Workspace& ws, int panel);

// Moves a rectangle given in the panel's coordinates so that its top-left corner lies inside
// the panel's label.
void KeepCornerInsideLabel(const Workspace& ws, int panel, TwipRect& rect);

// Makes the root panel tall enough to hold an element reaching down to `bottom` (root
// coordinates) inside its label.
void GrowRootDownTo(Workspace& ws, float bottom);

// Gives every live panel inside `panel`, at every depth, the opposite connective of its parent.
void AlternateConnectives(Workspace& ws, int panel);

}  // namespace mivora
