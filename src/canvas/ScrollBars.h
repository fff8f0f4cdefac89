#pragma once

namespace mivora {

class Workspace;
struct TableSlot;

// The canvas scroll bars of the Tables window.
void SetCanvasScrollBarGeometry(Workspace& ws);
void UpdateCanvasVScroll(Workspace& ws);
void UpdateCanvasHScroll(Workspace& ws);
// A table window's own scroll bars: the bars fill the right and bottom strips of the frame,
// the corner the bottom-right square.
void SetTableScrollBarGeometry(TableSlot& slot);
void UpdateTableVScroll(Workspace& ws, int slot);
void UpdateTableHScroll(Workspace& ws, int slot);

}  // namespace mivora
