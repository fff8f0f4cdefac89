#pragma once

#include <memory>

#include "tablefiles/Workbook.h"

namespace mivora {

// An .xlsx or .xlsm workbook (a zip archive of XML parts). Worksheets are parsed in slices of
// whole rows, so memory stays small at any sheet size.
std::unique_ptr<Workbook> OpenXlsxWorkbook(const QString& path, QString* reason);

}  // namespace mivora
