#pragma once

#include "tablefiles/TableReader.h"

namespace mivora {

// Comma-separated text. Lines end at CR LF, CR or LF. A field that begins with a double
// quote is quoted ("" inside it is one quote; commas and line breaks inside it are data);
// a quote elsewhere is an ordinary character. The first line fixes the number of columns;
// a longer line later stops the read.
class CsvReader : public TableReader {
 public:
  TableReadResult Read(QByteArrayView content, const QString& path, Grid& grid,
                       const ReadProgress& progress) override;
};

// The message for a read that failed at a grid row.
QString CsvRowProblemMessage(int row);

}  // namespace mivora
