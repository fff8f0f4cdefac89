#pragma once

#include <functional>
#include <vector>

#include "model/Twips.h"

namespace mivora {

class Workspace;
struct Conditions;
struct Control;

// The visible elements placed on the Equations window itself (canvas twips): the root panel,
// the SQL text frame, the operator palette, box 0 while it is on the canvas, the rubber band.
// The canvas scroll bars take their extent from these and move exactly these.
void ForEachEquationsCanvasElement(Conditions& c, const std::function<void(Control&)>& visit);
// Their rectangles.
std::vector<TwipRect> EquationsCanvasElements(const Workspace& ws);

}  // namespace mivora
