#pragma once

#include "canvas/CanvasBarMouse.h"

namespace mivora {

class Workspace;

// The Equations canvas's scroll bars: the same bars as the Tables canvas, over the elements
// placed on the window itself (`EquationsCanvasElements`), 500 twips of room around them.
// A bar hides when its extent starts at 0 or more and ends within the window.
void UpdateEquationsVScroll(Workspace& ws);
void UpdateEquationsHScroll(Workspace& ws);
// Both bars, the vertical first (the horizontal one's width depends on it): after a resize of
// the window and after every change of the elements.
void UpdateEquationsScrollBars(Workspace& ws);
// Clamps the slider and moves every canvas element to match it, given the slider's place
// before the step; the bars are laid out again.
void ApplyEquationsVScroll(Workspace& ws, float previous);
void ApplyEquationsHScroll(Workspace& ws, float previous);

// Mouse events on the Equations canvas's bars, in the part's own twips.
void EquationsBarMouseDown(Workspace& ws, CanvasBarPart part, const MouseEvent& e);
void EquationsBarMouseMove(Workspace& ws, CanvasBarPart part, const MouseEvent& e);
void EquationsBarMouseUp(Workspace& ws, CanvasBarPart part, const MouseEvent& e);

}  // namespace mivora
