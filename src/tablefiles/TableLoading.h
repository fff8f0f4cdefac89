#pragma once

#include <QString>

#include "model/Twips.h"

namespace mivora {

class Workspace;

// "表を読み込む": asks for a table file and reads it into a new table window.
void ChooseAndLoadTable(Workspace& ws);

// Reads a table file into a new table window with the given geometry (0 keeps a default).
// The file is opened before a slot is taken, so a file that cannot be read leaves no empty
// window behind. Returns the slot, or 0 when no table window was made.
int LoadTableFile(Workspace& ws, const QString& path, const TwipRect& geometry);

// Reads a CSV file into the grid of a slot; returns the table's name (empty when the read
// failed). Failures are reported through the Host.
QString ReadCsvTable(Workspace& ws, const QString& path, int slot);

// The title and filter of the open dialog.
QString OpenTableDialogTitle();
QString OpenTableDialogFilter();

}  // namespace mivora
