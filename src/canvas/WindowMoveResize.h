#pragma once

namespace mivora {

class Workspace;

// Moves the table window in a slot clear of the other windows.
void ResolveOverlaps(Workspace& ws, int slot);

}  // namespace mivora
