#include "state/Resume.h"

namespace mivora {

// Rebuilding the workspace from a state file comes with the state-file reader; until then a
// readable state file given at start-up only switches the resume mode.
void ResumeState(Workspace&, const QString&) {}

void ChooseAndResume(Workspace&, const QString&) {}

}  // namespace mivora
