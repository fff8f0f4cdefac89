#pragma once

#include <QByteArray>

#include "tablefiles/ResultWriter.h"

namespace mivora {

// Comma-separated UTF-8 text without BOM, every line ended by CR LF. A field holding a comma,
// a double quote, CR or LF is quoted, its quotes doubled, so the file reads back unchanged.
class CsvWriter : public ResultWriter {
 public:
  WriteResult Write(const Grid& grid, const QString& path) override;
};

// The file's bytes for a grid.
QByteArray CsvResultBytes(const Grid& grid);

}  // namespace mivora
