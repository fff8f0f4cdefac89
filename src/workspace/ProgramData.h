#pragma once

#include <QString>

namespace mivora {

// Finds a file of the program's data (hint bitmaps, samples) named relative to the program,
// with "\" or "/" as separator (".\MaskLR.bmp"): beside the executable first, then in the
// folder the program was started in. Empty when it is in neither.
QString ProgramDataPath(const QString& relative);

}  // namespace mivora
