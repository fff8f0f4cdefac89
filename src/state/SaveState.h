#pragma once

#include <QString>

namespace mivora {

class Workspace;

// "現状を保存する": asks for a file (its own folder memories, overwrite prompt) and writes the
// workspace's state file there. True when written; a failure is shown through the Host and
// leaves any old file as it was.
bool SaveState(Workspace& ws);

// The save dialog's title.
QString SaveStateDialogTitle();

}  // namespace mivora
