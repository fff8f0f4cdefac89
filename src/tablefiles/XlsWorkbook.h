#pragma once

#include <memory>

#include "tablefiles/Workbook.h"

namespace mivora {

// A legacy .xls workbook (BIFF8 records in an OLE2 container).
std::unique_ptr<Workbook> OpenXlsWorkbook(const QString& path, QString* reason);

}  // namespace mivora
