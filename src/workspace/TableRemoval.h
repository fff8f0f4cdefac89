#pragma once

namespace mivora {

class Workspace;

// "この表を画面から削除する": removes the table in slot `PopupTable`.
void RemovePopupTable(Workspace& ws);

// Removes the table in a slot, in this order: its report columns; every join with it at
// either end (a pending one too); the join lines relaid; every equation box made from its
// cells, without asking; every cell emptied (row and column counts kept); its window hidden,
// which frees the slot; its recorded path cleared. A join gesture begun on it ends, and the
// memory of its texts and join-column indexes is given back.
void RemoveTable(Workspace& ws, int slot);

}  // namespace mivora
