#pragma once

namespace mivora {

class Workspace;

// A left click on a join-line segment: shows the whole line in the selection colour, asks,
// and on OK removes the join between the two table windows the line reaches.
void DisconnectByLine(Workspace& ws, int segment);
// Marks the segments that continue the line from segment s and the table windows it reaches.
void TraceLineSegments(Workspace& ws, bool first, int s);

}  // namespace mivora
