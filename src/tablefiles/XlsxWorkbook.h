#pragma once

#include <memory>

#include "tablefiles/Workbook.h"

namespace mivora {

// An .xlsx or .xlsm workbook (a zip archive of XML parts). Worksheets are parsed in slices of
// whole rows, so memory stays small at any sheet size.
//
// Ceilings for hostile files: all parts together inflate to at most ZipArchive::kInflateBudget
// (1 GiB); one row's XML takes at most 256 MiB; the shared strings part, parsed whole, holds
// at most 2^25 tags; a sheet gives at most kMaxReadCells cells (its far cell counts, however
// few cells lie before it), its rows end at 1,048,576 and columns at XFD. Each search over
// the inflated bytes looks at new bytes only, so time stays linear in them. Beyond a ceiling
// the read ends with a message.
std::unique_ptr<Workbook> OpenXlsxWorkbook(const QString& path, QString* reason);

// The message for a row past the row ceiling.
QString XlsxRowTooLongMessage();

}  // namespace mivora
