#pragma once

#include <QString>

namespace mivora {

class Workspace;

// Rebuilds a workspace from the text of a state file.
void ResumeState(Workspace& ws, const QString& state_text);

// "以前中断した処理を再開する" and the "例題" commands: with an empty path asks for a state
// file first, then resumes the workspace from it.
void ChooseAndResume(Workspace& ws, const QString& path = QString());

}  // namespace mivora
