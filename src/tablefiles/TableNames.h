#pragma once

#include <QString>

namespace mivora {

// The table's name: the file name (after the last "/" or "\") up to its first ".".
QString TableNameFromPath(const QString& path);

// The file name alone, after the last "/" or "\".
QString FileNameOf(const QString& path);

enum class TableFormat { kCsv, kHtml, kWorkbook };

// Only the file name picks the reader, in any letter case: ".htm" means HTML, ".xls" a workbook.
TableFormat TableFormatForPath(const QString& path);

}  // namespace mivora
