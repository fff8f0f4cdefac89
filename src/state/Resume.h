#pragma once

#include <QString>

namespace mivora {

class Workspace;

// How a resume ended.
enum class ResumeOutcome {
  kCancelled,         // no state file was chosen
  kComplete,          // rebuilt completely; the file names no result file
  kStopped,           // a problem stopped it; what was rebuilt stays
  kResultWritten,     // rebuilt, the result file written, the program asked to end
  kResultNotWritten,  // rebuilt, but the result file could not be written; the program ends
};

// Rebuilds a workspace from the text of a state file. `source` names the file in the problem
// message (may be empty). A file naming a result file writes it and ends the program (exit
// status 0 when written, 1 when not, left in the workspace).
ResumeOutcome ResumeState(Workspace& ws, const QString& state_text,
                          const QString& source = QString());

// "以前中断した処理を再開する" and the "例題" commands: a path shorter than five characters
// asks for a state file first; then the file is read and resumed, with the wait cursor.
ResumeOutcome ChooseAndResume(Workspace& ws, const QString& path = QString());

// True when the text of a state file names a result file (the line after "#j#").
bool NamesResultFile(const QString& state_text);

// The message for a state file that cannot be opened.
QString StateFileOpenMessage(const QString& path, const QString& reason);

// The open dialog's title and filter.
QString ResumeDialogTitle();
QString StateFileDialogFilter();

}  // namespace mivora
