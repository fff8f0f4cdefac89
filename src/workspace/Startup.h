#pragma once

#include <QString>
#include <QStringList>

#include "state/Resume.h"

namespace mivora {

class Workspace;

// Runs the start-up sequence: an optional state file argument, the three windows at their
// start sizes, the Tables canvas prepared (boundary bars, join-line segments, template slot).
// Tells how the resume of the argument ended (kCancelled without one or when unreadable).
ResumeOutcome StartUp(Workspace& ws, const QStringList& arguments);

// The resume mode: "Shrink" sets "Yes", "Expand" sets "No", an empty text reads it; any other
// text changes nothing. Returns the current value.
QString ResumeMode(Workspace& ws, const QString& text);

// Prepares the Tables canvas; runs once, the first time the window is shown.
void LoadTablesWindow(Workspace& ws);

// The user closed the Tables window (or chose "終了"): the program ends.
void EndProgram(Workspace& ws);

// Window captions: the window's name followed by the product's web address.
QString WindowCaption(const QString& name);

}  // namespace mivora
