#pragma once

#include <QString>

namespace mivora {

class Workspace;

// Finds a free table slot (or creates the next one), shows it and places it; returns its number.
int AllocateSlot(Workspace& ws, float left, float top, float height, float width);
// Sets the non-zero geometry values on the slot's frame and lays out its children.
void PlaceSlot(Workspace& ws, int slot, float left, float top, float height, float width);
// Puts a new table on the canvas: kind "OpenFl" asks for a file, "htmlDrop" reads the paste
// box, anything else is a file path. Geometry values of 0 keep the defaults.
void OpenTable(Workspace& ws, const QString& kind, float left, float top, float height,
               float width);
// Store-or-query access to `TableFileNames`: "?" returns the slot's path, anything else stores it.
QString TableFileName(Workspace& ws, const QString& text, int slot);

}  // namespace mivora
