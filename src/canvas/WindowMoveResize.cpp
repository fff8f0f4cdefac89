#include "canvas/WindowMoveResize.h"

namespace mivora {

void ResolveOverlaps(Workspace&, int) {}

}  // namespace mivora
