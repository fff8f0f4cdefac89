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

// A workbook table's file field: the workbook's path, "+", the worksheet's name.
QString JoinWorkbookField(const QString& book, const QString& sheet);
// Splits that field right after the workbook name's ending (".xls", ".xlsx", ".xlsm", any
// case, followed by "+"), so "+" in folder, file or sheet names survives. A field without
// the form gives the whole text as book and an empty sheet.
void SplitWorkbookField(const QString& field, QString* book, QString* sheet);

}  // namespace mivora
