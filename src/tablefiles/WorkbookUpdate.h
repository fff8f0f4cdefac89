#pragma once

#include <QString>

#include "tablefiles/ResultWriter.h"

namespace mivora {

class Grid;

// Writes the result into a worksheet of an existing .xlsx/.xlsm workbook, keeping everything
// else in it: an empty sheet gets the whole result from row 1; otherwise each sheet column
// whose header matches a result header (trimmed, case-insensitive) gets that column's data
// from row 2, old rows below cleared. Gives the worksheet written.
WriteResult UpdateWorkbookInPlace(const Grid& grid, const QString& path, const QString& sheet,
                                  QString* written_sheet);

}  // namespace mivora
