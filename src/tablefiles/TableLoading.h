#pragma once

#include <QString>

#include "model/Twips.h"

namespace mivora {

class Workspace;

// "表を読み込む": asks for a table file and reads it into a new table window.
void ChooseAndLoadTable(Workspace& ws);

// What loading a table file gave: the slot of the last table window made (0 when none) and
// whether everything was read completely (a read that failed part way keeps its window).
struct LoadResult {
  int slot = 0;
  bool ok = false;
};

// Reads a table file into a new table window with the given geometry (0 keeps a default).
// The file is opened before a slot is taken, so a file that cannot be read leaves no empty
// window behind. Failures are reported through the Host.
LoadResult LoadTableFile(Workspace& ws, const QString& path, const TwipRect& geometry);

// The title and filter of the open dialog.
QString OpenTableDialogTitle();
QString OpenTableDialogFilter();

}  // namespace mivora
