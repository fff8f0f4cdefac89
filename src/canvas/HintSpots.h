#pragma once

#include "canvas/ButtonHints.h"

namespace mivora {

class Workspace;
struct TableSlot;
struct Conditions;

// What lies under a point of each window, as the button hint names it, read from the model
// of the window (twips, container-relative geometry, z-order). The windows place their hint
// from these, so widgets and tests agree on every spot.

// A point of the Tables canvas (canvas twips).
HintSpot TablesHintSpotAt(const Workspace& ws, float x, float y);
// A point of the Result window's client area (twips).
HintSpot ResultHintSpotAt(const Workspace& ws, float x, float y);
// A point of the Equations window's client area (twips).
HintSpot EquationsHintSpotAt(const Conditions& c, float x, float y);

// The pair for a point of each window, the Tables default pair included.
HintPair TablesHintAt(const Workspace& ws, float x, float y);
HintPair ResultHintAt(const Workspace& ws, float x, float y);
HintPair EquationsHintAt(const Workspace& ws, float x, float y);

}  // namespace mivora
