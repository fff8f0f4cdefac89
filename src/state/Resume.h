#pragma once

#include <QString>

namespace mivora {

class Workspace;

// Rebuilds a workspace from the text of a state file.
void ResumeState(Workspace& ws, const QString& state_text);

}  // namespace mivora
