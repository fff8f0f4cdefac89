#pragma once

#include <QString>

namespace mivora {

// Where a path named in a state file (a table, a sample state file) lies: tried as written,
// then with "\" as "/"; a relative one against the start folder, then the program's data
// folder. Empty when the file is in none of these places.
QString ResolveStateFilePath(const QString& written);

// Where a result file named in a state file is written: "\" taken as "/" first, then as
// written; a relative path lands under the start folder when its folder exists there, else
// under the program's data folder.
QString ResolveResultFilePath(const QString& written);

}  // namespace mivora
