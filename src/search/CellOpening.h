#pragma once

#include <QString>

namespace mivora {

// Whether a cell's text may be handed to the desktop to open: an http, https or mailto
// address, or an existing file that is neither executable nor a launcher. Anything else is
// not opened, so a cell can never start a program.
bool MayOpenWithDesktop(const QString& target);

}  // namespace mivora
