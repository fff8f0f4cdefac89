#pragma once

#include <vector>

namespace mivora {

class Workspace;

// The live boxes in the order their texts stand in the condition text (the tree walked from
// the root, members in creation order): the order Tab goes through the box fields.
std::vector<int> BoxesInTextOrder(const Workspace& ws);

// The box after (or before) `box` in that order; -1 past either end, where the SQL text box
// takes the focus. From -1 (the SQL text box) it wraps to the first or last box.
int NextBoxInTextOrder(const Workspace& ws, int box, bool backwards);

// Delete or Backspace in box k's empty text field: asks "この式を消しますか ？" and deletes
// the box on OK. Returns the box that takes the focus: k when nothing was deleted, the next
// box in text order (else the one before), or -1 for the window itself.
int EraseKeyInEmptyField(Workspace& ws, int box);

// Escape on the Equations window: a drag or band is undone, the palette hides, and a refused
// text in the focused box field (-1 for none) gives way to the accepted one.
void EquationsEscape(Workspace& ws, int focused_box);

}  // namespace mivora
