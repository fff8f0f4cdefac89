#pragma once

#include "tablefiles/TableReader.h"

namespace mivora {

// Comma-separated text. Lines end at CR LF, CR or LF. A field that begins with a double
// quote is quoted ("" inside it is one quote; commas and line breaks inside it are data);
// a quote elsewhere is an ordinary character. The first line fixes the number of columns;
// a longer line later stops the read.
//
// Ceilings: at most kMaxCsvColumns columns, kMaxCsvRows data rows, kMaxReadCells cells in the
// table (rows × columns, header row and row numbers included: an empty line costs a byte of
// the file but a row of the grid, so a file of empty lines stops there) and kMaxCsvCellBytes
// bytes of UTF-8 in one cell; a file beyond them stops at the first line that passes one,
// with a message naming it, in time and memory bounded by the file's size and the ceilings. Room reserved ahead for
// the rest of the file never exceeds what the file can hold.
inline constexpr int kMaxCsvColumns = 65536;
inline constexpr int kMaxCsvRows = 2147483647 - 2;
inline constexpr qsizetype kMaxCsvCellBytes = qsizetype{1} << 28;

class CsvReader : public TableReader {
 public:
  TableReadResult Read(QByteArrayView content, const QString& path, Grid& grid,
                       const ReadProgress& progress) override;
};

// The message for a read that failed at a grid row.
QString CsvRowProblemMessage(int row);
// The messages for a line beyond one of the reader's ceilings.
QString CsvTooManyColumnsMessage(int row);
QString CsvCellTooLongMessage(int row);
QString CsvTooManyRowsMessage();

}  // namespace mivora
