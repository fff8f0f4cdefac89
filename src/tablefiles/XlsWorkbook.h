#pragma once

#include <memory>

#include "tablefiles/Workbook.h"

namespace mivora {

// A legacy .xls workbook (BIFF8 records in an OLE2 container).
//
// Ceilings for hostile files: the workbook stream is at most 1 GiB; a sheet's cells lie in
// rows 1 to 65,536 and columns A to IV (a record naming a column beyond is broken and ends
// the read with the row message), so a sheet's grid never passes 65,536 × 257 cells, laid
// out in time linear in that and in the stream; declared counts (shared strings) reserve no
// more than the stream's bytes can hold.
std::unique_ptr<Workbook> OpenXlsWorkbook(const QString& path, QString* reason);

}  // namespace mivora
