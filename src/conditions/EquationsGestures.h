#pragma once

#include "canvas/MouseEvent.h"

namespace mivora {

class Workspace;

// The mouse on the Equations canvas: one function per element and event. Points are in the
// element's own twips (a label's from the label's corner); a press or release carries the
// button that changed, a move the buttons held. Every move records where the pointer is
// (Conditions::pointer) for the button hint.
//
// A drag belongs to the element and button that started it: presses and releases of other
// buttons meanwhile are ignored, and Escape puts everything back as before the press. A move
// without the drag's button held means the grab was lost: the drag ends as a release.

// A box's frame `txtHndl`(k): the handle strip (x < 120) and the right strip.
// Right button: the box moves into the root at its place on screen and follows the pointer;
// the release drops it into the innermost panel under the pointer, and a click on the handle
// strip also shows the operator palette. Left button on the handle strip: a click asks to
// delete the box; released left of the box, it goes without asking. Left button on the right
// strip: the width follows the pointer (at least 500).
void BoxFrameMouseDown(Workspace& ws, int box, const MouseEvent& e);
void BoxFrameMouseMove(Workspace& ws, int box, const MouseEvent& e);
void BoxFrameMouseUp(Workspace& ws, int box, const MouseEvent& e);

// A panel's 50-twip border `Kakko`(i): any press brings the panel to the front. Right button:
// it moves (with its contents) in the root while dragged, then joins the innermost live panel
// strictly containing its top-left corner, merging into it when it has that panel's
// connective. Left button: the grabbed border(s) follow the pointer (at least 1000 each way;
// members keep their place on screen). Every release normalises the tree.
void PanelBorderMouseDown(Workspace& ws, int panel, const MouseEvent& e);
void PanelBorderMouseMove(Workspace& ws, int panel, const MouseEvent& e);
void PanelBorderMouseUp(Workspace& ws, int panel, const MouseEvent& e);

// A panel's label `LabelN`(i): a left drag draws the rubber band from the press point to the
// pointer (any direction); the release groups the members inside it.
void PanelLabelMouseDown(Workspace& ws, int panel, const MouseEvent& e);
void PanelLabelMouseMove(Workspace& ws, int panel, const MouseEvent& e);
void PanelLabelMouseUp(Workspace& ws, int panel, const MouseEvent& e);

// Moves over the other elements, recorded for the hint; the canvas point is the element's
// point on the canvas.
void EquationsCanvasMouseMove(Workspace& ws, const MouseEvent& e);
void BoxTextMouseMove(Workspace& ws, int box, const MouseEvent& e);
void SqlFrameMouseMove(Workspace& ws, const MouseEvent& e);
void SqlTextBoxMouseMove(Workspace& ws, const MouseEvent& e);
void OperatorPaletteMouseMove(Workspace& ws, const MouseEvent& e);
void OperatorLabelMouseMove(Workspace& ws, int label, const MouseEvent& e);

// True while a press has started a drag that its release has not ended.
bool EquationsDragActive(const Workspace& ws);
// Escape: the drag or band ends and everything is as before the press.
void CancelEquationsDrag(Workspace& ws);
// The drag lost its mouse grab: it ends as a release at the last pointer point does.
void EndEquationsDrag(Workspace& ws);

// A right-button release within this distance of the press (canvas twips, each way) is a
// click.
constexpr float kEquationsClickDistance = 60;

}  // namespace mivora
